// The log strip and its list commands, the site link, the coefficient panel,
// and the keyboard and screen-reader conventions of the window.
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "support/window_fixture.h"

using nimbo::OuterSize;
using nimbo::Twips;
using namespace nimbo::test;

namespace {

const QString kGreetingTitle = QStringLiteral("Секретный уровень");
const QString kGreetingText = QStringLiteral("Поздравляю! Вы открыли секретный уровень Нимбо!");

QString Page(const char* model) { return QStringLiteral("https://www.timbra.example/") + QString::fromUtf8(model); }

// Two types of free-size outlets. The catalogue's zeros give a working
// calculation: no deduction from A × B, and m = 0 unless a test sets it.
std::vector<Line> Catalogue(const std::string& m = "0")
{
    return {
        Record("ПДВ-1", "Диффузоры", "n").set(9, m),
        Record("РВН-2", "Решетки", "n").set(9, m).set(8, "Веер").set(68, "Компакт"),
    };
}

QSize OuterTwips(int width, int height) { return {Twips(width), Twips(height)}; }

QString AccessibleName(QWidget* widget)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

}  // namespace

class TestExtras : public QObject {
    Q_OBJECT
private slots:
    void log_strip_opens_and_closes();
    void list_commands_data();
    void list_commands();
    void list_commands_leave_the_file_alone();
    void copy_entries_data();
    void copy_entries();

    void link_follows_the_selection_data();
    void link_follows_the_selection();
    void link_hands_on_web_addresses_only_data();
    void link_hands_on_web_addresses_only();
    void link_by_keyboard();

    void panel_data();
    void panel();
    void panel_shows_the_last_coefficient_data();
    void panel_shows_the_last_coefficient();
    void click_counter_stops_at_32767();
    void size_while_maximised_or_minimised_data();
    void size_while_maximised_or_minimised();

    void enter_runs_the_calculation_data();
    void enter_runs_the_calculation();
    void tab_follows_the_rows_data();
    void tab_follows_the_rows();
    void focus_leaves_the_closed_panel();
    void accessible_names_data();
    void accessible_names();
    void every_input_and_option_is_named();
};

// --- Log strip and list ------------------------------------------------------

void TestExtras::log_strip_opens_and_closes()
{
    Started s(Catalogue());
    QVERIFY(s.ok);
    auto* log = s.control<QCheckBox>("Chk_Log");
    auto* list = s.control<QListWidget>("LstBx_Log");
    list->addItems({QStringLiteral("первая"), QStringLiteral("вторая")});
    QVERIFY(!log->isChecked());
    QCOMPARE(OuterSize(*s.window), OuterTwips(8000, 6900));

    QTest::mouseClick(log, Qt::LeftButton);
    QVERIFY(log->isChecked());
    QCOMPARE(OuterSize(*s.window), OuterTwips(8000, 9630));
    // The strip is really in the client area now, and was not before.
    QVERIFY(list->geometry().bottom() < s.window->height());

    QTest::mouseClick(log, Qt::LeftButton);
    QVERIFY(!log->isChecked());
    QCOMPARE(OuterSize(*s.window), OuterTwips(8000, 6900));
    QVERIFY(list->geometry().top() >= s.window->height());
    QCOMPARE(s.listEntries(), QStringList({QStringLiteral("первая"), QStringLiteral("вторая")}));
}

void TestExtras::list_commands_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");  // -1: none
    QTest::addColumn<int>("current");   // the row with the focus frame, -1: none
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("left");

    const QStringList three{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    const QString del = QStringLiteral("Cmd_DelStr"), clear = QStringLiteral("Cmd_Clear");
    QTest::newRow("empty list, delete") << QStringList() << -1 << -1 << del << QStringList();
    QTest::newRow("empty list, clear") << QStringList() << -1 << -1 << clear << QStringList();
    QTest::newRow("second of three selected") << three << 1 << 1 << del << QStringList({"a", "c"});
    QTest::newRow("last of three selected") << three << 2 << 2 << del << QStringList({"a", "b"});
    QTest::newRow("none selected removes the first") << three << -1 << -1 << del << QStringList({"b", "c"});
    // The focus frame on an entry that is not marked is no selection.
    QTest::newRow("focus without selection removes the first") << three << -1 << 2 << del
                                                               << QStringList({"b", "c"});
    QTest::newRow("one entry") << QStringList({"a"}) << -1 << -1 << del << QStringList();
    QTest::newRow("clear three") << three << 1 << 1 << clear << QStringList();
}

