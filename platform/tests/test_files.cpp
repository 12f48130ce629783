#include "files.h"

#include "savetesting.h"
#include "scopedenv.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
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
    const FolderHandle &folder = dir.handle();
    ASSERT_TRUE(folder.writeNewFile("volume", {{path("archive"), 3, 4}, {path("tail")}}));
    ASSERT_TRUE(folder.writeNewFile("whole", {{path("archive")}}));
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
    EXPECT_FALSE(folder.writeNewFile("short", {{path("archive"), 8, 5}}));
    EXPECT_EQ(errno, EIO);
    EXPECT_FALSE(folder.writeNewFile("short", {{path("tail")}, {path("missing")}}));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(fileExists(path("short")));
    EXPECT_FALSE(folder.writeNewFile("no/such/dir", {{path("tail")}}));
}

TEST_F(FilesTest, AFolderLockKeepsOthersOutUntilItGoes)
{
    ASSERT_TRUE(createFolder(path("out")));
    {
        FolderHandle first;
        ASSERT_TRUE(first.open(path("out")));
        ASSERT_TRUE(first.lock());
        FolderHandle second;
        ASSERT_TRUE(second.open(path("out")));
        errno = 0;
        EXPECT_FALSE(second.lock());
        EXPECT_EQ(errno, EWOULDBLOCK);
    }
    FolderHandle again;
    ASSERT_TRUE(again.open(path("out")));
    EXPECT_TRUE(again.lock());
    errno = 0;
    EXPECT_FALSE(FolderHandle().open(path("missing")));
    EXPECT_EQ(errno, ENOENT);
}

TEST(FolderHandleTest, WritesGoIntoTheFolderThatWasOpened)
{
    ScratchFolder dir;
    const std::string folder = dir.file("out");
    ASSERT_TRUE(createFolder(folder));
    ASSERT_TRUE(writeFile(dir.file("source"), "new content"));
    ASSERT_TRUE(writeFile(dir.file("target"), "the author's"));

    // A link is refused as the folder itself.
    ASSERT_EQ(::symlink(folder.c_str(), dir.file("link").c_str()), 0);
    FolderHandle viaLink;
    EXPECT_FALSE(viaLink.open(dir.file("link")));
    EXPECT_FALSE(viaLink.open(dir.file("link") + "/"));
    EXPECT_FALSE(viaLink.open(dir.file("link") + "\\"));
    FolderHandle notAFolder;
    EXPECT_FALSE(notAFolder.open(dir.file("source")));

    FolderHandle handle;
    ASSERT_TRUE(handle.open(folder));
    ASSERT_TRUE(handle.lock());
    // A second holder of the folder is kept out.
    FolderHandle other;
    ASSERT_TRUE(other.open(folder));
    errno = 0;
    EXPECT_FALSE(other.lock());
    EXPECT_EQ(errno, EWOULDBLOCK);

    // A link where the file goes is replaced, never written through.
    ASSERT_EQ(::symlink(dir.file("target").c_str(), (folder + "/setup.exe").c_str()), 0);
    ASSERT_TRUE(handle.writeNewFile("setup.exe", {FilePiece{dir.file("source")}}));
    EXPECT_EQ(readFile(dir.file("target")), "the author's");
    EXPECT_EQ(readFile(folder + "/setup.exe"), "new content");

    // The folder swapped for a link: the handle goes on into the old folder.
    ASSERT_EQ(::rename(folder.c_str(), dir.file("moved").c_str()), 0);
    ASSERT_TRUE(createFolder(dir.file("elsewhere")));
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), folder.c_str()), 0);
    ASSERT_TRUE(handle.writeNewFile("setup.0", {FilePiece{dir.file("source"), 4, 7}}));
    EXPECT_EQ(readFile(dir.file("moved/setup.0")), "content");
    EXPECT_TRUE(listFolder(dir.file("elsewhere")).empty());
    std::vector<std::string> names;
    for (const FolderEntry &e : handle.list())
        names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"setup.0", "setup.exe"}));
    EXPECT_TRUE(handle.removeFile("setup.0"));
    EXPECT_FALSE(fileExists(dir.file("moved/setup.0")));

    // Bare names only; a piece that can't be read leaves no file.
    EXPECT_FALSE(handle.writeNewFile("../escaped", {FilePiece{dir.file("source")}}));
    EXPECT_FALSE(fileExists(dir.file("escaped")));
    EXPECT_FALSE(handle.writeNewFile("part", {FilePiece{dir.file("source"), 0, 100}}));
    EXPECT_FALSE(fileExists(dir.file("moved/part")));
    EXPECT_FALSE(handle.removeFile("sub/x"));
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

