#pragma once
// The sound pressure at the listener per octave band as bars, against the
// NR curve the spectrum rates and the curve of the room's NR limit.
#include <QFont>
#include <QRectF>

#include <optional>

#include "report/jet_plot.h"
#include "room/room.h"

class QPainter;

namespace nimbo::report {

void DrawSpectrum(QPainter& painter, const QRectF& area, const Bands& Lp, int NR, std::optional<double> NRLimit,
                  const QFont& font, const ChartColours& colours);

}  // namespace nimbo::report
