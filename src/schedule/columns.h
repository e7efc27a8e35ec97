#pragma once
// The columns of the two sheets, as data: the header with its unit, the
// width, how the numbers look, and where a row's value comes from. A column
// is added, moved or renamed here and nowhere else.
#include <cmath>
#include <optional>
#include <string>

#include "schedule/schedule.h"

namespace nimbo::schedule {

// How a column's numbers look: whole (flows, pressures, levels), tenths (as
// the program rounds velocities and throws), and room sizes with one or two
// decimals. A text column has no number format.
enum class Look { Text, Whole, Tenths, Metres };
inline constexpr int kLooks = 4;

// What one cell holds. The text is the row's own (or a literal), so it is
// valid while the row lives and ends with a NUL as the library wants.
struct Cell {
    enum class Kind { Blank, Number, Text };
    Kind kind = Kind::Blank;
    double number = 0;
    const char* text = "";
};

inline Cell Text(const std::string& s) { return s.empty() ? Cell{} : Cell{Cell::Kind::Text, 0, s.c_str()}; }
// What the program shows for a result it has not got.
inline Cell Missing() { return {Cell::Kind::Text, 0, "-"}; }
// A value that is not finite would make a file no reader opens.
inline Cell Number(double v) { return std::isfinite(v) ? Cell{Cell::Kind::Number, v, ""} : Missing(); }
inline Cell Result(const std::optional<double>& v) { return v ? Number(*v) : Missing(); }
inline Cell Result(const ScheduleValue& v)
{
    if (v.number)
        return Number(*v.number);
    return v.text.empty() ? Missing() : Text(v.text);
}
// The throw and the velocity have a column each, so that a column holds one
// quantity in one unit; a room fills the one its variant gives.
inline Cell Jet(const ScheduleRow& r, JetResult kind) { return r.jetKind == kind ? Result(r.jet) : Cell{}; }

template <class Row>
struct Column {
    const char* header;  // with the unit
    double width;        // in characters of the default font
    Look look;
    Cell (*cell)(const Row&);
};

// Sheet «Ведомость»: one row per room.
inline constexpr Column<ScheduleRow> kRoomColumns[] = {
    {"Помещение", 26, Look::Text, [](const ScheduleRow& r) { return Text(r.room); }},
    {"A, м", 7, Look::Metres, [](const ScheduleRow& r) { return Number(r.A); }},
    {"B, м", 7, Look::Metres, [](const ScheduleRow& r) { return Number(r.B); }},
    {"H, м", 7, Look::Metres, [](const ScheduleRow& r) { return Number(r.H); }},
    {"L, м³/ч", 9, Look::Whole, [](const ScheduleRow& r) { return Number(r.L); }},
    {"Ограничения", 20, Look::Text, [](const ScheduleRow& r) { return Text(r.limits); }},
    {"Тип", 20, Look::Text, [](const ScheduleRow& r) { return Text(r.type); }},
    {"Модель", 12, Look::Text, [](const ScheduleRow& r) { return Text(r.model); }},
    {"Типоразмер", 12, Look::Text, [](const ScheduleRow& r) { return Text(r.size); }},
    {"Исполнение", 16, Look::Text, [](const ScheduleRow& r) { return Text(r.options); }},
    {"n, шт", 6, Look::Whole, [](const ScheduleRow& r) { return Number(r.n); }},
    {"L1, м³/ч", 9, Look::Whole, [](const ScheduleRow& r) { return Result(r.L1); }},
    {"ΔP, Па", 8, Look::Whole, [](const ScheduleRow& r) { return Result(r.dP); }},
    {"LwA, дБ(А)", 10, Look::Whole, [](const ScheduleRow& r) { return Result(r.LwA); }},
    {"l, м", 7, Look::Tenths, [](const ScheduleRow& r) { return Jet(r, JetResult::Throw); }},
    {"Vx, м/с", 8, Look::Tenths, [](const ScheduleRow& r) { return Jet(r, JetResult::Velocity); }},
    {"V0, м/с", 8, Look::Tenths, [](const ScheduleRow& r) { return Result(r.V0); }},
    {"LpA, дБ(А)", 10, Look::Whole, [](const ScheduleRow& r) { return Result(r.LpA); }},
    {"NR", 6, Look::Whole, [](const ScheduleRow& r) { return Result(r.NR); }},
    {"NC", 6, Look::Whole, [](const ScheduleRow& r) { return Result(r.NC); }},
};

// Sheet «Спецификация»: the bill of quantities.
inline constexpr Column<BillLine> kBillColumns[] = {
    {"Модель", 14, Look::Text, [](const BillLine& b) { return Text(b.model); }},
    {"Типоразмер", 12, Look::Text, [](const BillLine& b) { return Text(b.size); }},
    {"Исполнение", 16, Look::Text, [](const BillLine& b) { return Text(b.options); }},
    {"Количество, шт", 12, Look::Whole, [](const BillLine& b) { return Number(b.count); }},
    {"L, м³/ч", 10, Look::Whole, [](const BillLine& b) { return Number(b.flow); }},
};

}  // namespace nimbo::schedule
