#include "calculation_check.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "calc/calculation.h"
#include "log/record_of.h"
#include "calc/numbers.h"
#include "calc/stages.h"
#include "catalogue/catalogue.h"
#include "text/cp1251.h"
#include "catalogue_check.h"
#include "log/log_file.h"
#include "support/catalogue_text.h"
#include "text_checks.h"

namespace nimbo::fuzz {

namespace {

using test::Line;
using test::Record;

// Reads the input front to back; past its end every byte is 0 and every
// text empty, so any prefix of an input is an input too.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    std::uint8_t byte()
    {
        if (rest_.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    std::string_view bytes(std::size_t n)
    {
        const std::string_view b = rest_.substr(0, n);
        rest_.remove_prefix(b.size());
        return b;
    }
    std::string_view text()
    {
        const std::size_t end = rest_.find(static_cast<char>(kTextEnd));
        const std::string_view t = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return t;
    }
    std::string_view rest() const { return rest_; }
    bool empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// --- The generated catalogue -------------------------------------------------

constexpr std::array<const char*, 8> kModelNames = {"ПДК-1", "ЩДМЖ-2", "ЩР-ДМЗ", "ЩР-ДПЗ",
                                                    "ЩР-ДТЗ", "ДМЖ",   "",       "АМН"};

// A size line whose every option has data: jet-form options 1 and 2,
// regulator positions 1 to 3, sound with and without plenum.
Line FullLine(Line l, const char* fm, const char* fz, int sectionMode)
{
    using namespace test::field;
    l.set(kFm, fm).set(kFz, fz).set(kSectionMode, std::to_string(sectionMode));
    const std::array<const char*, 5> jet = {"", "Веер", "Компакт", "n", "n"};
    for (int k = 1; k <= 4; ++k) {
        l.set(JetCaption(k), jet[static_cast<std::size_t>(k)]);
        l.set(M(k), k == 1 ? "2" : "1.5").set(Dzeta(k), "1.5").set(DzetaP(k), "2.5");
        l.set(FreeRatio(k), "0.5");
        for (bool plenum : {false, true})
            for (int band = 0; band < 24; ++band)
                l.set(Sound(k, plenum) + band, band < 8 ? "10" : band < 16 ? "20" : "5");
    }
    const std::array<const char*, 6> reg = {"", "b=0°", "b=15°", "b=30°", "n", "n"};
    for (int p = 1; p <= 5; ++p) {
        l.set(RegCaption(p), reg[static_cast<std::size_t>(p)]);
        for (int k = 1; k <= 4; ++k)
            l.set(Kr(k, p), "1.2").set(DL(k, p), "2");
    }
    return l;
}

std::vector<Line> GeneratedLines(unsigned modelChoice)
{
    const auto name = [&](unsigned i) { return std::string(kModelNames[(modelChoice + 3 * i) % kModelNames.size()]); };
    std::vector<Line> lines;
    lines.push_back(FullLine(Record(name(0), "Диффузоры", "n"), "20", "20", 1));
    Line slot = FullLine(Record(name(1), "Решетки", "dlina", 2), "0.02", "0.01", 2);
    slot.set(10, "2");  // mFlat
    lines.push_back(slot);
    lines.push_back(FullLine(Record(name(1), "Решетки", "x"), "0.02", "0.01", 2));
    lines.push_back(FullLine(Record(name(2), "Диффузоры", "100x100", 2), "0.04", "0.03", 1));
    lines.push_back(FullLine(Record(name(2), "Диффузоры", "200x200"), "0.16", "0.12", 0));
    Line noData = FullLine(Record(name(3), "Решетки", "300x150"), "0.045", "0.04", 2);
    noData.set(test::field::Dzeta(1), "111111").set(test::field::M(1), "0");
    lines.push_back(noData);
    return lines;
}

// A field as the file holds it: Windows-1251, a text with a comma quoted.
std::string FileField(int pos, const std::string& utf8)
{
    std::string field = cp1251::fromUtf8(utf8);
    if (test::IsTextPosition(pos) && field.find(',') != std::string::npos)
        field = '"' + field + '"';
    return field;
}

// The generated catalogue as the fields of its size lines. Building it from
// Line objects for every input would cost more than the calculation itself,
// so each of the few model-name choices is built once.
using FileLines = std::vector<std::vector<std::string>>;

const FileLines& GeneratedFileLines(unsigned modelChoice)
{
    static std::array<FileLines, 32> cache;
    FileLines& lines = cache[modelChoice % cache.size()];
    if (lines.empty()) {
        for (const Line& line : GeneratedLines(modelChoice % cache.size())) {
            std::vector<std::string>& fields = lines.emplace_back();
            for (int pos = 1; pos <= kFieldsPerLine; ++pos)
                fields.push_back(FileField(pos, line.field(pos)));
        }
    }
    return lines;
}

// A field of the generated catalogue that the input replaces.
struct Change {
    std::size_t line = 0;
    int pos = 0;
    std::string field;
};

// The file of the generated lines with the changes made; a later change of
// the same field wins.
std::string JoinFile(const FileLines& lines, const std::vector<Change>& changes = {})
{
    std::string bytes = cp1251::fromUtf8("Каталог") + "\r\n";
    for (std::size_t l = 0; l < lines.size(); ++l) {
        for (int pos = 1; pos <= kFieldsPerLine; ++pos) {
            if (pos > 1)
                bytes += ',';
            const std::string* field = &lines[l][static_cast<std::size_t>(pos - 1)];
            for (const Change& c : changes)
                if (c.line == l && c.pos == pos)
                    field = &c.field;
            bytes += *field;
        }
        bytes += "\r\n";
    }
    return bytes;
}

constexpr std::array<const char*, 8> kTexts = {"n", "dlina", "", "x", "Opt", "b=0°", "ДМЖ", "\"a,b\""};
constexpr std::array<const char*, 16> kFloats = {"0",     "1",    "-1",           "111111",
                                                 "0.5",   "2",    "1e-38",        "3.4028235e38",
                                                 "-3.4028235e38", "1e-45", "1e10", "1e-10",
                                                 "0.001", "-0.5", "100000",       "1e-5"};

std::string FloatText(Reader& in)
{
    const std::uint8_t choice = in.byte();
    if (choice < kFloats.size())
        return kFloats[choice];
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits = (bits << 8) | in.byte();
    float f = std::bit_cast<float>(bits);
    if (std::isnan(f))
        f = 0;
    if (std::isinf(f))
        f = std::copysign(3.4028235e38f, f);
    char buf[32];
    const auto written = std::to_chars(buf, buf + sizeof buf, f);
    return std::string(buf, written.ptr);
}

// Reads the changes that follow in the input.
std::vector<Change> ReadChanges(Reader& in, std::size_t lineCount)
{
    std::vector<Change> changes;
    while (!in.empty()) {
        Change& c = changes.emplace_back();
        c.line = in.byte() % lineCount;
        const int hi = in.byte(), lo = in.byte();
        c.pos = (hi * 256 + lo) % kFieldsPerLine + 1;
        std::string value;
        if (test::IsTextPosition(c.pos)) {
            const std::uint8_t choice = in.byte();
            value = choice < kTexts.size() ? std::string(kTexts[choice])
                                           : ToValidUtf8(in.bytes(choice - kTexts.size()));
        } else if (test::IsIntPosition(c.pos)) {
            const std::uint8_t hiByte = in.byte(), loByte = in.byte();
            value = std::to_string(static_cast<std::int16_t>((hiByte << 8) | loByte));
        } else {
            value = FloatText(in);
        }
        c.field = FileField(c.pos, value);
    }
    return changes;
}

// --- The rules -----------------------------------------------------------------

bool IsPositiveNumber(std::string_view text)
{
    const TypedNumber n = ParseTypedNumber(text);
    return n.status == TypedStatus::Number && n.value > 0;
}

bool IsSoundText(std::string_view text, char sep)
{
    if (text == "-" || text == "<10" || text == ">100")
        return true;
    if (!IsNumberText(text, sep) || text.find(sep) != std::string_view::npos || text.find('E') != std::string_view::npos)
        return false;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value >= 10 && value <= 100;
}

std::string CheckRefused(const Calculation& s, const Outcome& out)
{
    if (out.message.empty())
        return "a calculation failed without a message";
    if (!IsValidUtf8(out.message) || !HasCyrillic(out.message))
        return "the message is not Russian text: " + out.message;
    if (!out.texts.p.empty() || !out.texts.x.empty() || !out.texts.LwA.empty())
        return "a failed calculation carries results: " + out.message;
    const Sections& a = s.shownBefore;
    const Sections& b = out.sections;
    if (a.F0 != b.F0 || a.V0 != b.V0 || a.Fv != b.Fv || a.Vv != b.Vv || a.Fjs != b.Fjs || a.Vjs != b.Vjs ||
        a.fvShown != b.fvShown || a.svShown != b.svShown || a.jsShown != b.jsShown)
        return "a failed calculation changed the section results: " + out.message;
    return {};
}

std::string CheckInputsUsable(const Calculation& s)
{
    const Catalogue& cat = *s.catalogue;
    const Selection& sel = s.choice.selection;
    if (!sel.modelChosen || sel.row < 1 || sel.row > cat.recordCount() || sel.sizeIndex < 1 ||
        sel.sizeIndex > cat.sizeLineCount(sel.row))
        return "a calculation ran without a chosen row and size";
    const SizeMode mode = cat.sizeMode(sel.row);
    if (mode == SizeMode::Listed && !sel.sizeChosen)
        return "a calculation ran before a size was chosen";
    if (!IsPositiveNumber(s.choice.inputs.L) || !IsPositiveNumber(s.choice.inputs.V))
        return "a calculation ran on L '" + s.choice.inputs.L + "' and V '" + s.choice.inputs.V + "'";
    if (mode == SizeMode::Free && (!IsPositiveNumber(s.choice.inputs.A) || !IsPositiveNumber(s.choice.inputs.B)))
        return "a calculation ran on A '" + s.choice.inputs.A + "' and B '" + s.choice.inputs.B + "'";
    if (mode == SizeMode::Slot && !IsPositiveNumber(s.choice.inputs.Dlina))
        return "a calculation ran on the length '" + s.choice.inputs.Dlina + "'";
    return {};
}

// What the record keeps of a window text: a typed number without the blanks
// and line ends around it, any other control character as a blank.
std::string AsRecorded(std::string text, bool typed)
{
    if (typed) {
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        while (!text.empty() && blank(text.back()))
            text.pop_back();
        text.erase(0, static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), blank) - text.begin()));
    }
    std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; },
                    ' ');
    return text;
}

