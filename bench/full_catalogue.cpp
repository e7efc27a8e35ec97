#include "full_catalogue.h"

#include <array>
#include <charconv>
#include <random>
#include <string_view>

#include "catalogue/catalogue.h"
#include "text/cp1251.h"
#include "support/catalogue_text.h"

namespace bench {
namespace {

using nimbo::test::IsIntPosition;
using nimbo::test::IsTextPosition;

class LineWriter {
public:
    explicit LineWriter(std::string& out) : out_(out) {}

    // A decimal with up to `decimals` places, trailing zeros dropped as the
    // catalogue writes them: (451, 4) gives "0.0451", (503, 1) gives "50.3".
    void decimal(long mantissa, int decimals)
    {
        if (mantissa < 0) {
            out_ += '-';
            mantissa = -mantissa;
        }
        std::array<char, 24> digits{};
        auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), mantissa);
        std::string_view text(digits.data(), static_cast<std::size_t>(end - digits.data()));
        while (decimals > 0 && text.size() > 1 && text.back() == '0') {
            text.remove_suffix(1);
            --decimals;
        }
        if (decimals == 0) {
            out_ += text;
            return;
        }
        const auto whole = static_cast<std::ptrdiff_t>(text.size()) - decimals;
        if (whole <= 0) {
            out_ += "0.";
            out_.append(static_cast<std::size_t>(-whole), '0');
            out_ += text;
        } else {
            out_ += text.substr(0, static_cast<std::size_t>(whole));
            out_ += '.';
            out_ += text.substr(static_cast<std::size_t>(whole));
        }
    }
    void quoted(std::string_view cp1251Text)
    {
        out_ += '"';
        out_ += cp1251Text;
        out_ += '"';
    }
    void integer(long value) { decimal(value, 0); }

private:
    std::string& out_;
};

std::string Cp(std::string_view utf8) { return nimbo::cp1251::fromUtf8(utf8); }

// Position of a field inside its jet-form block (1..60 for block 1, which
// holds mFlat; 1..59 for the others), or 0 outside the blocks.
struct BlockPlace {
    int option = 0;  // 1..4
    int offset = 0;  // 0 = caption
};

BlockPlace JetBlockPlace(int pos)
{
    using namespace nimbo::test::field;
    for (int k = 1; k <= 4; ++k) {
        const int end = k < 4 ? JetCaption(k + 1) : RegCaption(1);
        if (pos >= JetCaption(k) && pos < end) {
            // Block 1 has mFlat after m; shift so the same offsets mean the
            // same things in every block.
            int offset = pos - JetCaption(k);
            if (k > 1 && offset >= 2)
                ++offset;
            return {k, offset};
        }
    }
    return {};
}

}  // namespace

std::string FullBoundCatalogueBytes()
{
    const std::array<std::string, 6> types = {
        Cp("Диффузоры квадратные"), Cp("Диффузоры круглые"), Cp("Решетки"),
        Cp("Щелевые диффузоры"), Cp("Вихревые диффузоры"), Cp("Сопла"),
    };
    const std::array<std::string, 4> jetCaptions = {Cp("4 стороны"), Cp("3 стороны"), Cp("2 стороны"),
                                                    Cp("1 сторона")};
    const std::array<std::string, 5> regCaptions = {Cp("b=0°"), Cp("b=15°"), Cp("b=30°"), Cp("b=45°"),
                                                    Cp("b=60°")};
    const std::string modelPrefix = Cp("ПДК-");

    std::minstd_rand random(2019);
    auto between = [&random](long low, long high) {
        return std::uniform_int_distribution<long>(low, high)(random);
    };

    std::string out = Cp("Каталог на полных границах: 1000 записей по 200 строк размеров") + "\r\n";
    out.reserve(std::size_t{1300} * kFullRecords * kFullLinesPerRecord);
    LineWriter w(out);
    for (int row = 1; row <= kFullRecords; ++row) {
        const std::string model = modelPrefix + std::to_string(row);
        for (int k = 1; k <= kFullLinesPerRecord; ++k) {
            for (int pos = 1; pos <= nimbo::kFieldsPerLine; ++pos) {
                if (pos > 1)
                    out += ',';
                using namespace nimbo::test::field;
                const BlockPlace block = JetBlockPlace(pos);
                if (IsTextPosition(pos)) {
                    if (pos == kModel)
                        w.quoted(model);
                    else if (pos == kType)
                        w.quoted(types[static_cast<std::size_t>(row % 6)]);
                    else if (pos == kDesignation)
                        w.quoted(std::to_string(95 + 5 * k) + "x" + std::to_string(95 + 5 * k));
                    else if (pos == kSizePicture)
                        w.quoted("pdk");
                    else if (pos == kTypePicture)
                        w.quoted("tip_ceiling_square");
                    else if (pos == kPage)
                        w.quoted("https://www.timbra.example/catalog/pdk-" + std::to_string(row));
                    else if (pos >= RegCaption(1))
                        w.quoted(regCaptions[static_cast<std::size_t>((pos - RegCaption(1)) / 9)]);
                    else if (block.offset == 0)
                        w.quoted(jetCaptions[static_cast<std::size_t>(block.option - 1)]);
                    else
                        w.quoted("");  // reserved texts
                } else if (IsIntPosition(pos)) {
                    if (pos == kLineCount)
                        w.integer(kFullLinesPerRecord);
                    else if (pos == kSectionMode)
                        w.integer(1 + row % 2);  // section mode
                    else
                        w.integer(between(0, 10));  // dL, dB
                } else if (pos == kFm || pos == kFz) {
                    w.decimal(between(100, 9999), 4);  // Fm, Fz in m², "0.0451"
                } else if (pos >= RegCaption(1)) {
                    w.decimal(between(100, 1100), 2);  // kr, "1.15"
                } else if (block.offset == 1) {
                    w.decimal(between(10, 60), 1);  // m, "2.6"
                } else if (block.offset == 2) {
                    w.integer(0);  // mFlat: compact jets
                } else if (block.offset == 3 || block.offset == 4) {
                    w.decimal(between(10, 99), 1);  // Dzeta, DzetaP, "3.4"
                } else if (block.offset == 5) {
                    w.decimal(between(30, 95), 2);  // free-area ratio, "0.85"
                } else {
                    // Two sound sets of 24: a1..a8 around 50 dB, b1..b8
                    // negative slopes, c1..c8 zero as in the shipped file.
                    const int inSet = (block.offset - 12) % 24;
                    if (inSet < 8)
                        w.decimal(between(400, 600), 1);
                    else if (inSet < 16)
                        w.decimal(-between(800, 1300), 1);
                    else
                        w.integer(0);
                }
            }
            out += "\r\n";
        }
    }
    return out;
}

}  // namespace bench
