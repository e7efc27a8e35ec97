#pragma once
// Windows-1251 is the code page of every text file the program reads or
// writes; inside the program all text is UTF-8. This is the one place that
// knows the mapping.
#include <string>
#include <string_view>

namespace nimbo::cp1251 {

// Every byte has a meaning except 0x98, which is unassigned in Windows-1251;
// it decodes to U+FFFD so that a damaged file never yields invalid UTF-8.
std::string toUtf8(std::string_view cp1251);
// The same, appended to `out`: the catalogue loader decodes hundreds of
// thousands of fields into one buffer and must not allocate per field.
void appendUtf8(std::string& out, std::string_view cp1251);

// Characters that Windows-1251 cannot hold (and malformed UTF-8) are written
// as '?': the log file must stay a readable single-byte file whatever the
// user typed into an editable box.
std::string fromUtf8(std::string_view utf8);

}  // namespace nimbo::cp1251
