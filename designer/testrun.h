#pragma once
// File > Test & Debug: the dialog is saved as "Debug\dbg.tmp" in the
// program folder and the setup runtime "setup.bin" of that folder tests it
// in its debug mode, while the main window is hidden and the designer goes
// on processing its events; then the debug results window shows the
// variable values the runtime reported.

#include "seams.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace wharf {

class Tfrm_DebugResults;
class Tfrm_Main;

inline constexpr std::string_view kMsgNoDebugStart = "Could not start setup in debug mode!";

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

    // The runtime and its arguments: "-d", the scratch dialog, the folder
    // "Debug" twice.
    QString runtimePath() const;
    QStringList runtimeArguments() const;

    // The whole test run. The main window is shown again when it ends, also
    // after an error; a save that fails is reported and ends the run.
    void MI_DebugClick();
    bool running() const { return m_running; }

private:
    Tfrm_Main &m_main;
    Tfrm_DebugResults &m_results;
    const Seams &m_seams;
    Runner m_runner;
    bool m_running = false;
};

} // namespace wharf
