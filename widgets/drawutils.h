#pragma once
// Drawing, command-line and window routines shared by the button and edit
// components. All are free functions over their arguments; none throws.

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QString>

class QFontMetrics;
class QObject;
class QPainter;
class QWidget;

namespace wharf {

// The text cut from its end, with "..." appended, until it is at most
// maxWidth pixels wide in metrics' font: the first cut drops two
// characters, each further cut one more, down to "..." alone (which is
// returned when nothing fits, even if "..." itself is wider). A text that
// fits comes back unchanged.
QString ShortenTextToWidth(const QString &text, const QFontMetrics &metrics, int maxWidth);

// The whole pixels text takes on one line in font. Text is laid out with
// fractional advances, so this rounds up: a room of this width never
// elides the text, where QFontMetrics::horizontalAdvance can fall one
// pixel short.
int TextWidth(const QFont &font, const QString &text);

// Reads the command-line token that starts at or after position and moves
// position past it. Characters with codes 1 to 32 and pairs of consecutive
// double quotes are skipped first; the token then runs to the next
// character with code 32 or below. A double quote opens a run taken whole,
// blanks included, up to the next double quote (or the end); the quotes are
// dropped. Empty at the end of the text. Tokens are not limited in length.
QString NextCommandLineToken(const QString &text, qsizetype &position);

// The number of tokens before the first empty one.
int CountCommandLineTokens(const QString &text);

// The token with the 0-based index, or empty when there are fewer tokens.
QString CommandLineToken(const QString &text, int index);

// file = token 0; params = tokens 1 to n-1 joined by single blanks, a token
// that contains a blank put in double quotes. Both empty for a text
// without tokens.
void SplitFileAndParams(const QString &text, QString &file, QString &params);

// Removes events of that type already posted to receiver (to every
// receiver when it is null). A quit request is no queued event in Qt, so it
// can never be discarded by this.
void DiscardPendingMessage(QObject *receiver, QEvent::Type type);

// True when one of this program's windows is the active window.
bool ActiveWindowInThisThread();

// Paints onto painter, at the control's origin, what lies under the control:
// its parent's background and own painting, then every visible sibling that
// comes before the control in the parent's child order and overlaps it.
// Siblings from the control onward are not painted. Nothing without a
// control or a parent. The painter's state is restored after each paint.
void CopyParentBackground(QWidget *control, QPainter &painter);

// A new image of bitmap's size that shows the bitmap's outline "embossed":
// the pixels of exactly the outline colour (opaque; for a monochrome image
// its white pixels) are marked; the result is filled with background, the
// marked pixels are painted in highlight one pixel right and down when
// drawHighlight is set, then in shadow in place.
QImage MakeDisabledBitmap(const QImage &bitmap, const QColor &outline, const QColor &background,
                          bool drawHighlight, const QColor &shadow, const QColor &highlight);

// MakeDisabledBitmap with outline black, background button face, highlight
// drawn, shadow button shadow and highlight button highlight, taken from
// the application's palette.
QImage MakeDisabledGlyph(const QImage &bitmap);

} // namespace wharf
