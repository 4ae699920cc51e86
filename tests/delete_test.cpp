#include "FormHarness.h"
#include "TestNotebook.h"

#include <QtTest>

// Newest first: elder|年長者, cherry|さくらんぼ, banana|バナナ, apple|りんご
class DeleteTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void selectingIsWhatEnablesDelete();
    void nothingSelectedDoesNothing();
    void answeringNoChangesNothing();
    void yesDeletesTheSelectedPairFromEveryView_data();
    void yesDeletesTheSelectedPairFromEveryView();
    void severalSelectedRowsDeleteOnlyTheCurrentOne();
    void aCurrentRowOutsideTheSelectionIsNeverDeleted();
    void aPairStoredTwiceGoesEntirely();
    void aPairWithAQuoteIsDeleted();

private:
    void answerYes();
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormHarness> m_ui;
};

void DeleteTest::init()
{
    m_notebook = std::make_unique<TestNotebook>(TestNotebook::Schema::BareTable);
    m_notebook->insert("2024/03/01 10:00:00", "apple", "りんご");
    m_notebook->insert("2024/03/02 10:00:00", "banana", "バナナ");
    m_notebook->insert("2024/03/03 10:00:00", "cherry", "さくらんぼ");
    m_notebook->insert("2024/03/04 10:00:00", "elder", "年長者");
    m_ui = std::make_unique<FormHarness>(m_notebook->path());
}

void DeleteTest::cleanup()
{
    QCOMPARE(m_ui->messages.takeTexts(), QStringList());
    QCOMPARE(m_ui->messages.unexpected(), QStringList());
    QCOMPARE(m_ui->messages.pendingAnswers(), 0);
    QVERIFY(m_ui->exit.statuses.isEmpty());
    m_ui.reset();
    m_notebook.reset();
}

void DeleteTest::answerYes()
{
    m_ui->messages.answerNext(MessageBox::Answer::Yes);
    m_ui->click("Command2");
    const auto shown = m_ui->messages.takeRequests();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, QStringLiteral("選択中のレコードを削除しますか"));
    QCOMPARE(shown.first().caption, QStringLiteral("Tessimor"));
    QVERIFY(shown.first().buttons == MessageBox::Buttons::YesNo);
    QVERIFY(shown.first().icon == MessageBox::Icon::Question);
    QVERIFY(shown.first().defaultAnswer == MessageBox::Answer::No);
}

void DeleteTest::selectingIsWhatEnablesDelete()
{
    QVERIFY(!m_ui->button("Command2")->isEnabled());
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

void DeleteTest::nothingSelectedDoesNothing()
{
    m_ui->selectRows({1});
    m_ui->grid("DataGrid1")->selectionModel()->clearSelection();
    QVERIFY(m_ui->button("Command2")->isEnabled());
    m_ui->click("Command2");
    QCOMPARE(m_notebook->count(), 4);
    QVERIFY(m_ui->button("Command2")->isEnabled());
}

void DeleteTest::answeringNoChangesNothing()
{
    m_ui->selectRows({2});
    m_ui->messages.answerNext(MessageBox::Answer::No);
    m_ui->click("Command2");
    QCOMPARE(m_ui->messages.takeTexts(), QStringList{"選択中のレコードを削除しますか"});
    QCOMPARE(m_notebook->count(), 4);
    QCOMPARE(m_ui->list().size(), 4);
    QVERIFY(m_ui->button("Command2")->isEnabled());
}

void DeleteTest::yesDeletesTheSelectedPairFromEveryView_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("gone");
    QTest::newRow("normal") << "Command3" << 1 << "cherry|さくらんぼ";
    QTest::newRow("alphabet") << "Command4" << 1 << "banana|バナナ";
    QTest::newRow("date after alphabet") << "Command4+Command6" << 3 << "elder|年長者";
    QTest::newRow("date") << "Command6" << 3 << "apple|りんご";
    QTest::newRow("search") << "Command5" << 0 << "banana|バナナ";
}

void DeleteTest::yesDeletesTheSelectedPairFromEveryView()
{
    QFETCH(QString, view);
    QFETCH(int, row);
    QFETCH(QString, gone);
    m_ui->text("Text3")->setText("an");
    for (const QString& button : view.split('+'))
        m_ui->click(button.toLatin1().constData());
    m_ui->selectRows({row});
    answerYes();
    QCOMPARE(m_notebook->count(), 3);
    QCOMPARE(m_ui->columns(), (QStringList{"English", "Japanese"}));
    QCOMPARE(m_ui->count(), QStringLiteral("3件"));
    QCOMPARE(m_ui->form->store().SearchMode, 0);
    QCOMPARE(m_ui->form->store().AlphaOrder, false);
    QVERIFY(!m_ui->button("Command2")->isEnabled());
    QStringList expected = {"elder|年長者", "cherry|さくらんぼ", "banana|バナナ", "apple|りんご"};
    expected.removeAll(gone);
    QCOMPARE(m_ui->list(), expected);
}

void DeleteTest::severalSelectedRowsDeleteOnlyTheCurrentOne()
{
    m_ui->selectRows({2, 0, 3});
    answerYes();
    QCOMPARE(m_ui->list(), (QStringList{"elder|年長者", "cherry|さくらんぼ", "apple|りんご"}));
}

void DeleteTest::aCurrentRowOutsideTheSelectionIsNeverDeleted()
{
    m_ui->selectRows({3, 1});
    DataGrid* list = m_ui->grid("DataGrid1");
    // Ctrl-click-like: the current row moves to an unselected row.
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0), QItemSelectionModel::NoUpdate);
    answerYes();
    QCOMPARE(m_ui->list(), (QStringList{"elder|年長者", "banana|バナナ", "apple|りんご"}));
}

void DeleteTest::aPairStoredTwiceGoesEntirely()
{
    m_notebook->insert("2024/03/05 10:00:00", "banana", "バナナ");
    m_ui->click("Command3");
    QCOMPARE(m_ui->count(), QStringLiteral("5件"));
    m_ui->selectRows({0});
    answerYes();
    QCOMPARE(m_notebook->count(), 3);
    QCOMPARE(m_ui->count(), QStringLiteral("3件"));
    QVERIFY(!m_ui->list().contains("banana|バナナ"));
}

void DeleteTest::aPairWithAQuoteIsDeleted()
{
    m_notebook->insert("2024/03/05 10:00:00", "don't", "〜しない");
    m_notebook->insert("2024/03/06 10:00:00", "x' or '1'='1", "注入");
    m_ui->click("Command3");
    for (int i = 0; i < 2; ++i) {
        m_ui->selectRows({0});
        answerYes();
    }
    QCOMPARE(m_notebook->count(), 4);
    QCOMPARE(m_ui->list().first(), QStringLiteral("elder|年長者"));
}

QTEST_MAIN(DeleteTest)
#include "delete_test.moc"
