#pragma once
// File names as the program shows them and files as it opens them. A path
// holds wide characters on Windows; both helpers keep the Cyrillic letters of
// a folder name intact there.
#include <cstdio>
#include <filesystem>
#include <string>

namespace nimbo {

// The path as UTF-8, for messages.
std::string PathText(const std::filesystem::path& path);

// std::fopen with a path that need not be representable in the narrow code
// page; mode is one of fopen's plain ASCII modes ("rb", "wb", "ab").
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace nimbo
