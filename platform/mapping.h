#pragma once
// A memory mapping of a whole file, read-only or read-write, released with
// the object. The executable readers and the resource updater work on such
// mappings so that a file is never copied into separate buffers.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace wharf {

class FileMapping {
public:
    enum class Mode { ReadOnly, ReadWrite };

    FileMapping() = default;
    ~FileMapping();
    FileMapping(const FileMapping &) = delete;
    FileMapping &operator=(const FileMapping &) = delete;

    // Opens an existing regular file and maps all of it. With exclusive, the
    // file must not be locked by anyone else and stays locked until close.
    // False on failure, with the errno value in error(); an empty file opens
    // with an empty mapping.
    bool open(std::string_view path, Mode mode, bool exclusive = false);

    // Creates a new file (it must not exist; owner-only rights) that holds
    // size zero bytes, and maps it read-write.
    bool create(std::string_view path, std::size_t size);

    // ReadWrite only: gives the file the new size (growing adds zero bytes)
    // and maps it again; data() may change. False on failure.
    bool resize(std::size_t newSize);

    // Waits until changed pages are on the disk; false when that fails.
    // Without it they reach the file through the page cache, as with any
    // write.
    bool flush();

    // Unmaps and closes; false when the close failed.
    bool close();

    bool isOpen() const { return m_fd >= 0; }
    std::size_t size() const { return m_size; }
    uint8_t *data() { return m_data; }
    const uint8_t *data() const { return m_data; }
    std::span<const uint8_t> bytes() const { return {m_data, m_size}; }
    int error() const { return m_error; }

private:
    bool mapAll();
    bool reserve(std::size_t from, std::size_t to);
    void unmap();
    bool fail();

    int m_fd = -1;
    bool m_writable = false;
    uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
    int m_error = 0;
};

} // namespace wharf
