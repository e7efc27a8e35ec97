// The size finder's search on small catalogues whose numbers are worked out
// by hand: which options each size offers, which limits each candidate
// meets, the order of the list, refusals and the limit boxes.
#include <QtTest>

#include <bit>
#include <cmath>
#include <map>

#include "calc/calc_fixture.h"
#include "calc/stages.h"
#include "select/search.h"

using namespace nimbo;
using nimbo::test::Row;

namespace {

// A sound set whose every band is about b dB: LwA = b + 7 (the A-weighted
// sum of eight equal bands), whatever the flow.
Row Sound(Row r, int k, bool plenum, int b)
{
    r.soundAll(k, plenum, 'a', "0.0001").soundAll(k, plenum, 'b', std::to_string(b));
    return r;
}

Row Listed(const std::string& model, const std::string& type, const std::string& size, int count,
           const std::string& area, int soundB)
{
    Row r(model, size, count);
    r.type(type).fm(area).fz(area).sectionMode(1).m(1, "2").dzeta(1, "2");
    return Sound(r, 1, false, soundB);
}

// At L = 1000 m³/h and Vx 0.2 (ΔP = 4.63·ζ/F², l = 2.78/√F, V0 = 0.278/F):
//   А 200    F 0.1   LwA 37  ΔP 9   l 8.8   V0 2.8
//   А 300    F 0.2   LwA 27  ΔP 2   l 6.2   V0 1.4
//   Б 100    F 0.05  LwA 47  ΔP 37  l 12.4  V0 5.6
//   В        free size, allowance 20 mm: no jet, no pressure, no sound data
//   Г 500    F 0.1   options (below), default LwA 32 ΔP 9 l 8.8
//   Р 400    F 0.1   LwA 17  ΔP 9   l 8.8   (another type)
std::vector<Row> Rows()
{
    Row g = Listed("Г", "Опции", "500", 1, "0.1", 25);
    g.dzetaP(1, "4").jetCaption(1, "Веер").jetCaption(2, "Компакт").m(2, "2").dzeta(2, "3").dzetaP(2, "5");
    g = Sound(Sound(Sound(g, 2, false, 22), 1, true, 35), 2, true, 33);
    g.regCaption(1, "b=0°").regCaption(2, "b=15°").kr(1, 1, "1").kr(1, 2, "2").dL(1, 2, 3);
    return {
        Listed("А", "Диффузоры", "200", 2, "0.1", 30),
        Listed("А", "Диффузоры", "300", 0, "0.2", 20),
        Listed("Б", "Диффузоры", "100", 1, "0.05", 40),
        Row("В", "n").type("Диффузоры").fm("20").fz("20").m(1, "0").dzeta(1, "111111"),
        g,
        Listed("Р", "Решетки", "400", 1, "0.1", 10),
    };
}

QString PicksName(const OptionPicks& p) { return QStringLiteral("%1/%2/%3").arg(p.ksd).arg(p.regForm).arg(p.regRash); }

// "Б 100", "Г 500 3/1/2" (options only where the model has any), with "!"
// and the bits of the missed limits, or "refused".
QString Describe(const Catalogue& c, const Found& f)
{
    QString s = QString::fromUtf8(c.modelName(f.row).data(), static_cast<qsizetype>(c.modelName(f.row).size()));
    const std::string_view size = c.sizeDesignation(f.row, f.sizeIndex);
    s += QLatin1Char(' ') + QString::fromUtf8(size.data(), static_cast<qsizetype>(size.size()));
    if (s.startsWith(QStringLiteral("Г")))
        s += QLatin1Char(' ') + PicksName(f.picks);
    if (!f.ok)
        return s + QStringLiteral(" refused");
    if (f.misses != 0)
        s += QStringLiteral(" !") + QString::number(f.misses);
    return s;
}

Request Base()
{
    Request r;
    r.inputs.L = "1000";
    r.inputs.V = "0.2";
    return r;
}

}  // namespace

