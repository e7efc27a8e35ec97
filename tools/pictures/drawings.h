#pragma once
// Schematic pictures of the range: the face of the outlet on the left, its
// jets in a side view on the right, sized for the picture box of the window.
#include <QImage>
#include <QString>

#include "range.h"

namespace nimbo::pictures {

inline constexpr int kWidth = 200;
inline constexpr int kHeight = 94;

// Draws the picture the range describes. An unknown kind or parameter gives
// a null image and says why in error.
QImage Draw(const range::Drawing& drawing, QString& error);

}  // namespace nimbo::pictures
