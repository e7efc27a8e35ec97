// "Считай!" end to end: from a snapshot of the window to the texts, the
// section frames and the log record, and the refusals that leave
// everything as it was.
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "calc/stages.h"
#include "calc_fixture.h"
#include "log/record_of.h"

using namespace nimbo;
using nimbo::test::Chosen;
using nimbo::test::Row;

namespace {

enum RowIndex {
    Listed = 1,      // two listed sizes, m 2, Dzeta 1.5, section mode 1
    Free = 2,        // free size, allowances 20 mm, section mode 1
    SlotDmz = 3,     // slot grille ending in ДМЗ, flat jet, no sound data
    ZeroArea = 4,    // listed, Fm 0
    NoJet = 5,       // listed, m 0 and Dzeta 0
    NoPressure = 6,  // listed, base Dzeta 111111, option 2 has 1.5
    Half14 = 7,      // listed, Dzeta 22.5, Fm = Fz = 1
    Half10 = 8,      // listed, Dzeta 17.5, Fm = Fz = 1
    SlotSound = 9,   // slot of 1000 mm sections with sound data
    DmzhSound = 10,  // ДМЖ slot of 500 mm sections with the same data
    Quiet = 11,      // listed, sound far below 10 dB(A)
    HalfArea = 12,   // listed, Fm = Fz = 0.03125, an exact half at four places
};

Row WithSound(Row r, const std::string& a, const std::string& b, const std::string& c = "0")
{
    r.soundAll(1, false, 'a', a).soundAll(1, false, 'b', b).soundAll(1, false, 'c', c);
    return r;
}

std::vector<Row> Rows()
{
    auto listedLine = [](const std::string& designation, int count, const std::string& area) {
        Row r("Р-Лист", designation, count);
        r.fm(area).fz(area).sectionMode(1).m(1, "2").dzeta(1, "1.5");
        return WithSound(r, "10", "50");
    };
    std::vector<Row> rows{listedLine("200х200", 2, "0.1"), listedLine("300х300", 0, "0.09")};
    rows.push_back(WithSound(Row("П-Своб", "n").fm("20").fz("20").sectionMode(1).m(1, "2").dzeta(1, "2"), "10", "10", "20"));
    rows.push_back(Row("Щ-ДМЗ", "dlina")
                       .fm("0.02").fz("0.01").m(1, "3").mFlat("2").dzeta(1, "2").dzetaP(1, "3")
                       .jetCaption(1, "Opt1").jetCaption(2, "Opt2").m(2, "3").dzeta(2, "2").dzetaP(2, "3"));
    rows.push_back(Row("Р-Ноль", "100х100").fm("0").fz("0.1").m(1, "2").dzeta(1, "1"));
    rows.push_back(Row("Р-М0", "100х100").fm("0.1").fz("0.1").m(1, "0").dzeta(1, "0").sectionMode(0));
    rows.push_back(Row("Р-Нет", "100х100").fm("0.1").fz("0.1").m(1, "2").dzeta(1, "111111").dzeta(2, "1.5")
                       .m(2, "2").jetCaption(2, "Opt2"));
    rows.push_back(Row("Р-Полт", "1000х1000").fm("1").fz("1").m(1, "2").dzeta(1, "22.5"));
    rows.push_back(Row("Р-Пол", "1000х1000").fm("1").fz("1").m(1, "2").dzeta(1, "17.5"));
    rows.push_back(WithSound(Row("Щ-Звук", "dlina").fm("0.02").fz("0.01").m(1, "2").dzeta(1, "2"), "5", "50"));
    rows.push_back(WithSound(Row("1ДМЖ", "dlina").fm("0.01").fz("0.01").m(1, "2").dzeta(1, "2"), "5", "50"));
    rows.push_back(WithSound(Row("Р-Тихо", "100х100").fm("0.1").fz("0.1").m(1, "2").dzeta(1, "1"), "10", "-50"));
    rows.push_back(Row("Р-Доля", "100х100").fm("0.03125").fz("0.03125").m(1, "2").dzeta(1, "1"));
    return rows;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

QStringList SectionTexts(const Sections& s)
{
    return {Q(s.F0), Q(s.V0), Q(s.Fv), Q(s.Vv), Q(s.Fjs), Q(s.Vjs)};
}

enum class Input { L, V, A, B, Dlina };

std::string& Typed(Inputs& inputs, Input input)
{
    switch (input) {
    case Input::L: return inputs.L;
    case Input::V: return inputs.V;
    case Input::A: return inputs.A;
    case Input::B: return inputs.B;
    case Input::Dlina: break;
    }
    return inputs.Dlina;
}

}  // namespace

Q_DECLARE_METATYPE(Input)

class TestCalculate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void unusable_input_is_refused_data();
    void unusable_input_is_refused();
    void usable_spellings_give_the_plain_results_data();
    void usable_spellings_give_the_plain_results();
    void inputs_outside_the_size_mode_are_not_read_data();
    void inputs_outside_the_size_mode_are_not_read();
    void choice_is_required_data();
    void choice_is_required();
    void free_size_must_exceed_allowances_data();
    void free_size_must_exceed_allowances();
    void zero_catalogue_area_is_refused();
    void overflow_is_refused_when_the_value_is_used_data();
    void overflow_is_refused_when_the_value_is_used();

