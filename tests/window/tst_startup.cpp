// The start-up of the main window and its design: every control where the
// user and the other handlers expect it, the defaults, the log file, the
// type list, and the failures that must stop the program before it shows.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTranslator>
#include <QtTest>

#include <unistd.h>

#include "text/cp1251.h"
#include "support/window_fixture.h"

using nimbo::Twips;
using namespace nimbo::test;

namespace {

QStringList Entries(const QComboBox& box)
{
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

// What the program writes to stderr while it lives.
class StderrCapture {
public:
    StderrCapture()
    {
        file_.open();
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    QString text()
    {
        restore();
        file_.seek(0);
        return QString::fromUtf8(file_.readAll());
    }

private:
    void restore()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

std::vector<Line> RecordsOfTypes(const QStringList& types)
{
    std::vector<Line> lines;
    int n = 0;
    for (const QString& type : types)
        lines.push_back(Record("М" + std::to_string(++n), type.toStdString(), "n"));
    return lines;
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void runs_under_the_locale_it_claims();
    void default_inputs_data();
    void default_inputs();
    void two_starts_leave_one_header_line();
    void design_time_setup_runs_no_handler();
    void type_list_data();
    void type_list();
    void failed_catalogue_stops_start_up_data();
    void failed_catalogue_stops_start_up();
    void unwritable_log_file_stops_before_the_catalogue();
    void default_picture_data();
    void default_picture();
    void design_data();
    void design();
    void state_after_start_up();
    void outer_size_hides_log_strip_and_panel();
    void each_window_size_shows_its_areas_data();
    void each_window_size_shows_its_areas();
    void qt_dialogs_speak_russian_data();
    void qt_dialogs_speak_russian();
};

void TestStartup::runs_under_the_locale_it_claims()
{
    // The comma run must really run under a decimal comma, or it tests
    // nothing the point run does not.
    const QByteArray lcAll = qgetenv("LC_ALL");
    if (lcAll.startsWith("ru_RU"))
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    else if (lcAll.startsWith("C"))
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
    else
        QSKIP("started outside the test's locale settings");
}

void TestStartup::default_inputs_data()
{
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("v");
    const char user = QLocale().decimalPoint() == QLatin1String(",") ? ',' : '.';
    QTest::newRow("user's locale") << user << (user == ',' ? QStringLiteral("0,2") : QStringLiteral("0.2"));
    QTest::newRow("decimal comma") << ',' << QStringLiteral("0,2");
    QTest::newRow("decimal point") << '.' << QStringLiteral("0.2");
}

void TestStartup::default_inputs()
{
    QFETCH(char, separator);
    QFETCH(QString, v);
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    RecordingPlatform platform;
    platform.separator = separator;
    auto window = MakeWindow(folder, platform);
    QVERIFY(window->startUp());
    QCOMPARE(Control<QLineEdit>(*window, "TxtBx_V")->text(), v);
    QCOMPARE(Control<QLineEdit>(*window, "TxtBx_L")->text(), QStringLiteral("1000"));
    QCOMPARE(window->currentSiteAddress(), QString::fromLatin1(nimbo::site::kAddress));
    QVERIFY(platform.messages.isEmpty());
}

void TestStartup::two_starts_leave_one_header_line()
{
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    for (int start = 1; start <= 2; ++start) {
        RecordingPlatform platform;
        auto window = MakeWindow(folder, platform);
        QVERIFY(window->startUp());
        const QByteArray bytes = folder.read(QStringLiteral("Nimbo.csv"));
        QCOMPARE(bytes, HeaderLines({1}));
    }
}

void TestStartup::design_time_setup_runs_no_handler()
{
    // Opt_Var1 is selected at design time; had its select event run, the
    // variant switch would have appended a header to the log file.
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Nimbo.csv"))));
    QCOMPARE(Control<QComboBox>(*window, "Cmb_TipVR")->count(), 0);
    QVERIFY(platform.messages.isEmpty());
}

void TestStartup::type_list_data()
{
    QTest::addColumn<QStringList>("typesInFileOrder");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("no records") << QStringList() << QStringList();
    QTest::newRow("one type") << QStringList{"Решетки"} << QStringList{"Решетки"};
    QTest::newRow("reverse order in file")
        << QStringList{"Щелевые решетки", "Решетки", "Диффузоры", "Анемостаты"}
        << QStringList{"Анемостаты", "Диффузоры", "Решетки", "Щелевые решетки"};
    QTest::newRow("repeated type listed once")
        << QStringList{"Решетки", "Диффузоры", "Решетки", "Диффузоры"}
        << QStringList{"Диффузоры", "Решетки"};
    QTest::newRow("letter case makes another type, kept in file order")
        << QStringList{"Решетки", "Диффузоры", "решетки", "Анемостаты"}
        << QStringList{"Анемостаты", "Диффузоры", "Решетки", "решетки"};
    QTest::newRow("letter case makes another type, lower case first in file")
        << QStringList{"решетки", "Диффузоры", "Решетки"}
        << QStringList{"Диффузоры", "решетки", "Решетки"};
    QTest::newRow("lower-case first letter sorts among capitals")
        << QStringList{"вихревые", "Анемостаты", "Жалюзи"}
        << QStringList{"Анемостаты", "вихревые", "Жалюзи"};
    QTest::newRow("Ё sorts with Е, not before А")
        << QStringList{"Жалюзи", "Ёлочные", "Анемостаты", "Ежовые"}
        << QStringList{"Анемостаты", "Ежовые", "Ёлочные", "Жалюзи"};

    // 300 records of four types, in a scrambled order of first appearance.
    QStringList many;
    const QStringList four{"Приточные насадки", "Веерные", "Дисковые клапаны", "Анемостаты"};
    for (int i = 0; i < 300; ++i)
        many << four[(i * 7 + i / 5) % 4];
    QTest::newRow("300 records, four types")
        << many << QStringList{"Анемостаты", "Веерные", "Дисковые клапаны", "Приточные насадки"};
}

void TestStartup::type_list()
{
    QFETCH(QStringList, typesInFileOrder);
    QFETCH(QStringList, listed);
    ProgramFolder folder(RecordsOfTypes(typesInFileOrder));
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);
    QVERIFY(window->startUp());
    QVERIFY(platform.messages.isEmpty());
    QCOMPARE(window->catalogue().recordCount(), int(typesInFileOrder.size()));

    auto* types = Control<QComboBox>(*window, "Cmb_TipVR");
    QCOMPARE(Entries(*types), listed);
    // Nothing chosen: the prompt stays, and the list works as a list.
    QCOMPARE(types->currentIndex(), -1);
    QCOMPARE(types->currentText(), QStringLiteral("Тип воздухораспределителя"));
    QVERIFY(types->isEditable());
    QVERIFY(!Control<QComboBox>(*window, "Cmb_VidVR")->isVisibleTo(window.get()));
}

void TestStartup::failed_catalogue_stops_start_up_data()
{
    QTest::addColumn<QByteArray>("catalogue");  // empty: no file at all
    QTest::addColumn<bool>("writeFile");

    const std::vector<Line> twoLinesAsked{Record("ДПУ", "Диффузоры", "100", 2)};
    std::vector<Line> outOfRange{Record("АМН", "Решетки", "n")};
    outOfRange[0].set(7, "40000");
    QTest::newRow("file missing") << QByteArray() << false;
    QTest::newRow("file empty") << QByteArray() << true;
    QTest::newRow("record cut short") << QByteArray::fromStdString(FileBytes(twoLinesAsked)) << true;
    QTest::newRow("int16 out of range") << QByteArray::fromStdString(FileBytes(outOfRange)) << true;
}

void TestStartup::failed_catalogue_stops_start_up()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(bool, writeFile);
    ProgramFolder folder;
    QVERIFY(folder.isValid());
    if (writeFile)
        folder.writeCatalogue(catalogue.toStdString());
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);

    StderrCapture stderrText;
    QVERIFY(!window->startUp());
    const QString printed = stderrText.text();

    QCOMPARE(platform.messages.size(), 1);
    const auto& message = platform.messages.front();
    QCOMPARE(message.icon, nimbo::MessageIcon::Critical);
    QVERIFY(!message.title.isEmpty());
    QVERIFY2(message.text.contains(QRegularExpression(QStringLiteral("[а-яА-Я]"))),
             qPrintable(message.text));
    QVERIFY2(printed.contains(message.text), qPrintable(printed));
    QCOMPARE(Control<QComboBox>(*window, "Cmb_TipVR")->count(), 0);
    QCOMPARE(window->catalogue().recordCount(), 0);
    // The log file was emptied before the catalogue was read.
    QCOMPARE(folder.read(QStringLiteral("Nimbo.csv")), HeaderLines({1}));
}

void TestStartup::unwritable_log_file_stops_before_the_catalogue()
{
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("Nimbo.csv"))));  // a folder in its place
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);

    StderrCapture stderrText;
    QVERIFY(!window->startUp());
    const QString printed = stderrText.text();

    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.front().icon, nimbo::MessageIcon::Critical);
    QVERIFY2(platform.messages.front().text.contains(QStringLiteral("Nimbo.csv")),
             qPrintable(platform.messages.front().text));
    QVERIFY(printed.contains(platform.messages.front().text));
    QCOMPARE(window->catalogue().recordCount(), 0);
    QCOMPARE(Control<QComboBox>(*window, "Cmb_TipVR")->count(), 0);
}

