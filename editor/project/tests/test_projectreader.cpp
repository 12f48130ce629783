#include "projectreader.h"

#include "fakeshell.h"
#include "files.h"
#include "paths.h"
#include "projectcontroller.h"
#include "projectwriter.h"
#include "sampleproject.h"

#include <gtest/gtest.h>

using namespace wharf;
using namespace wharf::testing;

namespace {

constexpr const char *kCurrent = "[Temporary]\nEditorVersion=2.0\nSubVersion=Professional\nBuildNo=14\n";

// Reads text as a project without a window: no questions, Windows folders.
ProjectReadResult readText(const std::string &text, Project &project, FakeShell *shell = nullptr,
                           bool append = false)
{
    TMemIniStore ini("");
    ini.LoadFromBytes(text);
    ProjectReadContext context;
    context.fileName = "C:\\Setups\\p.wfp";
    context.programFolder = "C:\\Program\\";
    context.fileFolder = kSampleFolder;
    context.projectFolder = kSampleFolder;
    context.prompts = shell;
    context.append = append;
    return readProjectSections(ini, project, context);
}

std::string saved(Project project, std::string_view before = {})
{
    TMemIniStore ini("");
    ini.LoadFromBytes(before);
    ProjectWriteContext context;
    context.workDir = kSampleFolder;
    context.projectFolder = kSampleFolder;
    writeProjectSections(ini, project, context);
    return ini.SaveToBytes();
}

class ReaderFileTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string programFolder = dir.file("program") + "/";
    FakeShell shell;
    ProjectController controller{programFolder, shell, shell, shell, &shell};

    void SetUp() override { ASSERT_TRUE(createFolder(programFolder)); }

    std::string write(const std::string &name, const std::string &text)
    {
        const std::string path = dir.file(name);
        EXPECT_TRUE(writeFile(path, text));
        return path;
    }

    void writeTemplate(const std::string &appName)
    {
        ASSERT_TRUE(writeFile(controller.templatePath(),
                              std::string(kCurrent) + "[General]\nAppName=" + appName + "\n"));
    }
};

} // namespace

TEST(ProjectReaderTest, SaveOfALoadedFileGivesTheSameBytes)
{
    // The rich fixture holds sections the editor does not know; a save of
    // what was read keeps them and writes everything else as it was.
    const std::string file = fixture("rich.wfp");
    TMemIniStore ini("");
    ini.LoadFromBytes(file);
    Project project;
    ProjectReadContext context;
    context.fileFolder = kSampleFolder;
    context.projectFolder = kSampleFolder;
    const ProjectReadResult result = readProjectSections(ini, project, context);
    EXPECT_TRUE(result.unchanged);
    EXPECT_TRUE(result.warnings.empty());
    const Project read = project;
    ProjectWriteContext write;
    write.workDir = kSampleFolder;
    write.projectFolder = kSampleFolder;
    writeProjectSections(ini, project, write);
    EXPECT_EQ(ini.SaveToBytes(), file);

    // The document read is the document that was saved, as the save left it.
    Project expected = richSample();
    TMemIniStore scratch("");
    writeProjectSections(scratch, expected, write);
    EXPECT_TRUE(read == expected);
}

TEST(ProjectReaderTest, SaveReopenSaveGivesTheSameBytes)
{
    struct Case {
        const char *label;
        Project document;
    };
    std::vector<Case> cases;
    cases.push_back({"the rich sample", richSample()});
    {
        // An external file and a plain additional file of the same name: the
        // external one must come back as the external one.
        Project p;
        p.AdditionalFiles = {"C:\\Plain\\notes.txt", "C:\\Plain\\other.txt"};
        GroupEntry g;
        g.Name = "G";
        FileEntry ext;
        ext.Source = "C:\\Beside\\notes.txt";
        ext.External = true;
        ext.Relative = false;
        ext.Destination = "{app}\\notes.txt";
        ext.Description = "notes.txt";
        FileEntry second = ext;
        second.Source = "C:\\Second\\NOTES.txt";
        g.Files = {ext, second};
        p.Groups = {g};
        cases.push_back({"same-named external and additional files", p});
    }
    {
        // A key with a mask of its own that also holds values.
        Project p;
        RegistryNode &key = addKey(p.Registry.roots()[2].Children, "Masked");
        key.Entry.TargetSystems = 63;
        key.Entry.Uninstall = true;
        addValue(key.Children, "V", "String", "x");
        RegistryNode &sub = addKey(key.Children, "Sub");
        sub.Entry.TargetSystems = 4194241;
        addValue(sub.Children, kEmpty.data(), "String", "d");
        cases.push_back({"target-system masks of keys with values", p});
    }
    {
        // Values after keys, below a root and below a key, keep their places.
        Project p;
        auto &root = p.Registry.roots()[1].Children;
        addValue(root, "First", "String", "1");
        RegistryNode &key = addKey(root, "Key");
        addKey(key.Children, "Sub");
        addValue(key.Children, "AfterSub", "String", "2");
        addValue(root, "AfterKey", "DWORD", "$00000001");
        cases.push_back({"values after keys", p});
    }
    for (Case &c : cases) {
        const std::string first = saved(c.document);
        Project read;
        const ProjectReadResult result = readText(first, read);
        EXPECT_TRUE(result.unchanged) << c.label;
        EXPECT_TRUE(result.warnings.empty()) << c.label;
        EXPECT_EQ(saved(read), first) << c.label;
        Project asSaved = c.document;
        TMemIniStore scratch("");
        ProjectWriteContext write;
        write.workDir = kSampleFolder;
        write.projectFolder = kSampleFolder;
        writeProjectSections(scratch, asSaved, write);
        EXPECT_TRUE(read == asSaved) << c.label;
    }
}

