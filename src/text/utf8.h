#pragma once
// Texts inside the program are UTF-8; where a rule counts characters (a
// model name's series letters, how much of a typed text a message quotes)
// it counts code points, so that a Cyrillic letter is one character.
#include <cstddef>
#include <string>
#include <string_view>

namespace nimbo {

// A byte that continues a multi-byte sequence rather than starting one.
constexpr bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bytes of the well-formed UTF-8 character at the start of `bytes` (1..4),
// or 0 when it starts with a malformed, overlong, surrogate or cut-off
// sequence, or is empty. Files from other programs are checked with it.
std::size_t Utf8CharacterLength(std::string_view bytes);

// Bytes that start a character: a stray continuation byte counts with the
// character before it, so that a damaged text is never cut inside a letter.
int CharacterCount(std::string_view utf8);

// Characters first..first+count-1 (counted from 1); fewer when the text is
// shorter.
std::string_view Characters(std::string_view utf8, int first, int count);

// Blanks between the fields of a catalogue line: space and tab.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// What may stand around a typed number: blanks and line breaks.
constexpr bool IsSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

// Inline: the catalogue loader trims every text field of a full catalogue.
template <class Drop>
constexpr std::string_view Trimmed(std::string_view s, Drop drop)
{
    while (!s.empty() && drop(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && drop(s.back()))
        s.remove_suffix(1);
    return s;
}
constexpr std::string_view TrimBlanks(std::string_view text) { return Trimmed(text, IsBlank); }
constexpr std::string_view TrimSpace(std::string_view text) { return Trimmed(text, IsSpace); }

// The text in «» for a message, cut after maxCharacters characters with "…"
// so that a pasted page or a damaged field does not become the message.
std::string Quoted(std::string_view utf8, int maxCharacters);
// The same for a message of one line: line breaks, tabs and the other
// control characters of the text show as spaces.
std::string QuotedLine(std::string_view utf8, int maxCharacters);

}  // namespace nimbo
