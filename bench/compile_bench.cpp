// End-to-end figures for the setup compiler: a compile through CompileFile
// of a generated payload of mixed files (compressible text, random data,
// real executables and libraries of this machine) against plain
// "bzip2 -9" of the same files, which is the floor of this format on one
// core, and the compile's peak resident memory.
//
// Usage: compile_bench [megabytes]   (payload size, default 220)
//        compile_bench --files [N ...]  (N small files each, default
//                                        1000 10000 100000: the cost per
//                                        entry as the number of entries grows)
//        compile_bench --entries N      (one compile of N file entries over
//                                        100 tiny files, level 0: the
//                                        entry handling without the bulk
//                                        of the compression)

#include "benchchild.h"
#include "files.h"
#include "paths.h"
#include "wharfforge.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int64_t kMB = 1000 * 1000;

int g_errors = 0;

bool countErrors(const char *text, uint16_t kind, uint16_t)
{
    if (kind == 1) {
        ++g_errors;
        std::fprintf(stderr, "%s\n", text);
    }
    return true;
}

std::string textFile(std::mt19937_64 &gen, size_t size)
{
    static const char *words[] = {"install", "folder", "version", "setup", "registry", "value", "file",
                                  "shortcut", "program", "update", "system", "error", "done", "copy"};
    std::string s;
    s.reserve(size + 128);
    while (s.size() < size) {
        s += "2026-12-10 10:" + std::to_string(gen() % 60) + ":" + std::to_string(gen() % 60) + " ";
        for (int i = 0; i < 8; ++i) {
            s += words[gen() % 14];
            s += ' ';
        }
        s += std::to_string(gen() % 100000) + "\r\n";
    }
    s.resize(size);
    return s;
}

std::string randomFile(std::mt19937_64 &gen, size_t size)
{
    std::string s(size, '\0');
    for (size_t i = 0; i + 8 <= size; i += 8) {
        const uint64_t v = gen();
        std::copy_n(reinterpret_cast<const char *>(&v), 8, s.begin() + static_cast<ptrdiff_t>(i));
    }
    return s;
}

// Real machine code: the shared libraries and programs of this machine.
std::vector<std::string> executables(int64_t budget)
{
    std::vector<std::string> found;
    for (const char *folder : {"/usr/lib/x86_64-linux-gnu", "/usr/bin"}) {
        for (const wharf::FolderEntry &e : wharf::listFolder(folder)) {
            if (budget <= 0)
                return found;
            const std::string path = std::string(folder) + "/" + e.name;
            const int64_t size = e.isFolder || e.isLink ? -1 : wharf::fileSize(path);
            if (size < 500000 || size > 20 * kMB)
                continue;
            found.push_back(path);
            budget -= size;
        }
    }
    return found;
}

