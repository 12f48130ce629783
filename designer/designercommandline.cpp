#include "designercommandline.h"

namespace wharf {
namespace {

DesignerCommandLine malformed(const QString &problem)
{
    DesignerCommandLine line;
    line.start = DesignerStart::Malformed;
    line.problem = problem;
    return line;
}

bool isOption(const QString &argument) { return argument.size() > 1 && argument.startsWith(u'-'); }

} // namespace

DesignerCommandLine parseDesignerCommandLine(const QStringList &arguments)
{
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h")))
        return {DesignerStart::Help, {}, {}};
    if (arguments.contains(QStringLiteral("--version")))
        return {DesignerStart::Version, {}, {}};
    for (const QString &argument : arguments)
        if (isOption(argument))
            return malformed(QStringLiteral("unknown option %1").arg(argument));
    if (arguments.size() > 1)
        return malformed(QStringLiteral("one dialog file opens at a time, not %1").arg(arguments.size()));
    DesignerCommandLine line;
    if (!arguments.isEmpty()) {
        if (arguments.front().isEmpty())
            return malformed(QStringLiteral("the dialog file's name is empty"));
        line.dialogFile = arguments.front();
    }
    return line;
}

QString designerUsageLine()
{
    return QStringLiteral("Usage: wharfdraft [DIALOG.ddf] | wharfdraft --help | wharfdraft --version");
}

QString designerHelpText(const QString &programFolder)
{
    return QStringLiteral(
               "Usage: wharfdraft [DIALOG.ddf]\n"
               "\n"
               "Opens DIALOG.ddf (or a new dialog) in the dialog designer. The designer\n"
               "needs a display; without one that answers it ends with status 2, as it\n"
               "does when the command line is malformed.\n"
               "\n"
               "  --help     print this text\n"
               "  --version  print the version\n"
               "\n"
               "Help: %1Wharfdraft.html\n")
        .arg(programFolder);
}

QString designerVersionText()
{
    return QStringLiteral("wharfdraft (Brindlewharf Professional) " WHARF_VERSION "\n");
}

} // namespace wharf
