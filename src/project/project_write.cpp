#include "project/json.h"
#include "project/project_fields.h"
#include "project/project_file.h"

namespace nimbo {

namespace {

using namespace project_fields;
using json::Member;

json::Value Optional(const std::optional<double>& v) { return v ? json::Number(*v) : json::Null(); }

template <class Owner, class Type, std::size_t N>
void AddFields(std::vector<Member>& members, const Owner& owner, const Field<Owner, Type> (&fields)[N])
{
    for (const auto& field : fields) {
        if constexpr (std::is_same_v<Type, std::string>)
            members.push_back({std::string(field.name), json::String(owner.*field.member)});
        else if constexpr (std::is_same_v<Type, double>)
            members.push_back({std::string(field.name), json::Number(owner.*field.member)});
        else
            members.push_back({std::string(field.name), Optional(owner.*field.member)});
    }
}

template <class Owner, class Type, std::size_t N>
json::Value FieldsObject(const Owner& owner, const Field<Owner, Type> (&fields)[N])
{
    std::vector<Member> members;
    AddFields(members, owner, fields);
    return json::Object(std::move(members));
}

json::Value LimitsValue(const ProjectLimits& limits)
{
    json::Value v = FieldsObject(limits, kLimits);
    v.members.push_back({std::string(kThrowWithinLc), json::Bool(limits.throwWithinLc)});
    return v;
}

json::Value OutletValue(const ProjectOutlet& o)
{
    std::vector<Member> m;
    m.push_back({"type", json::String(o.type)});
    m.push_back({"model", json::String(o.model)});
    switch (o.sizeKind) {
    case ProjectSizeKind::Listed:
        m.push_back({"size", json::String(o.size)});
        break;
    case ProjectSizeKind::Free:
        m.push_back({"sizeA", json::Number(o.sizeA)});
        m.push_back({"sizeB", json::Number(o.sizeB)});
        break;
    case ProjectSizeKind::Slot:
        m.push_back({"length", json::Number(o.length)});
        break;
    }
    for (const OptionField& option : kOptions)
        m.push_back({std::string(option.name), json::Number(o.*option.member)});
    m.push_back({"count", json::Number(o.count)});
    return json::Object(std::move(m));
}

json::Value NcValue(const std::optional<ProjectNc>& nc)
{
    if (!nc)
        return json::Null();
    switch (nc->range) {
    case ProjectNc::Range::Below15:
        return json::String(std::string(kNcBelow));
    case ProjectNc::Range::Above70:
        return json::String(std::string(kNcAbove));
    case ProjectNc::Range::Rated:
        break;
    }
    return json::Number(nc->value);
}

json::Value ResultsValue(const ProjectResults& r, int variant)
{
    std::vector<Member> m;
    AddFields(m, r, kResultsBeforeJet);
    m.push_back({std::string(JetResultName(variant)), Optional(r.jet)});
    AddFields(m, r, kResultsAfterJet);
    m.push_back({std::string(kNc), NcValue(r.NC)});
    return json::Object(std::move(m));
}

json::Value RoomValue(const ProjectRoom& room)
{
    std::vector<Member> m;
    m.push_back({"name", json::String(room.name)});
    m.push_back({"room", FieldsObject(room.space, kSpace)});
    m.push_back({"flow", json::Number(room.flow)});
    m.push_back({"variant", json::Number(room.variant)});
    m.push_back({std::string(TypedName(room.variant)), json::Number(room.vxOrX)});
    m.push_back({"count", room.count ? json::Number(*room.count) : json::Null()});
    m.push_back({"limits", LimitsValue(room.limits)});
    m.push_back({"outlet", OutletValue(room.outlet)});
    m.push_back({"results", ResultsValue(room.results, room.variant)});
    return json::Object(std::move(m));
}

}  // namespace

std::string WriteProject(const Project& project)
{
    std::vector<json::Value> rooms;
    rooms.reserve(project.rooms.size());
    for (const ProjectRoom& room : project.rooms)
        rooms.push_back(RoomValue(room));
    return json::Write(json::Object({
        {"format", json::String(std::string(kProjectFormatName))},
        {"version", json::Number(kProjectFormatVersion)},
        {"properties", FieldsObject(project.properties, kProperties)},
        {"rooms", json::Array(std::move(rooms))},
    }));
}

}  // namespace nimbo
