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
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QScreen>
#include <QTableView>
#include <QWindow>
#include <QtTest>

#include <cmath>

#include "calc/numbers.h"
#include "window/form_podbor.h"
#include "window/form_project.h"
#include "window/project_model.h"
#include "window/jet_chart.h"
#include "window/podbor_model.h"
#include "window/podbor_placement.h"
#include "support/window_fixture.h"

using namespace nimbo::test;

namespace {

std::string ShippedCatalogue()
{
    QFile f(QStringLiteral(NIMBO_SOURCE_DIR "/data/A/b"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

Line WithOptions(Line l, std::initializer_list<const char*> jets, std::initializer_list<const char*> regs,
                 const char* plain, const char* plenum)
{
    int k = 0;
    for (const char* j : jets)
        l.set(std::array{8, 68, 127, 186}[static_cast<std::size_t>(k++)], j);
    int p = 0;
    for (const char* r : regs)
        l.set(245 + 9 * p++, r);
    l.set(11, plain).set(12, plenum).set(5, "0.1").set(6, "0.1").set(7, "1").set(9, "2").set(69, "3");
    l.set(70, "2.5").set(71, "3").set(246, "1").set(255, "1.5").set(264, "2");
    return l;
}

// One model of each size mode, each with option groups, and a second type.
// The slot's jet is flat near it.
std::string SmallCatalogue()
{
    const std::string d = "Диффузоры";
    std::vector<Line> lines{
        WithOptions(Record("ДПУ-М", d, "n"), {"Веер", "Компакт", "n", "n"}, {"0°", "15°", "30°", "n", "n"}, "1.5", "2")
            .set(5, "20").set(6, "20"),
        WithOptions(Record("ЩР", d, "dlina"), {"n", "n", "n", "n"}, {"r0", "r20", "r40", "n", "n"}, "1", "0")
            .set(10, "1.2"),
        WithOptions(Record("АМН", d, "100x100", 2), {"a", "b", "n", "n"}, {"q0", "q1", "n", "n", "n"}, "1", "3"),
        WithOptions(Record("АМН", d, "200x200"), {"a", "n", "n", "n"}, {"q0", "q1", "q2", "n", "n"}, "0", "3")
            .set(5, "0.2").set(6, "0.2"),
        WithOptions(Record("РВ", "Решетки", "n"), {"n", "n", "n", "n"}, {"n", "n", "n", "n", "n"}, "1", "0"),
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
        const nimbo::Inputs inputs = nimbo::InputsOf(r, f);  // in a room, L1 for L
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
        this->type("TxtBx_L", inputs.L);
        this->type("TxtBx_V", inputs.V);
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

// The headers of the columns on screen.
QStringList Headers(Form_Podbor* finder)
{
    QStringList out;
    for (int c = 0; c < PodborModel::ColumnCount; ++c)
        if (!finder->table()->isColumnHidden(c))
            out << finder->table()->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return out;
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

// The candidate of a row of the table as it is sorted now.
const nimbo::Found& FoundAt(Form_Podbor* finder, int row)
{
    auto* proxy = static_cast<QSortFilterProxyModel*>(finder->table()->model());
    return *finder->model()->found(proxy->mapToSource(proxy->index(row, 0)).row());
}

// The rows as a spreadsheet reads pasted text, here Python's reader of
// tab-separated text; empty when there is no Python.
QList<QStringList> ReadTabSeparated(const QString& text)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(
        "import csv, io, json, sys; json.dump(list(csv.reader(io.StringIO(sys.stdin.buffer.read().decode(), "
        "newline=''), dialect='excel-tab')), sys.stdout)")});
    python.write(text.toUtf8());
    python.closeWriteChannel();
    python.waitForFinished();
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        rows << row.toVariant().toStringList();
    return rows;
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
    void room_row_goes_to_the_project();
    void limits_are_remembered();
    void ctrl_c_copies_a_header_and_the_rows_data();
    void ctrl_c_copies_a_header_and_the_rows();
    void default_order_has_no_arrow();
    void every_option_listed_can_be_made_by_hand();
    void chart_follows_the_selected_row_data();
    void chart_follows_the_selected_row();
    void large_search_runs_off_the_thread();
    void placement_beside_the_main_window_data();
    void placement_beside_the_main_window();
    void opens_beside_the_main_window_data();
    void opens_beside_the_main_window();
    void keys_data();
    void keys();

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
    // Open, it comes forward with what the main window shows now.
    In<QLineEdit>(finder, "TxtBx_L")->setText(QStringLiteral("123"));
    m.type("TxtBx_L", "650");
    m.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m.window.get()));
    QTest::keyClick(m.window.get(), Qt::Key_F3);
    QTRY_VERIFY(finder->isActiveWindow());
    QCOMPARE(In<QLineEdit>(finder, "TxtBx_L")->text(), QStringLiteral("650"));
}

// --- The numbers are those of «Считай!» ------------------------------------

void TestPodbor::numbers_equal_those_of_calculate_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("V");
    QTest::addColumn<bool>("room");  // an office of 6 × 6 × 3 m: each outlet at L1 = 800/n
    QTest::newRow("throw for Vx 0.2") << 1 << "0.2" << false;
    QTest::newRow("velocity at 3 m") << 2 << "3" << false;
    QTest::newRow("a room, throw within Lc, NR 35") << 1 << "0.25" << true;
}

void TestPodbor::numbers_equal_those_of_calculate()
{
    QFETCH(int, variant);
    QFETCH(QString, V);
    QFETCH(bool, room);
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
    if (room) {
        for (const auto& [box, text] : {std::pair{"Room_A", "6"}, {"Room_B", "6"}, {"Room_H", "3"}, {"Room_N", ""},
                                        {"Room_Ear", "1.2"}, {"Room_Alpha", "0.2"}, {"Limit_NR", "35"}})
            In<QLineEdit>(finder, box)->setText(QString::fromLatin1(text));
        In<QCheckBox>(finder, "Chk_Lc")->setChecked(true);
        In<QCheckBox>(finder, "Chk_Room")->setChecked(true);
        QTRY_VERIFY(!finder->searching());  // every option of a room is searched off the thread
    }
    PodborModel* model = finder->model();
    QVERIFY(model->rowCount() > 200);
    QCOMPARE(model->request().room.has_value(), room);
    const QStringList headers = Headers(finder);
    for (const char* roomHeader : {"n", "L1", "LpA", "NR", "NC"})
        QCOMPARE(std::any_of(headers.begin(), headers.end(),
                             [&](const QString& h) { return h.startsWith(QLatin1String(roomHeader)); }),
                 room);

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
    QTest::newRow("a room's count") << "Room_N" << "2,5"
                                    << "Число воздухораспределителей n: введите целое число от 1 до 64 или оставьте поле "
                                       "пустым для «авто», а не «2,5».";
    QTest::newRow("a room's ear above its height") << "Room_Ear" << "3,5"
                                                   << "Высота уха слушателя: введите число меньше высоты помещения «3», а не «3,5».";
    QTest::newRow("a room's NR limit") << "Limit_NR" << "NR35" << "NR не более: «NR35» не является числом. Введите число больше нуля.";
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
    if (box.startsWith(QStringLiteral("Room_")) || box.startsWith(QStringLiteral("Limit_"))) {
        In<QLineEdit>(finder, "Room_H")->setText(QStringLiteral("3"));
        In<QCheckBox>(finder, "Chk_Room")->setChecked(true);
    }
    QVERIFY(finder->model()->rowCount() > 0);
    In<QLineEdit>(finder, box.toLatin1())->setText(text);
    QCOMPARE(In<QLabel>(finder, "Lbl_Status")->text(), status);
    QCOMPARE(finder->model()->rowCount(), 0);
    QVERIFY(finder->chart()->curve().isEmpty());
    QVERIFY(!In<QPushButton>(finder, "Cmd_Choose")->isEnabled());
    QVERIFY(m.platform.messages.isEmpty());
    QCOMPARE(m.folder.read(QStringLiteral("Nimbo.csv")), logBefore);
}

void TestPodbor::room_row_goes_to_the_project()
{
    Main m(ShippedCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    QVERIFY(!In<QPushButton>(finder, "Cmd_ToProject")->isEnabled());  // an outlet alone is no room
    for (const auto& [box, text] : {std::pair{"Room_A", "6"}, {"Room_B", "6"}, {"Room_H", "3"}, {"Room_N", "2"}})
        In<QLineEdit>(finder, box)->setText(QString::fromLatin1(text));
    In<QCheckBox>(finder, "Chk_Room")->setChecked(true);
    finder->table()->selectRow(0);
    const nimbo::Found found = FoundAt(finder, 0);
    In<QPushButton>(finder, "Cmd_ToProject")->click();
    const nimbo::Project& project = m.window->projectWindow()->model()->project();
    QCOMPARE(project.rooms.size(), std::size_t(1));
    const nimbo::ProjectRoom& room = project.rooms.front();
    QCOMPARE(QString::fromStdString(room.name), QStringLiteral("Помещение 1"));
    QCOMPARE(room.outlet.model, std::string(m.window->catalogue().modelName(found.row)));
    QCOMPARE(room.outlet.count, 2);
    QCOMPARE(room.space.length, 6.0);

    // «Изменить в подборе…»: the finder takes the room, and the next
    // «В проект» replaces it, its name kept.
    In<QLineEdit>(finder, "Room_N")->setText(QStringLiteral("7"));
    emit m.window->projectWindow()->editRoomRequested(0, nimbo::ProjectRoom(room));
    QCOMPARE(In<QLineEdit>(finder, "Room_N")->text(), QStringLiteral("2"));
    In<QLineEdit>(finder, "Room_N")->setText(QStringLiteral("3"));
    finder->table()->selectRow(0);
    In<QPushButton>(finder, "Cmd_ToProject")->click();
    const nimbo::Project& again = m.window->projectWindow()->model()->project();
    QCOMPARE(again.rooms.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(again.rooms.front().name), QStringLiteral("Помещение 1"));
    QCOMPARE(again.rooms.front().outlet.count, 3);
    QVERIFY(m.platform.messages.isEmpty());
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

void TestPodbor::ctrl_c_copies_a_header_and_the_rows_data()
{
    QTest::addColumn<int>("type");  // entry of the type list; 0: all types
    QTest::addColumn<QString>("first");
    QTest::newRow("one type: no type column") << 1 << "Модель";
    QTest::newRow("all types: the type column first") << 0 << "Тип";
}

void TestPodbor::ctrl_c_copies_a_header_and_the_rows()
{
    QFETCH(int, type);
    QFETCH(QString, first);
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    In<QComboBox>(finder, "Cmb_Type")->setCurrentIndex(type);
    QTableView* table = finder->table();
    table->selectRow(2);
    table->selectionModel()->select(table->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QVERIFY(QTest::qWaitForWindowActive(finder));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    // As a spreadsheet reads it: the header with its units, then the rows,
    // each cell as the table shows it, with the user's decimal separator.
    const QList<QStringList> pasted = ReadTabSeparated(QGuiApplication::clipboard()->text());
    if (pasted.isEmpty())
        QSKIP("no python3 to read the text as a spreadsheet does");
    QList<QStringList> shown{{}, {}, {}};
    for (int c = 0; c < PodborModel::ColumnCount; ++c)
        for (int line = 0; line < 3 && !table->isColumnHidden(c); ++line)
            shown[line] << (line ? table->model()->index(line == 1 ? 0 : 2, c).data().toString()
                                 : table->model()->headerData(c, Qt::Horizontal).toString());
    QCOMPARE(pasted, shown);
    QCOMPARE(pasted[0].first(), first);
    QCOMPARE(pasted[0].last(), QStringLiteral("Vжс, м/с"));
    const QString numbers = pasted[1].mid(pasted[0].indexOf(QStringLiteral("ΔP, Па"))).join(QLatin1Char(' '));
    QVERIFY(!numbers.contains(m.platform.separator == '.' ? QLatin1Char(',') : QLatin1Char('.')));
}

void TestPodbor::default_order_has_no_arrow()
{
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    QHeaderView* header = finder->table()->horizontalHeader();
    const auto column = [finder](int c) {
        QStringList cells;
        for (int r = 0; r < finder->table()->model()->rowCount(); ++r)
            cells << finder->table()->model()->index(r, c).data().toString();
        return cells;
    };
    const auto order = [&] { return column(PodborModel::Model) + column(PodborModel::Size); };
    QVERIFY(!finder->table()->isColumnHidden(PodborModel::Type));
    QCOMPARE(header->sortIndicatorSection(), -1);
    const QStringList searched = order();
    // Up, down, then the search's order again; the header's menu as well.
    for (int click = 1; click <= 4; ++click) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(PodborModel::Model) + 4, header->height() / 2));
        const QStringList now = column(PodborModel::Model);
        QCOMPARE(header->sortIndicatorSection(), click % 3 == 0 ? -1 : int(PodborModel::Model));
        QVERIFY(click % 3 != 1 || std::is_sorted(now.begin(), now.end()));
        QVERIFY(click % 3 != 2 || std::is_sorted(now.rbegin(), now.rend()));
        QVERIFY(click % 3 != 0 || order() == searched);
    }
    QCOMPARE(header->actions().value(0)->text(), QStringLiteral("Порядок по умолчанию"));
    header->actions().value(0)->trigger();
    QCOMPARE(header->sortIndicatorSection(), -1);
    QCOMPARE(order(), searched);
}

void TestPodbor::every_option_listed_can_be_made_by_hand()
{
    // The window shows positions 4 and 5 of an outlet's own regulator as the
    // model's first size has them, a plenum's as the size itself has them.
    const std::initializer_list<const char*> three{"0°", "15°", "30°", "n", "n"};
    const std::initializer_list<const char*> five{"0°", "15°", "30°", "45°", "60°"};
    Main m(FileBytes({WithOptions(Record("РВ", "Т", "s1", 2), {"n", "n", "n", "n"}, three, "1", "0"),
                      WithOptions(Record("РВ", "Т", "s2"), {"n", "n", "n", "n"}, five, "1", "0"),
                      WithOptions(Record("КР", "Т", "k1", 2), {"n", "n", "n", "n"}, three, "1", "2"),
                      WithOptions(Record("КР", "Т", "k2"), {"n", "n", "n", "n"}, five, "1", "2")}));
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    In<QCheckBox>(finder, "Chk_AllOptions")->setChecked(true);
    int plenumPositions = 0;
    for (int i = 0; i < finder->model()->rowCount(); ++i) {
        const nimbo::Found f = *finder->model()->found(i);
        QVERIFY(f.row != 1 || f.sizeIndex != 2 || f.picks.regRash <= 3);
        plenumPositions += f.row == 2 && f.sizeIndex == 2 && f.picks.regRash >= 4;
        // «Выбрать» leaves every chosen option on screen.
        SelectSourceRow(finder, i);
        QTest::mouseClick(In<QPushButton>(finder, "Cmd_Choose"), Qt::LeftButton);
        for (const char* frame : {"Frm_KSD", "Frm_RegForm", "Frm_RegRash"})
            for (QRadioButton* o : m.control<QWidget>(frame)->findChildren<QRadioButton*>())
                QVERIFY(!m.shown(frame) || !o->isChecked() || o->isVisible());
    }
    QCOMPARE(plenumPositions, 2);
}

void TestPodbor::chart_follows_the_selected_row_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("L");
    QTest::newRow("throw for Vx 0.2") << 1 << "0.2" << "1000";
    QTest::newRow("velocity at 3 m") << 2 << "3" << "1000";
    QTest::newRow("outlet velocities above 2 m/s") << 1 << "0.5" << "2500";
    QTest::newRow("Vx above some outlet velocities") << 1 << "2" << "1000";
}

