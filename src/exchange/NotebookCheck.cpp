#include "NotebookCheck.h"

#include "Connection.h"
#include "SearchIndex.h"
#include "Statements.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
const QStringList kColumns = {QStringLiteral("UpDay"), QStringLiteral("English"), QStringLiteral("Japanese")};

// The engine's report names a damaged page in its own terms, often more than once ("*** in database main
// ***\nPage 3: …\nOn tree page 3 cell 0: …"), and an index out of step with its table once for each row;
// the learner is told each page and each index once, in a sentence. Other faults keep the engine's words
// after a sentence.
QStringList integrityFaults(Connection& connection)
{
    static const QRegularExpression page(QStringLiteral("\\bpage (\\d+)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(QStringLiteral("\\bindex (\\S+)"));
    QStringList faults;
    auto rows = connection.execute(QStringLiteral("pragma integrity_check"), {});
    try {
        while (rows->next()) {
            for (const QString& line : rows->value(0).toString().split(QLatin1Char('\n'))) {
                if (line == QLatin1String("ok") || line.startsWith(QLatin1String("***")))
                    continue;
                const QRegularExpressionMatch onPage = page.match(line);
                const QRegularExpressionMatch inIndex = index.match(line);
                QString fault = QCoreApplication::translate("NotebookCheck", "damaged: %1").arg(line);
                if (onPage.hasMatch())
                    fault = QCoreApplication::translate("NotebookCheck", "damaged at page %1")
                                .arg(onPage.captured(1));
                else if (inIndex.hasMatch())
                    fault =
                        QCoreApplication::translate("NotebookCheck", "the index %1 does not match the table")
                            .arg(inIndex.captured(1));
                if (!faults.contains(fault))
                    faults << fault;
            }
        }
    } catch (const StoreError& error) {
        // The engine gives up partway through some damage; the pages it named by then still say where.
        if (faults.isEmpty())
            throw;
        faults << error.summary();
    }
    return faults;
}

QStringList missingColumns(Connection& connection)
{
    auto rows = connection.execute(QStringLiteral("select name from pragma_table_info('wordDB')"), {});
    QStringList present;
    while (rows->next())
        present << rows->value(0).toString();
    if (present.isEmpty())
        return {QCoreApplication::translate("NotebookCheck", "table wordDB is missing")};
    QStringList missing;
    for (const QString& column : kColumns) {
        if (!present.contains(column, Qt::CaseInsensitive))
            missing
                << QCoreApplication::translate("NotebookCheck", "column %1 of wordDB is missing").arg(column);
    }
    return missing;
}
} // namespace

NotebookCheck::NotebookCheck(const QString& path)
{
    try {
        run(path);
    } catch (const StoreError& error) {
        // A notebook held by a writer, or with a journal still to play back, is not damaged; that failure
        // goes to the caller as it is.
        if (error.isBusy() || error.engineCode() == StoreError::kReadOnlyRollback)
            throw;
        m_problems << error.summary();
    }
}

void NotebookCheck::run(const QString& path)
{
    Connection connection(path, Connection::Access::ReadOnly);
    m_problems << integrityFaults(connection);
    if (!m_problems.isEmpty())
        return;
    m_problems << missingColumns(connection);
    if (!m_problems.isEmpty())
        return;
    m_indexProblems = SearchIndex::faults(connection);
    auto count = connection.execute(Statements::kTotalCount);
    m_pairs = count->next() ? count->value(0).toLongLong() : 0;
}
