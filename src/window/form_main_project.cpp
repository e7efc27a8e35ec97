// The project window as the main window sees it: the button that opens it,
// Ctrl+Shift+P, the one window made on first use, and the question about
// its unsaved changes before the program ends.
#include <QCloseEvent>
#include <QPushButton>
#include <QShortcut>

#include "platform/platform.h"
#include "window/form_main.h"
#include "window/form_project.h"

namespace {

// Beside «Подбор…», under the picture and above the site link: no control
// of the window lies there whatever frames show.
constexpr int kLeft = 5040, kTop = 1980, kWidth = 1335, kHeight = 375;

}  // namespace

void Form_Main::buildProjectButton()
{
    Cmd_Project = new QPushButton(QStringLiteral("Проект…"), this);
    Cmd_Project->setObjectName(QStringLiteral("Cmd_Project"));
    Cmd_Project->setGeometry(nimbo::Twips(kLeft), nimbo::Twips(kTop), nimbo::Twips(kWidth), nimbo::Twips(kHeight));
    Cmd_Project->setToolTip(QStringLiteral("Помещения объекта с выбранными воздухораспределителями: "
                                           "файл проекта, ведомость и отчет"));
    // Outside the Tab chain, as «Подбор…»; from the keyboard Ctrl+Shift+P.
    Cmd_Project->setFocusPolicy(Qt::NoFocus);
    connect(Cmd_Project, &QPushButton::clicked, this, &Form_Main::openProject);
    auto* keys = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this);
    keys->setObjectName(QStringLiteral("Shortcut_Project"));
    connect(keys, &QShortcut::activated, this, &Form_Main::openProject);
}

Form_Project* Form_Main::projectWindow()
{
    if (!project_) {
        project_ = new Form_Project(catalogue_, platform_, catalogueFile(), this);
        connect(project_, &Form_Project::editRoomRequested, this, &Form_Main::chooseRoomAgain);
    }
    return project_;
}

void Form_Main::openProject()
{
    Form_Project* window = projectWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

void Form_Main::closeEvent(QCloseEvent* event)
{
    // The program ends with this window: a project not saved is asked about
    // first, and «Отмена» keeps both open.
    if (project_ && !project_->maybeSave()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

QString Form_Main::catalogueFile() const
{
    return QString::fromStdU16String(nimbo::CatalogueFile(nimbo::FileSystemPath(folder_)).u16string());
}
