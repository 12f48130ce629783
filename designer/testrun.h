#pragma once
// File > Test & Debug: the dialog is saved as "dbg.tmp" in a private folder
// of that run (mode 0700, under the user's runtime folder, removed with its
// contents afterwards) and the setup runtime "setup.bin" of the program
// folder tests it in its debug mode, while the main window is hidden and the
// designer goes on processing its events; then the debug results window
// shows the variable values the runtime reported. The program folder is
// only read, and two runs (of two users, or of two designers) never share
// a folder.

#include "seams.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace wharf {

class Tfrm_DebugResults;
class Tfrm_Main;

inline constexpr std::string_view kMsgNoDebugStart = "Could not start setup in debug mode!";

// The message of a runtime that did not start: "Could not start setup in
// debug mode!", then the runtime's path and the reason (a missing file, no
// runner for Windows programs, the system's reason) on lines of their own.
// systemError is errno as the failed start left it; 0 when not known.
QString runtimeStartFailureText(const QString &runtime, int systemError = 0);

// Starts program with arguments and waits for it to end, processing the
// application's events meanwhile (every 100 ms at the latest). A Windows
// executable runs through wine when it is installed. True when the program
// was started.
bool RunProgram(const QString &program, const QStringList &arguments);

class TTestRun {
public:
    // How the runtime is run; RunProgram unless a test replaces it.
    using Runner = std::function<bool(const QString &program, const QStringList &arguments)>;

    // main, results and seams must outlive the object.
    TTestRun(Tfrm_Main &main, Tfrm_DebugResults &results, const Seams &seams, Runner runner = RunProgram);

    // The runtime and its arguments: "-d", the scratch dialog, the run's
    // folder twice (empty names outside a run).
    QString runtimePath() const;
    QStringList runtimeArguments() const;

    // Where each run makes its private folder; empty (the default) for the
    // user's runtime folder (userRuntimeFolder()).
    void setRuntimeFolder(QString folder) { m_runtimeFolder = std::move(folder); }

    // The whole test run. The main window is shown again when it ends, also
    // after an error; a folder that can't be made or a save that fails is
    // reported (naming the path and the reason) and ends the run.
    void MI_DebugClick();
    bool running() const { return m_running; }

private:
    Tfrm_Main &m_main;
    Tfrm_DebugResults &m_results;
    const Seams &m_seams;
    Runner m_runner;
    QString m_runtimeFolder;
    bool m_running = false;
};

} // namespace wharf
