// The setup project editor Wharfwright.
//
//   wharfwright [PROJECT.wfp [-c]]
//
// With a project and "-c" (or "/c") the project is compiled and the program
// ends: with status 0 after a compile without error lines, 1 when the
// compile reported an error or was stopped, 2 when the project could not be
// opened.

#include "application.h"
#include "batchseams.h"
#include "commandline.h"
#include "editorenvironment.h"
#include "editorresources.h"
#include "editorwindows.h"
#include "mainform.h"
#include "programfolder.h"
#include "programstart.h"
#include "startform.h"
#include "wharfforge.h"

#include <QStringList>

#include <memory>

int main(int argc, char **argv)
{
    wharf::WharfApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Wharfwright"));
    app.setTitle(QStringLiteral("Brindlewharf Professional"));
    app.setWindowIcon(wharf::programIcon());

    wharf::EditorEnvironment environment;
    for (int i = 1; i < argc; ++i)
        environment.arguments << QString::fromLocal8Bit(argv[i]);
    environment.programFolder = wharf::programFolder();
    environment.winePath = wharf::findWine();
    environment.compileFile = &CompileFile;
    if (wharf::parseEditorCommandLine(environment.arguments).batchCompile) {
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
    return app.exec();
}
