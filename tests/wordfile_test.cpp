#include "ExchangeError.h"
#include "TextDecoder.h"
#include "UpDay.h"
#include "WordFileReader.h"
#include "WordFileWriter.h"

#include <QBuffer>
#include <QtTest>

Q_DECLARE_METATYPE(ExchangeFormat)

namespace {
WordRecord pair(const QString& upDay, const QString& english, const QString& japanese)
{
    WordRecord word;
    word.upDay = upDay;
    word.english = english;
    word.japanese = japanese;
    return word;
}

QByteArray written(ExchangeFormat format, const QVector<WordRecord>& words)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WordFileWriter writer(buffer, format);
    for (const WordRecord& word : words)
        writer.write(word);
    return buffer.data();
}

QVector<WordRecord> readBack(const QByteArray& bytes)
{
    return WordFileReader(TextDecoder::decode(bytes).text).read();
}

// "UpDay|English|Japanese" per pair, for comparisons that print readably.
QStringList rows(const QVector<WordRecord>& words)
{
    QStringList result;
    for (const WordRecord& word : words)
        result << word.upDay + QLatin1Char('|') + word.english + QLatin1Char('|') + word.japanese;
    return result;
}

int failingLine(const QByteArray& bytes)
{
    try {
        readBack(bytes);
    } catch (const ExchangeError& error) {
        return error.line();
    }
    return -1;
}
} // namespace

class WordFileTest : public QObject {
    Q_OBJECT
private slots:
    void everyTextSurvivesItsFormat_data();
    void everyTextSurvivesItsFormat();
    void layoutsAreWrittenByteForByte();
    void plainListsAndSpreadsheetFilesAreRead_data();
    void plainListsAndSpreadsheetFilesAreRead();
    void aMalformedLineIsNamedByItsNumber_data();
    void aMalformedLineIsNamedByItsNumber();
    void upDayIsKeptOnlyWhenItIsARealMoment_data();
    void upDayIsKeptOnlyWhenItIsARealMoment();
};

void WordFileTest::everyTextSurvivesItsFormat_data()
{
    QTest::addColumn<ExchangeFormat>("format");
    QTest::newRow("anki") << ExchangeFormat::Anki;
    QTest::newRow("csv") << ExchangeFormat::Csv;
    QTest::newRow("tsv") << ExchangeFormat::Tsv;
}

void WordFileTest::everyTextSurvivesItsFormat()
{
    QFETCH(ExchangeFormat, format);
    // First a pair that reads like a column header, then each character that means something to a layout.
    const QVector<WordRecord> words = {
        pair("2024/05/01 10:00:00", "English", "Japanese"),
        pair("2024/05/01 10:00:01", "He said \"hello\"", "「こんにちは」と言う"),
        pair("2024/05/01 10:00:02", "tab\tinside", "タブ\tあり"),
        pair("2024/05/01 10:00:03", "line\nbreak", "改行\r\nあり\r"),
        pair("2024/05/01 10:00:04", "#hashtag", "#"),
        pair("2024/05/01 10:00:05", "a, b, c", "読点、と,コンマ"),
        pair("2024/05/01 10:00:06", "😀 grinning", "笑顔 🎌"),
        pair("2024/05/01 10:00:07", "don't", "'引用'"),
        pair("2024/05/01 10:00:08", "\"", "\"\""),
        pair("2024/05/01 10:00:09", " padded ", "　全角空白　"),
        pair("2024/05/01 10:00:10", "5\" floppy", "表示～①"),
        pair("2024/05/01 10:00:11", "=1+1", "semi;colon|pipe:colon"),
    };
    const QVector<WordRecord> back = readBack(written(format, words));
    QVector<WordRecord> expected = words;
    if (format == ExchangeFormat::Anki) {
        for (WordRecord& word : expected)
            word.upDay.clear();
    }
    QCOMPARE(rows(back), rows(expected));
}

void WordFileTest::layoutsAreWrittenByteForByte()
{
    const QVector<WordRecord> words = {pair("2024/03/01 09:15:02", "apple", "りんご"),
                                       pair("2024/03/02 20:41:37", "#tag", "a\tb"),
                                       pair("2024/03/05 07:03:11", "say \"hi\"", "x,y")};
    QCOMPARE(written(ExchangeFormat::Anki, words), QByteArray("#separator:tab\n#html:false\n"
                                                              "apple\tりんご\n"
                                                              "\"#tag\"\t\"a\tb\"\n"
                                                              "\"say \"\"hi\"\"\"\tx,y\n"));
    QCOMPARE(written(ExchangeFormat::Csv, words),
             QByteArray("\xEF\xBB\xBFUpDay,English,Japanese\r\n"
                        "2024/03/01 09:15:02,apple,りんご\r\n"
                        "2024/03/02 20:41:37,\"#tag\",a\tb\r\n"
                        "2024/03/05 07:03:11,\"say \"\"hi\"\"\",\"x,y\"\r\n"));
    QCOMPARE(written(ExchangeFormat::Tsv, words),
             QByteArray("UpDay\tEnglish\tJapanese\n"
                        "2024/03/01 09:15:02\tapple\tりんご\n"
                        "2024/03/02 20:41:37\t\"#tag\"\t\"a\tb\"\n"
                        "2024/03/05 07:03:11\t\"say \"\"hi\"\"\"\tx,y\n"));
}

