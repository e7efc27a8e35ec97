#pragma once
// What a sound pressure spectrum at the listener rates: the A-weighted level
// LpA and the noise rating curves NR and NC, with their texts as the finder
// and the report show them, and the curves themselves for a chart. A band
// that is not a finite number (a candidate without sound data) leaves the
// spectrum without a rating: "-".
#include <optional>
#include <string>

#include "room/room.h"

namespace nimbo {

// 10·lg Σ 10^((Lp_i + A_i)/10) with the engine's A-weighting, unrounded.
double LevelA(const Bands& Lp);
// Whole decibels, exact halves to the even neighbour; no "<10" or ">100":
// a room is compared with its limit at any level.
double LpAShown(double LpA);
std::string LpAText(double LpA);

// The NR curve of band 0..7 at N: a_i + b_i·N (ISO R 1996).
double NrCurve(int band, double N);
// The smallest whole N with Lp_i ≤ NrCurve(i, N) in every band; it may be
// below 0. nullopt when a band is not finite.
std::optional<int> NoiseRating(const Bands& Lp);
// "<0" below 0, "-" without a rating, else the number.
std::string NrText(std::optional<int> nr);

// The NC curve of band 0..7, interpolated linearly between the tabulated
// curves NC-15 .. NC-70 (ANSI/ASA S12.2-2019); nc is taken into 15..70.
double NcCurve(int band, double nc);
// The smallest whole NC with Lp_i ≤ NcCurve(i, NC) in every band. A spectrum
// touching NC-15 rates 15; Below: under NC-15 in every band; Above: over
// NC-70 in some band; None: a band is not finite.
struct NcRating {
    enum Kind { None, Below, Value, Above } kind = None;
    int value = 0;  // only for Value
};
NcRating NoiseCriterion(const Bands& Lp);
// "<15", ">70", "-" or the number.
std::string NcText(NcRating nc);

}  // namespace nimbo
