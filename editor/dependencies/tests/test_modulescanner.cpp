#include "modulescanner.h"

#include "files.h"
#include "paths.h"
#include "peimage.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace wharf {
namespace {

std::string fixture(const std::string &name) { return std::string(WHARF_FIXTURE_DIR) + "/deps/" + name; }

std::string programFile(const std::string &name)
{
    return wharf::testing::builtProgramFolder() + "/" + name;
}

SystemModules shippedSystemModules()
{
    SystemModules modules = SystemModules::load(programFile("sysdlls.dat"));
    EXPECT_TRUE(modules.loaded());
    return modules;
}

// Copies fixture files into folder, optionally under other names.
void place(const std::string &folder, std::initializer_list<std::pair<std::string, std::string>> files)
{
    createFolder(folder);
    for (const auto &[from, to] : files)
        ASSERT_TRUE(copyFile(fixture(from), joinPath(folder, to))) << from;
}

std::vector<std::string> paths(const ModuleScanner &scanner)
{
    std::vector<std::string> out;
    for (const DependencyLine &line : scanner.lines())
        out.push_back(line.found() ? line.path : "missing:" + line.moduleName);
    return out;
}

const auto kNothingInProject = [](const std::string &) { return false; };

class ModuleScannerTest : public ::testing::Test {
protected:
    ScratchFolder m_scratch;
    ModuleScanner m_scanner{shippedSystemModules(), ModuleSearchPath()};
};

TEST_F(ModuleScannerTest, ALibraryNeedingOnlySystemModulesListsItselfAlone)
{
    const std::string alpha = fixture("wfalpha.dll");
    m_scanner.ScanDependencies(alpha, kNothingInProject);
    EXPECT_EQ(paths(m_scanner), std::vector<std::string>{alpha});
    EXPECT_TRUE(m_scanner.lines()[0].checked);
    EXPECT_TRUE(m_scanner.hasNewModules());
}

TEST_F(ModuleScannerTest, ListsEveryModuleOnceInGenerations)
{
    int messages = 0;
    m_scanner.setProcessMessages([&] { ++messages; });
    m_scanner.ScanDependencies(fixture("wfapp.exe"), kNothingInProject);
    // wfapp.exe imports wfalpha.dll and wfbeta.dll; wfbeta.dll imports
    // wfalpha.dll again, which stays listed once.
    EXPECT_EQ(paths(m_scanner),
              (std::vector<std::string>{fixture("wfapp.exe"), fixture("wfalpha.dll"), fixture("wfbeta.dll")}));
    EXPECT_EQ(messages, 3); // once per file read
    for (const DependencyLine &line : m_scanner.lines()) {
        EXPECT_TRUE(line.checked);
        EXPECT_TRUE(line.enabled);
    }
}

TEST_F(ModuleScannerTest, ReadsA64BitImage)
{
    m_scanner.ScanDependencies(fixture("wfapp64.exe"), kNothingInProject);
    EXPECT_EQ(paths(m_scanner), (std::vector<std::string>{fixture("wfapp64.exe"), fixture("wfalpha64.dll")}));
}

TEST_F(ModuleScannerTest, PrefersTheModuleBesideTheFileToTheSearchPath)
{
    const std::string here = m_scratch.file("here");
    const std::string there = m_scratch.file("there");
    place(here, {{"wfapp.exe", "wfapp.exe"}, {"wfbeta.dll", "wfbeta.dll"}, {"wfalpha.dll", "wfalpha.dll"}});
    place(there, {{"wfalpha.dll", "wfalpha.dll"}});
    m_scanner.setSearchPath(ModuleSearchPath({there}));
    m_scanner.ScanDependencies(joinPath(here, "wfapp.exe"), kNothingInProject);
    EXPECT_EQ(paths(m_scanner), (std::vector<std::string>{joinPath(here, "wfapp.exe"), joinPath(here, "wfalpha.dll"),
                                                          joinPath(here, "wfbeta.dll")}));
}

TEST_F(ModuleScannerTest, SearchesThePathWithoutRegardToCaseAndMachine)
{
    // wfalpha.dll is not beside the program; along the search path the first
    // copy is a 64-bit library under an upper-case name, which a 32-bit
    // program cannot load, so the 32-bit one behind it is taken.
    const std::string here = m_scratch.file("here");
    const std::string wrong = m_scratch.file("x64");
    const std::string right = m_scratch.file("x86");
    place(here, {{"wfapp.exe", "wfapp.exe"}, {"wfbeta.dll", "WfBeta.DLL"}});
    place(wrong, {{"wfalpha64.dll", "WFALPHA.DLL"}});
    place(right, {{"wfalpha.dll", "WFALPHA.DLL"}});
    m_scanner.setSearchPath(ModuleSearchPath({m_scratch.file("none"), wrong, right}));
    m_scanner.ScanDependencies(joinPath(here, "wfapp.exe"), kNothingInProject);
    EXPECT_EQ(paths(m_scanner), (std::vector<std::string>{joinPath(here, "wfapp.exe"), joinPath(right, "WFALPHA.DLL"),
                                                          joinPath(here, "WfBeta.DLL")}));
}

TEST_F(ModuleScannerTest, AModuleFoundNowhereIsListedOnceWithoutAPath)
{
    const std::string here = m_scratch.file("here");
    place(here, {{"wfghostapp.exe", "one.exe"}, {"wfghostapp.exe", "two.exe"}, {"wfalpha.dll", "wfalpha.dll"}});
    m_scanner.ScanDependencies(joinPath(here, "one.exe"), kNothingInProject);
    m_scanner.ScanDependencies(joinPath(here, "two.exe"), kNothingInProject);
    EXPECT_EQ(paths(m_scanner), (std::vector<std::string>{joinPath(here, "one.exe"), joinPath(here, "wfalpha.dll"),
                                                          "missing:wfghost.dll", joinPath(here, "two.exe")}));
    const DependencyLine &ghost = m_scanner.lines()[2];
    EXPECT_FALSE(ghost.checked);
    EXPECT_TRUE(ghost.enabled);
    // Confirming never adds it, with an empty source or any other.
    const std::vector<DependencyLine> chosen = m_scanner.chosenLines();
    ASSERT_EQ(chosen.size(), 3u);
    for (const DependencyLine &line : chosen)
        EXPECT_TRUE(line.found());
}

TEST_F(ModuleScannerTest, GreysWhatTheProjectHoldsAndCollectsScansWithoutDuplicates)
{
    const auto inProject = [](const std::string &path) { return extractFileName(path) == "wfbeta.dll"; };
    m_scanner.ScanDependencies(fixture("wfapp.exe"), inProject);
    m_scanner.ScanDependencies(fixture("wfbeta.dll"), inProject);
    ASSERT_EQ(m_scanner.lines().size(), 3u);
    EXPECT_TRUE(m_scanner.lines()[0].enabled);
    EXPECT_TRUE(m_scanner.lines()[1].enabled);
    EXPECT_FALSE(m_scanner.lines()[2].enabled);
    EXPECT_EQ(m_scanner.chosenLines().size(), 2u);

    m_scanner.clear();
    m_scanner.ScanDependencies(fixture("wfbeta.dll"), [](const std::string &) { return true; });
    EXPECT_FALSE(m_scanner.hasNewModules());
    EXPECT_TRUE(m_scanner.chosenLines().empty());
}

TEST_F(ModuleScannerTest, FilesThatAreNoImagesOrAreDamagedListWhatWasFound)
{
    const std::string text = m_scratch.file("notes.dll");
    ASSERT_TRUE(writeFile(text, "MZ but not much else"));
    EXPECT_FALSE(m_scanner.ReadImports(text));
    EXPECT_FALSE(m_scanner.ReadImports(m_scratch.file("absent.dll")));
    EXPECT_TRUE(m_scanner.lines().empty());

    const std::string original = *readFile(fixture("wfapp.exe"));
    const PeImage image({reinterpret_cast<const uint8_t *>(original.data()), original.size()});
    const uint32_t directory = *image.dataDirectoryOffset(kDirImport);
    const uint32_t table = *image.rvaToOffset(image.dataDirectory(kDirImport).virtualAddress, 20);
    const std::vector<std::string> names = image.importedModules();
    ASSERT_EQ(names.size(), 4u); // KERNEL32.dll, msvcrt.dll, wfalpha.dll, wfbeta.dll
    ASSERT_EQ(names[2], "wfalpha.dll");

    struct Case {
        const char *what;
        std::function<void(std::string &)> damage;
        size_t lines;
    };
    const auto put32 = [](std::string &bytes, uint32_t offset, uint32_t value) {
        writeLe32(reinterpret_cast<uint8_t *>(bytes.data()) + offset, value);
    };
    const Case cases[] = {
        {"no import table", [&](std::string &b) { put32(b, directory, 0); }, 1},
        {"table outside the file", [&](std::string &b) { put32(b, directory, 0x7FFFFFF0); }, 1},
        {"fourth name outside the file", [&](std::string &b) { put32(b, table + 3 * 20 + 12, 0x7FFFFFF0); }, 2},
        {"file cut inside the table", [&](std::string &b) { b.resize(table + 2 * 20 + 8); }, 1},
        {"file cut after the headers", [&](std::string &b) { b.resize(0x200); }, 1},
    };
    for (const Case &c : cases) {
        std::string bytes = original;
        c.damage(bytes);
        const std::string folder = m_scratch.file(c.what);
        place(folder, {{"wfalpha.dll", "wfalpha.dll"}, {"wfbeta.dll", "wfbeta.dll"}});
        const std::string path = joinPath(folder, "wfapp.exe");
        ASSERT_TRUE(writeFile(path, bytes));
        m_scanner.clear();
        m_scanner.ScanDependencies(path, kNothingInProject);
        EXPECT_EQ(m_scanner.lines().size(), c.lines) << c.what;
        EXPECT_EQ(m_scanner.lines().front().path, path) << c.what;
    }
}

TEST(SystemModulesTest, ReadsNamesPatternsAndComments)
{
    const SystemModules modules = SystemModules::fromText("; system modules\r\nKERNEL32.dll\r\n  user32.dll \n\n"
                                                          "api-ms-win-*.dll\n;wfalpha.dll\n");
    EXPECT_TRUE(modules.loaded());
    EXPECT_TRUE(modules.contains("kernel32.DLL"));
    EXPECT_TRUE(modules.contains("USER32.dll"));
    EXPECT_TRUE(modules.contains("API-MS-WIN-crt-runtime-l1-1-0.dll"));
    EXPECT_FALSE(modules.contains("api-ms-win-crt.exe"));
    EXPECT_FALSE(modules.contains("wfalpha.dll"));
    EXPECT_FALSE(modules.contains("; system modules"));

    const SystemModules missing = SystemModules::load("/nonexistent/sysdlls.dat");
    EXPECT_FALSE(missing.loaded());
    EXPECT_TRUE(missing.empty());
}

TEST(SystemModulesTest, TheShippedListHoldsWhatAWindowsProgramImports)
{
    const SystemModules modules = shippedSystemModules();
    for (const char *name : {"KERNEL32.dll", "msvcrt.dll", "USER32.dll", "gdi32.dll", "comctl32.dll", "winspool.drv"})
        EXPECT_TRUE(modules.contains(name)) << name;
    for (const char *name : {"wfalpha.dll", "libstdc++-6.dll", "msvcr71.dll"})
        EXPECT_FALSE(modules.contains(name)) << name;
}

TEST(ModuleSearchPathTest, ParsesAndFormatsTheStoredList)
{
    EXPECT_EQ(ModuleSearchPath::parse(" /usr/a ;/usr/b\n\n/opt/c d;;"),
              (std::vector<std::string>{"/usr/a", "/usr/b", "/opt/c d"}));
    EXPECT_TRUE(ModuleSearchPath::parse("").empty());
    EXPECT_EQ(ModuleSearchPath::format({"/usr/a", "/opt/c d"}), "/usr/a;/opt/c d");
}

TEST(ModuleSearchPathTest, NeverFindsNamesThatLeaveTheFolder)
{
    ScratchFolder scratch;
    ASSERT_TRUE(writeFile(scratch.file("a.dll"), "x"));
    createFolder(scratch.file("sub"));
    ASSERT_TRUE(writeFile(scratch.file("sub/b.dll"), "x"));
    EXPECT_EQ(findModuleInFolder(scratch.path(), "A.DLL"), joinPath(scratch.path(), "a.dll"));
    for (const char *name : {"sub/b.dll", "..\\a.dll", "sub", "", ".", ".."})
        EXPECT_EQ(findModuleInFolder(scratch.path(), name), "") << name;
}

TEST(SystemDestinationTest, IsTheSystemFolderAndTheFileName)
{
    EXPECT_EQ(systemDestination("/opt/lib/wfalpha.dll"), "{sys}\\wfalpha.dll");
    EXPECT_EQ(systemDestination("C:\\Lib\\X.DLL"), "{sys}\\X.DLL");
}

} // namespace
} // namespace wharf
