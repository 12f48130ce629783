#include "resedit.h"

#include "files.h"
#include "paths.h"
#include "peimage.h"
#include "testtools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace wharf;
using namespace wharf::testing;

namespace {

// Stubs live in the program folder, the other executables with the fixtures.
std::string inputPath(const std::string &name)
{
    return name.ends_with(".bin") ? programPath(name) : fixturePath(name);
}

std::span<const uint8_t> bytesOf(const std::string &s)
{
    return {reinterpret_cast<const uint8_t *>(s.data()), s.size()};
}

std::vector<uint16_t> groupIconIds(const std::string &file)
{
    std::vector<uint16_t> ids;
    const PeImage image(bytesOf(file));
    const auto tree = image.resourceTree();
    const ResourceNode *group = tree ? PeImage::findResource(*tree, kResTypeIconGroup, "MAINICON") : nullptr;
    const auto data = group ? image.resourceData(*group) : std::nullopt;
    if (!data)
        return ids;
    for (uint16_t i = 0; i < readLe16(data->data() + 4); ++i)
        ids.push_back(readLe16(data->data() + 6 + 14 * i + 12));
    return ids;
}

const PeSection *sectionNamed(const PeImage &image, const std::string &name)
{
    for (const PeSection &s : image.sections())
        if (s.name == name)
            return &s;
    return nullptr;
}

uint64_t alignUp(uint64_t v, uint64_t a) { return (v + a - 1) / a * a; }

// Checks the headers of an updated image against themselves and against
// the image it was made from: layout, sizes, directories, debug entries,
// and every section but the resources carried over byte for byte.
void expectConsistentUpdate(const std::string &before, const std::string &after)
{
    const PeImage old(bytesOf(before));
    const PeImage img(bytesOf(after));
    ASSERT_TRUE(img.valid());
    const uint32_t sa = img.sectionAlignment();
    const uint32_t fa = img.fileAlignment();
    const auto &secs = img.sections();
    ASSERT_EQ(secs.size(), old.sections().size());
    uint64_t lastRawEnd = img.sizeOfHeaders();
    for (std::size_t i = 0; i < secs.size(); ++i) {
        const PeSection &s = secs[i];
        const uint64_t extent = s.virtualSize ? s.virtualSize : s.rawSize;
        EXPECT_EQ(s.virtualAddress % sa, 0u) << s.name;
        if (i + 1 < secs.size()) {
            EXPECT_LE(s.virtualAddress + alignUp(extent, sa), secs[i + 1].virtualAddress) << s.name;
        } else {
            EXPECT_EQ(img.sizeOfImage(), alignUp(s.virtualAddress + extent, sa));
        }
        if (s.rawSize != 0) {
            EXPECT_EQ(s.rawPointer % fa, 0u) << s.name;
            EXPECT_EQ(s.rawSize % fa, 0u) << s.name;
            EXPECT_GE(s.rawPointer, lastRawEnd) << s.name;
            EXPECT_LE(uint64_t{s.rawPointer} + s.rawSize, after.size()) << s.name;
            lastRawEnd = uint64_t{s.rawPointer} + s.rawSize;
        }
        const PeSection &o = old.sections()[i];
        if (s.name != ".rsrc" && s.rawSize != 0) {
            // Equal bytes, apart from the moved pointers of the debug entries.
            std::string now = after.substr(s.rawPointer, s.rawSize);
            const std::string was = before.substr(o.rawPointer, o.rawSize);
            const PeDataDirectory debug = old.dataDirectory(kDirDebug);
            if (old.sectionAt(debug.virtualAddress) == &o) {
                const uint32_t first = debug.virtualAddress - o.virtualAddress;
                for (uint32_t e = first; e + kDebugEntrySize <= first + debug.size; e += kDebugEntrySize)
                    now.replace(e + 20, 8, was.substr(e + 20, 8));
            }
            EXPECT_TRUE(now == was) << s.name << " changed";
        }
    }
    // Whatever followed the last section (an appended archive) is kept.
    EXPECT_EQ(after.substr(lastRawEnd), before.substr(before.size() - (after.size() - lastRawEnd)));

    const PeSection *rsrc = sectionNamed(img, ".rsrc");
    const PeSection *oldRsrc = sectionNamed(old, ".rsrc");
    ASSERT_TRUE(rsrc && oldRsrc);
    EXPECT_EQ(img.dataDirectory(kDirResource).virtualAddress, rsrc->virtualAddress);
    EXPECT_EQ(img.dataDirectory(kDirResource).size, rsrc->virtualSize);
    const int64_t rawDelta = int64_t{rsrc->rawSize} - oldRsrc->rawSize;
    EXPECT_EQ(static_cast<int64_t>(after.size()) - static_cast<int64_t>(before.size()), rawDelta);
    // Sections behind the resources move by the aligned differences.
    const int64_t virtualDelta = static_cast<int64_t>(alignUp(rsrc->virtualSize, sa)) -
                                 static_cast<int64_t>(alignUp(old.dataDirectory(kDirResource).size, sa));
    EXPECT_EQ(int64_t{img.sizeOfImage()} - old.sizeOfImage(), virtualDelta);
    for (std::size_t i = 0; i < secs.size(); ++i) {
        const PeSection &s = secs[i];
        const PeSection &o = old.sections()[i];
        if (o.virtualAddress <= oldRsrc->virtualAddress)
            continue;
        EXPECT_EQ(int64_t{s.virtualAddress} - o.virtualAddress, virtualDelta) << s.name;
        if (o.rawPointer != 0) {
            EXPECT_EQ(int64_t{s.rawPointer} - o.rawPointer, rawDelta) << s.name;
        }
    }
    const uint32_t optional = img.optionalHeaderOffset() + PeImage::kOffInitializedDataSize;
    EXPECT_EQ(int64_t{readLe32(bytesOf(after).data() + optional)} - readLe32(bytesOf(before).data() + optional),
              rawDelta);
    for (std::size_t d = 0; d < img.dataDirectoryCount(); ++d) {
        const PeDataDirectory dir = img.dataDirectory(d);
        if (d == kDirSecurity || dir.virtualAddress == 0)
            continue;
        const PeSection *s = img.sectionAt(dir.virtualAddress);
        ASSERT_NE(s, nullptr) << "directory " << d;
        EXPECT_EQ(s->name, old.sectionAt(old.dataDirectory(d).virtualAddress)->name) << "directory " << d;
        EXPECT_EQ(dir.virtualAddress - s->virtualAddress,
                  old.dataDirectory(d).virtualAddress - old.sectionAt(old.dataDirectory(d).virtualAddress)->virtualAddress);
    }
    // The debug entries still point at their data, by address and by file
    // offset, as the cross toolchain's own reader sees them.
    const PeDataDirectory debug = img.dataDirectory(kDirDebug);
    ASSERT_NE(debug.virtualAddress, 0u);
    const auto entries = img.bytesAt(debug.virtualAddress, debug.size);
    ASSERT_TRUE(entries);
    for (uint32_t i = 0; i + kDebugEntrySize <= debug.size; i += kDebugEntrySize) {
        const uint32_t rva = readLe32(entries->data() + i + 20);
        const uint32_t raw = readLe32(entries->data() + i + 24);
        EXPECT_EQ(img.rvaToOffset(rva, 4), std::optional<uint32_t>(raw));
        EXPECT_EQ(after.substr(std::min<std::size_t>(raw, after.size()), 4), "RSDS");
    }
}

// objdump of the cross toolchain reads the updated headers and finds the
// CodeView entry of the debug directory where its data is.
void expectObjdumpReadsDebugData(const std::string &path, const std::string &contents)
{
    const PeImage image(bytesOf(contents));
    const std::string tool = image.is64() ? "x86_64-w64-mingw32-objdump" : "i686-w64-mingw32-objdump";
    int code = 0;
    const std::string out = runTool(tool + " -p '" + path + "'", &code);
    ASSERT_EQ(code, 0) << out;
    // "  2        CodeView 00000019 0000b01c 0000381c": size, address, offset.
    const std::size_t at = out.find("CodeView");
    ASSERT_NE(at, std::string::npos) << out;
    unsigned long size = 0, rva = 0, offset = 0;
    ASSERT_EQ(std::sscanf(out.c_str() + at, "CodeView %lx %lx %lx", &size, &rva, &offset), 3) << out;
    EXPECT_EQ(contents.substr(std::min<std::size_t>(offset, contents.size()), 4), "RSDS");
}

class ResEditTest : public ::testing::Test {
protected:
    ScratchFolder dir;

