#include "TextDecoder.h"
#include "UpDay.h"
#include "WordFileReader.h"
#include "WordFileWriter.h"

#include <QBuffer>
#include <QtTest>

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
} // namespace

// The layouts written and read, apart from the notebook. Round trips, the Shift_JIS file and malformed
// lines are met through tessimor-db itself.
class WordFileTest : public QObject {
    Q_OBJECT
private slots:
    void layoutsAreWrittenByteForByte()
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

    void plainListsAndSpreadsheetFilesAreRead_data()
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
            << QStringList{"2024/03/01 09:15:00|apple|りんご", "2024/03/02 20:41:37|book|本", "|pen|ペン"}
            << 0;
    }

    void plainListsAndSpreadsheetFilesAreRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QFETCH(int, comments);
        WordFileReader reader(TextDecoder::decode(bytes).text);
        QStringList rows;
        for (const WordRecord& word : reader.read())
            rows << word.upDay + '|' + word.english + '|' + word.japanese;
        QCOMPARE(rows, expected);
        QCOMPARE(reader.commentLines(), comments);
    }

    void upDayIsKeptOnlyWhenItIsARealMoment_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        const QList<QPair<const char*, const char*>> moments = {
            {"2024/03/01 09:15:02", "2024/03/01 09:15:02"},
            {"2024/3/1 9:15", "2024/03/01 09:15:00"},
            {"2024-03-01 09:15:02", "2024/03/01 09:15:02"},
            {"2024/02/29 23:59:59", "2024/02/29 23:59:59"},
            {"2023/02/29 10:00:00", ""},
            {"2024/13/01 10:00:00", ""},
            {"2024/03/01 24:00:00", ""},
            {"2024/03/01", ""},
            {"2024/03-01 10:00:00", ""},
            {"yesterday", ""},
            {"", ""}};
        for (const auto& [text, stored] : moments)
            QTest::newRow(*text ? text : "empty") << QString(text) << QString(stored);
    }

    void upDayIsKeptOnlyWhenItIsARealMoment()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(UpDay::normalized(text), stored);
    }
};

QTEST_GUILESS_MAIN(WordFileTest)
#include "wordfile_test.moc"
