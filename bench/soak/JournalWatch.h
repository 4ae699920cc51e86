#pragma once

#include <QString>
#include <QtGlobal>

// The largest the notebook's rollback journal (and a write-ahead log, should one ever appear) has been,
// sampled after every operation. Either growing without bound would mean writes piling up.
class JournalWatch {
public:
    explicit JournalWatch(const QString& notebook);

    void sample();

    qint64 maxJournal() const { return m_maxJournal; }
    qint64 maxWal() const { return m_maxWal; }
    // Samples that found the file there at all.
    int journalSeen() const { return m_journalSeen; }
    int walSeen() const { return m_walSeen; }

private:
    QString m_journal;
    QString m_wal;
    qint64 m_maxJournal = 0;
    qint64 m_maxWal = 0;
    int m_journalSeen = 0;
    int m_walSeen = 0;
};
