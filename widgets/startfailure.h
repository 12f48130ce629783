#pragma once
// Why a program could not be started, in words for the author: both
// programs name the cause when a start fails (a missing file, no runner for
// Windows programs, the system's reason), never only that it failed.

#include <QString>

namespace wharf {

// The reason program (a path, or a bare name looked up on the search path)
// did not start. windowsProgram: only Windows runs it, so it needs the
// runner wine (empty when none is installed). systemError is errno as the
// failed start left it; 0 when it is not known.
QString programStartFailure(const QString &program, bool windowsProgram, const QString &wine, int systemError = 0);

} // namespace wharf
