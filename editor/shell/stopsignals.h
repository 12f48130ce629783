#pragma once
// A batch compile ended from outside (SIGTERM from timeout, CI or a logout,
// SIGINT from Ctrl+C, SIGHUP from a closed terminal) stops as the compile
// window's cancel button stops it: the compiler sees a stop answer at its
// next stop point, clears the files it wrote and ends, and the run's
// private folder goes with its scratch files. Only then does the program end,
// by the signal that came, so whoever started it sees why.

namespace wharf {

// From now on SIGTERM, SIGINT and SIGHUP no longer end the process at once:
// the first of them is noted, and every compile that runs from then on
// (runProjectCompile) is answered "stop". A second signal of the same kind
// ends the process at once, as it would have without this.
void noteStopSignals();

// The signal noted first; 0 while none came.
int stopSignal();

// Ends the process by the noted signal with that signal's default action.
// Returns (doing nothing) while none came.
void endByStopSignal();

} // namespace wharf
