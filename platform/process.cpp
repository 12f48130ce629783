#include "process.h"

#include "files.h"
#include "paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace wharf {
namespace {

// The argument vector of a start: the program path first, then args. The
// pointers stay valid while the object lives.
class ArgumentVector {
public:
    ArgumentVector(const std::string &path, const std::vector<std::string> &args) : m_strings{path}
    {
        m_strings.insert(m_strings.end(), args.begin(), args.end());
        for (std::string &a : m_strings)
            m_pointers.push_back(a.data());
        m_pointers.push_back(nullptr);
    }
    char **get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_strings;
    std::vector<char *> m_pointers;
};

// Spawns the program; returns its pid, or -1 with errno set.
pid_t spawn(std::string_view program, const std::vector<std::string> &args)
{
    const std::string path = toNativePath(program);
    ArgumentVector argv(path, args);
    pid_t pid = -1;
    // posix_spawn (not posix_spawnp): the path is used as given, no search.
    if (const int error = ::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.get(), environ); error != 0) {
        errno = error;
        return -1;
    }
    return pid;
}

// The first executable file of that name in the folders of PATH; empty when
// there is none.
std::string findOnPath(std::string_view name)
{
    const char *env = std::getenv("PATH");
    const std::string_view path = env ? env : "";
    size_t begin = 0;
    while (begin <= path.size()) {
        const size_t end = std::min(path.find(':', begin), path.size());
        std::string folder(path.substr(begin, end - begin));
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + std::string(name);
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return {};
}

// Sleeps for a few milliseconds.
void nap(long millis)
{
    timespec t{0, millis * 1000000L};
    while (::nanosleep(&t, &t) < 0 && errno == EINTR) {
    }
}

} // namespace

bool isWindowsExecutable(std::string_view program)
{
    const int fd = ::open(toNativePath(program).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char magic[2] = {};
    ssize_t n;
    while ((n = ::read(fd, magic, sizeof magic)) < 0 && errno == EINTR) {
    }
    ::close(fd);
    return n == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

bool runAndWait(std::string_view program, const std::vector<std::string> &args)
{
    // glibc's posix_spawn reports a failed exec as its own error, so a
    // missing or non-executable program is caught here.
    const pid_t pid = spawn(program, args);
    if (pid < 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

bool startDetached(std::string_view program, const std::vector<std::string> &args)
{
    // Everything is prepared before fork: between fork and exec only
    // async-signal-safe calls are allowed.
    const std::string path = toNativePath(program);
    ArgumentVector argv(path, args);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    // An intermediate child starts the program and exits at once, so the
    // program is adopted by init and never left as a zombie of ours. A
    // failed exec writes its errno into the pipe; a successful one closes it.
    const pid_t middle = ::fork();
    if (middle < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (middle == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                ::dup2(null, 0);
                ::dup2(null, 1);
                ::dup2(null, 2);
            }
            ::execv(path.c_str(), argv.get());
            const int err = errno;
            [[maybe_unused]] const ssize_t n = ::write(report[1], &err, sizeof err);
            ::_exit(127);
        }
        ::_exit(pid < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    while ((n = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    const bool started = WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
    if (n > 0)
        errno = err; // the reason the program could not be started
    return started;
}

bool runWindowsProgram(std::string_view program, const std::vector<std::string> &args,
                       const std::function<void()> &whileWaiting)
{
    const std::string path = toNativePath(program);
    if (!fileExists(path))
        return false;
    pid_t pid = -1;
    if (isWindowsExecutable(path)) {
        const std::string wine = findOnPath("wine");
        if (wine.empty())
            return false;
        std::vector<std::string> wineArgs{path};
        wineArgs.insert(wineArgs.end(), args.begin(), args.end());
        pid = spawn(wine, wineArgs);
    } else {
        pid = spawn(path, args);
    }
    if (pid < 0)
        return false;
    // Waits of up to 100 ms, looked at every 10 ms so that the end is seen
    // soon after it happens.
    for (;;) {
        for (int slice = 0; slice < 10; ++slice) {
            int status = 0;
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid || (done < 0 && errno != EINTR))
                return true;
            nap(10);
        }
        if (whileWaiting)
            whileWaiting();
    }
}

} // namespace wharf
