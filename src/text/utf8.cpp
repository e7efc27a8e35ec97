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

}  // namespace nimbo
