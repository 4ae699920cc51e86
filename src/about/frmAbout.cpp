#include "frmAbout.h"

#include "FileSearch.h"
#include "GetKeyValue.h"
#include "HostRegistry.h"
#include "MessageBox.h"
#include "ProgramLauncher.h"
#include "Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int kLeft = 2340;
constexpr int kTop = 1935;
constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 3555;

const char* const kSysInfoProgram = "\\MSINFO32.EXE";

QString productText()
{
    const QString indent(2, QChar(0x3000));
    const QStringList lines = {
        indent + QStringLiteral("【名    称】Tessimor"),
        indent + QStringLiteral("【ﾊﾞｰｼﾞｮﾝ 】" TESSIMOR_VERSION),
        indent + QStringLiteral("【製作者名】Tessimor developers"),
        indent + QStringLiteral("【メール】\u3000tessimor@example.org "),
        QStringLiteral("     【ＵＲＬ】\u3000https://www.example.org/tessimor/"),
        // The question marks are escaped: "??/" would read as a trigraph.
        indent + QStringLiteral("【公開日】2004/\?\?/\?\?") + QString(63, QLatin1Char(' ')) +
            QStringLiteral("【動作環境】Microsoft Windows95/98/Me, NT4.0/2000、XP"),
        QString(8, QChar(0x3000)) + QStringLiteral("   Microsoft Accsessが動作する環境"),
        indent + QStringLiteral("【開発言語】C++17 / Qt 6"),
    };
    return lines.join(QStringLiteral("\r\n"));
}

// The etched rule under the product text: a grey line with a wider white one just below it.
struct Line {
    int x1, y1, x2, y2;
    QColor colour;
    int pixels;
};
const Line Line1[] = {
    {105, 2460, 5654, 2460, QColor(255, 255, 255), 2},
    {90, 2445, 5654, 2445, QColor(128, 128, 128), 1},
};

QLabel* readableLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
                      int height)
{
    auto* label = Twips::place<QLabel>(parent, name, left, top, width, height);
    label->setText(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A label never takes the focus; a screen reader reads it as the dialog's text, and a mouse can copy it.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}
} // namespace

frmAbout::frmAbout(const Seams& seams)
    : QDialog(nullptr)
    , m_seams(seams)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setAccessibleName(QStringLiteral("バージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);
    buildControls();

    // Placed from the top left of the screen, not centred: it opens beside the main window.
    QRect client = Twips::rect(this, kLeft, kTop, kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        client.translate(screen->geometry().topLeft());
    setFixedSize(client.size());
    setGeometry(client);
}

frmAbout::~frmAbout() = default;

void frmAbout::buildControls()
{
    Label1 = readableLabel(this, "Label1", productText(), 120, 240, 5295, 2175);

    lblDisclaimer = readableLabel(this, "lblDisclaimer", QStringLiteral("警告: ..."), 255, 2625, 3870, 825);
    QPalette black = lblDisclaimer->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    black.setColor(QPalette::Text, Qt::black);
    lblDisclaimer->setPalette(black);

    cmdOK = Twips::place<QPushButton>(this, "cmdOK", 4245, 2625, 1380, 345);
    cmdOK->setText(QStringLiteral("OK"));
    cmdOK->setDefault(true);

    cmdSysInfo = Twips::place<QPushButton>(this, "cmdSysInfo", 4260, 3075, 1380, 345);
    cmdSysInfo->setText(QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
    cmdSysInfo->setAccessibleName(QStringLiteral("システム情報"));
    cmdSysInfo->setAccessibleDescription(QStringLiteral("システム情報のプログラムを起動します"));

    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, lblDisclaimer);
    setTabOrder(lblDisclaimer, Label1);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click()
{
    Unload();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::reject()
{
    cmdOK_Click();
}

void frmAbout::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Closed, not only hidden: when it is the last window left, the program ends with it.
    QDialog::reject();
    deleteLater();
}

void frmAbout::StartSysInfo()
{
    try {
        QString SysInfoPath;
        if (!GetKeyValue(Registry::kLocalMachine, QLatin1String(SysInfoKeys::kPath),
                         QLatin1String(SysInfoKeys::kPathValue), SysInfoPath)) {
            if (!GetKeyValue(Registry::kLocalMachine, QLatin1String(SysInfoKeys::kLocation),
                             QLatin1String(SysInfoKeys::kLocationValue), SysInfoPath))
                return showUnavailable();
            if (!m_seams.files.exists(SysInfoPath + QLatin1String(kSysInfoProgram)))
                return showUnavailable();
            SysInfoPath += QLatin1String(kSysInfoProgram);
        }
        if (!m_seams.launcher.start(SysInfoPath))
            return showUnavailable();
    } catch (const std::exception&) {
        showUnavailable();
    }
}

bool frmAbout::GetKeyValue(Registry::Key KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                           QString& KeyVal)
{
    const std::string before = KeyVal.toLocal8Bit().toStdString();
    std::string value = before;
    const bool read = ::GetKeyValue(m_seams.registry, KeyRoot, KeyName.toLocal8Bit().toStdString(),
                                    SubKeyRef.toLocal8Bit().toStdString(), value);
    // Compared first, so that a value of another type leaves KeyVal exactly as it was.
    if (value != before)
        KeyVal = QString::fromLocal8Bit(value.data(), qsizetype(value.size()));
    return read;
}

void frmAbout::showUnavailable()
{
    m_seams.messages.information(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    for (const Line& line : Line1) {
        const int left = Twips::toPixels(this, line.x1);
        const int top = Twips::toPixels(this, line.y1);
        painter.fillRect(QRect(left, top, Twips::toPixels(this, line.x2) - left, line.pixels), line.colour);
    }
}
