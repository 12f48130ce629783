#include "fileroutines.h"

#include "files.h"
#include "paths.h"

#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace wharf {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The code points of UTF-8 text; a byte that starts no valid sequence
// stands for itself.
std::vector<char32_t> codePoints(std::string_view text)
{
    std::vector<char32_t> out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            out.push_back(b);
            ++i;
            continue;
        }
        char32_t cp = length == 1 ? b : (b & (0x7F >> length));
        bool valid = true;
        for (size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            out.push_back(b);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += length;
    }
    return out;
}

bool matchFrom(const std::vector<char32_t> &name, size_t n, const std::vector<char32_t> &pattern, size_t p)
{
    while (p < pattern.size()) {
        if (pattern[p] == U'*') {
            while (p < pattern.size() && pattern[p] == U'*')
                ++p;
            if (p == pattern.size())
                return true;
            for (size_t k = n; k <= name.size(); ++k)
                if (matchFrom(name, k, pattern, p))
                    return true;
            return false;
        }
        if (n == name.size())
            return false;
        if (pattern[p] != U'?' && pattern[p] != name[n])
            return false;
        ++n;
        ++p;
    }
    return n == name.size();
}

struct Match {
    std::string name;
    std::string nativePath;
};

// The entries of the mask's folder that its last part matches, sorted by
// name.
std::vector<Match> findMatches(std::string_view mask)
{
    std::string full(mask);
    if (!isAbsolutePath(full))
        full = joinPath(currentFolder(), full);
    const std::string folder = extractFilePath(full);
    const std::string pattern = extractFileName(full);
    std::vector<Match> matches;
    if (pattern.empty())
        return matches;
    for (const FolderEntry &entry : listFolder(folder.empty() ? std::string(".") : folder))
        if (MatchesMask(entry.name, pattern))
            matches.push_back({entry.name, toNativePath(joinPath(folder, entry.name))});
    return matches;
}

} // namespace

std::string StripTrailingBackslash(std::string_view path)
{
    if (path.size() <= 1 || !isPathSeparator(path.back()))
        return std::string(path);
    if (path.size() == 3 && isAsciiLetter(path[0]) && path[1] == ':')
        return std::string(path);
    return std::string(path.substr(0, path.size() - 1));
}

bool FolderExists(std::string_view name) { return !name.empty() && folderExists(name); }

bool DeleteMatchingFiles(std::string_view mask)
{
    const std::vector<Match> matches = findMatches(mask);
    if (matches.empty())
        return false;
    const std::string folderAsPassed = extractFilePath(mask);
    for (const Match &match : matches) {
        if (match.name.front() == '.')
            continue;
        struct stat st {};
        if (::stat(match.nativePath.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            continue;
        if (!deleteFile(folderAsPassed + match.name))
            return false;
    }
    return true;
}

std::string TempFolderPath()
{
    const char *tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp) ? std::string(tmp) : std::string("/tmp");
    return includeTrailingSeparator(folder);
}

bool IsWindowsStylePath(std::string_view name)
{
    const bool drive = name.size() >= 2 && name[1] == ':' &&
                       ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    return drive || name.find('\\') != std::string_view::npos;
}

bool IsValidFileName(std::string_view name)
{
    if (name.empty())
        return false;
    // A Windows-style path keeps the rule of that file system; a native one
    // may hold any character but NUL.
    if (IsWindowsStylePath(name) || (name.front() == '"' && IsWindowsStylePath(name.substr(1))))
        return !ContainsAnyChar(name, "<>\"[]|");
    return name.find('\0') == std::string_view::npos;
}

bool ContainsAnyChar(std::string_view text, std::string_view chars)
{
    const std::vector<char32_t> wanted = codePoints(chars);
    for (char32_t c : codePoints(text))
        for (char32_t w : wanted)
            if (c == w)
                return true;
    return false;
}

std::string ExpandToLongFileName(std::string_view name)
{
    if (name.empty() || isPathSeparator(name.back()))
        return {};
    const std::vector<Match> matches = findMatches(name);
    return matches.empty() ? std::string() : matches.front().name;
}

std::string ContractToShortFileName(std::string_view name) { return ExpandToLongFileName(name); }

bool MatchesMask(std::string_view name, std::string_view pattern)
{
    if (pattern == "*.*")
        return true;
    return matchFrom(codePoints(name), 0, codePoints(pattern), 0);
}

} // namespace wharf
