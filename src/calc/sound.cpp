// The A-weighted sound power level: eight octave bands, each linear in the
// logarithm of the flow, weighted and summed on an energy basis.
#include <cmath>

#include "calc/stages.h"

namespace nimbo {

SoundFlow SoundFlowFor(SizeMode mode, double L, double lengthMm, double sectionMm)
{
    SoundFlow f{L, 0};
    if (mode == SizeMode::Slot) {
        // Slot data are given per section length; a longer slot is that many
        // sections side by side.
        f.Lsnd = L / (lengthMm / sectionMm);
        f.dLlen = 10 * Lg(lengthMm / sectionMm);
    }
    return f;
}

bool HasSoundData(const SoundSet& set) { return set[4] != 0; }

namespace {

// Band i before the regulator's addition.
double BandLevel(const SoundSet& set, std::size_t i, SizeMode mode, SoundFlow flow, double faceArea)
{
    const double a = set[i], b = set[8 + i], c = set[16 + i];
    return mode == SizeMode::Free ? (a * Lg(flow.Lsnd) + b * Lg(faceArea)) + c
                                  : (a * Lg(flow.Lsnd) + b) + flow.dLlen;
}

}  // namespace

float SoundPowerLevel(const SoundSet& set, SizeMode mode, SoundFlow flow, double faceArea,
                      float dLreg)
{
    // The regulator's addition goes onto the sum, not onto each band: the
    // shown level depends on this order of rounding.
    double S = 0;
    for (std::size_t i = 0; i < 8; ++i)
        S += std::pow(10.0, 0.1 * (BandLevel(set, i, mode, flow, faceArea) + kAWeighting[i]));
    return static_cast<float>(10 * Lg(S) + dLreg);
}

Bands SoundBands(const SoundSet& set, SizeMode mode, SoundFlow flow, double faceArea, float dLreg)
{
    Bands Lw{};
    for (std::size_t i = 0; i < 8; ++i)
        Lw[i] = BandLevel(set, i, mode, flow, faceArea) + dLreg;
    return Lw;
}

namespace {

// The thresholds look at the unrounded level: 9.6 is "<10" although it
// would round to 10.
bool BeyondShownRange(float LwA) { return LwA > 100 || LwA < 10; }

}  // namespace

double ShownSoundLevel(float LwA) { return BeyondShownRange(LwA) ? static_cast<double>(LwA) : Round(LwA, 0); }

std::string SoundText(float LwA, char decimalSeparator)
{
    if (!BeyondShownRange(LwA))
        return NumberText(ShownSoundLevel(LwA), decimalSeparator);
    return LwA > 100 ? ">100" : "<10";
}

}  // namespace nimbo
