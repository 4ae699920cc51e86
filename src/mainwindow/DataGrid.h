#pragma once

#include "ResultGrid.h"

#include <QTableView>

#include <memory>

class PagedResult;

// A grid that shows one result of the word store at a time, read a page at a time as it scrolls.
class DataGrid : public QTableView, public ResultGrid {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setDefaultColumnWidth(float twips) override;
    void setDataSource(std::unique_ptr<PagedResult> result) override;
    QString columnText(const QString& field) const override;

    int selectedRowCount() const;

signals:
    // The user has changed the selection in the list.
    void SelChange();

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<PagedResult> m_result;
    float m_defaultColumnWidth = 0;
};
