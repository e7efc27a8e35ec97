#pragma once
// A project's rooms in words and in the spreadsheet's terms: the row of a
// room in the project window and in the report's schedule, the rows of the
// schedule spreadsheet. The quantities' captions and texts are the quantity
// table's; this adds only the room's own columns.
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "project/project.h"
#include "project/room_check.h"
#include "schedule/schedule.h"

namespace nimbo {

// The outlet's size as the finder writes it: "450x450", "500х200", "1500".
std::string OutletSizeText(const ProjectOutlet& outlet, char decimalSeparator);
// The option picks in the catalogue's captions ("КСД, Веер, b=15°") where the
// size offers them; otherwise what was saved, by group and number.
std::string OptionsText(const Catalogue& catalogue, const ProjectRoom& room, const RoomCheck& check);
// "6 × 6 × 3" (A × B × H, m).
std::string DimensionsText(const ProjectSpace& space, char decimalSeparator);
// The limits that count in the room's variant on one line, "ΔP≤50; NR≤35;
// l≤Lc"; empty when none.
std::string LimitsText(const ProjectRoom& room, char decimalSeparator);

// The columns of a room's row: its own, then ProjectQuantities().
enum RoomColumn {
    kRoomName,
    kRoomDimensions,
    kRoomFlow,
    kRoomLimits,
    kRoomType,
    kRoomModel,
    kRoomSize,
    kRoomOptions,
    kRoomFirstQuantity,
};
int RoomColumnCount();
// The header of each column. The jet's names the rooms' variant, or both
// when the project has rooms of both.
std::vector<std::string> RoomHeaders(const Project& project);
// The texts of a room's row: what it shows is the check's (the new numbers,
// or the saved ones where there are none).
std::vector<std::string> RoomRow(const Catalogue& catalogue, const ProjectRoom& room, const RoomCheck& check,
                                 char decimalSeparator);

// The spreadsheet: the rooms with what they show, and the properties.
std::vector<ScheduleRow> ScheduleRowsOf(const Catalogue& catalogue, const Project& project,
                                        const std::vector<RoomCheck>& checks);
ScheduleHeader ScheduleHeaderOf(const ProjectProperties& properties, std::string date, std::string catalogue);

}  // namespace nimbo
