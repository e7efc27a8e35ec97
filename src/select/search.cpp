// The finder's search: the candidates of a request, each through the
// numbers step of "Считай!", then the limits and the order.
#include "select/search.h"

#include "select/evaluate.h"
#include "select/quantities.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "calc/stages.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

bool TypeMatches(const Catalogue& catalogue, int row, const std::string& type)
{
    return type.empty() || catalogue.typeName(row) == type;
}

// The size lines the row gives a search of the type.
std::size_t LinesOf(const Catalogue& catalogue, int row, const std::string& type)
{
    return TypeMatches(catalogue, row, type) ? static_cast<std::size_t>(OfferedSizes(catalogue, row)) : 0;
}

// A value the window does not show cannot prove that a limit is kept.
bool Above(double value, const std::optional<double>& limit) { return limit && !(value <= *limit); }
bool Below(double value, const std::optional<double>& limit) { return limit && !(value >= *limit); }

// The limit's value; the check box "l не более Lc" bounds the throw by Lc.
std::optional<double> LimitValue(const LimitSlot& slot, const Limits& limits, const Found& f)
{
    if (slot.value)
        return limits.*slot.value;
    if (slot.bit == kLimitLc && limits.throwWithinLc)
        return f.Lc;
    return std::nullopt;
}

// The typed inputs each size mode of the search reads, or the first refusal
// in the order the window would give it: L and Vx or X, the free size, the
// slot length.
std::string ReadAllInputs(const Catalogue& catalogue, const Request& r, TypedInputs (&out)[3])
{
    bool present[3] = {};
    for (int row = 1; row <= catalogue.recordCount(); ++row)
        if (TypeMatches(catalogue, row, r.type) && OfferedSizes(catalogue, row) > 0)
            present[static_cast<int>(catalogue.sizeMode(row))] = true;
    for (SizeMode mode : {SizeMode::Free, SizeMode::Slot, SizeMode::Listed}) {
        const int i = static_cast<int>(mode);
        if (present[i])
            if (std::string problem = ReadInputs(r.inputs, r.variant, mode, out[i]); !problem.empty())
                return problem;
    }
    return {};
}

}  // namespace

namespace detail {

unsigned Misses(const Found& f, const Limits& limits, int variant, bool room)
{
    unsigned m = 0;
    for (const LimitSlot& slot : LimitSlots()) {
        if (!LimitApplies(slot, variant, room))
            continue;
        const double value = f.*slot.number;
        const std::optional<double> limit = LimitValue(slot, limits, f);
        if (slot.bound == Bound::AtMost ? Above(value, limit) : Below(value, limit))
            m |= slot.bit;
    }
    return m;
}

void TakeNumbers(const Stages& st, bool ratingShown, float freeRatio, bool variant1, Found& f)
{
    f.dP = st.pressureShown() ? st.dP : kNoValue;
    f.jet = st.jetShown() ? (variant1 ? st.X : st.Vx) : kNoValue;
    f.LwA = st.lwaComputed ? ShownSoundLevel(st.LwA) : kNoValue;
    f.V0 = ratingShown ? SectionVelocity(st.geometry.Fm, st.Q).value_or(kNoValue) : kNoValue;
    f.Vjs = freeRatio != 0 ? SectionVelocity(freeRatio * st.geometry.Fm, st.Q).value_or(kNoValue) : kNoValue;
}

}  // namespace detail

namespace {

// NaN sorts after every number.
int CompareNumbers(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) - std::isnan(b);
    return a < b ? -1 : a > b ? 1 : 0;
}

// In a room the fitting candidates come by the fewest outlets, then the
// quietest room, then ΔP.
bool BeforeInRoom(const Found& a, const Found& b)
{
    if (a.n != b.n)
        return a.n < b.n;
    if (const int c = CompareNumbers(a.NR, b.NR); c != 0)
        return c < 0;
    return CompareNumbers(a.dP, b.dP) < 0;
}

bool Before(const Found& a, const Found& b, bool room)
{
    const auto group = [](const Found& f) { return f.fits() ? 0 : f.ok ? 1 : 2; };
    if (group(a) != group(b))
        return group(a) < group(b);
    if (!a.ok)
        return false;  // refused ones keep the catalogue order
    if (room && a.fits())
        return BeforeInRoom(a, b);
    const int missedA = std::popcount(a.misses), missedB = std::popcount(b.misses);
    if (missedA != missedB)
        return missedA < missedB;
    if (const int c = CompareNumbers(a.LwA, b.LwA); c != 0)
        return c < 0;
    return CompareNumbers(a.dP, b.dP) < 0;
}

