// The catalogue loader on small files written by the tests: how lines group
// into records, how fields are read, and that every malformed file is refused
// with the line and field of the fault.
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <charconv>
#include <cstdint>
#include <functional>
#include <random>

#include "catalogue/catalogue.h"
#include "text/cp1251.h"
#include "support/catalogue_text.h"

using namespace nimbo;
using nimbo::test::FileBytes;
using nimbo::test::Line;
using nimbo::test::Record;
namespace field = nimbo::test::field;

namespace {

QByteArray Bytes(const std::string& s) { return QByteArray::fromStdString(s); }
QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// Puts `raw` (file bytes, not re-encoded) where the field value "@@" stands.
std::string WithRaw(std::string bytes, std::string_view raw)
{
    const auto at = bytes.find("@@");
    Q_ASSERT(at != std::string::npos);
    return bytes.replace(at, 2, raw);
}

std::string Replace(std::string s, std::string_view from, std::string_view to)
{
    for (auto at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// A file whose first size line holds `raw` at `position`, other fields default.
std::string OneLineWithRaw(int position, std::string_view raw)
{
    return WithRaw(FileBytes({Record("М", "Т", "100").set(position, "@@")}), raw);
}

// The first `fields` fields of a line, as its text would be written.
std::string CutLine(const Line& line, int fields)
{
    std::string text = line.text();
    std::size_t at = 0;
    for (int i = 0; i < fields; ++i)
        at = text.find(',', at) + 1;
    return text.substr(0, at - 1);
}

std::vector<Line> Records(int count)
{
    std::vector<Line> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(Record("М" + std::to_string(i), "Т", "100"));
    return lines;
}

std::vector<Line> RecordWithLines(int count)
{
    std::vector<Line> lines{Record("М", "Т", "1", count)};
    for (int k = 2; k <= count; ++k)
        lines.push_back(Line().set(3, std::to_string(k)));
    return lines;
}

struct Loaded {
    Catalogue cat;
    LoadError error;
    bool ok = false;
};

Loaded Load(const std::string& bytes)
{
    Loaded l;
    l.ok = LoadCatalogueFromBytes(bytes, "каталог", l.cat, l.error);
    return l;
}

using FloatReader = std::function<float(const SizeLine&)>;
using IntReader = std::function<std::int16_t(const SizeLine&)>;
using TextReader = std::function<std::string_view(const SizeLine&)>;

// Every field of the line holds a value telling its position: texts "t<pos>",
// int16 fields <pos>, floats <pos>.5 (exact in single precision).
bool IsRowText(int pos) { return pos == 1 || pos == 2 || pos == 291 || pos == 292; }
float FloatAt(int pos) { return static_cast<float>(pos) + 0.5f; }
std::string TextAt(int pos) { return "t" + std::to_string(pos); }

Line PositionTaggedLine()
{
    Line line;
    for (int pos = 1; pos <= kFieldsPerLine; ++pos) {
        if (pos == 4)
            line.set(pos, "1");
        else if (test::IsTextPosition(pos))
            line.set(pos, TextAt(pos));
        else if (test::IsIntPosition(pos))
            line.set(pos, std::to_string(pos));
        else
            line.set(pos, std::to_string(pos) + ".5");
    }
    return line;
}

}  // namespace

Q_DECLARE_METATYPE(FloatReader)
Q_DECLARE_METATYPE(IntReader)
Q_DECLARE_METATYPE(TextReader)

class TestCatalogueLoader : public QObject {
    Q_OBJECT

private slots:
    void groups_lines_into_records_data();
    void groups_lines_into_records();
    void reads_text_fields_data();
    void reads_text_fields();
    void reads_float_fields_data();
    void reads_float_fields();
    void every_float_is_the_nearest_single();
    void reads_int16_fields_data();
    void reads_int16_fields();
    void refuses_malformed_file_data();
    void refuses_malformed_file();
    void failed_load_leaves_catalogue_empty();
    void row_texts_come_from_last_line();
    void type_list_keeps_first_appearance_data();
    void type_list_keeps_first_appearance();
    void every_position_reads_its_own_field();
    void float_accessors_read_their_positions_data();
    void float_accessors_read_their_positions();
    void int_accessors_read_their_positions_data();
    void int_accessors_read_their_positions();
    void text_accessors_read_their_positions_data();
    void text_accessors_read_their_positions();
    void unfilled_entries_read_empty_data();
    void unfilled_entries_read_empty();
    void loads_from_program_folder_data();
    void loads_from_program_folder();
    void tables_stay_close_to_value_size();
};

void TestCatalogueLoader::groups_lines_into_records_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("sizes");  // per row: designations joined by '|'

    QTest::newRow("heading only") << Bytes(FileBytes({})) << QStringList{};
    QTest::newRow("heading without line end") << Bytes(cp1251::fromUtf8("Каталог")) << QStringList{};
    QTest::newRow("free size takes one line whatever its count says")
        << Bytes(FileBytes({Record("А", "Т", "n", 5), Record("Б", "Т", "100", 1)})) << QStringList{"n", "100"};
    QTest::newRow("slot grille takes its count of lines")
        << Bytes(FileBytes({Record("А", "Т", "dlina", 3), Line().set(3, "1000"), Line().set(3, "2000"),
                            Record("Б", "Т", "n")}))
        << QStringList{"dlina|1000|2000", "n"};
    QTest::newRow("listed sizes take their count of lines")
        << Bytes(FileBytes({Record("А", "Т", "100", 2), Line().set(3, "200"), Record("Б", "Т", "300")}))
        << QStringList{"100|200", "300"};
    QTest::newRow("count 0 takes one line")
        << Bytes(FileBytes({Record("А", "Т", "100", 0), Record("Б", "Т", "200", 1)})) << QStringList{"100", "200"};
    QTest::newRow("negative count takes one line")
        << Bytes(FileBytes({Record("А", "Т", "100", -3), Record("Б", "Т", "200")})) << QStringList{"100", "200"};
    QTest::newRow("empty count field takes one line")
        << Bytes(FileBytes({Record("А", "Т", "100").set(4, ""), Record("Б", "Т", "200")}))
        << QStringList{"100", "200"};
    QTest::newRow("count on a later line is ignored")
        << Bytes(FileBytes({Record("А", "Т", "100", 2), Line().set(3, "200").set(4, "5"), Record("Б", "Т", "300")}))
        << QStringList{"100|200", "300"};
    QTest::newRow("LF-only line ends")
        << Bytes(Replace(FileBytes({Record("А", "Т", "100", 2), Line().set(3, "200")}), "\r\n", "\n"))
        << QStringList{"100|200"};
    QTest::newRow("mixed CR LF and LF line ends")
        << Bytes(cp1251::fromUtf8("Каталог\n" + Record("А", "Т", "100").text() + "\r\n" +
                                  Record("Б", "Т", "200").text() + "\n"))
        << QStringList{"100", "200"};
    QTest::newRow("empty lines after the last record")
        << Bytes(FileBytes({Record("А", "Т", "100")}) + "\r\n\r\n\n") << QStringList{"100"};
    std::string noLastLineEnd = FileBytes({Record("А", "Т", "100")});
    noLastLineEnd.resize(noLastLineEnd.size() - 2);
    QTest::newRow("no line end after the last line") << Bytes(noLastLineEnd) << QStringList{"100"};

    QStringList twoHundred;
    for (int k = 1; k <= kMaxSizeLines; ++k)
        twoHundred << QString::number(k);
    QTest::newRow("200 size lines load") << Bytes(FileBytes(RecordWithLines(kMaxSizeLines)))
                                         << QStringList{twoHundred.join('|')};
    QStringList thousand;
    for (int i = 1; i <= kMaxRows; ++i)
        thousand << "100";
    QTest::newRow("1000 records load") << Bytes(FileBytes(Records(kMaxRows))) << thousand;
}

void TestCatalogueLoader::groups_lines_into_records()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, sizes);

    const Loaded l = Load(bytes.toStdString());
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(l.cat.recordCount(), sizes.size());
    for (int row = 1; row <= l.cat.recordCount(); ++row) {
        const QStringList expected = sizes[row - 1].split('|');
        QCOMPARE(l.cat.sizeLineCount(row), expected.size());
        for (int k = 1; k <= expected.size(); ++k)
            QCOMPARE(Text(l.cat.sizeDesignation(row, k)), expected[k - 1]);
        QCOMPARE(Text(l.cat.sizeDesignation(row, expected.size() + 1)), QString());
        const SizeMode mode = expected[0] == "n" ? SizeMode::Free : expected[0] == "dlina" ? SizeMode::Slot : SizeMode::Listed;
        QCOMPARE(l.cat.sizeMode(row), mode);
    }
}

