#include "validate.h"

#include "filetools.h"
#include "files.h"
#include "runcontext.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace wharf;

namespace {

std::vector<std::string> g_errors;

bool collect(const char *text, uint16_t kind, uint16_t)
{
    if (kind == 1)
        g_errors.push_back(text);
    return true;
}

class ValidateTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string projectFile = dir.file("proj/p.wfp");

    void SetUp() override
    {
        g_errors.clear();
        ASSERT_TRUE(createFolder(dir.file("proj")));
        ASSERT_TRUE(createFolder(dir.file("app")));
        ASSERT_TRUE(writeFile(dir.file("app/setupldr.bin"), "stub"));
        ASSERT_TRUE(writeFile(dir.file("proj/a.txt"), "a"));
        ASSERT_TRUE(writeFile(projectFile, "[General]\n"));
    }

    // A project that passes every check, with changes applied by edit.
    bool validate(const std::function<void(TMemIniStore &)> &edit = {})
    {
        RunContext &run = CurrentRun();
        run = RunContext{};
        run.ProjectFile = projectFile;
        run.AppDir = dir.file("app");
        run.TempDir = dir.file("app/Temp");
        run.WorkDir = dir.file("proj/");
        run.Callback = collect;
        run.Project = std::make_unique<TMemIniStore>("");
        TMemIniStore &p = *run.Project;
        p.WriteString("General", "DestDir", "{pro}\\App");
        p.WriteString("General", "ProgMenuFolder", "App");
        p.WriteString("LanguageFiles", "0", "\"lang.wfl\"");
        p.WriteString("SourceFiles", "0", "\"a.txt\"");
        p.WriteString("Temporary", "OutputDir", "out");
        run.InstTypesList = {"0=\"Typical\""};
        if (edit)
            edit(p);
        run.OutputDir = ExpandRelativePath(p.ReadString("Temporary", "OutputDir", ""), run.WorkDir);
        return ValidateProject();
    }
};

} // namespace

TEST_F(ValidateTest, AGoodProjectPasses)
{
    EXPECT_TRUE(validate());
    EXPECT_TRUE(g_errors.empty());
}

TEST_F(ValidateTest, ReportsEveryProblemInOrder)
{
    EXPECT_FALSE(validate([](TMemIniStore &p) {
        p.WriteString("General", "DestDir", "");
        p.DeleteKey("General", "ProgMenuFolder");
        p.WriteString("SourceFiles", "1", "missing.txt");
        CurrentRun().InstTypesList.clear();
    }));
    EXPECT_EQ(g_errors, (std::vector<std::string>{
                            "ERROR: You must specify an application folder!",
                            "ERROR: You must specify a program group folder!",
                            "ERROR: File " + dir.file("proj/missing.txt") + " does not exist!",
                            "ERROR: Your setup must contain at least one installation type!",
                        }));
    EXPECT_TRUE(CurrentRun().ValidationFailed);
}

TEST_F(ValidateTest, SingleChecks)
{
    struct Case {
        const char *name;
        std::function<void(TMemIniStore &)> edit;
        const char *error; // nullptr: passes
    } cases[] = {
        {"pro alone", [](TMemIniStore &p) { p.WriteString("General", "DestDir", "{pro}\\"); },
         "ERROR: You must specify an application folder!"},
        {"readme", [](TMemIniStore &p) { p.WriteString("Dialogs", "ReadmeDialog", "1"); },
         "ERROR: If you want to show the Readme dialog, you must specify a readme file!"},
        {"license", [](TMemIniStore &p) { p.WriteString("Dialogs", "LicenseDialog", "1"); },
         "ERROR: If you want to show the License dialog, you must specify a license file!"},
        {"billboard", [](TMemIniStore &p) { p.WriteString("Dialogs", "Billboard", "1"); },
         "ERROR: If you want to show the billboard, you must specify a billboard picture!"},
        {"billboard empty key",
         [](TMemIniStore &p) {
             p.WriteString("Dialogs", "Billboard", "1");
             p.WriteString("BillboardPics", "0", "");
         },
         nullptr},
        {"language", [](TMemIniStore &p) { p.EraseSection("LanguageFiles"); },
         "ERROR: You must include at least one language file!"},
        {"braces never checked",
         [](TMemIniStore &p) {
             p.WriteString("SourceFiles", "1", "{src}\\x.dll");
             p.WriteString("SourceFiles", "2", "C:\\x{1}\\a.dll");
         },
         nullptr},
        {"no output folder", [](TMemIniStore &p) { p.WriteString("Temporary", "OutputDir", ""); },
         "ERROR: You must specify an output folder!"},
    };
    for (const Case &c : cases) {
        g_errors.clear();
        const bool ok = validate(c.edit);
        if (c.error) {
            EXPECT_FALSE(ok) << c.name;
            EXPECT_EQ(g_errors, std::vector<std::string>{c.error}) << c.name;
        } else {
            EXPECT_TRUE(ok) << c.name;
            EXPECT_TRUE(g_errors.empty()) << c.name;
        }
    }
}

