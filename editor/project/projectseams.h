#pragma once
// What the project controller needs from the window around it: message and
// question boxes, the project file dialogs, the progress display with the
// busy window, the recent-files list, and the places that show the modified
// mark and the title. The editor shell implements them with widgets; tests
// implement them with fakes.

#include <optional>
#include <string>

namespace wharf {

enum class MessageKind { Error, Warning, Information, Confirmation };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class ProjectPrompts {
public:
    virtual ~ProjectPrompts() = default;

    // Shows text in a message box of that kind with those buttons and
    // returns the button pressed (closing the box counts as Cancel, or as No
    // where there is no Cancel).
    virtual MessageAnswer showMessage(MessageKind kind, MessageButtons buttons, const std::string &text) = 0;

    // The open dialog for project files (extension "wfp", filter
    // "Brindlewharf files (*.wfp)|*.wfp", the file must exist): the chosen
    // file, or nullopt when the author cancels.
    virtual std::optional<std::string> chooseProjectToOpen() = 0;

    // The save dialog for project files (same extension and filter; asks
    // before overwriting): the chosen file, or nullopt when cancelled.
    virtual std::optional<std::string> chooseProjectToSave() = 0;
};

enum class BusyKind { Reading, Writing };

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;

    // The progress bar at percent (0 to 100) and the percentage panel's text
    // ("OK" at 0, else the percentage followed by "%"), repainted at once.
    virtual void showProgress(int percent, const std::string &panelText) = 0;

    // The busy window with its caption ("Reading script file..." or
    // "Saving script file...") and animation; hideBusy takes it away.
    virtual void showBusy(BusyKind kind, const std::string &caption) = 0;
    virtual void hideBusy() = 0;

    // Lets the window handle pending events before a long step.
    virtual void processMessages() {}
};

class RecentFileList {
public:
    virtual ~RecentFileList() = default;
    virtual void AddRecentFile(const std::string &fileName) = 0;
};

// Told about changes of the project's state; every call has a default that
// does nothing.
class ProjectStateListener {
public:
    virtual ~ProjectStateListener() = default;
    // The modified mark changed: the Save command is enabled exactly when
    // modified, and the status panel shows modifiedText (empty when clear).
    virtual void modifiedChanged(bool /*modified*/, const std::string & /*modifiedText*/) {}
    // The main window's title changed.
    virtual void titleChanged(const std::string & /*title*/) {}
    // The document was replaced or changed by a read or a save (a save
    // rewrites relative sources): views reload it.
    virtual void documentReplaced() {}
    // The project was written to fileName (never the compile's scratch
    // copy); told before documentReplaced.
    virtual void projectSaved(const std::string & /*fileName*/) {}
};

} // namespace wharf
