#pragma once
// The system modules of "sysdlls.dat": modules every Windows system brings
// along, which the dependency scanner never offers for the setup. The file
// holds one module file name per line; names compare without regard to case.
// A name may hold "*" for any run of characters ("api-ms-win-*.dll"), and a
// line that begins with ";" is a comment.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace wharf {

class SystemModules {
public:
    SystemModules() = default;

    // The names in text (the file's contents, UTF-8 or ASCII).
    static SystemModules fromText(std::string_view text);
    // The names of the file at path; an empty list when it can't be read
    // (loaded() then tells false).
    static SystemModules load(std::string_view path);

    // True when moduleName (a file name, no folder) is a system module.
    bool contains(std::string_view moduleName) const;

    bool loaded() const { return m_loaded; }
    bool empty() const { return m_names.empty() && m_patterns.empty(); }

private:
    std::unordered_set<std::string> m_names; // in lower case
    std::vector<std::string> m_patterns;     // in lower case, holding "*"
    bool m_loaded = false;
};

} // namespace wharf
