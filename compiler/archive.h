#pragma once
// Setup archive writer: packs a list of files into the archive the setup
// runtime unpacks, one bzip2 stream per file, optionally storing a file as a
// patch against its older version, with the entry table optionally
// enciphered, cut into numbered volumes.
//
// Archive layout (integers little-endian, offsets from the start of the
// whole archive before it is cut):
//   0   u8   1 when the entry table is enciphered, else 0
//   1   i32  number of entries N
//   5   i32  volume size (-1: not split)
//   9   i32  first-volume size (-1: not split)
//   13  20   RIPEMD-160 digest of the password (always written)
//   33  104 × N entries, in the order of the file list; when enciphered, all
//       entries form one Blowfish-CBC chain (13 blocks each)
//   then the bzip2 streams, one after another in the same order.
// Entry (104 bytes):
//   0 u8 name length L (0..64); 1 name (64 bytes, Windows-1252, file-name
//   part of the source path, cut to 64); 65 i32 attributes (-1: unknown);
//   69 i32 last-write time as packed DOS date and time, local (-1: unknown);
//   73 u32 stored size (bytes that went into the stream: the file, or its
//   patch); 77 u8 version length V (0..16); 78 version text (16 bytes,
//   Windows-1252); 94 u32 stream start offset; 98 u32 stream end offset
//   (just behind it); 102 u8 volume number of the start; 103 u8 1 when the
//   stream holds a patch (compiler/patch.h). Unused name and version bytes
//   are 0.
// Volume k is the pattern with its "%d" replaced by k. Volume 0 holds the
// first firstVolumeSize bytes (everything when unsplit or when the archive
// is shorter), every further volume the next volumeSize bytes, the last one
// the rest.

#include "filetools.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

inline constexpr int64_t kArchiveHeaderSize = 33;
inline constexpr int64_t kArchiveEntrySize = 104;
inline constexpr size_t kArchiveNameSize = 64;
inline constexpr size_t kArchiveVersionSize = 16;
inline constexpr size_t kCopyPieceSize = 10240;
// The volume number is one byte: an archive has at most volumes 0 to 255.
inline constexpr int64_t kArchiveMaxVolume = 255;
// The fewest bytes a file's bzip2 stream takes (an empty stream): with the
// header and the entries, a floor under the size of any archive.
inline constexpr int64_t kArchiveMinStreamSize = 14;

class FolderHandle;

// Raised for an archive that can't be written faithfully: bad arguments, a
// file that can't be read, a name that Windows-1252 can't hold, a value
// beyond its field, a compression or write failure. The message names the
// file and the cause.
class EArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Progress of CreateArchive:
//   kind 0: before each file, value 0, fileName its full path as given;
//           false stops the archive.
//   kind 1: after the i-th file (from 1), value round(i / N × 100), empty
//           fileName; false stops the archive.
//   kind 2: the current file's own percentage 0..100, empty fileName; false
//           stops the archive. Sent when the percentage changes, and at
//           least every kStopCheckInterval while a file is compressed or
//           patched (with the same percentage), so that a stop is taken
//           inside a large file too.
using ArchiveProgressFunc = std::function<bool(int kind, int value, const std::string &fileName)>;

inline constexpr int kStopCheckIntervalMs = 100;

// One volume the writer wrote: its file name (in the folder it was written
// to) and its size in bytes.
struct ArchiveVolume {
    std::string name;
    int64_t size = 0;
};

// Writes the archive of files as the volumes named by namePattern (a bare
// file name with one "%d", the last one in it, for the volume number), in
// folder, through its handle.
//   files: full paths, in archive order.
//   patchSources: empty, or one item per file; a non-empty item is the
//     older file against which that file is stored as a patch.
//   progress: may be empty.
//   password: its digest goes into the header; with encipher it keys the
//     cipher of the entry table (1 to 56 bytes, Windows-1252).
//   level: compression level 0..8 (bzip2 block size (level + 1) × 100 000).
//   volumeSize, firstVolumeSize: -1 for no split (either one being -1
//     gives one volume); firstVolumeSize must not be 0 and, when split,
//     volumeSize must be above 0. A negative firstVolumeSize other than -1
//     leaves volume 0 empty.
//   checked: empty, or one item per file: the state the file had when the
//     compile checked it (what "data.csf" tells the runtime). A file that
//     no longer has it once it is stored, or whose bytes taken in differ
//     from its checked size, raises "File ... changed while it was
//     compiled!". Items without a value are not checked.
// Returns the volumes written, in order (at least one), or nullopt when
// progress stopped the work (no volume is written then). An archive that
// would need more than kArchiveMaxVolume + 1 volumes raises before any
// volume is written. Each volume is created as a new file: a file or link of
// its name is replaced, never written through. Throws EArchiveError; the
// cipher's EBlowfishError for a password that can't key it (before any file
// is touched); std::runtime_error when no private scratch folder can be
// made. All derive from std::runtime_error and carry a message fit for an
// error line. Volumes already written stay. Scratch files ("bzarc.tmp",
// "bzout.tmp", "patch.tmp") live in a private folder of this process that is
// removed before returning.
std::optional<std::vector<ArchiveVolume>>
CreateArchive(const FolderHandle &folder, std::string_view namePattern, const std::vector<std::string> &files,
              const std::vector<std::string> &patchSources, const ArchiveProgressFunc &progress,
              std::string_view password, bool encipher, int level, int32_t volumeSize, int32_t firstVolumeSize,
              const std::vector<std::optional<FileState>> &checked = {});

// The same with pattern a path: the volumes go into the folder it names
// (opened as by FolderHandle::open; the current folder when it names none).
std::optional<std::vector<ArchiveVolume>>
CreateArchive(std::string_view pattern, const std::vector<std::string> &files,
              const std::vector<std::string> &patchSources, const ArchiveProgressFunc &progress,
              std::string_view password, bool encipher, int level, int32_t volumeSize, int32_t firstVolumeSize,
              const std::vector<std::optional<FileState>> &checked = {});

// Copies count bytes from source's current position to target in pieces of
// kCopyPieceSize; with count 0 the whole source from its start; a negative
// count copies nothing. Stops after the first piece shorter than a full
// one, and when either stream fails (the streams keep their state). Returns
// the number of bytes copied.
int64_t CopyStreamPart(std::istream &source, std::ostream &target, int64_t count);

// The volume number recorded for a stream starting at offset start: 0 when
// unsplit or start ≤ firstVolumeSize, else (start − firstVolumeSize) div
// volumeSize + 1.
int64_t VolumeNumber(int64_t start, int32_t volumeSize, int32_t firstVolumeSize);

// The byte counts of the volumes an archive of archiveSize bytes is cut
// into (at least one). Same argument rules as CreateArchive.
std::vector<int64_t> VolumeSizes(int64_t archiveSize, int32_t volumeSize, int32_t firstVolumeSize);

// pattern with its last "%d" replaced by number; throws EArchiveError when
// the pattern has none.
std::string VolumeFileName(std::string_view pattern, int64_t number);

} // namespace wharf
