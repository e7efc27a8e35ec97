// The size finder «Подбор» on the real windows: where its button sits, how
// it opens, that its numbers are those of «Считай!» for the same picks, that
// «Выбрать» leaves the main window as the same picks by hand, and its
// limits, messages, copying, chart and off-thread search.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTableView>
#include <QtTest>

#include <cmath>

#include "calc/numbers.h"
#include "window/form_podbor.h"
#include "window/jet_chart.h"
#include "window/podbor_model.h"
#include "support/window_fixture.h"

using namespace nimbo::test;

namespace {

std::string ShippedCatalogue()
{
    QFile f(QStringLiteral(NIMBO_SOURCE_DIR "/data/A/b"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// One model of each size mode, each with option groups, and a second type.
std::string SmallCatalogue()
{
    const auto with = [](Line l, std::initializer_list<const char*> jets, std::initializer_list<const char*> regs,
                         const char* plain, const char* plenum) {
        int k = 0;
        for (const char* j : jets)
            l.set(std::array{8, 68, 127, 186}[static_cast<std::size_t>(k++)], j);
        int p = 0;
        for (const char* r : regs)
            l.set(245 + 9 * p++, r);
        l.set(11, plain).set(12, plenum).set(5, "0.1").set(6, "0.1").set(7, "1").set(9, "2").set(69, "3");
        l.set(70, "2.5").set(71, "3").set(246, "1").set(255, "1.5").set(264, "2");
        return l;
    };
    const std::string d = "Диффузоры";
    std::vector<Line> lines{
        with(Record("ДПУ-М", d, "n"), {"Веер", "Компакт", "n", "n"}, {"0°", "15°", "30°", "n", "n"}, "1.5", "2")
            .set(5, "20").set(6, "20"),
        with(Record("ЩР", d, "dlina"), {"n", "n", "n", "n"}, {"r0", "r20", "r40", "n", "n"}, "1", "0"),
        with(Record("АМН", d, "100x100", 2), {"a", "b", "n", "n"}, {"q0", "q1", "n", "n", "n"}, "1", "3"),
        with(Record("АМН", d, "200x200"), {"a", "n", "n", "n"}, {"q0", "q1", "q2", "n", "n"}, "0", "3")
            .set(5, "0.2").set(6, "0.2"),
        with(Record("РВ", "Решетки", "n"), {"n", "n", "n", "n"}, {"n", "n", "n", "n", "n"}, "1", "0"),
    };
    return FileBytes(lines);
}

struct Main : Started {
    using Started::Started;
    void type(const char* box, const std::string& text) const
    {
        this->box(QLatin1String(box))->setText(QString::fromStdString(text));
    }
    // The candidate picked as a person picks it, then «Считай!».
    void byHand(const nimbo::Found& f, const nimbo::Request& r) const
    {
        const nimbo::Catalogue& cat = window->catalogue();
        const std::string_view type = cat.typeName(f.row);
        pickIndex("Cmb_TipVR", control<QComboBox>("Cmb_TipVR")->findText(QString::fromUtf8(type.data(), qsizetype(type.size()))));
        pickIndex("Cmb_VidVR", control<QComboBox>("Cmb_VidVR")->findData(f.row));
        const nimbo::SizeMode mode = cat.sizeMode(f.row);
        if (mode == nimbo::SizeMode::Free) {
            this->type("TxtBx_A", r.inputs.A);
            this->type("TxtBx_B", r.inputs.B);
        } else if (mode == nimbo::SizeMode::Slot) {
            this->type("TxtBx_Dlina", r.inputs.Dlina);
        } else {
            pickIndex("Cmb_Tprzmr", control<QComboBox>("Cmb_Tprzmr")->findData(f.sizeIndex));
        }
        if (shown("Frm_KSD"))
            click(QStringLiteral("Opt_KSD%1").arg(f.picks.ksd));
        if (shown("Frm_RegForm"))
            click(QStringLiteral("Opt_RegForm%1").arg(f.picks.regForm));
        if (shown("Frm_RegRash"))
            click(QStringLiteral("Opt_RegRash%1").arg(f.picks.regRash));
        click(QStringLiteral("Opt_Var%1").arg(r.variant));
        this->type("TxtBx_L", r.inputs.L);
        this->type("TxtBx_V", r.inputs.V);
        QTest::mouseClick(control<QPushButton>("Cmd_Start"), Qt::LeftButton);
    }
    Form_Podbor* openFinder() const
    {
        QTest::mouseClick(control<QPushButton>("Cmd_Podbor"), Qt::LeftButton);
        return window->findChild<Form_Podbor*>(QStringLiteral("Form_Podbor"));
    }
};

template <class T>
T* In(const QWidget* w, const char* name)
{
    return Control<T>(*w, name);
}

// Everything the main window shows: each control's text, selection and
// visibility, the log list and the log file.
QStringList State(const Main& m)
{
    QStringList out;
    for (QWidget* w : m.window->findChildren<QWidget*>()) {
        if (w->window() != m.window.get() || w->objectName().isEmpty())
            continue;
        QString s = w->objectName() + (w->isHidden() ? QStringLiteral(" hidden ") : QStringLiteral(" "));
        if (auto* e = qobject_cast<QLineEdit*>(w))
            s += e->text();
        else if (auto* b = qobject_cast<QComboBox*>(w))
            s += b->currentText() + QStringLiteral(" @%1/%2").arg(b->currentIndex()).arg(b->count());
        else if (auto* r = qobject_cast<QAbstractButton*>(w))
            s += r->text() + (r->isChecked() ? QStringLiteral(" [x]") : QString());
        else if (auto* l = qobject_cast<QLabel*>(w))
            s += l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            s += g->title();
        else if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                s += list->item(i)->text() + QLatin1Char('|');
        out << s;
    }
    out << QString::fromLatin1(m.folder.read(QStringLiteral("Nimbo.csv")).toHex());
    return out;
}

QString Cell(PodborModel* model, int row, int column)
{
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

// A shown number equals the search's number; "-" or nothing where it has none.
bool SameNumber(const QString& shown, double value)
{
    if (std::isnan(value))
        return shown == QLatin1String("-") || shown.isEmpty();
    if (shown == QLatin1String("<10"))
        return value < 10;
    if (shown == QLatin1String(">100"))
        return value > 100;
    return nimbo::ParseTyped(shown.toStdString()) == value;
}

// The source row of the candidate at (row, size index, picks).
int RowOf(PodborModel* model, int row, int sizeIndex, nimbo::OptionPicks picks)
{
    for (int i = 0; i < model->rowCount(); ++i) {
        const nimbo::Found* f = model->found(i);
        if (f->row == row && f->sizeIndex == sizeIndex && f->picks == picks)
            return i;
    }
    return -1;
}

void SelectSourceRow(Form_Podbor* finder, int sourceRow)
{
    auto* proxy = static_cast<QSortFilterProxyModel*>(finder->table()->model());
    finder->table()->selectRow(proxy->mapFromSource(finder->model()->index(sourceRow, 0)).row());
}

}  // namespace

// Where the finder keeps the limits it remembers.
QSettings Remembered()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nimbo"), QStringLiteral("Nimbo"));
}

class TestPodbor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void button_lies_in_a_free_place_data();
    void button_lies_in_a_free_place();
    void f3_opens_the_finder_from_the_main_window();
    void numbers_equal_those_of_calculate_data();
    void numbers_equal_those_of_calculate();
    void choose_leaves_the_window_as_picks_by_hand_data();
    void choose_leaves_the_window_as_picks_by_hand();
    void bad_input_names_the_box_data();
    void bad_input_names_the_box();
    void misses_are_greyed_and_marked();
    void limits_are_remembered();
    void ctrl_c_copies_the_selected_rows();
    void chart_follows_the_selected_row();
    void large_search_runs_off_the_thread();

private:
    QTemporaryDir settingsHome_;
};

void TestPodbor::initTestCase()
{
    // Remembered limits go to a throw-away place of this run alone, not to
    // the user's settings nor to the other locale's run beside this one.
    QVERIFY(settingsHome_.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome_.path());
    QVERIFY(Remembered().fileName().startsWith(settingsHome_.path()));
}

// --- The button -------------------------------------------------------------

void TestPodbor::button_lies_in_a_free_place_data()
{
    QTest::addColumn<QString>("model");  // "" : no choice
    QTest::addColumn<bool>("log");
    QTest::addColumn<bool>("panel");
    QTest::newRow("at start") << "" << false << false;
    QTest::newRow("free size with every option frame") << "ДПУ-М" << false << false;
    QTest::newRow("slot length") << "ЩР" << false << false;
    QTest::newRow("listed sizes, log strip open") << "АМН" << true << false;
    QTest::newRow("coefficient panel and log open") << "АМН" << true << true;
}

void TestPodbor::button_lies_in_a_free_place()
{
    QFETCH(QString, model);
    QFETCH(bool, log);
    QFETCH(bool, panel);
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    auto* button = m.control<QPushButton>("Cmd_Podbor");
    QCOMPARE(button->text(), QStringLiteral("Подбор…"));
    QCOMPARE(button->toolTip(), QStringLiteral("Подбор типоразмера по расходу и ограничениям"));
    // No control of the window, shown or hidden, ever takes that place.
    for (QWidget* w : m.window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != button && w->isWindow() == false)
            QVERIFY2(!w->geometry().intersects(button->geometry()), qPrintable(w->objectName()));
    if (!model.isEmpty()) {
        m.pickIndex("Cmb_TipVR", m.control<QComboBox>("Cmb_TipVR")->findText(QStringLiteral("Диффузоры")));
        m.pickIndex("Cmb_VidVR", m.control<QComboBox>("Cmb_VidVR")->findText(model));
        if (model == QLatin1String("АМН"))
            m.pickIndex("Cmb_Tprzmr", 0);
    }
    if (log)
        QTest::mouseClick(m.control<QCheckBox>("Chk_Log"), Qt::LeftButton, {}, QPoint(6, 6));
    for (int i = 0; panel && i < 5; ++i)
        QTest::mouseClick(m.control<QLabel>("Img_VR"), Qt::LeftButton);
    QVERIFY(button->isVisible());
    QVERIFY(m.window->rect().contains(button->geometry()));
    QCOMPARE(m.window->childAt(button->geometry().center()), static_cast<QWidget*>(button));
}

void TestPodbor::f3_opens_the_finder_from_the_main_window()
{
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    m.pickIndex("Cmb_TipVR", m.control<QComboBox>("Cmb_TipVR")->findText(QStringLiteral("Решетки")));
    m.type("TxtBx_L", "750");
    m.click(QStringLiteral("Opt_Var2"));
    m.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m.window.get()));
    QTest::keyClick(m.window.get(), Qt::Key_F3);
    auto* finder = m.window->findChild<Form_Podbor*>(QStringLiteral("Form_Podbor"));
    QVERIFY(finder && finder->isVisible());
    QVERIFY(!finder->isModal());
    QCOMPARE(In<QComboBox>(finder, "Cmb_Type")->currentText(), QStringLiteral("Решетки"));
    QCOMPARE(In<QLineEdit>(finder, "TxtBx_L")->text(), QStringLiteral("750"));
    QCOMPARE(In<QLineEdit>(finder, "TxtBx_V")->text(), QStringLiteral("3.5"));
    QVERIFY(In<QRadioButton>(finder, "Opt_Var2")->isChecked());
    QCOMPARE(In<QLabel>(finder, "Lbl_Status")->text(), QStringLiteral("подходит 1 из 1"));
}

