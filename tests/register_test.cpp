#include "FormDriver.h"
#include "TestNotebook.h"

#include <QtTest>

namespace {
// The notebook newest first; the first banana was stored a second time by other means.
const QStringList kNewestFirst = {"banana|バナナ", "elder|年長者", "cherry|さくらんぼ", "banana|バナナ",
                                  "apple|りんご"};
} // namespace

// Register, Clear and Delete through the real window.
class RegisterTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_notebook = std::make_unique<TestNotebook>();
        m_notebook->insert("2024/03/01 10:00:00", "apple", "りんご");
        m_notebook->insert("2024/03/02 10:00:00", "banana", "バナナ");
        m_notebook->insert("2024/03/03 10:00:00", "cherry", "さくらんぼ");
        m_notebook->insert("2024/03/04 10:00:00", "elder", "年長者");
        m_notebook->insert("2024/03/05 10:00:00", "banana", "バナナ");
        m_ui = std::make_unique<FormDriver>(m_notebook->path());
    }

    void cleanup()
    {
        m_ui->expectQuiet();
        m_ui.reset();
        m_notebook.reset();
    }

    void emptyInputIsRefusedAndClearEmptiesTheBoxes_data()
    {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::newRow("both empty") << QString() << QString();
        QTest::newRow("japanese empty") << QStringLiteral("fig") << QString();
        QTest::newRow("english empty") << QString() << QStringLiteral("いちじく");
    }

    void emptyInputIsRefusedAndClearEmptiesTheBoxes()
    {
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        m_ui->type(english, japanese);
        m_ui->text("Text3")->setText("fi");
        m_ui->click("Command1");
        const auto shown = m_ui->messages.takeRequests();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("登録するデータがありません"));
        QCOMPARE(shown.first().caption, QStringLiteral("Tessimor"));
        QVERIFY(shown.first().buttons == MessageBox::Buttons::Ok);
        QVERIFY(shown.first().icon == MessageBox::Icon::None);
        QCOMPARE(m_notebook->count(), 5);
        QCOMPARE(m_ui->text("Text1")->text(), english);
        QCOMPARE(m_ui->text("Text2")->text(), japanese);
        // Clear empties the two boxes, not the search text.
        m_ui->click("Command7");
        QCOMPARE(m_ui->text("Text1")->text() + m_ui->text("Text2")->text(), QString());
        QCOMPARE(m_ui->text("Text3")->text(), QStringLiteral("fi"));
    }

    void duplicatePairIsRefusedAndBoxesKeepTheirText()
    {
        m_ui->click("Command4"); // a refused registration leaves this view alone
        const QStringList before = m_ui->list();
        for (const QString& english : {QStringLiteral("apple"), QStringLiteral("APPLE")}) {
            m_ui->type(english, "りんご");
            m_ui->click("Command1");
            QCOMPARE(m_ui->messages.takeTexts(), QStringList{"データが重複しています"});
            QCOMPARE(m_ui->text("Text1")->text(), english);
            QCOMPARE(m_ui->text("Text2")->text(), QStringLiteral("りんご"));
        }
        QCOMPARE(m_notebook->count(), 5);
        QCOMPARE(m_ui->list(), before);
        QVERIFY(m_ui->form->store().AlphaOrder);
    }

    void newPairIsStoredAsTypedAndHeadsTheList_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::newRow("quote, from Normal")
            << "Command3" << QStringLiteral("don't") << QStringLiteral("〜しない");
        QTest::newRow("spaces and case, from Alphabet")
            << "Command4" << QStringLiteral("  Mixed Case  ") << QStringLiteral(" 前後に空白 ");
        QTest::newRow("known English, new meaning, from Date")
            << "Command6" << QStringLiteral("apple") << QStringLiteral("林檎");
        QTest::newRow("quote, from a search")
            << "Command5" << QStringLiteral("o'clock") << QStringLiteral("時");
    }

    void newPairIsStoredAsTypedAndHeadsTheList()
    {
        QFETCH(QString, view);
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        m_ui->text("Text3")->setText("an");
        m_ui->click(qPrintable(view));
        m_ui->type(english, japanese);
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        QCOMPARE(m_notebook->rows().last(), "2024/04/01 09:30:00|" + english + "|" + japanese);
        QCOMPARE(m_ui->list(), QStringList{english + "|" + japanese} + kNewestFirst);
        QCOMPARE(m_ui->count(), QStringLiteral("6件"));
        QVERIFY(m_ui->text("Text1")->text().isEmpty());
        QVERIFY(m_ui->text("Text2")->text().isEmpty());
        QCOMPARE(m_ui->form->store().AlphaOrder, false);
        QCOMPARE(m_ui->form->store().SearchMode, 0);
        // The stored pair, quotes and all, is found by the duplicate check.
        m_ui->type(english, japanese);
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"データが重複しています"});
    }

    void registrationTimesCrossYearMonthAndDay()
    {
        const QList<QPair<QDateTime, QString>> moments = {{{QDate(2024, 12, 31), QTime(23, 59, 59)}, "eve"},
                                                          {{QDate(2025, 1, 1), QTime(0, 0, 0)}, "newyear"},
                                                          {{QDate(2025, 1, 2), QTime(3, 4, 5)}, "second"}};
        for (const auto& [moment, word] : moments) {
            m_ui->clock.moment = moment;
            m_ui->type(word, "語");
            m_ui->click("Command1");
            QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        }
        QCOMPARE(m_notebook->rows().mid(5),
                 (QStringList{"2024/12/31 23:59:59|eve|語", "2025/01/01 00:00:00|newyear|語",
                              "2025/01/02 03:04:05|second|語"}));
        QCOMPARE(m_ui->list().mid(0, 3), (QStringList{"second|語", "newyear|語", "eve|語"}));
    }

    void aFailedInsertIsReportedAndKeepsTheWords()
    {
        m_notebook->execute(
            "create trigger refuse before insert on wordDB begin select raise(abort, 'no room'); end");
        m_ui->type("fig", "いちじく");
        m_ui->click("Command1");
        const QStringList shown = m_ui->messages.takeTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().contains("no room"), qPrintable(shown.first()));
        QCOMPARE(m_ui->text("Text1")->text(), QStringLiteral("fig"));
        QCOMPARE(m_ui->text("Text2")->text(), QStringLiteral("いちじく"));
        QCOMPARE(m_notebook->count(), 5);
        QCOMPARE(m_ui->count(), QStringLiteral("5件"));
    }

    void selectingIsWhatEnablesDelete()
    {
        m_ui->click("Command4");
        m_ui->click("Command6");
        QVERIFY(!m_ui->button("Command2")->isEnabled());
        DataGrid* list = m_ui->grid("DataGrid1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(1, 0)).center());
        QVERIFY(m_ui->button("Command2")->isEnabled());
        QCOMPARE(list->selectedRowCount(), 1);
        // Reloading the list by another command leaves the button as it was.
        m_ui->click("Command3");
        QVERIFY(m_ui->button("Command2")->isEnabled());
    }

    void noSelectionOrAnsweringNoDeletesNothing()
    {
        m_ui->selectRows({1});
        m_ui->grid("DataGrid1")->selectionModel()->clearSelection();
        m_ui->click("Command2"); // no question: the cleanup fails on any message
        m_ui->selectRows({2});
        m_ui->messages.answerNext(MessageBox::Answer::No);
        m_ui->click("Command2");
        const auto shown = m_ui->messages.takeRequests();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("選択中のレコードを削除しますか"));
        QCOMPARE(shown.first().caption, QStringLiteral("Tessimor"));
        QVERIFY(shown.first().buttons == MessageBox::Buttons::YesNo);
        QVERIFY(shown.first().icon == MessageBox::Icon::Question);
        QVERIFY(shown.first().defaultAnswer == MessageBox::Answer::No);
        QCOMPARE(m_notebook->count(), 5);
        QCOMPARE(m_ui->list(), kNewestFirst);
        QVERIFY(m_ui->button("Command2")->isEnabled());
    }

    void yesDeletesTheSelectedPairOnly_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current"); // -1: the first row selected
        QTest::addColumn<QString>("gone");
        QTest::newRow("Normal") << "Command3" << QList<int>{2} << -1 << "cherry|さくらんぼ";
        QTest::newRow("Alphabet") << "Command4" << QList<int>{4} << -1 << "elder|年長者";
        QTest::newRow("Date after Alphabet") << "Command4 Command6" << QList<int>{0} << -1 << "apple|りんご";
        QTest::newRow("Date") << "Command6" << QList<int>{1} << -1 << "elder|年長者";
        QTest::newRow("search") << "Command5" << QList<int>{1} << -1 << "cherry|さくらんぼ";
        QTest::newRow("pair stored twice") << "Command3" << QList<int>{3} << -1 << "banana|バナナ";
        QTest::newRow("several rows: the current")
            << "Command3" << QList<int>{2, 1, 4} << 2 << "cherry|さくらんぼ";
        QTest::newRow("current row unselected: the topmost selected")
            << "Command3" << QList<int>{4, 1} << 0 << "elder|年長者";
    }

    void yesDeletesTheSelectedPairOnly()
    {
        QFETCH(QString, view);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(QString, gone);
        m_ui->text("Text3")->setText("er");
        for (const QString& button : view.split(' '))
            m_ui->click(qPrintable(button));
        QCOMPARE(m_ui->deleteRows(selected, current), QStringList());
        QStringList expected = kNewestFirst;
        expected.removeAll(gone);
        QCOMPARE(m_ui->list(), expected);
        QCOMPARE(m_notebook->count(), expected.size());
        QCOMPARE(m_ui->count(), QStringLiteral("%1件").arg(expected.size()));
        QCOMPARE(m_ui->form->store().SearchMode, 0);
        QCOMPARE(m_ui->form->store().AlphaOrder, false);
        QVERIFY(!m_ui->button("Command2")->isEnabled());
    }

private:
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormDriver> m_ui;
};

QTEST_MAIN(RegisterTest)
#include "register_test.moc"
