#pragma once
// What the programs check of their command line and their display before
// the application object is made: Qt takes its own options out of the
// command line and aborts a program whose display can't be opened, with a
// hint at reinstalling it, so both are found out beforehand.

#include <QString>
#include <QStringList>

namespace wharf {

// The arguments without Qt's own options ("-platform offscreen",
// "-style=fusion", "--reverse", ...) and their values, as the application
// object takes them out: what is left is the program's own command line.
QStringList withoutQtOptions(const QStringList &arguments);

// What to print in place of Qt's abort: a text saying that there is no
// display to show the window on, and why, when none of the platforms Qt
// would try (the "-platform" argument, else QT_QPA_PLATFORM, else Wayland in
// a Wayland session or where WAYLAND_DISPLAY is set, then X11) can be used:
// its plugin is not installed, or its display is not set or does not answer
// (the X server of DISPLAY or "-display", the Wayland compositor's socket).
// Else an empty text.
QString missingDisplayProblem(int argc, char **argv);

} // namespace wharf
