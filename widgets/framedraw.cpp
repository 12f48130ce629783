#include "framedraw.h"

#include <QFontMetrics>
#include <QPainter>

namespace wharf {
namespace {

// Fills the pixels [left, right) x [top, bottom).
void fillBox(QPainter &canvas, int left, int top, int right, int bottom, const QColor &colour)
{
    if (right > left && bottom > top)
        canvas.fillRect(QRect(left, top, right - left, bottom - top), colour);
}

void setPixel(QPainter &canvas, int x, int y, const QColor &colour) { canvas.fillRect(QRect(x, y, 1, 1), colour); }

QRect shrink(const QRect &rect, TSides sides, int by)
{
    return rect.adjusted(sides.testFlag(TSide::sdLeft) ? by : 0, sides.testFlag(TSide::sdTop) ? by : 0,
                         sides.testFlag(TSide::sdRight) ? -by : 0, sides.testFlag(TSide::sdBottom) ? -by : 0);
}

struct RingColours {
    TColor upperLeft;
    TColor lowerRight;
};

struct TwoRings {
    RingColours outer;
    RingColours inner;
};

QRect paintTwoRings(QPainter &canvas, const QRect &rect, const TwoRings &rings, TSides sides,
                    const QPalette &palette)
{
    const QRect inner = PaintFrameSides(canvas, rect, rings.outer.upperLeft, rings.outer.lowerRight, sides, palette);
    return PaintFrameSides(canvas, inner, rings.inner.upperLeft, rings.inner.lowerRight, sides, palette);
}

// Groove and bump: two offset single-colour frames with their corner pixels
// set first, so the ends of an open side look cut rather than overlapped.
QRect paintEtched(QPainter &canvas, const QRect &rect, TColor first, TColor second, TSides sides,
                  const QPalette &palette)
{
    const QColor a = toQColor(first, palette);
    const QColor b = toQColor(second, palette);
    const int l = rect.left();
    const int t = rect.top();
    const int r = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    const bool left = sides.testFlag(TSide::sdLeft);
    const bool top = sides.testFlag(TSide::sdTop);
    const bool right = sides.testFlag(TSide::sdRight);
    const bool lower = sides.testFlag(TSide::sdBottom);
    if (right)
        setPixel(canvas, r - 1, t, b);
    if (top && !right)
        setPixel(canvas, r - 1, t, a);
    if (lower)
        setPixel(canvas, l, bottom - 1, b);
    if (left && !lower)
        setPixel(canvas, l, bottom - 1, a);
    if (top && !left)
        setPixel(canvas, l, t + 1, b);
    if (left && !top)
        setPixel(canvas, l + 1, t, b);
    if (lower && !right)
        setPixel(canvas, r - 1, bottom - 2, a);
    if (right && !lower)
        setPixel(canvas, r - 2, bottom - 1, a);
    PaintFrameSides(canvas, QRect(l + 1, t + 1, r - l - 1, bottom - t - 1), second, second, sides, palette);
    PaintFrameSides(canvas, QRect(l, t, r - l - 1, bottom - t - 1), first, first, sides, palette);
    return shrink(rect, sides, 2);
}

} // namespace

QRect PaintFrameSides(QPainter &canvas, const QRect &rect, TColor upperLeft, TColor lowerRight, TSides sides,
                      const QPalette &palette)
{
    const int l = rect.left();
    const int t = rect.top();
    const int r = rect.left() + rect.width();
    const int b = rect.top() + rect.height();
    const QColor ul = toQColor(upperLeft, palette);
    const QColor lr = toQColor(lowerRight, palette);
    if (sides.testFlag(TSide::sdLeft))
        fillBox(canvas, l, t, l + 1, b, ul);
    if (sides.testFlag(TSide::sdTop))
        fillBox(canvas, l, t, r, t + 1, ul);
    if (sides.testFlag(TSide::sdRight))
        fillBox(canvas, r - 1, t, r, b, lr);
    if (sides.testFlag(TSide::sdBottom))
        fillBox(canvas, l, b - 1, r, b, lr);
    return shrink(rect, sides, 1);
}

QRect DrawFrameRings(QPainter &canvas, const QRect &rect, TColor upperLeft, TColor lowerRight, TSides sides,
                     int count, const QPalette &palette)
{
    QRect inner = rect;
    for (int i = 0; i < count; ++i)
        inner = PaintFrameSides(canvas, inner, upperLeft, lowerRight, sides, palette);
    return inner;
}

QRect PaintComboFrame(QPainter &canvas, const QRect &rect, TFrameStyle style, TSides sides, const QPalette &palette)
{
    switch (style) {
    case TFrameStyle::fsNone: return rect;
    case TFrameStyle::fsFlat: return PaintFrameSides(canvas, rect, clWindowFrame, clWindowFrame, sides, palette);
    case TFrameStyle::fsStatus: return PaintFrameSides(canvas, rect, clBtnShadow, clBtnHighlight, sides, palette);
    case TFrameStyle::fsPopup: return PaintFrameSides(canvas, rect, clBtnHighlight, clBtnShadow, sides, palette);
    case TFrameStyle::fsLowered:
        return paintTwoRings(canvas, rect, {{clBtnShadow, clBtnHighlight}, {clBtnText, cl3DLight}}, sides, palette);
    case TFrameStyle::fsRaised:
        return paintTwoRings(canvas, rect, {{cl3DLight, clBtnText}, {clBtnHighlight, clBtnShadow}}, sides, palette);
    case TFrameStyle::fsButtonDown:
        return paintTwoRings(canvas, rect, {{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}}, sides, palette);
    case TFrameStyle::fsButtonUp:
        return paintTwoRings(canvas, rect, {{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}}, sides,
                             palette);
    case TFrameStyle::fsGroove: return paintEtched(canvas, rect, clBtnShadow, clBtnHighlight, sides, palette);
    case TFrameStyle::fsBump: return paintEtched(canvas, rect, clBtnHighlight, clBtnShadow, sides, palette);
    }
    return rect;
}

int FontItemHeight(const QFont &font) { return QFontMetrics(font).height() + 2; }

} // namespace wharf
