#include "Writer.h"

#include "Connection.h"
#include "Statements.h"
#include "StoreError.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlQuery>

#include <poll.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>

namespace {
constexpr int kShortestWaitMs = 20;
constexpr int kLongestWaitMs = 200;
// Its own pairs stay few, so they never crowd the top of the newest-first list the soak deletes from.
constexpr size_t kMostPairs = 32;
constexpr int kFailureTextsKept = 5;
} // namespace

const QString Writer::kPrefix = QStringLiteral("Writer-");

Writer::Writer(QString notebook, const QString& progress, quint64 seed)
    : m_notebook(std::move(notebook))
    , m_progress(progress, false)
    , m_random(seed)
    , m_parent(getppid())
{}

int Writer::run()
{
    while (!stopRequested(kShortestWaitMs + int(m_random.below(kLongestWaitMs - kShortestWaitMs + 1))))
        writeOnce();
    const QByteArray json = QJsonDocument(m_tally.toJson()).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

bool Writer::stopRequested(int ms)
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, ms) > 0) {
        // Anything on standard input, its end included, means stop.
        char byte = 0;
        if (read(STDIN_FILENO, &byte, 1) >= 0)
            return true;
    }
    return getppid() != m_parent;
}

void Writer::writeOnce()
{
    m_progress.begin();
    try {
        // A connection per write, as a copy of the program opens one per command.
        Connection connection(m_notebook);
        if (m_pairs.empty() || (m_pairs.size() < kMostPairs && m_random.below(2) == 0))
            insert(connection);
        else
            removeOne(connection);
    } catch (const StoreError& error) {
        ++m_tally.failures;
        if (m_tally.failureTexts.size() < kFailureTextsKept)
            m_tally.failureTexts << error.engineText();
    }
    m_progress.end();
}

void Writer::insert(Connection& connection)
{
    ++m_serial;
    const QVariantList pair{kPrefix + QString::number(m_serial), QStringLiteral("ライター%1").arg(m_serial)};
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    connection.execute(QString::fromLatin1(Statements::kInsert), QVariantList{now} + pair);
    m_pairs.push_back(pair);
    ++m_tally.inserts;
}

void Writer::removeOne(Connection& connection)
{
    const size_t which = size_t(m_random.below(m_pairs.size()));
    const QVariantList pair = m_pairs[which];
    const auto query = connection.execute(QString::fromLatin1(Statements::kDelete), pair);
    m_pairs.erase(m_pairs.begin() + std::ptrdiff_t(which));
    if (query->numRowsAffected() == 1)
        ++m_tally.deletes;
    else
        ++m_tally.missing;
}
