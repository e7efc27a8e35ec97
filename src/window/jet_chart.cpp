#include "window/jet_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "calc/numbers.h"

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

}  // namespace

JetChart::JetChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("JetChart"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void JetChart::setJet(const nimbo::Stages& st, int variant, double given, const QString& title, char separator)
{
    variant_ = variant;
    title_ = title;
    note_.clear();
    separator_ = separator;
    curve_.clear();
    user_ = variant == 2 ? nimbo::JetAtDistance(st, given) : nimbo::JetForVelocity(st, given);
    // Past the throw at the lowest mark and past the user's own point.
    // Past the throw at the lowest mark and past the user's own point.
    const double reach = std::max(nimbo::JetForVelocity(st, kMarks[2]).X, user_.X);
    xMax_ = std::isfinite(reach) && reach > 0 ? reach * 1.2 : 10;
    // The curve is the engine's throw for each velocity, read the other way:
    // the distances come to 0.1 m where the velocities at a distance would
    // come to 0.1 m/s, too coarse a step for the low velocities that matter.
    // Near the outlet the engine holds the velocity at the outlet's own.
    const double outlet = nimbo::JetVelocityAt(st, xMax_ / kSamples);
    double vMax = 0;
    if (std::isfinite(outlet) && outlet > 0) {
        curve_.append({0, outlet});
        vMax = outlet;
        // The marks and the user's velocity lie on the curve exactly.
        std::vector<double> velocities{kMarks[0], kMarks[1], kMarks[2]};
        if (variant == 1)
            velocities.push_back(given);
        for (int i = 0; i <= kSamples; ++i)
            velocities.push_back(outlet * std::pow(kLowest / outlet, static_cast<double>(i) / kSamples));
        std::sort(velocities.begin(), velocities.end(), std::greater<>());
        for (double v : velocities) {
            const double x = nimbo::JetForVelocity(st, v).X;
            if (v <= outlet && std::isfinite(x) && x >= curve_.back().x())
                curve_.append({x, v});
        }
    }
    // Near the outlet the jet is many times faster than the marks; the scale
    // keeps the marks readable and lets the first metres run off the top.
    yMax_ = std::max({std::min(vMax, 2.0), kMarks[0] * 1.6, variant == 1 ? given * 1.3 : 0.0});
    update();
}

void JetChart::clear(const QString& note)
{
    curve_.clear();
    note_ = note;
    title_.clear();
    update();
}

QString JetChart::number(double v) const
{
    return QString::fromStdString(nimbo::NumberText(nimbo::Round(v, 2), separator_));
}

void JetChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const QColor text = palette().color(QPalette::Text);
    if (curve_.isEmpty()) {
        p.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    const QRectF area(fm.horizontalAdvance(QStringLiteral("0,25")) + 14, fm.height() * 2 + 6,
                      width() - fm.horizontalAdvance(QStringLiteral("0,25")) - 30, height() - fm.height() * 4 - 12);
    const auto at = [&](double x, double v) {
        return QPointF(area.left() + area.width() * x / xMax_, area.bottom() - area.height() * std::min(v, yMax_) / yMax_);
    };

    p.setPen(text);
    p.drawText(QRectF(0, 2, width(), fm.height()), Qt::AlignHCenter, title_);
    p.drawText(QRectF(2, fm.height() + 2, area.left() + 80, fm.height()), Qt::AlignLeft, QStringLiteral("Vx, м/с"));
    p.drawText(QRectF(area.left(), area.bottom() + fm.height() + 4, area.width(), fm.height()), Qt::AlignRight,
               QStringLiteral("X, м"));

    // Grid and scales.
    const QColor grid = palette().color(QPalette::Mid);
    const double xStep = NiceStep(xMax_, 8);
    for (double x = 0; x <= xMax_ + 1e-9; x += xStep) {
        p.setPen(QPen(grid, 0.5));
        p.drawLine(at(x, 0), at(x, yMax_));
        p.setPen(text);
        p.drawText(QRectF(at(x, 0).x() - 30, area.bottom() + 2, 60, fm.height()), Qt::AlignHCenter, number(x));
    }
    const double yStep = NiceStep(yMax_, 6);
    for (double v = 0; v <= yMax_ + 1e-9; v += yStep) {
        p.setPen(QPen(grid, 0.5));
        p.drawLine(at(0, v), at(xMax_, v));
        p.setPen(text);
        p.drawText(QRectF(0, at(0, v).y() - fm.height() / 2.0, area.left() - 4, fm.height()), Qt::AlignRight,
                   number(v));
    }
    p.setPen(QPen(text, 1));
    p.drawLine(at(0, 0), at(xMax_, 0));
    p.drawLine(at(0, 0), at(0, yMax_));

    // The marks, then the user's value, then the curve on top.
    p.setPen(QPen(QColor(200, 120, 0), 1, Qt::DashLine));
    for (double mark : kMarks) {
        p.drawLine(at(0, mark), at(xMax_, mark));
        p.drawText(at(xMax_, mark) + QPointF(-fm.horizontalAdvance(number(mark)) - 2, -2), number(mark));
    }
    p.setPen(QPen(QColor(0, 140, 60), 1.5, Qt::DashDotLine));
    const QString userText = variant_ == 2
                                 ? QStringLiteral("X = %1 м, Vx = %2 м/с").arg(number(user_.X), number(user_.Vx))
                                 : QStringLiteral("Vx = %1 м/с, l = %2 м").arg(number(user_.Vx), number(user_.X));
    if (variant_ == 1)
        p.drawLine(at(0, user_.Vx), at(xMax_, user_.Vx));
    p.drawLine(at(user_.X, 0), at(user_.X, yMax_));
    p.drawText(QRectF(area.left() + 4, fm.height() + 2, area.width() - 4, fm.height()), Qt::AlignRight, userText);

    QPainterPath path(at(curve_.front().x(), curve_.front().y()));
    for (const QPointF& pt : curve_)
        path.lineTo(at(pt.x(), pt.y()));
    p.setClipRect(area.adjusted(0, -1, 1, 1));
    p.setPen(QPen(QColor(20, 80, 200), 2));
    p.drawPath(path);
}
