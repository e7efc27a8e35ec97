// Areas and mean velocities of the rating, duct and free sections. A section
// whose area cannot be known (the duct size boxes of a row with listed sizes
// may hold anything) shows "-" rather than stopping the calculation.
#include <cmath>
#include <optional>

#include "calc/stages.h"

namespace nimbo {

namespace {

struct AreaAndVelocity {
    std::string area, velocity;
};

AreaAndVelocity Section(std::optional<double> area, double Q, char sep)
{
    const std::optional<double> velocity = SectionVelocity(area, Q);
    if (!velocity)
        return {"-", "-"};
    return {NumberText(Round(*area, 3), sep), NumberText(*velocity, sep)};
}

std::optional<double> DuctArea(std::string_view A, std::string_view B)
{
    const auto a = ParseTyped(A), b = ParseTyped(B);
    if (!a || !b || !(*a > 0) || !(*b > 0))
        return std::nullopt;
    return (*b * *a) / 1000000;
}

}  // namespace

bool RatingSectionShown(int sectionMode) { return sectionMode == 1 || sectionMode == 2; }

std::optional<double> SectionVelocity(std::optional<double> area, double Q)
{
    if (!area || !(*area > 0) || !std::isfinite(*area) || !std::isfinite(Q / *area))
        return std::nullopt;
    return Round(Q / *area, 1);
}

float FreeRatioFor(const std::array<float, 4>& k, const OptionState& o)
{
    // Every check that holds names a ratio, so the last one decides.
    float ratio = 0;
    if (k[0] != 0 && !o.regForm1Offered)
        ratio = k[0];
    if (k[0] != 0 && o.regForm1Offered && o.regForm == 1)
        ratio = k[0];
    for (int n = 2; n <= 4; ++n)
        if (k[n - 1] != 0 && o.regForm == n)
            ratio = k[n - 1];
    return ratio;
}

std::array<float, 4> FreeRatios(const SizeLine& line)
{
    std::array<float, 4> k{};
    for (int n = 1; n <= 4; ++n)
        k[static_cast<std::size_t>(n - 1)] = line.freeAreaRatio(n);
    return k;
}

Sections SectionResults(const Sections& before, const SectionInputs& in)
{
    Sections s = before;
    const char sep = in.decimalSeparator;

    if (RatingSectionShown(in.sectionMode)) {
        s.fvShown = true;
        s.svShown = in.sectionMode == 1;
        s.jsShown = false;
        const AreaAndVelocity rating = Section(in.Fm, in.Q, sep);
        s.F0 = rating.area;
        s.V0 = rating.velocity;
        if (in.sectionMode == 1) {
            const AreaAndVelocity duct = Section(DuctArea(in.A, in.B), in.Q, sep);
            s.Fv = duct.area;
            s.Vv = duct.velocity;
        }
    }

    if (const float ratio = FreeRatioFor(in.freeRatio, *in.options); ratio != 0) {
        s.jsShown = true;
        const AreaAndVelocity free = Section(ratio * in.Fm, in.Q, sep);
        s.Fjs = free.area;
        s.Vjs = free.velocity;
    }
    return s;
}

Sections SectionsAfter(const Sections& before, const SizeLine& line, const Stages& stages, const Inputs& texts,
                       const OptionState& options, char decimalSeparator)
{
    SectionInputs in;
    in.sectionMode = line.sectionMode();
    in.Q = stages.Q;
    in.Fm = stages.geometry.Fm;
    in.A = texts.A;
    in.B = texts.B;
    in.freeRatio = FreeRatios(line);
    in.options = &options;
    in.decimalSeparator = decimalSeparator;
    return SectionResults(before, in);
}

}  // namespace nimbo
