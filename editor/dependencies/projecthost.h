#pragma once
// The dependency window's host over the open project: the captions of the
// file tree are the document's group names and file sources, the project's
// folder is the controller's, and adding a file goes to the files page's
// AddFileEntry, which the editor passes in.

#include "dependencyhost.h"

#include <functional>

namespace wharf {

class ProjectController;
struct Project;

// The text of every node of the file tree, in tree order: each group's name
// followed by its files' sources.
std::vector<std::string> fileTreeCaptions(const Project &project);

class ProjectDependencyHost : public DependencyHost {
public:
    using AddFile = std::function<void(const std::string &source, const std::string &destination)>;

    // controller must outlive the host.
    ProjectDependencyHost(const ProjectController &controller, AddFile addFile)
        : m_controller(controller), m_addFile(std::move(addFile))
    {
    }

    std::vector<std::string> fileTreeCaptions() const override;
    std::string projectFolder() const override;
    void AddFileEntry(const std::string &source, const std::string &destination) override;

private:
    const ProjectController &m_controller;
    AddFile m_addFile;
};

} // namespace wharf
