#pragma once
// Where the finder opens, as plain rectangles in the window system's pixels
// (frames, title bars included), so that it can be tried on made-up screens.
#include <QRect>
#include <QSize>

// Beside the main window's frame, level with its top, wholly within the
// screen's available area: to the right where there is room, else to the
// left, below or above. Where no side has room, the place within the area
// that covers the least of the main window. A frame larger than the area is
// cut to it.
QRect PlaceBeside(const QRect& mainFrame, QSize frame, const QRect& available);

// A remembered frame moved, and cut where it is larger, into the available area.
QRect KeptOnScreen(const QRect& frame, const QRect& available);
