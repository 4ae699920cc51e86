#include "modUpdate.h"

#include "Clock.h"
#include "Connection.h"
#include "PagedResult.h"
#include "Statements.h"
#include "StoreError.h"
#include "UpDay.h"
#include "WordView.h"

#include <QSqlQuery>

namespace {
constexpr float kTwoColumnWidth = 4500;
constexpr float kThreeColumnWidth = 3000;
} // namespace

modUpdate::modUpdate(WordView& view, QString databasePath, const Clock& clock)
    : m_view(view)
    , m_path(std::move(databasePath))
    , m_clock(clock)
{}

modUpdate::~modUpdate() = default;

void modUpdate::OpenConnection()
{
    // The connection under the grids serves the next command too, sparing it the schema and the pages
    // read again, while the file is as the last command left it or changed only through SQLite; otherwise a
    // fresh one sees it as it is.
    cn = m_open.lock();
    if (!cn || !cn->fileAsNoted()) {
        cn = std::make_shared<Connection>(m_path);
        m_open = cn;
    }
}

void modUpdate::BindResult(ResultGrid& grid, const Statements::List& list, const RowCount& rows,
                           std::optional<FirstPage> ahead)
{
    mySQL = list.plain();
    rs = std::make_unique<PagedResult>(cn, list, myValues, rows, std::move(ahead));
    cn->noteFile();
    grid.setDataSource(std::move(rs));
}

void modUpdate::RunStatement()
{
    cmd = cn->execute(mySQL, myValues);
    cn->noteFile();
}

void modUpdate::CloseConnection()
{
    cmd.reset();
    cn.reset();
}

QString modUpdate::ReadCell(ResultGrid& grid, const QString& field) const
{
    return grid.columnText(field);
}

bool modUpdate::CountIsPositive(ResultGrid& grid) const
{
    return ReadCell(grid, QStringLiteral("DataCnt")).toDouble() > 0.0;
}

void modUpdate::ShowNormalList()
{
    try {
        AlphaOrder = false;
        ShowWholeTable(Statements::kNormalList, kTwoColumnWidth);
    } catch (const std::exception&) {
        m_view.showMessage(QStringLiteral("データベースが見つかりません"));
        m_view.endProgram();
    }
}

// The table is counted once: the count shown under the list is the list's length.
void modUpdate::ShowWholeTable(const Statements::List& statement, float columnWidth)
{
    SearchMode = 0;
    m_view.DataGrid1().setDefaultColumnWidth(columnWidth);
    OpenConnection();
    CountTable();
    myValues.clear();
    BindResult(m_view.DataGrid1(), statement,
               RowCount{{}, {}, ReadCell(m_view.DataGrid3(), QStringLiteral("DataCnt")).toInt()});
}

void modUpdate::CountTable()
{
    myValues.clear();
    BindResult(m_view.DataGrid3(), Statements::kTotalCountList);
    ShowCount();
}

void modUpdate::ShowCount()
{
    ResultGrid& counted = SearchMode == 1 ? m_view.DataGrid2() : m_view.DataGrid3();
    m_view.setLabel3(ReadCell(counted, QStringLiteral("DataCnt")) + QStringLiteral("件"));
}

void modUpdate::NormalOrder()
{
    ShowNormalList();
}

void modUpdate::ShowAlphabetList()
{
    ShowWholeTable(Statements::kAlphabetList, kTwoColumnWidth);
    AlphaOrder = true;
}

void modUpdate::ShowDateList()
{
    ShowWholeTable(AlphaOrder ? Statements::kDateAlphabetList : Statements::kDateList, kThreeColumnWidth);
}

int modUpdate::CheckRegistered(const QString& English, const QString& Japanese)
{
    OpenConnection();
    myValues = {English, Japanese};
    BindResult(m_view.DataGrid2(), Statements::kCheckPairList);
    return CountIsPositive(m_view.DataGrid2()) ? 1 : 0;
}

void modUpdate::InsertWord()
{
    OpenConnection();
    mySQL = Statements::kInsert;
    myValues = {UpDay::format(m_clock.now()), m_view.text1(), m_view.text2()};
    RunStatement();
    m_view.showMessage(QStringLiteral("登録しました"));
    m_view.setText1(QString());
    m_view.setText2(QString());
    CloseConnection();
}

void modUpdate::DeleteWord()
{
    OpenConnection();
    mySQL = Statements::kDelete;
    myValues = {ReadCell(m_view.DataGrid1(), QStringLiteral("English")),
                ReadCell(m_view.DataGrid1(), QStringLiteral("Japanese"))};
    RunStatement();
    CloseConnection();
    ShowNormalList();
    m_view.setCommand2Enabled(false);
}

bool modUpdate::HasSearchIndex()
{
    auto found = cn->execute(Statements::kHasSearchIndex, {});
    return found->next() && found->value(0).toBool();
}

void modUpdate::SearchWord()
{
    OpenConnection();
    const QString text = m_view.text3();
    const QVariantList pattern{Statements::searchPattern(text)};
    m_searchHits.reset();
    if (Statements::indexable(text) && HasSearchIndex()) {
        // The index counts the hits of a text of three characters or more; "like" decides.
        const QVariantList indexed = QVariantList{Statements::searchPhrase(text)} + pattern;
        myValues = indexed;
        BindResult(m_view.DataGrid2(), Statements::kIndexedSearchCount);
        const int hits = ReadCell(m_view.DataGrid2(), QStringLiteral("DataCnt")).toInt();
        // The table's length as last counted is near enough to choose how to read the pages.
        const bool walk =
            Statements::searchWalks(hits, ReadCell(m_view.DataGrid3(), QStringLiteral("DataCnt")).toInt());
        if (hits > 0)
            m_searchHits = FirstPage::read(*cn, Statements::searchList(!walk), walk ? pattern : indexed);
    } else {
        // Without the index a text found in few words makes the engine walk the whole table. Walk it once:
        // read the first page of hits first, and when that page holds them all, count just those rows
        // (their row ids are the last key of each) instead of walking again.
        FirstPage hits = FirstPage::read(*cn, Statements::searchList(false), pattern);
        Statements::List count{Statements::kCounted, Statements::kSearchMatch, {}};
        myValues = pattern;
        if (hits.page.rows.size() < PagedResult::kPageSize) {
            QStringList marks;
            for (const QVariantList& key : hits.page.keys) {
                marks << QStringLiteral("?");
                myValues << key.constLast().toLongLong();
            }
            count.where += Statements::kAmongRows.arg(marks.join(QLatin1Char(',')));
        }
        BindResult(m_view.DataGrid2(), count);
        m_searchHits = std::move(hits);
    }
    if (CountIsPositive(m_view.DataGrid2())) {
        ShowSearchList();
    } else {
        m_searchHits.reset();
        m_view.showMessage(QStringLiteral("該当するデータがありません"));
        m_view.setText3(QString());
    }
}

void modUpdate::ShowSearchList()
{
    m_view.DataGrid1().setDefaultColumnWidth(kTwoColumnWidth);
    // The search has just counted its hits into DataGrid2 and read their first page on this connection.
    std::optional<FirstPage> hits;
    hits.swap(m_searchHits);
    if (!hits)
        return;
    myValues = hits->values;
    const Statements::List list = hits->list;
    BindResult(m_view.DataGrid1(), list,
               RowCount{{}, {}, ReadCell(m_view.DataGrid2(), QStringLiteral("DataCnt")).toInt()},
               std::move(hits));
    SearchMode = 1;
    ShowCount();
}
