// The setup project editor Wharfwright.
//
//   wharfwright [PROJECT.wfp [-c]]
//
// With a project and "-c" (or "/c") the project is compiled without a
// window and the program ends: with status 0 after a compile without error
// lines, 1 when the compile reported an error or was stopped, 2 when the
// project could not be opened or the command line is malformed. A compile
// stopped by SIGTERM, SIGINT or SIGHUP ends the program by that signal once
// it has cleared up. "--help" and "--version" print and end with status 0.

#include "application.h"
#include "files.h"
#include "batchseams.h"
#include "commandline.h"
#include "editorenvironment.h"
#include "editorresources.h"
#include "editorwindows.h"
#include "mainform.h"
#include "programfolder.h"
#include "programstart.h"
#include "startform.h"
#include "stopsignals.h"
#include "userdirs.h"
#include "wharfforge.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

// A batch compile prints only its own lines: Qt's notes about the platform
// and the environment are no concern of whoever reads the compile's output.
void quietQtMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg)
        print(stderr, QStringLiteral("ERROR: ") + text + u'\n');
}

// Sets an environment variable for the life of the object, then puts back
// what was there.
class TemporaryVariable {
public:
    TemporaryVariable(const char *name, const QByteArray &value)
        : m_name(name), m_saved(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        qputenv(name, value);
    }
    ~TemporaryVariable()
    {
        if (m_saved)
            qputenv(m_name, *m_saved);
        else
            qunsetenv(m_name);
    }
    TemporaryVariable(const TemporaryVariable &) = delete;
    TemporaryVariable &operator=(const TemporaryVariable &) = delete;

private:
    const char *m_name;
    std::optional<QByteArray> m_saved;
};

// The batch compile shows no window, so it needs no display: Qt's offscreen
// platform serves it. Qt's start-up also wants a runtime folder, and makes
// one in /tmp when XDG_RUNTIME_DIR is not set (cron, ssh, containers); it
// gets a private folder of this run instead. Both hold while the
// application object is made, so that the programs a compile starts (the
// project's batch step) get the environment as it was.
class BatchStartUp {
public:
    BatchStartUp() : m_platform("QT_QPA_PLATFORM", "offscreen")
    {
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return;
        try {
            m_runtimeFolder.emplace(wharf::userRuntimeFolder(), "wharfwright");
            m_runtime.emplace("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_runtimeFolder->path()));
        } catch (const std::exception &) {
            // The compile reports a runtime folder that can't be made.
        }
    }

private:
    TemporaryVariable m_platform;
    std::optional<wharf::ScratchFolder> m_runtimeFolder;
    std::optional<TemporaryVariable> m_runtime;
};

} // namespace

int main(int argc, char **argv)
{
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const wharf::EditorCommandLine line = wharf::parseEditorCommandLine(rawArguments);
    switch (line.start) {
    case wharf::EditorStart::Help: {
        const QCoreApplication core(argc, argv);
        print(stdout, wharf::editorHelpText(wharf::programFolder()));
        return 0;
    }
    case wharf::EditorStart::Version:
        print(stdout, wharf::editorVersionText());
        return 0;
    case wharf::EditorStart::Malformed:
        print(stderr, QStringLiteral("wharfwright: ") + line.problem + u'\n' + wharf::editorUsageLine() + u'\n');
        return 2;
    case wharf::EditorStart::Window:
        if (const QString problem = wharf::missingDisplayProblem(argc, argv); !problem.isEmpty()) {
            print(stderr, QStringLiteral("wharfwright: ") + problem +
                              QStringLiteral(".\nA project compiles without one: wharfwright PROJECT.wfp -c\n"));
            return 2;
        }
        break;
    case wharf::EditorStart::BatchCompile:
        break;
    }

    const bool batch = line.batchCompile();
    if (batch) {
        qInstallMessageHandler(&quietQtMessage);
        wharf::noteStopSignals();
    }
    std::optional<wharf::WharfApplication> application;
    {
        const std::optional<BatchStartUp> startUp = batch ? std::optional<BatchStartUp>(std::in_place) : std::nullopt;
        application.emplace(argc, argv);
    }
    wharf::WharfApplication &app = *application;
    app.setApplicationName(QStringLiteral("Wharfwright"));
    app.setTitle(QStringLiteral("Brindlewharf Professional"));
    app.setWindowIcon(wharf::programIcon());

    wharf::EditorEnvironment environment;
    // Qt has taken its own options (such as "-style") out of the arguments.
    for (int i = 1; i < argc; ++i)
        environment.arguments << QString::fromLocal8Bit(argv[i]);
    environment.programFolder = wharf::programFolder();
    environment.winePath = wharf::findWine();
    environment.compileFile = &CompileFile;
    if (batch) {
        environment.seams = &wharf::batchSeams();
        app.setSeams(wharf::batchSeams());
    }

    auto splash = std::make_unique<wharf::TStartForm>();
    splash->show();
    splash->repaint();
    wharf::EditorWindows windows;
    wharf::createEditorWindows(windows, environment, [&splash](int percent) { splash->setProgress(percent); });
    splash.reset();
    windows.MainForm->show();
    const int status = app.exec();
    // The compile has cleared up after itself; now the signal may end us.
    wharf::endByStopSignal();
    return status;
}
