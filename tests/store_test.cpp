#include "Connection.h"
#include "FormDriver.h"
#include "Notebook.h"
#include "PagedResult.h"
#include "StoreError.h"
#include "TestNotebook.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QtTest>

// The word store under the window: opening, paged results, bound values and the connections it leaves.
class StoreTest : public QObject {
    Q_OBJECT
private slots:
    void openingNeverCreatesAFileAndCreationRefusesAnExistingOne()
    {
        TestNotebook notebook(TestNotebook::Schema::None);
        QVERIFY_THROWS_EXCEPTION(StoreError, Connection{notebook.path()});
        QVERIFY(!QFile::exists(notebook.path()));
        QCOMPARE(Connection::openCount(), 0);

        const QString path = notebook.folder() + "/deep/folder/word.mdb";
        Notebook::create(path);
        QVERIFY_THROWS_EXCEPTION(StoreError, Notebook::create(path));
        QCOMPARE(QDir(notebook.folder() + "/deep/folder").entryList(QDir::Files | QDir::Hidden),
                 QStringList{"word.mdb"});
        // The newest-first list is read from an index alone.
        Connection cn(path);
        auto plan =
            cn.execute("explain query plan select English,Japanese from wordDB order by UpDay Desc", {});
        QVERIFY(plan->next());
        QVERIFY2(plan->value(3).toString().contains("COVERING INDEX"), qPrintable(plan->value(3).toString()));
    }

    void defaultPathFollowsTheDataFolder()
    {
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", "/srv/learner/data");
        QCOMPARE(Notebook::defaultPath(), QStringLiteral("/srv/learner/data/tessimor/word.mdb"));
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(Notebook::defaultPath(), QDir::homePath() + "/.local/share/tessimor/word.mdb");
        qputenv("XDG_DATA_HOME", saved);
    }

    void resultReadsEveryPageInTheStatementsOrder()
    {
        TestNotebook notebook;
        notebook.fill(1000);
        PagedResult result(std::make_shared<Connection>(notebook.path()),
                           "select English,Japanese from wordDB order by UpDay Desc", {});
        QAbstractItemModelTester tester(&result, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(result.rowCount(), 1000);
        QCOMPARE(result.columnCount(), 2);
        QCOMPARE(result.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Japanese"));
        // Every row once, walking forwards then back, across the page boundaries and the cache's limit.
        for (int row = 0; row < 1000; ++row)
            QCOMPARE(result.text(row, 0), QStringLiteral("word%1").arg(999 - row));
        for (int row : {999, 511, 256, 255, 0})
            QCOMPARE(result.data(result.index(row, 1)).toString(), QStringLiteral("語%1").arg(999 - row));
        QCOMPARE(result.columnOf("japanese"), 1);
        QCOMPARE(result.columnOf("UpDay"), -1);
    }

    void boundValuesAreTakenLiterally()
    {
        TestNotebook notebook;
        const QStringList texts = {"don't",
                                   "50%",
                                   "a_b",
                                   "back\\slash",
                                   "🍎 apple",
                                   "'); drop table wordDB; --",
                                   QString(49, QLatin1Char('x'))};
        for (const QString& text : texts)
            notebook.insert("2024/01/01 00:00:00", text, text);
        auto cn = std::make_shared<Connection>(notebook.path());
        for (const QString& text : texts) {
            PagedResult found(cn, "select English from wordDB where English = ? and Japanese = ?",
                              {text, text});
            QCOMPARE(found.rowCount(), 1);
            QCOMPARE(found.text(0, 0), text);
        }
        QCOMPARE(notebook.count(), texts.size());
    }

    void connectionsDoNotPileUp()
    {
        TestNotebook notebook;
        notebook.fill(300);
        FormDriver ui(notebook.path());
        ui.text("Text3")->setText("word");
        for (int i = 0; i < 250; ++i) {
            ui.click("Command3");
            ui.click("Command4");
            ui.click("Command6");
            ui.click("Command5");
        }
        QCOMPARE(ui.count(), QStringLiteral("300件"));
        ui.expectQuiet();
        // One connection under each grid's result, at most.
        QVERIFY2(Connection::openCount() <= 3, qPrintable(QString::number(Connection::openCount())));
        QVERIFY(QSqlDatabase::connectionNames().size() <= 4);
    }

    void aShownListDoesNotBlockWriters()
    {
        TestNotebook notebook;
        notebook.fill(700);
        FormDriver ui(notebook.path());
        DataGrid* list = ui.grid("DataGrid1");
        list->scrollTo(list->model()->index(400, 0));
        QCOMPARE(list->model()->index(400, 0).data().toString(), QStringLiteral("word299"));
        // The test's connection has no busy timeout: a lock left by the program would fail these at once.
        notebook.insert("2030/01/01 00:00:00", "later", "後で");
        notebook.execute("delete from wordDB where English = 'word0'");
        QCOMPARE(notebook.count(), 700);
        ui.click("Command3");
        QCOMPARE(ui.list().first(), QStringLiteral("later|後で"));
        QCOMPARE(ui.count(), QStringLiteral("700件"));
    }
};

QTEST_MAIN(StoreTest)
#include "store_test.moc"
