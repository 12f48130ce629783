#pragma once
// File and folder operations. Every path goes through toNativePath first, so
// Windows-style paths from a project reach the right file.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// Windows attribute values as the system stores them.
constexpr int32_t kAttrReadOnly = 0x01;
constexpr int32_t kAttrDirectory = 0x10;
constexpr int32_t kAttrArchive = 0x20;

bool fileExists(std::string_view path);   // a regular file (links followed)
bool folderExists(std::string_view path); // a folder (links followed)

// 0x10 for a folder; 0x20 for a file, plus 0x01 when its owner cannot write
// it; -1 when nothing is there.
int32_t fileAttributes(std::string_view path);

// Last-write time as a packed DOS date and time in local time (date in the
// high word); -1 when the file is missing.
int32_t fileDosDateTime(std::string_view path);

// Size in bytes; -1 when the file is missing or is a folder.
int64_t fileSize(std::string_view path);

// Copies source over target, replacing it, and gives the copy the source's
// permissions and last-write time. False when either side fails.
bool copyFile(std::string_view source, std::string_view target);

bool deleteFile(std::string_view path);  // files and links, never folders
bool renameFile(std::string_view from, std::string_view to); // replaces target
bool createFolder(std::string_view path); // one level; true if it now exists
bool removeFolder(std::string_view path); // an empty folder

struct FolderEntry {
    std::string name;
    bool isFolder = false;  // a real folder, not a link to one
    bool isLink = false;
};

// The entries of a folder without "." and "..", sorted by name; links are
// reported as links and never followed. Empty when the folder can't be read.
std::vector<FolderEntry> listFolder(std::string_view path);

// The whole file, or nullopt when it can't be read.
std::optional<std::string> readFile(std::string_view path);

// Writes data as the whole file, replacing it. False on failure.
bool writeFile(std::string_view path, std::string_view data);

// Appends the whole of source to the end of target, in pieces. False when
// either side fails.
bool appendFile(std::string_view target, std::string_view source);

// How replaceFile writes the new content.
enum class ReplaceWay {
    Rename,  // into a scratch file beside the file, renamed over it
    InPlace, // over the file itself, once a flushed copy of it is kept
};

// A seam for tests: beforeWrite runs before each piece (at most 64 KiB) of
// the new content is written, with the way and the bytes written so far.
struct ReplaceHooks {
    std::function<void(ReplaceWay way, std::size_t written)> beforeWrite;
};

// What replaceFile did. On failure, error is the errno of the cause and
// reason a phrase for the author that names it and what became of the file
// ("No space left on device; the file is as it was"), to follow "Cannot
// create file X: ".
struct ReplaceResult {
    bool ok = false;
    int error = 0;
    std::string reason;
    explicit operator bool() const { return ok; }
};

// Writes data as the whole file without ever losing it: on a failure or a
// full disk the file is left as it was, and a process killed at any point
// leaves either the old file or, where it was writing in place, a whole copy
// of the old content (see below). A path that is a symbolic link (or a chain
// of them) writes the file the link names, and the link stays a link.
//
// The way is a scratch file beside the file, "<name>.~<pid>-XXXXXX",
// written, given the file's mode, owner and group, flushed, renamed over the
// file, and the folder flushed. A scratch file that a killed save left (its
// process is gone) is removed by the next save of that file.
//
// Where a new file can't stand for the old one (no scratch file can be made
// in the folder, the file has other hard links, its owner or group can't be
// given to a new file, or the folder does not let this user replace it),
// the file is written in place, but only after a complete, flushed copy of
// it is kept in the folder "unfinished-saves" of the user's state folder;
// a write that fails puts the old content back from it. The copy goes once
// the file is written whole; a copy that stays marks a save that was cut
// off (see unfinishedSaveNotice). When no copy can be kept, nothing is
// written.
//
// Refused, with nothing changed: a folder, a file that is read-only (its
// owner may not write it, as fileAttributes reports it) or that this user may
// not write (EACCES), a chain of links that does not end (ELOOP). errno is
// set to result.error on failure.
ReplaceResult replaceFile(std::string_view path, std::string_view data, const ReplaceHooks &hooks = {});

