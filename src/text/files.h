#pragma once
// File names as the program shows them and files as it opens them. A path
// holds wide characters on Windows; these helpers keep the Cyrillic letters of
// a folder name intact there.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace nimbo {

// The path as UTF-8, for messages.
std::string PathText(const std::filesystem::path& path);

// A path given as UTF-8 text (a command line argument, a name from a
// dialog); on Windows a narrow path would go through the ANSI code page.
std::filesystem::path PathFromText(std::string_view utf8);

// The path as a C library that opens files with the narrow fopen reads it:
// on Windows in the ANSI code page, or as the existing file's short 8.3 name
// where a letter of the path is not in that code page; UTF-8 elsewhere.
// Empty when there is no such name.
std::string NarrowPath(const std::filesystem::path& path);

// std::fopen with a path that need not be representable in the narrow code
// page; mode is one of fopen's plain ASCII modes ("rb", "wb", "ab").
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace nimbo
