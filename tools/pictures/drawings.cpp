#include "drawings.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace nimbo::pictures {

namespace {

// Plain drawing colours: dark outlines on light metal, blue air.
const QColor kInk(0x2b, 0x33, 0x3b);
const QColor kMetal(0xe4, 0xe8, 0xec);
const QColor kMetalDark(0xb8, 0xc0, 0xc8);
const QColor kOpening(0x4a, 0x54, 0x5e);
const QColor kAir(0x1f, 0x6f, 0xc8);
const QColor kBuilding(0x8a, 0x93, 0x9c);

const QRectF kFace(6, 6, 82, 82);     // left: the face of the outlet
const QRectF kSide(100, 4, 94, 86);   // right: the jets in a side view

using Params = std::map<std::string, std::string>;

QPen InkPen(double width = 1.2) { return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void Arrow(QPainter& p, QPointF from, QPointF to, double width = 1.6, Qt::PenStyle style = Qt::SolidLine)
{
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double head = 3.2 + width;
    const QPointF base = to - QPointF(std::cos(angle), std::sin(angle)) * head;
    p.setPen(QPen(kAir, width, style, Qt::FlatCap));
    p.drawLine(from, base);
    QPolygonF tip;
    tip << to << base + QPointF(std::sin(angle), -std::cos(angle)) * head * 0.55
        << base - QPointF(std::sin(angle), -std::cos(angle)) * head * 0.55;
    p.setPen(Qt::NoPen);
    p.setBrush(kAir);
    p.drawPolygon(tip);
    p.setBrush(Qt::NoBrush);
}

// A curved jet: a cubic from `from` to `to`, the head along the last tangent.
void CurvedArrow(QPainter& p, QPointF from, QPointF c1, QPointF c2, QPointF to, double width = 1.5)
{
    QPainterPath path(from);
    path.cubicTo(c1, c2, to);
    const double head = 3.2 + width;
    const double angle = std::atan2(to.y() - c2.y(), to.x() - c2.x());
    const QPointF base = to - QPointF(std::cos(angle), std::sin(angle)) * head;
    QPainterPath shaft(from);
    shaft.cubicTo(c1, c2, base);
    p.setPen(QPen(kAir, width, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shaft);
    QPolygonF tip;
    tip << to << base + QPointF(std::sin(angle), -std::cos(angle)) * head * 0.55
        << base - QPointF(std::sin(angle), -std::cos(angle)) * head * 0.55;
    p.setPen(Qt::NoPen);
    p.setBrush(kAir);
    p.drawPolygon(tip);
    p.setBrush(Qt::NoBrush);
}

// A building surface with its hatch on the far side: a ceiling seen from the
// side (hatch above) or a wall (hatch to the left).
void Ceiling(QPainter& p, double y, double x0, double x1, double gapFrom = 0, double gapTo = 0)
{
    p.setPen(QPen(kBuilding, 1.2));
    auto segment = [&](double a, double b) {
        if (b <= a)
            return;
        p.drawLine(QPointF(a, y), QPointF(b, y));
        for (double x = a + 2; x + 4 <= b; x += 6)
            p.drawLine(QPointF(x, y), QPointF(x + 4, y - 4));
    };
    if (gapTo > gapFrom) {
        segment(x0, gapFrom);
        segment(gapTo, x1);
    } else {
        segment(x0, x1);
    }
}

void Wall(QPainter& p, double x, double y0, double y1, double gapFrom, double gapTo)
{
    p.setPen(QPen(kBuilding, 1.2));
    auto segment = [&](double a, double b) {
        p.drawLine(QPointF(x, a), QPointF(x, b));
        for (double y = a + 2; y + 4 <= b; y += 6)
            p.drawLine(QPointF(x, y), QPointF(x - 4, y + 4));
    };
    segment(y0, gapFrom);
    segment(gapTo, y1);
}

void Label(QPainter& p, QPointF at, const QString& text)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(at.x() - 8, at.y() - 7, 16, 14), Qt::AlignCenter, text);
}

// A dimension line with end ticks and its letter.
void Dimension(QPainter& p, QPointF a, QPointF b, const QString& letter, QPointF labelAt)
{
    p.setPen(QPen(kInk, 0.8));
    p.drawLine(a, b);
    const bool horizontal = std::abs(a.y() - b.y()) < 0.5;
    const QPointF tick = horizontal ? QPointF(0, 3) : QPointF(3, 0);
    p.drawLine(a - tick, a + tick);
    p.drawLine(b - tick, b + tick);
    Label(p, labelAt, letter);
}

// ---------------------------------------------------------------------------
// Faces

// Air leaves through the sides that the pattern opens: 4 all round,
// 3 without the top, 2 left and right, 1 to the right.
std::vector<int> OpenSides(int ways)
{
    switch (ways) {
    case 1: return {0};
    case 2: return {0, 2};
    case 3: return {0, 1, 2};
    default: return {0, 1, 2, 3};
    }
}

void SideArrows(QPainter& p, QPointF c, double half, const std::vector<int>& sides)
{
    for (int s : sides) {
        const double a = s * M_PI / 2;  // 0 right, 1 down, 2 left, 3 up
        const QPointF dir(std::cos(a), std::sin(a));
        Arrow(p, c + dir * (half - 6), c + dir * (half + 9), 1.8);
    }
}

void SquareFrame(QPainter& p, QPointF c, double half)
{
    p.setPen(InkPen());
    p.setBrush(kMetal);
    p.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
    p.setBrush(Qt::NoBrush);
}

void FaceSquareCones(QPainter& p, int ways)
{
    const QPointF c = kFace.center();
    const double half = 29;
    SquareFrame(p, c, half);
    p.setPen(InkPen(1.0));
    for (double h : {22.0, 15.0, 8.0})
        p.drawRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
    // Blanked sides of a narrowed pattern are shown filled.
    const std::vector<int> open = OpenSides(ways);
    p.setPen(Qt::NoPen);
    p.setBrush(kMetalDark);
    for (int s = 0; s < 4; ++s) {
        if (std::find(open.begin(), open.end(), s) != open.end())
            continue;
        QPolygonF band;
        const double a = s * M_PI / 2;
        auto corner = [&](double h, double sign) {
            const QPointF dir(std::cos(a), std::sin(a)), across(-std::sin(a), std::cos(a));
            return c + dir * h + across * h * sign;
        };
        band << corner(half - 1, -1) << corner(half - 1, 1) << corner(8, 1) << corner(8, -1);
        p.drawPolygon(band);
    }
    p.setBrush(Qt::NoBrush);
    SideArrows(p, c, half + 6, open);
}

void DotGrid(QPainter& p, QPointF c, double half, bool round)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kOpening);
    for (double y = -half + 3; y <= half - 3 + 0.01; y += 5)
        for (double x = -half + 3; x <= half - 3 + 0.01; x += 5) {
            if (round && x * x + y * y > (half - 2) * (half - 2))
                continue;
            p.drawEllipse(c + QPointF(x, y), 1.1, 1.1);
        }
    p.setBrush(Qt::NoBrush);
}

