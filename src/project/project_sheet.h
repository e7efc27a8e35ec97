#pragma once
// What the project report prints, as plain values: the project's
// properties, the schedule table, and a block for each room with its data,
// its outlet, the results, the marks, and what its two charts are drawn
// from. The report's layout (src/report/project_report.h) adds nothing but
// the date, the catalogue and the drawing.
#include <optional>
#include <string>
#include <vector>

#include "calc/calculation.h"
#include "catalogue/catalogue.h"
#include "project/project.h"
#include "project/room_check.h"
#include "room/room.h"

namespace nimbo {

// A caption, the value beside it and its unit: "Длина помещения A", "6", "м".
struct SheetLine {
    std::string caption, value, unit;
    bool operator==(const SheetLine&) const = default;
};

struct SheetGroup {
    std::string title;
    std::vector<SheetLine> lines;
    bool across = false;  // a row of quantities rather than a line each
};

// The noise at the listener, where the outlet has sound data.
struct SpectrumSheet {
    Bands Lp{};                     // dB per octave band, 63 Hz .. 8 kHz
    int NR = 0;                     // the curve the spectrum rates
    std::optional<double> NRLimit;  // the room's «NR не более»
};

// One outlet's jet, where the catalogue gives one.
struct JetSheet {
    Stages stages;
    int variant = kVariantThrow;
    double given = 0;  // Vx (variant 1) or X (variant 2)
    std::string title;
};

struct RoomSheet {
    std::string title;                // "101 Кабинет"
    std::vector<SheetGroup> groups;   // the room, the outlet, the results
    std::string marks;                // MarksLine; empty when the room is as saved
    std::optional<SpectrumSheet> spectrum;
    std::optional<JetSheet> jet;
};

struct ProjectSheet {
    std::vector<SheetLine> properties;  // those filled in
    // The schedule: the room's number, then a choice of the row's columns.
    std::vector<std::string> scheduleHeaders;
    std::vector<std::vector<std::string>> schedule;
    std::vector<RoomSheet> rooms;
    int marked = 0;  // rooms with a mark
};

ProjectSheet ProjectSheetOf(const Catalogue& catalogue, const Project& project, const std::vector<RoomCheck>& checks,
                            char decimalSeparator);

}  // namespace nimbo
