// Linked into every test program: what the tests' compiles and runs write for
// the user (the compile log, private scratch folders) goes into the build
// tree, never into the home of whoever runs the tests. Tests of the folder
// rules themselves set these variables as they need them.
#include <cstdlib>
#include <string>

namespace {

[[maybe_unused]] const bool kTestUserDirs = [] {
    const std::string base = WHARF_TEST_USER_DIR;
    ::setenv("XDG_STATE_HOME", (base + "/state").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (base + "/run").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (base + "/cache").c_str(), 1);
    return true;
}();

} // namespace
