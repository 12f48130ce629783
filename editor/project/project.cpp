#include "project.h"

#include "files.h"
#include "projectpaths.h"

namespace wharf {

std::string cutText(std::string_view text, size_t maxChars)
{
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        // Count lead bytes only, so a character is never split.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == maxChars)
                return std::string(text.substr(0, i));
            ++chars;
        }
    }
    return std::string(text);
}

size_t Project::fileCount() const
{
    size_t count = 0;
    for (const GroupEntry &group : Groups)
        count += group.Files.size();
    return count;
}

int Project::findGroup(std::string_view name) const
{
    for (size_t i = 0; i < Groups.size(); ++i)
        if (Groups[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

namespace {

void clampIndex(int &index, size_t count)
{
    if (index < -1 || index >= static_cast<int>(count))
        index = -1;
}

bool registryPathExists(const RegistryTree &tree, const std::vector<int> &path)
{
    if (path.empty() || path[0] < 0 || path[0] >= static_cast<int>(tree.roots().size()))
        return false;
    const std::vector<RegistryNode> *children = &tree.roots()[static_cast<size_t>(path[0])].Children;
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] < 0 || path[i] >= static_cast<int>(children->size()))
            return false;
        children = &(*children)[static_cast<size_t>(path[i])].Children;
    }
    return true;
}

} // namespace

void Project::clampSelections()
{
    clampIndex(Selection.Group, Groups.size());
    if (Selection.Group < 0)
        Selection.File = -1;
    else
        clampIndex(Selection.File, Groups[static_cast<size_t>(Selection.Group)].Files.size());
    clampIndex(Selection.InstallType, InstallTypes.size());
    clampIndex(Selection.Shortcut, Shortcuts.size());
    if (!Selection.RegistryNode.empty() && !registryPathExists(Registry, Selection.RegistryNode))
        Selection.RegistryNode.clear();
    clampIndex(Selection.IniEntry, IniEntries.size());
    clampIndex(Selection.ExternalProgram, ExternalPrograms.size());
    clampIndex(Selection.DllCall, DllCalls.size());
}

std::optional<std::string> entryIconSource(const Project &project, std::string_view projectFolder,
                                           std::string_view iconLocation)
{
    std::optional<std::string> source;
    for (const GroupEntry &group : project.Groups)
        for (const FileEntry &file : group.Files)
            if (file.Destination == iconLocation) {
                const std::string path = editor::ExpandRelativePath(file.Source, projectFolder);
                source = fileExists(path) ? path : std::string();
            }
    return source;
}

} // namespace wharf
