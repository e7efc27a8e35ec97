#include "report/jet_plot.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "calc/numbers.h"

namespace nimbo::report {

namespace {

constexpr int kSamples = 400;
constexpr double kMarks[] = {0.5, 0.25, 0.2};  // m/s, the usual terminal velocities
constexpr double kLowest = 0.1;                 // m/s, where the curve ends

// A step of 1, 2, 2.5 or 5 times a power of ten giving at most `count` steps.
double NiceStep(double range, int count)
{
    const double raw = range / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

QString Number(const JetPlot& plot, double v)
{
    return QString::fromStdString(NumberText(Round(v, 2), plot.separator));
}

// The curve is the engine's throw for each velocity, read the other way: the
// distances come to 0.1 m where the velocities at a distance would come to
// 0.1 m/s, too coarse a step for the low velocities that matter. Near the
// outlet the engine holds the velocity at the outlet's own.
void Sample(const Stages& st, int variant, double given, JetPlot& plot)
{
    const double outlet = JetVelocityAt(st, plot.xMax / kSamples);
    if (!std::isfinite(outlet) || !(outlet > 0))
        return;
    plot.curve.append({0, outlet});
    // The marks and the user's velocity lie on the curve exactly.
    std::vector<double> velocities{kMarks[0], kMarks[1], kMarks[2]};
    if (variant == 1)
        velocities.push_back(given);
    for (int i = 0; i <= kSamples; ++i)
        velocities.push_back(outlet * std::pow(kLowest / outlet, static_cast<double>(i) / kSamples));
    std::sort(velocities.begin(), velocities.end(), std::greater<>());
    for (double v : velocities) {
        const double x = JetForVelocity(st, v).X;
        if (v <= outlet && std::isfinite(x) && x >= plot.curve.back().x())
            plot.curve.append({x, v});
    }
}

}  // namespace

JetPlot PlotJet(const Stages& st, int variant, double given, const QString& title, char separator)
{
    JetPlot plot;
    plot.variant = variant;
    plot.title = title;
    plot.separator = separator;
    plot.user = variant == 2 ? JetAtDistance(st, given) : JetForVelocity(st, given);
    // Past the throw at the lowest mark and past the user's own point.
    const double reach = std::max(JetForVelocity(st, kMarks[2]).X, plot.user.X);
    plot.xMax = std::isfinite(reach) && reach > 0 ? reach * 1.2 : 10;
    Sample(st, variant, given, plot);
    const double vMax = plot.curve.isEmpty() ? 0 : plot.curve.front().y();
    // Near the outlet the jet is many times faster than the marks; the scale
    // keeps the marks readable and lets the first metres run off the top.
    plot.yMax = std::max({std::min(vMax, 2.0), kMarks[0] * 1.6, variant == 1 ? given * 1.3 : 0.0});
    return plot;
}

namespace {

// Where the plot's values land in the chart's area; lengths in screen
// pixels times `px` (paper has more dots to the inch).
struct Frame {
    const JetPlot& plot;
    QRectF area;
    double px, line;
    QPointF at(double x, double v) const
    {
        return {area.left() + area.width() * x / plot.xMax,
                area.bottom() - area.height() * std::min(v, plot.yMax) / plot.yMax};
    }
};

void DrawScales(QPainter& p, const Frame& f, const ChartColours& colours)
{
    const JetPlot& plot = f.plot;
    const double xStep = NiceStep(plot.xMax, 8);
    for (double x = 0; x <= plot.xMax + 1e-9; x += xStep) {
        p.setPen(QPen(colours.grid, 0.5 * f.px));
        p.drawLine(f.at(x, 0), f.at(x, plot.yMax));
        p.setPen(colours.text);
        p.drawText(QRectF(f.at(x, 0).x() - 30 * f.px, f.area.bottom() + 2 * f.px, 60 * f.px, f.line), Qt::AlignHCenter,
                   Number(plot, x));
    }
    const double yStep = NiceStep(plot.yMax, 6);
    for (double v = 0; v <= plot.yMax + 1e-9; v += yStep) {
        p.setPen(QPen(colours.grid, 0.5 * f.px));
        p.drawLine(f.at(0, v), f.at(plot.xMax, v));
        p.setPen(colours.text);
        p.drawText(QRectF(0, f.at(0, v).y() - f.line / 2, f.area.left() - 4 * f.px, f.line), Qt::AlignRight,
                   Number(plot, v));
    }
    p.setPen(QPen(colours.text, 1 * f.px));
    p.drawLine(f.at(0, 0), f.at(plot.xMax, 0));
    p.drawLine(f.at(0, 0), f.at(0, plot.yMax));
}

// The usual terminal velocities, then the user's value.
void DrawMarks(QPainter& p, const Frame& f, const QFontMetricsF& fm)
{
    const JetPlot& plot = f.plot;
    p.setPen(QPen(QColor(200, 120, 0), 1 * f.px, Qt::DashLine));
    for (double mark : kMarks) {
        p.drawLine(f.at(0, mark), f.at(plot.xMax, mark));
        p.drawText(f.at(plot.xMax, mark) + QPointF(-fm.horizontalAdvance(Number(plot, mark)) - 2 * f.px, -2 * f.px),
                   Number(plot, mark));
    }
    p.setPen(QPen(QColor(0, 140, 60), 1.5 * f.px, Qt::DashDotLine));
    const JetPoint& u = plot.user;
    const QString userText = plot.variant == 2
                                 ? QStringLiteral("X = %1 м, Vx = %2 м/с").arg(Number(plot, u.X), Number(plot, u.Vx))
                                 : QStringLiteral("Vx = %1 м/с, l = %2 м").arg(Number(plot, u.Vx), Number(plot, u.X));
    if (plot.variant == 1)
        p.drawLine(f.at(0, u.Vx), f.at(plot.xMax, u.Vx));
    p.drawLine(f.at(u.X, 0), f.at(u.X, plot.yMax));
    p.drawText(QRectF(f.area.left() + 4 * f.px, f.line + 2 * f.px, f.area.width() - 4 * f.px, f.line), Qt::AlignRight,
               userText);
}

}  // namespace

void DrawJet(QPainter& p, const QRectF& box, const JetPlot& plot, const QFont& font, const ChartColours& colours)
{
    p.save();
    p.translate(box.topLeft());
    p.setFont(font);
    const double px = p.device() ? p.device()->logicalDpiX() / 96.0 : 1;
    const QFontMetricsF fm(font, p.device());
    const double w = box.width(), h = box.height(), line = fm.height();
    const double scaleWidth = fm.horizontalAdvance(QStringLiteral("0,25"));
    const Frame f{plot, QRectF(scaleWidth + 14 * px, line * 2 + 6 * px, w - scaleWidth - 30 * px, h - line * 4 - 12 * px),
                  px, line};
    p.setPen(colours.text);
    p.drawText(QRectF(0, 2 * px, w, line), Qt::AlignHCenter, plot.title);
    p.drawText(QRectF(2 * px, line + 2 * px, f.area.left() + 80 * px, line), Qt::AlignLeft, QStringLiteral("Vx, м/с"));
    p.drawText(QRectF(f.area.left(), f.area.bottom() + line + 4 * px, f.area.width(), line), Qt::AlignRight,
               QStringLiteral("X, м"));
    DrawScales(p, f, colours);
    DrawMarks(p, f, fm);
    // The curve on top of everything.
    QPainterPath path(f.at(plot.curve.front().x(), plot.curve.front().y()));
    for (const QPointF& pt : plot.curve)
        path.lineTo(f.at(pt.x(), pt.y()));
    p.setClipRect(f.area.adjusted(0, -1 * px, 1 * px, 1 * px));
    p.setPen(QPen(QColor(20, 80, 200), 2 * px));
    p.drawPath(path);
    p.restore();
}

}  // namespace nimbo::report
