#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QWidget>

#include <algorithm>

namespace nimbo {

std::filesystem::path FileSystemPath(const QString& folder)
{
#ifdef _WIN32
    // Native separators, so that a message names the file as Explorer shows it.
    return std::filesystem::path(QDir::toNativeSeparators(folder).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
#endif
}

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
// sizes the client area holds exactly what it should: at 8000 x 6900 twips
// (533 x 460 px) it is 525 x 428 px, so the section frame (down to 425 px)
// is inside and the log list (from 432 px) and the coefficient panel (from
// 528 px) outside; at the log height of 9630 twips (642 px) it is 610 px high,
// enough for the log buttons (down to 609 px); at the panel width of 9800
// twips (653 px) it is 645 px wide, enough for the panel (to 641 px).
constexpr int kAssumedBorder = 4;
constexpr int kAssumedTitleBar = 28;

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
    const int horizontal = std::max(m.left() + m.right(), 2 * kAssumedBorder);
    const int vertical = std::max(m.top() + m.bottom(), kAssumedTitleBar + kAssumedBorder);
    const QSize client(outerPixels.width() - horizontal, outerPixels.height() - vertical);
    window.resize(client.expandedTo(QSize(1, 1)));
}

QSize OuterSize(const QWidget& window)
{
    const QMargins m = FrameMargins(window);
    const QSize client = window.size();
    return {client.width() + m.left() + m.right(), client.height() + m.top() + m.bottom()};
}

}  // namespace nimbo
