#include "AboutFakes.h"
#include "FormHarness.h"
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

QRect pixels(const QWidget* widget, const QRect& twips) {
    return Twips::rect(widget, twips.x(), twips.y(), twips.width(), twips.height());
}

int visibleAboutDialogs() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<frmAbout*>(window) && window->isVisible() ? 1 : 0;
    return count;
}
} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menuBringsUpOneSharedDialog();
    void okUnloadsAndTheMenuLoadsAfresh();
    void keysAndCloseButtonActAsOk_data();
    void keysAndCloseButtonActAsOk();
    void altSStartsTheSystemInformation();

    void productTextIsExact();
    void captionsAndDisclaimer();
    void windowStandsWhereDesigned();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void tabFollowsTheDesignedOrder();
    void everyControlIsNamedForScreenReaders();
    void ruleIsEtchedUnderTheText();

private:
    frmAbout* openFromMenu();
    QWidget* control(const char* name) const { return m_about->dialog()->findChild<QWidget*>(name); }

    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormHarness> m_ui;
    RecordingRegistry m_registry;
    FakeFiles m_files;
    RecordingLauncher m_launcher{m_files};
    ScriptedMessageBox m_messages;
    std::unique_ptr<SharedAbout> m_about;
};

void AboutTest::init() {
    m_notebook = std::make_unique<TestNotebook>();
    m_ui = std::make_unique<FormHarness>(m_notebook->path());
    m_about = std::make_unique<SharedAbout>(frmAbout::Seams{m_registry, m_launcher, m_files, m_messages});
    QObject::connect(m_ui->form.get(), &Form1::aboutRequested, m_about.get(), &SharedAbout::show);
    m_ui->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ui->form.get()));
}

void AboutTest::cleanup() {
    m_about.reset();
    m_ui.reset();
    m_notebook.reset();
    m_launcher.attempts.clear();
    QVERIFY(m_messages.takeTexts().isEmpty());
}

frmAbout* AboutTest::openFromMenu() {
    m_ui->find<QAction>("mnuversion")->trigger();
    frmAbout* dialog = m_about->dialog();
    if (dialog && !QTest::qWaitForWindowActive(dialog))
        return nullptr;
    return dialog;
}

void AboutTest::menuBringsUpOneSharedDialog() {
    frmAbout* first = openFromMenu();
    QVERIFY(first);
    QVERIFY(!first->isModal());
    QVERIFY(!first->parentWidget());
    QVERIFY(!QApplication::activeModalWidget());
    // While it is open the main window stays usable; the next selection comes back to the same dialog.
    m_ui->form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ui->form.get()));
    QCOMPARE(openFromMenu(), first);
    QCOMPARE(visibleAboutDialogs(), 1);
    QCOMPARE(QApplication::activeWindow(), first);
}

void AboutTest::okUnloadsAndTheMenuLoadsAfresh() {
    QPointer<frmAbout> first = openFromMenu();
    QVERIFY(first);
    // Something the user changed in the dialog is gone after it is loaded again.
    first->findChild<QPushButton*>("cmdSysInfo")->setFocus();
    first->findChild<QPushButton*>("cmdOK")->click();
    QVERIFY(!m_about->dialog());
    QTRY_VERIFY(!first);
    QCOMPARE(visibleAboutDialogs(), 0);
    frmAbout* second = openFromMenu();
    QVERIFY(second);
    QCOMPARE(second->focusWidget(), second->findChild<QWidget*>("cmdOK"));
}

void AboutTest::keysAndCloseButtonActAsOk_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("focus");
    QTest::newRow("Enter") << "Enter"
                           << "cmdOK";
    QTest::newRow("Enter in the product text") << "Enter"
                                               << "Label1";
    QTest::newRow("Esc") << "Esc"
                         << "cmdOK";
    QTest::newRow("Esc on the other button") << "Esc"
                                             << "cmdSysInfo";
    QTest::newRow("close button") << "close"
                                  << "cmdOK";
}

void AboutTest::keysAndCloseButtonActAsOk() {
    QFETCH(QString, how);
    QFETCH(QString, focus);
    QPointer<frmAbout> dialog = openFromMenu();
    QVERIFY(dialog);
    dialog->findChild<QWidget*>(focus)->setFocus();
    if (how == "Enter")
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    else if (how == "Esc")
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
    else
        QVERIFY(dialog->close());
    QVERIFY(!m_about->dialog());
    QTRY_VERIFY(!dialog);
    QVERIFY(m_launcher.attempts.isEmpty());
}