    void result_texts_data();
    void result_texts();
    void flat_jet_threshold_data();
    void flat_jet_threshold();
    void sound_of_slots_data();
    void sound_of_slots();
    void listed_size_reads_chosen_line();
    void numbers_alone_match_the_window_data();
    void numbers_alone_match_the_window();
    void jet_velocity_at_a_distance_data();
    void jet_velocity_at_a_distance();

    void log_record_of_free_size();
    void log_record_items_data();
    void log_record_items();

    void calculation_time();

private:
    Outcome run(const Calculation& c) { return Calculate(c); }
    Catalogue catalogue_;
};

void TestCalculate::initTestCase() { QVERIFY(test::Load(Rows(), catalogue_)); }

void TestCalculate::unusable_input_is_refused_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("variant");
    QTest::addColumn<Input>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");

    // Every kind of text a person may type that is no usable number; the
    // window test sends a few of them through the real boxes.
    const QStringList texts{"", "   ", "abc", "1,2,3", "1.2.3", "1,000.5", "1e999", "1e-999", "-0", "0", "-5",
                            "nan", "inf", "пять", "1е3", "1 000", QStringLiteral("1\u00A0000"), "5 мм"};
    struct Case {
        const char* tag;
        int row, variant;
        Input input;
        const char* name;
    };
    const Case cases[] = {
        {"L", Listed, 1, Input::L, "Расход воздуха L"},
        {"Vx", Listed, 1, Input::V, "Скорость Vx"},
        {"X", Listed, 2, Input::V, "Расстояние X"},
        {"A", Free, 1, Input::A, "Размер A"},
        {"B", Free, 1, Input::B, "Размер B"},
        {"length", SlotDmz, 1, Input::Dlina, "Длина щелевой решетки"},
    };
    for (const Case& c : cases)
        for (const QString& t : texts)
            QTest::addRow("%s «%s»", c.tag, qPrintable(t)) << c.row << c.variant << c.input << t << QString(c.name);
}

void TestCalculate::unusable_input_is_refused()
{
    QFETCH(int, row);
    QFETCH(int, variant);
    QFETCH(Input, input);
    QFETCH(QString, text);
    QFETCH(QString, name);

    Calculation s = Chosen(catalogue_, row);
    s.choice.variant = variant;
    s.shownBefore = {true, true, false, "f0", "v0", "fv", "vv", "fjs", "vjs"};
    Typed(s.choice.inputs, input) = text.toStdString();
    const Outcome out = run(s);
    QVERIFY(!out.ok);
    QVERIFY2(Q(out.message).startsWith(name + ": "), qPrintable(Q(out.message)));
    QVERIFY(out.texts.p.empty() && out.texts.x.empty() && out.texts.LwA.empty());
    QCOMPARE(SectionTexts(out.sections), SectionTexts(s.shownBefore));
    QCOMPARE(out.sections.fvShown, true);
    QCOMPARE(out.sections.jsShown, false);
}

