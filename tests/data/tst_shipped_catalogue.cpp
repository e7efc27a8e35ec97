// The shipped catalogue file and pictures: the committed file is what the
// generator writes from the range texts, it is laid out as the program reads
// it, it loads, it holds the range the maker offers, and every picture and
// page it names is there.
#include <QImageReader>
#include <QtTest>

#include <charconv>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "catalogue/catalogue.h"
#include "catalogue/site.h"
#include "text/cp1251.h"
#include "range.h"
#include "support/catalogue_text.h"

using namespace nimbo;

namespace {

const char* const kProgramFolder = NIMBO_SOURCE_DIR "/data";
const char* const kRangeFolder = NIMBO_SOURCE_DIR "/tools/catalogue/range";

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct Field {
    std::string text;
    bool quoted = false;
};

// Fields of one line as the format defines them: comma separated, a text in
// double quotes may hold commas.
std::vector<Field> SplitFields(const std::string& line)
{
    std::vector<Field> fields;
    std::size_t i = 0;
    while (true) {
        Field f;
        if (i < line.size() && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            f.text = line.substr(i + 1, close - i - 1);
            f.quoted = true;
            i = close + 1;
        } else {
            const std::size_t comma = line.find(',', i);
            f.text = line.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
            i = comma == std::string::npos ? line.size() : comma;
        }
        fields.push_back(f);
        if (i >= line.size())
            break;
        ++i;  // the comma
    }
    return fields;
}

template <typename T>
bool IsNumber(const std::string& text)
{
    T v{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// The smallest range texts the reader accepts; the reader tests spoil them.
const std::string kCommon =
    "heading Проба\nsite https://www.timbra.example/\nsign Timbra sign\n"
    "spectrum flat 0 0 0 0 0 0 0 0\ndamper ПЛ4 b=0°:0.5 b=20°:2 b=40°:8 b=60°:32\n";
const std::string kType =
    "type Решетки\ntype-picture tip grille\n"
    "model РН-1\npage rn-1\npicture rn-1 grille\nsizes listed\nareas rect 20 20\nsections 2\n"
    "velocity 2.5\nsound K=8 n=55 spectrum=flat\njet \"0°\" m=5 zeta=2.2 free=0.8\nsize 300x150\n";

}  // namespace

class TestShippedCatalogue : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void committed_file_is_the_generators_output();
    void every_line_is_laid_out_as_the_program_reads_it();
    void loads_as_the_range_says();
    void range_offers_every_kind_data();
    void range_offers_every_kind();
    void row_follows_the_catalogue_rules_data();
    void row_follows_the_catalogue_rules();
    void every_picture_is_there_data();
    void every_picture_is_there();
    void page_addresses_lie_under_the_makers_site();
    void reader_rejects_faulty_sources_data();
    void reader_rejects_faulty_sources();

private:
    std::string bytes_;
    range::Range range_;
    Catalogue catalogue_;
};

void TestShippedCatalogue::initTestCase()
{
    bytes_ = ReadBytes(std::string(kProgramFolder) + "/A/b");
    QVERIFY2(!bytes_.empty(), "data/A/b is missing or empty");
    std::string error;
    QVERIFY2(range::ReadRange(kRangeFolder, range_, error), error.c_str());
    LoadError loadError;
    QVERIFY2(LoadCatalogue(kProgramFolder, catalogue_, loadError), loadError.message().c_str());
}

void TestShippedCatalogue::committed_file_is_the_generators_output()
{
    const std::string generated = range::CatalogueBytes(range_);
    if (generated != bytes_) {
        const std::vector<std::string> want = SplitLines(generated), have = SplitLines(bytes_);
        std::size_t line = 0;
        while (line < want.size() && line < have.size() && want[line] == have[line])
            ++line;
        QFAIL(("data/A/b differs from the range texts from line " + std::to_string(line + 1) +
               " on; run the regenerate_data target and commit the result")
                  .c_str());
    }
    // Nothing of the texts was lost to the code page.
    QCOMPARE(cp1251::toUtf8(bytes_), range::CatalogueText(range_));
}

void TestShippedCatalogue::every_line_is_laid_out_as_the_program_reads_it()
{
    QVERIFY(bytes_.size() >= 2 && bytes_.substr(bytes_.size() - 2) == "\r\n");
    const std::vector<std::string> lines = SplitLines(bytes_);
    QVERIFY(lines.size() > 1);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::string where = "line " + std::to_string(n + 1) + ": ";
        QVERIFY2(line.find_first_of("\r\n") == std::string::npos, (where + "a line end other than CR LF").c_str());
        if (n == 0)
            continue;  // the heading is free text
        const std::vector<Field> fields = SplitFields(line);
        QVERIFY2(fields.size() == kFieldsPerLine, (where + std::to_string(fields.size()) + " fields").c_str());
        for (int pos = 1; pos <= kFieldsPerLine; ++pos) {
            const Field& f = fields[static_cast<std::size_t>(pos - 1)];
            const std::string at = where + "field " + std::to_string(pos) + " «" + cp1251::toUtf8(f.text) + "»";
            if (test::IsTextPosition(pos))
                QVERIFY2(f.quoted, (at + " is a text and must be quoted").c_str());
            else if (test::IsIntPosition(pos))
                QVERIFY2(!f.quoted && IsNumber<int>(f.text), (at + " must be a whole number").c_str());
            else
                QVERIFY2(!f.quoted && IsNumber<double>(f.text) && f.text.find('e') == std::string::npos,
                         (at + " must be a plain decimal number").c_str());
        }
    }
}

