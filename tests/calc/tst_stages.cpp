// The stages of the calculation with the worked numbers of the maker's
// method: geometry, coefficient choice, jet, pressure loss, sound power and
// section velocities.
#include <QtTest>

#include "calc/stages.h"
#include "calc_fixture.h"

using namespace nimbo;
using nimbo::test::Row;

namespace {

// A row whose every option value tells where it came from: m(k) = 1.k,
// Dzeta(k) = 2.k, DzetaP(k) = 3.k, a1 of S(k) = 10 + k, of SP(k) = 20 + k,
// kr(k, p) = 0.kp and dL(k, p) = 10k + p. Option 3 has no regulator values
// of its own (kr(3, 1) = 0) unless `option3Regulator`.
Row Telling(const std::string& model, const std::string& designation, bool option3Regulator = false)
{
    Row r(model, designation);
    r.fm("0.1").fz("0.1");
    for (int k = 1; k <= 4; ++k) {
        const std::string d = std::to_string(k);
        r.jetCaption(k, "Opt" + d).m(k, "1." + d).dzeta(k, "2." + d).dzetaP(k, "3." + d);
        r.sound(k, false, 'a', 1, std::to_string(10 + k)).sound(k, true, 'a', 1, std::to_string(20 + k));
        for (int p = 1; p <= 5; ++p) {
            const bool own = k != 3 || option3Regulator;
            r.kr(k, p, own ? "0." + d + std::to_string(p) : "0");
            r.dL(k, p, own ? 10 * k + p : 0);
        }
    }
    for (int p = 1; p <= 5; ++p)
        r.regCaption(p, "b=" + std::to_string(15 * (p - 1)) + "°");
    r.dL(1, 5, -3);
    return r;
}

struct Options {
    bool ksdApplies = false;
    int ksd = 1;
    bool regFormApplies = false;
    int regForm = 1;
    bool regRashApplies = false;
    int regRash = 1;

    OptionState state() const
    {
        OptionState o;
        o.ksdApplies = ksdApplies;
        o.ksd = ksd;
        o.regFormApplies = regFormApplies;
        o.regForm = regForm;
        o.regRashApplies = regRashApplies;
        o.regRash = regRash;
        return o;
    }
};

}  // namespace

Q_DECLARE_METATYPE(Options)
Q_DECLARE_METATYPE(nimbo::Value)

class TestStages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void section_count_data();
    void section_count();
    void section_length_reads_characters_two_to_four();
    void fitted_coefficients_data();
    void fitted_coefficients();
    void outlet_areas();

    void coefficient_choice_data();
    void coefficient_choice();
    void slot_plenum_coefficient_data();
    void slot_plenum_coefficient();

    void jet_formulas_data();
    void jet_formulas();
    void pressure_loss_data();
    void pressure_loss();

    void sound_flow_of_slots_data();
    void sound_flow_of_slots();
    void sound_power_level_data();
    void sound_power_level();
    void sound_text_thresholds_data();
    void sound_text_thresholds();

    void sections_data();
    void sections();

private:
    Catalogue catalogue_;
};

void TestStages::initTestCase()
{
    std::vector<Row> rows{
        Telling("Р-1", "100х100"),
        Telling("Р-2", "100х100", true),
        Telling("Р-3", "100х100").regCaption(1, "n"),
        Telling("Щ-ДМЗ", "dlina"),
        Telling("Щ-ДПЗ", "dlina"),
        Telling("Щ-ДТЗ", "dlina"),
        Telling("Щ-ДНН", "dlina"),
    };
    // The slot rows: a regulator of 0.5 at b=0° that option 2 does not override.
    for (std::size_t i = 3; i < rows.size(); ++i)
        rows[i].kr(1, 1, "0.5").kr(2, 1, "0");
    QVERIFY(test::Load(rows, catalogue_));
}

void TestStages::section_count_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("sections");
    QTest::addColumn<double>("sectionsSlotJet");
    QTest::newRow("999") << 999.0 << 1.0 << 2.0;
    QTest::newRow("1000") << 1000.0 << 1.0 << 2.0;
    QTest::newRow("1001") << 1001.0 << 2.0 << 3.0;
    QTest::newRow("1500") << 1500.0 << 2.0 << 3.0;
    QTest::newRow("2500") << 2500.0 << 3.0 << 5.0;
    QTest::newRow("500") << 500.0 << 1.0 << 1.0;
}