void TestCatalogueLoader::reads_text_fields_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("raw");  // as written in the file (Windows-1251)
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << 8 << QByteArray("abc") << "abc";
    QTest::newRow("blanks around are dropped") << 8 << QByteArray("  abc\t") << "abc";
    QTest::newRow("quoted with a comma") << 8 << QByteArray("\"a,b\"") << "a,b";
    QTest::newRow("quoted with several commas") << 3 << QByteArray("\"1,5 x 2,0\"") << "1,5 x 2,0";
    QTest::newRow("blanks outside quotes are dropped") << 8 << QByteArray("  \"x y\"  ") << "x y";
    QTest::newRow("blanks inside quotes are kept") << 8 << QByteArray("\" x \"") << " x ";
    QTest::newRow("empty quoted") << 8 << QByteArray("\"\"") << "";
    QTest::newRow("empty") << 8 << QByteArray("") << "";
    QTest::newRow("quote inside an unquoted text is kept") << 8 << QByteArray("ab\"c") << "ab\"c";
    QTest::newRow("Cyrillic is decoded")
        << 8 << Bytes(cp1251::fromUtf8("Решётка №1 «Ёж»")) << QString::fromUtf8("Решётка №1 «Ёж»");
    QTest::newRow("Cyrillic model name") << 1 << QByteArray("\xC4\xCC\xC6-\xE0\xFF\xA8\xB8")
                                         << QString::fromUtf8("ДМЖ-аяЁё");
    QTest::newRow("quoted page address") << 292 << QByteArray("\"https://a.example/?x=1,2\"")
                                         << "https://a.example/?x=1,2";
    QTest::newRow("unassigned byte 0x98 decodes to U+FFFD") << 290 << QByteArray("a\x98") << QString::fromUtf8("a\uFFFD");
}