void TestStartup::default_picture_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("shown");
    QTest::newRow("present") << QStringLiteral("present") << true;
    QTest::newRow("missing") << QStringLiteral("missing") << false;
    QTest::newRow("not a picture") << QStringLiteral("garbage") << false;
}

void TestStartup::default_picture()
{
    QFETCH(QString, kind);
    QFETCH(bool, shown);
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    if (kind == QLatin1String("present")) {
        QVERIFY(folder.writePicture(QStringLiteral("Timbra"), Qt::red, {120, 60}));
    } else if (kind == QLatin1String("garbage")) {
        QDir().mkpath(folder.file(QStringLiteral("jpg")));
        QFile f(folder.file(QStringLiteral("jpg/Timbra.jpg")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a JPEG at all");
    }
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);
    QVERIFY(window->startUp());  // a picture never stops the start
    QVERIFY(platform.messages.isEmpty());
    const QPixmap picture = Control<QLabel>(*window, "Img_VR")->pixmap();
    QCOMPARE(!picture.isNull(), shown);
    if (shown)
        QCOMPARE(picture.toImage().pixelColor(60, 30).red() > 200, true);
}

void TestStartup::design_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("shown");  // the control's own setting

    const QString window = QStringLiteral("Form_Main");
    const QString v = QLocale().decimalPoint() == QLatin1String(",") ? QStringLiteral("0,2")
                                                                    : QStringLiteral("0.2");
    const QString site = QString::fromLatin1(nimbo::site::kAddress);
    const QString siteTip = QStringLiteral("Переход на сайт ") + QString::fromLatin1(nimbo::site::kDomain);
    struct Row {
        const char* name;
        const char* cls;
        QString parent;
        QRect twips;
        QString text, tip;
        bool shown;
    };
    const QString none;
    const QString lTip = QStringLiteral("Объемный расход воздуха через воздухораспределитель");
    const QString vTip = QStringLiteral("Скорость для расчета дальнобойности");
    const QString pTip = QStringLiteral("Потери полного давления");
    const QString xTip = QStringLiteral("Дальнобойность струи для заданной Vx");
    const QString lwaTip = QStringLiteral("Приведенный по фильтру А уровень звуковой мощности");
    const QString f0Tip = QStringLiteral("Площадь расчетного сечения воздухораспределителя");
    const QString v0Tip = QStringLiteral("Скорость воздуха в расчетном сечении воздухораспределителя");
    const QString fvTip = QStringLiteral("Площадь сечения подводящего воздуховода");
    const QString vvTip = QStringLiteral("Скорость воздуха в сечении подводящего воздуховода");
    const QString fjsTip = QStringLiteral("Площадь живого сечения");
    const QString vjsTip = QStringLiteral("Скорость воздуха в живом сечении");
    const QString ksdTip = QStringLiteral("Наличие и тип камеры статического давления");
    const QString formTip = QStringLiteral("Регулирование формы струи и другие параметры");
    const QString rashTip = QStringLiteral("Положение регулятора расхода");
    const Row rows[] = {
        {"Cmb_TipVR", "QComboBox", window, {120, 240, 2895, 315}, "Тип воздухораспределителя",
         "Выбор типа воздухораспределителя", true},
        {"Cmb_VidVR", "QComboBox", window, {120, 720, 2895, 315}, "Выбор воздухораспределителя",
         "Выбор воздухораспределителя", false},
        {"Frm_Rzmr", "QGroupBox", window, {3120, 120, 1335, 975}, "Типоразмер", "Ввод типоразмера", false},
        {"Lbl_A", "QLabel", "Frm_Rzmr", {120, 240, 495, 255}, "A, мм", none, true},
        {"TxtBx_A", "QLineEdit", "Frm_Rzmr", {120, 480, 495, 315}, "300", none, true},
        {"Lbl_B", "QLabel", "Frm_Rzmr", {720, 240, 495, 255}, "B, мм", none, true},
        {"TxtBx_B", "QLineEdit", "Frm_Rzmr", {720, 480, 495, 315}, "300", none, true},
        {"Frm_Tprzmr", "QGroupBox", window, {3120, 480, 1575, 615}, "Типоразмер", none, false},
        {"Cmb_Tprzmr", "QComboBox", "Frm_Tprzmr", {60, 240, 1440, 315}, "Типоразмер",
         "Выбор типоразмера", true},
        {"Frm_Dlina", "QGroupBox", window, {3360, 360, 1335, 735}, "Длина, мм",
         "Ввод длины щелевой решетки", false},
        {"TxtBx_Dlina", "QLineEdit", "Frm_Dlina", {120, 240, 1095, 375}, "1000", none, true},
        {"Img_VR", "QLabel", window, {4800, 120, 3000, 1410}, none, none, true},
        {"Frm_KSD", "QGroupBox", window, {120, 1200, 855, 1020}, "КСД", ksdTip, false},
        {"Opt_KSD1", "QRadioButton", "Frm_KSD", {120, 240, 700, 255}, "Нет", none, true},
        {"Opt_KSD2", "QRadioButton", "Frm_KSD", {120, 480, 700, 255}, "КСД", none, true},
        {"Opt_KSD3", "QRadioButton", "Frm_KSD", {120, 720, 700, 255}, "КСР", none, true},
        {"Frm_RegForm", "QGroupBox", window, {1080, 1200, 2175, 1260}, "Рег. формы струи", formTip, false},
        {"Opt_RegForm1", "QRadioButton", "Frm_RegForm", {120, 240, 2000, 255}, "Opt1", none, true},
        {"Opt_RegForm2", "QRadioButton", "Frm_RegForm", {120, 480, 2000, 255}, "Opt2", none, true},
        {"Opt_RegForm3", "QRadioButton", "Frm_RegForm", {120, 720, 2000, 255}, "Opt3", none, true},
        {"Opt_RegForm4", "QRadioButton", "Frm_RegForm", {120, 960, 2000, 255}, "Opt4", none, true},
        {"Frm_RegRash", "QGroupBox", window, {3360, 1200, 1335, 1575}, "Рег. расхода", rashTip, false},
        {"Opt_RegRash1", "QRadioButton", "Frm_RegRash", {120, 240, 855, 255}, "b=0°", none, true},
        {"Opt_RegRash2", "QRadioButton", "Frm_RegRash", {120, 480, 855, 255}, "b=15°", none, true},
        {"Opt_RegRash3", "QRadioButton", "Frm_RegRash", {120, 720, 855, 255}, "b=30°", none, true},
        {"Opt_RegRash4", "QRadioButton", "Frm_RegRash", {120, 960, 855, 255}, "b=45°", none, true},
        {"Opt_RegRash5", "QRadioButton", "Frm_RegRash", {120, 1200, 855, 255}, "b=60°", none, true},
        {"Lbl_URL", "QLabel", window, {4800, 2520, 3015, 375}, site, siteTip, true},
        {"Frm_Var", "QGroupBox", window, {120, 2880, 7695, 855}, "Выбор варианта расчета", none, true},
        {"Opt_Var1", "QRadioButton", "Frm_Var", {120, 360, 7215, 195},
         "Расчет дальнобойности l для заданной скорости Vx", none, true},
        {"Opt_Var2", "QRadioButton", "Frm_Var", {120, 600, 7335, 195},
         "Расчет скорости приточной струи Vx на заданном расстоянии X от воздухораспределителя", none,
         true},
        {"Frm_Ish", "QGroupBox", window, {120, 3840, 2175, 1215}, "Исходные данные", none, true},
        {"Lbl_L", "QLabel", "Frm_Ish", {45, 360, 495, 285}, "L0 =", lTip, true},
        {"TxtBx_L", "QLineEdit", "Frm_Ish", {600, 360, 855, 285}, "1000", lTip, true},
        {"Lbl_RL", "QLabel", "Frm_Ish", {1560, 360, 555, 285}, "м3/ч", lTip, true},
        {"Lbl_V", "QLabel", "Frm_Ish", {45, 720, 495, 285}, "Vx =", vTip, true},
        {"TxtBx_V", "QLineEdit", "Frm_Ish", {600, 720, 855, 285}, v, vTip, true},
        {"Lbl_RV", "QLabel", "Frm_Ish", {1560, 720, 555, 285}, "м/с", vTip, true},
        {"Cmd_Start", "QPushButton", window, {2400, 3960, 1215, 615}, "Считай!", "Запуск расчета", true},
        {"Chk_Log", "QCheckBox", window, {2400, 4680, 1215, 255}, "Журнал", "Окно с журналом расчетов", true},
        {"Frm_rez", "QGroupBox", window, {3720, 3840, 4095, 1215}, "Результат", none, true},
        {"Lbl_p", "QLabel", "Frm_rez", {45, 360, 495, 285}, "ΔP =", pTip, true},
        {"TxtBx_p", "QLineEdit", "Frm_rez", {600, 360, 855, 285}, none, pTip, true},
        {"Lbl_RP", "QLabel", "Frm_rez", {1560, 360, 435, 285}, "Па", pTip, true},
        {"Lbl_x", "QLabel", "Frm_rez", {45, 720, 495, 285}, "l =", xTip, true},
        {"TxtBx_x", "QLineEdit", "Frm_rez", {600, 720, 855, 285}, none, xTip, true},
        {"Lbl_Rll", "QLabel", "Frm_rez", {1560, 720, 435, 285}, "м", xTip, true},
        {"Lbl_LwA", "QLabel", "Frm_rez", {2040, 360, 555, 285}, "LwA =", lwaTip, true},
        {"TxtBx_LwA", "QLineEdit", "Frm_rez", {2640, 360, 735, 285}, none, lwaTip, true},
        {"Lbl_RLwA", "QLabel", "Frm_rez", {3480, 360, 555, 285}, "дБ(А)", lwaTip, true},
        {"Frm_FV", "QGroupBox", window, {120, 5040, 7695, 1335},
         "Пересчет расхода воздуха на его скорость в различных сечениях", none, false},
        {"Frm_RS", "QGroupBox", "Frm_FV", {120, 240, 1935, 975}, "Расчетное сечение", none, true},
        {"Frm_SV", "QGroupBox", "Frm_FV", {2280, 240, 1935, 975}, "Сечение воздуховода", none, true},
        {"Frm_JS", "QGroupBox", "Frm_FV", {4440, 240, 2055, 975}, "Живое сечение", none, true},
        {"Lbl_F0", "QLabel", "Frm_RS", {120, 240, 465, 285}, "F0 = ", f0Tip, true},
        {"TxtBx_F0", "QLineEdit", "Frm_RS", {600, 240, 735, 285}, none, f0Tip, true},
        {"Lbl_m2", "QLabel", "Frm_RS", {1440, 240, 435, 285}, "м2", f0Tip, true},
        {"Lbl_V0", "QLabel", "Frm_RS", {120, 600, 465, 285}, "V0 = ", v0Tip, true},
        {"TxtBx_V0", "QLineEdit", "Frm_RS", {600, 600, 735, 285}, none, v0Tip, true},
        {"Lbl_ms", "QLabel", "Frm_RS", {1440, 600, 435, 285}, "м/с", v0Tip, true},
        {"Lbl_Fv", "QLabel", "Frm_SV", {120, 240, 465, 285}, "Fв = ", fvTip, true},
        {"TxtBx_Fv", "QLineEdit", "Frm_SV", {600, 240, 735, 285}, none, fvTip, true},
        {"Lbl_m22", "QLabel", "Frm_SV", {1440, 240, 435, 285}, "м2", fvTip, true},
        {"Lbl_Vv", "QLabel", "Frm_SV", {120, 600, 465, 285}, "Vв = ", vvTip, true},
        {"TxtBx_Vv", "QLineEdit", "Frm_SV", {600, 600, 735, 285}, none, vvTip, true},
        {"Lbl_mms", "QLabel", "Frm_SV", {1440, 600, 435, 285}, "м/с", vvTip, true},
        {"Lbl_Fjs", "QLabel", "Frm_JS", {120, 240, 585, 285}, "Fжс = ", fjsTip, true},
        {"TxtBx_Fjs", "QLineEdit", "Frm_JS", {720, 240, 735, 285}, none, fjsTip, true},
        {"Lbl_m222", "QLabel", "Frm_JS", {1560, 240, 435, 285}, "м2", fjsTip, true},
        {"Lbl_Vjs", "QLabel", "Frm_JS", {120, 600, 585, 285}, "Vжс = ", vjsTip, true},
        {"TxtBx_Vjs", "QLineEdit", "Frm_JS", {720, 600, 735, 285}, none, vjsTip, true},
        {"Lbl_mmms", "QLabel", "Frm_JS", {1560, 600, 435, 285}, "м/с", vjsTip, true},
        {"LstBx_Log", "QListWidget", window, {120, 6480, 7695, 2010}, none, none, true},
        {"Cmd_DelStr", "QPushButton", window, {120, 8640, 2415, 495}, "Удалить строку",
         "Удаление выделенной строки", true},
        {"Cmd_Clear", "QPushButton", window, {2640, 8640, 2415, 495}, "Очистить журнал",
         "Удаление всех записей из окна журнала", true},
        {"Lbl_Log", "QLabel", window, {5280, 8640, 2415, 495}, "Журнал дублируется в файл Nimbo.csv",
         "Файл журнала: {log}\nЖурнал прошлого запуска: Nimbo.prev.csv в той же папке", true},
        {"Frm_skrt", "QGroupBox", window, {7920, 2880, 1695, 3495}, "Секретный ур.", none, true},
        {"Lbl_m", "QLabel", "Frm_skrt", {120, 240, 480, 255}, "m =", none, true},
        {"Lbl_mData", "QLabel", "Frm_skrt", {600, 240, 1020, 255}, none, none, true},
        {"Lbl_Dzeta", "QLabel", "Frm_skrt", {120, 600, 480, 255}, "ξ =", none, true},
        {"Lbl_DzetaData", "QLabel", "Frm_skrt", {600, 600, 1020, 255}, none, none, true},
        {"Lbl_kr", "QLabel", "Frm_skrt", {120, 960, 480, 255}, "k =", none, true},
        {"Lbl_krData", "QLabel", "Frm_skrt", {600, 960, 1020, 255}, none, none, true},
        {"Lbl_Fm", "QLabel", "Frm_skrt", {120, 1320, 510, 255}, "Fm =", none, true},
        {"Lbl_FmData", "QLabel", "Frm_skrt", {630, 1320, 660, 255}, none, none, true},
        {"Lbl_mm2", "QLabel", "Frm_skrt", {1320, 1320, 330, 255}, "м2", none, true},
        {"Lbl_Fz", "QLabel", "Frm_skrt", {120, 1680, 510, 255}, "Fξ =", none, true},
        {"Lbl_FzData", "QLabel", "Frm_skrt", {630, 1680, 660, 255}, none, none, true},
        {"mmm2", "QLabel", "Frm_skrt", {1320, 1680, 330, 255}, "м2", none, true},
        {"Cmd_skrt", "QPushButton", "Frm_skrt", {120, 2520, 1455, 855}, "Закрыть секретный уровень",
         none, true},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.cls) << r.parent
                              << r.twips << r.text << r.tip << r.shown;
}

