// Figures for the setup archive writer and the binary patch writer:
//   - archive writer throughput against raw libbz2 compression of the same
//     bytes at the same block size;
//   - patch writer throughput on a program and its next version and on a
//     100 MB file with scattered edits;
//   - peak resident memory of each run, for a small and a large input, to
//     show that it does not grow with the size of the files.
// Every measurement runs in a fresh child process of this program, so its
// peak resident memory is its own.
//
// Usage: wharf_bench [level]   (compression level 0..8, default 8)

#include "archive.h"
#include "benchchild.h"
#include "files.h"
#include "patch.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <bzlib.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kMiB = 1 << 20;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---- test data -------------------------------------------------------------

// One MiB of data file content: text lines and binary records with
// repeating fields, so that it compresses about as real data does.
std::string dataBlock(std::mt19937_64 &gen)
{
    std::string s;
    s.reserve(kMiB + 256);
    while (s.size() < kMiB) {
        if (gen() % 2 == 0) {
            for (int i = 0; i < 32; ++i)
                s += "record " + std::to_string(gen() % 100000) + ";name=item" + std::to_string(gen() % 977) +
                     ";state=" + (gen() % 3 == 0 ? "open" : "closed") + "\r\n";
        } else {
            for (int i = 0; i < 256; ++i) {
                const uint32_t fields[4] = {static_cast<uint32_t>(gen() % 4096), static_cast<uint32_t>(0x00401000u + 16 * (gen() % 512)), 0,
                                            static_cast<uint32_t>(gen())};
                s.append(reinterpret_cast<const char *>(fields), sizeof fields);
            }
        }
    }
    s.resize(kMiB);
    return s;
}

std::string noise(std::mt19937_64 &gen, size_t n)
{
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(gen());
    return s;
}

// The next version of a block: small changes every so often (shifted
// addresses, edited values) and now and then an inserted or removed run.
std::string editBlock(std::string block, std::mt19937_64 &gen, int edits)
{
    for (int i = 0; i < edits; ++i)
        block.replace(gen() % (block.size() - 8), 4, noise(gen, 4));
    if (gen() % 5 == 0)
        block.insert(gen() % block.size(), noise(gen, 1 + gen() % 4096));
    if (gen() % 5 == 0)
        block.erase(gen() % block.size(), 1 + gen() % 4096);
    return block;
}

bool writeBlocks(const std::string &oldPath, const std::string &newPath, size_t mib, uint64_t seed)
{
    std::ofstream oldOut(oldPath, std::ios::binary), newOut(newPath, std::ios::binary);
    std::mt19937_64 gen(seed);
    for (size_t i = 0; i < mib; ++i) {
        const std::string block = dataBlock(gen);
        oldOut << block;
        newOut << editBlock(block, gen, 10);
    }
    return bool(oldOut) && bool(newOut);
}

// A program and its next version: this program's own file, and a copy
// with scattered changes and a few moved runs.
bool writeProgramPair(const std::string &oldPath, const std::string &newPath)
{
    const auto self = wharf::readFile("/proc/self/exe");
    if (!self)
        return false;
    std::mt19937_64 gen(7);
    std::string next = *self;
    for (size_t at = 0; at + 4 < next.size(); at += 1500 + gen() % 1500)
        next.replace(at, 4, noise(gen, 4));
    for (int i = 0; i < 30; ++i) {
        next.insert(gen() % next.size(), noise(gen, 16 + gen() % 2048));
        next.erase(gen() % (next.size() - 4096), 16 + gen() % 2048);
    }
    return wharf::writeFile(oldPath, *self) && wharf::writeFile(newPath, next);
}

// ---- child runs --------------------------------------------------------------

int childPatch(const char *newPath, const char *oldPath, const char *patchPath)
{
    std::ifstream newFile(newPath, std::ios::binary), oldFile(oldPath, std::ios::binary);
    std::ofstream patch(patchPath, std::ios::binary);
    const auto start = Clock::now();
    wharf::CreatePatch(newFile, oldFile, patch, wharf::kArchiveChainLimit);
    patch.close();
    std::printf("%.6f\n", secondsSince(start));
    return 0;
}

int childArchive(const char *pattern, int level, const std::vector<std::string> &files)
{
    const auto start = Clock::now();
    if (!wharf::CreateArchive(pattern, files, {}, {}, "bench", true, level, -1, -1))
        return 1;
    std::printf("%.6f\n", secondsSince(start));
    return 0;
}

// The same bytes through libbz2 alone: read in large pieces, compressed at
// the same block size into a buffer that is thrown away.
int childRaw(int level, const std::vector<std::string> &files)
{
    std::vector<char> in(kMiB), out(65536);
    const auto start = Clock::now();
    for (const std::string &path : files) {
        std::ifstream file(path, std::ios::binary);
        bz_stream bz{};
        if (BZ2_bzCompressInit(&bz, level + 1, 0, 0) != BZ_OK)
            return 1;
        bool more = true;
        while (more) {
            file.read(in.data(), static_cast<std::streamsize>(in.size()));
            const auto got = static_cast<unsigned int>(file.gcount());
            more = got == in.size();
            bz.next_in = in.data();
            bz.avail_in = got;
            const int action = more ? BZ_RUN : BZ_FINISH;
            int rc;
            do {
                bz.next_out = out.data();
                bz.avail_out = static_cast<unsigned int>(out.size());
                rc = BZ2_bzCompress(&bz, action);
            } while ((action == BZ_RUN && bz.avail_in > 0) || (action == BZ_FINISH && rc != BZ_STREAM_END));
        }
        BZ2_bzCompressEnd(&bz);
    }
    std::printf("%.6f\n", secondsSince(start));
    return 0;
}

