// The program's own start-up, measured: main.cpp line for line, plus the
// probe that reports when the window's first frame is painted.
#include <QApplication>

#include "platform/platform.h"
#include "startup_probe.h"
#include "window/form_main.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    bench::FirstFrameProbe probe;
    nimbo::QtPlatform platform;
    Form_Main window(QCoreApplication::applicationDirPath(), platform);
    if (!window.startUp())
        return 1;
    window.show();
    return app.exec();
}
