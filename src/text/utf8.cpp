#include "text/utf8.h"

namespace nimbo {

namespace {

// Byte offset where character number `index` (from 0) begins, or the size.
std::size_t OffsetOf(std::string_view utf8, int index)
{
    std::size_t pos = 0;
    for (int n = 0; n < index && pos < utf8.size(); ++n) {
        ++pos;
        while (pos < utf8.size() && IsContinuation(utf8[pos]))
            ++pos;
    }
    return pos;
}

}  // namespace

std::size_t Utf8CharacterLength(std::string_view bytes)
{
    if (bytes.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
    if (length == 0 || bytes.size() < length)
        return 0;
    // The second byte's range depends on the lead: it is what rules out
    // overlong forms, UTF-16 surrogates and code points above U+10FFFF.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuation(bytes[i]))
            return 0;
    return length;
}

int CharacterCount(std::string_view utf8)
{
    int n = 0;
    for (char c : utf8)
        if (!IsContinuation(c))
            ++n;
    return n;
}

std::string_view Characters(std::string_view utf8, int first, int count)
{
    if (first < 1 || count <= 0)
        return {};
    const std::size_t from = OffsetOf(utf8, first - 1);
    const std::size_t to = from + OffsetOf(utf8.substr(from), count);
    return utf8.substr(from, to - from);
}

std::string Quoted(std::string_view utf8, int maxCharacters)
{
    const std::size_t end = OffsetOf(utf8, maxCharacters);
    std::string q = "«" + std::string(utf8.substr(0, end));
    if (end < utf8.size())
        q += "…";
    return q + "»";
}

std::string QuotedLine(std::string_view utf8, int maxCharacters)
{
    std::string line(utf8);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return Quoted(line, maxCharacters);
}

}  // namespace nimbo