void TestStages::section_count()
{
    QFETCH(double, length);
    QFETCH(double, sections);
    QFETCH(double, sectionsSlotJet);
    QCOMPARE(SectionCount(length, SectionLength("Щ-1000")), sections);
    QCOMPARE(SectionCount(length, SectionLength("1ДМЖ-1")), sectionsSlotJet);
}

void TestStages::section_length_reads_characters_two_to_four()
{
    QCOMPARE(SectionLength("1ДМЖ"), 500.0);
    QCOMPARE(SectionLength("АВ-ДМЖ"), 1000.0);  // ДМЖ at the end only
}

void TestStages::fitted_coefficients_data()
{
    QTest::addColumn<double>("rF");
    QTest::addColumn<double>("q1");
    QTest::addColumn<double>("q2");
    QTest::addColumn<double>("exp");
    QTest::addColumn<double>("cub");
    QTest::newRow("rF 0.5") << 0.5 << 7.3649 << 2.7876 << 10.973423 << 6.22085;
    QTest::newRow("rF 1") << 1.0 << 25.7562 << 6.6266 << 39.524717 << 19.1411;
}

void TestStages::fitted_coefficients()
{
    QFETCH(double, rF);
    QFETCH(double, q1);
    QFETCH(double, q2);
    QFETCH(double, exp);
    QFETCH(double, cub);
    const FittedCoefficients f = Fitted(rF);
    QCOMPARE(Round(f.q1, 4), q1);
    QCOMPARE(Round(f.q2, 4), q2);
    QCOMPARE(Round(f.exp, 6), exp);
    QCOMPARE(Round(f.cub, 5), cub);
}

void TestStages::outlet_areas()
{
    // A listed area is the stored single, widened without change.
    QCOMPARE(QString::fromStdString(NumberText(ListedGeometry(0.1f, 0.2f).Fm, '.')),
             QStringLiteral("0.100000001490116"));

    const Geometry free = FreeSizeGeometry(300, 300, 20, 20);
    QCOMPARE(free.Fm, 0.0784);
    QCOMPARE(free.Fz, 0.0784);
    const Geometry deducted = FreeSizeGeometry(300, 200, 20, 50);
    QCOMPARE(deducted.Fm, 0.0504);
    QCOMPARE(deducted.Fz, 0.0375);

    const Geometry slot = SlotGeometry(1500, 1000, 0.02f, 0.01f);
    QCOMPARE(slot.Nsec, 2.0);
    QCOMPARE(Round(slot.Fm, 6), 0.03);
    QCOMPARE(Round(slot.Fz, 6), 0.02);
    QCOMPARE(Round(slot.rF, 4), 0.6667);
    QCOMPARE(slot.fitted.q2, Fitted(slot.rF).q2);
}