// --- The numbers are those of «Считай!» ------------------------------------

void TestPodbor::numbers_equal_those_of_calculate_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("V");
    QTest::newRow("throw for Vx 0.2") << 1 << "0.2";
    QTest::newRow("velocity at 3 m") << 2 << "3";
}

void TestPodbor::numbers_equal_those_of_calculate()
{
    QFETCH(int, variant);
    QFETCH(QString, V);
    const std::string catalogue = ShippedCatalogue();
    QVERIFY(!catalogue.empty());
    Main finderSide(catalogue), handSide(catalogue);
    QVERIFY(finderSide.ok && handSide.ok);
    Form_Podbor* finder = finderSide.openFinder();
    In<QRadioButton>(finder, QStringLiteral("Opt_Var%1").arg(variant).toLatin1())->click();
    In<QLineEdit>(finder, "TxtBx_L")->setText(QStringLiteral("800"));
    In<QLineEdit>(finder, "TxtBx_V")->setText(V);
    In<QLineEdit>(finder, "TxtBx_A")->setText(QStringLiteral("10"));  // under some allowances: refusals too
    In<QCheckBox>(finder, "Chk_AllOptions")->setChecked(true);
    PodborModel* model = finder->model();
    QVERIFY(model->rowCount() > 200);

    int refused = 0;
    for (int i = 0; i < model->rowCount(); ++i) {
        const nimbo::Found& f = *model->found(i);
        const QString which = Cell(model, i, PodborModel::Model) + QLatin1Char(' ') + Cell(model, i, PodborModel::Size) +
                              QLatin1Char(' ') + Cell(model, i, PodborModel::Options);
        handSide.platform.messages.clear();
        handSide.byHand(f, model->request());
        if (!f.ok) {
            ++refused;
            QCOMPARE(handSide.platform.messages.size(), 1);
            QCOMPARE(handSide.platform.messages.front().text, QString::fromStdString(f.message));
            continue;
        }
        QVERIFY2(handSide.platform.messages.isEmpty(), qPrintable(which));
        const std::pair<const char*, int> boxes[] = {{"TxtBx_p", PodborModel::DP},  {"TxtBx_LwA", PodborModel::LwA},
                                                     {"TxtBx_x", PodborModel::Jet}, {"TxtBx_V0", PodborModel::V0},
                                                     {"TxtBx_Vjs", PodborModel::Vjs}};
        const double numbers[] = {f.dP, f.LwA, f.jet, f.V0, f.Vjs};
        for (std::size_t b = 0; b < 5; ++b) {
            const QString shown = handSide.control<QLineEdit>(QLatin1String(boxes[b].first))->text();
            QVERIFY2(Cell(model, i, boxes[b].second) == shown, qPrintable(which + QLatin1Char(' ') + shown));
            QVERIFY2(SameNumber(shown, numbers[b]), qPrintable(which + QLatin1Char(' ') + shown));
        }
    }
    QVERIFY(refused > 0);
}

