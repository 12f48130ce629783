#include "gradientfill.h"

#include "muldiv.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace wharf {
namespace {

QColor stepColor(const GradientFillLook &look, int k, int divisor)
{
    return toQColor(GradientStepColor(look.beginColor, look.endColor, k, divisor));
}

// Fills the pixels [left, right) x [top, bottom); an empty range paints
// nothing.
void fillBox(QPainter &painter, int left, int top, int right, int bottom, const QColor &colour)
{
    if (right > left && bottom > top)
        painter.fillRect(QRect(left, top, right - left, bottom - top), colour);
}

void paintBands(QPainter &painter, int w, int h, const GradientFillLook &look, bool columns)
{
    // Steps + 1 bands; the boundaries come from one multiply-divide each, so
    // together they tile the area without gaps. A count of 0 is one band.
    const int bands = look.steps + 1;
    const int extent = columns ? w : h;
    for (int k = 0; k <= look.steps; ++k) {
        const int from = MulDivTrunc(k, extent, bands);
        const int to = MulDivTrunc(k + 1, extent, bands);
        const QColor colour = stepColor(look, k, look.steps);
        if (columns)
            fillBox(painter, from, 0, to, h, colour);
        else
            fillBox(painter, 0, from, w, to, colour);
    }
}

void paintElliptic(QPainter &painter, int w, int h, const GradientFillLook &look)
{
    constexpr int kLastStep = 155;
    double x1 = -w / 4.0;
    double y1 = -h / 4.0;
    double x2 = w + w / 4.0 + 4;
    double y2 = h + h / 4.0 + 4;
    const double dx = (w / 4.0 + w / 2.0) / kLastStep;
    const double dy = (h / 4.0 + h / 2.0) / kLastStep;
    for (int k = 0; k <= kLastStep; ++k) {
        x1 += dx;
        y1 += dy;
        x2 -= dx;
        y2 -= dy;
        const int left = static_cast<int>(std::trunc(x1));
        const int top = static_cast<int>(std::trunc(y1));
        const int right = static_cast<int>(std::trunc(x2));
        const int bottom = static_cast<int>(std::trunc(y2));
        if (right <= left || bottom <= top)
            continue;
        painter.setBrush(stepColor(look, k, kLastStep));
        painter.drawEllipse(QRect(left, top, right - left, bottom - top));
    }
}

void paintRectangles(QPainter &painter, int w, int h, const GradientFillLook &look)
{
    // With no steps the one rectangle keeps its full size instead of
    // shrinking by an infinite amount.
    const double insetX = look.steps > 0 ? (w / 2.0) / look.steps : 0.0;
    const double insetY = look.steps > 0 ? (h / 2.0) / look.steps : 0.0;
    double l = 0, t = 0, r = w + 2, b = h + 2;
    for (int k = 0; k <= look.steps; ++k) {
        l += insetX;
        r -= insetX;
        t += insetY;
        b -= insetY;
        const int left = static_cast<int>(std::trunc(l));
        const int right = static_cast<int>(std::trunc(r));
        const int top = static_cast<int>(std::trunc(t));
        const int bottom = static_cast<int>(std::trunc(b));
        if (right <= left || bottom <= top)
            break; // every further rectangle is smaller still
        fillBox(painter, left, top, right, bottom, stepColor(look, k, look.steps));
    }
}

void paintMirrored(QPainter &painter, int w, int h, const GradientFillLook &look, bool columns)
{
    const int extent = columns ? w : h;
    const int half = extent / 2; // 0 for an extent below 2: one step in the begin colour
    for (int k = 0; k <= half; ++k) {
        const QColor colour = stepColor(look, k, half);
        const int mirror = extent - k - 1;
        if (columns) {
            fillBox(painter, k, 0, k + 1, h, colour);
            fillBox(painter, mirror, 0, mirror + 1, h, colour);
        } else {
            fillBox(painter, 0, k, w, k + 1, colour);
            fillBox(painter, 0, mirror, w, mirror + 1, colour);
        }
    }
}

// Step and divisor of the i-th of the 360 radial wedges.
std::pair<int, int> radialStep(TGradientStyle style, int i)
{
    if (style == TGradientStyle::gsRadial1)
        return {i < 180 ? i : 359 - i, 180};
    if (i < 90)
        return {i, 90};
    if (i < 180)
        return {179 - i, 90};
    if (i < 270)
        return {i - 180, 90};
    return {359 - i, 90};
}

void paintRadial(QPainter &painter, int w, int h, const GradientFillLook &look)
{
    const QRectF box(-(w / 4), -(h / 4), w + w / 4 + w / 4, h + h / 4 + h / 4);
    const QPointF centre = box.center();
    const double halfWidth = box.width() / 2;
    const double halfHeight = box.height() / 2;
    const int cx = w / 2;
    const int cy = h / 2;
    const int ray = w > h ? w / 2 : h / 2;
    // Angles repeat every turn; reducing the start first keeps a + 2 from
    // overflowing for any stored value.
    const int start = look.startAngle % 360;

    // The ray point of an angle (degrees clockwise from straight up) on the
    // pixel grid, and the angle Qt's arc routines need to reach that point
    // on the box's ellipse (counter-clockwise from 3 o'clock, measured on
    // the ellipse's circle before it is stretched).
    auto arcAngleOf = [&](int degrees) {
        const double t = (degrees % 360) * std::numbers::pi / 180.0;
        const double px = cx + std::nearbyint(std::sin(t) * ray);
        const double py = cy - std::nearbyint(std::cos(t) * ray);
        return std::atan2((centre.y() - py) / halfHeight, (px - centre.x()) / halfWidth) * 180.0 /
               std::numbers::pi;
    };

    for (int i = 0; i < 360; ++i) {
        const int a = start + i;
        const double from = arcAngleOf(a + 2);
        double sweep = std::fmod(arcAngleOf(a) - from + 720.0, 360.0);
        // Rays that rounding put on the same pixel, or (on a tiny area) in
        // the wrong order, make no wedge; their neighbours cover the gap.
        if (sweep <= 0.0 || sweep > 180.0)
            continue;
        const auto [k, divisor] = radialStep(look.style, i);
        QPainterPath wedge(centre);
        wedge.arcTo(box, from, sweep);
        wedge.closeSubpath();
        painter.setBrush(stepColor(look, k, divisor));
        painter.drawPath(wedge);
    }
}

// One ring of a 3-D frame: the upper-left colour on the top row and the left
// column, the lower-right colour on the right column and the bottom row,
// which also take the top-right and bottom-left corners.
void frameRing(QPainter &painter, int left, int top, int right, int bottom, const QColor &upperLeft,
               const QColor &lowerRight)
{
    fillBox(painter, left, top, right - 1, top + 1, upperLeft);
    fillBox(painter, left, top, left + 1, bottom - 1, upperLeft);
    fillBox(painter, right - 1, top, right, bottom, lowerRight);
    fillBox(painter, left, bottom - 1, right, bottom, lowerRight);
}

} // namespace