namespace {

using wharf::testing::ChildOutcome;
using wharf::testing::ChildUser;
using wharf::testing::kNobody;
using wharf::testing::kNoGroup;
using wharf::testing::kUsers;
using wharf::testing::runInChild;
using wharf::testing::runningAsRoot;
using wharf::testing::ScopedEnv;
using wharf::testing::SmallFileSystem;

constexpr std::size_t kPiece = 1 << 16;  // the pieces replaceFile writes

struct FileState {
    std::string content;
    uid_t uid = 0;
    gid_t gid = 0;
    mode_t mode = 0;
    ino_t inode = 0;
};

FileState stateOf(const std::string &path)
{
    FileState state;
    state.content = readFile(path).value_or("<unreadable>");
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        state.uid = st.st_uid;
        state.gid = st.st_gid;
        state.mode = st.st_mode & 07777;
        state.inode = st.st_ino;
    }
    return state;
}

std::vector<std::string> names(const std::string &folder)
{
    std::vector<std::string> out;
    for (const FolderEntry &entry : listFolder(folder))
        out.push_back(entry.name);
    return out;
}

// "ok rename", "ok in place" or "failed: <reason>", for a child to report.
std::string describe(const ReplaceResult &result, const std::optional<ReplaceWay> &way)
{
    if (!result)
        return "failed: " + result.reason;
    return way == ReplaceWay::InPlace ? "ok in place" : "ok rename";
}

class ReplaceFileTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    // Copies of files written in place go to the user's state folder.
    ScopedEnv state{"XDG_STATE_HOME", dir.file("state")};

    std::string path(const std::string &name) const { return dir.file(name); }
    std::string copies() const { return dir.file("state") + "/brindlewharf/unfinished-saves"; }

    // Saves and tells which way the content went.
    std::string save(const std::string &file, const std::string &data) const
    {
        std::optional<ReplaceWay> way;
        ReplaceHooks hooks;
        hooks.beforeWrite = [&](ReplaceWay w, std::size_t) { way = w; };
        return describe(replaceFile(file, data, hooks), way);
    }
};

} // namespace

TEST_F(ReplaceFileTest, ANewFileStandsForTheOldOneOrItIsWrittenInPlaceAfterACopy)
{
    const std::string longName(250, 'n');
    struct Row {
        const char *label;
        std::string name;
        std::function<void(const std::string &)> arrange;
        const char *way;
        bool sameInode;
    } rows[] = {
        {"a plain file", "plain.wfp", [](const std::string &) {}, "ok rename", false},
        {"a file of another user (a save with sudo)", "other.wfp",
         [](const std::string &file) { ASSERT_EQ(::chown(file.c_str(), kNobody, kNoGroup), 0); }, "ok rename",
         false},
        {"a file with another name (a hard link)", "linked.wfp",
         [this](const std::string &file) { ASSERT_EQ(::link(file.c_str(), path("twin.wfp").c_str()), 0); },
         "ok in place", true},
        {"a name too long for a scratch file", longName, [](const std::string &) {}, "ok in place", true},
    };
    for (const Row &row : rows) {
        if (!runningAsRoot() && row.name == "other.wfp")
            continue;  // only root can give a file away
        const std::string file = path(row.name);
        ASSERT_TRUE(writeFile(file, std::string(3 * kPiece, 'a'))) << row.label;
        ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
        row.arrange(file);
        const FileState before = stateOf(file);
        const std::string data(2 * kPiece + 7, 'b');
        EXPECT_EQ(save(file, data), row.way) << row.label;
        const FileState after = stateOf(file);
        EXPECT_TRUE(after.content == data) << row.label;
        EXPECT_EQ(after.mode, 0640u) << row.label;
        EXPECT_EQ(after.uid, before.uid) << row.label;
        EXPECT_EQ(after.gid, before.gid) << row.label;
        EXPECT_EQ(after.inode == before.inode, row.sameInode) << row.label;
        EXPECT_TRUE(names(copies()).empty()) << row.label << ": a copy stayed";
    }
    EXPECT_TRUE(readFile(path("twin.wfp")) == std::string(2 * kPiece + 7, 'b'));
    // Nothing but the files themselves (the state folder aside) is left.
    EXPECT_EQ(names(dir.path()).size(), std::size(rows) + 2 - (runningAsRoot() ? 0 : 1));

    // A new file whose name leaves no room for a scratch file's is made as
    // it is.
    const std::string fresh = path(std::string(252, 'f'));
    EXPECT_EQ(save(fresh, "new"), "ok in place");
    EXPECT_EQ(readFile(fresh), "new");
}

