#include "project_check.h"

#include "project/project_file.h"
#include "support/project_sample.h"
#include "text_checks.h"

namespace nimbo::fuzz {

namespace {

constexpr std::string_view kFileName = "fuzz.nimbo";

bool Positive(double x) { return x > 0; }
bool Whole(int x, int low, int high) { return x >= low && x <= high; }
bool PositiveOrAbsent(const std::optional<double>& x) { return !x || *x > 0; }

// The ranges as the README states them, written again here rather than
// taken from the reader's tables, so that a range the reader forgets shows.
std::string RoomRangeProblem(const ProjectRoom& r)
{
    const ProjectSpace& s = r.space;
    if (!Positive(s.length) || !Positive(s.width) || !Positive(s.height))
        return "a room dimension not above 0";
    if (!(s.ear > 0 && s.ear < s.height) || !(s.alpha > 0 && s.alpha < 1))
        return "the ear height or the absorption out of range";
    if (!Positive(r.flow) || !Positive(r.vxOrX) || !Whole(r.variant, 1, 2))
        return "the flow, the variant or its typed value out of range";
    if (r.count && !Whole(*r.count, 1, kMaxOutletCount))
        return "a room count out of 1..64";
    const ProjectLimits& l = r.limits;
    for (const auto* limit : {&l.dP, &l.LwA, &l.throwMin, &l.throwMax, &l.VxMax, &l.V0Max, &l.LpA})
        if (!PositiveOrAbsent(*limit))
            return "a limit not above 0";
    const ProjectOutlet& o = r.outlet;
    if (o.type.empty() || o.model.empty())
        return "an outlet without a type or a model";
    const bool sizeOk = o.sizeKind == ProjectSizeKind::Listed ? !o.size.empty()
                      : o.sizeKind == ProjectSizeKind::Free   ? Positive(o.sizeA) && Positive(o.sizeB)
                                                              : Positive(o.length);
    if (!sizeOk)
        return "an outlet size out of range";
    if (!Whole(o.plenum, 1, 3) || !Whole(o.jetForm, 1, 4) || !Whole(o.regulator, 1, 5) ||
        !Whole(o.count, 1, kMaxOutletCount))
        return "an option pick or the outlet count out of range";
    const auto& nc = r.results.NC;
    if (nc && nc->range == ProjectNc::Range::Rated && !(nc->value >= 15 && nc->value <= 70))
        return "an NC number outside 15..70";
    return {};
}

std::string CheckFailure(const std::string& message, const Project& open)
{
    if (!(open == test::TwoRoomProject()))
        return "a refused file changed the open project";
    if (!IsValidUtf8(message) || !HasCyrillic(message))
        return "the message is not Russian text: " + message;
    if (!message.starts_with("Файл «" + std::string(kFileName) + "»"))
        return "the message does not start with the file: " + message;
    if (message.find('\n') != std::string::npos)
        return "the message is not one line: " + message;
    return {};
}

std::string CheckSaved(const Project& project)
{
    for (const ProjectRoom& room : project.rooms)
        if (std::string problem = RoomRangeProblem(room); !problem.empty())
            return "read: " + problem;
    const std::string text = WriteProject(project);
    if (!IsValidUtf8(text) || !text.ends_with("}\n") || text.find('\r') != std::string::npos)
        return "the saved text is not UTF-8 with LF line ends";
    Project again;
    if (const std::string message = ReadProject(text, kFileName, again); !message.empty())
        return "the saved project does not read back: " + message;
    if (!(again == project))
        return "the saved project reads back different";
    if (WriteProject(again) != text)
        return "saving again gives other bytes";
    return {};
}

}  // namespace

std::string CheckProjectRead(std::string_view bytes)
{
    Project project = test::TwoRoomProject();
    const std::string message = ReadProject(bytes, kFileName, project);
    return message.empty() ? CheckSaved(project) : CheckFailure(message, project);
}

}  // namespace nimbo::fuzz
