#pragma once
// Stored fonts. Project files, dialog files and window defaults name fonts
// of the Windows desktop ("MS Sans Serif", "Courier New"); those names stay
// as data, and the display uses a font this machine has in their place.

#include <QFont>
#include <QString>

namespace wharf {

// Font style bits as stored: 1 bold, 2 italic, 4 underline, 8 strike-out.
constexpr int kFontBold = 1;
constexpr int kFontItalic = 2;
constexpr int kFontUnderline = 4;
constexpr int kFontStrikeOut = 8;

// Registers the substitutes of the stored Windows font names with Qt's font
// matching ("MS Sans Serif" and other sans fonts -> DejaVu Sans, "Courier
// New" -> DejaVu Sans Mono, ...). Called once by the application object;
// calling it again does no harm.
void installFontSubstitutes();

// A font for a stored name, size in points and style bits. The family
// stays the stored name (QFont::family() gives it back); Qt draws it with
// the substitute.
QFont storedFont(const QString &name, int pointSize, int styleBits = 0);

// The style bits of a font.
int fontStyleBits(const QFont &font);

} // namespace wharf
