#include "project/project_sheet.h"

#include <cmath>

#include "calc/input_checks.h"
#include "calc/numbers.h"
#include "project/room_texts.h"
#include "room/room_input.h"

namespace nimbo {

namespace {

// The schedule keeps to what fits across a page: the rest is in each
// room's block.
constexpr RoomColumn kScheduleColumns[] = {kRoomName, kRoomFlow, kRoomModel, kRoomSize};

std::string S(std::string_view s) { return std::string(s); }

SheetGroup RoomGroup(const ProjectRoom& room, const RoomCheck& check, char sep)
{
    const ProjectSpace& s = room.space;
    const auto n = [sep](double v) { return NumberText(v, sep); };
    const VariantWords& words = VariantWordsOf(room.variant);
    const std::string limits = LimitsText(room, sep);
    SheetGroup g{"Помещение",
                 {{S(kRoomNameA), n(s.length), "м"},
                  {S(kRoomNameB), n(s.width), "м"},
                  {S(kRoomNameH), n(s.height), "м"},
                  {S(kRoomNameEar), n(s.ear), "м"},
                  {S(kRoomNameAlpha), n(s.alpha), ""},
                  {S(kNameL), n(room.flow), "м³/ч"},
                  {S(room.variant == kVariantVelocity ? kNameX : kNameVx), n(room.vxOrX), S(words.inputUnit)},
                  {S(kRoomNameN), room.count ? std::to_string(*room.count) : "авто", ""},
                  {"Ограничения", limits.empty() ? "нет" : limits, ""}}};
    if (check.recalculated) {
        const Found& f = check.found;
        g.lines.push_back({"Расстановка nx × ny", std::to_string(f.grid.nx) + " × " + std::to_string(f.grid.ny), ""});
        g.lines.push_back({"От уха до ближайшего r", n(Round(f.rNearest, 2)), "м"});
        g.lines.push_back({"Постоянная помещения R", n(Round(f.R, 1)), "м²"});
    }
    return g;
}

SheetGroup OutletGroup(const Catalogue& catalogue, const ProjectRoom& room, const RoomCheck& check, char sep)
{
    SheetGroup g{"Воздухораспределитель",
                 {{"Тип", room.outlet.type, ""}, {"Модель", room.outlet.model, ""},
                  {"Типоразмер", OutletSizeText(room.outlet, sep), "мм"}}};
    if (room.outlet.sizeKind == ProjectSizeKind::Listed)
        g.lines.back().unit.clear();
    if (const std::string options = OptionsText(catalogue, room, check); !options.empty())
        g.lines.push_back({"Исполнение", options, ""});
    return g;
}

SheetGroup ResultsGroup(const ProjectRoom& room, const RoomCheck& check, char sep)
{
    SheetGroup g{check.recalculated ? "Результаты по текущему каталогу" : "Результаты, сохраненные в проекте", {}, true};
    const auto add = [&](const Quantity& q) {
        g.lines.push_back({S(q.symbolIn(room.variant)), q.valueText(check.shown.*q.number, sep), S(q.unitIn(room.variant))});
    };
    for (const Quantity* q : ProjectQuantities())
        add(*q);
    if (check.recalculated)
        add(QuantityOf(kLimitLc));
    return g;
}

RoomSheet SheetOf(const Catalogue& catalogue, const ProjectRoom& room, const RoomCheck& check, char sep)
{
    RoomSheet sheet;
    sheet.title = room.name;
    sheet.groups = {RoomGroup(room, check, sep), OutletGroup(catalogue, room, check, sep),
                    ResultsGroup(room, check, sep)};
    sheet.marks = MarksLine(check);
    if (!check.recalculated)
        return sheet;
    const FoundDetails d = Details(catalogue, check.request, check.found);
    if (d.ok && !std::isnan(check.found.NR))
        sheet.spectrum = SpectrumSheet{d.Lp, static_cast<int>(check.found.NR), room.limits.NR};
    if (d.ok && d.stages.jetShown())
        sheet.jet = JetSheet{d.stages, room.variant, room.vxOrX,
                             room.outlet.model + " " + OutletSizeText(room.outlet, sep)};
    return sheet;
}

}  // namespace

ProjectSheet ProjectSheetOf(const Catalogue& catalogue, const Project& project, const std::vector<RoomCheck>& checks,
                            char sep)
{
    ProjectSheet sheet;
    const ProjectProperties& p = project.properties;
    for (const SheetLine& line : {SheetLine{"Проект", p.name, ""}, SheetLine{"Объект", p.object, ""},
                                  SheetLine{"Раздел", p.section, ""}, SheetLine{"Инженер", p.engineer, ""}})
        if (!line.value.empty())
            sheet.properties.push_back(line);

    const std::vector<std::string> headers = RoomHeaders(project);
    sheet.scheduleHeaders = {"№"};
    for (RoomColumn c : kScheduleColumns)
        sheet.scheduleHeaders.push_back(headers[c]);
    sheet.scheduleHeaders.insert(sheet.scheduleHeaders.end(), headers.begin() + kRoomFirstQuantity, headers.end());

    for (std::size_t i = 0; i < project.rooms.size() && i < checks.size(); ++i) {
        const ProjectRoom& room = project.rooms[i];
        const std::vector<std::string> cells = RoomRow(catalogue, room, checks[i], sep);
        std::vector<std::string> row{std::to_string(i + 1)};
        for (RoomColumn c : kScheduleColumns)
            row.push_back(cells[c]);
        row.insert(row.end(), cells.begin() + kRoomFirstQuantity, cells.end());
        sheet.schedule.push_back(std::move(row));
        sheet.rooms.push_back(SheetOf(catalogue, room, checks[i], sep));
        sheet.marked += checks[i].marked() ? 1 : 0;
    }
    return sheet;
}

}  // namespace nimbo
