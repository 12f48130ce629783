#include "headersettings.h"

#include "muldiv.h"

#include <QPainter>

#include <algorithm>

namespace wharf {
namespace {

// Step k of D between two stored colours, channel by channel.
TColor stepColor(TColor start, TColor end, int k, int D)
{
    const auto channel = [&](int from, int to) { return (from + MulDiv(k, to - from, D)) & 0xFF; };
    return rgbColor(channel(redOf(start), redOf(end)), channel(greenOf(start), greenOf(end)),
                    channel(blueOf(start), blueOf(end)));
}

QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

} // namespace

THeaderSettings::THeaderSettings(const navbar::ColoredFont &font)
    : m_headerFont(font), m_highlightFont(font), m_buttonFont(font)
{
}

void THeaderSettings::changed()
{
    if (OnChange)
        OnChange(this);
}

void THeaderSettings::setAlignment(navbar::TAlignment value)
{
    if (m_alignment == value)
        return;
    m_alignment = value;
    changed();
}

void THeaderSettings::setAutoScroll(bool value)
{
    if (m_autoScroll == value)
        return;
    m_autoScroll = value;
    changed();
}

void THeaderSettings::setBevelInner(navbar::TBevelCut value)
{
    if (m_bevelInner == value)
        return;
    m_bevelInner = value;
    changed();
}

void THeaderSettings::setBevelOuter(navbar::TBevelCut value)
{
    if (m_bevelOuter == value)
        return;
    m_bevelOuter = value;
    changed();
}

void THeaderSettings::setBevelWidth(int value)
{
    value = std::max(1, value);
    if (m_bevelWidth == value)
        return;
    m_bevelWidth = value;
    changed();
}

void THeaderSettings::setButtonStyle(navbar::TButtonStyle value)
{
    if (m_buttonStyle == value)
        return;
    m_buttonStyle = value;
    changed();
}

void THeaderSettings::setHeaderColor(TColor value)
{
    if (m_headerColor == value)
        return;
    m_headerColor = value;
    changed();
}

void THeaderSettings::setKeySupport(bool value)
{
    if (m_keySupport == value)
        return;
    m_keySupport = value;
    changed();
}

void THeaderSettings::setLayout(navbar::TGlyphLayout value)
{
    if (m_layout == value)
        return;
    m_layout = value;
    changed();
}

void THeaderSettings::setHeaderFont(const navbar::ColoredFont &font)
{
    if (&font == &m_headerFont)
        return;
    m_headerFont = font;
    changed();
}

void THeaderSettings::setHighlightFont(const navbar::ColoredFont &font)
{
    if (&font == &m_highlightFont)
        return;
    m_highlightFont = font;
    changed();
}

void THeaderSettings::setButtonFont(const navbar::ColoredFont &font)
{
    if (&font == &m_buttonFont)
        return;
    m_buttonFont = font;
    changed();
}

int THeaderSettings::Size(int index) const
{
    switch (index) {
    case 1: return m_largeWidth;
    case 2: return m_largeHeight;
    case 3: return m_smallHeight;
    default: return -1;
    }
}

void THeaderSettings::setSize(int index, int value)
{
    int *field = index == 1 ? &m_largeWidth : index == 2 ? &m_largeHeight : index == 3 ? &m_smallHeight : nullptr;
    if (!field || *field == value)
        return;
    *field = value;
    changed();
}

void THeaderSettings::Assign(const THeaderSettings &source)
{
    if (&source != this) {
        m_alignment = source.m_alignment;
        m_bevelInner = source.m_bevelInner;
        m_bevelOuter = source.m_bevelOuter;
        m_bevelWidth = source.m_bevelWidth;
        m_headerColor = source.m_headerColor;
        m_headerFont = source.m_headerFont;
        m_highlightFont = source.m_highlightFont;
    }
    changed();
}

TGradient::TGradient() = default;

void TGradient::changed()
{
    if (OnChange)
        OnChange(this);
}

void TGradient::setBackStyle(navbar::TBackStyle value)
{
    if (m_backStyle == value)
        return;
    m_backStyle = value;
    changed();
}

void TGradient::setGradientType(navbar::TGradientType value)
{
    if (m_gradientType == value)
        return;
    m_gradientType = value;
    changed();
}

TColor TGradient::Color(int index) const
{
    return index == 1 ? m_startColor : index == 2 ? m_endColor : clNone;
}

void TGradient::setColor(int index, TColor value)
{
    if (index == 1)
        m_startColor = value;
    else if (index == 2)
        m_endColor = value;
    else
        return;
    // Reported also for an unchanged colour: owners rely on it to repaint.
    changed();
}

void TGradient::Assign(const TGradient &source)
{
    m_startColor = source.m_startColor;
    m_endColor = source.m_endColor;
    m_gradientType = source.m_gradientType;
    m_backStyle = source.m_backStyle;
    changed();
}

std::vector<GradientBand> TGradient::Bands(navbar::TGradientType type, TColor start, TColor end, const QRect &area)
{
    const int L = area.left();
    const int T = area.top();
    const int R = area.left() + area.width();
    const int B = area.top() + area.height();
    std::vector<GradientBand> bands;
    if (B <= T || L >= R)
        return bands;
    switch (type) {
    case navbar::gtl2r:
        for (int k = 0; k <= 255; ++k)
            bands.push_back({fromEdges(L + MulDiv(k, R - L, 256), T, L + MulDiv(k + 1, R - L, 256), B),
                             stepColor(start, end, k, 255)});
        break;
    case navbar::gtt2b:
        for (int k = 0; k <= 255; ++k)
            bands.push_back({fromEdges(L, T + MulDiv(k, B - T, 256), R, T + MulDiv(k + 1, B - T, 256)),
                             stepColor(start, end, k, 255)});
        break;
    case navbar::gts2c: {
        const int h = (R - L) / 2;
        if (h == 0)
            break;
        for (int k = 0; k <= h; ++k) {
            const TColor color = stepColor(start, end, k, h);
            bands.push_back({fromEdges(L + k, T, L + k + 1, B), color});
            bands.push_back({fromEdges(R - k - 1, T, R - k, B), color});
        }
        break;
    }
    case navbar::gttb2c: {
        const int h = (B - T) / 2;
        if (h == 0)
            break;
        for (int k = 0; k <= h; ++k) {
            const TColor color = stepColor(start, end, k, h);
            bands.push_back({fromEdges(L, T + k, R, T + k + 1), color});
            bands.push_back({fromEdges(L, B - k - 1, R, B - k), color});
        }
        break;
    }
    }
    return bands;
}

std::vector<GradientBand> TGradient::Bands(const QRect &area) const
{
    return Bands(m_gradientType, m_startColor, m_endColor, area);
}

void TGradient::PaintGradient(QPainter &canvas, const QRect &rect) const
{
    for (const GradientBand &band : Bands(rect))
        if (!band.rect.isEmpty())
            canvas.fillRect(band.rect, toQColor(band.color));
}

} // namespace wharf
