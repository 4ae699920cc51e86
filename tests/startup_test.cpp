#include "FormDriver.h"
#include "TestNotebook.h"
#include "TextBox.h"
#include "Twips.h"

#include <QAccessible>
#include <QMenuBar>
#include <QtTest>

namespace {
// Captions with their access keys: the buttons outside the Tab cycle are reached by these.
const struct Control {
    const char* name;
    const char* caption;
    QRect twips;
} kControls[] = {
    {"Label1", "&English", {360, 240, 2055, 255}},
    {"Text1", "", {1440, 120, 4935, 375}},
    {"Command7", "&Clear", {6600, 120, 1335, 375}},
    {"Label2", "&Japanese", {360, 600, 2055, 255}},
    {"Text2", "", {1440, 600, 4935, 375}},
    {"Command1", "&Register", {6600, 840, 1335, 375}},
    {"Command2", "&Delete", {8040, 840, 1335, 375}},
    {"Label3", "0件", {360, 1080, 855, 375}},
    {"DataGrid1", "", {240, 1440, 9615, 2895}},
    {"Label4", "Order By", {360, 4560, 1095, 255}},
    {"Command3", "&Normal", {1200, 4440, 1335, 375}},
    {"Command4", "&Alphabet", {2640, 4440, 1335, 375}},
    {"Command6", "Da&te", {4080, 4440, 1335, 375}},
    {"Label5", "&Search", {360, 5040, 855, 255}},
    {"Text3", "", {1200, 4920, 1335, 375}},
    {"Command5", "Search", {2640, 4920, 1335, 375}},
    {"DataGrid2", "", {240, 6240, 3375, 1215}},
    {"DataGrid3", "", {4080, 6360, 2655, 1215}},
};
} // namespace

// The main window as it opens: its controls where they were designed, and its list. The notebooks it
// cannot open are met in the fault tests.
class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_notebook = std::make_unique<TestNotebook>();
        m_ui = std::make_unique<FormDriver>(m_notebook->path());
        m_ui->form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ui->form.get()));
    }

    void opensOnAnEmptyNotebookWithNothingSelected()
    {
        QCOMPARE(m_ui->list(), QStringList());
        QCOMPARE(m_ui->columns(), (QStringList{"English", "Japanese"}));
        QCOMPARE(m_ui->count(), QStringLiteral("0件"));
        QVERIFY(!m_ui->button("Command2")->isEnabled());
        for (const char* box : {"Text1", "Text2", "Text3"})
            QVERIFY(m_ui->text(box)->text().isEmpty());
        QCOMPARE(m_ui->form->store().AlphaOrder, false);
        QCOMPARE(m_ui->form->store().SearchMode, 0);
        m_ui->expectQuiet();
    }

    void listsEveryRowNewestFirstAcrossYearMonthAndDay()
    {
        // A table made by other means: the same pair twice counts twice.
        TestNotebook notebook(TestNotebook::Schema::BareTable);
        notebook.insert("2023/12/31 23:59:59", "year", "年");
        notebook.insert("2024/02/01 00:00:00", "month", "月");
        notebook.insert("2024/01/31 23:59:59", "january", "一月");
        notebook.insert("2024/02/02 00:00:00", "day", "日");
        notebook.insert("2024/02/01 12:00:00", "apple", "りんご");
        notebook.insert("2024/02/01 12:00:00", "apple", "りんご");
        FormDriver ui(notebook.path());
        QCOMPARE(ui.list(), (QStringList{"day|日", "apple|りんご", "apple|りんご", "month|月", "january|一月",
                                         "year|年"}));
        QCOMPARE(ui.count(), QStringLiteral("6件"));
        QCOMPARE(ui.grid("DataGrid1")->currentIndex().row(), 0);
        QVERIFY(!ui.button("Command2")->isEnabled());
        ui.expectQuiet();
    }

    void controlsStandWhereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        for (const auto& row : kControls)
            QTest::newRow(row.name) << row.name << QString::fromUtf8(row.caption) << row.twips;
    }

    void controlsStandWhereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QWidget* control = m_ui->form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(),
                 Twips::rect(control, twips.x(), twips.y(), twips.width(), twips.height()));
        QCOMPARE(control->property("text").toString(), caption);
    }

    void windowHasItsCaptionSizeAndButtons()
    {
        Form1& form = *m_ui->form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Tessimor"));
        QCOMPARE(form.centralWidget()->size(),
                 QSize(Twips::toPixels(&form, 9975), Twips::toPixels(&form, 5445)));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.windowIcon().availableSizes().value(0), QSize(32, 32));
    }

    void tabCyclesTheInputControlsInOrder()
    {
        QStringList cycle;
        QWidget* widget = m_ui->text("Text1");
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() &&
                !widget->objectName().isEmpty())
                cycle << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != m_ui->text("Text1"));
        QCOMPARE(cycle,
                 (QStringList{"Text1", "Text2", "Command1", "Text3", "Command5", "DataGrid2", "DataGrid3"}));
        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"})
            QCOMPARE(m_ui->find<QWidget>(name)->focusPolicy(), Qt::NoFocus);
    }

    void boxesLimitTheirLengthAndTakeTheirNamesFromLabels()
    {
        const QList<std::tuple<const char*, int, bool, const char*>> boxes = {
            {"Text1", 49, true, "English"}, {"Text2", 27, false, "Japanese"}, {"Text3", 0, true, "Search"}};
        for (const auto& [name, length, latin, label] : boxes) {
            QCOMPARE(m_ui->find<TextBox>(name)->maxCharacters(), length);
            QCOMPARE(bool(m_ui->text(name)->inputMethodHints() & Qt::ImhPreferLatin), latin);
            QCOMPARE(QAccessible::queryAccessibleInterface(m_ui->text(name))->text(QAccessible::Name),
                     QString::fromLatin1(label));
        }
    }

    void fontsOfCountAndGrids()
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

    void menuHasOneTitleWithOneItem()
    {
        const QList<QAction*> titles = m_ui->form->menuBar()->actions();
        QCOMPARE(titles.size(), 1);
        QCOMPARE(titles.first()->text(), QStringLiteral("バージョン情報"));
        const QList<QAction*> items = titles.first()->menu()->actions();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.first()->objectName(), QStringLiteral("mnuversion"));
        QCOMPARE(items.first()->text(), QStringLiteral("バージョン情報"));
    }

private:
    std::unique_ptr<TestNotebook> m_notebook;
    std::unique_ptr<FormDriver> m_ui;
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