void TestExtras::list_commands()
{
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(int, current);
    QFETCH(QString, command);
    QFETCH(QStringList, left);

    Started s(Catalogue());
    QVERIFY(s.ok);
    auto* list = s.control<QListWidget>("LstBx_Log");
    list->addItems(entries);
    if (current >= 0)
        list->setCurrentRow(current, QItemSelectionModel::NoUpdate);
    list->clearSelection();
    if (selected >= 0)
        list->item(selected)->setSelected(true);

    QTest::mouseClick(s.control<QPushButton>(command.toLatin1().constData()), Qt::LeftButton);
    QCOMPARE(s.listEntries(), left);
    QVERIFY(s.platform.messages.isEmpty());
}

void TestExtras::list_commands_leave_the_file_alone()
{
    Started s(Catalogue());
    QVERIFY(s.ok);
    auto* start = s.control<QPushButton>("Cmd_Start");
    auto* list = s.control<QListWidget>("LstBx_Log");
    QVERIFY(s.chooseModel(QStringLiteral("Диффузоры"), QStringLiteral("ПДВ-1")));
    QTest::mouseClick(start, Qt::LeftButton);
    QTest::mouseClick(start, Qt::LeftButton);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(list->count(), 3);
    const QByteArray before = s.logFile();
    QCOMPARE(before.count("\r\n"), 4);  // the header and three data lines

    list->setCurrentRow(1);
    QTest::mouseClick(s.control<QPushButton>("Cmd_DelStr"), Qt::LeftButton);
    QCOMPARE(list->count(), 2);
    QCOMPARE(s.logFile(), before);
    QTest::mouseClick(s.control<QPushButton>("Cmd_Clear"), Qt::LeftButton);
    QCOMPARE(list->count(), 0);
    QCOMPARE(s.logFile(), before);
    QTest::mouseClick(s.control<QCheckBox>("Chk_Log"), Qt::LeftButton);
    QTest::mouseClick(s.control<QCheckBox>("Chk_Log"), Qt::LeftButton);
    QCOMPARE(s.logFile(), before);
}

void TestExtras::copy_entries_data()
{
    QTest::addColumn<bool>("extended");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<bool>("viaMenu");  // «Копировать» in the list's menu rather than Ctrl+C
    QTest::addColumn<QString>("clipboard");

    const QString untouched = QStringLiteral("прежнее содержимое");
    QTest::newRow("one selected") << false << QList<int>{1} << false << QStringLiteral("вторая строка");
    QTest::newRow("none selected leaves the clipboard") << false << QList<int>{} << false << untouched;
    QTest::newRow("several, in list order") << true << QList<int>{2, 0} << false
                                            << QStringLiteral("первая строка\nтретья строка");
    QTest::newRow("several, from the menu") << true << QList<int>{2, 0} << true
                                            << QStringLiteral("первая строка\nтретья строка");
    QTest::newRow("none selected, from the menu") << false << QList<int>{} << true << untouched;
}

void TestExtras::copy_entries()
{
    QFETCH(bool, extended);
    QFETCH(QList<int>, selected);
    QFETCH(bool, viaMenu);
    QFETCH(QString, clipboard);

    Started s(Catalogue());
    QVERIFY(s.ok);
    auto* list = s.control<QListWidget>("LstBx_Log");
    list->addItems({QStringLiteral("первая строка"), QStringLiteral("вторая строка"),
                    QStringLiteral("третья строка")});
    if (extended)
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->clearSelection();
    for (int row : selected)
        list->item(row)->setSelected(true);
    QGuiApplication::clipboard()->setText(QStringLiteral("прежнее содержимое"));

    if (viaMenu)
        s.control<QMenu>("Mnu_Log")->findChild<QAction*>(QStringLiteral("Mnu_Copy"))->trigger();
    else
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QCOMPARE(list->count(), 3);
}

// --- Site link ---------------------------------------------------------------

