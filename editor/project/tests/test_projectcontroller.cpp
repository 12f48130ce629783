#include "projectcontroller.h"

#include "compilepaths.h"
#include "fakeshell.h"
#include "files.h"
#include "filetools.h"
#include "inistore.h"
#include "savetesting.h"
#include "scopedenv.h"

#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace wharf;
using namespace wharf::testing;

namespace {

constexpr const char *kCurrentLayout = "[Temporary]\r\nEditorVersion=2.0\r\nSubVersion=Professional\r\nBuildNo=14\r\n";

class ProjectControllerTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string programFolder = dir.file("program") + "/";
    FakeShell shell;
    ProjectController controller{programFolder, shell, shell, shell, &shell};

    void SetUp() override { ASSERT_TRUE(createFolder(programFolder)); }

    std::string read(const std::string &path) { return readFile(path).value_or("<missing>"); }

    // A project with one relative source so saves have something to rewrite.
    void fillDocument()
    {
        Project &p = controller.document();
        p.General.AppName = "Harbour";
        GroupEntry group;
        group.Name = "Main";
        FileEntry file;
        file.Source = "/data/src/tool.exe";
        file.Relative = false;
        file.Destination = "{app}\\tool.exe";
        file.Description = "tool.exe";
        group.Files.push_back(file);
        p.Groups.push_back(group);
        controller.SetModified(true);
    }

    // Saves under a first name, which the save dialog supplies.
    std::string saveFirst(const std::string &name = "first.wfp")
    {
        const std::string path = dir.file(name);
        shell.saveChoices.push_back(path);
        EXPECT_TRUE(controller.SaveProject(controller.ProjectFileName()));
        return path;
    }
};

} // namespace

TEST_F(ProjectControllerTest, SaveOfANewProjectAsksForAName)
{
    fillDocument();
    shell.saveChoices.push_back(std::nullopt);
    controller.save();
    EXPECT_EQ(shell.saveDialogs, 1);
    EXPECT_EQ(controller.ProjectFileName(), "*.wfp");
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_TRUE(shell.busyCaptions.empty());
    EXPECT_EQ(shell.panelText, "OK");

    const std::string path = saveFirst();
    EXPECT_EQ(shell.saveDialogs, 2);
    EXPECT_EQ(controller.ProjectFileName(), path);
    EXPECT_EQ(controller.ProjectFolder(), dir.path() + "/");
    EXPECT_FALSE(controller.ProjectModified());
    EXPECT_FALSE(shell.modified);
    EXPECT_EQ(shell.modifiedText, "");
    EXPECT_EQ(shell.title, "Brindlewharf Professional - " + path);
    EXPECT_EQ(shell.recentFiles, std::vector<std::string>{path});
    EXPECT_EQ(shell.busyCaptions, std::vector<std::string>{"Saving script file..."});
    EXPECT_FALSE(shell.busy);
    EXPECT_EQ(shell.progress.back(), 0);
    EXPECT_NE(std::find(shell.progress.begin(), shell.progress.end(), 100), shell.progress.end());
    EXPECT_EQ(shell.panelText, "OK");

    const TMemIniStore saved(path);
    EXPECT_EQ(saved.ReadString("Temporary", "WorkDir", ""), dir.path() + "/");
    EXPECT_EQ(saved.ReadString("General", "AppName", ""), "Harbour");

    // An unmodified project saved again asks nothing.
    controller.save();
    EXPECT_EQ(shell.saveDialogs, 2);
}

