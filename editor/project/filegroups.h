#pragma once
// The file groups and installation types of a project as the files page
// arranges them: names for new groups and types, the name checks of a
// rename, the group tokens of the installation types, and deleting and
// moving nodes of the file tree. Every operation that changes the order of
// the groups renumbers the installation types' group lists and the files'
// group indexes, so each type still names the same groups. No widgets.

#include "project.h"

#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// A node of the file tree: a group (File < 0) or one file of a group.
struct FileNode {
    int Group = -1;
    int File = -1;

    bool isGroup() const { return Group >= 0 && File < 0; }
    bool isFile() const { return Group >= 0 && File >= 0; }
    bool operator==(const FileNode &) const = default;
};

// True when node names an existing group or file of project.
bool nodeExists(const Project &project, FileNode node);

// "Group n" and "Installation type n", n the number of groups (types) the
// project has with the new one; when a group (type) already carries that
// name, compared without regard to case, the next number that is free.
std::string newGroupName(const Project &project);
std::string newInstallTypeName(const Project &project);

// True when a group (type) other than the one at index except is called
// name, compared without regard to case.
bool groupNameTaken(const Project &project, std::string_view name, int except);
bool installTypeNameTaken(const Project &project, std::string_view name, int except);

// The token of group index in an installation type's group list: "|k|".
std::string groupToken(int index);
// True when groupsInType holds the token of index.
bool typeIncludesGroup(std::string_view groupsInType, int index);
// The group list of the given indexes in their order, at most 255
// characters (only whole tokens are kept).
std::string groupsInTypeText(const std::vector<int> &indexes);

// Renumbers every installation type after the groups were rearranged:
// newIndexOf[k] is the new index of old group k, or -1 for a group that is
// gone. Each type keeps exactly the groups it named (listed in their new
// order); tokens naming no old group are dropped.
void renumberGroupsInTypes(Project &project, const std::vector<int> &newIndexOf);

// Sets every file's GroupIndex to the position of its group.
void refreshGroupIndexes(Project &project);

// Deletes a group with its files, or one file. Nothing for a node that does
// not exist. The selection is cleared when it named what went.
void deleteNode(Project &project, FileNode node);

// The rules of a move inside the tree: a group only onto another group
// (it goes before that group); a file onto any node (a group: it becomes
// that group's last file; a file: it goes before that file, in its group).
bool canMoveNode(const Project &project, FileNode from, FileNode onto);

// Performs the move when canMoveNode allows it and returns where the moved
// node is now; returns from unchanged when the move is refused.
FileNode moveNode(Project &project, FileNode from, FileNode onto);

// Zero-based position of a file among all files of the tree in tree order;
// -1 when node is not a file.
int fileOrdinal(const Project &project, FileNode node);

} // namespace wharf
