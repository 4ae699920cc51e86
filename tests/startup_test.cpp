#include "FormHarness.h"
#include "TestNotebook.h"

#include <QFile>
#include <QtTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void emptyNotebookShowsNoRowsAndZeroCount();
    void listsNewestFirstAcrossYearMonthAndDay();
    void pairStoredTwiceByOtherMeansCountsTwice();
    void startsWithDeleteDisabledAndBoxesEmpty();
    void unusableDatabaseEndsWithOneMessage_data();
    void unusableDatabaseEndsWithOneMessage();
};

void StartupTest::emptyNotebookShowsNoRowsAndZeroCount()
{
    TestNotebook notebook;
    FormHarness ui(notebook.path());
    QCOMPARE(ui.list(), QStringList());
    QCOMPARE(ui.columns(), (QStringList{"English", "Japanese"}));
    QCOMPARE(ui.count(), QStringLiteral("0件"));
    QCOMPARE(ui.messages.takeTexts(), QStringList());
    QVERIFY(ui.exit.statuses.isEmpty());
}

void StartupTest::listsNewestFirstAcrossYearMonthAndDay()
{
    TestNotebook notebook;
    notebook.insert("2023/12/31 23:59:59", "year", "年");
    notebook.insert("2024/02/01 00:00:00", "month", "月");
    notebook.insert("2024/01/31 23:59:59", "january", "一月");
    notebook.insert("2024/02/02 00:00:00", "day", "日");
    notebook.insert("2024/02/01 12:00:00", "noon", "正午");
    FormHarness ui(notebook.path());
    QCOMPARE(ui.list(), (QStringList{"day|日", "noon|正午", "month|月", "january|一月", "year|年"}));
    QCOMPARE(ui.count(), QStringLiteral("5件"));
}

void StartupTest::pairStoredTwiceByOtherMeansCountsTwice()
{
    TestNotebook notebook(TestNotebook::Schema::BareTable);
    notebook.insert("2024/01/01 10:00:00", "apple", "りんご");
    notebook.insert("2024/01/01 10:00:00", "apple", "りんご");
    FormHarness ui(notebook.path());
    QCOMPARE(ui.list(), (QStringList{"apple|りんご", "apple|りんご"}));
    QCOMPARE(ui.count(), QStringLiteral("2件"));
}

void StartupTest::startsWithDeleteDisabledAndBoxesEmpty()
{
    TestNotebook notebook;
    notebook.insert("2024/01/01 10:00:00", "apple", "りんご");
    FormHarness ui(notebook.path());
    QVERIFY(!ui.button("Command2")->isEnabled());
    for (const char* box : {"Text1", "Text2", "Text3"})
        QVERIFY(ui.text(box)->text().isEmpty());
    QCOMPARE(ui.form->store().AlphaOrder, false);
    QCOMPARE(ui.form->store().SearchMode, 0);
    QCOMPARE(ui.grid("DataGrid1")->currentIndex().row(), 0);
}

void StartupTest::unusableDatabaseEndsWithOneMessage_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("file missing") << "missing";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("text file") << "text";
    QTest::newRow("random bytes") << "random";
    QTest::newRow("table missing") << "no table";
    QTest::newRow("column missing") << "no column";
    QTest::newRow("column renamed") << "renamed";
}

void StartupTest::unusableDatabaseEndsWithOneMessage()
{
    QFETCH(QString, damage);
    TestNotebook notebook(TestNotebook::Schema::None);
    QFile file(notebook.path());
    if (damage == "empty") {
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (damage == "text") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("apple,りんご\nthis is not a database, just some words of text\n");
    } else if (damage == "random") {
        QVERIFY(file.open(QIODevice::WriteOnly));
        QRandomGenerator bytes(20240401);
        QByteArray noise(8192, Qt::Uninitialized);
        for (char& byte : noise)
            byte = char(bytes.bounded(256));
        file.write(noise);
    } else if (damage == "no table") {
        notebook.execute("create table words (UpDay text, English text, Japanese text)");
    } else if (damage == "no column") {
        notebook.execute("create table wordDB (UpDay text, English text)");
    } else if (damage == "renamed") {
        notebook.execute("create table wordDB (UpDay text, Eng text, Japanese text)");
    }
    file.close();

    FormHarness ui(notebook.path());
    const auto shown = ui.messages.takeRequests();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, QStringLiteral("データベースが見つかりません"));
    QCOMPARE(shown.first().caption, QStringLiteral("Tessimor"));
    QVERIFY(shown.first().buttons == MessageBox::Buttons::Ok);
    QVERIFY(shown.first().icon == MessageBox::Icon::None);
    QCOMPARE(ui.exit.statuses, QList<int>{1});
    if (damage == "missing")
        QVERIFY(!QFile::exists(notebook.path()));
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
