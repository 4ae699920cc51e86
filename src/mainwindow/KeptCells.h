#pragma once

#include <QCache>
#include <QImage>
#include <QStyledItemDelegate>

// Draws a grid's cells as the style does, and keeps each cell as drawn to put it back when the same cell
// comes again. Laying out a cell's text costs most of drawing it, and after a command most rows shown are
// rows shown before, one or more rows further down.
class KeptCells : public QStyledItemDelegate {
public:
    explicit KeptCells(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Everything that decides how a cell looks.
    struct Key {
        QString text;
        QSize size;
        int state = 0, features = 0, alignment = 0, elide = 0, direction = 0, group = 0, format = 0;
        qint64 palette = 0;
        QString font;
        qreal ratio = 1;
        QByteArray style;
        bool operator==(const Key& other) const;
    };

private:
    mutable QCache<Key, QImage> m_cells;
};

size_t qHash(const KeptCells::Key& key, size_t seed = 0);
