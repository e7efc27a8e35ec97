#pragma once
// Replacing a file whole. The new content is written to a temporary file
// beside the target and moved over it only once complete, so that whatever
// fails, the target keeps its earlier content and nothing is left beside it.
#include <filesystem>
#include <functional>
#include <string>

namespace nimbo {

// `write` fills the file it is given (created empty, in the target's folder)
// and returns empty or the cause of its failure. Returns empty, or the cause
// in Russian (to follow the target's name in a message). A target that could
// not be replaced (a folder, a device, a read-only file, a file another
// program holds open) is refused before anything is written.
std::string WriteWholeFile(const std::filesystem::path& target,
                           const std::function<std::string(const std::filesystem::path&)>& write);

}  // namespace nimbo
