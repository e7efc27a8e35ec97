// The selection cascade, the option groups, the calculation variant and the
// input edits, driven on the real window as a person would: pick entries,
// select options, type, and look at what shows, what is selected, what the
// result boxes hold and what the log file gained.
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <array>
#include <cstdlib>

#include "text/cp1251.h"
#include "support/window_fixture.h"

using namespace nimbo::test;

namespace {

const QStringList kFrames{"Frm_Rzmr", "Frm_Tprzmr", "Frm_Dlina", "Frm_KSD", "Frm_RegForm", "Frm_RegRash"};

// --- Catalogue lines --------------------------------------------------------

using Jet = std::array<const char*, 4>;
using Reg = std::array<const char*, 5>;

Line With(Line line, const Jet& jet, const Reg& reg, const char* plainZeta = "1", const char* plenumZeta = "0")
{
    for (int k = 1; k <= 4; ++k)
        line.set(field::JetCaption(k), jet[k - 1]);
    for (int p = 1; p <= 5; ++p)
        line.set(field::RegCaption(p), reg[p - 1]);
    line.set(field::Dzeta(1), plainZeta).set(field::DzetaP(1), plenumZeta);
    return line;
}

// A record with listed sizes: the first line says how many lines follow.
// Every line repeats the model and type, as the per-row texts come from the
// record's last line.
std::vector<Line> Listed(std::vector<Line> sizes)
{
    sizes.front().set(field::kLineCount, std::to_string(sizes.size()));
    return sizes;
}

std::vector<Line> Joined(std::initializer_list<std::vector<Line>> parts)
{
    std::vector<Line> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

const Jet kNoJet{"n", "n", "n", "n"};
const Reg kNoReg{"n", "n", "n", "n", "n"};
const Jet kAllJets{"Веер", "Компакт", "Плоская", "Вниз"};
const Reg kAllRegs{"b=0°", "b=15°", "b=30°", "b=45°", "b=60°"};

// Models for the cascade: one of each size mode, plus a second type.
std::vector<Line> CascadeCatalogue()
{
    const std::string d = "Диффузоры";
    return Joined({
        {With(Record("ДПУ-М", d, "n"), {"Веер", "Компакт", "n", "n"}, {"0°", "15°", "30°", "n", "n"}, "1.5", "2")},
        {With(Record("ЩР", d, "dlina", 2), kNoJet, {"r0", "r20", "r40", "r60", "n"}, "1", "0"),
         With(Record("ЩР", d, "x"), kNoJet, kNoReg)},
        Listed({With(Record("АМН", d, "100x100"), kAllJets, kNoReg, "0", "2"),
                With(Record("АМН", d, "200x200"), {"a", "b", "n", "n"}, kAllRegs, "1", "3"),
                With(Record("АМН", d, "100x100"), kNoJet, {"q0", "q1", "q2", "q3", "n"}, "1", "0")}),
        {With(Record("РВ", "Решетки", "n"), kAllJets, kAllRegs, "1", "2")},
    });
}

}  // namespace

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    void type_choice();
    void model_and_size_choice_data();
    void model_and_size_choice();
    void plenum_setup_data();
    void plenum_setup();
    void plenum_options_return_only_with_a_model_choice();
    void ksr_kept_across_types();
    void jet_form_setup_data();
    void jet_form_setup();
    void unoffered_selection_falls_back_data();
    void unoffered_selection_falls_back();
    void repeated_model_names_data();
    void repeated_model_names();
    void repeated_size_designation();
    void picture();
    void picture_of_each_choice_data();
    void picture_of_each_choice();
    void typed_entry_text_is_a_pick_data();
    void typed_entry_text_is_a_pick();
    void damaged_list_entry_changes_nothing_data();
    void damaged_list_entry_changes_nothing();

    void option_clears_data();
    void option_clears();
    void flow_regulator_switch();

    void variant_switch_data();
    void variant_switch();
    void header_appended_at_every_switch();
    void unwritable_log_file();

    void input_edit_clears_data();
    void input_edit_clears();
    void every_keystroke_clears_again();
};

// --- Cascade ----------------------------------------------------------------

void TestSelection::type_choice()
{
    Started s(Joined({CascadeCatalogue(),
                      {Record("в-3", "Решетки", "n"), Record("Б-2", "Решетки", "n"), Record("а-1", "Решетки", "n")}}));
    QVERIFY(s.ok);
    // State: a model shown with its groups, its page linked, results shown.
    QVERIFY(s.chooseModel("Диффузоры", "ДПУ-М"));
    s.control<QGroupBox>("Frm_FV")->show();
    s.fillResults();
    s.clickPicture(2);

    QVERIFY(s.pick("Cmb_TipVR", "Решетки"));
    auto* url = s.control<QLabel>("Lbl_URL");
    QCOMPARE(url->text(), QStringLiteral("https://www.timbra.example/"));
    QCOMPARE(url->toolTip(), QStringLiteral("Переход на сайт timbra.example"));
    QCOMPARE(s.window->currentSiteAddress(), QStringLiteral("https://www.timbra.example/"));
    QVERIFY(!s.shown("Frm_FV"));
    QCOMPARE(s.emptyResults(), kAllResults);
    QCOMPARE(s.window->skrtClicks(), 0);
    QCOMPARE(s.shownOf(kFrames), QStringList());
    QVERIFY(s.shown("Cmb_VidVR"));
    // Alphabetical whatever the catalogue order and the letter case; nothing picked yet.
    QCOMPARE(s.entries("Cmb_VidVR"), QStringList({"а-1", "Б-2", "в-3", "РВ"}));
    QCOMPARE(s.control<QComboBox>("Cmb_VidVR")->currentText(), QStringLiteral("Выбор воздухораспределителя"));
    QCOMPARE(s.window->selection().row, 4);  // the first row of the type
    QVERIFY(!s.window->selection().modelChosen);
}

