#pragma once
// Path and file routines of the compile. Paths may be Windows-style or
// native; see platform/paths.h for the separator rules.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// Makes a project path absolute against base. Empty stays empty; a path
// with a drive, a UNC prefix, a leading "/" or a leading "{" (a path
// variable only the setup runtime resolves) is returned unchanged. A folder
// of the path followed by ".." goes with it; each "..\" (or "../") left at
// the start removes one folder from the end of base. The parts are
// joined with the separator base uses; when that is "/", the path's own
// "\" become "/" too.
std::string ExpandRelativePath(std::string_view path, std::string_view base);

// For each key-and-value line of list: the value (text after the first "=";
// a line without "=" is taken whole), without one pair of enclosing double
// quotes, made absolute against CurrentRun().WorkDir. Order is kept.
std::vector<std::string> ResolveFileList(const std::vector<std::string> &list);

// Deletes the files of folder (and with recurse those of its sub-folders);
// with removeFolder the emptied folders themselves. Links are deleted, never
// followed; names beginning with "." are skipped; a root ("/", "X:", "X:\")
// is never removed. True when everything asked for was done; false for a
// missing folder.
bool ClearDirectory(std::string_view folder, bool recurse, bool removeFolder);

// Size of a file rounded up to a whole multiple of cluster (when cluster is
// above 0); -1 when the file is missing. A relative path is taken against
// the process's current folder.
int64_t FileSizeRounded(std::string_view path, int64_t cluster);

// size rounded up to a whole multiple of cluster when cluster is above 0.
int64_t RoundedToCluster(int64_t size, int64_t cluster);

// What the compile notes of a file when it checks it, and compares once the
// file is read: a file whose state changed meanwhile is not the file that
// was checked.
struct FileState {
    int64_t size = 0;
    int64_t modifiedNs = 0; // last-write time in nanoseconds since 1970
    bool operator==(const FileState &) const = default;
};

// The state of the regular file path names (links followed); nullopt when
// there is none.
std::optional<FileState> FileStateOf(std::string_view path);

// Creates folder and every missing parent; failures are not reported.
void ForceDirs(std::string_view folder);

// Two upper-case hexadecimal digits per byte, no separators.
std::string BytesToHex(const uint8_t *bytes, size_t count);

// Starts the program at path (no shell, no arguments) and waits for it to
// end. False when it could not be started, with errno set.
bool RunAndWait(std::string_view path);

} // namespace wharf
