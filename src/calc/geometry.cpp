// Outlet areas and, for slot grilles, the section count and the fitted
// pressure-loss coefficients.
#include <cmath>

#include "calc/model_name.h"
#include "calc/stages.h"

namespace nimbo {

FittedCoefficients Fitted(double rF)
{
    // Written as the fits were published, left to right; rF³ as a power so
    // that it rounds like the original.
    FittedCoefficients f;
    f.q1 = 30.463 * std::pow(rF, 2) - 8.9119 * rF + 4.2051;
    f.q2 = 8.661 * std::pow(rF, 2) - 5.3135 * rF + 3.2791;
    f.exp = 3.0466 * std::exp(2.5629 * rF);
    f.cub = 41.684 * std::pow(rF, 3) - 53.717 * std::pow(rF, 2) + 33.469 * rF - 2.2949;
    return f;
}

double SectionLength(std::string_view modelName)
{
    return SeriesCode(modelName) == kSlotJetSeries ? 500.0 : 1000.0;
}

double SectionCount(double lengthMm, double sectionMm)
{
    const double x = lengthMm / sectionMm;
    const double whole = std::floor(x);
    const double rest = x - whole;
    return whole + (rest > 0 ? 1 : (rest < 0 ? -1 : 0));
}

Geometry ListedGeometry(float fmValue, float fzValue)
{
    Geometry g;
    g.Fm = fmValue;
    g.Fz = fzValue;
    return g;
}

Geometry FreeSizeGeometry(double A, double B, float fmAllowance, float fzAllowance)
{
    Geometry g;
    g.Fm = (A - fmAllowance) * (B - fmAllowance) / 1000000;
    g.Fz = (A - fzAllowance) * (B - fzAllowance) / 1000000;
    return g;
}

Geometry SlotGeometry(double lengthMm, double sectionMm, float fmValue, float fzValue)
{
    Geometry g;
    g.Nsec = SectionCount(lengthMm, sectionMm);
    // The open area grows with the exact length, the pressure-loss area by
    // whole sections.
    g.Fm = lengthMm * fmValue / sectionMm;
    g.Fz = g.Nsec * fzValue;
    g.rF = g.Fz / g.Fm;
    g.fitted = Fitted(g.rF);
    return g;
}

}  // namespace nimbo