void TestExtras::link_follows_the_selection_data()
{
    QTest::addColumn<QStringList>("choices");  // type, model, type, ...
    QTest::addColumn<QString>("opened");

    const QString maker = QString::fromLatin1(nimbo::site::kAddress);
    QTest::newRow("right after start") << QStringList() << maker;
    QTest::newRow("after a model choice") << QStringList({"Решетки", "РВН-2"}) << Page("РВН-2");
    QTest::newRow("after another type choice") << QStringList({"Решетки", "РВН-2", "Диффузоры"}) << maker;
    QTest::newRow("after a second model") << QStringList({"Решетки", "РВН-2", "Диффузоры", "ПДВ-1"})
                                          << Page("ПДВ-1");
}

void TestExtras::link_follows_the_selection()
{
    QFETCH(QStringList, choices);
    QFETCH(QString, opened);

    Started s(Catalogue());
    QVERIFY(s.ok);
    for (int i = 0; i < choices.size(); ++i)
        QVERIFY(s.pick(i % 2 == 0 ? "Cmb_TipVR" : "Cmb_VidVR", choices[i]));
    QTest::mouseClick(s.control<QLabel>("Lbl_URL"), Qt::LeftButton);
    QCOMPARE(s.platform.openedUrls, QStringList({opened}));
    QVERIFY(s.platform.messages.isEmpty());
}

void TestExtras::link_hands_on_web_addresses_only_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("handedOn");  // empty: nothing
    QTest::addColumn<bool>("browserMissing");

    QTest::newRow("https") << QStringLiteral("https://www.timbra.example/ДПУ?size=1") << QStringLiteral("https://www.timbra.example/ДПУ?size=1") << false;
    QTest::newRow("http") << QStringLiteral("http://timbra.example/a") << QStringLiteral("http://timbra.example/a") << false;
    QTest::newRow("scheme in capitals") << QStringLiteral("HTTPS://WWW.TIMBRA.EXAMPLE/")
                                        << QStringLiteral("HTTPS://WWW.TIMBRA.EXAMPLE/") << false;
    QTest::newRow("blanks around") << QStringLiteral("  https://timbra.example/x ")
                                   << QStringLiteral("https://timbra.example/x") << false;
    QTest::newRow("local file") << QStringLiteral("file:///etc/passwd") << QString() << false;
    QTest::newRow("program name") << QStringLiteral("calc.exe") << QString() << false;
    QTest::newRow("script") << QStringLiteral("javascript:alert(1)") << QString() << false;
    QTest::newRow("empty") << QString() << QString() << false;
    QTest::newRow("no host") << QStringLiteral("http://") << QString() << false;
    QTest::newRow("relative with web scheme") << QStringLiteral("https:index.html") << QString() << false;
    QTest::newRow("other scheme") << QStringLiteral("ftp://timbra.example/a") << QString() << false;
    QTest::newRow("windows path") << QStringLiteral("C:\\Windows\\system32\\cmd.exe") << QString() << false;
    QTest::newRow("mail") << QStringLiteral("mailto:sales@timbra.example") << QString() << false;
    QTest::newRow("https, no browser") << QStringLiteral("https://timbra.example/x") << QStringLiteral("https://timbra.example/x")
                                       << true;
    QTest::newRow("local file, no browser") << QStringLiteral("file:///etc/passwd") << QString() << true;
}

void TestExtras::link_hands_on_web_addresses_only()
{
    QFETCH(QString, page);
    QFETCH(QString, handedOn);
    QFETCH(bool, browserMissing);

    Started s({Record("ПДВ-1", "Диффузоры", "n").set(292, page.toStdString())});
    QVERIFY(s.ok);
    s.platform.browserMissing = browserMissing;
    QVERIFY(s.chooseModel(QStringLiteral("Диффузоры"), QStringLiteral("ПДВ-1")));
    QCOMPARE(s.window->currentSiteAddress().trimmed(), page.trimmed());
    QTest::mouseClick(s.control<QLabel>("Lbl_URL"), Qt::LeftButton);
    QCOMPARE(s.platform.openedUrls, handedOn.isEmpty() ? QStringList() : QStringList({handedOn}));
    // Without a browser the user is shown the address to copy.
    const bool told = browserMissing && !handedOn.isEmpty();
    QCOMPARE(s.platform.messages.size(), told ? 1 : 0);
    if (told)
        QVERIFY(s.platform.messages.first().text.endsWith(QStringLiteral("\n") + handedOn));
    QVERIFY(s.window->isVisible());
}

