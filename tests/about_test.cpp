#include "AboutFakes.h"
#include "FormDriver.h"
#include "SharedAbout.h"
#include "TestNotebook.h"
#include "Twips.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
// The product text as a learner reads it, written out character by character.
const QString kProductText =
    QString::fromUtf8("\u3000\u3000【名    称】Tessimor\r\n"
                      "\u3000\u3000【ﾊﾞｰｼﾞｮﾝ 】1.00\r\n"
                      "\u3000\u3000【製作者名】Tessimor developers\r\n"
                      "\u3000\u3000【メール】\u3000tessimor@example.org \r\n"
                      "     【ＵＲＬ】\u3000https://www.example.org/tessimor/\r\n"
                      "\u3000\u3000【公開日】2004/?\?/?\?" // 63 spaces follow
                      "                                                               "
                      "【動作環境】Microsoft Windows95/98/Me, NT4.0/2000、XP\r\n"
                      "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000   Microsoft Accsessが動作する環境\r\n"
                      "\u3000\u3000【開発言語】C++17 / Qt 6");

QRect pixels(const QWidget* widget, const QRect& twips)
{
    return Twips::rect(widget, twips.x(), twips.y(), twips.width(), twips.height());
}
} // namespace

// The about dialog opened from the main window's menu; each case starts with it open.
class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_notebook = std::make_unique<TestNotebook>();
        m_ui = std::make_unique<FormDriver>(m_notebook->path());
        m_about = std::make_unique<SharedAbout>(frmAbout::Seams{m_registry, m_launcher, m_files, m_messages});
        QObject::connect(m_ui->form.get(), &Form1::aboutRequested, m_about.get(), &SharedAbout::show);
        m_ui->form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ui->form.get()));
        m_dialog = openFromMenu();
        QVERIFY(m_dialog);
    }

    void cleanup()
    {
        m_about.reset();
        m_ui.reset();
        m_notebook.reset();
        // Nothing pressed the other button: with the empty hive it would have said so.
        QVERIFY(m_messages.takeTexts().isEmpty());
    }

    void menuBringsUpOneSharedDialog()
    {
        QVERIFY(!m_dialog->isModal());
        QVERIFY(!m_dialog->parentWidget());
        // While it is open the main window stays usable; the next selection comes back to the same dialog.
        m_ui->form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_ui->form.get()));
        QCOMPARE(openFromMenu(), m_dialog);
    }

    void okKeysAndCloseButtonUnloadIt_data()
    {
        QTest::addColumn<int>("key"); // 0: the OK button, -1: the title bar's close button
        QTest::addColumn<QString>("focus");
        QTest::newRow("OK") << 0 << "cmdSysInfo";
        QTest::newRow("Enter") << int(Qt::Key_Return) << "cmdOK";
        QTest::newRow("Enter in the product text") << int(Qt::Key_Return) << "Label1";
        QTest::newRow("Esc") << int(Qt::Key_Escape) << "cmdOK";
        QTest::newRow("Esc on the other button") << int(Qt::Key_Escape) << "cmdSysInfo";
        QTest::newRow("close button") << -1 << "cmdSysInfo";
    }

    void okKeysAndCloseButtonUnloadIt()
    {
        QFETCH(int, key);
        QFETCH(QString, focus);
        m_dialog->findChild<QWidget*>(focus)->setFocus();
        if (key > 0)
            QTest::keyClick(m_dialog->focusWidget(), Qt::Key(key));
        else if (key == 0)
            m_dialog->findChild<QPushButton*>("cmdOK")->click();
        else
            QVERIFY(m_dialog->close()); // what the title bar's button sends
        QVERIFY(!m_about->dialog());
        QTRY_VERIFY(!m_dialog);
        // The menu loads it afresh: the focus moved before is back on OK.
        frmAbout* again = openFromMenu();
        QVERIFY(again);
        QCOMPARE(again->focusWidget()->objectName(), QStringLiteral("cmdOK"));
    }

    void textsAndGeometryAreExact()
    {
        auto* product = m_dialog->findChild<QLabel*>("Label1");
        QCOMPARE(product->text(), kProductText);
        QVERIFY(product->wordWrap());
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(m_dialog->findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(m_dialog->findChild<QPushButton*>("cmdSysInfo")->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        auto* disclaimer = m_dialog->findChild<QLabel*>("lblDisclaimer");
        QVERIFY(disclaimer->text().startsWith(QStringLiteral("警告: ")));
        QCOMPARE(disclaimer->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(m_dialog->windowIcon().isNull());
        QCOMPARE(m_dialog->geometry(), pixels(m_dialog, {2340, 1935, 5730, 3555}));
        QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
        QVERIFY(m_dialog->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(m_dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const std::pair<const char*, QRect> controls[] = {{"Label1", {120, 240, 5295, 2175}},
                                                          {"lblDisclaimer", {255, 2625, 3870, 825}},
                                                          {"cmdOK", {4245, 2625, 1380, 345}},
                                                          {"cmdSysInfo", {4260, 3075, 1380, 345}}};
        for (const auto& [name, twips] : controls)
            QCOMPARE(m_dialog->findChild<QWidget*>(name)->geometry(), pixels(m_dialog, twips));
    }

    void tabReachesEveryNamedControlInOrder()
    {
        const QStringList order = {"cmdOK", "cmdSysInfo", "lblDisclaimer", "Label1", "cmdOK"};
        for (int i = 0; i < order.size(); ++i) {
            if (i > 0)
                QTest::keyClick(m_dialog->focusWidget(), Qt::Key_Tab);
            QWidget* focus = m_dialog->focusWidget();
            QCOMPARE(focus->objectName(), order[i]);
            const QString name = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            QVERIFY2(!name.trimmed().isEmpty() && !name.contains(QLatin1Char('&')), qPrintable(order[i]));
        }
    }

    void ruleIsEtchedUnderTheText()
    {
        const QImage image = m_dialog->grab().toImage();
        const auto px = [this](int twips) { return Twips::toPixels(m_dialog, twips); };
        const QColor grey(128, 128, 128);
        const QColor white(255, 255, 255);
        const int y = px(2445);
        QCOMPARE(px(2460), y + 1);
        const QColor background = image.pixelColor(px(3000), y - 2);
        for (int x : {px(105), px(3000), px(5654) - 1}) {
            const QList<QColor> column = {image.pixelColor(x, y), image.pixelColor(x, y + 1),
                                          image.pixelColor(x, y + 2), image.pixelColor(x, y + 3)};
            QCOMPARE(column, (QList<QColor>{grey, white, white, background}));
        }
        // The grey line starts a little left of the white one, and both end together.
        QCOMPARE(image.pixelColor(px(90), y), grey);
        QCOMPARE(image.pixelColor(px(90), y + 1), background);
        QCOMPARE(image.pixelColor(px(5654), y), background);
        QCOMPARE(image.pixelColor(px(5654), y + 1), background);
    }

private:
    frmAbout* openFromMenu()
    {
        m_ui->find<QAction>("mnuversion")->trigger();
        frmAbout* dialog = m_about->dialog();
        return dialog && QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }

    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormDriver> m_ui;
    MemoryRegistry m_registry;
    FakeFiles m_files;
    RecordingLauncher m_launcher{m_files};
    ScriptedMessageBox m_messages;
    std::unique_ptr<SharedAbout> m_about;
    QPointer<frmAbout> m_dialog;
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
