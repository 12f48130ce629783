#pragma once
// The whole compile of the project named by the run context: validation,
// the support files in "Temp", "data.csf", the archives and their volumes,
// "autorun.inf", "setup.exe" from its stub with the project's icon, the
// self-extracting or package form, the batch step and the log.

#include <cstdint>
#include <string>

namespace wharf {

// Runs the compile on CurrentRun() (ProjectFile, AppDir, TempDir, Callback
// and WriteLog set). Problems are reported as error lines; StopRequested
// tells afterwards whether the callback asked to stop. Exceptions other
// than those of the archive writer and the icon change pass out.
void CompileProject();

// The elapsed time of the closing line: minutes, seconds and hundredths,
// "01:05:42 min".
std::string ElapsedTimeText(int64_t ms);

} // namespace wharf
