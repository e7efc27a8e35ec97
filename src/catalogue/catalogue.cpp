#include "catalogue/catalogue.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>

#include "catalogue/encoding_check.h"
#include "text/cp1251.h"
#include "text/files.h"
#include "text/utf8.h"

namespace nimbo {
namespace {

// ---------------------------------------------------------------------------
// The field table: what each position of a size line holds and where it goes.

enum class Kind : std::uint8_t {
    RowText,    // kept once per row: model, type, type picture, page address
    LineText,   // kept per line in the line's text pool
    Float,      // kept per line as a 32-bit float
    Int16,      // kept per line as a 16-bit integer
    LineCount,  // field 4: read, checked, used on a record's first line only
};

struct FieldSlot {
    Kind kind = Kind::Float;
    std::uint16_t slot = 0;  // index among the line's (or row's) values of that kind
};

constexpr bool InRange(int pos, int first, int last) { return pos >= first && pos <= last; }

constexpr Kind KindAt(int pos)
{
    if (pos == 1 || pos == 2 || pos == 291 || pos == 292)
        return Kind::RowText;
    if (pos == 4)
        return Kind::LineCount;
    if (pos == 7)
        return Kind::Int16;
    if (pos == 3 || pos == 290 || pos == 8 || pos == 68 || pos == 127 || pos == 186)
        return Kind::LineText;
    // Six reserved texts after each jet-form block's numbers.
    if (InRange(pos, 14, 19) || InRange(pos, 73, 78) || InRange(pos, 132, 137) || InRange(pos, 191, 196))
        return Kind::LineText;
    // Five flow-regulator blocks of nine: caption, kr(1..4), dL(1..4).
    if (InRange(pos, 245, 289)) {
        const int offset = (pos - 245) % 9;
        return offset == 0 ? Kind::LineText : offset <= 4 ? Kind::Float : Kind::Int16;
    }
    return Kind::Float;
}

struct FieldTable {
    std::array<FieldSlot, kFieldsPerLine + 1> at{};  // at[0] unused
    int floats = 0, ints = 0, texts = 0, rowTexts = 0;
};

// Slots are given in position order, so a line's values of one kind are
// stored in the order the file holds them and runs such as a sound set stay
// contiguous.
constexpr FieldTable MakeFieldTable()
{
    FieldTable t;
    for (int pos = 1; pos <= kFieldsPerLine; ++pos) {
        const Kind kind = KindAt(pos);
        int* counter = nullptr;
        switch (kind) {
        case Kind::RowText: counter = &t.rowTexts; break;
        case Kind::LineText: counter = &t.texts; break;
        case Kind::Float: counter = &t.floats; break;
        case Kind::Int16: counter = &t.ints; break;
        case Kind::LineCount: break;
        }
        t.at[pos].kind = kind;
        t.at[pos].slot = counter ? static_cast<std::uint16_t>((*counter)++) : 0;
    }
    return t;
}

constexpr FieldTable kFields = MakeFieldTable();
constexpr int kFloatsPerLine = 231;
constexpr int kIntsPerLine = 21;
constexpr int kTextsPerLine = 35;
static_assert(kFields.floats == kFloatsPerLine);
static_assert(kFields.ints == kIntsPerLine);
static_assert(kFields.texts == kTextsPerLine);
static_assert(kFields.rowTexts == 4);
static_assert(kFields.at[3].kind == Kind::LineText && kFields.at[3].slot == 0,
              "the size designation is the first text of a line");

constexpr int kModelSlot = 0, kTypeSlot = 1, kTypePictureSlot = 2, kPageSlot = 3;
static_assert(kFields.at[1].slot == kModelSlot && kFields.at[2].slot == kTypeSlot &&
              kFields.at[291].slot == kTypePictureSlot && kFields.at[292].slot == kPageSlot);

// Field positions of the per-option values, indexed by option k = 1..4.
constexpr std::array<int, 5> kJetCaptionPos = {0, 8, 68, 127, 186};
constexpr std::array<int, 5> kMPos = {0, 9, 69, 128, 187};
constexpr std::array<int, 5> kDzetaPos = {0, 11, 70, 129, 188};
constexpr std::array<int, 5> kDzetaPPos = {0, 12, 71, 130, 189};
constexpr std::array<int, 5> kFreeAreaPos = {0, 13, 72, 131, 190};
constexpr std::array<int, 5> kSoundPos = {0, 20, 79, 138, 197};
constexpr std::array<int, 5> kSoundPPos = {0, 44, 103, 162, 221};
constexpr int kMFlatPos = 10;
constexpr int kRegulatorFirstPos = 245;
constexpr int kRegulatorBlockSize = 9;

constexpr int kJetOptions = 4;
constexpr int kRegulatorPositions = 5;

// SizeLine::sound hands out a sound set as one span of the line's floats.
constexpr bool IsFloatRun(int first, int count)
{
    for (int i = 0; i < count; ++i)
        if (kFields.at[first + i].kind != Kind::Float || kFields.at[first + i].slot != kFields.at[first].slot + i)
            return false;
    return true;
}
constexpr bool SoundSetsAreFloatRuns()
{
    for (int k = 1; k <= kJetOptions; ++k)
        if (!IsFloatRun(kSoundPos[k], kSoundSetSize) || !IsFloatRun(kSoundPPos[k], kSoundSetSize))
            return false;
    return true;
}
static_assert(SoundSetsAreFloatRuns());

constexpr std::array<float, kSoundSetSize> kNoSound{};

bool ValidPosition(int pos, Kind kind)
{
    return pos >= 1 && pos <= kFieldsPerLine && kFields.at[pos].kind == kind;
}

}  // namespace

// ---------------------------------------------------------------------------
// SizeLine

float SizeLine::floatField(int position) const
{
    if (!catalogue_ || !ValidPosition(position, Kind::Float))
        return 0.0f;
    return catalogue_->floats_[std::size_t{index_} * kFloatsPerLine + kFields.at[position].slot];
}

std::int16_t SizeLine::intField(int position) const
{
    if (!catalogue_ || !ValidPosition(position, Kind::Int16))
        return 0;
    return catalogue_->ints_[std::size_t{index_} * kIntsPerLine + kFields.at[position].slot];
}

std::string_view SizeLine::textField(int position) const
{
    if (!catalogue_ || !ValidPosition(position, Kind::LineText))
        return {};
    // A line's texts are short and '\0'-separated; walking to the slot costs
    // less than an offset per text would cost in memory.
    const char* p = catalogue_->texts_.data() + catalogue_->textOffsets_[index_];
    for (int i = 0; i < kFields.at[position].slot; ++i)
        p += std::strlen(p) + 1;
    return std::string_view(p);
}

std::string_view SizeLine::designation() const { return textField(3); }
float SizeLine::fmValue() const { return floatField(5); }
float SizeLine::fzValue() const { return floatField(6); }
std::int16_t SizeLine::sectionMode() const { return intField(7); }
float SizeLine::mFlat() const { return floatField(kMFlatPos); }
std::string_view SizeLine::sizePictureName() const { return textField(290); }

std::string_view SizeLine::jetCaption(int k) const
{
    return k >= 1 && k <= kJetOptions ? textField(kJetCaptionPos[k]) : std::string_view{};
}
float SizeLine::m(int k) const { return k >= 1 && k <= kJetOptions ? floatField(kMPos[k]) : 0.0f; }
float SizeLine::dzeta(int k) const { return k >= 1 && k <= kJetOptions ? floatField(kDzetaPos[k]) : 0.0f; }
float SizeLine::dzetaP(int k) const { return k >= 1 && k <= kJetOptions ? floatField(kDzetaPPos[k]) : 0.0f; }
float SizeLine::freeAreaRatio(int k) const
{
    return k >= 1 && k <= kJetOptions ? floatField(kFreeAreaPos[k]) : 0.0f;
}

std::span<const float, kSoundSetSize> SizeLine::sound(int k) const
{
    if (!catalogue_ || k < 1 || k > kJetOptions)
        return kNoSound;
    const float* first = catalogue_->floats_.data() + std::size_t{index_} * kFloatsPerLine +
                         kFields.at[kSoundPos[k]].slot;
    return std::span<const float, kSoundSetSize>(first, kSoundSetSize);
}

std::span<const float, kSoundSetSize> SizeLine::soundP(int k) const
{
    if (!catalogue_ || k < 1 || k > kJetOptions)
        return kNoSound;
    const float* first = catalogue_->floats_.data() + std::size_t{index_} * kFloatsPerLine +
                         kFields.at[kSoundPPos[k]].slot;
    return std::span<const float, kSoundSetSize>(first, kSoundSetSize);
}

std::string_view SizeLine::regCaption(int p) const
{
    if (p < 1 || p > kRegulatorPositions)
        return {};
    return textField(kRegulatorFirstPos + kRegulatorBlockSize * (p - 1));
}

float SizeLine::kr(int k, int p) const
{
    if (k < 1 || k > kJetOptions || p < 1 || p > kRegulatorPositions)
        return 0.0f;
    return floatField(kRegulatorFirstPos + kRegulatorBlockSize * (p - 1) + k);
}

std::int16_t SizeLine::dL(int k, int p) const
{
    if (k < 1 || k > kJetOptions || p < 1 || p > kRegulatorPositions)
        return 0;
    return intField(kRegulatorFirstPos + kRegulatorBlockSize * (p - 1) + 4 + k);
}

// ---------------------------------------------------------------------------
// Catalogue

int Catalogue::recordCount() const { return static_cast<int>(rows_.size()); }

const Catalogue::Row* Catalogue::rowAt(int row) const
{
    return row >= 1 && row <= recordCount() ? &rows_[static_cast<std::size_t>(row - 1)] : nullptr;
}

std::string_view Catalogue::modelName(int row) const
{
    const Row* r = rowAt(row);
    return r ? std::string_view(r->model) : std::string_view{};
}

std::string_view Catalogue::typeName(int row) const
{
    const Row* r = rowAt(row);
    return r ? std::string_view(r->type) : std::string_view{};
}

std::string_view Catalogue::typePictureName(int row) const
{
    const Row* r = rowAt(row);
    return r ? std::string_view(r->typePicture) : std::string_view{};
}

std::string_view Catalogue::pageAddress(int row) const
{
    const Row* r = rowAt(row);
    return r ? std::string_view(r->page) : std::string_view{};
}

int Catalogue::sizeLineCount(int row) const
{
    const Row* r = rowAt(row);
    return r ? r->lineCount : 0;
}

SizeLine Catalogue::line(int row, int k) const
{
    const Row* r = rowAt(row);
    if (!r || k < 1 || k > r->lineCount)
        return {};
    SizeLine l;
    l.catalogue_ = this;
    l.index_ = r->firstLine + static_cast<std::uint32_t>(k - 1);
    return l;
}

std::string_view Catalogue::sizeDesignation(int row, int k) const { return line(row, k).designation(); }

std::size_t Catalogue::storageBytes() const
{
    std::size_t bytes = rows_.capacity() * sizeof(Row) + typeNames_.capacity() * sizeof(std::string);
    for (const Row& r : rows_)
        bytes += r.model.capacity() + r.type.capacity() + r.typePicture.capacity() + r.page.capacity();
    for (const std::string& t : typeNames_)
        bytes += t.capacity();
    bytes += floats_.capacity() * sizeof(float) + ints_.capacity() * sizeof(std::int16_t);
    bytes += textOffsets_.capacity() * sizeof(std::size_t) + texts_.capacity();
    return bytes;
}

// ---------------------------------------------------------------------------
// LoadError

SizeMode SizeModeOf(std::string_view firstDesignation)
{
    if (firstDesignation == "n")
        return SizeMode::Free;
    if (firstDesignation == "dlina")
        return SizeMode::Slot;
    return SizeMode::Listed;
}

std::string LoadError::message() const
{
    std::string text = "Не удалось загрузить каталог «" + file + "»";
    if (line > 0)
        text += ": строка " + std::to_string(line);
    if (field > 0)
        text += line > 0 ? ", поле " + std::to_string(field) : ": поле " + std::to_string(field);
    text += ": " + what;
    return text;
}

// ---------------------------------------------------------------------------
// Loading

// One pass over the bytes: records of size lines, each line's fields converted
// by position straight into the catalogue's storage. The bytes are either all
// in memory already or read from a file piece by piece: a full catalogue's
// file is larger than its tables, and holding it whole beside them would more
// than double what loading needs.
class CatalogueLoader {
public:
    CatalogueLoader(std::string_view bytes, Catalogue& cat)
        : p_(bytes.data()), end_(bytes.data() + bytes.size()), dataEnd_(end_), cat_(cat)
    {
    }
    // Reads `file` from its start in pieces of about pieceBytes.
    CatalogueLoader(std::FILE* file, std::size_t pieceBytes, Catalogue& cat)
        : file_(file), buffer_(std::max<std::size_t>(pieceBytes, 1), '\0'), atEnd_(false), cat_(cat)
    {
    }

