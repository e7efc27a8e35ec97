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

inline bool IsTextPosition(int pos)
{
    if (pos == 1 || pos == 2 || pos == 3 || pos == 290 || pos == 291 || pos == 292)
        return true;
    for (int start : {8, 68, 127, 186})
        if (pos == start)
            return true;
    if ((pos >= 14 && pos <= 19) || (pos >= 73 && pos <= 78) || (pos >= 132 && pos <= 137) ||
        (pos >= 191 && pos <= 196))
        return true;
    return pos >= 245 && pos <= 289 && (pos - 245) % 9 == 0;
}

inline bool IsIntPosition(int pos)
{
    if (pos == 4 || pos == 7)
        return true;
    return pos >= 245 && pos <= 289 && (pos - 245) % 9 >= 5;
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
        for (int pos = 1; pos <= 292; ++pos) {
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
    l.set(1, model).set(2, type).set(3, designation).set(4, std::to_string(lineCount));
    l.set(291, "").set(292, "https://www.timbra.example/" + model).set(290, "");
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
