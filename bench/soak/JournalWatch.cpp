#include "JournalWatch.h"

#include <QFileInfo>

#include <algorithm>

namespace {
// Records the file's size when it is there; true when it is.
bool sampleFile(const QString& path, qint64* largest)
{
    const QFileInfo file(path);
    if (!file.exists())
        return false;
    *largest = std::max(*largest, file.size());
    return true;
}
} // namespace

JournalWatch::JournalWatch(const QString& notebook)
    : m_journal(notebook + QStringLiteral("-journal"))
    , m_wal(notebook + QStringLiteral("-wal"))
{}

void JournalWatch::sample()
{
    m_journalSeen += sampleFile(m_journal, &m_maxJournal) ? 1 : 0;
    m_walSeen += sampleFile(m_wal, &m_maxWal) ? 1 : 0;
}
