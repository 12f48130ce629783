#include "archive.h"

#include "codec.h"
#include "encdec.h"
#include "files.h"
#include "patch.h"
#include "paths.h"
#include "runcontext.h"
#include "versioninfo.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>

#include <bzlib.h>

namespace wharf {
namespace {

// Offsets and sizes are stored in signed 32-bit fields.
constexpr int64_t kFieldMax = std::numeric_limits<int32_t>::max();
constexpr size_t kCompressorBuffer = 65536;

using Entry = std::array<uint8_t, kArchiveEntrySize>;

// Thrown inside the writer when the progress function answers "stop"; the
// writer ends and returns no volumes.
struct ArchiveStopped {};

void putU32(uint8_t *out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(v >> (8 * i));
}

void putI32(uint8_t *out, int32_t v)
{
    putU32(out, static_cast<uint32_t>(v));
}

// num / den rounded to the nearest integer, halves to even; den > 0.
int64_t roundRatio(int64_t num, int64_t den)
{
    const int64_t q = num / den;
    const int64_t twice = 2 * (num % den);
    if (twice > den || (twice == den && q % 2 != 0))
        return q + 1;
    return q;
}

std::ofstream createFile(const std::string &path)
{
    errno = 0;
    std::ofstream out(toNativePath(path), std::ios::binary | std::ios::trunc);
    if (!out) {
        const int error = errno;
        throw EArchiveError("Could not create " + path +
                            (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
    }
    return out;
}

// ": " and the system's reason, when it gave one.
std::string reasonOf(int error)
{
    return error != 0 ? std::string(": ") + std::strerror(error) : std::string();
}

// "Could not write path", with the system's reason when it gave one.
EArchiveError writeError(const std::string &path, int error)
{
    return EArchiveError("Could not write " + path + reasonOf(error));
}

void writeBytes(std::ostream &out, const std::string &path, const void *data, size_t size)
{
    errno = 0;
    out.write(static_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!out)
        throw writeError(path, errno);
}

void closeFile(std::ofstream &out, const std::string &path)
{
    errno = 0;
    out.close();
    if (out.fail())
        throw writeError(path, errno);
}

// The cipher context of the entry table. A holder, because the context can
// be neither copied nor moved into an optional.
struct TableCipher {
    explicit TableCipher(std::string_view password) : context(CipherContext::forPassword(password)) {}
    CipherContext context;
};

// The file-name part of path as Windows-1252 bytes, cut to the field.
std::string entryName(const std::string &path)
{
    std::string bytes;
    try {
        bytes = toWindows1252(extractFileName(path));
    } catch (const ECodecError &e) {
        throw EArchiveError("The name of " + path + " can't be stored in a setup archive: " + e.what());
    }
    if (bytes.size() > kArchiveNameSize)
        bytes.resize(kArchiveNameSize);
    return bytes;
}

size_t utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// The version text as Windows-1252 bytes, cut to the field. A version
// resource may hold characters the code page lacks; they become "?" as the
// platform's 8-bit version query gives them.
std::string versionText(const std::string &path)
{
    const std::string utf8 = TVersionInfo(path).FileVersionValue();
    std::string bytes;
    for (size_t pos = 0; pos < utf8.size() && bytes.size() < kArchiveVersionSize;) {
        const size_t len = std::min(utf8SequenceLength(static_cast<unsigned char>(utf8[pos])), utf8.size() - pos);
        const std::string_view character(utf8.data() + pos, len);
        bytes += fitsWindows1252(character) ? toWindows1252(character) : std::string("?");
        pos += len;
    }
    return bytes;
}

// Holds the caller's progress function and turns the counts of the file
// being stored into its percentage, sent when that changes and at least
// every kStopCheckIntervalMs, so that a stop answered inside a large file is
// taken at once.
class TProgressObject {
public:
    using Clock = std::chrono::steady_clock;

    explicit TProgressObject(const ArchiveProgressFunc &progress) : m_progress(progress) {}

    bool fileStarts(const std::string &path)
    {
        m_lastPercent = -1;
        m_lastSent = Clock::now();
        return !m_progress || m_progress(0, 0, path);
    }

    bool filesDone(size_t done, size_t total)
    {
        const auto share = static_cast<int>(roundRatio(static_cast<int64_t>(done) * 100, static_cast<int64_t>(total)));
        return !m_progress || m_progress(1, share, std::string());
    }

    // Sends the percentage num / den, rounded, when it changed or when the
    // last one is older than the interval; throws ArchiveStopped when the
    // answer is "stop".
    void filePercent(int64_t num, int64_t den)
    {
        if (den <= 0)
            return;
        const auto percent = static_cast<int>(std::clamp<int64_t>(roundRatio(num, den), 0, 100));
        const Clock::time_point now = Clock::now();
        if (percent == m_lastPercent && now - m_lastSent < std::chrono::milliseconds(kStopCheckIntervalMs))
            return;
        m_lastPercent = percent;
        m_lastSent = now;
        if (m_progress && !m_progress(2, percent, std::string()))
            throw ArchiveStopped{};
    }

    void fileComplete() { filePercent(100, 1); }

private:
    const ArchiveProgressFunc &m_progress;
    int m_lastPercent = -1;
    Clock::time_point m_lastSent;
};

// One bzip2 stream written to out through a 64 KiB buffer.
class BzCompressor {
public:
    BzCompressor(std::ostream &out, const std::string &outPath, int blockSize100k) : m_out(out), m_outPath(outPath)
    {
        const int rc = BZ2_bzCompressInit(&m_stream, blockSize100k, 0, 0);
        if (rc != BZ_OK)
            throw EArchiveError("Compression Error " + std::to_string(rc));
    }
    ~BzCompressor() { BZ2_bzCompressEnd(&m_stream); }
    BzCompressor(const BzCompressor &) = delete;
    BzCompressor &operator=(const BzCompressor &) = delete;

    void write(const char *data, size_t size)
    {
        m_stream.next_in = const_cast<char *>(data);
        m_stream.avail_in = static_cast<unsigned int>(size);
        while (m_stream.avail_in > 0) {
            const int rc = step(BZ_RUN);
            if (rc != BZ_RUN_OK)
                throw EArchiveError("Compression Error " + std::to_string(rc));
        }
    }

    // Ends the stream and writes what is left.
    void finish()
    {
        for (;;) {
            const int rc = step(BZ_FINISH);
            if (rc == BZ_STREAM_END)
                break;
            if (rc != BZ_FINISH_OK)
                throw EArchiveError("Compression Error " + std::to_string(rc));
        }
        flush();
    }

    int64_t written() const { return m_written; }

private:
    int step(int action)
    {
        m_stream.next_out = m_buffer.data() + m_used;
        m_stream.avail_out = static_cast<unsigned int>(m_buffer.size() - m_used);
        const int rc = BZ2_bzCompress(&m_stream, action);
        m_used = m_buffer.size() - m_stream.avail_out;
        if (m_used == m_buffer.size())
            flush();
        return rc;
    }

    void flush()
    {
        writeBytes(m_out, m_outPath, m_buffer.data(), m_used);
        m_written += static_cast<int64_t>(m_used);
        m_used = 0;
    }

    std::ostream &m_out;
    const std::string &m_outPath;
    bz_stream m_stream{};
    std::array<char, kCompressorBuffer> m_buffer{};
    size_t m_used = 0;
    int64_t m_written = 0;
};

void checkArguments(const std::vector<std::string> &files, const std::vector<std::string> &patchSources, int level,
                    int32_t volumeSize, int32_t firstVolumeSize)
{
    if (level < 0 || level > 8)
        throw EArchiveError("The compression level " + std::to_string(level) + " is not between 0 and 8");
    if (firstVolumeSize == 0)
        throw EArchiveError("The first volume of a setup archive can't have the size 0");
    if (firstVolumeSize != -1 && volumeSize != -1 && volumeSize <= 0)
        throw EArchiveError("The volume size " + std::to_string(volumeSize) + " is not above 0");
    if (!patchSources.empty() && patchSources.size() != files.size())
        throw EArchiveError("The list of patch sources does not match the list of files");
    if (kArchiveHeaderSize + kArchiveEntrySize * static_cast<int64_t>(files.size()) > kFieldMax)
        throw EArchiveError("Too many files for one setup archive");
}

// Writes the entries and the compressed data of one archive.
class ArchiveBuilder {
public:
    ArchiveBuilder(std::ostream &data, const std::string &dataPath, const std::string &patchPath, int64_t tableEnd,
                   int level, int32_t volumeSize, int32_t firstVolumeSize, TProgressObject &progress)
        : m_data(data), m_dataPath(dataPath), m_patchPath(patchPath), m_tableEnd(tableEnd), m_level(level),
          m_volumeSize(volumeSize), m_firstVolumeSize(firstVolumeSize), m_progress(progress)
    {
    }

    int64_t dataSize() const { return m_dataSize; }

    // Compresses path (or its patch against oldPath, when that is not empty)
    // onto the data and returns its entry, not yet enciphered. With checked,
    // the file must still be as it was checked once it is stored.
    Entry store(const std::string &path, const std::string &oldPath, const std::optional<FileState> &checked)
    {
        if (!fileExists(path))
            throw EArchiveError("Could not open " + path + ": there is no such file");
        // Opened for reading only: others may go on reading and writing it.
        errno = 0;
        std::ifstream source(toNativePath(path), std::ios::binary);
        if (!source)
            throw EArchiveError("Could not open " + path + reasonOf(errno));

        Entry entry{};
        const std::string name = entryName(path);
        entry[0] = static_cast<uint8_t>(name.size());
        std::memcpy(&entry[1], name.data(), name.size());
        putI32(&entry[65], fileAttributes(path));
        putI32(&entry[69], fileDosDateTime(path));
        const std::string version = versionText(path);
        entry[77] = static_cast<uint8_t>(version.size());
        std::memcpy(&entry[78], version.data(), version.size());

        std::istream *input = &source;
        int64_t inputSize = fileSize(path);
        std::fstream patch;
        const bool patched = !oldPath.empty();
        if (patched) {
            inputSize = makePatch(source, path, oldPath, patch);
            input = &patch;
        }
        checkStoredSize(inputSize, path, patched);

        const int64_t start = m_tableEnd + m_dataSize;
        checkOffset(start, path);
        const int64_t volume = VolumeNumber(start, m_volumeSize, m_firstVolumeSize);
        if (volume > kArchiveMaxVolume) {
            throw EArchiveError("The setup archive needs more than 256 volumes: " + path + " would begin in volume " +
                                std::to_string(volume) + "; choose a larger volume size");
        }
        const int64_t stored = compress(*input, inputSize, path, patched);
        // What the installation settings say of the file (its size) was
        // taken when it was checked: the bytes stored must be those.
        if (checked && ((!patched && stored != checked->size) || FileStateOf(path) != checked))
            throw EArchiveError("File " + path + " changed while it was compiled!");
        checkStoredSize(stored, path, patched);
        const int64_t end = m_tableEnd + m_dataSize;
        checkOffset(end, path);

        putU32(&entry[73], static_cast<uint32_t>(stored));
        putU32(&entry[94], static_cast<uint32_t>(start));
        putU32(&entry[98], static_cast<uint32_t>(end));
        entry[102] = static_cast<uint8_t>(volume);
        entry[103] = patched ? 1 : 0;
        return entry;
    }

private:
    // Writes the patch of source against oldPath into "patch.tmp", leaves
    // patch open on it at its start and returns its size.
    int64_t makePatch(std::istream &source, const std::string &path, const std::string &oldPath, std::fstream &patch)
    {
        if (!fileExists(oldPath))
            throw EArchiveError("Could not open " + oldPath + ", the older version of " + path + ": there is no such file");
        errno = 0;
        std::ifstream old(toNativePath(oldPath), std::ios::binary);
        if (!old)
            throw EArchiveError("Could not open " + oldPath + ", the older version of " + path + reasonOf(errno));
        errno = 0;
        patch.open(m_patchPath, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
        if (!patch)
            throw EArchiveError("Could not create " + m_patchPath + reasonOf(errno));
        const int64_t newSize = fileSize(path);
        int64_t scanned = 0;
        try {
            CreatePatch(source, old, patch, kArchiveChainLimit, [&](uint32_t n) {
                scanned += n;
                m_progress.filePercent(scanned * 75, newSize);
            });
        } catch (const EPatchError &e) {
            throw EArchiveError("Could not make the patch of " + path + " against " + oldPath + " in " + m_patchPath +
                                ": " + e.what());
        }
        errno = 0;
        patch.flush();
        const std::streamoff size = patch.tellp();
        patch.seekg(0);
        if (!patch || size < 0)
            throw writeError(m_patchPath, errno);
        return static_cast<int64_t>(size);
    }

    // Feeds input through a new compressor onto the data in pieces;
    // returns the bytes taken in.
    int64_t compress(std::istream &input, int64_t inputSize, const std::string &path, bool patched)
    {
        BzCompressor compressor(m_data, m_dataPath, m_level + 1);
        std::array<char, kCopyPieceSize> piece;
        int64_t taken = 0;
        for (;;) {
            input.read(piece.data(), static_cast<std::streamsize>(piece.size()));
            const auto got = static_cast<size_t>(input.gcount());
            if (input.bad())
                throw EArchiveError("Could not read " + (patched ? m_patchPath : path));
            if (got > 0) {
                compressor.write(piece.data(), got);
                taken += static_cast<int64_t>(got);
                if (patched)
                    m_progress.filePercent(75 * inputSize + 25 * taken, inputSize);
                else
                    m_progress.filePercent(100 * taken, inputSize);
            }
            if (got < piece.size())
                break;
        }
        compressor.finish();
        m_dataSize += compressor.written();
        if (taken == 0)
            m_progress.fileComplete(); // nothing to count for an empty input
        return taken;
    }

    static void checkStoredSize(int64_t size, const std::string &path, bool patched)
    {
        if (size > kFieldMax) {
            throw EArchiveError(std::string(patched ? "The patch of " : "") + path + " is too large for a setup archive (" +
                                std::to_string(size) + " bytes; an entry holds at most 2147483647)");
        }
    }

    static void checkOffset(int64_t offset, const std::string &path)
    {
        if (offset > kFieldMax) {
            throw EArchiveError("The setup archive would be larger than 2147483647 bytes at " + path +
                                "; split the files over more than one setup");
        }
    }

    std::ostream &m_data;
    const std::string &m_dataPath;
    const std::string &m_patchPath;
    const int64_t m_tableEnd;
    const int m_level;
    const int32_t m_volumeSize;
    const int32_t m_firstVolumeSize;
    TProgressObject &m_progress;
    int64_t m_dataSize = 0;
};

// Each volume is a new file: a link that stands where a volume goes (the
// output folder may be shared) is replaced, never written through. The
// count is checked before the first volume is written.
std::vector<ArchiveVolume> writeVolumes(const std::string &archivePath, int64_t archiveSize, const FolderHandle &folder,
                                        std::string_view namePattern, int32_t volumeSize, int32_t firstVolumeSize)
{
    const std::vector<int64_t> sizes = VolumeSizes(archiveSize, volumeSize, firstVolumeSize);
    if (static_cast<int64_t>(sizes.size()) > kArchiveMaxVolume + 1) {
        throw EArchiveError("The setup archive of " + std::to_string(archiveSize) + " bytes needs " +
                            std::to_string(sizes.size()) + " volumes of " + std::to_string(volumeSize) +
                            " bytes, and a setup archive has at most " + std::to_string(kArchiveMaxVolume + 1) +
                            "; choose a larger disk size");
    }
    std::vector<ArchiveVolume> volumes;
    int64_t offset = 0;
    for (size_t k = 0; k < sizes.size(); ++k) {
        const std::string name = VolumeFileName(namePattern, static_cast<int64_t>(k));
        errno = 0;
        if (!folder.writeNewFile(name, {FilePiece{archivePath, offset, sizes[k]}}))
            throw writeError(folder.pathOf(name), errno);
        volumes.push_back({name, sizes[k]});
        offset += sizes[k];
    }
    return volumes;
}

} // namespace

int64_t CopyStreamPart(std::istream &source, std::ostream &target, int64_t count)
{
    if (count < 0)
        return 0;
    if (count == 0) {
        source.clear();
        source.seekg(0);
    }
    std::array<char, kCopyPieceSize> piece;
    int64_t copied = 0;
    while (source && target) {
        const int64_t want = count == 0 ? static_cast<int64_t>(piece.size())
                                        : std::min<int64_t>(static_cast<int64_t>(piece.size()), count - copied);
        if (want <= 0)
            break;
        source.read(piece.data(), static_cast<std::streamsize>(want));
        const auto got = static_cast<int64_t>(source.gcount());
        target.write(piece.data(), static_cast<std::streamsize>(got));
        if (!target)
            break;
        copied += got;
        if (got < static_cast<int64_t>(piece.size()))
            break;
    }
    return copied;
}

int64_t VolumeNumber(int64_t start, int32_t volumeSize, int32_t firstVolumeSize)
{
    if (firstVolumeSize == -1 || volumeSize == -1 || firstVolumeSize >= start)
        return 0;
    if (volumeSize <= 0)
        throw EArchiveError("The volume size " + std::to_string(volumeSize) + " is not above 0");
    return (start - firstVolumeSize) / volumeSize + 1;
}

std::vector<int64_t> VolumeSizes(int64_t archiveSize, int32_t volumeSize, int32_t firstVolumeSize)
{
    if (firstVolumeSize == -1 || volumeSize == -1)
        return {archiveSize};
    if (volumeSize <= 0)
        throw EArchiveError("The volume size " + std::to_string(volumeSize) + " is not above 0");
    std::vector<int64_t> sizes;
    sizes.push_back(std::clamp<int64_t>(firstVolumeSize, 0, archiveSize));
    for (int64_t rest = archiveSize - sizes.front(); rest > 0; rest -= volumeSize)
        sizes.push_back(std::min<int64_t>(volumeSize, rest));
    return sizes;
}

std::string VolumeFileName(std::string_view pattern, int64_t number)
{
    const size_t at = pattern.rfind("%d");
    if (at == std::string_view::npos)
        throw EArchiveError("The volume name " + std::string(pattern) + " has no place for the volume number (%d)");
    std::string name(pattern.substr(0, at));
    name += std::to_string(number);
    name += pattern.substr(at + 2);
    return name;
}

std::optional<std::vector<ArchiveVolume>>
CreateArchive(const FolderHandle &folder, std::string_view namePattern, const std::vector<std::string> &files,
              const std::vector<std::string> &patchSources, const ArchiveProgressFunc &progress,
              std::string_view password, bool encipher, int level, int32_t volumeSize, int32_t firstVolumeSize,
              const std::vector<std::optional<FileState>> &checked)
{
    checkArguments(files, patchSources, level, volumeSize, firstVolumeSize);
    if (!checked.empty() && checked.size() != files.size())
        throw EArchiveError("The list of checked file states does not match the list of files");
    // A pattern without a place for the number, or with a folder in it,
    // fails before any work.
    if (extractFileName(VolumeFileName(namePattern, 0)) != VolumeFileName(namePattern, 0))
        throw EArchiveError("The volume name " + std::string(namePattern) + " is no bare file name");
    TProgressObject progressObject(progress);
    // Both raise for a password that can't be used, before any file exists.
    std::optional<TableCipher> cipher;
    if (encipher)
        cipher.emplace(password);
    const PasswordDigest digest = DigestString(password);

    const auto count = static_cast<int32_t>(files.size());
    const int64_t tableEnd = kArchiveHeaderSize + kArchiveEntrySize * count;
    // bzout.tmp grows to the size of the compressed payload: it belongs in
    // the compile's own folder, not in a shared temporary folder.
    const ScratchFolder scratch(RunScratchFolder(), "archive");
    const std::string archivePath = scratch.file("bzarc.tmp");
    const std::string dataPath = scratch.file("bzout.tmp");
    const std::string patchPath = scratch.file("patch.tmp");

    std::ofstream archive = createFile(archivePath);
    std::array<uint8_t, kArchiveHeaderSize> header{};
    header[0] = encipher ? 1 : 0;
    putI32(&header[1], count);
    putI32(&header[5], volumeSize);
    putI32(&header[9], firstVolumeSize);
    std::memcpy(&header[13], digest.data(), digest.size());
    writeBytes(archive, archivePath, header.data(), header.size());

    std::ofstream data = createFile(dataPath);
    ArchiveBuilder builder(data, dataPath, patchPath, tableEnd, level, volumeSize, firstVolumeSize, progressObject);
    try {
        for (size_t i = 0; i < files.size(); ++i) {
            if (!progressObject.fileStarts(files[i]))
                return std::nullopt;
            Entry entry = builder.store(files[i], patchSources.empty() ? std::string() : patchSources[i],
                                        checked.empty() ? std::nullopt : checked[i]);
            if (cipher)
                EncryptBuffer(cipher->context, entry.data(), entry.size());
            writeBytes(archive, archivePath, entry.data(), entry.size());
            if (!progressObject.filesDone(i + 1, files.size()))
                return std::nullopt;
        }
    } catch (const ArchiveStopped &) {
        return std::nullopt;
    }
    closeFile(data, dataPath);

    errno = 0;
    std::ifstream compressed(dataPath, std::ios::binary);
    if (!compressed)
        throw EArchiveError("Could not open " + dataPath + reasonOf(errno));
    errno = 0;
    if (CopyStreamPart(compressed, archive, 0) != builder.dataSize() || !archive)
        throw writeError(archivePath, errno);
    closeFile(archive, archivePath);
    return writeVolumes(archivePath, tableEnd + builder.dataSize(), folder, namePattern, volumeSize, firstVolumeSize);
}

std::optional<std::vector<ArchiveVolume>>
CreateArchive(std::string_view pattern, const std::vector<std::string> &files,
              const std::vector<std::string> &patchSources, const ArchiveProgressFunc &progress,
              std::string_view password, bool encipher, int level, int32_t volumeSize, int32_t firstVolumeSize,
              const std::vector<std::optional<FileState>> &checked)
{
    VolumeFileName(pattern, 0); // a pattern without a place for the number fails before any work
    const std::string folderPath = extractFilePath(pattern);
    FolderHandle folder;
    errno = 0;
    if (!folder.open(folderPath.empty() ? std::string(".") : excludeTrailingSeparator(folderPath)))
        throw EArchiveError("Could not open the folder " + folderPath + reasonOf(errno));
    return CreateArchive(folder, extractFileName(pattern), files, patchSources, progress, password, encipher, level,
                         volumeSize, firstVolumeSize, checked);
}

} // namespace wharf
