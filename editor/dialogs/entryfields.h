#pragma once
// Small pieces the entry dialogs and the entry pages share: the empty
// marker in a text box, the project's destinations offered as targets, and
// the "Yes" and "No" of the grids.

#include "project.h"

#include <QString>
#include <QStringList>

#include <string>

class QComboBox;
class QLineEdit;

namespace wharf {

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