void TestShippedCatalogue::loads_as_the_range_says()
{
    std::size_t models = 0, lines = 0;
    for (const range::Type& t : range_.types)
        for (const range::Model& m : t.models) {
            ++models;
            lines += m.mode == range::SizeMode::Listed ? m.sizes.size() : 1;
        }
    QCOMPARE(catalogue_.recordCount(), static_cast<int>(models));
    QCOMPARE(SplitLines(bytes_).size(), lines + 1);
    // The maker's range: six to eight types, thirty to sixty models.
    QVERIFY(catalogue_.typeNames().size() >= 6 && catalogue_.typeNames().size() <= 8);
    QVERIFY(catalogue_.recordCount() >= 30 && catalogue_.recordCount() <= 60);
    QCOMPARE(catalogue_.typeNames().size(), range_.types.size());
    // Each model appears once: the window finds a model by its name.
    std::set<std::string> names;
    for (int row = 1; row <= catalogue_.recordCount(); ++row)
        QVERIFY2(names.insert(std::string(catalogue_.modelName(row))).second,
                 std::string(catalogue_.modelName(row)).c_str());
}

namespace {

using RowTest = std::function<bool(const Catalogue&, int row)>;

bool Slot(const Catalogue& c, int row) { return c.sizeMode(row) == SizeMode::Slot; }
bool Free(const Catalogue& c, int row) { return c.sizeMode(row) == SizeMode::Free; }

// Characters of a UTF-8 name, one string per character.
std::vector<std::string> Characters(std::string_view name)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char b = static_cast<unsigned char>(name[i]);
        const std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 4;
        out.emplace_back(name.substr(i, len));
        i += len;
    }
    return out;
}

std::string SeriesAt2to4(std::string_view name)
{
    const auto ch = Characters(name);
    return ch.size() >= 4 ? ch[1] + ch[2] + ch[3] : "";
}

std::string LastThree(std::string_view name)
{
    const auto ch = Characters(name);
    return ch.size() >= 3 ? ch[ch.size() - 3] + ch[ch.size() - 2] + ch[ch.size() - 1] : "";
}

int RegulatorPositions(const SizeLine& l)
{
    int n = 0;
    while (n < 5 && l.regCaption(n + 1) != "n")
        ++n;
    return n;
}

int JetOptions(const SizeLine& l)
{
    int n = 0;
    while (n < 4 && l.jetCaption(n + 1) != "n")
        ++n;
    return n;
}

