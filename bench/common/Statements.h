#pragma once

// The statements the store runs, copied from src/store (modUpdate.cpp for the commands, PagedResult.cpp
// for how a list is read a page at a time), so the raw figures time the same work. When the store's
// statements change, change them here: this is the only place the benchmark names them.
namespace Statements {

inline const char kNormalList[] = "select English,Japanese from wordDB order by UpDay Desc";
inline const char kAlphabetList[] = "select English,Japanese from wordDB order by English";
inline const char kDateList[] = "select * from wordDB order by UpDay Desc";
inline const char kTotalCount[] = "select count(*) as DataCnt from wordDB ";
inline const char kCheckPair[] = "select count(*) as DataCnt from wordDB where English = ? and Japanese = ?";
inline const char kInsert[] = "insert into wordDB(UpDay,English,Japanese) values(?,?,?)";
inline const char kDelete[] = "delete from wordDB where English = ? and Japanese = ?";
inline const char kSearchCount[] = "select count(*) as DataCnt from wordDB where English like ? escape '\\'";
// The search reads its first page of hits with their row ids first; only a full page needs kSearchCount
// (a short one is counted by its row ids, which costs next to nothing).
inline const char kSearchHits[] =
    "select rowid,English,Japanese from wordDB where English like ? escape '\\' order by UpDay Desc";
inline const char kSearchList[] =
    "select English,Japanese from wordDB where English like ? escape '\\' order by UpDay Desc";

// A page of a list: its statement with this appended, bound to the page size and the first row.
inline const char kPageSuffix[] = " limit ? offset ?";
constexpr int kPageSize = 256;

} // namespace Statements
