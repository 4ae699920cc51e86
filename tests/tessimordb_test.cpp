#include "Connection.h"
#include "TestNotebook.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace {
struct Run {
    int status;
    QString out;
    QString err;
    QByteArray bytes;
};

void insert(const QString& notebook, const QStringList& rows)
{
    Connection connection(notebook);
    for (const QString& row : rows)
        connection.execute("insert into wordDB(UpDay,English,Japanese) values(?,?,?)",
                           {row.section('|', 0, 0), row.section('|', 1, 1), row.section('|', 2)});
}

// Every row as "UpDay|English|Japanese", sorted, so tables compare whatever their insertion order.
QStringList tableOf(const QString& notebook)
{
    Connection connection(notebook, Connection::Access::ReadOnly);
    auto query = connection.execute("select UpDay, English, Japanese from wordDB", {});
    QStringList rows;
    while (query->next())
        rows << query->value(0).toString() + '|' + query->value(1).toString() + '|' +
                    query->value(2).toString();
    rows.sort();
    return rows;
}

// Ties within one second, a word told apart by case only, a newest pair that reads like a column header,
// and every character the layouts give a meaning of their own.
const QStringList kTable = {
    "2024/03/01 09:15:02|apple|りんご",          "2024/03/01 09:15:02|Apple|リンゴ",
    "2024/03/01 09:15:02|banana|バナナ",         "2024/03/02 20:41:37|say \"hi\"|「やあ」と言う",
    "2024/03/05 07:03:11|tab\there|タブ\tあり",  "2024/03/09 13:30:45|two\nlines|二行\r\nの説明\r",
    "2024/04/01 00:00:00|#hashtag|#ハッシュ",    "2024/04/12 18:22:09|a, b|読点、コンマ,",
    "2024/05/05 05:05:05|don't 😀|顔文字🎌",       "2024/05/06 00:00:00|\"|\"\"",
    "2024/05/07 00:00:00| padded |　全角空白　", "2024/05/08 00:00:00|=1+1|5\" floppy;表示～①",
    "2024/05/09 00:00:00|English|Japanese",
};
} // namespace

