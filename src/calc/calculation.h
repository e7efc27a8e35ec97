#pragma once
// "Считай!" as functions of plain values, in three layers a caller can stop
// after:
//   1. ChooseCandidate and ReadInputs: which size line, and the typed texts
//      as numbers (or the refusal that names the input);
//   2. CalculateNumbers: every number of the result, or its refusal. It
//      builds no text unless it refuses, so a finder may run it for each
//      size line of a catalogue;
//   3. ShowResults and SectionsAfter: the texts a result is shown with.
// Calculate runs all three for a Choice, the plain value of what the user
// chose. Nothing here knows about widgets; the log record is made from a
// choice and its outcome one layer up.
#include <array>
#include <string>
#include <string_view>

#include "calc/input_checks.h"
#include "calc/numbers.h"
#include "catalogue/catalogue.h"

namespace nimbo {

// The selection the cascade made current.
struct Selection {
    int row = 0;           // 0..1000
    int sizeIndex = 0;     // 0..200
    bool modelChosen = false;  // a model was picked since the last type choice
    bool sizeChosen = false;   // a listed size was picked since the last model choice
};

// The three option groups: plenum box (КСД), jet form and flow regulator,
// as the effective picks. A group applies while the chosen size offers it;
// the pick of a group that does not apply is its leftover selection, which
// still counts where the catalogue says so.
struct OptionState {
    bool ksdApplies = false, regFormApplies = false, regRashApplies = false;
    int ksd = 1, regForm = 1, regRash = 1;  // selected option, 1-based; 0 = none
    bool regForm1Offered = true;            // the first jet-form option is offered
};

// The typed texts: flow L, the velocity Vx (variant 1) or distance X
// (variant 2), the free size A × B and the slot length, all as typed.
struct Inputs {
    std::string L = "1000", V = "0.2", A = "300", B = "300", Dlina = "1000";
};

// The section results and their frames; the calculation leaves some of them
// as they were, so the current state comes in.
struct Sections {
    bool fvShown = false, svShown = true, jsShown = true;
    std::string F0, V0, Fv, Vv, Fjs, Vjs;
};

// The words the choice was made in, as the user saw them: the record and the
// report name the choice by them. The calculation never reads them.
struct ChoiceTexts {
    std::string type;        // the chosen type
    std::string model;       // the chosen model
    std::string listedSize;  // the chosen listed size
    bool freeSizeShown = false;  // the size is written "AхB" from the typed sizes
    bool lengthShown = false;    // the size is the typed slot length
    // The caption of the picked option of each group; "" while none is picked.
    std::string plenum = "Нет", jetForm, regulator;
    // The regulator group names whose regulator it is.
    std::string regulatorTitle = "Рег. расхода";
};

// The captions beside the typed value and beside the jet result of a variant.
struct VariantWords {
    std::string_view inputLabel, inputUnit, resultLabel, resultUnit;
};
inline constexpr VariantWords kVariantWords[2] = {{"Vx =", "м/с", "l =", "м"}, {"X =", "м", "Vx =", "м/с"}};
constexpr const VariantWords& VariantWordsOf(int variant) { return kVariantWords[variant == 2 ? 1 : 0]; }

// A free size as the log and the finder write it: "250х400", with a
// Cyrillic "х" and the typed numbers without the blanks around them.
std::string FreeSizeText(std::string_view A, std::string_view B);

// What the user chose: the size line, the typed texts, the variant and the
// effective option picks.
struct Choice {
    Selection selection;
    Inputs inputs;
    int variant = 1;  // 1: throw for Vx, 2: velocity at X
    OptionState options;
    ChoiceTexts shown;
};

// One calculation: a choice against its catalogue. The section results stay
// as they were where the calculation does not reach them, so the ones
// shown before come in.
struct Calculation {
    const Catalogue* catalogue = nullptr;
    Choice choice;
    Sections shownBefore;
    char decimalSeparator = '.';
};

// --- Step 1: the size line and the typed inputs -------------------------------

// One size line of one row with what the formulas read from its row.
// Valid while the catalogue lives.
struct Candidate {
    SizeMode mode = SizeMode::Listed;
    std::string_view modelName;
    SizeLine line;
    double sectionMm = 1000;  // slot section length
};
// Any existing row and size index; a finder picks them itself.
Candidate CandidateAt(const Catalogue& catalogue, int row, int sizeIndex);
// The window's choice; empty when usable, else the refusal.
std::string ChooseCandidate(const Catalogue* catalogue, const Selection& selection, Candidate& out);

// The typed inputs as numbers. Which count is decided by the size mode
// alone; the others keep value 0. The texts are viewed, not copied: the
// Inputs must outlive this.
struct TypedInputs {
    bool variant1 = true;
    TypedInput L, V, A, B, length;
    bool free = false, slot = false;
    const TypedInput* sizeA() const { return free ? &A : nullptr; }
    const TypedInput* sizeB() const { return free ? &B : nullptr; }
    const TypedInput* slotLength() const { return slot ? &length : nullptr; }
};
// Empty when every input that counts is a number above 0, else the refusal.
std::string ReadInputs(const Inputs& texts, int variant, SizeMode mode, TypedInputs& out);

// --- Step 2: the numbers ----------------------------------------------------

using SoundSet = std::array<float, kSoundSetSize>;  // a1..a8, b1..b8, c1..c8
// A level in each octave band, 63 Hz .. 8 kHz.
using Bands = std::array<double, 8>;

struct FittedCoefficients {
    double q1 = 0, q2 = 0, exp = 0, cub = 0;  // DzetaQ1, DzetaQ2, DzetaExp, DzetaCub
};

struct Geometry {
    double Fm = 0, Fz = 0;    // m²
    double Nsec = 0, rF = 0;  // slot grilles only
    FittedCoefficients fitted;
};

struct Coefficients {
    Value m, Dzeta, kr{1, false};
    float dLreg = 0;
    SoundSet sound{};
};

// Near a long slot the jet is flat: closer than six slot lengths its own
// formula replaces the compact jet's.
struct FlatJet {
    bool applies = false;
    float mFlat = 0;
    double Lx = 0;  // slot length, m
};

// Every number of a calculated candidate.
struct Stages {
    Geometry geometry;
    Coefficients coefficients;
    double Q = 0;  // m³/s
    FlatJet flat;
    // The jet: the given or computed Vx and X (one of them is the typed
    // number), whether the flat-jet formula replaced the compact one, and dP.
    double Vx = 0, X = 0, dP = 0;
    bool flatJet = false;
    bool lwaComputed = false;  // the set has sound data
    float LwA = 0;
    Bands Lw{};  // the sound power in each band, the regulator's addition in, dB
    bool pressureData = true;  // the catalogue gives a pressure loss for the size
    bool jetShown() const { return coefficients.m.v != 0; }
    bool pressureShown() const { return pressureData && coefficients.Dzeta.v != 0; }
};

struct Numbers {
    bool ok = false;
    std::string message;  // Russian, when !ok; the stages are then partial
    Stages stages;
};

// decimalSeparator only writes numbers into a refusal.
Numbers CalculateNumbers(const Candidate& candidate, const TypedInputs& inputs, const OptionState& options,
                         char decimalSeparator);

// The jet of a calculated candidate, as the two variants compute it: the
// point at distance X, or the distance where the axis velocity falls to Vx.
// Both round to 0.1 and apply the flat-jet formula where the engine does.
struct JetPoint {
    double Vx = 0, X = 0;
    bool flat = false;
};
JetPoint JetAtDistance(const Stages& stages, double X);
JetPoint JetForVelocity(const Stages& stages, double Vx);
// The centre-line velocity in m/s at X metres from the outlet: what variant 2
// shows for that distance.
inline double JetVelocityAt(const Stages& stages, double X) { return JetAtDistance(stages, X).Vx; }
// The same velocity unrounded, for a smooth curve: the compact jet never
// faster than the air leaving the outlet, the flat jet's formula closer than
// JetSwitchDistance.
double JetVelocityExact(const Stages& stages, double X);
// Q/Fm, m/s: the mean velocity of the air leaving the outlet.
double JetOutletVelocity(const Stages& stages);
// Where the engine changes from the flat-jet formula to the compact one, m;
// 0 when the compact jet holds throughout.
double JetSwitchDistance(const Stages& stages);

// --- Step 3: texts -------------------------------------------------------------

struct DisplayTexts {
    std::string p, x, LwA;
    std::string mData, dzetaData, krData, fmData, fzData;  // the coefficient panel
};
DisplayTexts ShowResults(const Stages& stages, int variant, char decimalSeparator);

// The section frames and texts after a calculation, starting from `before`.
Sections SectionsAfter(const Sections& before, const SizeLine& line, const Stages& stages, const Inputs& texts,
                       const OptionState& options, char decimalSeparator);

// --- All steps, for the window ------------------------------------------------

struct Outcome {
    bool ok = false;
    std::string message;  // Russian; set when !ok, and nothing else is to change
    DisplayTexts texts;
    Sections sections;
    Stages stages;
};

Outcome Calculate(const Calculation& calculation);

}  // namespace nimbo
