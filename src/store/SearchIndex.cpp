#include "SearchIndex.h"

#include "Connection.h"
#include "StoreError.h"

#include <QCoreApplication>

namespace {
// "like" alone decides which pairs are hits; the search text's own "%", "_" and "\" are escaped.
const QString kLike = QStringLiteral("English like ? escape '\\'");
// The index is bound first, to one quoted phrase of its query language, and yields the English texts that
// hold the text's trigrams (folding case its own way, wider than "like"); only rows with those are tried.
const QString kThroughIndex =
    QStringLiteral("English collate nocase in (select c0 from wordDB_Text_content where id in (select rowid "
                   "from wordDB_Text where wordDB_Text match ?)) and ") +
    kLike;

// The entries of the index that hold the text, read from the table of its texts (c0, the English; id, the
// entry's rowid).
const QString kIndexEntries = QStringLiteral(
    "id in (select rowid from wordDB_Text where wordDB_Text match ?) and c0 like ? escape '\\'");

const QString kTable = QStringLiteral("wordDB_Text");
const QStringList kTriggers = {QStringLiteral("wordDB_TextInsert"), QStringLiteral("wordDB_TextDelete"),
                               QStringLiteral("wordDB_TextUpdate")};

// It is keyed by the text itself (one entry a row), not by rowid, which a VACUUM may renumber. A row's entry
// is found again by the phrase of its text's first characters at the start of an entry, then the whole
// text: a lookup by the whole text would cost the square of its length.
const QString kCreateTable = QStringLiteral(
    "create virtual table wordDB_Text using fts5(English, tokenize = 'trigram', columnsize = 0)");
// Which texts the index holds: those with at least %2 characters before any NUL, the characters "like"
// sees, counted alike whether another program stored the text as text or as bytes.
const QString kHeldTemplate = QStringLiteral("length(cast(%1 as text)) >= %2");
// The phrase that finds the entry of old.English: at most 30 characters, and none from a NUL on, which
// would end the index's query text.
const QString kEntryOfOld = QStringLiteral(
    "rowid = (select rowid from wordDB_Text where wordDB_Text match '^\"' || "
    "replace(substr(cast(old.English as text), 1, min(30, length(cast(old.English as text)))), '\"', "
    "'\"\"') || '\"' and English = old.English limit 1)");
// The triggers, then the texts the table holds already; {new} is the test of new.English, {old} of
// old.English, {row} of a row's English, and {entry} the lookup of old.English's entry.
const QStringList kFillingTemplate = {
    QStringLiteral("create trigger if not exists wordDB_TextInsert after insert on wordDB when {new} "
                   "begin insert into wordDB_Text(English) values (new.English); end"),
    QStringLiteral("create trigger if not exists wordDB_TextDelete after delete on wordDB when {old} "
                   "begin delete from wordDB_Text where {entry}; end"),
    QStringLiteral("create trigger if not exists wordDB_TextUpdate after update of English on wordDB begin "
                   "delete from wordDB_Text where {old} and {entry}; "
                   "insert into wordDB_Text(English) select new.English where {new}; end"),
    QStringLiteral("insert into wordDB_Text(English) select English from wordDB where {row}"),
};

// Texts whose count of rows differs between wordDB and the index; %1 the test of a row's English.
const QString kDriftTemplate =
    QStringLiteral("with t as (select English collate binary as e, count(*) as n from wordDB where %1 "
                   "group by 1), i as (select English as e, count(*) as n from wordDB_Text group by 1) "
                   "select (select count(*) from (select * from t except select * from i)) + "
                   "(select count(*) from (select * from i except select * from t))");

QString held(const QString& value)
{
    return kHeldTemplate.arg(value).arg(SearchIndex::kMinimumLength);
}

QString likePattern(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QString phrase(const QString& text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// A very long text walks the table too, so that the engine refuses its pattern as it always has.
bool indexable(const QString& text)
{
    const qsizetype characters = text.toUcs4().size();
    return characters >= SearchIndex::kMinimumLength && characters <= 1000;
}

QStringList presentParts(Connection& connection)
{
    auto rows =
        connection.execute(QStringLiteral("select name from sqlite_master where name in (?, ?, ?, ?) and "
                                          "type in ('table', 'trigger')"),
                           QVariantList{kTable} + QVariantList(kTriggers.begin(), kTriggers.end()));
    QStringList names;
    while (rows->next())
        names << rows->text(0);
    return names;
}

// Runs `work` in one write transaction, taken first so that another program writing makes this wait, then
// refuse as busy.
template <typename Work> auto inTransaction(const QString& path, Work work)
{
    Connection connection(path);
    // The changed pages stay in memory until the commit, so the window goes on reading meanwhile.
    connection.execute(QStringLiteral("pragma cache_spill = off"));
    connection.execute(QStringLiteral("begin immediate"));
    try {
        const auto done = work(connection);
        connection.execute(QStringLiteral("commit"));
        return done;
    } catch (...) {
        try {
            connection.execute(QStringLiteral("rollback"));
        } catch (const StoreError&) {
        }
        throw;
    }
}

void create(Connection& connection)
{
    // An older file may lack the index of the English that the lookups through the index need.
    connection.execute(
        QStringLiteral("create index if not exists wordDB_Search on wordDB(English collate nocase)"));
    for (const QString& statement : SearchIndex::schema())
        connection.execute(statement);
}

void remake(Connection& connection)
{
    connection.execute(QStringLiteral("drop table if exists ") + kTable);
    for (const QString& trigger : kTriggers)
        connection.execute(QStringLiteral("drop trigger if exists ") + trigger);
    create(connection);
}
} // namespace

namespace SearchIndex {

bool usable(Connection& connection, const QString& text)
{
    return indexable(text) && present(connection);
}

Query count(const QString& text, bool throughIndex)
{
    if (!throughIndex)
        return {{Statements::kCounted, kLike, {}}, {likePattern(text)}};
    return {{Statements::kCounted, kIndexEntries, {}, false, QStringLiteral("wordDB_Text_content")},
            {phrase(text), likePattern(text)}};
}

Query list(const QString& text, bool throughIndex)
{
    const QString columns = QStringLiteral("English,Japanese");
    if (!throughIndex)
        return {{columns, kLike, Statements::kNewestFirst, true}, {likePattern(text)}};
    return {{columns, kThroughIndex, Statements::kNewestFirst, true}, {phrase(text), likePattern(text)}};
}

bool walks(qint64 hits, qint64 rows)
{
    return hits * hits * 20 >= 256 * rows;
}

QStringList schema()
{
    QStringList statements{kCreateTable};
    for (QString statement : kFillingTemplate)
        statements << statement.replace(QStringLiteral("{new}"), held(QStringLiteral("new.English")))
                          .replace(QStringLiteral("{old}"), held(QStringLiteral("old.English")))
                          .replace(QStringLiteral("{row}"), held(QStringLiteral("English")))
                          .replace(QStringLiteral("{entry}"), kEntryOfOld);
    return statements;
}

bool present(Connection& connection)
{
    return presentParts(connection).size() == 1 + kTriggers.size();
}

QStringList faults(Connection& connection)
{
    const QStringList parts = presentParts(connection);
    if (!parts.contains(kTable))
        return {};
    QStringList found;
    const QStringList statements = schema();
    for (int i = 0; i < kTriggers.size(); ++i) {
        const QString trigger = kTriggers.at(i);
        if (!parts.contains(trigger)) {
            found << QCoreApplication::translate("SearchIndex", "trigger %1 of the search index is missing")
                         .arg(trigger);
            continue;
        }
        // The engine keeps a trigger's statement as written, but for its opening words.
        QString current = statements.at(1 + i);
        current.replace(QStringLiteral("create trigger if not exists"), QStringLiteral("CREATE TRIGGER"));
        auto stored =
            connection.execute(QStringLiteral("select sql from sqlite_master where name = ?"), {trigger});
        if (stored->next() && stored->text(0) != current)
            found << QCoreApplication::translate("SearchIndex",
                                                 "trigger %1 of the search index is out of date")
                         .arg(trigger);
    }
    auto drift = connection.execute(kDriftTemplate.arg(held(QStringLiteral("English"))));
    if (drift->next() && drift->value(0).toLongLong() > 0)
        found << QCoreApplication::translate("SearchIndex",
                                             "the search index is out of step with wordDB (%1 texts differ)")
                     .arg(drift->value(0).toLongLong());
    if (!found.isEmpty())
        found << QCoreApplication::translate("SearchIndex", "tessimor-db upgrade makes the index afresh");
    return found;
}

Upgrade upgrade(const QString& path)
{
    return inTransaction(path, [](Connection& connection) {
        if (!presentParts(connection).contains(kTable)) {
            create(connection);
            return Upgrade::Added;
        }
        if (faults(connection).isEmpty())
            return Upgrade::UpToDate;
        remake(connection);
        return Upgrade::Rebuilt;
    });
}

void rebuild(const QString& path)
{
    inTransaction(path, [](Connection& connection) {
        remake(connection);
        return true;
    });
}

} // namespace SearchIndex