void TestSelection::model_and_size_choice_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QList<int>>("picks");  // entries of Cmb_Tprzmr picked in turn
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("sizes");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("sizeIndex");
    QTest::addColumn<QString>("regRashTitle");
    QTest::addColumn<QString>("previous");  // model of the same type chosen before; empty: none

    const QStringList listed{"100x100", "200x200", "100x100"};
    QTest::newRow("free sizes A x B") << "ДПУ-М" << QList<int>() << QStringList({"Frm_Rzmr", "Frm_KSD", "Frm_RegForm"})
                                      << QStringList() << 1 << 1 << "Рег. расхода" << "";
    QTest::newRow("slot length, regulator of the outlet")
        << "ЩР" << QList<int>() << QStringList({"Frm_Dlina", "Frm_RegRash"}) << QStringList() << 2 << 1 << "Рег. расх. ВР" << "";
    QTest::newRow("listed sizes before a size is picked")
        << "АМН" << QList<int>() << QStringList({"Frm_Tprzmr"}) << listed << 3 << 1 << "Рег. расхода" << "";
    QTest::newRow("listed size with plenum only")
        << "АМН" << QList<int>{0} << QStringList({"Frm_Tprzmr", "Frm_KSD", "Frm_RegForm"}) << listed << 3 << 1 << "Рег. расхода" << "";
    QTest::newRow("listed size with plenum and jet forms")
        << "АМН" << QList<int>{1} << QStringList({"Frm_Tprzmr", "Frm_KSD", "Frm_RegForm"}) << listed << 3 << 2
        << "Рег. расхода" << "";
    QTest::newRow("listed size without plenum")
        << "АМН" << QList<int>{2} << QStringList({"Frm_Tprzmr", "Frm_RegRash"}) << listed << 3 << 3
        << "Рег. расх. ВР" << "";
    // The regulator of the outlet goes with its size; "Нет" is selected.
    QTest::newRow("plenum size after one without")
        << "АМН" << QList<int>{2, 1} << QStringList({"Frm_Tprzmr", "Frm_KSD", "Frm_RegForm"}) << listed << 3 << 2
        << "Рег. расх. ВР" << "";
    // A model choice first hides what the previous model showed.
    QTest::newRow("listed sizes after free sizes with plenum and jet forms")
        << "АМН" << QList<int>() << QStringList({"Frm_Tprzmr"}) << listed << 3 << 1 << "Рег. расхода" << "ДПУ-М";
    QTest::newRow("listed sizes after a slot with its regulator")
        << "АМН" << QList<int>() << QStringList({"Frm_Tprzmr"}) << listed << 3 << 1 << "Рег. расх. ВР" << "ЩР";
    QTest::newRow("free sizes after a listed size")
        << "ДПУ-М" << QList<int>() << QStringList({"Frm_Rzmr", "Frm_KSD", "Frm_RegForm"}) << QStringList() << 1 << 1
        << "Рег. расх. ВР" << "АМН:2";
}

void TestSelection::model_and_size_choice()
{
    QFETCH(QString, model);
    QFETCH(QList<int>, picks);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, sizes);
    QFETCH(int, row);
    QFETCH(int, sizeIndex);
    QFETCH(QString, regRashTitle);
    QFETCH(QString, previous);

    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    QVERIFY(s.pick("Cmb_TipVR", "Диффузоры"));
    if (!previous.isEmpty()) {
        QVERIFY(s.pick("Cmb_VidVR", previous.section(':', 0, 0)));
        if (previous.contains(':')) {
            const int entry = previous.section(':', 1).toInt();
            auto* sizes = s.control<QComboBox>("Cmb_Tprzmr");
            sizes->setCurrentIndex(entry);
            emit sizes->activated(entry);
        }
    }
    s.fillResults();
    s.clickPicture(1);
    QVERIFY(s.pick("Cmb_VidVR", model));
    for (int pick : picks) {
        s.fillResults();
        s.clickPicture(1);
        auto* box = s.control<QComboBox>("Cmb_Tprzmr");
        box->setCurrentIndex(pick);
        emit box->activated(pick);
    }

    QCOMPARE(s.shownOf(kFrames), frames);
    QCOMPARE(s.entries("Cmb_Tprzmr"), sizes);
    QCOMPARE(s.window->selection().row, row);
    QCOMPARE(s.window->selection().sizeIndex, sizeIndex);
    QCOMPARE(s.control<QGroupBox>("Frm_RegRash")->title(), regRashTitle);
    QCOMPARE(s.emptyResults(), kAllResults);
    QCOMPARE(s.window->skrtClicks(), 0);
    auto* url = s.control<QLabel>("Lbl_URL");
    QCOMPARE(url->text(), QStringLiteral("ВР на timbra.example"));
    QCOMPARE(url->toolTip(), QStringLiteral("Описание выбранного воздухораспределителя на сайте timbra.example"));
    QCOMPARE(s.window->currentSiteAddress(), "https://www.timbra.example/" + model);
    // A model choice shows no size as picked; a size choice shows the one picked.
    QCOMPARE(s.control<QComboBox>("Cmb_Tprzmr")->currentText(), picks.isEmpty() ? QString() : sizes.at(picks.last()));
}

void TestSelection::plenum_setup_data()
{
    QTest::addColumn<QString>("plainZeta");
    QTest::addColumn<QString>("plenumZeta");
    QTest::addColumn<QString>("regulator");  // flow-regulator caption 1
    QTest::addColumn<QString>("before");     // plenum option selected on the previous model
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("regRashTitle");  // "прежний": left as it was

    const QString ksd = QStringLiteral("Рег. расх. КСД"), vr = QStringLiteral("Рег. расх. ВР");
    const QString old = QStringLiteral("прежний");
    QTest::newRow("no version without plenum: Нет hidden, КСД selected")
        << "0" << "2" << "b=0°" << "Opt_KSD1" << QStringList({"Frm_KSD", "Opt_KSD2", "Opt_KSD3"}) << "Opt_KSD2"
        << old;
    QTest::newRow("no flow regulator: КСР hidden, КСД selected")
        << "1" << "2" << "n" << "Opt_KSD3" << QStringList({"Frm_KSD", "Opt_KSD1", "Opt_KSD2"}) << "Opt_KSD2" << old;
    QTest::newRow("neither: only КСД offered")
        << "0" << "2" << "n" << "Opt_KSD3" << QStringList({"Frm_KSD", "Opt_KSD2"}) << "Opt_KSD2" << old;
    QTest::newRow("КСР stays and brings its regulator")
        << "1" << "2" << "b=0°" << "Opt_KSD3"
        << QStringList({"Frm_KSD", "Opt_KSD1", "Opt_KSD2", "Opt_KSD3", "Frm_RegRash"}) << "Opt_KSD3" << ksd;
    QTest::newRow("Нет stays") << "1" << "2" << "b=0°" << "Opt_KSD1"
                               << QStringList({"Frm_KSD", "Opt_KSD1", "Opt_KSD2", "Opt_KSD3"}) << "Opt_KSD1" << old;
    QTest::newRow("no plenum, regulator of the outlet")
        << "1" << "0" << "b=0°" << "Opt_KSD3" << QStringList({"Opt_KSD1", "Opt_KSD2", "Opt_KSD3", "Frm_RegRash"})
        << "Opt_KSD3" << vr;
    QTest::newRow("no plenum, no regulator")
        << "1" << "0" << "n" << "Opt_KSD1" << QStringList({"Opt_KSD1", "Opt_KSD2", "Opt_KSD3"}) << "Opt_KSD1" << vr;
    QTest::newRow("no plenum and no version without: nothing hidden")
        << "0" << "0" << "b=0°" << "Opt_KSD1" << QStringList({"Opt_KSD1", "Opt_KSD2", "Opt_KSD3", "Frm_RegRash"})
        << "Opt_KSD1" << vr;
}