void TestCatalogueLoader::reads_text_fields()
{
    QFETCH(int, position);
    QFETCH(QByteArray, raw);
    QFETCH(QString, expected);

    const Loaded l = Load(OneLineWithRaw(position, raw.toStdString()));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(l.cat.recordCount(), 1);
    std::string_view value;
    switch (position) {
    case 1: value = l.cat.modelName(1); break;
    case 2: value = l.cat.typeName(1); break;
    case 291: value = l.cat.typePictureName(1); break;
    case 292: value = l.cat.pageAddress(1); break;
    default: value = l.cat.line(1, 1).textField(position);
    }
    QCOMPARE(Text(value), expected);
}

void TestCatalogueLoader::reads_float_fields_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<float>("expected");

    QTest::newRow("empty reads 0") << QByteArray("") << 0.0f;
    QTest::newRow("blanks only read 0") << QByteArray("   ") << 0.0f;
    QTest::newRow("blanks around") << QByteArray(" 1.5\t") << 1.5f;
    QTest::newRow("0.1 is the single nearest 0.1") << QByteArray("0.1") << 0.1f;
    QTest::newRow("0.3 rounded once, to single") << QByteArray("0.30000001192092896") << 0.3f;
    QTest::newRow("negative") << QByteArray("-0.25") << -0.25f;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000.0f;
    QTest::newRow("capital exponent") << QByteArray("2.5E-3") << 2.5e-3f;
    QTest::newRow("no leading digit") << QByteArray(".5") << 0.5f;
    QTest::newRow("no digit after point") << QByteArray("5.") << 5.0f;
    QTest::newRow("no-data marker") << QByteArray("111111") << 111111.0f;
    QTest::newRow("largest single") << QByteArray("3.4028234e38") << 3.4028234e38f;
    QTest::newRow("subnormal kept") << QByteArray("1e-40") << 1e-40f;
}

void TestCatalogueLoader::reads_float_fields()
{
    QFETCH(QByteArray, raw);
    QFETCH(float, expected);

    const Loaded l = Load(OneLineWithRaw(5, raw.toStdString()));
    QVERIFY2(l.ok, l.error.message().c_str());
    // Bit for bit: the calculation starts from exactly this stored single.
    QCOMPARE(std::bit_cast<std::uint32_t>(l.cat.line(1, 1).fmValue()), std::bit_cast<std::uint32_t>(expected));
}

