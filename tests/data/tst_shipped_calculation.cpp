// Every air distributor of the shipped catalogue, in every size and every
// option combination the window offers for it, calculated at its rated flow:
// the calculation must succeed and every result must lie where such an
// outlet's figures lie in practice.
//
// Credible at the rated flow (a face velocity of 2 to 6 m/s, by product):
//   pressure loss              2 .. 300 Pa (the top end only with a damper
//                                            nearly closed)
//   sound power level          10 .. 50 dB(A), up to 60 dB(A) with a damper
//                              (never "<10")
//   throw to 0.5 m/s           0.3 .. 40 m
//   jet velocity at 3 m        0.05 .. 8 m/s
//   velocity in the rating section 1.5 .. 7 m/s, in the duct no faster, in the
//   live section 1.5 .. 15 m/s
#include <QtTest>

#include <charconv>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "calc/calculation.h"
#include "catalogue/catalogue.h"
#include "range.h"

using namespace nimbo;

namespace {

const char* const kProgramFolder = NIMBO_SOURCE_DIR "/data";
const char* const kRangeFolder = NIMBO_SOURCE_DIR "/tools/catalogue/range";

constexpr double kMinPressure = 2, kMaxPressure = 300;
constexpr double kMaxLwA = 60;
constexpr double kMinLwA = 10, kMaxLwAOpen = 50;
constexpr double kMinThrow = 0.3, kMaxThrow = 40;
constexpr double kMinVelocity = 0.05, kMaxVelocity = 8;
constexpr double kMinFaceVelocity = 1.5, kMaxFaceVelocity = 7, kMaxLiveVelocity = 15;

// Free sizes and slot lengths that a user would type: small, square, long
// and large faces; whole, started and half sections.
const std::vector<std::pair<int, int>> kFreeSizes{{200, 100}, {300, 300}, {600, 200}, {1000, 400}, {1200, 600}};
const std::vector<int> kSlotLengths{500, 1000, 1500, 2000, 3000};

double Number(const std::string& text)
{
    double v = NAN;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && ptr == text.data() + text.size() ? v : NAN;
}

struct Case {
    std::string what;  // for failure messages
    Calculation snapshot;
    bool damperUsed = false;
};

}  // namespace

class TestShippedCalculation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void every_combination_data();
    void every_combination();

private:
    std::vector<Case> casesFor(int row) const;

    Catalogue catalogue_;
    range::Range range_;
    std::map<std::string, const range::Model*> models_;
};

void TestShippedCalculation::initTestCase()
{
    LoadError error;
    QVERIFY2(LoadCatalogue(kProgramFolder, catalogue_, error), error.message().c_str());
    std::string problem;
    QVERIFY2(range::ReadRange(kRangeFolder, range_, problem), problem.c_str());
    for (const range::Type& t : range_.types)
        for (const range::Model& m : t.models)
            models_[m.name] = &m;
}

void TestShippedCalculation::every_combination_data()
{
    QTest::addColumn<int>("row");
    for (int row = 1; row <= catalogue_.recordCount(); ++row)
        QTest::newRow(std::string(catalogue_.modelName(row)).c_str()) << row;
}

