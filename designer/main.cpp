// wharfdraft: the dialog designer.
//
//   wharfdraft [DIALOG.ddf]
//
// The dialog file, when given, opens at once. "--help" (or "-h") and
// "--version" print and end with status 0; a malformed command line and a
// display that is missing or does not answer end with status 2.

#include "application.h"
#include "displaycheck.h"
#include "designer.h"
#include "designercommandline.h"
#include "programfolder.h"
#include "userdirs.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char **argv)
{
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const wharf::DesignerCommandLine line = wharf::parseDesignerCommandLine(wharf::withoutQtOptions(rawArguments));
    switch (line.start) {
    case wharf::DesignerStart::Help: {
        const QCoreApplication core(argc, argv);
        print(stdout, wharf::designerHelpText(wharf::programFolder()));
        return 0;
    }
    case wharf::DesignerStart::Version:
        print(stdout, wharf::designerVersionText());
        return 0;
    case wharf::DesignerStart::Malformed:
        print(stderr, QStringLiteral("wharfdraft: ") + line.problem + u'\n' + wharf::designerUsageLine() + u'\n');
        return 2;
    case wharf::DesignerStart::Window:
        break;
    }
    if (const QString problem = wharf::missingDisplayProblem(argc, argv); !problem.isEmpty()) {
        print(stderr, QStringLiteral("wharfdraft: ") + problem + QStringLiteral(".\n"));
        return 2;
    }
    if (const std::string problem = wharf::runtimeFolderProblem(); !problem.empty())
        print(stderr, QStringLiteral("wharfdraft: ") + QString::fromStdString(problem) + u'\n');

    wharf::WharfApplication app(argc, argv);
    app.setTitle(QStringLiteral("Dialog Designer"));
    wharf::TDesigner designer(wharf::standardSeams(), wharf::programFolder());
    designer.start(line.dialogFile.isEmpty() ? QStringList() : QStringList{line.dialogFile});
    return app.exec();
}