void AboutTest::altSStartsTheSystemInformation() {
    m_registry.hive.setString(Registry::kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                              "/opt/tools/sysinfo");
    m_files.files = {QStringLiteral("/opt/tools/sysinfo")};
    frmAbout* dialog = openFromMenu();
    QVERIFY(dialog);
    QTest::keyClick(dialog, Qt::Key_S, Qt::AltModifier);
    // An access key presses its button the way a click does, after a short visible press.
    QTRY_COMPARE(m_launcher.started, QStringList{QStringLiteral("/opt/tools/sysinfo")});
    QCOMPARE(m_about->dialog(), dialog);
    QVERIFY(dialog->isVisible());
}

void AboutTest::productTextIsExact() {
    QVERIFY(openFromMenu());
    const QString shown = m_about->dialog()->findChild<QLabel*>("Label1")->text();
    QCOMPARE(shown, kProductText);
    const QStringList lines = shown.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 8);
    QVERIFY(lines[5].contains(QString(63, QLatin1Char(' ')) + QStringLiteral("【動作環境】")));
    QVERIFY(!lines[5].contains(QString(64, QLatin1Char(' '))));
    QVERIFY(lines[6].startsWith(QString(8, QChar(0x3000)) + QStringLiteral("   M")));
    QVERIFY(m_about->dialog()->findChild<QLabel*>("Label1")->wordWrap());
}

void AboutTest::captionsAndDisclaimer() {
    frmAbout* dialog = openFromMenu();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(dialog->findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(dialog->findChild<QPushButton*>("cmdSysInfo")->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
    auto* disclaimer = dialog->findChild<QLabel*>("lblDisclaimer");
    QVERIFY(disclaimer->text().startsWith(QStringLiteral("警告: ")));
    QVERIFY(disclaimer->text().size() > 10);
    QCOMPARE(disclaimer->palette().color(QPalette::WindowText), QColor(Qt::black));
    QVERIFY(dialog->windowIcon().isNull());
}

void AboutTest::windowStandsWhereDesigned() {
    frmAbout* dialog = openFromMenu();
    QVERIFY(dialog);
    QCOMPARE(dialog->geometry(), pixels(dialog, {2340, 1935, 5730, 3555}));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
}

void AboutTest::controlsStandWhereDesigned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Label1") << "Label1" << QRect(120, 240, 5295, 2175);
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(255, 2625, 3870, 825);
    QTest::newRow("cmdOK") << "cmdOK" << QRect(4245, 2625, 1380, 345);
    QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QRect(4260, 3075, 1380, 345);
}

void AboutTest::controlsStandWhereDesigned() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QVERIFY(openFromMenu());
    QWidget* widget = control(name.toLatin1().constData());
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), pixels(widget, twips));
}

void AboutTest::tabFollowsTheDesignedOrder() {
    frmAbout* dialog = openFromMenu();
    QVERIFY(dialog);
    const QStringList order = {"cmdOK", "cmdSysInfo", "lblDisclaimer", "Label1", "cmdOK"};
    QCOMPARE(dialog->focusWidget()->objectName(), order.first());
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QCOMPARE(dialog->focusWidget()->objectName(), order[i]);
    }
}

void AboutTest::everyControlIsNamedForScreenReaders() {
    frmAbout* dialog = openFromMenu();
    QVERIFY(dialog);
    for (const char* name : {"Label1", "lblDisclaimer", "cmdOK", "cmdSysInfo"}) {
        QWidget* widget = control(name);
        QVERIFY2(widget->focusPolicy() & Qt::TabFocus, name);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(), name);
        QVERIFY2(!accessible->text(QAccessible::Name).contains(QLatin1Char('&')), name);
    }
}

void AboutTest::ruleIsEtchedUnderTheText() {
    frmAbout* dialog = openFromMenu();
    QVERIFY(dialog);
    const QImage image = dialog->grab().toImage();
    const int grey = Twips::toPixels(dialog, 2445);
    const int white = Twips::toPixels(dialog, 2460);
    QCOMPARE(white, grey + 1);
    const QColor background = image.pixelColor(Twips::toPixels(dialog, 3000), grey - 2);
    for (int x :
         {Twips::toPixels(dialog, 105), Twips::toPixels(dialog, 3000), Twips::toPixels(dialog, 5654) - 1}) {
        QCOMPARE(image.pixelColor(x, grey), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(x, white), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(x, white + 1), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(x, white + 2), background);
    }
    // The grey line begins a little left of the white one, as an engraved edge does.
    QCOMPARE(image.pixelColor(Twips::toPixels(dialog, 90), grey), QColor(128, 128, 128));
    QCOMPARE(image.pixelColor(Twips::toPixels(dialog, 90), white), background);
    QCOMPARE(image.pixelColor(Twips::toPixels(dialog, 5654) + 1, grey), background);
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
