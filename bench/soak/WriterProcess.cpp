#include "WriterProcess.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace {
constexpr int kStartMs = 10000;
constexpr int kStopMs = 10000;
} // namespace

WriterProcess::WriterProcess(const QString& notebook, quint64 seed)
{
    if (!m_folder.isValid())
        throw std::runtime_error("cannot make a folder for the writer's progress");
    const QString progress = m_folder.filePath(QStringLiteral("progress"));
    m_progress = std::make_unique<WriterProgress>(progress, true);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--writer"), notebook, QStringLiteral("--progress"), progress,
                     QStringLiteral("--seed"), QString::number(seed)});
    if (!m_process.waitForStarted(kStartMs))
        throw std::runtime_error("the writer did not start: " + m_process.errorString().toStdString());
}

WriterProcess::~WriterProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kStopMs);
    }
}

WriterTally WriterProcess::stop()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(kStopMs) || m_process.exitStatus() != QProcess::NormalExit ||
        m_process.exitCode() != 0)
        throw std::runtime_error("the writer did not stop cleanly");
    const QJsonDocument json = QJsonDocument::fromJson(m_process.readAllStandardOutput());
    if (!json.isObject())
        throw std::runtime_error("the writer did not report what it did");
    return WriterTally::fromJson(json.object());
}
