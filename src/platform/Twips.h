#pragma once

#include <QRect>
#include <QWidget>

#include <cmath>

// Positions and sizes are designed in twips (1440 to the inch), converted at the screen's logical DPI.
namespace Twips {

inline int toPixels(double twips, int dpi)
{
    return int(std::lround(twips * dpi / 1440.0));
}

inline int toPixels(const QWidget* widget, double twips)
{
    return toPixels(twips, widget->logicalDpiX());
}

inline QRect rect(const QWidget* widget, double left, double top, double width, double height)
{
    const int dpi = widget->logicalDpiX();
    return QRect(toPixels(left, dpi), toPixels(top, dpi), toPixels(width, dpi), toPixels(height, dpi));
}

// A new child control with its object name, placed at a rectangle given in twips.
template <typename Widget>
Widget* place(QWidget* parent, const char* name, double left, double top, double width, double height)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(rect(parent, left, top, width, height));
    return widget;
}

} // namespace Twips
