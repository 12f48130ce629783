#include "files.h"

#include "paths.h"
#include "userdirs.h"

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
#include <utility>

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
    Fd(Fd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
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

// A name of one entry in a folder, never a path or "." and "..".
bool isBareName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
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

struct DirCloser {
    void operator()(DIR *d) const { ::closedir(d); }
};

// The entries of the open folder fd without "." and "..", sorted by name;
// links are reported as links and never followed. The listing reads
// through a descriptor of its own, so fd's position is left alone.
std::vector<FolderEntry> entriesOf(int fd)
{
    std::vector<FolderEntry> entries;
    const int own = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (own < 0)
        return entries;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(own));
    if (!dir) {
        ::close(own);
        return entries;
    }
    while (const dirent *e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry entry;
        entry.name = name;
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.isLink = S_ISLNK(st.st_mode);
            entry.isFolder = S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return entries;
}

// The process id in the tail "<pid>-XXXXXX" of a scratch name; 0 for any
// other text.
pid_t ownerOfTail(std::string_view tail)
{
    constexpr std::size_t kUnique = 6;
    if (tail.size() < kUnique + 2 || tail.size() > kUnique + 11 || tail[tail.size() - kUnique - 1] != '-')
        return 0;
    const auto alphanumeric = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    if (!std::all_of(tail.end() - kUnique, tail.end(), alphanumeric))
        return 0;
    long long pid = 0;
    for (const char c : tail.substr(0, tail.size() - kUnique - 1)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
}

// The owner's process id in a name made by ScratchFolder
// ("<prefix>-<pid>-XXXXXX"); 0 for any other name.
pid_t scratchOwner(std::string_view name)
{
    constexpr std::size_t kUnique = 6;
    if (name.size() < kUnique + 4)
        return 0;
    const std::size_t dash = name.substr(0, name.size() - kUnique - 1).rfind('-');
    if (dash == std::string_view::npos || dash == 0)
        return 0;
    return ownerOfTail(name.substr(dash + 1));
}

bool processExists(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

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
    const Fd folder(::open(toNativePath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.ok() ? entriesOf(folder.get()) : std::vector<FolderEntry>();
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

namespace {

constexpr std::size_t kWritePiece = 1 << 16;
// Scratch files of a save are named "<name>.~<pid>-XXXXXX".
constexpr std::string_view kScratchMark = ".~";
constexpr std::string_view kCopiesFolder = "unfinished-saves";
// A copy's name keeps this much of the file's name, for the author to see.
constexpr std::size_t kCopyNameKept = 160;

std::string errorText(int error)
{
    return std::strerror(error);
}

ReplaceResult failure(int error, std::string reason)
{
    if (error == 0)
        error = EIO;
    errno = error;
    return {false, error, std::move(reason)};
}

ReplaceResult failure(int error)
{
    return failure(error, errorText(error != 0 ? error : EIO));
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Flushes a folder's entries (a new, renamed or removed name). A file system
// that can't flush a folder (EINVAL) keeps its entries as it can.
bool syncFolder(const std::string &folder)
{
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.ok())
        return false;
    return ::fsync(dir.get()) == 0 || errno == EINVAL;
}

// Writes data over fd from its start, in pieces, with the test seam before
// each piece.
bool writeFromStart(int fd, std::string_view data, ReplaceWay way, const ReplaceHooks &hooks)
{
    std::size_t done = 0;
    while (done < data.size()) {
        if (hooks.beforeWrite)
            hooks.beforeWrite(way, done);
        const std::size_t piece = std::min(kWritePiece, data.size() - done);
        const ssize_t n = ::pwrite(fd, data.data() + done, piece, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Copies the whole of in (from its start) over out (from its start) and
// tells how many bytes it copied.
bool copyFromStart(int in, int out, int64_t &copied)
{
    std::vector<char> buffer(kWritePiece);
    copied = 0;
    for (;;) {
        const ssize_t n = ::pread(in, buffer.data(), buffer.size(), static_cast<off_t>(copied));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::pwrite(out, buffer.data() + done, static_cast<std::size_t>(n - done),
                                       static_cast<off_t>(copied + done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                if (w == 0)
                    errno = EIO;
                return false;
            }
            done += w;
        }
        copied += n;
    }
}

// Removes the scratch files that earlier saves of the file name in folder
// left when they were killed: only this user's, of a process that no longer
// runs and whose lock nobody holds.
void removeAbandonedScratch(const std::string &folder, const std::string &name)
{
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir.get());
    const std::string prefix = name + std::string(kScratchMark);
    while (const dirent *e = ::readdir(dir.get())) {
        const std::string_view entry = e->d_name;
        if (!entry.starts_with(prefix))
            continue;
        const pid_t owner = ownerOfTail(entry.substr(prefix.size()));
        if (owner == 0 || processExists(owner))
            continue;
        struct stat st {};
        if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid())
            continue;
        // A process of the same id in another process namespace may still be
        // writing it.
        Fd probe(::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (probe.ok() && ::flock(probe.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue;
        ::unlinkat(dirFd, e->d_name, 0);
    }
}

// Why a new file could not stand for the existing one: empty when it can.
std::string renameBlocker(const struct stat &st, const std::string &folder)
{
    if (st.st_nlink > 1)
        return "it has other names (hard links), which a new file would not reach";
    struct stat parent {};
    const uid_t self = ::geteuid();
    if (self != 0 && ::stat(folder.c_str(), &parent) == 0 && (parent.st_mode & S_ISVTX) != 0 &&
        st.st_uid != self && parent.st_uid != self)
        return "its folder lets only the file's owner replace it";
    return {};
}

// The outcome of the rename way: done (or failed for good), or not possible
// for this file, with the reason, so that the file is written in place.
struct RenameOutcome {
    std::optional<ReplaceResult> result;
    std::string blocker;
    int error = 0;  // the errno behind blocker
};

RenameOutcome replaceByRename(const std::string &target, const std::string &folder, const struct stat *old,
                              std::string_view data, const ReplaceHooks &hooks)
{
    std::string scratch = target + std::string(kScratchMark) + std::to_string(::getpid()) + "-XXXXXX";
    Fd out(::mkostemp(scratch.data(), O_CLOEXEC));
    if (!out.ok()) {
        const int error = errno;
        return {std::nullopt, "no new file can be made in its folder (" + errorText(error) + ")", error};
    }
    // The lock tells the next save's sweep that this file is being written.
    ::flock(out.get(), LOCK_EX | LOCK_NB);
    const auto discard = [&](int error) {
        ::unlink(scratch.c_str());
        errno = error;
    };
    if (old) {
        struct stat own {};
        if (::fstat(out.get(), &own) != 0) {
            const int error = errno;
            discard(error);
            return {failure(error), {}};
        }
        if ((own.st_uid != old->st_uid || own.st_gid != old->st_gid) &&
            ::fchown(out.get(), old->st_uid, old->st_gid) != 0) {
            const int error = errno;
            discard(error);
            if (error == EPERM)
                return {std::nullopt,
                        "its owner and group (" + std::to_string(old->st_uid) + ":" + std::to_string(old->st_gid) +
                            ") can't be given to a new file",
                        error};
            return {failure(error), {}};
        }
    }
    mode_t mode = 0;
    if (old) {
        mode = old->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (!writeFromStart(out.get(), data, ReplaceWay::Rename, hooks) || ::fchmod(out.get(), mode) != 0 ||
        ::fsync(out.get()) != 0 || !out.close()) {
        const int error = errno;
        discard(error);
        return {failure(error, errorText(error) + (old ? "; the file is as it was" : "")), {}};
    }
    if (::rename(scratch.c_str(), target.c_str()) != 0) {
        const int error = errno;
        discard(error);
        if (old && (error == EPERM || error == EACCES))
            return {std::nullopt, "its folder does not let this user replace it (" + errorText(error) + ")", error};
        return {failure(error, errorText(error) + (old ? "; the file is as it was" : "")), {}};
    }
    if (!syncFolder(folder)) {
        const int error = errno;
        return {failure(error, "the file was written, but its folder could not be flushed (" + errorText(error) +
                                   "), so the change may not outlive a power cut"),
                {}};
    }
    return {ReplaceResult{true, 0, {}}, {}};
}

// 64-bit FNV-1a: the same text gives the same number in every run.
uint64_t textHash(std::string_view text)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The start of the names of the copies kept for the file at the real path.
std::string copyPrefix(const std::string &realPath)
{
    static constexpr char kHex[] = "0123456789abcdef";
    uint64_t hash = textHash(realPath);
    std::string prefix(16, '0');
    for (std::size_t i = 16; i-- > 0; hash >>= 4)
        prefix[i] = kHex[hash & 15];
    return prefix + "-";
}

// A copy's name: the prefix, the file's name (cut at a character's start)
// and a unique tail.
std::string copyPattern(const std::string &folder, const std::string &realPath)
{
    std::string name = nameOf(realPath);
    if (name.size() > kCopyNameKept) {
        std::size_t cut = kCopyNameKept;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return folder + "/" + copyPrefix(realPath) + name + ".XXXXXX";
}

// A complete, flushed copy of the open file, kept while it is written in
// place; removed again unless keep() was called. Holds a lock on it so that
// an open elsewhere does not take a running save for one that was cut off.
class KeptCopy {
public:
    KeptCopy() = default;
    ~KeptCopy()
    {
        if (!m_path.empty() && !m_keep)
            ::unlink(m_path.c_str());
    }
    KeptCopy(const KeptCopy &) = delete;
    KeptCopy &operator=(const KeptCopy &) = delete;

    // Makes the copy of file (its real path realPath); false with reason
    // (and errno) set when it can't be made whole.
    bool make(int file, const std::string &realPath, std::string &reason)
    {
        try {
            m_folder = userStateFolder() + "/" + std::string(kCopiesFolder);
            createPrivateFolderPath(m_folder);
        } catch (const std::exception &e) {
            if (errno == 0)
                errno = EACCES;
            reason = e.what();
            return false;
        }
        std::string path = copyPattern(m_folder, realPath);
        m_fd = Fd(::mkostemp(path.data(), O_CLOEXEC));
        if (!m_fd.ok()) {
            reason = "in " + m_folder + ": " + errorText(errno);
            return false;
        }
        m_path = std::move(path);
        ::flock(m_fd.get(), LOCK_EX | LOCK_NB);
        if (!copyFromStart(file, m_fd.get(), m_size) || ::fsync(m_fd.get()) != 0 || !syncFolder(m_folder)) {
            reason = m_path + ": " + errorText(errno);
            return false;
        }
        return true;
    }

    // Writes the copy back over file and cuts it to the copy's size.
    bool restore(int file) const
    {
        int64_t copied = 0;
        return copyFromStart(m_fd.get(), file, copied) && copied == m_size && ::ftruncate(file, m_size) == 0 &&
               ::fsync(file) == 0;
    }

    void keep() { m_keep = true; }
    const std::string &path() const { return m_path; }
    const std::string &folder() const { return m_folder; }

private:
    std::string m_folder;
    std::string m_path;
    Fd m_fd{-1};
    int64_t m_size = 0;
    bool m_keep = false;
};

// Writes an existing file in place, after a copy of it is kept; why says
// why it could not be replaced by a new file.
ReplaceResult writeInPlace(const std::string &target, std::string_view data, const ReplaceHooks &hooks,
                           const std::string &why)
{
    const std::string because = "it can't be replaced by a new file because " + why;
    Fd file(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (!file.ok()) {
        const int error = errno;
        return failure(error, because + ", and it can't be opened to be written in place (" + errorText(error) +
                                  "); the file is as it was");
    }
    struct stat st {};
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno != 0 ? errno : EINVAL;
        return failure(error, because + ", and it is no plain file to be written in place");
    }
    const std::string realPath = canonicalPath(target).value_or(target);
    KeptCopy copy;
    std::string copyError;
    errno = 0;
    if (!copy.make(file.get(), realPath, copyError)) {
        const int error = errno;
        return failure(error, because + ", and no copy of it could be kept to write it in place safely (" +
                                  copyError + "); the file is as it was");
    }
    // Room for the longer content first: a full disk then refuses the save
    // before anything of the file is touched.
    if (static_cast<int64_t>(data.size()) > st.st_size &&
        ::fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(data.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) {
        const int error = errno;
        return failure(error, because + ", and there is no room to write it in place (" + errorText(error) +
                                  "); the file is as it was");
    }
    if (writeFromStart(file.get(), data, ReplaceWay::InPlace, hooks) &&
        ::ftruncate(file.get(), static_cast<off_t>(data.size())) == 0 && ::fsync(file.get()) == 0 &&
        file.close())
        return {true, 0, {}};
    const int error = errno;
    const std::string wrote = "it was written in place because " + why + ", and that write failed (" +
                              errorText(error) + ")";
    if (file.ok() && copy.restore(file.get()))
        return failure(error, wrote + "; the file was put back as it was");
    const int restoreError = errno;
    copy.keep();
    return failure(error, wrote + " and the file could not be put back (" + errorText(restoreError) +
                              "): the file as it was before this save is kept in " + copy.path());
}

// Writes a file that does not exist yet, where no scratch file could be
// made beside it (a name too long for one): a failed write removes it.
ReplaceResult writeNewInPlace(const std::string &target, std::string_view data, const ReplaceHooks &hooks)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    Fd file(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666 & ~mask));
    if (!file.ok())
        return failure(errno);
    if (writeFromStart(file.get(), data, ReplaceWay::InPlace, hooks) && ::fsync(file.get()) == 0 && file.close() &&
        syncFolder(folderOf(target)))
        return {true, 0, {}};
    const int error = errno;
    ::unlink(target.c_str());
    return failure(error);
}

} // namespace

ReplaceResult replaceFile(std::string_view path, std::string_view data, const ReplaceHooks &hooks)
{
    const std::optional<std::string> resolved = followLinks(toNativePath(path));
    if (!resolved)
        return failure(errno);
    const std::string &target = *resolved;
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return failure(errno);
    if (exists && S_ISDIR(st.st_mode))
        return failure(EISDIR);
    // A read-only file stays as it is, also for a user whom its permission
    // bits do not bind: renaming over it would replace it regardless.
    if (exists && ((st.st_mode & S_IWUSR) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0))
        return failure(EACCES);
    const std::string folder = folderOf(target);
    removeAbandonedScratch(folder, nameOf(target));

    std::string why = exists ? renameBlocker(st, folder) : std::string();
    if (why.empty()) {
        RenameOutcome outcome = replaceByRename(target, folder, exists ? &st : nullptr, data, hooks);
        if (outcome.result)
            return std::move(*outcome.result);
        if (!exists) {
            // Where nothing can be made in the folder, the file can't be
            // either; a name too long for a scratch file still fits as it is.
            if (outcome.error != ENAMETOOLONG)
                return failure(outcome.error);
            return writeNewInPlace(target, data, hooks);
        }
        why = std::move(outcome.blocker);
    }
    return writeInPlace(target, data, hooks, why);
}

std::optional<std::string> unfinishedSaveCopy(std::string_view path)
{
    const std::optional<std::string> real = canonicalPath(path);
    if (!real || !fileExists(*real))
        return std::nullopt;
    std::string folder;
    try {
        folder = userStateFolder() + "/" + std::string(kCopiesFolder);
    } catch (const std::exception &) {
        return std::nullopt;
    }
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return std::nullopt;
    const int dirFd = ::dirfd(dir.get());
    const std::string prefix = copyPrefix(*real);
    std::optional<std::string> newest;
    struct timespec newestTime {};
    while (const dirent *e = ::readdir(dir.get())) {
        if (!std::string_view(e->d_name).starts_with(prefix))
            continue;
        Fd copy(::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (!copy.ok() || ::fstat(copy.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A save that is writing the file now holds its copy.
        if (::flock(copy.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue;
        const bool later = st.st_mtim.tv_sec != newestTime.tv_sec ? st.st_mtim.tv_sec > newestTime.tv_sec
                                                                  : st.st_mtim.tv_nsec > newestTime.tv_nsec;
        if (!newest || later) {
            newest = folder + "/" + e->d_name;
            newestTime = st.st_mtim;
        }
    }
    return newest;
}

std::optional<std::string> unfinishedSaveNotice(std::string_view path)
{
    const std::optional<std::string> copy = unfinishedSaveCopy(path);
    if (!copy)
        return std::nullopt;
    const std::string file(path);
    return "A save of " + file + " was cut off before it finished, so the file may be incomplete. The file as it "
           "was before that save is kept in " + *copy + ": copy it over " + file +
           " to take it back, and delete it once the file is as it should be.";
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderHandle::open(std::string_view path)
{
    // A trailing separator would make the system follow a link after all.
    std::string native = toNativePath(path);
    while (native.size() > 1 && native.back() == '/')
        native.pop_back();
    const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_path = std::string(path);
    return true;
}

bool FolderHandle::lock()
{
    if (m_fd < 0) {
        errno = EBADF;
        return false;
    }
    return ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

std::string FolderHandle::pathOf(std::string_view name) const
{
    return joinPath(m_path, name);
}

std::vector<FolderEntry> FolderHandle::list() const
{
    return m_fd < 0 ? std::vector<FolderEntry>() : entriesOf(m_fd);
}

bool FolderHandle::removeFile(std::string_view name) const
{
    if (m_fd < 0 || !isBareName(name)) {
        errno = m_fd < 0 ? EBADF : EINVAL;
        return false;
    }
    return ::unlinkat(m_fd, std::string(name).c_str(), 0) == 0;
}

bool FolderHandle::writeNewFile(std::string_view name, const std::vector<FilePiece> &pieces) const
{
    if (m_fd < 0 || !isBareName(name)) {
        errno = m_fd < 0 ? EBADF : EINVAL;
        return false;
    }
    const std::string file(name);
    // When the old name can't be removed, that is the reason to give.
    int removeError = 0;
    if (::unlinkat(m_fd, file.c_str(), 0) != 0 && errno != ENOENT)
        removeError = errno;
    Fd out(::openat(m_fd, file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.ok()) {
        if (errno == EEXIST && removeError != 0)
            errno = removeError;
        return false;
    }
    struct stat first {};
    bool ok = true;
    for (size_t i = 0; i < pieces.size() && ok; ++i)
        ok = copyPiece(pieces[i], out.get(), i == 0 ? &first : nullptr);
    if (ok && !pieces.empty()) {
        const struct timespec times[2] = {first.st_atim, first.st_mtim};
        ok = ::fchmod(out.get(), first.st_mode & 0777) == 0 && ::futimens(out.get(), times) == 0;
    }
    ok = out.close() && ok;
    if (!ok) {
        const int error = errno;
        ::unlinkat(m_fd, file.c_str(), 0);
        errno = error;
    }
    return ok;
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
    if (!m_handle.open(m_path)) {
        const int error = errno;
        removeTree(m_path);
        throw std::runtime_error("Could not open the private scratch folder " + m_path + ": " + std::strerror(error));
    }
    m_handle.lock();
}

ScratchFolder::~ScratchFolder()
{
    removeTree(m_path);
}

std::string ScratchFolder::file(std::string_view name) const
{
    return m_path + "/" + std::string(name);
}

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
        if (FolderHandle probe; probe.open(path) && !probe.lock() && errno == EWOULDBLOCK)
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
