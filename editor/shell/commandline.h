#pragma once
// The editor's command line: an optional project file, and a second
// argument "-c" or "/c" (any case) that compiles that project and ends the
// program. Only exactly two arguments can compile; a third argument, or any
// other second argument, leaves the project only opened.

#include <QString>
#include <QStringList>

namespace wharf {

struct EditorCommandLine {
    QString project;           // the first argument; empty when there is none
    bool batchCompile = false; // compile the project and end the program
};

// arguments: the command line without the program's own name.
EditorCommandLine parseEditorCommandLine(const QStringList &arguments);

} // namespace wharf
