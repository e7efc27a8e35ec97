#include "window/form_main.h"

#include <QEvent>
#include <QLockFile>
#include <QShowEvent>

#include "platform/platform.h"
#include "window/form_podbor.h"
#include "window/form_project.h"

Form_Main::Form_Main(const QString& programFolder, nimbo::Platform& platform, QWidget* parent)
    : QWidget(parent),
      folder_(programFolder),
      platform_(platform),
      logFile_(nimbo::FileSystemPath(programFolder) / "Nimbo.csv")
{
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QStringLiteral("Нимбо. Калькулятор Воздухораспределителей Тимбра.     Версия 2019.03"));
    buildControls();
    // Only now: the design-time texts and selections above must not run
    // handlers.
    connectHandlers();
    applyDesktopConventions();
    setUpReport();
    guardTypedTexts();
    buildPodborButton();
    buildProjectButton();
}

// The finder reads the catalogue, even from a search still running, and the
// project window recalculates from it: they go first, before the members
// they read.
Form_Main::~Form_Main()
{
    delete podbor_;
    delete project_;
}

void Form_Main::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The outer size was set before the window had a frame; now the window
    // system may report the real one.
    if (!event->spontaneous()) {
        appliedFrame_ = nimbo::FrameMargins(*this);
        applyOuterSize();
    }
}

bool Form_Main::event(QEvent* event)
{
    // A window manager adds its frame some time after the window is shown,
    // and the window moves when it does. The outer size is kept, so the
    // client area shrinks by the real frame rather than the assumed one.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible() &&
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        const bool handled = QWidget::event(event);
        const QMargins frame = nimbo::FrameMargins(*this);
        if (frame != appliedFrame_) {
            appliedFrame_ = frame;
            applyOuterSize();
        }
        return handled;
    }
    return QWidget::event(event);
}

bool Form_Main::eventFilter(QObject* watched, QEvent* event)
{
    // Only the choice lists and their text lines are watched.
    restoreOnFocusOut(watched, event);
    return QWidget::eventFilter(watched, event);
}
