#pragma once

#include "Statements.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class Connection;

// The search of the English texts, and the trigram index that spares it a walk over the whole table: the
// index's table and the triggers that keep it in step inside the file for every writer, whether a notebook
// holds it, whether it has drifted, and adding or rebuilding it.
namespace SearchIndex {

// The index holds every English text of at least this many characters; a shorter search text has no
// trigram to look up, and a longer one cannot be inside a shorter text.
constexpr int kMinimumLength = 3;

// What a search runs: the count of its hits (one row, DataCnt) and the hits newest first, both on the same
// condition bound to the same values, so the count is always the length of the list.
struct Search {
    Statements::List count;
    Statements::List list;
    QVariantList values;
};

// The search for `text` as typed (its "%", "_" and "\" are not wildcards), through the index or by a walk
// over the table.
Search statements(const QString& text, bool indexed);
// Through the index when the notebook holds it and the text has trigrams to look up.
Search search(Connection& connection, const QString& text);

// The statements that make the index in a notebook that has none, filling it from wordDB.
QStringList schema();
// Whether the notebook holds the index, complete with its triggers.
bool present(Connection& connection);
// What keeps an index that is there from being trusted: a missing trigger, or texts whose count differs
// between wordDB and the index. Empty without an index.
QStringList faults(Connection& connection);

// Adds the index to a notebook made without it, in one transaction; false when it is there already.
// Throws StoreError (busy while another program writes).
bool add(const QString& path);
// Makes the index afresh from wordDB, triggers and all, in one transaction.
void rebuild(const QString& path);

} // namespace SearchIndex
