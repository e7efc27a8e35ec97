#include "platform/platform.h"

#include <QImageReader>
#include <QWidget>
#include <QWindow>

namespace nimbo {

QPixmap Platform::loadPicture(const QString& path) const
{
    // The reader looks at the content, not the name, so a picture saved with
    // the wrong extension still shows; anything unreadable gives a null pixmap.
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return QPixmap::fromImage(image);
}

namespace {

// A plain desktop decoration at 96 dpi. Chosen so that at the design's outer
// size of 8000 x 6900 twips (533 x 460 px) the client area is 525 x 426 px:
// the lowest upper control (the section frame, down to 425 px) stays inside,
// the log list (from 432 px) and the coefficient panel (from 528 px) outside.
constexpr int kAssumedBorder = 4;
constexpr int kAssumedTitleBar = 30;

}  // namespace

QMargins FrameMargins(const QWidget& window)
{
    const QWidget& top = *window.window();
    if (top.isVisible()) {
        const QRect frame = top.frameGeometry();
        const QRect client = top.geometry();
        const QMargins real(client.left() - frame.left(), client.top() - frame.top(),
                            frame.right() - client.right(), frame.bottom() - client.bottom());
        // Only a frame with a title bar is a desktop decoration; the
        // offscreen platform reports a thin frame all round, which would put
        // the log strip inside the window.
        if (real.top() > real.bottom())
            return real;
    }
    return {kAssumedBorder, kAssumedTitleBar, kAssumedBorder, kAssumedBorder};
}

void SetOuterSize(QWidget& window, QSize outerPixels)
{
    const QMargins m = FrameMargins(window);
    const QSize client(outerPixels.width() - m.left() - m.right(),
                       outerPixels.height() - m.top() - m.bottom());
    window.resize(client.expandedTo(QSize(1, 1)));
}

QSize OuterSize(const QWidget& window)
{
    const QMargins m = FrameMargins(window);
    const QSize client = window.size();
    return {client.width() + m.left() + m.right(), client.height() + m.top() + m.bottom()};
}

}  // namespace nimbo
