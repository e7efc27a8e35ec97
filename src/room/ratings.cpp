// LpA, NR and NC of a spectrum. A level on a curve rates that curve, so a
// rating goes up to the next whole number only beyond kRoomTie.
#include "room/ratings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/numbers.h"
#include "calc/stages.h"

namespace nimbo {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The noise rating curves, Lp = a + b·N (ISO R 1996, as BS 8233 and AS 1469
// tabulate them).
struct NrLine {
    double a, b;
};
constexpr NrLine kNr[8] = {{35.5, 0.790}, {22.0, 0.870}, {12.0, 0.930}, {4.8, 0.974},
                           {0.0, 1.000},  {-3.5, 1.015}, {-6.1, 1.025}, {-8.0, 1.030}};
// Beyond any room: keeps the conversion of an absurd spectrum's N defined.
constexpr double kNrBound = 1e6;

// ANSI/ASA S12.2-2019, NC-15 .. NC-70 in steps of 5.
constexpr int kNcFirst = 15, kNcStep = 5, kNcCurves = 12;
constexpr double kNcLast = kNcFirst + kNcStep * (kNcCurves - 1);
constexpr double kNc[kNcCurves][8] = {
    {47, 36, 28, 22, 18, 14, 12, 11}, {50, 40, 33, 26, 22, 20, 17, 16},
    {54, 44, 37, 31, 27, 24, 22, 22}, {57, 48, 41, 35, 32, 29, 28, 27},
    {60, 52, 45, 40, 36, 34, 33, 32}, {64, 56, 50, 44, 41, 39, 38, 37},
    {67, 60, 54, 49, 46, 44, 43, 42}, {71, 64, 58, 54, 51, 49, 48, 47},
    {74, 67, 62, 58, 56, 54, 53, 52}, {77, 71, 66, 63, 60, 59, 58, 57},
    {80, 75, 71, 68, 65, 64, 63, 62}, {84, 79, 75, 72, 71, 70, 68, 68},
};

bool AllFinite(const Bands& b)
{
    return std::all_of(b.begin(), b.end(), [](double v) { return std::isfinite(v); });
}

// The NC at which the band's curve reaches Lp: −∞ under NC-15, +∞ over
// NC-70, else by inverse interpolation (every curve rises with NC).
double NcReach(int band, double Lp)
{
    if (Lp < kNc[0][band] - kRoomTie)
        return -kInf;
    if (Lp > kNc[kNcCurves - 1][band] + kRoomTie)
        return kInf;
    int k = 0;
    while (k < kNcCurves - 2 && Lp > kNc[k + 1][band])
        ++k;
    const double lo = kNc[k][band], hi = kNc[k + 1][band];
    return kNcFirst + kNcStep * (k + (Lp - lo) / (hi - lo));
}

}  // namespace

double LevelA(const Bands& Lp)
{
    double sum = 0;
    for (std::size_t i = 0; i < Lp.size(); ++i)
        sum += std::pow(10.0, 0.1 * (Lp[i] + kAWeighting[i]));
    return 10 * Lg(sum);
}

double LpAShown(double LpA) { return Round(LpA, 0); }

std::string LpAText(double LpA) { return NumberText(LpAShown(LpA), '.'); }

double NrCurve(int band, double N) { return kNr[band].a + kNr[band].b * N; }

std::optional<int> NoiseRating(const Bands& Lp)
{
    if (!AllFinite(Lp))
        return std::nullopt;
    double N = -kInf;
    for (int i = 0; i < 8; ++i)
        N = std::max(N, (Lp[i] - kNr[i].a) / kNr[i].b);
    return static_cast<int>(std::clamp(std::ceil(N - kRoomTie), -kNrBound, kNrBound));
}

std::string NrText(std::optional<int> nr)
{
    if (!nr)
        return "-";
    return *nr < 0 ? "<0" : std::to_string(*nr);
}

double NcCurve(int band, double nc)
{
    // Written so that a NaN, too, lands on NC-15 rather than in a cast to int.
    const double taken = nc > kNcFirst ? std::min(nc, kNcLast) : kNcFirst;
    const double steps = (taken - kNcFirst) / kNcStep;
    const int k = std::min(static_cast<int>(steps), kNcCurves - 2);
    return kNc[k][band] + (steps - k) * (kNc[k + 1][band] - kNc[k][band]);
}

NcRating NoiseCriterion(const Bands& Lp)
{
    if (!AllFinite(Lp))
        return {};
    double reach = -kInf;
    for (int i = 0; i < 8; ++i)
        reach = std::max(reach, NcReach(i, Lp[i]));
    if (reach == -kInf)
        return {NcRating::Below, 0};
    if (reach == kInf)
        return {NcRating::Above, 0};
    // Within kRoomTie of NC-15 or NC-70 the reach lies a hair outside them.
    return {NcRating::Value, static_cast<int>(std::clamp(std::ceil(reach - kRoomTie), double(kNcFirst), kNcLast))};
}

std::string NcText(NcRating nc)
{
    switch (nc.kind) {
    case NcRating::Below:
        return "<" + std::to_string(kNcFirst);
    case NcRating::Above:
        return ">" + std::to_string(static_cast<int>(kNcLast));
    case NcRating::Value:
        return std::to_string(nc.value);
    case NcRating::None:
        break;
    }
    return "-";
}

}  // namespace nimbo
