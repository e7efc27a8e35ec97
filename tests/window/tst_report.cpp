// The calculation report: what each log entry keeps, the log list's menu, and
// the PDF as a reader sees it (its text through pdftotext, its pages through
// pdfinfo, its fonts through pdffonts).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <QTableView>

#include <string>

#include "support/host_tool.h"
#include "support/window_fixture.h"

using namespace nimbo::test;

namespace {

// One calculation as a user makes it: type, model, listed size (or A×B, or
// slot length), variant, L, V.
struct Calculation {
    QString type, model, size, a, b, length;
    int variant = 1;
    QString L, V;
};

const Calculation kListed{QStringLiteral("Диффузоры квадратные"), QStringLiteral("ПДК"), QStringLiteral("450x450"),
                          {}, {}, {}, 1, QStringLiteral("800"), QStringLiteral("0.5")};
const Calculation kFree{QStringLiteral("Решетки любого размера"), QStringLiteral("РС-1"), {},
                        QStringLiteral("600"), QStringLiteral("200"), {}, 2, QStringLiteral("600"), QStringLiteral("3")};
const Calculation kSlot{QStringLiteral("Диффузоры щелевые"), QStringLiteral("1ДМЗ"), {}, {}, {},
                        QStringLiteral("1500"), 1, QStringLiteral("300"), QStringLiteral("0.25")};
const Calculation kSlotAtX{QStringLiteral("Диффузоры щелевые"), QStringLiteral("1ДМЗ"), {}, {}, {},
                           QStringLiteral("2000"), 2, QStringLiteral("450"), QStringLiteral("2")};

// A free-size diffuser of a test-made catalogue with no data for the jet,
// the pressure loss or the sound: every result shows «-».
const Calculation kDashes{QStringLiteral("Диффузоры"), QStringLiteral("ПДВ-1"), {}, QStringLiteral("300"),
                          QStringLiteral("300"), {}, 1, QStringLiteral("1000"), QStringLiteral("0.2")};

// The window with the report's own helpers.
struct ReportWindow : nimbo::test::Started {
    // Over the shipped catalogue, or over the one that gives kDashes.
    explicit ReportWindow(bool shipped = true)
        : nimbo::test::Started([shipped](const ProgramFolder& folder) {
              if (shipped)
                  CopyShippedData(folder);
              else
                  folder.writeCatalogue(FileBytes({Record("ПДВ-1", "Диффузоры", "n")}));
          })
    {
    }
    QAction* action(const char* name) const { return control<QMenu>("Mnu_Log")->findChild<QAction*>(QLatin1String(name)); }
    void choose(const char* name, const QString& entry) const { QVERIFY2(pick(name, entry), qPrintable(entry)); }
    using nimbo::test::Started::calculate;
    // Makes the calculation and returns the words its report block must
    // hold, in order: captions and units as the window writes them, values
    // as its boxes show them.
    QStringList calculate(const Calculation& c) const
    {
        choose("Cmb_TipVR", c.type);
        choose("Cmb_VidVR", c.model);
        if (!c.size.isEmpty())
            choose("Cmb_Tprzmr", c.size);
        if (!c.a.isEmpty()) {
            control<QLineEdit>("TxtBx_A")->setText(c.a);
            control<QLineEdit>("TxtBx_B")->setText(c.b);
        }
        if (!c.length.isEmpty())
            control<QLineEdit>("TxtBx_Dlina")->setText(c.length);
        control<QRadioButton>(c.variant == 2 ? "Opt_Var2" : "Opt_Var1")->click();
        control<QLineEdit>("TxtBx_L")->setText(c.L);
        control<QLineEdit>("TxtBx_V")->setText(QString(c.V).replace(QLatin1Char('.'), QLocale().decimalPoint()));
        control<QPushButton>("Cmd_Start")->click();
        return expected(c);
    }
    QStringList expected(const Calculation& c) const;
    // Titles of the option and section frames the last calculation left
    // hidden: no report line of that calculation may name them.
    mutable QStringList hidden;
};

QStringList ReportWindow::expected(const Calculation& c) const
{
    const bool v2 = c.variant == 2;
    const auto row = [](const QString& caption, const QString& value, const QString& unit) {
        return caption + QLatin1Char(' ') + value + QLatin1Char(' ') + unit;
    };
    const QString variant = control<QRadioButton>(v2 ? "Opt_Var2" : "Opt_Var1")->text();
    QStringList w{c.model};
    if (!c.size.isEmpty())
        w << c.size << c.type << variant << QStringLiteral("Исходные данные") << QStringLiteral("Типоразмер ") + c.size;
    else if (!c.a.isEmpty())
        w << c.a + QStringLiteral("х") + c.b << c.type << variant << QStringLiteral("Исходные данные")
          << row(QStringLiteral("A"), c.a, QStringLiteral("мм")) << row(QStringLiteral("B"), c.b, QStringLiteral("мм"));
    else
        w << c.length << c.type << variant << QStringLiteral("Исходные данные")
          << row(QStringLiteral("Длина"), c.length, QStringLiteral("мм"));
    hidden.clear();
    for (const char* frame : {"Frm_KSD", "Frm_RegForm", "Frm_RegRash"}) {
        auto* group = control<QGroupBox>(frame);
        if (group->isHidden()) {
            hidden << group->title();
            continue;
        }
        QString selected;
        for (QRadioButton* option : group->findChildren<QRadioButton*>())
            if (option->isChecked())
                selected = option->text();
        w << group->title() + QLatin1Char(' ') + selected;
    }
    w << row(QStringLiteral("L0 ="), c.L, QStringLiteral("м3/ч"))
      << row(v2 ? QStringLiteral("X =") : QStringLiteral("Vx ="), text("TxtBx_V"), v2 ? QStringLiteral("м") : QStringLiteral("м/с"));
    w << QStringLiteral("Результат") << row(QStringLiteral("ΔP ="), text("TxtBx_p"), QStringLiteral("Па"))
      << row(QStringLiteral("LwA ="), text("TxtBx_LwA"), QStringLiteral("дБ(А)"))
      << row(v2 ? QStringLiteral("Vx =") : QStringLiteral("l ="), text("TxtBx_x"), v2 ? QStringLiteral("м/с") : QStringLiteral("м"));
    if (control<QGroupBox>("Frm_FV")->isHidden())
        hidden << control<QGroupBox>("Frm_FV")->title();
    else {
        w << QStringLiteral("Пересчет расхода воздуха на его скорость в различных сечениях");
        const struct {
            const char *frame, *title, *f, *fBox, *v, *vBox;
        } sections[] = {
            {"Frm_RS", "Расчетное сечение", "F0 =", "TxtBx_F0", "V0 =", "TxtBx_V0"},
            {"Frm_SV", "Сечение воздуховода", "Fв =", "TxtBx_Fv", "Vв =", "TxtBx_Vv"},
            {"Frm_JS", "Живое сечение", "Fжс =", "TxtBx_Fjs", "Vжс =", "TxtBx_Vjs"},
        };
        for (const auto& s : sections)
            if (control<QGroupBox>(s.frame)->isHidden())
                hidden << QString::fromUtf8(s.title);
            else
                w << QString::fromUtf8(s.title) + QLatin1Char(' ') +
                         row(QString::fromUtf8(s.f), text(s.fBox), QStringLiteral("м2")) + QLatin1Char(' ') +
                         row(QString::fromUtf8(s.v), text(s.vBox), QStringLiteral("м/с"));
    }
    return w;
}

// The report of the list as it stands, through the menu's command.
QString SaveReport(ReportWindow& s, const QString& name = QStringLiteral("отчет.pdf"))
{
    s.platform.saveAnswer = s.folder.file(name);
    s.action("Mnu_SavePdf")->trigger();
    return s.platform.saveAnswer;
}

}  // namespace

