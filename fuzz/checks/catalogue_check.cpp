#include "catalogue_check.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "text/cp1251.h"
#include "support/catalogue_text.h"
#include "text_checks.h"

namespace nimbo::fuzz {

namespace {

constexpr std::string_view kFileName = "b";
// The line-end variant of a file is loaded a second time only while that
// stays cheap; the fuzzer's inputs are far below this.
constexpr std::size_t kSecondLoadLimit = 1 << 20;

bool IsRowTextPosition(int pos) { return pos == 1 || pos == 2 || pos == 291 || pos == 292; }

bool IsBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

int LineCountOfFile(std::string_view bytes)
{
    return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
}

std::string Where(int row, int k, int pos)
{
    return " (row " + std::to_string(row) + ", size index " + std::to_string(k) + ", position " +
           std::to_string(pos) + ")";
}

std::string CheckFailure(std::string_view bytes, std::string_view fileName, const Catalogue& cat,
                         const LoadError& error)
{
    if (cat.recordCount() != 0 || !cat.typeNames().empty())
        return "a failed load left " + std::to_string(cat.recordCount()) + " rows behind";
    if (error.what.empty())
        return "a failed load without a reason";
    if (!IsValidUtf8(error.what) || !HasCyrillic(error.what))
        return "the reason is not Russian text: " + error.what;
    if (error.file != fileName)
        return "the error names the file '" + error.file + "'";
    const bool outOfMemory = error.what.find("памяти") != std::string::npos;
    if (bytes.empty() != (error.line == 0) && !outOfMemory)
        return "error line " + std::to_string(error.line) + " for a file of " + std::to_string(bytes.size()) +
               " bytes";
    // A file that ends in the middle of a record is reported at the line
    // that should have come next.
    const bool endedEarly = error.what.find("кончается посреди записи") != std::string::npos;
    if (error.line < 0 || error.line > LineCountOfFile(bytes) + (endedEarly ? 1 : 0))
        return "error line " + std::to_string(error.line) + " beyond the file's " +
               std::to_string(LineCountOfFile(bytes)) + " lines";
    if (error.field < 0 || error.field > kFieldsPerLine + 1)
        return "error field " + std::to_string(error.field);
    const std::string message = error.message();
    if (!IsValidUtf8(message) || message.find(error.what) == std::string::npos)
        return "the message does not carry the reason: " + message;
    if (error.line > 0 && message.find("строка " + std::to_string(error.line)) == std::string::npos)
        return "the message does not name line " + std::to_string(error.line) + ": " + message;
    if (error.field > 0 && message.find("поле " + std::to_string(error.field)) == std::string::npos)
        return "the message does not name field " + std::to_string(error.field) + ": " + message;
    return {};
}

std::vector<std::string_view> NonBlankLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos)
        return lines;
    bytes.remove_prefix(lf + 1);
    while (!bytes.empty()) {
        lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!IsBlankLine(line))
            lines.push_back(line);
        if (lf == std::string_view::npos)
            break;
        bytes.remove_prefix(lf + 1);
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A second reading of a size line by the plainest means: split at commas
// (a field in quotes ends at the next quote), convert with from_chars.
// Whatever shortcut the loader takes must give the same values, to the bit.
std::string CompareWithPlainReading(std::string_view text, const Catalogue& cat, int row, int k)
{
    const SizeLine line = cat.line(row, k);
    int pos = 1;
    for (std::size_t from = 0;; ++pos) {
        std::size_t comma = text.find(',', from);
        std::string_view field = TrimBlanks(text.substr(from, comma == std::string_view::npos ? comma : comma - from));
        if (!field.empty() && field.front() == '"') {
            const std::size_t open = text.find('"', from);
            const std::size_t close = text.find('"', open + 1);
            if (close == std::string_view::npos)
                return "a loaded line holds an unclosed quote" + Where(row, k, pos);
            field = text.substr(open + 1, close - open - 1);
            comma = text.find(',', close);
        }
        if (pos == 4) {
            // the line count: read, never kept
        } else if (IsRowTextPosition(pos)) {
            if (k == cat.sizeLineCount(row)) {
                const std::string_view kept = pos == 1   ? cat.modelName(row)
                                              : pos == 2 ? cat.typeName(row)
                                              : pos == 291 ? cat.typePictureName(row)
                                                           : cat.pageAddress(row);
                if (kept != cp1251::toUtf8(field))
                    return "a row text differs from the file" + Where(row, k, pos);
            }
        } else if (test::IsTextPosition(pos)) {
            if (line.textField(pos) != cp1251::toUtf8(field))
                return "a text differs from the file" + Where(row, k, pos);
        } else if (test::IsIntPosition(pos)) {
            int value = 0;
            if (!field.empty())
                std::from_chars(field.data(), field.data() + field.size(), value);
            if (line.intField(pos) != value)
                return "an integer differs from the file" + Where(row, k, pos);
        } else {
            float value = 0;
            if (!field.empty())
                std::from_chars(field.data(), field.data() + field.size(), value);
            if (std::bit_cast<std::uint32_t>(line.floatField(pos)) != std::bit_cast<std::uint32_t>(value))
                return "a number differs from the file" + Where(row, k, pos) + ": '" + std::string(field) + "'";
        }
        if (comma == std::string_view::npos)
            break;
        from = comma + 1;
    }
    if (pos != kFieldsPerLine)
        return "a loaded line has " + std::to_string(pos) + " fields" + Where(row, k, 0);
    return {};
}

std::string CheckRow(const Catalogue& cat, int row)
{
    const int lines = cat.sizeLineCount(row);
    if (lines < 1 || lines > kMaxSizeLines)
        return "row " + std::to_string(row) + " has " + std::to_string(lines) + " size lines";
    if (cat.sizeMode(row) == SizeMode::Free && lines != 1)
        return "free-size row " + std::to_string(row) + " has " + std::to_string(lines) + " size lines";
    for (std::string_view text : {cat.modelName(row), cat.typeName(row), cat.typePictureName(row), cat.pageAddress(row)})
        if (!IsValidUtf8(text))
            return "row " + std::to_string(row) + " holds a text that is not UTF-8";
    if (!cat.sizeDesignation(row, lines + 1).empty() || !cat.sizeDesignation(row, kMaxDesignations).empty())
        return "row " + std::to_string(row) + " has a designation above its last line";
    if (cat.line(row, lines + 1).fmValue() != 0 || !cat.line(row, 0).designation().empty())
        return "row " + std::to_string(row) + " reads values outside its lines";

    for (int k = 1; k <= lines; ++k) {
        const SizeLine line = cat.line(row, k);
        for (int pos = 1; pos <= kFieldsPerLine; ++pos) {
            if (pos == 4 || IsRowTextPosition(pos))
                continue;
            if (test::IsTextPosition(pos)) {
                if (!IsValidUtf8(line.textField(pos)))
                    return "a text that is not UTF-8" + Where(row, k, pos);
            } else if (test::IsIntPosition(pos)) {
                (void)line.intField(pos);
            } else if (!std::isfinite(line.floatField(pos))) {
                return "a number that is not finite" + Where(row, k, pos);
            }
        }
        if (!std::isfinite(line.sound(4)[kSoundSetSize - 1]) || !std::isfinite(line.soundP(4)[kSoundSetSize - 1]))
            return "a sound set reads past its line" + Where(row, k, 0);
    }
    return {};
}

std::string CheckSuccess(std::string_view bytes, const Catalogue& cat)
{
    const int rows = cat.recordCount();
    if (rows < 0 || rows > kMaxRows)
        return std::to_string(rows) + " rows loaded";
    int lines = 0;
    std::vector<std::string> firstAppearance;
    for (int row = 1; row <= rows; ++row) {
        if (std::string problem = CheckRow(cat, row); !problem.empty())
            return problem;
        lines += cat.sizeLineCount(row);
        const std::string type(cat.typeName(row));
        if (std::find(firstAppearance.begin(), firstAppearance.end(), type) == firstAppearance.end())
            firstAppearance.push_back(type);
    }
    if (firstAppearance != cat.typeNames())
        return "the type list is not the distinct type names in order of first appearance";
    const std::vector<std::string_view> fileLines = NonBlankLines(bytes);
    if (static_cast<std::size_t>(lines) != fileLines.size())
        return "the rows hold " + std::to_string(lines) + " size lines, the file " + std::to_string(fileLines.size());
    std::size_t next = 0;
    for (int row = 1; row <= rows; ++row)
        for (int k = 1; k <= cat.sizeLineCount(row); ++k)
            if (std::string problem = CompareWithPlainReading(fileLines[next++], cat, row, k); !problem.empty())
                return problem;
    if (cat.line(rows + 1, 1).fmValue() != 0 || !cat.modelName(rows + 1).empty())
        return "a row above the record count reads as filled";
    return {};
}

// The same file with LF for every CR LF must load to the same catalogue: on a
// successful load every CR is the first half of a line end.
std::string CheckLineEndsDoNotMatter(std::string_view bytes, const Catalogue& cat)
{
    if (bytes.size() > kSecondLoadLimit || bytes.find("\r\n") == std::string_view::npos)
        return {};
    std::string lf;
    lf.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            lf += bytes[i];
    Catalogue other;
    LoadError error;
    if (!LoadCatalogueFromBytes(lf, kFileName, other, error))
        return "the file loads with CR LF but not with LF: " + error.message();
    if (other.recordCount() != cat.recordCount() || other.typeNames() != cat.typeNames())
        return "the file loads differently with LF line ends";
    for (int row = 1; row <= cat.recordCount(); ++row)
        if (other.sizeLineCount(row) != cat.sizeLineCount(row) || other.modelName(row) != cat.modelName(row) ||
            other.pageAddress(row) != cat.pageAddress(row))
            return "row " + std::to_string(row) + " loads differently with LF line ends";
    return {};
}

}  // namespace

std::string CheckLoadedCatalogue(std::string_view bytes, std::string_view fileName, bool ok,
                                 const Catalogue& catalogue, const LoadError& error)
{
    if (!ok)
        return CheckFailure(bytes, fileName, catalogue, error);
    if (std::string problem = CheckSuccess(bytes, catalogue); !problem.empty())
        return problem;
    return CheckLineEndsDoNotMatter(bytes, catalogue);
}

std::string CheckCatalogueLoad(std::string_view bytes)
{
    Catalogue catalogue;
    LoadError error;
    const bool ok = LoadCatalogueFromBytes(bytes, kFileName, catalogue, error);
    return CheckLoadedCatalogue(bytes, kFileName, ok, catalogue, error);
}

}  // namespace nimbo::fuzz
