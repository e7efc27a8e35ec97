#include "select/offered_options.h"

#include <algorithm>

namespace nimbo {

int OfferedSizes(const Catalogue& catalogue, int row)
{
    const int lines = std::min(catalogue.sizeLineCount(row), kMaxSizeLines);
    if (lines < 1)
        return 0;
    if (catalogue.sizeMode(row) != SizeMode::Listed)
        return 1;
    int k = 0;
    while (k < lines && !catalogue.sizeDesignation(row, k + 1).empty())
        ++k;
    return k;
}

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

LineOffer OfferOf(const SizeLine& line)
{
    LineOffer o;
    o.plenum = PlenumOfferOf(line);
    o.jetGroup = JetFormGroupShown(line);
    for (int k = 1; k <= 4; ++k)
        o.jet[static_cast<std::size_t>(k)] = JetFormOffered(line, k);
    for (int p = 1; p <= 5; ++p)
        o.reg[static_cast<std::size_t>(p)] = RegulatorPositionOffered(line, p);
    return o;
}

namespace {

// RegulatorGroupShown from the line's offer.
bool RegulatorShown(const LineOffer& offer, int plenumChoice)
{
    return offer.plenum.shown ? plenumChoice == 3 : offer.reg[1];
}

}  // namespace

OptionPicks DefaultPicks(const LineOffer& offer)
{
    OptionPicks picks;
    picks.ksd = PlenumSetupChoice(offer.plenum, 1);
    return picks;
}

std::vector<OptionPicks> AllPicks(const LineOffer& offer, const LineOffer& firstSize)
{
    const OptionPicks first = DefaultPicks(offer);
    std::vector<int> plenums{first.ksd};
    if (offer.plenum.shown)
        for (int k = 1; k <= 3; ++k)
            if (k != first.ksd && (k != 1 || offer.plenum.withoutPlenum) && (k != 3 || offer.plenum.withRegulator))
                plenums.push_back(k);
    std::vector<int> jets{1};
    if (offer.jetGroup)
        for (int k = 2; k <= 4; ++k)
            if (offer.jet[static_cast<std::size_t>(k)])
                jets.push_back(k);

    const LineOffer& buttons = offer.plenum.shown ? offer : firstSize;
    std::vector<OptionPicks> out;
    for (int ksd : plenums)
        for (int regForm : jets) {
            const bool regulator = RegulatorShown(offer, ksd);
            for (int p = 1; p <= (regulator ? 5 : 1); ++p) {
                const auto i = static_cast<std::size_t>(p);
                if (p == 1 || (offer.reg[i] && (p < 4 || buttons.reg[i])))
                    out.push_back({ksd, regForm, p});
            }
        }
    return out;
}

OptionState OptionStateFor(const LineOffer& offer, const OptionPicks& picks)
{
    OptionState o;
    o.ksdApplies = offer.plenum.shown;
    o.regFormApplies = offer.jetGroup;
    o.regRashApplies = RegulatorShown(offer, picks.ksd);
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