Q_DECLARE_METATYPE(nimbo::Request)
Q_DECLARE_METATYPE(nimbo::LimitTexts)
Q_DECLARE_METATYPE(nimbo::Inputs)
Q_DECLARE_METATYPE(nimbo::Room)

class TstSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(test::Load(Rows(), catalogue_)); }
    void offered_picks_data();
    void offered_picks();
    void search_data();
    void search();
    void numbers_of_a_candidate_data();
    void numbers_of_a_candidate();
    void limits_data();
    void limits();
    void inputs_are_checked_for_the_sizes_searched_data();
    void inputs_are_checked_for_the_sizes_searched();
    void progress_can_stop_the_search();
    void parts_together_equal_the_search_data();
    void parts_together_equal_the_search();
    void room_rows_data();
    void room_rows();

private:
    Catalogue catalogue_;
};

// --- The options a size offers -------------------------------------------------

void TstSearch::offered_picks_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("plenum");
    QTest::addColumn<QStringList>("jet");
    QTest::addColumn<QStringList>("reg");
    QTest::addColumn<QStringList>("all");  // the default first
    QTest::addColumn<QString>("text");      // of the default

    const QStringList none{"n", "n", "n", "n", "n"};
    const QStringList twoRegs{"b=0°", "b=15°", "n", "n", "n"};
    QTest::newRow("no option groups") << "1" << "0" << none << none << QStringList{"1/1/1"} << "";
    QTest::newRow("plenum without regulator: the setup selects КСД")
        << "1" << "4" << none << none << QStringList{"2/1/1", "1/1/1"} << "КСД";
    QTest::newRow("plenum only (plain zeta 0): no Нет")
        << "0" << "4" << none << twoRegs << QStringList{"2/1/1", "3/1/1", "3/1/2"} << "КСД";
    QTest::newRow("plenum, Нет and КСР: regulator only with КСР")
        << "1" << "4" << none << twoRegs << QStringList{"1/1/1", "2/1/1", "3/1/1", "3/1/2"} << "Нет";
    QTest::newRow("no plenum: the regulator's offered positions")
        << "1" << "0" << none << QStringList{"r0", "r1", "n", "r3", "n"}
        << QStringList{"1/1/1", "1/1/2", "1/1/4"} << "r0";
    QTest::newRow("jet forms 1 and 3")
        << "1" << "0" << QStringList{"Веер", "n", "Плоская", "n"} << none
        << QStringList{"1/1/1", "1/3/1"} << "Веер";
    QTest::newRow("first jet caption n: the group is hidden")
        << "1" << "0" << QStringList{"n", "Компакт", "n", "n"} << none << QStringList{"1/1/1"} << "";
    QTest::newRow("all groups")
        << "1" << "4" << QStringList{"Веер", "Компакт", "n", "n"} << twoRegs
        << QStringList{"1/1/1", "1/2/1", "2/1/1", "2/2/1", "3/1/1", "3/1/2", "3/2/1", "3/2/2"}
        << "Нет, Веер";
}

void TstSearch::offered_picks()
{
    QFETCH(QString, plain);
    QFETCH(QString, plenum);
    QFETCH(QStringList, jet);
    QFETCH(QStringList, reg);
    QFETCH(QStringList, all);
    QFETCH(QString, text);

    Row r("М", "100");
    r.fm("0.1").fz("0.1").dzeta(1, plain.toStdString()).dzetaP(1, plenum.toStdString());
    for (int k = 1; k <= 4; ++k)
        r.jetCaption(k, jet[k - 1].toStdString());
    for (int p = 1; p <= 5; ++p)
        r.regCaption(p, reg[p - 1].toStdString());
    Catalogue c;
    QVERIFY(test::Load({r}, c));
    const SizeLine line = c.line(1, 1);

    QStringList got;
    for (const OptionPicks& p : AllPicks(line))
        got << PicksName(p);
    QCOMPARE(got, all);
    QCOMPARE(PicksName(DefaultPicks(line)), all.front());
    QCOMPARE(QString::fromStdString(PicksText(line, DefaultPicks(line))), text);
}

