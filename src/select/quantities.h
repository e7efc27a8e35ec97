#pragma once
// Every quantity the finder shows and every limit it checks, described once:
// the columns, the limit boxes, the remembered settings, the miss tooltips,
// the copied rows and the report take their words and rules from here.
// Adding a quantity is one row below plus its computation.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "select/search.h"

namespace nimbo {

// A quantity of a found candidate.
struct Quantity {
    std::string_view key;                 // the quantity's name in files and settings
    std::string_view symbol, unit;        // "ΔP", "Па"
    std::string_view symbolV2, unitV2;    // in variant 2, where they differ ("" = the same)
    double Found::*number;                // as the limits see it; NaN where nothing is shown
    // The text a cell shows: what "Считай!" writes for the candidate.
    std::string (*text)(const Found& found, const FoundDetails& details, char decimalSeparator);
    unsigned limits;  // the LimitBit of every limit on it: its cell marks their misses
    bool roomOnly;    // shown while the finder works for a room
    // The text of a value kept without its calculation (a project's saved
    // results), as the cell shows the same value: "-" for NaN. For a found
    // candidate it gives what `text` gives.
    std::string (*valueText)(double value, char decimalSeparator);

    std::string_view symbolIn(int variant) const { return variant == 2 && !symbolV2.empty() ? symbolV2 : symbol; }
    std::string_view unitIn(int variant) const { return variant == 2 && !unitV2.empty() ? unitV2 : unit; }
    // The column header: "ΔP, Па".
    std::string header(int variant) const;
};

inline constexpr int kQuantityCount = 11;
std::span<const Quantity, kQuantityCount> Quantities();
// The quantity a limit bounds.
const Quantity& QuantityOf(LimitBit limit);

enum class Bound { AtMost, AtLeast };

struct LimitSlot {
    LimitBit bit;
    std::string_view name;         // "ΔP не более": the box's label and the messages'
    std::string_view unit;         // "Па"
    std::string_view boxName;      // the limit box's object name
    std::string_view settingsKey;  // where the box's text is remembered
    std::string LimitTexts::*text;         // nullptr: a check box, not a typed limit
    std::optional<double> Limits::*value;  // nullptr: bounded by another quantity
    double Found::*number;  // the value the limit bounds
    Bound bound;
    int variant;  // 0: both variants
    bool roomOnly;
};

std::span<const LimitSlot> LimitSlots();
const LimitSlot& SlotOf(LimitBit limit);
// Whether the limit counts in the variant, in a room or not.
bool LimitApplies(const LimitSlot& slot, int variant, bool room);
// Whether a quantity is shown, in a room or not.
inline bool QuantityShown(const Quantity& q, bool room) { return room || !q.roomOnly; }

}  // namespace nimbo