TEST(ProjectReaderTest, ReadsThatChangeTheProjectMarkItAndSaySo)
{
    struct Case {
        const char *label;
        std::string text;
        const char *warning;  // a part of the one warning
    } cases[] = {
        {"a section held twice", std::string(kCurrent) + "[Groups]\n0=\"A\"\n[DestFiles]\n[groups]\n0=\"B\"\n"
                                                         "[Groups]\n0=\"C\"\n",
         "[groups]"},
        {"groups of the same name", std::string(kCurrent) + "[Groups]\n0=\"A\"\n1=\"a\"\n", "\"a\" became \"a2\""},
        {"a file naming no group", std::string(kCurrent) + "[SourceFiles]\n0=\"x.exe\"\n", "Group 1"},
        {"an unknown registry root", std::string(kCurrent) + "[RootKeys]\n0=HKEY_NOWHERE\n", "HKEY_NOWHERE"},
        {"a destination too long", std::string(kCurrent) + "[Groups]\n0=\"G\"\n[SourceFiles]\n0=\"a.exe\"\n" +
                                       "[DestFiles]\n0=\"" + std::string(300, 'd') + "\"\n",
         "cut: [DestFiles] 0."},
        {"registry texts too long", std::string(kCurrent) + "[RootKeys]\n0=HKEY_USERS\n1=HKEY_USERS\n" +
                                        "[RegValueNames]\n0=\"V\"\n1=\"W\"\n[RegValues]\n1=\"" +
                                        std::string(256, 'v') + "\"\n[RegValueTypes]\n0=ExpandedString\n",
         "cut: [RegValueTypes] 0, [RegValues] 1."},
    };
    for (const Case &c : cases) {
        Project project;
        const ProjectReadResult result = readText(c.text, project);
        EXPECT_FALSE(result.unchanged) << c.label;
        ASSERT_EQ(result.warnings.size(), 1u) << c.label;
        EXPECT_NE(result.warnings[0].find(c.warning), std::string::npos) << c.label << ": " << result.warnings[0];
    }
}

TEST(ProjectReaderTest, EveryAbsentKeyHasItsDefault)
{
    Project project;
    project.General.AppName = "left over";
    const ProjectReadResult result = readText(kCurrent, project);
    EXPECT_TRUE(project == Project());
    EXPECT_TRUE(result.unchanged);

    // Per-entry defaults where only the list keys are present.
    const std::string text = std::string(kCurrent) +
                             "[Groups]\n0=\"G\"\n[SourceFiles]\n0=\"C:\\Src\\a.exe\"\n1=\"sub\\b.exe\"\n"
                             "[IconTitles]\n0=\"Link\"\n[IconTargets]\n0=\"{app}\\bin\\a.exe\"\n"
                             "[RootKeys]\n0=HKEY_LOCAL_MACHINE\n[RegKeyNames]\n0=\"K\"\n[RegValueNames]\n0=\"V\"\n"
                             "[IniFileNames]\n0=\"x.ini\"\n[Extensions]\n0=\"p.exe\"\n[DllExtensions]\n0=\"d.dll\"\n";
    readText(text, project);
    const FileEntry &a = project.Groups[0].Files[0];
    EXPECT_EQ(a.Description, "a.exe");
    EXPECT_FALSE(a.Relative);
    EXPECT_TRUE(a.Overwrite && a.Uninstall && !a.CompareTimeStamps && !a.External);
    EXPECT_EQ(a.TargetSystems, kAllTargetSystems);
    EXPECT_TRUE(project.Groups[0].Files[1].Relative);
    const ShortcutEntry &s = project.Shortcuts[0];
    EXPECT_EQ(s.Path, "{prg}");
    EXPECT_EQ(s.WorkDir, "{app}\\bin");
    EXPECT_EQ(s.Location, "{app}\\bin\\a.exe");
    const RegistryNode &key = project.Registry.roots()[2].Children[0];
    EXPECT_TRUE(key.Entry.Create);
    ASSERT_EQ(key.Children.size(), 1u);
    EXPECT_EQ(key.Children[0].Entry, RegistryEntry());
    EXPECT_EQ(project.IniEntries[0], (IniEntry{"x.ini", "", "", ""}));
    EXPECT_TRUE(project.ExternalPrograms[0].Wait);
    EXPECT_EQ(project.DllCalls[0].ExecuteAfter, 1);
}

