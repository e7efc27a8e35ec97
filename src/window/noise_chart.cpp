#include "window/noise_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "room/ratings.h"

namespace {

constexpr int kBands = 8;
const char* const kBandNames[kBands] = {"63", "125", "250", "500", "1к", "2к", "4к", "8к"};

}  // namespace

NoiseChart::NoiseChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("NoiseChart"));
    setMinimumSize(minimumSizeHint());
}

void NoiseChart::setSpectrum(const nimbo::Bands& Lp, std::optional<int> nr, std::optional<double> limit,
                             const QString& title)
{
    Lp_ = Lp;
    nr_ = nr;
    limit_ = limit;
    title_ = title;
    note_.clear();
    shown_ = true;
    // Every bar and both curves fit, on a scale of whole tens.
    double low = *std::min_element(Lp.begin(), Lp.end()), high = *std::max_element(Lp.begin(), Lp.end());
    for (const std::optional<double> N : {nr ? std::optional<double>(*nr) : std::nullopt, limit})
        if (N)
            for (int i = 0; i < kBands; ++i) {
                low = std::min(low, nimbo::NrCurve(i, *N));
                high = std::max(high, nimbo::NrCurve(i, *N));
            }
    dbMin_ = std::floor(std::min(low, 0.0) / 10) * 10;
    dbMax_ = std::ceil((high + 5) / 10) * 10;
    update();
}

void NoiseChart::clear(const QString& note)
{
    shown_ = false;
    note_ = note;
    update();
}

QPointF NoiseChart::at(const QRectF& plot, int band, double db) const
{
    const double x = plot.left() + plot.width() * (band + 0.5) / kBands;
    const double y = plot.bottom() - plot.height() * (db - dbMin_) / (dbMax_ - dbMin_);
    return {x, y};
}

void NoiseChart::drawCurve(QPainter& p, const QRectF& plot, double N, const QPen& pen, const QString& label,
                           int labelBand) const
{
    QPainterPath path;
    for (int i = 0; i < kBands; ++i) {
        const QPointF point = at(plot, i, nimbo::NrCurve(i, N));
        i == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // The two curves' labels stand at opposite ends, so they never meet.
    const QPointF anchor = at(plot, labelBand, nimbo::NrCurve(labelBand, N));
    const double width = fontMetrics().horizontalAdvance(label);
    p.drawText(QPointF(labelBand == 0 ? anchor.x() - 4 : anchor.x() - width + 4, anchor.y() - 4), label);
}

void NoiseChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().text().color());
    const QFontMetrics fm = fontMetrics();
    if (!shown_) {
        p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    const QRectF plot(fm.horizontalAdvance(QStringLiteral("100 ")) + 8, fm.height() * 2 + 6,
                      width() - fm.horizontalAdvance(QStringLiteral("100 ")) - 20, height() - fm.height() * 4 - 12);
    p.drawText(QRectF(0, 2, width(), fm.height()), Qt::AlignHCenter, title_);
    p.drawText(QRectF(2, fm.height() + 2, width(), fm.height()), Qt::AlignLeft, QStringLiteral("Lp, дБ"));
    for (double db = dbMin_; db <= dbMax_ + 1e-9; db += 10) {
        const double y = at(plot, 0, db).y();
        p.setPen(QPen(palette().mid().color(), 0, Qt::DotLine));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(palette().text().color());
        p.drawText(QRectF(0, y - fm.height() / 2.0, plot.left() - 4, fm.height()), Qt::AlignRight,
                   QString::number(db, 'f', 0));
    }
    const double barWidth = plot.width() / kBands * 0.6;
    for (int i = 0; i < kBands; ++i) {
        const QPointF top = at(plot, i, Lp_[static_cast<std::size_t>(i)]);
        const QPointF base = at(plot, i, dbMin_);
        p.fillRect(QRectF(top.x() - barWidth / 2, top.y(), barWidth, base.y() - top.y()), QColor(90, 140, 210));
        p.drawText(QRectF(base.x() - barWidth, plot.bottom() + 2, 2 * barWidth, fm.height()), Qt::AlignHCenter,
                   QString::fromUtf8(kBandNames[i]));
    }
    p.drawText(QRectF(plot.left(), plot.bottom() + fm.height() + 2, plot.width(), fm.height()), Qt::AlignHCenter,
               QStringLiteral("Частота, Гц"));
    if (nr_)
        drawCurve(p, plot, *nr_, QPen(QColor(0, 110, 0), 2), QStringLiteral("NR %1").arg(*nr_), kBands - 1);
    if (limit_)
        drawCurve(p, plot, *limit_, QPen(QColor(190, 0, 0), 2, Qt::DashLine),
                  QStringLiteral("предел NR %1").arg(*limit_), 0);
}
