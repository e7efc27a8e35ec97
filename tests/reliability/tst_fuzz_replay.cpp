// Every input the fuzzers keep (their corpus) and every input that ever broke
// a rule (the regressions) runs again here, through the same checks as in the
// fuzz targets, so a fault once found stays found in the normal test run.
#include <QDir>
#include <QFile>
#include <QtTest>

#include <string>

#include "calculation_check.h"
#include "catalogue/catalogue.h"
#include "catalogue_check.h"
#include "project/project_file.h"
#include "project_check.h"
#include "support/project_sample.h"
#include "text_checks.h"

using namespace nimbo::fuzz;

namespace {

const QString kFuzzDir = QStringLiteral(NIMBO_SOURCE_DIR "/fuzz");

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// One row per file of fuzz/<kind>/<target>; returns how many rows it added.
int AddFileRows(const QString& kind, const QString& target)
{
    const QDir dir(kFuzzDir + QLatin1Char('/') + kind + QLatin1Char('/') + target);
    int rows = 0;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        const QString row = kind + QLatin1Char('/') + target + QLatin1Char('/') + name;
        QTest::newRow(row.toUtf8().constData()) << dir.filePath(name);
        ++rows;
    }
    return rows;
}

QByteArray Header(char flags, char options, char kind, char row, char size)
{
    return QByteArray() + flags + options + kind + row + size;
}

QByteArray Texts(const QStringList& texts)
{
    QByteArray out;
    for (const QString& t : texts)
        out += t.toUtf8() + char(kTextEnd);
    return out;
}

// A model and a size chosen, all option frames shown, option 1 everywhere.
constexpr char kChosen = 0x20 | 0x40 | 0x02 | 0x04 | 0x08;
constexpr char kFirstOptions = 1 + 4 + 20;
const QStringList kDefaults{"1000", "0.2", "300", "300", "1000"};

}  // namespace

class TestFuzzReplay : public QObject {
    Q_OBJECT
private slots:
    void catalogue_inputs_keep_the_rules_data();
    void catalogue_inputs_keep_the_rules();
    void calculation_inputs_keep_the_rules_data();
    void calculation_inputs_keep_the_rules();
    void shipped_catalogue_keeps_the_rules();
    void project_inputs_keep_the_rules_data();
    void project_inputs_keep_the_rules();
    void project_seeds_keep_the_rules();
    void calculation_inputs_reach_the_engine_data();
    void calculation_inputs_reach_the_engine();
    void result_text_rule_data();
    void result_text_rule();
    void csv_line_rule_data();
    void csv_line_rule();
};

void TestFuzzReplay::catalogue_inputs_keep_the_rules_data()
{
    QTest::addColumn<QString>("path");
    const int rows = AddFileRows(QStringLiteral("regressions"), QStringLiteral("catalogue")) +
                     AddFileRows(QStringLiteral("corpus"), QStringLiteral("catalogue"));
    if (rows == 0)
        QTest::newRow("no inputs found") << QString();
}

void TestFuzzReplay::catalogue_inputs_keep_the_rules()
{
    QFETCH(QString, path);
    QVERIFY2(!path.isEmpty(), "fuzz/corpus/catalogue holds no inputs");
    const QByteArray bytes = ReadAll(path);
    QCOMPARE(QString::fromStdString(CheckCatalogueLoad(View(bytes))), QString());
}

void TestFuzzReplay::calculation_inputs_keep_the_rules_data()
{
    QTest::addColumn<QString>("path");
    const int rows = AddFileRows(QStringLiteral("regressions"), QStringLiteral("calculation")) +
                     AddFileRows(QStringLiteral("corpus"), QStringLiteral("calculation"));
    if (rows == 0)
        QTest::newRow("no inputs found") << QString();
}

void TestFuzzReplay::calculation_inputs_keep_the_rules()
{
    QFETCH(QString, path);
    QVERIFY2(!path.isEmpty(), "fuzz/corpus/calculation holds no inputs");
    const QByteArray bytes = ReadAll(path);
    QCOMPARE(QString::fromStdString(CheckCalculation(View(bytes))), QString());
}

