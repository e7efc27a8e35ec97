#pragma once
// The series of an air distributor is written into its model name: the
// characters 2 to 4 ("ДМЖ" slot jets) or the last three ("ДМЗ", "ДПЗ",
// "ДТЗ" slot grilles). Names are UTF-8, so characters are code points.
#include <string_view>

namespace nimbo {

// Characters first..first+count-1 (counted from 1) of a UTF-8 text; fewer
// when the text is shorter.
std::string_view Characters(std::string_view utf8, int first, int count);

std::string_view SeriesCode(std::string_view modelName);    // characters 2 to 4
std::string_view SeriesSuffix(std::string_view modelName);  // the last three characters

}  // namespace nimbo
