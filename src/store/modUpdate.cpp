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
    // The previous connection stays open while a grid still shows a result on it.
    cn = std::make_shared<Connection>(m_path);
}

void modUpdate::BindResult(ResultGrid& grid, const Statements::List& list, const RowCount& rows,
                           std::optional<FirstPage> ahead)
{
    mySQL = list.plain();
    rs = std::make_unique<PagedResult>(cn, list, myValues, rows, std::move(ahead));
    grid.setDataSource(std::move(rs));
}

void modUpdate::RunStatement()
{
    cmd = cn->execute(mySQL, myValues);
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
    return found->next() && found->value(0).toInt() == 4;
}

void modUpdate::SearchWord()
{
    OpenConnection();
    // The index finds the candidates of a text of three characters or more; "like" decides.
    const QString text = m_view.text3();
    const bool indexed = Statements::indexable(text) && HasSearchIndex();
    const Statements::List list = Statements::searchList(indexed);
    QVariantList pattern{Statements::searchPattern(text)};
    if (indexed)
        pattern.prepend(Statements::searchPhrase(text));
    // A text found in few words makes the engine walk the whole table (or many candidates). Walk it
    // once: read the first page of hits first, and when that page holds them all, count just those rows
    // (their row ids are the last key of each) instead of walking again.
    m_searchHits.reset();
    FirstPage hits = FirstPage::read(*cn, list, pattern);
    Statements::List count{Statements::kCounted, list.where, {}};
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
    if (CountIsPositive(m_view.DataGrid2())) {
        m_searchHits = std::move(hits);
        ShowSearchList();
    } else {
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