void TestStages::coefficient_choice_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Options>("options");
    QTest::addColumn<float>("m");
    QTest::addColumn<float>("dzeta");
    QTest::addColumn<double>("kr");
    QTest::addColumn<bool>("krFromCatalogue");
    QTest::addColumn<float>("dL");
    QTest::addColumn<float>("a1");

    Options o;
    QTest::newRow("every frame hidden: option 1, no regulator")
        << 1 << o << 1.1f << 2.1f << 1.0 << false << 0.0f << 11.0f;
    o.regRash = 3;
    o.regForm = 3;
    QTest::newRow("hidden frames ignore their selections") << 1 << o << 1.1f << 2.1f << 1.0 << false << 0.0f << 11.0f;
    o.regFormApplies = true;
    QTest::newRow("jet form 3") << 1 << o << 1.3f << 2.3f << 1.0 << false << 0.0f << 13.0f;
    o.regRashApplies = true;
    QTest::newRow("b=30° with option 3 lacking regulator values")
        << 1 << o << 1.3f << 2.3f << double(0.13f) << true << 13.0f << 13.0f;
    QTest::newRow("b=30° with option 3 regulator values")
        << 2 << o << 1.3f << 2.3f << double(0.33f) << true << 33.0f << 13.0f;
    o.regFormApplies = false;
    o.regForm = 2;
    o.regRash = 2;
    QTest::newRow("option 2 regulator values with its frame hidden")
        << 1 << o << 1.1f << 2.1f << double(0.22f) << true << 22.0f << 11.0f;
    o = Options{};
    o.regRashApplies = true;
    o.regRash = 5;
    QTest::newRow("negative dL") << 1 << o << 1.1f << 2.1f << double(0.15f) << true << -3.0f << 11.0f;
    o.ksdApplies = true;
    o.ksd = 1;
    o.regRash = 2;
    QTest::newRow("Нет drops the regulator") << 1 << o << 1.1f << 2.1f << 1.0 << false << 0.0f << 11.0f;
    o.regFormApplies = true;
    o.regForm = 2;
    QTest::newRow("Нет with option 2") << 1 << o << 1.2f << 2.2f << 1.0 << false << 0.0f << 12.0f;
    o.ksd = 3;
    o.regForm = 3;
    o.regRash = 4;
    QTest::newRow("КСР with option 3") << 1 << o << 1.3f << 3.3f << double(0.14f) << true << 14.0f << 23.0f;
    o.regFormApplies = false;
    o.regForm = 1;
    o.ksd = 2;
    o.regRash = 4;
    QTest::newRow("КСД drops the regulator, takes plenum values")
        << 1 << o << 1.1f << 3.1f << 1.0 << false << 0.0f << 21.0f;
    o.regFormApplies = true;
    o.regForm = 4;
    QTest::newRow("КСД with option 4") << 1 << o << 1.4f << 3.4f << 1.0 << false << 0.0f << 24.0f;
    o.regFormApplies = false;
    QTest::newRow("КСД with option 4 selected in a hidden frame")
        << 1 << o << 1.1f << 3.1f << 1.0 << false << 0.0f << 21.0f;
    o.ksd = 3;
    o.regFormApplies = true;
    o.regForm = 1;
    QTest::newRow("КСР keeps the regulator of a grille")
        << 1 << o << 1.1f << 3.1f << double(0.14f) << true << 14.0f << 21.0f;
    QTest::newRow("КСР without regulator caption")
        << 3 << o << 1.1f << 3.1f << 1.0 << false << 0.0f << 21.0f;
    o.ksdApplies = false;
    o.ksd = 2;
    QTest::newRow("plenum selected while its frame is hidden")
        << 1 << o << 1.1f << 2.1f << double(0.14f) << true << 14.0f << 11.0f;
}

void TestStages::coefficient_choice()
{
    QFETCH(int, row);
    QFETCH(Options, options);
    QFETCH(float, m);
    QFETCH(float, dzeta);
    QFETCH(double, kr);
    QFETCH(bool, krFromCatalogue);
    QFETCH(float, dL);
    QFETCH(float, a1);
    const Coefficients c =
        ChooseCoefficients(catalogue_.line(row, 1), options.state(), SizeMode::Listed, catalogue_.modelName(row), Fitted(0.5));
    QCOMPARE(c.m.v, double(m));
    QVERIFY(c.m.single);
    QCOMPARE(c.Dzeta.v, double(dzeta));
    QVERIFY(c.Dzeta.single);
    QCOMPARE(c.kr.v, kr);
    QCOMPARE(c.kr.single, krFromCatalogue);
    QCOMPARE(c.dLreg, dL);
    QCOMPARE(c.sound[0], a1);
}

void TestStages::slot_plenum_coefficient_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Options>("options");
    QTest::addColumn<double>("dzeta");
    QTest::addColumn<bool>("single");
    QTest::addColumn<double>("kr");

    const FittedCoefficients f = Fitted(0.5);
    enum { Dmz = 4, Dpz = 5, Dtz = 6, Other = 7 };
    Options ksd;
    ksd.ksdApplies = true;
    ksd.ksd = 2;
    ksd.regFormApplies = true;
    Options ksd2 = ksd;
    ksd2.regForm = 2;
    Options ksd2Hidden = ksd2;
    ksd2Hidden.regFormApplies = false;
    QTest::newRow("КСД ДМЗ") << int(Dmz) << ksd << f.q1 << false << 1.0;
    QTest::newRow("КСД ДМЗ option 2") << int(Dmz) << ksd2 << f.exp << false << 1.0;
    QTest::newRow("КСД ДМЗ option 2 in a hidden frame") << int(Dmz) << ksd2Hidden << f.q1 << false << 1.0;
    QTest::newRow("КСД ДПЗ") << int(Dpz) << ksd << f.q1 << false << 1.0;
    QTest::newRow("КСД ДПЗ option 2") << int(Dpz) << ksd2 << f.q1 << false << 1.0;
    QTest::newRow("КСД ДТЗ") << int(Dtz) << ksd << f.q2 << false << 1.0;
    QTest::newRow("КСД ДТЗ option 2") << int(Dtz) << ksd2 << f.cub << false << 1.0;
    QTest::newRow("КСД other slot") << int(Other) << ksd << double(3.1f) << true << 1.0;
    QTest::newRow("КСД other slot option 2") << int(Other) << ksd2 << double(3.2f) << true << 1.0;

    Options ksr = ksd;
    ksr.ksd = 3;
    ksr.regRashApplies = true;
    ksr.regRash = 1;
    Options ksr2 = ksr;
    ksr2.regForm = 2;
    Options ksrNoRegulator = ksr;
    ksrNoRegulator.regRashApplies = false;
    // The regulator's 0.5 is added to the fit, then kr is 1.
    QTest::newRow("КСР adds kr to DzetaQ2") << int(Dmz) << ksr << f.q2 + double(0.5f) << false << 1.0;
    QTest::newRow("КСР option 2 adds kr to DzetaCub") << int(Other) << ksr2 << f.cub + double(0.5f) << false << 1.0;
    QTest::newRow("КСР with the regulator frame hidden adds 1")
        << int(Dtz) << ksrNoRegulator << f.q2 + 1 << false << 1.0;
}