TEST_F(ValidateTest, MissingSupportFile)
{
    EXPECT_FALSE(validate([this](TMemIniStore &) { CurrentRun().SupportFiles = {dir.file("app/setup.bin")}; }));
    EXPECT_EQ(g_errors, std::vector<std::string>{"ERROR: File " + dir.file("app/setup.bin") + " does not exist!"});
}

TEST_F(ValidateTest, MissingProjectFileStopsAtOnce)
{
    ASSERT_TRUE(deleteFile(projectFile));
    EXPECT_FALSE(validate([](TMemIniStore &p) { p.WriteString("General", "DestDir", ""); }));
    EXPECT_EQ(g_errors, std::vector<std::string>{"ERROR: Data file does not exist"});
}

TEST_F(ValidateTest, AnUnreadableProjectIsNamedWithTheReason)
{
    // A regular file whose first page no user can read.
    projectFile = "/proc/self/mem";
    EXPECT_FALSE(validate());
    EXPECT_EQ(g_errors,
              std::vector<std::string>{"ERROR: Cannot read the project file /proc/self/mem: Input/output error!"});
    if (::geteuid() == 0)
        return; // the owner-only case needs a user the mode binds
    g_errors.clear();
    projectFile = dir.file("proj/p.wfp");
    ASSERT_EQ(::chmod(projectFile.c_str(), 0), 0);
    EXPECT_FALSE(validate());
    EXPECT_EQ(g_errors, std::vector<std::string>{"ERROR: Cannot read the project file " + projectFile +
                                                 ": Permission denied!"});
}

