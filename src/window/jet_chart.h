#pragma once
// The centre-line velocity of one candidate's jet against the distance, from
// the outlet to past the throw, as the engine gives it at each distance
// (the flat-jet formula included where the engine uses it), with the usual
// terminal velocities and the user's Vx or X marked.
#include <QList>
#include <QPointF>
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

    // (X m, Vx m/s) in order of distance; empty when nothing is drawn.
    const QList<QPointF>& curve() const { return curve_; }
    double xMax() const { return xMax_; }
    // The throw at the user's Vx (variant 1) or the velocity at X (variant 2).
    nimbo::JetPoint userPoint() const { return user_; }

    QSize sizeHint() const override { return {420, 300}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString number(double v) const;

    QList<QPointF> curve_;
    double xMax_ = 0, yMax_ = 0;
    int variant_ = 1;
    nimbo::JetPoint user_;
    QString title_, note_;
    char separator_ = '.';
};