void TestCalculate::usable_spellings_give_the_plain_results_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("variant");
    QTest::addColumn<Input>("input");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("typed");

    struct Case {
        const char* tag;
        int row, variant;
        Input input;
        const char* plain;
        const char* exponent;  // the same number with an exponent
    };
    const Case cases[] = {
        {"L", Listed, 1, Input::L, "1000", "1e3"},         {"Vx", Listed, 1, Input::V, "0.5", "5e-1"},
        {"X", Listed, 2, Input::V, "3.5", "0.35E1"},       {"A", Free, 1, Input::A, "300", "3e2"},
        {"B", Free, 1, Input::B, "250", "2.5e2"},          {"length", SlotDmz, 1, Input::Dlina, "1500", "1.5E3"},
    };
    for (const Case& c : cases) {
        const QString plain = QString::fromLatin1(c.plain);
        const QString comma = plain.contains('.') ? QString(plain).replace('.', ',') : plain + ",0";
        const auto row = [&](const char* what, const QString& typed) {
            QTest::addRow("%s %s", c.tag, what) << c.row << c.variant << c.input << plain << typed;
        };
        row("blanks around", "  " + plain + "\t");
        row("decimal comma", comma);
        row("exponent", QString::fromLatin1(c.exponent));
        row("explicit plus", "+" + plain);
        row("trailing zeros", plain + (plain.contains('.') ? "" : ".") + QString(400, '0'));
    }
}

void TestCalculate::usable_spellings_give_the_plain_results()
{
    QFETCH(int, row);
    QFETCH(int, variant);
    QFETCH(Input, input);
    QFETCH(QString, plain);
    QFETCH(QString, typed);

    Calculation s = Chosen(catalogue_, row);
    s.choice.variant = variant;
    Typed(s.choice.inputs, input) = plain.toStdString();
    const Outcome expected = run(s);
    QVERIFY2(expected.ok, expected.message.c_str());
    Typed(s.choice.inputs, input) = typed.toStdString();
    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
    QCOMPARE(Q(out.texts.p), Q(expected.texts.p));
    QCOMPARE(Q(out.texts.x), Q(expected.texts.x));
    QCOMPARE(Q(out.texts.LwA), Q(expected.texts.LwA));
    QCOMPARE(SectionTexts(out.sections), SectionTexts(expected.sections));
}

void TestCalculate::inputs_outside_the_size_mode_are_not_read_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Input>("input");
    QTest::newRow("A on a listed size") << int(Listed) << Input::A;
    QTest::newRow("B on a slot grille") << int(SlotDmz) << Input::B;
    QTest::newRow("length on a free size") << int(Free) << Input::Dlina;
    QTest::newRow("length on a listed size") << int(Listed) << Input::Dlina;
}

void TestCalculate::inputs_outside_the_size_mode_are_not_read()
{
    QFETCH(int, row);
    QFETCH(Input, input);
    Calculation s = Chosen(catalogue_, row);
    Typed(s.choice.inputs, input) = "abc";
    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
}

void TestCalculate::choice_is_required_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("modelChosen");
    QTest::addColumn<bool>("sizeChosen");
    QTest::addColumn<QString>("message");
    QTest::newRow("no model") << int(Listed) << false << false << "Выберите воздухораспределитель в списке.";
    QTest::newRow("row 0") << 0 << true << true << "Выберите воздухораспределитель в списке.";
    QTest::newRow("row beyond the catalogue") << 99 << true << true << "Выберите воздухораспределитель в списке.";
    QTest::newRow("listed sizes, none chosen") << int(Listed) << true << false << "Выберите типоразмер.";
    QTest::newRow("free size needs no size choice") << int(Free) << true << false << "";
    QTest::newRow("slot needs no size choice") << int(SlotDmz) << true << false << "";
}