bool HoldsControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string CheckRecord(const Calculation& s, const Outcome& out)
{
    const LogRecord r = RecordOf(s.choice, out);
    const Sections& sec = out.sections;
    if (r.L != AsRecorded(s.choice.inputs.L, true) || r.V != AsRecorded(s.choice.inputs.V, true) || r.p != out.texts.p ||
        r.x != out.texts.x || r.LwA != out.texts.LwA || r.F0 != sec.F0 || r.V0 != sec.V0 || r.Fv != sec.Fv ||
        r.Vv != sec.Vv || r.Fjs != sec.Fjs || r.Vjs != sec.Vjs || r.model != AsRecorded(s.choice.shown.model, false))
        return "the record does not copy what the window shows";
    const std::string line = LogFile::dataLineBytes(r);
    const auto fields = SplitCsvLine(line);
    if (!fields)
        return "the data line is not one whole CSV line: " + cp1251::toUtf8(line);
    const auto columns = r.dataColumns();
    if (fields->size() != columns.size())
        return "the data line has " + std::to_string(fields->size()) + " columns: " + cp1251::toUtf8(line);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if ((*fields)[i] != cp1251::fromUtf8(columns[i]))
            return "column " + std::to_string(i + 1) + " of the data line reads back differently";
    if (!IsValidUtf8(r.listLine()))
        return "the list line is not UTF-8";
    if (HoldsControlCharacter(r.listLine()) || HoldsControlCharacter(line.substr(0, line.size() - 2)))
        return "the record holds a control character";
    return {};
}

