#include "paths.h"

#include <vector>

namespace wharf {
namespace {

// Index one past the last separator or drive colon; 0 when there is none.
size_t nameStart(std::string_view path)
{
    for (size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (isPathSeparator(c) || (c == ':' && i == 2))
            return i;
    }
    return 0;
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Length of the root of a path: "X:" with its separator, "/", or two
// separators with the server and share names after them; 0 for a relative
// path. rooted tells whether ".." can climb no higher than the root.
size_t rootLength(std::string_view path, bool &rooted)
{
    rooted = true;
    if (path.size() >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1])) {
        size_t end = 2;
        for (int part = 0; part < 2 && end < path.size(); ++part) {
            while (end < path.size() && !isPathSeparator(path[end]))
                ++end;
            if (end < path.size())
                ++end;
        }
        return end;
    }
    if (hasDriveLetter(path)) {
        rooted = path.size() > 2 && isPathSeparator(path[2]);
        return rooted ? 3 : 2;
    }
    if (!path.empty() && path[0] == '/')
        return 1;
    rooted = false;
    return 0;
}

} // namespace

bool hasDriveLetter(std::string_view path)
{
    return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':';
}

bool isAbsolutePath(std::string_view path)
{
    if (hasDriveLetter(path))
        return true;
    if (!path.empty() && path[0] == '/')
        return true;
    return path.size() >= 2 && isPathSeparator(path[0]) && isPathSeparator(path[1]);
}

bool isRootPath(std::string_view path)
{
    if (path.size() == 1)
        return isPathSeparator(path[0]);
    if (hasDriveLetter(path))
        return path.size() == 2 || (path.size() == 3 && isPathSeparator(path[2]));
    return false;
}

char separatorOf(std::string_view base)
{
    for (size_t i = base.size(); i > 0; --i)
        if (isPathSeparator(base[i - 1]))
            return base[i - 1];
    return hasDriveLetter(base) ? '\\' : '/';
}

std::string joinPath(std::string_view base, std::string_view name)
{
    std::string out(base);
    if (!out.empty() && !isPathSeparator(out.back()))
        out += separatorOf(base);
    out += name;
    return out;
}

std::string toNativePath(std::string_view path)
{
    std::string out(path);
    for (char &c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string normalizePath(std::string_view path)
{
    bool rooted = false;
    const size_t root = rootLength(path, rooted);
    // Each folder kept, with the separator that follows it (none for the
    // last one).
    struct Part {
        std::string_view name;
        std::string_view text;
    };
    std::vector<Part> kept;
    size_t start = root;
    while (start < path.size()) {
        size_t end = start;
        while (end < path.size() && !isPathSeparator(path[end]))
            ++end;
        const std::string_view name = path.substr(start, end - start);
        const size_t next = end < path.size() ? end + 1 : end;
        const std::string_view part = path.substr(start, next - start);
        if (name == "..") {
            if (!kept.empty() && kept.back().name != "..")
                kept.pop_back();
            else if (!rooted)
                kept.push_back({name, part});
        } else if (name != "." && !name.empty()) {
            kept.push_back({name, part});
        }
        start = next;
    }
    std::string out(path.substr(0, root));
    for (const Part &part : kept)
        out += part.text;
    return out;
}

std::string excludeTrailingSeparator(std::string_view path)
{
    if (!path.empty() && isPathSeparator(path.back()) && !isRootPath(path))
        path.remove_suffix(1);
    return std::string(path);
}

std::string includeTrailingSeparator(std::string_view path)
{
    std::string out(path);
    if (out.empty() || !isPathSeparator(out.back()))
        out += separatorOf(path);
    return out;
}

std::string extractFileName(std::string_view path)
{
    return std::string(path.substr(nameStart(path)));
}

std::string extractFilePath(std::string_view path)
{
    return std::string(path.substr(0, nameStart(path)));
}

std::string extractFileExt(std::string_view path)
{
    const size_t start = nameStart(path);
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < start)
        return {};
    return std::string(path.substr(dot));
}

std::string changeFileExt(std::string_view path, std::string_view ext)
{
    const size_t start = nameStart(path);
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < start)
        dot = path.size();
    std::string out(path.substr(0, dot));
    out += ext;
    return out;
}

} // namespace wharf
