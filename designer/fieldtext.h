#pragma once
// The texts of the property dialogs' fields as they go into a key list: a
// single-line field holds no line break, a memo is a list of lines.

#include "inistore.h"

#include <QString>
#include <QStringList>

class QLineEdit;
class QPlainTextEdit;

namespace wharf {

// The text with every line break (CR LF, CR or LF) replaced by one blank,
// so that a typed or pasted break cannot start a line of its own.
QString singleLineText(QString text);

// Shows text in a single-line field from its start: a text longer than the
// field shows its beginning, as it is read, not its end.
void showFieldText(QLineEdit &field, const QString &text);

// A memo's lines: none for an empty memo, and a final line break ends the
// last line rather than starting an empty one.
QStringList memoLines(const QPlainTextEdit &memo);
void setMemoLines(QPlainTextEdit &memo, const QStringList &lines);

TStringList toStringList(const QStringList &lines);
QStringList toQStringList(const TStringList &lines);

} // namespace wharf
