#include "commandline.h"

#include <algorithm>

namespace wharf {
namespace {

bool isCompileSwitch(const QString &argument)
{
    const QString option = argument.toLower();
    return option == u"-c" || option == u"/c";
}

EditorCommandLine malformed(const QString &problem)
{
    EditorCommandLine line;
    line.start = EditorStart::Malformed;
    line.problem = problem;
    return line;
}

} // namespace

EditorCommandLine parseEditorCommandLine(const QStringList &arguments)
{
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h")))
        return {EditorStart::Help, {}, {}};
    if (arguments.contains(QStringLiteral("--version")))
        return {EditorStart::Version, {}, {}};

    EditorCommandLine line;
    if (!arguments.isEmpty())
        line.project = arguments.front();
    const qsizetype switches = std::count_if(arguments.begin(), arguments.end(), isCompileSwitch);
    if (switches == 0)
        return line;
    // Whoever typed the switch wanted a compile, and a window that waits
    // for somebody would never end on a build machine.
    if (arguments.size() == 2 && isCompileSwitch(arguments.at(1))) {
        if (line.project.isEmpty() || isCompileSwitch(line.project))
            return malformed(QStringLiteral("no project file to compile is given before %1").arg(arguments.at(1)));
        line.start = EditorStart::BatchCompile;
        return line;
    }
    if (arguments.size() == 1)
        return malformed(QStringLiteral("%1 needs the project file to compile before it").arg(arguments.front()));
    if (arguments.size() == 2)
        return malformed(QStringLiteral("the project file comes before %1").arg(arguments.front()));
    return malformed(QStringLiteral("a compile takes the project file and the switch alone, not %1 arguments")
                         .arg(arguments.size()));
}

QString editorUsageLine()
{
    return QStringLiteral("Usage: wharfwright [PROJECT.wfp] | wharfwright PROJECT.wfp -c | wharfwright --help | "
                          "wharfwright --version");
}

QString editorHelpText(const QString &programFolder)
{
    return QStringLiteral(
               "Usage: wharfwright [PROJECT.wfp]\n"
               "       wharfwright PROJECT.wfp -c\n"
               "\n"
               "Without -c, opens PROJECT.wfp (or a new project) in the project editor.\n"
               "With -c (or /c, in any case), compiles PROJECT.wfp into its output folder and\n"
               "ends, without a window and without a display. The compiler's lines go to the\n"
               "standard output, its \"ERROR:\" lines and any other problem to the standard\n"
               "error. SIGTERM, SIGINT or SIGHUP stop the compile, which clears what it wrote\n"
               "and ends the program by that signal.\n"
               "\n"
               "Exit status of a compile:\n"
               "  0  the compile finished without an error line\n"
               "  1  the compile reported an error\n"
               "  2  the project could not be opened, or the command line is malformed\n"
               "  3  another compile holds the output folder; nothing was changed\n"
               "  143, 130, 129  stopped by SIGTERM, SIGINT or SIGHUP\n"
               "\n"
               "  --help     print this text\n"
               "  --version  print the version\n"
               "\n"
               "Help: %1wharfwright.html\n")
        .arg(programFolder);
}

QString editorVersionText()
{
    return QStringLiteral("wharfwright (Brindlewharf Professional) " WHARF_VERSION "\n");
}

} // namespace wharf