// The copy that a save of path kept before it wrote the file in place, when
// that save was cut off before it finished: the copy is still there and no
// running save holds it. nullopt otherwise, also when path names no file.
std::optional<std::string> unfinishedSaveCopy(std::string_view path);

// When a save of path that wrote the file in place was cut off before it
// finished (the copy it kept is still there and no running save holds it):
// a message for the author that says so and names the copy. nullopt
// otherwise, also when path names no file.
std::optional<std::string> unfinishedSaveNotice(std::string_view path);

// A part of an existing file: count bytes from offset, or everything from
// offset to its end when count is -1.
struct FilePiece {
    std::string path;
    int64_t offset = 0;
    int64_t count = -1;
};

// A folder held by one open descriptor. Every file listed, made or removed
// in it goes through that descriptor (openat, unlinkat), so a folder that is
// swapped for a link after it was opened is never followed: the files keep
// going into the folder that was opened. The compile holds its output
// folder this way, from before the clearing to its end, and a scratch
// folder holds itself this way too.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    // Opens path as a folder without following a link at its end. False
    // with errno set: ELOOP or ENOTDIR when path is a link or not a folder,
    // ENOENT when nothing is there. An open handle is closed first.
    bool open(std::string_view path);

    // Takes an exclusive advisory lock (flock) on the open folder without
    // waiting; it holds until the handle goes. The lock keeps out every
    // other holder of the folder, in this process (another descriptor) or
    // another. False with errno set: EWOULDBLOCK when someone holds it.
    bool lock();

    bool isOpen() const { return m_fd >= 0; }

    // The path the folder was opened by, for messages.
    const std::string &path() const { return m_path; }

    // The path of name in the folder, for messages.
    std::string pathOf(std::string_view name) const;

    // The entries of the folder without "." and "..", sorted by name; links
    // are reported as links and never followed. Empty when it can't be read.
    std::vector<FolderEntry> list() const;

    // Removes the file or link name (never a folder). False with errno set;
    // a name that is not there gives ENOENT.
    bool removeFile(std::string_view name) const;

    // Writes the pieces one after another as a new file name in the folder:
    // whatever name is (a file or a link) is removed first and the new file
    // is created exclusively without following links, so a link that
    // appears there meanwhile makes the call fail instead of being written
    // through. The file gets the permission bits (0777) and last-write time
    // of the first piece's file. False with errno set when name is no bare
    // file name (EINVAL), a piece can't be read in full or the file can't be
    // written; a partly written file is removed.
    bool writeNewFile(std::string_view name, const std::vector<FilePiece> &pieces) const;

private:
    int m_fd = -1;
    std::string m_path;
};


// True when both paths name one existing file or folder (links followed).
bool sameFile(std::string_view a, std::string_view b);

// The absolute path of what path names with every link, "." and ".."
// resolved; nullopt when it does not exist.
std::optional<std::string> canonicalPath(std::string_view path);

// The process's current folder.
std::string currentFolder();

// A folder of this process's own (mode 0700), removed with its contents when
// the object goes. Made under parent, or under the temporary folder ($TMPDIR,
// else "/tmp") when parent is empty, named "<prefix>-<pid>-XXXXXX" after the
// process that owns it, which holds an exclusive lock (flock) on the folder
// while the object lives. Throws std::runtime_error naming the path and the
// reason when it can't be made.
class ScratchFolder {
public:
    ScratchFolder() : ScratchFolder(std::string_view{}) {}
    explicit ScratchFolder(std::string_view parent, std::string_view prefix = "wharf");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::string &path() const { return m_path; }
    std::string file(std::string_view name) const;
    // The folder's own handle, for files written into it.
    const FolderHandle &handle() const { return m_handle; }

    // Removes the scratch folders in parent that a process left behind when
    // it ended without removing them (killed, or stopped by a signal): only
    // folders of this naming, owned by this user, whose process no longer
    // runs and whose lock nobody holds. Anything else in parent stays.
    static void removeAbandoned(std::string_view parent);

private:
    std::string m_path;
    FolderHandle m_handle; // locked: tells a sweep of another run that the folder is in use
};

// Removes a folder tree without following links. Used for scratch folders.
// The names inside are taken as they are, so a "\" in one is no separator.
void removeTree(std::string_view path);

} // namespace wharf
