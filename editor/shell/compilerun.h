#pragma once
// One compile of the open project through the compiler library: the check
// of the output folder, the scratch copy "wftemp.tmp" in a private folder of
// that run, its WorkDir, the call of CompileFile and the callback that hands
// every line to a listener. The compile page and the command line's batch
// compile both run it.

#include "editorenvironment.h"

#include <QString>

#include <functional>
#include <string>

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
    // The compile was refused because another compile holds its output
    // folder: worth trying again once that one has ended.
    bool outputInUse = false;
    // True when the run produced no usable setup.
    bool failed() const { return stopped || errorLine; }
};

// The name of the scratch copy in its run's private folder.
inline constexpr const char *kCompileScratchName = "wftemp.tmp";

// The folder a compile resolves the project's relative paths against: the
// project's folder, or the program folder when the project has none.
QString compileWorkFolder(const ProjectController &project, const QString &programFolder);

// Where a compile's log goes: "wharfforge.log" in the user's state folder
// (userStateFolder()). Throws std::runtime_error, naming the path and the
// reason, when that folder can't be made.
std::string compileLogPath();

// The compiler learns the project's folder from the scratch copy, which is
// Windows-1252 text. Gives the message that refuses a folder whose path holds
// a character Windows-1252 can't hold (naming the folder and the character),
// or an empty text when the folder can be written there.
QString workFolderRefusal(const ProjectController &project, const QString &programFolder);

// A compile clears its output folder, so a folder that holds anything of
// the author's besides the setup must not be one. Gives the message that
// refuses the project's output folder (resolved as the compiler resolves
// it, then with links followed), or an empty text when the folder may be
// used. Refused: no output folder at all, the project's own folder, a
// folder holding the project file at any depth, the home folder, the
// program folder or a folder in it (where a new project that was never
// saved would compile to), and the root of a file system (a mount point
// too).
QString outputFolderRefusal(const ProjectController &project, const QString &programFolder);

// Compiles the open project: refuses a project folder that
// workFolderRefusal refuses and an output folder that outputFolderRefusal
// refuses (std::runtime_error with the message), makes
// a private folder (mode 0700) of this run under environment.runtimeFolder
// (or userRuntimeFolder()), writes the scratch copy "wftemp.tmp" there
// (saved from the document when the project is modified, else a copy of its
// file), sets its [Temporary] WorkDir to the project's folder, runs
// beforeCall (may be empty), then calls environment.compileFile with the
// program folder without its trailing separator, the callback and the
// write-log flag. Once a stop signal was noted (stopSignal()), every answer
// of the callback is "stop". The private folder goes afterwards with its contents,
// also when something raised; what was raised then goes on to the caller.
// A scratch file that can't be made throws std::runtime_error naming the
// path and the system's reason. The project's file name, folder, title and
// modified mark stay as they were. An empty compileFile throws
// std::runtime_error. One run at a time: a second run while one is active
// throws std::logic_error.
CompileOutcome runProjectCompile(ProjectController &project, const EditorEnvironment &environment,
                                 CompileListener &listener, const std::function<void()> &beforeCall = {});

} // namespace wharf
