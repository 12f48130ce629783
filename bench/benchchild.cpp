#include "benchchild.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
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