void TestSelection::plenum_setup()
{
    QFETCH(QString, plainZeta);
    QFETCH(QString, plenumZeta);
    QFETCH(QString, regulator);
    QFETCH(QString, before);
    QFETCH(QStringList, shown);
    QFETCH(QString, after);
    QFETCH(QString, regRashTitle);

    const QByteArray reg1 = regulator.toUtf8(), plain = plainZeta.toUtf8(), plenum = plenumZeta.toUtf8();
    Started s({With(Record("Все", "Т", "n"), kAllJets, kAllRegs, "1", "2"),
               With(Record("Проба", "Т", "n"), kAllJets, {reg1.constData(), "b=15°", "b=30°", "n", "n"},
                    plain.constData(), plenum.constData())});
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Т", "Все"));
    s.option(before)->click();
    QVERIFY(s.option(before)->isChecked());
    s.control<QGroupBox>("Frm_RegRash")->setTitle(QStringLiteral("прежний"));
    s.fillResults();

    QVERIFY(s.pick("Cmb_VidVR", "Проба"));
    QCOMPARE(s.shownOf({"Frm_KSD", "Opt_KSD1", "Opt_KSD2", "Opt_KSD3", "Frm_RegRash"}), shown);
    QVERIFY(s.option(after)->isChecked());
    QCOMPARE(s.control<QGroupBox>("Frm_RegRash")->title(), regRashTitle);
    QCOMPARE(s.captions("Opt_RegRash", 5), QStringList({regulator, "b=15°", "b=30°", "n", "n"}));
    QCOMPARE(s.emptyResults(), kAllResults);
}

void TestSelection::plenum_options_return_only_with_a_model_choice()
{
    // Size A is not offered without a plenum, size B is; "Нет" hidden by A
    // stays hidden on B until the model is chosen again.
    Started s({Listed({With(Record("М", "Т", "A"), kAllJets, kAllRegs, "0", "2"),
                       With(Record("М", "Т", "B"), kAllJets, kAllRegs, "1", "2")})});
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Т", "М"));
    QVERIFY(s.pick("Cmb_Tprzmr", "A"));
    QVERIFY(!s.shown("Opt_KSD1"));
    QCOMPARE(s.selected("Opt_KSD", 3), 2);
    QVERIFY(s.pick("Cmb_Tprzmr", "B"));
    QVERIFY(!s.shown("Opt_KSD1"));
    QVERIFY(s.shown("Frm_KSD"));
    QVERIFY(s.pick("Cmb_VidVR", "М"));
    QVERIFY(s.shown("Opt_KSD1"));
    QVERIFY(s.pick("Cmb_Tprzmr", "B"));
    QVERIFY(s.shown("Opt_KSD1"));
    QCOMPARE(s.selected("Opt_KSD", 3), 2);
}

void TestSelection::ksr_kept_across_types()
{
    Started s({With(Record("Х", "Первый", "n"), kAllJets, kAllRegs, "1", "2"),
               With(Record("У", "Второй", "n"), kAllJets, {"c0", "c1", "c2", "c3", "n"}, "1", "2")});
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Первый", "Х"));
    s.option("Opt_KSD3")->setChecked(true);
    QVERIFY(s.pick("Cmb_TipVR", "Второй"));
    QVERIFY(!s.shown("Frm_RegRash"));
    QVERIFY(s.option("Opt_KSD3")->isChecked());
    QVERIFY(s.pick("Cmb_VidVR", "У"));
    QVERIFY(s.option("Opt_KSD3")->isChecked());
    QVERIFY(s.shown("Frm_RegRash"));
    QCOMPARE(s.control<QGroupBox>("Frm_RegRash")->title(), QStringLiteral("Рег. расх. КСД"));
    QCOMPARE(s.captions("Opt_RegRash", 5), QStringList({"c0", "c1", "c2", "c3", "n"}));
    QCOMPARE(s.shownOf({"Opt_RegRash1", "Opt_RegRash2", "Opt_RegRash3", "Opt_RegRash4", "Opt_RegRash5"}),
             QStringList({"Opt_RegRash1", "Opt_RegRash2", "Opt_RegRash3", "Opt_RegRash4"}));
}

void TestSelection::jet_form_setup_data()
{
    QTest::addColumn<QStringList>("steps");  // "size:<designation>" or "option:<name>"
    QTest::addColumn<bool>("frameShown");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("shown");  // of Opt_RegForm1..4

    const QStringList all{"Opt_RegForm1", "Opt_RegForm2", "Opt_RegForm3", "Opt_RegForm4"};
    const QStringList two{"Opt_RegForm1", "Opt_RegForm2"};
    QTest::newRow("four jet forms") << QStringList({"size:J4"}) << true
                                    << QStringList({"Веер", "Компакт", "Плоская", "Вниз"}) << all;
    QTest::newRow("forms 3 and 4 not offered")
        << QStringList({"size:J2"}) << true << QStringList({"a", "b", "n", "n"}) << two;
    QTest::newRow("only form 1: form 2 hidden too")
        << QStringList({"size:J1"}) << true << QStringList({"solo", "n", "n", "n"})
        << QStringList({"Opt_RegForm1"});
    // A size without a regulator hides the frame and leaves the options as
    // the previous size left them.
    QTest::newRow("no regulator keeps the previous captions")
        << QStringList({"size:J2", "size:J0"}) << false << QStringList({"a", "b", "n", "n"}) << two;
    // "Нет" offers forms 3 and 4 again when the current size has them, even
    // while the frame is hidden.
    QTest::newRow("Нет shows the forms the size has")
        << QStringList({"size:J2", "size:J0", "option:Opt_KSD2", "option:Opt_KSD1"}) << false
        << QStringList({"a", "b", "n", "n"}) << all;
    // A caption "n" never hides a form on "Нет".
    QTest::newRow("Нет leaves unoffered forms alone")
        << QStringList({"size:J4", "option:Opt_KSD2", "size:J2", "option:Opt_KSD1"}) << true
        << QStringList({"a", "b", "n", "n"}) << two;
}