void FaceSquarePerforated(QPainter& p)
{
    const QPointF c = kFace.center();
    SquareFrame(p, c, 29);
    p.setPen(InkPen(1.0));
    p.drawRect(QRectF(c.x() - 24, c.y() - 24, 48, 48));
    DotGrid(p, c, 24, false);
    SideArrows(p, c, 35, OpenSides(4));
}

void FaceSquarePlate(QPainter& p)
{
    const QPointF c = kFace.center();
    SquareFrame(p, c, 29);
    p.setPen(InkPen(1.0));
    p.setBrush(kOpening);
    p.drawRect(QRectF(c.x() - 22, c.y() - 22, 44, 44));
    p.setBrush(kMetal);
    p.drawRect(QRectF(c.x() - 18, c.y() - 18, 36, 36));
    p.setBrush(Qt::NoBrush);
    SideArrows(p, c, 35, OpenSides(4));
}

void RadialArrows(QPainter& p, QPointF c, double r)
{
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        const QPointF dir(std::cos(a), std::sin(a));
        Arrow(p, c + dir * (r - 4), c + dir * (r + 7), 1.6);
    }
}

void RoundFrame(QPainter& p, QPointF c, double r)
{
    p.setPen(InkPen());
    p.setBrush(kMetal);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
}

void FaceRoundCones(QPainter& p)
{
    const QPointF c = kFace.center();
    RoundFrame(p, c, 30);
    p.setPen(InkPen(1.0));
    for (double r : {23.0, 16.0, 9.0})
        p.drawEllipse(c, r, r);
    RadialArrows(p, c, 33);
}

