#pragma once
// The program folder: the folder of the running program, with its trailing
// separator. Data files ("script.dat", "extens.ini", ...), help files and the
// compiler library are looked up there.

#include <QString>

namespace wharf {

// Needs the application object. Always ends with "/".
QString programFolder();

} // namespace wharf