void TestExtras::link_by_keyboard()
{
    Started s(Catalogue());
    QVERIFY(s.ok);
    auto* link = s.control<QLabel>("Lbl_URL");
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(link->font().underline());
    QVERIFY(link->font().bold());
    QVERIFY(link->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Space);
    QTest::keyClick(link, Qt::Key_A);
    const QString maker = QString::fromLatin1(nimbo::site::kAddress);
    QCOMPARE(s.platform.openedUrls, QStringList({maker, maker}));
}

// --- Coefficient panel -----------------------------------------------------

void TestExtras::panel_data()
{
    // Steps: "img" a picture click, "img*N" N of them, "editL" an edit of
    // TxtBx_L, "var2" the second variant, "close" the panel's button, "log"
    // a click on Chk_Log.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("greetings");
    QTest::addColumn<int>("clicks");

    QTest::newRow("four clicks, an edit, one click") << QStringList({"img*4", "editL", "img"}) << 8000 << 6900 << 0 << 1;
    QTest::newRow("four clicks, a variant switch, one click")
        << QStringList({"img*4", "var2", "img"}) << 8000 << 6900 << 0 << 1;
    QTest::newRow("four clicks") << QStringList({"img*4"}) << 8000 << 6900 << 0 << 4;
    QTest::newRow("five clicks") << QStringList({"img*5"}) << 9800 << 6900 << 1 << 5;
    QTest::newRow("a sixth click does nothing") << QStringList({"img*6"}) << 9800 << 6900 << 1 << 6;
    QTest::newRow("five, close") << QStringList({"img*5", "close"}) << 8000 << 6900 << 1 << 0;
    QTest::newRow("five, close, five") << QStringList({"img*5", "close", "img*5"}) << 9800 << 6900 << 2 << 5;
    QTest::newRow("five, edit, five") << QStringList({"img*5", "editL", "img*5"}) << 9800 << 6900 << 2 << 5;
    QTest::newRow("with the log strip open") << QStringList({"log", "img*5"}) << 9800 << 9630 << 1 << 5;
    QTest::newRow("log strip opened on the panel") << QStringList({"img*5", "log"}) << 9800 << 9630 << 1 << 5;
    QTest::newRow("both open, panel closed") << QStringList({"log", "img*5", "close"}) << 8000 << 9630 << 1 << 0;
    QTest::newRow("both open, strip closed") << QStringList({"log", "img*5", "log"}) << 9800 << 6900 << 1 << 5;
}

void TestExtras::panel()
{
    QFETCH(QStringList, steps);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, greetings);
    QFETCH(int, clicks);

    Started s(Catalogue());
    QVERIFY(s.ok);
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("img"))) {
            const int n = step.contains(QLatin1Char('*')) ? step.section(QLatin1Char('*'), 1).toInt() : 1;
            s.clickPicture(n);
        } else if (step == QLatin1String("editL")) {
            auto* l = s.control<QLineEdit>("TxtBx_L");
            l->setFocus();
            QTest::keyClick(l, Qt::Key_5);
        } else if (step == QLatin1String("var2")) {
            QTest::mouseClick(s.control<QRadioButton>("Opt_Var2"), Qt::LeftButton);
        } else if (step == QLatin1String("close")) {
            QTest::mouseClick(s.control<QPushButton>("Cmd_skrt"), Qt::LeftButton);
        } else if (step == QLatin1String("log")) {
            QTest::mouseClick(s.control<QCheckBox>("Chk_Log"), Qt::LeftButton);
        } else {
            QFAIL(qPrintable(step));
        }
    }
    QCOMPARE(OuterSize(*s.window), OuterTwips(width, height));
    QCOMPARE(s.window->skrtClicks(), clicks);
    QCOMPARE(s.platform.messages.size(), greetings);
    for (const RecordingPlatform::Message& m : s.platform.messages) {
        QCOMPARE(m.title, kGreetingTitle);
        QCOMPARE(m.text, kGreetingText);
        QCOMPARE(m.icon, nimbo::MessageIcon::None);
    }
    // The panel is in the client area exactly when the window is wide.
    const bool panelInside = s.control<QGroupBox>("Frm_skrt")->geometry().right() < s.window->width();
    QCOMPARE(panelInside, width == 9800);
}