// --- The list ------------------------------------------------------------------

void TstSearch::search_data()
{
    QTest::addColumn<Request>("request");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("fitting");

    const QString dp = QString::number(kLimitDP), lwa = QString::number(kLimitLwA),
                  tmin = QString::number(kLimitThrowMin), tmax = QString::number(kLimitThrowMax),
                  vx = QString::number(kLimitVx), v0 = QString::number(kLimitV0);
    Request r = Base();
    QTest::newRow("every type, no limits: all fit, by LwA, no level last")
        << r << QStringList{"Р 400", "А 300", "Г 500 1/1/1", "А 200", "Б 100", "В n"} << 6;
    r.type = "Решетки";
    QTest::newRow("one type") << r << QStringList{"Р 400"} << 1;
    r = Base();
    r.limits.LwA = 35;
    QTest::newRow("LwA at most 35: misses after, a missing level misses")
        << r << QStringList{"Р 400", "А 300", "Г 500 1/1/1", "А 200 !" + lwa, "Б 100 !" + lwa, "В n !" + lwa} << 3;
    r.limits.LwA = 37;
    QTest::newRow("LwA limit equal to the shown level is kept")
        << r << QStringList{"Р 400", "А 300", "Г 500 1/1/1", "А 200", "Б 100 !" + lwa, "В n !" + lwa} << 4;
    r = Base();
    r.limits.dP = 9;
    QTest::newRow("ΔP at most 9, ties by ΔP after LwA")
        << r << QStringList{"Р 400", "А 300", "Г 500 1/1/1", "А 200", "Б 100 !" + dp, "В n !" + dp} << 4;
    r = Base();
    r.limits.LwA = 40;
    r.limits.dP = 9;
    QTest::newRow("fewer misses first among the misses")
        << r << QStringList{"Р 400", "А 300", "Г 500 1/1/1", "А 200", "Б 100 !" + QString::number(kLimitDP | kLimitLwA),
                            "В n !" + QString::number(kLimitDP | kLimitLwA)} << 4;
    r = Base();
    r.limits.throwMin = 7;
    r.limits.throwMax = 10;
    QTest::newRow("throw between 7 and 10 m")
        << r << QStringList{"Р 400", "Г 500 1/1/1", "А 200", "А 300 !" + tmin, "Б 100 !" + tmax,
                            "В n !" + QString::number(kLimitThrowMin | kLimitThrowMax)} << 3;
    r = Base();
    r.variant = 2;
    r.inputs.V = "3";
    r.limits.VxMax = 0.5;
    r.limits.throwMin = 100;  // not a limit of variant 2
    QTest::newRow("variant 2: Vx at X at most 0.5")
        << r << QStringList{"А 300", "Р 400 !" + vx, "Г 500 1/1/1 !" + vx, "А 200 !" + vx, "Б 100 !" + vx, "В n !" + vx} << 1;
    r = Base();
    r.limits.V0Max = 2;
    QTest::newRow("V0 at most 2 m/s")
        << r << QStringList{"А 300", "Р 400 !" + v0, "Г 500 1/1/1 !" + v0, "А 200 !" + v0, "Б 100 !" + v0, "В n !" + v0} << 1;
    r = Base();
    r.inputs.A = "10";
    QTest::newRow("a free size under its allowance is refused, last")
        << r << QStringList{"Р 400", "А 300", "Г 500 1/1/1", "А 200", "Б 100", "В n refused"} << 5;
    r = Base();
    r.type = "Опции";
    r.allOptions = true;
    QTest::newRow("every option combination, ordered by LwA then ΔP")
        << r << QStringList{"Г 500 1/2/1", "Г 500 1/1/1", "Г 500 2/2/1", "Г 500 3/2/1", "Г 500 2/1/1",
                            "Г 500 3/1/1", "Г 500 3/2/2", "Г 500 3/1/2"} << 8;
    r.limits.LwA = 41;
    QTest::newRow("option combinations against a limit")
        << r << QStringList{"Г 500 1/2/1", "Г 500 1/1/1", "Г 500 2/2/1", "Г 500 3/2/1", "Г 500 2/1/1 !" + lwa,
                            "Г 500 3/1/1 !" + lwa, "Г 500 3/2/2 !" + lwa, "Г 500 3/1/2 !" + lwa} << 4;
    r = Base();
    r.type = "Нет такого";
    QTest::newRow("a type the catalogue lacks: nothing") << r << QStringList{} << 0;
}

