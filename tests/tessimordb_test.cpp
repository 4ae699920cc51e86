#include "Connection.h"
#include "PagedResult.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run {
    int status;
    QString out;
    QString err;
    QByteArray bytes;
};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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

QStringList pairsOf(const QStringList& rows)
{
    QStringList pairs;
    for (const QString& row : rows)
        pairs << row.section('|', 1);
    pairs.sort();
    return pairs;
}

// Ties within one second, a same-word pair told apart by case only in its meaning, and every character
// the layouts give a meaning of their own.
const QStringList kTable = {
    "2024/03/01 09:15:02|apple|りんご",         "2024/03/01 09:15:02|Apple|リンゴ",
    "2024/03/01 09:15:02|banana|バナナ",        "2024/03/02 20:41:37|say \"hi\"|「やあ」と言う",
    "2024/03/05 07:03:11|tab\there|タブ\tあり", "2024/03/09 13:30:45|two\nlines|二行\r\nの説明",
    "2024/04/01 00:00:00|#hashtag|#ハッシュ",   "2024/04/12 18:22:09|a, b|読点、コンマ,",
    "2024/05/05 05:05:05|don't 😀|顔文字🎌",
};
} // namespace

class TessimorDbTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void pathNamesTheFileInTheDataFolder();
    void initCreatesTheTableOnceAndRefusesAfterwards();
    void usageErrorsExitWithTwo();
    void everyCommandExplainsItself();
    void exportImportedIntoAnEmptyNotebookGivesTheSameTable_data();
    void exportImportedIntoAnEmptyNotebookGivesTheSameTable();
    void aShiftJisSpreadsheetFileImports();
    void importReportsAndRefusesWithoutWriting();
    void exportNeverReplacesAFileUnasked();
    void backupAndCheckAnswerThroughTheirStatus();

private:
    Run run(const QStringList& args);
    QString notebook() const { return m_home->path() + "/tessimor/word.mdb"; }
    void useNewHome() { m_home = std::make_unique<QTemporaryDir>(); }
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TessimorDbTest::init()
{
    useNewHome();
    m_folder = std::make_unique<QTemporaryDir>();
}

Run TessimorDbTest::run(const QStringList& args)
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

void TessimorDbTest::pathNamesTheFileInTheDataFolder()
{
    const Run path = run({"path"});
    QCOMPARE(path.status, 0);
    QCOMPARE(path.out, m_home->path() + "/tessimor/word.mdb\n");
    QVERIFY(!QFile::exists(m_home->path() + "/tessimor/word.mdb"));
}

void TessimorDbTest::initCreatesTheTableOnceAndRefusesAfterwards()
{
    const QString file = notebook();
    QCOMPARE(run({"init"}).status, 0);
    {
        PagedResult table(std::make_shared<Connection>(file), "select * from wordDB", {});
        QCOMPARE(table.fieldNames(), (QStringList{"UpDay", "English", "Japanese"}));
        QCOMPARE(table.rowCount(), 0);
    }
    const QByteArray before = bytesOf(file);
    const Run again = run({"init"});
    QCOMPARE(again.status, 1);
    QVERIFY2(again.err.contains(file), qPrintable(again.err));
    QCOMPARE(bytesOf(file), before);
}

void TessimorDbTest::usageErrorsExitWithTwo()
{
    const QString file = m_folder->filePath("words.txt");
    const QList<QStringList> wrong = {
        {},
        {"frobnicate"},
        {"path", "extra"},
        {"export", "--format", "xml"},
        {"export", "--format"},
        {"export", "--colour"},
        {"export", "a.txt", "b.txt"},
        {"import"},
        {"import", file, "--encoding", "latin1"},
        {"backup"},
        {"check", "now"},
    };
    for (const QStringList& args : wrong) {
        const Run result = run(args);
        QVERIFY2(result.status == 2, qPrintable(args.join(' ')));
        QVERIFY2(result.err.startsWith("tessimor-db: "), qPrintable(result.err));
    }
    QVERIFY(!QFile::exists(notebook()));
}

void TessimorDbTest::everyCommandExplainsItself()
{
    const Run help = run({"--help"});
    QCOMPARE(help.status, 0);
    for (const QString command : {"path", "init", "export", "import", "backup", "check"}) {
        QVERIFY2(help.out.contains("  " + command + " "), qPrintable(command));
        const Run own = run({command, "--help"});
        QCOMPARE(own.status, 0);
        QVERIFY2(own.out.startsWith("Usage: tessimor-db " + command), qPrintable(own.out));
    }
    QVERIFY(!QFile::exists(notebook()));
}

void TessimorDbTest::exportImportedIntoAnEmptyNotebookGivesTheSameTable_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("anki") << "anki";
    QTest::newRow("csv") << "csv";
    QTest::newRow("tsv") << "tsv";
}

void TessimorDbTest::exportImportedIntoAnEmptyNotebookGivesTheSameTable()
{
    QFETCH(QString, format);
    QCOMPARE(run({"init"}).status, 0);
    insert(notebook(), kTable);
    const QString file = m_folder->filePath("export." + format);
    QCOMPARE(run({"export", "--format", format, file}).status, 0);
    const QByteArray exported = bytesOf(file);
    QCOMPARE(run({"export", "--format=" + format}).bytes, exported);

    useNewHome();
    QCOMPARE(run({"init"}).status, 0);
    const Run imported = run({"import", file});
    QCOMPARE(imported.status, 0);
    QVERIFY2(imported.out.startsWith(QStringLiteral("added %1, skipped 0").arg(kTable.size())),
             qPrintable(imported.out));
    if (format == "anki") {
        // A deck carries no times: the pairs come back, stamped with the time of the import.
        QCOMPARE(pairsOf(tableOf(notebook())), pairsOf(kTable));
        return;
    }
    QStringList expected = kTable;
    expected.sort();
    QCOMPARE(tableOf(notebook()), expected);
    QCOMPARE(run({"export", "--format", format}).bytes, exported);
}

