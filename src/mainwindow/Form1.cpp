#include "Form1.h"

#include "Connection.h"
#include "DataGrid.h"
#include "JapaneseFont.h"
#include "MessageBox.h"
#include "ProgramExit.h"
#include "StoreError.h"
#include "TextBox.h"
#include "TextLimits.h"
#include "Twips.h"
#include "modUpdate.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int kLabel3Width = 855;
constexpr int kClientWidth = 9975;
constexpr int kClientHeight = 5445;

enum class Weight { Regular, Bold };
// Whether Tab stops at a control.
enum class Tab { Stop, Skip };
// Which input a text box takes: keys as typed, or the input method the learner has on.
enum class Input { Latin, AsSet };

QFont gothic(double points, Weight weight)
{
    QFont font = japaneseFont(points);
    font.setBold(weight == Weight::Bold);
    return font;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
              int height)
{
    auto* control = Twips::place<QLabel>(parent, name, left, top, width, height);
    control->setText(caption);
    return control;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top, Tab tab)
{
    auto* control = Twips::place<QPushButton>(parent, name, left, top, 1335, 375);
    control->setText(caption);
    control->setAutoDefault(false);
    // Buttons left out of the Tab cycle are still reached by their access keys.
    control->setFocusPolicy(tab == Tab::Stop ? Qt::StrongFocus : Qt::ClickFocus);
    return control;
}

TextBox* textBox(QWidget* parent, const char* name, int left, int top, int width, int maxCharacters,
                 Input input)
{
    auto* control = Twips::place<TextBox>(parent, name, left, top, width, 375);
    control->setMaxCharacters(maxCharacters);
    if (input == Input::Latin) {
        control->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
        // With the input method left on from the Japanese box, keys would become kana here: input
        // methods act on no hint alone.
        control->setInputMethodOff();
    }
    return control;
}

DataGrid* grid(QWidget* parent, const char* name, const QString& accessibleName, int left, int top, int width,
               int height, Tab tab)
{
    auto* control = Twips::place<DataGrid>(parent, name, left, top, width, height);
    control->setFont(gothic(9, Weight::Regular));
    control->setAccessibleName(accessibleName);
    control->setFocusPolicy(tab == Tab::Stop ? Qt::StrongFocus : Qt::ClickFocus);
    return control;
}
// The busy cursor shows while a command waits for another program's lock, and goes when the window takes
// events again: when the command is done, or a message it shows is up.
void showWaiting()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, [] { QGuiApplication::restoreOverrideCursor(); });
}
} // namespace

Form1::Form1(const QString& databasePath, MessageBox& messages, ProgramExit& exit, const Clock& clock,
             int lockPatienceMs, QWidget* parent)
    : QMainWindow(parent)
    , m_messages(messages)
    , m_exit(exit)
    , m_store(std::make_unique<modUpdate>(static_cast<WordView&>(*this), databasePath, clock,
                                          LockPatience{lockPatienceMs, showWaiting}))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tessimor"));
    setWindowIcon(QIcon(QStringLiteral(":/tessimor/tessimor.xpm")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The window's own face for every caption, as the grids have it.
    setFont(gothic(9, Weight::Regular));
    buildControls();
    buildTabOrder();

    const QSize client(Twips::toPixels(this, kClientWidth), Twips::toPixels(this, kClientHeight));
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Form_Load();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    Label1 = label(client, "Label1", QStringLiteral("English"), 360, 240, 2055, 255);
    Label2 = label(client, "Label2", QStringLiteral("Japanese"), 360, 600, 2055, 255);
    Label3 = label(client, "Label3", QString(), 360, 1080, kLabel3Width, 375);
    Label3->setFont(gothic(11.25, Weight::Bold));
    // Its name stays its text, so a screen reader hears the count itself; the title goes in the description.
    Label3->setAccessibleDescription(QStringLiteral("件数"));
    Label4 = label(client, "Label4", QStringLiteral("Order By"), 360, 4560, 1095, 255);
    Label5 = label(client, "Label5", QStringLiteral("Search"), 360, 5040, 855, 255);

    // Created after the labels so that the boxes are drawn over the labels that reach under them.
    Text1 = textBox(client, "Text1", 1440, 120, 4935, TextLimits::kEnglish, Input::Latin);
    Text2 = textBox(client, "Text2", 1440, 600, 4935, TextLimits::kJapanese, Input::AsSet);
    Text3 = textBox(client, "Text3", 1200, 4920, 1335, 0, Input::Latin);
    Label1->setBuddy(Text1);
    Label2->setBuddy(Text2);
    Label5->setBuddy(Text3);

    Command7 = button(client, "Command7", QStringLiteral("Clear"), 6600, 120, Tab::Skip);
    Command1 = button(client, "Command1", QStringLiteral("Register"), 6600, 840, Tab::Stop);
    Command2 = button(client, "Command2", QStringLiteral("Delete"), 8040, 840, Tab::Skip);
    Command3 = button(client, "Command3", QStringLiteral("Normal"), 1200, 4440, Tab::Skip);
    Command4 = button(client, "Command4", QStringLiteral("Alphabet"), 2640, 4440, Tab::Skip);
    Command6 = button(client, "Command6", QStringLiteral("Date"), 4080, 4440, Tab::Skip);
    Command5 = button(client, "Command5", QStringLiteral("Search"), 2640, 4920, Tab::Stop);

    m_DataGrid1 = grid(client, "DataGrid1", QStringLiteral("単語一覧"), 240, 1440, 9615, 2895, Tab::Skip);
    m_DataGrid2 = grid(client, "DataGrid2", QStringLiteral("検索件数"), 240, 6240, 3375, 1215, Tab::Stop);
    m_DataGrid3 = grid(client, "DataGrid3", QStringLiteral("総件数"), 4080, 6360, 2655, 1215, Tab::Stop);
    // Access keys that draw nothing: the captions stay plain text. The list, left out of the Tab cycle, is
    // reached with Alt+L.
    const QList<std::pair<Qt::Key, QWidget*>> focusKeys = {
        {Qt::Key_E, Text1}, {Qt::Key_J, Text2}, {Qt::Key_S, Text3}, {Qt::Key_L, m_DataGrid1}};
    for (const auto& [key, control] : focusKeys) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
        connect(shortcut, &QShortcut::activated, control,
                [target = control] { target->setFocus(Qt::ShortcutFocusReason); });
    }
    const QList<std::pair<Qt::Key, QPushButton*>> buttonKeys = {{Qt::Key_C, Command7}, {Qt::Key_R, Command1},
                                                                {Qt::Key_D, Command2}, {Qt::Key_N, Command3},
                                                                {Qt::Key_A, Command4}, {Qt::Key_T, Command6}};
    for (const auto& [key, control] : buttonKeys) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
        connect(shortcut, &QShortcut::activated, control, &QPushButton::animateClick);
    }

    mnu = menuBar()->addMenu(QStringLiteral("バージョン情報"));
    mnu->setObjectName(QStringLiteral("mnu"));
    mnuversion = mnu->addAction(QStringLiteral("バージョン情報"));
    mnuversion->setObjectName(QStringLiteral("mnuversion"));

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Text3, &QLineEdit::returnPressed, this, &Form1::Command5_Click);
    connect(m_DataGrid1, &DataGrid::SelChange, this, &Form1::DataGrid1_SelChange);
    connect(mnuversion, &QAction::triggered, this, &Form1::aboutRequested);
}