    std::string copyOf(const std::string &name)
    {
        const std::string target = dir.file("setup.exe");
        EXPECT_TRUE(copyFile(inputPath(name), target)) << name;
        return target;
    }
};

} // namespace

TEST_F(ResEditTest, IconGroupReplacedAndCheckedByWrestool)
{
    struct Case {
        const char *stub;
        const char *ico;
        std::vector<uint16_t> ids;
        int growth; // sign of the change in file size
    };
    const std::vector<Case> cases = {
        // 2 old icons, 4 new ones: the old ids, then the lowest free ids.
        // The resource section grows past its raw size.
        {"setup.bin", "four.ico", {1, 2, 3, 4}, 1},
        {"pe64.exe", "four.ico", {1, 2, 3, 4}, 1},
        // 1 new icon: the section shrinks and the unused old icon goes.
        {"setupldr.bin", "one.ico", {1}, -1},
        // No old icon group: ids from 50.
        {"noicon.exe", "four.ico", {50, 51, 52, 53}, 1},
        {"selfext.bin", "mainicon.ico", {1, 2}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.stub) + " + " + c.ico);
        const std::string path = copyOf(c.stub);
        const std::string before = slurp(path);
        const std::string ico = slurp(fixturePath(c.ico));
        const auto otherBefore = wrestoolExtract(path, "--raw -t16", dir.file("version-before"));

        auto update = BeginResourceUpdate(path, false);
        ASSERT_TRUE(update);
        ASSERT_TRUE(LoadIconGroupFromFile(*update, "MAINICON", 0, fixturePath(c.ico)));
        ASSERT_TRUE(EndResourceUpdate(std::move(update), false));

        const std::string after = slurp(path);
        EXPECT_EQ((after.size() > before.size()) - (after.size() < before.size()), c.growth);
        EXPECT_EQ(groupIconIds(after), c.ids);
        const auto listed = wrestoolList(path);
        std::vector<std::string> icons;
        for (const std::string &item : listed)
            if (item.starts_with("3/"))
                icons.push_back(item.substr(2, item.find('/', 2) - 2));
        std::vector<std::string> expectedIcons;
        for (uint16_t id : c.ids)
            expectedIcons.push_back(std::to_string(id));
        std::sort(expectedIcons.begin(), expectedIcons.end());
        EXPECT_EQ(icons, expectedIcons);

        // wrestool puts the group back together as an icon file: the same
        // images as the one given.
        const std::string extracted = wrestoolExtract(path, "-t14 -n MAINICON", dir.file("extracted.ico"));
        EXPECT_EQ(iconImages(extracted), iconImages(ico));
        EXPECT_EQ(wrestoolExtract(path, "--raw -t16", dir.file("version-after")), otherBefore);

        expectConsistentUpdate(before, after);
        expectObjdumpReadsDebugData(path, after);
    }
}