TEST_F(ProjectControllerTest, SaveAsAlwaysAsksAndTheTemplateToo)
{
    const std::string first = saveFirst();
    controller.saveAs();  // cancelled
    EXPECT_EQ(shell.saveDialogs, 2);
    EXPECT_EQ(controller.ProjectFileName(), first);

    // A project started from the template asks for a name; choosing the
    // template itself writes over it, without a recent-files entry.
    ASSERT_TRUE(writeFile(controller.templatePath(), "[Template]\r\nMark=1\r\n\r\n"));
    shell.saveChoices.push_back(controller.templatePath());
    ASSERT_TRUE(controller.SaveProject(controller.templatePath()));
    EXPECT_EQ(shell.saveDialogs, 3);
    EXPECT_EQ(controller.ProjectFileName(), controller.templatePath());
    EXPECT_EQ(shell.recentFiles, std::vector<std::string>{first});
    EXPECT_EQ(TMemIniStore(controller.templatePath()).ReadString("General", "VerInfo", ""), "1.0");
}

TEST_F(ProjectControllerTest, SectionsTheEditorDoesNotWriteSurvive)
{
    const std::string first = saveFirst();
    // Added by hand (or by the compiler's own key) after the save.
    const std::string text = read(first) + "[ScriptingExtensions]\r\n0=\"C:\\x.dll\"\r\n\r\n";
    ASSERT_TRUE(writeFile(first, text));
    controller.SetModified(true);
    controller.save();
    const std::string saved = read(first);
    EXPECT_EQ(saved.find("[ScriptingExtensions]"), 0u) << saved;

    // Save as carries it into the new file and leaves the old one alone.
    const std::string second = dir.file("second.wfp");
    shell.saveChoices.push_back(second);
    controller.document().General.AppName = "Renamed";
    controller.saveAs();
    EXPECT_EQ(TMemIniStore(second).ReadString("ScriptingExtensions", "0", ""), "C:\\x.dll");
    EXPECT_EQ(read(first), saved);
    EXPECT_EQ(controller.ProjectFileName(), second);

    // A project without a file of its own keeps what the chosen file holds.
    FakeShell otherShell;
    ProjectController fresh(programFolder, otherShell, otherShell, otherShell, &otherShell);
    const std::string existing = dir.file("existing.wfp");
    ASSERT_TRUE(writeFile(existing, "[Mine]\r\nKeep=yes\r\n\r\n[General]\r\nAppName=Old\r\n\r\n"));
    otherShell.saveChoices.push_back(existing);
    fresh.saveAs();
    const TMemIniStore merged(existing);
    EXPECT_EQ(merged.ReadString("Mine", "Keep", ""), "yes");
    EXPECT_EQ(merged.ReadString("General", "AppName", "-"), "");
}

TEST_F(ProjectControllerTest, ScratchCopyLeavesTheProjectAlone)
{
    fillDocument();
    const std::string first = saveFirst();
    controller.SetModified(true);
    const std::vector<std::string> recent = shell.recentFiles;
    const std::string title = shell.title;
    shell.busyCaptions.clear();

    // A copy left by an earlier run must not leak its sections.
    const std::string scratch = programFolder + "WFTEMP.TMP";
    ASSERT_TRUE(writeFile(scratch, "[Foreign]\r\nLeak=1\r\n\r\n"));
    ASSERT_TRUE(controller.SaveProject(scratch));

    const TMemIniStore copy(scratch);
    EXPECT_FALSE(copy.SectionExists("Foreign"));
    EXPECT_EQ(copy.ReadString("Temporary", "WorkDir", ""), dir.path() + "/");
    EXPECT_EQ(copy.ReadString("General", "AppName", ""), "Harbour");
    EXPECT_EQ(controller.ProjectFileName(), first);
    EXPECT_EQ(controller.ProjectFolder(), dir.path() + "/");
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_EQ(shell.recentFiles, recent);
    EXPECT_EQ(shell.title, title);
    EXPECT_TRUE(shell.busyCaptions.empty());
    EXPECT_EQ(shell.panelText, "OK");
}

