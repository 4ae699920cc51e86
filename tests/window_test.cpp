#include "Connection.h"
#include "FormDriver.h"
#include "PagedResult.h"
#include "TestNotebook.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QtTest>

namespace {
const QStringList kNewestFirst = {"meaning", "backslash", "back\\slash", "abc",         "a_c",
                                  "500",     "50%",       "stand",       "Outstanding", "understand"};
const QStringList kAlphabet = {"50%",       "500",     "a_c",         "abc",   "back\\slash",
                               "backslash", "meaning", "Outstanding", "stand", "understand"};
const QString kNoHit = QStringLiteral("該当するデータがありません");
const QString kStored = QStringLiteral("登録しました");
constexpr int kPage = PagedResult::kPageSize;

} // namespace

// The real window on ten words stored a day apart, each meaning 語 but "meaning", meaning スタンド.
class WindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormDriver> m_ui;

    QString boxes() const { return m_ui->text("Text1")->text() + "|" + m_ui->text("Text2")->text(); }

private slots:
    void init()
    {
        m_ui.reset();
        m_notebook = std::make_unique<TestNotebook>();
        for (int i = kNewestFirst.size() - 1; i >= 0; --i)
            m_notebook->insert(QStringLiteral("2024/01/%1 10:00:00").arg(20 - i), kNewestFirst.at(i),
                               i ? QStringLiteral("語") : QStringLiteral("スタンド"));
        m_ui = std::make_unique<FormDriver>(m_notebook->path());
    }
    void cleanup() { m_ui->expectQuiet(); }

    void listsAndSearches_data()
    {
        QTest::addColumn<QString>("buttons"); // Command<n>, clicked after the text is typed in the search box
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("Alphabet after a search") << "5 4" << kAlphabet << "an" << QString();
        QTest::newRow("Date after Normal") << "4 3 6" << kNewestFirst << "an" << QString();
        QTest::newRow("Japanese") << "4 5" << kAlphabet << "スタンド" << kNoHit;
        QTest::newRow("empty") << "4 5" << kAlphabet << QString() << "検索する文字を入力して下さい";
        QTest::newRow("60 000 bytes, too long a pattern")
            << "4 5" << kAlphabet << QString("語").repeated(20000) << "検索する文字が長すぎ";
    }
    void listsAndSearches()
    {
        QFETCH(QString, buttons);
        QFETCH(QStringList, shown);
        QFETCH(QString, text);
        QFETCH(QString, message);
        m_ui->text("Text3")->setText(text);
        for (const QString& button : buttons.split(' '))
            m_ui->click(qPrintable("Command" + button));
        const QStringList messages = m_ui->messages.takeTexts();
        QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
        QVERIFY(messages.value(0).startsWith(message));
        QStringList english;
        for (const QString& row : m_ui->list())
            english << row.section('|', -2, -2);
        QCOMPARE(english, shown);
        QCOMPARE(m_ui->grid("DataGrid1")->model()->columnCount(), buttons.endsWith('6') ? 3 : 2);
        QCOMPARE(m_ui->count(), QStringLiteral("%1件").arg(shown.size()));
        QCOMPARE(m_ui->text("Text3")->text(), message == kNoHit ? QString() : text);
    }

    void registerStoresOnlyANewWholePair_data()
    {
        QTest::addColumn<QString>("pair");
        QTest::addColumn<QString>("message");
        QTest::newRow("stored English, new meaning") << "meaning|意味" << kStored;
        QTest::newRow("no English") << "|いちじく" << QStringLiteral("登録するデータがありません");
        QTest::newRow("spaces around, stored without") << " kiwi|キウイ\u3000" << kStored;
        QTest::newRow("spaces alone") << "fig|\u3000 " << QStringLiteral("登録するデータがありません");
        QTest::newRow("stored, other case, a space after")
            << "MEANING |スタンド" << QStringLiteral("データが重複しています");
    }
    void registerStoresOnlyANewWholePair()
    {
        QFETCH(QString, pair);
        QFETCH(QString, message);
        m_ui->click("Command6"); // once stored, the Normal list shows whatever the view
        m_ui->type(pair.section('|', 0, 0), pair.section('|', 1));
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{message});
        const QString stored = pair.section('|', 0, 0).trimmed() + '|' + pair.section('|', 1).trimmed();
        const QString newest =
            message == kStored ? "2024/04/01 21:05:07|" + stored : "2024/01/20 10:00:00|meaning|スタンド";
        QCOMPARE(m_notebook->rows().last(), newest);
        QCOMPARE(m_ui->list().first(), message == kStored ? stored : newest);
        QCOMPARE(boxes(), message == kStored ? "|" : pair);
        m_ui->click("Command7");
        QCOMPARE(boxes(), "|");
    }

    // A label's accessible name is its text (the count's too); every Tab stop has a name. Only the Japanese
    // box takes the input method, whose kana would replace what is typed elsewhere. Limits count characters.
    void theBoxesAndWhatAScreenReaderHears()
    {
        m_ui->search("tan"); // the count changed
        for (QWidget* widget : m_ui->form->findChildren<QWidget*>()) {
            const QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
            const QString name = control->text(QAccessible::Name);
            if (const auto* label = qobject_cast<QLabel*>(widget))
                QCOMPARE(name, QString(label->text()).remove('&'));
            else if (widget->focusPolicy() & Qt::TabFocus)
                QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
        }
        QVERIFY(!m_ui->find<QLabel>("Label3")->accessibleDescription().isEmpty());
        for (const char* box : {"Text1", "Text2", "Text3"}) {
            QInputMethodQueryEvent query(Qt::ImEnabled);
            QCoreApplication::sendEvent(m_ui->text(box), &query);
            QCOMPARE(query.value(Qt::ImEnabled).toBool(), qstrcmp(box, "Text2") == 0);
        }
        m_ui->type(QString("🍎").repeated(52), QString("e\u0301").repeated(30));
        QCOMPARE(boxes(), QString("🍎").repeated(49) + "|" + QString("e\u0301").repeated(27));
        m_ui->text("Text1")->setText("to\r\nsomeone");
        m_ui->text("Text1")->setCursorPosition(0);
        QApplication::clipboard()->setText("look\r\nup\t");
        m_ui->text("Text1")->paste();
        QCOMPARE(m_ui->text("Text1")->text(), QStringLiteral("look up to someone"));
        QCOMPARE(m_ui->text("Text1")->cursorPosition(), 8);
    }

    // In the Date view after Alphabet, with row 5, backslash, the current row.
    void deleteTakesTheChosenPairOnYes_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("the current of several") << QList<int>{1, 5, 7} << true << "|backslash|";
        QTest::newRow("current unselected: the topmost") << QList<int>{7, 3} << true << "|abc|";
        QTest::newRow("answered No") << QList<int>{2} << false << "|a_c|";
    }
    void deleteTakesTheChosenPairOnYes()
    {
        QFETCH(QList<int>, selected);
        QFETCH(bool, yes);
        QFETCH(QString, chosen);
        m_ui->click("Command4");
        m_ui->click("Command6");
        QVERIFY(!m_ui->button("Command2")->isEnabled());
        m_ui->selectRows(selected, 5);
        m_ui->messages.answerNext(yes ? MessageBox::Answer::Yes : MessageBox::Answer::No);
        m_ui->click("Command2");
        const QList<MessageBox::Request> asked = m_ui->messages.takeRequests();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, "選択中のレコードを削除しますか");
        // No is the default, so a hasty Enter keeps the pair.
        QVERIFY(asked[0].defaultAnswer == MessageBox::Answer::No &&
                asked[0].icon == MessageBox::Icon::Question);
        QCOMPARE(m_notebook->rows().filter(chosen).size(), yes ? 0 : 1);
        QCOMPARE(m_ui->button("Command2")->isEnabled(), !yes);
        QCOMPARE(m_ui->count(), yes ? "9件" : "10件");
        m_ui->click("Command3"); // a reload leaves Delete as it was: only a delete disables it
        QCOMPARE(m_ui->button("Command2")->isEnabled(), !yes);
        m_ui->selectRows({});
        m_ui->click("Command2"); // enabled after No, but nothing selected: no question
    }

    // Same-second pairs in thousands: pages read in any order hold the rows the plain statement holds there.
    void pagesReadInAnyOrderHoldTheListsRows()
    {
        TestNotebook notebook;
        notebook.execute("with recursive i(n) as (select 0 union all select n + 1 from i where n < 2999) "
                         "insert into wordDB select printf('2024/01/0%d 10:00:00', n % 3 + 1), "
                         "'w' || iif(n % 7, n % 50, 0), '語' || (n % 4) from i");
        for (const auto& list : {Statements::kNormalList, Statements::kAlphabetList, Statements::kDateList}) {
            const QStringList plain = notebook.rows(list.plain());
            const int pages = int(plain.size() + kPage - 1) / kPage;
            for (int step : {1, pages - 1, 5}) {
                PagedResult result(std::make_shared<Connection>(notebook.path()), list, {});
                QCOMPARE(result.rowCount(), plain.size());
                QStringList read(plain.size());
                for (int k = 0; k < pages; ++k) {
                    const int first = k * step % pages * kPage;
                    for (int row = first; row < std::min(first + kPage, int(plain.size())); ++row)
                        for (int column = 0; column < result.columnCount(); ++column)
                            read[row] += (column ? "|" : "") + result.text(row, column);
                }
                QCOMPARE(read, plain);
            }
        }
    }

    // A search lists what a plain scan finds, counted as long as the list, on a file made by init or plainly
    // (SQL names are not case-sensitive), also after other programs deleted, changed and renumbered rows.
    void searchesFindWhatAScanFinds_data()
    {
        QTest::addColumn<bool>("byInit");
        QTest::newRow("made by init") << true;
        QTest::newRow("made plainly, in lower case") << false;
    }
    void searchesFindWhatAScanFinds()
    {
        QFETCH(bool, byInit);
        TestNotebook notebook(byInit ? TestNotebook::Schema::Full : TestNotebook::Schema::None);
        if (!byInit)
            notebook.execute("create table wordDB (upday text, english text, japanese text)");
        const QStringList pieces = QString("a,A,b,é,É,%,_,\\,\",🍎,e\u0301, ,語,ß").split(',');
        quint32 seed = 7;
        const auto text = [&](int most) {
            QString made;
            for (int n = 1 + int((seed = seed * 69069 + 1) >> 8) % most; n > 0; --n)
                made += pieces[int((seed = seed * 69069 + 1) >> 8) % pieces.size()];
            return made;
        };
        notebook.execute("begin");
        for (int i = 0; i < 3000; ++i)
            notebook.insert(QString("2024/01/0%1 10:00:00").arg(i % 3 + 1), (i % 10 ? "" : "Xyz") + text(5),
                            QString("語%1").arg(i % 4));
        notebook.execute("commit");
        notebook.execute("delete from wordDB where rowid % 7 = 0");
        notebook.execute("update wordDB set English = English || 'A' where rowid % 11 = 0");
        for (const char* index : {"ByDay", "ByEnglish", "Search", "Count"}) // else VACUUM keeps the rowids
            notebook.execute(QString("drop index if exists wordDB_") + index);
        notebook.execute("vacuum"); // which renumbers the rows left after the deletes
        notebook.execute("delete from wordDB where rowid % 5 = 0");
        FormDriver ui(notebook.path());
        // lower() folds ASCII case alone, as "like" does.
        const QString scan = "select English, Japanese from wordDB where instr(lower(English), lower(?)) "
                             "order by UpDay desc, lower(English) desc, Japanese desc, rowid desc";
        for (int i = 0; i <= 300; ++i) {
            const QString wanted = i < 300 ? text(3) : "xYZ";
            ui.search(wanted);
            const bool none = !ui.messages.takeTexts().isEmpty();
            QCOMPARE(none ? QStringList() : ui.list(), notebook.rows(scan, {wanted}));
            QVERIFY(none || ui.count() == QString("%1件").arg(ui.list().size()));
        }
        // English is one word whatever its case, also where the file does not say so.
        notebook.insert("2024/02/01 10:00:00", "Cherry", "語0");
        ui.type("cHERRY", "語0");
        ui.click("Command1");
        QCOMPARE(ui.messages.takeTexts(), QStringList{"データが重複しています"});
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