void TestPodbor::chart_follows_the_selected_row()
{
    QFETCH(int, variant);
    QFETCH(QString, V);
    QFETCH(QString, L);
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    In<QRadioButton>(finder, QStringLiteral("Opt_Var%1").arg(variant).toLatin1())->click();
    In<QLineEdit>(finder, "TxtBx_V")->setText(V);
    In<QLineEdit>(finder, "TxtBx_L")->setText(L);
    JetChart* chart = finder->chart();
    bool switched = false;
    for (int r = 0; r < finder->table()->model()->rowCount(); ++r) {
        finder->table()->selectRow(r);
        const nimbo::Found& f = FoundAt(finder, r);
        const QList<QPointF>& curve = chart->curve();
        if (!f.ok || std::isnan(f.jet)) {
            QVERIFY(curve.isEmpty());
            continue;
        }
        // The mark where the row's rounded result puts it; the velocity axis
        // from 0 to a little above the air leaving the outlet.
        QCOMPARE(variant == 1 ? chart->userPoint().X : chart->userPoint().Vx, f.jet);
        const double top = std::max(f.V0, variant == 1 ? V.toDouble() : 0.0);
        QVERIFY2(chart->yMax() > top && chart->yMax() < 1.15 * top, qPrintable(QString::number(chart->yMax())));
        QVERIFY(curve.back().x() >= chart->xMax() && chart->xMax() > chart->userPoint().X);
        // A jet leaving slower than Vx: the throw is kept, its cell says so.
        QCOMPARE(finder->table()->model()->index(r, PodborModel::Jet).data(Qt::ToolTipRole).toString().contains(
                     QStringLiteral("медленнее Vx")),
                 variant == 1 && f.V0 < V.toDouble());
        // A smooth curve: no step of more than a pixel, but where the flat
        // jet gives way to the compact one, which is marked.
        const double at = chart->switchDistance();
        switched = switched || at > 0;
        QCOMPARE(at > 0, chart->toolTip().contains(QStringLiteral("струя плоская")));
        for (qsizetype i = 1; i < curve.size(); ++i) {
            const QPointF a = chart->pixelAt(curve[i - 1].x(), curve[i - 1].y());
            const QPointF b = chart->pixelAt(curve[i].x(), curve[i].y());
            if (at > 0 && curve[i - 1].x() < at && curve[i].x() >= at)
                continue;
            QVERIFY2(curve[i].x() >= curve[i - 1].x() && std::abs(b.x() - a.x()) <= 1.001 && std::abs(b.y() - a.y()) <= 1.001,
                     qPrintable(QStringLiteral("%1 m").arg(curve[i].x())));
            // The unrounded velocity at the user's X rounds to the row's.
            const double X = chart->userPoint().X;
            if (variant == 2 && curve[i - 1].x() <= X && curve[i].x() >= X)
                QVERIFY(std::abs(curve[i].y() - f.jet) <= 0.05 + 2 * chart->yMax() / chart->height());
        }
    }
    QVERIFY(switched);
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
    // The program closed while a search runs: the search holds what it reads,
    // and its result finds no window.
    In<QLineEdit>(finder, "TxtBx_L")->setText(QStringLiteral("1000"));
    QVERIFY(finder->searching());
    m.window.reset();
    QVERIFY(QThreadPool::globalInstance()->waitForDone(30000));
    QCoreApplication::processEvents();
}

