#pragma once
// Changes the resources of a Windows executable in place, without the
// operating system's resource-update service: the file is mapped, its
// resource section is read into a tree, the tree is changed, and a new
// resource section is written back over the old one, moving whatever
// follows it in the file and fixing the headers. The compiler uses it to
// give "setup.exe" the project's icon group "MAINICON" and to store the
// 4-byte RCDATA "LOADER_SIZE".
//
// Every executable and icon file is untrusted: an inconsistent file gives a
// failed update, and the checks run before the file is changed.

#include "peimage.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wharf {

// Windows error values that BeginResourceUpdate reports.
constexpr int kErrorFileNotFound = 2;       // also: no resource section
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorNotEnoughMemory = 8;
constexpr int kErrorSharingViolation = 32;  // another update holds the file
constexpr int kErrorGenFailure = 31;
constexpr int kErrorBadExeFormat = 193;     // not an image, or inconsistent

// The update context: the open, locked and mapped file, the location of its
// headers and the resource tree. Destroying it without EndResourceUpdate
// discards the changes.
class ResourceUpdate {
public:
    ~ResourceUpdate();
    ResourceUpdate(const ResourceUpdate &) = delete;
    ResourceUpdate &operator=(const ResourceUpdate &) = delete;

    struct Impl;
    explicit ResourceUpdate(std::unique_ptr<Impl> impl);
    Impl &impl() { return *m_impl; }
    const Impl &impl() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// Opens an existing executable (UTF-8 path) for update and reads its
// resource tree; with deleteExisting it starts from an empty tree instead.
// nullptr on failure, with the Windows error value in *lastError when given
// (kErrorFileNotFound for a file without a resource section).
std::unique_ptr<ResourceUpdate> BeginResourceUpdate(std::string_view fileName, bool deleteExisting,
                                                    int *lastError = nullptr);

// With data: the leaf of type, name and language gets size bytes of data
// (copied), or a new leaf and any missing directories are inserted. Without
// data (nullptr): the leaf is removed together with the directories it
// leaves empty; with language 0 and no leaf of that language, the whole name
// (all languages) goes; with name and language 0 and no such name, the whole
// type goes. A leaf's language is the value in its code-page field, which is
// how the runtime stubs address their resources. False only when the change
// could not be made (out of memory, a scratch file that could not be
// written).
bool UpdateResourceEntry(ResourceUpdate &context, const ResourceId &type, const ResourceId &name,
                         uint16_t language, const void *data, uint32_t size);

// The data of the leaf UpdateResourceEntry would address, or nullopt.
std::optional<std::string> GetResourceEntry(const ResourceUpdate &context, const ResourceId &type,
                                            const ResourceId &name, uint16_t language);

// With discard, closes the file unchanged. Otherwise writes the tree back
// as the new resource section and fixes the headers. Releases the context
// either way. False when writing failed; a failure found before the file is
// touched leaves it as it was.
bool EndResourceUpdate(std::unique_ptr<ResourceUpdate> context, bool discard);

// Replaces the icon group groupName of the given language and the icons it
// names with the images of an icon file (UTF-8 path): the old icon ids are
// reused in order, further images get the lowest free icon ids from the
// smallest old id (from 50 without an old group). False, with the context
// unchanged, when the icon file cannot be read or is malformed; false when
// an update fails.
bool LoadIconGroupFromFile(ResourceUpdate &context, const ResourceId &groupName, uint16_t language,
                           std::string_view icoFile);

// The number of images in the bytes of an icon file, as
// LoadIconGroupFromFile reads them; 0 when they are no well-formed icon
// file.
size_t IconFileImageCount(const std::string &file);

} // namespace wharf
