#pragma once
// Small pieces the entry dialogs and the entry pages share: the empty
// marker in a text box, the project's destinations offered as targets, and
// the "Yes" and "No" of the grids.

#include "project.h"

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <string>

class QComboBox;
class QLineEdit;
class QWidget;

namespace wharf {

struct Seams;

// The OK check of an entry dialog: a project file holds Windows-1252 text,
// so a box (line edit, combo box or plain text edit) with a character it
// can't hold is refused with a message naming it, and gets the focus. True
// when every box can be stored.
bool refuseUnstorableText(const Seams &seams, QWidget *dialog, std::initializer_list<QWidget *> boxes);

// The first character of text that a project file can't hold (a Windows-1252
// file), for a message; empty when every character can be stored.
QString firstUnstorableCharacter(const QString &text);

// "{emp}".
QString emptyMarkerText();

// The box's text; an empty box is set to "{emp}" first (the box shows it),
// so that the stored entry does not lose the field or read it as a default.
std::string textOrEmptyMarker(QLineEdit *box);
std::string textOrEmptyMarker(QComboBox *box);

// The destination of every file of the project, group by group in order.
QStringList projectDestinations(const Project &project);

// The texts the grids show for a set and a cleared option.
QString yesText();
QString noText();
inline QString yesNo(bool value) { return value ? yesText() : noText(); }

} // namespace wharf