Q_DECLARE_METATYPE(Calculation)


class TestReport : public QObject {
    Q_OBJECT
private slots:
    void report_holds_what_the_window_showed_data();
    void report_holds_what_the_window_showed();
    void pages_and_blocks_data();
    void pages_and_blocks();
    void entries_of_the_report_data();
    void entries_of_the_report();
    void unwritable_file_changes_nothing_data();
    void unwritable_file_changes_nothing();
    void menu_of_the_log_data();
    void menu_of_the_log();
    void room_row_carries_the_room();
};

void TestReport::report_holds_what_the_window_showed_data()
{
    QTest::addColumn<bool>("shipped");
    QTest::addColumn<QList<Calculation>>("calculations");
    QTest::newRow("listed size, throw") << true << QList<Calculation>{kListed};
    QTest::newRow("free size, velocity at X") << true << QList<Calculation>{kFree};
    QTest::newRow("slot, throw") << true << QList<Calculation>{kSlot};
    QTest::newRow("slot, velocity at X") << true << QList<Calculation>{kSlotAtX};
    QTest::newRow("listed, free and slot in one report") << true << QList<Calculation>{kListed, kFree, kSlotAtX};
    QTest::newRow("results shown as «-»") << false << QList<Calculation>{kDashes};
}

void TestReport::report_holds_what_the_window_showed()
{
    QFETCH(bool, shipped);
    QFETCH(QList<Calculation>, calculations);

    ReportWindow s(shipped);
    QVERIFY(s.ok);
    const QFileInfo catalogue(s.folder.file(QStringLiteral("A/b")));
    QStringList wanted{QStringLiteral("Нимбо — расчет воздухораспределителей"),
                       QStringLiteral("Отчет составлен ") + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")),
                       QStringLiteral("Каталог: ") + QDir::toNativeSeparators(catalogue.absoluteFilePath()) +
                           QStringLiteral(" от ") + catalogue.lastModified().toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                       QStringLiteral("Расчетов: %1").arg(calculations.size())};
    for (int i = 0; i < calculations.size(); ++i)
        wanted << QStringLiteral("%1.").arg(i + 1) << s.calculate(calculations[i]);
    if (!shipped)
        QCOMPARE(s.text("TxtBx_p") + s.text("TxtBx_x") + s.text("TxtBx_LwA"), QStringLiteral("---"));
    QCOMPARE(s.list()->count(), calculations.size());
    QVERIFY(s.platform.messages.isEmpty());

    const QString pdf = SaveReport(s);
    QVERIFY2(s.platform.messages.isEmpty(), qPrintable(s.platform.messages.value(0).text));
    const QString text = PdfPages(pdf).join(QLatin1Char('\n'));
    const QString missing = MissingInOrder(text, wanted);
    QVERIFY2(missing.isEmpty(), qPrintable(missing + QStringLiteral("\n") + text));
    if (calculations.size() == 1)
        for (const QString& frame : s.hidden)
            QVERIFY2(!Solid(text).contains(Solid(frame)), qPrintable(frame));
    const int pages = PageCount(pdf);
    QVERIFY(text.contains(QStringLiteral("Страница %1 из %1").arg(pages)));
    // Every font is in the file: a reader without DejaVu sees the same letters.
    const QStringList fonts = RunHostTool(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString& font : fonts)  // ... emb sub uni object gen
        QVERIFY2(Words(font).value(Words(font).size() - 5) == QLatin1String("yes"), qPrintable(font));
}

