#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

// Every statement the store runs on the table, in one place, so that the importer and the benchmark's raw
// side run exactly what the window runs. English is compared and ordered ignoring ASCII case in the
// statements themselves, so a table created without the column's collation behaves like one `init` made.
namespace Statements {

// A pair is identified by both its texts.
inline const QString kPairMatch = QStringLiteral("English collate nocase = ? and Japanese = ?");
inline const QString kInsert = QStringLiteral("insert into wordDB(UpDay,English,Japanese) values(?,?,?)");
inline const QString kDelete = QStringLiteral("delete from wordDB where ") + kPairMatch;
inline const QString kTableLength = QStringLiteral("select count(*) from wordDB");

// A statement on wordDB whose rows a grid shows. A list's order is total (rowid last settles exact
// duplicates), so a page can be read from the key of a row beside it, in either direction, and every page
// holds the rows the plain statement holds there. init's indexes hold each order's keys in turn.
struct List {
    QString columns;
    QString where;
    // The order's keys; none for a statement of one row.
    QStringList order;
    bool descending = false;
    QString table = QStringLiteral("wordDB");

    QString plain() const { return select(columns) + orderBy(descending); }
    // The columns followed by the keys; `reverse` reads against the list's order, `keyed` starts after a
    // key bound as keyValues() after the where's values; bound last: limit and offset.
    QString page(bool reverse, bool keyed) const
    {
        QString shown = columns;
        for (const QString& key : order)
            shown += QLatin1Char(',') + key.section(QLatin1Char(' '), 0, 0);
        const bool down = descending != reverse;
        QString sql = select(shown);
        if (keyed) {
            sql += where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ");
            // The first key alone as well: the engine seeks an index by a row value only when its first
            // term is a bare column, and the English key carries its collation.
            sql += QStringLiteral("%1 %2= ? and (%3) %2 (%4)")
                       .arg(order.constFirst(), down ? QStringLiteral("<") : QStringLiteral(">"),
                            order.join(QLatin1Char(',')),
                            QStringLiteral("?,").repeated(order.size() - 1) + QLatin1Char('?'));
        }
        return sql + orderBy(down) + QStringLiteral(" limit ? offset ?");
    }
    static QVariantList keyValues(const QVariantList& key) { return QVariantList{key.constFirst()} + key; }

private:
    QString select(const QString& what) const
    {
        return QStringLiteral("select ") + what + QStringLiteral(" from ") + table +
               (where.isEmpty() ? QString() : QStringLiteral(" where (") + where + QLatin1Char(')'));
    }
    QString orderBy(bool down) const
    {
        QStringList keys;
        for (const QString& key : order)
            keys << key + (down ? QStringLiteral(" desc") : QString());
        return keys.isEmpty() ? QString() : QStringLiteral(" order by ") + keys.join(QLatin1Char(','));
    }
};

// Newest first; pairs of one second by English, then Japanese, both descending, as the export orders them.
inline const QStringList kNewestFirst = {QStringLiteral("UpDay"), QStringLiteral("English collate nocase"),
                                         QStringLiteral("Japanese"), QStringLiteral("rowid")};
inline const QStringList kByEnglish = {QStringLiteral("English collate nocase"), QStringLiteral("Japanese"),
                                       QStringLiteral("UpDay"), QStringLiteral("rowid")};
inline const List kNormalList{QStringLiteral("English,Japanese"), {}, kNewestFirst, true};
inline const List kAlphabetList{QStringLiteral("English,Japanese"), {}, kByEnglish, false};
inline const List kDateList{QStringLiteral("*"), {}, kNewestFirst, true};
inline const List kDateAlphabetList{QStringLiteral("*"), {}, kByEnglish, false};
// Counts a grid shows in one row, read back by the field's name.
inline const QString kCounted = QStringLiteral("count(*) as DataCnt");
inline const List kTotalCountList{kCounted, {}, {}};
inline const List kCheckPairList{kCounted, kPairMatch, {}};
inline const QString kTotalCount = kTotalCountList.plain();
inline const QString kCheckPair = kCheckPairList.plain();

// The search's bound value is the text as a "like" pattern whose own "%", "_" and "\" are escaped; the
// "like" alone decides which pairs are hits.
inline const QString kSearchMatch = QStringLiteral("English like ? escape '\\'");
// With the trigram index, bound first to searchPhrase(): only English texts the index holds as containing
// the text (folding case its own way, wider than "like") are tried by the "like".
inline const QString kIndexedSearchMatch =
    QStringLiteral("English collate nocase in (select c0 from wordDB_Text_content where id in (select rowid "
                   "from wordDB_Text where wordDB_Text match ?)) and ") +
    kSearchMatch;
inline const QString kSearchCount = List{kCounted, kSearchMatch, {}}.plain();
// The index holds every English text of at least this many characters; a shorter search text has no
// trigram to look up, and a longer one cannot be inside a shorter text.
constexpr int kIndexedLength = 3;
// The index is trusted only with its table, the table holding its texts, and all three triggers that keep
// it in step.
inline const QString kHasSearchIndex = QStringLiteral(
    "select count(*) = 5 from sqlite_master where name in ('wordDB_Text', 'wordDB_Text_content', "
    "'wordDB_TextInsert', 'wordDB_TextDelete', 'wordDB_TextUpdate')");
// With the index, the hits are counted among its entries, one a row of wordDB holding that row's English:
// those it finds by searchPhrase() that pass the same "like", read straight from the table of its texts.
inline const List kIndexedSearchCount{
    kCounted,
    QStringLiteral(
        "id in (select rowid from wordDB_Text where wordDB_Text match ?) and c0 like ? escape '\\'"),
    {},
    false,
    QStringLiteral("wordDB_Text_content")};
// Whether the pages of a search with this many hits (of about this many rows) are read walking the list's
// own order, which meets a page of hits after about 256 * rows / hits rows, rather than through the index,
// where each hit costs about what 20 rows walked do.
inline bool searchWalks(qint64 hits, qint64 rows)
{
    return hits * hits * 20 >= 256 * rows;
}
inline List searchList(bool indexed)
{
    return {QStringLiteral("English,Japanese"), indexed ? kIndexedSearchMatch : kSearchMatch, kNewestFirst,
            true};
}
// The search text is found as typed: its own "%", "_" and "\" are not wildcards.
inline QString searchPattern(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}
// One quoted phrase of the index's query language, in which only the quote has a meaning of its own.
inline QString searchPhrase(const QString& text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}
// A very long text keeps the scan too, so that the engine refuses its pattern as it always has.
inline bool indexable(const QString& text)
{
    const qsizetype characters = text.toUcs4().size();
    return characters >= kIndexedLength && characters <= 1000;
}
// Narrows a search count to the row ids of a first page that held every hit; %1 is one "?" per row.
inline const QString kAmongRows = QStringLiteral(" and rowid in (%1)");

// The trigram index of the English texts, kept in step by triggers inside the file for every writer. It is
// keyed by the text itself (one entry a row), not by rowid, which a VACUUM may renumber; a row's entry is
// found again by its text at the start of an entry. Triggers left behind by a dropped index are kept.
inline const QStringList kSearchIndex = {
    QStringLiteral(
        "create virtual table wordDB_Text using fts5(English, tokenize = 'trigram', columnsize = 0)"),
    QStringLiteral(
        "create trigger if not exists wordDB_TextInsert after insert on wordDB when length(new.English) >= 3 "
        "begin insert into wordDB_Text(English) values (new.English); end"),
    QStringLiteral(
        "create trigger if not exists wordDB_TextDelete after delete on wordDB when length(old.English) >= 3 "
        "begin delete from wordDB_Text where rowid = (select rowid from wordDB_Text where "
        "wordDB_Text match '^\"' || replace(old.English, '\"', '\"\"') || '\"' and English = "
        "old.English limit 1); end"),
    QStringLiteral("create trigger if not exists wordDB_TextUpdate after update of English on wordDB begin "
                   "delete from wordDB_Text where length(old.English) >= 3 and rowid = (select rowid from "
                   "wordDB_Text where wordDB_Text match '^\"' || replace(old.English, '\"', '\"\"') || '\"' "
                   "and English = old.English limit 1); "
                   "insert into wordDB_Text(English) select new.English where length(new.English) >= 3; end"),
    QStringLiteral("insert into wordDB_Text(English) select English from wordDB where length(English) >= 3"),
};
// Texts whose count of rows differs between wordDB and its index.
inline const QString kSearchIndexDrift = QStringLiteral(
    "with t as (select English collate binary as e, count(*) as n from wordDB where length(English) >= 3 "
    "group by 1), i as (select English as e, count(*) as n from wordDB_Text group by 1) "
    "select (select count(*) from (select * from t except select * from i)) + "
    "(select count(*) from (select * from i except select * from t))");

// A page of a statement of one row: bound to the page size and the first row.
inline const QString kPage = QStringLiteral(" limit ? offset ?");

} // namespace Statements