TEST_F(ResEditTest, NewIconsTakeTheLowestFreeIds)
{
    const std::string path = copyOf("noicon.exe");
    auto update = BeginResourceUpdate(path, false);
    ASSERT_TRUE(update);
    const std::string taken = "not an image, only an id in use";
    ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeIcon, 51, 0, taken.data(), static_cast<uint32_t>(taken.size())));
    ASSERT_TRUE(LoadIconGroupFromFile(*update, "MAINICON", 0, fixturePath("four.ico")));
    ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
    EXPECT_EQ(groupIconIds(slurp(path)), (std::vector<uint16_t>{50, 52, 53, 54}));
}

TEST_F(ResEditTest, LoaderSizeAddedOrReplaced)
{
    struct Case {
        const char *stub;
        const char *listed; // as wrestool lists it afterwards
    };
    const std::vector<Case> cases = {
        // A new type directory, name directory and leaf.
        {"selfext-noloader.exe", "10/'LOADER_SIZE'/0/4"},
        // The existing leaf keeps its directory id and gets the new bytes.
        {"selfext.bin", "10/'LOADER_SIZE'/1033/4"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stub);
        const std::string path = copyOf(c.stub);
        const std::string before = slurp(path);
        auto update = BeginResourceUpdate(path, false);
        ASSERT_TRUE(update);
        const uint8_t size[4] = {0x78, 0x56, 0x34, 0x12};
        ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeRcData, "LOADER_SIZE", 0, size, 4));
        ASSERT_TRUE(EndResourceUpdate(std::move(update), false));

        const auto listed = wrestoolList(path);
        EXPECT_NE(std::find(listed.begin(), listed.end(), c.listed), listed.end()) << ::testing::PrintToString(listed);
        EXPECT_EQ(std::count_if(listed.begin(), listed.end(), [](const std::string &s) { return s.starts_with("10/"); }), 1);
        EXPECT_EQ(wrestoolExtract(path, "--raw -t10 -n LOADER_SIZE", dir.file("loader")), "\x78\x56\x34\x12");
        expectConsistentUpdate(before, slurp(path));
    }
}

