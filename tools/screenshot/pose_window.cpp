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
#include <QTimer>

#include <cstdio>

#include "platform/platform.h"
#include "window/form_main.h"

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

void PoseFinder(QWidget& window, const QString& flow)
{
    window.findChild<QPushButton*>(QStringLiteral("Cmd_Podbor"))->click();
    auto* finder = window.findChild<QWidget*>(QStringLiteral("Form_Podbor"));
    // The limits this machine remembers would change the picture.
    for (QLineEdit* box : finder->findChildren<QLineEdit*>())
        if (box->objectName().startsWith(QLatin1String("TxtBx_M")))
            box->clear();
    finder->findChild<QLineEdit*>(QStringLiteral("TxtBx_L"))->setText(flow);
    finder->findChild<QLineEdit*>(QStringLiteral("TxtBx_MaxLwA"))->setText(QStringLiteral("35"));
    window.hide();
    finder->move(0, 0);
}

}  // namespace

// Arguments: program folder, type, model, size, air flow, seconds to stay,
// then "log" to open the log strip, "panel" to open the coefficient panel
// with five clicks on the picture, and "podbor" to open the size finder with
// the same flow and LwA at most 35 dB(A), alone on the screen.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 7) {
        std::fprintf(stderr, "usage: pose_window FOLDER TYPE MODEL SIZE FLOW SECONDS [log] [panel]\n");
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
    if (extras.contains(QLatin1String("podbor")))
        PoseFinder(window, args[5]);
    QTimer::singleShot(args[6].toInt() * 1000, &app, &QApplication::quit);
    return app.exec();
}
