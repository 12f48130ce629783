#include "filetools.h"

#include "files.h"
#include "paths.h"
#include "process.h"
#include "runcontext.h"

#include <sys/stat.h>

namespace wharf {
namespace {

bool hasUncPrefix(std::string_view path)
{
    return path.size() >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1]);
}

// Position of the first "..\" or "../", or npos.
size_t findParentStep(std::string_view path)
{
    const size_t a = path.find("..\\");
    const size_t b = path.find("../");
    return std::min(a, b);
}

} // namespace

std::string ExpandRelativePath(std::string_view path, std::string_view base)
{
    if (path.empty())
        return {};
    if (hasDriveLetter(path) || hasUncPrefix(path) || path.front() == '/' || path.front() == '{')
        return std::string(path);
    const char sep = separatorOf(base);
    if (!base.empty() && isPathSeparator(base.back()))
        base.remove_suffix(1);
    // Folders that the path itself leaves again go first, so every "..\"
    // left climbs out of base.
    std::string rest = normalizePath(path);
    std::string head(base);
    for (size_t step = findParentStep(rest); step != std::string::npos; step = findParentStep(rest)) {
        const size_t last = head.find_last_of("\\/");
        if (last != std::string::npos)
            head.erase(last);
        rest.erase(step, 3);
    }
    if (sep == '/')
        rest = toNativePath(rest);
    return head + sep + rest;
}

std::vector<std::string> ResolveFileList(const std::vector<std::string> &list)
{
    std::vector<std::string> out;
    out.reserve(list.size());
    const std::string &workDir = CurrentRun().WorkDir;
    for (const std::string &line : list) {
        const size_t eq = line.find('=');
        std::string value = eq == std::string::npos ? line : line.substr(eq + 1);
        if (!value.empty() && value.front() == '"' && value.back() == '"')
            value = value.size() == 1 ? std::string() : value.substr(1, value.size() - 2);
        out.push_back(ExpandRelativePath(value, workDir));
    }
    return out;
}

bool ClearDirectory(std::string_view folder, bool recurse, bool removeFolder)
{
    if (!folderExists(folder))
        return false;
    bool result = true;
    for (const FolderEntry &entry : listFolder(folder)) {
        if (entry.name.front() == '.')
            continue;
        const std::string path = joinPath(folder, entry.name);
        if (entry.isFolder) {
            if (recurse)
                result = ClearDirectory(path, recurse, removeFolder) && result;
        } else {
            // A link is removed itself; what it points to is never touched.
            result = deleteFile(path) && result;
        }
    }
    if (removeFolder && result && !isRootPath(folder))
        result = wharf::removeFolder(folder);
    return result;
}

int64_t FileSizeRounded(std::string_view path, int64_t cluster)
{
    const std::string full = isAbsolutePath(path) ? std::string(path) : joinPath(currentFolder(), path);
    const int64_t size = fileSize(full);
    if (size < 0)
        return size;
    return RoundedToCluster(size, cluster);
}

int64_t RoundedToCluster(int64_t size, int64_t cluster)
{
    if (cluster <= 0)
        return size;
    return (size + cluster - 1) / cluster * cluster;
}

std::optional<FileState> FileStateOf(std::string_view path)
{
    struct stat st {};
    if (::stat(toNativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileState{static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

void ForceDirs(std::string_view folder)
{
    std::string path(folder);
    if (!path.empty() && isPathSeparator(path.back()))
        path.pop_back();
    // Roots and the short Windows stubs ("C:", "\x") are never created.
    if (path.empty() || isRootPath(path) || (path.size() < 3 && path.front() != '/') || folderExists(path))
        return;
    const std::string parent = extractFilePath(path);
    if (!parent.empty() && parent != path)
        ForceDirs(parent);
    createFolder(path);
}

std::string BytesToHex(const uint8_t *bytes, size_t count)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
    }
    return out;
}

bool RunAndWait(std::string_view path)
{
    return runAndWait(path);
}

} // namespace wharf