// --- Placement and keys -----------------------------------------------------------

void TestPodbor::placement_beside_the_main_window_data()
{
    QTest::addColumn<QRect>("main");  // frames, title bars included
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("placed");
    const QRect desktop(0, 0, 1920, 1040), laptop(0, 0, 1366, 728);
    const QSize finder(1160, 664);
    QTest::newRow("room on the right") << QRect(100, 100, 533, 460) << finder << desktop << QRect(633, 100, 1160, 664);
    QTest::newRow("room on the left only") << QRect(1300, 100, 533, 460) << finder << desktop << QRect(140, 100, 1160, 664);
    QTest::newRow("low main window: lifted into the area") << QRect(100, 700, 533, 460) << finder << desktop
                                                           << QRect(633, 376, 1160, 664);
    QTest::newRow("no room beside, room below")
        << QRect(0, 0, 533, 460) << QSize(1000, 500) << QRect(0, 0, 1280, 1024) << QRect(0, 460, 1000, 500);
    QTest::newRow("no room anywhere: the place covering least") << QRect(0, 0, 533, 460) << finder << laptop
                                                                << QRect(206, 0, 1160, 664);
    QTest::newRow("larger than the screen: cut to it") << QRect(0, 0, 533, 460) << QSize(3000, 2000) << laptop << laptop;
}