void TestCatalogueLoader::every_float_is_the_nearest_single()
{
    // Decimals of every length around the loader's short-number path, each
    // compared bit for bit with what from_chars makes of the same text.
    std::vector<std::string> texts = {"9999999", "16777216", "16777217", "-16777217", "0.0000001", "1234.567",
                                      "0.1234567", "-0", "-.5", "5.", "3.4028235e38", "0.30000001", "8388608.5",
                                      "0.00000000000000000000000000000000000001"};
    std::mt19937 random(20190301);
    std::uniform_int_distribution<int> digitCount(1, 10), digit(0, 9), coin(0, 1);
    while (texts.size() < 40 * 231) {
        std::string t = coin(random) ? "-" : "";
        const int n = digitCount(random);
        const int point = std::uniform_int_distribution<int>(0, n)(random);
        for (int i = 0; i < n; ++i) {
            if (i == point && i > 0)
                t += '.';
            t += static_cast<char>('0' + digit(random));
        }
        texts.push_back(t);
    }

    std::vector<Line> lines{Record("М", "Т", "1", 40)};
    lines.resize(40);
    std::vector<int> positions;
    for (int pos = 5; pos <= kFieldsPerLine; ++pos)
        if (!test::IsTextPosition(pos) && !test::IsIntPosition(pos))
            positions.push_back(pos);
    QCOMPARE(positions.size(), std::size_t{231});
    for (std::size_t i = 0; i < texts.size(); ++i)
        lines[i / 231].set(positions[i % 231], texts[i]);

    const Loaded l = Load(FileBytes(lines));
    QVERIFY2(l.ok, l.error.message().c_str());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        float expected = 0.0f;
        const std::string& t = texts[i];
        QVERIFY(std::from_chars(t.data(), t.data() + t.size(), expected).ec == std::errc());
        const float loaded = l.cat.line(1, static_cast<int>(i / 231) + 1).floatField(positions[i % 231]);
        QVERIFY2(std::bit_cast<std::uint32_t>(loaded) == std::bit_cast<std::uint32_t>(expected), t.c_str());
    }
}

void TestCatalogueLoader::reads_int16_fields_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty reads 0") << 7 << QByteArray("") << 0;
    QTest::newRow("blanks around") << 7 << QByteArray(" 2 ") << 2;
    QTest::newRow("lowest") << 7 << QByteArray("-32768") << -32768;
    QTest::newRow("highest") << 7 << QByteArray("32767") << 32767;
    QTest::newRow("dL(4,5) negative") << 289 << QByteArray("-7") << -7;
}

void TestCatalogueLoader::reads_int16_fields()
{
    QFETCH(int, position);
    QFETCH(QByteArray, raw);
    QFETCH(int, expected);

    const Loaded l = Load(OneLineWithRaw(position, raw.toStdString()));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(int(l.cat.line(1, 1).intField(position)), expected);
}

