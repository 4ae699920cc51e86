#pragma once

#include <QByteArray>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement on a raw connection; finalized when it goes, so no read stays open.
class RawStatement {
public:
    RawStatement(sqlite3* db, const QByteArray& sql);
    ~RawStatement();
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;

    // Binds the values in order: integers as integers, everything else as UTF-8 text.
    void bind(const QVariantList& values);
    // Steps once; true while there is a row. Throws std::runtime_error on failure.
    bool step();
    // Makes the statement ready to be bound and run again.
    void reset();

    int columnCount() const;
    QByteArray text(int column) const;
    qint64 number(int column) const;

private:
    void check(int code) const;

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};
