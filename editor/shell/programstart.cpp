#include "programstart.h"

#include "paths.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <system_error>

namespace wharf {

bool isWindowsProgram(const QString &path)
{
    const QString ext = QString::fromStdString(extractFileExt(path.toStdString())).toLower();
    return ext == u".exe" || ext == u".com" || ext == u".bat" || ext == u".cmd" || ext == u".pif";
}

QString findWine()
{
    return QStandardPaths::findExecutable(QStringLiteral("wine"));
}

bool StartProgram(const Seams &seams, const QString &wine, const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return false;
    const QString native = QString::fromStdString(toNativePath(program.toStdString()));
    if (!isWindowsProgram(native))
        return seams.processes->startDetached(native, arguments);
    if (wine.isEmpty())
        return false;
    // wine itself would start and only then fail on a missing file.
    if (native.contains(u'/') && !QFileInfo(native).isFile())
        return false;
    return seams.processes->startDetached(wine, QStringList{native} + arguments);
}

bool RunCommandLine(const Seams &seams, const QString &wine, const QString &commandLine)
{
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return StartProgram(seams, wine, program, parts);
}

QString startFailureReason(const QString &wine, const QString &program, int systemError)
{
    const auto systemText = [](int error) { return QString::fromStdString(std::generic_category().message(error)); };
    if (program.isEmpty())
        return QStringLiteral("No program was named.");
    const QString native = QString::fromStdString(toNativePath(program.toStdString()));
    const bool windows = isWindowsProgram(native);
    // A program that isn't there is the first thing to put right, with or
    // without a runner for it.
    if (native.contains(u'/')) {
        const QFileInfo file(native);
        if (!file.exists())
            return systemText(ENOENT);
        if (file.isDir())
            return systemText(EISDIR);
        if (!windows && !file.isExecutable())
            return systemText(EACCES);
    } else if (!windows && QStandardPaths::findExecutable(native).isEmpty()) {
        return QStringLiteral("There is no such program on the search path.");
    }
    if (windows && wine.isEmpty())
        return QStringLiteral("Windows programs cannot run here: no runner for them (wine) is installed.");
    if (systemError != 0)
        return systemText(systemError);
    return QStringLiteral("The system could not start it.");
}

QString couldNotExecuteText(const QString &name, const QString &program, const QString &reason)
{
    return QStringLiteral("Could not execute %1!\n\n%2\n%3").arg(name, program, reason);
}

bool StartProgramOrExplain(const Seams &seams, QWidget *parent, const QString &wine, const QString &name,
                           const QString &program, const QStringList &arguments)
{
    errno = 0;
    if (StartProgram(seams, wine, program, arguments))
        return true;
    const int error = errno;
    showError(seams, parent, couldNotExecuteText(name, program, startFailureReason(wine, program, error)));
    return false;
}

} // namespace wharf
