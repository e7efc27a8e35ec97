#include "window/podbor_placement.h"

#include <algorithm>
#include <limits>

QRect KeptOnScreen(const QRect& frame, const QRect& available)
{
    QRect kept(frame.topLeft(), frame.size().boundedTo(available.size()));
    kept.moveLeft(std::clamp(kept.left(), available.left(), available.right() + 1 - kept.width()));
    kept.moveTop(std::clamp(kept.top(), available.top(), available.bottom() + 1 - kept.height()));
    return kept;
}

QRect PlaceBeside(const QRect& mainFrame, QSize frame, const QRect& available)
{
    const QSize size = frame.boundedTo(available.size());
    const QRect sides[] = {
        QRect(QPoint(mainFrame.right() + 1, mainFrame.top()), size),
        QRect(QPoint(mainFrame.left() - size.width(), mainFrame.top()), size),
        QRect(QPoint(mainFrame.left(), mainFrame.bottom() + 1), size),
        QRect(QPoint(mainFrame.left(), mainFrame.top() - size.height()), size),
    };
    // A side without room is pushed into the area, over the main window.
    QRect best;
    qint64 least = std::numeric_limits<qint64>::max();
    for (const QRect& side : sides) {
        const QRect placed = KeptOnScreen(side, available);
        const QRect covered = placed.intersected(mainFrame);
        const qint64 area = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
        if (area < least) {
            least = area;
            best = placed;
        }
    }
    return best;
}
