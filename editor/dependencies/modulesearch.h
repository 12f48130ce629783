#pragma once
// Where the dependency scanner looks for the modules a file imports. As on
// Windows, a module is first looked for beside the file that imports it and
// then along a search path; here the search path is a list of folders the
// author sets (the folders where a Windows toolchain or a Windows
// installation keeps its libraries). Module names match without regard to
// case, as they do on Windows, even on a file system that tells case apart.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The full path of the file called name (any case) in folder, or empty.
// A name with a separator, or "." or "..", is never found.
std::string findModuleInFolder(std::string_view folder, std::string_view name);

class ModuleSearchPath {
public:
    ModuleSearchPath() = default;
    explicit ModuleSearchPath(std::vector<std::string> folders) : m_folders(std::move(folders)) {}

    const std::vector<std::string> &folders() const { return m_folders; }

    // The first file called name along the folders whose machine type is
    // machine (a library built for another processor is passed over, as the
    // Windows loader passes it over); machine 0 takes any file. Empty when
    // none is found.
    std::string find(std::string_view name, uint16_t machine = 0) const;

    // The folders of a stored list: separated by ";" or line breaks, blanks
    // around each trimmed, empty ones dropped.
    static std::vector<std::string> parse(std::string_view text);
    // The stored form of folders: joined with ";".
    static std::string format(const std::vector<std::string> &folders);

    // The search path when the author has set none: the folders of the
    // mingw-w64 toolchains installed here that hold their run-time
    // libraries, 32-bit before 64-bit.
    static std::vector<std::string> defaultFolders();

private:
    std::vector<std::string> m_folders;
};

} // namespace wharf
