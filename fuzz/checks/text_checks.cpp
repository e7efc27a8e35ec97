#include "text_checks.h"

#include <cstdint>

namespace nimbo::fuzz {

namespace {

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 if none.
std::size_t SequenceLength(std::string_view s)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t b0 = byte(0);
    if (b0 < 0x80)
        return 1;
    std::size_t n = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        if (b0 == 0xE0)
            low = 0xA0;  // overlong
        if (b0 == 0xED)
            high = 0x9F;  // surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        if (b0 == 0xF0)
            low = 0x90;
        if (b0 == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < n || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < n; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    return n;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    if (text.size() < word.size())
        return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < word.size() && Lower(text[i + j]) == word[j])
            ++j;
        if (j == word.size())
            return true;
    }
    return false;
}

}  // namespace

bool IsValidUtf8(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t n = SequenceLength(text);
        if (n == 0)
            return false;
        text.remove_prefix(n);
    }
    return true;
}

std::string ToValidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t n = SequenceLength(bytes);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            bytes.remove_prefix(1);
        } else {
            out.append(bytes.substr(0, n));
            bytes.remove_prefix(n);
        }
    }
    return out;
}

bool HasCyrillic(std::string_view utf8)
{
    // U+0400..U+04FF are the two-byte sequences D0 80 .. D3 BF.
    for (std::size_t i = 0; i + 1 < utf8.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        if (b >= 0xD0 && b <= 0xD3 && (static_cast<std::uint8_t>(utf8[i + 1]) & 0xC0) == 0x80)
            return true;
    }
    return false;
}

bool MentionsNonFinite(std::string_view text)
{
    return ContainsNoCase(text, "nan") || ContainsNoCase(text, "inf");
}

bool IsNumberText(std::string_view t, char separator)
{
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-')
        ++i;
    const std::size_t wholeFrom = i;
    while (i < t.size() && IsDigit(t[i]))
        ++i;
    if (i == wholeFrom)
        return false;
    if (i < t.size() && t[i] == separator) {
        const std::size_t fractionFrom = ++i;
        while (i < t.size() && IsDigit(t[i]))
            ++i;
        if (i == fractionFrom)
            return false;
    }
    if (i < t.size() && t[i] == 'E') {
        ++i;
        if (i >= t.size() || (t[i] != '+' && t[i] != '-'))
            return false;
        const std::size_t exponentFrom = ++i;
        while (i < t.size() && IsDigit(t[i]))
            ++i;
        if (i == exponentFrom)
            return false;
    }
    return i == t.size();
}

bool IsResultText(std::string_view text, char separator)
{
    return text == "-" || IsNumberText(text, separator);
}

std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line)
{
    if (line.size() < 2 || line.substr(line.size() - 2) != "\r\n")
        return std::nullopt;
    line.remove_suffix(2);
    std::vector<std::string> fields(1);
    std::size_t i = 0;
    bool fieldStart = true;
    while (i < line.size()) {
        const char c = line[i];
        if (fieldStart && c == '"') {
            ++i;
            for (;;) {
                if (i >= line.size())
                    return std::nullopt;  // the quote never closes
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        fields.back() += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                fields.back() += line[i++];
            }
            if (i < line.size() && line[i] != ',')
                return std::nullopt;  // text after the closing quote
            fieldStart = false;
            continue;
        }
        if (c == ',') {
            fields.emplace_back();
            fieldStart = true;
        } else if (c == '\r' || c == '\n' || c == '"') {
            return std::nullopt;
        } else {
            fields.back() += c;
            fieldStart = false;
        }
        ++i;
    }
    return fields;
}

}  // namespace nimbo::fuzz
