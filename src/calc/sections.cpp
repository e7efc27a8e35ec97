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
    if (!area || !(*area > 0) || !std::isfinite(*area) || !std::isfinite(Q / *area))
        return {"-", "-"};
    return {NumberText(Round(*area, 3), sep), NumberText(Round(Q / *area, 1), sep)};
}

std::optional<double> DuctArea(std::string_view A, std::string_view B)
{
    const auto a = ParseTyped(A), b = ParseTyped(B);
    if (!a || !b || !(*a > 0) || !(*b > 0))
        return std::nullopt;
    return (*b * *a) / 1000000;
}

}  // namespace

Sections SectionResults(const Sections& before, const SectionInputs& in)
{
    Sections s = before;
    const char sep = in.decimalSeparator;

    if (in.sectionMode == 1 || in.sectionMode == 2) {
        s.fvVisible = true;
        s.svVisible = in.sectionMode == 1;
        s.jsVisible = false;
        const AreaAndVelocity rating = Section(in.Fm, in.Q, sep);
        s.F0 = rating.area;
        s.V0 = rating.velocity;
        if (in.sectionMode == 1) {
            const AreaAndVelocity duct = Section(DuctArea(in.A, in.B), in.Q, sep);
            s.Fv = duct.area;
            s.Vv = duct.velocity;
        }
    }

    // Every check that holds writes the free section, so the last one decides.
    const OptionState& o = *in.options;
    const auto& k = in.freeRatio;
    auto useRatio = [&](float ratio) {
        s.jsVisible = true;
        const AreaAndVelocity free = Section(ratio * in.Fm, in.Q, sep);
        s.Fjs = free.area;
        s.Vjs = free.velocity;
    };
    if (k[0] != 0 && !o.regForm1Visible)
        useRatio(k[0]);
    if (k[0] != 0 && o.regForm1Visible && o.regForm == 1)
        useRatio(k[0]);
    for (int n = 2; n <= 4; ++n)
        if (k[n - 1] != 0 && o.regForm == n)
            useRatio(k[n - 1]);
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
    for (int k = 1; k <= 4; ++k)
        in.freeRatio[static_cast<std::size_t>(k - 1)] = line.freeAreaRatio(k);
    in.options = &options;
    in.decimalSeparator = decimalSeparator;
    return SectionResults(before, in);
}

}  // namespace nimbo
