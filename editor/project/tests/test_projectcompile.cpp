// A document saved by the editor and compiled by the real compiler library:
// the file the writer produces is what the compiler reads. The compile runs
// on the scratch copy "wftemp.tmp" in the program folder, as the editor's
// compile does, so relative sources must resolve against the project's own
// folder written as WorkDir.

#include "projectcontroller.h"

#include "archivereader.h"
#include "fakeshell.h"
#include "files.h"
#include "wharfforge.h"
#include "builtfolders.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace wharf;
using namespace wharf::testing;

namespace {

struct CompileLine {
    std::string text;
    uint16_t kind;
};

std::vector<CompileLine> g_lines;

bool record(const char *text, uint16_t kind, uint16_t)
{
    g_lines.push_back({text, kind});
    return true;
}

class ProjectCompileTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string app = dir.file("app");
    std::string proj = dir.file("proj");
    FakeShell shell;
    ProjectController controller{app, shell, shell, shell, &shell};

    void SetUp() override
    {
        g_lines.clear();
        m_lib = ::dlopen(WHARFFORGE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_lib, nullptr) << ::dlerror();
        m_compile = reinterpret_cast<decltype(&CompileFile)>(::dlsym(m_lib, "CompileFile"));
        ASSERT_NE(m_compile, nullptr);
        ASSERT_TRUE(createFolder(app));
        ASSERT_TRUE(createFolder(proj));
        ASSERT_TRUE(createFolder(proj + "/files"));
        ASSERT_TRUE(createFolder(dir.file("extra")));
        const std::string programDir = wharf::testing::builtProgramFolder();
        for (const char *stub : {"setup.bin", "setupldr.bin", "selfext.bin", "regserv.bin"})
            ASSERT_TRUE(copyFile(std::string(programDir) + "/" + stub, app + "/" + stub)) << stub;
        ASSERT_TRUE(writeFile(proj + "/files/a.txt", std::string(4000, 'a')));
        ASSERT_TRUE(writeFile(proj + "/files/b b.bin", std::string("\x01\x02\x00\x03", 4)));
        ASSERT_TRUE(writeFile(proj + "/lang.wfl", "[Language]\r\nName=English\r\n"));
        ASSERT_TRUE(writeFile(dir.file("extra/notes.txt"), "beside the setup"));
    }

    void TearDown() override
    {
        if (m_lib)
            ::dlclose(m_lib);
    }

    // A project as an author builds it in the editor: relative sources in
    // both separator forms, an external file, every kind of entry.
    void fillDocument()
    {
        Project &p = controller.document();
        p.General.AppName = "Harbour \"Tool\"";
        p.General.DestDir = "{pro}\\Harbour";
        p.General.ProgMenuFolder = "Harbour";
        p.General.OutputDir = "out/";
        p.LanguageFiles = {"lang.wfl"};
        p.InitScript = {"// start", "\"quoted line\""};

        GroupEntry main;
        main.Name = "Main";
        FileEntry a;
        a.Source = proj + "/files/a.txt";
        a.Relative = true;
        a.Destination = "{app}\\a.txt";
        a.Description = "a.txt";
        FileEntry b;
        // As a project made on Windows holds it: relative, with "\\".
        b.Source = "files\\b b.bin";
        b.Relative = true;
        b.Destination = "{app}\\b b.bin";
        b.Description = "Binary data";
        b.CompareVersions = true;
        b.Overwrite = false;
        FileEntry notes;
        notes.Source = dir.file("extra/notes.txt");
        notes.External = true;
        notes.Relative = false;
        notes.Destination = "{app}\\notes.txt";
        notes.Description = "notes.txt";
        main.Files = {a, b};
        GroupEntry docs;
        docs.Name = "Docs";
        docs.Files = {notes};
        p.Groups = {main, docs};
        p.InstallTypes = {{"Typical", "|0||1|"}};

        ShortcutEntry shortcut;
        shortcut.Title = "Harbour";
        shortcut.Target = "{app}\\a.txt";
        shortcut.Location = "{app}\\a.txt";
        p.Shortcuts = {shortcut};
        RegistryEntry key;
        key.IsKey = true;
        key.Overwrite = false;
        RegistryEntry value;
        value.Data = "{app}";
        ASSERT_TRUE(AddRegistryEntry(p.Registry, "HKEY_LOCAL_MACHINE", "Software\\Harbour", value, key, "Path"));
        p.IniEntries = {{"{app}\\harbour.ini", "Settings", "Path", "{app}"}};
        p.ExternalPrograms = {{"{app}\\post.exe", false, true}};
        controller.SetModified(true);
    }