TEST_F(ResEditTest, UnchangedTreeWritesTheSameResources)
{
    const std::string path = copyOf("selfext.bin");
    const std::string before = slurp(path);
    const auto listedBefore = wrestoolList(path);
    const auto iconsBefore = wrestoolExtract(path, "-t14 -n MAINICON", dir.file("before.ico"));
    auto update = BeginResourceUpdate(path, false);
    ASSERT_TRUE(update);
    ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
    EXPECT_EQ(wrestoolList(path), listedBefore);
    EXPECT_EQ(wrestoolExtract(path, "-t14 -n MAINICON", dir.file("after.ico")), iconsBefore);
    expectConsistentUpdate(before, slurp(path));

    // Discarding leaves the file as it was.
    const std::string now = slurp(path);
    update = BeginResourceUpdate(path, false);
    ASSERT_TRUE(update);
    ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeRcData, "LOADER_SIZE", 0, nullptr, 0));
    ASSERT_TRUE(EndResourceUpdate(std::move(update), true));
    EXPECT_EQ(slurp(path), now);
}

TEST_F(ResEditTest, DeletionRules)
{
    struct Step {
        ResourceId type;
        ResourceId name;
        uint16_t language;
        const char *data = nullptr; // added before the deletions that follow
    };
    struct Case {
        const char *what;
        std::vector<Step> steps;
        std::vector<std::string> gone;  // type/name/ prefixes that must be absent
        std::vector<std::string> kept;
    };
    const std::vector<Case> cases = {
        {"one leaf, and the directories it leaves empty",
         {{kResTypeRcData, "LOADER_SIZE", 0}}, {"10/"}, {"14/", "3/1/", "16/"}},
        {"no such name, name and language 0: the whole type",
         {{kResTypeIcon, 0, 0}}, {"3/"}, {"14/", "10/"}},
        {"the leaf of language 0", {{kResTypeIcon, 2, 0}}, {"3/2/"}, {"3/1/"}},
        {"no leaf of language 0: every language of the name",
         {{kResTypeRcData, "EXTRA", 7, "seven"}, {kResTypeRcData, "EXTRA", 9, "nine"},
          {kResTypeRcData, "EXTRA", 0}},
         {"10/'EXTRA'/"}, {"10/'LOADER_SIZE'/"}},
        {"no leaf of another language: nothing",
         {{kResTypeIconGroup, "MAINICON", 7}, {kResTypeIcon, 9, 0}, {kResTypeVersion, 0, 5}},
         {}, {"14/", "3/1/", "3/2/", "16/", "10/"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = copyOf("selfext.bin");
        auto update = BeginResourceUpdate(path, false);
        ASSERT_TRUE(update);
        for (const Step &s : c.steps)
            ASSERT_TRUE(UpdateResourceEntry(*update, s.type, s.name, s.language, s.data,
                                            s.data ? static_cast<uint32_t>(std::strlen(s.data)) : 0));
        ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
        const auto listed = wrestoolList(path);
        const auto has = [&](const std::string &prefix) {
            return std::any_of(listed.begin(), listed.end(), [&](const std::string &s) { return s.starts_with(prefix); });
        };
        for (const std::string &p : c.gone)
            EXPECT_FALSE(has(p)) << p;
        for (const std::string &p : c.kept)
            EXPECT_TRUE(has(p)) << p;
    }
}

TEST_F(ResEditTest, DeleteExistingStartsFromAnEmptyTree)
{
    const std::string path = copyOf("setup.bin");
    const std::string before = slurp(path);
    auto update = BeginResourceUpdate(path, true);
    ASSERT_TRUE(update);
    EXPECT_FALSE(GetResourceEntry(*update, kResTypeIconGroup, "MAINICON", 0));
    const uint32_t size = 1234;
    ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeRcData, "LOADER_SIZE", 0, &size, 4));
    ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
    EXPECT_EQ(wrestoolList(path), std::vector<std::string>{"10/'LOADER_SIZE'/0/4"});
    expectConsistentUpdate(before, slurp(path));
}

