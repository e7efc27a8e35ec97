#include "window/jet_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "calc/numbers.h"

namespace {

constexpr double kMarks[] = {0.5, 0.25, 0.2};  // m/s, the usual terminal velocities
constexpr double kHeadroom = 1.1;               // the velocity axis above the outlet velocity
constexpr int kMaxHalvings = 24;                // a step of xMax / 2^24 at the finest

// A step of 1, 2, 2.5 or 5 times a power of ten giving at most `count` steps.
double NiceStep(double range, int count)
{
    const double raw = range / std::max(count, 1);
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
    const double outlet = nimbo::JetOutletVelocity(st);
    if (!(outlet > 0) || !std::isfinite(outlet)) {
        clear(QStringLiteral("Каталог не дает струю для этого исполнения"));
        return;
    }
    shown_ = true;
    stages_ = st;
    variant_ = variant;
    title_ = title;
    note_.clear();
    separator_ = separator;
    user_ = variant == 2 ? nimbo::JetAtDistance(st, given) : nimbo::JetForVelocity(st, given);
    // Past the throw at the lowest mark and past the user's own point.
    const double reach = std::max(nimbo::JetForVelocity(st, kMarks[2]).X, user_.X);
    xMax_ = std::isfinite(reach) && reach > 0 ? reach * 1.2 : 10;
    // From 0 to a little above the air leaving the outlet (or the user's
    // Vx, which may be above it): the whole jet, no false plateau.
    yMax_ = kHeadroom * std::max(outlet, variant == 1 && std::isfinite(given) ? given : 0.0);
    switch_ = nimbo::JetSwitchDistance(st);
    if (switch_ >= xMax_)
        switch_ = 0;
    QString tip = QStringLiteral("Осевая скорость струи на расстоянии от воздухораспределителя");
    if (switch_ > 0)
        tip += QStringLiteral("\nБлиже %1 м (шесть длин щели) струя плоская, дальше компактная: "
                              "там расчет меняет формулу, и кривая прерывается")
                   .arg(number(switch_));
    setToolTip(tip);
    sample();
    update();
}

void JetChart::clear(const QString& note)
{
    shown_ = false;
    curve_.clear();
    note_ = note;
    title_.clear();
    setToolTip(QString());
    update();
}

QString JetChart::number(double v) const
{
    return QString::fromStdString(nimbo::NumberText(nimbo::Round(v, 2), separator_));
}

QRectF JetChart::plotArea() const
{
    const QFontMetrics fm = fontMetrics();
    const int left = std::max(fm.horizontalAdvance(number(yMax_)), fm.horizontalAdvance(QStringLiteral("0,25"))) + 10;
    // The title, then the axis caption and the user's point on a line of
    // their own each where one line cannot hold both.
    const QString caption = QStringLiteral("Vx, м/с");
    const QString userText = variant_ == 2 ? QStringLiteral("X = 00,0 м, Vx = 0,00 м/с")
                                           : QStringLiteral("Vx = 0,00 м/с, l = 00,0 м");
    const int lines = fm.horizontalAdvance(caption) + fm.horizontalAdvance(userText) + 24 > width() ? 3 : 2;
    const double top = fm.height() * lines + 6, bottom = fm.height() * 2 + 8;
    return QRectF(left, top, std::max(width() - left - 14.0, 1.0), std::max(height() - top - bottom, 1.0));
}

QPointF JetChart::pixelAt(double X, double Vx) const
{
    const QRectF area = plotArea();
    const double v = std::clamp(Vx, 0.0, yMax_);
    return {area.left() + area.width() * X / xMax_, area.bottom() - area.height() * v / yMax_};
}

double JetChart::velocity(double X) const
{
    const double v = nimbo::JetVelocityExact(stages_, X);
    return std::isnan(v) ? 0 : std::min(v, yMax_);
}

void JetChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    sample();
}

// Each side of the switch on its own: a column of pixels a step, halved
// where the velocity moves by more than a pixel.
void JetChart::sample()
{
    curve_.clear();
    if (!shown_)
        return;
    const double perMetre = plotArea().width() / xMax_;
    const auto side = [&](double from, double to) {
        const int steps = std::max(1, static_cast<int>(std::ceil((to - from) * perMetre)));
        QPointF previous(from, velocity(from));
        curve_.append(previous);
        for (int i = 1; i <= steps; ++i) {
            const double x = i == steps ? to : from + (to - from) * i / steps;
            const QPointF next(x, velocity(x));
            refine(previous, next, kMaxHalvings);
            previous = next;
        }
    };
    if (switch_ > 0) {
        side(0, std::nextafter(switch_, 0.0));
        side(switch_, xMax_);
    } else {
        side(0, xMax_);
    }
}

void JetChart::refine(QPointF from, QPointF to, int depth)
{
    if (depth == 0 || std::abs(pixelAt(to.x(), to.y()).y() - pixelAt(from.x(), from.y()).y()) <= 1) {
        curve_.append(to);
        return;
    }
    const double x = (from.x() + to.x()) / 2;
    const QPointF middle(x, velocity(x));
    refine(from, middle, depth - 1);
    refine(middle, to, depth - 1);
}

