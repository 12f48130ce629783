#pragma once
// The editor-wide values the shell keeps for the whole run and that pages
// and entry dialogs read. One instance, owned by the main window.

#include "inistore.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace wharf {

struct ShellState {
    // The main window's caption right after creation; the title of an open
    // project is built from it.
    QString BaseCaption;
    // The variables palette is switched on; entry dialogs show it beside
    // themselves while it is.
    bool VariablesShown = false;
    // Show the compile warning before a compile ("the output folder will be
    // cleared"); on until the settings say otherwise, so a new user sees it.
    // A batch compile never shows it.
    bool ShowCompileWarning = true;
    // The author pressed the compile window's cancel button during the
    // current compile; reset when a compile starts.
    bool CompileCancelled = false;
    // Full paths of the system's own files, for the version window.
    QStringList OwnFileList;
    // The command lines of the Tools items, index i for the i-th item.
    QStringList ToolCommands;
    // "extens.ini" of the program folder (an empty store when it is
    // missing), read by the file entry dialogs.
    std::unique_ptr<TMemIniStore> ExtensionDefaults;
};

} // namespace wharf