TEST_F(ValidateTest, OutputFolderMustNotHoldTheAuthorsFiles)
{
    struct Case {
        const char *what;
        std::string outputDir;
        std::function<void(TMemIniStore &)> edit;
        std::vector<std::string> fragments; // one per error line, in order
    };
    const std::vector<Case> cases = {
        {"the project's own folder", ".", {}, {"is the project's own folder"}},
        {"the project's folder, spelt another way", dir.file("proj/sub/.."), {}, {"is the project's own folder"}},
        {"the program folder", dir.file("app"), {}, {"is the program folder"}},
        {"a source named like a volume the compile writes", "files",
         [](TMemIniStore &p) { p.WriteString("SourceFiles", "1", "\"files\\setup.3\""); },
         {"setup.3, which the compile would delete!"}},
        {"a source beside the setup under a name the compile does not write", "files",
         [](TMemIniStore &p) { p.WriteString("SourceFiles", "1", "\"files\\notes.txt\""); }, {}},
    };
    ASSERT_TRUE(createFolder(dir.file("proj/sub")));
    ASSERT_TRUE(createFolder(dir.file("proj/files")));
    ASSERT_TRUE(writeFile(dir.file("proj/files/setup.3"), "x"));
    ASSERT_TRUE(writeFile(dir.file("proj/files/notes.txt"), "x"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        g_errors.clear();
        EXPECT_EQ(validate([&](TMemIniStore &p) {
                      p.WriteString("Temporary", "OutputDir", c.outputDir);
                      if (c.edit)
                          c.edit(p);
                  }),
                  c.fragments.empty());
        ASSERT_EQ(g_errors.size(), c.fragments.size());
        for (size_t i = 0; i < c.fragments.size(); ++i)
            EXPECT_NE(g_errors[i].find(c.fragments[i]), std::string::npos) << g_errors[i];
    }
}

TEST_F(ValidateTest, ASourceThatIsNoFileSaysWhatItIs)
{
    const std::string files = dir.file("proj/kinds");
    ASSERT_TRUE(createFolder(files));
    ASSERT_EQ(::mkfifo((files + "/fifo").c_str(), 0600), 0);
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = files + "/socket";
        ASSERT_LT(path.size(), sizeof address.sun_path);
        std::strcpy(address.sun_path, path.c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
    }
    ASSERT_TRUE(createFolder(files + "/folder"));
    ASSERT_EQ(::symlink((files + "/gone").c_str(), (files + "/dangling").c_str()), 0);
    ASSERT_EQ(::symlink((files + "/loop2").c_str(), (files + "/loop1").c_str()), 0);
    ASSERT_EQ(::symlink((files + "/loop1").c_str(), (files + "/loop2").c_str()), 0);
    const std::pair<std::string, std::string> cases[] = {
        {files + "/fifo", "is a named pipe (FIFO), not a file!"},
        {files + "/socket", "is a socket, not a file!"},
        {files + "/folder", "is a folder, not a file!"},
        {"/dev/null", "is a device, not a file!"},
        {files + "/dangling", "is a link to " + files + "/gone, which does not exist!"},
        {files + "/loop1", "is a link that leads round in a loop!"},
        {files + "/missing", "does not exist!"},
    };
    for (const auto &[path, what] : cases) {
        SCOPED_TRACE(path);
        g_errors.clear();
        EXPECT_FALSE(validate([&](TMemIniStore &p) { p.WriteString("SourceFiles", "1", path); }));
        EXPECT_EQ(g_errors, std::vector<std::string>{"ERROR: File " + path + " " + what});
    }
    // As the older version of a patched file, the same words.
    g_errors.clear();
    EXPECT_FALSE(validate([&](TMemIniStore &p) { p.WriteString("PatchedFiles", "0", files + "/fifo"); }));
    EXPECT_EQ(g_errors, std::vector<std::string>{"ERROR: File " + files + "/fifo, the older version of " +
                                                 dir.file("proj/a.txt") + ", is a named pipe (FIFO), not a file!"});
}

TEST_F(ValidateTest, AFileInAFolderWithoutSearchPermissionGivesTheReason)
{
    // A user the folder's mode binds: as root, a child that is nobody.
    const std::string closed = dir.file("proj/closed");
    ASSERT_TRUE(createFolder(closed));
    ASSERT_TRUE(writeFile(closed + "/b.txt", "b"));
    ASSERT_EQ(::chmod(closed.c_str(), 0600), 0);
    if (::geteuid() != 0) {
        EXPECT_FALSE(validate([&](TMemIniStore &p) { p.WriteString("SourceFiles", "1", closed + "/b.txt"); }));
        EXPECT_EQ(g_errors, std::vector<std::string>{"ERROR: File " + closed + "/b.txt can't be reached: Permission denied!"});
        return;
    }
    // Everything the child needs must be reachable for nobody.
    for (const std::string &folder : {dir.path(), dir.file("proj"), dir.file("app")})
        ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(projectFile.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(dir.file("proj/a.txt").c_str(), 0644), 0);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(2);
        g_errors.clear();
        validate([&](TMemIniStore &p) { p.WriteString("SourceFiles", "1", closed + "/b.txt"); });
        std::string text;
        for (const std::string &e : g_errors)
            text += e + "\n";
        const bool written = ::write(pipeFds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "could not become the user nobody";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(text, "ERROR: File " + closed + "/b.txt can't be reached: Permission denied!\n");
}
