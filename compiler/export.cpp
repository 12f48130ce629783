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
    try {
        run.Temp.reset();
    } catch (...) {
    }
    run.Project.reset();
    return run.StopRequested;
}
