#include "WordImporter.h"

#include "Clock.h"
#include "Connection.h"
#include "Statements.h"
#include "UpDay.h"

WordImporter::WordImporter(Connection& connection, const Clock& clock)
    : m_connection(connection)
    , m_clock(clock)
{}

ImportReport WordImporter::import(const QVector<WordRecord>& words, Mode mode)
{
    // The changed pages stay in memory until the commit, so the window goes on reading the notebook
    // meanwhile instead of waiting for the whole write. Immediate: a notebook busy with another writer is
    // reported before any work, not at the end.
    m_connection.execute(QStringLiteral("pragma cache_spill = off"));
    m_connection.execute(QStringLiteral("begin immediate"), {});
    ImportReport report;
    try {
        addAll(words, report);
        m_connection.execute(mode == Mode::DryRun ? QStringLiteral("rollback") : QStringLiteral("commit"));
    } catch (...) {
        rollBack();
        throw;
    }
    return report;
}

// Rows added by this import lie above the last row id found before it, which tells a pair repeated in
// the file from one the notebook held already.
void WordImporter::addAll(const QVector<WordRecord>& words, ImportReport& report)
{
    const QString now = UpDay::format(m_clock.now());
    const qint64 lastBefore = lastRowId();
    auto find =
        m_connection.prepare(QStringLiteral("select min(rowid) from wordDB where ") + Statements::kPairMatch);
    auto insert = m_connection.prepare(Statements::kInsert);
    for (const WordRecord& word : words) {
        find->exec({word.english, word.japanese});
        const QVariant first = find->next() ? find->value(0) : QVariant();
        if (!first.isNull()) {
            ++(first.toLongLong() <= lastBefore ? report.alreadyInNotebook : report.repeatedInFile);
            continue;
        }
        const bool stamped = word.upDay.isEmpty();
        insert->exec({stamped ? now : word.upDay, word.english, word.japanese});
        ++report.added;
        report.stamped += stamped ? 1 : 0;
    }
}

qint64 WordImporter::lastRowId()
{
    auto query = m_connection.execute(QStringLiteral("select coalesce(max(rowid), 0) from wordDB"), {});
    return query->next() ? query->value(0).toLongLong() : 0;
}

void WordImporter::rollBack()
{
    try {
        m_connection.execute(QStringLiteral("rollback"), {});
    } catch (...) {
        // The engine has already rolled back after some failures; the original error is the one to report.
    }
}