void FaceRoundPlate(QPainter& p)
{
    const QPointF c = kFace.center();
    RoundFrame(p, c, 30);
    p.setPen(InkPen(1.0));
    p.setBrush(kOpening);
    p.drawEllipse(c, 24, 24);
    p.setBrush(kMetal);
    p.drawEllipse(c, 20, 20);
    p.setBrush(Qt::NoBrush);
    RadialArrows(p, c, 33);
}

void FaceRoundPerforated(QPainter& p)
{
    const QPointF c = kFace.center();
    RoundFrame(p, c, 30);
    p.setPen(InkPen(1.0));
    p.drawEllipse(c, 25, 25);
    DotGrid(p, c, 25, true);
    RadialArrows(p, c, 33);
}

// Slanted radial slotCount of a swirl face and the sense of the swirl.
void SwirlSlots(QPainter& p, QPointF c, double inner, double outer)
{
    p.setPen(QPen(kOpening, 2.0, Qt::SolidLine, Qt::RoundCap));
    const int slotCount = 20;
    for (int i = 0; i < slotCount; ++i) {
        const double a = i * 2 * M_PI / slotCount;
        const double skew = 0.35;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * inner,
                   c + QPointF(std::cos(a + skew), std::sin(a + skew)) * outer);
    }
    p.setPen(InkPen(1.0));
    p.setBrush(kMetal);
    p.drawEllipse(c, inner - 3, inner - 3);
    p.setBrush(Qt::NoBrush);
}

void SwirlSense(QPainter& p, QPointF c, double r)
{
    // Three quarter-turn arrows around the face.
    for (int i = 0; i < 3; ++i) {
        const double a0 = i * 2 * M_PI / 3 + 0.2, a1 = a0 + 1.3;
        auto at = [&](double a, double rr) { return c + QPointF(std::cos(a), std::sin(a)) * rr; };
        CurvedArrow(p, at(a0, r), at(a0 + 0.45, r + 3), at(a1 - 0.45, r + 3), at(a1, r), 1.4);
    }
}

void FaceSwirlSquare(QPainter& p)
{
    const QPointF c = kFace.center();
    SquareFrame(p, c, 28);
    SwirlSlots(p, c, 10, 25);
    SwirlSense(p, c, 36);
}

void FaceSwirlRound(QPainter& p)
{
    const QPointF c = kFace.center();
    RoundFrame(p, c, 30);
    SwirlSlots(p, c, 10, 26);
    SwirlSense(p, c, 34);
}

// A grille face: the frame, its vanes, and for double deflection the rear
// row showing between them.
void GrilleFace(QPainter& p, const QRectF& r, int rows, bool bars)
{
    p.setPen(InkPen());
    p.setBrush(kMetal);
    p.drawRect(r);
    const QRectF core = r.adjusted(4, 4, -4, -4);
    p.setBrush(kOpening);
    p.drawRect(core);
    p.setBrush(Qt::NoBrush);
    if (rows == 2) {
        p.setPen(QPen(kMetalDark, 1.6));
        for (double y = core.top() + 4; y < core.bottom() - 1; y += 5)
            p.drawLine(QPointF(core.left(), y), QPointF(core.right(), y));
    }
    p.setPen(QPen(kMetal, bars ? 1.4 : 2.2));
    const double step = bars ? 3.5 : 6;
    for (double x = core.left() + step / 2; x < core.right(); x += step)
        p.drawLine(QPointF(x, core.top()), QPointF(x, core.bottom()));
}

void FaceGrille(QPainter& p, int rows)
{
    const QPointF c = kFace.center();
    GrilleFace(p, QRectF(c.x() - 38, c.y() - 22, 76, 44), rows, false);
}

void FaceFreeGrille(QPainter& p, int rows, bool bars)
{
    const QRectF r = bars ? QRectF(8, 28, 66, 24) : QRectF(8, 16, 64, 40);
    GrilleFace(p, r, rows, bars);
    Dimension(p, QPointF(r.left(), r.bottom() + 10), QPointF(r.right(), r.bottom() + 10), "A",
              QPointF(r.center().x(), r.bottom() + 19));
    Dimension(p, QPointF(r.right() + 6, r.top()), QPointF(r.right() + 6, r.bottom()), "B",
              QPointF(r.right() + 14, r.center().y()));
}

