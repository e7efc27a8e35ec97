// Throw, jet velocity and pressure loss, in the order of operations of the
// published formulas (the last digit of a rounded result depends on it).
#include <algorithm>
#include <cmath>

#include "calc/model_name.h"
#include "calc/stages.h"

namespace nimbo {

double CompactThrow(Value m, double Q, double Vx, double Fm)
{
    return Round(((m.v * Q) / Vx) / std::sqrt(Fm), 1);
}

double CompactVelocityExact(Value m, double Q, double X, double Fm) { return ((m.v * Q) / X) / std::sqrt(Fm); }

double CompactVelocity(Value m, double Q, double X, double Fm)
{
    const double Vx = Round(CompactVelocityExact(m, Q, X, Fm), 1);
    // Close to the outlet the jet cannot be faster than the air leaving it;
    // the already rounded value is compared.
    if (Vx > Q / Fm)
        return Round(Q / Fm, 1);
    return Vx;
}

double PressureLoss(Value Dzeta, Value kr, double Q, double Fz)
{
    // Two catalogue singles multiply in single precision.
    const double zetaKr = Dzeta.single && kr.single
                              ? static_cast<double>(static_cast<float>(Dzeta.v) * static_cast<float>(kr.v))
                              : Dzeta.v * kr.v;
    return Round((zetaKr * 0.6) * std::pow(Q / Fz, 2), 0);
}

bool FlatJetApplies(float mFlat, int selectedRegForm, std::string_view modelName)
{
    return (mFlat != 0 && selectedRegForm == 1) || SeriesCode(modelName) == kSlotJetSeries;
}

double FlatJetLength(std::string_view lengthText) { return LeadingNumber(lengthText) / 1000; }

double FlatThrow(float mFlat, double Q, double Vx, double Lx, double Fm)
{
    const double b0 = Fm / Lx;
    return Round(std::pow(((mFlat * Q) / Vx) / Lx, 2) / b0, 1);
}

double FlatVelocityExact(float mFlat, double Q, double X, double Lx, double Fm)
{
    const double b0 = Fm / Lx;
    return ((mFlat * Q) / Lx) / std::sqrt(X * b0);
}

double FlatVelocity(float mFlat, double Q, double X, double Lx, double Fm)
{
    return Round(FlatVelocityExact(mFlat, Q, X, Lx, Fm), 1);
}

namespace {

// The compact jet first; the flat-jet threshold compares the distance that
// formula gives (variant 1) or the one asked for (variant 2).
JetPoint Jet(const Stages& st, bool distanceGiven, double given)
{
    const double Fm = st.geometry.Fm;
    const Value m = st.coefficients.m;
    JetPoint p = distanceGiven ? JetPoint{CompactVelocity(m, st.Q, given, Fm), given, false}
                               : JetPoint{given, CompactThrow(m, st.Q, given, Fm), false};
    if (st.flat.applies && p.X < kFlatJetSlotLengths * st.flat.Lx) {
        p.flat = true;
        if (distanceGiven)
            p.Vx = FlatVelocity(st.flat.mFlat, st.Q, p.X, st.flat.Lx, Fm);
        else
            p.X = FlatThrow(st.flat.mFlat, st.Q, p.Vx, st.flat.Lx, Fm);
    }
    return p;
}

}  // namespace

JetPoint JetAtDistance(const Stages& stages, double X) { return Jet(stages, true, X); }
JetPoint JetForVelocity(const Stages& stages, double Vx) { return Jet(stages, false, Vx); }

double JetOutletVelocity(const Stages& st) { return st.Q / st.geometry.Fm; }

double JetSwitchDistance(const Stages& st) { return st.flat.applies ? kFlatJetSlotLengths * st.flat.Lx : 0; }

// The distance test of JetAtDistance, the formulas without their rounding,
// and the cap at the outlet velocity applied to the exact value.
double JetVelocityExact(const Stages& st, double X)
{
    const double Fm = st.geometry.Fm;
    if (st.flat.applies && X < kFlatJetSlotLengths * st.flat.Lx)
        return FlatVelocityExact(st.flat.mFlat, st.Q, X, st.flat.Lx, Fm);
    return std::min(CompactVelocityExact(st.coefficients.m, st.Q, X, Fm), JetOutletVelocity(st));
}

}  // namespace nimbo
