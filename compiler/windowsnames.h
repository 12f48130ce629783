#pragma once
// The rule for a file name that lands on a Windows disk: the names the
// setup stores in its archives (and unpacks there), the files it copies
// beside the setup and the package's name. A name Windows can't create, or
// two names Windows takes as one, make a setup that can't install.

#include <optional>
#include <string>
#include <string_view>

namespace wharf {

// Why Windows can't create a file of this name (UTF-8), as a phrase that
// follows the name in a message ("is a reserved device name of Windows"),
// or nullopt when it can. Refused: an empty name, "." and "..", a reserved
// device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-COM9 and LPT0-LPT9,
// also with a superscript digit) in any letter case, alone or before an
// extension ("nul.txt"); a name that ends in a dot or a space; any of
// < > : " / \ | ? * and the control characters 1 to 31 (and 0).
std::optional<std::string> WindowsNameProblem(std::string_view name);

// The name as Windows compares names: letter case folded through
// Windows-1252 and trailing dots and spaces dropped. Two names with the same
// key are one file on a Windows disk.
std::string WindowsNameKey(std::string_view name);

} // namespace wharf
