#pragma once
// Drawing primitives of the navigation bar unit: 3-D frames, one-pixel
// edges, the dotted focus rectangle, caption accelerators and the unit's
// own pictures "ARROWUP" and "ARROWDOWN". Rectangles are QRects; their right
// and bottom edges are x() + width() and y() + height() (exclusive).

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;
class QPalette;

namespace wharf::navbar {

// The rectangle with the given exclusive edges (empty when they cross).
QRect rectFromEdges(int left, int top, int right, int bottom);

// Draws width rings just inside rect, each one pixel wide: the top row and
// left column in top, the right column and bottom row in bottom (the
// top-right and bottom-left corners take bottom). rect shrinks by width on
// every side.
void Frame3D(QPainter &painter, QRect &rect, const QColor &top, const QColor &bottom, int width);

// One-pixel edges around rect: raised outer (3-D light top-left, dark
// shadow bottom-right) and sunken inner (dark shadow top-left, 3-D light
// bottom-right), colours from palette.
void drawRaisedOuterEdge(QPainter &painter, const QRect &rect, const QPalette &palette);
void drawSunkenInnerEdge(QPainter &painter, const QRect &rect, const QPalette &palette);

// A dotted, unfilled rectangle along rect's border (every other pixel, in
// colour).
void drawFocusRect(QPainter &painter, const QRect &rect, const QColor &colour = Qt::black);

// The accelerator character of a caption, lower case ("&File" gives 'f',
// "&&" is a plain "&"); a null character when there is none.
QChar acceleratorOf(const QString &caption);

// The program's pictures by resource name: "ARROWUP" and "ARROWDOWN", 15 x
// 15 pixels, a black arrow on a transparent ground. A null image for any
// other name.
QImage programBitmap(const QString &name);

} // namespace wharf::navbar
