#pragma once
// The state of one compile, kept library-wide and set afresh by every
// CompileFile call, and the log routines that report through the caller's
// callback. One compile at a time per process: RunClaim keeps a second
// call out while one runs.

#include "files.h"
#include "filetools.h"
#include "inistore.h"
#include "wharfforge.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace wharf {

struct RunContext {
    std::string ProjectFile;
    std::string AppDir;   // without trailing separator; only read
    std::string TempDir;  // the path of Temp, once it exists
    // This compile's own scratch folder (owner-only, under the user's
    // runtime folder); removed with everything in it when reset.
    std::unique_ptr<ScratchFolder> Temp;
    // The output folder, opened once and locked from before it is cleared
    // until the compile has ended: every file the compile clears or writes
    // there goes through it, and a second compile into it is refused.
    std::unique_ptr<FolderHandle> Output;
    CompileCallback Callback = nullptr;
    bool WriteLog = false;
    std::string WorkDir;  // base of the project's relative paths
    std::string OutputDir;
    bool StopRequested = false; // the last answer of the callback was "stop"
    bool StopSeen = false;      // some answer was "stop"; acted on at the next safe point
    bool Terminated = false;    // the compile ended on a stop
    bool Closing = false;       // the closing lines are out: answers change nothing now
    bool OutputTouched = false; // the compile has begun to clear or write the output folder
    bool ErrorLine = false;
    size_t ErrorCount = 0; // error lines sent so far
    bool ValidationFailed = false;
    uint16_t Percent = 0;
    uint16_t ProgressBase = 0;
    uint16_t ProgressSpan = 0;
    std::vector<std::string> LogLines;
    std::unique_ptr<TMemIniStore> Project;
    int OutputType = 0;
    bool CreateAutorun = false; // the project asks for "autorun.inf" and "autorun.ico"
    bool NeedsRegServer = false; // some file is registered after a reboot
    std::vector<std::string> SupportFiles;
    std::vector<std::string> InstTypesList;
    std::vector<std::string> ScratchList;
    std::vector<std::string> PatchSources;
    // File names the compile writes into the output folder besides
    // "setup.exe", the autorun files and the volumes: the package name and
    // the additional files.
    std::unordered_set<std::string> OutputNames;
    // The state of each file the archives read from the author's folders,
    // by path, as validation found it: "data.csf" gives these sizes, and a
    // file stored otherwise has changed while it was compiled.
    std::map<std::string, FileState> Checked;
};

// The library's one run context.
RunContext &CurrentRun();

// The claim of one CompileFile call on the run context, for as long as the
// object lives. A second claim while one is held (made from inside the
// callback, or on another thread) is not held, and the run context must then
// be left alone.
class RunClaim {
public:
    RunClaim();
    ~RunClaim();
    RunClaim(const RunClaim &) = delete;
    RunClaim &operator=(const RunClaim &) = delete;

    bool held() const { return m_held; }

private:
    bool m_held;
};

// The folder where the compile that runs keeps its scratch files: its Temp,
// while that exists. Empty outside a compile, which leaves a writer's
// scratch files to ScratchFolder's default place.
std::string RunScratchFolder();

// Collects text in the log when WriteLog is set and sends it to the
// callback (kind 1 when an error line is pending, else 0, with Percent).
// Until the closing lines, the answer replaces StopRequested and a "stop"
// also sets StopSeen. Clears the error mark.
void LogMessage(const std::string &text);

// LogMessage("ERROR: " + text) as an error line.
void LogError(const std::string &text);

// Sends a kind-2 line (empty text, the given percentage) straight to the
// callback; its answer counts as LogMessage's does. Nothing goes into the log.
void LogMinorProgress(uint16_t percent);

// Asks the callback whether to go on, without a line to show: a kind-2
// report of 0 %. Used after a step that may run long without a line (the
// batch step), so that a stop asked for meanwhile is taken.
void AskToGoOn();

// The file the log is saved as: "wharfforge.log" in the user's state
// folder. Throws std::runtime_error naming the folder and the reason when
// that folder can't be made.
std::string LogFilePath();

// Saves LogLines, one per CR LF line, as LogFilePath(). The file is
// replaced as a whole, so two compiles that end at once leave one whole log.
// A failure is reported as an error line naming the path and the reason,
// and the result is then false.
bool SaveLog();

} // namespace wharf
