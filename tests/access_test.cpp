#include "AccessReader.h"
#include "Connection.h"
#include "Statements.h"
#include "TestNotebook.h"

#include <QtTest>

namespace {
QString run(const QString& program, const QStringList& args, int* status = nullptr, const QString& input = {})
{
    QProcess process;
    process.start(program, args);
    process.write(input.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(120000);
    if (status)
        *status = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// Rows "UpDay|English|Japanese" ("~" for Null) written to an Access file: trusted only when mdb-reader gives
// them back exactly, and mdb-export with the library's known losses (an empty text shown as Null, "?" for
// each half of a character outside the BMP).
void make(const QString& path, const QStringList& rows, const QString& upDay = "text", int extra = 0)
{
    const QString text = rows.join('\n').replace('|', '\t') + '\n';
    QCOMPARE(run("node",
                 {NODE_DIR "/access.cjs", "write", path, upDay, QString::number(rows.size() + extra),
                  ACCESS_FIXTURES "/emptyJet4.mdb"},
                 nullptr, rows.join('\n')),
             text);
    QString lossy = QString(text).replace(
        QRegularExpression("(?<=^|\t)(?=\t|$)", QRegularExpression::MultilineOption), "~");
    for (QChar& c : lossy)
        c = c.isSurrogate() ? QChar('?') : c;
    QCOMPARE(
        run("mdb-export", {"-H", "-Q", "-d", "\t", "-0", "~", "-T", "%Y/%m/%d %H:%M:%S", path, "wordDB"}),
        lossy);
}

QStringList notebookRows(const QString& path)
{
    Connection notebook(path, Connection::Access::ReadOnly);
    auto query =
        notebook.execute("select UpDay || '|' || English || '|' || Japanese from wordDB order by rowid", {});
    QStringList rows;
    while (query->next())
        rows << query->value(0).toString();
    return rows;
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

    void init()
    {
        qputenv("XDG_DATA_HOME", (m_home = std::make_unique<QTemporaryDir>())->path().toUtf8());
        m_notebook = m_home->path() + "/tessimor/word.mdb";
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
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("upDay"); // a text or a Date/Time column
        QTest::addColumn<int>("extra");     // rows the table's definition counts beyond those written
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("added"); // after the pair the notebook held
        const QStringList longPairs = {"2024/03/07 08:09:10|" + QString(255, 'a') + "|長",
                                       "2024/03/08 08:09:10|long|" + QString(255, QChar(0x3042))};
        QTest::newRow("repeats, empty and long texts")
            << kPairs +
                   QStringList{"2024/03/03 10:00:00|DON'T|mixed カナ abc", "2024/03/04 00:00:00||空",
                               "2024/03/05 00:00:00|~|無", "2024/03/06 00:00:00|e|~"} +
                   longPairs
            << "text" << 0 << QStringList() << 0
            << "added 3, skipped 2 (1 already in the notebook, 1 repeated in the file)\n"
               "追加 3件、スキップ 2件 (登録済み 1件、ファイル内の重複 1件)\n"
               "skipped rows 4, 5, 6 of wordDB: an empty English or Japanese\n"
               "English または Japanese が空の行を読み飛ばしました: 4, 5, 6行目\n2 pairs longer than"
            << kAdded + longPairs;
        QTest::newRow("Date/Time UpDay")
            << QStringList{kApple, kAdded[0]} << "date" << 0 << QStringList() << 0 << "added 1," << kAdded;
        const QStringList outside =
            kPairs + QStringList{"2024/03/08 00:00:00|scold|𠮟る", "2024/03/09 00:00:00|smile|😀"};
        QTest::newRow("outside the BMP") << outside << "text" << 0 << QStringList() << 1
                                         << "rows 3, 4 hold characters outside" << QStringList();
        QTest::newRow("outside the BMP, accepted")
            << outside << "text" << 0 << QStringList{"--accept-replacements"} << 0
            << "rows 3, 4 of wordDB taken with"
            << kAdded + QStringList{"2024/03/08 00:00:00|scold|??る", "2024/03/09 00:00:00|smile|??"};
        QTest::newRow("not closed cleanly")
            << kPairs << "text" << 1 << QStringList() << 1 << "read 2 of the 3 rows" << QStringList();
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many << QString("2024/01/01 00:00:00|word%1|語%1").arg(i);
        QTest::newRow("10000 pairs") << many << "text" << 0 << QStringList() << 0 << "added 10000," << many;
    }

    // A second import adds nothing.
    void importsWordDbOnce()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, upDay);
        QFETCH(int, extra);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QStringList, added);
        const QString file = m_home->filePath("old.mdb");
        make(file, rows, upDay, extra);
        run(TESSIMOR_DB, {"init"});
        Connection(m_notebook).execute(Statements::kInsert, {kApple.left(19), "apple", "りんご"});
        int exit = -1;
        const QString output = run(TESSIMOR_DB, QStringList{"import", file} + options, &exit);
        QVERIFY2(exit == status && output.contains(said), qPrintable(output));
        QCOMPARE(notebookRows(m_notebook).mid(1), added);
        run(TESSIMOR_DB, QStringList{"import", file} + options);
        QCOMPARE(notebookRows(m_notebook).mid(1), added);
    }

    // The menu's launcher in an installed tree's layout, with a window that closes itself as it shows.
    void theLauncherConvertsAnAccessFileWhereTheNotebookLives()
    {
        QDir().mkpath(m_home->path() + "/tessimor");
        make(m_notebook, kPairs);
        const QByteArray access = readFile(m_notebook);
        int exit = -1;
        QVERIFY(run(TESSIMOR_DB, {"check"}, &exit).contains("Access のファイルです。tessimor-db convert") &&
                exit);
        const QString root = m_home->path() + "/usr/";
        QVERIFY(QDir().mkpath(root + "libexec/tessimor") && QDir().mkpath(root + "bin"));
        QFile::copy(LAUNCHER, root + "libexec/tessimor/tessimor-start");
        QFile::link(TESSIMOR_DB, root + "bin/tessimor-db");
        writeFile(root + "bin/tessimor",
                  "#!/bin/sh\nASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" HOOK " exec " TESSIMOR);
        QFile::setPermissions(root + "bin/tessimor", QFile::ReadOwner | QFile::ExeOwner);
        const QString shown = run("sh", {root + "libexec/tessimor/tessimor-start"}, &exit);
        QVERIFY2(exit == 0 && shown.contains("shown: Form1"), qPrintable(shown));
        QCOMPARE(notebookRows(m_notebook), QStringList{kApple} + kAdded);
        QCOMPARE(readFile(m_notebook + ".access"), access);
        QVERIFY(run(TESSIMOR_DB, {"convert"}, &exit).contains("it is not an Access file") && exit == 1);
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_notebook;
};

QTEST_GUILESS_MAIN(AccessTest)
#include "access_test.moc"
