// "Считай!": checks what the calculation needs, runs the stages in their
// fixed order and turns the values into the texts of the window. The order
// of the checks is the order in which the user hears of a problem.
#include "calc/calculation.h"

#include <algorithm>
#include <cmath>

#include "calc/stages.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

inline constexpr float kNoPressureData = 111111;

bool Finite(double v) { return std::isfinite(v); }

// The outlet areas; the free size must leave something after its allowances.
std::string OutletGeometry(const Candidate& c, const TypedInputs& in, char sep, Geometry& g)
{
    const float fmValue = c.line.fmValue(), fzValue = c.line.fzValue();
    if (in.free) {
        const float allowance = std::max(fmValue, fzValue);
        for (const TypedInput* size : {&in.A, &in.B})
            if (!(size->value > allowance))
                return AllowanceMessage(size->name, SingleText(allowance, sep));
        g = FreeSizeGeometry(in.A.value, in.B.value, fmValue, fzValue);
    } else if (in.slot) {
        g = SlotGeometry(in.length.value, c.sectionMm, fmValue, fzValue);
    } else {
        g = ListedGeometry(fmValue, fzValue);
    }
    if (!in.free && !(fmValue > 0))
        return CatalogueAreaMessage("Fm");
    if (!in.free && !(fzValue > 0))
        return CatalogueAreaMessage("Fz");
    for (double area : {g.Fm, g.Fz})
        if (!(area > 0) || !Finite(area))
            return OutOfScaleMessage({in.sizeA(), in.sizeB(), in.slotLength()});
    return {};
}

FlatJet FlatJetOf(const Candidate& c, const OptionState& options, std::string_view lengthText)
{
    FlatJet flat;
    flat.mFlat = c.line.mFlat();
    flat.applies = FlatJetApplies(flat.mFlat, options.regForm, c.modelName);
    // The length box is read as text whatever the size mode.
    if (flat.applies)
        flat.Lx = FlatJetLength(lengthText);
    return flat;
}

void JetAndPressure(const TypedInputs& in, Stages& st)
{
    const JetPoint jet = in.variant1 ? JetForVelocity(st, in.V.value) : JetAtDistance(st, in.V.value);
    st.Vx = jet.Vx;
    st.X = jet.X;
    st.flatJet = jet.flat;
    st.dP = PressureLoss(st.coefficients.Dzeta, st.coefficients.kr, st.Q, st.geometry.Fz);
}

std::string Sound(const Candidate& c, const TypedInputs& in, Stages& st)
{
    const Coefficients& k = st.coefficients;
    st.lwaComputed = HasSoundData(k.sound);
    if (!st.lwaComputed)
        return {};
    const SoundFlow flow = SoundFlowFor(c.mode, in.L.value, in.length.value, c.sectionMm);
    const double faceArea = in.free ? (in.B.value * in.A.value) * 1e-6 : 0;
    st.LwA = SoundPowerLevel(k.sound, c.mode, flow, faceArea, k.dLreg);
    st.Lw = SoundBands(k.sound, c.mode, flow, faceArea, k.dLreg);
    if (!Finite(st.LwA))
        return OutOfScaleMessage({&in.L, in.sizeA(), in.sizeB(), in.slotLength()});
    return {};
}

// Only a value that reaches a text must be a number; a fitted coefficient
// that is not used may overflow unseen.
std::string ShownValuesAreNumbers(const Candidate& c, const TypedInputs& in, const Stages& st)
{
    const Coefficients& k = st.coefficients;
    const TypedInput* lengthForJet = st.flatJet ? &in.length : in.slotLength();
    if (st.jetShown() && !Finite(in.variant1 ? st.X : st.Vx))
        return OutOfScaleMessage({&in.L, &in.V, in.sizeA(), in.sizeB(), lengthForJet});
    if (!Finite(k.m.v) || !Finite(k.kr.v))
        return std::string(kCatalogueUnusable);
    if (st.pressureShown() && !Finite(k.Dzeta.v))
        return OutOfScaleMessage({in.slotLength()});
    if (st.pressureShown() && !Finite(st.dP))
        return OutOfScaleMessage({&in.L, in.sizeA(), in.sizeB(), in.slotLength()});
    const int sectionMode = c.line.sectionMode();
    if ((sectionMode == 1 || sectionMode == 2) && !Finite(st.Q / st.geometry.Fm))
        return OutOfScaleMessage({&in.L, in.sizeA(), in.sizeB(), in.slotLength()});
    return {};
}

Outcome Refused(std::string message, const Calculation& c)
{
    Outcome out;
    out.ok = false;
    out.message = std::move(message);
    out.sections = c.shownBefore;
    return out;
}

}  // namespace

