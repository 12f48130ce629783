#include "mapping.h"

#include "paths.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wharf {

FileMapping::~FileMapping()
{
    close();
}

bool FileMapping::fail()
{
    m_error = errno;
    close();
    return false;
}

bool FileMapping::open(std::string_view path, Mode mode, bool exclusive)
{
    close();
    m_error = 0;
    m_writable = mode == Mode::ReadWrite;
    const std::string native = toNativePath(path);
    m_fd = ::open(native.c_str(), (m_writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (m_fd < 0)
        return fail();
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        return fail();
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return fail();
    }
    if (exclusive && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return fail();
    m_size = static_cast<std::size_t>(st.st_size);
    return mapAll() || fail();
}

bool FileMapping::create(std::string_view path, std::size_t size)
{
    close();
    m_error = 0;
    m_writable = true;
    const std::string native = toNativePath(path);
    m_fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return fail();
    if (!reserve(0, size))
        return fail();
    m_size = size;
    return mapAll() || fail();
}

bool FileMapping::reserve(std::size_t from, std::size_t to)
{
    if (::ftruncate(m_fd, static_cast<off_t>(to)) != 0)
        return false;
    if (to <= from)
        return true;
    // Give the new part real blocks now: a write through the mapping into
    // a hole that the disk cannot fill would kill the process.
    const int error = ::posix_fallocate(m_fd, static_cast<off_t>(from), static_cast<off_t>(to - from));
    if (error == 0 || error == EOPNOTSUPP || error == EINVAL)
        return true;
    errno = error;
    return false;
}

bool FileMapping::mapAll()
{
    if (m_size == 0)
        return true;
    void *p = ::mmap(nullptr, m_size, m_writable ? PROT_READ | PROT_WRITE : PROT_READ,
                     MAP_SHARED, m_fd, 0);
    if (p == MAP_FAILED)
        return false;
    m_data = static_cast<uint8_t *>(p);
    return true;
}

void FileMapping::unmap()
{
    if (m_data != nullptr)
        ::munmap(m_data, m_size);
    m_data = nullptr;
}

bool FileMapping::resize(std::size_t newSize)
{
    if (m_fd < 0 || !m_writable) {
        m_error = EBADF;
        return false;
    }
    unmap();
    if (!reserve(m_size, newSize)) {
        m_error = errno;
        // Back to the old size and view so the caller still holds the file.
        if (::ftruncate(m_fd, static_cast<off_t>(m_size)) != 0 || !mapAll())
            m_size = 0;
        return false;
    }
    m_size = newSize;
    if (!mapAll()) {
        m_error = errno;
        m_size = 0;
        return false;
    }
    return true;
}

bool FileMapping::flush()
{
    if (m_data == nullptr || !m_writable)
        return true;
    if (::msync(m_data, m_size, MS_SYNC) != 0) {
        m_error = errno;
        return false;
    }
    return true;
}

bool FileMapping::close()
{
    bool ok = true;
    unmap();
    m_size = 0;
    if (m_fd >= 0) {
        if (::close(m_fd) != 0) {
            m_error = errno;
            ok = false;
        }
        m_fd = -1;
    }
    return ok;
}

} // namespace wharf
