#pragma once
// Builds catalogue files for tests, independently of the loader: the field
// positions here are written from the file format, not from the loader's
// tables, so a wrong table in the loader shows up as a failing test.
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "text/cp1251.h"

namespace nimbo::test {

// Where each value of a size line stands (1-based), from the file format.
// Option k = 1..4 has a block of its own starting with its jet-form caption;
// block 1 holds mFlat after m, so its later values sit one further on.
// Regulator position p = 1..5 has a block of nine: caption, kr(1..4), dL(1..4).
namespace field {
inline constexpr int kFieldsPerLine = 292;
inline constexpr int kModel = 1, kType = 2, kDesignation = 3, kLineCount = 4;
inline constexpr int kFm = 5, kFz = 6, kSectionMode = 7, kMFlat = 10;
inline constexpr int kSizePicture = 290, kTypePicture = 291, kPage = 292;
constexpr int JetCaption(int k) { return k == 1 ? 8 : k == 2 ? 68 : k == 3 ? 127 : 186; }
constexpr int M(int k) { return JetCaption(k) + 1; }
constexpr int Dzeta(int k) { return JetCaption(k) + (k == 1 ? 3 : 2); }
constexpr int DzetaP(int k) { return Dzeta(k) + 1; }
constexpr int FreeRatio(int k) { return Dzeta(k) + 2; }
// Six texts after the free area ratio, then the sound sets: S(k) = a1..a8,
// b1..b8, c1..c8, and SP(k) with the plenum box after it.
constexpr int FirstBlockText(int k) { return FreeRatio(k) + 1; }
constexpr int Sound(int k, bool plenum) { return FreeRatio(k) + 7 + (plenum ? 24 : 0); }
constexpr int RegCaption(int p) { return 245 + 9 * (p - 1); }
constexpr int Kr(int k, int p) { return RegCaption(p) + k; }
constexpr int DL(int k, int p) { return RegCaption(p) + 4 + k; }
}  // namespace field

inline bool IsTextPosition(int pos)
{
    using namespace field;
    if (pos == kModel || pos == kType || pos == kDesignation || pos >= kSizePicture)
        return true;
    for (int k = 1; k <= 4; ++k)
        if (pos == JetCaption(k) || (pos >= FirstBlockText(k) && pos < FirstBlockText(k) + 6))
            return true;
    for (int p = 1; p <= 5; ++p)
        if (pos == RegCaption(p))
            return true;
    return false;
}

inline bool IsIntPosition(int pos)
{
    if (pos == field::kLineCount || pos == field::kSectionMode)
        return true;
    for (int p = 1; p <= 5; ++p)
        if (pos > field::RegCaption(p) + 4 && pos <= field::RegCaption(p) + 8)
            return true;
    return false;
}

// One size line: 292 fields, numbers "0" and texts "n" unless set.
struct Line {
    std::map<int, std::string> fields;  // position -> text as written in the file (UTF-8)

    Line& set(int position, std::string value)
    {
        fields[position] = std::move(value);
        return *this;
    }
    std::string field(int pos) const
    {
        auto it = fields.find(pos);
        if (it != fields.end())
            return it->second;
        return IsTextPosition(pos) ? "n" : "0";
    }
    // Texts are quoted (so that commas survive); numbers are written bare.
    std::string text() const
    {
        std::string out;
        for (int pos = 1; pos <= field::kFieldsPerLine; ++pos) {
            if (pos > 1)
                out += ',';
            const std::string f = field(pos);
            if (IsTextPosition(pos) && f.find(',') != std::string::npos)
                out += '"' + f + '"';
            else
                out += f;
        }
        return out;
    }
};

// A record's first line: model, type, designation, line count.
inline Line Record(const std::string& model, const std::string& type, const std::string& designation,
                   int lineCount = 1)
{
    Line l;
    l.set(field::kModel, model).set(field::kType, type).set(field::kDesignation, designation);
    l.set(field::kLineCount, std::to_string(lineCount));
    l.set(field::kTypePicture, "").set(field::kPage, "https://www.timbra.example/" + model).set(field::kSizePicture, "");
    return l;
}

// The whole file in Windows-1251 with CR LF, after a heading line.
inline std::string FileBytes(const std::vector<Line>& lines, const std::string& heading = "Каталог")
{
    std::string utf8 = heading + "\r\n";
    for (const Line& l : lines)
        utf8 += l.text() + "\r\n";
    return cp1251::fromUtf8(utf8);
}

// Writes <folder>/A/b (creating the folders) and returns the folder.
inline std::filesystem::path WriteCatalogue(const std::filesystem::path& folder, const std::string& bytes)
{
    std::filesystem::create_directories(folder / "A");
    std::ofstream(folder / "A" / "b", std::ios::binary) << bytes;
    return folder;
}

}  // namespace nimbo::test