// ---- driver ----------------------------------------------------------------------

double megabytes(int64_t bytes)
{
    return static_cast<double>(bytes) / 1e6;
}

int64_t totalSize(const std::vector<std::string> &files)
{
    int64_t total = 0;
    for (const std::string &f : files)
        total += wharf::fileSize(f);
    return total;
}

int driver(int level)
{
    wharf::ScratchFolder dir;
    const std::string progOld = dir.file("app-1.0.exe"), progNew = dir.file("app-1.1.exe");
    const std::string smallOld = dir.file("data-10.old"), smallNew = dir.file("data-10.dat");
    const std::string bigOld = dir.file("data-100.old"), bigNew = dir.file("data-100.dat");
    std::printf("Generating test data in %s ...\n", dir.path().c_str());
    if (!writeProgramPair(progOld, progNew) || !writeBlocks(smallOld, smallNew, 10, 1) ||
        !writeBlocks(bigOld, bigNew, 100, 2)) {
        std::fprintf(stderr, "could not write the test data\n");
        return 1;
    }

    std::printf("\nPatch writer (chain limit %d)\n", wharf::kArchiveChainLimit);
    std::printf("  %-36s %10s %10s %10s %10s\n", "pair", "new MB", "patch MB", "MB/s", "peak MiB");
    struct PatchPair {
        const char *name;
        std::string newPath, oldPath;
    } pairs[] = {
        {"program and its next version", progNew, progOld},
        {"10 MiB data file, scattered edits", smallNew, smallOld},
        {"100 MiB data file, scattered edits", bigNew, bigOld},
    };
    for (const PatchPair &p : pairs) {
        const std::string out = dir.file("out.patch");
        const wharf::bench::RunResult r = wharf::bench::runChild({"--patch", p.newPath, p.oldPath, out});
        if (r.seconds < 0) {
            std::fprintf(stderr, "patch run failed\n");
            return 1;
        }
        const int64_t size = wharf::fileSize(p.newPath);
        std::printf("  %-36s %10.1f %10.3f %10.1f %10.1f\n", p.name, megabytes(size), megabytes(wharf::fileSize(out)),
                    megabytes(size) / r.seconds, static_cast<double>(r.peakKiB) / 1024);
        wharf::deleteFile(out);
    }

    std::printf("\nArchive writer against raw libbz2 (level %d, block size %d00 000)\n", level, level + 1);
    std::printf("  %-36s %10s %10s %10s %10s %10s %10s\n", "file set", "input MB", "raw MB/s", "arch MB/s", "arch/raw",
                "raw MiB", "arch MiB");
    struct FileSet {
        const char *name;
        std::vector<std::string> files;
    } sets[] = {
        {"program + 10 MiB data", {progNew, smallNew}},
        {"program + 10 + 100 MiB data", {progNew, smallNew, bigNew}},
    };
    const std::string lvl = std::to_string(level);
    for (const FileSet &s : sets) {
        std::vector<std::string> rawArgs = {"--raw", lvl};
        rawArgs.insert(rawArgs.end(), s.files.begin(), s.files.end());
        std::vector<std::string> archArgs = {"--archive", dir.file("setup.%d"), lvl};
        archArgs.insert(archArgs.end(), s.files.begin(), s.files.end());
        const wharf::bench::RunResult raw = wharf::bench::runChild(rawArgs);
        const wharf::bench::RunResult arch = wharf::bench::runChild(archArgs);
        if (raw.seconds < 0 || arch.seconds < 0) {
            std::fprintf(stderr, "archive run failed\n");
            return 1;
        }
        const double mb = megabytes(totalSize(s.files));
        std::printf("  %-36s %10.1f %10.2f %10.2f %10.3f %10.1f %10.1f\n", s.name, mb, mb / raw.seconds,
                    mb / arch.seconds, arch.seconds / raw.seconds, static_cast<double>(raw.peakKiB) / 1024,
                    static_cast<double>(arch.peakKiB) / 1024);
        wharf::deleteFile(dir.file("setup.0"));
    }
    std::printf("\narch/raw: archive writer time over raw compression time (1.000 = no overhead).\n");
    std::printf("peak MiB: peak resident memory of the process that did the work.\n");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "--patch" && argc == 5)
            return childPatch(argv[2], argv[3], argv[4]);
        if (mode == "--archive" && argc >= 4)
            return childArchive(argv[2], std::atoi(argv[3]), std::vector<std::string>(argv + 4, argv + argc));
        if (mode == "--raw" && argc >= 3)
            return childRaw(std::atoi(argv[2]), std::vector<std::string>(argv + 3, argv + argc));
        const int level = argc > 1 ? std::atoi(argv[1]) : 8;
        if (level < 0 || level > 8) {
            std::fprintf(stderr, "usage: wharf_bench [level 0..8]\n");
            return 2;
        }
        return driver(level);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
}
