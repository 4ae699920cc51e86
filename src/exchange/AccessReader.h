#pragma once

#include "WordRecord.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Access database files (Jet 3 and Jet 4 .mdb, and .accdb as far as mdbtools' library reads them),
// read through that library. Only this reader sees the library; a build without it (TESSIMOR_ACCESS off)
// still recognises such a file, and refuses to read it with the ways to bring it over.
namespace AccessReader {

// Whether this build reads Access files at all.
bool available();

// Whether the file starts with an Access database's header.
bool recognises(const QString& path);

struct Table {
    // The values of the columns asked for, row by row in file order. Null and empty both come back
    // empty; a Date/Time value comes formatted as "yyyy/MM/dd HH:mm:ss".
    QVector<QStringList> rows;
    // Rows (numbered from 1) where the library gave "?" for a character outside the Basic
    // Multilingual Plane that the file holds.
    QVector<int> replacedRows;
};

// The names of the tables the file holds, but for the database's own; throws ExchangeError when the file
// cannot be opened.
QStringList tables(const QString& path);

// Throws ExchangeError when the file cannot be opened, the table or a column is missing, or fewer or
// more rows are read than the table's definition counts (a file that was not closed cleanly).
Table read(const QString& path, const QString& table, const QStringList& columns);

} // namespace AccessReader

// The pairs of an Access notebook's table wordDB, ready for WordImporter.
struct AccessWords {
    QVector<WordRecord> words;
    // Rows (numbered from 1) left out for an empty English or Japanese, as Register refuses them.
    QVector<int> emptyRows;
    QVector<int> replacedRows;
    // Pairs longer than the window's boxes take (TextLimits).
    int longPairs = 0;
};

// Throws ExchangeError as AccessReader::read does.
AccessWords readAccessWords(const QString& path);
