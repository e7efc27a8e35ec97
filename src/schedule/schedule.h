#pragma once
// The schedule of air terminals as a spreadsheet (.xlsx) for the drawings:
// one row per room with the outlet chosen for it and its results, and the
// bill of quantities. Plain values in, a file out: the caller fills the rows
// from whatever holds the project.
#include <optional>
#include <string>
#include <vector>

namespace nimbo {

// A result that the program may show as a text instead of a number: an NC
// below or above the curves reads «<15» or «>70». Neither number nor text:
// no result, «-».
struct ScheduleValue {
    std::optional<double> number;
    std::string text;  // used when there is no number
};

// Which jet result a room has: the throw l (m) for a terminal velocity, or
// the velocity Vx (m/s) at a distance.
enum class JetResult { Throw, Velocity };

// One room with its chosen outlet. A missing result (std::nullopt, or a
// value that is not finite) is written as the text "-".
struct ScheduleRow {
    std::string room;  // «101 Кабинет»
    double A = 0, B = 0, H = 0;  // the room, m
    double L = 0;                // total air flow, m³/h
    std::string limits;          // «ΔP≤40; NR≤35»; empty when none
    std::string type, model, size, options;  // options: «КСД, Веер»
    int n = 0;  // outlets in the room
    std::optional<double> L1, dP, LwA;  // m³/h per outlet, Pa, dB(A)
    JetResult jetKind = JetResult::Throw;
    std::optional<double> jet;  // l, m, or Vx, m/s, as jetKind says
    std::optional<double> V0, LpA;  // m/s, dB(A)
    ScheduleValue NR, NC;
};

// The project's properties. They go into the file's document properties and
// into the printed page's header and footer, not into the sheet's cells, so
// that the table starts at the first row under its frozen header row.
struct ScheduleHeader {
    std::string project, object, section, engineer;
    std::string date;       // as it is to be printed
    std::string catalogue;  // the catalogue file the results come from
};

// One line of the bill of quantities: every room's outlets of one model,
// size and options together.
struct BillLine {
    std::string model, size, options;
    int count = 0;    // Σ n
    double flow = 0;  // Σ L of those rooms, m³/h
    bool operator==(const BillLine&) const = default;
};

// By model, then size, then options, each in natural order: the numbers
// inside a name compare by value, so «400x400» comes before «1000x150». A
// room without a model is left out.
std::vector<BillLine> BillOfQuantities(const std::vector<ScheduleRow>& rows);

// Writes the sheets «Ведомость» (the rooms) and «Спецификация» (the bill of
// quantities) to the file at `path` (UTF-8), replacing it whole: the file is
// written beside it under a temporary name and then moved into place, so a
// failure leaves an earlier file as it was. Empty on success, else a message
// in Russian naming the file and the cause.
std::string WriteScheduleXlsx(const std::string& path, const ScheduleHeader& header,
                              const std::vector<ScheduleRow>& rows);

}  // namespace nimbo
