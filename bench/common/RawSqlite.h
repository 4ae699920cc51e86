#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <climits>

struct sqlite3;

// A connection of the benchmark's own through SQLite's C API: it fills notebooks fast, and times the
// store's statements with nothing of the toolkit in between.
class RawSqlite {
public:
    // Waits out a lock for up to busyTimeoutMs, by default as long as the store's connections do.
    explicit RawSqlite(const QString& path, int busyTimeoutMs = 1000);
    ~RawSqlite();
    RawSqlite(const RawSqlite&) = delete;
    RawSqlite& operator=(const RawSqlite&) = delete;

    void exec(const QByteArray& sql, const QVariantList& values = {});
    // Reads at most maxRows rows, every column of each as text, as a grid showing them would; returns
    // how many it read.
    int read(const QByteArray& sql, const QVariantList& values, int maxRows = INT_MAX);
    // The first column of the first row, as a number (a count).
    qint64 number(const QByteArray& sql, const QVariantList& values = {});
    // The first row's columns as text.
    QList<QByteArray> firstRow(const QByteArray& sql, const QVariantList& values = {});

    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};
