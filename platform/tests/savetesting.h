#pragma once
// Helpers for tests of saves under hard conditions: a small tmpfs that can be
// filled up, and work done in a child process, as another user or killed at
// a chosen point. Header only, for the tests of every writer.

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace wharf::testing {

inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNoGroup = 65534;
inline constexpr gid_t kUsers = 100;

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// A tmpfs mounted on folder (which it creates) with the given mount options
// ("size=256k", "nr_inodes=16") until the object goes. Where it can't be
// mounted (not root, no mount rights in this namespace), mounted() is false
// and reason() says why.
class SmallFileSystem {
public:
    SmallFileSystem(std::string folder, const std::string &options) : m_folder(std::move(folder))
    {
        ::mkdir(m_folder.c_str(), 0755);
        if (::mount("tmpfs", m_folder.c_str(), "tmpfs", 0, options.c_str()) == 0)
            m_mounted = true;
        else
            m_reason = "a tmpfs can't be mounted on " + m_folder + ": " + std::strerror(errno);
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const { return m_mounted; }
    const std::string &reason() const { return m_reason; }
    const std::string &folder() const { return m_folder; }

    // Takes every free byte: a filler file grows until the disk is full.
    void fillSpace() const
    {
        const int fd = ::open((m_folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        const char one = 'f';
        while (::write(fd, &one, 1) > 0) {
        }
        ::close(fd);
    }

    // Takes every free inode: empty files until no new one can be made.
    void fillInodes() const
    {
        for (int i = 0;; ++i) {
            const int fd = ::open((m_folder + "/inode" + std::to_string(i)).c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd < 0)
                return;
            ::close(fd);
        }
    }

private:
    std::string m_folder;
    bool m_mounted = false;
    std::string m_reason;
};

// The user a child process drops to.
struct ChildUser {
    uid_t uid = kNobody;
    gid_t gid = kNoGroup;
    std::vector<gid_t> groups;  // supplementary groups
};

// How a child process ended and what its work returned.
struct ChildOutcome {
    pid_t pid = 0;
    bool exited = false;  // ended by _exit (else by a signal)
    int status = -1;      // its exit status
    int signal = 0;       // the signal that ended it
    std::string output;   // what body returned
};

// Runs body in a forked child (as user, when given: needs root) and returns
// what it returned, through a pipe. The child never returns into the test
// framework: it ends with _exit, or by a signal body raises.
inline ChildOutcome runInChild(const std::function<std::string()> &body,
                               const std::optional<ChildUser> &user = std::nullopt)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string output;
        int status = 0;
        if (user && (::setgroups(user->groups.size(), user->groups.data()) != 0 ||
                     ::setresgid(user->gid, user->gid, user->gid) != 0 ||
                     ::setresuid(user->uid, user->uid, user->uid) != 0)) {
            output = std::string("could not become the user: ") + std::strerror(errno);
            status = 3;
        } else {
            try {
                output = body();
            } catch (const std::exception &e) {
                output = std::string("exception: ") + e.what();
                status = 2;
            }
        }
        for (size_t done = 0; done < output.size();) {
            const ssize_t n = ::write(fds[1], output.data() + done, output.size() - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        ::_exit(status);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    outcome.pid = pid;
    if (pid < 0) {
        ::close(fds[0]);
        return outcome;
    }
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        outcome.output.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.exited = WIFEXITED(status);
    outcome.status = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

} // namespace wharf::testing
