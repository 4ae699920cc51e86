#include "FormDriver.h"
#include "TestNotebook.h"

#include <QElapsedTimer>
#include <QtTest>

// The notebook shared with another program that holds it locked, and with a second copy of Tessimor.
class SharingTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_notebook = std::make_unique<TestNotebook>();
        m_notebook->insert("2024/01/01 00:00:00", "apple", "りんご");
        m_notebook->insert("2024/01/02 00:00:00", "banana", "バナナ");
    }

    void aLockedNotebookIsReportedPromptlyAndWorksAfterwards_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* command : {"Register", "Delete", "Alphabet", "Date", "Search"})
            QTest::newRow(command) << command;
    }

    void aLockedNotebookIsReportedPromptlyAndWorksAfterwards()
    {
        QFETCH(QString, command);
        FormDriver ui(m_notebook->path());
        const QMap<QString, const char*> buttons = {
            {"Register", "Command1"}, {"Alphabet", "Command4"}, {"Date", "Command6"}, {"Search", "Command5"}};
        auto run = [&] {
            ui.type("cherry", "さくらんぼ");
            ui.text("Text3")->setText("an");
            if (command == "Delete")
                return ui.deleteRows({0});
            ui.click(buttons.value(command));
            return ui.messages.takeTexts();
        };

        m_notebook->execute("begin exclusive");
        QElapsedTimer clock;
        clock.start();
        const QStringList refused = run();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(refused.size(), 1);
        QVERIFY2(refused.first().startsWith("データベースが他のプログラムに使用されています"),
                 qPrintable(refused.first()));
        QCOMPARE(ui.text("Text1")->text(), QStringLiteral("cherry"));
        QVERIFY(ui.exit.statuses.isEmpty());
        m_notebook->execute("commit");

        const QStringList accepted = run();
        QCOMPARE(accepted, command == "Register" ? QStringList{"登録しました"} : QStringList());
        QCOMPARE(m_notebook->count(), command == "Register" ? 3 : command == "Delete" ? 1 : 2);
        QVERIFY(ui.exit.statuses.isEmpty());
    }

    void aLockedNotebookMeetsTheNormalListsTrap()
    {
        FormDriver ui(m_notebook->path());
        m_notebook->execute("begin exclusive");
        ui.click("Command3");
        m_notebook->execute("commit");
        QCOMPARE(ui.messages.takeTexts(), QStringList{"データベースが見つかりません"});
        QCOMPARE(ui.exit.statuses, QList<int>{1});
    }

    void twoCopiesRegisterAndDeleteInTurn()
    {
        FormDriver first(m_notebook->path());
        FormDriver second(m_notebook->path());
        QStringList expected = {"apple", "banana"};
        for (int round = 0; round < 20; ++round) {
            FormDriver& ui = round % 2 ? second : first;
            FormDriver& other = round % 2 ? first : second;
            ui.clock.moment = QDateTime(QDate(2025, 1, 1), QTime(0, 0)).addSecs(round);
            const QString word = QStringLiteral("word%1").arg(round);
            ui.type(word, "語");
            ui.click("Command1");
            QCOMPARE(ui.messages.takeTexts(), QStringList{"登録しました"});
            expected << word;
            // The other copy sees the new pair once it lists again, and deletes every third one.
            other.click("Command3");
            QCOMPARE(other.list().first(), word + "|語");
            if (round % 3 == 0) {
                QCOMPARE(other.deleteRows({0}), QStringList());
                expected.removeAll(word);
            }
            QCOMPARE(other.count(), QStringLiteral("%1件").arg(expected.size()));
        }
        QStringList stored;
        for (const QString& row : m_notebook->rows())
            stored << row.section('|', 1, 1);
        QCOMPARE(stored, expected);
        first.expectQuiet();
        second.expectQuiet();
    }

private:
    std::unique_ptr<TestNotebook> m_notebook;
};

QTEST_MAIN(SharingTest)
#include "sharing_test.moc"