void TestStartup::design()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(bool, shown);

    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);
    QVERIFY(window->startUp());

    const QList<QWidget*> found = window->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);  // names are unique
    QWidget* control = found.front();
    // Only the class that the other handlers cast to counts, not a helper subclass.
    QVERIFY2(control->inherits(qPrintable(className)), control->metaObject()->className());
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(),
             QRect(Twips(twips.x()), Twips(twips.y()), Twips(twips.width()), Twips(twips.height())));

    QString actual;
    if (auto* combo = qobject_cast<QComboBox*>(control))
        actual = combo->currentText();
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        actual = frame->title();
    else if (auto* label = qobject_cast<QLabel*>(control))
        actual = label->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        actual = edit->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        actual = button->text();
    QCOMPARE(actual, text);
    // Where the log lives depends on the folder the test runs in.
    toolTip.replace(QStringLiteral("{log}"), QDir::toNativeSeparators(folder.file(QStringLiteral("Nimbo.csv"))));
    QCOMPARE(control->toolTip(), toolTip);
    QCOMPARE(!control->isHidden(), shown);
}

void TestStartup::state_after_start_up()
{
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);
    QVERIFY(window->startUp());

    QCOMPARE(window->windowTitle(),
             QStringLiteral("Нимбо. Калькулятор Воздухораспределителей Тимбра.     Версия 2019.03"));
    for (const char* selected : {"Opt_Var1", "Opt_KSD1", "Opt_RegForm1", "Opt_RegRash1"})
        QVERIFY2(Control<QRadioButton>(*window, selected)->isChecked(), selected);
    for (const char* other : {"Opt_Var2", "Opt_KSD2", "Opt_KSD3", "Opt_RegForm2", "Opt_RegForm4",
                              "Opt_RegRash2", "Opt_RegRash5"})
        QVERIFY2(!Control<QRadioButton>(*window, other)->isChecked(), other);
    for (const char* result : {"TxtBx_p", "TxtBx_x", "TxtBx_LwA", "TxtBx_F0", "TxtBx_V0", "TxtBx_Fv",
                               "TxtBx_Vv", "TxtBx_Fjs", "TxtBx_Vjs"}) {
        auto* box = Control<QLineEdit>(*window, result);
        QVERIFY2(box->isReadOnly(), result);
        QVERIFY2(box->text().isEmpty(), result);
    }
    for (const char* input : {"TxtBx_L", "TxtBx_V", "TxtBx_A", "TxtBx_B", "TxtBx_Dlina"})
        QVERIFY2(!Control<QLineEdit>(*window, input)->isReadOnly(), input);
    QVERIFY(!Control<QCheckBox>(*window, "Chk_Log")->isChecked());
    QCOMPARE(Control<QListWidget>(*window, "LstBx_Log")->count(), 0);
    QCOMPARE(Control<QComboBox>(*window, "Cmb_VidVR")->count(), 0);
    QCOMPARE(Control<QComboBox>(*window, "Cmb_Tprzmr")->count(), 0);
    QCOMPARE(window->skrtClicks(), 0);

    const QFont link = Control<QLabel>(*window, "Lbl_URL")->font();
    QVERIFY(link.bold());
    QVERIFY(link.underline());
    QCOMPARE(link.pixelSize(), 16);  // 12 points at 96 dpi
    QCOMPARE(Control<QLabel>(*window, "Lbl_URL")->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(Control<QGroupBox>(*window, "Frm_skrt")->font().bold());
    // Only the panel's caption is bold, not its rows.
    for (const char* row : {"Lbl_m", "Lbl_mData", "Lbl_Fz", "mmm2", "Cmd_skrt"})
        QVERIFY2(!Control<QWidget>(*window, row)->font().bold(), row);
}