void WordFileTest::plainListsAndSpreadsheetFilesAreRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("comments");

    QTest::newRow("tab list, header, CRLF, blank lines, no final line end")
        << QByteArray("English\tJapanese\r\n\r\napple, red\tりんご\r\n\r\nbook\t本")
        << QStringList{"|apple, red|りんご", "|book|本"} << 0;
    QTest::newRow("comma list with a lower-case header")
        << QByteArray("english,japanese\nbook,本\n") << QStringList{"|book|本"} << 0;
    QTest::newRow("quotes inside an unquoted field are kept")
        << QByteArray("5\" floppy,フロッピー\nit's,それは\n")
        << QStringList{"|5\" floppy|フロッピー", "|it's|それは"} << 0;
    QTest::newRow("comment lines anywhere") << QByteArray("# my words\napple\tりんご\n#later\nbook\t本\n")
                                            << QStringList{"|apple|りんご", "|book|本"} << 2;
    QTest::newRow("old line ends of a lone CR")
        << QByteArray("apple,りんご\rbook,本\r") << QStringList{"|apple|りんご", "|book|本"} << 0;
    QTest::newRow("deck separated by commas")
        << QByteArray("#separator:Comma\n#html:false\n#deck:Words\nEnglish,Japanese\n")
        << QStringList{"|English|Japanese"} << 1;
    QTest::newRow("spreadsheet rewrites of UpDay")
        << QByteArray(
               "UpDay,English,Japanese\r\n2024/3/1 9:15,apple,りんご\r\n2024-03-02 20:41:37,book,本\r\n"
               ",pen,ペン\r\n")
        << QStringList{"2024/03/01 09:15:00|apple|りんご", "2024/03/02 20:41:37|book|本", "|pen|ペン"} << 0;
}

void WordFileTest::plainListsAndSpreadsheetFilesAreRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QFETCH(int, comments);
    WordFileReader reader(TextDecoder::decode(bytes).text);
    QCOMPARE(rows(reader.read()), expected);
    QCOMPARE(reader.commentLines(), comments);
}

void WordFileTest::aMalformedLineIsNamedByItsNumber_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");

    QTest::newRow("too many fields") << QByteArray("a\tb\nc\td\n\ne\tf\tg\n") << 4;
    QTest::newRow("too few fields") << QByteArray("a,b\nc\n") << 2;
    QTest::newRow("only spaces") << QByteArray("a,b\n   \n") << 2;
    QTest::newRow("missing UpDay column") << QByteArray("UpDay,English,Japanese\r\nx,y\r\n") << 2;
    QTest::newRow("lines inside quotes are counted") << QByteArray("a\tb\n\"x\ny\r\nz\"\tw\nlonely\n") << 5;
    QTest::newRow("quote never closed, named where it opened") << QByteArray("a\tb\nc\t\"open\nd\te\n") << 2;
    QTest::newRow("text after a closing quote") << QByteArray("a,b\n\"c\"x,d\n") << 2;
    QTest::newRow("empty English") << QByteArray("a\tb\n\tりんご\n") << 2;
    QTest::newRow("empty Japanese") << QByteArray("a\tb\nc\td\napple\t\n") << 3;
    QTest::newRow("quoted empty English") << QByteArray("\"\",x\n") << 1;
    QTest::newRow("HTML deck") << QByteArray("#separator:tab\n#html:true\na\tb\n") << 2;
    QTest::newRow("unknown separator") << QByteArray("#separator:--\na--b\n") << 1;
}

void WordFileTest::aMalformedLineIsNamedByItsNumber()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QCOMPARE(failingLine(bytes), line);
}

void WordFileTest::upDayIsKeptOnlyWhenItIsARealMoment_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("stored form") << "2024/03/01 09:15:02"
                                 << "2024/03/01 09:15:02";
    QTest::newRow("unpadded, no seconds") << "2024/3/1 9:15"
                                          << "2024/03/01 09:15:00";
    QTest::newRow("dashes") << "2024-03-01 09:15:02"
                            << "2024/03/01 09:15:02";
    QTest::newRow("leap day") << "2024/02/29 23:59:59"
                              << "2024/02/29 23:59:59";
    QTest::newRow("no leap day") << "2023/02/29 10:00:00"
                                 << "";
    QTest::newRow("month 13") << "2024/13/01 10:00:00"
                              << "";
    QTest::newRow("hour 24") << "2024/03/01 24:00:00"
                             << "";
    QTest::newRow("date only") << "2024/03/01"
                               << "";
    QTest::newRow("mixed separators") << "2024/03-01 10:00:00"
                                      << "";
    QTest::newRow("words") << "yesterday"
                           << "";
    QTest::newRow("empty") << ""
                           << "";
}

void WordFileTest::upDayIsKeptOnlyWhenItIsARealMoment()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QCOMPARE(UpDay::normalized(text), stored);
}

QTEST_GUILESS_MAIN(WordFileTest)
#include "wordfile_test.moc"
