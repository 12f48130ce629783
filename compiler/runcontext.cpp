#include "runcontext.h"

#include "files.h"
#include "paths.h"

namespace wharf {

RunContext &CurrentRun()
{
    static RunContext context;
    return context;
}

void LogMessage(const std::string &text)
{
    RunContext &run = CurrentRun();
    if (run.WriteLog)
        run.LogLines.push_back(text);
    if (run.Callback)
        run.StopRequested = !run.Callback(text.c_str(), run.ErrorLine ? 1 : 0, run.Percent);
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
        run.StopRequested = !run.Callback("", 2, percent);
}

void SaveLog()
{
    const RunContext &run = CurrentRun();
    std::string text;
    for (const std::string &line : run.LogLines) {
        text += line;
        text += "\r\n";
    }
    writeFile(joinPath(run.AppDir, "wharfforge.log"), text);
}

} // namespace wharf
