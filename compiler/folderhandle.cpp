#include "folderhandle.h"

#include "paths.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wharf {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }
    // Closes now and tells whether the close succeeded (a write may fail late).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

struct DirCloser {
    void operator()(DIR *d) const { ::closedir(d); }
};

bool isBareName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
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

// Copies one piece onto out; false with errno set on a failure or a piece
// that ends early.
bool copyPiece(const FilePiece &piece, int out, struct stat *first)
{
    Descriptor in(::open(toNativePath(piece.path).c_str(), O_RDONLY | O_CLOEXEC));
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
    std::vector<char> buffer(1 << 16);
    int64_t left = piece.count;
    while (piece.count < 0 || left > 0) {
        const size_t want = piece.count < 0 ? buffer.size() : static_cast<size_t>(std::min<int64_t>(left, 1 << 16));
        const ssize_t n = ::read(in.get(), buffer.data(), want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            if (piece.count < 0)
                return true;
            errno = EIO; // the file is shorter than the piece
            return false;
        }
        if (!writeAll(out, buffer.data(), static_cast<size_t>(n)))
            return false;
        left -= n;
    }
    return true;
}

} // namespace

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
    std::vector<FolderEntry> entries;
    if (m_fd < 0)
        return entries;
    // The listing reads through a descriptor of its own, on the same folder.
    const int fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return entries;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return entries;
    }
    while (const dirent *e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry entry;
        entry.name = name;
        struct stat st {};
        if (::fstatat(m_fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.isLink = S_ISLNK(st.st_mode);
            entry.isFolder = S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return entries;
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
    Descriptor out(::openat(m_fd, file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
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

} // namespace wharf
