#pragma once

#include "Statements.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <memory>

class Connection;

// Rows of a statement a grid shows, each with its values of the list's order (none when it has none).
struct Rows {
    QVector<QStringList> rows;
    QVector<QVariantList> keys;
    // The key of the first or last row, or none when it holds a null or empty value (which may not bind
    // back as the same value).
    QVariantList first() const;
    QVariantList last() const;
};

// The result of one statement as a grid shows it: columns named after the fields, rows in the
// statement's order. Rows are read a page at a time when first shown and only a few pages are kept, so
// a list of any length costs the same memory. A page is read from the nearest place known: the top, the
// end (against the list's order), or the key of a row of a page held, so scrolling and a jump to the end
// never walk the list from the top. No statement stays open between page reads, so a result on screen
// never holds a lock that would stop a later insert or delete. The result owns the connection it was
// opened on; the connection closes when the result is dropped.
class PagedResult : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageSize = 256;
    static constexpr int kCachedPages = 16;

    // Runs the statement for its first page, and counts its rows unless their number is given; throws
    // StoreError when it fails.
    PagedResult(std::shared_ptr<Connection> connection, Statements::List list, QVariantList values,
                int rows = -1, QObject* parent = nullptr);
    ~PagedResult() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Column of the named field (compared as the engine compares names: ignoring ASCII case), or -1.
    int columnOf(const QString& field) const;
    // Text of one cell; reads its page from the database when it is not cached. Throws StoreError.
    QString text(int row, int column) const;

private:
    // Where a page read starts: after the key (none: at the start), skipping `offset` rows.
    struct Start {
        Statements::List::Direction direction = Statements::List::Direction::WithTheList;
        QVariantList key;
        int offset = 0;
    };

    const Rows& page(int number) const;
    Start nearestStart(int first, int size) const;
    Rows read(const Start& start, int limit, QStringList* fields = nullptr) const;

    std::shared_ptr<Connection> m_connection;
    Statements::List m_list;
    QVariantList m_values;
    QStringList m_fields;
    int m_rows = 0;
    // Filled as pages are first shown, even by const reads.
    mutable QCache<int, Rows> m_pages;
};