void FaceSlot(QPainter& p, int slotCount, bool modular, bool blades)
{
    const double height = 8 + 7.0 * slotCount;
    const QRectF r(6, kFace.center().y() - height / 2 - 6, 82, height);
    p.setPen(InkPen());
    p.setBrush(kMetal);
    p.drawRect(r);
    p.setBrush(Qt::NoBrush);
    for (int s = 0; s < slotCount; ++s) {
        const QRectF slot(r.left() + 3, r.top() + 4 + 7 * s, r.width() - 6, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(kOpening);
        p.drawRect(slot);
        if (blades) {
            p.setPen(QPen(kMetal, 1.0));
            for (double x = slot.left() + 3; x < slot.right(); x += 5)
                p.drawLine(QPointF(x, slot.bottom()), QPointF(x + 2, slot.top()));
        }
    }
    p.setBrush(Qt::NoBrush);
    if (modular) {
        // Half-metre sections.
        p.setPen(QPen(kInk, 0.8, Qt::DashLine));
        for (int i = 1; i < 4; ++i) {
            const double x = r.left() + r.width() * i / 4;
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        }
    }
    Dimension(p, QPointF(r.left(), r.bottom() + 9), QPointF(r.right(), r.bottom() + 9), "L",
              QPointF(r.center().x(), r.bottom() + 18));
}

void FaceNozzle(QPainter& p, bool swivel, bool iris)
{
    const QPointF c = kFace.center();
    if (swivel) {
        p.setPen(InkPen());
        p.setBrush(kMetalDark);
        p.drawEllipse(c, 34, 34);
    }
    RoundFrame(p, c, 28);
    p.setPen(InkPen(1.0));
    p.setBrush(kMetalDark);
    p.drawEllipse(c, 21, 21);
    p.setBrush(kOpening);
    p.drawEllipse(c, 15, 15);
    p.setBrush(Qt::NoBrush);
    if (iris) {
        p.setPen(QPen(kMetal, 1.2));
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3;
            p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * 15, c + QPointF(std::cos(a + 1.2), std::sin(a + 1.2)) * 7);
        }
    }
    // The jet comes straight at the viewer.
    p.setPen(QPen(kAir, 1.8));
    p.drawEllipse(c, 4, 4);
    p.setBrush(kAir);
    p.drawEllipse(c, 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
}

// ---------------------------------------------------------------------------
// Side views

enum class CeilingJet { Radial, OneWay, Swirl, Vertical, Flat };

// An outlet in the ceiling, its neck or plenum box above, its jets below.
void SideCeiling(QPainter& p, CeilingJet jet, bool plenum, bool alsoVertical = false)
{
    const double cx = kSide.center().x();
    const double y = kSide.top() + 30;
    const double body = 16;  // half width of the outlet
    Ceiling(p, y, kSide.left(), kSide.right(), cx - body, cx + body);
    p.setPen(InkPen());
    p.setBrush(kMetal);
    if (plenum) {
        p.drawRect(QRectF(cx - body, y - 16, 2 * body, 16));
        p.drawRect(QRectF(cx - 6, kSide.top(), 12, 14));
    } else {
        p.drawRect(QRectF(cx - 8, kSide.top(), 16, y - kSide.top() - 4));
        QPolygonF cone;
        cone << QPointF(cx - 8, y - 4) << QPointF(cx + 8, y - 4) << QPointF(cx + body, y) << QPointF(cx - body, y);
        p.drawPolygon(cone);
    }
    p.drawRect(QRectF(cx - body - 2, y, 2 * body + 4, 4));
    p.setBrush(Qt::NoBrush);

    const double jy = y + 8;
    switch (jet) {
    case CeilingJet::Radial:
        CurvedArrow(p, QPointF(cx + body, jy), QPointF(cx + 30, jy), QPointF(cx + 40, jy + 2), QPointF(kSide.right() - 1, jy + 10));
        CurvedArrow(p, QPointF(cx - body, jy), QPointF(cx - 30, jy), QPointF(cx - 40, jy + 2), QPointF(kSide.left() + 1, jy + 10));
        break;
    case CeilingJet::OneWay:
        CurvedArrow(p, QPointF(cx + body, jy), QPointF(cx + 30, jy), QPointF(cx + 40, jy + 2), QPointF(kSide.right() - 1, jy + 10));
        break;
    case CeilingJet::Flat:
        Arrow(p, QPointF(cx + body, jy), QPointF(kSide.right() - 1, jy), 1.8);
        Arrow(p, QPointF(cx - body, jy), QPointF(kSide.left() + 1, jy), 1.8);
        break;
    case CeilingJet::Swirl:
        for (int i = 0; i < 3; ++i) {
            const double w = 10 + 9 * i, top = jy + 6 * i;
            p.setPen(QPen(kAir, 1.3));
            p.drawArc(QRectF(cx - w, top - 3, 2 * w, 8), 180 * 16, 180 * 16);
        }
        CurvedArrow(p, QPointF(cx + body, jy), QPointF(cx + 26, jy + 2), QPointF(cx + 36, jy + 12), QPointF(cx + 40, jy + 30));
        CurvedArrow(p, QPointF(cx - body, jy), QPointF(cx - 26, jy + 2), QPointF(cx - 36, jy + 12), QPointF(cx - 40, jy + 30));
        break;
    case CeilingJet::Vertical:
        break;
    }
    if (jet == CeilingJet::Vertical || alsoVertical)
        Arrow(p, QPointF(cx, y + 6), QPointF(cx, kSide.bottom() - 2), 1.8, alsoVertical ? Qt::DashLine : Qt::SolidLine);
}

