#include "benchchild.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wharf::bench {

RunResult runChild(const std::vector<std::string> &args, const std::string &program, bool measureWall)
{
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    // fork and exec, not posix_spawn: glibc's posix_spawn runs the child in
    // the parent's address space until exec, and the kernel then counts the
    // parent's peak resident memory as the child's. A forked child only
    // starts from the parent's current pages, which stay small here.
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execvp(program.c_str(), argv.data());
        ::_exit(127);
    }
    const int rc = pid < 0 ? -1 : 0;
    ::close(fds[1]);
    std::string text;
    std::array<char, 256> buf;
    for (ssize_t n; (n = ::read(fds[0], buf.data(), buf.size())) > 0;)
        if (!measureWall)
            text.append(buf.data(), static_cast<size_t>(n));
    ::close(fds[0]);
    if (rc != 0)
        return {};
    int status = 0;
    struct rusage usage {};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {measureWall ? wall : std::atof(text.c_str()), usage.ru_maxrss};
}

} // namespace wharf::bench