// --- Pages ---------------------------------------------------------------

void TestReport::pages_and_blocks_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("onFirstPage");   // blocks under the heading
    QTest::addColumn<int>("onOtherPages");  // blocks on every later page but the last
    QTest::newRow("one calculation") << 1 << 1 << 1 << 0;
    // Blocks of a listed size with their jet chart, each about 130 mm high:
    // 1 + 19 × 2 + 1.
    QTest::newRow("forty calculations") << 40 << 21 << 1 << 2;
}

void TestReport::pages_and_blocks()
{
    QFETCH(int, entries);
    QFETCH(int, pages);
    QFETCH(int, onFirstPage);
    QFETCH(int, onOtherPages);

    ReportWindow s;
    QVERIFY(s.ok);
    QStringList block;
    for (int i = 0; i < entries; ++i)
        block = s.calculate(kListed);
    const QString pdf = SaveReport(s);
    QVERIFY(s.platform.messages.isEmpty());
    QCOMPARE(PageCount(pdf), pages);
    const QStringList texts = PdfPages(pdf);
    QCOMPARE(texts.size(), pages);
    for (int p = 0; p < pages; ++p)
        QVERIFY2(texts[p].contains(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages)), qPrintable(texts[p]));
    // Each block whole on one page, in order, and none left out.
    QList<int> perPage(pages, 0);
    int previousPage = 0;
    for (int k = 1; k <= entries; ++k) {
        const QRegularExpression heading(QStringLiteral("(^|\\n)\\s*%1\\. ").arg(k));
        int page = -1;
        for (int p = 0; p < pages && page < 0; ++p)
            if (texts[p].contains(heading))
                page = p;
        QVERIFY2(page >= previousPage, qPrintable(QStringLiteral("block %1").arg(k)));
        const QString rest = texts[page].mid(texts[page].indexOf(heading));
        const QString missing = MissingInOrder(rest, block);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("block %1 on page %2: ").arg(k).arg(page + 1) + missing));
        ++perPage[page];
        previousPage = page;
    }
    QCOMPARE(perPage.value(0), onFirstPage);
    for (int p = 1; p + 1 < pages; ++p)
        QCOMPARE(perPage[p], onOtherPages);
}

