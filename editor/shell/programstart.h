#pragma once
// Starting the programs the editor hands work to (the Tools commands, the
// built setup, the distribution manager) and leaves alone afterwards.
// Windows programs run here only through "wine": where it is installed
// they are started with it, and otherwise the start fails, so the caller
// tells the author "Could not execute %s!" with the program's path and the
// reason.

#include "seams.h"

#include <QString>
#include <QStringList>

namespace wharf {

// True for a file that only Windows runs: ".exe", ".com", ".bat", ".cmd"
// and ".pif" (any case).
bool isWindowsProgram(const QString &path);

// The wine program on the search path; empty when there is none.
QString findWine();

// Starts program with arguments and returns at once: a Windows program as
// "wine program arguments..." (false when wine is empty or when a program
// given with a folder does not exist), any other program directly.
// Backslashes in the program path become "/". False when nothing could be
// started.
bool StartProgram(const Seams &seams, const QString &wine, const QString &program, const QStringList &arguments);

// Starts a whole command line: its first token is the program, the others
// its arguments (double quotes group). False for an empty line.
bool RunCommandLine(const Seams &seams, const QString &wine, const QString &commandLine);

// Why StartProgram(seams, wine, program, ...) did not start program, in
// words for the author: no program, no runner for Windows programs, or the
// system's reason (a missing file, no permission, ...). systemError is errno
// as the failed start left it; 0 when it is not known.
QString startFailureReason(const QString &wine, const QString &program, int systemError = 0);

// The message of a failed start: "Could not execute <name>!", then the
// program's path and the reason on lines of their own.
QString couldNotExecuteText(const QString &name, const QString &program, const QString &reason);

// StartProgram, and on failure the message of couldNotExecuteText shown as
// an error over parent. Returns whether the program started.
bool StartProgramOrExplain(const Seams &seams, QWidget *parent, const QString &wine, const QString &name,
                           const QString &program, const QStringList &arguments);

} // namespace wharf
