#pragma once
// The whole compile of the project named by the run context: validation,
// the support files in Temp, "data.csf", the archives and their volumes,
// "autorun.inf", "setup.exe" from its stub with the project's icon, the
// self-extracting or package form, the batch step and the log.

#include <cstdint>
#include <string>
#include <string_view>

namespace wharf {

// Runs the compile on CurrentRun() (ProjectFile, AppDir, Callback and
// WriteLog set). Every problem is reported as an error line, and a compile
// that reports one never says "Compilation finished". A stop answer is acted on
// at the next point where the compile looks (Terminated is then set).
// Exceptions other than those the steps report themselves pass out.
void CompileProject();

// True when name is one the compile writes into the output folder: the
// fixed names, every volume of the package and of the support archive
// (however many an earlier compile made) and the names in
// CurrentRun().OutputNames. Compared exactly, as the file system does.
bool IsCompileOutputName(std::string_view name);

// True when name is one the compile writes by itself (setup.exe, the
// volumes, the autorun files), whatever the project says.
bool IsFixedOutputName(std::string_view name);

// Deletes the files of the output folder that the compile writes there and
// leaves every other file alone; with announce, a warning line says how
// many were left. Links are deleted, never followed.
void ClearCompileOutput(bool announce);

// The elapsed time of the closing line: minutes, seconds and hundredths,
// "01:05:42 min".
std::string ElapsedTimeText(int64_t ms);

} // namespace wharf