TEST_F(ProjectControllerTest, FailedWriteChangesNothing)
{
    const std::string first = saveFirst();
    const std::string before = read(first);
    fillDocument();
    controller.document().Groups[0].Files[0].Source = "src/tool.exe";
    controller.document().Groups[0].Files[0].Relative = true;
    const Project document = controller.document();
    const std::vector<std::string> recent = shell.recentFiles;
    const std::string title = shell.title;

    // A folder that can't exist: the target's parent is a file.
    shell.saveChoices.push_back(first + "/inside.wfp");
    EXPECT_THROW(controller.saveAs(), EFCreateError);
    // A text Windows-1252 can't hold makes the file itself unwritable.
    controller.document().General.AppName = "\xCE\xA9mega";
    EXPECT_THROW(controller.save(), EFCreateError);
    controller.document().General.AppName = document.General.AppName;

    EXPECT_EQ(read(first), before);
    EXPECT_EQ(controller.ProjectFileName(), first);
    EXPECT_EQ(controller.document(), document);
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_EQ(shell.recentFiles, recent);
    EXPECT_EQ(shell.title, title);
    EXPECT_FALSE(shell.busy);
    EXPECT_EQ(shell.panelText, "OK");
}

TEST_F(ProjectControllerTest, SaveQuestion)
{
    // Unmodified: no question.
    EXPECT_TRUE(controller.QuerySaveChanges());
    EXPECT_TRUE(shell.messages.empty());

    fillDocument();
    shell.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(controller.canClose());
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Do you want to save the current file?");
    EXPECT_EQ(shell.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(shell.messages[0].buttons, MessageButtons::YesNoCancel);

    shell.answers = {MessageAnswer::No};
    EXPECT_TRUE(controller.QuerySaveChanges());
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_EQ(shell.saveDialogs, 0);

    // Yes, then the save dialog is cancelled: the project stays open.
    shell.answers = {MessageAnswer::Yes};
    shell.saveChoices.push_back(std::nullopt);
    EXPECT_FALSE(controller.QuerySaveChanges());
    EXPECT_TRUE(controller.ProjectModified());

    // Yes, then the write fails: its message is shown, the project stays.
    shell.answers = {MessageAnswer::Yes};
    shell.saveChoices.push_back(dir.file("missing-folder/x.wfp"));
    shell.messages.clear();
    EXPECT_FALSE(controller.QuerySaveChanges());
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].kind, MessageKind::Error);
    EXPECT_NE(shell.messages[1].text.find("missing-folder"), std::string::npos);
    EXPECT_TRUE(controller.ProjectModified());

    // Yes and a good save.
    shell.answers = {MessageAnswer::Yes};
    shell.saveChoices.push_back(dir.file("saved.wfp"));
    EXPECT_TRUE(controller.QuerySaveChanges());
    EXPECT_FALSE(controller.ProjectModified());
    EXPECT_TRUE(fileExists(dir.file("saved.wfp")));
}

TEST_F(ProjectControllerTest, ModifiedMarkAndProgressPanel)
{
    controller.SetModified(true);
    EXPECT_TRUE(shell.modified);
    EXPECT_EQ(shell.modifiedText, "Modified");
    controller.ShowProgress(42);
    EXPECT_EQ(shell.panelText, "42%");
    controller.ShowProgress(0);
    EXPECT_EQ(shell.panelText, "OK");
    controller.SetModified(false);
    EXPECT_EQ(shell.modifiedText, "");
}

