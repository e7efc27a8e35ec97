// The yardstick for start-up: the least a Qt Widgets program does to show a
// window of the calculator's size, measured the same way.
#include <QApplication>
#include <QWidget>

#include "startup_probe.h"

int main(int argc, char* argv[])
{
    bench::Mark("main");
    QApplication app(argc, argv);
    bench::Mark("QApplication");
    bench::FirstFrameProbe probe;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Нимбо"));
    window.resize(533, 460);  // 8000 × 6900 twips, the calculator's start-up size
    window.show();
    bench::Mark("show");
    return app.exec();
}
