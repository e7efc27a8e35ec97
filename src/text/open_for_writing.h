#pragma once
// Opening Nimbo.csv for writing. A link in its place (put there by mistake or
// on purpose) would make the program empty whatever file the link points to,
// so links are never followed, and only a regular file is ever written.
#include <cstdio>
#include <filesystem>

namespace nimbo {

// errno value for "something other than a regular file is at the path".
inline constexpr int kNotRegularFile = -1;

// Opens (creating if missing) for writing at the end, or cut to zero length
// when `empty` is set. On failure: nullptr, with errno telling why (ELOOP
// for a link, EISDIR for a folder, kNotRegularFile for a device or a pipe).
std::FILE* OpenLogForWriting(const std::filesystem::path& file, bool empty);

}  // namespace nimbo
