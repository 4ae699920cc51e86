#pragma once

#include <QFile>
#include <QString>
#include <QtGlobal>

// How far the writer has got, shared between the two processes through a mapped file: writes begun and
// writes finished. A check of the soak's that took place while both stood still saw no write of the
// writer's, so a disagreement there cannot be the writer's doing.
class WriterProgress {
public:
    // Maps the file, making it first (at zero) when `create`. Throws std::runtime_error.
    WriterProgress(const QString& path, bool create);
    WriterProgress(const WriterProgress&) = delete;
    WriterProgress& operator=(const WriterProgress&) = delete;

    void begin();
    void end();

    // Where the writer stood at a moment, to ask later whether it has written since.
    quint64 mark() const;
    // Whether a write of the writer's may have committed between the mark and now (also one under way
    // when the mark was taken).
    bool wroteSince(quint64 mark) const;

private:
    QFile m_file;
    // Begun, finished.
    quint64* m_counters = nullptr;
};
