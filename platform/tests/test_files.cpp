#include "files.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace wharf;

class FilesTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string path(const std::string &name) const { return dir.file(name); }
};

TEST_F(FilesTest, ScratchFolderIsPrivateAndGoesAway)
{
    std::string kept;
    {
        ScratchFolder scratch;
        kept = scratch.path();
        struct stat st {};
        ASSERT_EQ(::stat(kept.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        ASSERT_TRUE(writeFile(scratch.file("x"), "data"));
    }
    EXPECT_FALSE(folderExists(kept));
}

TEST_F(FilesTest, RemoveTreeTakesListedNamesAsTheyAreAndFollowsNoLink)
{
    // A "\" in a name is an ordinary character here; a link's target stays.
    ASSERT_TRUE(writeFile(path("outside"), "keep"));
    const std::string tree = path("tree");
    ASSERT_EQ(::mkdir(tree.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((tree + "/sub\\dir").c_str(), 0700), 0);
    const int fd = ::open((tree + "/sub\\dir/back\\slash").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_EQ(::symlink(path("outside").c_str(), (tree + "/link").c_str()), 0);
    removeTree(tree);
    struct stat st {};
    EXPECT_NE(::lstat(tree.c_str(), &st), 0) << "the tree stayed";
    EXPECT_EQ(readFile(path("outside")), "keep");
}

TEST_F(FilesTest, AttributesSizeAndBackslashPaths)
{
    ASSERT_TRUE(writeFile(path("a.txt"), "hello"));
    EXPECT_EQ(fileAttributes(path("a.txt")), kAttrArchive);
    ::chmod(path("a.txt").c_str(), 0444);
    EXPECT_EQ(fileAttributes(path("a.txt")), kAttrArchive | kAttrReadOnly);
    EXPECT_EQ(fileAttributes(dir.path()), kAttrDirectory);
    EXPECT_EQ(fileAttributes(path("missing")), -1);
    EXPECT_EQ(fileSize(path("a.txt")), 5);
    EXPECT_EQ(fileSize(path("missing")), -1);
    // A path written with "\" reaches the same file.
    std::string windowsStyle = dir.path() + "\\a.txt";
    EXPECT_TRUE(fileExists(windowsStyle));
}

TEST_F(FilesTest, CopyReplacesAndKeepsTheTime)
{
    ASSERT_TRUE(writeFile(path("src"), std::string(200000, 'x')));
    ASSERT_TRUE(writeFile(path("dst"), "old"));
    ::chmod(path("dst").c_str(), 0444);
    const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("src").c_str(), times, 0), 0);
    ASSERT_TRUE(copyFile(path("src"), path("dst")));
    EXPECT_EQ(readFile(path("dst")), std::string(200000, 'x'));
    EXPECT_EQ(fileDosDateTime(path("dst")), fileDosDateTime(path("src")));
    EXPECT_FALSE(copyFile(path("missing"), path("dst2")));
    EXPECT_FALSE(fileExists(path("dst2")));
}

TEST_F(FilesTest, AppendFile)
{
    ASSERT_TRUE(writeFile(path("exe"), "MZ"));
    ASSERT_TRUE(writeFile(path("lib"), std::string(100000, 'a')));
    ASSERT_TRUE(appendFile(path("exe"), path("lib")));
    EXPECT_EQ(readFile(path("exe")), "MZ" + std::string(100000, 'a'));
    EXPECT_FALSE(appendFile(path("missing"), path("lib")));
    EXPECT_FALSE(appendFile(path("exe"), path("missing")));
}

TEST_F(FilesTest, NewFilesReplaceLinksInsteadOfWritingThroughThem)
{
    ASSERT_TRUE(writeFile(path("outside"), "not to be touched"));
    ASSERT_TRUE(writeFile(path("archive"), "0123456789"));
    ::chmod(path("archive").c_str(), 0640);
    const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("archive").c_str(), times, 0), 0);
    ASSERT_TRUE(writeFile(path("tail"), "XY"));
    for (const char *name : {"volume", "whole"})
        ASSERT_EQ(::symlink(path("outside").c_str(), path(name).c_str()), 0) << name;

    // Pieces of files, one after another; the first one's mode and time.
    ASSERT_TRUE(writeNewFileFrom(path("volume"), {{path("archive"), 3, 4}, {path("tail")}}));
    ASSERT_TRUE(writeNewFileFrom(path("whole"), {{path("archive")}}));
    EXPECT_EQ(readFile(path("volume")), "3456XY");
    EXPECT_EQ(readFile(path("whole")), "0123456789");
    EXPECT_EQ(readFile(path("outside")), "not to be touched");
    struct stat st {};
    ASSERT_EQ(::lstat(path("volume").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(fileDosDateTime(path("volume")), fileDosDateTime(path("archive")));

    // A piece that the file can't give in full, or a missing one: no file.
    errno = 0;
    EXPECT_FALSE(writeNewFileFrom(path("short"), {{path("archive"), 8, 5}}));
    EXPECT_EQ(errno, EIO);
    EXPECT_FALSE(writeNewFileFrom(path("short"), {{path("tail")}, {path("missing")}}));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(fileExists(path("short")));
    EXPECT_FALSE(writeNewFileFrom(path("no/such/dir"), {{path("tail")}}));
}

TEST_F(FilesTest, AFolderLockKeepsOthersOutUntilItGoes)
{
    ASSERT_TRUE(createFolder(path("out")));
    {
        FolderLock first;
        ASSERT_TRUE(first.lock(path("out")));
        FolderLock second;
        errno = 0;
        EXPECT_FALSE(second.lock(path("out")));
        EXPECT_EQ(errno, EWOULDBLOCK);
    }
    FolderLock again;
    EXPECT_TRUE(again.lock(path("out")));
    EXPECT_FALSE(FolderLock().lock(path("missing")));
}

TEST_F(FilesTest, DosDateTimePacking)
{
    ASSERT_TRUE(writeFile(path("t"), ""));
    struct tm lt {};
    lt.tm_year = 2024 - 1900;
    lt.tm_mon = 2;
    lt.tm_mday = 15;
    lt.tm_hour = 13;
    lt.tm_min = 45;
    lt.tm_sec = 31;
    lt.tm_isdst = -1;
    const time_t t = ::mktime(&lt);
    const struct timespec times[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("t").c_str(), times, 0), 0);
    const uint32_t packed = static_cast<uint32_t>(fileDosDateTime(path("t")));
    EXPECT_EQ(packed >> 16, static_cast<uint32_t>(((2024 - 1980) << 9) | (3 << 5) | 15));
    EXPECT_EQ(packed & 0xFFFF, static_cast<uint32_t>((13 << 11) | (45 << 5) | 15));
}

TEST_F(FilesTest, ListingIsSortedAndDoesNotFollowLinks)
{
    ASSERT_TRUE(writeFile(path("b"), ""));
    ASSERT_TRUE(createFolder(path("a")));
    ASSERT_EQ(::symlink(path("a").c_str(), path("c").c_str()), 0);
    const auto entries = listFolder(dir.path());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "a");
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_EQ(entries[2].name, "c");
    EXPECT_TRUE(entries[2].isLink);
    EXPECT_FALSE(entries[2].isFolder);
}

