#pragma once

#include <QString>
#include <QVariantList>

#include <memory>
#include <optional>

#include "PagedResult.h"

class Clock;
class Connection;
class QSqlQuery;
class ResultGrid;
class WordView;

// The word store: the operations every command is built from, the module state they share, and the
// view flags of the list. Operations write straight into the main window through WordView. Failures
// outside ShowNormalList leave as StoreError for the command that started them to report.
class modUpdate {
public:
    modUpdate(WordView& view, QString databasePath, const Clock& clock);
    ~modUpdate();
    modUpdate(const modUpdate&) = delete;
    modUpdate& operator=(const modUpdate&) = delete;

    void ShowNormalList();
    void ShowCount();
    void NormalOrder();
    void ShowAlphabetList();
    void ShowDateList();
    int CheckRegistered(const QString& English, const QString& Japanese);
    void InsertWord();
    void DeleteWord();
    void SearchWord();
    void ShowSearchList();

    bool AlphaOrder = false;
    int SearchMode = 0;

private:
    void OpenConnection();
    void BindResult(ResultGrid& grid, const Statements::List& list, const RowCount& rows = {},
                    std::optional<FirstPage> ahead = {});
    // Counts the whole table into DataGrid3 and shows the count under the list.
    void CountTable();
    // Whether the notebook holds the search index, complete with its triggers.
    bool HasSearchIndex();
    void RunStatement();
    void CloseConnection();
    // The steps the three whole-table lists share.
    void ShowWholeTable(const Statements::List& statement, float columnWidth);
    QString ReadCell(ResultGrid& grid, const QString& field) const;
    bool CountIsPositive(ResultGrid& grid) const;

    WordView& m_view;
    QString m_path;
    const Clock& m_clock;

    std::shared_ptr<Connection> cn;
    std::weak_ptr<Connection> m_open;
    std::unique_ptr<PagedResult> rs;
    std::unique_ptr<QSqlQuery> cmd;
    QString mySQL;
    // The learner's texts, bound to the placeholders of mySQL in order.
    QVariantList myValues;
    // The first page of the search's hits, read before they were counted.
    std::optional<FirstPage> m_searchHits;
};
