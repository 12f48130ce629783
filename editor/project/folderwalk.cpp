#include "folderwalk.h"

#include "files.h"
#include "paths.h"

#include <algorithm>

namespace wharf {
namespace {

std::string joinRelative(std::string_view relative, std::string_view name)
{
    return relative.empty() ? std::string(name) : std::string(relative) + "\\" + std::string(name);
}

bool walkable(const FolderEntry &entry)
{
    return !entry.name.empty() && entry.name.front() != '.' && entry.name.find('\\') == std::string::npos;
}

} // namespace

std::string collectedPath(std::string_view base, std::string_view relative)
{
    std::string rest(relative);
    const char separator = separatorOf(base);
    std::replace(rest.begin(), rest.end(), '\\', separator);
    return joinPath(base, rest);
}

void CollectFiles(std::string_view base, std::string_view relative, std::vector<std::string> &files)
{
    const std::string folder = collectedPath(base, relative);
    for (const FolderEntry &entry : listFolder(folder)) {
        if (!walkable(entry) || entry.isFolder)
            continue;
        // A link counts as the file it leads to; links to folders and
        // dangling links are left out.
        if (entry.isLink && !fileExists(joinPath(folder, entry.name)))
            continue;
        files.push_back(joinRelative(relative, entry.name));
    }
}

void CollectFolders(std::string_view base, std::string_view relative, std::vector<std::string> &files,
                    std::vector<std::string> &folders)
{
    CollectFolders(base, relative, files, folders, {});
}

bool CollectFolders(std::string_view base, std::string_view relative, std::vector<std::string> &files,
                    std::vector<std::string> &folders, const std::function<bool(std::string_view)> &keepGoing)
{
    if (keepGoing && !keepGoing(relative))
        return false;
    CollectFiles(base, relative, files);
    if (!relative.empty())
        folders.emplace_back(relative);
    for (const FolderEntry &entry : listFolder(collectedPath(base, relative)))
        if (walkable(entry) && entry.isFolder)
            if (!CollectFolders(base, joinRelative(relative, entry.name), files, folders, keepGoing))
                return false;
    return true;
}

int CompareFolderNames(std::string_view a, std::string_view b)
{
    const int order = a.compare(b);
    return order < 0 ? 1 : order > 0 ? -1 : 0;
}

void sortFolderNames(std::vector<std::string> &folders)
{
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::string &a, const std::string &b) { return CompareFolderNames(a, b) < 0; });
}

} // namespace wharf