void TestStartup::outer_size_hides_log_strip_and_panel()
{
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);
    QVERIFY(window->startUp());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QCOMPARE(nimbo::OuterSize(*window), QSize(Twips(8000), Twips(6900)));
    const QRect client = window->rect();
    const auto place = [&](const char* name) {
        return Control<QWidget>(*window, name)->geometry();
    };
    // The strip and the panel lie wholly outside the client area ...
    QVERIFY(client.bottom() < place("LstBx_Log").top());
    QVERIFY(client.right() < place("Frm_skrt").left());
    // ... while everything above them is wholly inside.
    for (const char* name : {"Frm_FV", "Frm_Var", "Frm_rez", "Lbl_URL", "Img_VR"})
        QVERIFY2(client.contains(place(name)), name);
}

void TestStartup::each_window_size_shows_its_areas_data()
{
    QTest::addColumn<QSize>("outerTwips");
    QTest::addColumn<bool>("logStrip");
    QTest::addColumn<bool>("panel");
    QTest::newRow("normal") << QSize(8000, 6900) << false << false;
    QTest::newRow("log strip open") << QSize(8000, 9630) << true << false;
    QTest::newRow("panel open") << QSize(9800, 6900) << false << true;
    QTest::newRow("both open") << QSize(9800, 9630) << true << true;
}

