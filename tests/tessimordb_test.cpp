#include "Connection.h"
#include "ExchangeError.h"
#include "Fakes.h"
#include "Notebook.h"
#include "NotebookCheck.h"
#include "Statements.h"
#include "StoreError.h"
#include "TestNotebook.h"
#include "TextDecoder.h"
#include "WordFileReader.h"
#include "WordImporter.h"

#include <QtTest>

#include <sqlite3.h>
#include <thread>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size);

namespace {
struct Run {
    int status;
    QByteArray out;
    QString err;
};

Run run(const QStringList& args, const QString& program = TESSIMOR_DB)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Each character the layouts treat apart, alone in a field; a tie told apart by case; a newest pair like a
// header. English rises with UpDay, so a deck, whose import stamps all alike, comes back in its order.
const QStringList kTable = {"2024/03/01 09:15:02|#hashtag|tab\there",
                            "2024/03/02 20:41:37|a, b|two\r\nlines\n😀", "2024/03/05 07:03:11|apple|りん\rご",
                            "2024/03/05 07:03:11|Apple|say \"hi\"", "2024/05/09 00:00:00|English|Japanese"};
} // namespace

// The companion command as a learner runs it, and below it the exchange library it drives.
class TessimorDbTest : public QObject {
    Q_OBJECT
private slots:
    // Each test in a folder of its own, which is also where files are named from, as a learner types them.
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>(learnersTemporaryFolder());
        setLearnersDataFolder(m_home->path());
        QDir::setCurrent(m_home->path());
    }
    // Out of the test's folder, which Windows would not remove while it is the current one.
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }

    void anExportImportedIntoAnEmptyNotebookIsExportedAlike_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("start"); // the header and the newest pair
        QTest::newRow("anki") << "anki" << QByteArray("#separator:tab\n#html:false\nEnglish\tJapanese\n");
        QTest::newRow("csv")
            << "csv"
            << QByteArray("\xEF\xBB\xBFUpDay,English,Japanese\r\n2024/05/09 00:00:00,English,Japanese\r\n");
        QTest::newRow("tsv") << "tsv" << QByteArray("UpDay\tEnglish\tJapanese\n2024/05/09 00:00:00\tEnglish");
    }

    void anExportImportedIntoAnEmptyNotebookIsExportedAlike()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, start);
        insert(kTable);
        // Texts another program stored: a NUL, which the file carries as U+FFFD, and a byte-order mark.
        Connection(notebook())
            .execute(Statements::kInsert,
                     {"2024/01/01 00:00:00", QString("!nul") + QChar(0), QString(QChar(0xFEFF)) + "mark"});
        const Run first = run({"export", "--format", format, "out"});
        QVERIFY(first.status == 0 && first.err.contains("  \"!nul\\0\" \"\uFEFFmark\""));
        const QByteArray exported = readFile("out");
        QVERIFY(exported.startsWith(start));
        insert({});
        QVERIFY(run({"import", "out"}).out.startsWith("added 6, skipped 0"));
        QCOMPARE(run({"export", "--format=" + format}).out, exported);
    }

    void anImportSkipsPairsAlreadyThereAndAddsAllOrNothing()
    {
        insert({"2024/01/01 00:00:00|Apple|りんご"});
        writeFile("list.txt", "apple\tりんご\nApple\tリンゴ\nbook\t本\nBOOK\t本\n#comment\n");
        const QByteArray counted = " 2, skipped 2 (1 already in the notebook, 1 repeated";
        QVERIFY(run({"import", "--dry-run", "list.txt"}).out.startsWith("would add" + counted));
        // A pair the notebook refuses (an UpDay taken), or a file read in the wrong encoding, adds nothing.
        Connection same(notebook());
        same.execute("create unique index no on wordDB(UpDay)", {});
        QVERIFY(run({"import", "list.txt"}).err.contains("UNIQUE"));
        // The library rolls back on its connection; else the last import would find the notebook held.
        QVERIFY_THROWS_EXCEPTION(
            StoreError, WordImporter(same, FixedClock())
                            .import({{{}, "fig", "無花果"}, {{}, "book", "本"}}, WordImporter::Mode::Add));
        writeFile("sheet.csv", "English,Japanese\r\nbook,\x96\x7B\r\n"); // Shift_JIS
        const Run wrong = run({"import", "--encoding", "utf-8", "sheet.csv"});
        QVERIFY(wrong.err.contains("line 2:") && wrong.err.contains("nothing was added"));
        same.execute("drop index no", {});
        std::thread writer = holdBriefly();
        QVERIFY(run({"import", "list.txt"}).out.startsWith("added" + counted));
        writer.join();
    }

    // Usage errors end with 2, refusals with 1, and the files refused are left alone.
    void usageErrorsAndRefusals()
    {
        for (const QString command : {"path", "init", "export", "import", "backup", "check", "upgrade"})
            QVERIFY(run({command, "--help"}).out.startsWith("Usage: tessimor-db " + command.toUtf8()));
        QCOMPARE(run({"path"}).out, notebook().toUtf8() + "\n");
        for (const QString args :
             {"", "frobnicate", "--colour", "path extra", "export --format xml", "export --format",
              "export a b", "import", "import a --encoding latin1", "backup a --keep 3"})
            QVERIFY2(run(args.split(' ', Qt::SkipEmptyParts)).status == 2, qPrintable(args));
        for (const QString command : {"export", "check"})
            QVERIFY(run({command}).err.contains("tessimor-db init"));
        writeFile("keep.csv", "precious");
        insert(kTable);
        QVERIFY(run({"export", "keep.csv"}).status == 1 && readFile("keep.csv") == "precious");
        for (const QString step :
             {"1 init", "0 export --force keep.csv", "0 backup copy.mdb", "1 backup copy.mdb",
              "0 backup --force copy.mdb", "1 backup --force tessimor/word.mdb"})
            QVERIFY2(run(step.mid(2).split(' ')).status == step[0].digitValue(), qPrintable(step));
        QVERIFY(QFile::remove(notebook()) && QFile::link("elsewhere.mdb", notebook()));
        const QByteArray link = readFile(notebook()); // on Windows a shortcut: a file of its own
        QVERIFY(run({"init"}).err.contains("already exists") && readFile(notebook()) == link);
    }

    // Help and refusals, also the system's part of them, in the learner's language alone (English under the
    // tests' own locale, as the other tests find).
    void messagesFollowTheLocale()
    {
        if (QSysInfo::kernelType() == "winnt")
            QSKIP("the locale is set through env, a POSIX tool");
        const QStringList japanese = {"-u", "LC_ALL", "-u", "LANGUAGE", "LANG=ja_JP.UTF-8", TESSIMOR_DB};
        const QRegularExpression english("[a-z]{2,} [a-z]{2,} [a-z]{2,}");
        for (const QString command :
             {"", "path", "init", "export", "import", "backup", "restore", "check", "convert", "upgrade"}) {
            const QStringList args = (command + " --help").split(' ', Qt::SkipEmptyParts);
            const QString help = QString::fromUtf8(run(japanese + args, "env").out);
            QVERIFY2(help.startsWith("使い方: tessimor-db") && !help.contains(english), qPrintable(help));
        }
        const QString refused = run(japanese + QStringList{"import", "missing.txt"}, "env").err;
        QVERIFY2(QRegularExpression("^tessimor-db: missing\\.txt: [^A-Za-z]+$").match(refused).hasMatch(),
                 qPrintable(refused));
    }

    // Today's copy is made once and never removed by its own run; of the notebooks named for days up to
    // today, the newest 14 are kept. Other names and contents, and days ahead of the clock, are left alone.
    void dailyBackupsKeepTheNewestFourteen()
    {
        insert(kTable);
        const Connection window(notebook()); // open all along, as the window keeps it
        QCOMPARE(run({"backup", "copy.mdb"}).status, 0);
        QStringList days; // today's first
        for (int ago = 0; ago <= 16; ++ago)
            days << QDate::currentDate().addDays(-ago).toString("'word-'yyyy-MM-dd'.mdb'");
        QStringList kept = {"my-word-2024-03-01.mdb",  "word-2024-3-1.mdb",   "word-2024-13-45.mdb",
                            "word-2024-03-01.mdb.bak", "word-9999-12-31.mdb", "word-2024-03-02.mdb"};
        QVERIFY(QDir().mkdir("d"));
        for (const QString& file : kept)
            writeFile("d/" + file, "mine");
        kept << QDate::currentDate().addYears(10).toString("'word-'yyyy-MM-dd'.mdb'");
        const QStringList copies = days.mid(1) << kept.constLast();
        for (const QString& file : copies)
            QFile::copy("copy.mdb", "d/" + file);
        kept += days.mid(0, 14);
        kept.sort();
        QCOMPARE(run({"backup", "--daily", "d", "--keep", "0"}).status, 2);
        const QStringList daily = {"backup", "--daily", "d"};
        QVERIFY(run(daily).out.startsWith("backed up to") && run(daily).status == 0);
        QCOMPARE(QDir("d").entryList(QDir::Files | QDir::Hidden, QDir::Name), kept);
        QCOMPARE(NotebookCheck("d/" + days.first()).pairs(), 5);
    }

    // Only a whole copy is restored, also over a damaged notebook (kept beside it), not onto itself, and not
    // while another program writes.
    void restoreTakesBackOnlyASoundCopy()
    {
        insert(kTable);
        QCOMPARE(run({"backup", "copy.mdb"}).status, 0);
        Connection connection(notebook());
        connection.execute("begin exclusive"); // held by a writer: busy, not damaged
        for (const QStringList& args : {QStringList{"check"}, {"restore", "copy.mdb"}})
            QVERIFY(run(args).err.contains("in use by another program"));
        connection.execute("commit");
        connection.execute("begin immediate"); // a writer that lets readers in: still nothing changes
        QVERIFY(run({"restore", "copy.mdb"}).status == 1 &&
                !QFileInfo::exists(notebook() + ".before-restore"));
        connection.execute("commit");
        // The table's page damaged: a backup fails and leaves the old copy alone.
        QByteArray bytes = readFile(notebook());
        writeFile(notebook(), bytes.replace(4096, 4096, QByteArray(4096, '\0')));
        QCOMPARE(run({"backup", "--force", "copy.mdb"}).status, 1);
        QCOMPARE(NotebookCheck("copy.mdb").pairs(), 5);
        // Through another name: a link, or on Windows, whose links are shortcuts no call follows, capitals.
        const QString alias = QSysInfo::kernelType() == "winnt" ? notebook().toUpper() : "link.mdb";
        QVERIFY(QFile::link(notebook(), "link.mdb") &&
                run({"restore", alias}).err.contains("notebook itself"));
        QFile::remove("link.mdb");
        QVERIFY(run({"restore", notebook() + ".before-restore"}).err.contains("does not exist"));
        QCOMPARE(readFile(notebook()), bytes);
        // A copy whose index is out of step is whole: its index is made afresh.
        Connection("copy.mdb").execute("delete from wordDB_Text where rowid = 1");
        QCOMPARE(run({"restore", "copy.mdb"}).status, 0);
        QVERIFY(run({"check"}).out.contains("(5 pairs)") &&
                readFile(notebook() + ".before-restore").mid(4096) == bytes.mid(4096));
        QCOMPARE(QDir("tessimor").entryList(QDir::Files | QDir::Hidden).size(), 2);
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{"copy.mdb"});
    }

    // check names the fault; upgrade adds the search index once, and mends one out of step.
    void checkNamesTheFaultAndUpgradeMendsTheIndex()
    {
        insert(kTable);
        auto connection = std::make_unique<Connection>(notebook());
        const auto sql = [&connection](const QString& statement) { connection->execute(statement); };
        sql("alter table wordDB rename column Japanese to Japan");
        QVERIFY(run({"check"}).err.contains("column Japanese of wordDB is missing"));
        sql("alter table wordDB rename column Japan to Japanese");
        sql("drop table wordDB_Text"); // its triggers stay
        QVERIFY(run({"upgrade"}).out.startsWith("added the search index"));
        Connection(notebook()).execute("delete from wordDB where English = '#hashtag'"); // the index is new
        QVERIFY(run({"upgrade"}).out.startsWith("up to date") && run({"check"}).out.contains("(4 pairs)"));
        sql("drop trigger wordDB_TextDelete");
        sql("delete from wordDB where English = 'apple'");
        QVERIFY(run({"check"}).err.contains("wordDB_TextDelete of the search index is missing\n  the search "
                                            "index is out of step with wordDB (2 texts differ)"));
        std::thread writer = holdBriefly();
        QVERIFY(run({"upgrade"}).out.startsWith("rebuilt the search index"));
        writer.join();
        QCOMPARE(run({"check"}).status, 0);
        // Indexes sorted without regard to case, under a table that now says case matters.
        sql("pragma writable_schema = on");
        sql("update sqlite_schema set sql = replace(sql, ' collate nocase', '') where type = 'table'");
        const Run unsound = run({"check"});
        QVERIFY(unsound.status == 1 && unsound.err.contains("not sound"));
        // A page of an index damaged, which the engine names for each of its cells: named once.
        connection.reset(); // Windows replaces no file held open
        insert(kTable);
        writeFile(notebook(), readFile(notebook()).replace(4 * 4096 + 8, 4, "\xFF\xFF\xFF\xFF"));
        const QString damaged = run({"check"}).err;
        QVERIFY2(damaged.count("\n  damaged at page 5\n") == 1, qPrintable(damaged));
    }

    // Whatever another program stored as an English (a long text, a NUL, bytes), its pair is deleted with
    // its index entry, in memory that grows with the text, not with its square.
    void anyEnglishIsDeletedWithItsIndexEntry()
    {
        insert({});
        Connection connection(notebook());
        const QVariantList englishes = {QString("apple pie ").repeated(100000),
                                        QString("nul") + QChar(0) + "x", QString("ab") + QChar(0) + "cdef",
                                        QByteArray("\xE3\x81\x82"), QByteArray("abc")};
        sqlite3_hard_heap_limit64(64 << 20);
        for (const QVariant& english : englishes) {
            connection.execute(Statements::kInsert, {"2024/01/01 00:00:00", english, "x"});
            connection.execute(Statements::kDelete, {english, "x"});
        }
        sqlite3_hard_heap_limit64(0);
        QVERIFY(!connection.execute("select * from wordDB_Text")->next());
        QCOMPARE(run({"check"}).status, 0);
    }

    // Killed at any step, a restore leaves the notebook as it was either in place or in .before-restore,
    // from where the documented undo brings it back; the read-only commands play back the journal left.
    void aRestoreKilledAtAnyStepLosesNothing()
    {
        if (QStandardPaths::findExecutable("strace").isEmpty())
            QSKIP("strace is not installed");
        qputenv("ASAN_OPTIONS", "detect_leaks=0"); // LeakSanitizer cannot run under ptrace
        insert(kTable);
        QCOMPARE(run({"backup", "copy.mdb"}).status, 0);
        QCOMPARE(run({"restore", "copy.mdb"}).status, 0);
        for (const QString at : {"rename", "fdatasync:when=1", "fdatasync:when=4", "pwrite64:when=40"}) {
            Connection(notebook()).execute(Statements::kInsert, {"2025/01/01 00:00:00", at, "x"});
            run({"-f", "-o", "/dev/null", "-e", "inject=" + at + ":signal=SIGKILL", TESSIMOR_DB, "restore",
                 "copy.mdb"},
                "strace");
            for (const QString command : {"check", "export", "backup --force out.mdb"})
                QVERIFY2(run(command.split(' ')).status == 0, qPrintable(at + ": " + command));
            if (NotebookCheck(notebook()).pairs() == 5)
                QCOMPARE(run({"restore", notebook() + ".before-restore"}).status, 0);
            QVERIFY2(NotebookCheck(notebook()).pairs() == 6, qPrintable(at));
            Connection(notebook()).execute(Statements::kDelete, {at, "x"});
        }
        // A writer killed inside its transaction leaves a journal; the read-only commands play it back.
        run({"-c", "import os, sqlite3; d = sqlite3.connect('" + notebook() +
                       "'); d.execute('pragma cache_size = 1')"
                       "\nfor i in range(3000): d.execute(\"insert into wordDB values ('x', ?, 'y')\", "
                       "(str(i) * 50,))"
                       "\nos._exit(0)"},
            "python3");
        QVERIFY(QFileInfo::exists(notebook() + "-journal") && run({"check"}).out.contains("(5 pairs)"));
        // A disk that fills during the restore: refused, the notebook as it was and at its size.
        Connection("copy.mdb")
            .execute(Statements::kInsert, {"2025/01/01 00:00:00", QString(99999, 'a'), "x"});
        const qint64 size = QFileInfo(notebook()).size();
        const QString limit = QString::number(2 * size); // room for the journal, not for the copy
        QVERIFY(
            run({"-c", "trap '' XFSZ; exec prlimit --fsize=" + limit + " " TESSIMOR_DB " restore copy.mdb"},
                "bash")
                .err.contains("disk"));
        QCOMPARE(QFileInfo(notebook()).size(), size);
        QCOMPARE(run({"restore", "copy.mdb"}).status, 0);
        QCOMPARE(QDir("tessimor").entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void filesAreReadOrStoppedAtTheirFirstBadLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // the pairs and comment lines, or the line that stops the reading
        QTest::newRow("a header with a third column")
            << QByteArray("English\tJapanese\tNote\na\tb\n") << "line 1:";
        QTest::newRow("a deck's first pair named like columns")
            << QByteArray("#separator:tab\nEnglish\tJapanese\n") << "|English|Japanese; #0";
        QTest::newRow("header, CRLF, blank, comment, no last end")
            << QByteArray("English\tJapanese\r\n\r\n5\" floppy\tりんご\r\n#\r\nbook\t本")
            << "|5\" floppy|りんご;|book|本; #1";
        // As a Japanese spreadsheet saves CSV: Shift_JIS, its own rewrite of the times, characters only the
        // Windows table holds or maps its own way (①～－￢髙ｱ), a trail byte equal to the backslash (表).
        QTest::newRow("Shift_JIS spreadsheet")
            << QByteArray("UpDay,English,Japanese\r\n2024/3/1 9:15,apple,\x82\xE8\x82\xF1\x82\xB2\r\n") +
                   "2024-03-02 20:41:37,display,\x95\x5C\x8E\xA6\r\n" +
                   "2023/02/29 10:00:00,marks,\x87\x40\x81\x60\x81\x7C\x81\xCA\xFB\xFC\xB1\r\n"
            << "2024/03/01 09:15:00|apple|りんご;2024/03/02 20:41:37|display|表示;|marks|①～－￢髙ｱ; #0";
        QTest::newRow("Japanese header, spaces around")
            << QByteArray("単語,意味\n apple ,　りんご\n") << "|apple|りんご; #0";
        QTest::newRow("spaces alone")
            << QByteArray("登録日時,英語,日本語\n2024/03/01 09:15:00,pen,　\n") << "line 2:";
        QTest::newRow("a deck with HTML") << QByteArray("#separator:tab\n#html:true\na\tb\n") << "line 2:";
        QTest::newRow("a deck's unknown separator") << QByteArray("#separator:Slash\na/b\n") << "line 1:";
        QTest::newRow("too many fields") << QByteArray("a\tb\nc\td\n\ne\tf\tg\n") << "line 4:";
        QTest::newRow("lines inside quotes") << QByteArray("a\tb\n\"x\ny\r\nz\"\tw\nlonely\n") << "line 5:";
        QTest::newRow("quote never closed") << QByteArray("a\tb\nc\t\"open\nd\te\n") << "line 2:";
        QTest::newRow("text after a quote") << QByteArray("a,b\n\"c\"x,d\n") << "line 2: text follows";
        QTest::newRow("empty English") << QByteArray("a\tb\n\tりんご\n") << "line 2:";
        // Japanese read as UTF-8 before the damage makes the file UTF-8, not Shift_JIS.
        QTest::newRow("damaged UTF-8") << QByteArray("apple\tりんご\npen\t\xFFペン\n") << "line 2:";
        QTest::newRow("neither UTF-8 nor Shift_JIS") << QByteArray("a,b\nc,\x82\xFF\n") << "line 2:";
        QTest::newRow("NUL of a binary file") << QByteArray("a,b\nc,d\0e\n", 10) << "line 2:";
        QTest::newRow("UTF-16") << QByteArray::fromHex("fffe61002c006200") << "line 1:";
    }

    void filesAreReadOrStoppedAtTheirFirstBadLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        QString result;
        try {
            WordFileReader reader(TextDecoder::decode(bytes));
            for (const WordRecord& word : reader.read())
                result += word.upDay + '|' + word.english + '|' + word.japanese + ';';
            result += " #" + QString::number(reader.commentLines());
        } catch (const ExchangeError& error) {
            result = error.message();
        }
        QVERIFY2(read.startsWith("line") ? result.startsWith(read) : result == read, qPrintable(result));
    }

    // The seeds, and each input that once found a fault, so that each stays fixed.
    void keptFuzzInputsStayFixed()
    {
        const QFileInfoList inputs = QDir(FUZZ_CORPUS).entryInfoList(QDir::Files);
        QVERIFY(!inputs.isEmpty());
        for (const QFileInfo& input : inputs) {
            const QByteArray bytes = readFile(input.filePath());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uchar*>(bytes.constData()), size_t(bytes.size()));
        }
    }

private:
    // Another writer holds the notebook for a moment, as the window's Register does.
    std::thread holdBriefly()
    {
        auto writer = std::make_shared<Connection>(notebook());
        writer->execute("begin immediate");
        return std::thread([writer] {
            QThread::msleep(300);
            writer->execute("commit");
        });
    }

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

    QString notebook() const { return Notebook::pathIn(m_home->path()); }
    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(TessimorDbTest)
#include "tessimordb_test.moc"
