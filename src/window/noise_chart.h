#pragma once
// The sound pressure a room's outlets make at the listener, per octave band,
// against the NR curve it reaches and the NR curve of the user's limit.
#include <QString>
#include <QWidget>

#include <optional>

#include "room/room.h"

class NoiseChart : public QWidget {
    Q_OBJECT
public:
    explicit NoiseChart(QWidget* parent = nullptr);

    // nr: the rating the spectrum reaches; limit: the user's NR limit.
    void setSpectrum(const nimbo::Bands& Lp, std::optional<int> nr, std::optional<double> limit,
                     const QString& title);
    void clear(const QString& note);

    const nimbo::Bands& spectrum() const { return Lp_; }
    bool drawn() const { return shown_; }
    // The dB range of the axis: every bar and curve lies inside it.
    double dbMin() const { return dbMin_; }
    double dbMax() const { return dbMax_; }

    QSize sizeHint() const override { return {420, 300}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawCurve(class QPainter& p, const QRectF& plot, double N, const QPen& pen, const QString& label,
                   int labelBand) const;
    QPointF at(const QRectF& plot, int band, double db) const;

    nimbo::Bands Lp_{};
    std::optional<int> nr_;
    std::optional<double> limit_;
    bool shown_ = false;
    double dbMin_ = 0, dbMax_ = 100;
    QString title_, note_;
};