void TestPodbor::placement_beside_the_main_window()
{
    QFETCH(QRect, main);
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, placed);
    QCOMPARE(PlaceBeside(main, frame, available), placed);
}

void TestPodbor::opens_beside_the_main_window_data()
{
    QTest::addColumn<QPoint>("mainAt");
    QTest::addColumn<bool>("beside");  // there is room: the windows do not overlap
    QTest::newRow("main window at the left") << QPoint(40, 40) << true;
    QTest::newRow("main window at the right") << QPoint(1340, 200) << true;
    QTest::newRow("main window in the middle") << QPoint(700, 300) << false;
}

void TestPodbor::opens_beside_the_main_window()
{
    QFETCH(QPoint, mainAt);
    QFETCH(bool, beside);
    Remembered().remove(QStringLiteral("podbor/geometry"));
    Main m(ShippedCatalogue());
    QVERIFY(m.ok);
    m.window->move(mainAt);
    Form_Podbor* finder = m.openFinder();
    QVERIFY(QTest::qWaitForWindowExposed(finder));
    const QRect available = m.window->screen()->availableGeometry(), main = m.window->frameGeometry();
    QVERIFY2(available.width() >= 1900, "the virtual desktop of main() below is not in use");
    const QMargins frame = nimbo::FrameMargins(*m.window);
    QCOMPARE(finder->geometry(), PlaceBeside(main, finder->size().grownBy(frame), available).marginsRemoved(frame));
    QVERIFY(available.contains(finder->frameGeometry()));
    QCOMPARE(!finder->frameGeometry().intersects(main), beside);
    // Every column in view at the first size, all types listed.
    QVERIFY(!finder->table()->isColumnHidden(PodborModel::Type));
    QVERIFY(finder->table()->horizontalHeader()->length() <= finder->table()->viewport()->width());
    // A window of its own, which the main window can come before.
    QCOMPARE(finder->windowHandle()->transientParent(), nullptr);
    // Where it was left, next time; from a screen since gone, back whole.
    const QRect left = finder->geometry().translated(-20, -30);
    finder->setGeometry(left);
    finder->close();
    QCOMPARE(m.openFinder()->geometry(), left);
    finder->close();
    Remembered().setValue(QStringLiteral("podbor/geometry"), left.translated(2000, 900));
    QVERIFY(available.contains(m.openFinder()->frameGeometry()));
    QCOMPARE(finder->size(), left.size());
}