// The band levels a room's noise is made of must add up to the LwA shown.
std::string CheckBands(const Stages& st)
{
    if (!st.lwaComputed)
        return {};
    // Summed from the loudest band down, so that no power overflows.
    double loudest = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < st.Lw.size(); ++i)
        loudest = std::max(loudest, st.Lw[i] + kAWeighting[i]);
    double S = 0;
    for (std::size_t i = 0; i < st.Lw.size(); ++i)
        S += std::pow(10.0, 0.1 * (st.Lw[i] + kAWeighting[i] - loudest));
    const double sum = loudest + 10 * std::log10(S);
    // LwA is a float: its own rounding is the tolerance.
    if (!(std::fabs(sum - st.LwA) <= 1e-4 * std::max(1.0, std::fabs(sum))))
        return "the band levels add up to " + std::to_string(sum) + " dB(A), LwA is " + std::to_string(st.LwA);
    return {};
}

std::string CheckDone(const Calculation& s, const Outcome& out)
{
    if (std::string problem = CheckInputsUsable(s); !problem.empty())
        return problem;
    const char sep = s.decimalSeparator;
    const std::array<std::pair<const char*, const std::string*>, 7> results = {{
        {"p", &out.texts.p},
        {"x", &out.texts.x},
        {"m", &out.texts.mData},
        {"Dzeta", &out.texts.dzetaData},
        {"kr", &out.texts.krData},
        {"Fm", &out.texts.fmData},
        {"Fz", &out.texts.fzData},
    }};
    for (const auto& [name, text] : results)
        if (MentionsNonFinite(*text) || !IsResultText(*text, sep))
            return std::string("result ") + name + " reads '" + *text + "'";
    if (MentionsNonFinite(out.texts.LwA) || !IsSoundText(out.texts.LwA, sep))
        return "LwA reads '" + out.texts.LwA + "'";
    if (std::string problem = CheckBands(out.stages); !problem.empty())
        return problem;
    const Sections& before = s.shownBefore;
    const Sections& after = out.sections;
    const std::array<std::pair<const std::string*, const std::string*>, 6> sections = {{
        {&before.F0, &after.F0},
        {&before.V0, &after.V0},
        {&before.Fv, &after.Fv},
        {&before.Vv, &after.Vv},
        {&before.Fjs, &after.Fjs},
        {&before.Vjs, &after.Vjs},
    }};
    for (const auto& [was, now] : sections)
        if (*now != *was && (MentionsNonFinite(*now) || !IsResultText(*now, sep)))
            return "a section result reads '" + *now + "'";
    return CheckRecord(s, out);
}

}  // namespace