bool JetChart::label(QPainter& p, const QRectF& box, int flags, const QString& text)
{
    QRectF taken = p.boundingRect(box, flags, text);
    // Kept inside the widget sideways: the last scale number at the edge.
    taken.moveLeft(std::clamp(taken.left(), 0.0, std::max(0.0, width() - taken.width())));
    if (!rect().toRectF().contains(taken))
        return false;
    for (const QRectF& other : labels_)
        if (other.intersects(taken))
            return false;
    p.drawText(taken, flags, text);
    labels_.append(taken);
    return true;
}

void JetChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    labels_.clear();
    if (!shown_) {
        p.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    const QRectF area = plotArea();
    drawAxes(p, area);
    drawMarks(p, area);
    drawCurve(p, area);
}

void JetChart::drawAxes(QPainter& p, const QRectF& area)
{
    const QFontMetrics fm = fontMetrics();
    const QColor text = palette().color(QPalette::Text);
    p.setPen(text);
    label(p, QRectF(0, 2, width(), fm.height()), Qt::AlignHCenter,
          fm.elidedText(title_, Qt::ElideRight, std::max(width() - 8, 1)));
    label(p, QRectF(2, fm.height() + 2, width() - 4, fm.height()), Qt::AlignLeft, QStringLiteral("Vx, м/с"));
    label(p, QRectF(area.left(), area.bottom() + fm.height() + 4, area.width(), fm.height()), Qt::AlignRight,
          QStringLiteral("X, м"));

    // Grid and scales, as many numbers as fit.
    const QColor grid = palette().color(QPalette::Mid);
    const double xStep = NiceStep(xMax_, static_cast<int>(area.width() / (fm.horizontalAdvance(number(xMax_)) + 14)));
    for (double x = 0; x <= xMax_ + 1e-9; x += xStep) {
        p.setPen(QPen(grid, 0.5));
        p.drawLine(pixelAt(x, 0), pixelAt(x, yMax_));
        p.setPen(text);
        label(p, QRectF(pixelAt(x, 0).x() - 40, area.bottom() + 2, 80, fm.height()), Qt::AlignHCenter, number(x));
    }
    const double yStep = NiceStep(yMax_, static_cast<int>(area.height() / (fm.height() * 1.5)));
    for (double v = 0; v <= yMax_ + 1e-9; v += yStep) {
        p.setPen(QPen(grid, 0.5));
        p.drawLine(pixelAt(0, v), pixelAt(xMax_, v));
        p.setPen(text);
        label(p, QRectF(0, pixelAt(0, v).y() - fm.height() / 2.0, area.left() - 4, fm.height()), Qt::AlignRight,
              number(v));
    }
    p.setPen(QPen(text, 1));
    p.drawLine(pixelAt(0, 0), pixelAt(xMax_, 0));
    p.drawLine(pixelAt(0, 0), pixelAt(0, yMax_));
}

void JetChart::drawMarks(QPainter& p, const QRectF& area)
{
    const QFontMetrics fm = fontMetrics();
    // The user's value first: its words matter more than a mark's number.
    p.setPen(QPen(QColor(0, 140, 60), 1.5, Qt::DashDotLine));
    const QString userText = variant_ == 2
                                 ? QStringLiteral("X = %1 м, Vx = %2 м/с").arg(number(user_.X), number(user_.Vx))
                                 : QStringLiteral("Vx = %1 м/с, l = %2 м").arg(number(user_.Vx), number(user_.X));
    if (variant_ == 1)
        p.drawLine(pixelAt(0, user_.Vx), pixelAt(xMax_, user_.Vx));
    p.drawLine(pixelAt(user_.X, 0), pixelAt(user_.X, yMax_));
    const int line = area.top() > fm.height() * 3 ? 2 : 1;
    label(p, QRectF(area.left(), fm.height() * line + 2, width() - area.left() - 4, fm.height()), Qt::AlignRight,
          userText);

    if (switch_ > 0) {
        p.setPen(QPen(QColor(150, 60, 160), 1, Qt::DotLine));
        p.drawLine(pixelAt(switch_, 0), pixelAt(switch_, yMax_));
        label(p, QRectF(pixelAt(switch_, 0).x() - 100, area.top() + 2, 200, fm.height()), Qt::AlignHCenter,
              QStringLiteral("плоская | компактная"));
    }
    p.setPen(QPen(QColor(200, 120, 0), 1, Qt::DashLine));
    for (double mark : kMarks) {
        if (mark >= yMax_)
            continue;
        p.drawLine(pixelAt(0, mark), pixelAt(xMax_, mark));
        label(p, QRectF(area.left(), pixelAt(0, mark).y() - fm.height() - 1, area.width() - 2, fm.height()),
              Qt::AlignRight, number(mark));
    }
}

void JetChart::drawCurve(QPainter& p, const QRectF& area)
{
    // One path each side of the switch: the formulas do not meet there.
    QPainterPath path;
    for (qsizetype i = 0; i < curve_.size(); ++i) {
        const QPointF at = pixelAt(curve_[i].x(), curve_[i].y());
        const bool newSide = i == 0 || (switch_ > 0 && curve_[i - 1].x() < switch_ && curve_[i].x() >= switch_);
        if (newSide)
            path.moveTo(at);
        else
            path.lineTo(at);
    }
    p.setClipRect(area.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(QColor(20, 80, 200), 2));
    p.drawPath(path);
}
