#include "FormHarness.h"
#include "TestNotebook.h"

#include <QtTest>

class RegisterTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void emptyInputIsRefused_data();
    void emptyInputIsRefused();
    void duplicatePairIsRefusedAndBoxesKeepTheirText();
    void sameEnglishWithAnotherMeaningIsStored();
    void registeredPairHeadsTheNormalListFromAnyView();
    void registrationTimeIsTheLocalClockZeroPadded();
    void textsAreStoredExactlyAsTyped();
    void aFailedInsertIsReportedAndKeepsTheWords();
    void clearEmptiesOnlyTheInputBoxes();

private:
    void type(const QString& english, const QString& japanese);
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormHarness> m_ui;
};

void RegisterTest::init()
{
    m_notebook = std::make_unique<TestNotebook>();
    m_notebook->insert("2024/03/01 10:00:00", "apple", "りんご");
    m_notebook->insert("2024/03/02 10:00:00", "banana", "バナナ");
    m_ui = std::make_unique<FormHarness>(m_notebook->path());
}

void RegisterTest::cleanup()
{
    QCOMPARE(m_ui->messages.takeTexts(), QStringList());
    QCOMPARE(m_ui->messages.unexpected(), QStringList());
    QVERIFY(m_ui->exit.statuses.isEmpty());
    m_ui.reset();
    m_notebook.reset();
}

void RegisterTest::type(const QString& english, const QString& japanese)
{
    m_ui->text("Text1")->setText(english);
    m_ui->text("Text2")->setText(japanese);
}

void RegisterTest::emptyInputIsRefused_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("japanese");
    QTest::newRow("both empty") << ""
                                << "";
    QTest::newRow("japanese empty") << "cherry"
                                    << "";
    QTest::newRow("english empty") << ""
                                   << "さくらんぼ";
}

void RegisterTest::emptyInputIsRefused()
{
    QFETCH(QString, english);
    QFETCH(QString, japanese);
    type(english, japanese);
    m_ui->click("Command1");
    const auto shown = m_ui->messages.takeRequests();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, QStringLiteral("登録するデータがありません"));
    QCOMPARE(shown.first().caption, QStringLiteral("Tessimor"));
    QVERIFY(shown.first().icon == MessageBox::Icon::None);
    QCOMPARE(m_notebook->count(), 2);
    QCOMPARE(m_ui->text("Text1")->text(), english);
    QCOMPARE(m_ui->text("Text2")->text(), japanese);
}

void RegisterTest::duplicatePairIsRefusedAndBoxesKeepTheirText()
{
    m_ui->click("Command4"); // Alphabet: a refused registration must leave this view alone
    const QStringList before = m_ui->list();
    for (const QString& english : {QStringLiteral("apple"), QStringLiteral("APPLE")}) {
        type(english, "りんご");
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"データが重複しています"});
        QCOMPARE(m_ui->text("Text1")->text(), english);
        QCOMPARE(m_ui->text("Text2")->text(), QStringLiteral("りんご"));
    }
    QCOMPARE(m_notebook->count(), 2);
    QCOMPARE(m_ui->list(), before);
    QVERIFY(m_ui->form->store().AlphaOrder);
}

void RegisterTest::sameEnglishWithAnotherMeaningIsStored()
{
    type("apple", "林檎");
    m_ui->click("Command1");
    QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
    QCOMPARE(m_notebook->count(), 3);
    QCOMPARE(m_ui->list().first(), QStringLiteral("apple|林檎"));
}