// The companion command as a learner runs it: its output, its exit statuses and the notebook it leaves.
class TessimorDbTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        useNewHome();
        m_folder = std::make_unique<QTemporaryDir>();
    }

    void helpPathAndUsageErrors()
    {
        const Run help = run({"--help"});
        QCOMPARE(help.status, 0);
        for (const QString command : {"path", "init", "export", "import", "backup", "check"}) {
            QVERIFY2(help.out.contains("  " + command + " "), qPrintable(command));
            const Run own = run({command, "--help"});
            QCOMPARE(own.status, 0);
            QVERIFY2(own.out.startsWith("Usage: tessimor-db " + command), qPrintable(own.out));
        }
        QCOMPARE(run({"path"}).out, notebook() + "\n");
        for (const QString args :
             {"", "frobnicate", "path extra", "export --format xml", "export --format", "export --colour",
              "export a.txt b.txt", "import", "import a.txt --encoding latin1", "backup", "check now"}) {
            const Run result = run(args.split(' ', Qt::SkipEmptyParts));
            QVERIFY2(result.status == 2, qPrintable(args));
            QVERIFY2(result.err.startsWith("tessimor-db: "), qPrintable(result.err));
        }
        QVERIFY(!QFile::exists(notebook()));
    }

    void exportImportedIntoAnEmptyNotebookGivesTheSameTable_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("anki") << "anki";
        QTest::newRow("csv") << "csv";
        QTest::newRow("tsv") << "tsv";
    }

    void exportImportedIntoAnEmptyNotebookGivesTheSameTable()
    {
        QFETCH(QString, format);
        QCOMPARE(run({"init"}).status, 0);
        insert(notebook(), kTable);
        const QString exported = file("export." + format);
        QCOMPARE(run({"export", "--format", format, exported}).status, 0);
        QCOMPARE(run({"export", "--format=" + format}).bytes, readFile(exported));

        useNewHome();
        QCOMPARE(run({"init"}).status, 0);
        const Run imported = run({"import", exported});
        QCOMPARE(imported.status, 0);
        QVERIFY2(imported.out.startsWith(QStringLiteral("added %1, skipped 0").arg(kTable.size())),
                 qPrintable(imported.out));
        QStringList expected = kTable;
        QStringList table = tableOf(notebook());
        if (format == "anki") {
            // A deck carries no times: the pairs come back, stamped with the time of the import.
            for (QStringList* rows : {&expected, &table})
                for (QString& row : *rows)
                    row = row.section('|', 1);
            table.sort();
        } else {
            QCOMPARE(run({"export", "--format", format}).bytes, readFile(exported));
        }
        expected.sort();
        QCOMPARE(table, expected);
    }

    void aShiftJisSpreadsheetFileImports()
    {
        QCOMPARE(run({"init"}).status, 0);
        // As a Japanese spreadsheet saves CSV: Shift_JIS, CRLF, its own rewrite of the times, quotes only
        // where needed. りんご, 表示 (a trail byte equal to the backslash), a quoted comma, and ①～－￢髙ｱ,
        // which only the Windows table holds or maps its own way.
        const QString sheet = file("excel.csv");
        writeFile(sheet, "UpDay,English,Japanese\r\n"
                         "2024/3/1 9:15,apple,\x82\xE8\x82\xF1\x82\xB2\r\n"
                         "2024/3/2 20:41,display,\x95\x5C\x8E\xA6\r\n"
                         "2024/3/3 7:03,\"a, b\",\x93\xC7\x93\x5F\r\n"
                         ",marks,\x87\x40\x81\x60\x81\x7C\x81\xCA\xFB\xFC\xB1\r\n");
        // Read as UTF-8 the file fails on its first line of Japanese.
        const Run wrong = run({"import", "--encoding", "utf-8", sheet});
        QCOMPARE(wrong.status, 1);
        QVERIFY2(wrong.err.contains("(line 2:"), qPrintable(wrong.err));

        QCOMPARE(run({"import", sheet}).status, 0);
        const QStringList rows = tableOf(notebook());
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.mid(0, 3),
                 (QStringList{"2024/03/01 09:15:00|apple|りんご", "2024/03/02 20:41:00|display|表示",
                              "2024/03/03 07:03:00|a, b|読点"}));
        QVERIFY2(rows[3].endsWith("|marks|①～－￢髙ｱ"), qPrintable(rows[3]));
        QCOMPARE(run({"import", "--encoding", "cp932", sheet}).out.section('\n', 0, 0),
                 "added 0, skipped 4 (4 already in the notebook, 0 repeated in the file)");
        QCOMPARE(tableOf(notebook()), rows);
    }

    void importSkipsDuplicatesAndADryRunWritesNothing()
    {
        QCOMPARE(run({"init"}).status, 0);
        insert(notebook(), {"2024/01/01 00:00:00|Apple|りんご"});
        const QByteArray before = readFile(notebook());
        const QString list = file("list.txt");
        writeFile(list, "apple\tりんご\nbook\t本\nbook\t本\n#comment\n");
        const Run dry = run({"import", "--dry-run", list});
        QCOMPARE(dry.status, 0);
        QVERIFY2(
            dry.out.startsWith("would add 1, skipped 2 (1 already in the notebook, 1 repeated in the file)"),
            qPrintable(dry.out));
        QVERIFY2(dry.out.contains("passed over 1 comment lines"), qPrintable(dry.out));
        QCOMPARE(readFile(notebook()), before);
        QVERIFY(run({"import", list}).out.startsWith("added 1, skipped 2"));
        QVERIFY(run({"import", list}).out.startsWith("added 0, skipped 3 (3 already in the notebook"));
        QCOMPARE(run({"import", file("missing.txt")}).status, 1);
        QCOMPARE(tableOf(notebook()).size(), 2);
    }

    void aMalformedLineStopsTheImportWithItsNumber_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::newRow("too many fields") << QByteArray("a\tb\nc\td\n\ne\tf\tg\n") << 4;
        QTest::newRow("too few fields") << QByteArray("a,b\nc\n") << 2;
        QTest::newRow("only spaces") << QByteArray("a,b\n   \n") << 2;
        QTest::newRow("missing UpDay column") << QByteArray("UpDay,English,Japanese\r\nx,y\r\n") << 2;
        QTest::newRow("lines inside quotes are counted")
            << QByteArray("a\tb\n\"x\ny\r\nz\"\tw\nlonely\n") << 5;
        QTest::newRow("quote never closed, named where it opened")
            << QByteArray("a\tb\nc\t\"open\nd\te\n") << 2;
        QTest::newRow("text after a closing quote") << QByteArray("a,b\n\"c\"x,d\n") << 2;
        QTest::newRow("empty English") << QByteArray("a\tb\n\tりんご\n") << 2;
        QTest::newRow("empty Japanese") << QByteArray("a\tb\nc\td\napple\t\n") << 3;
        QTest::newRow("quoted empty English") << QByteArray("\"\",x\n") << 1;
        QTest::newRow("HTML deck") << QByteArray("#separator:tab\n#html:true\na\tb\n") << 2;
        QTest::newRow("unknown separator") << QByteArray("#separator:--\na--b\n") << 1;
        // Japanese decoded as UTF-8 before the damage marks the file as UTF-8, not as Shift_JIS.
        QTest::newRow("UTF-8 with a damaged line")
            << QByteArray("apple\tりんご\nbook\t本\npen\t\xFFペン\n") << 3;
        QTest::newRow("UTF-8 cut inside a character") << QByteArray("apple\tりんご\nbook\t\xE6\x9C\n") << 2;
        QTest::newRow("Shift_JIS lead byte alone") << QByteArray("a,\x82\xE8\nb,\x96\x7B\nc,\x82\r\n") << 3;
        QTest::newRow("NUL byte of a binary file") << QByteArray("a,b\nc,d\0e\n", 10) << 2;
        QTest::newRow("UTF-16 text") << QByteArray::fromHex("fffe61002c006200") << 1;
    }

    void aMalformedLineStopsTheImportWithItsNumber()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QCOMPARE(run({"init"}).status, 0);
        insert(notebook(), {"2024/01/01 00:00:00|pen|ペン"});
        const QByteArray before = readFile(notebook());
        // Sound pairs come first, so a partial import would show.
        writeFile(file("bad.txt"), bytes);
        const Run refused = run({"import", file("bad.txt")});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("(line %1:").arg(line)), qPrintable(refused.err));
        QVERIFY2(refused.err.contains("nothing was added"), qPrintable(refused.err));
        QCOMPARE(readFile(notebook()), before);
    }

    void initExportBackupAndCheckRefuseThroughTheirStatus()
    {
        const QString kept = file("keep.csv");
        writeFile(kept, "precious");
        const Run noNotebook = run({"export", kept});
        QCOMPARE(noNotebook.status, 1);
        QVERIFY2(noNotebook.err.contains("tessimor-db init"), qPrintable(noNotebook.err));
        QCOMPARE(run({"backup", file("copy.mdb")}).status, 1);
        QCOMPARE(run({"check"}).status, 1);

        QCOMPARE(run({"init"}).status, 0);
        const QByteArray empty = readFile(notebook());
        const Run again = run({"init"});
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.contains(notebook()), qPrintable(again.err));
        QCOMPARE(readFile(notebook()), empty);

        insert(notebook(), kTable);
        QCOMPARE(run({"export", kept}).status, 1);
        QCOMPARE(readFile(kept), QByteArray("precious"));
        QCOMPARE(run({"export", "--force", kept}).status, 0);
        QVERIFY(readFile(kept).startsWith("#separator:tab\n"));
        QCOMPARE(run({"export", m_folder->path()}).status, 1);

        const Run sound = run({"check"});
        QCOMPARE(sound.status, 0);
        QVERIFY2(sound.out.contains(QStringLiteral("(%1 pairs)").arg(kTable.size())), qPrintable(sound.out));
        QCOMPARE(run({"backup", file("copy.mdb")}).status, 0);
        QCOMPARE(tableOf(file("copy.mdb")), tableOf(notebook()));
        QCOMPARE(run({"backup", file("copy.mdb")}).status, 1);
        QCOMPARE(run({"backup", "--force", file("copy.mdb")}).status, 0);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"copy.mdb", "keep.csv"}));

        writeFile(notebook(), readFile(notebook()).left(1024) + QByteArray(3072, '\0'));
        const Run damaged = run({"check"});
        QCOMPARE(damaged.status, 1);
        QVERIFY2(damaged.err.contains("not sound"), qPrintable(damaged.err));
    }

private:
    Run run(const QStringList& args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", m_home->path());
        process.setProcessEnvironment(env);
        process.start(TESSIMOR_DB, args);
        process.waitForFinished(60000);
        const QByteArray out = process.readAllStandardOutput();
        return {process.exitCode(), QString::fromUtf8(out), QString::fromUtf8(process.readAllStandardError()),
                out};
    }

    QString notebook() const { return m_home->path() + "/tessimor/word.mdb"; }
    QString file(const QString& name) const { return m_folder->filePath(name); }
    void useNewHome() { m_home = std::make_unique<QTemporaryDir>(); }
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_MAIN(TessimorDbTest)
#include "tessimordb_test.moc"