void TestSelection::jet_form_setup()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, frameShown);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, shown);

    Started s({Listed({With(Record("М", "Т", "J4"), kAllJets, kAllRegs, "1", "2"),
                       With(Record("М", "Т", "J2"), {"a", "b", "n", "n"}, kAllRegs, "1", "2"),
                       With(Record("М", "Т", "J1"), {"solo", "n", "n", "n"}, kAllRegs, "1", "2"),
                       With(Record("М", "Т", "J0"), {"n", "x", "y", "z"}, kAllRegs, "1", "2")})});
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Т", "М"));
    for (const QString& step : steps) {
        const QString what = step.section(':', 1);
        if (step.startsWith("size:"))
            QVERIFY(s.pick("Cmb_Tprzmr", what));
        else
            s.option(what)->setChecked(true);
    }
    QCOMPARE(s.shown("Frm_RegForm"), frameShown);
    QCOMPARE(s.captions("Opt_RegForm", 4), captions);
    QCOMPARE(s.shownOf({"Opt_RegForm1", "Opt_RegForm2", "Opt_RegForm3", "Opt_RegForm4"}), shown);
}

void TestSelection::unoffered_selection_falls_back_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("firstModel");
    QTest::addColumn<QString>("firstSize");
    QTest::addColumn<QString>("model");  // empty: stay with the model
    QTest::addColumn<QString>("size");   // empty: no size pick
    QTest::addColumn<int>("selected");

    QTest::newRow("jet form 3 missing in the next size") << "Opt_RegForm" << 3 << "Л" << "full" << "" << "poor" << 1;
    QTest::newRow("jet form 2 still offered") << "Opt_RegForm" << 2 << "Л" << "full" << "" << "poor" << 2;
    QTest::newRow("position 5 missing in the next size") << "Opt_RegRash" << 5 << "Л" << "full" << "" << "poor" << 1;
    QTest::newRow("position 3 still offered") << "Opt_RegRash" << 3 << "Л" << "full" << "" << "poor" << 3;
    QTest::newRow("position 4 missing in the next model") << "Opt_RegRash" << 4 << "Л" << "full" << "С" << "" << 1;
    QTest::newRow("position 4 missing at size 1 of a listed model")
        << "Opt_RegRash" << 4 << "Ф" << "" << "П" << "" << 1;
    QTest::newRow("position 4 offered by the next model") << "Opt_RegRash" << 4 << "Л" << "full" << "Ф" << "" << 4;
    // The model choice itself returns to jet form 1.
    QTest::newRow("model choice selects jet form 1") << "Opt_RegForm" << 4 << "Л" << "full" << "Ф" << "" << 1;
}

void TestSelection::unoffered_selection_falls_back()
{
    QFETCH(QString, group);
    QFETCH(int, option);
    QFETCH(QString, firstModel);
    QFETCH(QString, firstSize);
    QFETCH(QString, model);
    QFETCH(QString, size);
    QFETCH(int, selected);

    // Without a plenum, so the flow regulator belongs to the outlet and shows.
    Started s(Joined({Listed({With(Record("Л", "Т", "full"), kAllJets, kAllRegs),
                              With(Record("Л", "Т", "poor"), {"a", "b", "n", "n"}, {"r0", "r1", "r2", "r3", "n"})}),
                      {With(Record("С", "Т", "n"), kAllJets, {"s0", "s1", "s2", "n", "n"})},
                      {With(Record("Ф", "Т", "n"), kAllJets, kAllRegs)},
                      Listed({With(Record("П", "Т", "s1"), kAllJets, {"p0", "p1", "p2", "n", "n"}),
                              With(Record("П", "Т", "s2"), kAllJets, kAllRegs)})}));
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Т", firstModel));
    if (!firstSize.isEmpty())
        QVERIFY(s.pick("Cmb_Tprzmr", firstSize));
    s.option(group + QString::number(option))->click();
    if (!model.isEmpty())
        QVERIFY(s.pick("Cmb_VidVR", model));
    if (!size.isEmpty())
        QVERIFY(s.pick("Cmb_Tprzmr", size));
    QCOMPARE(s.selected(group, group == "Opt_RegForm" ? 4 : 5), selected);
}

void TestSelection::repeated_model_names_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");  // Opt_RegRash1 of that row

    QTest::newRow("first of two equal names") << "Решетки" << "РВ" << 0 << 1 << "row1";
    QTest::newRow("second of two equal names") << "Решетки" << "РВ" << 1 << 3 << "row3";
    QTest::newRow("name also in an earlier row of another type") << "Решетки" << "АД" << 0 << 4 << "row4";
    QTest::newRow("the earlier row itself") << "Диффузоры" << "АД" << 0 << 2 << "row2";
}

void TestSelection::repeated_model_names()
{
    QFETCH(QString, type);
    QFETCH(QString, model);
    QFETCH(int, occurrence);
    QFETCH(int, row);
    QFETCH(QString, caption);

    const auto rec = [](const char* model, const char* type, const char* reg) {
        return With(Record(model, type, "n").set(field::kPage, std::string("https://www.timbra.example/") + reg), kNoJet,
                    {reg, "n", "n", "n", "n"});
    };
    Started s({rec("РВ", "Решетки", "row1"), rec("АД", "Диффузоры", "row2"), rec("РВ", "Решетки", "row3"),
               rec("АД", "Решетки", "row4")});
    QVERIFY(s.ok);
    QVERIFY(s.pick("Cmb_TipVR", type));
    if (type == "Решетки")
        QCOMPARE(s.entries("Cmb_VidVR"), QStringList({"АД", "РВ", "РВ"}));
    QVERIFY(s.pick("Cmb_VidVR", model, occurrence));
    QCOMPARE(s.window->selection().row, row);
    QCOMPARE(s.option("Opt_RegRash1")->text(), caption);
    QCOMPARE(s.window->currentSiteAddress(), "https://www.timbra.example/" + caption);
}

