#include "NotebookCheck.h"

#include "Connection.h"
#include "Statements.h"
#include "StoreError.h"

#include <QSqlQuery>

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
// The search index, when the file has one, must hold its triggers and every English text as often as
// wordDB does; an index out of step would hide hits.
QStringList searchIndexFaults(Connection& connection)
{
    auto parts = connection.execute(
        QStringLiteral("select name from sqlite_master where name like 'wordDB\\_Text%' escape '\\' and "
                       "type in ('table', 'trigger')"),
        {});
    QStringList present;
    while (parts->next())
        present << parts->value(0).toString();
    if (!present.contains(QStringLiteral("wordDB_Text")))
        return {};
    QStringList faults;
    for (const char* trigger : {"wordDB_TextInsert", "wordDB_TextDelete", "wordDB_TextUpdate"}) {
        if (!present.contains(QLatin1String(trigger)))
            faults << QStringLiteral("trigger %1 of the search index is missing").arg(QLatin1String(trigger));
    }
    auto drift = connection.execute(Statements::kSearchIndexDrift, {});
    if (drift->next() && drift->value(0).toLongLong() > 0)
        faults << QStringLiteral("the search index is out of step with wordDB (%1 texts differ); "
                                 "drop table wordDB_Text and run tessimor-db upgrade")
                      .arg(drift->value(0).toLongLong());
    return faults;
}
} // namespace

NotebookCheck::NotebookCheck(const QString& path)
{
    try {
        run(path);
    } catch (const StoreError& error) {
        // A notebook held by a writer is not damaged; that failure goes to the caller as it is.
        if (error.isBusy())
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
    m_problems << searchIndexFaults(connection);
    auto count = connection.execute(Statements::kTableLength, {});
    m_pairs = count->next() ? count->value(0).toLongLong() : 0;
}