void TestStartup::each_window_size_shows_its_areas()
{
    QFETCH(QSize, outerTwips);
    QFETCH(bool, logStrip);
    QFETCH(bool, panel);
    ProgramFolder folder({Record("АМН", "Решетки", "n")});
    RecordingPlatform platform;
    auto window = MakeWindow(folder, platform);
    QVERIFY(window->startUp());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    nimbo::SetOuterSize(*window, QSize(Twips(outerTwips.width()), Twips(outerTwips.height())));
    QCOMPARE(nimbo::OuterSize(*window), QSize(Twips(outerTwips.width()), Twips(outerTwips.height())));

    const QRect client = window->rect();
    const auto inside = [&](const char* name) {
        return client.contains(Control<QWidget>(*window, name)->geometry());
    };
    const auto outside = [&](const char* name) {
        return !client.intersects(Control<QWidget>(*window, name)->geometry());
    };
    // The upper part is always whole.
    for (const char* name : {"Frm_FV", "Frm_Var", "Frm_rez", "Lbl_URL", "Img_VR", "Chk_Log"})
        QVERIFY2(inside(name), name);
    for (const char* name : {"LstBx_Log", "Cmd_DelStr", "Cmd_Clear", "Lbl_Log"})
        QVERIFY2(logStrip ? inside(name) : outside(name), name);
    QVERIFY(panel ? inside("Frm_skrt") : outside("Frm_skrt"));
}

