// The library's only exported symbol.

#include "wharfforge.h"

#include "pipeline.h"
#include "runcontext.h"

#include <exception>

namespace {

// Reports what ended the compile; nothing here may raise again.
void reportFailure(const char *what) noexcept
{
    try {
        wharf::LogError(std::string("The compile failed: ") + what);
    } catch (...) {
    }
}

} // namespace

extern "C" __attribute__((visibility("default"))) bool CompileFile(const char *projectFile, const char *appDir,
                                                                   CompileCallback callback, bool writeLog)
{
    using namespace wharf;
    // The run context belongs to the call that runs: a call from inside its
    // callback or from another thread is refused and changes nothing.
    const RunClaim claim;
    if (!claim.held()) {
        if (callback) {
            try {
                callback("ERROR: A compile is already running in this process; the library runs one compile at a "
                         "time!",
                         1, 0);
            } catch (...) {
            }
        }
        return false;
    }
    RunContext &run = CurrentRun();
    try {
        run = RunContext{};
        run.ProjectFile = projectFile ? projectFile : "";
        run.AppDir = appDir ? appDir : "";
        run.Callback = callback;
        run.WriteLog = writeLog;
        run.WorkDir = run.AppDir;
        CompileProject();
    } catch (const std::exception &e) {
        reportFailure(e.what());
    } catch (...) {
        reportFailure("an unknown error");
    }
    // A compile that ended on a stop leaves none of its own files in the
    // output folder; the author's files are never among them.
    try {
        if (run.Terminated && run.OutputTouched && !run.Closing)
            ClearCompileOutput(false);
    } catch (...) {
    }
    // A compile that ended early still leaves its own log, so that the log
    // never shows an earlier compile's result. (The normal end has saved it
    // before its closing lines.)
    try {
        if (run.WriteLog)
            SaveLog();
    } catch (...) {
    }
    run.Output.reset();
    try {
        run.Temp.reset();
    } catch (...) {
    }
    run.Project.reset();
    return run.StopRequested;
}
