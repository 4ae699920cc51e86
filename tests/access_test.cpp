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

const QString kApple = "2024/03/01 09:05:00|apple|りんご";
const QStringList kAdded = {"2024/03/02 07:00:00|don't|mixed カナ abc"};

// writeAccessFile()'s rows, tessimor-db's options, parts of what it says, the pairs added (none: refused,
// exit 1).
struct Import {
    QStringList rows, options, said, added;
};
} // namespace
Q_DECLARE_METATYPE(Import)

class AccessTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_notebook.emplace(TestNotebook::Schema::None);
        m_notebook->becomeTheLearners();
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
        QCOMPARE(writeAccessFile(m_folder.filePath("old.mdb"), import.rows), QString());
        const QStringList args = QStringList{"import", m_folder.filePath("old.mdb")} + import.options;
        const QString output = run(TESSIMOR_DB, args);
        QVERIFY2(lastExit == int(import.added.isEmpty()), qPrintable(output));
        for (const QString& part : import.said)
            QVERIFY2(output.contains(part), qPrintable(output));
        QCOMPARE(m_notebook->rows().mid(1), import.added);
        run(TESSIMOR_DB, args);
        QCOMPARE(m_notebook->rows().mid(1), import.added);
    }

    // check tells an Access file where the notebook lives from a notebook; convert refuses what is neither.
    void checkAndConvertTellAnAccessFile()
    {
        QCOMPARE(writeAccessFile(m_notebook->path(), {"text", kApple}), QString());
        const QString checked = run(TESSIMOR_DB, {"check"});
        QVERIFY2(lastExit && checked.contains("tessimor/word.mdb is an Access file"), qPrintable(checked));
        writeFile(m_notebook->path(), "neither");
        QVERIFY(run(TESSIMOR_DB, {"convert"}).contains("it is not an Access file") && lastExit == 1);
    }

private:
    QTemporaryDir m_folder;
    std::optional<TestNotebook> m_notebook;
};

QTEST_GUILESS_MAIN(AccessTest)
#include "access_test.moc"
