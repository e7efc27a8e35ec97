#include "window/jet_chart.h"

#include <QPainter>

JetChart::JetChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("JetChart"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void JetChart::setJet(const nimbo::Stages& st, int variant, double given, const QString& title, char separator)
{
    plot_ = nimbo::report::PlotJet(st, variant, given, title, separator);
    note_.clear();
    update();
}

void JetChart::clear(const QString& note)
{
    plot_ = {};
    note_ = note;
    update();
}

void JetChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (plot_.curve.isEmpty()) {
        p.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    nimbo::report::DrawJet(p, rect(), plot_, font(), {palette().color(QPalette::Text), palette().color(QPalette::Mid)});
}