TEST_F(ResEditTest, FileWithoutResourceSection)
{
    const std::string path = copyOf("nores.exe");
    const std::string before = slurp(path);
    int error = 0;
    EXPECT_FALSE(BeginResourceUpdate(path, false, &error));
    EXPECT_EQ(error, kErrorFileNotFound);
    EXPECT_EQ(slurp(path), before);
}

TEST_F(ResEditTest, DamagedOrForeignFilesAreRefused)
{
    const std::string stub = slurp(programPath("setup.bin"));
    const PeImage image(bytesOf(stub));
    const uint32_t root = image.rvaToOffset(image.dataDirectory(kDirResource).virtualAddress, 16).value();
    struct Case {
        const char *what;
        std::string contents;
        int error;
    };
    std::string loop = stub;
    writeLe32(reinterpret_cast<uint8_t *>(loop.data()) + root + 16 + 4, 0x80000000u);
    std::string overlapping = stub;
    {
        // The relocations claim to start inside the resource data.
        const PeSection *rsrc = sectionNamed(image, ".rsrc");
        const PeSection *reloc = sectionNamed(image, ".reloc");
        writeLe32(reinterpret_cast<uint8_t *>(overlapping.data()) + reloc->headerOffset + 20, rsrc->rawPointer);
    }
    std::string badAlignment = stub;
    writeLe32(reinterpret_cast<uint8_t *>(badAlignment.data()) + image.optionalHeaderOffset() + 36, 0x300);
    const std::vector<Case> cases = {
        {"a resource tree with a loop", loop, kErrorBadExeFormat},
        {"sections that overlap", overlapping, kErrorBadExeFormat},
        {"a file alignment that is no power of two", badAlignment, kErrorBadExeFormat},
        {"cut inside the resource section", stub.substr(0, root + 40), kErrorBadExeFormat},
        {"not an executable", std::string(5000, 'x'), kErrorBadExeFormat},
        {"empty", std::string(), kErrorBadExeFormat},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("damaged.exe");
        ASSERT_TRUE(writeFile(path, c.contents));
        int error = 0;
        EXPECT_FALSE(BeginResourceUpdate(path, false, &error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(slurp(path), c.contents);
    }
    int error = 0;
    EXPECT_FALSE(BeginResourceUpdate(dir.file("missing.exe"), false, &error));
    EXPECT_EQ(error, kErrorFileNotFound);

    // A file already held by an update cannot be opened for another.
    const std::string path = copyOf("setup.bin");
    auto first = BeginResourceUpdate(path, false);
    ASSERT_TRUE(first);
    EXPECT_FALSE(BeginResourceUpdate(path, false, &error));
    EXPECT_EQ(error, kErrorSharingViolation);
}

TEST_F(ResEditTest, MalformedIconFilesChangeNothing)
{
    const std::string good = slurp(fixturePath("mainicon.ico"));
    const auto patched = [&](std::size_t offset, uint32_t value, int width) {
        std::string s = good;
        if (width == 2)
            writeLe16(reinterpret_cast<uint8_t *>(s.data()) + offset, static_cast<uint16_t>(value));
        else
            writeLe32(reinterpret_cast<uint8_t *>(s.data()) + offset, value);
        return s;
    };
    struct Case {
        const char *what;
        std::string contents;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"header only", good.substr(0, 6)},
        {"a cursor file", patched(2, 2, 2)},
        {"no images", patched(4, 0, 2)},
        {"more images than entries", patched(4, 200, 2)},
        {"image past the end", patched(6 + 12, static_cast<uint32_t>(good.size()) - 10, 4)},
        {"image size past the end", patched(6 + 8, 0xFFFFFFF0u, 4)},
        {"image of no bytes", patched(6 + 16 + 8, 0, 4)},
        {"cut inside the last image", good.substr(0, good.size() - 1)},
    };
    const std::string path = copyOf("setup.bin");
    auto update = BeginResourceUpdate(path, false);
    ASSERT_TRUE(update);
    const auto group = GetResourceEntry(*update, kResTypeIconGroup, "MAINICON", 0);
    ASSERT_TRUE(group);
    for (const Case &c : cases) {
        const std::string ico = dir.file("bad.ico");
        ASSERT_TRUE(writeFile(ico, c.contents));
        EXPECT_FALSE(LoadIconGroupFromFile(*update, "MAINICON", 0, ico)) << c.what;
        EXPECT_EQ(GetResourceEntry(*update, kResTypeIconGroup, "MAINICON", 0), group) << c.what;
    }
    EXPECT_FALSE(LoadIconGroupFromFile(*update, "MAINICON", 0, dir.file("missing.ico")));
    EXPECT_TRUE(GetResourceEntry(*update, kResTypeIcon, 2, 0));
}

// Large new data waits in a scratch file inside a private folder of this
// process, never under a predictable name in the shared temporary folder.
TEST_F(ResEditTest, ScratchFilesStayInAPrivateFolder)
{
    const std::string path = copyOf("setup.bin");
    ScratchFolder tmp;
    const char *old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    auto update = BeginResourceUpdate(path, false);
    ASSERT_TRUE(update);
    ASSERT_TRUE(LoadIconGroupFromFile(*update, "MAINICON", 0, fixturePath("four.ico")));
    const auto entries = listFolder(tmp.path());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].isFolder);
    struct stat st {};
    ASSERT_EQ(::stat(joinPath(tmp.path(), entries[0].name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_FALSE(listFolder(joinPath(tmp.path(), entries[0].name)).empty());
    ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
    EXPECT_TRUE(listFolder(tmp.path()).empty());
    if (old)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    EXPECT_EQ(iconImages(wrestoolExtract(path, "-t14 -n MAINICON", dir.file("x.ico"))),
              iconImages(slurp(fixturePath("four.ico"))));
}

// Pointers to file data behind the moved section follow it: the
// certificate table (a file offset) and an appended archive.
TEST_F(ResEditTest, FileOffsetsBehindTheSectionFollowTheMove)
{
    const std::string path = copyOf("setup.bin");
    std::string contents = slurp(path);
    const std::string certificate = "CERTIFICATE-DATA";
    const uint32_t at = static_cast<uint32_t>(contents.size());
    contents += certificate;
    {
        const PeImage image(bytesOf(contents));
        uint8_t *slot = reinterpret_cast<uint8_t *>(contents.data()) + *image.dataDirectoryOffset(kDirSecurity);
        writeLe32(slot, at);
        writeLe32(slot + 4, static_cast<uint32_t>(certificate.size()));
    }
    ASSERT_TRUE(writeFile(path, contents));
    auto update = BeginResourceUpdate(path, false);
    ASSERT_TRUE(update);
    ASSERT_TRUE(LoadIconGroupFromFile(*update, "MAINICON", 0, fixturePath("four.ico")));
    ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
    const std::string after = slurp(path);
    const PeDataDirectory moved = PeImage(bytesOf(after)).dataDirectory(kDirSecurity);
    EXPECT_EQ(moved.virtualAddress, after.size() - certificate.size());
    EXPECT_EQ(after.substr(moved.virtualAddress), certificate);
    expectConsistentUpdate(contents, after);
}

// A new leaf carries its language as its entry id too, so two languages
// of one name stay two distinct entries.
TEST_F(ResEditTest, NewLeavesKeepTheirLanguage)
{
    const std::string path = copyOf("selfext-noloader.exe");
    auto update = BeginResourceUpdate(path, false);
    ASSERT_TRUE(update);
    ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeRcData, "EXTRA", 1031, "de", 2));
    ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeRcData, "EXTRA", 1033, "en", 2));
    ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeRcData, "EXTRA", 1033, "us", 2));
    EXPECT_EQ(GetResourceEntry(*update, kResTypeRcData, "EXTRA", 1031), "de");
    EXPECT_EQ(GetResourceEntry(*update, kResTypeRcData, "EXTRA", 1033), "us");
    ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
    const auto listed = wrestoolList(path);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "10/'EXTRA'/1031/2"), 1);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "10/'EXTRA'/1033/2"), 1);
    EXPECT_EQ(wrestoolExtract(path, "--raw -t10 -n EXTRA -L1033", dir.file("en")), "us");
}