TEST_F(ProjectControllerTest, SavesGoThroughLinksAndNeverOverAReadOnlyFile)
{
    // The project is kept in a versioned folder and linked into a work folder.
    ASSERT_TRUE(createFolder(dir.file("versioned")));
    ASSERT_TRUE(createFolder(dir.file("work")));
    const std::string real = dir.file("versioned/p.wfp");
    const std::string link = dir.file("work/p.wfp");
    ASSERT_TRUE(writeFile(real, std::string(kCurrentLayout) + "[General]\r\nAppName=Old\r\n"));
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    controller.LoadProject(link);
    // Opened through the link, the project is the file it ends at.
    EXPECT_EQ(controller.ProjectFileName(), real);
    controller.document().General.AppName = "New";
    controller.SetModified(true);
    controller.save();
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(read(real).find("AppName=New\r\n"), std::string::npos);
    EXPECT_FALSE(controller.ProjectModified());

    // A file the user may not write is refused by name, and stays.
    ASSERT_EQ(::chmod(real.c_str(), 0444), 0);
    const std::string before = read(real);
    controller.document().General.AppName = "Newer";
    controller.SetModified(true);
    try {
        controller.save();
        ADD_FAILURE() << "a read-only project was saved";
    } catch (const EFCreateError &e) {
        EXPECT_NE(std::string(e.what()).find(real), std::string::npos) << e.what();
    }
    EXPECT_EQ(read(real), before);
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_EQ(listFolder(dir.file("versioned")).size(), 1u);
}

TEST_F(ProjectControllerTest, SaveAsKeepsEveryPathTheCompileResolvesOnItsFile)
{
    // A relative path, written with "\", wherever a compile takes a path
    // against the project's folder; the sections the editor does not know
    // come through from the file.
    std::map<std::string, std::string> sections = {
        {"Temporary", "EditorVersion=2.0\r\nSubVersion=Professional\r\nBuildNo=14\r\n"},
        {"Groups", "0=\"G\"\r\n"}, {"DestFiles", "0=\"{app}\\a.exe\"\r\n"}, {"DllFuncNames", "0=\"Run\"\r\n"}};
    for (const CompilePath &path : compileRelativePaths()) {
        const std::string value = "in\\" + std::string(path.section) + std::string(path.key) + ".x";
        sections[std::string(path.section)] +=
            path.isList() ? "0=\"" + value + "\"\r\n" : std::string(path.key) + "=" + value + "\r\n";
    }
    std::string text;
    for (const auto &[name, lines] : sections)
        text += "[" + name + "]\r\n" + lines;
    ASSERT_TRUE(createFolder(dir.file("proj")));
    ASSERT_TRUE(createFolder(dir.file("other")));
    ASSERT_TRUE(createFolder(dir.file("other/deeper")));
    const std::string first = dir.file("proj/p.wfp");
    ASSERT_TRUE(writeFile(first, text));
    controller.LoadProject(first);
    ASSERT_TRUE(shell.messages.empty()) << shell.messages[0].text;
    const std::string moved = dir.file("other/deeper/q.wfp");
    shell.saveChoices.push_back(moved);
    controller.saveAs();

    const TMemIniStore before(first);
    const TMemIniStore after(moved);
    for (const CompilePath &path : compileRelativePaths()) {
        const std::string key = path.isList() ? "0" : std::string(path.key);
        const std::string value = after.ReadString(path.section, key, "");
        if (path.use == CompilePathUse::OutputFolder) {
            // The setup is written beside the project wherever it is.
            EXPECT_EQ(value, before.ReadString(path.section, key, "")) << key;
            continue;
        }
        EXPECT_EQ(ExpandRelativePath(value, dir.file("other/deeper")),
                  ExpandRelativePath(before.ReadString(path.section, key, ""), dir.file("proj")))
            << path.section << " " << key << ": " << value;
        EXPECT_EQ(value.find('/'), std::string::npos) << path.section << " " << key << ": " << value;
    }
    EXPECT_EQ(controller.ProjectFolder(), dir.file("other/deeper/"));
}