// --- «Выбрать» -----------------------------------------------------------------

void TestPodbor::choose_leaves_the_window_as_picks_by_hand_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("sizeIndex");
    QTest::addColumn<int>("ksd");
    QTest::addColumn<int>("regForm");
    QTest::addColumn<int>("regRash");
    QTest::addColumn<int>("variant");
    QTest::addColumn<bool>("leftover");  // the window had КСР and b=30° on another model first

    QTest::newRow("free size, plenum with regulator at 15°") << "ДПУ-М" << 1 << 3 << 2 << 2 << 1 << false;
    QTest::newRow("free size after leftovers") << "ДПУ-М" << 1 << 1 << 1 << 1 << 1 << true;
    QTest::newRow("slot, regulator 40") << "ЩР" << 1 << 1 << 1 << 3 << 1 << false;
    QTest::newRow("listed second size, made only with a plenum") << "АМН" << 2 << 3 << 1 << 3 << 1 << true;
    QTest::newRow("listed first size, variant 2") << "АМН" << 1 << 2 << 2 << 1 << 2 << false;
}

void TestPodbor::choose_leaves_the_window_as_picks_by_hand()
{
    QFETCH(QString, model);
    QFETCH(int, sizeIndex);
    QFETCH(int, ksd);
    QFETCH(int, regForm);
    QFETCH(int, regRash);
    QFETCH(int, variant);
    QFETCH(bool, leftover);

    Main chosen(SmallCatalogue()), byHand(SmallCatalogue());
    QVERIFY(chosen.ok && byHand.ok);
    for (Main* m : {&chosen, &byHand}) {
        m->type("TxtBx_L", "640");
        if (!leftover)
            continue;
        m->pickIndex("Cmb_TipVR", m->control<QComboBox>("Cmb_TipVR")->findText(QStringLiteral("Диффузоры")));
        m->pickIndex("Cmb_VidVR", m->control<QComboBox>("Cmb_VidVR")->findText(QStringLiteral("ДПУ-М")));
        m->click(QStringLiteral("Opt_KSD3"));
        m->click(QStringLiteral("Opt_RegRash3"));
        m->click(QStringLiteral("Opt_RegForm2"));
    }
    Form_Podbor* finder = chosen.openFinder();
    In<QComboBox>(finder, "Cmb_Type")->setCurrentIndex(0);
    In<QRadioButton>(finder, QStringLiteral("Opt_Var%1").arg(variant).toLatin1())->click();
    In<QCheckBox>(finder, "Chk_AllOptions")->setChecked(true);
    int row = 0;
    for (int r = 1; r <= chosen.window->catalogue().recordCount(); ++r)
        if (chosen.window->catalogue().modelName(r) == model.toStdString() && row == 0)
            row = r;
    const int source = RowOf(finder->model(), row, sizeIndex, {ksd, regForm, regRash});
    QVERIFY2(source >= 0, "no such candidate");
    SelectSourceRow(finder, source);
    const nimbo::Found found = *finder->model()->found(source);
    QVERIFY(found.ok);
    QTest::mouseClick(In<QPushButton>(finder, "Cmd_Choose"), Qt::LeftButton);

    byHand.byHand(found, finder->model()->request());
    QCOMPARE(State(chosen), State(byHand));
    QCOMPARE(chosen.control<QListWidget>("LstBx_Log")->count(), 1);
    QVERIFY(chosen.platform.messages.isEmpty());
}