// The options as the window offers them for a size: the plenum frame when a
// plenum zeta is given, "Нет" only when a plain zeta is given too, "КСР" only
// with a flow regulator; the jet-form frame unless caption 1 is "n"; the
// flow-regulator frame with "КСР", or on its own when there is no plenum.
std::vector<Case> TestShippedCalculation::casesFor(int row) const
{
    std::vector<Case> cases;
    const std::string model(catalogue_.modelName(row));
    const auto found = models_.find(model);
    if (found == models_.end())
        return cases;
    const double velocity = found->second->velocity;
    const SizeMode mode = catalogue_.sizeMode(row);
    const bool free = mode == SizeMode::Free, slot = mode == SizeMode::Slot;

    struct SizeChoice {
        int index;
        std::string A = "300", B = "300", length = "1000", label;
    };
    std::vector<SizeChoice> sizes;
    if (free) {
        for (auto [a, b] : kFreeSizes)
            sizes.push_back({1, std::to_string(a), std::to_string(b), "1000", std::to_string(a) + "x" + std::to_string(b)});
    } else if (slot) {
        for (int length : kSlotLengths)
            sizes.push_back({1, "300", "300", std::to_string(length), "L=" + std::to_string(length)});
    } else {
        for (int k = 1; k <= catalogue_.sizeLineCount(row); ++k)
            sizes.push_back({k, "300", "300", "1000", std::string(catalogue_.sizeDesignation(row, k))});
    }

    for (const SizeChoice& size : sizes) {
        const SizeLine line = catalogue_.line(row, size.index);
        // The rated flow: the rated velocity in the rating area Fm.
        double fm = line.fmValue();
        if (free)
            fm = (std::stod(size.A) - line.fmValue()) * (std::stod(size.B) - line.fmValue()) / 1e6;
        if (slot)
            fm = std::stod(size.length) * line.fmValue() / found->second->sectionLengthMm();
        const std::string flow = std::to_string(std::lround(velocity * fm * 3600));

        const bool plenum = line.dzetaP(1) != 0, plain = line.dzeta(1) != 0;
        const bool regulator = line.regCaption(1) != "n", jetForm = line.jetCaption(1) != "n";
        std::vector<int> ksdChoices = plenum ? std::vector<int>{} : std::vector<int>{1};
        if (plenum) {
            if (plain)
                ksdChoices.push_back(1);
            ksdChoices.push_back(2);
            if (regulator)
                ksdChoices.push_back(3);
        }
        std::vector<int> jetChoices;
        for (int k = 1; k <= 4; ++k)
            if (!jetForm ? k == 1 : line.jetCaption(k) != "n")
                jetChoices.push_back(k);

        for (int ksd : ksdChoices)
            for (int jet : jetChoices) {
                const bool rashVisible = plenum ? ksd == 3 : regulator;
                std::vector<int> positions;
                for (int p = 1; p <= 5; ++p)
                    if (rashVisible ? line.regCaption(p) != "n" : p == 1)
                        positions.push_back(p);
                for (int position : positions)
                    for (int variant : {1, 2}) {
                        Case c;
                        Calculation& s = c.snapshot;
                        Choice& choice = s.choice;
                        s.catalogue = &catalogue_;
                        choice.selection = {row, size.index, true, !free && !slot};
                        choice.inputs.L = flow;
                        choice.inputs.V = variant == 1 ? "0.5" : "3";
                        choice.inputs.A = size.A;
                        choice.inputs.B = size.B;
                        choice.inputs.Dlina = size.length;
                        choice.variant = variant;
                        s.shownBefore.fvShown = s.shownBefore.svShown = s.shownBefore.jsShown = false;
                        OptionState& o = choice.options;
                        o.ksdApplies = plenum;
                        o.ksd = ksd;
                        o.regFormApplies = jetForm;
                        o.regForm = jet;
                        o.regRashApplies = rashVisible;
                        o.regRash = position;
                        choice.shown.model = model;
                        choice.shown.listedSize = free || slot ? "" : size.label;
                        choice.shown.freeSizeShown = free;
                        choice.shown.lengthShown = slot;
                        c.damperUsed = rashVisible;
                        c.what = model + " " + size.label + " L=" + flow + " КСД" + std::to_string(ksd) +
                                 " форма " + std::to_string(jet) + " рег. " +
                                 (rashVisible ? std::to_string(position) : std::string("-")) + " вариант " +
                                 std::to_string(variant);
                        cases.push_back(std::move(c));
                    }
            }
    }
    return cases;
}

void TestShippedCalculation::every_combination()
{
    QFETCH(int, row);
    const std::vector<Case> cases = casesFor(row);
    QVERIFY2(!cases.empty(), "the model is missing from the range texts or offers nothing to calculate");
    for (const Case& c : cases) {
        const Outcome out = Calculate(c.snapshot);
        const std::string context = c.what + ": ";
        QVERIFY2(out.ok, (context + out.message).c_str());

        const double p = Number(out.texts.p);
        QVERIFY2(p >= kMinPressure && p <= kMaxPressure, (context + "ΔP = " + out.texts.p + " Па").c_str());

        // A damper only adds noise, so "<10" would mean an outlet far
        // quieter than any at its rated flow.
        const double lwa = Number(out.texts.LwA);
        const bool credible = c.damperUsed ? lwa >= kMinLwA && lwa <= kMaxLwA
                                           : lwa >= kMinLwA && lwa <= kMaxLwAOpen;
        QVERIFY2(credible, (context + "LwA = " + out.texts.LwA + " дБ(А)").c_str());

        const double jet = Number(out.texts.x);
        if (c.snapshot.choice.variant == 1)
            QVERIFY2(jet >= kMinThrow && jet <= kMaxThrow, (context + "l = " + out.texts.x + " м").c_str());
        else
            QVERIFY2(jet >= kMinVelocity && jet <= kMaxVelocity, (context + "Vx = " + out.texts.x + " м/с").c_str());

        // The section velocities follow from the rated flow: the rating
        // section at the rated velocity, the duct a little slower, the live
        // section a little faster.
        const int mode = catalogue_.line(row, c.snapshot.choice.selection.sizeIndex).sectionMode();
        if (mode == 1 || mode == 2) {
            const double v0 = Number(out.sections.V0);
            QVERIFY2(v0 >= kMinFaceVelocity && v0 <= kMaxFaceVelocity, (context + "V0 = " + out.sections.V0).c_str());
        }
        if (mode == 1) {
            const double vv = Number(out.sections.Vv);
            QVERIFY2(vv > 0 && vv <= Number(out.sections.V0), (context + "Vв = " + out.sections.Vv).c_str());
        }
        QVERIFY2(out.sections.jsShown, (context + "no live section").c_str());
        const double vjs = Number(out.sections.Vjs);
        QVERIFY2(vjs >= kMinFaceVelocity && vjs <= kMaxLiveVelocity, (context + "Vжс = " + out.sections.Vjs).c_str());
    }
}

QTEST_GUILESS_MAIN(TestShippedCalculation)
#include "tst_shipped_calculation.moc"
