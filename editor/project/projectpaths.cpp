#include "projectpaths.h"

#include "codec.h"
#include "filetools.h"
#include "paths.h"

#include <algorithm>

namespace wharf::editor {
namespace {

std::string_view drivePart(std::string_view path)
{
    return hasDriveLetter(path) ? path.substr(0, 2) : std::string_view();
}

size_t firstSeparator(std::string_view path)
{
    return path.find_first_of("\\/");
}

// Drive and UNC paths name files of a file system that ignores letter case;
// native paths name files of one that does not.
bool sameComponent(std::string_view a, std::string_view b, bool ignoreCase)
{
    return ignoreCase ? sameTextIgnoreCase(a, b) : a == b;
}

size_t separatorCount(std::string_view path)
{
    return static_cast<size_t>(std::count_if(path.begin(), path.end(), isPathSeparator));
}

bool ignoresCase(std::string_view path)
{
    return hasDriveLetter(path) || path.starts_with('\\');
}

} // namespace

char separatorStyle(std::string_view path)
{
    const bool back = path.find('\\') != std::string_view::npos;
    const bool forward = path.find('/') != std::string_view::npos;
    return back == forward ? '\0' : back ? '\\' : '/';
}

std::string MakeRelativePath(std::string_view path, std::string_view base)
{
    if (base.empty() || !isAbsolutePath(path) || !isAbsolutePath(base))
        return std::string(path);
    std::string folder(base);
    if (!isPathSeparator(folder.back()))
        folder += separatorOf(base);
    if (!sameTextIgnoreCase(drivePart(path), drivePart(folder)))
        return std::string(path);

    const bool ignoreCase = ignoresCase(path);
    std::string_view rest = path.substr(drivePart(path).size());
    std::string_view left = std::string_view(folder).substr(drivePart(folder).size());
    size_t steps = 0;
    while (true) {
        const size_t restSep = firstSeparator(rest);
        if (restSep == std::string_view::npos) {
            // Only the file name is left: climb out of every remaining folder.
            steps = separatorCount(left);
            break;
        }
        const size_t leftSep = firstSeparator(left);
        if (leftSep == std::string_view::npos)
            break;  // base is used up: the rest of path is below it
        if (!sameComponent(rest.substr(0, restSep), left.substr(0, leftSep), ignoreCase)) {
            steps = separatorCount(left);
            break;
        }
        rest.remove_prefix(restSep + 1);
        left.remove_prefix(leftSep + 1);
    }
    const size_t restSep = rest.find_last_of("\\/");
    const char sep = restSep == std::string_view::npos ? separatorOf(folder) : rest[restSep];
    std::string out;
    for (size_t i = 0; i < steps; ++i) {
        out += "..";
        out += sep;
    }
    out += rest;
    return out;
}

std::string ExpandRelativePath(std::string_view path, std::string_view base)
{
    // An unsaved project has no folder: its paths stay as they are.
    if (base.empty())
        return std::string(path);
    return wharf::ExpandRelativePath(path, base);
}

bool SameFolder(std::string_view a, std::string_view b)
{
    const std::string left = toNativePath(excludeTrailingSeparator(a));
    const std::string right = toNativePath(excludeTrailingSeparator(b));
    return ignoresCase(a) || ignoresCase(b) ? sameTextIgnoreCase(left, right) : left == right;
}

std::string RebasePath(std::string_view path, std::string_view from, std::string_view to, char bareSeparator)
{
    const bool relative = !isAbsolutePath(path);
    if (relative && SameFolder(from, to))
        return std::string(path);
    std::string out = MakeRelativePath(ExpandRelativePath(path, from), to);
    const bool bare = relative && path.find_first_of("\\/") == std::string_view::npos;
    const char style = bare ? bareSeparator : relative ? separatorStyle(path) : '\0';
    if (style != '\0' && !isAbsolutePath(out))
        std::replace_if(out.begin(), out.end(), isPathSeparator, style);
    return out;
}

} // namespace wharf::editor
