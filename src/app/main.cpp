#include <QApplication>

#include "app/batch.h"
#include "platform/platform.h"
#include "window/form_main.h"

int main(int argc, char* argv[])
{
    if (nimbo::IsBatch(argc, argv))
        return nimbo::RunBatch(argc, argv);
    QApplication app(argc, argv);
    nimbo::InstallQtTranslation(app, nimbo::QtTranslationFolders());
    nimbo::QtPlatform platform;
    Form_Main window(QCoreApplication::applicationDirPath(), platform);
    if (!window.startUp())
        return 1;  // startUp() has reported the failure
    window.show();
    return app.exec();
}