void TestCatalogueLoader::refuses_malformed_file_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("what");  // a telling part of the reason

    const std::string good = FileBytes({Record("А", "Т", "100"), Record("Б", "Т", "200")});

    QTest::newRow("empty file") << QByteArray() << 0 << 0 << "пуст";
    QTest::newRow("CR-only line ends") << Bytes(Replace(good, "\r\n", "\r")) << 1 << 0 << "CR";
    QTest::newRow("CR alone after a data line")
        << Bytes(cp1251::fromUtf8("Каталог\r\n" + Record("А", "Т", "100").text() + "\r" +
                                  Record("Б", "Т", "200").text() + "\r\n"))
        << 2 << 292 << "CR";
    QTest::newRow("NUL in the heading") << Bytes(std::string("Cata\0log\r\n", 10)) << 1 << 0 << "нулевой байт";
    QTest::newRow("NUL in a number") << Bytes(OneLineWithRaw(5, std::string("1\0", 2))) << 2 << 5 << "нулевой байт";
    QTest::newRow("NUL in a text") << Bytes(OneLineWithRaw(14, std::string("a\0b", 3))) << 2 << 14 << "нулевой байт";
    QTest::newRow("NUL inside quotes") << Bytes(OneLineWithRaw(8, std::string("\"a\0b\"", 5))) << 2 << 8
                                       << "нулевой байт";
    QTest::newRow("unclosed quote") << Bytes(OneLineWithRaw(8, "\"abc")) << 2 << 8 << "кавычка не закрыта";
    std::string unclosedAtEnd = OneLineWithRaw(292, "\"abc");
    unclosedAtEnd.resize(unclosedAtEnd.size() - 2);
    QTest::newRow("unclosed quote at the end of the file") << Bytes(unclosedAtEnd) << 2 << 292 << "кавычка не закрыта";
    QTest::newRow("text after a closing quote") << Bytes(OneLineWithRaw(3, "\"ab\"c")) << 2 << 3 << "кавычки";
    QTest::newRow("293 fields") << Bytes(OneLineWithRaw(292, "x,y")) << 2 << 293 << "больше 292";
    // The shifted fields fail where a text lands on a number.
    QTest::newRow("decimal comma shifts the fields") << Bytes(OneLineWithRaw(5, "1,5")) << 2 << 9
                                                     << "ожидалось число";
    QTest::newRow("291 fields")
        << Bytes(cp1251::fromUtf8("Каталог\r\n" + CutLine(Record("А", "Т", "100"), 291) + "\r\n")) << 2 << 292
        << "полей в ней 291";
    QTest::newRow("file cut inside a line")
        << Bytes(cp1251::fromUtf8("Каталог\r\n" + Record("А", "Т", "100").text() + "\r\n" +
                                  CutLine(Record("Б", "Т", "200"), 100)))
        << 3 << 101 << "полей в ней 100";
    QTest::newRow("file ends before the record's last line")
        << Bytes(FileBytes({Record("А", "Т", "100", 3), Line()})) << 4 << 0 << "посреди записи";
    QTest::newRow("empty line between records")
        << Bytes(Replace(good, cp1251::fromUtf8("\r\nБ"), cp1251::fromUtf8("\r\n\r\nБ"))) << 3 << 0
        << "пустая строка";
    QTest::newRow("int16 above range") << Bytes(OneLineWithRaw(7, "32768")) << 2 << 7 << "−32768..32767";
    QTest::newRow("int16 below range in dL(4,5)") << Bytes(OneLineWithRaw(289, "-32769")) << 2 << 289
                                                   << "−32768..32767";
    QTest::newRow("int16 far out of range") << Bytes(OneLineWithRaw(250, "99999999999999999999999")) << 2 << 250
                                             << "−32768..32767";
    QTest::newRow("line count out of range") << Bytes(OneLineWithRaw(4, "40000")) << 2 << 4 << "−32768..32767";
    QTest::newRow("line count out of range on a later line")
        << Bytes(FileBytes({Record("А", "Т", "100", 2), Line().set(4, "40000")})) << 3 << 4 << "−32768..32767";
    QTest::newRow("int16 with a fraction") << Bytes(OneLineWithRaw(7, "1.5")) << 2 << 7 << "целое число";
    QTest::newRow("int16 not a number") << Bytes(OneLineWithRaw(7, "два")) << 2 << 7 << "целое число";
    QTest::newRow("float not a number") << Bytes(OneLineWithRaw(5, "abc")) << 2 << 5 << "ожидалось число";
    QTest::newRow("float with a plus sign") << Bytes(OneLineWithRaw(5, "+1")) << 2 << 5 << "ожидалось число";
    QTest::newRow("float with trailing text") << Bytes(OneLineWithRaw(9, "1.5m")) << 2 << 9 << "ожидалось число";
    QTest::newRow("float overflows single") << Bytes(OneLineWithRaw(6, "1e39")) << 2 << 6 << "одинарной точности";
    QTest::newRow("float underflows single") << Bytes(OneLineWithRaw(6, "1e-50")) << 2 << 6 << "одинарной точности";
    QTest::newRow("float infinity") << Bytes(OneLineWithRaw(6, "inf")) << 2 << 6 << "конечное число";
    QTest::newRow("float nan") << Bytes(OneLineWithRaw(6, "nan")) << 2 << 6 << "конечное число";
    QTest::newRow("fault on the third line of the second record, LF line ends")
        << Bytes(Replace(FileBytes({Record("А", "Т", "100"), Record("Б", "Т", "200", 3), Line(),
                                    Line().set(9, "x")}),
                         "\r\n", "\n"))
        << 5 << 9 << "ожидалось число";
    std::vector<Line> tooMany = Records(kMaxRows + 1);
    QTest::newRow("1001 records") << Bytes(FileBytes(tooMany)) << kMaxRows + 2 << 0 << "больше 1000 записей";
    QTest::newRow("201 size lines") << Bytes(FileBytes(RecordWithLines(kMaxSizeLines + 1))) << 2 << 4
                                    << "не более 200";
}

void TestCatalogueLoader::refuses_malformed_file()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(QString, what);

    const Loaded l = Load(bytes.toStdString());
    QVERIFY(!l.ok);
    QCOMPARE(l.error.line, line);
    QCOMPARE(l.error.field, field);
    QVERIFY2(Text(l.error.what).contains(what), l.error.what.c_str());
    QCOMPARE(l.cat.recordCount(), 0);

    const QString message = Text(l.error.message());
    QVERIFY2(message.contains(QString::fromUtf8("«каталог»")), qPrintable(message));
    QCOMPARE(message.contains(QString::fromUtf8("строка %1").arg(line)), line > 0);
    QCOMPARE(message.contains(QString::fromUtf8("поле %1").arg(field)), field > 0);
}

void TestCatalogueLoader::failed_load_leaves_catalogue_empty()
{
    Catalogue cat;
    LoadError error;
    QVERIFY(LoadCatalogueFromBytes(FileBytes(Records(3)), "b", cat, error));
    QCOMPARE(cat.recordCount(), 3);

    // State: a catalogue already loaded. Action: a load that fails on its
    // last record. Expected: nothing of either file is left.
    std::vector<Line> lines = Records(3);
    lines.back().set(7, "x");
    QVERIFY(!LoadCatalogueFromBytes(FileBytes(lines), "b", cat, error));
    QCOMPARE(cat.recordCount(), 0);
    QVERIFY(cat.typeNames().empty());
    QCOMPARE(Text(cat.modelName(1)), QString());
    QCOMPARE(Text(cat.sizeDesignation(1, 1)), QString());
}