TEST_F(ResEditTest, AFileItCannotRebuildSoundlyIsRefusedOrReadsBack)
{
    // Found by a long fuzz run: an image the updater once accepted and then
    // wrote with resources that no reader could find again.
    const std::string input = slurp(WHARF_COMPILER_TEST_DATA "/resedit-unreadable-after-update.bin");
    ASSERT_FALSE(input.empty());
    const std::string path = dir.file("setup.exe");
    ASSERT_TRUE(writeFile(path, input));
    auto update = BeginResourceUpdate(path, false);
    if (!update) {
        EXPECT_EQ(slurp(path), input);
        return;
    }
    const uint8_t value[4] = {1, 2, 3, 4};
    ASSERT_TRUE(UpdateResourceEntry(*update, kResTypeRcData, "LOADER_SIZE", 0, value, 4));
    if (!EndResourceUpdate(std::move(update), false)) {
        EXPECT_EQ(slurp(path), input) << "a refused update leaves the file as it was";
        return;
    }
    const std::string result = slurp(path);
    const PeImage image(bytesOf(result));
    const auto tree = image.resourceTree();
    ASSERT_TRUE(tree);
    const ResourceNode *leaf = PeImage::findResource(*tree, kResTypeRcData, "LOADER_SIZE");
    ASSERT_NE(leaf, nullptr);
    const auto bytes = image.resourceData(*leaf);
    ASSERT_TRUE(bytes && bytes->size() == 4);
    EXPECT_EQ(std::memcmp(bytes->data(), value, 4), 0);
    int code = 0;
    const std::string listed = runTool("wrestool -l '" + path + "'", &code);
    EXPECT_EQ(code, 0) << listed;
    EXPECT_NE(listed.find("LOADER_SIZE"), std::string::npos) << listed;
}