std::string FreeSizeText(std::string_view A, std::string_view B)
{
    return std::string(TrimSpace(A)) + "х" + std::string(TrimSpace(B));
}

Candidate CandidateAt(const Catalogue& catalogue, int row, int sizeIndex)
{
    Candidate c;
    c.mode = catalogue.sizeMode(row);
    c.modelName = catalogue.modelName(row);
    c.line = catalogue.line(row, sizeIndex);
    c.sectionMm = SectionLength(c.modelName);
    return c;
}

std::string ChooseCandidate(const Catalogue* catalogue, const Selection& sel, Candidate& out)
{
    if (!catalogue || !sel.modelChosen || sel.row < 1 || sel.row > catalogue->recordCount())
        return std::string(kChooseModel);
    const SizeMode mode = catalogue->sizeMode(sel.row);
    if ((mode == SizeMode::Listed && !sel.sizeChosen) || sel.sizeIndex < 1 ||
        sel.sizeIndex > catalogue->sizeLineCount(sel.row))
        return std::string(kChooseSize);
    out = CandidateAt(*catalogue, sel.row, sel.sizeIndex);
    return {};
}

std::string ReadInputs(const Inputs& texts, int variant, SizeMode mode, TypedInputs& in)
{
    in.variant1 = variant != 2;
    in.free = mode == SizeMode::Free;
    in.slot = mode == SizeMode::Slot;
    in.L = {kNameL, texts.L};
    in.V = {in.variant1 ? kNameVx : kNameX, texts.V};
    in.A = {kNameA, texts.A};
    in.B = {kNameB, texts.B};
    in.length = {kNameLength, texts.Dlina};
    for (TypedInput* input : {&in.L, &in.V, in.free ? &in.A : nullptr, in.free ? &in.B : nullptr,
                              in.slot ? &in.length : nullptr})
        if (input)
            if (std::string problem = ReadPositive(*input); !problem.empty())
                return problem;
    return {};
}

Numbers CalculateNumbers(const Candidate& c, const TypedInputs& in, const OptionState& options, char sep)
{
    Numbers n;
    Stages& st = n.stages;
    n.message = OutletGeometry(c, in, sep, st.geometry);
    if (!n.message.empty())
        return n;
    st.coefficients = ChooseCoefficients(c.line, options, c.mode, c.modelName, st.geometry.fitted);
    st.Q = in.L.value / 3600;
    st.flat = FlatJetOf(c, options, in.length.text);
    st.pressureData = c.line.dzeta(1) != kNoPressureData;
    JetAndPressure(in, st);
    n.message = Sound(c, in, st);
    if (n.message.empty())
        n.message = ShownValuesAreNumbers(c, in, st);
    n.ok = n.message.empty();
    return n;
}

// In the order in which later texts replace earlier ones: m = 0 hides the
// jet result, the no-data marker or a zeta whose text is "0" hide the
// pressure loss.
DisplayTexts ShowResults(const Stages& st, int variant, char sep)
{
    const Coefficients& k = st.coefficients;
    DisplayTexts t;
    t.x = NumberText(variant != 2 ? st.X : st.Vx, sep);
    t.mData = ValueText(k.m, sep);
    if (!st.jetShown()) {
        t.x = "-";
        t.mData = "-";
    }
    t.p = NumberText(st.dP, sep);
    t.krData = ValueText(k.kr, sep);
    t.dzetaData = ValueText(k.Dzeta, sep);
    if (!st.pressureData || t.dzetaData == "0") {
        t.p = "-";
        t.dzetaData = "-";
    }
    t.fmData = NumberText(Round(st.geometry.Fm, 4), sep);
    t.fzData = NumberText(Round(st.geometry.Fz, 4), sep);
    t.LwA = st.lwaComputed ? SoundText(st.LwA, sep) : "-";
    return t;
}

Outcome Calculate(const Calculation& c)
{
    const Choice& choice = c.choice;
    Candidate candidate;
    TypedInputs in;
    std::string refusal = ChooseCandidate(c.catalogue, choice.selection, candidate);
    if (refusal.empty())
        refusal = ReadInputs(choice.inputs, choice.variant, candidate.mode, in);
    if (!refusal.empty())
        return Refused(std::move(refusal), c);
    Numbers numbers = CalculateNumbers(candidate, in, choice.options, c.decimalSeparator);
    if (!numbers.ok)
        return Refused(std::move(numbers.message), c);

    Outcome out;
    out.ok = true;
    out.stages = numbers.stages;
    out.texts = ShowResults(out.stages, choice.variant, c.decimalSeparator);
    out.sections = SectionsAfter(c.shownBefore, candidate.line, out.stages, choice.inputs, choice.options,
                                 c.decimalSeparator);
    return out;
}

}  // namespace nimbo