void TestCatalogueLoader::row_texts_come_from_last_line()
{
    const Loaded l = Load(FileBytes({
        Record("Первая", "Тип 1", "100", 3).set(291, "тип1").set(292, "адрес1"),
        Line().set(1, "Вторая").set(2, "Тип 2").set(291, "тип2").set(292, "адрес2").set(3, "200"),
        Line().set(1, "Третья").set(2, "Тип 3").set(291, "тип3").set(292, "адрес3").set(3, "300"),
        Record("Другая", "Тип 4", "n"),
    }));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(Text(l.cat.modelName(1)), QString::fromUtf8("Третья"));
    QCOMPARE(Text(l.cat.typeName(1)), QString::fromUtf8("Тип 3"));
    QCOMPARE(Text(l.cat.typePictureName(1)), QString::fromUtf8("тип3"));
    QCOMPARE(Text(l.cat.pageAddress(1)), QString::fromUtf8("адрес3"));
    QCOMPARE(Text(l.cat.modelName(2)), QString::fromUtf8("Другая"));
    // The type list is made from the row's type, so from its last line too.
    QCOMPARE(l.cat.typeNames(), (std::vector<std::string>{"Тип 3", "Тип 4"}));
}

void TestCatalogueLoader::type_list_keeps_first_appearance_data()
{
    QTest::addColumn<QStringList>("rowTypes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no records") << QStringList{} << QStringList{};
    QTest::newRow("order of first appearance")
        << QStringList{"Б", "А", "Б", "В", "А"} << QStringList{"Б", "А", "В"};
    QTest::newRow("letter case makes a different name")
        << QStringList{"Решетки", "решетки", "РЕШЕТКИ"} << QStringList{"Решетки", "решетки", "РЕШЕТКИ"};
    QTest::newRow("ё and е are different") << QStringList{"Решётки", "Решетки"} << QStringList{"Решётки", "Решетки"};
    QTest::newRow("blanks around a name are not part of it") << QStringList{"А", " А "} << QStringList{"А"};
    QTest::newRow("empty type name is a name") << QStringList{"", "А", ""} << QStringList{"", "А"};
}

void TestCatalogueLoader::type_list_keeps_first_appearance()
{
    QFETCH(QStringList, rowTypes);
    QFETCH(QStringList, expected);

    std::vector<Line> lines;
    for (const QString& type : rowTypes)
        lines.push_back(Record("М", type.toStdString(), "100"));
    const Loaded l = Load(FileBytes(lines));
    QVERIFY2(l.ok, l.error.message().c_str());
    QStringList types;
    for (const std::string& t : l.cat.typeNames())
        types << Text(t);
    QCOMPARE(types, expected);
}

void TestCatalogueLoader::every_position_reads_its_own_field()
{
    // Two lines, so that a slip in the per-line stride shows on the second.
    Line second = PositionTaggedLine();
    const Loaded l = Load(FileBytes({PositionTaggedLine().set(4, "2"), second}));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(l.cat.sizeLineCount(1), 2);

    for (int k = 1; k <= 2; ++k) {
        const SizeLine line = l.cat.line(1, k);
        for (int pos = 1; pos <= kFieldsPerLine; ++pos) {
            if (pos == 4 || IsRowText(pos))
                continue;
            if (test::IsTextPosition(pos))
                QCOMPARE(Text(line.textField(pos)), QString::fromStdString(TextAt(pos)));
            else if (test::IsIntPosition(pos))
                QCOMPARE(int(line.intField(pos)), pos);
            else
                QCOMPARE(line.floatField(pos), FloatAt(pos));
        }
    }
    QCOMPARE(Text(l.cat.modelName(1)), QString("t1"));
    QCOMPARE(Text(l.cat.typeName(1)), QString("t2"));
    QCOMPARE(Text(l.cat.typePictureName(1)), QString("t291"));
    QCOMPARE(Text(l.cat.pageAddress(1)), QString("t292"));
}

