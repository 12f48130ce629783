#pragma once
// What the dependency window needs from the editor around it: the captions
// of the file tree, to grey the modules the project already holds, the
// project's folder, against which relative captions are read, and the one
// routine that adds a file to the project (AddFileEntry of the files page).

#include <string>
#include <vector>

namespace wharf {

class DependencyHost {
public:
    virtual ~DependencyHost() = default;

    // The text of every node of the file tree: group names and the files'
    // source paths as stored (absolute, relative to the project's folder, or
    // holding a path variable).
    virtual std::vector<std::string> fileTreeCaptions() const = 0;

    // The folder relative source paths are relative to, with its trailing
    // separator; empty when the project has none yet.
    virtual std::string projectFolder() const = 0;

    // Adds source as a file of the group of the current selection, installed
    // to destination, with the defaults of its extension and the state of
    // the add-file dialog's "Use relative source path".
    virtual void AddFileEntry(const std::string &source, const std::string &destination) = 0;
};

} // namespace wharf
