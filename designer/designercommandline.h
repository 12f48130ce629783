#pragma once
// The designer's command line: at most one dialog file, which opens at once
// (the editor starts the designer with one). "--help" (or "-h") and
// "--version" anywhere print and end the program without a window; any
// other option, an empty file name or a second file is a mistake that ends
// the program before any window opens. Qt's own options are taken out
// before (withoutQtOptions).

#include <QString>
#include <QStringList>

namespace wharf {

enum class DesignerStart {
    Window,    // open the dialog file (or a new dialog) in the main window
    Help,      // print the usage and end
    Version,   // print the version and end
    Malformed, // print what is wrong and the usage line, end with status 2
};

struct DesignerCommandLine {
    DesignerStart start = DesignerStart::Window;
    QString dialogFile; // Window: the file to open; empty for a new dialog
    QString problem;    // Malformed: what is wrong, for the error output
};

// arguments: the command line without the program's own name and without
// Qt's options.
DesignerCommandLine parseDesignerCommandLine(const QStringList &arguments);

// The usage line that a malformed command line prints.
QString designerUsageLine();
// What "--help" prints: the command line, the exit statuses and where the
// help file lies (programFolder ends with "/").
QString designerHelpText(const QString &programFolder);
// What "--version" prints.
QString designerVersionText();

} // namespace wharf
