#pragma once
// A project's room calculated again with the catalogue at hand, exactly as
// the finder's room mode calculates the candidate that was chosen: the same
// request, one candidate of it. What differs from the room as saved is
// marked and explained; nothing in the room itself is changed, so the saved
// results stay until the user saves the project again.
#include <span>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "project/project.h"
#include "select/quantities.h"
#include "select/search.h"

namespace nimbo {

// The room's inputs as the finder's request in room mode: the room, its
// count («авто» or typed), its flow and Vx or X as texts the finder holds,
// its limits, and the typed size of a free-size or slot outlet.
Request RequestOf(const ProjectRoom& room);

// Why a room is marked, in the order the checks run.
enum class MarkKind {
    Model,    // no such model of the type in the catalogue
    Size,     // the model has no such size (or no longer takes it typed)
    Option,   // an option pick the size no longer offers
    Refused,  // the engine refuses the outlet now
    Changed,  // a result differs from the one saved
};

struct RoomMark {
    MarkKind kind;
    std::string text;      // Russian; for Changed: "ΔP, Па: 12 → 15"
    std::string quantity;  // for Changed: the quantity's key, "dP"
    bool operator==(const RoomMark&) const = default;
};

struct RoomCheck {
    // Model, size and options are in the catalogue as saved, and the engine
    // calculated them: `found` holds the new numbers.
    bool recalculated = false;
    Request request;
    // The row, size index and picks are set once the model and size are
    // found, even where an option or the engine then fails.
    Found found;
    // What the room shows: the new numbers when recalculated, else the saved.
    Found shown;
    std::vector<RoomMark> marks;
    bool marked() const { return !marks.empty(); }
};

// The room with the current catalogue; texts of numbers in the marks use
// the decimal separator.
RoomCheck CheckRoom(const Catalogue& catalogue, const ProjectRoom& room, char decimalSeparator = '.');
std::vector<RoomCheck> CheckProject(const Catalogue& catalogue, const Project& project, char decimalSeparator = '.');

// The marks on one line: "модели «ПДК» нет в каталоге; ...", the changed
// results after "результаты по текущему каталогу отличаются от сохраненных:".
std::string MarksLine(const RoomCheck& check);

// The quantities a project keeps for a room, in the order of its columns:
// n, L1, ΔP, LwA, l or Vx, V0, LpA, NR, NC.
std::span<const Quantity* const> ProjectQuantities();

// A found candidate's results as the project file keeps them.
ProjectResults ResultsOf(const Found& found);
// The room's saved count and results as a candidate's numbers.
Found SavedFound(const ProjectRoom& room);
// The room as it is saved again: with the new results and count where it
// was recalculated, else as it was.
ProjectRoom Refreshed(const ProjectRoom& room, const RoomCheck& check);

// The room that the finder's chosen row makes: the request it searched
// with in room mode (the room, the count as typed, the flow, Vx or X, the
// typed size and the limits that counted) and the row's outlet, count and
// results, under the given name. Empty when `out` holds it; otherwise, in
// Russian, why there is no room to add, and `out` is unchanged.
std::string RoomFromFound(const Catalogue& catalogue, const Request& request, const Found& found, std::string name,
                          ProjectRoom& out);

// The limits as the finder checks them, from those a project keeps.
Limits LimitsOf(const ProjectLimits& limits);
ProjectLimits ProjectLimitsOf(const Limits& limits);

}  // namespace nimbo