const std::vector<std::pair<const char*, RowTest>>& Kinds()
{
    static const std::vector<std::pair<const char*, RowTest>> kinds{
        {"listed sizes", [](const Catalogue& c, int r) { return !Free(c, r) && !Slot(c, r) && c.sizeLineCount(r) > 3; }},
        {"free size A x B", Free},
        {"slot of free length", Slot},
        {"slot series ДМЖ at characters 2-4",
         [](const Catalogue& c, int r) { return Slot(c, r) && SeriesAt2to4(c.modelName(r)) == "ДМЖ"; }},
        {"slot series ending in ДМЗ", [](const Catalogue& c, int r) { return Slot(c, r) && LastThree(c.modelName(r)) == "ДМЗ"; }},
        {"slot series ending in ДПЗ", [](const Catalogue& c, int r) { return Slot(c, r) && LastThree(c.modelName(r)) == "ДПЗ"; }},
        {"slot series ending in ДТЗ", [](const Catalogue& c, int r) { return Slot(c, r) && LastThree(c.modelName(r)) == "ДТЗ"; }},
        {"two jet-form options", [](const Catalogue& c, int r) { return JetOptions(c.line(r, 1)) == 2; }},
        {"three jet-form options", [](const Catalogue& c, int r) { return JetOptions(c.line(r, 1)) == 3; }},
        {"four jet-form options", [](const Catalogue& c, int r) { return JetOptions(c.line(r, 1)) == 4; }},
        {"no jet-form regulator", [](const Catalogue& c, int r) { return JetOptions(c.line(r, 1)) == 0; }},
        {"4-position flow regulator", [](const Catalogue& c, int r) { return RegulatorPositions(c.line(r, 1)) == 4; }},
        {"5-position flow regulator", [](const Catalogue& c, int r) { return RegulatorPositions(c.line(r, 1)) == 5; }},
        {"flow regulator of the outlet itself",
         [](const Catalogue& c, int r) { return RegulatorPositions(c.line(r, 1)) > 0 && c.line(r, 1).dzetaP(1) == 0; }},
        {"plenum with flow regulator",
         [](const Catalogue& c, int r) { return c.line(r, 1).dzetaP(1) != 0 && RegulatorPositions(c.line(r, 1)) > 0; }},
        {"plenum without flow regulator",
         [](const Catalogue& c, int r) { return c.line(r, 1).dzetaP(1) != 0 && RegulatorPositions(c.line(r, 1)) == 0; }},
        {"only with plenum", [](const Catalogue& c, int r) { return c.line(r, 1).dzetaP(1) != 0 && c.line(r, 1).dzeta(1) == 0; }},
        {"regulator values of its own for a jet form",
         [](const Catalogue& c, int r) { return JetOptions(c.line(r, 1)) > 1 && c.line(r, 1).kr(2, 1) != 0; }},
        {"regulator values shared by the jet forms",
         [](const Catalogue& c, int r) {
             return JetOptions(c.line(r, 1)) > 1 && RegulatorPositions(c.line(r, 1)) > 0 && c.line(r, 1).kr(2, 1) == 0;
         }},
        {"section mode 0", [](const Catalogue& c, int r) { return c.line(r, 1).sectionMode() == 0; }},
        {"section mode 1", [](const Catalogue& c, int r) { return c.line(r, 1).sectionMode() == 1; }},
        {"section mode 2", [](const Catalogue& c, int r) { return c.line(r, 1).sectionMode() == 2; }},
        {"flat-jet coefficient", [](const Catalogue& c, int r) { return c.line(r, 1).mFlat() != 0; }},
    };
    return kinds;
}

}  // namespace

void TestShippedCatalogue::range_offers_every_kind_data()
{
    QTest::addColumn<int>("kind");
    for (std::size_t i = 0; i < Kinds().size(); ++i)
        QTest::newRow(Kinds()[i].first) << static_cast<int>(i);
}

void TestShippedCatalogue::range_offers_every_kind()
{
    QFETCH(int, kind);
    const RowTest& has = Kinds()[static_cast<std::size_t>(kind)].second;
    bool found = false;
    for (int row = 1; row <= catalogue_.recordCount() && !found; ++row)
        found = has(catalogue_, row);
    QVERIFY(found);
}

void TestShippedCatalogue::row_follows_the_catalogue_rules_data()
{
    QTest::addColumn<int>("row");
    for (int row = 1; row <= catalogue_.recordCount(); ++row)
        QTest::newRow(std::string(catalogue_.modelName(row)).c_str()) << row;
}