int childCompile(const char *library, const char *project, const char *appDir)
{
    void *lib = ::dlopen(library, RTLD_NOW);
    if (!lib) {
        std::fprintf(stderr, "%s\n", ::dlerror());
        return 1;
    }
    auto compile = reinterpret_cast<decltype(&CompileFile)>(::dlsym(lib, "CompileFile"));
    const auto start = std::chrono::steady_clock::now();
    compile(project, appDir, countErrors, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (g_errors > 0)
        return 1;
    std::printf("%.6f\n", seconds);
    return 0;
}

// The project text of a disk set of the given files, as the editor writes it.
std::string projectOf(const std::vector<std::string> &files, const std::string &workDir, const std::string &out,
                      const std::string &app)
{
    std::string project = "[Temporary]\r\nWorkDir=" + workDir + "/\r\nOutputDir=" + out +
                          "\r\nOutputType=0\r\nMaxDiskSize=681574400\r\nClusterSize=2048\r\nCompressionLevel=8\r\n\r\n"
                          "[General]\r\nDestDir={pro}\\Bench\r\nProgMenuFolder=Bench\r\n\r\n"
                          "[LanguageFiles]\r\n0=\"" + app + "/setup.bin\"\r\n\r\n[InstTypes]\r\n0=\"Typical\"\r\n\r\n";
    std::string sources = "[SourceFiles]\r\n", dests = "[DestFiles]\r\n";
    for (size_t i = 0; i < files.size(); ++i) {
        sources += std::to_string(i) + "=\"" + files[i] + "\"\r\n";
        dests += std::to_string(i) + "=\"{app}\"\r\n";
    }
    return project + sources + "\r\n" + dests + "\r\n";
}

// Makes the program folder (with the stubs a compile needs) and the payload
// folder of one run; false, with a message, when a stub is missing.
bool prepareFolders(const std::string &app, const std::string &payload, const std::string &programDir)
{
    wharf::createFolder(app);
    wharf::createFolder(payload);
    for (const char *stub : {"setup.bin", "setupldr.bin", "selfext.bin", "regserv.bin"})
        if (!wharf::copyFile(programDir + "/" + stub, app + "/" + stub)) {
            std::fprintf(stderr, "stub %s not found in %s\n", stub, programDir.c_str());
            return false;
        }
    return true;
}

int driver(int64_t megabytes, const std::string &programDir)
{
    wharf::ScratchFolder dir;
    const std::string app = dir.file("app"), payload = dir.file("payload");
    if (!prepareFolders(app, payload, programDir))
        return 1;

    std::printf("Generating a payload of about %lld MB in %s ...\n", static_cast<long long>(megabytes),
                dir.path().c_str());
    std::mt19937_64 gen(42);
    std::vector<std::string> files;
    const int64_t total = megabytes * kMB;
    int64_t text = 0, noise = 0, code = 0;
    for (int i = 0; text < total * 2 / 5; ++i) {
        const size_t size = (1 + gen() % 8) * kMB;
        files.push_back(payload + "/log" + std::to_string(i) + ".txt");
        wharf::writeFile(files.back(), textFile(gen, size));
        text += static_cast<int64_t>(size);
    }
    for (int i = 0; noise < total / 5; ++i) {
        const size_t size = (1 + gen() % 10) * kMB;
        files.push_back(payload + "/data" + std::to_string(i) + ".bin");
        wharf::writeFile(files.back(), randomFile(gen, size));
        noise += static_cast<int64_t>(size);
    }
    for (const std::string &exe : executables(total * 2 / 5)) {
        files.push_back(exe);
        code += wharf::fileSize(exe);
    }

    std::string project = projectOf(files, payload, dir.file("out"), app);
    const std::string projectFile = dir.file("bench.wfp");
    wharf::writeFile(projectFile, project);

    const int64_t bytes = text + noise + code;
    std::printf("  %zu files: %.1f MB text, %.1f MB random, %.1f MB executables, %.1f MB in all\n", files.size(),
                text / 1e6, noise / 1e6, code / 1e6, bytes / 1e6);

    std::printf("Compiling through CompileFile ...\n");
    const auto compile = wharf::bench::runChild({"--compile", programDir + "/libwharfforge.so", projectFile, app});
    std::printf("Compressing the same files with bzip2 -9 ...\n");
    std::vector<std::string> bzipArgs = {"-9", "-c"};
    bzipArgs.insert(bzipArgs.end(), files.begin(), files.end());
    const auto bzip = wharf::bench::runChild(bzipArgs, "bzip2", true);
    if (compile.seconds < 0 || bzip.seconds < 0) {
        std::fprintf(stderr, "a run failed (compile %.2f s, bzip2 %.2f s)\n", compile.seconds, bzip.seconds);
        return 1;
    }
    std::printf("\n  %-28s %10s %10s %10s\n", "", "seconds", "MB/s", "peak MiB");
    std::printf("  %-28s %10.2f %10.2f %10.1f\n", "compile (CompileFile)", compile.seconds, bytes / 1e6 / compile.seconds,
                compile.peakKiB / 1024.0);
    std::printf("  %-28s %10.2f %10.2f %10.1f\n", "bzip2 -9 of the same files", bzip.seconds, bytes / 1e6 / bzip.seconds,
                bzip.peakKiB / 1024.0);
    std::printf("  compile / bzip2 time ratio: %.3f\n", compile.seconds / bzip.seconds);
    return 0;
}

// N small text files (200 bytes to 4 kB), a thousand to a folder.
std::vector<std::string> smallFiles(const std::string &payload, size_t count)
{
    std::mt19937_64 gen(count);
    std::vector<std::string> files;
    files.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string folder = payload + "/d" + std::to_string(i / 1000);
        if (i % 1000 == 0)
            wharf::createFolder(folder);
        files.push_back(folder + "/f" + std::to_string(i) + ".txt");
        wharf::writeFile(files.back(), textFile(gen, 200 + gen() % 3800));
    }
    return files;
}

