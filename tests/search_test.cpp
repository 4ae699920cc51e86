#include "FormDriver.h"
#include "TestNotebook.h"
#include "Twips.h"

#include <QtTest>

namespace {
// Stored in this order, the times crossing a year, a month and a day.
const QStringList kRows = {"2023/12/31 23:59:59|understand|理解する",
                           "2024/01/01 00:00:00|standard|標準",
                           "2024/01/31 12:00:00|stand|立つ",
                           "2024/02/01 08:00:00|Outstanding|目立つ",
                           "2024/02/01 09:00:00|50%|半分",
                           "2024/02/02 10:00:00|500|五百",
                           "2024/02/03 10:00:00|a_c|記号",
                           "2024/02/04 10:00:00|abc|文字",
                           "2024/02/05 10:00:00|don't|しない",
                           "2024/02/06 10:00:00|back\\slash|逆斜線",
                           "2024/02/07 10:00:00|backslash|逆斜線",
                           "2024/02/08 10:00:00|meaning|スタンド"};
const QStringList kNewestFirst = {"meaning", "backslash", "back\\slash", "don't", "abc",      "a_c",
                                  "500",     "50%",       "Outstanding", "stand", "standard", "understand"};
const QStringList kAlphabet = {"50%",   "500",     "a_c",         "abc",   "back\\slash", "backslash",
                               "don't", "meaning", "Outstanding", "stand", "standard",    "understand"};
} // namespace

// The list orders Normal, Alphabet and Date, and Search.
class SearchTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_notebook = std::make_unique<TestNotebook>();
        for (const QString& row : kRows)
            m_notebook->insert(row.section('|', 0, 0), row.section('|', 1, 1), row.section('|', 2));
        m_ui = std::make_unique<FormDriver>(m_notebook->path());
    }

    void cleanup()
    {
        m_ui->expectQuiet();
        m_ui.reset();
        m_notebook.reset();
    }

    void eachViewListsTheWholeTableInItsOrder_data()
    {
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<bool>("alphaOrder");
        QTest::addColumn<bool>("withUpDay");
        QTest::newRow("Normal") << "Command4 Command3" << false << false;
        QTest::newRow("Alphabet, ignoring case") << "Command4" << true << false;
        QTest::newRow("Alphabet after a search") << "Command5 Command4" << true << false;
        QTest::newRow("Date right after start-up") << "Command6" << false << true;
        QTest::newRow("Date after Normal") << "Command4 Command3 Command6" << false << true;
        QTest::newRow("Date after Alphabet, twice") << "Command4 Command6 Command6" << true << true;
        QTest::newRow("Date after a search") << "Command4 Command5 Command6" << true << true;
        QTest::newRow("Normal after Date") << "Command6 Command3" << false << false;
    }

    void eachViewListsTheWholeTableInItsOrder()
    {
        QFETCH(QString, buttons);
        QFETCH(bool, alphaOrder);
        QFETCH(bool, withUpDay);
        m_ui->text("Text3")->setText("an");
        for (const QString& button : buttons.split(' '))
            m_ui->click(qPrintable(button));
        QCOMPARE(english(), alphaOrder ? kAlphabet : kNewestFirst);
        const QStringList columns = {"UpDay", "English", "Japanese"};
        QCOMPARE(m_ui->columns(), withUpDay ? columns : columns.mid(1));
        // The first row whole, so the Date view's times show under their own column.
        const QString first = kRows.filter("|" + english().first() + "|").first();
        QCOMPARE(m_ui->list().first(), withUpDay ? first : first.section('|', 1));
        DataGrid* list = m_ui->grid("DataGrid1");
        for (int column = 0; column < list->model()->columnCount(); ++column)
            QCOMPARE(list->columnWidth(column), Twips::toPixels(list, withUpDay ? 3000 : 4500));
        QCOMPARE(list->currentIndex().row(), 0);
        QCOMPARE(m_ui->form->store().AlphaOrder, alphaOrder);
        QCOMPARE(m_ui->form->store().SearchMode, 0);
        QCOMPARE(m_ui->count(), QStringLiteral("12件"));
    }

    void searchFindsTheTextLiterallyAnywhereInTheEnglish_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        const QStringList stand = {"Outstanding", "stand", "standard", "understand"};
        QTest::newRow("start") << "stand" << stand;
        QTest::newRow("middle") << "tan" << stand;
        QTest::newRow("end") << "dard" << QStringList{"standard"};
        QTest::newRow("other case") << "OUTST" << QStringList{"Outstanding"};
        QTest::newRow("percent") << "50%" << QStringList{"50%"};
        QTest::newRow("underscore") << "a_c" << QStringList{"a_c"};
        QTest::newRow("apostrophe") << "n't" << QStringList{"don't"};
        QTest::newRow("backslash") << "k\\s" << QStringList{"back\\slash"};
    }

    void searchFindsTheTextLiterallyAnywhereInTheEnglish()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        m_ui->search(text);
        QCOMPARE(english(), found);
        QCOMPARE(m_ui->columns(), (QStringList{"English", "Japanese"}));
        QCOMPARE(m_ui->count(), QStringLiteral("%1件").arg(found.size()));
        QCOMPARE(m_ui->form->store().SearchMode, 1);
        QCOMPARE(m_ui->text("Text3")->text(), text);
    }

    void noHitKeepsListAndCountAndEmptiesTheBox()
    {
        // The Japanese is never searched.
        for (const QString& text :
             {QStringLiteral("スタンド"), QStringLiteral("zzz"), QStringLiteral("%%")}) {
            m_ui->click("Command4");
            m_ui->search(text);
            QCOMPARE(m_ui->messages.takeTexts(), QStringList{"該当するデータがありません"});
            QVERIFY(m_ui->text("Text3")->text().isEmpty());
            QCOMPARE(english(), kAlphabet);
            QCOMPARE(m_ui->count(), QStringLiteral("12件"));
            QCOMPARE(m_ui->form->store().SearchMode, 0);
        }
    }

    void emptySearchIsRefusedAndNormalBringsTheTotalBack()
    {
        m_ui->search("stand");
        m_ui->search("");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"検索する文字を入力して下さい"});
        QCOMPARE(english().size(), 4);
        QCOMPARE(m_ui->count(), QStringLiteral("4件"));
        m_ui->click("Command3");
        QCOMPARE(english(), kNewestFirst);
        QCOMPARE(m_ui->count(), QStringLiteral("12件"));
    }

private:
    QStringList english() const
    {
        const int column = m_ui->columns().indexOf("English");
        QStringList words;
        for (const QString& row : m_ui->list())
            words << row.section('|', column, column);
        return words;
    }

    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormDriver> m_ui;
};

QTEST_MAIN(SearchTest)
#include "search_test.moc"