// --- Which entries ---------------------------------------------------------

void TestReport::entries_of_the_report_data()
{
    // Steps: a number is a calculation with that L; "mark:i,j" marks entries,
    // "unmark" clears the marks, "del" and "clear" are the strip's buttons.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("flows");  // the L of each block, in order

    const QStringList three{"500", "700", "900"};
    QTest::newRow("none marked: every entry") << three << QStringList{"500", "700", "900"};
    QTest::newRow("first and last marked") << three + QStringList{"mark:0,2"} << QStringList{"500", "900"};
    QTest::newRow("one marked") << three + QStringList{"mark:1"} << QStringList{"700"};
    QTest::newRow("second deleted") << three + QStringList{"mark:1", "del", "unmark"} << QStringList{"500", "900"};
    QTest::newRow("oldest deleted") << three + QStringList{"unmark", "del"} << QStringList{"700", "900"};
    QTest::newRow("cleared, then one more") << three + QStringList{"clear", "1100"} << QStringList{"1100"};
}

void TestReport::entries_of_the_report()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, flows);

    ReportWindow s;
    QVERIFY(s.ok);
    QStringList made;
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("mark:"))) {
            s.list()->clearSelection();
            for (const QString& i : step.mid(5).split(QLatin1Char(',')))
                s.list()->item(i.toInt())->setSelected(true);
        } else if (step == QLatin1String("unmark")) {
            s.list()->clearSelection();
        } else if (step == QLatin1String("del") || step == QLatin1String("clear")) {
            s.control<QPushButton>(step == QLatin1String("del") ? "Cmd_DelStr" : "Cmd_Clear")->click();
        } else {
            Calculation c = kListed;
            c.L = step;
            s.calculate(c);
            made << step;
        }
    }
    const QByteArray logBefore = s.folder.read(QStringLiteral("Nimbo.csv"));
    const QString text = PdfPages(SaveReport(s)).join(QLatin1Char('\n'));
    QStringList wanted{QStringLiteral("Расчетов: %1").arg(flows.size())};
    for (int i = 0; i < flows.size(); ++i)
        wanted << QStringLiteral("%1. ПДК").arg(i + 1) << QStringLiteral("L0 = %1 м3/ч").arg(flows[i]);
    const QString missing = MissingInOrder(text, wanted);
    QVERIFY2(missing.isEmpty(), qPrintable(missing + QStringLiteral("\n") + text));
    const QString solid = Solid(text);
    for (const QString& flow : made)
        QCOMPARE(solid.contains(QStringLiteral("L0=%1м3/ч").arg(flow)), flows.contains(flow));
    // The log file keeps every line, whatever the list and the report hold.
    QCOMPARE(s.folder.read(QStringLiteral("Nimbo.csv")), logBefore);
    QCOMPARE(logBefore.count("\r\n"), 1 + made.size());  // the header and each line
}

// --- Failures and dialogs ------------------------------------------------------

void TestReport::unwritable_file_changes_nothing_data()
{
    QTest::addColumn<QString>("target");  // relative to the program folder
    QTest::addColumn<bool>("makeFolder");  // the target is an existing folder
    QTest::newRow("folder that does not exist") << QStringLiteral("нет такой папки/отчет.pdf") << false;
    QTest::newRow("a folder of that name") << QStringLiteral("отчет.pdf") << true;
    QTest::newRow("beneath a file") << QStringLiteral("Nimbo.csv/отчет.pdf") << false;
}