void TestSelection::repeated_size_designation()
{
    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Диффузоры", "АМН"));
    QVERIFY(s.pick("Cmb_Tprzmr", "100x100", 1));
    QCOMPARE(s.window->selection().sizeIndex, 3);
    QCOMPARE(s.captions("Opt_RegRash", 5), QStringList({"q0", "q1", "q2", "q3", "n"}));
    QVERIFY(s.pick("Cmb_Tprzmr", "100x100", 0));
    QCOMPARE(s.window->selection().sizeIndex, 1);
    QCOMPARE(s.captions("Opt_RegForm", 4), QStringList({"Веер", "Компакт", "Плоская", "Вниз"}));
}

void TestSelection::picture()
{
    Started s({Record("С картинкой", "Тип", "n").set(291, "тип").set(290, "нет такой"),
               Record("Битая", "Тип", "n").set(290, "битая")});
    QVERIFY(s.ok);
    QVERIFY(s.folder.writePicture(QStringLiteral("тип"), Qt::red));
    QFile broken(s.folder.file(QStringLiteral("jpg/битая.jpg")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    auto* picture = s.control<QLabel>("Img_VR");

    QVERIFY(s.pick("Cmb_TipVR", "Тип"));
    const QColor shown = picture->pixmap().toImage().pixelColor(10, 10);
    QVERIFY2(shown.red() > 240 && shown.green() < 16 && shown.blue() < 16, qPrintable(shown.name()));
    // A missing file: an empty area, and the choice completes.
    QVERIFY(s.pick("Cmb_VidVR", "С картинкой"));
    QVERIFY(picture->pixmap().isNull());
    QVERIFY(s.shown("Frm_Rzmr"));
    QCOMPARE(s.window->selection().row, 1);
    QVERIFY(s.pick("Cmb_TipVR", "Тип"));
    QVERIFY(!picture->pixmap().isNull());
    QVERIFY(s.pick("Cmb_VidVR", "Битая"));
    QVERIFY(picture->pixmap().isNull());
    QCOMPARE(s.window->selection().row, 2);
    QVERIFY(s.platform.messages.isEmpty());
}

void TestSelection::picture_of_each_choice_data()
{
    QTest::addColumn<QStringList>("steps");  // "type:<name>", "model:<name>", "size:<designation>"
    QTest::addColumn<QColor>("color");

    QTest::newRow("type: picture of its first row") << QStringList({"type:Т"}) << QColor(Qt::red);
    QTest::newRow("model: picture of its first size") << QStringList({"type:Т", "model:Л"}) << QColor(Qt::blue);
    QTest::newRow("model of a later row") << QStringList({"type:Т", "model:Н"}) << QColor(Qt::yellow);
    QTest::newRow("size choice keeps the model's picture")
        << QStringList({"type:Т", "model:Л", "size:s2"}) << QColor(Qt::blue);
    QTest::newRow("type again after a model") << QStringList({"type:Т", "model:Л", "type:Т"}) << QColor(Qt::red);
}

void TestSelection::picture_of_each_choice()
{
    QFETCH(QStringList, steps);
    QFETCH(QColor, color);

    Started s(Joined({Listed({Record("Л", "Т", "s1").set(290, "первый"),
                              Record("Л", "Т", "s2").set(290, "второй").set(291, "тип Л")}),
                      {Record("Н", "Т", "n").set(290, "н").set(291, "тип Н")}}));
    QVERIFY(s.ok);
    QVERIFY(s.folder.writePicture(QStringLiteral("тип Л"), Qt::red));
    QVERIFY(s.folder.writePicture(QStringLiteral("тип Н"), Qt::green));
    QVERIFY(s.folder.writePicture(QStringLiteral("первый"), Qt::blue));
    QVERIFY(s.folder.writePicture(QStringLiteral("второй"), Qt::magenta));
    QVERIFY(s.folder.writePicture(QStringLiteral("н"), Qt::yellow));

    const char* const combos[] = {"Cmb_TipVR", "Cmb_VidVR", "Cmb_Tprzmr"};
    for (const QString& step : steps) {
        const int which = step.startsWith("type:") ? 0 : step.startsWith("model:") ? 1 : 2;
        QVERIFY2(s.pick(combos[which], step.section(':', 1)), qPrintable(step));
    }
    const QImage shown = s.control<QLabel>("Img_VR")->pixmap().toImage();
    QVERIFY(!shown.isNull());
    const QColor pixel = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    // A JPEG is not exact: near enough in every channel.
    const auto near = [](int a, int b) { return std::abs(a - b) < 40; };
    QVERIFY2(near(pixel.red(), color.red()) && near(pixel.green(), color.green()) && near(pixel.blue(), color.blue()),
             qPrintable(pixel.name() + " instead of " + color.name()));
}

void TestSelection::typed_entry_text_is_a_pick_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("text");   // typed over the box's own text
    QTest::addColumn<QString>("how");    // "Enter", "focus out", "list", "keys" or "keys after refusal"
    QTest::addColumn<QString>("shown");  // the box's text afterwards
    QTest::addColumn<int>("row");        // the selection afterwards; row 2, size 1 as before
    QTest::addColumn<int>("sizeIndex");

    QTest::newRow("type typed, Enter") << "Cmb_TipVR" << "Grilles" << "Enter" << "Grilles" << 1 << 1;
    QTest::newRow("type typed, focus leaves") << "Cmb_TipVR" << "Grilles" << "focus out" << "Grilles" << 1 << 1;
    QTest::newRow("type picked from the list") << "Cmb_TipVR" << "Grilles" << "list" << "Grilles" << 1 << 1;
    QTest::newRow("type typed key by key, another box clicked")
        << "Cmb_TipVR" << "Grilles" << "keys" << "Grilles" << 1 << 1;
    QTest::newRow("type completed from its first letters, Enter") << "Cmb_TipVR" << "Gri" << "Enter" << "Grilles" << 1 << 1;
    QTest::newRow("type in another letter case, key by key") << "Cmb_TipVR" << "grilles" << "keys" << "Diffusers" << 2 << 1;
    QTest::newRow("type already picked, Enter") << "Cmb_TipVR" << "Diffusers" << "Enter" << "Diffusers" << 2 << 1;
    QTest::newRow("model typed, Enter") << "Cmb_VidVR" << "M3" << "Enter" << "M3" << 3 << 1;
    QTest::newRow("model typed, focus leaves") << "Cmb_VidVR" << "M3" << "focus out" << "M3" << 3 << 1;
    QTest::newRow("model picked from the list") << "Cmb_VidVR" << "M3" << "list" << "M3" << 3 << 1;
    QTest::newRow("model typed key by key, another box clicked") << "Cmb_VidVR" << "M3" << "keys" << "M3" << 3 << 1;
    QTest::newRow("model that is no entry, key by key") << "Cmb_VidVR" << "M9" << "keys" << "M2" << 2 << 1;
    QTest::newRow("size typed, Enter") << "Cmb_Tprzmr" << "S2" << "Enter" << "S2" << 2 << 2;
    QTest::newRow("size typed, focus leaves") << "Cmb_Tprzmr" << "S2" << "focus out" << "S2" << 2 << 2;
    QTest::newRow("size picked from the list") << "Cmb_Tprzmr" << "S2" << "list" << "S2" << 2 << 2;
    QTest::newRow("size typed key by key, another box clicked") << "Cmb_Tprzmr" << "S2" << "keys" << "S2" << 2 << 2;
    QTest::newRow("size that is no entry, key by key after a refused «Считай!»")
        << "Cmb_Tprzmr" << "ДК" << "keys after refusal" << "S1" << 2 << 1;
}

namespace {

// One key at a time, each handled before the next, as a person types.
void TypeKeyByKey(QLineEdit* edit, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCoreApplication::processEvents();
    }
}

}  // namespace

