#include "projecthost.h"

#include "projectcontroller.h"

namespace wharf {

std::vector<std::string> fileTreeCaptions(const Project &project)
{
    std::vector<std::string> captions;
    for (const GroupEntry &group : project.Groups) {
        captions.push_back(group.Name);
        for (const FileEntry &file : group.Files)
            captions.push_back(file.Source);
    }
    return captions;
}

std::vector<std::string> ProjectDependencyHost::fileTreeCaptions() const
{
    return wharf::fileTreeCaptions(m_controller.document());
}

std::string ProjectDependencyHost::projectFolder() const { return m_controller.ProjectFolder(); }

void ProjectDependencyHost::AddFileEntry(const std::string &source, const std::string &destination)
{
    if (m_addFile)
        m_addFile(source, destination);
}

} // namespace wharf