TEST(ProjectReaderTest, LongTextsAreCutAndCountsBounded)
{
    const std::string longText(300, 'x');
    const std::string text = std::string(kCurrent) + "[Scripts]\nInitScriptCount=1000000000\nInitScriptLine0=a\n" +
                             "FinalScriptCount=-3\nFinalScriptLine0=b\n" +
                             "InstallFilesCount=9\nInstallFilesLine0=c\nInstallFilesLine2=e\n" +
                             "[Groups]\n0=\"G\"\n[SourceFiles]\n0=\"s.exe\"\n[DestFiles]\n0=\"" + longText + "\"\n" +
                             "[RootKeys]\n0=HKEY_USERS\n[RegValueNames]\n0=\"V\"\n[RegValueTypes]\n0=ExpandedString\n" +
                             "[RegValues]\n0=\"" + longText + "\"\n";
    Project project;
    readText(text, project);
    // No more lines than up to the last line key present; a gap reads empty.
    EXPECT_EQ(project.InitScript, std::vector<std::string>{"a"});
    EXPECT_TRUE(project.FinalScript.empty());
    EXPECT_EQ(project.InstallScript, (std::vector<std::string>{"c", "", "e"}));
    EXPECT_EQ(project.Groups[0].Files[0].Destination.size(), 255u);
    const RegistryEntry &value = project.Registry.roots()[3].Children[0].Entry;
    EXPECT_EQ(value.ValueType, "ExpandedSt");
    EXPECT_EQ(value.Data.size(), 255u);
}

TEST(ProjectReaderTest, DuplicateGroupNamesGetNumbers)
{
    const std::string text = std::string(kCurrent) +
                             "[Groups]\n0=\"Main\"\n1=\"Main\"\n2=\"Docs\"\n[GroupRequired]\n1=1\n"
                             "[SourceFiles]\n0=\"a.exe\"\n1=\"b.exe\"\n[FileInGroups]\n1=2\n"
                             "[InstTypes]\n0=\"Full\"\n1=\"full\"\n[GroupsInType]\n0=|0||2|\n1=|1|\n";
    Project project;
    readText(text, project);
    ASSERT_EQ(project.Groups.size(), 3u);
    EXPECT_EQ(project.Groups[1].Name, "Main2");
    EXPECT_TRUE(project.Groups[1].Required);
    EXPECT_EQ(project.Groups[2].Files[0].Source, "b.exe");
    ASSERT_EQ(project.InstallTypes.size(), 1u);  // names are unique without regard to case

    // Appending the same file: the groups go behind the open ones, with new
    // numbers; the files follow their groups and the types their groups.
    readText(std::string(kCurrent) + "[Groups]\n0=\"Main\"\n1=\"Extra\"\n[SourceFiles]\n0=\"c.exe\"\n"
                                     "[FileInGroups]\n0=1\n[InstTypes]\n0=\"Full\"\n1=\"Appended\"\n"
                                     "[GroupsInType]\n0=|0|\n1=|0||1|\n",
             project, nullptr, true);
    ASSERT_EQ(project.Groups.size(), 5u);
    EXPECT_EQ(project.Groups[3].Name, "Main3");
    EXPECT_EQ(project.Groups[4].Name, "Extra");
    ASSERT_EQ(project.Groups[4].Files.size(), 1u);
    EXPECT_EQ(project.Groups[4].Files[0].GroupIndex, 4);
    ASSERT_EQ(project.InstallTypes.size(), 2u);
    EXPECT_EQ(project.InstallTypes[0].GroupsInType, "|0||2|");
    EXPECT_EQ(project.InstallTypes[1].GroupsInType, "|3||4|");
}

TEST(ProjectReaderTest, FilesNamingNoGroupStayInTheProject)
{
    Project project;
    FakeShell shell;
    ProjectReadResult result = readText(std::string(kCurrent) + "[SourceFiles]\n0=\"a.exe\"\n", project, &shell);
    ASSERT_EQ(project.Groups.size(), 1u);
    EXPECT_EQ(project.Groups[0].Files[0].Source, "a.exe");
    EXPECT_EQ(result.warnings.size(), 1u);

    result = readText(std::string(kCurrent) + "[Groups]\n0=\"A\"\n1=\"B\"\n[SourceFiles]\n0=\"a.exe\"\n1=\"b.exe\"\n"
                                              "[FileInGroups]\n0=7\n1=-1\n",
                      project);
    ASSERT_EQ(project.Groups.size(), 2u);
    EXPECT_EQ(project.Groups[1].Files.size(), 2u);
    EXPECT_EQ(project.Groups[1].Files[0].GroupIndex, 1);
    EXPECT_EQ(result.warnings.size(), 1u);
}