void TestSelection::typed_entry_text_is_a_pick()
{
    QFETCH(QString, combo);
    QFETCH(QString, text);
    QFETCH(QString, how);
    QFETCH(QString, shown);
    QFETCH(int, row);
    QFETCH(int, sizeIndex);

    Started s(Joined({{Record("M1", "Grilles", "n")},
                      Listed({With(Record("M2", "Diffusers", "S1"), kAllJets, kAllRegs, "1", "0"),
                              With(Record("M2", "Diffusers", "S2"), kNoJet, kNoReg, "1", "0")}),
                      {Record("M3", "Diffusers", "n")}}));
    QVERIFY(s.ok);
    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    QVERIFY(s.chooseModel("Diffusers", "M2"));
    // A size is asked for: the button keeps the focus, and the keys below
    // reach a box that never held it.
    if (how == "keys after refusal")
        QTest::mouseClick(s.control<QPushButton>("Cmd_Start"), Qt::LeftButton);
    QVERIFY(s.pick("Cmb_Tprzmr", "S1"));
    const QStringList framesBefore = s.shownOf(kFrames);
    s.fillResults();
    s.clickPicture(2);

    auto* box = s.control<QComboBox>(combo);
    QLineEdit* edit = box->lineEdit();
    if (how == "list") {
        box->showPopup();
        QAbstractItemView* view = box->view();
        const QModelIndex entry = view->model()->index(box->findText(text), 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    } else if (how.startsWith("keys")) {
        if (how == "keys")
            s.control<QPushButton>("Cmd_Start")->setFocus();
        edit->selectAll();
        TypeKeyByKey(edit, text);
        QTest::mouseClick(s.box("TxtBx_V"), Qt::LeftButton);
        QVERIFY(s.box("TxtBx_V")->hasFocus());
    } else {
        edit->selectAll();
        QTest::keyClicks(edit, text);
        if (how == "Enter") {
            QTest::keyClick(edit, Qt::Key_Return);
        } else {
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(edit, &leave);
        }
    }

    // A pick clears every result and the picture clicks; anything else
    // leaves the window as it was, the box showing its picked entry again.
    const bool chosen = row != 2 || sizeIndex != 1;
    QCOMPARE(box->currentText(), shown);
    QCOMPARE(s.window->selection().row, row);
    QCOMPARE(s.window->selection().sizeIndex, sizeIndex);
    // The list under the type shown is that type's.
    QCOMPARE(s.entries("Cmb_VidVR"), row == 1 ? QStringList({"M1"}) : QStringList({"M2", "M3"}));
    QCOMPARE(s.emptyResults(), chosen ? kAllResults : QStringList());
    QCOMPARE(s.window->skrtClicks(), chosen ? 0 : 2);
    if (!chosen)
        QCOMPARE(s.shownOf(kFrames), framesBefore);
    QCOMPARE(s.platform.messages.size(), how == "keys after refusal" ? 1 : 0);
}

void TestSelection::damaged_list_entry_changes_nothing_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QVariant>("data");  // what the entry carries; invalid: nothing

    QTest::newRow("type the catalogue lacks") << "Cmb_TipVR" << QVariant();
    QTest::newRow("model entry without its row") << "Cmb_VidVR" << QVariant();
    QTest::newRow("model entry beyond the last row") << "Cmb_VidVR" << QVariant(5);
    QTest::newRow("model entry at row 0") << "Cmb_VidVR" << QVariant(0);
    QTest::newRow("size entry without its line") << "Cmb_Tprzmr" << QVariant();
    QTest::newRow("size entry beyond line 200") << "Cmb_Tprzmr" << QVariant(201);
}

void TestSelection::damaged_list_entry_changes_nothing()
{
    QFETCH(QString, combo);
    QFETCH(QVariant, data);

    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Диффузоры", "АМН"));
    QVERIFY(s.pick("Cmb_Tprzmr", "200x200"));
    const QStringList frames = s.shownOf(kFrames);
    const QStringList models = s.entries("Cmb_VidVR");
    const QString site = s.window->currentSiteAddress();
    s.fillResults();
    s.clickPicture(2);

    // Only a damaged list could hold such an entry; picking it must neither
    // end the program nor leave the window pointing at no row.
    auto* box = s.control<QComboBox>(combo);
    box->addItem(QStringLiteral("Чужая запись"), data);
    box->setCurrentIndex(box->count() - 1);
    emit box->activated(box->count() - 1);

    QCOMPARE(s.emptyResults(), QStringList());
    QCOMPARE(s.window->skrtClicks(), 2);
    QCOMPARE(s.window->selection().row, 3);
    QCOMPARE(s.window->selection().sizeIndex, 2);
    QCOMPARE(s.shownOf(kFrames), frames);
    QCOMPARE(s.window->currentSiteAddress(), site);
    if (combo != "Cmb_VidVR")
        QCOMPARE(s.entries("Cmb_VidVR"), models);
    QVERIFY(s.platform.messages.isEmpty());
}

