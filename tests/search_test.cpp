#include "FormHarness.h"
#include "TestNotebook.h"

#include <QtTest>

class SearchTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void findsTheTextAnywhereInTheEnglish_data();
    void findsTheTextAnywhereInTheEnglish();
    void wildcardsAndQuotesAreFoundLiterally_data();
    void wildcardsAndQuotesAreFoundLiterally();
    void noHitKeepsListAndCountAndEmptiesTheBox();
    void emptySearchTextIsRefused();
    void countShowsHitsUntilNormalShowsTheTotal();

private:
    QStringList search(const QString& text);
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormHarness> m_ui;
};

void SearchTest::init()
{
    m_notebook = std::make_unique<TestNotebook>();
    const QStringList english = {"understand", "standard", "stand", "Outstanding", "50%",      "500", "a_c",
                                 "abc",        "don't",    "dont",  "back\\slash", "backslash"};
    for (int i = 0; i < english.size(); ++i)
        m_notebook->insert(QStringLiteral("2024/05/%1 12:00:00").arg(i + 10), english.at(i), "意味");
    m_notebook->insert("2024/06/01 12:00:00", "meaning", "スタンド");
    m_ui = std::make_unique<FormHarness>(m_notebook->path());
}

void SearchTest::cleanup()
{
    QCOMPARE(m_ui->messages.takeTexts(), QStringList());
    QVERIFY(m_ui->exit.statuses.isEmpty());
    m_ui.reset();
    m_notebook.reset();
}

QStringList SearchTest::search(const QString& text)
{
    m_ui->text("Text3")->setText(text);
    m_ui->click("Command5");
    QStringList english;
    for (const QString& row : m_ui->list())
        english << row.section('|', 0, 0);
    return english;
}

void SearchTest::findsTheTextAnywhereInTheEnglish_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("start") << "stand" << QStringList{"Outstanding", "stand", "standard", "understand"};
    QTest::newRow("middle") << "tan" << QStringList{"Outstanding", "stand", "standard", "understand"};
    QTest::newRow("end") << "dard" << QStringList{"standard"};
    QTest::newRow("case") << "OUTST" << QStringList{"Outstanding"};
}

void SearchTest::findsTheTextAnywhereInTheEnglish()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    QCOMPARE(search(text), found);
    QCOMPARE(m_ui->count(), QStringLiteral("%1件").arg(found.size()));
    QCOMPARE(m_ui->form->store().SearchMode, 1);
    QCOMPARE(m_ui->text("Text3")->text(), text);
}

void SearchTest::wildcardsAndQuotesAreFoundLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("percent") << "50%" << QStringList{"50%"};
    QTest::newRow("underscore") << "a_c" << QStringList{"a_c"};
    QTest::newRow("apostrophe") << "n't" << QStringList{"don't"};
    QTest::newRow("backslash") << "k\\s" << QStringList{"back\\slash"};
}

void SearchTest::wildcardsAndQuotesAreFoundLiterally()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    QCOMPARE(search(text), found);
}

void SearchTest::noHitKeepsListAndCountAndEmptiesTheBox()
{
    for (const QString& text : {QStringLiteral("スタンド"), QStringLiteral("zzz"), QStringLiteral("%%")}) {
        m_ui->click("Command4");
        const QStringList before = m_ui->list();
        search(text);
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"該当するデータがありません"});
        QVERIFY(m_ui->text("Text3")->text().isEmpty());
        QCOMPARE(m_ui->list(), before);
        QCOMPARE(m_ui->count(), QStringLiteral("13件"));
        QCOMPARE(m_ui->form->store().SearchMode, 0);
    }
}

void SearchTest::emptySearchTextIsRefused()
{
    search("stand");
    const QStringList before = m_ui->list();
    search("");
    QCOMPARE(m_ui->messages.takeTexts(), QStringList{"検索する文字を入力して下さい"});
    QCOMPARE(m_ui->list(), before);
    QCOMPARE(m_ui->count(), QStringLiteral("4件"));
}

void SearchTest::countShowsHitsUntilNormalShowsTheTotal()
{
    search("back");
    QCOMPARE(m_ui->count(), QStringLiteral("2件"));
    // A refused registration leaves the search view and its count alone.
    m_ui->text("Text1")->setText("stand");
    m_ui->text("Text2")->setText("意味");
    m_ui->click("Command1");
    QCOMPARE(m_ui->messages.takeTexts(), QStringList{"データが重複しています"});
    QCOMPARE(m_ui->count(), QStringLiteral("2件"));
    QCOMPARE(m_ui->form->store().SearchMode, 1);
    m_ui->click("Command3");
    QCOMPARE(m_ui->count(), QStringLiteral("13件"));
    QCOMPARE(m_ui->list().size(), 13);
}

QTEST_MAIN(SearchTest)
#include "search_test.moc"
