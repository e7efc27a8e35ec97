// The way back from the finder: the row a user chose in room mode, as the
// project room that calculates again to the same row.
#include "calc/numbers.h"
#include "project/room_check.h"

namespace nimbo {

namespace {

// A typed size as the project keeps it; 0 when it is not a number.
double Typed(const std::string& text) { return ParseTyped(text).value_or(0); }

ProjectOutlet OutletOf(const Catalogue& catalogue, const Request& request, const Found& found)
{
    ProjectOutlet o;
    o.type = std::string(catalogue.typeName(found.row));
    o.model = std::string(catalogue.modelName(found.row));
    switch (catalogue.sizeMode(found.row)) {
    case SizeMode::Free:
        o.sizeKind = ProjectSizeKind::Free;
        o.sizeA = Typed(request.inputs.A);
        o.sizeB = Typed(request.inputs.B);
        break;
    case SizeMode::Slot:
        o.sizeKind = ProjectSizeKind::Slot;
        o.length = Typed(request.inputs.Dlina);
        break;
    case SizeMode::Listed:
        o.size = std::string(catalogue.sizeDesignation(found.row, found.sizeIndex));
        break;
    }
    o.plenum = found.picks.ksd;
    o.jetForm = found.picks.regForm;
    o.regulator = found.picks.regRash;
    o.count = static_cast<int>(found.n);
    return o;
}

}  // namespace

std::string RoomFromFound(const Catalogue& catalogue, const Request& request, const Found& found, std::string name,
                          ProjectRoom& out)
{
    if (!request.room)
        return "В проект добавляется помещение: отметьте «Расчет для помещения» и введите его размеры.";
    if (found.row < 1 || found.row > catalogue.recordCount() || found.sizeIndex < 1 ||
        found.sizeIndex > OfferedSizes(catalogue, found.row))
        return "Выберите строку таблицы.";
    if (!found.ok)
        return "Этот воздухораспределитель не рассчитывается: " + found.message;
    ProjectRoom room;
    room.name = std::move(name);
    const Room& r = request.room->room;
    room.space = {r.A, r.B, r.H, r.ear, r.alpha};
    room.flow = Typed(request.inputs.L);
    room.variant = request.variant == kVariantVelocity ? kVariantVelocity : kVariantThrow;
    room.vxOrX = Typed(request.inputs.V);
    room.count = request.room->n;
    room.limits = ProjectLimitsOf(request.limits);
    room.outlet = OutletOf(catalogue, request, found);
    room.results = ResultsOf(found);
    out = std::move(room);
    return {};
}

}  // namespace nimbo