void TessimorDbTest::aShiftJisSpreadsheetFileImports()
{
    QCOMPARE(run({"init"}).status, 0);
    // As a Japanese spreadsheet saves CSV: Shift_JIS, CRLF, its own rewrite of the times, quotes only
    // where needed. りんご, 表示 (a trail byte equal to the backslash), ①～ and a quoted comma.
    const QString file = m_folder->filePath("excel.csv");
    writeFile(file, "UpDay,English,Japanese\r\n"
                    "2024/3/1 9:15,apple,\x82\xE8\x82\xF1\x82\xB2\r\n"
                    "2024/3/2 20:41,display,\x95\x5C\x8E\xA6\r\n"
                    ",marks,\x87\x40\x81\x60\r\n"
                    "2024/3/3 7:03,\"a, b\",\x93\xC7\x93\x5F\r\n");
    const Run result = run({"import", file});
    QCOMPARE(result.status, 0);
    const QStringList rows = tableOf(notebook());
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.mid(0, 3),
             (QStringList{"2024/03/01 09:15:00|apple|りんご", "2024/03/02 20:41:00|display|表示",
                          "2024/03/03 07:03:00|a, b|読点"}));
    QVERIFY2(rows[3].endsWith("|marks|①～"), qPrintable(rows[3]));
    QCOMPARE(run({"import", file}).out.section('\n', 0, 0),
             "added 0, skipped 4 (4 already in the notebook, 0 repeated in the file)");
    QCOMPARE(tableOf(notebook()), rows);
}

void TessimorDbTest::importReportsAndRefusesWithoutWriting()
{
    QCOMPARE(run({"init"}).status, 0);
    insert(notebook(), {"2024/01/01 00:00:00|Apple|りんご"});
    const QByteArray before = bytesOf(notebook());

    const QString list = m_folder->filePath("list.txt");
    writeFile(list, "apple\tりんご\nbook\t本\nbook\t本\n#comment\n");
    const Run dry = run({"import", "--dry-run", list});
    QCOMPARE(dry.status, 0);
    QVERIFY2(dry.out.startsWith("would add 1, skipped 2 (1 already in the notebook, 1 repeated in the file)"),
             qPrintable(dry.out));
    QVERIFY2(dry.out.contains("passed over 1 comment lines"), qPrintable(dry.out));
    QCOMPARE(bytesOf(notebook()), before);

    const QString bad = m_folder->filePath("bad.txt");
    writeFile(bad, "pen\tペン\n\"two\nlines\"\t二行\ncup\tカップ\textra\n");
    const Run refused = run({"import", bad});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains("(line 4: found 3 fields where 2 belong)"), qPrintable(refused.err));
    QVERIFY2(refused.err.contains("nothing was added"), qPrintable(refused.err));
    QCOMPARE(run({"import", m_folder->filePath("missing.txt")}).status, 1);
    QCOMPARE(bytesOf(notebook()), before);
}

void TessimorDbTest::exportNeverReplacesAFileUnasked()
{
    const QString file = m_folder->filePath("keep.csv");
    writeFile(file, "precious");
    const Run noNotebook = run({"export", file});
    QCOMPARE(noNotebook.status, 1);
    QVERIFY2(noNotebook.err.contains("tessimor-db init"), qPrintable(noNotebook.err));

    QCOMPARE(run({"init"}).status, 0);
    insert(notebook(), {"2024/01/01 00:00:00|apple|りんご"});
    QCOMPARE(run({"export", "--format", "csv", file}).status, 1);
    QCOMPARE(bytesOf(file), QByteArray("precious"));
    QCOMPARE(run({"export", "--format", "csv", "--force", file}).status, 0);
    QCOMPARE(bytesOf(file),
             QByteArray("\xEF\xBB\xBFUpDay,English,Japanese\r\n2024/01/01 00:00:00,apple,りんご\r\n"));
    QCOMPARE(run({"export", m_folder->path()}).status, 1);
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.csv"});
}

void TessimorDbTest::backupAndCheckAnswerThroughTheirStatus()
{
    const QString copy = m_folder->filePath("copy.mdb");
    QCOMPARE(run({"backup", copy}).status, 1);
    QCOMPARE(run({"check"}).status, 1);
    QVERIFY(!QFile::exists(copy));

    QCOMPARE(run({"init"}).status, 0);
    insert(notebook(), kTable);
    const Run sound = run({"check"});
    QCOMPARE(sound.status, 0);
    QVERIFY2(sound.out.contains(QStringLiteral("(%1 pairs)").arg(kTable.size())), qPrintable(sound.out));
    QCOMPARE(run({"backup", copy}).status, 0);
    QCOMPARE(tableOf(copy), tableOf(notebook()));
    QCOMPARE(run({"backup", copy}).status, 1);
    QCOMPARE(run({"backup", "--force", copy}).status, 0);

    insert(notebook(), {"2024/06/01 00:00:00|later|後"});
    writeFile(notebook(), bytesOf(notebook()).left(1024) + QByteArray(3072, '\0'));
    const Run damaged = run({"check"});
    QCOMPARE(damaged.status, 1);
    QVERIFY2(damaged.err.contains("not sound"), qPrintable(damaged.err));
}

QTEST_MAIN(TessimorDbTest)
#include "tessimordb_test.moc"