void TestPodbor::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter on a row chooses it") << int(Qt::Key_Return);
    QTest::newRow("Esc closes") << int(Qt::Key_Escape);
    QTest::newRow("Tab leaves the table") << int(Qt::Key_Tab);
}

void TestPodbor::keys()
{
    QFETCH(int, key);
    Main m(SmallCatalogue());
    QVERIFY(m.ok);
    Form_Podbor* finder = m.openFinder();
    QVERIFY(QTest::qWaitForWindowActive(finder));
    QTableView* table = finder->table();
    table->setFocus();
    table->selectRow(1);
    QTest::keyClick(table, Qt::Key(key));
    QCOMPARE(m.list()->count(), key == Qt::Key_Return ? 1 : 0);
    QCOMPARE(m.window->selection().row, key == Qt::Key_Return ? FoundAt(finder, 1).row : 0);
    if (key == Qt::Key_Return)
        QTRY_VERIFY(m.window->isActiveWindow());  // the new result in view
    QCOMPARE(finder->isVisible(), key != Qt::Key_Escape);
    QVERIFY(!table->hasFocus());  // Tab: out of the table, not to the next cell
    QCOMPARE(table->currentIndex().row(), 1);
}

// A desktop of 1920 × 1080 rather than the offscreen platform's 800 × 800,
// so that the finder has room beside the main window. The file is named
// from the working folder: the platform's options are split at colons, and
// a Windows path holds one.
int main(int argc, char* argv[])
{
    QTemporaryFile desktop(QStringLiteral("podbor-desktop-XXXXXX.json"));
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && desktop.open()) {
        desktop.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1080}]})");
        desktop.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFileInfo(desktop).fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    TestPodbor test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_podbor.moc"
