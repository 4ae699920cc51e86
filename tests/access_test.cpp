#include "AccessReader.h"
#include "Connection.h"
#include "Statements.h"
#include "TestNotebook.h"
#include "WordDbFile.h"

#include <QtTest>

namespace {
using Rows = QVector<QStringList>;

QString run(const QString& program, const QStringList& args, int* status = nullptr)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(120000);
    if (status)
        *status = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// One line a row, values separated by tabs, Null (and with emptyIsNull an empty text) as "~".
QString lines(const Rows& rows, bool emptyIsNull = false)
{
    QString text;
    for (const QStringList& row : rows) {
        QStringList values;
        for (const QString& value : row)
            values << (value.isNull() || (emptyIsNull && value.isEmpty()) ? QStringLiteral("~") : value);
        text += values.join('\t') + '\n';
    }
    return text;
}

QString byMdbReader(const QString& path, const QStringList& tableAndColumns)
{
    return run("node", QStringList{NODE_DIR "/read.cjs", path} + tableAndColumns);
}

// Writes a wordDB file and trusts it only when both independent readers give back its rows: mdb-reader
// exactly, mdb-export with the library's known losses (an empty text shown as Null, "?" for each half of a
// character outside the BMP).
void make(const QString& path, const Rows& rows, bool dateUpDay = false, int counted = -1)
{
    writeWordDb(path, rows, dateUpDay, counted);
    QString lossy = lines(rows, true);
    for (QChar& c : lossy)
        c = c.isSurrogate() ? QChar('?') : c;
    const QString format = "%Y/%m/%d %H:%M:%S";
    QCOMPARE(
        run("mdb-export", {"-H", "-Q", "-d", "\t", "-0", "~", "-D", format, "-T", format, path, "wordDB"}),
        lossy);
    QCOMPARE(byMdbReader(path, {"wordDB", "UpDay", "English", "Japanese"}), lines(rows));
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

const QString kKept = "2024/03/01 09:05:00|apple|りんご";
const Rows kPairs = {{"2024/03/01 09:05:00", "apple", "りんご"},
                     {"2024/3/2 7:00", "don't", "mixed カナ abc"}};
const Rows kDatePairs = {kPairs[0], {"2024/03/02 07:00:00", "don't", "mixed カナ abc"}};
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
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", m_home->path().toUtf8());
        m_notebook = m_home->path() + "/tessimor/word.mdb";
        m_file = m_home->filePath("old.mdb");
    }

    // Text stored compressed and as UCS-2 by Access itself, read as the other implementation reads it.
    void readsTextAsAccessWroteIt()
    {
        const QString path = ACCESS_FIXTURES "/testUnicodeCompV2003.mdb";
        const AccessReader::Table table = AccessReader::read(path, "Table", {"ID", "Unicode"});
        QCOMPARE(lines(table.rows), byMdbReader(path, {"Table", "ID", "Unicode"}));
        QVERIFY(lines(table.rows).contains("漢字仮名交じり文") && table.replacedRows.isEmpty());
    }