// What a size line gives every pick of its options: read once a line.
struct LineFacts {
    Candidate candidate;
    LineOffer offer;
    std::array<float, 4> ratios;
    bool ratingShown;
};

LineFacts FactsOf(const Catalogue& catalogue, int row, int k)
{
    LineFacts l{CandidateAt(catalogue, row, k), {}, {}, false};
    l.offer = OfferOf(l.candidate.line);
    l.ratios = FreeRatios(l.candidate.line);
    l.ratingShown = RatingSectionShown(l.candidate.line.sectionMode());
    return l;
}

// One candidate: the line at one pick of its options, alone or in a room.
void EvaluatePicks(const LineFacts& l, const TypedInputs& in, const OptionPicks& picks, const Request& r,
                   const detail::RoomPlan* room, Found& f)
{
    f.picks = picks;
    const OptionState o = OptionStateFor(l.offer, picks);
    if (room) {
        detail::EvaluateRoom({l.candidate, in, o, l.ratingShown, FreeRatioFor(l.ratios, o)}, *room, r, f);
        return;
    }
    Numbers n = CalculateNumbers(l.candidate, in, o, r.decimalSeparator);
    f.ok = n.ok;
    if (n.ok) {
        detail::TakeNumbers(n.stages, l.ratingShown, FreeRatioFor(l.ratios, o), in.variant1, f);
        f.misses = detail::Misses(f, r.limits, r.variant, false);
    } else {
        f.message = std::move(n.message);
    }
}

// Every candidate of one size line, appended in the order of its picks.
void EvaluateLine(const Catalogue& catalogue, int row, int k, const TypedInputs (&inputs)[3], const Request& r,
                  const detail::RoomPlan* room, std::vector<Found>& out)
{
    const LineFacts l = FactsOf(catalogue, row, k);
    const TypedInputs& in = inputs[static_cast<int>(l.candidate.mode)];
    const std::vector<OptionPicks> all =
        !r.allOptions ? std::vector{DefaultPicks(l.offer)}
        : k == 1      ? AllPicks(l.offer)
                      : AllPicks(l.offer, OfferOf(catalogue.line(row, 1)));
    for (const OptionPicks& picks : all) {
        Found& f = out.emplace_back();
        f.row = row;
        f.sizeIndex = k;
        EvaluatePicks(l, in, picks, r, room, f);
    }
}

// Every size mode reads the same flow.
std::optional<detail::RoomPlan> PlanOf(const Request& r)
{
    if (!r.room)
        return std::nullopt;
    return detail::PlanRoom(*r.room, ParseTyped(r.inputs.L).value_or(0), r.decimalSeparator);
}

// The lines of rows [first, end) in catalogue order; `goOn` hears the lines
// done now and then and may stop the work (then false is returned).
template <class GoOn>
bool EvaluateRows(const Catalogue& catalogue, const Request& r, const TypedInputs (&inputs)[3],
                  const detail::RoomPlan* room, RowRange rows, std::vector<Found>& out, GoOn goOn)
{
    std::size_t done = 0;
    for (int row = rows.first; row < rows.end; ++row) {
        if (!TypeMatches(catalogue, row, r.type))
            continue;
        const int sizes = OfferedSizes(catalogue, row);
        for (int k = 1; k <= sizes; ++k, ++done) {
            if (done % 256 == 0 && !goOn(done))
                return false;
            EvaluateLine(catalogue, row, k, inputs, r, room, out);
        }
    }
    return true;
}

}  // namespace

std::string_view LimitName(LimitBit limit) { return SlotOf(limit).name; }

std::string ReadLimits(const LimitTexts& texts, int variant, bool room, Limits& out)
{
    out = {};
    out.throwWithinLc = texts.throwWithinLc && room && variant != 2;
    for (const LimitSlot& slot : LimitSlots()) {
        if (!LimitApplies(slot, variant, room) || !slot.text)
            continue;
        const std::string& text = texts.*slot.text;
        if (TrimSpace(text).empty())
            continue;
        TypedInput input{slot.name, text};
        if (std::string problem = ReadPositive(input); !problem.empty())
            return problem;
        out.*slot.value = input.value;
    }
    return {};
}

std::size_t CandidateLines(const Catalogue& catalogue, const std::string& type)
{
    std::size_t lines = 0;
    for (int row = 1; row <= catalogue.recordCount(); ++row)
        lines += LinesOf(catalogue, row, type);
    return lines;
}

