#include "pipeline.h"

#include "files.h"
#include "runcontext.h"

namespace wharf {

void CompileProject()
{
    RunContext &run = CurrentRun();
    run.StopRequested = false;
    run.LogLines.clear();
    run.Percent = 0;

    if (!fileExists(run.ProjectFile)) {
        LogError("Project file " + run.ProjectFile + " not found!");
        return;
    }
    run.Project = std::make_unique<TMemIniStore>(run.ProjectFile);
    run.WorkDir = run.Project->ReadString("Temporary", "WorkDir", run.AppDir);
    // The setup output is produced by the stages built on this entry point;
    // until they are in place a compile says so instead of pretending.
    LogError("This build of the compiler can read projects but cannot build setups yet.");
    run.Project.reset();
}

} // namespace wharf
