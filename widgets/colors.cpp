#include "colors.h"

#include <QGuiApplication>

#include <array>

namespace wharf {
namespace {

// The classic default values, used where the palette has no matching role.
constexpr std::array<uint32_t, kSystemColorCount> kClassicValues = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
    0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
    0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF,
};

QPalette defaultPalette()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::palette() : QPalette();
}

QColor fromStoredBytes(uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

} // namespace

bool isSystemColor(TColor color) { return systemColorIndex(color).has_value(); }

std::optional<int> systemColorIndex(TColor color)
{
    const uint32_t value = static_cast<uint32_t>(color);
    if ((value & 0xFF000000u) != kSystemColorFlag)
        return std::nullopt;
    const uint32_t index = value & 0x00FFFFFFu;
    if (index >= static_cast<uint32_t>(kSystemColorCount))
        return std::nullopt;
    return static_cast<int>(index);
}

std::optional<SystemColorRole> systemColorRole(int index)
{
    using P = QPalette;
    switch (index) {
    case 0: return SystemColorRole{P::Active, P::Button};            // ScrollBar
    case 2: return SystemColorRole{P::Active, P::Highlight};         // ActiveCaption
    case 4: return SystemColorRole{P::Active, P::Window};            // Menu
    case 5: return SystemColorRole{P::Active, P::Base};              // Window
    case 6: return SystemColorRole{P::Active, P::Shadow};            // WindowFrame
    case 7: return SystemColorRole{P::Active, P::WindowText};        // MenuText
    case 8: return SystemColorRole{P::Active, P::Text};              // WindowText
    case 9: return SystemColorRole{P::Active, P::HighlightedText};   // CaptionText
    case 10: return SystemColorRole{P::Active, P::Button};           // ActiveBorder
    case 12: return SystemColorRole{P::Active, P::Mid};              // AppWorkSpace
    case 13: return SystemColorRole{P::Active, P::Highlight};        // Highlight
    case 14: return SystemColorRole{P::Active, P::HighlightedText};  // HighlightText
    case 15: return SystemColorRole{P::Active, P::Button};           // BtnFace
    case 16: return SystemColorRole{P::Active, P::Dark};             // BtnShadow
    case 17: return SystemColorRole{P::Disabled, P::Text};           // GrayText
    case 18: return SystemColorRole{P::Active, P::ButtonText};       // BtnText
    case 20: return SystemColorRole{P::Active, P::Light};            // BtnHighlight
    case 21: return SystemColorRole{P::Active, P::Shadow};           // 3DDkShadow
    case 22: return SystemColorRole{P::Active, P::Midlight};         // 3DLight
    case 23: return SystemColorRole{P::Active, P::ToolTipText};      // InfoText
    case 24: return SystemColorRole{P::Active, P::ToolTipBase};      // InfoBk
    default: return std::nullopt;
    }
}

QColor toQColor(TColor color) { return toQColor(color, defaultPalette()); }

QColor toQColor(TColor color, const QPalette &palette)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color == clDefault)
        return palette.color(QPalette::Active, QPalette::Window);
    if (const auto index = systemColorIndex(color)) {
        if (const auto role = systemColorRole(*index))
            return palette.color(role->group, role->role);
        return fromStoredBytes(kClassicValues[static_cast<size_t>(*index)]);
    }
    return fromStoredBytes(static_cast<uint32_t>(color));
}

TColor colorToRgb(TColor color) { return colorToRgb(color, defaultPalette()); }

TColor colorToRgb(TColor color, const QPalette &palette)
{
    if (isSystemColor(color))
        return fromQColor(toQColor(color, palette));
    return color;
}

TColor fromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return rgbColor(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace wharf