void TestReport::unwritable_file_changes_nothing()
{
    QFETCH(QString, target);
    QFETCH(bool, makeFolder);

    ReportWindow s;
    QVERIFY(s.ok);
    s.calculate(kListed);
    if (makeFolder)
        QVERIFY(QDir().mkpath(s.folder.file(target)));
    const auto files = [&s] {
        QStringList all;
        QDirIterator it(s.folder.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            all << it.next();
        all.sort();
        return all;
    };
    const QStringList before = files();
    const QByteArray log = s.folder.read(QStringLiteral("Nimbo.csv"));
    const QString pressure = s.text("TxtBx_p");

    s.platform.saveAnswer = s.folder.file(target);
    s.action("Mnu_SavePdf")->trigger();
    QCOMPARE(s.platform.messages.size(), 1);
    QCOMPARE(s.platform.messages[0].title, QStringLiteral("Отчет не сохранен"));
    QVERIFY2(s.platform.messages[0].text.contains(QDir::toNativeSeparators(s.folder.file(target))),
             qPrintable(s.platform.messages[0].text));
    QCOMPARE(s.platform.messages[0].icon, nimbo::MessageIcon::Warning);
    QCOMPARE(files(), before);
    QCOMPARE(s.folder.read(QStringLiteral("Nimbo.csv")), log);
    QCOMPARE(s.list()->count(), 1);
    QCOMPARE(s.text("TxtBx_p"), pressure);

    // The next try, to a place that can be written, succeeds.
    const QString pdf = SaveReport(s, QStringLiteral("второй.pdf"));
    QCOMPARE(s.platform.messages.size(), 1);
    QCOMPARE(PageCount(pdf), 1);
}

void TestReport::menu_of_the_log_data()
{
    // How the menu or its command is asked for: "right" a right click on
    // the first entry, "menukey" the keyboard's menu key, or a shortcut.
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("answered");  // the dialog names a file, or a printer printing to one
    QTest::addColumn<bool>("menuShown");
    QTest::addColumn<bool>("reportEnabled");  // save and print in the menu
    QTest::addColumn<int>("saveDialogs");
    QTest::addColumn<int>("printDialogs");

    QTest::newRow("right click") << 2 << "right" << false << true << true << 0 << 0;
    QTest::newRow("menu key") << 2 << "menukey" << false << true << true << 0 << 0;
    QTest::newRow("right click, empty list") << 0 << "right" << false << true << false << 0 << 0;
    QTest::newRow("Ctrl+S, file chosen") << 2 << "ctrl+s" << true << false << true << 1 << 0;
    QTest::newRow("Ctrl+S, cancelled") << 2 << "ctrl+s" << false << false << true << 1 << 0;
    QTest::newRow("Ctrl+P, printer chosen") << 2 << "ctrl+p" << true << false << true << 0 << 1;
    QTest::newRow("Ctrl+P, cancelled") << 2 << "ctrl+p" << false << false << true << 0 << 1;
    QTest::newRow("Ctrl+S, empty list") << 0 << "ctrl+s" << true << false << false << 0 << 0;
}

void TestReport::menu_of_the_log()
{
    QFETCH(int, entries);
    QFETCH(QString, how);
    QFETCH(bool, answered);
    QFETCH(bool, menuShown);
    QFETCH(bool, reportEnabled);
    QFETCH(int, saveDialogs);
    QFETCH(int, printDialogs);

    ReportWindow s;
    QVERIFY(s.ok);
    s.control<QCheckBox>("Chk_Log")->click();
    QStringList block;
    for (int i = 0; i < entries; ++i)
        block = s.calculate(kFree);
    const QString pdf = s.folder.file(QStringLiteral("ответ.pdf"));
    if (answered)
        s.platform.saveAnswer = s.platform.printTo = pdf;
    QListWidget* list = s.list();
    QApplication::setActiveWindow(s.window.get());
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    list->setFocus();
    auto* menu = s.control<QMenu>("Mnu_Log");
    const QPoint first = list->visualItemRect(list->item(0)).center();
    if (how == QLatin1String("right")) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, first, list->viewport()->mapToGlobal(first));
        QApplication::sendEvent(list->viewport(), &click);
    } else if (how == QLatin1String("menukey")) {
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(4, 4), list->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(list, &key);
    } else {
        QTest::keyClick(list, how == QLatin1String("ctrl+s") ? Qt::Key_S : Qt::Key_P, Qt::ControlModifier);
    }
    QCOMPARE(menu->isVisible(), menuShown);
    QStringList captions, keys;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            captions << a->text(), keys << a->shortcut().toString(QKeySequence::PortableText);
    QCOMPARE(captions, QStringList({"Копировать", "Сохранить отчет в PDF…", "Печать…"}));
    QCOMPARE(keys, QStringList({"Ctrl+C", "Ctrl+S", "Ctrl+P"}));
    if (menuShown) {
        QCOMPARE(s.action("Mnu_SavePdf")->isEnabled(), reportEnabled);
        QCOMPARE(s.action("Mnu_Print")->isEnabled(), reportEnabled);
        menu->close();
    }
    QCOMPARE(s.platform.saveSuggestions.size(), saveDialogs);
    QCOMPARE(s.platform.printDialogs, printDialogs);
    if (saveDialogs > 0)
        QVERIFY2(s.platform.saveSuggestions[0].endsWith(QLatin1String(".pdf")), qPrintable(s.platform.saveSuggestions[0]));
    QVERIFY(s.platform.messages.isEmpty());
    // A file, saved or printed, only when a dialog was asked and answered.
    QCOMPARE(QFileInfo::exists(pdf), answered && saveDialogs + printDialogs > 0);
    if (QFileInfo::exists(pdf)) {
        const QString missing = MissingInOrder(PdfPages(pdf).join(QLatin1Char('\n')), block + block);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }
    // Whatever the menu offered, the shortcut works once there is an entry.
    s.calculate(kFree);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.platform.saveSuggestions.size(), saveDialogs + 1);
}

