// Puts the project window into the state the README shows — a project of
// four rooms opened from its file, one of them marked because its saved
// results differ from what the catalogue gives now — and keeps it on screen
// for a while, so that a screenshot can be taken (scripts/screenshot.sh).
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

#include <cstdio>

#include "platform/platform.h"
#include "window/form_main.h"
#include "window/form_project.h"

namespace {

// A message box would stand modal over the window it is meant to show.
class PosingPlatform : public nimbo::QtPlatform {
public:
    void showMessage(QWidget*, const QString& title, const QString& text, nimbo::MessageIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

}  // namespace

// Arguments: program folder, project file, seconds to stay.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: pose_project FOLDER PROJECT SECONDS\n");
        return 2;
    }
    PosingPlatform platform;
    Form_Main window(args[1], platform);
    if (!window.startUp())
        return 1;
    Form_Project* project = window.projectWindow();
    if (!project->openFile(args[2]))
        return 1;
    project->resize(1480, 400);
    project->move(0, 0);
    project->show();
    project->table()->selectRow(0);
    project->table()->setFocus();
    QTimer::singleShot(args[3].toInt() * 1000, &app, &QApplication::quit);
    return app.exec();
}