int fileCountDriver(const std::vector<size_t> &counts, const std::string &programDir)
{
    struct Row {
        size_t files;
        wharf::bench::RunResult compile, bzip;
    };
    std::vector<Row> rows;
    for (const size_t count : counts) {
        wharf::ScratchFolder dir;
        const std::string app = dir.file("app"), payload = dir.file("payload");
        if (!prepareFolders(app, payload, programDir))
            return 1;
        std::printf("%zu files: generating ...\n", count);
        std::fflush(stdout);
        const std::vector<std::string> files = smallFiles(payload, count);
        const std::string projectFile = dir.file("bench.wfp");
        wharf::writeFile(projectFile, projectOf(files, payload, dir.file("out"), app));
        std::string list;
        for (const std::string &f : files)
            list += f + '\0';
        const std::string listFile = dir.file("files.lst");
        wharf::writeFile(listFile, list);

        std::printf("%zu files: compiling ...\n", count);
        std::fflush(stdout);
        Row row{count, wharf::bench::runChild({"--compile", programDir + "/libwharfforge.so", projectFile, app}), {}};
        std::printf("%zu files: bzip2 -9 ...\n", count);
        std::fflush(stdout);
        row.bzip = wharf::bench::runChild({"-0", "-a", listFile, "bzip2", "-9", "-c"}, "xargs", true);
        if (row.compile.seconds < 0 || row.bzip.seconds < 0) {
            std::fprintf(stderr, "a run failed (compile %.2f s, bzip2 %.2f s)\n", row.compile.seconds,
                         row.bzip.seconds);
            return 1;
        }
        rows.push_back(row);
    }
    std::printf("\n  %9s %11s %14s %10s %11s %9s %11s\n", "files", "compile s", "s per 1 000", "peak MiB",
                "bzip2 -9 s", "ratio", "per-entry x");
    for (const Row &r : rows) {
        const double perThousand = r.compile.seconds / static_cast<double>(r.files) * 1000;
        const double first = rows.front().compile.seconds / static_cast<double>(rows.front().files) * 1000;
        std::printf("  %9zu %11.2f %14.3f %10.1f %11.2f %9.2f %11.2f\n", r.files, r.compile.seconds, perThousand,
                    r.compile.peakKiB / 1024.0, r.bzip.seconds, r.compile.seconds / r.bzip.seconds,
                    perThousand / first);
    }
    std::printf("\n  targets: per-entry x at the largest count <= 1.5; ratio <= 1.5\n");
    return 0;
}

int entryCountDriver(size_t count, const std::string &programDir)
{
    wharf::ScratchFolder dir;
    const std::string app = dir.file("app"), payload = dir.file("payload");
    if (!prepareFolders(app, payload, programDir))
        return 1;
    std::vector<std::string> files;
    files.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string name = payload + "/t" + std::to_string(i % 100) + ".txt";
        if (i < 100)
            wharf::writeFile(name, "entry " + std::to_string(i) + "\r\n");
        files.push_back(name);
    }
    std::string project = projectOf(files, payload, dir.file("out"), app);
    const std::string level = "CompressionLevel=8";
    project.replace(project.find(level), level.size(), "CompressionLevel=0");
    const std::string projectFile = dir.file("bench.wfp");
    wharf::writeFile(projectFile, project);
    std::printf("%zu entries: compiling ...\n", count);
    std::fflush(stdout);
    const auto run = wharf::bench::runChild({"--compile", programDir + "/libwharfforge.so", projectFile, app});
    if (run.seconds < 0) {
        std::fprintf(stderr, "the compile failed\n");
        return 1;
    }
    std::printf("  %zu entries: %.2f s, %.3f s per 1 000, peak %.1f MiB\n", count, run.seconds,
                run.seconds / static_cast<double>(count) * 1000, run.peakKiB / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::string(argv[1]) == "--compile")
        return childCompile(argv[2], argv[3], argv[4]);
    if (argc > 1 && std::string(argv[1]) == "--files") {
        std::vector<size_t> counts;
        for (int i = 2; i < argc; ++i)
            counts.push_back(static_cast<size_t>(std::atoll(argv[i])));
        if (counts.empty())
            counts = {1000, 10000, 100000};
        if (std::find(counts.begin(), counts.end(), size_t{0}) != counts.end()) {
            std::fprintf(stderr, "usage: compile_bench --files [N ...]\n");
            return 2;
        }
        return fileCountDriver(counts, WHARF_PROGRAM_DIR);
    }
    if (argc == 3 && std::string(argv[1]) == "--entries" && std::atoll(argv[2]) > 0)
        return entryCountDriver(static_cast<size_t>(std::atoll(argv[2])), WHARF_PROGRAM_DIR);
    const int64_t megabytes = argc > 1 ? std::atoll(argv[1]) : 220;
    if (megabytes < 1) {
        std::fprintf(stderr, "usage: compile_bench [megabytes]\n");
        return 2;
    }
    return driver(megabytes, WHARF_PROGRAM_DIR);
}