void DamperBlades(QPainter& p, QPointF c, double h)
{
    // Opposed blades, half closed.
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-3, -h / 2 - 5), c + QPointF(3, -h / 2 + 3));
    p.drawLine(c + QPointF(3, h / 2 - 3), c + QPointF(-3, h / 2 + 5));
    p.setPen(QPen(kInk, 0.8));
    p.drawEllipse(c + QPointF(0, -h / 2 - 1), 1.2, 1.2);
    p.drawEllipse(c + QPointF(0, h / 2 + 1), 1.2, 1.2);
}

// A grille in a wall, the duct behind it, and its jet into the room.
void SideWall(QPainter& p, bool damper, bool spread)
{
    const double x = kSide.left() + 20;
    const double cy = kSide.center().y();
    const double half = 15;
    Wall(p, x, kSide.top(), kSide.bottom(), cy - half, cy + half);
    p.setPen(InkPen());
    p.setBrush(kMetal);
    p.drawRect(QRectF(kSide.left(), cy - half + 3, x - kSide.left(), 2 * half - 6));  // duct
    p.drawRect(QRectF(x, cy - half - 2, 4, 2 * half + 4));                            // grille
    p.setBrush(Qt::NoBrush);
    if (damper)
        DamperBlades(p, QPointF(x - 9, cy), 2 * half - 10);
    for (int i = -1; i <= 1; ++i)
        Arrow(p, QPointF(x + 6, cy + 8 * i), QPointF(kSide.right() - 1, cy + 8 * i), 1.6);
    if (spread) {
        Arrow(p, QPointF(x + 6, cy - 8), QPointF(kSide.right() - 14, kSide.top() + 3), 1.2, Qt::DashLine);
        Arrow(p, QPointF(x + 6, cy + 8), QPointF(kSide.right() - 14, kSide.bottom() - 3), 1.2, Qt::DashLine);
    }
}

void SideNozzle(QPainter& p, bool swivel, bool iris)
{
    const double x = kSide.left() + 10;
    const double cy = kSide.center().y();
    Wall(p, x, kSide.top(), kSide.bottom(), cy - 11, cy + 11);
    p.setPen(InkPen());
    p.setBrush(kMetal);
    p.drawRect(QRectF(kSide.left(), cy - 9, x - kSide.left(), 18));
    QPolygonF body;
    body << QPointF(x, cy - 11) << QPointF(x + 16, cy - 11) << QPointF(x + 28, cy - 6) << QPointF(x + 28, cy + 6)
         << QPointF(x + 16, cy + 11) << QPointF(x, cy + 11);
    p.drawPolygon(body);
    p.setBrush(Qt::NoBrush);
    if (iris) {
        p.setPen(QPen(kInk, 1.4));
        p.drawLine(QPointF(x + 6, cy - 10), QPointF(x + 6, cy - 4));
        p.drawLine(QPointF(x + 6, cy + 4), QPointF(x + 6, cy + 10));
    }
    if (swivel) {
        p.setPen(QPen(kInk, 0.8, Qt::DashLine));
        p.drawArc(QRectF(x - 20, cy - 36, 72, 72), -28 * 16, 56 * 16);
        Arrow(p, QPointF(x + 30, cy - 4), QPointF(kSide.right() - 10, kSide.top() + 4), 1.2, Qt::DashLine);
        Arrow(p, QPointF(x + 30, cy + 4), QPointF(kSide.right() - 10, kSide.bottom() - 4), 1.2, Qt::DashLine);
    }
    Arrow(p, QPointF(x + 30, cy), QPointF(kSide.right() - 1, cy), 2.2);
}

