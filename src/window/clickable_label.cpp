#include "window/clickable_label.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace nimbo {

namespace {

bool IsPressKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
}

}  // namespace

bool ClickableLabel::event(QEvent* event)
{
    // The keys that click the label are its own, not a shortcut's.
    if (event->type() == QEvent::ShortcutOverride && IsPressKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLabel::event(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event)
{
    if (IsPressKey(*event)) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

}  // namespace nimbo