    // Saves the document under proj/harbour.wfp (and then under each of
    // moves, as Save As does), then as the scratch copy the compile reads,
    // and compiles that copy.
    void saveAndCompile(const std::vector<std::string> &moves = {})
    {
        shell.saveChoices.push_back(proj + "/harbour.wfp");
        ASSERT_TRUE(controller.SaveProject(controller.ProjectFileName()));
        for (const std::string &move : moves) {
            shell.saveChoices.push_back(move);
            controller.saveAs();
            ASSERT_EQ(controller.ProjectFileName(), move);
        }
        if (!moves.empty()) {
            // What the compile reads is what the saved file gives back.
            controller.LoadProject(moves.back());
            ASSERT_EQ(controller.ProjectFileName(), moves.back());
            ASSERT_TRUE(controller.SaveProject(app + "/wftemp.tmp"));
            m_compile((app + "/wftemp.tmp").c_str(), app.c_str(), record, false);
            return;
        }
        ASSERT_TRUE(controller.SaveProject(app + "/wftemp.tmp"));
        EXPECT_EQ(controller.ProjectFileName(), proj + "/harbour.wfp");
        m_compile((app + "/wftemp.tmp").c_str(), app.c_str(), record, false);
    }

    static std::vector<std::string> errors()
    {
        std::vector<std::string> found;
        for (const CompileLine &line : g_lines)
            if (line.kind == 1)
                found.push_back(line.text);
        return found;
    }

private:
    void *m_lib = nullptr;
    decltype(&CompileFile) m_compile = nullptr;
};

} // namespace

TEST_F(ProjectCompileTest, SavedProjectCompilesCompletely)
{
    fillDocument();
    saveAndCompile();
    ASSERT_TRUE(errors().empty()) << errors().front();
    ASSERT_FALSE(g_lines.empty());
    bool finished = false;
    for (const CompileLine &line : g_lines)
        finished = finished || line.text.rfind("Compilation finished. Elapsed time: ", 0) == 0;
    EXPECT_TRUE(finished);

    // Everything packed, byte for byte, and the external file beside the
    // setup rather than in the package.
    const std::string out = proj + "/out";
    const ArchiveContents package = ReadArchive(out + "/setup.%d", "");
    ASSERT_EQ(package.entries.size(), 2u);
    EXPECT_EQ(package.entries[0].name, "a.txt");
    EXPECT_EQ(package.entries[0].data, readFile(proj + "/files/a.txt").value_or(""));
    EXPECT_EQ(package.entries[1].name, "b b.bin");
    EXPECT_EQ(package.entries[1].data, std::string("\x01\x02\x00\x03", 4));
    EXPECT_EQ(readFile(out + "/notes.txt").value_or(""), "beside the setup");
    EXPECT_TRUE(fileExists(out + "/setup.exe"));
}

TEST_F(ProjectCompileTest, SavedAsInAnotherFolderStillCompiles)
{
    // The language file and the relative source stay where they are; the
    // project moves two folders away and its relative paths must follow.
    fillDocument();
    ASSERT_TRUE(createFolder(dir.file("elsewhere")));
    ASSERT_TRUE(createFolder(dir.file("elsewhere/deeper")));
    saveAndCompile({dir.file("elsewhere/harbour.wfp"), dir.file("elsewhere/deeper/harbour.wfp")});
    ASSERT_TRUE(errors().empty()) << errors().front();
    // A bare name takes the separator the project's relative sources use.
    EXPECT_EQ(controller.document().LanguageFiles, std::vector<std::string>{"..\\..\\proj\\lang.wfl"});
    const ArchiveContents package = ReadArchive(dir.file("elsewhere/deeper/out/setup.%d"), "");
    ASSERT_EQ(package.entries.size(), 2u);
    EXPECT_EQ(package.entries[1].data, std::string("\x01\x02\x00\x03", 4));
}

TEST_F(ProjectCompileTest, DefaultFolderAndNoInstallationTypeGiveTwoErrors)
{
    fillDocument();
    controller.document().General.DestDir = "{pro}\\";
    controller.document().InstallTypes.clear();
    saveAndCompile();
    EXPECT_EQ(errors(), (std::vector<std::string>{"ERROR: You must specify an application folder!",
                                                  "ERROR: Your setup must contain at least one installation type!"}));
}