TEST_F(ReplaceFileTest, AnotherUserSavesWhatItMayWriteAndKeepsItsOwnerGroupAndMode)
{
    if (!runningAsRoot())
        GTEST_SKIP() << "needs root to arrange files of other users and to save as another user";
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);  // the user reaches the files below
    const std::string userState = path("user-state");
    ASSERT_TRUE(createFolder(userState));
    ASSERT_EQ(::chown(userState.c_str(), kNobody, kNoGroup), 0);

    struct Row {
        const char *label;
        uid_t folderUid;
        gid_t folderGid;
        mode_t folderMode;
        uid_t fileUid;
        gid_t fileGid;
        mode_t fileMode;
        std::vector<gid_t> groups;
        const char *way;
    } rows[] = {
        {"a folder the user can't write", 0, 0, 0755, kNobody, kNoGroup, 0644, {}, "ok in place"},
        {"a group-shared file of the user", kNobody, kNoGroup, 0755, kNobody, kUsers, 0664, {kUsers}, "ok rename"},
        {"a file of another owner, written through the group", 0, kUsers, 0775, 0, kUsers, 0664, {kUsers},
         "ok in place"},
        {"another user's file in a sticky folder", 0, 0, 01777, 0, 0, 0666, {}, "ok in place"},
    };
    int n = 0;
    for (const Row &row : rows) {
        const std::string folder = path("f" + std::to_string(n++));
        ASSERT_TRUE(createFolder(folder));
        ASSERT_EQ(::chown(folder.c_str(), row.folderUid, row.folderGid), 0);
        ASSERT_EQ(::chmod(folder.c_str(), row.folderMode), 0);
        const std::string file = folder + "/p.wfp";
        ASSERT_TRUE(writeFile(file, std::string(kPiece + 3, 'a')));
        ASSERT_EQ(::chown(file.c_str(), row.fileUid, row.fileGid), 0);
        ASSERT_EQ(::chmod(file.c_str(), row.fileMode), 0);
        const std::string data(2 * kPiece, 'b');
        const ChildOutcome outcome = runInChild(
            [&] {
                ::setenv("XDG_STATE_HOME", userState.c_str(), 1);
                std::optional<ReplaceWay> way;
                ReplaceHooks hooks;
                hooks.beforeWrite = [&](ReplaceWay w, std::size_t) { way = w; };
                return describe(replaceFile(file, data, hooks), way);
            },
            ChildUser{kNobody, kNoGroup, row.groups});
        EXPECT_EQ(outcome.output, row.way) << row.label;
        const FileState after = stateOf(file);
        EXPECT_TRUE(after.content == data) << row.label;
        EXPECT_EQ(after.uid, row.fileUid) << row.label;
        EXPECT_EQ(after.gid, row.fileGid) << row.label;
        EXPECT_EQ(after.mode, row.fileMode) << row.label;
        EXPECT_EQ(names(folder), std::vector<std::string>{"p.wfp"}) << row.label;
        EXPECT_TRUE(names(userState + "/brindlewharf/unfinished-saves").empty()) << row.label;
    }

    // Where no copy can be kept either, nothing is written, and the reason
    // names both.
    const std::string folder = path("f0");
    const std::string file = folder + "/p.wfp";
    const std::string before = readFile(file).value_or("");
    const ChildOutcome refused = runInChild(
        [&] {
            ::setenv("XDG_STATE_HOME", (folder + "/state").c_str(), 1);
            return describe(replaceFile(file, "new"), std::nullopt);
        },
        ChildUser{kNobody, kNoGroup, {}});
    EXPECT_NE(refused.output.find("failed: it can't be replaced by a new file because no new file can be made in "
                                  "its folder (Permission denied), and no copy of it could be kept"),
              std::string::npos)
        << refused.output;
    EXPECT_NE(refused.output.find("the file is as it was"), std::string::npos) << refused.output;
    EXPECT_TRUE(readFile(file) == before);
}