// --- Inputs, limits, copying, the chart -----------------------------------------

void TestPodbor::bad_input_names_the_box_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("status");
    QTest::newRow("flow empty") << "TxtBx_L" << "" << "Расход воздуха L: введите число больше нуля.";
    QTest::newRow("velocity with letters") << "TxtBx_V" << "0,2м" << "Скорость Vx: «0,2м» не является числом. Введите число больше нуля.";
    QTest::newRow("free size zero") << "TxtBx_A" << "0" << "Размер A: введите число больше нуля, а не «0».";
    QTest::newRow("slot length huge") << "TxtBx_Dlina" << "1e999"
                                      << "Длина щелевой решетки: число «1e999» вне допустимого диапазона. Введите число больше нуля.";
    QTest::newRow("a limit") << "TxtBx_MaxLwA" << "тихо" << "LwA не более: «тихо» не является числом. Введите число больше нуля.";
}

void TestPodbor::bad_input_names_the_box()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, status);
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    const QByteArray logBefore = m.folder.read(QStringLiteral("Nimbo.csv"));
    Form_Podbor* finder = m.openFinder();
    QVERIFY(finder->model()->rowCount() > 0);
    In<QLineEdit>(finder, box.toLatin1())->setText(text);
    QCOMPARE(In<QLabel>(finder, "Lbl_Status")->text(), status);
    QCOMPARE(finder->model()->rowCount(), 0);
    QVERIFY(finder->chart()->curve().isEmpty());
    QVERIFY(!In<QPushButton>(finder, "Cmd_Choose")->isEnabled());
    QVERIFY(m.platform.messages.isEmpty());
    QCOMPARE(m.folder.read(QStringLiteral("Nimbo.csv")), logBefore);
}

