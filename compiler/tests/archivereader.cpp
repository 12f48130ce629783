#include "archivereader.h"

#include "encdec.h"
#include "patchapplier.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

#include <bzlib.h>

namespace wharf::testing {
namespace {

constexpr size_t kHeader = 33;
constexpr size_t kEntry = 104;

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error("archive: " + what);
}

bool readWhole(const std::string &path, std::string &out)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return true;
}

uint32_t u32(std::string_view b, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 4; i-- > 0;)
        v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return v;
}

int32_t i32(std::string_view b, size_t at)
{
    return static_cast<int32_t>(u32(b, at));
}

std::string decompress(std::string_view stream, size_t expected, size_t index)
{
    bz_stream bz{};
    if (BZ2_bzDecompressInit(&bz, 0, 0) != BZ_OK)
        fail("bzip2 set-up failed");
    std::string out(expected + 1, '\0'); // one spare byte shows an overlong stream
    bz.next_in = const_cast<char *>(stream.data());
    bz.avail_in = static_cast<unsigned int>(stream.size());
    bz.next_out = out.data();
    bz.avail_out = static_cast<unsigned int>(out.size());
    int rc = BZ_OK;
    for (;;) {
        const unsigned int inBefore = bz.avail_in;
        const unsigned int outBefore = bz.avail_out;
        rc = BZ2_bzDecompress(&bz);
        if (rc != BZ_OK || bz.avail_out == 0 || (bz.avail_in == inBefore && bz.avail_out == outBefore))
            break;
    }
    const size_t produced = out.size() - bz.avail_out;
    const unsigned int left = bz.avail_in;
    BZ2_bzDecompressEnd(&bz);
    const std::string at = " in stream " + std::to_string(index);
    if (rc != BZ_STREAM_END)
        fail("bzip2 stream does not end where its entry says (code " + std::to_string(rc) + ")" + at);
    if (left != 0)
        fail("bytes left behind the bzip2 stream" + at);
    if (produced != expected)
        fail("stored size " + std::to_string(expected) + " but " + std::to_string(produced) + " bytes" + at);
    out.resize(produced);
    return out;
}

// The volume that holds byte offset of the joined archive.
size_t volumeHolding(const std::vector<int64_t> &sizes, int64_t offset)
{
    int64_t begin = 0;
    for (size_t k = 0; k < sizes.size(); ++k) {
        if (offset < begin + sizes[k])
            return k;
        begin += sizes[k];
    }
    return sizes.size();
}

void checkVolumeSizes(const ArchiveContents &a, int64_t total)
{
    const auto &sizes = a.volumeSizes;
    const int32_t f = a.firstVolumeSize;
    const int32_t v = a.volumeSize;
    if (f == -1 || v == -1) {
        if (sizes.size() != 1)
            fail("an unsplit archive in " + std::to_string(sizes.size()) + " volumes");
        return;
    }
    const int64_t first = f < 0 ? 0 : std::min<int64_t>(f, total);
    if (sizes[0] != first)
        fail("volume 0 holds " + std::to_string(sizes[0]) + " bytes, not " + std::to_string(first));
    for (size_t k = 1; k < sizes.size(); ++k) {
        const bool last = k + 1 == sizes.size();
        if (sizes[k] == 0 || sizes[k] > v || (!last && sizes[k] != v))
            fail("volume " + std::to_string(k) + " holds " + std::to_string(sizes[k]) + " bytes");
    }
}

} // namespace

std::string VolumePath(const std::string &pattern, int k)
{
    const size_t at = pattern.rfind("%d");
    if (at == std::string::npos)
        fail("pattern without %d");
    return pattern.substr(0, at) + std::to_string(k) + pattern.substr(at + 2);
}

