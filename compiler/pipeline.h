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

// True when name is one the compile may write into the output folder: the
// fixed names and the names in CurrentRun().OutputNames. Compared exactly,
// as the file system does.
bool IsCompileOutputName(std::string_view name);

// True when name is one the compile writes by itself, whatever the project
// says: "setup.exe", "autorun.inf", "autorun.ico" and the volume names
// "setup.N" and "setupN.lib" with N from 0 to the last volume an archive
// can have, in decimal without leading zeros.
bool IsFixedOutputName(std::string_view name);

// The file name of the package (type 2) the project gives; CurrentRun()
// must hold the project.
std::string PackageName();

// Deletes the files of the output folder that a compile writes there and
// leaves every other file alone: "setup.exe", the autorun files, the names
// in OutputNames, and of each archive the volumes from 0 up as long as they
// follow one another (those of a larger earlier compile go too). With
// announce, a warning line says how many were left. Links are deleted,
// never followed.
void ClearCompileOutput(bool announce);

// The elapsed time of the closing line: minutes, seconds and hundredths,
// "01:05:42 min".
std::string ElapsedTimeText(int64_t ms);

} // namespace wharf
