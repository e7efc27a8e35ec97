#pragma once
// The series of an air distributor is written into its model name: the
// characters 2 to 4 ("ДМЖ" slot jets) or the last three ("ДМЗ", "ДПЗ",
// "ДТЗ" slot grilles). Names are UTF-8, so characters are code points.
#include <string_view>

namespace nimbo {

std::string_view SeriesCode(std::string_view modelName);    // characters 2 to 4
std::string_view SeriesSuffix(std::string_view modelName);  // the last three characters

}  // namespace nimbo