void TstSearch::search()
{
    QFETCH(Request, request);
    QFETCH(QStringList, order);
    QFETCH(int, fitting);

    const SearchResult result = Search(catalogue_, request);
    QVERIFY2(result.problem.empty(), result.problem.c_str());
    QStringList got;
    for (const Found& f : result.found)
        got << Describe(catalogue_, f);
    QCOMPARE(got, order);
    QCOMPARE(result.fitting, fitting);
}

// The numbers of single candidates, worked out by hand (table above).
void TstSearch::numbers_of_a_candidate_data()
{
    QTest::addColumn<QString>("which");  // as Describe writes it, without marks
    QTest::addColumn<QList<double>>("numbers");  // ΔP, l, LwA, V0; NaN: not shown

    const double none = std::nan("");
    QTest::newRow("listed size") << "А 200" << QList<double>{9, 8.8, 37, 2.8};
    QTest::newRow("larger size") << "А 300" << QList<double>{2, 6.2, 27, 1.4};
    QTest::newRow("nothing shown but V0 absent") << "В n" << QList<double>{none, none, none, none};
    QTest::newRow("plenum with regulator at 15°: kr 2, dL 3") << "Г 500 3/1/2" << QList<double>{37, 8.8, 45, 2.8};
    QTest::newRow("jet form 2, no plenum") << "Г 500 1/2/1" << QList<double>{14, 8.8, 29, 2.8};
}

void TstSearch::numbers_of_a_candidate()
{
    QFETCH(QString, which);
    QFETCH(QList<double>, numbers);

    Request r = Base();
    r.allOptions = true;
    const SearchResult result = Search(catalogue_, r);
    const Found* found = nullptr;
    for (const Found& f : result.found)
        if (Describe(catalogue_, f) == which)
            found = &f;
    QVERIFY2(found, qPrintable(which));
    const QList<double> got{found->dP, found->jet, found->LwA, found->V0};
    for (int i = 0; i < 4; ++i)
        if (std::isnan(numbers[i]))
            QVERIFY2(std::isnan(got[i]), qPrintable(QString::number(i)));
        else
            QCOMPARE(got[i], numbers[i]);
}

// --- Limit boxes and inputs ------------------------------------------------

