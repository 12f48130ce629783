#pragma once
// THeaderSettings, the shared look of the navigation bar's caption bars and
// buttons, and TGradient, the background of a header's button area with the
// routine that paints it. Both are owned by a bar or a header and report
// every change through their OnChange callback so that the owner can apply
// sizes, arrange and repaint. Setters do nothing for an unchanged value
// unless noted.

#include "colors.h"
#include "navbartypes.h"

#include <QObject>
#include <QRect>

#include <functional>
#include <vector>

class QPainter;

namespace wharf {

class THeaderSettings : public QObject {
    Q_OBJECT
public:
    // The three fonts start as copies of font.
    explicit THeaderSettings(const navbar::ColoredFont &font);

    // Called with this object as sender after every change; none at first.
    std::function<void(QObject *Sender)> OnChange;

    navbar::TAlignment Alignment() const { return m_alignment; }
    void setAlignment(navbar::TAlignment value);
    bool AutoScroll() const { return m_autoScroll; }
    void setAutoScroll(bool value);
    navbar::TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(navbar::TBevelCut value);
    navbar::TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(navbar::TBevelCut value);
    // At least 1; smaller values are taken as 1.
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int value);
    navbar::TButtonStyle ButtonStyle() const { return m_buttonStyle; }
    void setButtonStyle(navbar::TButtonStyle value);
    TColor HeaderColor() const { return m_headerColor; }
    void setHeaderColor(TColor value);
    bool KeySupport() const { return m_keySupport; }
    void setKeySupport(bool value);
    navbar::TGlyphLayout Layout() const { return m_layout; }
    void setLayout(navbar::TGlyphLayout value);

    // The fonts. Changing the returned font in place reports nothing; the
    // setters copy a font given as any other object and always report.
    const navbar::ColoredFont &HeaderFont() const { return m_headerFont; }
    navbar::ColoredFont &HeaderFont() { return m_headerFont; }
    void setHeaderFont(const navbar::ColoredFont &font);
    const navbar::ColoredFont &HighlightFont() const { return m_highlightFont; }
    navbar::ColoredFont &HighlightFont() { return m_highlightFont; }
    void setHighlightFont(const navbar::ColoredFont &font);
    const navbar::ColoredFont &ButtonFont() const { return m_buttonFont; }
    navbar::ColoredFont &ButtonFont() { return m_buttonFont; }
    void setButtonFont(const navbar::ColoredFont &font);

    // The button sizes by index: 1 LargeWidth, 2 LargeHeight, 3 SmallHeight.
    // Another index reads as -1 and is ignored when written.
    int Size(int index) const;
    void setSize(int index, int value);
    int LargeWidth() const { return Size(1); }
    void setLargeWidth(int value) { setSize(1, value); }
    int LargeHeight() const { return Size(2); }
    void setLargeHeight(int value) { setSize(2, value); }
    int SmallHeight() const { return Size(3); }
    void setSmallHeight(int value) { setSize(3, value); }

    // Copies the caption-bar look of source (alignment, bevels, header
    // colour, header and highlight fonts), then reports. Button font, key
    // support, layout, auto-scroll, sizes and button style stay.
    void Assign(const THeaderSettings &source);

private:
    void changed();

    navbar::TAlignment m_alignment = navbar::taCenter;
    navbar::TBevelCut m_bevelInner = navbar::bvNone;
    navbar::TBevelCut m_bevelOuter = navbar::bvRaised;
    int m_bevelWidth = 1;
    TColor m_headerColor = clBtnFace;
    navbar::ColoredFont m_headerFont;
    navbar::ColoredFont m_highlightFont;
    navbar::ColoredFont m_buttonFont;
    bool m_keySupport = false;
    navbar::TGlyphLayout m_layout = navbar::glGlyphLeft;
    bool m_autoScroll = true;
    int m_largeWidth = 60;
    int m_largeHeight = 60;
    int m_smallHeight = 20;
    navbar::TButtonStyle m_buttonStyle = navbar::bsLarge;
};

// One filled band of a header gradient.
struct GradientBand {
    QRect rect;
    TColor color;
    bool operator==(const GradientBand &) const = default;
};

class TGradient : public QObject {
    Q_OBJECT
public:
    TGradient();

    // Called with this object as sender after every change; none at first.
    std::function<void(QObject *Sender)> OnChange;

    navbar::TBackStyle BackStyle() const { return m_backStyle; }
    void setBackStyle(navbar::TBackStyle value);
    navbar::TGradientType GradientType() const { return m_gradientType; }
    void setGradientType(navbar::TGradientType value);

    // The colours by index: 1 StartColor (black at first), 2 EndColor (blue
    // at first). Another index reads as clNone and is ignored. Writing
    // either reports, also an unchanged value.
    TColor Color(int index) const;
    void setColor(int index, TColor value);
    TColor StartColor() const { return Color(1); }
    void setStartColor(TColor value) { setColor(1, value); }
    TColor EndColor() const { return Color(2); }
    void setEndColor(TColor value) { setColor(2, value); }

    // Copies both colours, the type and the back style, then reports.
    void Assign(const TGradient &source);

    // The bands that paint the gradient over area, in painting order (a
    // later band covers an earlier one). Colours are taken byte by byte
    // from the stored values, system colours unresolved; step k out of D is
    // start + MulDiv(k, end - start, D) per channel, low byte kept. Empty
    // for an empty area; the centre types give nothing for an area less
    // than 2 pixels across. Band rectangles may be empty (0 pixels high).
    static std::vector<GradientBand> Bands(navbar::TGradientType type, TColor start, TColor end, const QRect &area);
    std::vector<GradientBand> Bands(const QRect &area) const;

    // Paints Bands(rect) onto canvas.
    void PaintGradient(QPainter &canvas, const QRect &rect) const;

private:
    void changed();

    navbar::TGradientType m_gradientType = navbar::gtt2b;
    TColor m_startColor = clBlack;
    TColor m_endColor = rgbColor(0, 0, 255);
    navbar::TBackStyle m_backStyle = navbar::bsNormal;
};

} // namespace wharf
