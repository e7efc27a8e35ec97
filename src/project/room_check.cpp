#include "project/room_check.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/numbers.h"
#include "project/json.h"
#include "project/room_texts.h"
#include "select/offered_options.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

// Long enough for any model or size the catalogue lists.
constexpr int kNameCharacters = 40;

std::string Q(std::string_view name) { return QuotedLine(name, kNameCharacters); }

// The results kept as numbers, beside the count and NC, which are kept
// otherwise.
struct KeptNumber {
    double Found::*found;
    std::optional<double> ProjectResults::*saved;
};
constexpr KeptNumber kKeptNumbers[] = {
    {&Found::L1, &ProjectResults::L1}, {&Found::dP, &ProjectResults::dP},   {&Found::LwA, &ProjectResults::LwA},
    {&Found::jet, &ProjectResults::jet}, {&Found::V0, &ProjectResults::V0}, {&Found::LpA, &ProjectResults::LpA},
    {&Found::NR, &ProjectResults::NR},
};

constexpr std::string_view kKeptKeys[] = {"n", "L1", "dP", "LwA", "jet", "V0", "LpA", "NR", "NC"};

// The catalogue's words for the ways a size is given.
SizeMode ModeOf(ProjectSizeKind kind)
{
    switch (kind) {
    case ProjectSizeKind::Free:
        return SizeMode::Free;
    case ProjectSizeKind::Slot:
        return SizeMode::Slot;
    case ProjectSizeKind::Listed:
        break;
    }
    return SizeMode::Listed;
}

struct Place {
    int row = 0, sizeIndex = 0;
};

// The size line of the saved type, model and size. A model may stand in
// several rows; the first that has the size is taken.
std::optional<RoomMark> Locate(const Catalogue& c, const ProjectOutlet& o, char sep, Place& place)
{
    bool model = false;
    for (int row = 1; row <= c.recordCount(); ++row) {
        if (c.typeName(row) != o.type || c.modelName(row) != o.model)
            continue;
        model = true;
        const int sizes = OfferedSizes(c, row);
        if (c.sizeMode(row) != ModeOf(o.sizeKind) || sizes < 1)
            continue;
        for (int k = 1; k <= sizes; ++k) {
            if (o.sizeKind == ProjectSizeKind::Listed && c.sizeDesignation(row, k) != o.size)
                continue;
            place = {row, k};
            return std::nullopt;
        }
    }
    if (!model)
        return RoomMark{MarkKind::Model, "модели " + Q(o.model) + " типа " + Q(o.type) + " нет в каталоге", {}};
    return RoomMark{MarkKind::Size,
                    "типоразмера " + Q(OutletSizeText(o, sep)) + " у модели " + Q(o.model) + " в каталоге нет", {}};
}

// The first group whose pick no offered combination has, the earlier
// groups' picks kept.
std::optional<RoomMark> CheckPicks(const SizeLine& line, const OptionPicks& picks)
{
    const std::vector<OptionPicks> all = AllPicks(line);
    const auto offered = [&all](auto same) { return std::any_of(all.begin(), all.end(), same); };
    if (offered([&](const OptionPicks& p) { return p == picks; }))
        return std::nullopt;
    const std::string_view noLonger = " для этого типоразмера в каталоге больше не предлагается";
    if (!offered([&](const OptionPicks& p) { return p.ksd == picks.ksd; }))
        return RoomMark{MarkKind::Option, "исполнение КСД " +
                                              Q(kPlenumCaptions[static_cast<std::size_t>(picks.ksd - 1)]) +
                                              std::string(noLonger), {}};
    if (!offered([&](const OptionPicks& p) { return p.ksd == picks.ksd && p.regForm == picks.regForm; }))
        return RoomMark{MarkKind::Option, "форма струи № " + std::to_string(picks.regForm) + std::string(noLonger), {}};
    return RoomMark{MarkKind::Option,
                    "положение регулятора расхода № " + std::to_string(picks.regRash) + std::string(noLonger), {}};
}

void AddChanges(const ProjectRoom& room, const Found& found, char sep, std::vector<RoomMark>& marks)
{
    const Found saved = SavedFound(room);
    for (const Quantity* q : ProjectQuantities()) {
        const std::string before = q->valueText(saved.*q->number, sep);
        const std::string now = q->valueText(found.*q->number, sep);
        if (before != now)
            marks.push_back({MarkKind::Changed, q->header(room.variant) + ": " + before + " → " + now, std::string(q->key)});
    }
}

std::optional<double> Kept(double v) { return std::isnan(v) ? std::nullopt : std::optional<double>(v); }

}  // namespace

Request RequestOf(const ProjectRoom& room)
{
    // The numbers as texts that read back to the same doubles.
    Request r;
    r.type = room.outlet.type;
    r.inputs.L = json::NumberText(room.flow);
    r.inputs.V = json::NumberText(room.vxOrX);
    const ProjectOutlet& o = room.outlet;
    if (o.sizeKind == ProjectSizeKind::Free) {
        r.inputs.A = json::NumberText(o.sizeA);
        r.inputs.B = json::NumberText(o.sizeB);
    }
    if (o.sizeKind == ProjectSizeKind::Slot)
        r.inputs.Dlina = json::NumberText(o.length);
    r.variant = room.variant;
    r.limits = LimitsOf(room.limits);
    const ProjectSpace& s = room.space;
    r.room = RoomInput{Room{s.length, s.width, s.height, s.ear, s.alpha}, room.count};
    return r;
}