namespace {

ArchiveContents parse(std::string_view joined, std::vector<int64_t> volumeSizes, const std::string &password)
{
    ArchiveContents a;
    a.volumeSizes = std::move(volumeSizes);
    if (joined.size() < kHeader)
        fail("shorter than its header");
    const std::string_view b = joined;
    if (b[0] != 0 && b[0] != 1)
        fail("encipher flag " + std::to_string(static_cast<int>(b[0])));
    a.enciphered = b[0] == 1;
    const int32_t count = i32(b, 1);
    a.volumeSize = i32(b, 5);
    a.firstVolumeSize = i32(b, 9);
    std::copy(b.begin() + 13, b.begin() + 33, a.digest.begin());
    if (a.digest != DigestString(password))
        fail("the header's digest is not that of the password");
    checkVolumeSizes(a, static_cast<int64_t>(joined.size()));
    if (count < 0 || kHeader + kEntry * static_cast<size_t>(count) > joined.size())
        fail("entry count " + std::to_string(count) + " does not fit");

    std::string table(b.substr(kHeader, kEntry * static_cast<size_t>(count)));
    if (a.enciphered) {
        CipherContext context = CipherContext::forPassword(password);
        for (size_t i = 0; i < static_cast<size_t>(count); ++i)
            DecryptBuffer(context, reinterpret_cast<uint8_t *>(table.data() + i * kEntry), kEntry);
    }
    size_t expectedStart = kHeader + table.size();
    for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
        const std::string_view e = std::string_view(table).substr(i * kEntry, kEntry);
        ArchiveEntry entry;
        const auto nameLength = static_cast<uint8_t>(e[0]);
        const auto versionLength = static_cast<uint8_t>(e[77]);
        if (nameLength > 64 || versionLength > 16)
            fail("entry " + std::to_string(i) + " has a bad name or version length");
        entry.name = std::string(e.substr(1, nameLength));
        entry.attributes = i32(e, 65);
        entry.dosDateTime = i32(e, 69);
        entry.storedSize = u32(e, 73);
        entry.version = std::string(e.substr(78, versionLength));
        entry.start = u32(e, 94);
        entry.end = u32(e, 98);
        entry.volume = static_cast<uint8_t>(e[102]);
        if (e[103] != 0 && e[103] != 1)
            fail("entry " + std::to_string(i) + " has patch flag " + std::to_string(static_cast<int>(e[103])));
        entry.patched = e[103] == 1;
        if (entry.start != expectedStart || entry.end < entry.start || entry.end > joined.size())
            fail("stream " + std::to_string(i) + " is not where it belongs");
        expectedStart = entry.end;

        const int32_t f = a.firstVolumeSize;
        size_t expectedVolume = 0;
        if (f == -1 || a.volumeSize == -1 || f >= static_cast<int64_t>(entry.start))
            expectedVolume = 0;
        else if (f < -1)
            expectedVolume = static_cast<size_t>((entry.start - f) / a.volumeSize + 1);
        else
            expectedVolume = volumeHolding(a.volumeSizes, entry.start);
        if (entry.volume != expectedVolume)
            fail("stream " + std::to_string(i) + " is numbered volume " + std::to_string(entry.volume) +
                 " but begins in volume " + std::to_string(expectedVolume));
        entry.data = decompress(b.substr(entry.start, entry.end - entry.start), entry.storedSize, i);
        a.entries.push_back(std::move(entry));
    }
    if (expectedStart != joined.size())
        fail("bytes behind the last stream");
    return a;
}

} // namespace

ArchiveContents ReadArchive(const std::string &pattern, const std::string &password)
{
    std::vector<int64_t> sizes;
    std::string joined;
    for (int k = 0;; ++k) {
        std::string part;
        if (!readWhole(VolumePath(pattern, k), part))
            break;
        sizes.push_back(static_cast<int64_t>(part.size()));
        joined += part;
    }
    if (sizes.empty())
        fail("no volume 0 at " + VolumePath(pattern, 0));
    return parse(joined, std::move(sizes), password);
}

ArchiveContents ReadArchiveData(std::string_view data, const std::string &password)
{
    return parse(data, {static_cast<int64_t>(data.size())}, password);
}

std::string ExtractFile(const ArchiveEntry &entry, std::string_view oldData)
{
    return entry.patched ? ApplyPatch(oldData, entry.data) : entry.data;
}

} // namespace wharf::testing
