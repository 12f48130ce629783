#pragma once
// A folder held by one open descriptor. Every file listed, made or removed
// in it goes through that descriptor (openat, unlinkat), so a folder that is
// swapped for a link after it was opened is never followed: the files keep
// going into the folder that was opened. The compile holds its output
// folder this way, from before the clearing to its end.

#include "files.h"

#include <string>
#include <string_view>
#include <vector>

namespace wharf {

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

} // namespace wharf
