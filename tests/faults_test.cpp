#include "FormHarness.h"
#include "TestNotebook.h"

#include <QFile>
#include <QtTest>

namespace {
QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void overwrite(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

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
    QByteArray file = contents(path);
    const QByteArray garbage = noise(int(file.size()));
    file.replace(4096, file.size() - 4096, garbage.mid(4096));
    overwrite(path, file);
}

void damage(TestNotebook& notebook, const QString& how)
{
    const QString path = notebook.path();
    if (how == "missing")
        QFile::remove(path);
    else if (how == "empty")
        overwrite(path, {});
    else if (how == "text")
        overwrite(path, "English,Japanese\napple,りんご\n");
    else if (how == "random")
        overwrite(path, noise(64 * 1024));
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

void fill(TestNotebook& notebook)
{
    notebook.execute("begin");
    for (int i = 0; i < 2000; ++i)
        notebook.insert(QStringLiteral("2024/01/01 %1:%2:00")
                            .arg(i / 60 % 24, 2, 10, QChar('0'))
                            .arg(i % 60, 2, 10, QChar('0')),
                        QStringLiteral("word%1").arg(i), QStringLiteral("単語%1").arg(i));
    notebook.execute("commit");
}
} // namespace

// Every way the notebook file can be unusable, met at start-up and by every command after it.
class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void startUpEndsWithTheOneMessage_data();
    void startUpEndsWithTheOneMessage();
    void eachCommandReportsAndGoesOn_data();
    void eachCommandReportsAndGoesOn();
};

void FaultsTest::startUpEndsWithTheOneMessage_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how :
         {"missing", "empty", "text", "random", "malformed", "no table", "column renamed", "column missing"})
        QTest::newRow(how) << how;
}

void FaultsTest::startUpEndsWithTheOneMessage()
{
    QFETCH(QString, how);
    TestNotebook notebook;
    fill(notebook);
    damage(notebook, how);
    const QByteArray before = contents(notebook.path());
    FormHarness ui(notebook.path());
    QCOMPARE(ui.messages.takeTexts(), QStringList{"データベースが見つかりません"});
    QCOMPARE(ui.exit.statuses, QList<int>{1});
    QCOMPARE(contents(notebook.path()), before);
}

void FaultsTest::eachCommandReportsAndGoesOn_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("command");
    for (const char* how : {"missing", "empty", "random", "malformed", "no table", "column renamed"}) {
        for (const char* command : {"Register", "Delete", "Normal", "Alphabet", "Date", "Search"})
            QTest::addRow("%s, %s", how, command) << how << command;
    }
}

void FaultsTest::eachCommandReportsAndGoesOn()
{
    QFETCH(QString, how);
    QFETCH(QString, command);
    TestNotebook notebook;
    fill(notebook);
    FormHarness ui(notebook.path());
    QCOMPARE(ui.count(), QStringLiteral("2000件"));
    const QStringList shownBefore = ui.list().mid(0, 5);
    damage(notebook, how);
    const QByteArray before = contents(notebook.path());

    ui.text("Text1")->setText("cherry");
    ui.text("Text2")->setText("さくらんぼ");
    ui.text("Text3")->setText("word1");
    if (command == "Register") {
        ui.click("Command1");
    } else if (command == "Delete") {
        ui.selectRows({0});
        ui.messages.answerNext(MessageBox::Answer::Yes);
        ui.click("Command2");
    } else {
        const QMap<QString, const char*> buttons = {
            {"Normal", "Command3"}, {"Alphabet", "Command4"}, {"Date", "Command6"}, {"Search", "Command5"}};
        ui.click(buttons.value(command));
    }

    QStringList shown = ui.messages.takeTexts();
    if (command == "Delete")
        QCOMPARE(shown.takeFirst(), QStringLiteral("選択中のレコードを削除しますか"));
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
        QVERIFY2(shown.first().contains(QRegularExpression("^[^\\x00-\\x7f]+。")), qPrintable(shown.first()));
        QVERIFY2(shown.first().contains("\n\n"), qPrintable(shown.first()));
        QVERIFY(ui.exit.statuses.isEmpty());
        QCOMPARE(ui.list().mid(0, 5), shownBefore);
        QCOMPARE(ui.count(), QStringLiteral("2000件"));
        QCOMPARE(ui.text("Text1")->text(), QStringLiteral("cherry"));
        QCOMPARE(ui.text("Text2")->text(), QStringLiteral("さくらんぼ"));
    }
    QCOMPARE(contents(notebook.path()), before);
}

QTEST_MAIN(FaultsTest)
#include "faults_test.moc"
