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

// An environment value that the XDG rules accept: set and absolute.
std::string xdgValue(const char *name)
{
    const char *value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return value;
}

std::string homeFolder()
{
    std::string home = xdgValue("HOME");
    if (!home.empty())
        return home;
    if (const passwd *pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    throw std::runtime_error("Could not find the home folder: HOME is not set");
}

std::string underBase(const std::string &base)
{
    std::string path = base;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    path += '/';
    path += kAppFolder;
    createPrivateFolderPath(path);
    return path;
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

std::string userStateFolder()
{
    std::string base = xdgValue("XDG_STATE_HOME");
    if (base.empty())
        base = homeFolder() + "/.local/state";
    return underBase(base);
}

std::string userRuntimeFolder()
{
    std::string base = xdgValue("XDG_RUNTIME_DIR");
    if (base.empty())
        base = xdgValue("XDG_CACHE_HOME");
    if (base.empty())
        base = homeFolder() + "/.cache";
    std::string folder = underBase(base);
    ScratchFolder::removeAbandoned(folder);
    return folder;
}

} // namespace wharf
