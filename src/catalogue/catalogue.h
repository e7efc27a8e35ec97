#pragma once
// The maker's catalogue: one text file read once at start into tables that
// the selection and the calculation read by row (1..recordCount) and size
// index (1..lines of the row). Row 0, size index 0 and everything beyond
// what the file holds read as 0 or empty text.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo {

inline constexpr int kMaxRows = 1000;
inline constexpr int kMaxSizeLines = 200;
inline constexpr int kMaxDesignations = 1000;
inline constexpr int kFieldsPerLine = 292;
inline constexpr int kSoundSetSize = 24;  // a1..a8, b1..b8, c1..c8

class Catalogue;

// How a model takes its size, as the designation at size index 1 says: "n"
// for a free size typed as A x B, "dlina" for a slot typed by its length,
// anything else for sizes listed by designation.
enum class SizeMode { Free, Slot, Listed };
SizeMode SizeModeOf(std::string_view firstDesignation);

// One size line of one row: the per-line values at (row, size index).
// A default-constructed view (a line the file did not fill) reads as zeros
// and empty texts. Valid while its Catalogue lives.
class SizeLine {
public:
    SizeLine() = default;

    std::string_view designation() const;             // field 3
    float fmValue() const;                            // field 5
    float fzValue() const;                            // field 6
    std::int16_t sectionMode() const;                 // field 7
    std::string_view jetCaption(int k) const;         // k = 1..4: fields 8, 68, 127, 186
    float m(int k) const;                             // fields 9, 69, 128, 187
    float mFlat() const;                              // field 10
    float dzeta(int k) const;                         // without plenum: 11, 70, 129, 188
    float dzetaP(int k) const;                        // with plenum: 12, 71, 130, 189
    float freeAreaRatio(int k) const;                 // 13, 72, 131, 190
    std::span<const float, kSoundSetSize> sound(int k) const;   // S(k): 20, 79, 138, 197
    std::span<const float, kSoundSetSize> soundP(int k) const;  // SP(k): 44, 103, 162, 221
    std::string_view regCaption(int p) const;         // p = 1..5: 245 + 9(p-1)
    float kr(int k, int p) const;                     // 245 + 9(p-1) + k
    std::int16_t dL(int k, int p) const;              // 245 + 9(p-1) + 4 + k
    std::string_view sizePictureName() const;         // field 290

    // Any per-line field by its position in the line (1..292); the position
    // must hold a per-line field of that type.
    float floatField(int position) const;
    std::int16_t intField(int position) const;
    std::string_view textField(int position) const;

private:
    friend class Catalogue;

    const Catalogue* catalogue_ = nullptr;
    std::uint32_t index_ = 0;  // into the catalogue's line storage
};

class Catalogue {
public:
    int recordCount() const;

    // Per-row texts (the values of the row's last size line).
    std::string_view modelName(int row) const;
    std::string_view typeName(int row) const;
    std::string_view typePictureName(int row) const;
    std::string_view pageAddress(int row) const;

    int sizeLineCount(int row) const;
    // Size index k of the row; an empty line outside 1..sizeLineCount(row).
    SizeLine line(int row, int k) const;
    // Size designation at k = 0..1000; empty above the row's last line.
    std::string_view sizeDesignation(int row, int k) const;
    // Listed for a row the catalogue lacks.
    SizeMode sizeMode(int row) const { return SizeModeOf(sizeDesignation(row, 1)); }

    // Distinct type names in order of first appearance (exact comparison).
    const std::vector<std::string>& typeNames() const { return typeNames_; }

    // Bytes of memory the tables hold (allocated capacity, not just size).
    std::size_t storageBytes() const;

private:
    friend class SizeLine;
    friend class CatalogueLoader;

    struct Row {
        std::string model, type, typePicture, page;
        std::uint32_t firstLine = 0;
        std::uint16_t lineCount = 0;
    };
    const Row* rowAt(int row) const;  // nullptr outside 1..recordCount()

    std::vector<Row> rows_;  // rows_[0] is row 1
    std::vector<std::string> typeNames_;
    // All size lines of all rows one after another; which slot of a line
    // holds which field position is catalogue.cpp's field table.
    std::vector<float> floats_;         // a fixed number per line
    std::vector<std::int16_t> ints_;    // a fixed number per line
    std::vector<std::size_t> textOffsets_;  // per line: where its texts start in texts_
    std::string texts_;  // each line's texts in field order, each ended by '\0'
};

// Why a load failed. line and field are 1-based; 0 where they do not apply
// (a missing file, say).
struct LoadError {
    std::string file;     // UTF-8 path as given
    int line = 0;
    int field = 0;
    std::string what;     // Russian, e.g. "целое число вне диапазона −32768..32767"
    // The whole report in Russian, naming file, line and field.
    std::string message() const;
};

// The catalogue file of a program folder: A/b inside it.
std::filesystem::path CatalogueFile(const std::filesystem::path& programFolder);

// Reads programFolder/A/b. On failure `out` is left empty and `error` says why;
// a partly read catalogue is never returned.
bool LoadCatalogue(const std::filesystem::path& programFolder, Catalogue& out, LoadError& error);

// The same from bytes already in memory (tests, fuzzing); fileName only names
// the source in the error.
bool LoadCatalogueFromBytes(std::string_view bytes, std::string_view fileName,
                            Catalogue& out, LoadError& error);

}  // namespace nimbo