TEST(ProjectReaderTest, ExternalFilesComeBackFromTheAdditionalFiles)
{
    const std::string text = std::string(kCurrent) +
                             "[AdditionalFiles]\n0=\"C:\\Extras\\other.exe\"\n1=\"{app}\\readme.txt\"\n"
                             "2=\"C:\\Docs\\README.TXT\"\n3=\"D:\\readme.txt\"\n"
                             "[Groups]\n0=\"G\"\n[SourceFiles]\n0=\"{src}\\readme.txt\"\n1=\"{src}\\readme.txt\"\n"
                             "2=\"{src}\\missing.txt\"\n3=\"{app}\\readme.txt\"\n";
    Project project;
    readText(text, project);
    const auto &files = project.Groups[0].Files;
    EXPECT_EQ(files[0].Source, "C:\\Docs\\README.TXT");
    EXPECT_TRUE(files[0].External);
    EXPECT_FALSE(files[0].Relative);
    EXPECT_EQ(files[0].Description, "readme.txt");
    EXPECT_EQ(files[1].Source, "D:\\readme.txt");
    EXPECT_EQ(files[2].Source, "{src}\\missing.txt");
    EXPECT_FALSE(files[2].External);
    EXPECT_FALSE(files[3].External);
    // A path with a variable is never taken: it stays an additional file.
    EXPECT_EQ(project.AdditionalFiles, (std::vector<std::string>{"C:\\Extras\\other.exe", "{app}\\readme.txt"}));

    // Appended: only the appended file's own additional files are looked at.
    project.AdditionalFiles = {"C:\\Open\\readme.txt"};
    readText(std::string(kCurrent) + "[AdditionalFiles]\n0=\"C:\\Appended\\readme.txt\"\n"
                                     "[Groups]\n0=\"H\"\n[SourceFiles]\n0=\"{src}\\readme.txt\"\n",
             project, nullptr, true);
    EXPECT_EQ(project.Groups.back().Files[0].Source, "C:\\Appended\\readme.txt");
    EXPECT_EQ(project.AdditionalFiles, std::vector<std::string>{"C:\\Open\\readme.txt"});
}

TEST(ProjectReaderTest, RegistryEntriesAsWritten)
{
    // A default value with empty data is a value; a key-only entry keeps its
    // mask; roots are found without regard to case; an unknown root is
    // skipped and reported.
    Project project;
    addValue(project.Registry.roots()[1].Children, "{emp}", "String", "{emp}");
    RegistryNode &key = addKey(project.Registry.roots()[2].Children, "Only");
    key.Entry.TargetSystems = 63;
    key.Entry.Uninstall = true;
    TMemIniStore ini("");
    ini.LoadFromBytes(saved(project));
    ini.WriteString("RootKeys", "2", "hkey_users");
    ini.WriteString("RegKeyNames", "2", "\"Lower\"");
    ini.WriteString("RootKeys", "3", "HKEY_ELSEWHERE");
    ini.WriteString("RegKeyNames", "3", "\"Lost\"");
    // Data written empty is the empty marker, as a save would write it.
    ini.WriteString("RootKeys", "4", "HKEY_CURRENT_CONFIG");
    ini.WriteString("RegValueNames", "4", "\"V\"");
    ini.WriteString("RegValues", "4", "");

    Project reread;
    const ProjectReadResult result = readText(ini.SaveToBytes(), reread);
    const auto &roots = reread.Registry.roots();
    ASSERT_EQ(roots[1].Children.size(), 1u);
    EXPECT_EQ(roots[1].Children[0].Text, "{emp}");
    EXPECT_FALSE(roots[1].Children[0].isKey());
    ASSERT_EQ(roots[2].Children.size(), 1u);
    EXPECT_EQ(roots[2].Children[0].Entry.TargetSystems, 63);
    EXPECT_TRUE(roots[2].Children[0].Entry.Uninstall);
    ASSERT_EQ(roots[3].Children.size(), 1u);
    EXPECT_EQ(roots[3].Children[0].Text, "Lower");
    EXPECT_TRUE(roots[5].Children.empty());
    ASSERT_EQ(roots[4].Children.size(), 1u);
    EXPECT_EQ(roots[4].Children[0].Entry.Data, "{emp}");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("HKEY_ELSEWHERE"), std::string::npos);
}

TEST(ProjectReaderTest, MasksOfOlderBuildsAreConverted)
{
    struct Case {
        int build;
        int32_t stored;
        int32_t expected;
    } cases[] = {
        {14, 2048, 2048},       {15, 1025, 1025},       {13, 4194304, 4194304}, {9, 1024, 4194304},
        {11, 1024, 2048},       {12, 2048, 4194304},    {13, 2048, 32768},      {13, 4096, 4194304},
        {13, 513, 1537},        {12, 1025, 30721},      {10, 0, 131072},
    };
    const char *sections[] = {"InstallOnSystem", "IconTargetOS", "RegTargetOS", "IniTargetOS", "ExtTargetOS"};
    for (const Case &c : cases) {
        const std::string value = std::to_string(c.stored);
        std::string text = "[Temporary]\nEditorVersion=2.0\nSubVersion=Professional\nBuildNo=" +
                           std::to_string(c.build) + "\n[General]\nSystem=" + value + "\n" +
                           "[Groups]\n0=\"G\"\n[SourceFiles]\n0=\"a\"\n[IconTitles]\n0=\"t\"\n[RootKeys]\n"
                           "0=HKEY_USERS\n[RegValueNames]\n0=\"v\"\n[IniFileNames]\n0=\"i\"\n[Extensions]\n0=\"e\"\n";
        for (const char *section : sections)
            text += std::string("[") + section + "]\n0=" + value + "\n";
        Project p;
        FakeShell shell;
        readText(text, p, &shell);
        const std::string label = "build " + std::to_string(c.build) + " value " + value;
        EXPECT_EQ(p.General.System, c.expected) << label;
        EXPECT_EQ(p.Groups[0].Files[0].TargetSystems, c.expected) << label;
        EXPECT_EQ(p.Shortcuts[0].TargetSystems, c.expected) << label;
        EXPECT_EQ(p.Registry.roots()[3].Children[0].Entry.TargetSystems, c.expected) << label;
        EXPECT_EQ(p.IniEntries[0].TargetSystems, c.expected) << label;
        EXPECT_EQ(p.ExternalPrograms[0].TargetSystems, c.expected) << label;
        // Builds before 10 are told about; later ones are not.
        EXPECT_EQ(shell.messages.size(), c.build < 10 ? 1u : 0u) << label;
    }
}