// The slot section: plenum box above the ceiling, the jet along it.
void SideSlot(QPainter& p, int slotCount)
{
    const double cx = kSide.center().x() - 10;
    const double y = kSide.top() + 34;
    const double half = 6 + 3.0 * slotCount;
    Ceiling(p, y, kSide.left(), kSide.right(), cx - half, cx + half);
    p.setPen(InkPen());
    p.setBrush(kMetal);
    QPolygonF box;
    box << QPointF(cx - half, y) << QPointF(cx - half, y - 18) << QPointF(cx - 5, y - 24) << QPointF(cx + 5, y - 24)
        << QPointF(cx + half, y - 18) << QPointF(cx + half, y);
    p.drawPolygon(box);
    p.drawRect(QRectF(cx - 5, kSide.top(), 10, y - 24 - kSide.top()));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOpening, 2.0));
    for (int s = 0; s < slotCount; ++s) {
        const double sx = cx - half + 4 + (2 * half - 8) * (slotCount == 1 ? 0.5 : double(s) / (slotCount - 1));
        p.drawLine(QPointF(sx, y - 5), QPointF(sx, y + 1));
    }
    CurvedArrow(p, QPointF(cx + half, y + 5), QPointF(cx + half + 30, y + 5), QPointF(cx + half + 45, y + 6),
                QPointF(kSide.right() - 3, y + 13), 1.8);
    Arrow(p, QPointF(cx, y + 6), QPointF(cx, kSide.bottom() - 2), 1.2, Qt::DashLine);
}

// ---------------------------------------------------------------------------
// The maker's sign

void Sign(QPainter& p)
{
    const QPointF c(40, 47);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe9, 0xf1, 0xfa));
    p.drawEllipse(c, 34, 34);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const double a0 = i * 2 * M_PI / 3, a1 = a0 + 1.6;
        auto at = [&](double a, double r) { return c + QPointF(std::cos(a), std::sin(a)) * r; };
        CurvedArrow(p, at(a0, 8), at(a0 + 0.6, 22), at(a1 - 0.6, 30), at(a1, 28), 2.6);
    }
    // The lettering is fitted to the room beside the mark.
    const QRectF room(80, 16, 114, 60);
    QFont name("DejaVu Sans");
    name.setBold(true);
    QFont line("DejaVu Sans");
    const QString maker = QString::fromUtf8("Тимбра"), trade = QString::fromUtf8("воздухораспределители");
    auto fit = [&](QFont& font, const QString& text, int largest) {
        for (int px = largest; px > 6; --px) {
            font.setPixelSize(px);
            if (QFontMetricsF(font).horizontalAdvance(text) <= room.width())
                return;
        }
    };
    fit(name, maker, 27);
    fit(line, trade, 11);
    p.setFont(name);
    p.setPen(kInk);
    p.drawText(QRectF(room.left(), room.top(), room.width(), 36), Qt::AlignLeft | Qt::AlignVCenter, maker);
    p.setFont(line);
    p.setPen(kBuilding);
    p.drawText(QRectF(room.left(), room.top() + 40, room.width(), 16), Qt::AlignLeft | Qt::AlignVCenter, trade);
    p.setPen(QPen(kAir, 2));
    p.drawLine(QPointF(room.left(), room.top() + 38), QPointF(room.right(), room.top() + 38));
}

// ---------------------------------------------------------------------------

struct Kind {
    std::set<std::string> params;  // the ones this kind understands
    std::function<void(QPainter&, const Params&)> draw;
};

bool Yes(const Params& params, const std::string& key)
{
    auto it = params.find(key);
    return it != params.end() && it->second == "yes";
}

