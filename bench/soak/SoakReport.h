#pragma once

#include "SoakFigures.h"

#include <QString>

// The soak's summary and verdict as text for a terminal.
class SoakReport {
public:
    explicit SoakReport(SoakFigures figures);

    QString text() const;

private:
    QString operations() const;
    QString writer() const;
    QString journal() const;
    QString memory() const;
    QString pairs() const;
    QString verdict() const;

    SoakFigures m_figures;
};
