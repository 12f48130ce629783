#pragma once
// What the program hands the editor's windows when it starts them: the
// program folder, the command line, where settings live, the compiler's
// entry point and the seams. Tests build one with a scratch program folder,
// a fake compile function and fake seams.

#include "seams.h"
#include "wharfforge.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace wharf {

// The signature of the compiler library's CompileFile.
using CompileFileFunction = std::function<bool(const char *projectFile, const char *appDir,
                                               CompileCallback callback, bool writeLog)>;

struct EditorEnvironment {
    // The folder of the running program, ending with "/": data files, help
    // files and the runtime stubs live there. It is only ever read.
    QString programFolder;
    // The command line without the program's own name.
    QStringList arguments;
    // Where the settings files are; empty for the user's configuration
    // folder.
    QString settingsFolder;
    // Where the save dialog of a project that has no file yet opens, until
    // a project was saved; empty for the user's documents folder.
    QString documentsFolder;
    // Where each compile makes its private scratch folder; empty for the
    // user's runtime folder (userRuntimeFolder()).
    QString runtimeFolder;
    // The wine program that starts Windows programs; empty when there is none.
    QString winePath;
    // The compiler library's CompileFile; empty where no compile can run.
    CompileFileFunction compileFile;
    // Message boxes, dialogs and process starts; must outlive the windows.
    const Seams *seams = &standardSeams();
    // Ends the program with an exit status once the event loop runs; empty
    // for QCoreApplication::exit through the event loop.
    std::function<void(int)> terminate;
    // Where a batch compile prints a line (error lines with error set);
    // empty for the standard output and the standard error.
    std::function<void(const QString &line, bool error)> batchOutput;
};

} // namespace wharf