void TestCalculate::choice_is_required()
{
    QFETCH(int, row);
    QFETCH(bool, modelChosen);
    QFETCH(bool, sizeChosen);
    QFETCH(QString, message);
    Calculation s = Chosen(catalogue_, std::max(row, 1));
    s.choice.selection = {row, 1, modelChosen, sizeChosen};
    const Outcome out = run(s);
    QCOMPARE(out.ok, message.isEmpty());
    QCOMPARE(Q(out.message), message);
}

void TestCalculate::free_size_must_exceed_allowances_data()
{
    QTest::addColumn<QString>("A");
    QTest::addColumn<QString>("B");
    QTest::addColumn<QString>("refusedFor");
    QTest::newRow("A equal to the allowance") << "20" << "300" << "Размер A";
    QTest::newRow("B below the allowance") << "300" << "19.5" << "Размер B";
    QTest::newRow("both just above") << "20,5" << "20.5" << "";
}

void TestCalculate::free_size_must_exceed_allowances()
{
    QFETCH(QString, A);
    QFETCH(QString, B);
    QFETCH(QString, refusedFor);
    Calculation s = Chosen(catalogue_, Free);
    s.choice.inputs.A = A.toStdString();
    s.choice.inputs.B = B.toStdString();
    const Outcome out = run(s);
    QCOMPARE(out.ok, refusedFor.isEmpty());
    if (!out.ok) {
        QVERIFY2(Q(out.message).startsWith(refusedFor + ": "), out.message.c_str());
        QVERIFY2(Q(out.message).contains("20"), out.message.c_str());
    }
}

void TestCalculate::zero_catalogue_area_is_refused()
{
    const Outcome out = run(Chosen(catalogue_, ZeroArea));
    QVERIFY(!out.ok);
    QVERIFY2(Q(out.message).contains("Fm"), out.message.c_str());
}

void TestCalculate::overflow_is_refused_when_the_value_is_used_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("plenum");      // 0: frame hidden
    QTest::addColumn<int>("jetForm");     // visible frame, this option
    QTest::addColumn<QString>("L");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("refusedFor");

    QTest::newRow("pressure loss of a huge flow") << int(Listed) << 0 << 1 << "1e300" << "0.2" << "1000"
                                                  << "Расход воздуха L";
    QTest::newRow("throw for a vanishing velocity") << int(Listed) << 0 << 1 << "1000" << "1e-320" << "1000"
                                                    << "Скорость Vx";
    // A 0.001 mm slot makes rF about 5·10^5: e^(2.5629 rF) overflows.
    QTest::newRow("exponential fit used for a very short slot")
        << int(SlotDmz) << 2 << 2 << "1000" << "0.2" << "0.001" << "Длина щелевой решетки";
    QTest::newRow("exponential fit overflowing unused") << int(SlotDmz) << 2 << 1 << "1000" << "0.2" << "0.001" << "";
    QTest::newRow("exponential fit overflowing without plenum")
        << int(SlotDmz) << 0 << 2 << "1000" << "0.2" << "0.001" << "";
}

void TestCalculate::overflow_is_refused_when_the_value_is_used()
{
    QFETCH(int, row);
    QFETCH(int, plenum);
    QFETCH(int, jetForm);
    QFETCH(QString, L);
    QFETCH(QString, V);
    QFETCH(QString, length);
    QFETCH(QString, refusedFor);
    Calculation s = Chosen(catalogue_, row);
    s.choice.options.ksdApplies = plenum != 0;
    s.choice.options.ksd = plenum;
    s.choice.options.regFormApplies = true;
    s.choice.options.regForm = jetForm;
    s.choice.inputs.L = L.toStdString();
    s.choice.inputs.V = V.toStdString();
    s.choice.inputs.Dlina = length.toStdString();
    const Outcome out = run(s);
    QCOMPARE(out.ok, refusedFor.isEmpty());
    if (out.ok) {
        QVERIFY(std::isinf(out.stages.geometry.fitted.exp));
        QVERIFY(std::isfinite(out.stages.coefficients.Dzeta.v));
        QVERIFY(!out.texts.p.empty() && out.texts.p != "-");
    } else {
        QVERIFY2(Q(out.message).startsWith(refusedFor + ": "), out.message.c_str());
    }
}

