#include "Connection.h"
#include "Fakes.h"
#include "StoreError.h"
#include "TestNotebook.h"
#include "WordImporter.h"

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

ImportReport importInto(const TestNotebook& notebook, const QVector<WordRecord>& words)
{
    Connection connection(notebook.path());
    const FixedClock clock;
    return WordImporter(connection, clock).import(words, false);
}

// added, already in the notebook, repeated in the file, stamped
QVector<int> counts(const ImportReport& report)
{
    return {report.added, report.alreadyInNotebook, report.repeatedInFile, report.stamped};
}
} // namespace

// The import's duplicate rule and its one transaction, on notebooks of the test's own.
class ImporterTest : public QObject {
    Q_OBJECT
private slots:
    void pairsAlreadyThereOrRepeatedAreSkipped()
    {
        TestNotebook notebook;
        notebook.insert("2024/01/01 00:00:00", "Apple", "りんご");
        notebook.insert("2024/01/02 00:00:00", "book", "本");
        const QVector<WordRecord> words = {
            word("apple", "りんご"),                    // the notebook's, by case
            word("Apple", "リンゴ"),                    // another meaning
            word("pen", "ペン", "2019/12/31 23:59:59"), // new, its time kept
            word("PEN", "ペン"),                        // repeat in the file
            word("book", "本 "),                        // not the same text
            word("book", "本"),                         // the notebook's
            word("pen", "ペン"),                        // repeat in the file
        };
        const ImportReport report = importInto(notebook, words);
        QCOMPARE(counts(report), (QVector<int>{3, 2, 2, 2}));
        QCOMPARE(notebook.rows(),
                 (QStringList{"2024/01/01 00:00:00|Apple|りんご", "2024/01/02 00:00:00|book|本",
                              "2024/04/01 09:30:00|Apple|リンゴ", "2019/12/31 23:59:59|pen|ペン",
                              "2024/04/01 09:30:00|book|本 "}));
    }

    void englishComparesAsTheTableCompares()
    {
        // A table made by other means, without the notebook's case-blind English, tells "Apple" from "apple".
        TestNotebook notebook(TestNotebook::Schema::BareTable);
        notebook.insert("2024/01/01 00:00:00", "Apple", "りんご");
        const ImportReport report = importInto(notebook, {word("apple", "りんご"), word("Apple", "りんご")});
        QCOMPARE(counts(report), (QVector<int>{1, 1, 0, 1}));
        QCOMPARE(notebook.count(), 2);
    }

    void aFailurePartWayLeavesTheNotebookAsItWas()
    {
        TestNotebook notebook;
        notebook.insert("2024/01/01 00:00:00", "apple", "りんご");
        notebook.execute("create trigger refuse before insert on wordDB when new.English = 'boom' "
                         "begin select raise(abort, 'refused'); end");
        const QByteArray before = readFile(notebook.path());

        Connection connection(notebook.path());
        const FixedClock clock;
        WordImporter importer(connection, clock);
        QVERIFY_THROWS_EXCEPTION(
            StoreError,
            importer.import({word("book", "本"), word("pen", "ペン"), word("boom", "爆発")}, false));
        QCOMPARE(readFile(notebook.path()), before);
        // The transaction is over: the same connection takes the next import.
        QCOMPARE(importer.import({word("book", "本")}, false).added, 1);
        QCOMPARE(notebook.count(), 2);
    }
};

QTEST_GUILESS_MAIN(ImporterTest)
#include "importer_test.moc"
