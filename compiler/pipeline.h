#pragma once
// The whole compile of the project named by the run context: validation,
// the support files in Temp, "data.csf", the archives and their volumes,
// "autorun.inf", "setup.exe" from its stub with the project's icon, the
// self-extracting or package form, the batch step and the log.

#include <cstdint>
#include <string>
#include <string_view>

namespace wharf {

// The pictures and texts of the wizard: the value of key in "Temporary" is
// copied into Temp as base plus the value's extension (a background picture
// logo.bmp goes in as BackImg.bmp).
struct WizardFile {
    const char *key;
    const char *base;
};
inline constexpr WizardFile kWizardFiles[] = {
    {"BackImage", "BackImg"}, {"WzrdImg", "WzrdImg"}, {"LicenseFile", "License"}, {"ReadmeFile", "Readme"}};

// Runs the compile on CurrentRun() (ProjectFile, AppDir, Callback and
// WriteLog set). Every problem is reported as an error line, and a compile
// that reports one never says "Compilation finished". A stop answer is acted on
// at the next point where the compile looks (Terminated is then set).
// Exceptions other than those the steps report themselves pass out.
void CompileProject();

// True when name is a file this compile writes into the output folder, as
// CurrentRun() (OutputType, CreateAutorun, OutputNames) says: the volume
// names, "setup.exe" for output types 0 and 1, "autorun.inf" and
// "autorun.ico" with CreateAutorun, the package name and the additional
// files. Compared exactly, as the file system does. The clearing deletes
// these names and no others.
bool IsCompileOutputName(std::string_view name);

// True when name is a volume name: "setup.N" or "setupN.lib" with N from 0
// to the last volume an archive can have, in decimal without leading zeros.
// Every such name is one a compile may write, whatever its settings.
bool IsVolumeName(std::string_view name);

// True when a file of this name, on a Windows disk, would be one the
// compile writes itself (the names compared as Windows compares them, see
// WindowsNameKey): a volume, and as CurrentRun() says "setup.exe", the
// autorun files and the package.
bool IsOwnOutputNameOnWindows(std::string_view name);

// The file name of the package (type 2) the project gives; CurrentRun()
// must hold the project.
std::string PackageName();

// Deletes the files of the output folder (through CurrentRun().Output)
// whose names IsCompileOutputName gives, whatever the gaps between volume
// numbers, and leaves every other file alone. With announce, a warning
// line says how many were left. Links are deleted, never followed. Does
// nothing while the output folder is not held.
void ClearCompileOutput(bool announce);

// The elapsed time of the closing line: minutes, seconds and hundredths,
// "01:05:42 min".
std::string ElapsedTimeText(int64_t ms);

} // namespace wharf
