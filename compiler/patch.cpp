#include "patch.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>

#include <zlib.h>

namespace wharf {
namespace {

constexpr uint32_t kNoHash = 0xFFFFFFFFu;

// Positions are counted from 1 as the patch format counts them; the
// buffers themselves are indexed from 0.
inline uint32_t hashAt(const uint8_t *chunk, uint32_t pos)
{
    const uint8_t *p = chunk + (pos - 1);
    return (uint32_t{p[0]} << 9) ^ (uint32_t{p[1]} << 5) ^ uint32_t{p[2]};
}

// Number of equal leading bytes of a and b, at most limit. Compares a word
// at a time: identical chunks make this the hot loop.
uint32_t equalRun(const uint8_t *a, const uint8_t *b, uint32_t limit)
{
    uint32_t n = 0;
    while (n + 8 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) {
            const uint64_t diff = x ^ y;
            // Little-endian hosts only: the lowest differing byte is the first.
            static_assert(std::endian::native == std::endian::little);
            return n + static_cast<uint32_t>(__builtin_ctzll(diff) / 8);
        }
        n += 8;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

inline void putU16(uint8_t *out, uint16_t v)
{
    out[0] = static_cast<uint8_t>(v);
    out[1] = static_cast<uint8_t>(v >> 8);
}

inline void putU32(uint8_t *out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(v >> (8 * i));
}

void writeBytes(std::ostream &out, const uint8_t *data, size_t size)
{
    errno = 0;
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!out) {
        const int error = errno;
        throw EPatchError(error != 0 ? std::string("Could not write the patch: ") + std::strerror(error)
                                     : std::string("Could not write the patch"));
    }
}

void writeU32(std::ostream &out, uint32_t v)
{
    uint8_t b[4];
    putU32(b, v);
    writeBytes(out, b, 4);
}

void writeU8(std::ostream &out, uint8_t v)
{
    writeBytes(out, &v, 1);
}

// Reads up to size bytes; fewer only at the end of the stream.
uint32_t readChunk(std::istream &in, uint8_t *buffer, uint32_t size, const char *what)
{
    in.read(reinterpret_cast<char *>(buffer), static_cast<std::streamsize>(size));
    const auto got = static_cast<uint32_t>(in.gcount());
    if (in.bad())
        throw EPatchError(what);
    return got;
}

uint32_t crcOf(const uint8_t *data, uint32_t size)
{
    return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), data, size));
}

void appendCommand(uint8_t *commands, uint32_t &commandBytes, uint16_t length, uint32_t oldPos, uint32_t newPos)
{
    uint8_t *c = commands + commandBytes;
    putU16(c, length);
    putU32(c + 2, oldPos);
    putU32(c + 6, newPos);
    commandBytes += kPatchCommandSize;
}

} // namespace

DiffBuffers::DiffBuffers()
    : literals(kPatchChunkSize), commands(kPatchChunkSize), head(kPatchHashSize), chain(kPatchChunkSize + 1)
{
}