RoomCheck CheckRoom(const Catalogue& catalogue, const ProjectRoom& room, char sep)
{
    RoomCheck check;
    check.request = RequestOf(room);
    check.request.decimalSeparator = sep;
    check.shown = SavedFound(room);
    Place place;
    if (std::optional<RoomMark> mark = Locate(catalogue, room.outlet, sep, place)) {
        check.marks.push_back(std::move(*mark));
        return check;
    }
    const OptionPicks picks{room.outlet.plenum, room.outlet.jetForm, room.outlet.regulator};
    check.found.row = place.row;
    check.found.sizeIndex = place.sizeIndex;
    check.found.picks = picks;
    if (std::optional<RoomMark> mark = CheckPicks(catalogue.line(place.row, place.sizeIndex), picks)) {
        check.marks.push_back(std::move(*mark));
        return check;
    }
    check.found = EvaluateOne(catalogue, check.request, place.row, place.sizeIndex, picks);
    if (!check.found.ok) {
        check.marks.push_back(
            {MarkKind::Refused, "расчет по текущему каталогу не выполняется: " + check.found.message, {}});
        return check;
    }
    check.recalculated = true;
    check.shown = check.found;
    AddChanges(room, check.found, sep, check.marks);
    return check;
}

std::vector<RoomCheck> CheckProject(const Catalogue& catalogue, const Project& project, char sep)
{
    std::vector<RoomCheck> checks;
    checks.reserve(project.rooms.size());
    for (const ProjectRoom& room : project.rooms)
        checks.push_back(CheckRoom(catalogue, room, sep));
    return checks;
}

std::string MarksLine(const RoomCheck& check)
{
    std::string line, changes;
    for (const RoomMark& mark : check.marks) {
        std::string& to = mark.kind == MarkKind::Changed ? changes : line;
        to += (to.empty() ? "" : "; ") + mark.text;
    }
    if (!changes.empty())
        line += (line.empty() ? "" : "; ") + std::string("результаты по текущему каталогу отличаются от сохраненных: ") +
                changes;
    return line;
}

std::span<const Quantity* const> ProjectQuantities()
{
    static const auto kept = [] {
        std::array<const Quantity*, std::size(kKeptKeys)> out{};
        for (std::size_t i = 0; i < out.size(); ++i)
            for (const Quantity& q : Quantities())
                if (q.key == kKeptKeys[i])
                    out[i] = &q;
        return out;
    }();
    return kept;
}

ProjectResults ResultsOf(const Found& f)
{
    ProjectResults r;
    for (const KeptNumber& k : kKeptNumbers)
        r.*k.saved = Kept(f.*k.found);
    switch (f.nc.kind) {
    case NcRating::Value:
        r.NC = ProjectNc{ProjectNc::Range::Rated, static_cast<double>(f.nc.value)};
        break;
    case NcRating::Below:
        r.NC = ProjectNc{ProjectNc::Range::Below15, 0};
        break;
    case NcRating::Above:
        r.NC = ProjectNc{ProjectNc::Range::Above70, 0};
        break;
    case NcRating::None:
        break;
    }
    return r;
}

Found SavedFound(const ProjectRoom& room)
{
    Found f;
    f.ok = true;
    f.n = room.outlet.count;
    for (const KeptNumber& k : kKeptNumbers)
        f.*k.found = (room.results.*k.saved).value_or(kNoValue);
    if (const std::optional<ProjectNc>& nc = room.results.NC) {
        switch (nc->range) {
        case ProjectNc::Range::Rated:
            f.nc = {NcRating::Value, static_cast<int>(nc->value)};
            f.NC = nc->value;
            break;
        case ProjectNc::Range::Below15:
            f.nc = {NcRating::Below, 0};
            f.NC = kNcBelowCurves;
            break;
        case ProjectNc::Range::Above70:
            f.nc = {NcRating::Above, 0};
            f.NC = kNcAboveCurves;
            break;
        }
    }
    return f;
}

ProjectRoom Refreshed(const ProjectRoom& room, const RoomCheck& check)
{
    ProjectRoom r = room;
    if (check.recalculated) {
        r.results = ResultsOf(check.found);
        r.outlet.count = static_cast<int>(check.found.n);
    }
    return r;
}

Limits LimitsOf(const ProjectLimits& p)
{
    return {p.dP, p.LwA, p.throwMin, p.throwMax, p.VxMax, p.V0Max, p.NR, p.LpA, p.throwWithinLc};
}

ProjectLimits ProjectLimitsOf(const Limits& l)
{
    return {l.dP, l.LwA, l.throwMin, l.throwMax, l.VxMax, l.V0Max, l.NR, l.LpA, l.throwWithinLc};
}

}  // namespace nimbo
