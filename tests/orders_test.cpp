#include "FormHarness.h"
#include "TestNotebook.h"
#include "Twips.h"

#include <QHeaderView>
#include <QtTest>

class OrdersTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dateRightAfterStartUpListsEveryColumnNewestFirst();
    void dateKeepsTheOrderChosenLast();
    void dateAfterASearchListsTheWholeTable();
    void alphabetOrderIgnoresLetterCase();
    void eachViewSetsItsColumnsWidthsAndFlags_data();
    void eachViewSetsItsColumnsWidthsAndFlags();

private:
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormHarness> m_ui;
};

void OrdersTest::init()
{
    m_notebook = std::make_unique<TestNotebook>();
    m_notebook->insert("2023/12/31 08:00:00", "banana", "バナナ");
    m_notebook->insert("2024/01/15 09:00:00", "Apple", "りんご");
    m_notebook->insert("2024/01/02 10:00:00", "cherry", "さくらんぼ");
    m_notebook->insert("2024/02/01 11:00:00", "apricot", "あんず");
    m_ui = std::make_unique<FormHarness>(m_notebook->path());
}

void OrdersTest::cleanup()
{
    QCOMPARE(m_ui->messages.takeTexts(), QStringList());
    QVERIFY(m_ui->exit.statuses.isEmpty());
    m_ui.reset();
    m_notebook.reset();
}

void OrdersTest::dateRightAfterStartUpListsEveryColumnNewestFirst()
{
    m_ui->click("Command6");
    QCOMPARE(m_ui->columns(), (QStringList{"UpDay", "English", "Japanese"}));
    QCOMPARE(m_ui->list(),
             (QStringList{"2024/02/01 11:00:00|apricot|あんず", "2024/01/15 09:00:00|Apple|りんご",
                          "2024/01/02 10:00:00|cherry|さくらんぼ", "2023/12/31 08:00:00|banana|バナナ"}));
    QCOMPARE(m_ui->count(), QStringLiteral("4件"));
}

void OrdersTest::dateKeepsTheOrderChosenLast()
{
    m_ui->click("Command4");
    m_ui->click("Command6");
    QCOMPARE(m_ui->list().first(), QStringLiteral("2024/01/15 09:00:00|Apple|りんご"));
    m_ui->click("Command6");
    QCOMPARE(m_ui->list().first(), QStringLiteral("2024/01/15 09:00:00|Apple|りんご"));
    m_ui->click("Command3");
    QCOMPARE(m_ui->columns(), (QStringList{"English", "Japanese"}));
    m_ui->click("Command6");
    QCOMPARE(m_ui->list().first(), QStringLiteral("2024/02/01 11:00:00|apricot|あんず"));
}

void OrdersTest::dateAfterASearchListsTheWholeTable()
{
    m_ui->click("Command4");
    m_ui->text("Text3")->setText("ap");
    m_ui->click("Command5");
    QCOMPARE(m_ui->count(), QStringLiteral("2件"));
    QVERIFY(m_ui->form->store().AlphaOrder);
    m_ui->click("Command6");
    QCOMPARE(m_ui->list().size(), 4);
    QCOMPARE(m_ui->list().first(), QStringLiteral("2024/01/15 09:00:00|Apple|りんご"));
    QCOMPARE(m_ui->count(), QStringLiteral("4件"));
}

void OrdersTest::alphabetOrderIgnoresLetterCase()
{
    m_ui->click("Command4");
    QCOMPARE(m_ui->list(),
             (QStringList{"Apple|りんご", "apricot|あんず", "banana|バナナ", "cherry|さくらんぼ"}));
}

void OrdersTest::eachViewSetsItsColumnsWidthsAndFlags_data()
{
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("widthTwips");
    QTest::addColumn<bool>("alphaOrder");
    QTest::newRow("normal") << "Command4 Command3" << 2 << 4500 << false;
    QTest::newRow("alphabet") << "Command4" << 2 << 4500 << true;
    QTest::newRow("date after normal") << "Command3 Command6" << 3 << 3000 << false;
    QTest::newRow("date after alphabet") << "Command4 Command6" << 3 << 3000 << true;
    QTest::newRow("normal after date") << "Command6 Command3" << 2 << 4500 << false;
}

void OrdersTest::eachViewSetsItsColumnsWidthsAndFlags()
{
    QFETCH(QString, buttons);
    QFETCH(int, columns);
    QFETCH(int, widthTwips);
    QFETCH(bool, alphaOrder);
    m_ui->text("Text3")->setText("an");
    m_ui->click("Command5");
    for (const QString& button : buttons.split(' '))
        m_ui->click(button.toLatin1().constData());
    DataGrid* list = m_ui->grid("DataGrid1");
    QCOMPARE(list->model()->columnCount(), columns);
    for (int column = 0; column < columns; ++column)
        QCOMPARE(list->columnWidth(column), Twips::toPixels(list, widthTwips));
    QCOMPARE(m_ui->form->store().AlphaOrder, alphaOrder);
    QCOMPARE(m_ui->form->store().SearchMode, 0);
    QCOMPARE(m_ui->count(), QStringLiteral("4件"));
    QCOMPARE(list->currentIndex().row(), 0);
}

QTEST_MAIN(OrdersTest)
#include "orders_test.moc"
