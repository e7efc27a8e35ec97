// The finder for a room: each candidate at n outlets of L/n each, with the
// noise of all of them at the listener and the throw against the room.
#include <bit>
#include <cmath>

#include "calc/numbers.h"
#include "select/evaluate.h"

namespace nimbo::detail {

namespace {

// A refused count weighs more than every limit missed together.
constexpr int kRefused = 1000;

void RoomNumbers(const Stages& st, const RoomGeometry& g, Found& f)
{
    f.grid = g.grid;
    f.rNearest = g.rNearest;
    f.R = g.R;
    f.Lc = Round(g.Lc, 1);
    if (!st.lwaComputed)
        return;
    const Bands Lp = PressureBands(st.Lw, g);
    f.LpA = LpAShown(LevelA(Lp));
    if (const std::optional<int> nr = NoiseRating(Lp))
        f.NR = *nr;
    f.nc = NoiseCriterion(Lp);
    if (f.nc.kind == NcRating::Value)
        f.NC = f.nc.value;
    else if (f.nc.kind != NcRating::None)
        f.NC = f.nc.kind == NcRating::Below ? kNcBelowCurves : kNcAboveCurves;
}

void EvaluateAt(const RoomCandidate& rc, const RoomPlan& plan, const Request& r, int n, Found& f)
{
    const std::size_t i = static_cast<std::size_t>(n - 1);
    TypedInputs at = rc.inputs;
    at.L.text = plan.flowTexts[i];
    at.L.value = plan.flows[i];
    f.n = n;
    f.L1 = plan.flows[i];
    Numbers numbers = CalculateNumbers(rc.candidate, at, rc.options, r.decimalSeparator);
    f.ok = numbers.ok;
    if (!numbers.ok) {
        f.message = std::move(numbers.message);
        return;
    }
    TakeNumbers(numbers.stages, rc.ratingShown, rc.freeRatio, at.variant1, f);
    RoomNumbers(numbers.stages, plan.geometry[i], f);
    f.misses = Misses(f, r.limits, r.variant, true);
}

}  // namespace

RoomPlan PlanRoom(const RoomInput& input, double L, char sep)
{
    RoomPlan plan;
    plan.input = input;
    for (int n = 1; n <= kMaxOutlets; ++n) {
        plan.flowTexts.push_back(FlowPerOutletText(L / n, sep));
        // What the main window reads from the typed text, so that "Считай!"
        // there gives the row's numbers.
        plan.flows.push_back(ParseTyped(plan.flowTexts.back()).value_or(0));
        plan.geometry.push_back(GeometryFor(input.room, n));
    }
    return plan;
}

void EvaluateRoom(const RoomCandidate& rc, const RoomPlan& plan, const Request& r, Found& f)
{
    if (plan.input.n) {
        EvaluateAt(rc, plan, r, *plan.input.n, f);
        return;
    }
    const Found base = f;
    std::vector<Found> tried(kMaxOutlets, base);
    std::vector<bool> done(kMaxOutlets, false);
    const int n = AutoCount([&](int count) {
        const std::size_t i = static_cast<std::size_t>(count - 1);
        EvaluateAt(rc, plan, r, count, tried[i]);
        done[i] = true;
        return tried[i].ok ? std::popcount(tried[i].misses) : kRefused;
    });
    const std::size_t i = static_cast<std::size_t>(n - 1);
    if (!done[i])
        EvaluateAt(rc, plan, r, n, tried[i]);
    f = std::move(tried[i]);
}

}  // namespace nimbo::detail