// What the window and the calculation take for granted of a row, and the
// ranges its figures must keep to.
void TestShippedCatalogue::row_follows_the_catalogue_rules()
{
    QFETCH(int, row);
    const std::string name(catalogue_.modelName(row));
    const bool free = Free(catalogue_, row), slot = Slot(catalogue_, row);
    // Series codes make the calculation take special coefficients: only
    // slots may carry them.
    if (!slot) {
        QVERIFY(SeriesAt2to4(name) != "ДМЖ");
        for (const char* code : {"ДМЗ", "ДПЗ", "ДТЗ"})
            QVERIFY(LastThree(name) != code);
    }
    if (free || slot)
        QCOMPARE(catalogue_.sizeLineCount(row), 1);

    for (int k = 1; k <= catalogue_.sizeLineCount(row); ++k) {
        const SizeLine l = catalogue_.line(row, k);
        const std::string at = name + " " + std::string(l.designation()) + ": ";
        // Rating and duct sections need the duct, which only a free size has.
        QVERIFY2(l.sectionMode() != 1 || free, (at + "section mode 1 without a typed duct size").c_str());
        QVERIFY2(l.sectionMode() >= 0 && l.sectionMode() <= 2, at.c_str());
        // The flat jet needs the typed slot length.
        QVERIFY2(l.mFlat() == 0 || slot, (at + "flat-jet coefficient on an outlet without a length").c_str());
        if (SeriesAt2to4(name) == "ДМЖ")
            QVERIFY2(l.mFlat() > 0, (at + "the ДМЖ series always takes the flat jet").c_str());
        if (l.mFlat() != 0)
            QVERIFY2(l.mFlat() >= 2 && l.mFlat() <= 3, at.c_str());

        // Captions: "n" in the first one ends the group.
        const int jets = JetOptions(l), positions = RegulatorPositions(l);
        for (int j = jets + 1; j <= 4; ++j)
            QVERIFY2(l.jetCaption(j) == "n", (at + "a jet-form option after an absent one").c_str());
        for (int p = positions + 1; p <= 5; ++p)
            QVERIFY2(l.regCaption(p) == "n", (at + "a regulator position after an absent one").c_str());
        QVERIFY2(positions == 0 || positions >= 4, (at + "a regulator has 4 or 5 positions").c_str());

        QVERIFY2(l.fmValue() > 0 && l.fzValue() > 0, at.c_str());
        // Areas in m2: from a 100 mm nozzle to a 1000 x 300 mm grille.
        if (!free && !slot)
            QVERIFY2(l.fmValue() > 0.003f && l.fmValue() < 0.5f && l.fzValue() > 0.003f && l.fzValue() < 0.5f,
                     (at + "an area outside 0.003..0.5 m2").c_str());

        const bool plenum = l.dzetaP(1) != 0, plain = l.dzeta(1) != 0;
        QVERIFY2(plenum || plain, (at + "neither with nor without plenum").c_str());
        for (int j = 1; j <= std::max(jets, 1); ++j) {
            const std::string opt = at + "option " + std::to_string(j) + ": ";
            QVERIFY2(l.m(j) >= 1 && l.m(j) <= 7, (opt + "m outside 1..7").c_str());
            QVERIFY2(l.freeAreaRatio(j) > 0 && l.freeAreaRatio(j) <= 1, (opt + "free-area ratio").c_str());
            if (plain)
                QVERIFY2(l.dzeta(j) >= 0.8f && l.dzeta(j) <= 8, (opt + "zeta outside 0.8..8").c_str());
            if (plenum)
                QVERIFY2(l.dzetaP(j) > l.dzeta(j) && l.dzetaP(j) <= 20, (opt + "plenum zeta").c_str());
            // Every configuration offered has sound data (a5 is the 1000 Hz slope).
            if (plain)
                QVERIFY2(l.sound(j)[4] >= 45 && l.sound(j)[4] <= 65, (opt + "sound slope").c_str());
            if (plenum)
                QVERIFY2(l.soundP(j)[4] >= 45 && l.soundP(j)[4] <= 65, (opt + "sound slope with plenum").c_str());
            // The regulator's loss and noise grow as it closes.
            if (positions > 0 && (j == 1 || l.kr(j, 1) != 0))
                for (int p = 2; p <= positions; ++p) {
                    QVERIFY2(l.kr(j, p) > l.kr(j, p - 1), (opt + "kr does not grow").c_str());
                    QVERIFY2(l.dL(j, p) >= l.dL(j, p - 1) && l.dL(j, p) <= 15, (opt + "dL").c_str());
                }
        }
        QVERIFY2(jets == 0 || l.kr(1, 1) != 0 || positions == 0, at.c_str());
    }
}

void TestShippedCatalogue::every_picture_is_there_data()
{
    QTest::addColumn<QString>("name");
    std::set<std::string> names{"Timbra"};
    for (int row = 1; row <= catalogue_.recordCount(); ++row) {
        names.insert(std::string(catalogue_.typePictureName(row)));
        names.insert(std::string(catalogue_.line(row, 1).sizePictureName()));
    }
    for (const std::string& n : names)
        QTest::newRow(n.c_str()) << QString::fromStdString(n);
}