// --- Option groups ----------------------------------------------------------

void TestSelection::option_clears_data()
{
    QTest::addColumn<QStringList>("before");  // selected before the results show
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("cleared");
    QTest::addColumn<bool>("regRashShown");

    const QStringList ksr{"Opt_KSD3"};
    QTest::newRow("Нет") << ksr << "Opt_KSD1" << kMainResults << false;
    QTest::newRow("КСД") << ksr << "Opt_KSD2" << kMainResults << false;
    QTest::newRow("КСР") << QStringList() << "Opt_KSD3" << kMainResults << true;
    QTest::newRow("jet form 2") << QStringList() << "Opt_RegForm2" << kAllResults << false;
    QTest::newRow("jet form 4 with КСР") << ksr << "Opt_RegForm4" << kAllResults << true;
    QTest::newRow("jet form 1 again") << QStringList({"Opt_RegForm3"}) << "Opt_RegForm1" << kAllResults << false;
    QTest::newRow("regulator position 2") << ksr << "Opt_RegRash2" << kMainResults << true;
    QTest::newRow("regulator position 5") << ksr << "Opt_RegRash5" << kMainResults << true;
    QTest::newRow("regulator position 1 again")
        << QStringList({"Opt_KSD3", "Opt_RegRash4"}) << "Opt_RegRash1" << kMainResults << true;
    // Only becoming selected counts.
    QTest::newRow("Нет while selected") << QStringList() << "Opt_KSD1" << QStringList() << false;
    QTest::newRow("jet form 1 while selected") << QStringList() << "Opt_RegForm1" << QStringList() << false;
}

void TestSelection::option_clears()
{
    QFETCH(QStringList, before);
    QFETCH(QString, option);
    QFETCH(QStringList, cleared);
    QFETCH(bool, regRashShown);

    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Решетки", "РВ"));
    for (const QString& name : before)
        s.click(name);
    s.fillResults();
    s.clickPicture(3);
    QCOMPARE(s.window->skrtClicks(), 3);

    s.click(option);
    QVERIFY(s.option(option)->isChecked());
    QCOMPARE(s.emptyResults(), cleared);
    QCOMPARE(s.window->skrtClicks(), cleared.isEmpty() ? 3 : 0);
    QCOMPARE(s.shown("Frm_RegRash"), regRashShown);
}

void TestSelection::flow_regulator_switch()
{
    Started s({Listed({With(Record("М", "Т", "A"), kAllJets, kAllRegs, "1", "2"),
                       With(Record("М", "Т", "B"), kAllJets, {"p0", "p1", "p2", "p3", "n"}, "1", "2")})});
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel("Т", "М"));
    QVERIFY(s.pick("Cmb_Tprzmr", "B"));
    // Selecting nothing new: position 5 stays as the model choice left it.
    QVERIFY(s.shown("Opt_RegRash5"));
    QVERIFY(!s.shown("Frm_RegRash"));

    s.option("Opt_KSD3")->setChecked(true);
    auto* frame = s.control<QGroupBox>("Frm_RegRash");
    QVERIFY(s.shown("Frm_RegRash"));
    QCOMPARE(frame->title(), QStringLiteral("Рег. расх. КСД"));
    QCOMPARE(s.captions("Opt_RegRash", 5), QStringList({"p0", "p1", "p2", "p3", "n"}));
    QCOMPARE(s.shownOf({"Opt_RegRash1", "Opt_RegRash2", "Opt_RegRash3", "Opt_RegRash4", "Opt_RegRash5"}),
             QStringList({"Opt_RegRash1", "Opt_RegRash2", "Opt_RegRash3", "Opt_RegRash4"}));

    // Back to "Нет": the frame goes, the main results are cleared, the sections stay.
    s.fillResults();
    s.option("Opt_KSD1")->setChecked(true);
    QVERIFY(!s.shown("Frm_RegRash"));
    QCOMPARE(s.emptyResults(), kMainResults);

    // A size choice with "КСР" selected sets positions 4 and 5 from the new size.
    s.option("Opt_KSD3")->setChecked(true);
    QVERIFY(s.pick("Cmb_Tprzmr", "A"));
    QVERIFY(s.shown("Frm_RegRash"));
    QVERIFY(s.shown("Opt_RegRash5"));
    QCOMPARE(s.captions("Opt_RegRash", 5), QStringList({"b=0°", "b=15°", "b=30°", "b=45°", "b=60°"}));
}

// --- Variant ----------------------------------------------------------------

void TestSelection::variant_switch_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("result");  // TxtBx_x before the switch
    QTest::addColumn<QString>("input");   // TxtBx_V after it

    QTest::addColumn<QString>("typed");   // TxtBx_V before it

    QTest::newRow("to 2 with no result") << 1 << "" << "3.5" << "9";
    QTest::newRow("to 2 with a dash") << 1 << "-" << "3.5" << "9";
    QTest::newRow("throw becomes the distance") << 1 << "12,5" << "12,5" << "9";
    QTest::newRow("to 1 with no result") << 2 << "" << "0.2" << "9";
    QTest::newRow("to 1 with a dash") << 2 << "-" << "0.2" << "9";
    QTest::newRow("velocity becomes the given Vx") << 2 << "0.31" << "0.31" << "9";
    // The input is set even when it already holds that text: still an edit.
    QTest::newRow("default equal to the input") << 1 << "-" << "3.5" << "3.5";
    QTest::newRow("result equal to the input") << 2 << "0.2" << "0.2" << "0.2";
}

