#include "NotebookCheck.h"

#include "Connection.h"
#include "SearchIndex.h"
#include "Statements.h"
#include "StoreError.h"

namespace {
const QStringList kColumns = {QStringLiteral("UpDay"), QStringLiteral("English"), QStringLiteral("Japanese")};

QStringList integrityFaults(Connection& connection)
{
    auto rows = connection.execute(QStringLiteral("pragma integrity_check"), {});
    QStringList faults;
    while (rows->next()) {
        const QString line = rows->value(0).toString();
        if (line != QLatin1String("ok"))
            faults << line;
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
        return {QStringLiteral("table wordDB is missing")};
    QStringList missing;
    for (const QString& column : kColumns) {
        if (!present.contains(column, Qt::CaseInsensitive))
            missing << QStringLiteral("column %1 of wordDB is missing").arg(column);
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
        m_problems << error.engineText();
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
