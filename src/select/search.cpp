// The finder's search: the candidates of a request, each through the
// numbers step of "Считай!", then the limits and the order.
#include "select/search.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <thread>

#include "calc/stages.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct LimitSlot {
    LimitBit bit;
    std::string_view name;
    std::string LimitTexts::*text;
    std::optional<double> Limits::*value;
    int variant;  // 0: both variants
};

constexpr LimitSlot kLimitSlots[kLimitCount] = {
    {kLimitDP, "ΔP не более", &LimitTexts::dP, &Limits::dP, 0},
    {kLimitLwA, "LwA не более", &LimitTexts::LwA, &Limits::LwA, 0},
    {kLimitThrowMin, "l не менее", &LimitTexts::throwMin, &Limits::throwMin, 1},
    {kLimitThrowMax, "l не более", &LimitTexts::throwMax, &Limits::throwMax, 1},
    {kLimitVx, "Vx не более", &LimitTexts::VxMax, &Limits::VxMax, 2},
    {kLimitV0, "V0 не более", &LimitTexts::V0Max, &Limits::V0Max, 0},
};

bool TypeMatches(const Catalogue& catalogue, int row, const std::string& type)
{
    return type.empty() || catalogue.typeName(row) == type;
}

// The size indexes the window lets the user pick: every listed size up to the
// first empty designation, or the one line of a free size or a slot.
int OfferedSizes(const Catalogue& catalogue, int row)
{
    const int lines = std::min(catalogue.sizeLineCount(row), kMaxSizeLines);
    if (lines < 1)
        return 0;
    if (catalogue.sizeMode(row) != SizeMode::Listed)
        return 1;
    int k = 0;
    while (k < lines && !catalogue.sizeDesignation(row, k + 1).empty())
        ++k;
    return k;
}

// The level as the window shows it: whole decibels, or beyond the shown range.
double ShownLevel(float LwA)
{
    return (LwA > 100 || LwA < 10) ? static_cast<double>(LwA) : Round(LwA, 0);
}

// A value the window does not show cannot prove that a limit is kept.
bool Above(double value, const std::optional<double>& limit) { return limit && !(value <= *limit); }
bool Below(double value, const std::optional<double>& limit) { return limit && !(value >= *limit); }

unsigned Misses(const Found& f, const Limits& limits, int variant)
{
    unsigned m = 0;
    if (Above(f.dP, limits.dP))
        m |= kLimitDP;
    if (Above(f.LwA, limits.LwA))
        m |= kLimitLwA;
    if (variant != 2 && Below(f.jet, limits.throwMin))
        m |= kLimitThrowMin;
    if (variant != 2 && Above(f.jet, limits.throwMax))
        m |= kLimitThrowMax;
    if (variant == 2 && Above(f.jet, limits.VxMax))
        m |= kLimitVx;
    if (Above(f.V0, limits.V0Max))
        m |= kLimitV0;
    return m;
}

void TakeNumbers(const Stages& st, bool ratingShown, float freeRatio, bool variant1, Found& f)
{
    f.dP = st.pressureShown() ? st.dP : kNone;
    f.jet = st.jetShown() ? (variant1 ? st.X : st.Vx) : kNone;
    f.LwA = st.lwaComputed ? ShownLevel(st.LwA) : kNone;
    f.V0 = ratingShown ? SectionVelocity(st.geometry.Fm, st.Q).value_or(kNone) : kNone;
    f.Vjs = freeRatio != 0 ? SectionVelocity(freeRatio * st.geometry.Fm, st.Q).value_or(kNone) : kNone;
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

// NaN sorts after every number.
int CompareNumbers(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) - std::isnan(b);
    return a < b ? -1 : a > b ? 1 : 0;
}

bool Before(const Found& a, const Found& b)
{
    const auto group = [](const Found& f) { return f.fits() ? 0 : f.ok ? 1 : 2; };
    if (group(a) != group(b))
        return group(a) < group(b);
    if (!a.ok)
        return false;  // refused ones keep the catalogue order
    const int missedA = std::popcount(a.misses), missedB = std::popcount(b.misses);
    if (missedA != missedB)
        return missedA < missedB;
    if (const int c = CompareNumbers(a.LwA, b.LwA); c != 0)
        return c < 0;
    return CompareNumbers(a.dP, b.dP) < 0;
}

// Every candidate of one size line, appended in the order of its picks.
void EvaluateLine(const Catalogue& catalogue, int row, int k, const TypedInputs (&inputs)[3], const Request& r,
                  std::vector<Found>& out)
{
    const Candidate c = CandidateAt(catalogue, row, k);
    const TypedInputs& in = inputs[static_cast<int>(c.mode)];
    const LineOffer offer = OfferOf(c.line);
    const std::array<float, 4> ratios = FreeRatios(c.line);
    const bool ratingShown = RatingSectionShown(c.line.sectionMode());
    const std::vector<OptionPicks> all =
        !r.allOptions ? std::vector{DefaultPicks(offer)}
        : k == 1      ? AllPicks(offer)
                      : AllPicks(offer, OfferOf(catalogue.line(row, 1)));
    for (const OptionPicks& picks : all) {
        Found& f = out.emplace_back();
        f.row = row;
        f.sizeIndex = k;
        f.picks = picks;
        const OptionState o = OptionStateFor(offer, picks);
        Numbers n = CalculateNumbers(c, in, o, r.decimalSeparator);
        f.ok = n.ok;
        if (n.ok) {
            TakeNumbers(n.stages, ratingShown, FreeRatioFor(ratios, o), in.variant1, f);
            f.misses = Misses(f, r.limits, r.variant);
        } else {
            f.message = std::move(n.message);
        }
    }
}

