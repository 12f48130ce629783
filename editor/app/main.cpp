// The setup project editor Wharfwright.
//
//   wharfwright [PROJECT.wfp [-c]]
//
// With a project and "-c" (or "/c") the project is compiled without a
// window and the program ends: with status 0 after a compile without error
// lines, 1 when the compile reported an error, 2 when the project could not
// be opened or the command line is malformed, 3 when another compile holds
// the output folder. A compile stopped by SIGTERM, SIGINT or SIGHUP ends the
// program by that signal once it has cleared up. "--help" and "--version"
// print and end with status 0.

#include "application.h"
#include "displaycheck.h"
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

} // namespace

int main(int argc, char **argv)
{
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const wharf::EditorCommandLine line = wharf::parseEditorCommandLine(wharf::withoutQtOptions(rawArguments));
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

    if (const std::string problem = wharf::runtimeFolderProblem(); !problem.empty())
        print(stderr, QStringLiteral("wharfwright: ") + QString::fromStdString(problem) + u'\n');
    const bool batch = line.batchCompile();
    if (batch) {
        qInstallMessageHandler(&quietQtMessage);
        wharf::noteStopSignals();
    }
    std::optional<wharf::WharfApplication> application;
    {
        // The batch compile shows no window, so it needs no display: Qt's
        // offscreen platform serves it. Only while the application object
        // is made, so that the programs a compile starts (the project's
        // batch step) get the environment as it was.
        std::optional<wharf::TemporaryVariable> platform;
        if (batch)
            platform.emplace("QT_QPA_PLATFORM", "offscreen");
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
