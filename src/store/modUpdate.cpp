#include "modUpdate.h"

#include "Clock.h"
#include "Connection.h"
#include "PagedResult.h"
#include "SearchIndex.h"
#include "Statements.h"
#include "StoreError.h"
#include "UpDay.h"
#include "WordView.h"

namespace {
constexpr float kTwoColumnWidth = 4500;
constexpr float kThreeColumnWidth = 3000;
} // namespace

modUpdate::modUpdate(WordView& view, QString databasePath, const Clock& clock, LockPatience patience)
    : m_view(view)
    , m_path(std::move(databasePath))
    , m_clock(clock)
    , m_patience(std::move(patience))
{}

modUpdate::~modUpdate() = default;

// A connection of its own for every operation: a notebook file replaced or restored meanwhile is seen as it
// is now, and never written through a connection to the file it replaced.
void modUpdate::OpenConnection()
{
    cn = std::make_shared<Connection>(m_path, Connection::Access::ReadWrite, m_patience);
}

void modUpdate::BindResult(ResultGrid& grid, const Statements::List& list, int rows)
{
    rs = std::make_unique<PagedResult>(cn, list, myValues, rows);
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

// A notebook another program is still writing after the wait is there all the same: the learner is told,
// and the window stays as it was.
void modUpdate::ShowNormalList()
{
    try {
        AlphaOrder = false;
        ShowWholeTable(Statements::kNormalList, kTwoColumnWidth);
    } catch (const std::exception& error) {
        const auto* store = dynamic_cast<const StoreError*>(&error);
        if (store && store->isBusy()) {
            m_view.showMessage(store->userMessage());
            return;
        }
        m_view.showMessage(QStringLiteral("データベースが見つかりません"));
        m_view.endProgram();
    }
}

// The table is counted first, so the list shown is given its length instead of counting it again; the
// count label changes only once the list it counts is shown.
void modUpdate::ShowWholeTable(const Statements::List& list, float columnWidth)
{
    SearchMode = 0;
    m_view.DataGrid1().setDefaultColumnWidth(columnWidth);
    CountTable();
    OpenConnection();
    myValues.clear();
    BindResult(m_view.DataGrid1(), list, ReadCell(m_view.DataGrid3(), QStringLiteral("DataCnt")).toInt());
    ShowCountLabel();
}

void modUpdate::ShowCount()
{
    CountTable();
    ShowCountLabel();
}

void modUpdate::CountTable()
{
    OpenConnection();
    myValues.clear();
    BindResult(m_view.DataGrid3(), Statements::kTotalCountList);
}

void modUpdate::ShowCountLabel()
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
    myValues = {UpDay::format(m_clock.now()), m_view.text1().trimmed(), m_view.text2().trimmed()};
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

void modUpdate::SearchWord()
{
    OpenConnection();
    const QString text = m_view.text3();
    const SearchIndex::Query count = SearchIndex::count(text, SearchIndex::usable(*cn, text));
    myValues = count.values;
    BindResult(m_view.DataGrid2(), count.statement);
    if (CountIsPositive(m_view.DataGrid2())) {
        ShowSearchList();
    } else {
        m_view.showMessage(QStringLiteral("該当するデータがありません"));
        m_view.setText3(QString());
    }
}

void modUpdate::ShowSearchList()
{
    m_view.DataGrid1().setDefaultColumnWidth(kTwoColumnWidth);
    OpenConnection();
    const QString text = m_view.text3();
    // The hits just counted, and the table's length as last counted, which is near enough to choose by.
    const int hits = ReadCell(m_view.DataGrid2(), QStringLiteral("DataCnt")).toInt();
    const int rows = ReadCell(m_view.DataGrid3(), QStringLiteral("DataCnt")).toInt();
    const bool throughIndex = SearchIndex::usable(*cn, text) && !SearchIndex::walks(hits, rows);
    const SearchIndex::Query list = SearchIndex::list(text, throughIndex);
    myValues = list.values;
    BindResult(m_view.DataGrid1(), list.statement, hits);
    SearchMode = 1;
    ShowCount();
}
