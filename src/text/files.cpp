#include "text/files.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace nimbo {

std::string PathText(const std::filesystem::path& path)
{
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

std::filesystem::path PathFromText(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

#ifdef _WIN32

namespace {

// Empty when a character has no place in the ANSI code page.
std::string InAnsiCodePage(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    // A UTF-8 code page takes neither the flag nor the question.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lost = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, flags, wide.c_str(), -1, nullptr, 0, nullptr, utf8 ? nullptr : &lost);
    if (size <= 0 || lost)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, wide.c_str(), -1, out.data(), size, nullptr, utf8 ? nullptr : &lost);
    out.resize(static_cast<std::size_t>(size) - 1);
    return lost ? std::string() : out;
}

}  // namespace

std::string NarrowPath(const std::filesystem::path& path)
{
    if (std::string name = InAnsiCodePage(path.native()); !name.empty())
        return name;
    const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring shortName(size, L'\0');
    const DWORD length = ::GetShortPathNameW(path.c_str(), shortName.data(), size);
    if (length == 0 || length >= size)
        return {};
    shortName.resize(length);
    return InAnsiCodePage(shortName);
}

#else

std::string NarrowPath(const std::filesystem::path& path) { return path.native(); }

#endif

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode)
{
#ifdef _WIN32
    // The narrow fopen would pass the name through the ANSI code page.
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace nimbo
