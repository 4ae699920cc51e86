#include "Connection.h"
#include "ExchangeError.h"
#include "Fakes.h"
#include "NotebookBackup.h"
#include "NotebookCheck.h"
#include "Statements.h"
#include "StoreError.h"
#include "TestNotebook.h"
#include "TextDecoder.h"
#include "WordExporter.h"
#include "WordFileReader.h"
#include "WordImporter.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QtTest>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size);

namespace {
struct Run {
    int status;
    QByteArray out;
    QString err;
};

Run run(const QStringList& args)
{
    QProcess process;
    process.start(TESSIMOR_DB, args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Each character the layouts treat apart, alone in a field; a tie told apart by case; a newest pair like a
// header. English rises with UpDay, so a deck, whose import stamps all alike, comes back in its order.
const QStringList kTable = {"2024/03/01 09:15:02|#hashtag|tab\there",
                            "2024/03/02 20:41:37|a, b|two\r\nlines\n😀", "2024/03/05 07:03:11|apple|りんご\r",
                            "2024/03/05 07:03:11|Apple|say \"hi\"", "2024/05/09 00:00:00|English|Japanese"};
} // namespace

// The companion command as a learner runs it, and below it the exchange library it drives.
class TessimorDbTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("XDG_DATA_HOME", (m_home = std::make_unique<QTemporaryDir>())->path().toUtf8()); }

    void helpVersionAndUsageErrors()
    {
        QVERIFY(run({"--help"}).out.contains("'tessimor-db COMMAND --help'"));
        for (const QString command : {"path", "init", "export", "import", "backup", "check"})
            QVERIFY(run({command, "--help"}).out.startsWith("Usage: tessimor-db " + command.toUtf8()));
        QCOMPARE(run({"--version"}).out, "tessimor-db 1.00\n");
        QCOMPARE(run({"path"}).out, notebook().toUtf8() + "\n");
        for (const QString args : {"", "frobnicate", "--colour", "path extra", "export --format xml",
                                   "export --format", "export a b", "import", "import a --encoding latin1"})
            QVERIFY2(run(args.split(' ', Qt::SkipEmptyParts)).status == 2, qPrintable(args));
    }