void TestPodbor::misses_are_greyed_and_marked()
{
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    In<QLineEdit>(finder, "TxtBx_MaxDP")->setText(QStringLiteral("5"));  // ΔP 3, 5, 5, 6, 11
    PodborModel* model = finder->model();
    const QString status = In<QLabel>(finder, "Lbl_Status")->text();
    QCOMPARE(status, QStringLiteral("подходит %1 из %2").arg(model->fitting()).arg(model->rowCount()));
    QCOMPARE(model->fitting(), 3);
    QCOMPARE(model->rowCount(), 5);
    for (int i = 0; i < model->rowCount(); ++i) {
        const nimbo::Found& f = *model->found(i);
        QCOMPARE(f.fits(), i < model->fitting());  // the fitting ones first
        const QModelIndex dp = model->index(i, PodborModel::DP), lwa = model->index(i, PodborModel::LwA);
        const bool missed = (f.misses & nimbo::kLimitDP) != 0;
        QCOMPARE(model->data(dp, Qt::BackgroundRole).isValid(), missed);
        QCOMPARE(model->data(dp, Qt::ToolTipRole).toString().contains(QStringLiteral("«ΔP не более 5»")), missed);
        QVERIFY(!model->data(lwa, Qt::BackgroundRole).isValid());
        QCOMPARE(model->data(lwa, Qt::ForegroundRole).isValid(), !f.fits());
    }
}

