#pragma once

#include <QString>

// Every statement the store runs on the table, in one place, so that the importer and the benchmark's raw
// side run exactly what the window runs.
namespace Statements {

// A pair is identified by both its texts.
inline const QString kPairMatch = QStringLiteral("English = ? and Japanese = ?");
inline const QString kInsert = QStringLiteral("insert into wordDB(UpDay,English,Japanese) values(?,?,?)");
inline const QString kDelete = QStringLiteral("delete from wordDB where ") + kPairMatch;
inline const QString kCheckPair =
    QStringLiteral("select count(*) as DataCnt from wordDB where ") + kPairMatch;

inline const QString kNormalList = QStringLiteral("select English,Japanese from wordDB order by UpDay Desc");
inline const QString kAlphabetList = QStringLiteral("select English,Japanese from wordDB order by English");
inline const QString kDateList = QStringLiteral("select * from wordDB order by UpDay Desc");
inline const QString kDateAlphabetList = QStringLiteral("select * from wordDB order by English");
inline const QString kTotalCount = QStringLiteral("select count(*) as DataCnt from wordDB ");
// Every whole-table list is as long as the table; counting the table is far cheaper than counting the
// sorted list.
inline const QString kTableLength = QStringLiteral("select count(*) from wordDB");

// The search's one bound value is the text as a "like" pattern whose own "%", "_" and "\" are escaped.
inline const QString kSearchCount =
    QStringLiteral("select count(*) as DataCnt from wordDB where English like ? escape '\\'");
// The hits with their row ids, so that a search can count a few known rows.
inline const QString kSearchHits = QStringLiteral(
    "select rowid,English,Japanese from wordDB where English like ? escape '\\' order by UpDay Desc");
inline const QString kSearchList = QStringLiteral(
    "select English,Japanese from wordDB where English like ? escape '\\' order by UpDay Desc");
// The search text is found as typed: its own "%", "_" and "\" are not wildcards.
inline QString searchPattern(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}
// Narrows kSearchCount to the row ids of a first page that held every hit; %1 is one "?" per row.
inline const QString kAmongRows = QStringLiteral(" and rowid in (%1)");

// A page of a list: its statement with this appended, bound to the page size and the first row.
inline const QString kPage = QStringLiteral(" limit ? offset ?");

} // namespace Statements