    bool load(LoadError& error);

private:
    // Where the current line's values go: its slots in the number tables.
    struct LineOutput {
        float* floats = nullptr;
        std::int16_t* ints = nullptr;
        bool firstOfRecord = false;
        int lineCount = 0;  // field 4, kept from a record's first line only
    };

    bool loadRecords();
    bool fail(int field, std::string_view what);
    bool reserve();
    bool refuseForeignEncoding();
    bool readMore();
    bool skipHeading();
    bool onlyBlankLinesLeft();
    bool readSizeLine(bool firstOfRecord, int& lineCount);
    bool readPlainNumber(int pos, LineOutput& out);
    bool readField(int pos, std::string_view& value);
    bool storeField(int pos, std::string_view value, LineOutput& out);

    // The window being parsed: whole lines only, so [p_, end_) ends just
    // after a line feed or at the end of the input.
    const char* p_ = nullptr;
    const char* end_ = nullptr;
    // Reading a file: the buffer holds the window and after it, up to
    // dataEnd_, the start of the next line read so far.
    std::FILE* file_ = nullptr;
    std::string buffer_;
    const char* dataEnd_ = nullptr;
    bool atEnd_ = true;  // nothing left to read: dataEnd_ is the end of the input
    // The size line being read: its text without the line end, and where
    // readable text stops (before a NUL or a stray CR, else at lineEnd_).
    const char* lineEnd_ = nullptr;
    const char* stop_ = nullptr;
    Catalogue& cat_;
    LoadError* error_ = nullptr;
    int line_ = 1;  // the line of the file being read
    std::array<std::string, 4> rowTexts_;  // reused for every line: no allocation per field
    EncodingCheck encoding_;  // fed by the counting pass of reserve()
};

namespace {

// The offending text for a message, decoded and cut short.
std::string QuotedField(std::string_view cp1251Text)
{
    constexpr int kMax = 40;
    // One byte is one character in Windows-1251.
    return Quoted(cp1251::toUtf8(cp1251Text.substr(0, kMax + 1)), kMax);
}

const char* Find(const char* first, const char* last, char c)
{
    const void* at = std::memchr(first, c, static_cast<std::size_t>(last - first));
    return at ? static_cast<const char*>(at) : last;
}

// Most catalogue numbers are short plain decimals ("12.5", "-0.035", "0").
// With at most seven digits both the digits as a whole number (below 2^24)
// and the power of ten (at most 10^7) are exact singles, and IEEE 754 rounds
// their quotient once, to nearest: the very float from_chars would give, at a
// fraction of its cost. Like from_chars it stops at the first character that
// cannot continue the number and returns where; nullptr when there are no
// digits or more than seven. Callers leave whatever this does not take whole
// (exponents, long digit strings, errors) to from_chars.
const char* ShortDecimal(const char* first, const char* last, float& value)
{
    constexpr int kMaxDigits = 7;
    static constexpr std::array<float, kMaxDigits + 1> kPowerOfTen = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
    const bool negative = first != last && *first == '-';
    std::uint32_t whole = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    const char* p = negative ? first + 1 : first;
    for (; p != last; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            if (++digits > kMaxDigits)
                return nullptr;
            whole = whole * 10 + static_cast<std::uint32_t>(c - '0');
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return nullptr;
    const float magnitude = static_cast<float>(whole) / kPowerOfTen[static_cast<std::size_t>(decimals)];
    value = negative ? -magnitude : magnitude;
    return p;
}

enum class NumberFault { None, NotANumber, NotFinite, OutOfFloatRange, NotAnInteger, OutOfInt16Range };

// An empty field reads as 0.
NumberFault ToFloat(std::string_view text, float& value)
{
    value = 0.0f;
    const char* last = text.data() + text.size();
    if (text.empty() || ShortDecimal(text.data(), last, value) == last)
        return NumberFault::None;
    const auto [ptr, ec] = std::from_chars(text.data(), last, value);
    if (ec == std::errc::result_out_of_range)
        return NumberFault::OutOfFloatRange;
    if (ec != std::errc() || ptr != last)
        return NumberFault::NotANumber;
    return std::isfinite(value) ? NumberFault::None : NumberFault::NotFinite;
}

NumberFault ToInt16(std::string_view text, std::int16_t& value)
{
    value = 0;
    if (text.empty())
        return NumberFault::None;
    int wide = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (ec == std::errc::result_out_of_range)
        return NumberFault::OutOfInt16Range;
    if (ec != std::errc() || ptr != text.data() + text.size())
        return NumberFault::NotAnInteger;
    if (wide < -32768 || wide > 32767)
        return NumberFault::OutOfInt16Range;
    value = static_cast<std::int16_t>(wide);
    return NumberFault::None;
}

std::string NumberFaultText(NumberFault fault, std::string_view text)
{
    switch (fault) {
    case NumberFault::NotANumber:
        return "ожидалось число (с точкой как десятичным разделителем), а записано " + QuotedField(text);
    case NumberFault::NotFinite:
        return "ожидалось конечное число, а записано " + QuotedField(text);
    case NumberFault::OutOfFloatRange:
        return "число " + QuotedField(text) +
               " вне диапазона чисел одинарной точности (по модулю от 1.2e-38 до 3.4e38 или 0)";
    case NumberFault::NotAnInteger:
        return "ожидалось целое число, а записано " + QuotedField(text);
    case NumberFault::OutOfInt16Range:
        return "целое число " + QuotedField(text) + " вне диапазона −32768..32767";
    case NumberFault::None:
        break;
    }
    return {};
}

const char* const kCrWithoutLf =
    "строка кончается одним символом CR без LF; строки файла должны кончаться CR LF (или LF)";
const char* const kNul = "в тексте файла встретился нулевой байт; файл повреждён или это не текстовый файл";

}  // namespace

bool CatalogueLoader::fail(int field, std::string_view what)
{
    error_->line = line_;
    error_->field = field;
    error_->what = std::string(what);
    return false;
}

// The line count tells how much the number tables will hold, so they are
// allocated once, at their final size. A file is counted in a first pass of
// its own and then read again from its start.
bool CatalogueLoader::reserve()
{
    std::size_t lines = 1, size = 0;
    if (file_) {
        for (std::size_t got; (got = std::fread(buffer_.data(), 1, buffer_.size(), file_)) > 0;) {
            lines += static_cast<std::size_t>(std::count(buffer_.data(), buffer_.data() + got, '\n'));
            encoding_.feed(std::string_view(buffer_.data(), got));
            size += got;
        }
        if (std::ferror(file_) != 0)
            return false;
        std::rewind(file_);
    } else {
        for (const char* c = p_; (c = Find(c, end_, '\n')) != end_; ++c)
            ++lines;
        size = static_cast<std::size_t>(end_ - p_);
        encoding_.feed(std::string_view(p_, size));
    }
    // Every size line holds at least 291 commas, so the file's size bounds
    // the number of lines too; a file of empty lines must not reserve much.
    lines = std::min({lines, size / (kFieldsPerLine - 1) + 1, static_cast<std::size_t>(kMaxRows) * kMaxSizeLines});
    cat_.floats_.reserve(lines * kFloatsPerLine);
    cat_.ints_.reserve(lines * kIntsPerLine);
    cat_.textOffsets_.reserve(lines);
    return true;
}

// Moves the unread bytes to the front of the buffer and reads after them
// until the window holds at least one more whole line or the file ends.
// Only p_ stays valid; false when there was nothing more to read.
bool CatalogueLoader::readMore()
{
    if (atEnd_)
        return false;
    std::size_t held = static_cast<std::size_t>(dataEnd_ - p_);
    if (held > 0)
        std::memmove(buffer_.data(), p_, held);
    for (;;) {
        if (held == buffer_.size())
            buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
        const std::size_t got = std::fread(buffer_.data() + held, 1, buffer_.size() - held, file_);
        const char* fresh = buffer_.data() + held;
        held += got;
        if (got == 0) {
            atEnd_ = true;  // or a read error, which load() reports
            break;
        }
        if (Find(fresh, fresh + got, '\n') != fresh + got)
            break;
    }
    p_ = buffer_.data();
    dataEnd_ = p_ + held;
    end_ = dataEnd_;
    if (!atEnd_)
        while (end_[-1] != '\n')
            --end_;
    return true;
}

// True (and the error set) when the whole file reads as UTF-8 or UTF-16.
bool CatalogueLoader::refuseForeignEncoding()
{
    const std::string encoding = encoding_.foreignEncoding();
    if (encoding.empty())
        return false;
    line_ = encoding_.line();
    fail(0, ForeignEncodingText(encoding));
    return true;
}

bool CatalogueLoader::skipHeading()
{
    if (p_ == end_) {
        line_ = 0;
        return fail(0, "файл пуст: нет даже строки заголовка");
    }
    const char* lf = Find(p_, end_, '\n');
    // The heading is free text but must still be a line: a file with CR-only
    // line ends would otherwise pass as one long heading and load nothing.
    const char* headingEnd = lf != end_ && lf != p_ && lf[-1] == '\r' ? lf - 1 : lf;
    if (Find(p_, headingEnd, '\0') != headingEnd)
        return fail(0, kNul);
    if (Find(p_, headingEnd, '\r') != headingEnd)
        return fail(0, kCrWithoutLf);
    if (lf != end_) {
        p_ = lf + 1;
        ++line_;
    } else {
        p_ = end_;
    }
    return true;
}

// Empty lines after the last record are tolerated (an editor may leave one);
// an empty line with more records after it is an error.
bool CatalogueLoader::onlyBlankLinesLeft()
{
    std::size_t blank = 0;  // counted from p_, which reading more moves
    do {
        const char* c = p_ + blank;
        while (c != end_ && (IsBlank(*c) || *c == '\n' || (*c == '\r' && c + 1 != end_ && c[1] == '\n')))
            ++c;
        if (c != end_)
            return false;
        blank = static_cast<std::size_t>(c - p_);
    } while (readMore());
    return true;
}

// Reads one field of the current line; leaves p_ at the comma after it or at
// stop_.
bool CatalogueLoader::readField(int pos, std::string_view& value)
{
    while (p_ != stop_ && IsBlank(*p_))
        ++p_;
    if (p_ != stop_ && *p_ == '"') {
        const char* start = ++p_;
        const char* close = Find(p_, stop_, '"');
        if (close == stop_) {
            p_ = stop_;
            if (stop_ == lineEnd_)
                return fail(pos, lineEnd_ == end_ ? "кавычка не закрыта до конца файла"
                                                  : "кавычка не закрыта до конца строки");
        } else {
            value = std::string_view(start, static_cast<std::size_t>(close - start));
            p_ = close + 1;
            while (p_ != stop_ && IsBlank(*p_))
                ++p_;
            if (p_ != stop_ && *p_ != ',')
                return fail(pos, "после закрывающей кавычки должна идти запятая");
        }
    } else {
        const char* start = p_;
        while (p_ != stop_ && *p_ != ',')
            ++p_;
        value = TrimBlanks(std::string_view(start, static_cast<std::size_t>(p_ - start)));
    }
    if (p_ == stop_ && stop_ != lineEnd_)
        return fail(pos, *stop_ == '\0' ? kNul : kCrWithoutLf);
    return true;
}

// Most fields of a line are plain numbers: read and converted here in one
// step, where they stand. A field this does not take (a text, blanks,
// quotes, anything unusual) is read again from its start by readField and
// storeField, which also name every fault.
bool CatalogueLoader::readPlainNumber(int pos, LineOutput& out)
{
    const FieldSlot slot = kFields.at[pos];
    if (slot.kind != Kind::Float)
        return false;
    float value = 0.0f;
    const char* end = ShortDecimal(p_, stop_, value);
    if (!end || (end != lineEnd_ && (end == stop_ || *end != ',')))
        return false;
    out.floats[slot.slot] = value;
    p_ = end;
    return true;
}

bool CatalogueLoader::storeField(int pos, std::string_view value, LineOutput& out)
{
    const FieldSlot slot = kFields.at[pos];
    NumberFault fault = NumberFault::None;
    switch (slot.kind) {
    case Kind::RowText: {
        std::string& text = rowTexts_[slot.slot];
        text.clear();
        cp1251::appendUtf8(text, value);
        return true;
    }
    case Kind::LineText:
        cp1251::appendUtf8(cat_.texts_, value);
        cat_.texts_ += '\0';
        return true;
    case Kind::Float:
        fault = ToFloat(value, out.floats[slot.slot]);
        break;
    case Kind::Int16:
        fault = ToInt16(value, out.ints[slot.slot]);
        break;
    case Kind::LineCount: {
        std::int16_t count = 0;
        fault = ToInt16(value, count);
        if (out.firstOfRecord)
            out.lineCount = count;
        break;
    }
    }
    return fault == NumberFault::None || fail(pos, NumberFaultText(fault, value));
}

bool CatalogueLoader::readSizeLine(bool firstOfRecord, int& lineCount)
{
    const char* lf = Find(p_, end_, '\n');
    lineEnd_ = lf != end_ && lf != p_ && lf[-1] == '\r' ? lf - 1 : lf;
    // A NUL or a CR inside the line cuts it short; the field it stands in
    // reports it.
    stop_ = std::min(Find(p_, lineEnd_, '\0'), Find(p_, lineEnd_, '\r'));
    if (stop_ == lineEnd_ && TrimBlanks(std::string_view(p_, static_cast<std::size_t>(lineEnd_ - p_))).empty())
        return fail(0, "пустая строка посреди каталога");

    cat_.textOffsets_.push_back(cat_.texts_.size());
    const std::size_t firstFloat = cat_.floats_.size();
    const std::size_t firstInt = cat_.ints_.size();
    cat_.floats_.resize(firstFloat + kFloatsPerLine);
    cat_.ints_.resize(firstInt + kIntsPerLine);
    LineOutput out;
    out.floats = cat_.floats_.data() + firstFloat;
    out.ints = cat_.ints_.data() + firstInt;
    out.firstOfRecord = firstOfRecord;
    for (int pos = 1;; ++pos) {
        std::string_view value;
        if (!readPlainNumber(pos, out) && (!readField(pos, value) || !storeField(pos, value, out)))
            return false;
        const bool lineEnded = p_ == lineEnd_;
        if (pos == kFieldsPerLine) {
            if (!lineEnded)
                return fail(kFieldsPerLine + 1, "в строке больше " + std::to_string(kFieldsPerLine) + " полей");
            break;
        }
        if (lineEnded)
            return fail(pos + 1, "строка кончается раньше времени: полей в ней " + std::to_string(pos) +
                                     ", а нужно " + std::to_string(kFieldsPerLine));
        ++p_;  // the comma
    }
    p_ = lf == end_ ? end_ : lf + 1;
    ++line_;
    lineCount = out.lineCount;
    return true;
}

bool CatalogueLoader::load(LoadError& error)
{
    error_ = &error;
    const bool loaded = loadRecords();
    // A read error looks like an early end of the file to the parser; it
    // must not pass for a shorter catalogue.
    if (file_ && std::ferror(file_) != 0) {
        line_ = 0;
        return fail(0, "ошибка чтения файла");
    }
    return loaded;
}

bool CatalogueLoader::loadRecords()
{
    if (!reserve() || refuseForeignEncoding())
        return false;
    if (file_)
        readMore();
    if (!skipHeading())
        return false;

    while (!onlyBlankLinesLeft()) {
        if (cat_.recordCount() == kMaxRows)
            return fail(0, "в каталоге больше " + std::to_string(kMaxRows) + " записей");

        Catalogue::Row row;
        row.firstLine = static_cast<std::uint32_t>(cat_.textOffsets_.size());
        const int firstLineNumber = line_;
        int lineCount = 0;
        if (!readSizeLine(true, lineCount))
            return false;
        const bool freeSize =
            SizeModeOf(std::string_view(cat_.texts_.c_str() + cat_.textOffsets_.back())) == SizeMode::Free;
        if (freeSize || lineCount < 1)
            lineCount = 1;
        if (lineCount > kMaxSizeLines) {
            line_ = firstLineNumber;
            return fail(4, "запись требует " + std::to_string(lineCount) +
                               " строк размеров, а допустимо не более " + std::to_string(kMaxSizeLines));
        }
        for (int k = 2; k <= lineCount; ++k) {
            if (onlyBlankLinesLeft())
                return fail(0, "файл кончается посреди записи: прочитано строк размеров " + std::to_string(k - 1) +
                                   " из " + std::to_string(lineCount));
            int ignored = 0;
            if (!readSizeLine(false, ignored))
                return false;
        }
        row.lineCount = static_cast<std::uint16_t>(lineCount);
        row.model = rowTexts_[kModelSlot];
        row.type = rowTexts_[kTypeSlot];
        row.typePicture = rowTexts_[kTypePictureSlot];
        row.page = rowTexts_[kPageSlot];
        if (std::find(cat_.typeNames_.begin(), cat_.typeNames_.end(), row.type) == cat_.typeNames_.end())
            cat_.typeNames_.push_back(row.type);
        cat_.rows_.push_back(std::move(row));
    }
    // The text pool grew by doubling; give back what it will never use.
    cat_.texts_.shrink_to_fit();
    return true;
}

namespace {

// A catalogue is handed out only when all of it loaded.
template <class Read>
bool LoadWhole(Read read, Catalogue& out, LoadError& error)
{
    try {
        Catalogue cat;
        if (!read(cat))
            return false;
        out = std::move(cat);
        return true;
    } catch (const std::bad_alloc&) {
        error.line = 0;
        error.field = 0;
        error.what = "недостаточно памяти, чтобы прочитать каталог";
        return false;
    }
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Big enough that reading costs little per byte, small enough to stay in
// the processor's cache while its lines are parsed.
constexpr std::size_t kPieceBytes = std::size_t{256} << 10;

}  // namespace

bool LoadCatalogueFromBytes(std::string_view bytes, std::string_view fileName, Catalogue& out, LoadError& error)
{
    std::string file(fileName);  // fileName may be error.file itself
    error = LoadError{};
    error.file = std::move(file);
    out = Catalogue{};
    return LoadWhole([&](Catalogue& cat) { return CatalogueLoader(bytes, cat).load(error); }, out, error);
}

std::filesystem::path CatalogueFile(const std::filesystem::path& programFolder)
{
    return programFolder / "A" / "b";
}

bool LoadCatalogue(const std::filesystem::path& programFolder, Catalogue& out, LoadError& error)
{
    out = Catalogue{};
    const std::filesystem::path file = CatalogueFile(programFolder);
    const std::filesystem::path folder = file.parent_path();
    error = LoadError{};
    error.file = PathText(file);

    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        error.what = "нет папки «A» в папке программы";
        return false;
    }
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status)) {
        error.what = "файл не найден";
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        error.what = "по этому пути находится папка, а не файл";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error.what = "это не обычный файл";
        return false;
    }
    const std::unique_ptr<std::FILE, FileCloser> f(OpenFile(file, "rb"));
    if (!f) {
        error.what = "файл не удаётся открыть для чтения";
        return false;
    }
    // A small file is read in one piece no larger than itself.
    const auto size = std::filesystem::file_size(file, ec);
    const std::size_t piece = ec ? kPieceBytes : std::min(static_cast<std::size_t>(size) + 1, kPieceBytes);
    return LoadWhole([&](Catalogue& cat) { return CatalogueLoader(f.get(), piece, cat).load(error); }, out, error);
}

}  // namespace nimbo