void TestFuzzReplay::shipped_catalogue_keeps_the_rules()
{
    const QByteArray shipped = ReadAll(QStringLiteral(NIMBO_SOURCE_DIR "/data/A/b"));
    QVERIFY(!shipped.isEmpty());
    QCOMPARE(QString::fromStdString(CheckCatalogueLoad(View(shipped))), QString());

    // Every row and size of the shipped catalogue, in both variants, and
    // the first index past each end.
    nimbo::Catalogue catalogue;
    nimbo::LoadError error;
    QVERIFY(nimbo::LoadCatalogueFromBytes(std::string(View(shipped)), "b", catalogue, error));
    int calculated = 0, lines = 0;
    for (int row = 1; row <= catalogue.recordCount(); ++row)
        lines += catalogue.sizeLineCount(row);
    for (int row = 1; row <= catalogue.recordCount() + 1; ++row)
        for (int size = 1; size <= catalogue.sizeLineCount(row) + 1; ++size)
            for (char variant = 0; variant <= 1; ++variant) {
                const QByteArray input =
                    Header(kChosen | variant, kFirstOptions, char(0x80), char(row), char(size)) + Texts(kDefaults) + shipped;
                CalculationTrace trace;
                QCOMPARE(QString::fromStdString(CheckCalculation(View(input), &trace)), QString());
                calculated += trace.calculated;
            }
        // Each line goes through in both variants; the indexes past the ends are refused.
    QCOMPARE(calculated, 2 * lines);
}

void TestFuzzReplay::project_inputs_keep_the_rules_data()
{
    QTest::addColumn<QString>("path");
    const int rows = AddFileRows(QStringLiteral("regressions"), QStringLiteral("project")) +
                     AddFileRows(QStringLiteral("corpus"), QStringLiteral("project"));
    if (rows == 0)
        QTest::newRow("no inputs found") << QString();
}

void TestFuzzReplay::project_inputs_keep_the_rules()
{
    QFETCH(QString, path);
    QVERIFY2(!path.isEmpty(), "fuzz/corpus/project holds no inputs");
    const QByteArray bytes = ReadAll(path);
    QCOMPARE(QString::fromStdString(CheckProjectRead(View(bytes))), QString());
}

// The fuzzer's seeds, which the corpus need not keep.
void TestFuzzReplay::project_seeds_keep_the_rules()
{
    const QByteArray readme = ReadAll(QStringLiteral(NIMBO_SOURCE_DIR "/README.md"));
    const std::string example = nimbo::test::ReadmeProjectExample(View(readme));
    QVERIFY(!example.empty());
    QCOMPARE(QString::fromStdString(CheckProjectRead(example)), QString());
    QCOMPARE(QString::fromStdString(CheckProjectRead(WriteProject(nimbo::test::TwoRoomProject()))), QString());
}

// The harness must hand the engine what its bytes say: without this, a
// decoding fault could keep every input away from the calculation and the
// fuzzer would check nothing.
void TestFuzzReplay::calculation_inputs_reach_the_engine_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<QString>("messagePart");

    for (char row = 1; row <= 4; ++row)
        for (char variant = 0; variant <= 1; ++variant)
            QTest::addRow("generated row %d, variant %d", row, variant + 1)
                << Header(kChosen | variant, kFirstOptions, 0, row, 1) + Texts(kDefaults) << true << QString();
    QTest::newRow("no model chosen") << Header(kChosen & ~0x20, kFirstOptions, 0, 1, 1) + Texts(kDefaults)
                                     << false << "Выберите воздухораспределитель";
    QTest::newRow("listed size not chosen") << Header(kChosen & ~0x40, kFirstOptions, 0, 3, 1) + Texts(kDefaults)
                                            << false << "Выберите типоразмер";
    QTest::newRow("row past the end") << Header(kChosen, kFirstOptions, 0, 5, 1) + Texts(kDefaults) << false
                                      << "Выберите воздухораспределитель";
    QTest::newRow("flow that overflows") << Header(kChosen, kFirstOptions, 0, 1, 1) +
                                                Texts({"1e999", "0.2", "300", "300", "1000"})
                                         << false << "Расход воздуха L";
    QTest::newRow("size not above the allowance") << Header(kChosen, kFirstOptions, 0, 1, 1) +
                                                         Texts({"1000", "0.2", "20", "300", "1000"})
                                                  << false << "Размер A";
    QTest::newRow("slot length as letters") << Header(kChosen, kFirstOptions, 0, 2, 1) +
                                                   Texts({"1000", "0.2", "300", "300", "abc"})
                                            << false << "Длина";
    QTest::newRow("a change that makes Fm zero") << Header(kChosen, kFirstOptions, 0, 3, 1) + Texts(kDefaults) +
                                                        QByteArray("\x03\x00\x04\x00", 4)
                                                 << false << "Fm";
    QTest::newRow("raw catalogue that does not load") << Header(kChosen, kFirstOptions, char(0x80), 1, 1) +
                                                             Texts(kDefaults) + "heading\r\nx,y\r\n"
                                                      << false << QString();
}

