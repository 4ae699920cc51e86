#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <memory>

// One open connection to the notebook file. Opening never creates a missing file; closing happens when
// the last owner (an operation, or the result a grid shows) lets go.
class Connection {
public:
    explicit Connection(const QString& path);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Prepares and runs a statement with its bound values; throws StoreError on failure.
    std::unique_ptr<QSqlQuery> execute(const QString& sql, const QVariantList& values);

    static int openCount();

private:
    QString m_name;
};
