#include "testrun.h"

#include "debugresults.h"
#include "files.h"
#include "mainform.h"
#include "process.h"
#include "startfailure.h"
#include "userdirs.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cerrno>

#include <optional>

namespace wharf {
namespace {

// Shows the main window again and ends the run however the run ends.
class RunGuard {
public:
    RunGuard(Tfrm_Main &main, bool &running) : m_main(main), m_running(running)
    {
        m_running = true;
        m_main.hide();
    }
    ~RunGuard()
    {
        showAgain();
        m_running = false;
    }
    RunGuard(const RunGuard &) = delete;
    RunGuard &operator=(const RunGuard &) = delete;

    void showAgain()
    {
        if (!m_shown) {
            m_shown = true;
            m_main.show();
        }
    }

private:
    Tfrm_Main &m_main;
    bool &m_running;
    bool m_shown = false;
};

} // namespace

QString runtimeStartFailureText(const QString &runtime, int systemError)
{
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    const QString reason =
        programStartFailure(runtime, isWindowsExecutable(runtime.toStdString()), wine, systemError);
    return QStringLiteral("%1\n\n%2\n%3")
        .arg(QString::fromUtf8(kMsgNoDebugStart.data(), static_cast<qsizetype>(kMsgNoDebugStart.size())), runtime,
             reason);
}

bool RunProgram(const QString &program, const QStringList &arguments)
{
    std::vector<std::string> args;
    for (const QString &a : arguments)
        args.push_back(a.toStdString());
    return runWindowsProgram(program.toStdString(), args, [] { QCoreApplication::processEvents(); });
}

TTestRun::TTestRun(Tfrm_Main &main, Tfrm_DebugResults &results, const Seams &seams, Runner runner)
    : m_main(main), m_results(results), m_seams(seams), m_runner(std::move(runner))
{
}

QString TTestRun::runtimePath() const
{
    return m_main.programFolder() + QStringLiteral("setup.bin");
}

QStringList TTestRun::runtimeArguments() const
{
    const QString &debug = m_results.debugFolder();
    return {QStringLiteral("-d"), m_results.dialogScratchFile(), debug, debug};
}

void TTestRun::MI_DebugClick()
{
    // The events processed while the runtime runs must not start another run.
    if (m_running)
        return;
    RunGuard guard(m_main, m_running);
    std::optional<ScratchFolder> folder;
    try {
        const std::string parent =
            m_runtimeFolder.isEmpty() ? userRuntimeFolder() : m_runtimeFolder.toStdString();
        folder.emplace(parent, "wharfdraft");
        m_results.setDebugFolder(QString::fromStdString(folder->path()));
        m_main.SaveDialogFile(m_results.dialogScratchFile(), TSaveMode::Scratch);
    } catch (const std::exception &e) {
        m_results.setDebugFolder({});
        guard.showAgain();
        showError(m_seams, &m_main, QString::fromUtf8(e.what()));
        return;
    }
    // The folder goes with whatever the runtime left in it, however the run
    // ends; the results window no longer points there.
    struct ForgetFolder {
        Tfrm_DebugResults &results;
        ~ForgetFolder() { results.setDebugFolder({}); }
    } forget{m_results};
    errno = 0;
    const bool started = m_runner(runtimePath(), runtimeArguments());
    const int error = errno;
    guard.showAgain();
    if (!started)
        showError(m_seams, &m_main, runtimeStartFailureText(runtimePath(), error));
    m_results.ShowModal();
}

} // namespace wharf
