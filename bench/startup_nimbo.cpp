// The program's own start-up, measured: main.cpp line for line, with a mark
// after each step and the probe that reports the first painted frame.
#include <QApplication>

#include "platform/platform.h"
#include "startup_probe.h"
#include "window/form_main.h"

int main(int argc, char* argv[])
{
    bench::Mark("main");
    QApplication app(argc, argv);
    bench::Mark("QApplication");
    nimbo::InstallQtTranslation(app, nimbo::QtTranslationFolders());
    bench::FirstFrameProbe probe;
    nimbo::QtPlatform platform;
    Form_Main window(QCoreApplication::applicationDirPath(), platform);
    bench::Mark("Form_Main");
    if (!window.startUp())
        return 1;
    bench::Mark("startUp");
    window.show();
    bench::Mark("show");
    return app.exec();
}