void TestStages::slot_plenum_coefficient()
{
    QFETCH(int, row);
    QFETCH(Options, options);
    QFETCH(double, dzeta);
    QFETCH(bool, single);
    QFETCH(double, kr);
    const Coefficients c =
        ChooseCoefficients(catalogue_.line(row, 1), options.state(), SizeMode::Slot, catalogue_.modelName(row), Fitted(0.5));
    QCOMPARE(c.Dzeta.v, dzeta);
    QCOMPARE(c.Dzeta.single, single);
    QCOMPARE(c.kr.v, kr);
    QCOMPARE(c.dLreg, 0.0f);
}

void TestStages::jet_formulas_data()
{
    QTest::addColumn<double>("result");
    QTest::addColumn<double>("expected");
    const Value m2 = Value::Single(2);
    QTest::newRow("throw: m 2, Q 0.1, Vx 0.5, Fm 0.04") << CompactThrow(m2, 0.1, 0.5, 0.04) << 2.0;
    QTest::newRow("velocity below the outlet velocity") << CompactVelocity(m2, 0.1, 0.5, 0.04) << 2.0;
    QTest::newRow("velocity capped at the outlet velocity") << CompactVelocity(m2, 0.1, 0.3, 0.04) << 2.5;
    QTest::newRow("throw with m 0") << CompactThrow(Value::Single(0), 0.1, 0.5, 0.04) << 0.0;
    QTest::newRow("compact throw m 3 before the flat-jet check")
        << CompactThrow(Value::Single(3), 0.1, 0.5, double(0.02f)) << 4.2;
    QTest::newRow("flat throw") << FlatThrow(2, 0.1, 0.5, 1, double(0.02f)) << 8.0;
    QTest::newRow("flat velocity") << FlatVelocity(2, 0.1, 3, 1, double(0.02f)) << 0.8;
}

void TestStages::jet_formulas()
{
    QFETCH(double, result);
    QFETCH(double, expected);
    QCOMPARE(result, expected);
}

void TestStages::pressure_loss_data()
{
    QTest::addColumn<Value>("dzeta");
    QTest::addColumn<Value>("kr");
    QTest::addColumn<double>("Q");
    QTest::addColumn<double>("Fz");
    QTest::addColumn<double>("dP");
    QTest::newRow("10.5 rounds to even 10") << Value::Single(17.5f) << Value{1, false} << 1.0 << 1.0 << 10.0;
    QTest::newRow("13.5 rounds to even 14") << Value::Single(22.5f) << Value{1, false} << 1.0 << 1.0 << 14.0;
    // 0.1f · 0.03f in single precision lands above the half, in double below.
    QTest::newRow("product of two singles is single")
        << Value::Single(0.1f) << Value::Single(0.03f) << 0.5 << 0.01 << 5.0;
    QTest::newRow("fitted zeta times single is double")
        << Value::Double(0.1f) << Value::Single(0.03f) << 0.5 << 0.01 << 4.0;
}

void TestStages::pressure_loss()
{
    QFETCH(Value, dzeta);
    QFETCH(Value, kr);
    QFETCH(double, Q);
    QFETCH(double, Fz);
    QFETCH(double, dP);
    QCOMPARE(PressureLoss(dzeta, kr, Q, Fz), dP);
}

void TestStages::sound_flow_of_slots_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<double>("Lsnd");
    QTest::addColumn<double>("dLlen");
    QTest::newRow("slot of 1000 mm sections") << "Щ-1" << 300.0 << 3.0103;
    QTest::newRow("ДМЖ slot of 500 mm sections") << "1ДМЖ" << 150.0 << 6.0206;
}

