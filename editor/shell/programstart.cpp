#include "programstart.h"

#include "paths.h"
#include "startfailure.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>

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
    const QString native = QString::fromStdString(toNativePath(program.toStdString()));
    return programStartFailure(program, isWindowsProgram(native), wine, systemError);
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
