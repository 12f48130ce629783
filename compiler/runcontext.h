#pragma once
// The state of one compile, kept library-wide and set afresh by every
// CompileFile call, and the log routines that report through the caller's
// callback. One compile at a time; the state is not protected.

#include "inistore.h"
#include "wharfforge.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wharf {

struct RunContext {
    std::string ProjectFile;
    std::string AppDir;   // without trailing separator
    std::string TempDir;  // AppDir + "Temp"
    CompileCallback Callback = nullptr;
    bool WriteLog = false;
    std::string WorkDir;  // base of the project's relative paths
    std::string OutputDir;
    bool StopRequested = false;
    bool ErrorLine = false;
    bool ValidationFailed = false;
    uint16_t Percent = 0;
    uint16_t ProgressBase = 0;
    uint16_t ProgressSpan = 0;
    std::vector<std::string> LogLines;
    std::unique_ptr<TMemIniStore> Project;
    std::vector<std::string> SupportFiles;
    std::vector<std::string> InstTypesList;
    std::vector<std::string> ScratchList;
    std::vector<std::string> PatchSources;
};

// The library's one run context.
RunContext &CurrentRun();

// Collects text in the log when WriteLog is set and sends it to the
// callback (kind 1 when an error line is pending, else 0, with Percent);
// the callback's answer replaces StopRequested. Clears the error mark.
void LogMessage(const std::string &text);

// LogMessage("ERROR: " + text) as an error line.
void LogError(const std::string &text);

// Sends a kind-2 line (empty text, the given percentage) straight to the
// callback; its answer replaces StopRequested. Nothing goes into the log.
void LogMinorProgress(uint16_t percent);

// Saves LogLines, one per CR LF line, as AppDir + "wharfforge.log".
void SaveLog();

} // namespace wharf