void TestCalculate::result_texts_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("jetForm");  // 0: frame hidden
    QTest::addColumn<QString>("L");
    QTest::addColumn<char>("separator");
    // x, p, LwA, m, Dzeta, kr, Fm, Fz joined by '|'
    QTest::addColumn<QString>("texts");

    // Fm 0.1 (single): X = 2 · (1000/3600) / 0.2 / √Fm = 8.78… ; dP = 1.5 · 0.6 · (Q/Fm)² = 6.94…
    QTest::newRow("listed size, point") << int(Listed) << 0 << "1000" << '.' << "8.8|7|87|2|1.5|1|0.1|0.1";
    QTest::newRow("listed size, comma") << int(Listed) << 0 << "1000" << ',' << "8,8|7|87|2|1,5|1|0,1|0,1";
    QTest::newRow("m 0 and Dzeta 0 show -") << int(NoJet) << 0 << "1000" << '.' << "-|-|-|-|-|1|0.1|0.1";
    QTest::newRow("no pressure data though option 2 has Dzeta")
        << int(NoPressure) << 2 << "1000" << '.' << "8.8|-|-|2|-|1|0.1|0.1";
    QTest::newRow("10.5 Pa shows 10") << int(Half10) << 0 << "3600" << '.' << "10|10|-|2|17.5|1|1|1";
    QTest::newRow("13.5 Pa shows 14") << int(Half14) << 0 << "3600" << '.' << "10|14|-|2|22.5|1|1|1";
    QTest::newRow("far below 10 dB(A)") << int(Quiet) << 0 << "1000" << '.' << "8.8|5|<10|2|1|1|0.1|0.1";
    // Q = 56.25/3600 = 0.015625: X = 2·Q/0.2/√0.03125 = 0.88…, dP = 0.6·0.5² = 0.15;
    // Fm and Fz 0.03125 lie exactly half-way at four places and go to 0.0312.
    QTest::newRow("panel areas at an exact half go to the even neighbour")
        << int(HalfArea) << 0 << "56.25" << ',' << "0,9|0|-|2|1|1|0,0312|0,0312";
}

void TestCalculate::result_texts()
{
    QFETCH(int, row);
    QFETCH(int, jetForm);
    QFETCH(QString, L);
    QFETCH(char, separator);
    QFETCH(QString, texts);
    Calculation s = Chosen(catalogue_, row);
    s.decimalSeparator = separator;
    s.choice.inputs.L = L.toStdString();
    s.choice.options.regFormApplies = jetForm != 0;
    s.choice.options.regForm = std::max(jetForm, 1);
    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
    const QStringList shown{Q(out.texts.x), Q(out.texts.p), Q(out.texts.LwA), Q(out.texts.mData), Q(out.texts.dzetaData), Q(out.texts.krData),
                            Q(out.texts.fmData), Q(out.texts.fzData)};
    QCOMPARE(shown.join('|'), texts);
    if (row == Listed)
        QCOMPARE(Q(NumberText(out.stages.geometry.Fm, '.')), QStringLiteral("0.100000001490116"));
}

void TestCalculate::flat_jet_threshold_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("length");
    QTest::addColumn<char>("separator");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<QString>("x");

    // Slot with m 3, mFlat 2, Fm = 0.02 per metre, L = 360 m³/h.
    QTest::newRow("v2 X 3: flat") << 2 << "3" << "1000" << '.' << true << "0.8";
    QTest::newRow("v2 X 3: flat, comma") << 2 << "3" << "1000" << ',' << true << "0,8";
    QTest::newRow("v2 X exactly 6 Lx: compact") << 2 << "6" << "1000" << '.' << false << "0.4";
    QTest::newRow("v2 3,5 below 3.6: flat, comma") << 2 << "3,5" << "600" << ',' << true << "1,3";
    QTest::newRow("v2 3.5 below 3.6: flat, point") << 2 << "3.5" << "600" << '.' << true << "1.3";
    // The whole distance counts, not only its digits before the comma.
    QTest::newRow("v2 3,7 above 3.6: compact, comma") << 2 << "3,7" << "600" << ',' << false << "0,7";
    QTest::newRow("v2 3.7 above 3.6: compact, point") << 2 << "3.7" << "600" << '.' << false << "0.7";
    QTest::newRow("v1 throw 4.2 below 6: flat 8") << 1 << "0.5" << "1000" << ',' << true << "8";
    QTest::newRow("v1 throw 3,7 above 3.6: compact") << 1 << "0,74" << "600" << ',' << false << "3,7";
    QTest::newRow("v1 throw 3.7 above 3.6: compact") << 1 << "0.74" << "600" << '.' << false << "3.7";
}

