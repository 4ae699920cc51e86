#pragma once

#include "Statements.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <memory>
#include <optional>

class Connection;

// Rows of a statement a grid shows, each with its values of the list's order (none when it has none).
struct Rows {
    QVector<QStringList> rows;
    QVector<QVariantList> keys;
    // The key of the first or last row, or none when it holds a null or empty value (which Qt may not
    // bind back as the same value).
    QVariantList key(bool last) const;
};

// The first page of a list, read before the result is made. Throws StoreError.
struct FirstPage {
    Statements::List list;
    QVariantList values;
    QStringList fields;
    Rows page;

    static FirstPage read(Connection& connection, const Statements::List& list, const QVariantList& values);
};

// How a result learns its length when its first page is full: a number already counted by the
// database, or a count statement cheaper than counting the statement's own rows.
struct RowCount {
    QString sql;
    QVariantList values;
    int known = -1;
};

// The result of one statement as a grid shows it: columns named after the fields, rows in the
// statement's order. Rows are read a page at a time when first shown and only a few pages are kept, so
// a list of any length costs the same memory. A page is read from the nearest place known: the top, the
// end (in the reverse order), or the key of a row of a page held, so scrolling and a jump to the end never
// walk the list from the top. No statement stays open between page reads, so a result on screen never
// holds a lock that would stop a later insert or delete. The result owns the connection it was opened
// on; the connection closes when the result is dropped.
class PagedResult : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageSize = 256;
    static constexpr int kCachedPages = 16;

    // Runs the statement for its first page, unless a first page read ahead of the same statement is
    // given; throws StoreError when it fails.
    PagedResult(std::shared_ptr<Connection> connection, Statements::List list, QVariantList values,
                const RowCount& count = {}, std::optional<FirstPage> ahead = {}, QObject* parent = nullptr);
    ~PagedResult() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Column of the named field (compared as the engine compares names: ignoring ASCII case), or -1.
    int columnOf(const QString& field) const;
    QStringList fieldNames() const { return m_fields; }
    // Text of one cell; reads its page from the database when it is not cached. Throws StoreError.
    QString text(int row, int column) const;
    // Becomes what `other` was, as a reset of this model, and leaves `other` what this was: a view keeps
    // its model, and with it the sections of its rows when the length is unchanged, which a new model
    // would make it build again, one a row.
    void swapWith(PagedResult& other);

private:
    const Rows& page(int number) const;
    Rows readPage(int number) const;
    int countRows(const RowCount& count) const;

    std::shared_ptr<Connection> m_connection;
    Statements::List m_list;
    QVariantList m_values;
    QStringList m_fields;
    int m_rows = 0;
    // Filled as pages are first shown, even by const reads.
    std::unique_ptr<QCache<int, Rows>> m_pages;
};
