#include "KeptCells.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QStyle>

namespace {
// About a hundred cells of a two-column list.
constexpr qsizetype kKeptBytes = 2 << 20;
} // namespace

bool KeptCells::Key::operator==(const Key& other) const
{
    return text == other.text && size == other.size && state == other.state && features == other.features &&
           alignment == other.alignment && elide == other.elide && direction == other.direction &&
           group == other.group && format == other.format && palette == other.palette && font == other.font &&
           ratio == other.ratio && style == other.style;
}

size_t qHash(const KeptCells::Key& key, size_t seed)
{
    return qHashMulti(seed, key.text, key.size.width(), key.size.height(), key.state, key.palette, key.font);
}

KeptCells::KeptCells(QObject* parent)
    : QStyledItemDelegate(parent)
    , m_cells(kKeptBytes)
{}

void KeptCells::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // A cell is kept from the raster image it was drawn into, and only when all of it was drawn there.
    QPaintEngine* engine = painter->paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    const QTransform& toDevice = painter->deviceTransform();
    if (!device || device->devType() != QInternal::Image || toDevice.type() > QTransform::TxScale) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    auto* image = static_cast<QImage*>(device);
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    const Key key{cell.text,
                  cell.rect.size(),
                  int(cell.state),
                  int(cell.features),
                  int(cell.displayAlignment),
                  int(cell.textElideMode),
                  int(cell.direction),
                  int(cell.palette.currentColorGroup()),
                  int(image->format()),
                  qint64(cell.palette.cacheKey()),
                  cell.font.key(),
                  image->devicePixelRatio(),
                  QByteArray(style->metaObject()->className())};
    if (const QImage* kept = m_cells.object(key)) {
        painter->drawImage(QRectF(option.rect), *kept);
        return;
    }
    // As the delegate draws it, with the option already filled in.
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

    // On whole pixels of the image only: a cell put back at a fractional scale would be resampled.
    const QRectF exact = toDevice.mapRect(QRectF(option.rect));
    const QRect drawn = exact.toRect();
    if (QRectF(drawn) != exact)
        return;
    QRegion clip = engine->systemClip().isEmpty() ? QRegion(image->rect()) : engine->systemClip();
    if (painter->hasClipping())
        clip &= toDevice.map(painter->clipRegion());
    if (!QRegion(drawn).subtracted(clip).isEmpty())
        return;
    auto copy = std::make_unique<QImage>(image->copy(drawn));
    copy->setDevicePixelRatio(image->devicePixelRatio());
    const auto bytes = copy->sizeInBytes();
    m_cells.insert(key, copy.release(), bytes);
}
