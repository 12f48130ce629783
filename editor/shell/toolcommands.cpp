#include "toolcommands.h"

namespace wharf {

void SplitCommandLine(QString &command, QString &params)
{
    params.clear();
    if (command.isEmpty())
        return;
    if (command.contains(u'"')) {
        const qsizetype triple = command.indexOf(QStringLiteral("\" \""));
        if (triple < 0) {
            command.remove(u'"');
            return;
        }
        const qsizetype paramsStart = triple + 2;
        params = command.mid(paramsStart, command.size() - 1 - paramsStart);
        command = command.left(triple + 1);
        command.remove(u'"');
        return;
    }
    const qsizetype blank = command.indexOf(u' ');
    if (blank < 0)
        return;
    params = command.mid(blank + 1);
    command.truncate(blank);
}

} // namespace wharf
