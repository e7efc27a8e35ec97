// Throw, jet velocity and pressure loss, in the order of operations of the
// published formulas (the last digit of a rounded result depends on it).
#include <cmath>

#include "calc/model_name.h"
#include "calc/stages.h"

namespace nimbo {

double CompactThrow(Value m, double Q, double Vx, double Fm)
{
    return Round(((m.v * Q) / Vx) / std::sqrt(Fm), 1);
}

double CompactVelocity(Value m, double Q, double X, double Fm)
{
    const double Vx = Round(((m.v * Q) / X) / std::sqrt(Fm), 1);
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

double FlatVelocity(float mFlat, double Q, double X, double Lx, double Fm)
{
    const double b0 = Fm / Lx;
    return Round(((mFlat * Q) / Lx) / std::sqrt(X * b0), 1);
}

}  // namespace nimbo