std::string GeneratedCatalogueBytes(unsigned modelChoice)
{
    return JoinFile(GeneratedFileLines(modelChoice));
}

std::string CheckCalculation(std::string_view input, CalculationTrace* trace)
{
    Reader in(input);
    const std::uint8_t flags = in.byte();
    const std::uint8_t options = in.byte();
    const std::uint8_t kind = in.byte();
    const std::uint8_t rowByte = in.byte();
    const std::uint8_t sizeByte = in.byte();
    std::array<std::string, 5> texts;
    for (std::string& t : texts)
        t = ToValidUtf8(in.text());

    const bool raw = (kind & 0x80) != 0;
    std::string catalogueBytes;
    if (raw) {
        catalogueBytes = std::string(in.rest());
    } else {
        const FileLines& lines = GeneratedFileLines(kind & 0x1F);
        catalogueBytes = JoinFile(lines, ReadChanges(in, lines.size()));
    }
    Catalogue catalogue;
    LoadError error;
    const bool loaded = LoadCatalogueFromBytes(catalogueBytes, "b", catalogue, error);
    if (raw || !loaded)
        if (std::string problem = CheckLoadedCatalogue(catalogueBytes, "b", loaded, catalogue, error); !problem.empty())
            return "catalogue: " + problem;
    if (!loaded)
        return {};
    if (trace)
        trace->catalogueLoaded = true;

    Calculation s;
    s.catalogue = &catalogue;
    Choice& choice = s.choice;
    Selection& sel = choice.selection;
    sel.row = rowByte % (catalogue.recordCount() + 2);
    sel.sizeIndex = sizeByte % (catalogue.sizeLineCount(sel.row) + 2);
    sel.modelChosen = (flags & 0x20) != 0;
    sel.sizeChosen = (flags & 0x40) != 0;
    choice.inputs = {texts[0], texts[1], texts[2], texts[3], texts[4]};
    choice.variant = (flags & 0x01) ? 2 : 1;
    OptionState& o = choice.options;
    o.ksdApplies = (flags & 0x02) != 0;
    o.regFormApplies = (flags & 0x04) != 0;
    o.regRashApplies = (flags & 0x08) != 0;
    o.regForm1Offered = (flags & 0x10) == 0;
    o.ksd = options % 4;
    o.regForm = options / 4 % 5;
    o.regRash = options / 20 % 6;
    const SizeLine line = catalogue.line(sel.row, sel.sizeIndex);
    // The window's captions of the picked options; none picked, none named.
    constexpr const char* kPlenum[] = {"", "Нет", "КСД", "КСР"};
    choice.shown.plenum = kPlenum[o.ksd];
    choice.shown.jetForm = o.regForm >= 1 ? std::string(line.jetCaption(o.regForm)) : std::string();
    choice.shown.regulator = o.regRash >= 1 ? std::string(line.regCaption(o.regRash)) : std::string();
    // Texts that no calculation writes, so that a kept text is told from a
    // written one.
    s.shownBefore = {false, true, true, "#F0", "#V0", "#Fv", "#Vv", "#Fjs", "#Vjs"};
    choice.shown.model = std::string(catalogue.modelName(sel.row));
    choice.shown.listedSize = std::string(line.designation());
    choice.shown.freeSizeShown = (kind & 0x40) != 0;
    choice.shown.lengthShown = (kind & 0x20) != 0;
    s.decimalSeparator = (flags & 0x80) ? ',' : '.';

    const Outcome out = Calculate(s);
    if (trace) {
        trace->calculated = out.ok;
        trace->message = out.message;
    }
    return out.ok ? CheckDone(s, out) : CheckRefused(s, out);
}

}  // namespace nimbo::fuzz