void Form1::buildTabOrder()
{
    const QList<QWidget*> order = {Text1, Text2,    Command1, Command2, m_DataGrid1, Command3,   Command4,
                                   Text3, Command5, Command6, Command7, m_DataGrid2, m_DataGrid3};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void Form1::Form_Load()
{
    Command2->setEnabled(false);
    m_store->ShowNormalList();
}

void Form1::Command1_Click()
{
    runCommand([this] {
        // White space at either end is no part of a word, and white space alone is no word.
        English = Text1->text().trimmed();
        Japanese = Text2->text().trimmed();
        if (Japanese.isEmpty() || English.isEmpty()) {
            m_messages.information(QStringLiteral("登録するデータがありません"));
            return;
        }
        IntReg = m_store->CheckRegistered(English, Japanese);
        if (IntReg != 0) {
            m_messages.information(QStringLiteral("データが重複しています"));
            return;
        }
        m_store->InsertWord();
        m_store->ShowNormalList();
    });
}

void Form1::Command2_Click()
{
    if (m_DataGrid1->selectedRowCount() <= 0)
        return;
    if (!m_messages.question(QStringLiteral("選択中のレコードを削除しますか")))
        return;
    // The pair deleted is one the learner selected: the current row when it is selected, otherwise the
    // topmost selected row.
    QItemSelectionModel* selection = m_DataGrid1->selectionModel();
    if (!selection->isRowSelected(m_DataGrid1->currentIndex().row(), QModelIndex())) {
        QModelIndexList rows = selection->selectedRows();
        std::sort(rows.begin(), rows.end());
        selection->setCurrentIndex(rows.first(), QItemSelectionModel::NoUpdate);
    }
    runCommand([this] { m_store->DeleteWord(); });
}

void Form1::Command3_Click()
{
    runCommand([this] { m_store->NormalOrder(); });
}

void Form1::Command4_Click()
{
    runCommand([this] { m_store->ShowAlphabetList(); });
}

void Form1::Command5_Click()
{
    runCommand([this] {
        if (Text3->text().isEmpty()) {
            m_messages.information(QStringLiteral("検索する文字を入力して下さい"));
            return;
        }
        m_store->SearchWord();
    });
}

void Form1::Command6_Click()
{
    runCommand([this] { m_store->ShowDateList(); });
}

void Form1::Command7_Click()
{
    Text1->clear();
    Text2->clear();
}

void Form1::DataGrid1_SelChange()
{
    Command2->setEnabled(true);
}

void Form1::runCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const StoreError& error) {
        m_messages.information(error.userMessage());
    }
}

ResultGrid& Form1::DataGrid1()
{
    return *m_DataGrid1;
}

ResultGrid& Form1::DataGrid2()
{
    return *m_DataGrid2;
}

ResultGrid& Form1::DataGrid3()
{
    return *m_DataGrid3;
}

QString Form1::text1() const
{
    return Text1->text();
}

QString Form1::text2() const
{
    return Text2->text();
}

QString Form1::text3() const
{
    return Text3->text();
}

void Form1::setText1(const QString& text)
{
    Text1->setText(text);
}

void Form1::setText2(const QString& text)
{
    Text2->setText(text);
}

void Form1::setText3(const QString& text)
{
    Text3->setText(text);
}

void Form1::setLabel3(const QString& caption)
{
    Label3->setText(caption);
    // A count of five digits or more is wider than the label was drawn for: it grows into the free space
    // to its right rather than cut off the last figures.
    Label3->resize(std::max(Twips::toPixels(this, kLabel3Width), Label3->sizeHint().width()),
                   Label3->height());
}

void Form1::setCommand2Enabled(bool enabled)
{
    Command2->setEnabled(enabled);
}

void Form1::showMessage(const QString& text)
{
    m_messages.information(text);
}

void Form1::endProgram()
{
    m_exit.end(1);
}
