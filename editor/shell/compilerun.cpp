#include "compilerun.h"

#include "files.h"
#include "inistore.h"
#include "paths.h"
#include "projectcontroller.h"

#include <stdexcept>
#include <string>

namespace wharf {
namespace {

// The library's callback carries no context, so the run it reports to is
// kept here for the duration of the call.
struct ActiveRun {
    CompileListener *listener = nullptr;
    bool errorLine = false;
};
ActiveRun *g_activeRun = nullptr;

bool onCompileMessage(const char *text, uint16_t kind, uint16_t percent) noexcept
{
    ActiveRun *run = g_activeRun;
    if (!run || !run->listener)
        return true;
    if (kind == 1)
        run->errorLine = true;
    // Nothing may unwind into the library: every step swallows what it
    // throws, and the answer is the go-on taken before the line is shown.
    try {
        run->listener->processMessages();
    } catch (...) {
    }
    bool goOn = true;
    try {
        goOn = run->listener->goOn();
    } catch (...) {
    }
    try {
        run->listener->compileMessage(QString::fromUtf8(text ? text : ""), kind, percent);
    } catch (...) {
    }
    return goOn;
}

// Removes the scratch copy however the run ends, and ends the run.
class RunScope {
public:
    RunScope(ActiveRun &run, std::string scratch) : m_scratch(std::move(scratch))
    {
        if (g_activeRun)
            throw std::logic_error("A compile is already running.");
        g_activeRun = &run;
    }
    ~RunScope()
    {
        g_activeRun = nullptr;
        deleteFile(m_scratch);
    }
    RunScope(const RunScope &) = delete;
    RunScope &operator=(const RunScope &) = delete;

private:
    std::string m_scratch;
};

void writeScratchCopy(ProjectController &project, const std::string &scratch)
{
    if (project.ProjectModified()) {
        project.SaveProject(scratch);
        return;
    }
    // An unmodified project compiles as it was saved. A copy that fails
    // leaves no scratch file, which the compiler then reports as missing.
    deleteFile(scratch);
    copyFile(project.ProjectFileName(), scratch);
}

} // namespace

QString compileScratchPath(const QString &programFolder)
{
    return QString::fromStdString(joinPath(programFolder.toStdString(), "wftemp.tmp"));
}

QString compileWorkFolder(const ProjectController &project, const QString &programFolder)
{
    const std::string &folder = project.ProjectFolder();
    return QString::fromStdString(includeTrailingSeparator(folder.empty() ? programFolder.toStdString() : folder));
}

CompileOutcome runProjectCompile(ProjectController &project, const EditorEnvironment &environment,
                                 CompileListener &listener, const std::function<void()> &beforeCall)
{
    if (!environment.compileFile)
        throw std::runtime_error("The compiler library is not available.");
    const std::string scratch = toNativePath(compileScratchPath(environment.programFolder).toStdString());
    ActiveRun run{&listener};
    RunScope scope(run, scratch);

    writeScratchCopy(project, scratch);
    if (fileExists(scratch)) {
        TMemIniStore ini(scratch);
        ini.WriteString("Temporary", "WorkDir",
                        compileWorkFolder(project, environment.programFolder).toStdString());
        ini.UpdateFile();
    }
    if (beforeCall)
        beforeCall();

    const std::string appDir = excludeTrailingSeparator(environment.programFolder.toStdString());
    CompileOutcome outcome;
    outcome.stopped = environment.compileFile(scratch.c_str(), appDir.c_str(), &onCompileMessage, true);
    outcome.errorLine = run.errorLine;
    return outcome;
}

} // namespace wharf