void TstSearch::limits_data()
{
    QTest::addColumn<LimitTexts>("texts");
    QTest::addColumn<int>("variant");
    QTest::addColumn<bool>("room");
    QTest::addColumn<QString>("problem");  // empty: read
    // dP, LwA, throwMin, throwMax, VxMax, V0Max, NR, LpA, l within Lc; -1: none
    QTest::addColumn<QList<double>>("read");

    QTest::newRow("all empty or blank: no limits")
        << LimitTexts{"", " ", "", "", "", "", "", ""} << 1 << false << "" << QList<double>{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    QTest::newRow("point and comma both read")
        << LimitTexts{"50", "35", "2,5", "8.5", "", "3", "", ""} << 1 << false << "" << QList<double>{50, 35, 2.5, 8.5, -1, 3, -1, -1, -1};
    QTest::newRow("variant 1 ignores the velocity box")
        << LimitTexts{"", "", "", "", "abc", "", "", ""} << 1 << false << "" << QList<double>{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    QTest::newRow("variant 2 ignores the throw boxes")
        << LimitTexts{"", "", "x", "y", "0,5", "", "", ""} << 2 << false << "" << QList<double>{-1, -1, -1, -1, 0.5, -1, -1, -1, -1};
    QTest::newRow("letters are named with the box")
        << LimitTexts{"", "тихо", "", "", "", "", "", ""} << 1 << false
        << "LwA не более: «тихо» не является числом. Введите число больше нуля." << QList<double>{};
    QTest::newRow("zero is no limit a user means")
        << LimitTexts{"", "", "", "", "", "0", "", ""} << 1 << false
        << "V0 не более: введите число больше нуля, а не «0»." << QList<double>{};
    QTest::newRow("the first bad box in the order of the window")
        << LimitTexts{"-1", "x", "", "", "", "", "", ""} << 1 << false
        << "ΔP не более: введите число больше нуля, а не «-1»." << QList<double>{};
    QTest::newRow("no room: its limits and the Lc check are not read")
        << LimitTexts{"", "", "", "", "", "", "x", "y", true} << 1 << false << "" << QList<double>{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    QTest::newRow("a room reads NR, LpA and the Lc check")
        << LimitTexts{"", "", "", "", "", "", "35", "40,5", true} << 1 << true << ""
        << QList<double>{-1, -1, -1, -1, -1, -1, 35, 40.5, 1};
    QTest::newRow("the Lc check counts for the throw only")
        << LimitTexts{"", "", "", "", "", "", "", "", true} << 2 << true << "" << QList<double>{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    QTest::newRow("a room's limit named with its box")
        << LimitTexts{"", "", "", "", "", "", "NR35", "", false} << 1 << true
        << "NR не более: «NR35» не является числом. Введите число больше нуля." << QList<double>{};
}

void TstSearch::limits()
{
    QFETCH(LimitTexts, texts);
    QFETCH(int, variant);
    QFETCH(bool, room);
    QFETCH(QString, problem);
    QFETCH(QList<double>, read);

    Limits limits;
    QCOMPARE(QString::fromStdString(ReadLimits(texts, variant, room, limits)), problem);
    if (!problem.isEmpty())
        return;
    const std::optional<double> got[] = {limits.dP,    limits.LwA,   limits.throwMin,
                                         limits.throwMax, limits.VxMax, limits.V0Max,
                                         limits.NR,    limits.LpA,
                                         limits.throwWithinLc ? std::optional<double>(1) : std::nullopt};
    for (int i = 0; i < kLimitCount; ++i)
        QCOMPARE(got[i].value_or(-1), read[i]);
}

void TstSearch::inputs_are_checked_for_the_sizes_searched_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<QString>("problem");

    QTest::newRow("empty flow") << "" << Inputs{"", "0.2", "300", "300", "1000"}
                                << "Расход воздуха L: введите число больше нуля.";
    QTest::newRow("bad free size with a free-size model among the types")
        << "Диффузоры" << Inputs{"1000", "0.2", "abc", "300", "1000"}
        << "Размер A: «abc» не является числом. Введите число больше нуля.";
    QTest::newRow("bad free size unused by the type") << "Решетки" << Inputs{"1000", "0.2", "abc", "300", "1000"} << "";
    QTest::newRow("flow before velocity") << "" << Inputs{"x", "y", "300", "300", "1000"}
                                          << "Расход воздуха L: «x» не является числом. Введите число больше нуля.";
}

void TstSearch::inputs_are_checked_for_the_sizes_searched()
{
    QFETCH(QString, type);
    QFETCH(Inputs, inputs);
    QFETCH(QString, problem);

    Request r = Base();
    r.type = type.toStdString();
    r.inputs = inputs;
    const SearchResult result = Search(catalogue_, r);
    QCOMPARE(QString::fromStdString(result.problem), problem);
    QCOMPARE(result.found.empty(), !problem.isEmpty());
}

void TstSearch::progress_can_stop_the_search()
{
    std::size_t seenTotal = 0;
    const SearchResult stopped = Search(catalogue_, Base(), [&](std::size_t, std::size_t total) {
        seenTotal = total;
        return false;
    });
    QVERIFY(stopped.cancelled);
    QVERIFY(stopped.found.empty());
    QCOMPARE(seenTotal, CandidateLines(catalogue_, ""));
    QCOMPARE(CandidateLines(catalogue_, ""), std::size_t{6});
    // A part stopped stops the whole.
    std::vector<SearchResult> parts{Search(catalogue_, Base()), stopped};
    QVERIFY(FinishSearch(Base(), std::move(parts)).cancelled);
}

// --- In parts --------------------------------------------------------------------

void TstSearch::parts_together_equal_the_search_data()
{
    QTest::addColumn<Request>("request");
    QTest::addColumn<int>("parts");

    Request r = Base();
    r.limits.LwA = 35;
    r.inputs.A = "10";  // the free size refused: refused ones keep the catalogue order
    QTest::newRow("halves, a limit and a refusal") << r << 2;
    QTest::newRow("more parts than rows") << r << 9;
    r.allOptions = true;
    r.type = "Опции";
    QTest::newRow("one type's option combinations in thirds") << r << 3;
    r = Base();
    r.inputs.L = "много";
    QTest::newRow("every part refuses the flow") << r << 2;
}

void TstSearch::parts_together_equal_the_search()
{
    QFETCH(Request, request);
    QFETCH(int, parts);

    const std::vector<RowRange> ranges = SplitRows(catalogue_, request.type, parts);
    QVERIFY(static_cast<int>(ranges.size()) <= parts);
    std::vector<SearchResult> found;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        QCOMPARE(ranges[i].first, i == 0 ? 1 : ranges[i - 1].end);  // every row once, in order
        QVERIFY(ranges[i].first < ranges[i].end);
        found.push_back(SearchPart(catalogue_, request, ranges[i]));
    }
    QCOMPARE(ranges.back().end, catalogue_.recordCount() + 1);
    const SearchResult whole = Search(catalogue_, request), merged = FinishSearch(request, std::move(found));
    QStringList wholeOrder, mergedOrder;
    for (const Found& f : whole.found)
        wholeOrder << Describe(catalogue_, f);
    for (const Found& f : merged.found)
        mergedOrder << Describe(catalogue_, f);
    QCOMPARE(mergedOrder, wholeOrder);
    QCOMPARE(merged.fitting, whole.fitting);
    QCOMPARE(merged.problem, whole.problem);
}

QTEST_APPLESS_MAIN(TstSearch)
#include "tst_search.moc"

// --- A room ------------------------------------------------------------------

namespace {

// One candidate of a search by what it is, whatever its count.
QString Key(const Found& f) { return QStringLiteral("%1/%2/").arg(f.row).arg(f.sizeIndex) + PicksName(f.picks); }

std::map<QString, Found> ByCandidate(const SearchResult& result)
{
    std::map<QString, Found> out;
    for (const Found& f : result.found)
        out.emplace(Key(f), f);
    return out;
}

// The outlet's own numbers at L1, straight from the engine: what «Считай!»
// gives when the main window gets L1 typed in.
Found OutletAt(const Catalogue& catalogue, const Request& r, const Found& f)
{
    const Candidate c = CandidateAt(catalogue, f.row, f.sizeIndex);
    const Inputs texts = InputsOf(r, f);
    TypedInputs in;
    Found out;
    if (!ReadInputs(texts, r.variant, c.mode, in).empty())
        return out;
    const Numbers n = CalculateNumbers(c, in, OptionStateFor(c.line, f.picks), r.decimalSeparator);
    out.ok = n.ok;
    out.dP = n.stages.pressureShown() ? n.stages.dP : kNoValue;
    out.LwA = n.stages.lwaComputed ? ShownSoundLevel(n.stages.LwA) : kNoValue;
    out.jet = n.stages.jetShown() ? (r.variant == 2 ? n.stages.Vx : n.stages.X) : kNoValue;
    out.LpA = n.stages.lwaComputed ? LpAShown(LevelA(PressureBands(n.stages.Lw, GeometryFor(r.room->room,
                                                                                             static_cast<int>(f.n)))))
                                   : kNoValue;
    return out;
}

bool Same(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

}  // namespace

void TstSearch::room_rows_data()
{
    QTest::addColumn<Room>("room");
    QTest::addColumn<QString>("flow");
    QTest::addColumn<LimitTexts>("limits");
    QTest::addColumn<bool>("someFit");

    const Room office{6, 6, 3, 1.2, 0.2};
    QTest::newRow("office 6×6×3, 400 m³/h, NR 35, l within Lc")
        << office << "400" << LimitTexts{"", "", "", "", "", "", "35", "", true} << true;
    QTest::newRow("hall 24×12×6, 6000 m³/h, LpA 40, decimal comma flow")
        << Room{24, 12, 6, 1.5, 0.3} << "6000,5" << LimitTexts{"", "", "", "", "", "", "", "40", false} << true;
    QTest::newRow("no count throws 100 m: the fewest misses decide")
        << office << "400" << LimitTexts{"", "", "100", "", "", "", "30", "", true} << false;
}

void TstSearch::room_rows()
{
    QFETCH(Room, room);
    QFETCH(QString, flow);
    QFETCH(LimitTexts, limits);
    QFETCH(bool, someFit);
    Catalogue shipped;
    LoadError error;
    QVERIFY(LoadCatalogue(NIMBO_SOURCE_DIR "/data", shipped, error));

    Request r = Base();
    r.inputs.L = flow.toStdString();
    r.inputs.V = "0.25";
    r.room = RoomInput{room, std::nullopt};
    QCOMPARE(QString::fromStdString(ReadLimits(limits, 1, true, r.limits)), QString());
    const SearchResult automatic = Search(shipped, r);
    QVERIFY(automatic.found.size() > 100);
    QCOMPARE(automatic.fitting > 0, someFit);

    // The same candidates at every typed count, to hold «авто» against.
    std::vector<std::map<QString, Found>> atCount(kMaxOutlets + 1);
    for (int n = 1; n <= kMaxOutlets; ++n) {
        Request typed = r;
        typed.room->n = n;
        atCount[static_cast<std::size_t>(n)] = ByCandidate(Search(shipped, typed));
    }
    const auto missed = [](const Found& f) { return f.ok ? std::popcount(f.misses) : 1000; };
    for (const Found& f : automatic.found) {
        const int n = static_cast<int>(f.n);
        const Found& same = atCount[static_cast<std::size_t>(n)].at(Key(f));
        QCOMPARE(f.misses, same.misses);
        // The smallest count that fits, or the smallest of the fewest misses.
        for (int m = 1; m < n; ++m)
            QVERIFY2(missed(atCount[static_cast<std::size_t>(m)].at(Key(f))) > (f.fits() ? 0 : missed(f) - 1),
                     qPrintable(Key(f)));
        if (!f.fits())
            for (int m = n + 1; m <= kMaxOutlets; ++m)
                QVERIFY(missed(atCount[static_cast<std::size_t>(m)].at(Key(f))) >= missed(f));
        if (!f.ok)
            continue;
        // The outlet at L1 is the outlet «Считай!» calculates.
        QCOMPARE(f.L1, ParseTyped(FlowPerOutletText(*ParseTyped(flow.toStdString()) / n, '.')).value());
        const Found outlet = OutletAt(shipped, r, f);
        QVERIFY(outlet.ok);
        QVERIFY2(Same(f.dP, outlet.dP) && Same(f.LwA, outlet.LwA) && Same(f.jet, outlet.jet) && Same(f.LpA, outlet.LpA),
                 qPrintable(Key(f)));
        QCOMPARE(std::isnan(f.LpA), std::isnan(f.LwA));
    }
    // Fitting rows by n, then NR.
    for (std::size_t i = 1; i < automatic.found.size(); ++i) {
        const Found &a = automatic.found[i - 1], &b = automatic.found[i];
        if (a.fits() && b.fits())
            QVERIFY(a.n < b.n || (a.n == b.n && !(a.NR > b.NR)));
    }
}
