#include <cmath>

#include "project/json.h"
#include "project/project_fields.h"
#include "project/project_file.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

using namespace project_fields;
using Kind = json::Value::Kind;

// Long enough for a full path or a room's name, short enough for one line.
constexpr int kFileNameCharacters = 260;
constexpr int kNameCharacters = 60;
constexpr int kFoundTextCharacters = 30;

// The value as a message names what the file holds instead.
std::string Describe(const json::Value& v)
{
    switch (v.kind) {
    case Kind::Null:
        return "null";
    case Kind::Bool:
        return v.boolean ? "true" : "false";
    case Kind::Number:
        return json::NumberText(v.number);
    case Kind::String:
        return "текст " + QuotedLine(v.text, kFoundTextCharacters);
    case Kind::Array:
        return "массив [ … ]";
    case Kind::Object:
        break;
    }
    return "объект { … }";
}

std::string_view Requirement(Range range)
{
    switch (range) {
    case Range::Positive:
        return "числом больше 0";
    case Range::Fraction:
        return "числом больше 0 и меньше 1";
    case Range::Any:
        break;
    }
    return "числом";
}

bool InRange(double x, Range range)
{
    switch (range) {
    case Range::Positive:
        return x > 0;
    case Range::Fraction:
        return x > 0 && x < 1;
    case Range::Any:
        break;
    }
    return true;
}

// Where reading is, and the first problem found: every message names the
// file, then the room when inside one, then the field.
struct Context {
    std::string file;  // quoted
    std::string room;  // "помещение 2 «102 Кабинет»", or empty outside the rooms
    std::string problem;

    bool failed() const { return !problem.empty(); }
    bool fail(std::string_view field, std::string_view what)
    {
        if (problem.empty())
            problem = "Файл " + file + ": " + (room.empty() ? "" : room + ", ") + "поле «" + std::string(field) +
                      "»: " + std::string(what);
        return false;
    }
};

// The members of one object of the file, with the path that names them.
class Fields {
public:
    Fields(const json::Value& object, std::string path, Context& context)
        : object_(object), path_(std::move(path)), context_(context)
    {
    }

    // The member, or nullptr when it is absent or null.
    const json::Value* get(std::string_view name) const
    {
        const json::Value* v = object_.find(name);
        return v && v->kind != Kind::Null ? v : nullptr;
    }
    std::string path(std::string_view name) const { return path_ + std::string(name); }

    bool failWith(std::string_view name, std::string_view what) { return context_.fail(path(name), what); }
    // "должно быть <requirement>", and what the file holds instead.
    bool fail(std::string_view name, std::string_view requirement)
    {
        const json::Value* v = object_.find(name);
        const std::string must = "должно быть " + std::string(requirement);
        return failWith(name, v ? must + ", а в файле " + Describe(*v) : "не указано (" + must + ")");
    }

    bool number(std::string_view name, Range range, bool required, double& out)
    {
        const json::Value* v = get(name);
        if (!v)
            return !required || fail(name, Requirement(range));
        if (v->kind != Kind::Number || !InRange(v->number, range))
            return fail(name, Requirement(range));
        out = v->number;
        return true;
    }

    bool optionalNumber(std::string_view name, Range range, std::optional<double>& out)
    {
        const json::Value* v = get(name);
        if (!v)
            return true;
        if (v->kind != Kind::Number || !InRange(v->number, range))
            return fail(name, std::string(Requirement(range)) + " или null");
        out = v->number;
        return true;
    }

    // A whole number low..high; `requirement` says so in words.
    bool whole(std::string_view name, int low, int high, bool required, std::string_view requirement, int& out)
    {
        const json::Value* v = get(name);
        if (!v)
            return !required || fail(name, requirement);
        if (v->kind != Kind::Number || v->number != std::floor(v->number) || v->number < low || v->number > high)
            return fail(name, requirement);
        out = static_cast<int>(v->number);
        return true;
    }

    bool text(std::string_view name, bool required, bool nonEmpty, std::string& out)
    {
        const std::string_view requirement = nonEmpty ? "непустым текстом в кавычках" : "текстом в кавычках";
        const json::Value* v = get(name);
        if (!v)
            return !required || fail(name, requirement);
        if (v->kind != Kind::String || (nonEmpty && v->text.empty()))
            return fail(name, requirement);
        out = v->text;
        return true;
    }

    bool flag(std::string_view name, bool& out)
    {
        const json::Value* v = get(name);
        if (v && v->kind != Kind::Bool)
            return fail(name, "true или false");
        out = v && v->boolean;
        return true;
    }

