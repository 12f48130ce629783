#include "commandline.h"

namespace wharf {

EditorCommandLine parseEditorCommandLine(const QStringList &arguments)
{
    EditorCommandLine line;
    if (!arguments.isEmpty())
        line.project = arguments.front();
    if (arguments.size() == 2) {
        const QString option = arguments.at(1).toLower();
        line.batchCompile = option == u"-c" || option == u"/c";
    }
    return line;
}

} // namespace wharf