void TestStages::sound_flow_of_slots()
{
    QFETCH(QString, model);
    QFETCH(double, Lsnd);
    QFETCH(double, dLlen);
    const SoundFlow f = SoundFlowFor(SizeMode::Slot, 600, 2000, SectionLength(model.toStdString()));
    QCOMPARE(f.Lsnd, Lsnd);
    QCOMPARE(Round(f.dLlen, 4), dLlen);
    const SoundFlow listed = SoundFlowFor(SizeMode::Listed, 600, 2000, 1000);
    QCOMPARE(listed.Lsnd, 600.0);
    QCOMPARE(listed.dLlen, 0.0);
}

void TestStages::sound_power_level_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("Lsnd");
    QTest::addColumn<double>("dLlen");
    QTest::addColumn<float>("dLreg");
    QTest::addColumn<double>("LwA");

    // Every band at the same level Lw gives LwA = Lw + 6.987 dB: the energy
    // sum of the eight A-weightings.
    QTest::newRow("all bands 50 dB") << int(SizeMode::Listed) << 1.0 << 0.0 << 0.0f << 56.987;
    QTest::newRow("regulator addition") << int(SizeMode::Listed) << 1.0 << 0.0 << -3.0f << 53.987;
    QTest::newRow("slot adds dLlen") << int(SizeMode::Slot) << 1.0 << 3.0103 << 0.0f << 59.997;
    // a lg 10 + b = 60 for listed sizes; free sizes use c and lg F instead:
    // 10 + 50 lg 0.1 + 40 = 0.
    QTest::newRow("listed size ignores c") << int(SizeMode::Listed) << 10.0 << 0.0 << 0.0f << 66.987;
    QTest::newRow("free size uses c and the face area, no dLlen")
        << int(SizeMode::Free) << 10.0 << 3.0103 << 0.0f << 6.987;
}

void TestStages::sound_power_level()
{
    QFETCH(int, mode);
    QFETCH(double, Lsnd);
    QFETCH(double, dLlen);
    QFETCH(float, dLreg);
    QFETCH(double, LwA);
    std::array<float, 24> set{};
    for (int i = 0; i < 8; ++i) {
        set[static_cast<std::size_t>(i)] = 10;       // a
        set[static_cast<std::size_t>(8 + i)] = 50;   // b
        set[static_cast<std::size_t>(16 + i)] = 40;  // c
    }
    QVERIFY(HasSoundData(set));
    const float level = SoundPowerLevel(set, static_cast<SizeMode>(mode), {Lsnd, dLlen}, 0.1, dLreg);
    QCOMPARE(Round(level, 3), LwA);
    set[4] = 0;
    QVERIFY(!HasSoundData(set));
}

void TestStages::sound_text_thresholds_data()
{
    QTest::addColumn<float>("LwA");
    QTest::addColumn<QString>("text");
    QTest::newRow("10 itself") << 10.0f << "10";
    QTest::newRow("9.99") << 9.99f << "<10";
    QTest::newRow("9.6 would round to 10") << 9.6f << "<10";
    QTest::newRow("100 itself") << 100.0f << "100";
    QTest::newRow("100.01") << 100.01f << ">100";
    QTest::newRow("100.4 would round to 100") << 100.4f << ">100";
    QTest::newRow("56.5 to even 56") << 56.5f << "56";
    QTest::newRow("57.5 to even 58") << 57.5f << "58";
    QTest::newRow("56.987") << 56.987f << "57";
}

void TestStages::sound_text_thresholds()
{
    QFETCH(float, LwA);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(SoundText(LwA, ',')), text);
}

