#include "files.h"

#include "paths.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <memory>
#include <signal.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wharf {
namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }
    // Closes now and tells whether the close succeeded (writes may fail late).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool statPath(std::string_view path, struct stat &st)
{
    return ::stat(toNativePath(path).c_str(), &st) == 0;
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies everything from in's position to out, in pieces.
bool copyRest(int in, int out)
{
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        if (!writeAll(out, buffer.data(), static_cast<size_t>(n)))
            return false;
    }
}

// Removes whatever is named path and creates a new file there exclusively,
// never through a link. When the name can't be removed, the reason of that
// failure is the one left in errno.
int createNewFile(const std::string &path, mode_t mode)
{
    int unlinkError = 0;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        unlinkError = errno;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 && errno == EEXIST && unlinkError != 0)
        errno = unlinkError;
    return fd;
}

// Copies one piece onto out; false with errno set on a failure or a piece
// that ends early.
bool copyPiece(const FilePiece &piece, int out, struct stat *first)
{
    Fd in(::open(toNativePath(piece.path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok())
        return false;
    struct stat st {};
    if (::fstat(in.get(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if (first)
        *first = st;
    if (piece.offset < 0 || ::lseek(in.get(), piece.offset, SEEK_SET) < 0) {
        errno = EINVAL;
        return false;
    }
    if (piece.count < 0)
        return copyRest(in.get(), out);
    std::vector<char> buffer(1 << 16);
    for (int64_t left = piece.count; left > 0;) {
        const ssize_t n = ::read(in.get(), buffer.data(), static_cast<size_t>(std::min<int64_t>(left, 1 << 16)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // the file is shorter than the piece
            return false;
        }
        if (!writeAll(out, buffer.data(), static_cast<size_t>(n)))
            return false;
        left -= n;
    }
    return true;
}

// Closes a file made by createNewFile; when it was not written whole, it is
// removed, with errno kept from the failure.
bool finishNewFile(Fd &out, const std::string &path, bool written)
{
    const bool ok = out.close() && written;
    if (!ok) {
        const int error = errno;
        ::unlink(path.c_str());
        errno = error;
    }
    return ok;
}

struct DirCloser {
    void operator()(DIR *d) const { ::closedir(d); }
};

// The path with every symbolic link at its end followed, also a chain of
// links (a relative target is taken against the link's folder): the file a
// write through the path reaches. A link that names nothing gives the path
// it names. nullopt with errno set when a link can't be read or the chain
// does not end (ELOOP).
std::optional<std::string> followLinks(std::string path)
{
    constexpr int kMaxLinks = 40;  // the kernel's own limit
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return std::nullopt;
        target.resize(static_cast<size_t>(n));
        if (!target.empty() && target.front() != '/') {
            const size_t slash = path.rfind('/');
            if (slash != std::string::npos)
                target = path.substr(0, slash + 1) + target;
        }
        path = std::move(target);
    }
    errno = ELOOP;
    return std::nullopt;
}

} // namespace

bool fileExists(std::string_view path)
{
    struct stat st {};
    return statPath(path, st) && S_ISREG(st.st_mode);
}

bool folderExists(std::string_view path)
{
    struct stat st {};
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

int32_t fileAttributes(std::string_view path)
{
    struct stat st {};
    if (!statPath(path, st))
        return -1;
    if (S_ISDIR(st.st_mode))
        return kAttrDirectory;
    int32_t attr = kAttrArchive;
    if ((st.st_mode & S_IWUSR) == 0)
        attr |= kAttrReadOnly;
    return attr;
}

int32_t fileDosDateTime(std::string_view path)
{
    struct stat st {};
    if (!statPath(path, st))
        return -1;
    const time_t t = st.st_mtime;
    struct tm lt {};
    if (::localtime_r(&t, &lt) == nullptr)
        return -1;
    int year = lt.tm_year + 1900;
    year = std::clamp(year, 1980, 2107);
    const uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | ((lt.tm_mon + 1) << 5) | lt.tm_mday);
    const uint32_t time = static_cast<uint32_t>((lt.tm_hour << 11) | (lt.tm_min << 5) | (lt.tm_sec / 2));
    return static_cast<int32_t>((date << 16) | time);
}

int64_t fileSize(std::string_view path)
{
    struct stat st {};
    if (!statPath(path, st) || S_ISDIR(st.st_mode))
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool copyFile(std::string_view source, std::string_view target)
{
    const std::string src = toNativePath(source);
    const std::string dst = toNativePath(target);
    Fd in(::open(src.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok())
        return false;
    struct stat st {};
    if (::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // A read-only target is replaced as Windows replaces it: remove it first.
    ::unlink(dst.c_str());
    Fd out(::open(dst.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!out.ok())
        return false;
    if (!copyRest(in.get(), out.get()))
        return false;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.get(), times);
    ::fchmod(out.get(), st.st_mode & 07777);
    return out.close();
}

bool appendFile(std::string_view target, std::string_view source)
{
    Fd in(::open(toNativePath(source).c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok())
        return false;
    Fd out(::open(toNativePath(target).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    if (!out.ok())
        return false;
    if (!copyRest(in.get(), out.get()))
        return false;
    return out.close();
}

bool deleteFile(std::string_view path)
{
    const std::string p = toNativePath(path);
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return ::unlink(p.c_str()) == 0;
}

bool renameFile(std::string_view from, std::string_view to)
{
    return ::rename(toNativePath(from).c_str(), toNativePath(to).c_str()) == 0;
}

bool createFolder(std::string_view path)
{
    const std::string p = toNativePath(path);
    if (::mkdir(p.c_str(), 0777) == 0)
        return true;
    return errno == EEXIST && folderExists(path);
}

bool removeFolder(std::string_view path)
{
    return ::rmdir(toNativePath(path).c_str()) == 0;
}

std::vector<FolderEntry> listFolder(std::string_view path)
{
    std::vector<FolderEntry> entries;
    const std::string p = toNativePath(path);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(p.c_str()));
    if (!dir)
        return entries;
    while (const dirent *e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry entry;
        entry.name = name;
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.isLink = S_ISLNK(st.st_mode);
            entry.isFolder = S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return entries;
}

std::optional<std::string> readFile(std::string_view path)
{
    Fd in(::open(toNativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok())
        return std::nullopt;
    struct stat st {};
    if (::fstat(in.get(), &st) != 0 || S_ISDIR(st.st_mode))
        return std::nullopt;
    std::string data;
    data.reserve(static_cast<size_t>(st.st_size));
    char buffer[1 << 14];
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(buffer, static_cast<size_t>(n));
    }
    return data;
}

bool writeFile(std::string_view path, std::string_view data)
{
    Fd out(::open(toNativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.ok())
        return false;
    if (!writeAll(out.get(), data.data(), data.size()))
        return false;
    return out.close();
}

bool replaceFile(std::string_view path, std::string_view data)
{
    const std::optional<std::string> resolved = followLinks(toNativePath(path));
    if (!resolved)
        return false;
    const std::string &target = *resolved;
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // A read-only file stays as it is, also for a user whom its permission
    // bits do not bind: renaming over it would replace it regardless.
    if (exists && ((st.st_mode & S_IWUSR) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
        errno = EACCES;
        return false;
    }
    std::string scratch = target + ".XXXXXX";
    const int fd = ::mkstemp(scratch.data());
    if (fd < 0)
        return writeFile(target, data);
    Fd out(fd);
    // Keep the permissions of the file being replaced.
    if (exists) {
        ::fchmod(out.get(), st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(out.get(), 0666 & ~mask);
    }
    if (!writeAll(out.get(), data.data(), data.size()) || !out.close() ||
        ::rename(scratch.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(scratch.c_str());
        errno = error;
        return false;
    }
    return true;
}

bool writeNewFileFrom(std::string_view target, const std::vector<FilePiece> &pieces)
{
    const std::string path = toNativePath(target);
    Fd out(createNewFile(path, 0600));
    if (!out.ok())
        return false;
    struct stat first {};
    bool ok = true;
    for (size_t i = 0; i < pieces.size() && ok; ++i)
        ok = copyPiece(pieces[i], out.get(), i == 0 ? &first : nullptr);
    if (ok && !pieces.empty()) {
        const struct timespec times[2] = {first.st_atim, first.st_mtim};
        ok = ::fchmod(out.get(), first.st_mode & 0777) == 0 && ::futimens(out.get(), times) == 0;
    }
    return finishNewFile(out, path, ok);
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderLock::lock(std::string_view folder)
{
    const int fd = ::open(toNativePath(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    return true;
}

bool sameFile(std::string_view a, std::string_view b)
{
    struct stat sa {};
    struct stat sb {};
    return statPath(a, sa) && statPath(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::optional<std::string> canonicalPath(std::string_view path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(toNativePath(path).c_str(), nullptr), &std::free);
    if (!real)
        return std::nullopt;
    return std::string(real.get());
}

std::string currentFolder()
{
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
}

ScratchFolder::ScratchFolder(std::string_view parent, std::string_view prefix)
{
    std::string pattern;
    if (parent.empty()) {
        const char *tmp = std::getenv("TMPDIR");
        pattern = (tmp && *tmp) ? tmp : "/tmp";
    } else {
        pattern = toNativePath(parent);
    }
    const std::string folder = pattern;
    pattern += "/";
    pattern += prefix;
    pattern += "-" + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("Could not create a private scratch folder in " + folder + ": " +
                                 std::strerror(errno));
    m_path = pattern;
    // The lock tells a later sweep that the folder is in use; a file system
    // without locks leaves the owner's process id as the only sign.
    m_lock.lock(m_path);
}

ScratchFolder::~ScratchFolder()
{
    removeTree(m_path);
}

std::string ScratchFolder::file(std::string_view name) const
{
    return m_path + "/" + std::string(name);
}

namespace {

// The owner's process id in a name made by ScratchFolder
// ("<prefix>-<pid>-XXXXXX"); 0 for any other name.
pid_t scratchOwner(std::string_view name)
{
    constexpr std::size_t kUnique = 6;
    if (name.size() < kUnique + 4 || name[name.size() - kUnique - 1] != '-')
        return 0;
    const auto alphanumeric = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    if (!std::all_of(name.end() - kUnique, name.end(), alphanumeric))
        return 0;
    const std::string_view rest = name.substr(0, name.size() - kUnique - 1);
    const std::size_t dash = rest.rfind('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size() || rest.size() - dash > 11)
        return 0;
    long long pid = 0;
    for (const char c : rest.substr(dash + 1)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
}

bool processExists(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

void ScratchFolder::removeAbandoned(std::string_view parent)
{
    const std::string folder = toNativePath(parent);
    for (const FolderEntry &entry : listFolder(folder)) {
        const pid_t owner = scratchOwner(entry.name);
        if (owner == 0 || !entry.isFolder || processExists(owner))
            continue;
        const std::string path = folder + "/" + entry.name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        // A process of the same id in another process namespace may still
        // hold it.
        if (FolderLock probe; !probe.lock(path) && errno == EWOULDBLOCK)
            continue;
        removeTree(path);
    }
}

namespace {

// Names from the listing are taken as they are: a "\" in one is part of
// the name, not a separator.
void removeNativeTree(const std::filesystem::path &path)
{
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) {
        for (std::filesystem::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
            removeNativeTree(it->path());
    }
    std::filesystem::remove(path, error);
}

} // namespace

void removeTree(std::string_view path)
{
    removeNativeTree(toNativePath(path));
}

} // namespace wharf
