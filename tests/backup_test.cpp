#include "Connection.h"
#include "ExchangeError.h"
#include "NotebookBackup.h"
#include "NotebookCheck.h"
#include "PagedResult.h"
#include "StoreError.h"
#include "TestNotebook.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

#include <atomic>
#include <thread>

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
        words << QStringLiteral("w%1").arg(i);
    return words;
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}
} // namespace

class BackupTest : public QObject {
    Q_OBJECT
private slots:
    void copyHoldsTheCommittedTableWhileResultsAndWritesAreOpen();
    void copiesStayWholeWhileAnotherConnectionKeepsWriting();
    void anExistingTargetIsReplacedOnlyWhenAsked();
    void failuresLeaveNoFileBehind();
};

void BackupTest::copyHoldsTheCommittedTableWhileResultsAndWritesAreOpen()
{
    TestNotebook notebook;
    notebook.execute("begin");
    for (int i = 0; i < 600; ++i)
        notebook.insert("2024/01/01 00:00:00", QStringLiteral("w%1").arg(i), "語");
    notebook.execute("commit");
    PagedResult shown(std::make_shared<Connection>(notebook.path()), "select * from wordDB order by rowid",
                      {});
    QCOMPARE(shown.rowCount(), 600);
    notebook.execute("begin");
    notebook.insert("2024/01/02 00:00:00", "uncommitted", "未確定");

    const QString copy = notebook.folder() + "/copy.mdb";
    NotebookBackup::copy(notebook.path(), copy, false);

    // The writer finishes without waiting: the copy let go of the file.
    notebook.execute("commit");
    QCOMPARE(englishIn(copy), numbered(600));
    QVERIFY(NotebookCheck(copy).sound());
    QCOMPARE(shown.text(599, shown.columnOf("English")), QStringLiteral("w599"));
}

void BackupTest::copiesStayWholeWhileAnotherConnectionKeepsWriting()
{
    TestNotebook notebook;
    constexpr int kRows = 300;
    std::atomic<int> written{0};
    std::atomic<bool> failed{false};
    std::thread writer([&] {
        try {
            Connection connection(notebook.path());
            for (int i = 0; i < kRows; ++i) {
                connection.execute("insert into wordDB values('2024/01/01 00:00:00', ?, '語')",
                                   {QStringLiteral("w%1").arg(i)});
                ++written;
            }
        } catch (const StoreError& error) {
            qWarning() << "write failed:" << error.engineText();
            failed = true;
        }
    });
    QStringList copies;
    QVector<int> writtenBefore;
    for (int n = 1; n <= 5; ++n) {
        while (written < n * 50 && !failed)
            std::this_thread::yield();
        writtenBefore << written;
        copies << notebook.folder() + QStringLiteral("/copy%1.mdb").arg(n);
        try {
            NotebookBackup::copy(notebook.path(), copies.last(), false);
        } catch (const StoreError& error) {
            qWarning() << "copy failed:" << error.engineText();
            failed = true;
        }
    }
    writer.join();
    QVERIFY(!failed);
    for (int n = 0; n < copies.size(); ++n) {
        QVERIFY(NotebookCheck(copies[n]).sound());
        // Every copy is the table after some whole number of inserts, at least those done before it began.
        const QStringList english = englishIn(copies[n]);
        QVERIFY2(english.size() >= writtenBefore[n], qPrintable(copies[n]));
        QCOMPARE(english, numbered(int(english.size())));
    }
}

void BackupTest::anExistingTargetIsReplacedOnlyWhenAsked()
{
    TestNotebook notebook;
    notebook.insert("2024/01/01 00:00:00", "apple", "りんご");
    const QString target = notebook.folder() + "/backup.mdb";
    writeText(target, "keep me");

    QVERIFY_THROWS_EXCEPTION(ExchangeError, NotebookBackup::copy(notebook.path(), target, false));
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("keep me"));
    kept.close();

    NotebookBackup::copy(notebook.path(), target, true);
    QCOMPARE(englishIn(target), QStringList{"apple"});
    QVERIFY_THROWS_EXCEPTION(ExchangeError, NotebookBackup::copy(notebook.path(), notebook.path(), true));
    QCOMPARE(QDir(notebook.folder()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"backup.mdb", "word.mdb"}));
}

void BackupTest::failuresLeaveNoFileBehind()
{
    TestNotebook notebook;
    const QString folder = notebook.folder();
    QVERIFY_THROWS_EXCEPTION(StoreError,
                             NotebookBackup::copy(folder + "/missing.mdb", folder + "/b.mdb", false));
    writeText(folder + "/garbage.mdb", QByteArray(8192, 'x'));
    QVERIFY_THROWS_EXCEPTION(StoreError,
                             NotebookBackup::copy(folder + "/garbage.mdb", folder + "/b.mdb", false));
    QVERIFY_THROWS_EXCEPTION(ExchangeError,
                             NotebookBackup::copy(notebook.path(), folder + "/no/such/b.mdb", false));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{"garbage.mdb", "word.mdb"}));
}

QTEST_GUILESS_MAIN(BackupTest)
#include "backup_test.moc"
