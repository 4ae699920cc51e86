#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// One statement on a connection: exec() binds the values and runs it to its first row, so a write has taken
// effect when it returns; next() then hands out that row and each one after. Throws StoreError when the
// engine fails.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void exec(const QVariantList& values);
    bool next();
    int columnCount() const;
    // The name a field is read back by.
    QString name(int column) const;
    // A value as the engine holds it: null, a whole number, a real number, bytes, or text.
    QVariant value(int column) const;
    QString text(int column) const;

private:
    void bind(int at, const QVariant& value);
    void check(int code) const;

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    // exec() has stepped onto a row that next() has not yet handed out.
    bool m_pending = false;
    bool m_row = false;
};

// How long a statement waits for another program's lock before it reports the notebook busy, and what is
// done once when the waiting starts. A command line rides out another copy's short write; the window waits
// longer, as the learner would.
struct LockPatience {
    static constexpr int kBusyTimeoutMs = 1000;
    int ms = kBusyTimeoutMs;
    std::function<void()> waiting;
};

// One open connection to the notebook file, the program's only way into the engine. Opening never
// creates a missing file unless asked to; the connection closes with its last owner (an operation, or
// the result a grid shows).
class Connection {
public:
    // ReadOnly suits commands that only read, so they also work on a notebook the user may not write.
    enum class Access { ReadWrite, ReadOnly, Create };

    // A read-only connection first plays back a journal an interrupted writer left, which takes a moment
    // of write access; without it, it throws StoreError saying so.
    explicit Connection(const QString& path, Access access = Access::ReadWrite, LockPatience patience = {});
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Prepares and runs a statement with its bound values, to its first row.
    std::unique_ptr<Statement> execute(const QString& sql, const QVariantList& values = {});
    // A statement prepared once and run many times with exec(), for work done row by row.
    std::unique_ptr<Statement> prepare(const QString& sql);
    // Every page of `source` replaces this database's, in one write transaction that other connections to
    // the file see at their next read. A damaged database is replaced as well as a sound one.
    void overwriteWith(Connection& source);

private:
    void open(const QString& path, Access access);
    [[noreturn]] void fail(int code);
    static int waitForLock(void* connection, int tries);

    sqlite3* m_db = nullptr;
    LockPatience m_patience;
    qint64 m_waitingSince = 0;
};