TColor GradientStepColor(TColor begin, TColor end, int k, int divisor)
{
    auto channel = [&](int from, int to) { return from + MulDivTrunc(k, to - from, divisor); };
    const int red = channel(redOf(begin), redOf(end));
    const int green = channel(greenOf(begin), greenOf(end));
    const int blue = channel(blueOf(begin), blueOf(end));
    return makeColor(static_cast<uint32_t>(red + 256 * green + 65536 * blue));
}

void PaintGradientFill(QPainter &painter, QSize size, const GradientFillLook &look)
{
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setClipRect(QRect(0, 0, w, h));
    switch (look.style) {
    case TGradientStyle::gsHorizontal: paintBands(painter, w, h, look, true); break;
    case TGradientStyle::gsVertical: paintBands(painter, w, h, look, false); break;
    case TGradientStyle::gsElliptic: paintElliptic(painter, w, h, look); break;
    case TGradientStyle::gsRectangle: paintRectangles(painter, w, h, look); break;
    case TGradientStyle::gsVertCenter: paintMirrored(painter, w, h, look, false); break;
    case TGradientStyle::gsHorizCenter: paintMirrored(painter, w, h, look, true); break;
    case TGradientStyle::gsRadial1:
    case TGradientStyle::gsRadial2: paintRadial(painter, w, h, look); break;
    }
    if (look.ctl3D) {
        frameRing(painter, 0, 0, w, h, QColor(128, 128, 128), QColor(255, 255, 255));
        frameRing(painter, 1, 1, w - 1, h - 1, QColor(0, 0, 0), QColor(192, 192, 192));
    }
    painter.restore();
}

TGradientFill::TGradientFill(QWidget *parent) : QWidget(parent)
{
    // The bitmap covers every pixel, so nothing is erased first; the control
    // is purely decorative and passes mouse and keyboard on.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(75, 75);
}

template <typename T> void TGradientFill::change(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    m_dirty = true;
    update();
}

void TGradientFill::SetBeginColor(TColor color) { change(m_look.beginColor, color); }
void TGradientFill::SetEndColor(TColor color) { change(m_look.endColor, color); }
void TGradientFill::SetGradientStyle(TGradientStyle style) { change(m_look.style, style); }
void TGradientFill::SetSteps(int steps) { change(m_look.steps, steps); }
void TGradientFill::SetStartAngle(int angle) { change(m_look.startAngle, angle); }
void TGradientFill::SetCtl3D(bool on) { change(m_look.ctl3D, on); }

void TGradientFill::paintEvent(QPaintEvent *)
{
    if (size().isEmpty())
        return;
    if (m_dirty || m_bitmap.size() != size()) {
        if (m_bitmap.size() != size())
            m_bitmap = QImage(size(), QImage::Format_RGB32);
        // What a style leaves uncovered shows the bitmap's own white rather
        // than whatever an earlier picture left there.
        m_bitmap.fill(Qt::white);
        QPainter bitmapPainter(&m_bitmap);
        PaintGradientFill(bitmapPainter, size(), m_look);
        m_dirty = false;
        ++m_renderCount;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_bitmap);
}

} // namespace wharf
