#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <memory>

class Connection;

// The result of one statement as a grid shows it: columns named after the fields, rows in the
// statement's order. Rows are read a page at a time when first shown and only a few pages are kept, so
// a list of any length costs the same memory. No statement stays open between page reads, so a result
// on screen never holds a lock that would stop a later insert or delete. The result owns the connection
// it was opened on; the connection closes when the result is dropped.
class PagedResult : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageSize = 256;
    static constexpr int kCachedPages = 16;

    // Runs the statement for its first page; throws StoreError when it fails.
    PagedResult(std::shared_ptr<Connection> connection, QString sql, QVariantList values,
                QObject* parent = nullptr);
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

private:
    using Page = QVector<QStringList>;
    const Page& page(int number) const;
    // Reads one page; the first read also learns the field names.
    Page readPage(int number, QStringList* fields) const;

    std::shared_ptr<Connection> m_connection;
    QString m_sql;
    QVariantList m_values;
    QStringList m_fields;
    int m_rows = 0;
    mutable QCache<int, Page> m_pages;
};