void TestCatalogueLoader::float_accessors_read_their_positions_data()
{
    QTest::addColumn<FloatReader>("read");
    QTest::addColumn<int>("position");

    QTest::newRow("Fm") << FloatReader([](const SizeLine& l) { return l.fmValue(); }) << 5;
    QTest::newRow("Fz") << FloatReader([](const SizeLine& l) { return l.fzValue(); }) << 6;
    QTest::newRow("mFlat") << FloatReader([](const SizeLine& l) { return l.mFlat(); }) << 10;
    for (int k = 1; k <= 4; ++k) {
        const int sound = field::Sound(k, false);
        QTest::addRow("m(%d)", k) << FloatReader([k](const SizeLine& l) { return l.m(k); }) << field::M(k);
        QTest::addRow("Dzeta(%d)", k) << FloatReader([k](const SizeLine& l) { return l.dzeta(k); }) << field::Dzeta(k);
        QTest::addRow("DzetaP(%d)", k) << FloatReader([k](const SizeLine& l) { return l.dzetaP(k); })
                                       << field::DzetaP(k);
        QTest::addRow("free area ratio(%d)", k)
            << FloatReader([k](const SizeLine& l) { return l.freeAreaRatio(k); }) << field::FreeRatio(k);
        for (int i : {0, 7, 8, 23}) {
            QTest::addRow("S(%d)[%d]", k, i) << FloatReader([k, i](const SizeLine& l) { return l.sound(k)[i]; })
                                              << sound + i;
            QTest::addRow("SP(%d)[%d]", k, i) << FloatReader([k, i](const SizeLine& l) { return l.soundP(k)[i]; })
                                               << sound + 24 + i;
        }
    }
    for (int p = 1; p <= 5; ++p)
        for (int k = 1; k <= 4; ++k)
            QTest::addRow("kr(%d,%d)", k, p) << FloatReader([k, p](const SizeLine& l) { return l.kr(k, p); })
                                              << field::Kr(k, p);
}

void TestCatalogueLoader::float_accessors_read_their_positions()
{
    QFETCH(FloatReader, read);
    QFETCH(int, position);

    const Loaded l = Load(FileBytes({PositionTaggedLine()}));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(read(l.cat.line(1, 1)), FloatAt(position));
    QCOMPARE(read(SizeLine{}), 0.0f);
}

void TestCatalogueLoader::int_accessors_read_their_positions_data()
{
    QTest::addColumn<IntReader>("read");
    QTest::addColumn<int>("position");

    QTest::newRow("section mode") << IntReader([](const SizeLine& l) { return l.sectionMode(); }) << 7;
    for (int p = 1; p <= 5; ++p)
        for (int k = 1; k <= 4; ++k)
            QTest::addRow("dL(%d,%d)", k, p) << IntReader([k, p](const SizeLine& l) { return l.dL(k, p); })
                                              << field::DL(k, p);
}

void TestCatalogueLoader::int_accessors_read_their_positions()
{
    QFETCH(IntReader, read);
    QFETCH(int, position);

    const Loaded l = Load(FileBytes({PositionTaggedLine()}));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(int(read(l.cat.line(1, 1))), position);
    QCOMPARE(int(read(SizeLine{})), 0);
}

void TestCatalogueLoader::text_accessors_read_their_positions_data()
{
    QTest::addColumn<TextReader>("read");
    QTest::addColumn<int>("position");

    QTest::newRow("designation") << TextReader([](const SizeLine& l) { return l.designation(); }) << 3;
    QTest::newRow("size picture") << TextReader([](const SizeLine& l) { return l.sizePictureName(); }) << 290;
    for (int k = 1; k <= 4; ++k)
        QTest::addRow("jet caption %d", k) << TextReader([k](const SizeLine& l) { return l.jetCaption(k); })
                                            << field::JetCaption(k);
    for (int p = 1; p <= 5; ++p)
        QTest::addRow("regulator caption %d", p) << TextReader([p](const SizeLine& l) { return l.regCaption(p); })
                                                  << field::RegCaption(p);
}

void TestCatalogueLoader::text_accessors_read_their_positions()
{
    QFETCH(TextReader, read);
    QFETCH(int, position);

    const Loaded l = Load(FileBytes({PositionTaggedLine()}));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(Text(read(l.cat.line(1, 1))), QString::fromStdString(TextAt(position)));
    QCOMPARE(Text(read(SizeLine{})), QString());
}

void TestCatalogueLoader::unfilled_entries_read_empty_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("k");

    QTest::newRow("row 0") << 0 << 1;
    QTest::newRow("size index 0") << 1 << 0;
    QTest::newRow("size index above the row's lines") << 1 << 3;
    QTest::newRow("size index 1000") << 1 << kMaxDesignations;
    QTest::newRow("size index above 1000") << 1 << kMaxDesignations + 1;
    QTest::newRow("row above the count") << 3 << 1;
    QTest::newRow("row 1000 of a short catalogue") << kMaxRows << 1;
    QTest::newRow("negative row") << -1 << 1;
    QTest::newRow("negative size index") << 1 << -1;
}

