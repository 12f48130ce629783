#pragma once
// One compile of the open project through the compiler library: the
// scratch copy "wftemp.tmp" in the program folder, its WorkDir, the call of
// CompileFile and the callback that hands every line to a listener. The
// compile page and the command line's batch compile both run it.

#include "editorenvironment.h"

#include <QString>

#include <functional>

namespace wharf {

class ProjectController;

// Receives what the compiler reports during a run. Nothing it throws
// reaches the library: the callback swallows it.
class CompileListener {
public:
    virtual ~CompileListener() = default;
    // Runs first for every report; the editor handles its pending events
    // here (this is how the cancel button is heard during a compile).
    virtual void processMessages() {}
    // False once the compile is to stop.
    virtual bool goOn() = 0;
    // A line of kind 0 (message) or 1 (error, "ERROR: " in front), or a
    // kind-2 progress of the file being compressed (text empty).
    virtual void compileMessage(const QString &text, int kind, int percent) = 0;
};

struct CompileOutcome {
    bool stopped = false;   // the library's answer: the callback asked to stop
    bool errorLine = false; // at least one line of kind 1 came
    // True when the run produced no usable setup.
    bool failed() const { return stopped || errorLine; }
};

// The path of the scratch copy: "wftemp.tmp" in programFolder.
QString compileScratchPath(const QString &programFolder);

// The folder a compile resolves the project's relative paths against: the
// project's folder, or the program folder when the project has none.
QString compileWorkFolder(const ProjectController &project, const QString &programFolder);

// Compiles the open project: writes the scratch copy (saved from the
// document when the project is modified, else a copy of its file), sets its
// [Temporary] WorkDir to the project's folder, runs beforeCall (may be
// empty), then calls environment.compileFile with the program folder
// without its trailing separator, the callback and the write-log flag. The
// scratch copy is removed afterwards, also when something raised; what was
// raised then goes on to the caller. The project's file name, folder,
// title and modified mark stay as they were. An empty compileFile throws
// std::runtime_error. One run at a time: a second run while one is active
// throws std::logic_error.
CompileOutcome runProjectCompile(ProjectController &project, const EditorEnvironment &environment,
                                 CompileListener &listener, const std::function<void()> &beforeCall = {});

} // namespace wharf
