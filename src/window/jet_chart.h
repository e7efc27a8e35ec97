#pragma once
// The finder's chart of one candidate's jet: the plot of src/report drawn
// in the window's palette, or a note where there is no jet to draw.
#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>

#include "calc/calculation.h"
#include "report/jet_plot.h"

class JetChart : public QWidget {
    Q_OBJECT
public:
    explicit JetChart(QWidget* parent = nullptr);

    // variant 1: `given` is the user's Vx; variant 2: the distance X.
    void setJet(const nimbo::Stages& stages, int variant, double given, const QString& title, char decimalSeparator);
    void clear(const QString& note);

    // (X m, Vx m/s) in order of distance; empty when nothing is drawn.
    const QList<QPointF>& curve() const { return plot_.curve; }
    double xMax() const { return plot_.xMax; }
    // The throw at the user's Vx (variant 1) or the velocity at X (variant 2).
    nimbo::JetPoint userPoint() const { return plot_.user; }

    QSize sizeHint() const override { return {420, 300}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    nimbo::report::JetPlot plot_;
    QString note_;
};
