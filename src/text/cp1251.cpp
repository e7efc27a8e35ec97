#include "text/cp1251.h"

#include <array>
#include <cstdint>

#include "text/utf8.h"

namespace nimbo::cp1251 {
namespace {

// Unicode code points of the bytes 0x80..0xFF. The lower half is ASCII.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98 (0x98 unassigned)
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

constexpr char kUnrepresentable = '?';
constexpr char32_t kReplacement = 0xFFFD;

void appendCodePoint(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every code point of the table lies in the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char encode(char32_t cp)
{
    if (cp < 0x80)
        return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)  // А..я, the common case
        return static_cast<char>(0xC0 + (cp - 0x0410));
    if (cp == kReplacement)
        return kUnrepresentable;
    for (std::size_t i = 0; i < 64; ++i)
        if (kUpperHalf[i] == cp)
            return static_cast<char>(0x80 + i);
    return kUnrepresentable;
}

// Decodes one UTF-8 sequence at s[i]; on success returns its length and sets cp,
// on malformed input returns 0.
std::size_t decodeOne(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len;
    char32_t min;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(s[i + k]))
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

}  // namespace

void appendUtf8(std::string& out, std::string_view cp1251)
{
    // Runs of ASCII are copied whole: most catalogue texts are all ASCII.
    std::size_t i = 0;
    while (i < cp1251.size()) {
        std::size_t ascii = i;
        while (ascii < cp1251.size() && static_cast<unsigned char>(cp1251[ascii]) < 0x80)
            ++ascii;
        out.append(cp1251.data() + i, ascii - i);
        if (ascii == cp1251.size())
            break;
        appendCodePoint(out, kUpperHalf[static_cast<unsigned char>(cp1251[ascii]) - 0x80]);
        i = ascii + 1;
    }
}

std::string toUtf8(std::string_view cp1251)
{
    std::string out;
    out.reserve(cp1251.size() * 2);
    appendUtf8(out, cp1251);
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const std::size_t len = decodeOne(utf8, i, cp);
        if (len == 0) {
            // One '?' for the broken sequence: its lead byte and whatever
            // continuation bytes follow it.
            out += kUnrepresentable;
            ++i;
            while (i < utf8.size() && IsContinuation(utf8[i]))
                ++i;
            continue;
        }
        out += encode(cp);
        i += len;
    }
    return out;
}

}  // namespace nimbo::cp1251