void TestCatalogueLoader::unfilled_entries_read_empty()
{
    QFETCH(int, row);
    QFETCH(int, k);

    Line full = PositionTaggedLine();
    full.set(4, "2");
    const Loaded l = Load(FileBytes({full, PositionTaggedLine(), PositionTaggedLine()}));
    QVERIFY2(l.ok, l.error.message().c_str());
    QCOMPARE(l.cat.recordCount(), 2);

    const SizeLine line = l.cat.line(row, k);
    QCOMPARE(Text(l.cat.sizeDesignation(row, k)), QString());
    QCOMPARE(Text(line.designation()), QString());
    QCOMPARE(line.fmValue(), 0.0f);
    QCOMPARE(line.sound(4)[23], 0.0f);
    QCOMPARE(int(line.dL(4, 5)), 0);
    QCOMPARE(Text(line.regCaption(5)), QString());
    if (row < 1 || row > l.cat.recordCount()) {
        QCOMPARE(Text(l.cat.modelName(row)), QString());
        QCOMPARE(Text(l.cat.pageAddress(row)), QString());
        QCOMPARE(l.cat.sizeLineCount(row), 0);
    }
}

void TestCatalogueLoader::loads_from_program_folder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("what");

    QTest::newRow("good file") << "good" << true << "";
    QTest::newRow("no folder A") << "no folder" << false << "нет папки «A»";
    QTest::newRow("no file b") << "no file" << false << "файл не найден";
    QTest::newRow("b is a folder") << "folder" << false << "папка, а не файл";
    QTest::newRow("empty file") << "empty" << false << "пуст";
#ifdef Q_OS_UNIX
    // Reading a device such as /dev/zero would never end.
    QTest::newRow("b is a device") << "device" << false << "не обычный файл";
#endif
}

void TestCatalogueLoader::loads_from_program_folder()
{
    QFETCH(QString, setup);
    QFETCH(bool, ok);
    QFETCH(QString, what);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::filesystem::path folder = dir.path().toStdString();
    if (setup == "good")
        test::WriteCatalogue(folder, FileBytes(Records(2)));
    else if (setup == "no file")
        std::filesystem::create_directories(folder / "A");
    else if (setup == "folder")
        std::filesystem::create_directories(folder / "A" / "b");
    else if (setup == "empty")
        test::WriteCatalogue(folder, "");
    else if (setup == "device") {
        std::filesystem::create_directories(folder / "A");
        std::filesystem::create_symlink("/dev/zero", folder / "A" / "b");
    }

    Catalogue cat;
    LoadError error;
    QCOMPARE(LoadCatalogue(folder, cat, error), ok);
    if (ok) {
        QCOMPARE(cat.recordCount(), 2);
        return;
    }
    QCOMPARE(cat.recordCount(), 0);
    QVERIFY2(Text(error.what).contains(what), error.what.c_str());
    const std::string file = (folder / "A" / "b").string();
    QVERIFY2(error.message().find(file) != std::string::npos, error.message().c_str());
}

void TestCatalogueLoader::tables_stay_close_to_value_size()
{
    // Five full records: the tables must not be laid out at their bounds.
    std::vector<Line> lines;
    for (int r = 0; r < 5; ++r) {
        std::vector<Line> record = RecordWithLines(kMaxSizeLines);
        lines.insert(lines.end(), record.begin(), record.end());
    }
    const Loaded l = Load(FileBytes(lines));
    QVERIFY2(l.ok, l.error.message().c_str());

    // 231 floats and 21 int16 per line, plus the bytes of every text held.
    std::size_t valueBytes = 0;
    for (int row = 1; row <= l.cat.recordCount(); ++row) {
        valueBytes += l.cat.modelName(row).size() + l.cat.typeName(row).size() + l.cat.typePictureName(row).size() +
                      l.cat.pageAddress(row).size();
        for (int k = 1; k <= l.cat.sizeLineCount(row); ++k) {
            valueBytes += 231 * sizeof(float) + 21 * sizeof(std::int16_t);
            for (int pos = 1; pos <= kFieldsPerLine; ++pos)
                if (test::IsTextPosition(pos) && !IsRowText(pos))
                    valueBytes += l.cat.line(row, k).textField(pos).size();
        }
    }
    QVERIFY2(l.cat.storageBytes() <= valueBytes * 5 / 4,
             qPrintable(QString("%1 bytes held for %2 bytes of values").arg(l.cat.storageBytes()).arg(valueBytes)));
}

QTEST_APPLESS_MAIN(TestCatalogueLoader)
#include "tst_catalogue_loader.moc"