void TestCalculate::flat_jet_threshold()
{
    QFETCH(int, variant);
    QFETCH(QString, V);
    QFETCH(QString, length);
    QFETCH(char, separator);
    QFETCH(bool, flat);
    QFETCH(QString, x);
    Calculation s = Chosen(catalogue_, SlotDmz);
    s.choice.variant = variant;
    s.choice.inputs.L = "360";
    s.choice.inputs.V = V.toStdString();
    s.choice.inputs.Dlina = length.toStdString();
    s.decimalSeparator = separator;
    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
    QCOMPARE(out.stages.flatJet, flat);
    QCOMPARE(Q(out.texts.x), x);
}

void TestCalculate::sound_of_slots_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("LwA");
    // 2000 mm at 600 m³/h: 5 lg 300 + 50 + 3.01 (72.4), 5 lg 150 + 50 + 6.02 (73.9), each + 6.99.
    QTest::newRow("1000 mm sections") << int(SlotSound) << "72";
    QTest::newRow("ДМЖ 500 mm sections") << int(DmzhSound) << "74";
    QTest::newRow("no sound data") << int(SlotDmz) << "-";
}

void TestCalculate::sound_of_slots()
{
    QFETCH(int, row);
    QFETCH(QString, LwA);
    Calculation s = Chosen(catalogue_, row);
    s.choice.inputs.L = "600";
    s.choice.inputs.Dlina = "2000";
    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
    QCOMPARE(Q(out.texts.LwA), LwA);
    QCOMPARE(out.stages.lwaComputed, LwA != "-");
    QCOMPARE(Q(RecordOf(s.choice, out).listLine()).endsWith(", LwA=" + LwA + "дБА"), true);
}

void TestCalculate::listed_size_reads_chosen_line()
{
    Calculation s = Chosen(catalogue_, Listed, 2);
    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
    QCOMPARE(Q(out.texts.fmData), QStringLiteral("0.09"));
    QCOMPARE(Q(out.sections.F0), QStringLiteral("0.09"));
}

// The numeric step as a finder calls it, without a snapshot: the same
// refusal or the same numbers as the whole calculation.
void TestCalculate::numbers_alone_match_the_window_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("L");
    QTest::addColumn<QString>("A");
    QTest::addColumn<char>("separator");
    QTest::newRow("listed size") << int(Listed) << "1000" << "300" << '.';
    QTest::newRow("free size with sound") << int(Free) << "1000" << "250" << '.';
    QTest::newRow("slot with flat jet") << int(SlotDmz) << "360" << "300" << '.';
    QTest::newRow("free size below the allowance, comma") << int(Free) << "1000" << "19,5" << ',';
    QTest::newRow("zero catalogue area") << int(ZeroArea) << "1000" << "300" << '.';
    QTest::newRow("pressure loss of a huge flow") << int(Listed) << "1e300" << "300" << '.';
}