void TestSelection::variant_switch()
{
    QFETCH(int, from);
    QFETCH(QString, result);
    QFETCH(QString, input);
    QFETCH(QString, typed);

    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    if (from == 2)
        s.option("Opt_Var2")->setChecked(true);
    s.control<QLineEdit>("TxtBx_V")->setText(typed);
    s.fillResults();
    s.control<QLineEdit>("TxtBx_x")->setText(result);
    s.clickPicture(2);

    const int to = 3 - from;
    s.click(QStringLiteral("Opt_Var%1").arg(to));
    QVERIFY(s.option(QStringLiteral("Opt_Var%1").arg(to))->isChecked());

    QCOMPARE(s.control<QLineEdit>("TxtBx_V")->text(), input);
    // The new input cleared the main results; the sections belong to L alone.
    QCOMPARE(s.emptyResults(), kMainResults);
    QCOMPARE(s.window->skrtClicks(), 0);
    const QString tipV = to == 1 ? QStringLiteral("Скорость для расчета дальнобойности")
                                 : QStringLiteral("Расстояние от воздухораспределителя");
    const QString tipX = to == 1 ? QStringLiteral("Дальнобойность струи для заданной Vx")
                                 : QStringLiteral("Скорость приточной струи на расстоянии X от воздухораспределителя");
    const auto label = [&](const char* name) { return s.control<QLabel>(name); };
    QCOMPARE(label("Lbl_V")->text(), to == 1 ? QStringLiteral("Vx =") : QStringLiteral("X ="));
    QCOMPARE(label("Lbl_RV")->text(), to == 1 ? QStringLiteral("м/с") : QStringLiteral("м"));
    QCOMPARE(label("Lbl_x")->text(), to == 1 ? QStringLiteral("l =") : QStringLiteral("Vx ="));
    QCOMPARE(label("Lbl_Rll")->text(), to == 1 ? QStringLiteral("м") : QStringLiteral("м/с"));
    for (const char* name : {"Lbl_V", "TxtBx_V", "Lbl_RV"})
        QCOMPARE(s.control<QWidget>(name)->toolTip(), tipV);
    for (const char* name : {"Lbl_x", "TxtBx_x", "Lbl_Rll"})
        QCOMPARE(s.control<QWidget>(name)->toolTip(), tipX);
    QCOMPARE(s.logFile(), from == 2 ? HeaderLines({1, 2, 1}) : HeaderLines({1, 2}));
    QVERIFY(s.platform.messages.isEmpty());
}

void TestSelection::header_appended_at_every_switch()
{
    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    QCOMPARE(s.logFile(), HeaderLines({1}));
    s.option("Opt_Var1")->setChecked(true);  // already selected: no switch
    QCOMPARE(s.logFile(), HeaderLines({1}));
    for (const char* name : {"Opt_Var2", "Opt_Var1", "Opt_Var2", "Opt_Var1"})
        s.click(name);
    QCOMPARE(s.logFile(), HeaderLines({1, 2, 1, 2, 1}));

    // A file removed meanwhile is created again, with the header alone.
    QVERIFY(QFile::remove(s.folder.file(QStringLiteral("Nimbo.csv"))));
    s.click("Opt_Var2");
    QCOMPARE(s.logFile(), HeaderLines({2}));
}

void TestSelection::unwritable_log_file()
{
    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    const QString log = s.folder.file(QStringLiteral("Nimbo.csv"));
    QVERIFY(QFile::remove(log));
    QVERIFY(QDir().mkdir(log));

    s.click("Opt_Var2");
    QVERIFY(s.option("Opt_Var2")->isChecked());
    QCOMPARE(s.control<QLabel>("Lbl_V")->text(), QStringLiteral("X ="));
    QCOMPARE(s.control<QLineEdit>("TxtBx_V")->text(), QStringLiteral("3.5"));
    QCOMPARE(s.control<QLabel>("Lbl_Rll")->text(), QStringLiteral("м/с"));
    QCOMPARE(s.platform.messages.size(), 1);
    QVERIFY(s.platform.messages.front().text.contains(QStringLiteral("Nimbo.csv")));

    // The window goes on working, and tells again at the next switch.
    s.click("Opt_Var1");
    QCOMPARE(s.control<QLabel>("Lbl_V")->text(), QStringLiteral("Vx ="));
    QCOMPARE(s.platform.messages.size(), 2);
    QVERIFY(s.window->isVisible());
    QVERIFY(s.chooseModel("Решетки", "РВ"));
    QVERIFY(s.shown("Frm_Rzmr"));
}

// --- Input edits ------------------------------------------------------------

void TestSelection::input_edit_clears_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("cleared");
    QTest::addColumn<bool>("resultsShown");

    QTest::newRow("air flow") << "TxtBx_L" << kAllResults << true;
    QTest::newRow("velocity or distance") << "TxtBx_V" << kMainResults << true;
    QTest::newRow("size A") << "TxtBx_A" << kAllResults << true;
    QTest::newRow("size B") << "TxtBx_B" << kAllResults << true;
    QTest::newRow("slot length") << "TxtBx_Dlina" << kMainResults << true;
    QTest::newRow("air flow, nothing shown") << "TxtBx_L" << kAllResults << false;
    QTest::newRow("slot length, nothing shown") << "TxtBx_Dlina" << kAllResults << false;
}

void TestSelection::input_edit_clears()
{
    QFETCH(QString, box);
    QFETCH(QStringList, cleared);
    QFETCH(bool, resultsShown);

    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    if (resultsShown)
        s.fillResults();
    s.clickPicture(4);
    QCOMPARE(s.window->skrtClicks(), 4);

    auto* edit = s.control<QLineEdit>(box);
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_5);
    QVERIFY(edit->text().endsWith('5'));
    QCOMPARE(s.emptyResults(), cleared);
    QCOMPARE(s.window->skrtClicks(), 0);
}

void TestSelection::every_keystroke_clears_again()
{
    Started s(CascadeCatalogue());
    QVERIFY(s.ok);
    auto* edit = s.control<QLineEdit>("TxtBx_Dlina");
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_0);
    s.fillResults();
    s.clickPicture(1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("1000"));
    QCOMPARE(s.emptyResults(), kMainResults);
    QCOMPARE(s.window->skrtClicks(), 0);
    // Set by the program counts as much as typed.
    s.fillResults();
    s.control<QLineEdit>("TxtBx_B")->setText(QStringLiteral("450"));
    QCOMPARE(s.emptyResults(), kAllResults);
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
