#include "patchapplier.h"

#include <stdexcept>

#include <zlib.h>

namespace wharf::testing {
namespace {

constexpr uint32_t kChunk = 2097152;

class Reader {
public:
    explicit Reader(std::string_view data) : m_data(data) {}
    bool atEnd() const { return m_pos == m_data.size(); }
    std::string_view bytes(size_t n)
    {
        if (n > m_data.size() - m_pos)
            throw std::runtime_error("patch ends inside a record");
        std::string_view out = m_data.substr(m_pos, n);
        m_pos += n;
        return out;
    }
    uint32_t u32() { return le(bytes(4)); }
    uint16_t u16() { return static_cast<uint16_t>(le(bytes(2))); }
    uint8_t u8() { return static_cast<uint8_t>(bytes(1)[0]); }

    static uint32_t le(std::string_view b)
    {
        uint32_t v = 0;
        for (size_t i = b.size(); i-- > 0;)
            v = (v << 8) | static_cast<uint8_t>(b[i]);
        return v;
    }

private:
    std::string_view m_data;
    size_t m_pos = 0;
};

uint32_t crcOf(std::string_view data)
{
    return static_cast<uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(data.data()), static_cast<uInt>(data.size())));
}

void checkCrc(uint32_t stored, std::string_view data, const char *what, size_t chunk)
{
    if (crcOf(data) != stored)
        throw std::runtime_error(std::string("CRC of the ") + what + " chunk " + std::to_string(chunk) + " does not match");
}

// Rebuilds one diffed chunk by walking its commands.
std::string rebuildChunk(std::string_view oldChunk, std::string_view literals, Reader &commands, uint32_t commandBytes,
                         PatchRecord &record)
{
    if (commandBytes == 0 || commandBytes % 10 != 0)
        throw std::runtime_error("command bytes not a positive multiple of 10");
    std::string out;
    size_t lit = 0;
    uint32_t next = 1; // the first new position no command has covered
    const uint32_t count = commandBytes / 10;
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t length = commands.u16();
        const uint32_t oldPos = commands.u32();
        const uint32_t newPos = commands.u32();
        if (newPos < next)
            throw std::runtime_error("commands overlap or go backwards");
        const size_t fill = newPos - next;
        if (fill > literals.size() - lit)
            throw std::runtime_error("too few literals");
        out.append(literals.substr(lit, fill));
        lit += fill;
        const bool last = i + 1 == count;
        if (last) {
            if (length != 0 || oldPos != 0)
                throw std::runtime_error("the command list does not end with the end command");
            record.uncoveredTail = newPos - next;
            next = newPos;
            break;
        }
        if (length == 0)
            throw std::runtime_error("a command of length 0 before the end");
        if (oldPos == 0 || oldPos - 1 + size_t{length} > oldChunk.size())
            throw std::runtime_error("a command copies from outside the old chunk");
        out.append(oldChunk.substr(oldPos - 1, length));
        record.oldPositions.push_back(oldPos);
        record.longestCommand = std::max<uint32_t>(record.longestCommand, length);
        ++record.commandCount;
        next = newPos + length;
    }
    if (lit != literals.size())
        throw std::runtime_error("literals left over");
    if (out.size() + 1 != next)
        throw std::runtime_error("end command does not match the rebuilt length");
    return out;
}

} // namespace

std::string ApplyPatch(std::string_view oldData, std::string_view patch, std::vector<PatchRecord> *records)
{
    Reader in(patch);
    std::string out;
    bool shortChunkSeen = false;
    for (size_t chunk = 0;; ++chunk) {
        PatchRecord record;
        record.oldLength = in.u32();
        record.mode = in.u8();
        const size_t oldStart = chunk * kChunk;
        const size_t oldHave = oldStart < oldData.size() ? std::min<size_t>(kChunk, oldData.size() - oldStart) : 0;
        if (record.oldLength != oldHave)
            throw std::runtime_error("old length of chunk " + std::to_string(chunk) + " does not match the old file");
        const std::string_view oldChunk = oldData.substr(std::min(oldStart, oldData.size()), oldHave);
        if (record.mode == 0) {
            record.newLength = in.u32();
            if (record.newLength > kChunk)
                throw std::runtime_error("raw chunk longer than 2 MiB");
            if (record.newLength == 0) {
                if (records)
                    records->push_back(record);
                break;
            }
            const uint32_t crc = in.u32();
            const std::string_view data = in.bytes(record.newLength);
            checkCrc(crc, data, "new", chunk);
            out.append(data);
        } else if (record.mode == 1) {
            const uint32_t crcNew = in.u32();
            const uint32_t crcOld = in.u32();
            checkCrc(crcOld, oldChunk, "old", chunk);
            record.literalCount = in.u32();
            const uint32_t commandBytes = in.u32();
            const std::string_view literals = in.bytes(record.literalCount);
            Reader commands(in.bytes(commandBytes));
            const std::string rebuilt = rebuildChunk(oldChunk, literals, commands, commandBytes, record);
            if (rebuilt.empty() || rebuilt.size() > kChunk)
                throw std::runtime_error("diffed chunk of a bad length");
            checkCrc(crcNew, rebuilt, "new", chunk);
            record.newLength = static_cast<uint32_t>(rebuilt.size());
            out += rebuilt;
        } else {
            throw std::runtime_error("unknown record mode " + std::to_string(record.mode));
        }
        // Only the last chunk of the new file may be short.
        if (shortChunkSeen)
            throw std::runtime_error("a chunk follows a short chunk");
        shortChunkSeen = record.newLength < kChunk;
        if (records)
            records->push_back(std::move(record));
    }
    if (!in.atEnd())
        throw std::runtime_error("bytes after the end record");
    return out;
}

} // namespace wharf::testing