void TestFuzzReplay::calculation_inputs_reach_the_engine()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, calculated);
    QFETCH(QString, messagePart);

    CalculationTrace trace;
    QCOMPARE(QString::fromStdString(CheckCalculation(View(input), &trace)), QString());
    QCOMPARE(trace.calculated, calculated);
    QCOMPARE(trace.catalogueLoaded, !messagePart.isEmpty() || calculated);
    const QString message = QString::fromStdString(trace.message);
    QVERIFY2(message.contains(messagePart), qPrintable(message));
}

void TestFuzzReplay::result_text_rule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("point");
    QTest::addColumn<bool>("comma");

    QTest::newRow("dash") << "-" << true << true;
    QTest::newRow("whole") << "12" << true << true;
    QTest::newRow("negative") << "-0.5" << true << false;
    QTest::newRow("decimal comma") << "0,25" << false << true;
    QTest::newRow("exponent") << "1.5E+20" << true << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("nan") << "nan" << false << false;
    QTest::newRow("inf") << "inf" << false << false;
    QTest::newRow("minus inf") << "-inf" << false << false;
    QTest::newRow("grouping") << "1 000" << false << false;
    QTest::newRow("two separators") << "1.2.3" << false << false;
    QTest::newRow("separator without digits") << "1." << false << false;
    QTest::newRow("lower-case exponent") << "1e+20" << false << false;
    QTest::newRow("exponent without sign") << "1E20" << false << false;
}

void TestFuzzReplay::result_text_rule()
{
    QFETCH(QString, text);
    QFETCH(bool, point);
    QFETCH(bool, comma);
    const std::string t = text.toStdString();
    QCOMPARE(IsResultText(t, '.'), point);
    QCOMPARE(IsResultText(t, ','), comma);
}

void TestFuzzReplay::csv_line_rule_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("fields");  // -1: not one whole line

    QTest::newRow("plain") << QByteArray("a,b,c\r\n") << 3;
    QTest::newRow("empty fields") << QByteArray(",,\r\n") << 3;
    QTest::newRow("quoted comma") << QByteArray("\"1,5\",b\r\n") << 2;
    QTest::newRow("doubled quote") << QByteArray("\"a\"\"b\",c\r\n") << 2;
    QTest::newRow("quoted line break") << QByteArray("\"a\r\nb\",c\r\n") << 2;
    QTest::newRow("no line end") << QByteArray("a,b") << -1;
    QTest::newRow("LF only") << QByteArray("a,b\n") << -1;
    QTest::newRow("line break outside quotes") << QByteArray("a\r\nb\r\n") << -1;
    QTest::newRow("unclosed quote") << QByteArray("\"a,b\r\n") << -1;
    QTest::newRow("text after closing quote") << QByteArray("\"a\"b,c\r\n") << -1;
    QTest::newRow("bare quote") << QByteArray("a\"b\r\n") << -1;
}

void TestFuzzReplay::csv_line_rule()
{
    QFETCH(QByteArray, line);
    QFETCH(int, fields);
    const auto split = SplitCsvLine(View(line));
    QCOMPARE(split ? static_cast<int>(split->size()) : -1, fields);
}

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "tst_fuzz_replay.moc"
