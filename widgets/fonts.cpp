#include "fonts.h"

#include <QStringList>

namespace wharf {

void installFontSubstitutes()
{
    const QStringList sans = {QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")};
    const QStringList mono = {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")};
    const QStringList serif = {QStringLiteral("DejaVu Serif"), QStringLiteral("Serif")};
    for (const char *name : {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "Tahoma",
                             "Arial", "Verdana", "Segoe UI"})
        QFont::insertSubstitutions(QString::fromLatin1(name), sans);
    for (const char *name : {"Courier New", "Courier", "Lucida Console", "Consolas"})
        QFont::insertSubstitutions(QString::fromLatin1(name), mono);
    for (const char *name : {"Times New Roman", "MS Serif"})
        QFont::insertSubstitutions(QString::fromLatin1(name), serif);
}

QFont storedFont(const QString &name, int pointSize, int styleBits)
{
    QFont font(name);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(styleBits & kFontBold);
    font.setItalic(styleBits & kFontItalic);
    font.setUnderline(styleBits & kFontUnderline);
    font.setStrikeOut(styleBits & kFontStrikeOut);
    return font;
}

int fontStyleBits(const QFont &font)
{
    return (font.bold() ? kFontBold : 0) | (font.italic() ? kFontItalic : 0) |
           (font.underline() ? kFontUnderline : 0) | (font.strikeOut() ? kFontStrikeOut : 0);
}

} // namespace wharf
