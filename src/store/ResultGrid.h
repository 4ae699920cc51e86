#pragma once

#include <QString>

#include <memory>

class PagedResult;

// What the word store needs of a grid: take a result to show, and give back the text of a named
// column in the current row.
class ResultGrid {
public:
    virtual ~ResultGrid() = default;

    // Width, in twips, of the columns built at the next binding.
    virtual void setDefaultColumnWidth(float twips) = 0;
    // Drops what the grid showed (and the connection under it), shows the result, first row current.
    virtual void setDataSource(std::unique_ptr<PagedResult> result) = 0;
    // Text of the named column in the current row; empty when there is no such row or column.
    virtual QString columnText(const QString& field) const = 0;
};