    // The member's own fields; nullopt when it is absent and not required,
    // or when it is not an object (then the context says so).
    std::optional<Fields> child(std::string_view name, bool required)
    {
        const json::Value* v = get(name);
        if (!v) {
            if (required)
                fail(name, "объектом { … }");
            return std::nullopt;
        }
        if (v->kind != Kind::Object) {
            fail(name, "объектом { … }");
            return std::nullopt;
        }
        return Fields(*v, path(name) + ".", context_);
    }

private:
    const json::Value& object_;
    std::string path_;
    Context& context_;
};

template <class Owner, class Type, std::size_t N>
bool ReadFields(Fields& f, const Field<Owner, Type> (&fields)[N], Owner& out)
{
    for (const auto& field : fields) {
        bool ok = false;
        if constexpr (std::is_same_v<Type, std::string>)
            ok = f.text(field.name, field.required, false, out.*field.member);
        else if constexpr (std::is_same_v<Type, double>)
            ok = f.number(field.name, field.range, field.required, out.*field.member);
        else
            ok = f.optionalNumber(field.name, field.range, out.*field.member);
        if (!ok)
            return false;
    }
    return true;
}

bool ReadSpace(Fields& f, ProjectSpace& space)
{
    if (!ReadFields(f, kSpace, space))
        return false;
    if (space.ear < space.height)
        return true;
    const std::string height = json::NumberText(space.height);
    if (!f.get("ear"))
        return f.failWith("ear", "не указано, а высота уха по умолчанию " + json::NumberText(space.ear) +
                                     " м не ниже высоты помещения " + height + " м");
    return f.fail("ear", "числом больше 0 и меньше высоты помещения " + height + " м");
}

bool ReadLimits(Fields& f, ProjectLimits& limits)
{
    return ReadFields(f, kLimits, limits) && f.flag(kThrowWithinLc, limits.throwWithinLc);
}

bool ReadNc(Fields& f, std::optional<ProjectNc>& out)
{
    const json::Value* v = f.get(kNc);
    if (!v)
        return true;
    ProjectNc nc;
    if (v->kind == Kind::Number && v->number >= kNcLowest && v->number <= kNcHighest)
        nc.value = v->number;
    else if (v->kind == Kind::String && v->text == kNcBelow)
        nc.range = ProjectNc::Range::Below15;
    else if (v->kind == Kind::String && v->text == kNcAbove)
        nc.range = ProjectNc::Range::Above70;
    else
        return f.fail(kNc, "числом от 15 до 70, текстом \"<15\" или \">70\" или null (нет значения)");
    out = nc;
    return true;
}

bool ReadResults(Fields& f, int variant, ProjectResults& results)
{
    return ReadFields(f, kResultsBeforeJet, results) &&
           f.optionalNumber(JetResultName(variant), Range::Any, results.jet) &&
           ReadFields(f, kResultsAfterJet, results) && ReadNc(f, results.NC);
}

bool ReadOutletSize(Fields& f, ProjectOutlet& o)
{
    const bool listed = f.get("size"), free = f.get("sizeA") || f.get("sizeB"), slot = f.get("length");
    if (listed + free + slot > 1)
        return f.failWith("size", "указано несколько размеров сразу, а нужен один: size, или sizeA и sizeB, "
                                  "или length");
    if (free) {
        o.sizeKind = ProjectSizeKind::Free;
        return f.number("sizeA", Range::Positive, true, o.sizeA) && f.number("sizeB", Range::Positive, true, o.sizeB);
    }
    if (slot) {
        o.sizeKind = ProjectSizeKind::Slot;
        return f.number("length", Range::Positive, true, o.length);
    }
    o.sizeKind = ProjectSizeKind::Listed;
    if (!listed)
        return f.failWith("size", "не указано: нужен типоразмер из каталога (size), или sizeA и sizeB в мм, "
                                  "или length в мм для щелевого");
    return f.text("size", true, true, o.size);
}

bool ReadOutlet(Fields& f, ProjectOutlet& o)
{
    if (!f.text("type", true, true, o.type) || !f.text("model", true, true, o.model) || !ReadOutletSize(f, o))
        return false;
    for (const OptionField& option : kOptions) {
        const std::string requirement = "целым числом от 1 до " + std::to_string(option.choices);
        if (!f.whole(option.name, 1, option.choices, false, requirement, o.*option.member))
            return false;
    }
    return f.whole("count", 1, kMaxOutletCount, true, "целым числом от 1 до " + std::to_string(kMaxOutletCount),
                   o.count);
}

