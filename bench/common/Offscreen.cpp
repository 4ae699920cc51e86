#include "Offscreen.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace {
// The offscreen platform and a missing runtime folder say so on every window; nothing to act on, and
// it would bury the progress lines.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")) ||
        message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
} // namespace

namespace Offscreen {

void prepare()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
}

} // namespace Offscreen
