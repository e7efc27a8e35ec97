#include "window/form_main.h"

#include <QEvent>
#include <QShowEvent>

#include "platform/platform.h"
#include "window/form_podbor.h"
#include "window/form_project.h"

Form_Main::Form_Main(const QString& programFolder, nimbo::Platform& platform, QWidget* parent)
    : QWidget(parent),
      folder_(programFolder),
      platform_(platform)
{
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QStringLiteral("Нимбо. Калькулятор Воздухораспределителей Тимбра.     Версия 2019.03"));
    buildControls();
    log_ = std::make_unique<LogStrip>(*this, folder_, platform_);
    log_->setChartSource([this](const std::string& name) { return chartImage(name); });
    // Only now: the design-time texts and selections above must not run
    // handlers.
    connectHandlers();
    applyDesktopConventions();
    guardTypedTexts();
    buildPodborButton();
    buildProjectButton();
}

// The finder reads the catalogue, even from a search still running, and the
// project window recalculates from it: they go first, before the members
// they read. The boxes moving the focus as they go must not be settled.
Form_Main::~Form_Main()
{
    disconnect(focusWatch_);
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
    settleOnFocusOut(watched, event);
    return QWidget::eventFilter(watched, event);
}