// The inputs in the order the README lists them; the name first, so that
// every later message can name the room.
bool ReadRoomFields(Fields& f, Context& context, ProjectRoom& room)
{
    if (!f.text("name", true, false, room.name))
        return false;
    context.room += " " + QuotedLine(room.name, kNameCharacters);
    auto space = f.child("room", true);
    if (!space || !ReadSpace(*space, room.space) || !f.number("flow", Range::Positive, true, room.flow) ||
        !f.whole("variant", kVariantThrow, kVariantVelocity, true,
                 "1 (дальнобойность l при скорости Vx) или 2 (скорость Vx на расстоянии X)", room.variant) ||
        !f.number(TypedName(room.variant), Range::Positive, true, room.vxOrX))
        return false;
    int count = 0;
    const std::string countRequirement =
        "целым числом от 1 до " + std::to_string(kMaxOutletCount) + " или null («авто»)";
    if (!f.whole("count", 1, kMaxOutletCount, false, countRequirement, count))
        return false;
    if (count > 0)
        room.count = count;
    auto limits = f.child("limits", false);
    if (context.failed() || (limits && !ReadLimits(*limits, room.limits)))
        return false;
    auto outlet = f.child("outlet", true);
    if (!outlet || !ReadOutlet(*outlet, room.outlet))
        return false;
    auto results = f.child("results", false);
    return !context.failed() && (!results || ReadResults(*results, room.variant, room.results));
}

bool ReadRooms(const json::Value& rooms, Context& context, std::vector<ProjectRoom>& out)
{
    for (std::size_t i = 0; i < rooms.items.size(); ++i) {
        const json::Value& v = rooms.items[i];
        context.room = "помещение " + std::to_string(i + 1);
        if (v.kind != Kind::Object) {
            context.problem = "Файл " + context.file + ": " + context.room +
                              " должно быть объектом { … }, а в файле " + Describe(v);
            return false;
        }
        Fields f(v, "", context);
        ProjectRoom room;
        if (!ReadRoomFields(f, context, room))
            return false;
        out.push_back(std::move(room));
    }
    context.room.clear();
    return true;
}

// The format and its version first: a newer file is named as such rather
// than by the first field this program does not understand.
bool ReadHeader(Fields& f, Context& context, Project& project)
{
    const json::Value* format = f.get("format");
    if (!format || format->kind != Kind::String || format->text != kProjectFormatName) {
        context.problem = "Файл " + context.file + " — не файл проекта «Нимбо»: в нём нет поля «format» со значением \"" +
                          std::string(kProjectFormatName) + "\"";
        return false;
    }
    const json::Value* version = f.get("version");
    const bool whole = version && version->kind == Kind::Number && version->number == std::floor(version->number);
    if (whole && version->number > kProjectFormatVersion) {
        context.problem = "Файл " + context.file + " создан более новой версией программы (формат " +
                          json::NumberText(version->number) + "), эта понимает формат " +
                          std::to_string(kProjectFormatVersion);
        return false;
    }
    return f.whole("version", 1, kProjectFormatVersion, true,
                   "номером формата " + std::to_string(kProjectFormatVersion), project.version);
}

bool ReadDocument(const json::Value& root, Context& context, Project& project)
{
    if (root.kind != Kind::Object) {
        context.problem = "Файл " + context.file + " — не файл проекта «Нимбо»: в нём " + Describe(root) +
                          ", а не объект { … }";
        return false;
    }
    Fields f(root, "", context);
    if (!ReadHeader(f, context, project))
        return false;
    auto properties = f.child("properties", false);
    if (context.failed() || (properties && !ReadFields(*properties, kProperties, project.properties)))
        return false;
    const json::Value* rooms = f.get("rooms");
    if (!rooms || rooms->kind != Kind::Array)
        return f.fail("rooms", "массивом помещений [ … ]");
    return ReadRooms(*rooms, context, project.rooms);
}

std::string SyntaxProblem(std::string_view bytes, const std::string& file, const json::ParseError& error)
{
    const json::Position at = json::PositionOf(bytes, error.offset);
    const std::string where = "строка " + std::to_string(at.line) + ", столбец " + std::to_string(at.column);
    if (error.truncated)
        return "Файл " + file + " обрывается (" + where + "): " + error.what;
    return "Файл " + file + ", " + where + ": " + error.what;
}

}  // namespace

std::string ReadProject(std::string_view bytes, std::string_view fileName, Project& out)
{
    Context context;
    context.file = QuotedLine(fileName, kFileNameCharacters);
    if (bytes.size() > json::kMaxBytes)
        return "Файл " + context.file + " больше " + std::to_string(json::kMaxBytes >> 20) +
               " МБ — это не файл проекта";
    std::string_view content = bytes;
    if (content.starts_with(json::kByteOrderMark))
        content.remove_prefix(json::kByteOrderMark.size());
    if (TrimSpace(content).empty())
        return "Файл " + context.file + " пуст";
    json::Value root;
    json::ParseError error;
    if (!json::Parse(bytes, root, error))
        return SyntaxProblem(bytes, context.file, error);
    Project project;
    if (!ReadDocument(root, context, project))
        return context.problem;
    out = std::move(project);
    return {};
}

}  // namespace nimbo
