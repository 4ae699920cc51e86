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

const RowCount kWholeTable{Statements::kTableLength, {}};
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

void modUpdate::BindResult(ResultGrid& grid, const RowCount& rows, std::optional<FirstPage> ahead)
{
    rs = std::make_unique<PagedResult>(cn, mySQL, myValues, rows, std::move(ahead));
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
        ShowCount();
    } catch (const std::exception&) {
        m_view.showMessage(QStringLiteral("データベースが見つかりません"));
        m_view.endProgram();
    }
}

void modUpdate::ShowWholeTable(const QString& statement, float columnWidth)
{
    SearchMode = 0;
    m_view.DataGrid1().setDefaultColumnWidth(columnWidth);
    OpenConnection();
    mySQL = statement;
    myValues.clear();
    BindResult(m_view.DataGrid1(), kWholeTable);
}

void modUpdate::ShowCount()
{
    OpenConnection();
    mySQL = Statements::kTotalCount;
    myValues.clear();
    BindResult(m_view.DataGrid3());
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
    ShowCount();
}

void modUpdate::ShowDateList()
{
    ShowWholeTable(AlphaOrder ? Statements::kDateAlphabetList : Statements::kDateList, kThreeColumnWidth);
    ShowCount();
}

int modUpdate::CheckRegistered(const QString& English, const QString& Japanese)
{
    OpenConnection();
    mySQL = Statements::kCheckPair;
    myValues = {English, Japanese};
    BindResult(m_view.DataGrid2());
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

void modUpdate::SearchWord()
{
    OpenConnection();
    const QVariantList pattern{Statements::searchPattern(m_view.text3())};
    // A text found in few words makes the engine walk the whole table. Walk it once: read the first page
    // of hits first, and when that page holds them all, count just those rows instead of walking again.
    m_searchHits.reset();
    const FirstPage hits = FirstPage::read(*cn, Statements::kSearchHits, pattern);
    mySQL = Statements::kSearchCount;
    myValues = pattern;
    if (hits.rows.size() < PagedResult::kPageSize) {
        QStringList marks;
        for (const QStringList& row : hits.rows) {
            marks << QStringLiteral("?");
            myValues << row.first().toLongLong();
        }
        mySQL += Statements::kAmongRows.arg(marks.join(QLatin1Char(',')));
    }
    BindResult(m_view.DataGrid2());
    if (CountIsPositive(m_view.DataGrid2())) {
        m_searchHits = FirstPage{
            Statements::kSearchList, pattern, {QStringLiteral("English"), QStringLiteral("Japanese")}, {}};
        for (const QStringList& row : hits.rows)
            m_searchHits->rows.append(row.mid(1));
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
    mySQL = Statements::kSearchList;
    myValues = {Statements::searchPattern(m_view.text3())};
    // The search has just counted its hits into DataGrid2 and read their first page.
    std::optional<FirstPage> hits;
    hits.swap(m_searchHits);
    BindResult(m_view.DataGrid1(),
               RowCount{{}, {}, ReadCell(m_view.DataGrid2(), QStringLiteral("DataCnt")).toInt()},
               std::move(hits));
    SearchMode = 1;
    ShowCount();
}
