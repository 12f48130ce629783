#include "displaycheck.h"

#include "files.h"
#include "qtprinters.h"
#include "scopedenv.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace wharf {
namespace {

// A listening socket that stands for a display server: it accepts the
// connection and says nothing, which is all the check asks of it.
class Listener {
public:
    ~Listener()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    // The abstract socket of a local X display; its number in display.
    bool x11(int &display)
    {
        for (display = 4242; display < 4300; ++display) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const std::string name = "/tmp/.X11-unix/X" + std::to_string(display);
            std::memcpy(address.sun_path + 1, name.data(), name.size());
            if (listenOn(AF_UNIX, reinterpret_cast<sockaddr *>(&address),
                         static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())))
                return true;
        }
        return false;
    }
    // A socket file, as a Wayland compositor's.
    bool file(const std::string &path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.data(), path.size());
        return listenOn(AF_UNIX, reinterpret_cast<sockaddr *>(&address), sizeof address);
    }
    // A TCP port of this machine above 6000, as ssh's X forwarding has one;
    // its display number in display. Closed again unless keep is true.
    bool tcp(int &display, bool keep = true)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (!listenOn(AF_INET, reinterpret_cast<sockaddr *>(&address), sizeof address))
            return false;
        socklen_t size = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &size);
        display = ntohs(address.sin_port) - 6000;
        if (!keep) {
            ::close(m_fd);
            m_fd = -1;
        }
        return display > 0;
    }

private:
    bool listenOn(int domain, const sockaddr *address, socklen_t length)
    {
        m_fd = ::socket(domain, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_fd >= 0 && ::bind(m_fd, address, length) == 0 && ::listen(m_fd, 4) == 0)
            return true;
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return false;
    }

    int m_fd = -1;
};

QString displayProblem(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "program");
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    return missingDisplayProblem(static_cast<int>(argv.size()), argv.data());
}

TEST(DisplayCheckTest, ADisplayThatIsSetButDoesNotAnswerIsNoDisplay)
{
    using wharf::testing::ScopedEnv;
    ScratchFolder dir;
    int local = 0;
    int remote = 0;
    int closed = 0;
    Listener x11;
    Listener tcp;
    Listener gone;
    Listener compositor;
    ASSERT_TRUE(x11.x11(local));
    ASSERT_TRUE(tcp.tcp(remote));
    ASSERT_TRUE(gone.tcp(closed, false));
    const std::string waylandSocket = dir.file("wayland-7");
    ASSERT_TRUE(compositor.file(waylandSocket));
    // Rows that need a platform plugin this machine lacks are left out.
    const bool haveX11 = !displayProblem({"-platform", "xcb", "-display", ":" + std::to_string(local)}).contains(u"not installed");
    const bool haveWayland = !displayProblem({"-platform", "wayland"}).contains(u"not installed");

    struct Case {
        const char *name;
        std::vector<std::pair<const char *, std::string>> variables; // empty value: unset
        std::vector<std::string> arguments;
        const char *problem; // nullptr: a display is there
        bool needsX11 = false;
        bool needsWayland = false;
    };
    const std::string localDisplay = ":" + std::to_string(local);
    const Case cases[] = {
        {"nothing", {}, {}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"a local X server", {{"DISPLAY", localDisplay}}, {}, nullptr, true},
        {"its screen", {{"DISPLAY", "unix" + localDisplay + ".0"}}, {}, nullptr, true},
        {"a local X server that is gone", {{"DISPLAY", ":" + std::to_string(local + 100)}}, {}, "can't be reached",
         true},
        {"ssh's forwarding", {{"DISPLAY", "127.0.0.1:" + std::to_string(remote) + ".0"}}, {}, nullptr, true},
        {"a closed ssh -X", {{"DISPLAY", "localhost:" + std::to_string(closed) + ".0"}}, {}, "can't be reached", true},
        {"no display number", {{"DISPLAY", "garbage"}}, {}, "names no X display", true},
        {"-display", {}, {"-display", localDisplay}, nullptr, true},
        {"-display over DISPLAY", {{"DISPLAY", localDisplay}}, {"--display", ":" + std::to_string(local + 100)},
         "can't be reached", true},
        {"the offscreen platform", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, nullptr},
        {"-platform", {}, {"-platform", "offscreen"}, nullptr},
        {"a platform without its plugin", {{"QT_QPA_PLATFORM", "nosuch"}}, {}, "platform plugin \"nosuch\" is not installed"},
        {"a fallback", {{"QT_QPA_PLATFORM", "nosuch;offscreen:size=800x600"}}, {}, nullptr},
        {"WAYLAND_DISPLAY without a compositor or X server", {{"WAYLAND_DISPLAY", dir.file("none")}}, {},
         "there is no display"},
        {"WAYLAND_DISPLAY with an X server", {{"WAYLAND_DISPLAY", dir.file("none")}, {"DISPLAY", localDisplay}}, {},
         nullptr, true},
        {"a Wayland session", {{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", waylandSocket}}, {}, nullptr,
         false, true},
        {"a Wayland session whose compositor is gone",
         {{"XDG_SESSION_TYPE", "wayland"}, {"XDG_RUNTIME_DIR", dir.path()}, {"WAYLAND_DISPLAY", "wayland-9"}}, {},
         "the Wayland display wayland-9 can't be reached", false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if ((c.needsX11 && !haveX11) || (c.needsWayland && !haveWayland))
            continue;
        std::vector<std::unique_ptr<ScopedEnv>> environment;
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"})
            environment.push_back(std::make_unique<ScopedEnv>(name, nullptr));
        for (const auto &[name, value] : c.variables)
            environment.push_back(std::make_unique<ScopedEnv>(name, value));
        const QString problem = displayProblem(c.arguments);
        if (c.problem == nullptr) {
            EXPECT_EQ(problem, QString());
        } else {
            EXPECT_TRUE(problem.startsWith(QStringLiteral("there is no display to show the window on ("))) << problem.toStdString();
            EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem))) << problem.toStdString();
        }
    }
    // Where the Wayland plugin is missing, a Wayland session without an X
    // server says so.
    if (!haveWayland) {
        const ScopedEnv session("XDG_SESSION_TYPE", "wayland");
        const ScopedEnv display("DISPLAY", nullptr);
        const ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
        EXPECT_TRUE(displayProblem({}).contains(QStringLiteral("platform plugin \"wayland\" is not installed")));
    }
}

TEST(DisplayCheckTest, QtsOwnOptionsAreTakenOutOfTheCommandLine)
{
    EXPECT_EQ(withoutQtOptions({"-platform", "offscreen", "a.wfp", "--style", "fusion", "-style=fusion", "-reverse",
                                "-c", "--display", ":0", "-qwindowtitle", "T", "-x"}),
              (QStringList{"a.wfp", "-c", "-x"}));
    // An option at the end without its value goes with it.
    EXPECT_EQ(withoutQtOptions({"a.wfp", "-platform"}), QStringList{"a.wfp"});
}

} // namespace
} // namespace wharf