    void importsWordDb_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<bool>("dateUpDay");
        QTest::addColumn<int>("counted"); // rows the table's definition counts, beyond those written
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("added"); // after the pair the notebook held
        const QString a255(255, 'a'), kana255(255, QChar(0x3042));
        const QStringList added = {"2024/03/02 07:00:00|don't|mixed カナ abc"};
        QTest::newRow("pairs, repeats, empty and long texts")
            << (kPairs + Rows{{"2024/03/03 10:00:00", "DON'T", "mixed カナ abc"},
                              {"2024/03/04 00:00:00", "", "空"},
                              {"2024/03/05 00:00:00", QString(), "無"},
                              {"2024/03/06 00:00:00", "e", QString()},
                              {"2024/03/07 08:09:10", a255, kana255}})
            << false << 0 << QStringList() << 0
            << "added 2, skipped 2 (1 already in the notebook, 1 repeated in the file)\n"
               "追加 2件、スキップ 2件 (登録済み 1件、ファイル内の重複 1件)\n"
               "skipped rows 4, 5, 6 of wordDB: an empty English or Japanese\n"
               "English または Japanese が空の行を読み飛ばしました: 4, 5, 6行目\n"
               "1 pairs longer than"
            << added + QStringList{"2024/03/07 08:09:10|" + a255 + '|' + kana255};
        QTest::newRow("Date/Time UpDay")
            << kDatePairs << true << 0 << QStringList() << 0 << "added 1," << added;
        QTest::newRow("dry run") << kPairs << false << 0 << QStringList{"--dry-run"} << 0 << "would add 1,"
                                 << QStringList();
        const Rows outside =
            kPairs + Rows{{"2024/03/08 00:00:00", "scold", "𠮟る"}, {"2024/03/09 00:00:00", "smile", "😀"}};
        QTest::newRow("outside the BMP") << outside << false << 0 << QStringList() << 1
                                         << "rows 3, 4 hold characters outside" << QStringList();
        QTest::newRow("outside the BMP, accepted")
            << outside << false << 0 << QStringList{"--accept-replacements"} << 0
            << "rows 3, 4 of wordDB taken with \"?\""
            << added + QStringList{"2024/03/08 00:00:00|scold|??る", "2024/03/09 00:00:00|smile|??"};
        QTest::newRow("not closed cleanly")
            << kPairs << false << 1 << QStringList() << 1 << "read 2 of the 3 rows" << QStringList();
    }

    void importsWordDb()
    {
        QFETCH(Rows, rows);
        QFETCH(bool, dateUpDay);
        QFETCH(int, counted);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QStringList, added);
        make(m_file, rows, dateUpDay, rows.size() + counted);
        int exit = -1;
        run(TESSIMOR_DB, {"init"});
        Connection(m_notebook).execute(Statements::kInsert, {"2024/03/01 09:05:00", "apple", "りんご"});
        const QString output = run(TESSIMOR_DB, QStringList{"import", m_file} + options, &exit);
        QVERIFY2(exit == status && output.contains(said), qPrintable(output));
        QCOMPARE(notebookRows(m_notebook).mid(1), added);
    }

    void convertsTheAccessFileWhereTheNotebookLives()
    {
        QDir().mkpath(m_home->path() + "/tessimor");
        make(m_notebook, kPairs);
        const QByteArray access = readFile(m_notebook);
        int exit = -1;
        QVERIFY(run(TESSIMOR_DB, {"check"}, &exit).contains("Access のファイルです。tessimor-db convert"));
        // The menu's launcher, in an installed tree's layout, with a window that closes itself.
        const QString root = m_home->path() + "/usr/";
        QDir().mkpath(root + "libexec/tessimor");
        QDir().mkpath(root + "bin");
        QFile::copy(LAUNCHER, root + "libexec/tessimor/tessimor-start");
        QFile::link(TESSIMOR_DB, root + "bin/tessimor-db");
        QFile window(root + "bin/tessimor");
        window.open(QIODevice::WriteOnly);
        window.write("#!/bin/sh\nASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" HOOK " exec " TESSIMOR
                     "\n");
        window.setPermissions(window.permissions() | QFile::ExeOwner);
        window.close();
        const QString shown = run("sh", {root + "libexec/tessimor/tessimor-start"}, &exit);
        QVERIFY2(exit == 0 && shown.contains("shown: Form1"), qPrintable(shown));
        QCOMPARE(notebookRows(m_notebook), QStringList({kKept, "2024/03/02 07:00:00|don't|mixed カナ abc"}));
        QCOMPARE(readFile(m_notebook + ".access"), access);
        QVERIFY(run(TESSIMOR_DB, {"check"}, &exit).startsWith("ok:"));
        QVERIFY(run(TESSIMOR_DB, {"convert"}, &exit).contains("it is not an Access file") && exit == 1);
    }

    // The figure the closing note gives: 10 000 pairs, and a second import that adds none of them.
    void importsTenThousandPairsOnce()
    {
        Rows rows;
        for (int i = 0; i < 10000; ++i)
            rows << QStringList{"2024/01/01 00:00:00", QString("word%1").arg(i), QString("語%1").arg(i)};
        make(m_file, rows);
        int exit = -1;
        run(TESSIMOR_DB, {"init"});
        QElapsedTimer timer;
        timer.start();
        QVERIFY(run(TESSIMOR_DB, {"import", m_file}, &exit).startsWith("added 10000, skipped 0"));
        qInfo("imported 10000 pairs from an Access file in %lld ms", timer.elapsed());
        QVERIFY(
            run(TESSIMOR_DB, {"import", m_file}, &exit).startsWith("added 0, skipped 10000 (10000 already"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_notebook;
    QString m_file;
};

QTEST_GUILESS_MAIN(AccessTest)
#include "access_test.moc"
