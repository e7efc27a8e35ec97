// "Считай!": checks what the calculation needs, runs the stages in their
// fixed order and turns the values into the texts of the window.
#include "calc/calculation.h"

#include <algorithm>
#include <cmath>

#include "calc/input_checks.h"
#include "calc/model_name.h"
#include "calc/stages.h"

namespace nimbo {

namespace {

inline constexpr float kNoPressureData = 111111;

Outcome Refused(std::string message, const Snapshot& s)
{
    Outcome out;
    out.ok = false;
    out.message = std::move(message);
    out.sections = s.sections;
    return out;
}

bool Finite(double v) { return std::isfinite(v); }

}  // namespace

Outcome Calculate(const Snapshot& s)
{
    const Catalogue* catalogue = s.catalogue;
    const Selection& sel = s.selection;
    if (!catalogue || !sel.modelChosen || sel.row < 1 || sel.row > catalogue->recordCount())
        return Refused(std::string(kChooseModel), s);
    const SizeMode mode = SizeModeOf(catalogue->sizeMode(sel.row));
    if ((mode == SizeMode::Listed && !sel.sizeChosen) || sel.sizeIndex < 1 ||
        sel.sizeIndex > catalogue->sizeLineCount(sel.row))
        return Refused(std::string(kChooseSize), s);
    const std::string_view modelName = catalogue->modelName(sel.row);
    const SizeLine line = catalogue->line(sel.row, sel.sizeIndex);
    const char sep = s.decimalSeparator;
    const bool variant1 = s.variant != 2;

    // Which inputs count is decided by the size mode alone, not by which
    // frame is on screen.
    TypedInput L{kNameL, s.inputs.L};
    TypedInput V{variant1 ? kNameVx : kNameX, s.inputs.V};
    TypedInput A{kNameA, s.inputs.A}, B{kNameB, s.inputs.B};
    TypedInput length{kNameLength, s.inputs.Dlina};
    const bool free = mode == SizeMode::Free, slot = mode == SizeMode::Slot;
    for (TypedInput* in : {&L, &V, free ? &A : nullptr, free ? &B : nullptr, slot ? &length : nullptr})
        if (in)
            if (std::string problem = ReadPositive(*in); !problem.empty())
                return Refused(std::move(problem), s);
    const TypedInput* sizeA = free ? &A : nullptr;
    const TypedInput* sizeB = free ? &B : nullptr;
    const TypedInput* slotLength = slot ? &length : nullptr;

    // Outlet geometry.
    const float fmValue = line.fmValue(), fzValue = line.fzValue();
    const double sectionMm = SectionLength(modelName);
    Geometry g;
    if (free) {
        const float allowance = std::max(fmValue, fzValue);
        for (const TypedInput* in : {&A, &B})
            if (!(in->value > allowance))
                return Refused(AllowanceMessage(in->name, SingleText(allowance, sep)), s);
        g = FreeSizeGeometry(A.value, B.value, fmValue, fzValue);
    } else if (slot) {
        g = SlotGeometry(length.value, sectionMm, fmValue, fzValue);
    } else {
        g = ListedGeometry(fmValue, fzValue);
    }
    if (!free && !(fmValue > 0))
        return Refused(CatalogueAreaMessage("Fm"), s);
    if (!free && !(fzValue > 0))
        return Refused(CatalogueAreaMessage("Fz"), s);
    for (double area : {g.Fm, g.Fz})
        if (!(area > 0) || !Finite(area))
            return Refused(OutOfScaleMessage({sizeA, sizeB, slotLength}), s);

    Outcome out;
    Stages& st = out.stages;
    st.Fm = g.Fm;
    st.Fz = g.Fz;
    st.Nsec = g.Nsec;
    st.rF = g.rF;
    st.DzetaQ1 = g.fitted.q1;
    st.DzetaQ2 = g.fitted.q2;
    st.DzetaExp = g.fitted.exp;
    st.DzetaCub = g.fitted.cub;

    const Coefficients c = ChooseCoefficients(line, s.options, mode, modelName, g.fitted);
    st.m = c.m;
    st.Dzeta = c.Dzeta;
    st.kr = c.kr;
    st.dLreg = c.dLreg;
    st.sound = c.sound;

    st.Q = L.value / 3600;

    // Compact jet, then pressure loss.
    if (variant1) {
        st.Vx = V.value;
        st.X = CompactThrow(c.m, st.Q, st.Vx, g.Fm);
    } else {
        st.X = V.value;
        st.Vx = CompactVelocity(c.m, st.Q, st.X, g.Fm);
    }
    st.dP = PressureLoss(c.Dzeta, c.kr, st.Q, g.Fz);

    // Sound power comes before the flat-jet correction.
    st.lwaComputed = HasSoundData(c.sound);
    out.LwA = "-";
    if (st.lwaComputed) {
        const SoundFlow flow = SoundFlowFor(mode, L.value, length.value, sectionMm);
        const double faceArea = free ? (B.value * A.value) * 1e-6 : 0;
        st.LwA = SoundPowerLevel(c.sound, mode, flow, faceArea, c.dLreg);
        if (!Finite(st.LwA))
            return Refused(OutOfScaleMessage({&L, sizeA, sizeB, slotLength}), s);
        out.LwA = SoundText(st.LwA, sep);
    }

    // Near a long slot the jet is flat. The threshold compares the distance
    // itself, not the digits before a decimal comma.
    bool lengthInvolved = false;
    if (FlatJetApplies(line.mFlat(), s.options.regForm, modelName)) {
        const double Lx = FlatJetLength(s.inputs.Dlina);
        if (st.X < 6 * Lx) {
            st.flatJet = true;
            lengthInvolved = true;
            if (variant1)
                st.X = FlatThrow(line.mFlat(), st.Q, st.Vx, Lx, g.Fm);
            else
                st.Vx = FlatVelocity(line.mFlat(), st.Q, st.X, Lx, g.Fm);
        }
    }

    // What the display will show: m = 0 hides the jet result, the no-data
    // marker or a zeta whose text is "0" hide the pressure loss.
    const double jet = variant1 ? st.X : st.Vx;
    const bool jetShown = c.m.v != 0;
    const bool pressureShown = line.dzeta(1) != kNoPressureData && ValueText(c.Dzeta, sep) != "0";

    // Only a value that reaches a text must be a number; a fitted
    // coefficient that is not used may overflow unseen.
    const TypedInput* lengthForJet = lengthInvolved ? &length : slotLength;
    if (jetShown && !Finite(jet))
        return Refused(OutOfScaleMessage({&L, &V, sizeA, sizeB, lengthForJet}), s);
    if (!Finite(c.m.v) || !Finite(c.kr.v))
        return Refused(std::string(kCatalogueUnusable), s);
    if (pressureShown && !Finite(c.Dzeta.v))
        return Refused(OutOfScaleMessage({slotLength}), s);
    if (pressureShown && !Finite(st.dP))
        return Refused(OutOfScaleMessage({&L, sizeA, sizeB, slotLength}), s);

    // Display, in the order in which later texts replace earlier ones.
    out.x = NumberText(jet, sep);
    out.mData = ValueText(c.m, sep);
    if (!jetShown) {
        out.x = "-";
        out.mData = "-";
    }
    out.p = NumberText(st.dP, sep);
    out.krData = ValueText(c.kr, sep);
    out.dzetaData = ValueText(c.Dzeta, sep);
    if (line.dzeta(1) == kNoPressureData) {
        out.p = "-";
        out.dzetaData = "-";
    }
    if (out.dzetaData == "0") {
        out.dzetaData = "-";
        out.p = "-";
    }
    out.fmData = NumberText(Round(g.Fm, 4), sep);
    out.fzData = NumberText(Round(g.Fz, 4), sep);

    const int sectionMode = line.sectionMode();
    if ((sectionMode == 1 || sectionMode == 2) && !Finite(st.Q / g.Fm))
        return Refused(OutOfScaleMessage({&L, sizeA, sizeB, slotLength}), s);
    SectionInputs sections;
    sections.sectionMode = sectionMode;
    sections.Q = st.Q;
    sections.Fm = g.Fm;
    sections.A = s.inputs.A;
    sections.B = s.inputs.B;
    for (int k = 1; k <= 4; ++k)
        sections.freeRatio[static_cast<std::size_t>(k - 1)] = line.freeAreaRatio(k);
    sections.options = &s.options;
    sections.decimalSeparator = sep;
    out.sections = SectionResults(s.sections, sections);

    out.record = MakeLogRecord(s, out);
    out.ok = true;
    return out;
}

}  // namespace nimbo
