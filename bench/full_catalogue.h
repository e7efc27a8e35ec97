#pragma once
// A catalogue at the loader's full bounds: 1000 records of 200 size lines
// each, 200,000 lines. Every record offers all four jet-form options and all
// five regulator positions, with numbers written as the shipped catalogue
// writes them ("0.0451", "50.3", "-89.4", "3", "0") and texts such as
// captions, "n" and web addresses, so the loader sees the mix of short and
// long fields, quotes and Cyrillic text of a real, fully populated file.
#include <string>

namespace bench {

inline constexpr int kFullRecords = 1000;
inline constexpr int kFullLinesPerRecord = 200;

// The whole file in Windows-1251 with CR LF, heading line first. The same
// every time: the numbers come from a fixed-seed generator.
std::string FullBoundCatalogueBytes();

}  // namespace bench
