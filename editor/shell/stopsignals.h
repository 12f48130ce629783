#pragma once
// A batch compile ended from outside (SIGTERM from timeout, CI or a logout,
// SIGINT from Ctrl+C, SIGHUP from a closed terminal) stops as the compile
// window's cancel button stops it: the compiler sees a stop answer at its
// next stop point, clears the files it wrote and ends, and the run's
// private folder goes with its scratch files. Only then does the program end,
// by the signal that came, so whoever started it sees why. The exit status
// always agrees with the compile's last line: a signal that came too late to
// stop the compile changes neither.

namespace wharf {

// From now on SIGTERM, SIGINT and SIGHUP no longer end the process at once:
// the first of them is noted, and every compile that runs from then on
// (runProjectCompile) is answered "stop". A second signal of the same kind
// ends the process at once, as it would have without this. A closed
// standard output or error (SIGPIPE) no longer ends the process either: the
// write fails and the compile goes on. Programs the process starts get the
// default actions back.
void noteStopSignals();

// The signal noted first; 0 while none came.
int stopSignal();

// Called once the compile's last line is out. From now on the stop signals
// are ignored: one that comes later changes nothing. A signal noted
// before is kept only when the compile ended on it (endedOnStop: its last
// line is the stop line); otherwise the compile finished or failed on its
// own, its status stands and the signal is forgotten.
void settleStopSignal(bool endedOnStop);

// Ends the process by the noted signal with that signal's default action.
// Returns (doing nothing) while none is noted.
void endByStopSignal();

} // namespace wharf
