#pragma once
// Shapes that every text the engine hands to the window must have, checked
// by the fuzz targets and by the tests that replay their inputs.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo::fuzz {

bool IsValidUtf8(std::string_view text);
// Replaces every byte that does not start a well-formed UTF-8 sequence by
// U+FFFD: a window text is always valid UTF-8, whatever bytes a fuzzer makes.
std::string ToValidUtf8(std::string_view bytes);
bool HasCyrillic(std::string_view utf8);

// "nan" or "inf" in any letter case: what a non-finite double prints as.
bool MentionsNonFinite(std::string_view text);

// A number text as the result boxes show it: optional minus, digits, at most
// one `separator` followed by digits, optional "E+dd"/"E-dd"; no grouping,
// no other separator.
bool IsNumberText(std::string_view text, char separator);
// "-" or a number text.
bool IsResultText(std::string_view text, char separator);

// One CSV line ending in CR LF, split as RFC 4180 reads it; nullopt when the
// line is not well formed (no CR LF at the end, a line break outside quotes,
// an unbalanced quote).
std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line);

}  // namespace nimbo::fuzz
