#include "calc/model_name.h"

namespace nimbo {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

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

int CharacterCount(std::string_view utf8)
{
    int n = 0;
    for (char c : utf8)
        if (!IsContinuation(c))
            ++n;
    return n;
}

}  // namespace

std::string_view Characters(std::string_view utf8, int first, int count)
{
    if (first < 1 || count <= 0)
        return {};
    const std::size_t from = OffsetOf(utf8, first - 1);
    const std::size_t to = from + OffsetOf(utf8.substr(from), count);
    return utf8.substr(from, to - from);
}

std::string_view SeriesCode(std::string_view modelName) { return Characters(modelName, 2, 3); }

std::string_view SeriesSuffix(std::string_view modelName)
{
    const int n = CharacterCount(modelName);
    return n <= 3 ? modelName : Characters(modelName, n - 2, 3);
}

}  // namespace nimbo
