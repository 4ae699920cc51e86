#include "AccessReader.h"
#include "TestNotebook.h"

#include <QtTest>

namespace {
int lastExit = -1; // run()'s last program's

QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(120000);
    lastExit = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// Writes "text" or "date" (UpDay's type), then rows "UpDay|English|Japanese" ("~": Null; "-": one the table
// counts but the file lost) to an Access file; says nothing when both readers read them back.
QString make(const QString& to, const QStringList& rows)
{
    return run("node",
               QStringList{NODE_DIR "/access.cjs", "write", to, ACCESS_FIXTURES "/emptyJet4.mdb"} + rows);
}

// The notebook's default place (XDG_DATA_HOME/tessimor) made the test notebook's folder.
void live(const QTemporaryDir& home, const TestNotebook& notebook)
{
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QVERIFY(QFile::link(QFileInfo(notebook.path()).path(), home.filePath("tessimor")));
}

const QString kApple = "2024/03/01 09:05:00|apple|りんご";
const QStringList kPairs = {kApple, "2024/3/2 7:00|don't|mixed カナ abc"};
const QStringList kAdded = {"2024/03/02 07:00:00|don't|mixed カナ abc"};

// The rows as make() takes them, tessimor-db's options, parts of what it says, and the pairs added after the
// one the notebook held (none: the file is refused, exit 1).
struct Import {
    QStringList rows, options, said, added;
};
} // namespace
Q_DECLARE_METATYPE(Import)

class AccessTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!QFile::exists(NODE_DIR "/node_modules/mdb-reader"))
            run("npm", {"ci", "--prefix", NODE_DIR, "--no-audit", "--no-fund"});
    }

    // Text that Access itself stored compressed and as UCS-2, read as the other implementation reads it.
    void readsTextAsAccessWroteIt()
    {
        const QString path = ACCESS_FIXTURES "/testUnicodeCompV2003.mdb";
        const AccessReader::Table table = AccessReader::read(path, "Table", {"ID", "Unicode"});
        QString text;
        for (const QStringList& row : table.rows)
            text += row.join('\t') + '\n';
        QCOMPARE(text, run("node", {NODE_DIR "/access.cjs", "read", path, "Table", "ID", "Unicode"}));
        QVERIFY(text.contains("漢字仮名交じり文") && table.replacedRows.isEmpty());
    }

    void importsWordDbOnce_data()
    {
        QTest::addColumn<Import>("import");
        // Repeats, empty and Null texts, pairs just over each box's length or at Access's longest, and
        // characters outside the BMP.
        const QString day = "2024/03/04 00:00:00|";
        const QStringList longPairs = {day + QString(50, 'a') + "|長", day + "long|" + QString(28, u'あ'),
                                       day + QString(255, 'b') + "|" + QString(255, u'い')};
        const QStringList mixed =
            QStringList{"text"} + kPairs +
            QStringList{day + "DON'T|mixed カナ abc", day + "|空", day + "~|無", day + "e|~"} + longPairs +
            QStringList{day + "scold|𠮟る", day + "smile|😀"};
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many << QString("2024/03/02 07:00:00|word%1|語%1").arg(i);
        QTest::newRow("outside the BMP") << Import{mixed, {}, {"rows 10, 11 hold characters outside"}, {}};
        QTest::newRow("outside the BMP accepted, 10000 more")
            << Import{mixed + many,
                      {"--accept-replacements"},
                      {"added 10006, skipped 2 (1 already in the notebook, 1 repeated",
                       "skipped rows 4, 5, 6 of", "rows 10, 11 of wordDB taken", "3 pairs longer"},
                      kAdded + longPairs + QStringList{day + "scold|??る", day + "smile|??"} + many};
        QTest::newRow("not closed cleanly")
            << Import{mixed.mid(0, 3) << "-", {}, {"read 2 of the 3 rows"}, {}};
    }

    // A second import adds nothing.
    void importsWordDbOnce()
    {
        QFETCH(Import, import);
        QTemporaryDir home;
        TestNotebook notebook;
        live(home, notebook);
        notebook.insert(kApple.left(19), "apple", "りんご");
        QCOMPARE(make(home.filePath("old.mdb"), import.rows), QString());
        const QStringList args = QStringList{"import", home.filePath("old.mdb")} + import.options;
        const QString output = run(TESSIMOR_DB, args);
        QVERIFY2(lastExit == int(import.added.isEmpty()), qPrintable(output));
        for (const QString& part : import.said)
            QVERIFY2(output.contains(part), qPrintable(output));
        QCOMPARE(notebook.rows().mid(1), import.added);
        run(TESSIMOR_DB, args);
        QCOMPARE(notebook.rows().mid(1), import.added);
    }

    // The menu's launcher in an installed tree's layout, with a window that closes itself as it shows.
    void theLauncherConvertsAnAccessFileWhereTheNotebookLives()
    {
        QTemporaryDir home;
        TestNotebook notebook(TestNotebook::Schema::None);
        live(home, notebook);
        QCOMPARE(make(notebook.path(), {"date", kApple, kAdded[0]}), QString()); // UpDay as Date/Time
        const QByteArray access = readFile(notebook.path());
        QVERIFY(run(TESSIMOR_DB, {"check"})
                    .contains(home.filePath("tessimor/word.mdb は Access のファイルです")) &&
                lastExit);
        const QString root = home.path() + "/usr/";
        QVERIFY(QDir().mkpath(root + "libexec/tessimor") && QDir().mkpath(root + "bin"));
        QFile::copy(LAUNCHER, root + "libexec/tessimor/tessimor-start");
        QFile::link(TESSIMOR_DB, root + "bin/tessimor-db");
        writeFile(root + "bin/tessimor",
                  "#!/bin/sh\nASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" HOOK " exec " TESSIMOR);
        QFile::setPermissions(root + "bin/tessimor", QFile::ReadOwner | QFile::ExeOwner);
        const QString shown = run("sh", {root + "libexec/tessimor/tessimor-start"});
        QVERIFY2(lastExit == 0 && shown.contains("shown: Form1"), qPrintable(shown));
        QCOMPARE(notebook.rows(), QStringList{kApple} + kAdded);
        QCOMPARE(readFile(notebook.path() + ".access"), access);
    }
};

QTEST_GUILESS_MAIN(AccessTest)
#include "access_test.moc"
