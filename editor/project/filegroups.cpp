#include "filegroups.h"

#include "codec.h"

#include <algorithm>

namespace wharf {
namespace {

constexpr size_t kMaxGroupsInType = 255;

template <typename Entries, typename NameOf>
bool nameTaken(const Entries &entries, std::string_view name, int except, NameOf nameOf)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (static_cast<int>(i) != except && sameTextIgnoreCase(nameOf(entries[i]), name))
            return true;
    return false;
}

// word and n, with n counted on from first until the name is free.
template <typename Taken>
std::string numberedName(std::string_view word, size_t first, Taken taken)
{
    for (size_t n = first;; ++n) {
        std::string name = std::string(word) + " " + std::to_string(n);
        if (!taken(name))
            return name;
    }
}

size_t toSize(int index) { return static_cast<size_t>(index); }

} // namespace

bool nodeExists(const Project &project, FileNode node)
{
    if (node.Group < 0 || toSize(node.Group) >= project.Groups.size())
        return false;
    return node.File < 0 || toSize(node.File) < project.Groups[toSize(node.Group)].Files.size();
}

std::string newGroupName(const Project &project)
{
    return numberedName("Group", project.Groups.size() + 1,
                        [&](const std::string &name) { return groupNameTaken(project, name, -1); });
}

std::string newInstallTypeName(const Project &project)
{
    return numberedName("Installation type", project.InstallTypes.size() + 1,
                        [&](const std::string &name) { return installTypeNameTaken(project, name, -1); });
}

bool groupNameTaken(const Project &project, std::string_view name, int except)
{
    return nameTaken(project.Groups, name, except, [](const GroupEntry &g) -> const std::string & { return g.Name; });
}

bool installTypeNameTaken(const Project &project, std::string_view name, int except)
{
    return nameTaken(project.InstallTypes, name, except,
                     [](const InstallTypeEntry &t) -> const std::string & { return t.Name; });
}

std::string groupToken(int index) { return "|" + std::to_string(index) + "|"; }

bool typeIncludesGroup(std::string_view groupsInType, int index)
{
    return groupsInType.find(groupToken(index)) != std::string_view::npos;
}

std::string groupsInTypeText(const std::vector<int> &indexes)
{
    std::string text;
    for (int index : indexes) {
        const std::string token = groupToken(index);
        if (text.size() + token.size() > kMaxGroupsInType)
            break;
        text += token;
    }
    return text;
}

void renumberGroupsInTypes(Project &project, const std::vector<int> &newIndexOf)
{
    for (InstallTypeEntry &type : project.InstallTypes) {
        std::vector<int> included;
        for (size_t old = 0; old < newIndexOf.size(); ++old)
            if (newIndexOf[old] >= 0 && typeIncludesGroup(type.GroupsInType, static_cast<int>(old)))
                included.push_back(newIndexOf[old]);
        std::sort(included.begin(), included.end());
        type.GroupsInType = groupsInTypeText(included);
    }
}

void refreshGroupIndexes(Project &project)
{
    for (size_t g = 0; g < project.Groups.size(); ++g)
        for (FileEntry &file : project.Groups[g].Files)
            file.GroupIndex = static_cast<uint16_t>(g);
}

void deleteNode(Project &project, FileNode node)
{
    if (!nodeExists(project, node))
        return;
    if (node.isFile()) {
        auto &files = project.Groups[toSize(node.Group)].Files;
        files.erase(files.begin() + node.File);
        if (project.Selection.Group == node.Group && project.Selection.File >= node.File)
            project.Selection.File = project.Selection.File == node.File ? -1 : project.Selection.File - 1;
        return;
    }
    std::vector<int> newIndexOf(project.Groups.size());
    for (size_t g = 0; g < newIndexOf.size(); ++g) {
        const int old = static_cast<int>(g);
        newIndexOf[g] = old < node.Group ? old : old == node.Group ? -1 : old - 1;
    }
    renumberGroupsInTypes(project, newIndexOf);
    project.Groups.erase(project.Groups.begin() + node.Group);
    refreshGroupIndexes(project);
    if (project.Selection.Group == node.Group)
        project.Selection.Group = project.Selection.File = -1;
    else if (project.Selection.Group > node.Group)
        --project.Selection.Group;
}

bool canMoveNode(const Project &project, FileNode from, FileNode onto)
{
    if (!nodeExists(project, from) || !nodeExists(project, onto) || from == onto)
        return false;
    if (from.isGroup())
        return onto.isGroup();
    return true;
}

FileNode moveNode(Project &project, FileNode from, FileNode onto)
{
    if (!canMoveNode(project, from, onto))
        return from;
    FileNode result;
    if (from.isGroup()) {
        const int count = static_cast<int>(project.Groups.size());
        const int target = from.Group < onto.Group ? onto.Group - 1 : onto.Group;
        std::vector<int> newIndexOf(toSize(count));
        for (int old = 0; old < count; ++old) {
            int position = old;
            if (old == from.Group)
                position = target;
            else if (from.Group < old && old <= target)
                position = old - 1;
            else if (target <= old && old < from.Group)
                position = old + 1;
            newIndexOf[toSize(old)] = position;
        }
        renumberGroupsInTypes(project, newIndexOf);
        GroupEntry moved = std::move(project.Groups[toSize(from.Group)]);
        project.Groups.erase(project.Groups.begin() + from.Group);
        project.Groups.insert(project.Groups.begin() + target, std::move(moved));
        refreshGroupIndexes(project);
        result = FileNode{target, -1};
    } else {
        auto &source = project.Groups[toSize(from.Group)].Files;
        FileEntry moved = std::move(source[toSize(from.File)]);
        source.erase(source.begin() + from.File);
        auto &files = project.Groups[toSize(onto.Group)].Files;
        int position = static_cast<int>(files.size());
        if (onto.isFile())
            position = onto.Group == from.Group && from.File < onto.File ? onto.File - 1 : onto.File;
        moved.GroupIndex = static_cast<uint16_t>(onto.Group);
        files.insert(files.begin() + position, std::move(moved));
        result = FileNode{onto.Group, position};
    }
    project.Selection.Group = result.Group;
    project.Selection.File = result.File;
    return result;
}

int fileOrdinal(const Project &project, FileNode node)
{
    if (!node.isFile() || !nodeExists(project, node))
        return -1;
    int ordinal = 0;
    for (int g = 0; g < node.Group; ++g)
        ordinal += static_cast<int>(project.Groups[toSize(g)].Files.size());
    return ordinal + node.File;
}

} // namespace wharf