void TestExtras::panel_shows_the_last_coefficient_data()
{
    QTest::addColumn<QString>("m");
    QTest::addColumn<QString>("shown");

    const QString sep = QLocale().decimalPoint() == QLatin1String(",") ? QStringLiteral(",") : QStringLiteral(".");
    QTest::newRow("m = 0") << QStringLiteral("0") << QStringLiteral("-");
    QTest::newRow("m = 0.5") << QStringLiteral("0.5") << QStringLiteral("0") + sep + QStringLiteral("5");
}

void TestExtras::panel_shows_the_last_coefficient()
{
    QFETCH(QString, m);
    QFETCH(QString, shown);

    Started s(Catalogue(m.toStdString()));
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel(QStringLiteral("Диффузоры"), QStringLiteral("ПДВ-1")));
    QTest::mouseClick(s.control<QPushButton>("Cmd_Start"), Qt::LeftButton);
    QCOMPARE(s.platform.messages.size(), 0);
    s.clickPicture(5);
    QCOMPARE(OuterSize(*s.window), OuterTwips(9800, 6900));
    QCOMPARE(s.control<QLabel>("Lbl_mData")->text(), shown);
    // Opening the panel computes nothing: the list holds the one calculation.
    QCOMPARE(s.control<QListWidget>("LstBx_Log")->count(), 1);
}

void TestExtras::click_counter_stops_at_32767()
{
    Started s(Catalogue());
    QVERIFY(s.ok);
    auto* picture = s.control<QLabel>("Img_VR");
    // Past the top of a 16-bit counter, where it would turn negative and,
    // after 65536 clicks, greet again.
    for (int i = 0; i < 65541; ++i)
        QTest::mouseClick(picture, Qt::LeftButton);
    QCOMPARE(s.window->skrtClicks(), 32767);
    QCOMPARE(s.platform.messages.size(), 1);
    QCOMPARE(OuterSize(*s.window), OuterTwips(9800, 6900));
    QVERIFY(s.window->isVisible());
    // The panel's button still closes it and counting starts over.
    QTest::mouseClick(s.control<QPushButton>("Cmd_skrt"), Qt::LeftButton);
    QCOMPARE(s.window->skrtClicks(), 0);
    s.clickPicture(5);
    QCOMPARE(s.platform.messages.size(), 2);
}

void TestExtras::size_while_maximised_or_minimised_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("maximised") << int(Qt::WindowMaximized);
    QTest::newRow("minimised") << int(Qt::WindowMinimized);
    QTest::newRow("full screen") << int(Qt::WindowFullScreen);
}

void TestExtras::size_while_maximised_or_minimised()
{
    QFETCH(int, state);

    Started s(Catalogue());
    QVERIFY(s.ok);
    s.window->setWindowState(Qt::WindowStates(state));
    QCoreApplication::processEvents();
    const QSize stateSize = s.window->size();

    QTest::mouseClick(s.control<QCheckBox>("Chk_Log"), Qt::LeftButton);
    s.clickPicture(5);
    QCoreApplication::processEvents();
    QVERIFY(s.window->windowState() & Qt::WindowStates(state));
    QCOMPARE(s.window->size(), stateSize);
    QCOMPARE(s.platform.messages.size(), 1);

    // Back to normal: both sizes asked for meanwhile take effect.
    s.window->setWindowState(Qt::WindowNoState);
    QTRY_COMPARE(OuterSize(*s.window), OuterTwips(9800, 9630));
    QTest::mouseClick(s.control<QPushButton>("Cmd_skrt"), Qt::LeftButton);
    QCOMPARE(OuterSize(*s.window), OuterTwips(8000, 9630));
}

// --- Keyboard and screen readers ---------------------------------------------

void TestExtras::enter_runs_the_calculation_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("chosen");  // a model is chosen first
    QTest::addColumn<int>("entries");
    QTest::addColumn<QStringList>("titles");

    const QStringList refused{QStringLiteral("Расчет невозможен")};
    QTest::newRow("Return in L") << "TxtBx_L" << int(Qt::Key_Return) << true << 1 << QStringList();
    QTest::newRow("keypad Enter in L") << "TxtBx_L" << int(Qt::Key_Enter) << true << 1 << QStringList();
    QTest::newRow("Return in V") << "TxtBx_V" << int(Qt::Key_Return) << true << 1 << QStringList();
    QTest::newRow("Return in A") << "TxtBx_A" << int(Qt::Key_Return) << true << 1 << QStringList();
    QTest::newRow("Return in B") << "TxtBx_B" << int(Qt::Key_Return) << true << 1 << QStringList();
    QTest::newRow("Return with no model says why") << "TxtBx_L" << int(Qt::Key_Return) << false << 0 << refused;
    QTest::newRow("Return in a result box") << "TxtBx_p" << int(Qt::Key_Return) << true << 0 << QStringList();
    QTest::newRow("another key in L") << "TxtBx_L" << int(Qt::Key_Tab) << true << 0 << QStringList();
}