void TestCalculate::numbers_alone_match_the_window()
{
    QFETCH(int, row);
    QFETCH(QString, L);
    QFETCH(QString, A);
    QFETCH(char, separator);
    Calculation s = Chosen(catalogue_, row);
    s.choice.inputs.L = L.toStdString();
    s.choice.inputs.A = A.toStdString();
    s.decimalSeparator = separator;
    const Outcome whole = run(s);

    const Candidate candidate = CandidateAt(catalogue_, row, 1);
    TypedInputs in;
    QVERIFY(ReadInputs(s.choice.inputs, s.choice.variant, candidate.mode, in).empty());
    const Numbers n = CalculateNumbers(candidate, in, s.choice.options, separator);
    QCOMPARE(n.ok, whole.ok);
    QCOMPARE(Q(n.message), Q(whole.message));
    if (n.ok) {
        QCOMPARE(n.stages.X, whole.stages.X);
        QCOMPARE(n.stages.dP, whole.stages.dP);
        QCOMPARE(n.stages.LwA, whole.stages.LwA);
        QCOMPARE(n.stages.geometry.Fm, whole.stages.geometry.Fm);
        QCOMPARE(n.stages.coefficients.Dzeta.v, whole.stages.coefficients.Dzeta.v);
    }
}

// The jet a finder draws: the velocity at any distance of a candidate
// calculated once, as variant 2 would show it for that distance.
void TestCalculate::jet_velocity_at_a_distance_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("X");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<QString>("velocity");
    // Slot of 1000 mm, L 360: flat below 6 m (values of the flat-jet table).
    QTest::newRow("slot, flat below six lengths") << int(SlotDmz) << 3.0 << true << "0.8";
    QTest::newRow("slot, compact at six lengths") << int(SlotDmz) << 6.0 << false << "0.4";
    // Listed, L 360: 2 · 0.1 / 5 / √0.1 = 0.126…
    QTest::newRow("listed, compact") << int(Listed) << 5.0 << false << "0.1";
    // Close to the outlet the jet is no faster than Q/Fm = 1.
    QTest::newRow("listed, at most the outlet velocity") << int(Listed) << 0.01 << false << "1";
}

void TestCalculate::jet_velocity_at_a_distance()
{
    QFETCH(int, row);
    QFETCH(double, X);
    QFETCH(bool, flat);
    QFETCH(QString, velocity);
    Calculation s = Chosen(catalogue_, row);
    s.choice.inputs.L = "360";
    const Outcome throwCase = run(s);  // variant 1: the numbers of the candidate
    QVERIFY2(throwCase.ok, throwCase.message.c_str());

    const double v = JetVelocityAt(throwCase.stages, X);
    QCOMPARE(JetAtDistance(throwCase.stages, X).flat, flat);
    QCOMPARE(Q(NumberText(v, '.')), velocity);
    s.choice.variant = 2;
    s.choice.inputs.V = NumberText(X, '.');
    const Outcome shown = run(s);
    QVERIFY2(shown.ok, shown.message.c_str());
    QCOMPARE(v, shown.stages.Vx);
    QCOMPARE(shown.stages.flatJet, flat);
}

void TestCalculate::log_record_of_free_size()
{
    // State: free size 250 × 400 with allowances of 20 mm, plenum frame
    // hidden, jet-form frame visible with nothing selected, regulator at b=15°.
    Calculation s = Chosen(catalogue_, Free);
    s.choice.inputs.A = "250";
    s.choice.inputs.B = "400";
    s.choice.inputs.V = "0,2";
    s.decimalSeparator = ',';
    s.choice.shown.freeSizeShown = true;
    s.choice.shown.listedSize = "Типоразмер";
    s.choice.options.ksdApplies = false;
    s.choice.options.ksd = 2;
    s.choice.options.regFormApplies = true;
    s.choice.options.regForm = 0;
    s.choice.options.regRashApplies = true;
    s.choice.options.regRash = 2;
    s.choice.shown.jetForm = "";
    s.choice.shown.regulator = "b=15°";
    s.shownBefore = {false, false, true, "", "", "", "", "old", "old"};

    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
    // Fm = 230 · 380 / 10^6 = 0.0874; X = 2 · 0.2778 / 0.2 / √0.0874 = 9.40;
    // dP = 2 · 0.6 · (Q/Fm)² = 12.1; free-size sound 10 lg 1000 + 10 lg 0.1 + 20 + 6.99.
    const std::array<std::string, 15> expected{"П-Своб", "250х400", "-",     "",    "b=15°",
                                               "1000",   "0,2",     "12",    "9,4", "0,087",
                                               "3,2",    "0,1",     "2,8",   "old", "old"};
    QCOMPARE(RecordOf(s.choice, out).dataColumns(), expected);
    QCOMPARE(Q(RecordOf(s.choice, out).listLine()),
             QStringLiteral("П-Своб 250х400, -, , b=15°, L=1000м3/ч, Vx =0,2м/с, P=12Па, l =9,4м, LwA=47дБА"));
    QCOMPARE(out.sections.fvShown, true);
    QCOMPARE(out.sections.svShown, true);
    QCOMPARE(out.sections.jsShown, false);
}

