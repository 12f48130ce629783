#pragma once
// Test-only: reads the setup archives that compiler/archive.h writes,
// written from the archive format alone, so that every archive a test
// writes can be read back and compared with its sources.
//
// Use: ReadArchive(pattern, password) joins the volumes, checks them and
// returns every entry with its decompressed stream; ExtractFile gives the
// file an entry stands for (applying the patch for a patched entry).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wharf::testing {

struct ArchiveEntry {
    std::string name;     // as stored: Windows-1252 bytes, at most 64
    int32_t attributes = 0;
    int32_t dosDateTime = 0;
    uint32_t storedSize = 0;
    std::string version;  // as stored: Windows-1252 bytes, at most 16
    uint32_t start = 0;
    uint32_t end = 0;
    uint8_t volume = 0;
    bool patched = false;
    std::string data;     // the decompressed stream: the file or its patch
};

struct ArchiveContents {
    bool enciphered = false;
    int32_t volumeSize = 0;
    int32_t firstVolumeSize = 0;
    std::array<uint8_t, 20> digest{};
    std::vector<int64_t> volumeSizes; // of the volume files found
    std::vector<ArchiveEntry> entries;
};

// The name of volume k: pattern with its last "%d" replaced by k.
std::string VolumePath(const std::string &pattern, int k);

// Reads the volumes 0, 1, ... of pattern while they exist and joins them.
// Checks the volume sizes against the header's sizes, the header's digest
// against password's, deciphers the entry table when the header says it is
// enciphered, and checks that the streams lie back to back up to the end,
// that each decompresses (libbz2) to exactly its stored size and ends at its
// end offset, and that each volume number names the volume the stream
// starts in (a stream starting exactly at the first-volume size counts as
// volume 0). Throws std::runtime_error naming the first fault.
ArchiveContents ReadArchive(const std::string &pattern, const std::string &password);

// The same checks on an archive held in memory as one volume, such as a
// package stored inside the support archive.
ArchiveContents ReadArchiveData(std::string_view data, const std::string &password);

// The file the entry stands for: its data, or for a patched entry that
// patch applied to oldData. Throws std::runtime_error for a bad patch.
std::string ExtractFile(const ArchiveEntry &entry, std::string_view oldData = {});

} // namespace wharf::testing
