#pragma once
// The stages of "Считай!" one by one. Calculate() runs them in their fixed
// order; tests call them directly with the numbers of a worked example.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calculation.h"

namespace nimbo {

inline constexpr std::string_view kSlotJetSeries = "ДМЖ";

// --- Outlet geometry ---------------------------------------------------------

FittedCoefficients Fitted(double rF);

// A slot is made of sections of 1000 mm, of 500 mm in the ДМЖ series.
double SectionLength(std::string_view modelName);
// The number of started sections.
double SectionCount(double lengthMm, double sectionMm);

Geometry ListedGeometry(float fmValue, float fzValue);
Geometry FreeSizeGeometry(double A, double B, float fmAllowance, float fzAllowance);
Geometry SlotGeometry(double lengthMm, double sectionMm, float fmValue, float fzValue);

// --- Coefficient selection ---------------------------------------------------

Coefficients ChooseCoefficients(const SizeLine& line, const OptionState& options, SizeMode mode,
                                std::string_view modelName, const FittedCoefficients& fitted);

// --- Jet and pressure loss ---------------------------------------------------

// Variant 1: the throw l for the terminal velocity Vx, rounded to 0.1 m.
double CompactThrow(Value m, double Q, double Vx, double Fm);
// The velocity at distance X as the formula gives it, unrounded and uncapped.
double CompactVelocityExact(Value m, double Q, double X, double Fm);
// Variant 2: the velocity at distance X, rounded to 0.1 m/s and never above
// the outlet velocity Q/Fm.
double CompactVelocity(Value m, double Q, double X, double Fm);
// The total pressure loss in Pa, rounded to a whole number.
double PressureLoss(Value Dzeta, Value kr, double Q, double Fz);

// Closer than this many slot lengths the flat-jet formula replaces the compact one.
inline constexpr double kFlatJetSlotLengths = 6;
bool FlatJetApplies(float mFlat, int selectedRegForm, std::string_view modelName);
// Slot length in m for the flat-jet check, from the text of the length box.
double FlatJetLength(std::string_view lengthText);
double FlatThrow(float mFlat, double Q, double Vx, double Lx, double Fm);
double FlatVelocity(float mFlat, double Q, double X, double Lx, double Fm);
double FlatVelocityExact(float mFlat, double Q, double X, double Lx, double Fm);

// --- Sound power -------------------------------------------------------------

// A-weighting of the octave bands 63 Hz .. 8 kHz (IEC 61672-1), dB.
inline constexpr std::array<double, 8> kAWeighting{-26.2, -16.1, -8.6, -3.2, 0.0, 1.2, 1.0, -1.1};

struct SoundFlow {
    double Lsnd = 0;   // flow figure of the band formulas
    double dLlen = 0;  // slot-length addition, dB
};
SoundFlow SoundFlowFor(SizeMode mode, double L, double lengthMm, double sectionMm);

// The set has sound data when its 1000 Hz coefficient a5 is not 0.
bool HasSoundData(const SoundSet& set);
// LwA in dB(A); faceArea (m²) is used for free sizes only.
float SoundPowerLevel(const SoundSet& set, SizeMode mode, SoundFlow flow, double faceArea,
                      float dLreg);
// The level of each band that SoundPowerLevel sums, dLreg added to each, so
// that their A-weighted energy sum is the LwA.
Bands SoundBands(const SoundSet& set, SizeMode mode, SoundFlow flow, double faceArea, float dLreg);
// The level as the window shows it: whole decibels, or the level itself
// where the window writes "<10" or ">100".
double ShownSoundLevel(float LwA);
// "<10", ">100" or the whole number.
std::string SoundText(float LwA, char decimalSeparator);

// --- Section velocities ------------------------------------------------------

struct SectionInputs {
    int sectionMode = 0;
    double Q = 0;  // m³/s
    double Fm = 0;
    std::string_view A, B;             // duct size as typed, mm
    std::array<float, 4> freeRatio{};  // k1..k4
    const OptionState* options = nullptr;
    char decimalSeparator = '.';
};
// The rating section (F0, V0) is calculated for section modes 1 and 2.
bool RatingSectionShown(int sectionMode);
// The mean velocity through an area in m/s, rounded as shown; nullopt where
// the area is unknown, not above 0 or gives no finite velocity.
std::optional<double> SectionVelocity(std::optional<double> area, double Q);
// The line's free-area ratios k1..k4, and the one the options select (0: none).
std::array<float, 4> FreeRatios(const SizeLine& line);
float FreeRatioFor(const std::array<float, 4>& k, const OptionState& options);

// The section frames and texts after the step, starting from `before`.
Sections SectionResults(const Sections& before, const SectionInputs& in);

}  // namespace nimbo
