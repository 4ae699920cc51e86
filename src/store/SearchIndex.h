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

// A statement a search runs, and its values. The search text is found as typed: its "%", "_" and "\" are
// not wildcards.
struct Query {
    Statements::List statement;
    QVariantList values;
};

// Whether a search for `text` goes through the index: when the notebook holds it and the text has
// trigrams to look up.
bool usable(Connection& connection, const QString& text);
// How many pairs hold `text` in their English: one row, DataCnt. Through the index, its entries are
// counted, one a row of wordDB.
Query count(const QString& text, bool throughIndex);
// The pairs that hold `text`, newest first. Through the index only the rows with a text it finds are
// tried, but all of them are sorted before the first page.
Query list(const QString& text, bool throughIndex);
// Whether the list of `hits` in a table of about `rows` pairs is read faster by walking the newest-first
// order, which meets a page of hits after about 256 * rows / hits rows, than through the index, where each
// hit costs about what 20 rows walked do.
bool walks(qint64 hits, qint64 rows);

// The statements that make the index in a notebook that has none, filling it from wordDB.
QStringList schema();
// Whether the notebook holds the index, complete with its triggers.
bool present(Connection& connection);
// What keeps an index that is there from being trusted: a missing or outdated trigger, or texts whose count
// differs between wordDB and the index, with a last line saying how to mend it. Empty without an index.
QStringList faults(Connection& connection);

enum class Upgrade { Added, Rebuilt, UpToDate };
// Adds the index to a notebook made without it, or makes it afresh when faults() finds any, in one
// transaction. Throws StoreError (busy while another program writes).
Upgrade upgrade(const QString& path);
// Makes the index afresh from wordDB, triggers and all, in one transaction.
void rebuild(const QString& path);

} // namespace SearchIndex
