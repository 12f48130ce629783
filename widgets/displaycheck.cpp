#include "displaycheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace wharf {

namespace {

// Qt's own command-line options: those of the application objects and
// those of the platform plugins. One or two leading dashes are taken alike,
// and "-style" and "-stylesheet" also take "=value".
const char *const kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "session", "style", "stylesheet", "display", "name", "visual",
};
const char *const kQtFlags[] = {"reverse", "widgetcount", "sync", "testability", "nograb", "dograb"};

// The option's name without its dashes; empty for an argument that is no
// Qt option. takesValue tells whether the next argument is its value.
QString qtOption(const QString &argument, bool &takesValue)
{
    takesValue = false;
    if (!argument.startsWith(u'-') || argument.size() < 2)
        return {};
    QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    if (name.startsWith(QStringLiteral("style=")) || name.startsWith(QStringLiteral("stylesheet=")) ||
        name.startsWith(QStringLiteral("qmljsdebugger=")))
        return name.section(u'=', 0, 0);
    for (const char *option : kQtOptionsWithValue) {
        if (name == QLatin1String(option)) {
            takesValue = true;
            return name;
        }
    }
    for (const char *flag : kQtFlags)
        if (name == QLatin1String(flag))
            return name;
    return {};
}

// The values of Qt's options that decide which display is opened.
struct DisplayChoice {
    QString platform;    // "-platform"
    QString pluginPath;  // "-platformpluginpath"
    QString x11Display;  // "-display"
};

DisplayChoice displayOptions(int argc, char **argv)
{
    DisplayChoice choice;
    for (int i = 1; i < argc; ++i) {
        bool takesValue = false;
        const QString name = qtOption(QString::fromLocal8Bit(argv[i]), takesValue);
        if (!takesValue || i + 1 >= argc)
            continue;
        const QString value = QString::fromLocal8Bit(argv[++i]);
        if (name == u"platform")
            choice.platform = value;
        else if (name == u"platformpluginpath")
            choice.pluginPath = value;
        else if (name == u"display")
            choice.x11Display = value;
    }
    return choice;
}

class Socket {
public:
    explicit Socket(int domain) : m_fd(::socket(domain, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;

    // Connects without waiting longer than a few seconds; empty when it
    // worked, else the reason.
    QString connectTo(const sockaddr *address, socklen_t length) const
    {
        if (m_fd < 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        if (::connect(m_fd, address, length) == 0)
            return {};
        if (errno != EINPROGRESS)
            return QString::fromLocal8Bit(std::strerror(errno));
        pollfd wait{m_fd, POLLOUT, 0};
        constexpr int kWaitMs = 3000;
        const int ready = ::poll(&wait, 1, kWaitMs);
        if (ready <= 0)
            return ready == 0 ? QStringLiteral("no answer") : QString::fromLocal8Bit(std::strerror(errno));
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            error = errno;
        return error == 0 ? QString() : QString::fromLocal8Bit(std::strerror(error));
    }

private:
    int m_fd;
};

// Connects to a local socket: a file, or an abstract name when abstract is
// true. Empty when it answered, else the reason.
QString reachLocal(const QByteArray &path, bool abstract = false)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof address.sun_path)
        return QStringLiteral("the socket's path is too long");
    std::memcpy(address.sun_path + offset, path.constData(), static_cast<std::size_t>(path.size()));
    // A file's path ends with its zero byte; an abstract name has none.
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    return Socket(AF_UNIX).connectTo(reinterpret_cast<const sockaddr *>(&address), length);
}

QString reachTcp(const QByteArray &host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (const int error = ::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found);
        error != 0)
        return QString::fromLocal8Bit(::gai_strerror(error));
    const std::unique_ptr<addrinfo, void (*)(addrinfo *)> list(found, ::freeaddrinfo);
    QString reason;
    for (const addrinfo *a = found; a != nullptr; a = a->ai_next) {
        reason = Socket(a->ai_family).connectTo(a->ai_addr, a->ai_addrlen);
        if (reason.isEmpty())
            return {};
    }
    return reason;
}