TEST_F(FilesTest, ReplaceFileKeepsOldContentOnFailure)
{
    ASSERT_TRUE(replaceFile(path("p"), "one"));
    ASSERT_TRUE(replaceFile(path("p"), "two"));
    EXPECT_EQ(readFile(path("p")), "two");
    EXPECT_FALSE(replaceFile(path("nofolder/p"), "x"));
    EXPECT_EQ(listFolder(dir.path()).size(), 1u); // no scratch file left
}

TEST_F(FilesTest, ReplaceFileWritesThroughLinksAndKeepsTheMode)
{
    ASSERT_TRUE(createFolder(path("real")));
    struct Case {
        const char *label;
        std::vector<std::pair<std::string, std::string>> links;  // link name, its target as stored
        const char *file;                                          // the file the links name
        bool existed;
    } cases[] = {
        {"a link", {{"one.wfp", path("real/one.wfp")}}, "real/one.wfp", true},
        {"a chain with a relative link", {{"two.wfp", "mid.wfp"}, {"mid.wfp", "real/two.wfp"}}, "real/two.wfp", true},
        {"a link naming no file yet", {{"new.wfp", "real/new.wfp"}}, "real/new.wfp", false},
    };
    for (const Case &c : cases) {
        if (c.existed) {
            ASSERT_TRUE(writeFile(path(c.file), "old")) << c.label;
            ASSERT_EQ(::chmod(path(c.file).c_str(), 0640), 0);
        }
        for (const auto &[name, target] : c.links)
            ASSERT_EQ(::symlink(target.c_str(), path(name).c_str()), 0) << c.label;
        const std::string link = path(c.links.front().first);
        ASSERT_TRUE(replaceFile(link, "new")) << c.label;
        EXPECT_EQ(readFile(path(c.file)), "new") << c.label;
        for (const auto &[name, target] : c.links) {
            struct stat st {};
            ASSERT_EQ(::lstat(path(name).c_str(), &st), 0);
            EXPECT_TRUE(S_ISLNK(st.st_mode)) << c.label << ": " << name;
        }
        struct stat st {};
        ASSERT_EQ(::stat(path(c.file).c_str(), &st), 0);
        if (c.existed) {
            EXPECT_EQ(st.st_mode & 07777, 0640u) << c.label;
        }
    }
    // No scratch file stays beside the links or the files.
    EXPECT_EQ(listFolder(path("real")).size(), 3u);
}

TEST_F(FilesTest, ReplaceFileRefusesWhatItMayNotWrite)
{
    ASSERT_TRUE(writeFile(path("ro.wfp"), "kept"));
    ASSERT_EQ(::chmod(path("ro.wfp").c_str(), 0444), 0);
    ASSERT_EQ(::symlink("ro.wfp", path("to-ro.wfp").c_str()), 0);
    ASSERT_EQ(::symlink("loop-b", path("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", path("loop-b").c_str()), 0);
    ASSERT_TRUE(createFolder(path("folder")));
    struct Case {
        const char *name;
        int error;
    } cases[] = {{"ro.wfp", EACCES}, {"to-ro.wfp", EACCES}, {"loop-a", ELOOP}, {"folder", EISDIR}};
    for (const Case &c : cases) {
        errno = 0;
        EXPECT_FALSE(replaceFile(path(c.name), "new")) << c.name;
        EXPECT_EQ(errno, c.error) << c.name;
    }
    EXPECT_EQ(readFile(path("ro.wfp")), "kept");
    struct stat st {};
    ASSERT_EQ(::lstat(path("to-ro.wfp").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(listFolder(dir.path()).size(), 5u);  // nothing new beside them
}
