#include "report/noise_plot.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "calc/numbers.h"
#include "room/ratings.h"

namespace nimbo::report {

namespace {

constexpr double kStep = 10;  // dB between scale lines

struct Scale {
    double low, high;
};

// Whole tens around the bars and both curves.
Scale ScaleOf(const Bands& Lp, int NR, std::optional<double> limit)
{
    double low = *std::min_element(Lp.begin(), Lp.end()), high = *std::max_element(Lp.begin(), Lp.end());
    for (int i = 0; i < 8; ++i) {
        for (double n : {static_cast<double>(NR), limit.value_or(NR)}) {
            low = std::min(low, NrCurve(i, n));
            high = std::max(high, NrCurve(i, n));
        }
    }
    return {std::floor(low / kStep) * kStep - kStep, std::ceil(high / kStep) * kStep};
}

void DrawCurve(QPainter& p, const QPolygonF& points, const QPen& pen, const QString& label)
{
    p.setPen(pen);
    p.drawPolyline(points);
    p.drawText(points.back() + QPointF(pen.widthF() * 2, 0), label);
}

}  // namespace

void DrawSpectrum(QPainter& p, const QRectF& box, const Bands& Lp, int NR, std::optional<double> limit,
                  const QFont& font, const ChartColours& colours)
{
    p.save();
    p.translate(box.topLeft());
    p.setFont(font);
    const double px = p.device() ? p.device()->logicalDpiX() / 96.0 : 1;
    const QFontMetricsF fm(font, p.device());
    const double line = fm.height();
    const QString limitLabel = limit ? QStringLiteral("NR %1").arg(QString::fromStdString(NumberText(*limit, '.'))) : QString();
    const double labels = fm.horizontalAdvance(QStringLiteral("NR 100 ")) + 4 * px;
    const QRectF area(fm.horizontalAdvance(QStringLiteral("-100")) + 8 * px, line * 2.6,
                      box.width() - fm.horizontalAdvance(QStringLiteral("-100")) - 8 * px - labels,
                      box.height() - line * 4.6 - 4 * px);
    const Scale s = ScaleOf(Lp, NR, limit);
    const double slot = area.width() / 8;
    const auto y = [&](double dB) { return area.bottom() - area.height() * (dB - s.low) / (s.high - s.low); };
    const auto x = [&](int band) { return area.left() + slot * (band + 0.5); };

    p.setPen(colours.text);
    p.drawText(QRectF(0, 0, box.width(), line), Qt::AlignHCenter,
               QStringLiteral("Уровни звукового давления у слушателя, NR %1").arg(NR));
    p.drawText(QRectF(0, line + 2 * px, area.left() + 80 * px, line), Qt::AlignLeft, QStringLiteral("Lp, дБ"));
    p.drawText(QRectF(area.left(), area.bottom() + line + 2 * px, area.width(), line), Qt::AlignRight,
               QStringLiteral("Гц"));
    for (double dB = s.low; dB <= s.high + 1e-9; dB += kStep) {
        p.setPen(QPen(colours.grid, 0.5 * px));
        p.drawLine(QPointF(area.left(), y(dB)), QPointF(area.right(), y(dB)));
        p.setPen(colours.text);
        p.drawText(QRectF(0, y(dB) - line / 2, area.left() - 4 * px, line), Qt::AlignRight, QString::number(dB));
    }
    QPolygonF rated, limited;
    for (int i = 0; i < 8; ++i) {
        const QRectF bar(x(i) - slot * 0.3, y(Lp[i]), slot * 0.6, area.bottom() - y(Lp[i]));
        p.fillRect(bar, QColor(120, 170, 230));
        p.setPen(colours.text);
        p.drawText(QRectF(x(i) - slot / 2, y(Lp[i]) - line, slot, line), Qt::AlignHCenter | Qt::AlignBottom,
                   QString::number(std::lround(Lp[i])));
        p.drawText(QRectF(x(i) - slot / 2, area.bottom() + 2 * px, slot, line), Qt::AlignHCenter,
                   QString::number(kBandHz[static_cast<std::size_t>(i)]));
        rated << QPointF(x(i), y(NrCurve(i, NR)));
        if (limit)
            limited << QPointF(x(i), y(NrCurve(i, *limit)));
    }
    p.setRenderHint(QPainter::Antialiasing);
    DrawCurve(p, rated, QPen(QColor(170, 30, 30), 1.5 * px), QStringLiteral("NR %1").arg(NR));
    if (limit)
        DrawCurve(p, limited, QPen(QColor(200, 120, 0), 1.5 * px, Qt::DashLine), limitLabel);
    p.setPen(QPen(colours.text, 1 * px));
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.restore();
}

}  // namespace nimbo::report
