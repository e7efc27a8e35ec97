#include "select/quantities.h"

#include <cmath>
#include <iterator>

#include "calc/numbers.h"

namespace nimbo {

namespace {

std::string LossText(const Found&, const FoundDetails& d, char) { return d.texts.p; }
std::string SoundText(const Found&, const FoundDetails& d, char) { return d.texts.LwA; }
std::string JetText(const Found&, const FoundDetails& d, char) { return d.texts.x; }
std::string RatingVelocityText(const Found&, const FoundDetails& d, char) { return d.sections.V0; }
std::string FreeVelocityText(const Found&, const FoundDetails& d, char) { return d.sections.Vjs; }
std::string CountText(const Found& f, const FoundDetails&, char) { return std::to_string(static_cast<int>(f.n)); }
std::string FlowText(const Found& f, const FoundDetails&, char sep) { return FlowPerOutletText(f.L1, sep); }
// A candidate without sound data, or refused, has no room sound values.
std::string LevelText(const Found& f, const FoundDetails&, char)
{
    return std::isnan(f.LpA) ? "-" : LpAText(f.LpA);
}
std::string RatingText(const Found& f, const FoundDetails&, char)
{
    return NrText(std::isnan(f.NR) ? std::nullopt : std::optional<int>(static_cast<int>(f.NR)));
}
std::string CriterionText(const Found& f, const FoundDetails&, char) { return NcText(f.nc); }
std::string ReachText(const Found& f, const FoundDetails&, char sep)
{
    return std::isnan(f.Lc) ? "-" : NumberText(f.Lc, sep);
}

constexpr Quantity kQuantities[] = {
    {"dP", "ΔP", "Па", "", "", &Found::dP, LossText, kLimitDP, false},
    {"LwA", "LwA", "дБ(А)", "", "", &Found::LwA, SoundText, kLimitLwA, false},
    {"jet", "l", "м", "Vx", "м/с", &Found::jet, JetText, kLimitThrowMin | kLimitThrowMax | kLimitVx, false},
    {"V0", "V0", "м/с", "", "", &Found::V0, RatingVelocityText, kLimitV0, false},
    {"Vjs", "Vжс", "м/с", "", "", &Found::Vjs, FreeVelocityText, 0, false},
    {"n", "n", "шт", "", "", &Found::n, CountText, 0, true},
    {"L1", "L1", "м³/ч", "", "", &Found::L1, FlowText, 0, true},
    {"LpA", "LpA", "дБ(А)", "", "", &Found::LpA, LevelText, kLimitLpA, true},
    {"NR", "NR", "", "", "", &Found::NR, RatingText, kLimitNR, true},
    {"NC", "NC", "", "", "", &Found::NC, CriterionText, 0, true},
    {"Lc", "Lc", "м", "", "", &Found::Lc, ReachText, kLimitLc, true},
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
