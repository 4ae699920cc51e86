#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// The statements the window runs on the table, in one place, so that the importer and the benchmark's raw
// side run exactly what the window runs. English is compared and ordered ignoring ASCII case in the
// statements themselves, so a table created without the column's collation behaves like one `init` made.
namespace Statements {

// A pair is identified by both its texts.
inline const QString kPairMatch = QStringLiteral("English collate nocase = ? and Japanese = ?");
inline const QString kInsert = QStringLiteral("insert into wordDB(UpDay,English,Japanese) values(?,?,?)");
inline const QString kDelete = QStringLiteral("delete from wordDB where ") + kPairMatch;

// A statement on wordDB whose rows a grid shows. A list's order is total (rowid last settles exact
// duplicates), so a page can be read from the key of a row beside it, in either direction, and every page
// holds the rows the plain statement holds there. init's indexes hold each order's keys in turn.
struct List {
    enum class Direction { WithTheList, AgainstTheList };
    enum class From { TheStart, AKey };

    QString columns;
    QString where;
    // The order's keys; none for a statement of one row.
    QStringList order;
    bool descending = false;
    QString table = QStringLiteral("wordDB");

    QString plain() const { return select(columns) + orderBy(descending); }
    // How many rows the list holds.
    QString count() const { return select(QStringLiteral("count(*)")); }
    // A page of the list: its columns followed by the keys, read in `direction` from the start or from a
    // key bound as keyValues() after the where's values; bound last: limit and offset.
    QString page(Direction direction, From from) const
    {
        QString shown = columns;
        for (const QString& key : order)
            shown += QLatin1Char(',') + key.section(QLatin1Char(' '), 0, 0);
        const bool down = descending == (direction == Direction::WithTheList);
        QString sql = select(shown);
        if (from == From::AKey) {
            sql += where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ");
            // The first key alone as well: the engine seeks an index by a row value only when its first
            // term is a bare column, and the English key carries its collation.
            const QString beyond = down ? QStringLiteral("<") : QStringLiteral(">");
            const QString marks = QStringLiteral("?,").repeated(order.size() - 1) + QLatin1Char('?');
            sql += QStringLiteral("%1 %2= ? and (%3) %2 (%4)")
                       .arg(order.constFirst(), beyond, order.join(QLatin1Char(',')), marks);
        }
        return sql + orderBy(down) + QStringLiteral(" limit ? offset ?");
    }
    static QVariantList keyValues(const QVariantList& key) { return QVariantList{key.constFirst()} + key; }

private:
    QString select(const QString& what) const
    {
        QString sql = QStringLiteral("select ") + what + QStringLiteral(" from ") + table;
        if (!where.isEmpty())
            sql += QStringLiteral(" where (") + where + QLatin1Char(')');
        return sql;
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

} // namespace Statements
