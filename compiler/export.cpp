// The library's only exported symbol.

#include "wharfforge.h"

#include "filetools.h"
#include "paths.h"
#include "pipeline.h"
#include "runcontext.h"

extern "C" __attribute__((visibility("default"))) bool CompileFile(const char *projectFile, const char *appDir,
                                                                   CompileCallback callback, bool writeLog)
{
    using namespace wharf;
    RunContext &run = CurrentRun();
    run = RunContext{};
    run.ProjectFile = projectFile ? projectFile : "";
    run.AppDir = appDir ? appDir : "";
    run.TempDir = joinPath(run.AppDir, "Temp");
    run.Callback = callback;
    run.WriteLog = writeLog;
    run.WorkDir = run.AppDir;

    CompileProject();

    const bool stopped = run.StopRequested;
    // A stop answered to a validation line comes before the compile has
    // touched either folder, and the problem reported may be that the
    // output folder holds the author's own files: nothing is deleted then.
    if (stopped && !run.ValidationFailed) {
        if (!run.OutputDir.empty())
            ClearDirectory(run.OutputDir, false, false);
        ClearDirectory(run.TempDir, false, true);
    }
    run.Project.reset();
    return stopped;
}
