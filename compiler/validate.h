#pragma once
// Checks a project before anything is copied or deleted: every problem is
// reported as one error line, and only then does the compile stop.

#include <string>

namespace wharf {

// Runs every check on CurrentRun() (Project, OutputType, NeedsRegServer,
// SupportFiles, InstTypesList, OutputNames, AppDir, WorkDir and OutputDir
// must be set). True when no problem was found. Never raises.
bool ValidateProject();

// Marks the validation failed and reports text as an error line.
void ReportProblem(const std::string &text);

} // namespace wharf
