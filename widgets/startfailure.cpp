#include "startfailure.h"

#include "paths.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <system_error>

namespace wharf {

QString programStartFailure(const QString &program, bool windowsProgram, const QString &wine, int systemError)
{
    const auto systemText = [](int error) { return QString::fromStdString(std::generic_category().message(error)); };
    if (program.isEmpty())
        return QStringLiteral("No program was named.");
    const QString native = QString::fromStdString(toNativePath(program.toStdString()));
    // A program that isn't there is the first thing to put right, with or
    // without a runner for it.
    if (native.contains(u'/')) {
        const QFileInfo file(native);
        if (!file.exists())
            return systemText(ENOENT);
        if (file.isDir())
            return systemText(EISDIR);
        if (!windowsProgram && !file.isExecutable())
            return systemText(EACCES);
    } else if (!windowsProgram && QStandardPaths::findExecutable(native).isEmpty()) {
        return QStringLiteral("There is no such program on the search path.");
    }
    if (windowsProgram && wine.isEmpty())
        return QStringLiteral("Windows programs cannot run here: no runner for them (wine) is installed.");
    if (systemError != 0)
        return systemText(systemError);
    return QStringLiteral("The system could not start it.");
}

} // namespace wharf
