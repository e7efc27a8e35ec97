#pragma once
// The size finder: every model × size of a type (or of every type) for one
// air flow, each calculated by the engine of "Считай!" and checked against
// the user's limits. Candidates that meet every limit come first, by LwA,
// then by ΔP.
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "calc/calculation.h"
#include "catalogue/catalogue.h"
#include "room/ratings.h"
#include "room/room_input.h"
#include "select/offered_options.h"

namespace nimbo {

// The limits as typed; an empty (or blank) box sets no limit.
struct LimitTexts {
    std::string dP, LwA, throwMin, throwMax, VxMax, V0Max, NR, LpA;
    bool throwWithinLc = false;  // «l не более Lc»
};

// Each limit a candidate can miss, as a bit of Found::misses.
enum LimitBit : unsigned {
    kLimitDP = 1U << 0,
    kLimitLwA = 1U << 1,
    kLimitThrowMin = 1U << 2,
    kLimitThrowMax = 1U << 3,
    kLimitVx = 1U << 4,
    kLimitV0 = 1U << 5,
    kLimitNR = 1U << 6,
    kLimitLpA = 1U << 7,
    kLimitLc = 1U << 8,
};
inline constexpr int kLimitCount = 9;

struct Limits {
    std::optional<double> dP, LwA, throwMin, throwMax, VxMax, V0Max, NR, LpA;
    bool throwWithinLc = false;  // the throw reaches no further than Lc (a room, variant 1)
};

// The box's name as the finder labels it, for messages and tooltips.
std::string_view LimitName(LimitBit limit);

// Reads the limits that count for the variant (the throw limits in variant
// 1, the velocity limit in variant 2) and, for a room, the room's: each a
// number above 0 by the main window's rules (NR any number), or empty.
// Empty when all are usable, else the refusal naming the box.
std::string ReadLimits(const LimitTexts& texts, int variant, bool room, Limits& out);

struct Request {
    std::string type;  // the type name; empty: every type
    Inputs inputs;     // L, Vx or X, A, B and the slot length as typed
    int variant = 1;
    Limits limits;
    bool allOptions = false;  // every offered option combination, not just the default
    char decimalSeparator = '.';
    // A room: the flow L is the room's, shared by n outlets of a candidate.
    std::optional<RoomInput> room;
};

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
// Found::NC of a spectrum below NC-15 or above NC-70, so that it sorts
// before or after every rated one.
inline constexpr double kNcBelowCurves = 0, kNcAboveCurves = 100;

// One candidate with the numbers "Считай!" shows for it, as numbers; NaN
// where the window shows "-" or nothing.
struct Found {
    int row = 0, sizeIndex = 0;
    OptionPicks picks;
    bool ok = false;
    std::string message;  // the engine's refusal when !ok
    double dP = 0, jet = 0, LwA = 0, V0 = 0, Vjs = 0;  // jet: l (variant 1) or Vx (variant 2)
    unsigned misses = 0;  // LimitBit of every limit missed
    bool fits() const { return ok && misses == 0; }

    // In a room: n outlets of L1 each (the outlet's numbers above are at
    // L1), and what they give at the listener: LpA and Lc as shown, NR.
    double n = 1;  // a whole number; a double like every quantity of the table
    double L1 = kNoValue, LpA = kNoValue, NR = kNoValue, NC = kNoValue, Lc = kNoValue;
    NcRating nc;
    Grid grid;
    double rNearest = kNoValue, R = kNoValue;
};

struct SearchResult {
    std::string problem;  // an input no candidate can use; nothing was calculated
    std::vector<Found> found;
    int fitting = 0;
    bool cancelled = false;
};

// Called now and then with the candidates done and the total; returning
// false stops the search (the result is then marked cancelled).
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

// The whole search on this thread.
SearchResult Search(const Catalogue& catalogue, const Request& request, const Progress& progress = {});

// The same search in parts, one a core, for a caller that has threads:
// Search equals FinishSearch of the SearchPart of each range of SplitRows.
struct RowRange {
    int first = 1, end = 1;  // catalogue rows [first, end)
};
// The catalogue's rows cut into at most `parts` ranges of about as many of
// the type's lines each, in catalogue order.
std::vector<RowRange> SplitRows(const Catalogue& catalogue, const std::string& type, int parts);
// The candidates of the range in catalogue order, neither sorted nor
// counted; the progress hears the range's lines. Each part reads every
// input of the search, so each refuses as the whole search would.
SearchResult SearchPart(const Catalogue& catalogue, const Request& request, RowRange rows,
                        const Progress& progress = {});
// The parts, in the order of their ranges, as the search's list: sorted and
// counted; refused or cancelled if a part is.
SearchResult FinishSearch(const Request& request, std::vector<SearchResult> parts);

// One candidate exactly as Search calculates it among the others: the line
// at sizeIndex of the row (1..OfferedSizes), at these option picks (one of
// AllPicks of the line), alone or in the request's room. The request's type
// and allOptions are not read. A refusal of the typed inputs, as Search
// gives it for every candidate, is the candidate's message.
Found EvaluateOne(const Catalogue& catalogue, const Request& request, int row, int sizeIndex,
                  const OptionPicks& picks);

// The size lines a search of this type goes through: the finder's measure
// of how long a search will take before it starts.
std::size_t CandidateLines(const Catalogue& catalogue, const std::string& type);

// The candidate's full calculation again, for what a row shows in detail:
// the display texts and sections exactly as "Считай!" writes them, and the
// stages the jet is drawn from. ok is false for a refused candidate.
struct FoundDetails {
    bool ok = false;
    Stages stages;
    DisplayTexts texts;
    Sections sections;
    Bands Lp{};  // in a room: the sound pressure at the listener
};
FoundDetails Details(const Catalogue& catalogue, const Request& request, const Found& found);

// The picks of the candidate as they go into the main window.
Selection SelectionOf(const Found& found);

// The inputs the candidate is calculated with: the request's, in a room
// with the flow per outlet L1 as it is typed into the main window.
Inputs InputsOf(const Request& request, const Found& found);
// L1 as a typed flow: two decimals at most, no trailing zeros.
std::string FlowPerOutletText(double L1, char decimalSeparator);

}  // namespace nimbo
