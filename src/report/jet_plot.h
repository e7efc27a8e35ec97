#pragma once
// The centre-line velocity of one outlet's jet against the distance, from
// the outlet to past the throw, as the engine gives it at each distance
// (the flat-jet formula included where the engine uses it), with the usual
// terminal velocities and the user's Vx or X marked. Computed once, drawn
// by any painter: the finder's chart on screen, a report on paper.
#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "calc/calculation.h"

class QPainter;

namespace nimbo::report {

struct JetPlot {
    QList<QPointF> curve;  // (X m, Vx m/s) in order of distance; empty: nothing to draw
    double xMax = 0, yMax = 0;
    int variant = 1;
    JetPoint user;  // the throw at the user's Vx (variant 1) or the velocity at X (variant 2)
    QString title;
    char separator = '.';
};

// variant 1: `given` is the user's Vx; variant 2: the distance X.
JetPlot PlotJet(const Stages& stages, int variant, double given, const QString& title, char decimalSeparator);

// The colours of a chart: the screen's palette, or black on white on paper.
struct ChartColours {
    QColor text = Qt::black;
    QColor grid = QColor(0xa0, 0xa0, 0xa0);
};

// Axes, scales, marks and the curve within `area`, in `font`.
void DrawJet(QPainter& painter, const QRectF& area, const JetPlot& plot, const QFont& font,
             const ChartColours& colours);

}  // namespace nimbo::report
