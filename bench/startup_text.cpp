// A second yardstick: the bare window with one line of text in it. The
// first text a Qt program lays out starts the font system (fontconfig, the
// font files, the shaper), a cost every window with a caption pays and the
// bare window does not.
#include <QApplication>
#include <QLabel>

#include "startup_probe.h"

int main(int argc, char* argv[])
{
    bench::Mark("main");
    QApplication app(argc, argv);
    bench::Mark("QApplication");
    bench::FirstFrameProbe probe;
    QLabel window(QStringLiteral("Нимбо. Калькулятор Воздухораспределителей Тимбра."));
    window.setWindowTitle(QStringLiteral("Нимбо"));
    window.resize(533, 460);
    window.show();
    bench::Mark("show");
    return app.exec();
}
