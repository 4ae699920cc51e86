#include "Connection.h"
#include "ExchangeError.h"
#include "NotebookBackup.h"
#include "NotebookCheck.h"
#include "PagedResult.h"
#include "StoreError.h"
#include "TestNotebook.h"

#include <QDir>
#include <QtTest>

namespace {
QStringList englishIn(const QString& path)
{
    Connection connection(path, Connection::Access::ReadOnly);
    auto rows = connection.execute("select English from wordDB order by rowid", {});
    QStringList english;
    while (rows->next())
        english << rows->value(0).toString();
    return english;
}

QStringList numbered(int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << QStringLiteral("word%1").arg(i);
    return words;
}

// Overwrites the cells of the English index's first page, as a failing disk or a torn write might.
void damageTheEnglishIndex(TestNotebook& notebook)
{
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        Connection connection(notebook.path(), Connection::Access::ReadOnly);
        auto root =
            connection.execute("select rootpage from sqlite_schema where name = 'wordDB_ByEnglish'", {});
        QVERIFY(root->next());
        page = root->value(0).toLongLong();
        auto size = connection.execute("pragma page_size", {});
        QVERIFY(size->next());
        pageSize = size->value(0).toLongLong();
    }
    QFile file(notebook.path());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek((page - 1) * pageSize + pageSize / 2));
    file.write(QByteArray(int(pageSize / 2), '\x5A'));
}
} // namespace

// The notebook's file copied while in use, and checked.
class BackupTest : public QObject {
    Q_OBJECT
private slots:
    void copyHoldsTheCommittedTableWhileResultsAndWritesAreOpen()
    {
        TestNotebook notebook;
        notebook.fill(600);
        PagedResult shown(std::make_shared<Connection>(notebook.path()),
                          "select * from wordDB order by rowid", {});
        QCOMPARE(shown.rowCount(), 600);
        notebook.execute("begin");
        notebook.insert("2024/01/02 00:00:00", "uncommitted", "未確定");

        const QString copy = notebook.folder() + "/copy.mdb";
        NotebookBackup::copy(notebook.path(), copy, false);

        // The writer finishes without waiting: the copy let go of the file.
        notebook.execute("commit");
        QCOMPARE(englishIn(copy), numbered(600));
        QVERIFY(NotebookCheck(copy).sound());
        QCOMPARE(shown.text(599, shown.columnOf("English")), QStringLiteral("word599"));
    }

    void anExistingTargetIsReplacedOnlyWhenAskedAndFailuresLeaveNoFile()
    {
        TestNotebook notebook;
        notebook.fill(1);
        const QString folder = notebook.folder();
        const QString target = folder + "/backup.mdb";
        writeFile(target, "keep me");
        QVERIFY_THROWS_EXCEPTION(ExchangeError, NotebookBackup::copy(notebook.path(), target, false));
        QCOMPARE(readFile(target), QByteArray("keep me"));
        NotebookBackup::copy(notebook.path(), target, true);
        QCOMPARE(englishIn(target), QStringList{"word0"});

        QVERIFY_THROWS_EXCEPTION(ExchangeError, NotebookBackup::copy(notebook.path(), notebook.path(), true));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 NotebookBackup::copy(folder + "/missing.mdb", folder + "/b.mdb", false));
        writeFile(folder + "/garbage.mdb", QByteArray(8192, 'x'));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 NotebookBackup::copy(folder + "/garbage.mdb", folder + "/b.mdb", false));
        QVERIFY_THROWS_EXCEPTION(ExchangeError,
                                 NotebookBackup::copy(notebook.path(), folder + "/no/such/b.mdb", false));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"backup.mdb", "garbage.mdb", "word.mdb"}));
    }

    void checkPassesASoundNotebookAndNamesWhatIsWrong()
    {
        TestNotebook sound;
        sound.fill(50);
        const NotebookCheck check(sound.path());
        QVERIFY2(check.sound(), qPrintable(check.problems().join('\n')));
        QCOMPARE(check.pairs(), 50);

        TestNotebook damaged;
        damaged.fill(3000);
        damageTheEnglishIndex(damaged);
        TestNotebook noTable(TestNotebook::Schema::BareTable);
        noTable.execute("drop table wordDB");
        TestNotebook noColumn(TestNotebook::Schema::None);
        noColumn.execute("create table wordDB (UpDay text, English text)");
        TestNotebook notADatabase(TestNotebook::Schema::None);
        writeFile(notADatabase.path(), QByteArray(4096, 'x'));
        const QVector<std::pair<QString, QString>> cases = {
            {damaged.path(), QString()},
            {noTable.path(), "table wordDB is missing"},
            {noColumn.path(), "column Japanese of wordDB is missing"},
            {notADatabase.path(), "not a database"},
        };
        for (const auto& [path, problem] : cases) {
            const NotebookCheck check(path);
            QVERIFY2(!check.sound(), qPrintable(path));
            QVERIFY2(check.problems().join('\n').contains(problem), qPrintable(check.problems().join('\n')));
        }
    }

    void aNotebookHeldByAWriterIsNotCalledDamaged()
    {
        TestNotebook notebook;
        notebook.execute("begin exclusive");
        QVERIFY_THROWS_EXCEPTION(StoreError, NotebookCheck{notebook.path()});
        notebook.execute("rollback");
        QVERIFY(NotebookCheck(notebook.path()).sound());
    }
};

QTEST_GUILESS_MAIN(BackupTest)
#include "backup_test.moc"