TEST_F(ProjectControllerTest, AProjectOpenedOrSavedThroughALinkIsTheFileItEndsAt)
{
    // current.wfp -> releases/1.2/app.wfp, with its files beside it.
    ASSERT_TRUE(createFolder(dir.file("releases")));
    ASSERT_TRUE(createFolder(dir.file("releases/1.2")));
    ASSERT_TRUE(createFolder(dir.file("releases/2.0")));
    const std::string real = dir.file("releases/1.2/app.wfp");
    ASSERT_TRUE(
        writeFile(real, std::string(kCurrentLayout) + "ReadmeFile=files\\readme.txt\r\n[General]\r\nAppName=R\r\n"));
    ASSERT_EQ(::symlink("releases/1.2/app.wfp", dir.file("current.wfp").c_str()), 0);
    controller.LoadProject(dir.file("current.wfp"));
    EXPECT_EQ(controller.ProjectFileName(), real);
    EXPECT_EQ(controller.ProjectFolder(), dir.file("releases/1.2/"));

    // Saved as a link to another release: the file the link names is
    // written, its paths relative to that file's folder, and the link stays.
    const std::string next = dir.file("releases/2.0/app.wfp");
    ASSERT_TRUE(writeFile(next, ""));
    ASSERT_EQ(::symlink("releases/2.0/app.wfp", dir.file("next.wfp").c_str()), 0);
    shell.saveChoices.push_back(dir.file("next.wfp"));
    controller.saveAs();
    EXPECT_EQ(controller.ProjectFileName(), next);
    EXPECT_EQ(controller.ProjectFolder(), dir.file("releases/2.0/"));
    const std::string readme = TMemIniStore(next).ReadString("Temporary", "ReadmeFile", "");
    EXPECT_EQ(ExpandRelativePath(readme, dir.file("releases/2.0")), dir.file("releases/1.2/files/readme.txt"))
        << readme;
    struct stat st {};
    ASSERT_EQ(::lstat(dir.file("next.wfp").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(ProjectControllerTest, AProjectOpenedThroughDotDotKeepsAPlainFolder)
{
    ASSERT_TRUE(createFolder(dir.file("x")));
    ASSERT_TRUE(createFolder(dir.file("proj")));
    const std::string plain = dir.file("proj/p.wfp");
    ASSERT_TRUE(writeFile(plain, std::string(kCurrentLayout) +
                                     "[Groups]\r\n0=\"G\"\r\n[SourceFiles]\r\n0=\"bin\\tool.exe\"\r\n"
                                     "1=\"..\\..\\up\\x.exe\"\r\n[DestFiles]\r\n0=\"{app}\\tool.exe\"\r\n"
                                     "1=\"{app}\\x.exe\"\r\n[PatchedFiles]\r\n0=\"old\\tool.exe\"\r\n"));
    controller.LoadProject(dir.file("x/../proj/./p.wfp"));
    EXPECT_EQ(controller.ProjectFileName(), plain);
    EXPECT_EQ(controller.ProjectFolder(), dir.file("proj/"));
    EXPECT_EQ(shell.recentFiles, std::vector<std::string>{plain});
    EXPECT_EQ(shell.title, "Brindlewharf Professional - " + plain);

    // A plain save keeps the stored relative paths as they stand.
    controller.SetModified(true);
    controller.save();
    const std::string saved = read(plain);
    for (const char *line : {"0=\"bin\\tool.exe\"", "1=\"..\\..\\up\\x.exe\"", "0=\"old\\tool.exe\""})
        EXPECT_NE(saved.find(line), std::string::npos) << line;

    // Saved beside the folder it was opened from, the paths still name
    // their files, in their own style.
    shell.saveChoices.push_back(dir.file("x/q.wfp"));
    controller.saveAs();
    const TMemIniStore moved(dir.file("x/q.wfp"));
    EXPECT_EQ(moved.ReadString("SourceFiles", "0", ""), "..\\proj\\bin\\tool.exe");
    EXPECT_EQ(moved.ReadString("SourceFiles", "1", ""), "..\\..\\up\\x.exe");
    EXPECT_EQ(moved.ReadString("PatchedFiles", "0", ""), "..\\proj\\old\\tool.exe");

    // Where a linked folder makes ".." lead elsewhere than the text says,
    // the folder's real path is taken.
    ASSERT_TRUE(createFolder(dir.file("deep")));
    ASSERT_TRUE(createFolder(dir.file("deep/inner")));
    ASSERT_TRUE(createFolder(dir.file("deep/proj")));
    ASSERT_TRUE(writeFile(dir.file("deep/proj/p.wfp"), kCurrentLayout));
    ASSERT_EQ(::symlink(dir.file("deep/inner").c_str(), dir.file("lnk").c_str()), 0);
    controller.LoadProject(dir.file("lnk/../proj/p.wfp"));
    EXPECT_EQ(controller.ProjectFileName(), canonicalPath(dir.file("deep/proj")).value_or("?") + "/p.wfp");
}

namespace {

// A project of many files, so that its text outgrows a small disk.
void addFiles(Project &project, int count)
{
    GroupEntry group;
    group.Name = "Many";
    for (int i = 0; i < count; ++i) {
        FileEntry file;
        file.Source = "files\\payload" + std::to_string(i) + ".bin";
        file.Relative = true;
        file.Destination = "{app}\\data";
        file.Description = "payload" + std::to_string(i) + ".bin";
        group.Files.push_back(file);
    }
    project.Groups.push_back(group);
}

class ProjectSaveTest : public ProjectControllerTest {
protected:
    // Copies of projects written in place go to this test's state folder.
    ScopedEnv state{"XDG_STATE_HOME", dir.file("state")};
};

} // namespace

TEST_F(ProjectSaveTest, AFullDiskLeavesTheProjectAsItWasAndSaysWhy)
{
    SmallFileSystem disk(dir.file("disk"), "size=512k");
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason();
    const std::string project = saveFirst("disk/p.wfp");
    const std::string before = read(project);
    disk.fillSpace();
    addFiles(controller.document(), 3000);
    controller.SetModified(true);
    for (const bool linked : {false, true}) {
        // With a second name the file is written in place, after a copy.
        if (linked) {
            ASSERT_TRUE(deleteFile(disk.folder() + "/filler"));
            ASSERT_EQ(::link(project.c_str(), dir.file("disk/twin.wfp").c_str()), 0);
            disk.fillSpace();
        }
        try {
            controller.save();
            ADD_FAILURE() << "saved on a full disk";
        } catch (const EFCreateError &e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("Cannot create file \"" + project + "\": "), std::string::npos) << message;
            EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
            EXPECT_NE(message.find("the file is as it was"), std::string::npos) << message;
        }
        EXPECT_EQ(read(project), before) << linked;
        EXPECT_TRUE(controller.ProjectModified());
    }
    EXPECT_EQ(listFolder(disk.folder()).size(), 3u);  // the project, its twin, the filler
    EXPECT_TRUE(listFolder(dir.file("state/brindlewharf/unfinished-saves")).empty());

    // With room again the save reaches both names.
    ASSERT_TRUE(deleteFile(disk.folder() + "/filler"));
    controller.save();
    EXPECT_EQ(read(dir.file("disk/twin.wfp")), read(project));
    EXPECT_NE(read(project).find("payload2999.bin"), std::string::npos);
    EXPECT_FALSE(controller.ProjectModified());
}

TEST_F(ProjectSaveTest, OpeningAProjectWhoseSaveWasCutOffSaysSoAndNamesTheCopy)
{
    fillDocument();
    const std::string project = saveFirst("p.wfp");
    const std::string before = read(project);
    ASSERT_EQ(::link(project.c_str(), dir.file("twin.wfp").c_str()), 0);  // so it is written in place
    std::string longer = before + "[Padding]\r\n";
    for (int i = 0; longer.size() < 200000; ++i)
        longer += "Line" + std::to_string(i) + "=" + std::string(60, 'p') + "\r\n";
    // The save is killed as it is about to write its second piece.
    const ChildOutcome killed = runInChild([&] {
        ReplaceHooks hooks;
        hooks.beforeWrite = [](ReplaceWay, std::size_t written) {
            if (written > 0)
                ::raise(SIGKILL);
        };
        return replaceFile(project, longer, hooks).reason;
    });
    ASSERT_EQ(killed.signal, SIGKILL) << killed.output;
    EXPECT_NE(read(project), before);

    shell.messages.clear();
    controller.LoadProject(project);
    ASSERT_EQ(shell.messages.size(), 1u);
    const FakeShell::Message &notice = shell.messages[0];
    EXPECT_EQ(notice.kind, MessageKind::Warning);
    EXPECT_EQ(notice.buttons, MessageButtons::Ok);
    const std::string copies = dir.file("state/brindlewharf/unfinished-saves");
    const std::vector<FolderEntry> kept = listFolder(copies);
    ASSERT_EQ(kept.size(), 1u);
    const std::string copy = copies + "/" + kept[0].name;
    EXPECT_EQ(notice.text.rfind("A save of " + project + " was cut off before it finished", 0), 0u) << notice.text;
    EXPECT_NE(notice.text.find(copy), std::string::npos) << notice.text;
    EXPECT_EQ(read(copy), before);
    EXPECT_EQ(controller.document().General.AppName, "Harbour");
}

TEST_F(ProjectSaveTest, AHardLinkedProjectIsSavedUnderEveryName)
{
    const std::string project = saveFirst("p.wfp");
    const std::string twin = dir.file("twin.wfp");
    ASSERT_EQ(::link(project.c_str(), twin.c_str()), 0);
    fillDocument();
    controller.save();
    EXPECT_NE(read(twin).find("AppName=Harbour\r\n"), std::string::npos);
    EXPECT_EQ(read(twin), read(project));
    EXPECT_TRUE(listFolder(dir.file("state/brindlewharf/unfinished-saves")).empty());
}

TEST_F(ProjectControllerTest, AnEndOfTextMarkAtTheEndIsNoLine)
{
    for (const std::string &end : {std::string("\x1A"), std::string("\r\n\x1A\r\n"), std::string("\0\0\0", 3)}) {
        const std::string path = dir.file("eot.wfp");
        ASSERT_TRUE(writeFile(path, std::string(kCurrentLayout) + "[General]\r\nAppName=Eot\r\n[Extra]\r\nKey=1" + end));
        shell.messages.clear();
        controller.LoadProject(path);
        EXPECT_TRUE(shell.messages.empty());
        EXPECT_FALSE(controller.ProjectModified());
        controller.SetModified(true);
        controller.save();
        const std::string saved = read(path);
        EXPECT_EQ(saved.rfind("[Extra]\r\nKey=1\r\n\r\n[Temporary]\r\n", 0), 0u) << saved.substr(0, 40);
        EXPECT_EQ(saved.find_first_of(std::string("\x1A\0", 2)), std::string::npos);
    }
}

TEST_F(ProjectControllerTest, SaveAsWritesBareNamesWithTheProjectsSeparator)
{
    ASSERT_TRUE(createFolder(dir.file("proj")));
    ASSERT_TRUE(createFolder(dir.file("other")));
    ASSERT_TRUE(createFolder(dir.file("other/deeper")));
    struct Row {
        const char *label;
        const char *sources;  // SourceFiles lines before the bare name's
        const char *expected;
    } rows[] = {
        {"a project of \"\\\" paths", "0=\"files\\a.txt\"\r\n", "..\\..\\proj\\readme.txt"},
        {"a project with no path of a folder", "0=\"a.txt\"\r\n", "..\\..\\proj\\readme.txt"},
        {"a project of \"/\" paths", "0=\"files/a.txt\"\r\n", "../../proj/readme.txt"},
    };
    for (const Row &row : rows) {
        const std::string first = dir.file("proj/p.wfp");
        ASSERT_TRUE(writeFile(first, std::string(kCurrentLayout) + "ReadmeFile=readme.txt\r\n[Groups]\r\n0=\"G\"\r\n" +
                                         "[SourceFiles]\r\n" + row.sources +
                                         "1=\"readme.txt\"\r\n[DestFiles]\r\n0=\"{app}\"\r\n1=\"{app}\"\r\n"));
        controller.LoadProject(first);
        shell.saveChoices.push_back(dir.file("other/deeper/q.wfp"));
        controller.saveAs();
        const TMemIniStore moved(dir.file("other/deeper/q.wfp"));
        EXPECT_EQ(moved.ReadString("SourceFiles", "1", ""), row.expected) << row.label;
        EXPECT_EQ(moved.ReadString("Temporary", "ReadmeFile", ""), row.expected) << row.label;
    }
}

TEST_F(ProjectControllerTest, StockPagesStayStockPagesWhereverTheProgramFolderLies)
{
    // The example as it lies in the source tree: opened, it is unmodified,
    // and closing asks nothing.
    ASSERT_TRUE(createFolder(dir.file("hello")));
    const std::string example = dir.file("hello/hello.wfp");
    ASSERT_TRUE(copyFile(WHARF_EXAMPLES_DIR "/hello/hello.wfp", example));
    const std::string original = read(example);
    controller.LoadProject(example);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(controller.ProjectModified());
    EXPECT_TRUE(controller.canClose());
    EXPECT_TRUE(shell.messages.empty());
    ASSERT_FALSE(controller.document().Dialogs.empty());
    EXPECT_EQ(controller.document().Dialogs[0], programFolder + "Dialogs/welcome.ddf");
    // Its file names the pages by the program folder: a compile writes a copy.
    EXPECT_FALSE(controller.savedFileCompilesAsItStands());

    // Saved, it names them as it did, and nothing of this program folder.
    controller.SetModified(true);
    controller.save();
    const std::string saved = read(example);
    EXPECT_EQ(saved.find(programFolder), std::string::npos) << saved;
    const TMemIniStore after(example);
    TMemIniStore originalStore("");
    originalStore.LoadFromBytes(original);
    EXPECT_EQ(after.ReadString("Temporary", "SubVersion", ""), "Standard");
    for (const char *section : {"Dialogs", "UninstallDialogs"}) {
        TStringList was, is;
        originalStore.ReadSectionValues(section, was);
        after.ReadSectionValues(section, is);
        EXPECT_EQ(is, was) << section;
    }

    // Another program folder, somewhere else, takes them from its own.
    FakeShell otherShell;
    const std::string otherProgram = dir.file("moved/program") + "/";
    ProjectController moved(otherProgram, otherShell, otherShell, otherShell, &otherShell);
    moved.LoadProject(example);
    EXPECT_FALSE(moved.ProjectModified());
    EXPECT_EQ(moved.document().Dialogs[0], otherProgram + "Dialogs/welcome.ddf");

    // A page of the author's own among them: every page by its full path.
    controller.document().Dialogs.push_back(dir.file("hello/mine.ddf"));
    controller.SetModified(true);
    controller.save();
    const TMemIniStore own(example);
    EXPECT_EQ(own.ReadString("Temporary", "SubVersion", ""), "Professional");
    EXPECT_EQ(own.ReadString("Dialogs", "0", ""), programFolder + "Dialogs/welcome.ddf");
    EXPECT_EQ(own.ReadString("Dialogs", "8", ""), dir.file("hello/mine.ddf"));

    // The compile's copy names every page by its path, as the compiler
    // takes it, and leaves the project's file as it is.
    controller.document().Dialogs.pop_back();
    ASSERT_TRUE(controller.SaveProject(dir.file("wftemp.tmp")));
    const TMemIniStore scratch(dir.file("wftemp.tmp"));
    EXPECT_EQ(scratch.ReadString("Temporary", "SubVersion", ""), "Professional");
    EXPECT_EQ(scratch.ReadString("Dialogs", "0", ""), programFolder + "Dialogs/welcome.ddf");
}
