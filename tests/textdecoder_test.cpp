#include "ExchangeError.h"
#include "TextDecoder.h"

#include <QtTest>

Q_DECLARE_METATYPE(TextDecoder::Encoding)

namespace {
using Encoding = TextDecoder::Encoding;

// Shift_JIS (CP932) bytes as a Japanese spreadsheet saves them: りんご, 表示 (its second byte is the
// ASCII backslash), and ①～－￢髙ｱ, which only the Windows table holds or maps its own way.
const QByteArray kShiftJis("UpDay,English,Japanese\r\n"
                           ",apple,\x82\xE8\x82\xF1\x82\xB2\r\n"
                           ",display,\x95\x5C\x8E\xA6\r\n"
                           ",marks,\x87\x40\x81\x60\x81\x7C\x81\xCA\xFB\xFC\xB1\r\n");
const QString kShiftJisText = QStringLiteral("UpDay,English,Japanese\r\n"
                                             ",apple,りんご\r\n"
                                             ",display,表示\r\n"
                                             ",marks,①～－￢髙ｱ\r\n");

int failingLine(const QByteArray& bytes, std::optional<Encoding> encoding)
{
    try {
        TextDecoder::decode(bytes, encoding);
    } catch (const ExchangeError& error) {
        return error.line();
    }
    return -1;
}
} // namespace

class TextDecoderTest : public QObject {
    Q_OBJECT
private slots:
    void encodingIsDetected_data();
    void encodingIsDetected();
    void aNamedEncodingIsUsedAsNamed();
    void undecodableBytesAreNamedByLine_data();
    void undecodableBytesAreNamedByLine();
};

void TextDecoderTest::encodingIsDetected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Encoding>("encoding");
    QTest::newRow("UTF-8 with a byte-order mark")
        << QByteArray("\xEF\xBB\xBFUpDay,English\r\nりんご\r\n")
        << QStringLiteral("UpDay,English\r\nりんご\r\n") << Encoding::Utf8;
    QTest::newRow("UTF-8 without a mark")
        << QByteArray("apple\tりんご\n") << QStringLiteral("apple\tりんご\n") << Encoding::Utf8;
    QTest::newRow("ASCII only") << QByteArray("apple,ringo\n") << QStringLiteral("apple,ringo\n")
                                << Encoding::Utf8;
    QTest::newRow("Shift_JIS from a spreadsheet") << kShiftJis << kShiftJisText << Encoding::ShiftJis;
}

void TextDecoderTest::encodingIsDetected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(Encoding, encoding);
    const TextDecoder::Decoded decoded = TextDecoder::decode(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
}

void TextDecoderTest::aNamedEncodingIsUsedAsNamed()
{
    QCOMPARE(TextDecoder::decode(kShiftJis, Encoding::ShiftJis).text, kShiftJisText);
    // Shift_JIS read as UTF-8 fails on the first line that holds Japanese.
    QCOMPARE(failingLine(kShiftJis, Encoding::Utf8), 2);
}

void TextDecoderTest::undecodableBytesAreNamedByLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    // Japanese decoded as UTF-8 before the damage marks the file as UTF-8, not as Shift_JIS.
    QTest::newRow("UTF-8 with a damaged line") << QByteArray("apple\tりんご\nbook\t本\npen\t\xFFペン\n") << 3;
    QTest::newRow("UTF-8 cut inside a character") << QByteArray("apple\tりんご\nbook\t\xE6\x9C\n") << 2;
    QTest::newRow("Shift_JIS lead byte without its pair")
        << QByteArray("a,\x82\xE8\nb,\x96\x7B\nc,\x82\r\n") << 3;
    QTest::newRow("NUL byte of a binary file") << QByteArray("a,b\nc,d\0e\n", 10) << 2;
    QTest::newRow("UTF-16 text") << QByteArray("\xFF\xFE"
                                               "a\0,\0b\0",
                                               8)
                                 << 1;
}

void TextDecoderTest::undecodableBytesAreNamedByLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QCOMPARE(failingLine(bytes, std::nullopt), line);
}

QTEST_GUILESS_MAIN(TextDecoderTest)
#include "textdecoder_test.moc"