int Count(const Params& params, const std::string& key, int fallback)
{
    auto it = params.find(key);
    return it == params.end() ? fallback : std::stoi(it->second);
}

const std::map<std::string, Kind>& Kinds()
{
    static const std::map<std::string, Kind> kinds{
        {"sign", {{}, [](QPainter& p, const Params&) { Sign(p); }}},
        {"square-cones", {{"ways"}, [](QPainter& p, const Params& a) {
             const int ways = Count(a, "ways", 4);
             FaceSquareCones(p, ways);
             SideCeiling(p, ways == 1 ? CeilingJet::OneWay : CeilingJet::Radial, false);
         }}},
        {"square-perforated", {{}, [](QPainter& p, const Params&) {
             FaceSquarePerforated(p);
             SideCeiling(p, CeilingJet::Radial, true);
         }}},
        {"square-plate", {{}, [](QPainter& p, const Params&) {
             FaceSquarePlate(p);
             SideCeiling(p, CeilingJet::Flat, false);
         }}},
        {"round-cones", {{}, [](QPainter& p, const Params&) {
             FaceRoundCones(p);
             SideCeiling(p, CeilingJet::Radial, false, true);
         }}},
        {"round-plate", {{}, [](QPainter& p, const Params&) {
             FaceRoundPlate(p);
             SideCeiling(p, CeilingJet::Flat, false);
         }}},
        {"round-perforated", {{}, [](QPainter& p, const Params&) {
             FaceRoundPerforated(p);
             SideCeiling(p, CeilingJet::Radial, true);
         }}},
        {"swirl-square", {{}, [](QPainter& p, const Params&) {
             FaceSwirlSquare(p);
             SideCeiling(p, CeilingJet::Swirl, false);
         }}},
        {"swirl-round", {{"adjustable"}, [](QPainter& p, const Params& a) {
             FaceSwirlRound(p);
             SideCeiling(p, CeilingJet::Swirl, false, Yes(a, "adjustable"));
         }}},
        {"grille", {{"rows", "damper"}, [](QPainter& p, const Params& a) {
             FaceGrille(p, Count(a, "rows", 1));
             SideWall(p, Yes(a, "damper"), true);
         }}},
        {"free-grille", {{"rows", "damper"}, [](QPainter& p, const Params& a) {
             FaceFreeGrille(p, Count(a, "rows", 1), false);
             SideWall(p, Yes(a, "damper"), true);
         }}},
        {"bar-grille", {{}, [](QPainter& p, const Params&) {
             FaceFreeGrille(p, 1, true);
             SideWall(p, false, false);
         }}},
        {"slot", {{"slots", "modular", "blades"}, [](QPainter& p, const Params& a) {
             const int slotCount = Count(a, "slots", 1);
             FaceSlot(p, slotCount, Yes(a, "modular"), Yes(a, "blades"));
             SideSlot(p, slotCount);
         }}},
        {"nozzle", {{"swivel", "iris"}, [](QPainter& p, const Params& a) {
             FaceNozzle(p, Yes(a, "swivel"), Yes(a, "iris"));
             SideNozzle(p, Yes(a, "swivel"), Yes(a, "iris"));
         }}},
    };
    return kinds;
}

bool CheckParams(const range::Drawing& d, const Kind& kind, QString& error)
{
    for (const auto& [key, value] : d.params) {
        if (!kind.params.count(key)) {
            error = QString::fromStdString(d.origin + ": рисунок " + d.kind + " не знает параметра «" + key + "»");
            return false;
        }
        const bool count = key == "ways" || key == "rows" || key == "slots";
        const int limit = key == "rows" ? 2 : 4;
        if (count ? !(value.size() == 1 && value[0] >= '1' && value[0] <= '0' + limit) : value != "yes") {
            error = QString::fromStdString(d.origin + ": недопустимое значение " + key + "=" + value);
            return false;
        }
    }
    return true;
}

}  // namespace

QImage Draw(const range::Drawing& drawing, QString& error)
{
    const auto it = Kinds().find(drawing.kind);
    if (it == Kinds().end()) {
        error = QString::fromStdString(drawing.origin + ": неизвестный вид рисунка «" + drawing.kind + "»");
        return {};
    }
    if (!CheckParams(drawing, it->second, error))
        return {};
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    it->second.draw(p, drawing.params);
    p.end();
    return image;
}

}  // namespace nimbo::pictures