std::vector<RowRange> SplitRows(const Catalogue& catalogue, const std::string& type, int parts)
{
    const std::size_t total = CandidateLines(catalogue, type);
    const std::size_t count = static_cast<std::size_t>(std::max(parts, 1));
    std::vector<RowRange> ranges;
    std::size_t lines = 0;
    int first = 1;
    for (int row = 1; row <= catalogue.recordCount(); ++row) {
        // A part ends once it holds its share of the lines.
        if (row > first && lines >= total * (ranges.size() + 1) / count && ranges.size() + 1 < count) {
            ranges.push_back({first, row});
            first = row;
        }
        lines += LinesOf(catalogue, row, type);
    }
    ranges.push_back({first, catalogue.recordCount() + 1});
    return ranges;
}

SearchResult SearchPart(const Catalogue& catalogue, const Request& r, RowRange rows, const Progress& progress)
{
    SearchResult result;
    TypedInputs inputs[3];
    // Every part reads the inputs for the whole search: each refuses alike.
    result.problem = ReadAllInputs(catalogue, r, inputs);
    if (!result.problem.empty())
        return result;
    const std::optional<detail::RoomPlan> plan = PlanOf(r);
    const detail::RoomPlan* room = plan ? &*plan : nullptr;
    rows = {std::max(rows.first, 1), std::min(rows.end, catalogue.recordCount() + 1)};
    std::size_t total = 0;
    for (int row = rows.first; row < rows.end; ++row)
        total += LinesOf(catalogue, row, r.type);
    const bool finished = EvaluateRows(catalogue, r, inputs, room, rows, result.found,
                                       [&](std::size_t done) { return !progress || progress(done, total); });
    if (!finished) {
        result.cancelled = true;
        result.found.clear();
        return result;
    }
    if (progress)
        progress(total, total);
    return result;
}

SearchResult FinishSearch(const Request& r, std::vector<SearchResult> parts)
{
    SearchResult result;
    for (SearchResult& part : parts) {
        if (!part.problem.empty() || part.cancelled) {
            part.found.clear();
            return part;
        }
        result.found.insert(result.found.end(), std::make_move_iterator(part.found.begin()),
                            std::make_move_iterator(part.found.end()));
    }
    std::stable_sort(result.found.begin(), result.found.end(),
                     [room = r.room.has_value()](const Found& a, const Found& b) { return Before(a, b, room); });
    result.fitting = static_cast<int>(std::count_if(result.found.begin(), result.found.end(),
                                                    [](const Found& f) { return f.fits(); }));
    return result;
}

SearchResult Search(const Catalogue& catalogue, const Request& r, const Progress& progress)
{
    std::vector<SearchResult> whole;
    whole.push_back(SearchPart(catalogue, r, {1, catalogue.recordCount() + 1}, progress));
    return FinishSearch(r, std::move(whole));
}

Found EvaluateOne(const Catalogue& catalogue, const Request& r, int row, int sizeIndex, const OptionPicks& picks)
{
    Found f;
    f.row = row;
    f.sizeIndex = sizeIndex;
    f.picks = picks;
    const LineFacts l = FactsOf(catalogue, row, sizeIndex);
    TypedInputs in;
    f.message = ReadInputs(r.inputs, r.variant, l.candidate.mode, in);
    if (!f.message.empty())
        return f;
    const std::optional<detail::RoomPlan> plan = PlanOf(r);
    EvaluatePicks(l, in, picks, r, plan ? &*plan : nullptr, f);
    return f;
}

std::string FlowPerOutletText(double L1, char decimalSeparator)
{
    return NumberText(Round(L1, 2), decimalSeparator);
}

Inputs InputsOf(const Request& r, const Found& found)
{
    Inputs in = r.inputs;
    if (r.room)
        in.L = FlowPerOutletText(found.L1, r.decimalSeparator);
    return in;
}

FoundDetails Details(const Catalogue& catalogue, const Request& r, const Found& found)
{
    FoundDetails d;
    const Candidate c = CandidateAt(catalogue, found.row, found.sizeIndex);
    const Inputs texts = InputsOf(r, found);
    TypedInputs in;
    if (!ReadInputs(texts, r.variant, c.mode, in).empty())
        return d;
    const OptionState o = OptionStateFor(c.line, found.picks);
    const Numbers n = CalculateNumbers(c, in, o, r.decimalSeparator);
    if (!n.ok)
        return d;
    d.ok = true;
    d.stages = n.stages;
    d.texts = ShowResults(n.stages, r.variant, r.decimalSeparator);
    d.sections = SectionsAfter(Sections{}, c.line, n.stages, texts, o, r.decimalSeparator);
    if (r.room && n.stages.lwaComputed)
        d.Lp = PressureBands(n.stages.Lw, GeometryFor(r.room->room, static_cast<int>(found.n)));
    return d;
}

Selection SelectionOf(const Found& found) { return {found.row, found.sizeIndex, true, true}; }

}  // namespace nimbo