TEST(ProjectReaderTest, ImportOfTheOldLayout)
{
    const std::string text = "[Temporary]\nEditorVersion=1.0\nUseUninst=0\nPassword=old secret\n"
                             "CompressionLevel=2\nOutputType=1\n"
                             "[Dialogs]\nPasswordDialog=1\nLicenseDialog=0\nCustom=0\nConfigOverview=0\n"
                             "[LanguageFiles]\n0=\"C:\\Old\\english.wfl\"\n"
                             "[Groups]\n0=\"G\"\n[SourceFiles]\n0=\"a\"\n1=\"b\"\n2=\"c\"\n3=\"d\"\n"
                             "[InstallOnSystem]\n0=WINNT\n1=ALL\n2=all\n3=WIN95\n"
                             "[DllExtensions]\n0=\"d.dll\"\n1=\"e.dll\"\n[DllWhenExecute]\n0=2\n1=x\n";
    FakeShell shell;
    shell.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No};
    Project project;
    const ProjectReadResult result = readText(text, project, &shell);
    ASSERT_EQ(shell.messages.size(), 3u);
    EXPECT_EQ(shell.messages[0].text.rfind("This file was created with Brindlewharf 1.0.", 0), 0u);
    EXPECT_EQ(shell.messages[1].text.rfind("This file was created with a Brindlewharf 2.0 release prior", 0), 0u);
    EXPECT_EQ(shell.messages[2].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(result.unchanged);

    const GeneralSettings &g = project.General;
    EXPECT_TRUE(g.RequirePassword);
    EXPECT_FALSE(g.Uninstaller);
    EXPECT_EQ(g.Password, "old secret");
    EXPECT_FALSE(g.CustomSetup);
    EXPECT_EQ(g.CompressionLevel, 8);
    EXPECT_EQ(g.OutputType, 2);
    EXPECT_EQ(project.Dialogs,
              (std::vector<std::string>{"C:\\Program\\Dialogs\\welcome.ddf", "C:\\Program\\Dialogs\\readme file.ddf",
                                        "C:\\Program\\Dialogs\\select destination.ddf",
                                        "C:\\Program\\Dialogs\\select program group.ddf",
                                        "C:\\Program\\Dialogs\\select installation type.ddf",
                                        "C:\\Program\\Dialogs\\user information.ddf",
                                        "C:\\Program\\Dialogs\\installation progress.ddf",
                                        "C:\\Program\\Dialogs\\setup complete.ddf"}));
    EXPECT_EQ(project.UninstallDialogs,
              (std::vector<std::string>{"C:\\Program\\Dialogs\\uninstaller.ddf",
                                        "C:\\Program\\Dialogs\\installation progress.ddf",
                                        "C:\\Program\\Dialogs\\uninstall finished.ddf"}));
    EXPECT_EQ(project.LanguageFiles, std::vector<std::string>{"C:\\Program\\default.wfl"});
    const auto &files = project.Groups[0].Files;
    EXPECT_EQ(files[0].TargetSystems, 4194241);
    EXPECT_EQ(files[1].TargetSystems, 4194304);
    EXPECT_EQ(files[2].TargetSystems, 63);
    EXPECT_EQ(files[3].TargetSystems, 63);
    EXPECT_TRUE(files[0].CompareTimeStamps);  // old builds compared time stamps by default
    EXPECT_EQ(project.DllCalls[0].ExecuteAfter, 3);
    EXPECT_EQ(project.DllCalls[1].ExecuteAfter, 1);

    // Keeping the old language files, and the swapped output types.
    shell.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Yes};
    readText("[Temporary]\nEditorVersion=1.0\nOutputType=2\n[LanguageFiles]\n0=\"C:\\Old\\english.wfl\"\n",
             project, &shell);
    EXPECT_EQ(project.LanguageFiles, std::vector<std::string>{"C:\\Old\\english.wfl"});
    EXPECT_EQ(project.General.OutputType, 1);
    EXPECT_TRUE(project.General.CustomSetup);
}

TEST(ProjectReaderTest, OtherEditionsTakeDialogsFromTheProgramFolder)
{
    Project project;
    readText("[Temporary]\nEditorVersion=2.0\nSubVersion=Standard\nBuildNo=14\n"
             "[Dialogs]\n0=\"D:\\Mine\\welcome.ddf\"\n[UninstallDialogs]\n0=\"bye.ddf\"\n",
             project);
    EXPECT_EQ(project.Dialogs, std::vector<std::string>{"C:\\Program\\Dialogs\\welcome.ddf"});
    EXPECT_EQ(project.UninstallDialogs, std::vector<std::string>{"C:\\Program\\Dialogs\\bye.ddf"});
}

