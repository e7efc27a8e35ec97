#include "select/quantities.h"

#include <cmath>
#include <iterator>

#include "calc/numbers.h"
#include "calc/stages.h"

namespace nimbo {

namespace {

std::string LossText(const Found&, const FoundDetails& d, char) { return d.texts.p; }
std::string SoundText(const Found&, const FoundDetails& d, char) { return d.texts.LwA; }
std::string JetText(const Found&, const FoundDetails& d, char) { return d.texts.x; }
std::string RatingVelocityText(const Found&, const FoundDetails& d, char) { return d.sections.V0; }
std::string FreeVelocityText(const Found&, const FoundDetails& d, char) { return d.sections.Vjs; }

// The values as the engine writes them; "-" where nothing is shown.
std::string PlainValue(double v, char sep) { return NumberText(v, sep); }
std::string SoundValue(double v, char sep)
{
    return std::isnan(v) ? "-" : nimbo::SoundText(static_cast<float>(v), sep);
}
std::string CountValue(double v, char) { return std::isnan(v) ? "-" : std::to_string(static_cast<int>(v)); }
std::string FlowValue(double v, char sep) { return std::isnan(v) ? "-" : FlowPerOutletText(v, sep); }
// A candidate without sound data, or refused, has no room sound values.
std::string LevelValue(double v, char) { return std::isnan(v) ? "-" : LpAText(v); }
std::string RatingValue(double v, char)
{
    return NrText(std::isnan(v) ? std::nullopt : std::optional<int>(static_cast<int>(v)));
}
std::string CriterionValue(double v, char)
{
    if (v == kNcBelowCurves || v == kNcAboveCurves)
        return NcText({v == kNcBelowCurves ? NcRating::Below : NcRating::Above, 0});
    return NcText(std::isnan(v) ? NcRating{} : NcRating{NcRating::Value, static_cast<int>(v)});
}

// A room quantity's cell is its value's text.
template <double Found::*number, std::string (*value)(double, char)>
std::string OfValue(const Found& f, const FoundDetails&, char sep)
{
    return value(f.*number, sep);
}

constexpr Quantity kQuantities[] = {
    {"dP", "ΔP", "Па", "", "", &Found::dP, LossText, kLimitDP, false, PlainValue},
    {"LwA", "LwA", "дБ(А)", "", "", &Found::LwA, SoundText, kLimitLwA, false, SoundValue},
    {"jet", "l", "м", "Vx", "м/с", &Found::jet, JetText, kLimitThrowMin | kLimitThrowMax | kLimitVx, false,
     PlainValue},
    {"V0", "V0", "м/с", "", "", &Found::V0, RatingVelocityText, kLimitV0, false, PlainValue},
    {"Vjs", "Vжс", "м/с", "", "", &Found::Vjs, FreeVelocityText, 0, false, PlainValue},
    {"n", "n", "шт", "", "", &Found::n, OfValue<&Found::n, CountValue>, 0, true, CountValue},
    {"L1", "L1", "м³/ч", "", "", &Found::L1, OfValue<&Found::L1, FlowValue>, 0, true, FlowValue},
    {"LpA", "LpA", "дБ(А)", "", "", &Found::LpA, OfValue<&Found::LpA, LevelValue>, kLimitLpA, true, LevelValue},
    {"NR", "NR", "", "", "", &Found::NR, OfValue<&Found::NR, RatingValue>, kLimitNR, true, RatingValue},
    {"NC", "NC", "", "", "", &Found::NC, OfValue<&Found::NC, CriterionValue>, 0, true, CriterionValue},
    {"Lc", "Lc", "м", "", "", &Found::Lc, OfValue<&Found::Lc, PlainValue>, kLimitLc, true, PlainValue},
};

constexpr LimitSlot kLimitSlots[] = {
    {kLimitDP, "ΔP не более", "Па", "TxtBx_MaxDP", "dP", &LimitTexts::dP, &Limits::dP, &Found::dP, Bound::AtMost,
     0, false},
    {kLimitLwA, "LwA не более", "дБ(А)", "TxtBx_MaxLwA", "LwA", &LimitTexts::LwA, &Limits::LwA, &Found::LwA,
     Bound::AtMost, 0, false},
    {kLimitThrowMin, "l не менее", "м", "TxtBx_MinL", "throwMin", &LimitTexts::throwMin, &Limits::throwMin,
     &Found::jet, Bound::AtLeast, 1, false},
    {kLimitThrowMax, "l не более", "м", "TxtBx_MaxL", "throwMax", &LimitTexts::throwMax, &Limits::throwMax,
     &Found::jet, Bound::AtMost, 1, false},
    {kLimitVx, "Vx не более", "м/с", "TxtBx_MaxVx", "VxMax", &LimitTexts::VxMax, &Limits::VxMax, &Found::jet,
     Bound::AtMost, 2, false},
    {kLimitV0, "V0 не более", "м/с", "TxtBx_MaxV0", "V0Max", &LimitTexts::V0Max, &Limits::V0Max, &Found::V0,
     Bound::AtMost, 0, false},
    {kLimitNR, "NR не более", "", "Limit_NR", "NR", &LimitTexts::NR, &Limits::NR, &Found::NR, Bound::AtMost, 0, true},
    {kLimitLpA, "LpA не более", "дБ(А)", "Limit_LpA", "LpA", &LimitTexts::LpA, &Limits::LpA, &Found::LpA,
     Bound::AtMost, 0, true},
    {kLimitLc, "l не более Lc", "", "Chk_Lc", "throwWithinLc", nullptr, nullptr, &Found::jet, Bound::AtMost, 1, true},
};
static_assert(std::size(kLimitSlots) == kLimitCount);

}  // namespace

std::string Quantity::header(int variant) const
{
    const std::string_view u = unitIn(variant);
    return std::string(symbolIn(variant)) + (u.empty() ? "" : ", " + std::string(u));
}

std::span<const Quantity, kQuantityCount> Quantities() { return kQuantities; }

std::span<const LimitSlot> LimitSlots() { return kLimitSlots; }

const LimitSlot& SlotOf(LimitBit limit)
{
    for (const LimitSlot& slot : kLimitSlots)
        if (slot.bit == limit)
            return slot;
    return kLimitSlots[0];
}

const Quantity& QuantityOf(LimitBit limit)
{
    for (const Quantity& q : kQuantities)
        if (q.limits & limit)
            return q;
    return kQuantities[0];
}

bool LimitApplies(const LimitSlot& slot, int variant, bool room)
{
    return (slot.variant == 0 || slot.variant == (variant == 2 ? 2 : 1)) && (room || !slot.roomOnly);
}

}  // namespace nimbo
