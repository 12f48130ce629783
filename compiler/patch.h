#pragma once
// Binary patch writer: stores the new version of a file as a patch against
// its older version. Both files are cut into 2 MiB chunks; chunk k of the
// new file is compared only with chunk k of the old file and stored either
// raw or as literal bytes plus copy commands found by a hash-chain search.
//
// Patch stream (all integers little-endian), one record per chunk of the
// new file, ended by a record whose new length is 0:
//   old length u32 (bytes in this chunk of the old file), mode u8, then
//   mode 0 (raw):    new length u32; when above 0: CRC-32 of the new chunk
//                    u32 and the chunk's bytes.
//   mode 1 (diffed): CRC-32 of the new chunk u32, CRC-32 of the old chunk
//                    u32, literal count u32, command bytes u32, the
//                    literals, the commands.
// A command is 10 bytes: length u16, old position u32, new position u32,
// positions counted from 1 within the chunk. The list ends with the command
// (0, 0, new chunk length + 1). Literals fill, in order, every position of
// the new chunk that no command covers.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <vector>

namespace wharf {

inline constexpr uint32_t kPatchChunkSize = 2097152;
inline constexpr uint32_t kMinMatchLength = 20;
inline constexpr uint32_t kPatchHashSize = 131072;
inline constexpr uint32_t kPatchCommandSize = 10;
// The chain limit the archive writer uses.
inline constexpr int kArchiveChainLimit = 1024;

// Raised when a stream of a patch can't be read or written.
class EPatchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Receives how many bytes of the new chunk the scan advanced since its last
// call (every 16 steps of the scan).
using PatchProgress = std::function<void(uint32_t bytesScanned)>;

// Working memory of one patch, allocated once and reused for every chunk:
// literal and command output, the head table and one chain link per old
// byte. The size does not depend on the files.
struct DiffBuffers {
    DiffBuffers();
    std::vector<uint8_t> literals;
    std::vector<uint8_t> commands;
    std::vector<uint32_t> head;
    std::vector<uint32_t> chain;
};

// Amounts FindMatches wrote into DiffBuffers::literals and ::commands.
struct MatchCounts {
    uint32_t literalCount = 0;
    uint32_t commandBytes = 0;
};

// Writes into patch the patch that turns oldFile into newFile. All three
// streams are first positioned at their start. chainLimit bounds the chain
// candidates tried per position. Throws EPatchError when a stream fails.
void CreatePatch(std::istream &newFile, std::istream &oldFile, std::ostream &patch, int chainLimit,
                 const PatchProgress &progress = {});

// Writes one mode 1 body (literal count, command bytes, literals, commands)
// for the chunk pair. Same preconditions as FindMatches.
void DiffChunk(std::ostream &patch, const uint8_t *newChunk, const uint8_t *oldChunk, uint32_t newLength,
               int chainLimit, uint32_t oldLength, DiffBuffers &buffers, const PatchProgress &progress = {});

// The match search over one chunk pair, filling buffers.literals and
// buffers.commands (ended by the end command). Throws std::invalid_argument
// "Buffer size should be at least 4 bytes" when either length is below 4,
// and for a length above kPatchChunkSize.
MatchCounts FindMatches(const uint8_t *newChunk, uint32_t newLength, const uint8_t *oldChunk, uint32_t oldLength,
                        int chainLimit, DiffBuffers &buffers, const PatchProgress &progress = {});

} // namespace wharf