void TestExtras::enter_runs_the_calculation()
{
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(bool, chosen);
    QFETCH(int, entries);
    QFETCH(QStringList, titles);

    Started s(Catalogue());
    QVERIFY(s.ok);
    if (chosen)
        QVERIFY(s.chooseModel(QStringLiteral("Диффузоры"), QStringLiteral("ПДВ-1")));
    // Earlier entries fill the list beyond its height; the newest comes into view.
    auto* list = s.control<QListWidget>("LstBx_Log");
    for (int i = 0; i < 30; ++i)
        list->addItem(QString::number(i));
    list->scrollToTop();
    auto* input = s.control<QLineEdit>(box.toLatin1().constData());
    QTest::keyClick(input, Qt::Key(key));
    QCOMPARE(list->count(), 30 + entries);
    if (entries > 0)
        QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(30))));
    QStringList shown;
    for (const RecordingPlatform::Message& m : s.platform.messages)
        shown << m.title;
    QCOMPARE(shown, titles);
    if (entries > 0)
        QVERIFY(!s.control<QLineEdit>("TxtBx_p")->text().isEmpty());
}

void TestExtras::tab_follows_the_rows_data()
{
    // Steps as in panel(), plus a type and a model to choose. Of a group of
    // options Tab reaches the selected one; arrows move within the group.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("order");

    const QStringList upper{"Cmb_TipVR", "Lbl_URL", "Opt_Var1"};
    const QStringList lower{"TxtBx_L", "TxtBx_V", "Cmd_Start", "Chk_Log", "TxtBx_p", "TxtBx_x", "TxtBx_LwA"};
    const QStringList strip{"LstBx_Log", "Cmd_DelStr", "Cmd_Clear"};
    QTest::newRow("after start") << QStringList() << upper + lower;
    QTest::newRow("free size chosen")
        << QStringList({"Решетки", "РВН-2"})
        << QStringList{"Cmb_TipVR", "Cmb_VidVR", "TxtBx_A", "TxtBx_B", "Opt_RegForm1", "Lbl_URL", "Opt_Var1"} +
               lower;
    QTest::newRow("log strip open") << QStringList({"log"}) << upper + lower + strip;
    QTest::newRow("panel open") << QStringList({"img*5"}) << upper + lower + QStringList{"Cmd_skrt"};
    QTest::newRow("both open") << QStringList({"img*5", "log"})
                               << upper + lower + QStringList{"Cmd_skrt"} + strip;
    QTest::newRow("panel closed again") << QStringList({"img*5", "close"}) << upper + lower;
    QTest::newRow("log strip closed again") << QStringList({"log", "log"}) << upper + lower;
}

void TestExtras::tab_follows_the_rows()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, order);

    Started s(Catalogue());
    QVERIFY(s.ok);
    QApplication::setActiveWindow(s.window.get());
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    QStringList choices;
    for (const QString& step : steps) {
        if (step == QLatin1String("img*5"))
            s.clickPicture(5);
        else if (step == QLatin1String("log"))
            s.control<QCheckBox>("Chk_Log")->click();
        else if (step == QLatin1String("close"))
            s.control<QPushButton>("Cmd_skrt")->click();
        else
            choices << step;
    }
    for (int i = 0; i < choices.size(); ++i)
        QVERIFY(s.pick(i % 2 == 0 ? "Cmb_TipVR" : "Cmb_VidVR", choices[i]));

    s.control<QComboBox>("Cmb_TipVR")->setFocus(Qt::TabFocusReason);
    QStringList walked;
    for (int i = 0; i < order.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        // An editable list box's text field stands for the box.
        if (focus->objectName().isEmpty() && focus->parentWidget())
            focus = focus->parentWidget();
        walked << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(walked, order);
    // And round again to the start.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    QCOMPARE(focus ? focus->objectName() : QString(), QStringLiteral("Cmb_TipVR"));
}

