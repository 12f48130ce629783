#include "runcontext.h"

#include "paths.h"
#include "userdirs.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace wharf {
namespace {

void takeAnswer(RunContext &run, bool goOn)
{
    if (run.Closing)
        return;
    run.StopRequested = !goOn;
    if (!goOn)
        run.StopSeen = true;
}

// Writes data to a fresh file beside path and renames it over path. The
// text of a failure names the file and the system's reason.
std::string replaceWhole(const std::string &path, const std::string &data)
{
    std::string scratch = path + ".XXXXXX";
    const int fd = ::mkstemp(scratch.data());
    if (fd < 0)
        return "Could not create " + scratch + ": " + std::strerror(errno);
    std::string failure;
    size_t done = 0;
    while (done < data.size() && failure.empty()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failure = "Could not write " + scratch + ": " + std::strerror(errno);
        else
            done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0 && failure.empty())
        failure = "Could not write " + scratch + ": " + std::strerror(errno);
    if (failure.empty() && ::rename(scratch.c_str(), path.c_str()) != 0)
        failure = "Could not replace " + path + ": " + std::strerror(errno);
    if (!failure.empty())
        ::unlink(scratch.c_str());
    return failure;
}

} // namespace

std::string RunScratchFolder()
{
    const RunContext &run = CurrentRun();
    return run.Temp ? run.Temp->path() : std::string();
}

RunContext &CurrentRun()
{
    static RunContext context;
    return context;
}

namespace {

std::atomic<bool> &runClaimed()
{
    static std::atomic<bool> claimed{false};
    return claimed;
}

} // namespace

RunClaim::RunClaim() : m_held(!runClaimed().exchange(true)) {}

RunClaim::~RunClaim()
{
    if (m_held)
        runClaimed().store(false);
}

void LogMessage(const std::string &text)
{
    RunContext &run = CurrentRun();
    if (run.WriteLog)
        run.LogLines.push_back(text);
    if (run.ErrorLine)
        ++run.ErrorCount;
    if (run.Callback)
        takeAnswer(run, run.Callback(text.c_str(), run.ErrorLine ? 1 : 0, run.Percent));
    run.ErrorLine = false;
}

void LogError(const std::string &text)
{
    CurrentRun().ErrorLine = true;
    LogMessage("ERROR: " + text);
}

void LogMinorProgress(uint16_t percent)
{
    RunContext &run = CurrentRun();
    if (run.Callback)
        takeAnswer(run, run.Callback("", 2, percent));
}

void AskToGoOn()
{
    LogMinorProgress(0);
}

std::string LogFilePath()
{
    const std::string folder = userStateFolder();
    createPrivateFolderPath(folder);
    return joinPath(folder, "wharfforge.log");
}

bool SaveLog()
{
    const RunContext &run = CurrentRun();
    std::string text;
    for (const std::string &line : run.LogLines) {
        text += line;
        text += "\r\n";
    }
    std::string failure;
    try {
        failure = replaceWhole(LogFilePath(), text);
    } catch (const std::runtime_error &e) {
        failure = e.what();
    }
    if (failure.empty())
        return true;
    LogError("The compile log was not saved. " + failure);
    return false;
}

} // namespace wharf