void TestPodbor::limits_are_remembered()
{
    {
        Main m(SmallCatalogue());
        QVERIFY(m.ok);
        Form_Podbor* finder = m.openFinder();
        QTest::keyClicks(In<QLineEdit>(finder, "TxtBx_MaxLwA"), QStringLiteral("35"));
        QTest::keyClicks(In<QLineEdit>(finder, "TxtBx_MinL"), QStringLiteral("2,5"));
    }
    Main again(SmallCatalogue());
    QVERIFY(again.ok);
    Form_Podbor* finder = again.openFinder();
    QCOMPARE(In<QLineEdit>(finder, "TxtBx_MaxLwA")->text(), QStringLiteral("35"));
    QCOMPARE(In<QLineEdit>(finder, "TxtBx_MinL")->text(), QStringLiteral("2,5"));
    QCOMPARE(In<QLineEdit>(finder, "TxtBx_MaxDP")->text(), QString());
    QCOMPARE(finder->model()->request().limits.LwA.value_or(0), 35.0);
    In<QLineEdit>(finder, "TxtBx_MaxLwA")->clear();
    QTest::keyClick(In<QLineEdit>(finder, "TxtBx_MinL"), Qt::Key_Backspace);
    Remembered().clear();
}

void TestPodbor::ctrl_c_copies_the_selected_rows()
{
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    QTableView* table = finder->table();
    QVERIFY(table->model()->rowCount() >= 3);
    table->selectRow(2);
    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    finder->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(finder));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);  // two rows, each ended
    QVERIFY(lines[2].isEmpty());
    for (int line = 0; line < 2; ++line) {
        const int row = line == 0 ? 0 : 2;
        QStringList cells;
        for (int c = 0; c < PodborModel::ColumnCount; ++c)
            cells << table->model()->index(row, c).data().toString();
        QCOMPARE(lines[line], cells.join(QLatin1Char('\t')));
    }
}

void TestPodbor::chart_follows_the_selected_row()
{
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    QTableView* table = finder->table();
    for (int r = 0; r < table->model()->rowCount(); ++r) {
        table->selectRow(r);
        auto* proxy = static_cast<QSortFilterProxyModel*>(table->model());
        const nimbo::Found& f = *finder->model()->found(proxy->mapToSource(proxy->index(r, 0)).row());
        const QList<QPointF>& curve = finder->chart()->curve();
        if (!f.ok || std::isnan(f.jet)) {
            QVERIFY(curve.isEmpty());
            continue;
        }
        // The throw the row shows is the user's mark, the curve passes it and
        // reaches past it.
        QCOMPARE(finder->chart()->userPoint().X, f.jet);
        QVERIFY(curve.back().x() > f.jet);
        bool passes = false;
        for (const QPointF& p : curve)
            passes = passes || (p.x() == f.jet && p.y() == 0.2);
        QVERIFY(passes);
        for (qsizetype i = 1; i < curve.size(); ++i)
            QVERIFY(curve[i].x() >= curve[i - 1].x() && curve[i].y() <= curve[i - 1].y());
    }
}

void TestPodbor::large_search_runs_off_the_thread()
{
    Main m(ShippedCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    const int rows = finder->model()->rowCount();
    finder->setLinesOnThisThread(1);
    QSignalSpy searched(finder, &Form_Podbor::searched);
    // Two keystrokes in a row: the first search is dropped for the second.
    In<QLineEdit>(finder, "TxtBx_L")->setText(QStringLiteral("90"));
    In<QLineEdit>(finder, "TxtBx_L")->setText(QStringLiteral("900"));
    QVERIFY(finder->searching());
    QVERIFY(In<QProgressBar>(finder, "Progress")->isVisible());
    QTRY_VERIFY(!finder->searching());
    QCOMPARE(searched.count(), 1);
    QVERIFY(!In<QProgressBar>(finder, "Progress")->isVisible());
    QCOMPARE(finder->model()->rowCount(), rows);
    QCOMPARE(finder->model()->request().inputs.L, std::string("900"));
}

QTEST_MAIN(TestPodbor)
#include "tst_podbor.moc"