void TestExtras::focus_leaves_the_closed_panel()
{
    Started s(Catalogue());
    QVERIFY(s.ok);
    QApplication::setActiveWindow(s.window.get());
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    s.clickPicture(5);
    auto* close = s.control<QPushButton>("Cmd_skrt");
    close->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), close);

    QTest::keyClick(close, Qt::Key_Space);
    QCOMPARE(OuterSize(*s.window), OuterTwips(8000, 6900));
    // The button went beyond the edge with its panel; the focus stays where
    // the user can see it.
    QWidget* now = QApplication::focusWidget();
    QVERIFY(now);
    QVERIFY(now != close);
    const QRect place(now->mapTo(s.window.get(), QPoint(0, 0)), now->size());
    QVERIFY2(s.window->rect().contains(place), qPrintable(now->objectName()));
}

void TestExtras::accessible_names_data()
{
    QTest::addColumn<bool>("variant2");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");

    const QList<std::pair<const char*, const char*>> common{
        {"TxtBx_L", "L0, м3/ч"},   {"TxtBx_p", "ΔP, Па"},      {"TxtBx_LwA", "LwA, дБ(А)"},
        {"TxtBx_A", "A, мм"},      {"TxtBx_B", "B, мм"},       {"TxtBx_Dlina", "Длина, мм"},
        {"TxtBx_F0", "F0, м2"},    {"TxtBx_V0", "V0, м/с"},    {"TxtBx_Fv", "Fв, м2"},
        {"TxtBx_Vv", "Vв, м/с"},   {"TxtBx_Fjs", "Fжс, м2"},   {"TxtBx_Vjs", "Vжс, м/с"},
        {"Cmb_Tprzmr", "Типоразмер"}, {"Cmb_TipVR", "Тип воздухораспределителя"},
        {"Chk_Log", "Журнал"},     {"Cmd_Start", "Считай!"},
    };
    for (const auto& [control, name] : common)
        QTest::newRow(control) << false << QString::fromLatin1(control) << QString::fromUtf8(name);
    QTest::newRow("TxtBx_V, variant 1") << false << "TxtBx_V" << QStringLiteral("Vx, м/с");
    QTest::newRow("TxtBx_x, variant 1") << false << "TxtBx_x" << QStringLiteral("l, м");
    QTest::newRow("TxtBx_V, variant 2") << true << "TxtBx_V" << QStringLiteral("X, м");
    QTest::newRow("TxtBx_x, variant 2") << true << "TxtBx_x" << QStringLiteral("Vx, м/с");
    QTest::newRow("TxtBx_L, variant 2") << true << "TxtBx_L" << QStringLiteral("L0, м3/ч");
}

void TestExtras::accessible_names()
{
    QFETCH(bool, variant2);
    QFETCH(QString, control);
    QFETCH(QString, name);

    Started s(Catalogue());
    QVERIFY(s.ok);
    if (variant2) {
        QTest::mouseClick(s.control<QRadioButton>("Opt_Var2"), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    auto* widget = s.control<QWidget>(control.toLatin1().constData());
    QCOMPARE(AccessibleName(widget), name);
}

void TestExtras::every_input_and_option_is_named()
{
    Started s(Catalogue());
    QVERIFY(s.ok);
    QVERIFY(s.chooseModel(QStringLiteral("Решетки"), QStringLiteral("РВН-2")));
    // The jet-form options carry the catalogue's captions, and are named so.
    QCOMPARE(AccessibleName(s.control<QRadioButton>("Opt_RegForm1")), QStringLiteral("Веер"));
    QCOMPARE(AccessibleName(s.control<QRadioButton>("Opt_RegForm2")), QStringLiteral("Компакт"));

    int checked = 0;
    const QList<QWidget*> all = s.window->findChildren<QWidget*>();
    for (QWidget* w : all) {
        const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractButton*>(w) || qobject_cast<QListWidget*>(w);
        if (!input || w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        ++checked;
        QVERIFY2(!AccessibleName(w).isEmpty(), qPrintable(w->objectName()));
        if (auto* option = qobject_cast<QRadioButton*>(w))
            QCOMPARE(AccessibleName(option), option->text());
    }
    QVERIFY(checked >= 37);
}

QTEST_MAIN(TestExtras)
#include "tst_extras.moc"
