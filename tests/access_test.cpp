#include "AccessReader.h"
#include "TestNotebook.h"

#include <QtTest>

namespace {
QString run(const QString& program, const QStringList& args, int* status = nullptr)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(120000);
    if (status)
        *status = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// "text" or "date" (the UpDay column's type), then rows "UpDay|English|Japanese" ("~" for Null; "-" for one
// the table counts but the file lost) written to an Access file that both readers read back.
void make(const QString& path, const QStringList& rows)
{
    QCOMPARE(run("node",
                 QStringList{NODE_DIR "/access.cjs", "write", path, ACCESS_FIXTURES "/emptyJet4.mdb"} + rows),
             QString());
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
} // namespace

class AccessTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!QFile::exists(NODE_DIR "/node_modules/mdb-reader"))
            run("npm", {"ci", "--prefix", NODE_DIR, "--no-audit", "--no-fund"});
        QVERIFY(QFile::exists(NODE_DIR "/node_modules/mdb-reader"));
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
        QTest::addColumn<QStringList>("rows"); // as make() takes them
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QStringList>("added"); // after the pair the notebook held; none: refused, exit 1
        // Repeats, empty and Null texts, pairs just over each box's length or at Access's longest, and
        // characters outside the BMP.
        const QString day = "2024/03/04 00:00:00|";
        const QStringList longPairs = {day + QString(50, 'a') + "|長",
                                       day + "long|" + QString(28, QChar(0x3042)),
                                       day + QString(255, 'b') + "|" + QString(255, QChar(0x3044))};
        const QStringList mixed =
            QStringList{"text"} + kPairs +
            QStringList{day + "DON'T|mixed カナ abc", day + "|空", day + "~|無", day + "e|~"} + longPairs +
            QStringList{day + "scold|𠮟る", day + "smile|😀"};
        QTest::newRow("outside the BMP")
            << mixed << QStringList() << QStringList{"rows 10, 11 hold characters outside"} << QStringList();
        QTest::newRow("outside the BMP, accepted")
            << mixed << QStringList{"--accept-replacements"}
            << QStringList{"added 6, skipped 2 (1 already in the notebook, 1 repeated",
                           "skipped rows 4, 5, 6 of", "rows 10, 11 of wordDB taken with",
                           "3 pairs longer than"}
            << kAdded + longPairs + QStringList{day + "scold|??る", day + "smile|??"};
        QTest::newRow("not closed cleanly")
            << QStringList{"text"} + kPairs + QStringList{"-"} << QStringList()
            << QStringList{"read 2 of the 3 rows"} << QStringList();
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many << QString("2024/03/02 07:00:00|word%1|語%1").arg(i);
        QTest::newRow("10000 pairs, Date/Time UpDay")
            << QStringList{"date"} + many << QStringList() << QStringList{"added 10000,"} << many;
    }

    // A second import adds nothing.
    void importsWordDbOnce()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, options);
        QFETCH(QStringList, said);
        QFETCH(QStringList, added);
        QTemporaryDir home;
        TestNotebook notebook;
        live(home, notebook);
        notebook.insert(kApple.left(19), "apple", "りんご");
        make(home.filePath("old.mdb"), rows);
        int exit = -1;
        const QStringList import = QStringList{"import", home.filePath("old.mdb")} + options;
        const QString output = run(TESSIMOR_DB, import, &exit);
        QVERIFY2(exit == int(added.isEmpty()), qPrintable(output));
        for (const QString& part : said)
            QVERIFY2(output.contains(part), qPrintable(output));
        QCOMPARE(notebook.rows().mid(1), added);
        run(TESSIMOR_DB, import);
        QCOMPARE(notebook.rows().mid(1), added);
    }

    // The menu's launcher in an installed tree's layout, with a window that closes itself as it shows.
    void theLauncherConvertsAnAccessFileWhereTheNotebookLives()
    {
        QTemporaryDir home;
        TestNotebook notebook(TestNotebook::Schema::None);
        live(home, notebook);
        make(notebook.path(), QStringList{"text"} + kPairs);
        const QByteArray access = readFile(notebook.path());
        int exit = -1;
        QVERIFY(run(TESSIMOR_DB, {"check"}, &exit).contains("Access のファイルです。tessimor-db convert") &&
                exit);
        const QString root = home.path() + "/usr/";
        QVERIFY(QDir().mkpath(root + "libexec/tessimor") && QDir().mkpath(root + "bin"));
        QFile::copy(LAUNCHER, root + "libexec/tessimor/tessimor-start");
        QFile::link(TESSIMOR_DB, root + "bin/tessimor-db");
        writeFile(root + "bin/tessimor",
                  "#!/bin/sh\nASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" HOOK " exec " TESSIMOR);
        QFile::setPermissions(root + "bin/tessimor", QFile::ReadOwner | QFile::ExeOwner);
        const QString shown = run("sh", {root + "libexec/tessimor/tessimor-start"}, &exit);
        QVERIFY2(exit == 0 && shown.contains("shown: Form1"), qPrintable(shown));
        QCOMPARE(notebook.rows(), QStringList{kApple} + kAdded);
        QCOMPARE(readFile(notebook.path() + ".access"), access);
        QVERIFY(run(TESSIMOR_DB, {"convert"}, &exit).contains("it is not an Access file") && exit == 1);
    }
};

QTEST_GUILESS_MAIN(AccessTest)
#include "access_test.moc"
