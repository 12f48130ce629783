#pragma once
// The editor's command line: an optional project file, and a second
// argument "-c" or "/c" (any case) that compiles that project and ends the
// program. Only exactly two arguments can compile; a project followed by any
// other second argument, or by more arguments without the switch, is only
// opened. A switch anywhere else, or after an empty project name, is a
// mistake that ends the program before any window opens, as does "--help"
// or "--version" anywhere (which print and end without one).

#include <QString>
#include <QStringList>

namespace wharf {

enum class EditorStart {
    Window,       // open the project (or a new one) in the main window
    BatchCompile, // compile the project without a window and end
    Help,         // print the usage and end
    Version,      // print the version and end
    Malformed,    // print what is wrong and the usage line, end with status 2
};

struct EditorCommandLine {
    EditorStart start = EditorStart::Window;
    QString project; // the first argument; empty when there is none
    QString problem; // Malformed: what is wrong, for the error output
    bool batchCompile() const { return start == EditorStart::BatchCompile; }
};

// arguments: the command line without the program's own name.
EditorCommandLine parseEditorCommandLine(const QStringList &arguments);

// The usage line that a malformed command line prints.
QString editorUsageLine();
// What "--help" prints: the forms of the command line, the batch compile's
// exit statuses and where the help file lies (programFolder ends with "/").
QString editorHelpText(const QString &programFolder);
// What "--version" prints.
QString editorVersionText();

} // namespace wharf