TEST(ProjectReaderTest, WhenTheReadLeavesTheProjectUnmodified)
{
    struct Case {
        const char *version;
        const char *subVersion;
        int build;
        int32_t system;
        bool unchanged;
    } cases[] = {
        {"2.0", "Professional", 14, 4194304, true}, {"2.0", "Professional", 14, 63, true},
        {"2.0", "Professional", 14, 2048, false},   {"2.0", "Professional", 12, 2048, false},
        {"2.0", "Professional", 13, 4194304, false}, {"2.0", "Professional", 13, 63, true},
        {"2", "Professional", 14, 4194304, false},  {"2.0", "Standard", 14, 4194304, true},
        {"2.0", "Standard", 13, 4194304, false},     {"2.0", "Personal", 14, 4194304, false},
    };
    for (const Case &c : cases) {
        FakeShell shell;
        Project project;
        const ProjectReadResult result =
            readText(std::string("[Temporary]\nEditorVersion=") + c.version + "\nSubVersion=" + c.subVersion +
                         "\nBuildNo=" + std::to_string(c.build) + "\n[General]\nSystem=" + std::to_string(c.system) +
                         "\n",
                     project, &shell);
        EXPECT_EQ(result.unchanged, c.unchanged)
            << c.version << " " << c.subVersion << " " << c.build << " " << c.system;
        EXPECT_TRUE(shell.messages.empty());  // "2" too is read without a question
    }
}

TEST(ProjectReaderTest, AppendedRelativePathsKeepTheirFiles)
{
    Project project;
    project.General.AppName = "Open";
    TMemIniStore ini("");
    ini.LoadFromBytes("[Temporary]\nEditorVersion=2.0\nSubVersion=Professional\nBuildNo=14\n"
                      "[General]\nAppName=Appended\n[Groups]\n0=\"G\"\n"
                      "[SourceFiles]\n0=\"bin\\a.exe\"\n1=\"C:\\Abs\\b.exe\"\n2=\"c.exe\"\n"
                      "[PatchedFiles]\n0=\"old\\a.exe\"\n2=\"c.old\"\n"
                      "[DataFiles]\n0=\"data\\d.dat\"\n");
    ProjectReadContext context;
    context.append = true;
    context.fileFolder = "C:\\Other\\Project\\";
    context.projectFolder = "C:\\Setups\\Harbour\\";
    readProjectSections(ini, project, context);
    EXPECT_EQ(project.General.AppName, "Open");
    // Sources and the older versions they are patched against stay relative;
    // a bare name takes the project's separator ("\\" when it has none yet).
    EXPECT_EQ(project.Groups[0].Files[0].Source, "..\\..\\Other\\Project\\bin\\a.exe");
    EXPECT_EQ(project.Groups[0].Files[0].PatchedFile, "..\\..\\Other\\Project\\old\\a.exe");
    EXPECT_EQ(project.Groups[0].Files[1].Source, "C:\\Abs\\b.exe");
    EXPECT_EQ(project.Groups[0].Files[2].Source, "..\\..\\Other\\Project\\c.exe");
    EXPECT_EQ(project.Groups[0].Files[2].PatchedFile, "..\\..\\Other\\Project\\c.old");
    EXPECT_EQ(project.DataFiles, std::vector<std::string>{"C:\\Other\\Project\\data\\d.dat"});

    // Native folders that differ only by case are two folders.
    Project native;
    context.fileFolder = "/srv/Base/";
    context.projectFolder = "/srv/base/";
    readProjectSections(ini, native, context);
    EXPECT_EQ(native.Groups[0].Files[0].Source, "..\\Base\\bin\\a.exe");
    EXPECT_EQ(native.Groups[0].Files[0].PatchedFile, "..\\Base\\old\\a.exe");
    EXPECT_EQ(native.DataFiles, std::vector<std::string>{"/srv/Base/data/d.dat"});
}

TEST(ProjectReaderTest, IconSourceOfAShortcut)
{
    ScratchFolder dir;
    ASSERT_TRUE(writeFile(dir.file("tool.exe"), "MZ"));
    Project project;
    GroupEntry group;
    group.Name = "G";
    FileEntry first;
    first.Source = "missing.exe";
    first.Destination = "{app}\\tool.exe";
    FileEntry second = first;
    second.Source = "tool.exe";
    group.Files = {first, second};
    project.Groups.push_back(group);
    const std::string folder = dir.path() + "/";
    EXPECT_EQ(entryIconSource(project, folder, "{app}\\tool.exe"), dir.file("tool.exe"));  // the last match
    EXPECT_EQ(entryIconSource(project, folder, "{APP}\\tool.exe"), std::nullopt);  // exact comparison
    project.Groups[0].Files.pop_back();
    EXPECT_EQ(entryIconSource(project, folder, "{app}\\tool.exe"), "");
}

// ---------------------------------------------------------------------------
// The read through the controller: files, questions, the project state.

