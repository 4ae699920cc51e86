#include "FormDriver.h"
#include "TestNotebook.h"
#include "TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QtTest>

class InputTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_notebook = std::make_unique<TestNotebook>();
        m_notebook->insert("2024/01/01 00:00:00", "apple", "りんご");
        m_ui = std::make_unique<FormDriver>(m_notebook->path());
    }

    void cleanup()
    {
        m_ui->expectQuiet();
        m_ui.reset();
        m_notebook.reset();
    }

    void limitsCountCharactersNotCodeUnits_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("limit");
        const QList<QPair<QString, QString>> characters = {
            {"letter", "a"}, {"kanji", "語"}, {"emoji", "🍎"}, {"combining", "e\u0301"}, {"flag", "🇯🇵"}};
        for (const auto& [name, character] : characters) {
            QTest::newRow(qPrintable("english " + name)) << "Text1" << character << 49;
            QTest::newRow(qPrintable("japanese " + name)) << "Text2" << character << 27;
        }
    }

    void limitsCountCharactersNotCodeUnits()
    {
        QFETCH(QString, box);
        QFETCH(QString, character);
        QFETCH(int, limit);
        QLineEdit* edit = m_ui->text(qPrintable(box));
        edit->setText(character.repeated(limit));
        QCOMPARE(edit->text(), character.repeated(limit));
        edit->setText(character.repeated(limit + 3));
        QCOMPARE(edit->text(), character.repeated(limit));
        QCOMPARE(TextBox::characterCount(edit->text()), limit);

        // A full pair is stored whole.
        m_ui->text(box == "Text1" ? "Text2" : "Text1")->setText("x");
        const QString english = m_ui->text("Text1")->text();
        const QString japanese = m_ui->text("Text2")->text();
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        QVERIFY(m_notebook->rows().last().endsWith("|" + english + "|" + japanese));
    }

    void pastedLineBreaksAndTabsBecomeSpaces()
    {
        QLineEdit* english = m_ui->text("Text1");
        QApplication::clipboard()->setText("look\tup\r\nto\nsomeone");
        english->setFocus();
        english->paste();
        QCOMPARE(english->text(), QStringLiteral("look up to someone"));
        m_ui->text("Text2")->setText("尊敬する");
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        QVERIFY(m_notebook->rows().last().endsWith("|look up to someone|尊敬する"));
    }

    void awkwardTextsAreStoredFoundAndDeleted_data()
    {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("search");
        QTest::newRow("lone apostrophe") << QStringLiteral("'") << QStringLiteral("'");
        QTest::newRow("percent") << QStringLiteral("100%") << QStringLiteral("%");
        QTest::newRow("underscore") << QStringLiteral("snake_case") << QStringLiteral("_");
        QTest::newRow("backslash") << QStringLiteral("C:\\word") << QStringLiteral("\\");
        QTest::newRow("emoji outside the BMP") << QStringLiteral("𝄞 clef 😀") << QStringLiteral("😀");
        QTest::newRow("combining mark") << QStringLiteral("cafe\u0301") << QStringLiteral("e\u0301");
        QTest::newRow("spaces only") << QStringLiteral("   ") << QStringLiteral("  ");
    }

    void awkwardTextsAreStoredFoundAndDeleted()
    {
        QFETCH(QString, english);
        QFETCH(QString, search);
        m_ui->type(english, "意味");
        m_ui->click("Command1");
        QCOMPARE(m_ui->messages.takeTexts(), QStringList{"登録しました"});
        QCOMPARE(m_notebook->count(), 2);

        m_ui->search(search);
        QCOMPARE(m_ui->list(), QStringList{english + "|意味"});
        QCOMPARE(m_ui->count(), QStringLiteral("1件"));

        QCOMPARE(m_ui->deleteRows({0}), QStringList());
        QCOMPARE(m_notebook->rows(), QStringList{"2024/01/01 00:00:00|apple|りんご"});
    }

    void aVeryLongSearchIsRefusedClearly()
    {
        // 20 000 kanji are 60 000 bytes to the engine, past its limit on a pattern's length.
        m_ui->search(QStringLiteral("語").repeated(20000));
        const QStringList shown = m_ui->messages.takeTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith("検索する文字が長すぎます"), qPrintable(shown.first().left(80)));
        QCOMPARE(m_ui->list(), QStringList{"apple|りんご"});
        QCOMPARE(m_ui->count(), QStringLiteral("1件"));
        // The window goes on working.
        m_ui->search("pp");
        QCOMPARE(m_ui->count(), QStringLiteral("1件"));
    }

private:
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormDriver> m_ui;
};

QTEST_MAIN(InputTest)
#include "input_test.moc"
