#pragma once
// Starting programs. No shell is involved: the program path is taken as it
// is, so blanks and shell characters in it are just part of the name.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// Starts program with the given arguments (argv[0] is the program path),
// input and output on the caller's, and waits without a time limit until it
// ends. False when it could not be started, with errno set; the exit code
// is not examined.
bool runAndWait(std::string_view program, const std::vector<std::string> &args = {});

// Starts program with the given arguments and returns at once; its input and
// output go to the null device. False when it could not be started; errno
// then holds the reason when the system gave one.
bool startDetached(std::string_view program, const std::vector<std::string> &args = {});

// Whether program is a file that only Windows runs: one that begins with
// "MZ". False when it cannot be read.
bool isWindowsExecutable(std::string_view program);

// Runs a program that may be a Windows executable and waits until it ends,
// calling whileWaiting (when set) after every wait of up to 100 ms, so that
// a window can go on processing its events. A Windows executable (a file
// that begins with "MZ") runs through the "wine" found on the PATH and is
// not started when there is none; any other file is started itself. Input
// and output are the caller's. False when it could not be started; the exit
// code is not examined.
bool runWindowsProgram(std::string_view program, const std::vector<std::string> &args,
                       const std::function<void()> &whileWaiting);

} // namespace wharf
