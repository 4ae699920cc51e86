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

// Writes UpDay's type and rows to an Access file as access.cjs reads them; says nothing when read back alike.
QString make(const QString& to, const QStringList& rows)
{
    return run("node",
               QStringList{NODE_DIR "/access.cjs", "write", to, ACCESS_FIXTURES "/emptyJet4.mdb"} + rows);
}

const QString kApple = "2024/03/01 09:05:00|apple|りんご";
const QStringList kAdded = {"2024/03/02 07:00:00|don't|mixed カナ abc"};

// make()'s rows, tessimor-db's options, parts of what it says, the pairs added (none: refused, exit 1).
struct Import {
    QStringList rows, options, said, added;
};
} // namespace
Q_DECLARE_METATYPE(Import)

class AccessTest : public QObject {
    Q_OBJECT
private slots:
    // A home whose notebook (XDG_DATA_HOME/tessimor/word.mdb) is the test notebook, not made yet.
    void init()
    {
        m_notebook.emplace(TestNotebook::Schema::None);
        qputenv("XDG_DATA_HOME", m_home.emplace().path().toUtf8());
        QFile::link(QFileInfo(m_notebook->path()).path(), m_home->filePath("tessimor"));
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
        // Repeats, empty and Null texts, pairs just over a box or at Access's longest, outside the BMP.
        const QString day = "2024/03/04 00:00:00|";
        QStringList mixed = {"text", kApple, "2024/3/2 7:00|don't|mixed カナ abc"};
        mixed << day + "DON'T|mixed カナ abc" << day + "|空" << day + "~|無" << day + "e|~"
              << day + QString(50, 'a') + "|長" << day + "long|" + QString(28, u'あ')
              << day + QString(255, 'b') + "|" + QString(255, u'い') << day + "scold|𠮟る" << day + "smile|😀";
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many << QString("2024/03/02 07:00:00|word%1|語%1").arg(i);
        QTest::newRow("outside the BMP") << Import{mixed, {}, {"rows 10, 11 hold characters outside"}, {}};
        QTest::newRow("outside the BMP accepted, 10000 more")
            << Import{mixed + many,
                      {"--accept-replacements"},
                      {"added 10006, skipped 2 (1 already in the notebook, 1 repeated",
                       "skipped rows 4, 5, 6 of", "rows 10, 11 of wordDB taken", "3 pairs longer"},
                      kAdded + mixed.mid(7, 3) + QStringList{day + "scold|??る", day + "smile|??"} + many};
        QTest::newRow("unclean") << Import{mixed.mid(0, 3) << "-", {}, {"read 2 of the 3 rows"}, {}};
    }

    void importsWordDbOnce()
    {
        QFETCH(Import, import);
        run(TESSIMOR_DB, {"init"});
        m_notebook->insert(kApple.left(19), "apple", "りんご");
        QCOMPARE(make(m_home->filePath("old.mdb"), import.rows), QString());
        const QStringList args = QStringList{"import", m_home->filePath("old.mdb")} + import.options;
        const QString output = run(TESSIMOR_DB, args);
        QVERIFY2(lastExit == int(import.added.isEmpty()), qPrintable(output));
        for (const QString& part : import.said)
            QVERIFY2(output.contains(part), qPrintable(output));
        QCOMPARE(m_notebook->rows().mid(1), import.added);
        run(TESSIMOR_DB, args);
        QCOMPARE(m_notebook->rows().mid(1), import.added);
    }

    // The menu's launcher in an installed tree's layout, its window closing as it shows. It ends a convert
    // cut short with the notebook half-built beside the Access file, or complete with the Access file aside.
    void theLauncherConvertsAnAccessFileWhereTheNotebookLives()
    {
        const QString path = m_notebook->path();
        QCOMPARE(make(path, {"date", kApple, kAdded[0]}), QString()); // UpDay as Date/Time
        const QByteArray access = readFile(path);
        const QString checked = run(TESSIMOR_DB, {"check"});
        QVERIFY2(lastExit && checked.contains("tessimor/word.mdb is an Access file"), qPrintable(checked));
        const QString root = m_home->path() + "/usr/";
        QVERIFY(QDir().mkpath(root + "libexec/tessimor") && QDir().mkpath(root + "bin"));
        QFile::copy(LAUNCHER, root + "libexec/tessimor/tessimor-start");
        QFile::link(TESSIMOR_DB, root + "bin/tessimor-db");
        writeFile(root + "bin/tessimor",
                  "#!/bin/sh\nASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" HOOK " exec " TESSIMOR);
        QFile::setPermissions(root + "bin/tessimor", QFile::ReadOwner | QFile::ExeOwner);
        const auto startConverts = [&] {
            const QString shown = run("sh", {root + "libexec/tessimor/tessimor-start"});
            QVERIFY2(lastExit == 0 && shown.contains("shown: Form1"), qPrintable(shown));
            QCOMPARE(m_notebook->rows(), QStringList{kApple} + kAdded);
            QCOMPARE(readFile(path + ".access"), access);
            QVERIFY(!QFileInfo::exists(path + ".converting"));
        };
        writeFile(path + ".converting", "half-built");
        startConverts();
        QVERIFY(QFile::rename(path, path + ".converting"));
        startConverts();
        QVERIFY(run(TESSIMOR_DB, {"convert"}).contains("it is not an Access file") && lastExit == 1);
        QVERIFY(run(TESSIMOR_DB, {"convert", "--if-access"}).isEmpty() && lastExit == 0);
    }

private:
    std::optional<QTemporaryDir> m_home;
    std::optional<TestNotebook> m_notebook;
};

QTEST_GUILESS_MAIN(AccessTest)
#include "access_test.moc"
