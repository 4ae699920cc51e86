#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <array>
#include <memory>
#include <optional>

struct sqlite3;

// One open connection to the notebook file. Opening never creates a missing file; closing happens when
// the last owner (an operation, or the result a grid shows) lets go.
class Connection {
public:
    // ReadOnly suits commands that only read, so they also work on a notebook the user may not write.
    enum class Access { ReadWrite, ReadOnly };

    explicit Connection(const QString& path, Access access = Access::ReadWrite);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Prepares and runs a statement with its bound values; throws StoreError on failure.
    std::unique_ptr<QSqlQuery> execute(const QString& sql, const QVariantList& values);
    // A statement prepared once and run many times with run(), for work done row by row.
    std::unique_ptr<QSqlQuery> prepare(const QString& sql);
    void run(QSqlQuery& query, const QVariantList& values);

    // Notes the file as it is now; fileAsNoted() tells whether this connection still sees it as it is: the
    // same file with the same permissions, unchanged or changed by a program using SQLite. Anything else
    // (a file replaced, removed, made read-only, or overwritten behind SQLite's back) needs a fresh
    // connection to be seen as it now is.
    void noteFile();
    bool fileAsNoted();
    // The engine's own handle under Qt's connection, for reading many rows at once.
    sqlite3* handle() const { return m_handle; }

private:
    QString m_name;
    QByteArray m_path;
    sqlite3* m_handle = nullptr;
    std::optional<std::array<qint64, 6>> m_noted;
    unsigned int m_dataVersion = 0;
};
