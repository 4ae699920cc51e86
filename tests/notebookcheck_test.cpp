#include "Connection.h"
#include "NotebookCheck.h"
#include "StoreError.h"
#include "TestNotebook.h"

#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace {
void fill(TestNotebook& notebook, int rows)
{
    notebook.execute("begin");
    for (int i = 0; i < rows; ++i)
        notebook.insert("2024/01/01 00:00:00", QStringLiteral("word%1").arg(i),
                        QStringLiteral("語%1").arg(i));
    notebook.execute("commit");
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

class NotebookCheckTest : public QObject {
    Q_OBJECT
private slots:
    void aSoundNotebookPasses();
    void damageAndMissingPartsAreFound();
    void aNotebookHeldByAWriterIsNotCalledDamaged();
};

void NotebookCheckTest::aSoundNotebookPasses()
{
    TestNotebook notebook;
    fill(notebook, 50);
    const NotebookCheck check(notebook.path());
    QVERIFY2(check.sound(), qPrintable(check.problems().join('\n')));
    QCOMPARE(check.pairs(), 50);
}

void NotebookCheckTest::damageAndMissingPartsAreFound()
{
    TestNotebook damaged;
    fill(damaged, 3000);
    damageTheEnglishIndex(damaged);

    TestNotebook noTable(TestNotebook::Schema::BareTable);
    noTable.execute("drop table wordDB");
    TestNotebook noColumn(TestNotebook::Schema::None);
    noColumn.execute("create table wordDB (UpDay text, English text)");
    TestNotebook notADatabase(TestNotebook::Schema::None);
    {
        QFile file(notADatabase.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }

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

void NotebookCheckTest::aNotebookHeldByAWriterIsNotCalledDamaged()
{
    TestNotebook notebook;
    notebook.execute("begin exclusive");
    QVERIFY_THROWS_EXCEPTION(StoreError, NotebookCheck{notebook.path()});
    notebook.execute("rollback");
    QVERIFY(NotebookCheck(notebook.path()).sound());
}

QTEST_GUILESS_MAIN(NotebookCheckTest)
#include "notebookcheck_test.moc"