TEST_F(ReplaceFileTest, AFullDiskOrNoFreeInodeNeverCutsTheFile)
{
    SmallFileSystem disk(path("disk"), "size=512k,nr_inodes=64");
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason();
    const std::string file = disk.folder() + "/p.wfp";
    const std::string old(kPiece + 5, 'a');
    ASSERT_TRUE(writeFile(file, old));
    const std::string twin = disk.folder() + "/twin.wfp";

    // No room: refused before anything of the file is touched, both ways.
    disk.fillSpace();
    const std::string longer(3 * kPiece, 'b');
    for (const bool linked : {false, true}) {
        if (linked) {
            ASSERT_EQ(::link(file.c_str(), twin.c_str()), 0);
        }
        const ReplaceResult result = replaceFile(file, longer);
        EXPECT_FALSE(result) << linked;
        EXPECT_EQ(result.error, ENOSPC) << linked;
        EXPECT_NE(result.reason.find("No space left on device"), std::string::npos) << result.reason;
        EXPECT_NE(result.reason.find("the file is as it was"), std::string::npos) << result.reason;
        EXPECT_TRUE(readFile(file) == old) << linked;
        EXPECT_TRUE(names(copies()).empty()) << linked;
    }
    ASSERT_TRUE(deleteFile(twin));
    EXPECT_EQ(names(disk.folder()), (std::vector<std::string>{"filler", "p.wfp"}));  // no scratch file

    // No inode for a scratch file: the file is written in place, after a copy
    // kept outside the full file system.
    ASSERT_TRUE(deleteFile(disk.folder() + "/filler"));
    disk.fillInodes();
    EXPECT_EQ(save(file, longer), "ok in place");
    EXPECT_TRUE(readFile(file) == longer);
    EXPECT_TRUE(names(copies()).empty());
}

TEST_F(ReplaceFileTest, ASaveKilledDuringItsWriteLosesNothing)
{
    const std::string file = path("p.wfp");
    const std::string old(3 * kPiece, 'a');
    const std::string data(3 * kPiece, 'b');
    // The child is killed as it is about to write its second piece.
    const auto killedSave = [&](const std::string &target) {
        return runInChild([&] {
            ReplaceHooks hooks;
            hooks.beforeWrite = [](ReplaceWay, std::size_t written) {
                if (written >= kPiece)
                    ::raise(SIGKILL);
            };
            return describe(replaceFile(target, data, hooks), std::nullopt);
        });
    };

    // Replaced by a new file: the old file stays whole; the killed save's
    // scratch file is named after the file and its process, and the next
    // save removes it, but not one of a save still running (this process).
    ASSERT_TRUE(writeFile(file, old));
    const std::string running = file + ".~" + std::to_string(::getpid()) + "-AbC123";
    ASSERT_TRUE(writeFile(running, "in use"));
    const ChildOutcome killed = killedSave(file);
    ASSERT_EQ(killed.signal, SIGKILL) << killed.output;
    EXPECT_TRUE(readFile(file) == old);
    const std::string runningName = running.substr(dir.path().size() + 1);
    const std::string killedName = "p.wfp.~" + std::to_string(killed.pid) + "-";
    std::vector<std::string> left = names(dir.path());
    const auto scratch = std::find_if(left.begin(), left.end(), [&](const std::string &name) {
        return name.starts_with(killedName) && name.size() == killedName.size() + 6;
    });
    ASSERT_NE(scratch, left.end());
    left.erase(scratch);
    EXPECT_EQ(left, (std::vector<std::string>{"p.wfp", runningName}));
    EXPECT_FALSE(unfinishedSaveNotice(file));
    EXPECT_TRUE(replaceFile(file, "whole"));
    EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"p.wfp", runningName, "state"}));
    ASSERT_TRUE(deleteFile(running));

    // Written in place (it has a second name): the file is cut off, its copy
    // stays, and opening it says so and names the copy.
    ASSERT_TRUE(writeFile(file, old));
    ASSERT_EQ(::link(file.c_str(), path("twin.wfp").c_str()), 0);
    ASSERT_EQ(killedSave(file).signal, SIGKILL);
    EXPECT_TRUE(readFile(file) == std::string(kPiece, 'b') + std::string(2 * kPiece, 'a'));
    const std::optional<std::string> copy = unfinishedSaveCopy(file);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(readFile(*copy) == old);
    const std::optional<std::string> notice = unfinishedSaveNotice(file);
    ASSERT_TRUE(notice);
    EXPECT_EQ(*notice, "A save of " + file +
                           " was cut off before it finished, so the file may be incomplete. The file as it was "
                           "before that save is kept in " +
                           *copy + ": copy it over " + file +
                           " to take it back, and delete it once the file is as it should be.");

    // A later whole save leaves that copy for the author to take back.
    EXPECT_TRUE(replaceFile(file, data));
    EXPECT_TRUE(readFile(path("twin.wfp")) == data);
    EXPECT_EQ(names(copies()).size(), 1u);
    EXPECT_EQ(unfinishedSaveCopy(file), copy);
}
