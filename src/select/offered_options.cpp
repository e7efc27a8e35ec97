#include "select/offered_options.h"

namespace nimbo {

bool NotOffered(std::string_view caption) { return caption == "n"; }

PlenumOffer PlenumOfferOf(const SizeLine& line)
{
    PlenumOffer offer;
    offer.shown = line.dzetaP(1) != 0.0F;
    // A zero plain zeta: the model is made only with a plenum.
    offer.withoutPlenum = line.dzeta(1) != 0.0F;
    offer.withRegulator = !NotOffered(line.regCaption(1));
    return offer;
}

int PlenumSetupChoice(const PlenumOffer& offer, int selectedBefore)
{
    if (offer.shown && (!offer.withoutPlenum || !offer.withRegulator))
        return 2;
    return selectedBefore;
}

bool RegulatorGroupShown(const SizeLine& line, const PlenumOffer& offer, int plenumChoice)
{
    return offer.shown ? plenumChoice == 3 : !NotOffered(line.regCaption(1));
}

bool RegulatorPositionOffered(const SizeLine& line, int p)
{
    return p >= 1 && p <= 5 && !NotOffered(line.regCaption(p));
}

bool JetFormGroupShown(const SizeLine& line) { return !NotOffered(line.jetCaption(1)); }

bool JetFormOffered(const SizeLine& line, int k)
{
    return k >= 1 && k <= 4 && !NotOffered(line.jetCaption(k));
}

OptionPicks DefaultPicks(const SizeLine& line)
{
    OptionPicks picks;
    picks.ksd = PlenumSetupChoice(PlenumOfferOf(line), 1);
    return picks;
}

std::vector<OptionPicks> AllPicks(const SizeLine& line)
{
    const PlenumOffer offer = PlenumOfferOf(line);
    const OptionPicks first = DefaultPicks(line);
    std::vector<int> plenums{first.ksd};
    if (offer.shown)
        for (int k = 1; k <= 3; ++k)
            if (k != first.ksd && (k != 1 || offer.withoutPlenum) && (k != 3 || offer.withRegulator))
                plenums.push_back(k);
    std::vector<int> jets{1};
    if (JetFormGroupShown(line))
        for (int k = 2; k <= 4; ++k)
            if (JetFormOffered(line, k))
                jets.push_back(k);

    std::vector<OptionPicks> out;
    for (int ksd : plenums)
        for (int regForm : jets) {
            const bool regulator = RegulatorGroupShown(line, offer, ksd);
            for (int p = 1; p <= (regulator ? 5 : 1); ++p)
                if (p == 1 || RegulatorPositionOffered(line, p))
                    out.push_back({ksd, regForm, p});
        }
    return out;
}

OptionState OptionStateFor(const SizeLine& line, const OptionPicks& picks)
{
    const PlenumOffer offer = PlenumOfferOf(line);
    OptionState o;
    o.ksdVisible = offer.shown;
    o.regFormVisible = JetFormGroupShown(line);
    o.regRashVisible = RegulatorGroupShown(line, offer, picks.ksd);
    o.ksd = picks.ksd;
    o.regForm = picks.regForm;
    o.regRash = picks.regRash;
    return o;
}

std::string PicksText(const SizeLine& line, const OptionPicks& picks)
{
    const PlenumOffer offer = PlenumOfferOf(line);
    std::string out;
    const auto add = [&out](std::string_view caption) {
        if (!out.empty())
            out += ", ";
        out += caption;
    };
    if (offer.shown && picks.ksd >= 1 && picks.ksd <= 3)
        add(kPlenumCaptions[static_cast<std::size_t>(picks.ksd - 1)]);
    if (JetFormGroupShown(line))
        add(line.jetCaption(picks.regForm));
    if (RegulatorGroupShown(line, offer, picks.ksd))
        add(line.regCaption(picks.regRash));
    return out;
}

}  // namespace nimbo
