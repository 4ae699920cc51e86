#pragma once

#include <QString>
#include <QVariantList>

#include <memory>

#include "Connection.h"
#include "PagedResult.h"

class Clock;
class Statement;
class ResultGrid;
class WordView;

// The word store: the operations every command is built from, the module state they share, and the
// view flags of the list. Operations write straight into the main window through WordView. Failures
// outside ShowNormalList leave as StoreError for the command that started them to report.
class modUpdate {
public:
    modUpdate(WordView& view, QString databasePath, const Clock& clock, LockPatience patience = {});
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
    // `rows`, when known, spares the result counting them.
    void BindResult(ResultGrid& grid, const Statements::List& list, int rows = -1);
    void RunStatement();
    void CloseConnection();
    // ShowCount's two steps: DataGrid3 counts the table; the label shows the count of what is listed.
    void CountTable();
    void ShowCountLabel();
    // The steps the three whole-table lists share.
    void ShowWholeTable(const Statements::List& list, float columnWidth);
    QString ReadCell(ResultGrid& grid, const QString& field) const;
    bool CountIsPositive(ResultGrid& grid) const;

    WordView& m_view;
    QString m_path;
    const Clock& m_clock;
    LockPatience m_patience;

    std::shared_ptr<Connection> cn;
    std::unique_ptr<PagedResult> rs;
    std::unique_ptr<Statement> cmd;
    // The insert or delete RunStatement runs, and the learner's texts bound to its placeholders in order.
    QString mySQL;
    QVariantList myValues;
};
