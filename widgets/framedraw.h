#pragma once
// Flat and 3-D frames for the framed combo boxes: sides of a rectangle in
// two colours, nested rings, the ten frame styles, and the item height of a
// font.
//
// Rectangles follow the system's convention: a QRect stands for the pixels
// from (left, top) up to but not including (left + width, top + height).
// Colours are stored colours (colors.h); system colours are taken from the
// palette passed in (the application's palette by default). Every line is
// drawn as exact 1-pixel fills, so the result does not depend on the
// painter's pen or antialiasing.

#include "colors.h"

#include <QFlags>
#include <QPalette>
#include <QRect>

class QFont;
class QPainter;

namespace wharf {

enum class TFrameStyle {
    fsNone,
    fsFlat,
    fsGroove,
    fsBump,
    fsLowered,
    fsButtonDown,
    fsRaised,
    fsButtonUp,
    fsStatus,
    fsPopup,
};

enum class TSide : unsigned { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
Q_DECLARE_FLAGS(TSides, TSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSides)

constexpr TSides kAllSides = TSides(TSide::sdLeft) | TSide::sdTop | TSide::sdRight | TSide::sdBottom;

// Draws the chosen sides of rect: left (left, top..bottom-1) and top
// (left..right-1, top) in upperLeft, then right (right-1, top..bottom-1) and
// bottom (left..right-1, bottom-1) in lowerRight, so the lower-right colour
// takes the top-right and bottom-left corners. Returns rect shrunk by one
// pixel on each chosen side.
QRect PaintFrameSides(QPainter &canvas, const QRect &rect, TColor upperLeft, TColor lowerRight, TSides sides,
                      const QPalette &palette = QPalette());

// count nested rings of PaintFrameSides, each inside the previous one;
// returns the innermost rectangle (rect itself for a count of 0 or less).
QRect DrawFrameRings(QPainter &canvas, const QRect &rect, TColor upperLeft, TColor lowerRight, TSides sides,
                     int count, const QPalette &palette = QPalette());

// Draws the frame of style on the chosen sides of rect and returns what lies
// inside it: unchanged for fsNone, one pixel in for fsFlat, fsStatus and
// fsPopup, two pixels in for the others.
QRect PaintComboFrame(QPainter &canvas, const QRect &rect, TFrameStyle style, TSides sides,
                      const QPalette &palette = QPalette());

// The height of the font's text (ascent plus descent) plus 2: the height of
// one item of a framed combo box.
int FontItemHeight(const QFont &font);

} // namespace wharf