void TestShippedCatalogue::every_picture_is_there()
{
    QFETCH(QString, name);
    QVERIFY(!name.isEmpty());
    // The picture box holds 200 x 94 pixels.
    QImageReader reader(QString::fromUtf8(kProgramFolder) + "/jpg/" + name + ".jpg");
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(200, 94));
}

void TestShippedCatalogue::page_addresses_lie_under_the_makers_site()
{
    QCOMPARE(range_.site, std::string(site::kAddress));
    const std::string base = std::string(site::kAddress) + "catalog/";
    std::set<std::string> pages;
    for (int row = 1; row <= catalogue_.recordCount(); ++row) {
        const std::string page(catalogue_.pageAddress(row));
        QVERIFY2(page.starts_with(base) && page.size() > base.size(), page.c_str());
        QVERIFY2(page.find_first_of(" \"',") == std::string::npos, page.c_str());
        QVERIFY2(pages.insert(page).second, ("two models share " + page).c_str());
    }
}

void TestShippedCatalogue::reader_rejects_faulty_sources_data()
{
    QTest::addColumn<QString>("replace");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("error");  // the start of the expected message; empty = accepted

    QTest::newRow("sample accepted") << "" << "" << "";
    QTest::newRow("unknown key") << "sections 2\n" << "sections 2\ncolour red\n" << "2_type.txt:9: непонятная строка";
    QTest::newRow("rating and duct sections on listed sizes")
        << "sections 2" << "sections 1" << "2_type.txt:3: модель РН-1: sections 1";
    QTest::newRow("flat jet on a grille") << "sections 2\n" << "sections 2\nflat 2.4\n" << "2_type.txt:3: модель РН-1: коэффициент плоской струи";
    QTest::newRow("slot series code on a grille") << "model РН-1" << "model 1ДМЖ" << "2_type.txt:3: модель 1ДМЖ: коды серий";
    QTest::newRow("plenum on one jet form only")
        << "free=0.8\n" << "plenum=3 free=0.8\njet \"45°\" m=3.2 zeta=3.4 free=0.6\n" << "2_type.txt:3: модель РН-1: камера";
    QTest::newRow("unknown damper") << "sections 2\n" << "sections 2\ndamper ПЛ9\n" << "2_type.txt:9: регулятор «ПЛ9»";
    QTest::newRow("slot damper without plenum")
        << "sizes listed\nareas rect 20 20\nsections 2\nvelocity 2.5\nsound K=8 n=55 spectrum=flat\n"
           "jet \"0°\" m=5 zeta=2.2 free=0.8\nsize 300x150\n"
        << "sizes length 0.03 0.02\nsections 2\nvelocity 2\nsound K=8 n=55 spectrum=flat\nflat 2.4\n"
           "damper ПЛ4\njet \"0°\" m=3.5 zeta=2.2 free=0.9\n"
        << "2_type.txt:3: модель РН-1: у щелевого диффузора";
    QTest::newRow("comma decimal") << "m=5" << "m=5,0" << "2_type.txt:11: ожидалось число с точкой";
    QTest::newRow("five jet forms")
        << "free=0.8\n"
        << "free=0.8\njet \"a\" m=4 zeta=2\njet \"b\" m=4 zeta=2\njet \"c\" m=4 zeta=2\njet \"d\" m=4 zeta=2\n"
        << "2_type.txt:15: вариантов формы струи не больше четырёх";
}

void TestShippedCatalogue::reader_rejects_faulty_sources()
{
    QFETCH(QString, replace);
    QFETCH(QString, with);
    QFETCH(QString, error);
    std::string type = kType;
    if (!replace.isEmpty()) {
        const std::string from = replace.toStdString();
        const std::size_t at = type.find(from);
        QVERIFY2(at != std::string::npos, "the test's replacement does not fit the sample");
        type.replace(at, from.size(), with.toStdString());
    }
    range::Range range;
    std::string message;
    const bool ok = range::ParseRange({{"common.txt", kCommon}, {"2_type.txt", type}}, range, message);
    if (error.isEmpty()) {
        QVERIFY2(ok, message.c_str());
        QCOMPARE(range.types.size(), std::size_t(1));
    } else {
        QVERIFY(!ok);
        QVERIFY2(message.starts_with(error.toStdString()), message.c_str());
    }
}

QTEST_GUILESS_MAIN(TestShippedCatalogue)
#include "tst_shipped_catalogue.moc"
