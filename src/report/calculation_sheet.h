#pragma once
// One finished calculation as the window showed it when «Считай!» ended:
// every caption, value and unit in the window's own words and order, so that
// a report printed long afterwards says what the user saw. Plain UTF-8 texts;
// nothing is ever recomputed from them.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace nimbo {

// A caption, the value beside it and its unit: "L0 =", "800", "м3/ч".
struct ShownValue {
    std::string caption, value, unit;
    bool operator==(const ShownValue&) const = default;
};

// A titled frame of values: "Расчетное сечение" with F0 and V0.
struct ShownGroup {
    std::string title;
    std::vector<ShownValue> values;
    bool operator==(const ShownGroup&) const = default;
};

// The room a calculation was chosen for in the finder: its data and the
// sound at the listener, as the finder showed them.
struct RoomBlock {
    std::string title;               // "Помещение"
    std::vector<ShownValue> values;  // size, count, absorption, flows, LpA, NR, NC
    std::array<std::string, 8> Lw, Lp;  // per octave band, dB
    bool operator==(const RoomBlock&) const = default;
};

struct CalculationSheet {
    std::string type, model;  // the two choice lists
    std::string size;         // as the log line writes it: "450x450", "250х400", "1000"
    // How the size was given: the listed size, A and B, or the slot length.
    std::vector<ShownValue> sizeValues;
    // The option frames on screen, each with its selected caption ("" when
    // none is selected). Frames the window hid are not here.
    std::vector<ShownValue> options;
    std::string variant;               // caption of the chosen calculation variant
    ShownGroup inputs, results;        // "Исходные данные", "Результат"
    std::string sectionsTitle;         // the frame around the section frames
    std::vector<ShownGroup> sections;  // only the section frames on screen
    std::string picture;               // base name under jpg/; "" when none was shown
    std::optional<RoomBlock> room;     // a calculation chosen for a room
    // Charts drawn across the block's width, by the names the report's
    // picture source knows them by: the jet, the room's noise.
    std::vector<std::string> charts;
    bool operator==(const CalculationSheet&) const = default;
};

}  // namespace nimbo