void TestReport::room_row_carries_the_room()
{
    // State: the finder working for an office, its first row chosen.
    ReportWindow s;
    QVERIFY(s.ok);
    QTest::mouseClick(s.control<QPushButton>("Cmd_Podbor"), Qt::LeftButton);
    auto* finder = s.window->findChild<QWidget*>(QStringLiteral("Form_Podbor"));
    for (const auto& [box, text] : {std::pair{"TxtBx_L", "400"}, {"Room_A", "6"}, {"Room_B", "6"}, {"Room_H", "3"},
                                    {"Room_N", "4"}, {"Room_Ear", "1.2"}, {"Room_Alpha", "0.2"}})
        finder->findChild<QLineEdit*>(QLatin1String(box))->setText(QString::fromLatin1(text));
    finder->findChild<QCheckBox*>(QStringLiteral("Chk_Room"))->setChecked(true);
    finder->findChild<QTableView*>(QStringLiteral("Table"))->selectRow(0);
    finder->findChild<QPushButton*>(QStringLiteral("Cmd_Choose"))->click();
    // Action: a plain calculation after it, then the report of both.
    s.control<QPushButton>("Cmd_Start")->click();
    QCOMPARE(s.list()->count(), 2);
    const QStringList pages = PdfPages(SaveReport(s));
    const QString text = pages.join(QLatin1Char('\n'));
    // Expected: the room's block, with L1 = 400/4 as its flow, the room and its
    // bands; the block of the calculation typed by hand has no room.
    const qsizetype second = text.indexOf(QRegularExpression(QStringLiteral("(^|\\n)\\s*2\\. ")));
    QVERIFY(second > 0);
    const QString first = text.left(second), other = text.mid(second);
    for (const QString& word : {QStringLiteral("Помещение"), QStringLiteral("Lp, дБ"), QStringLiteral("Lw, дБ"),
                                QStringLiteral("LpA ="), QStringLiteral("NR ="), QStringLiteral("NC ="),
                                QStringLiteral("2 × 2")})
        QVERIFY2(first.contains(word), qPrintable(word));
    QVERIFY(first.contains(QRegularExpression(QStringLiteral("L0 =\\s+100 м3/ч"))));
    QVERIFY(first.contains(QRegularExpression(QStringLiteral("L1 =\\s+100 м³/ч"))));
    QVERIFY(!other.contains(QStringLiteral("Помещение")));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
