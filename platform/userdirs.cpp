#include "userdirs.h"

#include "files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace wharf {
namespace {

constexpr const char *kAppFolder = "brindlewharf";
constexpr const char *kSetVariables =
    "Set HOME to an existing folder of this user, or XDG_STATE_HOME and XDG_CACHE_HOME to folders of its own.";

// An environment value that the XDG rules accept: set and absolute.
std::string xdgValue(const char *name)
{
    const char *value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return value;
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The user's home folder, when it exists: HOME, else the password entry's.
// A home that is not there (system users have "/nonexistent") is no place
// to make folders in, and must never be made by us, least of all as root.
std::string existingHome()
{
    std::string home = xdgValue("HOME");
    if (home.empty())
        if (const passwd *pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_dir != nullptr && pw->pw_dir[0] == '/')
            home = pw->pw_dir;
    if (home.empty() || !folderExists(home))
        return {};
    return withoutTrailingSlashes(home);
}

// What is wrong with path as a folder of this user's own; empty when nothing
// is. otherBits are the mode bits nobody else may have: write (022), where
// only what others could put in or take out matters, or all (077). Links
// are followed when follow is true.
std::string ownFolderFault(const std::string &path, bool follow, mode_t otherBits)
{
    struct stat st {};
    if ((follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0)
        return std::strerror(errno);
    if (!S_ISDIR(st.st_mode))
        return "it is not a folder";
    if (st.st_uid != ::geteuid())
        return "it belongs to another user";
    if ((st.st_mode & otherBits) != 0)
        return (otherBits & 044) != 0 ? "other users may enter it" : "other users may write in it";
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return std::strerror(errno);
    return {};
}

// <temporary folder>/brindlewharf-<uid>: the folder of a user without a
// home. Another user could have made it first and wait there to read or
// replace what goes in, so it is used only when it is a real folder (no
// link) of this user that nobody else may enter. With create false a
// missing folder gives an empty text.
std::string privateTemporaryFolder(bool create)
{
    std::string tmp = xdgValue("TMPDIR");
    if (tmp.empty())
        tmp = "/tmp";
    const std::string path = withoutTrailingSlashes(tmp) + "/" + kAppFolder + "-" + std::to_string(::geteuid());
    if (!create) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT)
            return {};
    } else if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        throw std::runtime_error("This user has no home folder, and the private folder " + path +
                                 " can't be made: " + std::strerror(errno) + ". " + kSetVariables);
    }
    if (const std::string fault = ownFolderFault(path, false, 077); !fault.empty())
        throw std::runtime_error("This user has no home folder, and the private folder " + path +
                                 " can't be used: " + fault + ". " + kSetVariables);
    return path;
}

// base + "/brindlewharf", made when create is true.
std::string underBase(const std::string &base, bool create)
{
    const std::string path = withoutTrailingSlashes(base) + "/" + kAppFolder;
    if (create)
        createPrivateFolderPath(path);
    return path;
}

// The folder of the given XDG variable, else the home's folder of that kind,
// else one of the private temporary folder. With create false nothing is
// made; a user without a home and without the private temporary folder
// then gets an empty text.
std::string userFolder(const char *variable, const char *inHome, const char *inTemporary, bool create)
{
    if (const std::string base = xdgValue(variable); !base.empty())
        return underBase(base, create);
    if (const std::string home = existingHome(); !home.empty())
        return underBase(home + "/" + inHome, create);
    if (!create) {
        const std::string temporary = privateTemporaryFolder(false);
        return temporary.empty() ? std::string() : temporary + "/" + inTemporary;
    }
    const std::string path = privateTemporaryFolder(true) + "/" + inTemporary;
    createPrivateFolderPath(path);
    return path;
}

std::string cacheFolder(bool create) { return userFolder("XDG_CACHE_HOME", ".cache", "cache", create); }

// $XDG_RUNTIME_DIR/brindlewharf, made, when XDG_RUNTIME_DIR can be used;
// else an empty text and, when the variable is set, why it can't.
std::string usableRuntimeFolder(std::string &problem)
{
    const char *raw = std::getenv("XDG_RUNTIME_DIR");
    if (raw == nullptr || *raw == '\0')
        return {};
    const std::string base = raw;
    if (base[0] != '/') {
        problem = "it is not an absolute path";
        return {};
    }
    try {
        // Made like the folders below it when it is missing (and its
        // parent lets this user), then held to what a runtime folder must
        // be: this user's, and nobody else's to write in.
        createPrivateFolderPath(base);
        problem = ownFolderFault(withoutTrailingSlashes(base), true, 022);
        return problem.empty() ? underBase(base, true) : std::string();
    } catch (const std::runtime_error &e) {
        problem = e.what();
        return {};
    }
}

} // namespace

void createPrivateFolderPath(const std::string &path)
{
    // Walk down from the root, making each missing level; the levels made
    // here are private, existing ones are left as they are.
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/')
            continue;
        const std::string level = path.substr(0, pos);
        struct stat st {};
        if (::stat(level.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                throw std::runtime_error("Could not create the folder " + path + ": " + level + " is not a folder");
            continue;
        }
        if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST)
            throw std::runtime_error("Could not create the folder " + path + ": " + std::strerror(errno));
    }
}

std::string userStateFolder() { return userFolder("XDG_STATE_HOME", ".local/state", "state", true); }

std::string userRuntimeFolder()
{
    std::string problem;
    std::string folder = usableRuntimeFolder(problem);
    if (folder.empty()) {
        folder = cacheFolder(true);
    } else {
        // Runs without a runtime folder (cron, ssh, a service) left theirs
        // in the cache folder; any later run clears them.
        try {
            if (const std::string cache = cacheFolder(false); !cache.empty() && cache != folder)
                ScratchFolder::removeAbandoned(cache);
        } catch (const std::runtime_error &) {
            // No cache folder to sweep.
        }
    }
    ScratchFolder::removeAbandoned(folder);
    return folder;
}

std::string runtimeFolderProblem()
{
    std::string problem;
    if (!usableRuntimeFolder(problem).empty() || problem.empty())
        return {};
    std::string line = "XDG_RUNTIME_DIR=" + std::string(std::getenv("XDG_RUNTIME_DIR")) + " can't be used (" +
                       problem + ")";
    try {
        const std::string cache = cacheFolder(false);
        line += "; scratch files go to " + (cache.empty() ? std::string("a private temporary folder") : cache) +
                " instead.";
    } catch (const std::runtime_error &e) {
        line += ". " + std::string(e.what());
    }
    return line;
}

} // namespace wharf