    void anExportImportedIntoAnEmptyNotebookIsExportedAlike_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("start"); // the header and the newest pair
        QTest::newRow("anki") << "anki" << QByteArray("#separator:tab\n#html:false\nEnglish\tJapanese\n");
        QTest::newRow("csv")
            << "csv"
            << QByteArray("\xEF\xBB\xBFUpDay,English,Japanese\r\n2024/05/09 00:00:00,English,Japanese\r\n");
        QTest::newRow("tsv") << "tsv"
                             << QByteArray("UpDay\tEnglish\tJapanese\n2024/05/09 00:00:00\tEnglish\t");
    }

    void anExportImportedIntoAnEmptyNotebookIsExportedAlike()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, start);
        insert(kTable);
        const QString file = m_home->filePath("export." + format);
        QCOMPARE(run({"export", "--format", format, file}).status, 0);
        const QByteArray exported = readFile(file);
        QVERIFY(exported.startsWith(start));
        insert({});
        QVERIFY(run({"import", file}).out.startsWith("added 5, skipped 0"));
        QCOMPARE(run({"export", "--format=" + format}).out, exported);
    }

    void anImportSkipsPairsAlreadyThereAndAddsAllOrNothing()
    {
        insert({"2024/01/01 00:00:00|Apple|りんご"});
        const QString list = m_home->filePath("list.txt");
        writeFile(list, "apple\tりんご\nApple\tリンゴ\nbook\t本\nBOOK\t本\n#comment\n");
        QVERIFY(run({"import", "--dry-run", list})
                    .out.startsWith("would add 2, skipped 2 (1 already in the notebook, 1 repeated"));
        // A pair the notebook refuses, or a file read in the wrong encoding, adds nothing.
        Connection(notebook())
            .execute("create trigger no before insert on wordDB when new.English = 'book' "
                     "begin select raise(abort, 'refused'); end",
                     {});
        QVERIFY(run({"import", list}).err.contains("refused"));
        { // The library rolls back on the connection it was given, which goes on as before.
            Connection same(notebook());
            FixedClock clock;
            QVERIFY_THROWS_EXCEPTION(
                StoreError,
                WordImporter(same, clock).import({{{}, "fig", "無花果"}, {{}, "book", "本"}}, false));
            const auto counted = same.execute("select count(*) from wordDB", {});
            QVERIFY(counted->next() && counted->value(0).toInt() == 1);
        }
        writeFile(m_home->filePath("sheet.csv"), "English,Japanese\r\nbook,\x96\x7B\r\n"); // Shift_JIS
        const Run wrong = run({"import", "--encoding", "utf-8", m_home->filePath("sheet.csv")});
        QVERIFY2(wrong.err.contains("(line 2:") && wrong.err.contains("nothing was added"),
                 qPrintable(wrong.err));
        Connection(notebook()).execute("drop trigger no", {});
        QVERIFY(run({"import", list})
                    .out.startsWith("added 2, skipped 2 (1 already in the notebook, 1 repeated"));
    }

    void refusalsEndWithStatusOneAndLeaveFilesAsTheyWere()
    {
        for (const QString command : {"export", "check"})
            QVERIFY(run({command}).err.contains("tessimor-db init"));
        const QString kept = m_home->filePath("keep.csv");
        writeFile(kept, "precious");
        insert(kTable);
        QCOMPARE(run({"init"}).status, 1);
        QCOMPARE(run({"export", kept}).status, 1);
        QCOMPARE(readFile(kept), QByteArray("precious"));
        QCOMPARE(run({"export", "--force", kept}).status, 0);
        const QString copy = m_home->filePath("copy.mdb");
        QCOMPARE(run({"backup", copy}).status, 0);
        QCOMPARE(run({"backup", copy}).status, 1);
        QCOMPARE(run({"backup", "--force", copy}).status, 0);
        QCOMPARE(run({"backup", "--force", notebook()}).status, 1);
        QVERIFY(run({"check"}).out.contains("(5 pairs)"));
        Connection connection(notebook());
        connection.execute("begin exclusive", {}); // held by a writer: busy, not damaged
        QVERIFY(run({"check"}).err.contains("他のプログラムに使用されています"));
        connection.execute("commit", {});
        connection.execute("begin immediate", {});
        QVERIFY(run({"restore", copy}).err.contains("他のプログラムに使用されています"));
        connection.execute("commit", {});
        QCOMPARE(run({"restore", copy}).status, 0);
        connection.execute("alter table wordDB rename column Japanese to Japan", {});
        QVERIFY(run({"check"}).err.contains("column Japanese of wordDB is missing"));
        connection.execute("alter table wordDB rename column Japan to Japanese", {});
        // Indexes sorted without regard to case, under a table that now says case matters.
        connection.execute("pragma writable_schema = on", {});
        connection.execute(
            "update sqlite_schema set sql = replace(sql, ' collate nocase', '') where type = 'table'", {});
        QVERIFY(run({"check"}).err.contains("not sound"));
        // The table's page damaged: a backup fails and leaves the old copy alone.
        QByteArray bytes = readFile(notebook());
        writeFile(notebook(), bytes.replace(4096, 4096, QByteArray(4096, '\0')));
        QCOMPARE(run({"backup", "--force", copy}).status, 1);
        QCOMPARE(NotebookCheck(copy).pairs(), 5);
        QVERIFY(run({"restore", notebook()}).err.contains("is not a sound notebook"));
        QCOMPARE(readFile(notebook()), bytes);
        QCOMPARE(run({"restore", copy}).status, 0);
        QVERIFY(run({"check"}).status == 0 &&
                readFile(notebook() + ".before-restore").mid(4096) == bytes.mid(4096));
        QCOMPARE(QDir(m_home->filePath("tessimor")).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QCOMPARE(QDir(m_home->path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"copy.mdb", "keep.csv"}));
    }

    void aDailyBackupIsMadeOnceAndTheNewestAreKept()
    {
        insert(kTable);
        const QDir dir(m_home->path());
        const auto name = [](const QDate& day) { return day.toString("'word-'yyyy-MM-dd'.mdb'"); };
        const QDate today(2024, 3, 20);
        QStringList kept = {"my-word-2024-03-01.mdb", "word-2024-3-1.mdb", "word-2024-03-01.mdb.bak"};
        for (const QString& file : kept)
            writeFile(dir.filePath(file), "other");
        for (int day = 1; day <= 16; ++day)
            writeFile(dir.filePath(name(today.addDays(-day))), "old");
        for (int day = 0; day < 13; ++day)
            kept << name(today.addDays(-day));
        QCOMPARE(NotebookBackup::daily(notebook(), dir.path(), today, 14).made, dir.filePath(name(today)));
        QCOMPARE(run({"backup", "--daily", dir.path(), "--keep", "0"}).status, 2);
        for (int i = 0; i < 2; ++i) // today's, the newest, made once; 14 kept
            QCOMPARE(run({"backup", "--daily", dir.path()}).status, 0);
        kept << name(QDate::currentDate());
        kept.sort();
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden, QDir::Name), kept);
    }

    // upgrade adds the index to an older file, once; check finds it out of step when a trigger is gone.
    void upgradeAddsTheSearchIndexThatCheckWatches()
    {
        insert(kTable);
        Connection connection(notebook());
        connection.execute("drop table wordDB_Text", {}); // its triggers stay
        QVERIFY(run({"upgrade"}).out.startsWith("added the search index"));
        Connection(notebook()).execute("delete from wordDB where English = '#hashtag'", {});
        QVERIFY(run({"upgrade"}).out.startsWith("up to date") && run({"check"}).out.contains("(4 pairs)"));
        connection.execute("drop trigger wordDB_TextDelete", {});
        connection.execute("delete from wordDB where English = 'apple'", {});
        QVERIFY(run({"check"}).err.contains("wordDB_TextDelete of the search index is missing\n  the search "
                                            "index is out of step with wordDB (2 texts differ)"));
    }

    void filesAreReadOrStoppedAtTheirFirstBadLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // the pairs and comment lines, or the line that stops the reading
        QTest::newRow("tabs, header, CRLF, blank lines, comment, no last line end")
            << QByteArray("English\tJapanese\r\n\r\n5\" floppy\tりんご\r\n#\r\nbook\t本")
            << "|5\" floppy|りんご;|book|本 #1";
        // As a Japanese spreadsheet saves CSV: Shift_JIS, its own rewrite of the times, characters only the
        // Windows table holds or maps its own way (①～－￢髙ｱ), a trail byte equal to the backslash (表).
        QTest::newRow("Shift_JIS spreadsheet")
            << QByteArray("UpDay,English,Japanese\r\n2024/3/1 9:15,apple,\x82\xE8\x82\xF1\x82\xB2\r\n") +
                   "2024-03-02 20:41:37,display,\x95\x5C\x8E\xA6\r\n" +
                   "2023/02/29 10:00:00,marks,\x87\x40\x81\x60\x81\x7C\x81\xCA\xFB\xFC\xB1\r\n"
            << "2024/03/01 09:15:00|apple|りんご;2024/03/02 20:41:37|display|表示;|marks|①～－￢髙ｱ #0";
        QTest::newRow("a deck with HTML") << QByteArray("#separator:tab\n#html:true\na\tb\n") << "(line 2:";
        QTest::newRow("a deck's unknown separator") << QByteArray("#separator:Slash\na/b\n") << "(line 1:";
        QTest::newRow("too many fields") << QByteArray("a\tb\nc\td\n\ne\tf\tg\n") << "(line 4:";
        QTest::newRow("lines inside quotes") << QByteArray("a\tb\n\"x\ny\r\nz\"\tw\nlonely\n") << "(line 5:";
        QTest::newRow("quote never closed") << QByteArray("a\tb\nc\t\"open\nd\te\n") << "(line 2:";
        QTest::newRow("text after a quote") << QByteArray("a,b\n\"c\"x,d\n") << "(line 2:";
        QTest::newRow("empty English") << QByteArray("a\tb\n\tりんご\n") << "(line 2:";
        QTest::newRow("empty Japanese") << QByteArray("a\tb\nc\td\napple\t\n") << "(line 3:";
        // Japanese read as UTF-8 before the damage makes the file UTF-8, not Shift_JIS.
        QTest::newRow("damaged UTF-8")
            << QByteArray("apple\tりんご\nbook\t本\npen\t\xFFペン\n") << "(line 3:";
        QTest::newRow("NUL of a binary file") << QByteArray("a,b\nc,d\0e\n", 10) << "(line 2:";
        QTest::newRow("UTF-16") << QByteArray::fromHex("fffe61002c006200") << "(line 1:";
    }

    void filesAreReadOrStoppedAtTheirFirstBadLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        QString result;
        try {
            WordFileReader reader(TextDecoder::decode(bytes));
            QStringList rows;
            for (const WordRecord& word : reader.read())
                rows << word.upDay + '|' + word.english + '|' + word.japanese;
            result = rows.join(';') + " #" + QString::number(reader.commentLines());
        } catch (const ExchangeError& error) {
            result = error.message();
        }
        QVERIFY2(read.startsWith("(line") ? result.contains(read) : result == read, qPrintable(result));
    }

    // The seeds, and each input that once found a fault, so that each stays fixed.
    void keptFuzzInputsStayFixed()
    {
        const QFileInfoList inputs = QDir(FUZZ_CORPUS).entryInfoList(QDir::Files);
        QVERIFY(!inputs.isEmpty());
        for (const QFileInfo& input : inputs) {
            const QByteArray bytes = readFile(input.filePath());
            LLVMFuzzerTestOneInput(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                   size_t(bytes.size()));
        }
    }

    void anExportStopsAtARowThatCannotBeRead()
    {
        // The rows come one by one in the table's own order; the second fails to compute.
        TestNotebook notebook(TestNotebook::Schema::None);
        notebook.execute("create table words (UpDay integer primary key, English text, Japanese text)");
        notebook.execute("insert into words values (1, 'boom', 'x'), (2, 'apple', 'りんご')");
        notebook.execute(
            "create view wordDB as select UpDay, English, "
            "iif(English = 'boom', abs(-9223372036854775807 - 1), Japanese) as Japanese from words");
        Connection connection(notebook.path(), Connection::Access::ReadOnly);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY_THROWS_EXCEPTION(StoreError, WordExporter::write(connection, buffer, ExchangeFormat::Tsv));
    }

private:
    // A new notebook holding these "UpDay|English|Japanese" rows.
    void insert(const QStringList& rows)
    {
        QFile::remove(notebook());
        QCOMPARE(run({"init"}).status, 0);
        Connection connection(notebook());
        for (const QString& row : rows)
            connection.execute(Statements::kInsert,
                               {row.section('|', 0, 0), row.section('|', 1, 1), row.section('|', 2)});
    }

    QString notebook() const { return m_home->path() + "/tessimor/word.mdb"; }
    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(TessimorDbTest)
#include "tessimordb_test.moc"
