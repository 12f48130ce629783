#pragma once
// TGradientFill: a passive control that fills its whole area with a colour
// gradient in one of eight styles, and PaintGradientFill, the drawing it
// does, for anyone who wants the same picture on another surface (the
// editor's background preview window draws the same gradient full size).
//
// The control renders into an off-screen bitmap, keeps it between paints and
// draws it afresh only when a property or its size changed; every paint is
// then a single copy of that bitmap. It takes no mouse or keyboard input and
// never erases its background (the bitmap covers it). Placement (the
// class library's Align) is left to the parent's Qt layout.

#include "colors.h"

#include <QImage>
#include <QSize>
#include <QWidget>

class QPainter;

namespace wharf {

enum class TGradientStyle {
    gsHorizontal,  // bands left to right
    gsVertical,    // bands top to bottom
    gsElliptic,    // 156 shrinking ellipses
    gsRectangle,   // shrinking rectangles
    gsVertCenter,  // rows mirrored about the horizontal centre line
    gsHorizCenter, // columns mirrored about the vertical centre line
    gsRadial1,     // one sweep around the centre and back
    gsRadial2,     // two sweeps per turn
};

// Everything the picture depends on besides its size.
struct GradientFillLook {
    TColor beginColor = clNavy;
    TColor endColor = clAqua;
    TGradientStyle style = TGradientStyle::gsVertical;
    // Number of steps - 1 for gsHorizontal, gsVertical and gsRectangle; the
    // other styles ignore it.
    int steps = 255;
    // Degrees, clockwise from straight up, where the radial styles start.
    int startAngle = 0;
    // A sunken two-pixel frame round the area.
    bool ctl3D = false;

    bool operator==(const GradientFillLook &) const = default;
};

// The colour of step k out of divisor: per channel begin + k * (end - begin)
// / divisor, truncated toward zero. The channels are the stored low bytes of
// the two values (red bits 0-7, green 8-15, blue 16-23); a system colour is
// not resolved first. A divisor of 0 gives begin's channels.
TColor GradientStepColor(TColor begin, TColor end, int k, int divisor);

// Draws the gradient of look into the rectangle (0, 0, width, height) of
// painter's device, followed by the 3-D frame when look.ctl3D is set. Only
// what the style covers is painted: a gsRectangle with few steps leaves a
// margin, and a negative step count draws nothing for the three styles that
// use it. Step counts of 0 and widths or heights of 0 or 1 draw a defined
// picture (one band or rectangle in the begin colour, or nothing for an
// empty area). The painter's state is left as it was; antialiasing is off
// while drawing, so band colours and edges are exact.
void PaintGradientFill(QPainter &painter, QSize size, const GradientFillLook &look);

class TGradientFill : public QWidget {
    Q_OBJECT
public:
    // 75 x 75 pixels, gsVertical, 255 steps, clNavy to clAqua, no frame,
    // start angle 0; the first paint renders.
    explicit TGradientFill(QWidget *parent = nullptr);

    TColor BeginColor() const { return m_look.beginColor; }
    TColor EndColor() const { return m_look.endColor; }
    TGradientStyle GradientStyle() const { return m_look.style; }
    int Steps() const { return m_look.steps; }
    int StartAngle() const { return m_look.startAngle; }
    bool Ctl3D() const { return m_look.ctl3D; }
    const GradientFillLook &look() const { return m_look; }

    // Each setter stores a differing value, marks the picture for
    // re-rendering and asks for a repaint; an equal value does nothing.
    void SetBeginColor(TColor color);
    void SetEndColor(TColor color);
    void SetGradientStyle(TGradientStyle style);
    void SetSteps(int steps);
    void SetStartAngle(int angle);
    void SetCtl3D(bool on);

    // True until the next paint renders the picture afresh.
    bool dirty() const { return m_dirty; }
    // How many times the picture has been rendered (not merely copied).
    int renderCount() const { return m_renderCount; }
    // The off-screen picture as last rendered (null before the first paint).
    const QImage &bitmap() const { return m_bitmap; }

    QSize sizeHint() const override { return {75, 75}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    template <typename T> void change(T &field, T value);

    GradientFillLook m_look;
    QImage m_bitmap;
    bool m_dirty = true;
    int m_renderCount = 0;
};

} // namespace wharf
