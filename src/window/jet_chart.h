#pragma once
// The centre-line velocity of one candidate's jet against the distance, from
// the outlet to past the throw: the engine's formulas without the rounding
// of the displayed results, so a smooth curve, the flat-jet formula and the
// compact one each drawn on its own side of the distance where the engine
// changes from one to the other. The usual terminal velocities and the
// user's Vx or X are marked where the main window's rounded result puts them.
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "calc/calculation.h"

class JetChart : public QWidget {
    Q_OBJECT
public:
    explicit JetChart(QWidget* parent = nullptr);

    // variant 1: `given` is the user's Vx; variant 2: the distance X.
    void setJet(const nimbo::Stages& stages, int variant, double given, const QString& title, char decimalSeparator);
    void clear(const QString& note);

    // (X m, Vx m/s) in order of distance, sampled for the present size so
    // that neighbours lie within a pixel of each other on screen, except
    // across the switch; velocities above the axis are held at its top.
    // Empty when nothing is drawn.
    const QList<QPointF>& curve() const { return curve_; }
    double xMax() const { return xMax_; }
    double yMax() const { return yMax_; }
    // Where the flat jet gives way to the compact one, m; 0 when it does not.
    double switchDistance() const { return switch_; }
    // The throw at the user's Vx (variant 1) or the velocity at X (variant 2).
    nimbo::JetPoint userPoint() const { return user_; }
    // Where a point of the chart is drawn, in the widget's pixels.
    QPointF pixelAt(double X, double Vx) const;
    // Every text of the last painting, by the rectangle it took.
    const QList<QRectF>& labels() const { return labels_; }

    QSize sizeHint() const override { return {420, 300}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString number(double v) const;
    QRectF plotArea() const;
    void sample();
    void refine(QPointF from, QPointF to, int depth);
    double velocity(double X) const;
    // Draws the text unless it would cover one already drawn or leave the
    // widget; false when it is left out.
    bool label(QPainter& p, const QRectF& box, int flags, const QString& text);
    void drawAxes(QPainter& p, const QRectF& area);
    void drawMarks(QPainter& p, const QRectF& area);
    void drawCurve(QPainter& p, const QRectF& area);

    bool shown_ = false;
    nimbo::Stages stages_;
    QList<QPointF> curve_;
    double xMax_ = 0, yMax_ = 0, switch_ = 0;
    int variant_ = 1;
    nimbo::JetPoint user_;
    QString title_, note_;
    char separator_ = '.';
    QList<QRectF> labels_;
};