void TestStages::sections_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("A");
    QTest::addColumn<double>("Fm");
    QTest::addColumn<double>("L");
    QTest::addColumn<int>("regForm");
    QTest::addColumn<bool>("regForm1Offered");
    QTest::addColumn<float>("k1");
    QTest::addColumn<float>("k3");
    QTest::addColumn<char>("separator");
    // Expected frames "FV SV JS" as 0/1 and the six texts joined by '|'.
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("texts");

    const QString before = "f0|v0|fv|vv|fjs|vjs";
    QTest::newRow("mode 1, point") << 1 << "300" << 0.0784 << 324.0 << 1 << true << 0.0f << 0.0f << '.'
                                   << "110" << "0.078|1.1|0.09|1|fjs|vjs";
    QTest::newRow("mode 1, comma") << 1 << "300" << 0.0784 << 324.0 << 1 << true << 0.0f << 0.0f << ','
                                   << "110" << "0,078|1,1|0,09|1|fjs|vjs";
    QTest::newRow("mode 1, duct size not a number") << 1 << "abc" << 0.0784 << 324.0 << 1 << true << 0.0f << 0.0f
                                                    << '.' << "110" << "0.078|1.1|-|-|fjs|vjs";
    QTest::newRow("mode 1, duct size 0") << 1 << "0" << 0.0784 << 324.0 << 1 << true << 0.0f << 0.0f << '.'
                                         << "110" << "0.078|1.1|-|-|fjs|vjs";
    QTest::newRow("mode 2 leaves the duct texts") << 2 << "300" << 0.0784 << 324.0 << 1 << true << 0.0f << 0.0f
                                                  << '.' << "100" << "0.078|1.1|fv|vv|fjs|vjs";
    QTest::newRow("mode 0 leaves everything") << 0 << "300" << 0.0784 << 324.0 << 1 << true << 0.0f << 0.0f << '.'
                                              << "011" << before;
    QTest::newRow("free section of option 1") << 2 << "300" << 0.1 << 360.0 << 1 << true << 0.5f << 0.0f << ','
                                              << "101" << "0,1|1|fv|vv|0,05|2";
    QTest::newRow("mode 0 still writes the free section")
        << 0 << "300" << 0.1 << 360.0 << 1 << true << 0.5f << 0.0f << '.' << "011" << "f0|v0|fv|vv|0.05|2";
    QTest::newRow("option 3 selected without its ratio")
        << 1 << "300" << 0.1 << 360.0 << 3 << true << 0.5f << 0.0f << '.' << "110" << "0.1|1|0.09|1.1|fjs|vjs";
    QTest::newRow("option 1 hidden by itself uses k1")
        << 1 << "300" << 0.1 << 360.0 << 3 << false << 0.5f << 0.0f << '.' << "111" << "0.1|1|0.09|1.1|0.05|2";
    QTest::newRow("the last check that holds decides")
        << 1 << "300" << 0.1 << 360.0 << 3 << false << 0.5f << 0.25f << '.' << "111" << "0.1|1|0.09|1.1|0.025|4";
    // Q = 56.25/3600 = 0.015625: V0 = Q/0.125 = 0.125, Fжс = 0.0625 (an exact
    // half at three places, to 0.062), Vжс = Q/0.0625 = 0.25 (to 0.2).
    QTest::newRow("exact halves of the section texts go to the even neighbour")
        << 2 << "300" << 0.125 << 56.25 << 1 << true << 0.5f << 0.0f << '.' << "101" << "0.125|0.1|fv|vv|0.062|0.2";
    QTest::newRow("negative ratio shows -")
        << 1 << "300" << 0.1 << 360.0 << 3 << true << 0.0f << -0.5f << '.' << "111" << "0.1|1|0.09|1.1|-|-";
}

void TestStages::sections()
{
    QFETCH(int, mode);
    QFETCH(QString, A);
    QFETCH(double, Fm);
    QFETCH(double, L);
    QFETCH(int, regForm);
    QFETCH(bool, regForm1Offered);
    QFETCH(float, k1);
    QFETCH(float, k3);
    QFETCH(char, separator);
    QFETCH(QString, frames);
    QFETCH(QString, texts);

    Sections before{false, true, true, "f0", "v0", "fv", "vv", "fjs", "vjs"};
    OptionState options;
    options.regForm = regForm;
    options.regForm1Offered = regForm1Offered;
    const std::string a = A.toStdString();
    SectionInputs in;
    in.sectionMode = mode;
    in.Q = L / 3600;
    in.Fm = Fm;
    in.A = a;
    in.B = "300";
    in.freeRatio = {k1, 0, k3, 0};
    in.options = &options;
    in.decimalSeparator = separator;
    const Sections s = SectionResults(before, in);

    const QString shownFrames = QString("%1%2%3").arg(int(s.fvShown)).arg(int(s.svShown)).arg(int(s.jsShown));
    QCOMPARE(shownFrames, frames);
    const QStringList shown{QString::fromStdString(s.F0),  QString::fromStdString(s.V0),
                            QString::fromStdString(s.Fv),  QString::fromStdString(s.Vv),
                            QString::fromStdString(s.Fjs), QString::fromStdString(s.Vjs)};
    QCOMPARE(shown.join('|'), texts);
}

QTEST_APPLESS_MAIN(TestStages)
#include "tst_stages.moc"
