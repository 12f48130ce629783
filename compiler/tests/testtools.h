#pragma once
// Test-only helpers: where the built fixtures and stubs are, and the
// independent tools (wrestool) that check what the compiler writes.

#include <string>
#include <utility>
#include <vector>

namespace wharf::testing {

// A file of the built Windows fixtures, and of the program folder (stubs).
std::string fixturePath(const std::string &name);
std::string programPath(const std::string &name);

// The whole file, or "" when it can't be read.
std::string slurp(const std::string &path);

// Runs a shell command of the test (tool and file names come from the
// build) and returns what it printed; exitCode gets its exit status.
std::string runTool(const std::string &command, int *exitCode = nullptr);

// The resources as wrestool lists them: "type/name/language/size", sorted.
std::vector<std::string> wrestoolList(const std::string &path);

// One resource extracted by wrestool (with --raw: its bytes as stored);
// selector is wrestool's selection, out a scratch file.
std::string wrestoolExtract(const std::string &path, const std::string &selector, const std::string &out);

// The images of an icon file: the first 12 bytes of each entry and the
// image bytes.
std::vector<std::pair<std::string, std::string>> iconImages(const std::string &ico);

} // namespace wharf::testing