MatchCounts FindMatches(const uint8_t *newChunk, uint32_t newLength, const uint8_t *oldChunk, uint32_t oldLength,
                        int chainLimit, DiffBuffers &buffers, const PatchProgress &progress)
{
    if (newLength < 4 || oldLength < 4)
        throw std::invalid_argument("Buffer size should be at least 4 bytes");
    if (newLength > kPatchChunkSize || oldLength > kPatchChunkSize)
        throw std::invalid_argument("A patch chunk holds at most 2097152 bytes");
    const uint32_t c = newLength;
    const uint32_t f = oldLength;
    uint32_t *head = buffers.head.data();
    uint32_t *chain = buffers.chain.data();
    std::fill(buffers.head.begin(), buffers.head.end(), 0u);

    // Only the first position of a run of equal hashes is indexed, so long
    // runs of one byte do not flood a chain. The last two windows stay out.
    uint32_t lastHash = kNoHash;
    for (uint32_t p = 1; p + 4 <= f; ++p) {
        const uint32_t h = hashAt(oldChunk, p);
        if (h != lastHash) {
            chain[p] = head[h];
            head[h] = p;
            lastHash = h;
        }
    }

    uint8_t *literals = buffers.literals.data();
    uint8_t *commands = buffers.commands.data();
    MatchCounts counts;
    uint32_t pos = 1;
    uint32_t lastReported = 1;
    for (uint32_t k = 1; pos <= c; ++k) {
        if (pos > c - 3) {
            literals[counts.literalCount++] = newChunk[pos - 1];
            ++pos;
        } else {
            uint32_t best = kMinMatchLength - 1;
            uint32_t bestPos = 0;
            uint32_t q = head[hashAt(newChunk, pos)];
            for (int steps = 0; q != 0 && steps < chainLimit; ++steps, q = chain[q]) {
                // A match never reaches the last byte of either chunk.
                const uint32_t limit = std::min(c - pos, f - q) - 1;
                // A candidate can only win when it also matches at offset
                // best; best never exceeds 65535, so no count has wrapped.
                if (limit <= best || newChunk[pos - 1 + best] != oldChunk[q - 1 + best])
                    continue;
                // The length field holds 16 bits: a longer run counts modulo
                // 65536, which is what keeps every command below 65536.
                const uint32_t length = equalRun(newChunk + (pos - 1), oldChunk + (q - 1), limit) & 0xFFFFu;
                if (length > best) {
                    best = length;
                    bestPos = q;
                }
            }
            if (best < kMinMatchLength) {
                literals[counts.literalCount++] = newChunk[pos - 1];
                ++pos;
            } else {
                appendCommand(commands, counts.commandBytes, static_cast<uint16_t>(best), bestPos, pos);
                pos += best;
            }
        }
        if (k % 16 == 0) {
            if (progress)
                progress(pos - lastReported);
            lastReported = pos;
        }
    }
    appendCommand(commands, counts.commandBytes, 0, 0, c + 1);
    return counts;
}

void DiffChunk(std::ostream &patch, const uint8_t *newChunk, const uint8_t *oldChunk, uint32_t newLength,
               int chainLimit, uint32_t oldLength, DiffBuffers &buffers, const PatchProgress &progress)
{
    const MatchCounts counts = FindMatches(newChunk, newLength, oldChunk, oldLength, chainLimit, buffers, progress);
    writeU32(patch, counts.literalCount);
    writeU32(patch, counts.commandBytes);
    writeBytes(patch, buffers.literals.data(), counts.literalCount);
    writeBytes(patch, buffers.commands.data(), counts.commandBytes);
}

void CreatePatch(std::istream &newFile, std::istream &oldFile, std::ostream &patch, int chainLimit,
                 const PatchProgress &progress)
{
    newFile.clear();
    newFile.seekg(0);
    oldFile.clear();
    oldFile.seekg(0);
    patch.seekp(0);
    std::vector<uint8_t> newChunk(kPatchChunkSize);
    std::vector<uint8_t> oldChunk(kPatchChunkSize);
    DiffBuffers buffers;
    for (;;) {
        const uint32_t c = readChunk(newFile, newChunk.data(), kPatchChunkSize, "Could not read the new file");
        const uint32_t f = readChunk(oldFile, oldChunk.data(), kPatchChunkSize, "Could not read the old file");
        writeU32(patch, f);
        // An old chunk much shorter than the new one gives too little to
        // copy from; such chunks, and those past the old file's end, go raw.
        if (c < 4 || f < 4 || f < c / 4) {
            writeU8(patch, 0);
            writeU32(patch, c);
            if (c > 0) {
                writeU32(patch, crcOf(newChunk.data(), c));
                writeBytes(patch, newChunk.data(), c);
            }
        } else {
            writeU8(patch, 1);
            writeU32(patch, crcOf(newChunk.data(), c));
            writeU32(patch, crcOf(oldChunk.data(), f));
            DiffChunk(patch, newChunk.data(), oldChunk.data(), c, chainLimit, f, buffers, progress);
        }
        if (c == 0)
            break;
    }
}

} // namespace wharf
