#include "archive.h"

#include "archivereader.h"
#include "codec.h"
#include "encdec.h"
#include "files.h"
#include "paths.h"
#include "testdata.h"
#include "versioninfo.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace wharf;
using namespace wharf::testing;

namespace {

struct Call {
    int kind;
    int value;
    std::string fileName;
};

void appendText(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::app | std::ios::binary) << text;
}

// Gives the file another last-write time, its size as it was.
void touchLater(const std::string &path)
{
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    const struct timespec times[2] = {st.st_atim, {st.st_mtim.tv_sec + 5, st.st_mtim.tv_nsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::string expectedName(const std::string &path)
{
    return toWindows1252(extractFileName(path)).substr(0, 64);
}

// Reads the archive back and compares every entry with its source file.
ArchiveContents checkArchive(const std::string &pattern, const std::string &password,
                             const std::vector<std::string> &files, const std::vector<std::string> &patchSources = {})
{
    ArchiveContents a = ReadArchive(pattern, password);
    EXPECT_EQ(a.entries.size(), files.size());
    for (size_t i = 0; i < files.size() && i < a.entries.size(); ++i) {
        SCOPED_TRACE(files[i]);
        const ArchiveEntry &e = a.entries[i];
        const std::string content = readFile(files[i]).value_or("missing");
        const bool patched = !patchSources.empty() && !patchSources[i].empty();
        EXPECT_EQ(e.patched, patched);
        const std::string old = patched ? readFile(patchSources[i]).value_or("missing") : std::string();
        EXPECT_TRUE(ExtractFile(e, old) == content) << "the file read back differs";
        if (!patched) {
            EXPECT_EQ(e.storedSize, content.size());
        }
        EXPECT_EQ(e.name, expectedName(files[i]));
        EXPECT_EQ(e.attributes, fileAttributes(files[i]));
        EXPECT_EQ(e.dosDateTime, fileDosDateTime(files[i]));
        const std::string version = TVersionInfo(files[i]).FileVersionValue();
        if (fitsWindows1252(version)) {
            EXPECT_EQ(e.version, toWindows1252(version).substr(0, 16));
        }
    }
    return a;
}

class ArchiveTest : public ::testing::Test {
protected:
    std::string put(const std::string &name, const std::string &content)
    {
        const std::string path = m_dir.file(name);
        EXPECT_TRUE(writeFile(path, content));
        return path;
    }
    std::string pattern() const { return m_dir.file("setup.%d"); }
    bool volumeExists(int k) const { return fileExists(VolumePath(pattern(), k)); }
    void removeVolumes()
    {
        for (int k = 0; volumeExists(k); ++k)
            ASSERT_TRUE(deleteFile(VolumePath(pattern(), k)));
    }

    ScratchFolder m_dir;
};

} // namespace

TEST_F(ArchiveTest, RoundTripsPlainAndPatchedFiles)
{
    const std::string program = randomBytes(1'200'000, 1);
    const std::string oldProgram = put("old-app.exe", program);
    const std::string oldText = put("old-readme.txt", textBytes(300'000, 2));
    const std::vector<std::string> files = {
        put("readme.txt", editedCopy(*readFile(oldText), 30, 40, 3)),
        put("app.exe", editedCopy(program, 20, 200, 4)),
        put("empty.dat", ""),
        put("abc", "abc"),
        put("noise.bin", randomBytes(150'000, 5)),
        put("locked.ini", "[a]\r\nb=1\r\n"),
    };
    ASSERT_EQ(::chmod(files[5].c_str(), 0444), 0);
    const std::vector<std::string> patches = {oldText, oldProgram, oldText, "", "", ""};
    struct Case {
        const char *name;
        bool encipher;
        const char *password;
        int level;
        int32_t volumeSize, firstVolumeSize;
        bool patched;
        size_t volumes;
    } cases[] = {
        {"unsplit, level 0, no password", false, "", 0, -1, -1, false, 1},
        {"enciphered, level 8, patched", true, "s3cret", 8, -1, -1, true, 1},
        {"split and enciphered", true, "k", 5, 100'000, 40'000, true, 0},
        {"split with a patch, not enciphered", false, "digest only", 3, 150'000, 150'000, true, 0},
        {"only a volume size", false, "", 1, 65'536, -1, false, 1},
        {"only a first-volume size", false, "", 1, -1, 5'000, false, 1},
        {"first volume larger than the archive", true, "k", 1, 1000, 0x7fffffff, false, 1},
        {"negative first-volume size", true, "k", 1, 500'000, -100, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> sources = c.patched ? patches : std::vector<std::string>{};
        const auto volumes = CreateArchive(pattern(), files, sources, {}, c.password, c.encipher, c.level,
                                           c.volumeSize, c.firstVolumeSize);
        ASSERT_TRUE(volumes);
        const ArchiveContents a = checkArchive(pattern(), c.password, files, sources);
        // The writer tells what it wrote: the layout is never probed.
        ASSERT_EQ(volumes->size(), a.volumeSizes.size());
        for (size_t k = 0; k < volumes->size(); ++k) {
            EXPECT_EQ((*volumes)[k].name, "setup." + std::to_string(k));
            EXPECT_EQ((*volumes)[k].size, a.volumeSizes[k]);
        }
        EXPECT_EQ(a.enciphered, c.encipher);
        EXPECT_EQ(a.volumeSize, c.volumeSize);
        EXPECT_EQ(a.firstVolumeSize, c.firstVolumeSize);
        if (c.volumes > 0) {
            EXPECT_EQ(a.volumeSizes.size(), c.volumes);
        } else {
            EXPECT_GT(a.volumeSizes.size(), 1u);
        }
        if (c.firstVolumeSize < -1) {
            EXPECT_EQ(a.volumeSizes[0], 0);
        }
        // Each stream is a bzip2 stream with the block size of level + 1.
        const std::string joined = [&] {
            std::string all;
            for (size_t k = 0; k < a.volumeSizes.size(); ++k)
                all += *readFile(VolumePath(pattern(), static_cast<int>(k)));
            return all;
        }();
        for (const ArchiveEntry &e : a.entries)
            EXPECT_EQ(joined.substr(e.start, 4), std::string("BZh") + static_cast<char>('1' + c.level));
        removeVolumes();
    }
}

TEST_F(ArchiveTest, PatchedEntriesStoreThePatch)
{
    const std::string same = randomBytes(3'000'000, 7);
    const std::string oldFile = put("v1.dll", same);
    const std::string newFile = put("v2.dll", same);
    ASSERT_TRUE(CreateArchive(pattern(), {newFile}, {oldFile}, {}, "", false, 8, -1, -1));
    const ArchiveContents a = checkArchive(pattern(), "", {newFile}, {oldFile});
    ASSERT_EQ(a.entries.size(), 1u);
    EXPECT_TRUE(a.entries[0].patched);
    // Copy commands only: the patch is a small share of the file.
    EXPECT_LT(a.entries[0].storedSize, 2'000u);
    EXPECT_EQ(a.entries[0].name, "v2.dll");

    // A package stored inside a support archive reads back from the entry.
    const std::string support = m_dir.file("setup%d.lib");
    ASSERT_TRUE(CreateArchive(support, {VolumePath(pattern(), 0)}, {}, {}, "support", true, 1, -1, -1));
    const ArchiveContents outer = ReadArchive(support, "support");
    ASSERT_EQ(outer.entries.size(), 1u);
    EXPECT_EQ(outer.entries[0].name, "setup.0");
    const ArchiveContents inner = ReadArchiveData(outer.entries[0].data, "");
    ASSERT_EQ(inner.entries.size(), 1u);
    EXPECT_TRUE(ExtractFile(inner.entries[0], same) == same);
}

TEST_F(ArchiveTest, EmptyListGivesTheHeaderAlone)
{
    const PasswordDigest digest = DigestString("pw");
    std::string header = std::string("\x01", 1) + std::string(4, '\0');
    header += std::string("\x0A\0\0\0", 4) + std::string("\x14\0\0\0", 4);
    header.append(reinterpret_cast<const char *>(digest.data()), digest.size());

    ASSERT_TRUE(CreateArchive(pattern(), {}, {}, {}, "pw", true, 0, -1, -1));
    EXPECT_EQ(readFile(VolumePath(pattern(), 0)).value_or("").size(), 33u);
    EXPECT_FALSE(volumeExists(1));

    ASSERT_TRUE(CreateArchive(pattern(), {}, {}, {}, "pw", true, 0, 10, 20));
    const std::string joined = *readFile(VolumePath(pattern(), 0)) + *readFile(VolumePath(pattern(), 1)) +
                               *readFile(VolumePath(pattern(), 2));
    EXPECT_EQ(joined, header);
    EXPECT_EQ(ReadArchive(pattern(), "pw").volumeSizes, (std::vector<int64_t>{20, 10, 3}));
    EXPECT_FALSE(volumeExists(3));
}

TEST(ArchiveVolumeTest, VolumesAndVolumeNumbers)
{
    struct SizesCase {
        int64_t archive;
        int32_t volumeSize, firstVolumeSize;
        std::vector<int64_t> sizes;
    } sizeCases[] = {
        {3'000'000, 1'457'664, 100'000, {100'000, 1'457'664, 1'442'336}},
        {33, -1, -1, {33}},
        {33, 10, 20, {20, 10, 3}},
        {100, 10, 200, {100}},
        {100, 10, 100, {100}},
        {100, 30, -7, {0, 30, 30, 30, 10}},
        {100, -1, 50, {100}},
        {100, 40, -1, {100}},
    };
    for (const SizesCase &c : sizeCases)
        EXPECT_EQ(VolumeSizes(c.archive, c.volumeSize, c.firstVolumeSize), c.sizes) << c.archive << " " << c.firstVolumeSize;

    struct NumberCase {
        int64_t start;
        int32_t volumeSize, firstVolumeSize;
        int64_t volume;
    } numberCases[] = {
        {100'000, 1'457'664, 100'000, 0},  // exactly at the first-volume size
        {100'001, 1'457'664, 100'000, 1},
        {1'557'663, 1'457'664, 100'000, 1},
        {1'557'664, 1'457'664, 100'000, 2},  // the first byte of volume 2
        {5'000'000, 1'457'664, -1, 0},
        {5'000'000, -1, 100'000, 0},
        {40, 10, -5, 5},
    };
    for (const NumberCase &c : numberCases)
        EXPECT_EQ(VolumeNumber(c.start, c.volumeSize, c.firstVolumeSize), c.volume) << c.start;

    EXPECT_EQ(VolumeFileName("C:\\out\\setup%d.lib", 0), "C:\\out\\setup0.lib");
    EXPECT_EQ(VolumeFileName("\\setup.%d", 12), "\\setup.12");
    EXPECT_EQ(VolumeFileName("/out/100%done/setup.%d", 3), "/out/100%done/setup.3");
    EXPECT_EQ(VolumeFileName("/out/a%d/setup.%d", 3), "/out/a%d/setup.3");
    EXPECT_THROW(VolumeFileName("/out/setup.lib", 0), EArchiveError);
}

TEST_F(ArchiveTest, StreamAtTheFirstVolumeSizeIsNumberedZero)
{
    const std::vector<std::string> files = {put("a.txt", textBytes(20'000, 1)), put("b.bin", randomBytes(5'000, 2)),
                                            put("c.bin", randomBytes(5'000, 3))};
    ASSERT_TRUE(CreateArchive(pattern(), files, {}, {}, "", false, 2, -1, -1));
    const uint32_t second = ReadArchive(pattern(), "").entries[1].start;
    removeVolumes();

    struct Case {
        int32_t firstVolumeSize;
        int volumeOfSecond;
    } cases[] = {{static_cast<int32_t>(second), 0}, {static_cast<int32_t>(second) - 1, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.firstVolumeSize);
        ASSERT_TRUE(CreateArchive(pattern(), files, {}, {}, "", false, 2, 3'000, c.firstVolumeSize));
        const ArchiveContents a = checkArchive(pattern(), "", files);
        EXPECT_EQ(a.entries[1].start, second);
        EXPECT_EQ(a.entries[1].volume, c.volumeOfSecond);
        EXPECT_EQ(a.entries[2].volume, (a.entries[2].start - c.firstVolumeSize) / 3'000 + 1);
        removeVolumes();
    }
}

TEST_F(ArchiveTest, EntriesCarryTheVersionText)
{
    const std::string beta = *readFile(std::string(WHARF_FIXTURE_DIR) + "/ver-beta.exe");
    // The same program with a version text that Windows-1252 can't hold:
    // "2.0 beta" becomes "2.0 " and three CJK characters and "x".
    std::string foreign = beta;
    const std::string from = toUtf16Le("2.0 beta");
    const std::string to = toUtf16Le("2.0 \u65E5\u672C\u8A9Ex");
    ASSERT_EQ(from.size(), to.size());
    for (size_t at = foreign.find(from); at != std::string::npos; at = foreign.find(from, at))
        foreign.replace(at, from.size(), to);
    const std::vector<std::string> files = {put("beta.exe", beta), put("foreign.exe", foreign),
                                            put("fixed.exe", *readFile(std::string(WHARF_FIXTURE_DIR) + "/ver-fixed.exe")),
                                            put("plain.txt", "no version")};
    ASSERT_TRUE(CreateArchive(pattern(), files, {}, {}, "", false, 0, -1, -1));
    const ArchiveContents a = checkArchive(pattern(), "", files);
    std::vector<std::string> versions;
    for (const ArchiveEntry &e : a.entries)
        versions.push_back(e.version);
    EXPECT_EQ(versions, (std::vector<std::string>{"2.0 beta", "2.0 ???x", "1.2.3.4", ""}));
}

TEST_F(ArchiveTest, NamesAreCutAndMustFitWindows1252)
{
    const std::string longName(70, 'n');
    const std::vector<std::string> files = {put(longName + ".txt", "long"), put("caf\xC3\xA9.txt", "accent")};
    ASSERT_TRUE(CreateArchive(pattern(), files, {}, {}, "", false, 0, -1, -1));
    const ArchiveContents a = checkArchive(pattern(), "", files);
    EXPECT_EQ(a.entries[0].name, longName.substr(0, 64));
    EXPECT_EQ(a.entries[1].name, "caf\xE9.txt");
    ASSERT_TRUE(deleteFile(VolumePath(pattern(), 0)));

    const std::string foreign = put("\xE6\x97\xA5\xE6\x9C\xAC.txt", "nihon");
    try {
        CreateArchive(pattern(), {files[0], foreign}, {}, {}, "", false, 0, -1, -1);
        FAIL() << "no exception";
    } catch (const EArchiveError &e) {
        EXPECT_NE(std::string(e.what()).find(foreign), std::string::npos) << e.what();
    }
    EXPECT_FALSE(volumeExists(0));
}

TEST_F(ArchiveTest, ScratchFilesStayInAPrivateFolder)
{
    // Scratch folders are made under TMPDIR; point it at a folder of the test.
    const std::string tmp = m_dir.file("tmp");
    ASSERT_TRUE(createFolder(tmp));
    const char *saved = std::getenv("TMPDIR");
    const std::string savedValue = saved ? saved : "";
    ::setenv("TMPDIR", tmp.c_str(), 1);

    const std::vector<std::string> files = {put("new.bin", randomBytes(50'000, 1))};
    const std::vector<std::string> patches = {put("old.bin", randomBytes(50'000, 1))};
    // An empty password can't key the cipher: nothing is made at all.
    EXPECT_THROW(CreateArchive(pattern(), files, {}, {}, "", true, 0, -1, -1), EBlowfishError);
    EXPECT_TRUE(listFolder(tmp).empty());

    std::vector<std::string> seen;
    mode_t mode = 0;
    const auto progress = [&](int kind, int, const std::string &) {
        if (kind == 1) {
            const std::vector<FolderEntry> folders = listFolder(tmp);
            EXPECT_EQ(folders.size(), 1u);
            if (folders.size() == 1) {
                struct stat st {};
                ::stat((tmp + "/" + folders[0].name).c_str(), &st);
                mode = st.st_mode & 0777;
                for (const FolderEntry &e : listFolder(tmp + "/" + folders[0].name))
                    seen.push_back(e.name);
            }
        }
        return true;
    };
    const bool done = CreateArchive(pattern(), files, patches, progress, "pw", true, 0, -1, -1).has_value();
    if (saved)
        ::setenv("TMPDIR", savedValue.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    ASSERT_TRUE(done);
    EXPECT_EQ(mode, 0700u);
    EXPECT_EQ(seen, (std::vector<std::string>{"bzarc.tmp", "bzout.tmp", "patch.tmp"}));
    EXPECT_TRUE(listFolder(tmp).empty()); // removed when the archive is done
    checkArchive(pattern(), "pw", files, patches);
}

TEST_F(ArchiveTest, ProgressReportsAndStops)
{
    const std::string oldFile = put("old.bin", randomBytes(600'000, 1));
    const std::vector<std::string> files = {put("new.bin", editedCopy(*readFile(oldFile), 200, 300, 2)),
                                            put("empty.txt", ""), put("text.txt", textBytes(400'000, 3))};
    const std::vector<std::string> patches = {oldFile, "", ""};
    std::vector<Call> calls;
    ASSERT_TRUE(CreateArchive(pattern(), files, patches,
                              [&](int kind, int value, const std::string &name) {
                                  calls.push_back({kind, value, name});
                                  return true;
                              },
                              "", false, 1, -1, -1));
    checkArchive(pattern(), "", files, patches);

    // Per file: kind 0 with its path, kind 2 rising to 100, kind 1 with the
    // share of files done.
    std::vector<std::vector<int>> percents;
    std::vector<int> shares;
    std::vector<std::string> names;
    for (const Call &c : calls) {
        if (c.kind == 0) {
            names.push_back(c.fileName);
            percents.emplace_back();
        } else {
            EXPECT_EQ(c.fileName, "");
            ASSERT_FALSE(percents.empty());
            (c.kind == 1 ? shares : percents.back()).push_back(c.value);
        }
    }
    EXPECT_EQ(names, files);
    EXPECT_EQ(shares, (std::vector<int>{33, 67, 100}));
    ASSERT_EQ(percents.size(), 3u);
    for (const std::vector<int> &p : percents) {
        ASSERT_FALSE(p.empty());
        // Repeats come only as the stop check of a file that takes long.
        EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
        EXPECT_EQ(p.back(), 100);
    }
    // The patched file: the scan up to 75, then its compression.
    EXPECT_TRUE(std::any_of(percents[0].begin(), percents[0].end(), [](int v) { return v > 0 && v < 75; }));
    EXPECT_TRUE(std::any_of(percents[0].begin(), percents[0].end(), [](int v) { return v > 75 && v < 100; }));
    EXPECT_EQ(percents[1], (std::vector<int>{100}));

    // Shares round halves to even.
    std::vector<std::string> eight;
    for (int i = 0; i < 8; ++i)
        eight.push_back(put("f" + std::to_string(i), "x"));
    shares.clear();
    ASSERT_TRUE(CreateArchive(pattern(), eight, {}, [&](int kind, int value, const std::string &) {
        if (kind == 1)
            shares.push_back(value);
        return true;
    }, "", false, 0, -1, -1));
    EXPECT_EQ(shares, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    ASSERT_TRUE(deleteFile(VolumePath(pattern(), 0)));

    // A false answer of any kind stops at once, without volumes: kind 2
    // inside a file too (the first answer of the large text file, or of
    // the patch's scan), so that a large file does not hold a stop up.
    struct Stop {
        int kind;
        int atCall;
        bool patched;
    } stops[] = {{0, 1, false}, {0, 3, false}, {1, 3, false}, {2, 1, false}, {2, 3, false}, {2, 1, true}};
    for (const Stop &s : stops) {
        SCOPED_TRACE(std::to_string(s.kind) + " " + std::to_string(s.atCall) + (s.patched ? " patched" : ""));
        int seen = 0;
        int filesStarted = 0;
        int callsAfterStop = 0;
        bool stopped = false;
        const std::vector<std::string> order = {files[2], files[1], files[0]};
        const auto done = CreateArchive(pattern(), s.patched ? files : order, s.patched ? patches : std::vector<std::string>{},
                                        [&](int kind, int, const std::string &) {
                                            callsAfterStop += stopped;
                                            filesStarted += kind == 0;
                                            stopped = kind == s.kind && ++seen == s.atCall;
                                            return !stopped;
                                        },
                                        "", false, 0, -1, -1);
        EXPECT_FALSE(done);
        EXPECT_FALSE(volumeExists(0));
        EXPECT_EQ(callsAfterStop, 0);
        if (s.kind == 0) {
            EXPECT_EQ(filesStarted, s.atCall);
        } else if (s.kind == 2) {
            EXPECT_EQ(filesStarted, 1); // within the first file
        }
        removeVolumes();
    }
}

TEST_F(ArchiveTest, ValuesBeyondTheirFieldsRaise)
{
    const std::vector<std::string> files = {put("a", "a"), put("b", "b"), put("c", "c")};
    // The first stream starts at 345: with 1-byte volumes that is volume 345.
    try {
        CreateArchive(pattern(), files, {}, {}, "", false, 0, 1, 1);
        FAIL() << "no exception";
    } catch (const EArchiveError &e) {
        EXPECT_NE(std::string(e.what()).find("256 volumes"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(volumeExists(0));
    // Volume 255 is still held: one entry, its stream at 137, and a first
    // volume of -117 give (137 + 117) / 1 + 1.
    ASSERT_TRUE(CreateArchive(pattern(), {files[0]}, {}, {}, "", false, 0, 1, -117));
    EXPECT_EQ(ReadArchive(pattern(), "").entries[0].volume, 255);
    removeVolumes();
    // Every stream begins in volume 0, but the data runs on past volume
    // 255: refused before a volume is written, naming the count.
    const std::string noise = put("noise.bin", randomBytes(3'000, 4));
    try {
        CreateArchive(pattern(), {noise}, {}, {}, "", false, 0, 8, 137);
        FAIL() << "no exception";
    } catch (const EArchiveError &e) {
        EXPECT_NE(std::string(e.what()).find("at most 256"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(volumeExists(0));

    // A sparse file one byte beyond what the size field holds.
    const std::string huge = m_dir.file("huge.bin");
    const int fd = ::open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{0x80000000}), 0);
    ::close(fd);
    try {
        CreateArchive(m_dir.file("big.%d"), {files[0], huge}, {}, {}, "", false, 0, -1, -1);
        FAIL() << "no exception";
    } catch (const EArchiveError &e) {
        EXPECT_NE(std::string(e.what()).find(huge), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fileExists(m_dir.file("big.0")));
}

TEST_F(ArchiveTest, AFileThatChangesBeforeItIsStoredWhollyRaises)
{
    // What the compile noted of each file when it checked it is what the
    // installation settings say; the archive must hold exactly that.
    const std::string text = textBytes(300'000, 5);
    const std::string old = put("old.txt", editedCopy(text, 10, 20, 6));
    struct Case {
        const char *name;
        std::function<void(const std::string &)> change; // at the file's first percentage
        bool patched;
        bool raises;
    } cases[] = {
        {"unchanged", [](const std::string &) {}, false, false},
        {"grows while it is read", [](const std::string &f) { appendText(f, "more"); }, false, true},
        {"rewritten with the same size", [](const std::string &f) { touchLater(f); }, false, true},
        {"a patched file that grows", [](const std::string &f) { appendText(f, "more"); }, true, true},
        {"unchanged and patched", [](const std::string &) {}, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = put("app.txt", text);
        const auto checked = FileStateOf(file);
        ASSERT_TRUE(checked);
        bool changed = false;
        const auto progress = [&](int kind, int, const std::string &) {
            if (kind == 2 && !changed) {
                changed = true;
                c.change(file);
            }
            return true;
        };
        try {
            const auto volumes = CreateArchive(pattern(), {file}, c.patched ? std::vector<std::string>{old}
                                                                           : std::vector<std::string>{},
                                               progress, "", false, 1, -1, -1, {checked});
            EXPECT_FALSE(c.raises);
            EXPECT_TRUE(volumes);
        } catch (const EArchiveError &e) {
            EXPECT_TRUE(c.raises) << e.what();
            EXPECT_EQ(std::string(e.what()), "File " + file + " changed while it was compiled!");
        }
        EXPECT_EQ(volumeExists(0), !c.raises);
        removeVolumes();
    }
    // A file that changed between the check and its turn.
    const std::string file = put("late.txt", "as checked");
    const auto checked = FileStateOf(file);
    put("late.txt", "changed since");
    EXPECT_THROW(CreateArchive(pattern(), {file}, {}, {}, "", false, 1, -1, -1, {checked}), EArchiveError);
    EXPECT_FALSE(volumeExists(0));
}

TEST_F(ArchiveTest, BadArgumentsAndMissingFilesRaise)
{
    const std::string a = put("a.txt", "a");
    const std::string missing = m_dir.file("missing.txt");
    struct Case {
        const char *name;
        std::string pattern;
        std::vector<std::string> files, patches;
        int level;
        int32_t volumeSize, firstVolumeSize;
        const char *mentions;
    } cases[] = {
        {"level 9", pattern(), {a}, {}, 9, -1, -1, "level"},
        {"level -1", pattern(), {a}, {}, -1, -1, -1, "level"},
        {"first volume of 0 bytes", pattern(), {a}, {}, 0, 1000, 0, "size 0"},
        {"volume size 0", pattern(), {a}, {}, 0, 0, 100, "volume size"},
        {"patch list of another length", pattern(), {a}, {"", ""}, 0, -1, -1, "patch"},
        {"pattern without a number", m_dir.file("setup.lib"), {a}, {}, 0, -1, -1, "%d"},
        {"missing file", pattern(), {a, missing}, {}, 0, -1, -1, "missing.txt"},
        {"missing older version", pattern(), {a}, {missing}, 0, -1, -1, "missing.txt"},
        {"a folder", pattern(), {m_dir.path()}, {}, 0, -1, -1, m_dir.path().c_str()},
        {"no volume folder", m_dir.file("none/setup.%d"), {a}, {}, 0, -1, -1, "none/"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            CreateArchive(c.pattern, c.files, c.patches, {}, "", false, c.level, c.volumeSize, c.firstVolumeSize);
            ADD_FAILURE() << "no exception";
        } catch (const EArchiveError &e) {
            EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << e.what();
        }
        EXPECT_FALSE(volumeExists(0));
    }
}

TEST(CopyStreamPartTest, CopiesInPieces)
{
    const std::string data = randomBytes(25'000, 9);
    struct Case {
        std::streamoff from;
        int64_t count;
        std::string expected;
    } cases[] = {
        {100, 0, data},                       // 0: everything, from the start
        {3, 5, data.substr(3, 5)},
        {3, -1, ""},
        {0, 20'480, data.substr(0, 20'480)},  // two whole pieces
        {24'000, 5'000, data.substr(24'000)}, // the source ends first
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        std::istringstream source(data);
        source.seekg(c.from);
        std::ostringstream target;
        EXPECT_EQ(CopyStreamPart(source, target, c.count), static_cast<int64_t>(c.expected.size()));
        EXPECT_TRUE(target.str() == c.expected);
    }
}
