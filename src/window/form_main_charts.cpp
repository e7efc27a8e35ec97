// The charts a report block carries: the numbers of each are kept with the
// log entry, and the chart is drawn when a report asks for it, by the same
// widgets the finder shows.
#include "window/form_main.h"

#include <QPixmap>

#include <cmath>

#include "calc/numbers.h"
#include "platform/platform.h"
#include "window/jet_chart.h"
#include "window/noise_chart.h"

namespace {

constexpr QSize kChartSize(720, 400);

}  // namespace

void Form_Main::keepRoomOf(const nimbo::Request& request, const nimbo::Found& found)
{
    pendingRoom_.reset();
    if (!request.room)
        return;
    const nimbo::FoundDetails d = nimbo::Details(catalogue_, request, found);
    ChartSketch noise;
    noise.noise = true;
    noise.Lp = d.Lp;
    noise.room = d.stages.lwaComputed;
    if (!std::isnan(found.NR))
        noise.nr = static_cast<int>(found.NR);
    noise.limit = request.limits.NR;
    pendingRoom_ = PendingRoom{nimbo::RoomBlockOf(request, found, d), noise};
}

void Form_Main::addCharts(nimbo::CalculationSheet& sheet, const nimbo::Outcome& out, int variant)
{
    const QString title = QString::fromStdString(sheet.model + " " + sheet.size);
    if (out.stages.jetShown()) {
        ChartSketch jet;
        jet.stages = out.stages;
        jet.variant = variant;
        jet.given = variant == 2 ? out.stages.X : out.stages.Vx;
        jet.title = title;
        const std::string name = "chart:jet:" + std::to_string(++chartCount_);
        sketches_[name] = jet;
        sheet.charts.push_back(name);
    }
    if (pendingRoom_) {
        sheet.room = pendingRoom_->sheet;
        if (pendingRoom_->noise.room) {
            const std::string name = "chart:noise:" + std::to_string(++chartCount_);
            sketches_[name] = pendingRoom_->noise;
            sketches_[name].title = title;
            sheet.charts.push_back(name);
        }
    }
}

QImage Form_Main::chartImage(const std::string& name) const
{
    const auto it = sketches_.find(name);
    if (it == sketches_.end())
        return {};
    const ChartSketch& s = it->second;
    if (s.noise) {
        NoiseChart chart;
        chart.resize(kChartSize);
        chart.setSpectrum(s.Lp, s.nr, s.limit, s.title);
        return chart.grab().toImage();
    }
    JetChart chart;
    chart.resize(kChartSize);
    chart.setJet(s.stages, s.variant, s.given, s.title, platform_.decimalSeparator());
    return chart.grab().toImage();
}
