#pragma once

#include "WriterProgress.h"
#include "WriterTally.h"

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

// The soak's handle on its writer: this program started again in writer mode on the same notebook.
class WriterProcess {
public:
    // Starts it; throws std::runtime_error when it does not start.
    WriterProcess(const QString& notebook, quint64 seed);
    ~WriterProcess();
    WriterProcess(const WriterProcess&) = delete;
    WriterProcess& operator=(const WriterProcess&) = delete;

    const WriterProgress& progress() const { return *m_progress; }
    // Tells it to stop, waits for it and reads what it did; throws when it does not say.
    WriterTally stop();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<WriterProgress> m_progress;
    QProcess m_process;
};
