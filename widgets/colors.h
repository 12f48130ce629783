#pragma once
// Stored colours. Project files, dialog files and component properties keep
// colours as the 32-bit values the programs have always stored: 0x00BBGGRR
// for an RGB colour (red in the low byte) and 0x80000000 + n for system
// colour n (0 to 24). This header is the one place where such a value becomes
// a Qt colour; system colours are taken from the widget palette.

#include <QColor>
#include <QPalette>

#include <cstdint>
#include <optional>

namespace wharf {

using TColor = int32_t;

constexpr TColor makeColor(uint32_t value) { return static_cast<TColor>(value); }

// The sixteen standard colours.
constexpr TColor clBlack = makeColor(0x000000);
constexpr TColor clMaroon = makeColor(0x000080);
constexpr TColor clGreen = makeColor(0x008000);
constexpr TColor clOlive = makeColor(0x008080);
constexpr TColor clNavy = makeColor(0x800000);
constexpr TColor clPurple = makeColor(0x800080);
constexpr TColor clTeal = makeColor(0x808000);
constexpr TColor clGray = makeColor(0x808080);
constexpr TColor clSilver = makeColor(0xC0C0C0);
constexpr TColor clRed = makeColor(0x0000FF);
constexpr TColor clLime = makeColor(0x00FF00);
constexpr TColor clYellow = makeColor(0x00FFFF);
constexpr TColor clBlue = makeColor(0xFF0000);
constexpr TColor clFuchsia = makeColor(0xFF00FF);
constexpr TColor clAqua = makeColor(0xFFFF00);
constexpr TColor clWhite = makeColor(0xFFFFFF);

// "No colour" and "the control's default colour" markers.
constexpr TColor clNone = makeColor(0x1FFFFFFF);
constexpr TColor clDefault = makeColor(0x20000000);

constexpr uint32_t kSystemColorFlag = 0x80000000u;
constexpr int kSystemColorCount = 25;

// The system colours, in their index order.
constexpr TColor sysColor(int index) { return makeColor(kSystemColorFlag | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = sysColor(0);
constexpr TColor clBackground = sysColor(1);
constexpr TColor clActiveCaption = sysColor(2);
constexpr TColor clInactiveCaption = sysColor(3);
constexpr TColor clMenu = sysColor(4);
constexpr TColor clWindow = sysColor(5);
constexpr TColor clWindowFrame = sysColor(6);
constexpr TColor clMenuText = sysColor(7);
constexpr TColor clWindowText = sysColor(8);
constexpr TColor clCaptionText = sysColor(9);
constexpr TColor clActiveBorder = sysColor(10);
constexpr TColor clInactiveBorder = sysColor(11);
constexpr TColor clAppWorkSpace = sysColor(12);
constexpr TColor clHighlight = sysColor(13);
constexpr TColor clHighlightText = sysColor(14);
constexpr TColor clBtnFace = sysColor(15);
constexpr TColor clBtnShadow = sysColor(16);
constexpr TColor clGrayText = sysColor(17);
constexpr TColor clBtnText = sysColor(18);
constexpr TColor clInactiveCaptionText = sysColor(19);
constexpr TColor clBtnHighlight = sysColor(20);
constexpr TColor cl3DDkShadow = sysColor(21);
constexpr TColor cl3DLight = sysColor(22);
constexpr TColor clInfoText = sysColor(23);
constexpr TColor clInfoBk = sysColor(24);

// True for 0x80000000 + n with n a known system colour index.
bool isSystemColor(TColor color);

// The system colour index of a system colour; nullopt for any other value.
std::optional<int> systemColorIndex(TColor color);

// The three colour bytes as stored, with no system colour resolved first.
constexpr int redOf(TColor c) { return static_cast<int>(static_cast<uint32_t>(c) & 0xFF); }
constexpr int greenOf(TColor c) { return static_cast<int>((static_cast<uint32_t>(c) >> 8) & 0xFF); }
constexpr int blueOf(TColor c) { return static_cast<int>((static_cast<uint32_t>(c) >> 16) & 0xFF); }
constexpr TColor rgbColor(int r, int g, int b)
{
    return makeColor((static_cast<uint32_t>(r) & 0xFF) | ((static_cast<uint32_t>(g) & 0xFF) << 8) |
                     ((static_cast<uint32_t>(b) & 0xFF) << 16));
}

// The palette role a system colour is shown with, and the colour group it
// is taken from (grey text is the disabled text colour). nullopt for system
// colours the palette has no role for (desktop, inactive captions and
// borders); those use the classic fixed values.
struct SystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
std::optional<SystemColorRole> systemColorRole(int index);

// The stored value as a Qt colour: RGB values byte for byte, system colours
// from the palette (the application's palette when none is given). clNone
// gives a transparent colour, clDefault the palette's window colour; any
// other value with high bits set uses its low three bytes.
QColor toQColor(TColor color);
QColor toQColor(TColor color, const QPalette &palette);

// The stored value with a system colour resolved to its RGB value
// (0x00BBGGRR); RGB values come back unchanged.
TColor colorToRgb(TColor color);
TColor colorToRgb(TColor color, const QPalette &palette);

// An RGB value for a Qt colour (alpha is dropped).
TColor fromQColor(const QColor &color);

} // namespace wharf
