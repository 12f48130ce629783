#pragma once
// The whole compile of the project named by the run context.

namespace wharf {

// Runs the compile on CurrentRun(): reads the project, reports through the log
// routines and leaves StopRequested as the callback last set it.
void CompileProject();

} // namespace wharf
