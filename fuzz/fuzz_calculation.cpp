// Any window state, any typed texts, any catalogue row: results that are
// numbers and a whole record, or a clear message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calculation_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem =
        nimbo::fuzz::CheckCalculation(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "calculation rule broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
