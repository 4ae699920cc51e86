#include "FormHarness.h"
#include "TestNotebook.h"
#include "TextBox.h"
#include "Twips.h"

#include <QAccessible>
#include <QMenuBar>
#include <QtTest>

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void windowHasItsCaptionSizeAndButtons();
    void tabCyclesTheInputControlsInOrder();
    void boxesLimitTheirLengthAndTakeTheirNamesFromLabels();
    void fontsOfCountAndGrids();
    void menuHasOneTitleWithOneItem();
    void everyButtonHasAnAccessKey();

private:
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormHarness> m_ui;
};

void LayoutTest::initTestCase()
{
    m_notebook = std::make_unique<TestNotebook>();
    m_ui = std::make_unique<FormHarness>(m_notebook->path());
    m_ui->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ui->form.get()));
}

void LayoutTest::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    const struct {
        const char* name;
        const char* caption;
        QRect twips;
    } table[] = {
        {"Label1", "English", {360, 240, 2055, 255}},    {"Text1", "", {1440, 120, 4935, 375}},
        {"Command7", "Clear", {6600, 120, 1335, 375}},   {"Label2", "Japanese", {360, 600, 2055, 255}},
        {"Text2", "", {1440, 600, 4935, 375}},           {"Command1", "Register", {6600, 840, 1335, 375}},
        {"Command2", "Delete", {8040, 840, 1335, 375}},  {"Label3", "", {360, 1080, 855, 375}},
        {"DataGrid1", "", {240, 1440, 9615, 2895}},      {"Label4", "Order By", {360, 4560, 1095, 255}},
        {"Command3", "Normal", {1200, 4440, 1335, 375}}, {"Command4", "Alphabet", {2640, 4440, 1335, 375}},
        {"Command6", "Date", {4080, 4440, 1335, 375}},   {"Label5", "Search", {360, 5040, 855, 255}},
        {"Text3", "", {1200, 4920, 1335, 375}},          {"Command5", "Search", {2640, 4920, 1335, 375}},
        {"DataGrid2", "", {240, 6240, 3375, 1215}},      {"DataGrid3", "", {4080, 6360, 2655, 1215}},
    };
    for (const auto& row : table)
        QTest::newRow(row.name) << row.name << QString::fromUtf8(row.caption) << row.twips;
}

void LayoutTest::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QWidget* control = m_ui->form->findChild<QWidget*>(name);
    QVERIFY(control);
    const int dpi = control->logicalDpiX();
    const QRect expected(Twips::toPixels(twips.x(), dpi), Twips::toPixels(twips.y(), dpi),
                         Twips::toPixels(twips.width(), dpi), Twips::toPixels(twips.height(), dpi));
    QCOMPARE(control->geometry(), expected);
    QString shown = control->property("text").toString();
    shown.remove(QLatin1Char('&'));
    if (name != "Label3")
        QCOMPARE(shown, caption);
}

void LayoutTest::windowHasItsCaptionSizeAndButtons()
{
    Form1& form = *m_ui->form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Tessimor"));
    const int dpi = form.logicalDpiX();
    QCOMPARE(form.centralWidget()->size(), QSize(Twips::toPixels(9975, dpi), Twips::toPixels(5445, dpi)));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.windowIcon().availableSizes().value(0), QSize(32, 32));
    // The count grids lie below the designed client area.
    QVERIFY(m_ui->grid("DataGrid2")->geometry().top() > form.centralWidget()->height());
    QVERIFY(m_ui->grid("DataGrid3")->geometry().top() > form.centralWidget()->height());
}

void LayoutTest::tabCyclesTheInputControlsInOrder()
{
    QStringList cycle;
    QWidget* widget = m_ui->text("Text1");
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->objectName().isEmpty())
            cycle << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != m_ui->text("Text1"));
    QCOMPARE(cycle,
             (QStringList{"Text1", "Text2", "Command1", "Text3", "Command5", "DataGrid2", "DataGrid3"}));
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"})
        QCOMPARE(m_ui->find<QWidget>(name)->focusPolicy(), Qt::NoFocus);
}

void LayoutTest::boxesLimitTheirLengthAndTakeTheirNamesFromLabels()
{
    QCOMPARE(m_ui->find<TextBox>("Text1")->maxCharacters(), 49);
    QCOMPARE(m_ui->find<TextBox>("Text2")->maxCharacters(), 27);
    QCOMPARE(m_ui->find<TextBox>("Text3")->maxCharacters(), 0);
    QVERIFY(m_ui->text("Text1")->inputMethodHints() & Qt::ImhPreferLatin);
    QVERIFY(m_ui->text("Text3")->inputMethodHints() & Qt::ImhPreferLatin);
    QVERIFY(!(m_ui->text("Text2")->inputMethodHints() & Qt::ImhPreferLatin));
    const QList<QPair<const char*, const char*>> buddies = {
        {"Text1", "English"}, {"Text2", "Japanese"}, {"Text3", "Search"}};
    for (const auto& [box, name] : buddies) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(m_ui->text(box));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), QString::fromLatin1(name));
    }
}

void LayoutTest::fontsOfCountAndGrids()
{
    const QFont count = m_ui->find<QLabel>("Label3")->font();
    QVERIFY(count.families().contains(QStringLiteral("ＭＳ Ｐゴシック")));
    QVERIFY(count.families().contains(QStringLiteral("IPAPGothic")));
    QCOMPARE(count.pointSizeF(), 11.25);
    QVERIFY(count.bold());
    for (const char* name : {"DataGrid1", "DataGrid2", "DataGrid3"}) {
        QCOMPARE(m_ui->grid(name)->font().pointSizeF(), 9.0);
        QVERIFY(!m_ui->grid(name)->accessibleName().isEmpty());
    }
}

void LayoutTest::menuHasOneTitleWithOneItem()
{
    const QList<QAction*> titles = m_ui->form->menuBar()->actions();
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles.first()->text(), QStringLiteral("バージョン情報"));
    const QList<QAction*> items = titles.first()->menu()->actions();
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first()->objectName(), QStringLiteral("mnuversion"));
    QCOMPARE(items.first()->text(), QStringLiteral("バージョン情報"));
}

void LayoutTest::everyButtonHasAnAccessKey()
{
    // Buttons outside the Tab cycle must still be reachable from the keyboard.
    QSet<QChar> keys;
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command6", "Command7"}) {
        const QString text = m_ui->button(name)->text();
        const int amp = int(text.indexOf(QLatin1Char('&')));
        QVERIFY2(amp >= 0 && amp + 1 < text.size(), name);
        const QChar key = text.at(amp + 1).toLower();
        QVERIFY2(!keys.contains(key), name);
        keys.insert(key);
    }
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