void RegisterTest::registeredPairHeadsTheNormalListFromAnyView()
{
    const QList<const char*> views = {"Command3", "Command4", "Command6", "Command5"};
    int expected = 2;
    for (const char* view : views) {
        m_ui->text("Text3")->setText("an");
        m_ui->click(view);
        const QString word = QStringLiteral("word after %1").arg(view);
        m_ui->clock.moment = m_ui->clock.moment.addSecs(60);
        type(word, "単語");
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        ++expected;
        QCOMPARE(m_ui->list().first(), word + "|単語");
        QCOMPARE(m_ui->list().size(), expected);
        QCOMPARE(m_ui->count(), QStringLiteral("%1件").arg(expected));
        QCOMPARE(m_ui->columns(), (QStringList{"English", "Japanese"}));
        QVERIFY(m_ui->text("Text1")->text().isEmpty());
        QVERIFY(m_ui->text("Text2")->text().isEmpty());
        QCOMPARE(m_ui->form->store().AlphaOrder, false);
        QCOMPARE(m_ui->form->store().SearchMode, 0);
    }
}

void RegisterTest::registrationTimeIsTheLocalClockZeroPadded()
{
    const QList<QDateTime> moments = {
        QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)),
        QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0)),
        QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)),
    };
    const QStringList words = {"eve", "newyear", "second"};
    for (int i = 0; i < moments.size(); ++i) {
        m_ui->clock.moment = moments.at(i);
        type(words.at(i), "語");
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
    }
    const QStringList rows = m_notebook->rows();
    QCOMPARE(rows.mid(2), (QStringList{"2024/12/31 23:59:59|eve|語", "2025/01/01 00:00:00|newyear|語",
                                       "2025/01/02 03:04:05|second|語"}));
    QCOMPARE(m_ui->list().mid(0, 3), (QStringList{"second|語", "newyear|語", "eve|語"}));
}

void RegisterTest::textsAreStoredExactlyAsTyped()
{
    const QList<QPair<QString, QString>> pairs = {
        {"don't", "〜しない"}, {"  Mixed Case  ", " 前後に空白 "},
        {"o'clock", "時"},     {"50%", "半分"},
        {"back\\slash", "\\"}, {"🍎", "りんごの絵文字"},
        {"   ", "空白だけ"},
    };
    for (const auto& [english, japanese] : pairs) {
        m_ui->clock.moment = m_ui->clock.moment.addSecs(1);
        type(english, japanese);
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        QCOMPARE(m_ui->list().first(), english + "|" + japanese);
    }
    QStringList stored;
    for (const QString& row : m_notebook->rows().mid(2))
        stored << row.section(QLatin1Char('|'), 1);
    QStringList typed;
    for (const auto& [english, japanese] : pairs)
        typed << english + "|" + japanese;
    QCOMPARE(stored, typed);
    // A quote in the pair must not break the duplicate check either.
    type("don't", "〜しない");
    m_ui->click("Command1");
    QCOMPARE(m_ui->messages.takeTexts(), QStringList{"データが重複しています"});
}

void RegisterTest::aFailedInsertIsReportedAndKeepsTheWords()
{
    m_notebook->execute(
        "create trigger refuse before insert on wordDB begin select raise(abort, 'no room'); end");
    type("cherry", "さくらんぼ");
    m_ui->click("Command1");
    const QStringList shown = m_ui->messages.takeTexts();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains("no room"), qPrintable(shown.first()));
    QCOMPARE(m_ui->text("Text1")->text(), QStringLiteral("cherry"));
    QCOMPARE(m_ui->text("Text2")->text(), QStringLiteral("さくらんぼ"));
    QCOMPARE(m_notebook->count(), 2);
    QCOMPARE(m_ui->count(), QStringLiteral("2件"));
}

void RegisterTest::clearEmptiesOnlyTheInputBoxes()
{
    type("cherry", "さくらんぼ");
    m_ui->text("Text3")->setText("ch");
    m_ui->click("Command7");
    QVERIFY(m_ui->text("Text1")->text().isEmpty());
    QVERIFY(m_ui->text("Text2")->text().isEmpty());
    QCOMPARE(m_ui->text("Text3")->text(), QStringLiteral("ch"));
    QCOMPARE(m_notebook->count(), 2);
}

QTEST_MAIN(RegisterTest)
#include "register_test.moc"
