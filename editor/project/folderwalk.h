#pragma once
// The walk over a folder tree that adds a whole folder to a group: its
// files and sub folders as paths relative to the folder, joined with "\" as
// the setup's destinations are. Hidden entries (names beginning with ".")
// are left out and not walked, links to folders are not followed, and
// names that hold a "\" (which no project path can keep) are skipped, as
// are folders that cannot be listed. Entries come in name order.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// Appends relative\name for every file of base\relative (base alone when
// relative is empty).
void CollectFiles(std::string_view base, std::string_view relative, std::vector<std::string> &files);

// Collects the files of base\relative and of every folder below it; appends
// relative itself to folders when it is not empty, and each sub folder
// after its parent.
void CollectFolders(std::string_view base, std::string_view relative, std::vector<std::string> &files,
                    std::vector<std::string> &folders);

// As CollectFolders, calling keepGoing with each folder (relative, "" for
// base itself) before it is listed; a false answer ends the walk at once.
// False when the walk was ended so, true when it went through.
bool CollectFolders(std::string_view base, std::string_view relative, std::vector<std::string> &files,
                    std::vector<std::string> &folders, const std::function<bool(std::string_view)> &keepGoing);

// The order of the uninstall list: descending by plain character codes
// (case counts), so a sub folder comes before its parent ("a\b" before
// "a"). Negative when a goes first, positive when b does, 0 when equal.
int CompareFolderNames(std::string_view a, std::string_view b);

// Sorts folders with CompareFolderNames.
void sortFolderNames(std::vector<std::string> &folders);

// relative with every "\" turned into the separator base uses, joined to
// base: the file-system path of a collected entry.
std::string collectedPath(std::string_view base, std::string_view relative);

} // namespace wharf
