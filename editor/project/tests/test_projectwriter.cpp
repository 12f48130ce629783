#include "projectwriter.h"

#include "codec.h"
#include "files.h"
#include "filetools.h"
#include "runcontext.h"
#include "sampleproject.h"

#include <gtest/gtest.h>
#include <set>

#include <cstdlib>

using namespace wharf;
using namespace wharf::testing;

namespace {

ProjectWriteContext sampleContext()
{
    ProjectWriteContext context;
    context.workDir = kSampleFolder;
    context.projectFolder = kSampleFolder;
    return context;
}

std::string written(Project &project, std::string_view before = {},
                    const ProjectWriteContext &context = sampleContext())
{
    TMemIniStore ini("");
    ini.LoadFromBytes(before);
    writeProjectSections(ini, project, context);
    return ini.SaveToBytes();
}

// Compares with a fixture; with WHARF_FIXTURE_DUMP set, a differing result
// is also written to that folder for review.
void expectFixture(const std::string &actual, const std::string &name)
{
    const std::string expected = fixture(name);
    if (actual != expected)
        if (const char *dump = std::getenv("WHARF_FIXTURE_DUMP"))
            writeFile(std::string(dump) + "/" + name, actual);
    EXPECT_EQ(actual, expected) << "fixture " << name;
}

} // namespace

TEST(ProjectWriterTest, RichProjectMatchesFixture)
{
    Project project = richSample();
    // An unknown section survives and stays first; stale project sections
    // are replaced.
    const std::string before = "[ScriptingExtensions]\r\n0=\"C:\\Ext\\helper.dll\"\r\n\r\n"
                               "[Temporary]\r\nOld=1\r\n\r\n"
                               "[Groups]\r\n0=\"Stale\"\r\n1=\"Stale too\"\r\n\r\n"
                               "[Hand Made]\r\nNote=kept as it was\r\n\r\n";
    const std::string text = written(project, before);
    expectFixture(text, "rich.wfp");
    // The writer appends the numbered sections' lines without a look-up, so
    // it must write each key of a section once.
    std::set<std::string> keys;
    std::string section;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find("\r\n", at), text.size());
        const std::string line = text.substr(at, end - at);
        at = end + 2;
        if (line.starts_with('[')) {
            section = line;
        } else if (const size_t eq = line.find('='); eq != std::string::npos) {
            EXPECT_TRUE(keys.insert(section + foldedText(line.substr(0, eq))).second) << section << " " << line;
        }
    }

    // The save's changes to the document.
    EXPECT_EQ(project.General.OutputDir, "C:\\Setups\\Out");
    EXPECT_EQ(project.Groups[1].Files[1].Source, "..\\..\\manual.pdf");
    EXPECT_EQ(project.Groups[1].Files[0].GroupIndex, 1);
    EXPECT_EQ(project.Groups[1].Files[0].Source, "C:\\Docs\\readme.txt");
    EXPECT_EQ(project.AdditionalFiles, std::vector<std::string>{"C:\\Extras\\vcredist.exe"});
}

TEST(ProjectWriterTest, EmptyProjectMatchesFixture)
{
    // No entries at all: the INI grid, the registry tree and every list
    // write nothing, the general settings and the scripts are written.
    Project project;
    expectFixture(written(project), "empty.wfp");
}

TEST(ProjectWriterTest, EveryProjectSectionIsRewritten)
{
    ASSERT_EQ(projectSectionNames().size(), 64u);
    std::string before = "[Kept]\r\nstale=1\r\n\r\n";
    // Every copy of a section held twice goes too.
    for (int copy = 0; copy < 2; ++copy)
        for (std::string_view section : projectSectionNames())
            before += "[" + std::string(section) + "]\r\nstale=1\r\n\r\n";
    Project project;
    TMemIniStore ini("");
    ini.LoadFromBytes(before);
    writeProjectSections(ini, project, sampleContext());
    for (std::string_view section : projectSectionNames())
        EXPECT_EQ(ini.ReadString(section, "stale", "gone"), "gone") << section;
    EXPECT_EQ(ini.ReadString("Kept", "stale", "gone"), "1");
}

