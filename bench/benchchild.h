#pragma once
// Runs a measurement in a fresh child process, so that its peak resident
// memory is its own.

#include <string>
#include <vector>

namespace wharf::bench {

struct RunResult {
    double seconds = -1; // what the child printed, -1 on failure
    long peakKiB = -1;   // the child's peak resident memory
};

// Runs program with args (argv[0] is program), reads the number it prints
// on its standard output as seconds; -1 seconds when it failed to start or
// exited non-zero. With measureWall the wall time of the whole run is
// taken instead of what the child printed.
RunResult runChild(const std::vector<std::string> &args, const std::string &program = "/proc/self/exe",
                   bool measureWall = false);

} // namespace wharf::bench
