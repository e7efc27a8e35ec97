#pragma once
// A report block made from a calculation's choice and outcome, in the words
// of the window that showed it. The window hands over its captions once, as
// its design has them; nothing here reads a control.
#include <array>
#include <string>

#include "calc/calculation.h"
#include "report/calculation_sheet.h"
#include "select/search.h"

namespace nimbo {

// The window's fixed captions, titles and units that a sheet repeats.
struct SheetWords {
    std::string sizeTitle, lengthTitle;  // the listed size's frame, the slot length's frame
    std::string sizeA, sizeB;            // "A, мм" and "B, мм" above the typed sizes
    std::string plenumTitle, jetFormTitle;  // the regulator's title is the choice's
    std::array<std::string, 2> variants;  // the two variants' captions
    std::string inputsTitle, resultsTitle;
    ShownValue flow, loss, sound;  // caption and unit; the value is the calculation's
    std::string sectionsTitle;
    std::array<std::string, 3> sectionTitles;  // rating, duct, free section
    std::array<ShownValue, 6> sectionRows;     // two a section: the area, the velocity
};

// size: the size as the log record writes it; picture: the base name of
// the picture shown, "" when none is.
CalculationSheet SheetOf(const SheetWords& words, const Choice& choice, const Outcome& outcome,
                         const std::string& size, const std::string& picture);

// The room of a finder's row, in the words and display rules of the
// finder's quantities.
RoomBlock RoomBlockOf(const Request& request, const Found& found, const FoundDetails& details);

}  // namespace nimbo