TEST(ProjectWriterTest, RelativeSourcesFollowTheNewFolder)
{
    Project project;
    GroupEntry group;
    group.Name = "G";
    FileEntry file;
    file.Source = "src/a.exe";
    file.Destination = "{app}\\a.exe";
    group.Files.push_back(file);
    project.Groups.push_back(group);
    ProjectWriteContext context;
    context.projectFolder = "/home/u/proj/";
    context.workDir = "/home/u/other/";
    // Every other relative path of the build machine moves along; absolute
    // paths and paths of the target system stay.
    project.LanguageFiles = {"lang/de.wfl", "/opt/lang/en.wfl"};
    project.General.ReadmeFile = "readme.txt";
    project.General.LicenseFile = "docs/licence.txt";
    project.General.MainIcon = "art/main.ico";
    project.General.BackImage = "art/back.bmp";
    project.General.WzrdImg = "art/wizard.bmp";
    project.General.AutorunIcon = "art/cd.ico";
    project.General.RunBatch = "tools\\after.sh";
    project.General.OutputDir = "out";
    project.Groups[0].Files[0].PatchedFile = "old\\a.exe";
    project.Dialogs = {"dlg/welcome.ddf"};
    project.UninstallDialogs = {"dlg/bye.ddf"};
    project.BillboardPics = {"art/bb1.bmp"};
    project.AdditionalFiles = {"extra/x.txt", "{win}\\y.txt"};
    project.DataFiles = {"data/d.dat"};
    project.DllCalls = {{"bin/helper.dll", "DoStep", 1}};
    FileEntry external;
    external.Source = "beside/notes.txt";
    external.External = true;
    external.Destination = "{app}\\notes.txt";
    project.Groups[0].Files.push_back(external);
    // Marked relative, but on another drive: it stays absolute and says so,
    // as a read of the saved file does.
    FileEntry otherDrive = file;
    otherDrive.Source = "D:\\Tools\\x.exe";
    project.Groups[0].Files.push_back(otherDrive);
    // A section only the compiler reads comes through from the file before.
    const std::string bytes =
        written(project, "[ScriptingExtensions]\r\nA=\"ext\\s.dll\"\r\nB=/opt/t.dll\r\nC={app}\\c.dll\r\n", context);
    EXPECT_NE(bytes.find("[ScriptingExtensions]\r\nA=\"..\\proj\\ext\\s.dll\"\r\nB=/opt/t.dll\r\nC={app}\\c.dll\r\n"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(project.General.RunBatch, "..\\proj\\tools\\after.sh");
    EXPECT_EQ(project.General.OutputDir, "out");  // the output goes beside the project
    EXPECT_EQ(project.Groups[0].Files[0].PatchedFile, "..\\proj\\old\\a.exe");
    EXPECT_EQ(project.Groups[0].Files[2].Source, "D:\\Tools\\x.exe");
    EXPECT_FALSE(project.Groups[0].Files[2].Relative);
    EXPECT_TRUE(project.Groups[0].Files[0].Relative);
    EXPECT_EQ(project.Groups[0].Files[0].Source, "../proj/src/a.exe");
    EXPECT_EQ(project.LanguageFiles, (std::vector<std::string>{"../proj/lang/de.wfl", "/opt/lang/en.wfl"}));
    EXPECT_EQ(project.General.ReadmeFile, "../proj/readme.txt");
    EXPECT_EQ(project.General.LicenseFile, "../proj/docs/licence.txt");
    EXPECT_EQ(project.General.MainIcon, "../proj/art/main.ico");
    EXPECT_EQ(project.General.BackImage, "../proj/art/back.bmp");
    EXPECT_EQ(project.General.WzrdImg, "../proj/art/wizard.bmp");
    EXPECT_EQ(project.General.AutorunIcon, "../proj/art/cd.ico");
    EXPECT_EQ(project.Dialogs, std::vector<std::string>{"../proj/dlg/welcome.ddf"});
    EXPECT_EQ(project.UninstallDialogs, std::vector<std::string>{"../proj/dlg/bye.ddf"});
    EXPECT_EQ(project.BillboardPics, std::vector<std::string>{"../proj/art/bb1.bmp"});
    EXPECT_EQ(project.AdditionalFiles, (std::vector<std::string>{"../proj/extra/x.txt", "{win}\\y.txt"}));
    EXPECT_EQ(project.DataFiles, std::vector<std::string>{"../proj/data/d.dat"});
    EXPECT_EQ(project.DllCalls[0].FileName, "../proj/bin/helper.dll");
    EXPECT_EQ(project.Groups[0].Files[1].Source, "../proj/beside/notes.txt");
    EXPECT_NE(bytes.find("[LanguageFiles]\r\n0=\"../proj/lang/de.wfl\"\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("WorkDir=/home/u/other/\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[SourceFiles]\r\n0=\"../proj/src/a.exe\"\r\n"), std::string::npos);
}

TEST(ProjectWriterTest, DescriptionLeftOutOnlyWhereTheDefaultGivesItBack)
{
    struct Case {
        const char *source;
        const char *destination;
        const char *description;
        bool external;
        bool writtenOut;
    } cases[] = {
        {"C:\\a\\tool.exe", "{app}\\tool.exe", "tool.exe", false, false},
        {"C:\\a\\tool.exe", "{app}\\tool.exe", "Tool.exe", false, true},  // case counts
        {"C:\\a\\tool.exe", "{app}\\renamed.exe", "renamed.exe", false, true},
        {"C:\\a\\tool.exe", "{app}\\renamed.exe", "tool.exe", false, true},
        {"C:\\Docs\\readme.txt", "{app}\\readme.txt", "readme.txt", true, false},
        {"C:\\a\\tool.exe", "{app}\\tool.exe", "", false, true},
    };
    for (const Case &c : cases) {
        Project project;
        GroupEntry group;
        group.Name = "G";
        FileEntry file;
        file.Source = c.source;
        file.Relative = false;
        file.External = c.external;
        file.Destination = c.destination;
        file.Description = c.description;
        group.Files.push_back(file);
        project.Groups.push_back(group);
        TMemIniStore ini("");
        writeProjectSections(ini, project, sampleContext());
        EXPECT_EQ(ini.ReadString("FileDescriptions", "0", "<none>"), c.writtenOut ? c.description : "<none>")
            << c.source << " " << c.destination << " " << c.description;
    }
}

TEST(ProjectWriterTest, QuotesAndLineBreaksSurviveTheStore)
{
    Project project;
    project.General.AppName = "\"Quoted\"";
    project.General.Company = "\"";
    project.General.Caption = "two\r\nlines";
    project.General.CaptionFont.Name = "\"Odd Face\"";
    project.Dialogs = {"\"C:\\My Dialogs\\a.ddf\"", "new\nline"};
    project.InitScript = {"\"whole line quoted\"", "first\r\nsecond", "a \"b\" c"};
    project.InstallTypes = {{"Full", "\"|0|\""}};
    TMemIniStore ini("");
    writeProjectSections(ini, project, sampleContext());
    TMemIniStore reread("");
    reread.LoadFromBytes(ini.SaveToBytes());

    EXPECT_EQ(reread.ReadString("General", "AppName", ""), "\"Quoted\"");
    EXPECT_EQ(reread.ReadString("General", "Company", ""), "\"");
    EXPECT_EQ(reread.ReadString("General", "Caption", ""), "two lines");
    EXPECT_EQ(reread.ReadString("General", "CaptionFontName", ""), "\"Odd Face\"");
    EXPECT_EQ(reread.ReadString("Dialogs", "0", ""), "\"C:\\My Dialogs\\a.ddf\"");
    EXPECT_EQ(reread.ReadString("Dialogs", "1", ""), "new line");
    EXPECT_EQ(reread.ReadString("GroupsInType", "0", ""), "\"|0|\"");
    EXPECT_EQ(reread.ReadInteger("Scripts", "InitScriptCount", 0), 4);
    EXPECT_EQ(reread.ReadString("Scripts", "InitScriptLine0", ""), "\"whole line quoted\"");
    EXPECT_EQ(reread.ReadString("Scripts", "InitScriptLine1", ""), "first");
    EXPECT_EQ(reread.ReadString("Scripts", "InitScriptLine2", ""), "second");
    EXPECT_EQ(reread.ReadString("Scripts", "InitScriptLine3", ""), "a \"b\" c");
    // Nothing a value held started a line of its own.
    TStringList sections;
    reread.ReadSections(sections);
    for (const std::string &section : sections)
        EXPECT_EQ(section.find("line"), std::string::npos) << section;
}

TEST(ProjectWriterTest, OutputDirLosesOneTrailingSeparator)
{
    const std::pair<const char *, const char *> cases[] = {
        {"C:\\Out\\", "C:\\Out"}, {"C:\\", "C:"}, {"/srv/out/", "/srv/out"},
        {"C:\\Out\\\\", "C:\\Out\\"}, {"/", "/"}, {"", ""},
    };
    for (const auto &[before, after] : cases) {
        Project project;
        project.General.OutputDir = before;
        TMemIniStore ini("");
        writeProjectSections(ini, project, sampleContext());
        EXPECT_EQ(project.General.OutputDir, after) << before;
        EXPECT_EQ(ini.ReadString("Temporary", "OutputDir", "-"), after) << before;
    }
}

// Until the compile pipeline reads projects end to end, this pins what the
// compiler reads from a saved project: every key gives back the document's
// value through the compiler's own store and list routine.
TEST(ProjectWriterTest, KeysTheCompilerReads)
{
    Project project = richSample();
    project.General.Password = " pass word ";
    project.General.MainIcon = " C:\\Art\\main icon.ico ";
    project.General.PackageName = "\"odd\".zlb";
    project.General.RunBatch = "\"C:\\My Tools\\after.bat\"";
    project.Dialogs.push_back("C:\\Dialogs\\spaced name .ddf");

    ScratchFolder dir;
    const std::string file = dir.file("harbour.wfp");
    TMemIniStore ini(file);
    ProjectWriteContext context = sampleContext();
    context.workDir = dir.path() + "/";
    writeProjectSections(ini, project, context);
    ini.UpdateFile();

    const TMemIniStore compiled(file);
    const GeneralSettings &g = project.General;
    EXPECT_EQ(compiled.ReadString("Temporary", "WorkDir", ""), dir.path() + "/");
    EXPECT_EQ(compiled.ReadInteger("Temporary", "OutputType", 0), g.OutputType);
    EXPECT_EQ(compiled.ReadString("Temporary", "OutputDir", ""), "C:\\Setups\\Out");
    EXPECT_EQ(compiled.ReadString("Temporary", "BackImage", ""), g.BackImage);
    EXPECT_EQ(compiled.ReadString("Temporary", "WzrdImg", ""), g.WzrdImg);
    EXPECT_EQ(compiled.ReadString("Temporary", "LicenseFile", ""), g.LicenseFile);
    EXPECT_EQ(compiled.ReadString("Temporary", "ReadmeFile", ""), g.ReadmeFile);
    EXPECT_EQ(compiled.ReadInteger("Temporary", "ClusterSize", 512), g.ClusterSize);
    EXPECT_EQ(compiled.ReadInteger("Temporary", "CompressionLevel", 8), g.CompressionLevel);
    EXPECT_EQ(compiled.ReadInteger("Temporary", "MaxDiskSize", 1457664), g.MaxDiskSize);
    EXPECT_EQ(compiled.ReadBool("Temporary", "CreateAutorun", false), g.CreateAutorun);
    EXPECT_EQ(compiled.ReadString("Temporary", "AutorunIcon", ""), g.AutorunIcon);
    EXPECT_EQ(compiled.ReadString("Temporary", "AutorunApplication", "setup.exe"), g.AutorunApplication);
    EXPECT_EQ(compiled.ReadString("Temporary", "MainIcon", ""), g.MainIcon);
    EXPECT_EQ(compiled.ReadString("Temporary", "PackageName", "setup.lib"), g.PackageName);
    EXPECT_EQ(compiled.ReadString("Temporary", "RunBatch", ""), g.RunBatch);
    EXPECT_EQ(compiled.ReadBool("General", "Uninstaller", true), g.Uninstaller);
    EXPECT_EQ(compiled.ReadString("General", "Password", ""), g.Password);
    EXPECT_EQ(compiled.ReadBool("General", "RequirePassword", false), g.RequirePassword);
    EXPECT_EQ(compiled.ReadString("General", "DestDir", ""), g.DestDir);
    EXPECT_EQ(compiled.ReadString("General", "ProgMenuFolder", ""), g.ProgMenuFolder);

    // Per-file keys, by the file's position over all groups.
    size_t f = 0;
    for (const GroupEntry &group : project.Groups)
        for (const FileEntry &entry : group.Files) {
            const std::string n = std::to_string(f++);
            EXPECT_EQ(compiled.ReadBool("RegOCX", n, false), entry.RegOCX) << n;
            EXPECT_EQ(compiled.ReadBool("Pending", n, false), entry.Pending) << n;
            EXPECT_EQ(compiled.ReadString("PatchedFiles", n, ""), entry.PatchedFile) << n;
            const std::string source = entry.External ? "{src}\\readme.txt" : entry.Source;
            EXPECT_EQ(compiled.ReadString("SourceFiles", n, ""), source) << n;
        }
    TStringList lines;
    compiled.ReadSectionValues("DestFiles", lines);
    EXPECT_EQ(lines.size(), project.fileCount());
    compiled.ReadSectionValues("InstTypes", lines);
    EXPECT_EQ(lines.size(), project.InstallTypes.size());
    EXPECT_EQ(compiled.ReadString("LanguageFiles", "0", "***"), project.LanguageFiles[0]);

    // The list sections as the compiler resolves them (absolute paths stay).
    CurrentRun().WorkDir = dir.path();
    const auto resolved = [&](std::string_view section) {
        TStringList list;
        compiled.ReadSectionValues(section, list);
        return ResolveFileList(list);
    };
    EXPECT_EQ(resolved("Dialogs"), project.Dialogs);
    EXPECT_EQ(resolved("UninstallDialogs"), project.UninstallDialogs);
    EXPECT_EQ(resolved("BillboardPics"), project.BillboardPics);
    EXPECT_EQ(resolved("LanguageFiles"), project.LanguageFiles);
    EXPECT_EQ(resolved("DataFiles"), project.DataFiles);
    std::vector<std::string> additional = project.AdditionalFiles;
    additional.push_back("C:\\Docs\\readme.txt");  // the external file
    EXPECT_EQ(resolved("AdditionalFiles"), additional);
    EXPECT_EQ(resolved("DllExtensions"), (std::vector<std::string>{"C:\\Dlls\\step.dll", "C:\\Dlls\\undo.dll"}));
}
