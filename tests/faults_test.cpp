#include "FormDriver.h"
#include "TestNotebook.h"

#include <QFile>
#include <QtTest>

namespace {
QByteArray noise(int size)
{
    QRandomGenerator bytes(7);
    QByteArray data(size, Qt::Uninitialized);
    for (char& byte : data)
        byte = char(bytes.bounded(256));
    return data;
}

// Every page but the first (header and schema) overwritten: any read of the table fails as malformed.
void malform(const QString& path)
{
    QByteArray file = readFile(path);
    file.replace(4096, file.size() - 4096, noise(int(file.size())).mid(4096));
    writeFile(path, file);
}

void damage(TestNotebook& notebook, const QString& how)
{
    const QString path = notebook.path();
    if (how == "missing")
        QFile::remove(path);
    else if (how == "empty")
        writeFile(path, {});
    else if (how == "text")
        writeFile(path, "English,Japanese\napple,りんご\n");
    else if (how == "random")
        writeFile(path, noise(64 * 1024));
    else if (how == "malformed")
        malform(path);
    else if (how == "no table")
        notebook.execute("drop table wordDB");
    else if (how == "column renamed")
        notebook.execute("alter table wordDB rename column Japanese to Meaning");
    else if (how == "column missing") {
        for (const char* index : {"wordDB_ByDay", "wordDB_ByEnglish", "wordDB_Count"})
            notebook.execute(QStringLiteral("drop index %1").arg(index));
        notebook.execute("alter table wordDB drop column UpDay");
    }
}

} // namespace

// Every way the notebook file can be unusable, met at start-up and by every command after it.
class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void startUpEndsWithTheOneMessage_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"missing", "empty", "text", "random", "malformed", "no table",
                                "column renamed", "column missing"})
            QTest::newRow(how) << how;
    }

    void startUpEndsWithTheOneMessage()
    {
        QFETCH(QString, how);
        TestNotebook notebook;
        notebook.fill(2000);
        damage(notebook, how);
        const QByteArray before = readFile(notebook.path());
        FormDriver ui(notebook.path());
        const auto shown = ui.messages.takeRequests();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("データベースが見つかりません"));
        QCOMPARE(shown.first().caption, QStringLiteral("Tessimor"));
        QVERIFY(shown.first().buttons == MessageBox::Buttons::Ok);
        QVERIFY(shown.first().icon == MessageBox::Icon::None);
        QCOMPARE(ui.exit.statuses, QList<int>{1});
        QCOMPARE(readFile(notebook.path()), before);
    }

    void eachCommandReportsAndGoesOn_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("command");
        for (const char* how : {"missing", "empty", "random", "malformed", "no table", "column renamed"}) {
            for (const char* command : {"Register", "Delete", "Normal", "Alphabet", "Date", "Search"})
                QTest::addRow("%s, %s", how, command) << how << command;
        }
    }

    void eachCommandReportsAndGoesOn()
    {
        QFETCH(QString, how);
        QFETCH(QString, command);
        TestNotebook notebook;
        notebook.fill(2000);
        FormDriver ui(notebook.path());
        QCOMPARE(ui.count(), QStringLiteral("2000件"));
        const QStringList shownBefore = ui.list().mid(0, 5);
        damage(notebook, how);
        const QByteArray before = readFile(notebook.path());

        ui.type("cherry", "さくらんぼ");
        ui.text("Text3")->setText("word1");
        const QMap<QString, const char*> buttons = {{"Register", "Command1"},
                                                    {"Normal", "Command3"},
                                                    {"Alphabet", "Command4"},
                                                    {"Date", "Command6"},
                                                    {"Search", "Command5"}};
        if (command != "Delete")
            ui.click(buttons.value(command));
        const QStringList shown = command == "Delete" ? ui.deleteRows({0}) : ui.messages.takeTexts();
        if (how == "column renamed" && command == "Date") {
            // The Date view shows whatever columns the table has.
            QCOMPARE(shown, QStringList());
            QCOMPARE(ui.columns(), (QStringList{"UpDay", "English", "Meaning"}));
            return;
        }
        QCOMPARE(shown.size(), 1);
        if (command == "Normal") {
            QCOMPARE(shown.first(), QStringLiteral("データベースが見つかりません"));
            QCOMPARE(ui.exit.statuses, QList<int>{1});
        } else {
            // A Japanese sentence first, then the engine's own words.
            QVERIFY2(shown.first().contains(QRegularExpression("^[^\\x00-\\x7f]+。")),
                     qPrintable(shown.first()));
            QVERIFY2(shown.first().contains("\n\n"), qPrintable(shown.first()));
            QVERIFY(ui.exit.statuses.isEmpty());
            QCOMPARE(ui.list().mid(0, 5), shownBefore);
            QCOMPARE(ui.count(), QStringLiteral("2000件"));
            QCOMPARE(ui.text("Text1")->text(), QStringLiteral("cherry"));
            QCOMPARE(ui.text("Text2")->text(), QStringLiteral("さくらんぼ"));
        }
        QCOMPARE(readFile(notebook.path()), before);
    }
};

QTEST_MAIN(FaultsTest)
#include "faults_test.moc"
