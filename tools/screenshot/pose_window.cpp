// Puts the real window into the state the README shows — a model chosen and
// calculated — and keeps it on screen for a while, so that a screenshot of
// the display can be taken (scripts/screenshot.sh). Picks are made the way a
// person makes them: an entry chosen from each list, then "Считай!".
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "platform/platform.h"
#include "window/form_main.h"
#include "window/podbor_model.h"

namespace {

bool Pick(QWidget& window, const char* comboName, const QString& text)
{
    auto* box = window.findChild<QComboBox*>(QString::fromLatin1(comboName));
    const int index = box ? box->findText(text) : -1;
    if (index < 0) {
        std::fprintf(stderr, "%s: no entry \"%s\"\n", comboName, qPrintable(text));
        return false;
    }
    box->setCurrentIndex(index);
    emit box->activated(index);
    return true;
}

// The greeting of the coefficient panel would stand modal over the window it
// is meant to show; here it goes to stderr instead.
class PosingPlatform : public nimbo::QtPlatform {
public:
    void showMessage(QWidget*, const QString& title, const QString& text, nimbo::MessageIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

void Click(QWidget* target)
{
    const QPointF centre = QRectF(target->rect()).center();
    const QPointF global = target->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

QWidget* OpenFinder(QWidget& window, const QString& flow)
{
    window.findChild<QPushButton*>(QStringLiteral("Cmd_Podbor"))->click();
    auto* finder = window.findChild<QWidget*>(QStringLiteral("Form_Podbor"));
    finder->findChild<QLineEdit*>(QStringLiteral("TxtBx_L"))->setText(flow);
    finder->findChild<QLineEdit*>(QStringLiteral("TxtBx_MaxLwA"))->setText(QStringLiteral("35"));
    return finder;
}

// The finder working for an office of 6 × 6 × 3 m at NR 35 with the throw
// within Lc, its «Шум» tab in front.
void PoseRoom(QWidget& finder)
{
    for (const auto& [box, text] : {std::pair{"Room_A", "6"}, {"Room_B", "6"}, {"Room_H", "3"}, {"Room_N", ""},
                                    {"Room_Ear", "1.2"}, {"Room_Alpha", "0.2"}, {"Limit_NR", "35"},
                                    {"TxtBx_MaxLwA", ""}, {"TxtBx_V", "0.25"}})
        finder.findChild<QLineEdit*>(QLatin1String(box))->setText(QString::fromLatin1(text));
    finder.findChild<QCheckBox*>(QStringLiteral("Chk_Lc"))->setChecked(true);
    finder.findChild<QCheckBox*>(QStringLiteral("Chk_Room"))->setChecked(true);
    finder.findChild<QTabWidget*>(QStringLiteral("Tab_Charts"))->setCurrentIndex(1);
    finder.findChild<QTableView*>(QStringLiteral("Table"))->selectRow(0);
}

// The finder's chart of the row for this model and size (any size of a model
// that takes a typed one), as a picture.
bool SaveChart(QWidget& finder, const QString& model, const QString& size, const QString& path)
{
    auto* table = finder.findChild<QTableView*>(QStringLiteral("Table"));
    for (int r = 0; r < table->model()->rowCount(); ++r) {
        if (table->model()->index(r, PodborModel::Model).data().toString() != model ||
            (!size.isEmpty() && table->model()->index(r, PodborModel::Size).data().toString() != size))
            continue;
        table->selectRow(r);
        auto* chart = finder.findChild<QWidget*>(QStringLiteral("JetChart"));
        chart->resize(560, 360);
        return chart->grab().save(path);
    }
    std::fprintf(stderr, "no row %s %s in the finder\n", qPrintable(model), qPrintable(size));
    return false;
}

}  // namespace

// Arguments: program folder, type, model, size, air flow, seconds to stay,
// then "log" to open the log strip, "panel" to open the coefficient panel
// with five clicks on the picture, "beside" to open the size finder with the
// same flow and LwA at most 35 dB(A) where the program puts it, beside the
// main window, "room" to open it for an office with that flow instead, and "chart=FILE" to save the finder's chart of the model and
// size as a picture and end.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Where this machine's user left the finder, and the limits they keep,
    // would change the picture.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    const QStringList args = app.arguments();
    if (args.size() < 7) {
        std::fprintf(stderr, "usage: pose_window FOLDER TYPE MODEL SIZE FLOW SECONDS [log] [panel] [beside] [room] [chart=FILE]\n");
        return 2;
    }
    PosingPlatform platform;
    Form_Main window(args[1], platform);
    if (!window.startUp())
        return 1;
    window.show();
    if (!Pick(window, "Cmb_TipVR", args[2]) || !Pick(window, "Cmb_VidVR", args[3]) ||
        (!args[4].isEmpty() && !Pick(window, "Cmb_Tprzmr", args[4])))
        return 1;
    window.findChild<QLineEdit*>(QStringLiteral("TxtBx_L"))->setText(args[5]);
    window.findChild<QPushButton*>(QStringLiteral("Cmd_Start"))->click();
    const QStringList extras = args.mid(7);
    if (extras.contains(QLatin1String("log")))
        window.findChild<QCheckBox*>(QStringLiteral("Chk_Log"))->click();
    if (extras.contains(QLatin1String("panel")))
        for (int i = 0; i < 5; ++i)
            Click(window.findChild<QLabel*>(QStringLiteral("Img_VR")));
    // The main window moved to the left edge once the window manager has
    // placed it, as a user makes room, and the finder opened after that.
    if (extras.contains(QLatin1String("beside")) || extras.contains(QLatin1String("room"))) {
        QTimer::singleShot(1000, &window, [&window] { window.move(0, 0); });
        QTimer::singleShot(2000, &window, [&window, flow = args[5], room = extras.contains(QLatin1String("room"))] {
            QWidget* finder = OpenFinder(window, flow);
            if (room)
                PoseRoom(*finder);
        });
    }
    const QStringList chart = extras.filter(QStringLiteral("chart="));
    if (!chart.isEmpty())
        return SaveChart(*OpenFinder(window, args[5]), args[3], args[4], chart[0].mid(6)) ? 0 : 1;
    QTimer::singleShot(args[6].toInt() * 1000, &app, &QApplication::quit);
    return app.exec();
}
