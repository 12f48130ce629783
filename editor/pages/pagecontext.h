#pragma once
// What a page of the main window may use of the editor around it: the open
// project through its controller, the seams, the shell's values, the other
// windows of the editor and a few services of the main window. The main
// window implements it; tests may implement it with fakes.

#include "editorenvironment.h"

#include <QString>

class QWidget;

namespace wharf {

class ProjectController;
struct EditorWindows;
struct ShellState;

class PageContext {
public:
    virtual ~PageContext() = default;

    // The open project: document(), SetModified, ProjectFolder, the file
    // commands.
    virtual ProjectController &controller() = 0;
    virtual const Seams &seams() const = 0;
    virtual ShellState &shell() = 0;
    // The windows created once at start; a window not created (yet) is null.
    virtual EditorWindows &windows() = 0;
    // The main window, as the owner of message boxes and dialogs.
    virtual QWidget *mainWindow() = 0;
    virtual const EditorEnvironment &environment() const = 0;
    // True while the command line's compile runs: nothing may ask.
    virtual bool batchMode() const = 0;
    // Shows or hides a button of a page's header in the navigation bar.
    virtual void setNavigationButtonVisible(int page, int button, bool visible) = 0;
};

} // namespace wharf
