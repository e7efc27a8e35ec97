#pragma once
// Which options a size line offers and what the selection cascade selects
// for it, as decisions of plain values: the window shows and selects by
// them, and the size finder builds its candidates from them.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculation.h"
#include "catalogue/catalogue.h"

namespace nimbo {

// The size indexes the window lets the user pick: every listed size up to the
// first empty designation, or the one line of a free size or a slot.
int OfferedSizes(const Catalogue& catalogue, int row);

// "n" as a caption or a designation: the size does not offer it.
bool NotOffered(std::string_view caption);

// The plenum group (КСД) of one size line.
struct PlenumOffer {
    bool shown = false;          // a plenum is offered, so the group shows
    bool withoutPlenum = true;   // "Нет" stays offered
    bool withRegulator = true;   // "КСР", the plenum with its own regulator
};
PlenumOffer PlenumOfferOf(const SizeLine& line);

// The plenum option (1..3) the plenum setup leaves selected, from the one
// selected before it ran: it selects "КСД" where "Нет" or "КСР" is missing.
int PlenumSetupChoice(const PlenumOffer& offer, int selectedBefore);

// The flow-regulator group shows for "КСР" where a plenum is offered, else
// whenever the line has a regulator at all.
bool RegulatorGroupShown(const SizeLine& line, const PlenumOffer& offer, int plenumChoice);
// Position p = 1..5; positions 1 to 3 are always on the group.
bool RegulatorPositionOffered(const SizeLine& line, int p);

bool JetFormGroupShown(const SizeLine& line);
// Option k = 1..4; the first is there whenever the group shows.
bool JetFormOffered(const SizeLine& line, int k);

// Every offer of one line at once: the catalogue finds a caption by walking
// the line's texts, so a caller that asks many times reads them once here.
struct LineOffer {
    PlenumOffer plenum;
    bool jetGroup = false;
    std::array<bool, 5> jet{};  // [k] for k = 1..4
    std::array<bool, 6> reg{};  // [p] for p = 1..5
};
LineOffer OfferOf(const SizeLine& line);

inline constexpr std::array<std::string_view, 3> kPlenumCaptions{"Нет", "КСД", "КСР"};

// One choice in each option group, 1-based.
struct OptionPicks {
    int ksd = 1, regForm = 1, regRash = 1;
    bool operator==(const OptionPicks&) const = default;
};

// What a user has right after choosing the size: the plenum as the setup
// leaves it from the first option, jet-form option 1, regulator position 1.
OptionPicks DefaultPicks(const LineOffer& offer);
inline OptionPicks DefaultPicks(const SizeLine& line) { return DefaultPicks(OfferOf(line)); }
// Every combination a user can make in the window for the size, the default
// first. Groups that do not show contribute only their default. Positions 4
// and 5 of the outlet's own regulator show as the model's first size offers
// them (the model choice sets them, a size choice leaves them), so they
// count only where that size offers them too; those of the plenum's
// regulator show as the size itself offers them.
std::vector<OptionPicks> AllPicks(const LineOffer& offer, const LineOffer& firstSize);
// For the model's first size, or a model of one size line.
inline std::vector<OptionPicks> AllPicks(const LineOffer& offer) { return AllPicks(offer, offer); }
inline std::vector<OptionPicks> AllPicks(const SizeLine& line) { return AllPicks(OfferOf(line)); }

// The option state the calculation reads for these picks. The captions are
// left out: the numbers do not read them.
OptionState OptionStateFor(const LineOffer& offer, const OptionPicks& picks);
inline OptionState OptionStateFor(const SizeLine& line, const OptionPicks& picks)
{
    return OptionStateFor(OfferOf(line), picks);
}

// The captions of the groups that show, as "КСД, Веер, b=15°"; empty when
// the size has no options.
std::string PicksText(const SizeLine& line, const OptionPicks& picks);

}  // namespace nimbo
