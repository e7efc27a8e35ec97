#include "project/room_texts.h"

#include <algorithm>
#include <cmath>

#include "calc/calculation.h"
#include "calc/numbers.h"
#include "select/offered_options.h"

namespace nimbo {

namespace {

std::optional<double> Kept(double v) { return std::isnan(v) ? std::nullopt : std::optional<double>(v); }

std::string Joined(const std::vector<std::string>& parts, std::string_view separator)
{
    std::string out;
    for (const std::string& part : parts)
        out += (out.empty() ? "" : std::string(separator)) + part;
    return out;
}

// The symbol of the quantity a limit bounds: the throw for «l не более Lc».
std::string_view BoundSymbol(const LimitSlot& slot, int variant)
{
    for (const Quantity& q : Quantities())
        if (q.number == slot.number)
            return q.symbolIn(variant);
    return QuantityOf(slot.bit).symbolIn(variant);
}

// What a room shows beside NC in the spreadsheet: a number, or «<15», «>70».
ScheduleValue CriterionOf(const Found& f)
{
    if (f.nc.kind == NcRating::Value)
        return {static_cast<double>(f.nc.value), {}};
    if (f.nc.kind == NcRating::None)
        return {};
    return {std::nullopt, NcText(f.nc)};
}

}  // namespace

std::string OutletSizeText(const ProjectOutlet& o, char sep)
{
    switch (o.sizeKind) {
    case ProjectSizeKind::Free:
        return FreeSizeText(NumberText(o.sizeA, sep), NumberText(o.sizeB, sep));
    case ProjectSizeKind::Slot:
        return NumberText(o.length, sep);
    case ProjectSizeKind::Listed:
        break;
    }
    return o.size;
}

std::string OptionsText(const Catalogue& catalogue, const ProjectRoom& room, const RoomCheck& check)
{
    const bool offered = check.found.row > 0 && std::none_of(check.marks.begin(), check.marks.end(), [](const RoomMark& m) {
                             return m.kind == MarkKind::Option;
                         });
    if (offered)
        return PicksText(catalogue.line(check.found.row, check.found.sizeIndex), check.found.picks);
    const ProjectOutlet& o = room.outlet;
    std::vector<std::string> parts;
    if (o.plenum != 1)
        parts.push_back(std::string(kPlenumCaptions[static_cast<std::size_t>(o.plenum - 1)]));
    if (o.jetForm != 1)
        parts.push_back("форма струи № " + std::to_string(o.jetForm));
    if (o.regulator != 1)
        parts.push_back("регулятор № " + std::to_string(o.regulator));
    return Joined(parts, ", ");
}

std::string DimensionsText(const ProjectSpace& s, char sep)
{
    return NumberText(s.length, sep) + " × " + NumberText(s.width, sep) + " × " + NumberText(s.height, sep);
}

std::string LimitsText(const ProjectRoom& room, char sep)
{
    const Limits limits = LimitsOf(room.limits);
    std::vector<std::string> parts;
    for (const LimitSlot& slot : LimitSlots()) {
        if (!LimitApplies(slot, room.variant, true))
            continue;
        std::string bound;
        if (slot.value && limits.*slot.value)
            bound = NumberText(*(limits.*slot.value), sep);
        else if (!slot.value && slot.bit == kLimitLc && limits.throwWithinLc)
            bound = std::string(QuantityOf(kLimitLc).symbol);
        if (!bound.empty())
            parts.push_back(std::string(BoundSymbol(slot, room.variant)) +
                            (slot.bound == Bound::AtMost ? "≤" : "≥") + bound);
    }
    return Joined(parts, "; ");
}

int RoomColumnCount() { return kRoomFirstQuantity + static_cast<int>(ProjectQuantities().size()); }

std::vector<std::string> RoomHeaders(const Project& project)
{
    std::vector<std::string> h{"Помещение", "A × B × H, м", "L, м³/ч", "Ограничения", "Тип",
                               "Модель",    "Типоразмер",   "Исполнение"};
    const auto variant = [&](int v) {
        return std::any_of(project.rooms.begin(), project.rooms.end(), [v](const ProjectRoom& r) { return r.variant == v; });
    };
    const bool both = variant(kVariantThrow) && variant(kVariantVelocity);
    const int only = variant(kVariantVelocity) ? kVariantVelocity : kVariantThrow;
    for (const Quantity* q : ProjectQuantities())
        h.push_back(both && q->header(kVariantThrow) != q->header(kVariantVelocity)
                        ? q->header(kVariantThrow) + " / " + q->header(kVariantVelocity)
                        : q->header(only));
    return h;
}

std::vector<std::string> RoomRow(const Catalogue& catalogue, const ProjectRoom& room, const RoomCheck& check,
                                 char sep)
{
    std::vector<std::string> row{room.name,
                                 DimensionsText(room.space, sep),
                                 NumberText(room.flow, sep),
                                 LimitsText(room, sep),
                                 room.outlet.type,
                                 room.outlet.model,
                                 OutletSizeText(room.outlet, sep),
                                 OptionsText(catalogue, room, check)};
    for (const Quantity* q : ProjectQuantities())
        row.push_back(q->valueText(check.shown.*q->number, sep));
    return row;
}

std::vector<ScheduleRow> ScheduleRowsOf(const Catalogue& catalogue, const Project& project,
                                        const std::vector<RoomCheck>& checks)
{
    std::vector<ScheduleRow> rows;
    for (std::size_t i = 0; i < project.rooms.size() && i < checks.size(); ++i) {
        const ProjectRoom& room = project.rooms[i];
        const Found& f = checks[i].shown;
        ScheduleRow r;
        r.room = room.name;
        r.A = room.space.length, r.B = room.space.width, r.H = room.space.height;
        r.L = room.flow;
        r.limits = LimitsText(room, '.');
        r.type = room.outlet.type, r.model = room.outlet.model;
        r.size = OutletSizeText(room.outlet, '.');
        r.options = OptionsText(catalogue, room, checks[i]);
        r.n = static_cast<int>(f.n);
        r.L1 = Kept(f.L1), r.dP = Kept(f.dP), r.LwA = Kept(f.LwA);
        r.jetKind = room.variant == kVariantVelocity ? JetResult::Velocity : JetResult::Throw;
        r.jet = Kept(f.jet), r.V0 = Kept(f.V0), r.LpA = Kept(f.LpA);
        r.NR = {Kept(f.NR), {}};
        r.NC = CriterionOf(f);
        rows.push_back(std::move(r));
    }
    return rows;
}

ScheduleHeader ScheduleHeaderOf(const ProjectProperties& p, std::string date, std::string catalogue)
{
    return {p.name, p.object, p.section, p.engineer, std::move(date), std::move(catalogue)};
}

}  // namespace nimbo