TEST_F(ReaderFileTest, OpenReplacesTheProjectAndSetsItsState)
{
    controller.document().General.AppName = "Before";
    const std::string path = write("open.wfp", std::string(kCurrent) + "[General]\nAppName=Opened\n");
    shell.openChoices.push_back(path);
    controller.openProject();
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(controller.document().General.AppName, "Opened");
    EXPECT_EQ(controller.ProjectFileName(), path);
    EXPECT_EQ(controller.ProjectFolder(), dir.path() + "/");
    EXPECT_FALSE(controller.ProjectModified());
    EXPECT_EQ(shell.title, "Brindlewharf Professional - " + path);
    EXPECT_EQ(shell.recentFiles, std::vector<std::string>{path});
    EXPECT_EQ(shell.busyCaptions, std::vector<std::string>{"Reading script file..."});
    EXPECT_FALSE(shell.busy);
    EXPECT_EQ(shell.panelText, "OK");
    EXPECT_FALSE(controller.AppendMode());
    EXPECT_EQ(shell.documentChanges, 1);

    // A modified project asks first; Cancel keeps it.
    controller.SetModified(true);
    shell.answers = {MessageAnswer::Cancel};
    controller.openRecentFile(write("other.wfp", kCurrent));
    EXPECT_EQ(controller.ProjectFileName(), path);
    EXPECT_TRUE(controller.ProjectModified());
}

TEST_F(ReaderFileTest, NewProjectComesFromTheTemplate)
{
    writeTemplate("From template");
    controller.newProject();
    EXPECT_EQ(controller.document().General.AppName, "From template");
    EXPECT_EQ(controller.ProjectFileName(), controller.templatePath());
    EXPECT_TRUE(shell.recentFiles.empty());
    // Saving it asks for a name.
    controller.SetModified(true);
    controller.save();
    EXPECT_EQ(shell.saveDialogs, 1);
}

TEST_F(ReaderFileTest, MissingTemplateGivesAnEmptyProjectAndOneMessage)
{
    controller.document().General.AppName = "Before";
    controller.newProject();
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].kind, MessageKind::Error);
    EXPECT_NE(shell.messages[0].text.find("default.wfp"), std::string::npos);
    EXPECT_TRUE(controller.document() == Project());
    EXPECT_EQ(controller.ProjectFileName(), controller.templatePath());
    EXPECT_FALSE(controller.ProjectModified());
}

TEST_F(ReaderFileTest, UnrecognisedFiles)
{
    const std::string foreign = write("foreign.wfp", "[Something]\nElse=1\n[General]\nAppName=Foreign\n");
    writeTemplate("Template");

    // Yes: read it anyway; every missing key has its default.
    shell.answers = {MessageAnswer::Yes};
    controller.LoadProject(foreign);
    ASSERT_GE(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              "The file " + foreign +
                  " seems to be invalid. Perhaps it was created with another version of Brindlewharf, or it is not "
                  "a Brindlewharf script file. Do you want to try to open it anyway?");
    EXPECT_EQ(controller.document().General.AppName, "Foreign");
    EXPECT_TRUE(controller.ProjectModified());

    // No: a new project from the template; nothing of the file stays.
    shell.messages.clear();
    shell.recentFiles.clear();
    shell.answers = {MessageAnswer::No};
    controller.SetModified(false);
    controller.LoadProject(foreign);
    EXPECT_EQ(controller.document().General.AppName, "Template");
    EXPECT_EQ(controller.ProjectFileName(), controller.templatePath());
    EXPECT_TRUE(shell.recentFiles.empty());

    // A broken template declined once gives an empty project, not the same
    // question again.
    ASSERT_TRUE(writeFile(controller.templatePath(), "not a project"));
    shell.messages.clear();
    shell.answers = {MessageAnswer::No};
    controller.LoadProject(foreign);
    EXPECT_EQ(shell.messages.size(), 2u);  // the foreign file, then the template
    EXPECT_TRUE(controller.document() == Project());
    EXPECT_FALSE(controller.ProjectModified());
}

TEST_F(ReaderFileTest, AFailedReadLeavesTheOpenProject)
{
    const std::string first = write("first.wfp", std::string(kCurrent) + "[General]\nAppName=First\n");
    controller.LoadProject(first);
    controller.SetModified(true);
    const Project before = controller.document();
    const std::string title = shell.title;

    // A failure in the middle of the read (here: the 1.0 message box).
    const std::string old = write("old.wfp", "[Temporary]\nEditorVersion=1.0\n[General]\nAppName=Old\n");
    shell.throwOnMessage = true;
    EXPECT_THROW(controller.LoadProject(old), std::runtime_error);
    shell.throwOnMessage = false;
    EXPECT_TRUE(controller.document() == before);
    EXPECT_EQ(controller.ProjectFileName(), first);
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_EQ(shell.title, title);
    EXPECT_FALSE(shell.busy);
    EXPECT_EQ(shell.panelText, "OK");
    EXPECT_FALSE(controller.AppendMode());

    // A project named on the command line that is not there: a clear error,
    // no question.
    shell.messages.clear();
    EXPECT_THROW(controller.openCommandLineProject(dir.file("nowhere.wfp")), EProjectFileError);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(controller.ProjectFileName(), first);
}

