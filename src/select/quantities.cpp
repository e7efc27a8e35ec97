#include "select/quantities.h"

#include <cmath>
#include <iterator>

namespace nimbo {

namespace {

std::string LossText(const Found&, const FoundDetails& d, char) { return d.texts.p; }
std::string SoundText(const Found&, const FoundDetails& d, char) { return d.texts.LwA; }
std::string JetText(const Found&, const FoundDetails& d, char) { return d.texts.x; }
std::string RatingVelocityText(const Found&, const FoundDetails& d, char) { return d.sections.V0; }
std::string FreeVelocityText(const Found&, const FoundDetails& d, char) { return d.sections.Vjs; }

constexpr Quantity kQuantities[] = {
    {"dP", "ΔP", "Па", "", "", &Found::dP, LossText, kLimitDP, false},
    {"LwA", "LwA", "дБ(А)", "", "", &Found::LwA, SoundText, kLimitLwA, false},
    {"jet", "l", "м", "Vx", "м/с", &Found::jet, JetText, kLimitThrowMin | kLimitThrowMax | kLimitVx, false},
    {"V0", "V0", "м/с", "", "", &Found::V0, RatingVelocityText, kLimitV0, false},
    {"Vjs", "Vжс", "м/с", "", "", &Found::Vjs, FreeVelocityText, 0, false},
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
};
static_assert(std::size(kLimitSlots) == kLimitCount);

}  // namespace

std::string Quantity::header(int variant) const
{
    return std::string(symbolIn(variant)) + ", " + std::string(unitIn(variant));
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

bool LimitApplies(const LimitSlot& slot, int variant)
{
    return slot.variant == 0 || slot.variant == (variant == 2 ? 2 : 1);
}

}  // namespace nimbo
