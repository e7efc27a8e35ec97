// Any bytes as the catalogue file: a whole catalogue or a clear error.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem =
        nimbo::fuzz::CheckCatalogueLoad(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "catalogue rule broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
