#pragma once
// Where a test finds the program folder this build assembled (the runtime
// stubs, the compiler library, the data files): $WHARF_PROGRAM_DIR when it
// is set, as ctest sets it, else the folder compiled in by wharf_add_tests,
// so that a test program run by hand finds it as well.

#include <cstdlib>
#include <string>

namespace wharf::testing {

inline std::string builtProgramFolder()
{
    if (const char *dir = std::getenv("WHARF_PROGRAM_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    return WHARF_BUILT_PROGRAM_DIR;
}

} // namespace wharf::testing