TEST_F(ReaderFileTest, AppendKeepsTheProjectAndMarksIt)
{
    const std::string open = write("open.wfp", std::string(kCurrent) +
                                                   "[General]\nAppName=Open\n[Groups]\n0=\"Main\"\n"
                                                   "[LanguageFiles]\n0=\"C:\\Lang\\english.wfl\"\n");
    controller.LoadProject(open);
    const std::string title = shell.title;
    ASSERT_TRUE(createFolder(dir.file("sub")));
    const std::string other = dir.file("sub/other.wfp");
    ASSERT_TRUE(writeFile(other, std::string(kCurrent) +
                                     "[General]\nAppName=Other\n[Groups]\n0=\"Main\"\n"
                                     "[LanguageFiles]\n0=\"c:\\lang\\ENGLISH.wfl\"\n1=\"C:\\Lang\\german.wfl\"\n"
                                     "[SourceFiles]\n0=\"bin/tool.exe\"\n"));
    shell.openChoices.push_back(other);
    controller.appendProject();
    const Project &p = controller.document();
    EXPECT_EQ(p.General.AppName, "Open");
    ASSERT_EQ(p.Groups.size(), 2u);
    EXPECT_EQ(p.Groups[1].Name, "Main2");
    EXPECT_EQ(p.Groups[1].Files[0].Source, "sub/bin/tool.exe");
    EXPECT_EQ(p.LanguageFiles, (std::vector<std::string>{"C:\\Lang\\english.wfl", "C:\\Lang\\german.wfl"}));
    EXPECT_EQ(controller.ProjectFileName(), open);
    EXPECT_EQ(controller.ProjectFolder(), dir.path() + "/");
    EXPECT_EQ(shell.title, title);
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_FALSE(controller.AppendMode());

    // Even a file without entries marks the project modified.
    controller.SetModified(false);
    shell.openChoices.push_back(write("nothing.wfp", kCurrent));
    controller.appendProject();
    EXPECT_TRUE(controller.ProjectModified());
    EXPECT_EQ(controller.document().Groups.size(), 2u);
}

TEST_F(ReaderFileTest, ScratchCopyReadKeepsTheProjectsPlace)
{
    const std::string path = write("p.wfp", std::string(kCurrent) + "[Groups]\n0=\"G\"\n[SourceFiles]\n0=\"a.exe\"\n");
    controller.LoadProject(path);
    const std::vector<std::string> recent = shell.recentFiles;
    const std::string title = shell.title;
    shell.busyCaptions.clear();

    ScratchFolder temp;
    const std::string scratch = temp.file("wftemp.tmp");
    ASSERT_TRUE(controller.SaveProject(scratch));
    controller.document().Groups.clear();
    controller.LoadProject(scratch);
    EXPECT_EQ(controller.document().Groups[0].Files[0].Source, "a.exe");
    EXPECT_EQ(controller.ProjectFolder(), dir.path() + "/");
    EXPECT_EQ(controller.ProjectFileName(), path);
    EXPECT_EQ(shell.recentFiles, recent);
    EXPECT_EQ(shell.title, title);
    EXPECT_TRUE(shell.busyCaptions.empty());
}

TEST_F(ReaderFileTest, RoundTripThroughFilesInNativeForm)
{
    // Saved and read again through real files in this machine's folders.
    Project project = richSample();
    for (GroupEntry &group : project.Groups)
        for (FileEntry &file : group.Files)
            if (file.Relative)
                file.Source = "src/" + extractFileName(file.Source);
    controller.document() = project;
    controller.SetModified(true);
    const std::string path = dir.file("native.wfp");
    shell.saveChoices.push_back(path);
    controller.save();
    const std::string first = readFile(path).value_or("");
    shell.answers.clear();
    controller.LoadProject(path);
    EXPECT_TRUE(shell.messages.empty());
    controller.SetModified(true);
    controller.save();
    EXPECT_EQ(readFile(path).value_or(""), first);
    EXPECT_EQ(controller.document().Groups[0].Files[0].Source, "src/tool.exe");
}

TEST_F(ReaderFileTest, AByteOrderMarkIsTakenAsUtf8)
{
    // Saved as UTF-8 by a Windows editor: the file reads as the project it is.
    const std::string path = write("bom.wfp", fixture("bom.wfp"));
    controller.LoadProject(path);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(controller.ProjectModified());
    const GeneralSettings &g = controller.document().General;
    EXPECT_EQ(g.AppName, "M\xc3\xbcller Tools");
    EXPECT_EQ(g.OutputDir, "out");
    EXPECT_EQ(g.RunBatch, "tools\\after.sh");
    EXPECT_EQ(g.ArchiveMode, 1);
    controller.SetModified(true);
    controller.save();
    const std::string saved = readFile(path).value_or("");
    EXPECT_TRUE(saved.starts_with("[")) << saved.substr(0, 8);
    EXPECT_NE(saved.find("AppName=M\xfcller Tools\r\n"), std::string::npos);
    EXPECT_NE(saved.find("RunBatch=tools\\after.sh\r\n"), std::string::npos);

    // After a mark, bytes that are no UTF-8 are the file's own Windows-1252.
    controller.LoadProject(write("marked.wfp", "\xEF\xBB\xBF" + std::string(kCurrent) + "[General]\nAppName=M\xfcller\n"));
    EXPECT_EQ(controller.document().General.AppName, "M\xc3\xbcller");
    // UTF-8 text a project file can't hold is refused by name.
    const std::string wide = write("wide.wfp", "\xEF\xBB\xBF" + std::string(kCurrent) + "[General]\nAppName=\xe6\x97\xa5\n");
    try {
        controller.LoadProject(wide);
        ADD_FAILURE() << "read text a save can't write";
    } catch (const EProjectFileError &e) {
        EXPECT_NE(std::string(e.what()).find(wide), std::string::npos) << e.what();
    }
    EXPECT_EQ(controller.ProjectFileName(), dir.file("marked.wfp"));
}