// --- Qt's own texts ---------------------------------------------------------------

void TestStartup::qt_dialogs_speak_russian_data()
{
    QTest::addColumn<QString>("where");  // the folder holding qtbase_ru.qm
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("Qt's own translations") << "qt" << "&Да" << "Отмена";
    QTest::newRow("beside the program, as in the Windows zip") << "beside" << "&Да" << "Отмена";
    QTest::newRow("none: Qt's English") << "none" << "&Yes" << "Cancel";
}

void TestStartup::qt_dialogs_speak_russian()
{
    QFETCH(QString, where);
    QFETCH(QString, yes);
    QFETCH(QString, cancel);
    QStringList folders = nimbo::QtTranslationFolders();
    QCOMPARE(folders.value(1), QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
    const QString installed = QDir(folders.value(0)).filePath(QStringLiteral("qtbase_ru.qm"));
    if (where != QLatin1String("none") && !QFile::exists(installed))
        QSKIP("Qt's translations are not installed on this system");
    QTemporaryDir empty, beside;
    if (where != QLatin1String("qt"))
        folders = {empty.path(), beside.path()};
    if (where == QLatin1String("beside"))
        QVERIFY(QFile::copy(installed, beside.filePath(QStringLiteral("qtbase_ru.qm"))));
    // As main.cpp does it; the box is made but never shown, which would
    // stop the test.
    QTranslator* translator = nimbo::InstallQtTranslation(*qApp, folders);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Отчет"), QString(), QMessageBox::Yes | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), yes);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), cancel);
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
