#pragma once
// What must hold after reading any bytes as a project file: a project whose
// every value is in its documented range, that saves and reads back as
// itself; or one clear message, and the project that was open unchanged.
#include <string>
#include <string_view>

namespace nimbo::fuzz {

// Empty when every rule holds, otherwise the first broken rule.
std::string CheckProjectRead(std::string_view bytes);

}  // namespace nimbo::fuzz