inline constexpr std::size_t kLinesForHelper = 64;

// The first row of the later half of the search's lines.
int RowAfterHalf(const Catalogue& catalogue, const std::string& type, std::size_t total)
{
    std::size_t lines = 0;
    for (int row = 1; row <= catalogue.recordCount(); ++row) {
        if (lines >= total / 2)
            return row;
        if (TypeMatches(catalogue, row, type))
            lines += static_cast<std::size_t>(OfferedSizes(catalogue, row));
    }
    return catalogue.recordCount() + 1;
}

struct RowRange {
    int first, end;
};

// The lines of rows [first, end) in catalogue order; `goOn` hears the lines
// done now and then and may stop the work (then false is returned).
template <class GoOn>
bool EvaluateRows(const Catalogue& catalogue, const Request& r, const TypedInputs (&inputs)[3], RowRange rows,
                  std::vector<Found>& out, GoOn goOn)
{
    std::size_t done = 0;
    for (int row = rows.first; row < rows.end; ++row) {
        if (!TypeMatches(catalogue, row, r.type))
            continue;
        const int sizes = OfferedSizes(catalogue, row);
        for (int k = 1; k <= sizes; ++k, ++done) {
            if (done % 256 == 0 && !goOn(done))
                return false;
            EvaluateLine(catalogue, row, k, inputs, r, out);
        }
    }
    return true;
}

}  // namespace

std::string_view LimitName(LimitBit limit)
{
    for (const LimitSlot& slot : kLimitSlots)
        if (slot.bit == limit)
            return slot.name;
    return {};
}

std::string ReadLimits(const LimitTexts& texts, int variant, Limits& out)
{
    out = {};
    for (const LimitSlot& slot : kLimitSlots) {
        if (slot.variant != 0 && slot.variant != (variant == 2 ? 2 : 1))
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
        if (TypeMatches(catalogue, row, type))
            lines += static_cast<std::size_t>(OfferedSizes(catalogue, row));
    return lines;
}

SearchResult Search(const Catalogue& catalogue, const Request& r, const Progress& progress)
{
    SearchResult result;
    TypedInputs inputs[3];
    result.problem = ReadAllInputs(catalogue, r, inputs);
    if (!result.problem.empty())
        return result;

    // A second core takes the later half of the lines; starting it costs
    // less than a few dozen lines.
    const std::size_t total = CandidateLines(catalogue, r.type);
    const int split = total >= kLinesForHelper && std::thread::hardware_concurrency() > 1
                          ? RowAfterHalf(catalogue, r.type, total)
                          : catalogue.recordCount() + 1;
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> helperDone{0};
    std::vector<Found> later;
    std::thread helper;
    if (split <= catalogue.recordCount())
        helper = std::thread([&] {
            EvaluateRows(catalogue, r, inputs, {split, catalogue.recordCount() + 1}, later,
                         [&](std::size_t done) {
                             helperDone = done;
                             return !stop.load();
                         });
        });
    const bool finished = EvaluateRows(catalogue, r, inputs, {1, split}, result.found, [&](std::size_t done) {
        return !progress || progress(done + helperDone.load(), total);
    });
    stop = !finished;
    if (helper.joinable())
        helper.join();
    if (!finished) {
        result.cancelled = true;
        result.found.clear();
        return result;
    }
    result.found.insert(result.found.end(), std::make_move_iterator(later.begin()),
                        std::make_move_iterator(later.end()));
    std::stable_sort(result.found.begin(), result.found.end(), Before);
    result.fitting = static_cast<int>(std::count_if(result.found.begin(), result.found.end(),
                                                    [](const Found& f) { return f.fits(); }));
    if (progress)
        progress(total, total);
    return result;
}

FoundDetails Details(const Catalogue& catalogue, const Request& r, const Found& found)
{
    FoundDetails d;
    const Candidate c = CandidateAt(catalogue, found.row, found.sizeIndex);
    TypedInputs in;
    if (!ReadInputs(r.inputs, r.variant, c.mode, in).empty())
        return d;
    const OptionState o = OptionStateFor(c.line, found.picks);
    const Numbers n = CalculateNumbers(c, in, o, r.decimalSeparator);
    if (!n.ok)
        return d;
    d.ok = true;
    d.stages = n.stages;
    d.texts = ShowResults(n.stages, r.variant, r.decimalSeparator);
    d.sections = SectionsAfter(Sections{}, c.line, n.stages, r.inputs, o, r.decimalSeparator);
    return d;
}

Selection SelectionOf(const Found& found) { return {found.row, found.sizeIndex, true, true}; }

}  // namespace nimbo
