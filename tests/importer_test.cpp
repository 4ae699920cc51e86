#include "Connection.h"
#include "Fakes.h"
#include "StoreError.h"
#include "TestNotebook.h"
#include "WordImporter.h"

#include <QFile>
#include <QtTest>

namespace {
WordRecord word(const QString& english, const QString& japanese, const QString& upDay = {})
{
    WordRecord record;
    record.upDay = upDay;
    record.english = english;
    record.japanese = japanese;
    return record;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

ImportReport importInto(const TestNotebook& notebook, const QVector<WordRecord>& words, bool dryRun = false)
{
    Connection connection(notebook.path());
    const FixedClock clock;
    return WordImporter(connection, clock).import(words, dryRun);
}

// added, already in the notebook, repeated in the file, stamped
QVector<int> counts(const ImportReport& report)
{
    return {report.added, report.alreadyInNotebook, report.repeatedInFile, report.stamped};
}
} // namespace

class ImporterTest : public QObject {
    Q_OBJECT
private slots:
    void pairsAlreadyThereOrRepeatedAreSkipped();
    void englishComparesAsTheTableCompares();
    void upDayIsKeptOrStampedWithTheImportTime();
    void dryRunAndRepeatedImportsWriteNothing();
    void aFailurePartWayLeavesTheNotebookAsItWas();
    void aNotebookBusyWithAnotherWriterIsRefused();
};

void ImporterTest::pairsAlreadyThereOrRepeatedAreSkipped()
{
    TestNotebook notebook;
    notebook.insert("2024/01/01 00:00:00", "Apple", "りんご");
    notebook.insert("2024/01/02 00:00:00", "book", "本");
    const QVector<WordRecord> words = {
        word("apple", "りんご"), // the notebook's, by case
        word("Apple", "リンゴ"), // another meaning
        word("pen", "ペン"),     // new
        word("PEN", "ペン"),     // repeat in the file
        word("book", "本 "),     // not the same text
        word("book", "本"),      // the notebook's
        word("pen", "ペン"),     // repeat in the file
    };
    const ImportReport report = importInto(notebook, words);
    QCOMPARE(counts(report), (QVector<int>{3, 2, 2, 3}));
    QCOMPARE(notebook.rows(), (QStringList{"2024/01/01 00:00:00|Apple|りんご", "2024/01/02 00:00:00|book|本",
                                           "2024/04/01 09:30:00|Apple|リンゴ", "2024/04/01 09:30:00|pen|ペン",
                                           "2024/04/01 09:30:00|book|本 "}));
}

void ImporterTest::englishComparesAsTheTableCompares()
{
    // A table made by other means, without the notebook's case-blind English, tells "Apple" from "apple".
    TestNotebook notebook(TestNotebook::Schema::BareTable);
    notebook.insert("2024/01/01 00:00:00", "Apple", "りんご");
    const ImportReport report = importInto(notebook, {word("apple", "りんご"), word("Apple", "りんご")});
    QCOMPARE(counts(report), (QVector<int>{1, 1, 0, 1}));
    QCOMPARE(notebook.count(), 2);
}

void ImporterTest::upDayIsKeptOrStampedWithTheImportTime()
{
    TestNotebook notebook;
    const ImportReport report =
        importInto(notebook, {word("old", "古い", "2019/12/31 23:59:59"), word("new", "新しい")});
    QCOMPARE(counts(report), (QVector<int>{2, 0, 0, 1}));
    QCOMPARE(notebook.rows(),
             (QStringList{"2019/12/31 23:59:59|old|古い", "2024/04/01 09:30:00|new|新しい"}));
}

void ImporterTest::dryRunAndRepeatedImportsWriteNothing()
{
    TestNotebook notebook;
    notebook.insert("2024/01/01 00:00:00", "apple", "りんご");
    const QVector<WordRecord> words = {word("apple", "りんご"), word("book", "本"), word("book", "本")};
    const QByteArray before = bytesOf(notebook.path());

    QCOMPARE(counts(importInto(notebook, words, true)), (QVector<int>{1, 1, 1, 1}));
    QCOMPARE(bytesOf(notebook.path()), before);

    QCOMPARE(counts(importInto(notebook, words)), (QVector<int>{1, 1, 1, 1}));
    const QStringList afterFirst = notebook.rows();
    QCOMPARE(afterFirst.size(), 2);
    QCOMPARE(counts(importInto(notebook, words)), (QVector<int>{0, 3, 0, 0}));
    QCOMPARE(notebook.rows(), afterFirst);
}

void ImporterTest::aFailurePartWayLeavesTheNotebookAsItWas()
{
    TestNotebook notebook;
    notebook.insert("2024/01/01 00:00:00", "apple", "りんご");
    notebook.execute("create trigger refuse before insert on wordDB when new.English = 'boom' "
                     "begin select raise(abort, 'refused'); end");
    const QByteArray before = bytesOf(notebook.path());

    Connection connection(notebook.path());
    const FixedClock clock;
    WordImporter importer(connection, clock);
    QVERIFY_THROWS_EXCEPTION(
        StoreError, importer.import({word("book", "本"), word("pen", "ペン"), word("boom", "爆発")}, false));
    QCOMPARE(bytesOf(notebook.path()), before);
    // The transaction is over: the same connection takes the next import.
    QCOMPARE(importer.import({word("book", "本")}, false).added, 1);
    QCOMPARE(notebook.count(), 2);
}

void ImporterTest::aNotebookBusyWithAnotherWriterIsRefused()
{
    TestNotebook notebook;
    notebook.execute("begin immediate");
    QVERIFY_THROWS_EXCEPTION(StoreError, importInto(notebook, {word("book", "本")}));
    notebook.execute("rollback");
    QCOMPARE(importInto(notebook, {word("book", "本")}).added, 1);
}

QTEST_GUILESS_MAIN(ImporterTest)
#include "importer_test.moc"