void TestCalculate::log_record_items_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("rzmrVisible");
    QTest::addColumn<bool>("dlinaVisible");
    QTest::addColumn<int>("plenum");  // 0: frame hidden; -1: visible, none selected
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("plenumText");

    QTest::newRow("listed size from the combo box") << int(Listed) << false << false << 0 << "200х200" << "-";
    QTest::newRow("slot length replaces the size") << int(SlotDmz) << false << true << 2 << "1000" << "КСД";
    QTest::newRow("free size with Cyrillic х") << int(Free) << true << false << 3 << "300х300" << "КСР";
    QTest::newRow("plenum frame visible, nothing selected") << int(Listed) << false << false << -1 << "200х200" << "";
}

void TestCalculate::log_record_items()
{
    QFETCH(int, row);
    QFETCH(bool, rzmrVisible);
    QFETCH(bool, dlinaVisible);
    QFETCH(int, plenum);
    QFETCH(QString, size);
    QFETCH(QString, plenumText);
    Calculation s = Chosen(catalogue_, row);
    s.choice.shown.listedSize = "200х200";
    s.choice.shown.freeSizeShown = rzmrVisible;
    s.choice.shown.lengthShown = dlinaVisible;
    s.choice.options.ksdApplies = plenum != 0;
    s.choice.options.ksd = std::max(plenum, 0);
    s.choice.shown.plenum = plenum > 0 ? std::string(plenum == 2 ? "КСД" : "КСР") : "";
    s.choice.variant = 2;
    s.choice.inputs.V = " 3.5 ";
    const Outcome out = run(s);
    QVERIFY2(out.ok, out.message.c_str());
    QCOMPARE(Q(RecordOf(s.choice, out).size), size);
    QCOMPARE(Q(RecordOf(s.choice, out).plenum), plenumText);
    QCOMPARE(Q(RecordOf(s.choice, out).jetForm), QStringLiteral("-"));
    // A typed number is recorded without the blanks around it.
    QCOMPARE(Q(RecordOf(s.choice, out).V), QStringLiteral("3.5"));
    QVERIFY(Q(RecordOf(s.choice, out).listLine()).contains(", X =3.5м, P="));
    QVERIFY(Q(RecordOf(s.choice, out).listLine()).contains(", Vx =" + Q(out.texts.x) + "м/с, LwA="));
    QCOMPARE(Q(RecordOf(s.choice, out).x), Q(out.texts.x));
    QCOMPARE(Q(RecordOf(s.choice, out).LwA), Q(out.texts.LwA));
}

void TestCalculate::calculation_time()
{
    Calculation s = Chosen(catalogue_, Free);
    s.choice.options.regRashApplies = true;
    const Outcome first = run(s);
    QVERIFY2(first.ok, first.message.c_str());

    constexpr int kRuns = 2001;
    std::vector<double> micros;
    micros.reserve(kRuns);
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const Outcome out = Calculate(s);
        const auto stop = std::chrono::steady_clock::now();
        QCOMPARE(RecordOf(s.choice, out).listLine(), RecordOf(s.choice, first).listLine());
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::nth_element(micros.begin(), micros.begin() + kRuns / 2, micros.end());
    const double median = micros[kRuns / 2];
    qInfo("Calculate(): median %.2f µs over %d runs", median, kRuns);
    // A pure calculation of a few dozen formulas; a millisecond would mean
    // it started doing something else (a catalogue scan, say).
    QVERIFY(median < 1000);
}

QTEST_APPLESS_MAIN(TestCalculate)
#include "tst_calculate.moc"
