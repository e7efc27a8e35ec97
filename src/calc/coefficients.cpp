// Picks m, Dzeta, kr, dLreg and the sound set from the row by the three
// option groups. The steps run in order and a later one overwrites an
// earlier one, which is what gives the catalogue's options their priority.
#include <algorithm>

#include "calc/model_name.h"
#include "calc/stages.h"

namespace nimbo {

namespace {

SoundSet Copied(std::span<const float, kSoundSetSize> set)
{
    SoundSet out{};
    std::copy(set.begin(), set.end(), out.begin());
    return out;
}

void TakeRegulator(Coefficients& c, const SizeLine& line, int k, int p)
{
    c.kr = Value::Single(line.kr(k, p));
    c.dLreg = static_cast<float>(line.dL(k, p));
}

void NoRegulator(Coefficients& c)
{
    c.kr = Value::Double(1);
    c.dLreg = 0;
}

// The plenum versions of Dzeta and the sound set: option 1 unless another
// jet-form option applies (selected while its frame is visible).
void TakePlenumSet(Coefficients& c, const SizeLine& line, const OptionState& o)
{
    c.Dzeta = Value::Single(line.dzetaP(1));
    c.sound = Copied(line.soundP(1));
    for (int k = 2; k <= 4; ++k)
        if (o.regFormApplies && o.regForm == k) {
            c.Dzeta = Value::Single(line.dzetaP(k));
            c.sound = Copied(line.soundP(k));
        }
}

// The plenum box option: none, a plenum (КСД) or a plenum with its own
// regulator (КСР). Slot grilles take the fitted coefficient of their series.
void TakePlenumOption(Coefficients& c, const SizeLine& line, const OptionState& o, SizeMode mode,
                      std::string_view modelName, const FittedCoefficients& fitted)
{
    const bool option2Applies = o.regFormApplies && o.regForm == 2;
    if (o.ksd == 1)
        NoRegulator(c);
    if (o.ksd == 2) {
        NoRegulator(c);
        TakePlenumSet(c, line, o);
        if (mode == SizeMode::Slot) {
            const std::string_view suffix = SeriesSuffix(modelName);
            if (suffix == "ДМЗ" || suffix == "ДПЗ")
                c.Dzeta = Value::Double(fitted.q1);
            if (suffix == "ДТЗ")
                c.Dzeta = Value::Double(fitted.q2);
            if (option2Applies && suffix == "ДМЗ")
                c.Dzeta = Value::Double(fitted.exp);
            if (option2Applies && suffix == "ДТЗ")
                c.Dzeta = Value::Double(fitted.cub);
        }
    }
    if (o.ksd == 3) {
        TakePlenumSet(c, line, o);
        if (mode == SizeMode::Slot) {
            // The regulator of a slot plenum is already in the fit: its
            // coefficient is added, not multiplied, and its sound dropped.
            c.Dzeta = Value::Double((option2Applies ? fitted.cub : fitted.q2) + c.kr.v);
            NoRegulator(c);
        }
    }
}

}  // namespace

Coefficients ChooseCoefficients(const SizeLine& line, const OptionState& o, SizeMode mode,
                                std::string_view modelName, const FittedCoefficients& fitted)
{
    Coefficients c;
    c.m = Value::Single(line.m(1));
    c.Dzeta = Value::Single(line.dzeta(1));
    c.sound = Copied(line.sound(1));

    if (o.regRashApplies) {
        for (int p = 1; p <= 5; ++p)
            if (o.regRash == p)
                TakeRegulator(c, line, 1, p);
        // A jet-form option with regulator values of its own takes them even
        // while the jet-form frame is hidden.
        for (int k = 2; k <= 4; ++k)
            if (o.regForm == k && line.kr(k, 1) != 0)
                for (int p = 1; p <= 5; ++p)
                    if (o.regRash == p)
                        TakeRegulator(c, line, k, p);
    }

    if (o.regFormApplies)
        for (int k = 1; k <= 4; ++k)
            if (o.regForm == k) {
                c.m = Value::Single(line.m(k));
                c.Dzeta = Value::Single(line.dzeta(k));
                c.sound = Copied(line.sound(k));
            }

    if (o.ksdApplies)
        TakePlenumOption(c, line, o, mode, modelName, fitted);

    if (line.regCaption(1) == "n")
        NoRegulator(c);
    return c;
}

}  // namespace nimbo