// Why the X server named display ("[host]:number[.screen]", as DISPLAY
// holds it) can't be reached; empty when it answers. A server on this
// machine listens on the socket of its number (abstract or a file under
// /tmp/.X11-unix), one elsewhere (ssh's forwarding too) on TCP port 6000
// plus the number.
QString x11Problem(const QString &display)
{
    if (display.isEmpty())
        return QStringLiteral("DISPLAY is not set");
    const qsizetype colon = display.lastIndexOf(u':');
    QString host = display.left(std::max<qsizetype>(colon, 0));
    bool numbered = false;
    const int number = display.mid(colon + 1).section(u'.', 0, 0).toInt(&numbered);
    const QString unreachable = QStringLiteral("the X display %1 can't be reached: %2");
    if (colon < 0 || !numbered || number < 0)
        return QStringLiteral("DISPLAY=%1 names no X display").arg(display);
    // A socket's own path (as some systems' launchers set it).
    if (host.startsWith(u'/')) {
        const QString reason = reachLocal(QFile::encodeName(host));
        return reason.isEmpty() ? QString() : unreachable.arg(display, reason);
    }
    if (const qsizetype slash = host.indexOf(u'/'); slash >= 0)
        host = host.mid(slash + 1);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    if (host.isEmpty() || host == u"unix") {
        const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
        if (reachLocal(path, true).isEmpty())
            return {};
        const QString reason = reachLocal(path);
        return reason.isEmpty() ? QString() : unreachable.arg(display, reason);
    }
    const QString reason = reachTcp(host.toUtf8(), 6000 + number);
    return reason.isEmpty() ? QString() : unreachable.arg(display, reason);
}

// Why the Wayland compositor can't be reached; empty when it answers.
QString waylandProblem()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return {};
    QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (name.isEmpty())
        name = QStringLiteral("wayland-0");
    QString path = name;
    if (!name.startsWith(u'/')) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return QStringLiteral("the Wayland display %1 can't be found: XDG_RUNTIME_DIR is not set").arg(name);
        path = runtime + u'/' + name;
    }
    const QString reason = reachLocal(QFile::encodeName(path));
    return reason.isEmpty() ? QString()
                            : QStringLiteral("the Wayland display %1 can't be reached: %2").arg(name, reason);
}

// The folders Qt looks for platform plugins in.
QStringList platformPluginFolders(const DisplayChoice &choice)
{
    QStringList folders;
    if (!choice.pluginPath.isEmpty())
        folders << choice.pluginPath;
    for (const char *variable : {"QT_QPA_PLATFORM_PLUGIN_PATH", "QT_PLUGIN_PATH"}) {
        for (const QString &entry : qEnvironmentVariable(variable).split(u':', Qt::SkipEmptyParts))
            folders << (std::strcmp(variable, "QT_PLUGIN_PATH") == 0 ? entry + QStringLiteral("/platforms") : entry);
    }
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    folders << QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QStringLiteral("/platforms");
    return folders;
}

// True when a plugin in folders serves the platform name: read from each
// plugin's metadata, without loading it.
bool platformPluginInstalled(const QString &name, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &file : dir.entryList({QStringLiteral("*.so")}, QDir::Files)) {
            const QJsonObject data = QPluginLoader(dir.filePath(file)).metaData();
            const QJsonArray keys =
                data.value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("Keys")).toArray();
            for (const QJsonValue key : keys)
                if (key.toString().compare(name, Qt::CaseInsensitive) == 0)
                    return true;
        }
    }
    return false;
}

} // namespace

QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList own;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (qtOption(arguments.at(i), takesValue).isEmpty())
            own << arguments.at(i);
        else if (takesValue)
            ++i;
    }
    return own;
}

QString missingDisplayProblem(int argc, char **argv)
{
    const DisplayChoice choice = displayOptions(argc, argv);
    const QString chosen = !choice.platform.isEmpty() ? choice.platform : qEnvironmentVariable("QT_QPA_PLATFORM");
    QStringList platforms;
    if (!chosen.isEmpty()) {
        // "name:option=value;fallback"
        for (const QString &entry : chosen.split(u';', Qt::SkipEmptyParts))
            platforms << entry.section(u':', 0, 0).trimmed();
    } else {
        // Qt tries Wayland first in a Wayland session or where a compositor
        // is named, then X11.
        const bool wayland =
            qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        if (!wayland && qEnvironmentVariableIsEmpty("DISPLAY") && choice.x11Display.isEmpty())
            return QStringLiteral(
                "there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)");
        if (wayland)
            platforms << QStringLiteral("wayland");
        platforms << QStringLiteral("xcb");
    }

    const QStringList folders = platformPluginFolders(choice);
    QStringList reasons;
    for (const QString &platform : platforms) {
        QString reason;
        if (!platformPluginInstalled(platform, folders))
            reason = QStringLiteral("Qt's platform plugin \"%1\" is not installed").arg(platform);
        else if (platform == u"xcb")
            reason = x11Problem(choice.x11Display.isEmpty() ? qEnvironmentVariable("DISPLAY") : choice.x11Display);
        else if (platform.startsWith(QStringLiteral("wayland")))
            reason = waylandProblem();
        if (reason.isEmpty())
            return {};
        reasons << reason;
    }
    if (reasons.isEmpty())
        reasons << QStringLiteral("no platform is named");
    return QStringLiteral("there is no display to show the window on (%1)").arg(reasons.join(QStringLiteral("; ")));
}

} // namespace wharf
