// Any bytes as a project file: a project that saves and reads back as
// itself, or one clear message and the open project unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "project_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem =
        nimbo::fuzz::CheckProjectRead(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "project rule broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
