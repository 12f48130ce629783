// End-to-end compiles through the exported CompileFile of the built shared
// library, with the stand-in stubs in a program folder of the test's own.
// Every output is read back with the test-only archive reader.

#include "wharfforge.h"

#include "archivereader.h"
#include "codec.h"
#include "encdec.h"
#include "filetools.h"
#include "files.h"
#include "paths.h"
#include "peimage.h"
#include "resedit.h"
#include "pipeline.h"
#include "runcontext.h"
#include "scopedenv.h"
#include "testtools.h"

#include <dlfcn.h>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <random>
#include <thread>

using namespace wharf;
using namespace wharf::testing;

namespace {

struct Line {
    std::string text;
    uint16_t kind, percent;
};

std::vector<Line> g_lines;
std::function<bool(const Line &)> g_answer; // false stops the compile

bool record(const char *text, uint16_t kind, uint16_t percent)
{
    g_lines.push_back({text, kind, percent});
    return g_answer ? g_answer(g_lines.back()) : true;
}

// The lines of a second compile started while one runs.
std::vector<Line> g_secondLines;

bool recordSecond(const char *text, uint16_t kind, uint16_t percent)
{
    g_secondLines.push_back({text, kind, percent});
    return true;
}

const std::string kSupportPassword = fromWindows1252(std::string("\x5A\x13\xC4\x08\x71\xE2\x3D", 7));

std::string randomBytes(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(gen());
    return s;
}

class PipelineTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string app = dir.file("app");
    std::string proj = dir.file("proj");
    std::string out = dir.file("proj/out");
    std::string runtime = dir.file("cache");
    std::string state = dir.file("state");
    std::string log = state + "/brindlewharf/wharfforge.log";
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::vector<std::string> order;

    void SetUp() override
    {
        m_lib = ::dlopen(WHARFFORGE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_lib, nullptr) << ::dlerror();
        m_compile = reinterpret_cast<decltype(&CompileFile)>(::dlsym(m_lib, "CompileFile"));
        ASSERT_NE(m_compile, nullptr);
        g_lines.clear();
        g_answer = nullptr;
        // The per-user folders of the compile: Temp under "cache" (which
        // sorts between the program and the project folders), the log under
        // "state".
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        ASSERT_TRUE(createFolder(app));
        ASSERT_TRUE(createFolder(proj));
        ASSERT_TRUE(createFolder(proj + "/files"));
        for (const char *stub : {"setup.bin", "setupldr.bin", "selfext.bin", "regserv.bin"})
            ASSERT_TRUE(copyFile(programPath(stub), app + "/" + stub)) << stub;
        put("files/a.txt", std::string(5000, 'a') + "end");
        put("files/b.bin", randomBytes(3000, 1));
        put("lang.wfl", "[Language]\r\nName=English\r\n");
        put("readme.txt", "Read me.");
        set("Temporary", "WorkDir", proj + "/");
        set("Temporary", "OutputDir", "out");
        set("Temporary", "ReadmeFile", "readme.txt");
        set("General", "DestDir", "{pro}\\Test");
        set("General", "ProgMenuFolder", "Test");
        set("General", "Password", "");
        set("LanguageFiles", "0", "\"lang.wfl\"");
        set("InstTypes", "0", "\"Typical\"");
        set("DestFiles", "0", "\"{app}\"");
        set("DestFiles", "1", "\"{app}\"");
        // Written as on Windows: backslashes in relative paths.
        set("SourceFiles", "0", "\"files\\a.txt\"");
        set("SourceFiles", "1", "\"files\\b.bin\"");
    }
    void TearDown() override
    {
        g_answer = nullptr;
        if (m_lib)
            ::dlclose(m_lib);
    }

    void put(const std::string &name, const std::string &data)
    {
        ForceDirs(extractFilePath(proj + "/" + name));
        ASSERT_TRUE(writeFile(proj + "/" + name, data));
    }
    void set(const std::string &section, const std::string &key, const std::string &value)
    {
        if (!sections.count(section))
            order.push_back(section);
        sections[section][key] = value;
    }

    // Writes the project and compiles it; true when the callback stopped it.
    bool compile()
    {
        std::string text;
        for (const std::string &s : order) {
            text += "[" + s + "]\r\n";
            for (const auto &[k, v] : sections[s])
                text += k + "=" + v + "\r\n";
            text += "\r\n";
        }
        EXPECT_TRUE(writeFile(proj + "/p.wfp", text));
        return m_compile((proj + "/p.wfp").c_str(), app.c_str(), record, true);
    }

    std::vector<std::string> errors() const
    {
        std::vector<std::string> e;
        for (const Line &l : g_lines)
            if (l.kind == 1)
                e.push_back(l.text);
        return e;
    }

    std::vector<std::string> names(const ArchiveContents &a) const
    {
        std::vector<std::string> n;
        for (const ArchiveEntry &e : a.entries)
            n.push_back(e.name);
        return n;
    }

    // The lines sent, as the log holds them.
    static std::string sentText()
    {
        std::string text;
        for (const Line &l : g_lines)
            if (l.kind != 2)
                text += l.text + "\r\n";
        return text;
    }

    std::vector<std::string> outputFiles() const
    {
        std::vector<std::string> n;
        for (const FolderEntry &e : listFolder(out))
            n.push_back(e.name);
        return n;
    }

    decltype(&CompileFile) m_compile = nullptr;

private:
    void *m_lib = nullptr;
};

} // namespace

TEST(ElapsedTimeTest, Format)
{
    EXPECT_EQ(ElapsedTimeText(61234), "01:01:23 min");
    EXPECT_EQ(ElapsedTimeText(4567), "00:04:56 min");
    EXPECT_EQ(ElapsedTimeText(0), "00:00:00 min");
}

TEST_F(PipelineTest, DiskSetSplitsIntoVolumes)
{
    put("files/big.bin", randomBytes(250000, 2));
    set("DestFiles", "2", "\"{app}\"");
    set("SourceFiles", "2", "\"files\\big.bin\"");
    set("SourceFiles", "3", "\"{src}\\extra.ini\"");  // fetched by the runtime: neither packed nor checked
    set("DestFiles", "3", "\"{app}\"");
    set("Temporary", "MaxDiskSize", "102400");
    set("Temporary", "ClusterSize", "512");
    set("AdditionalFiles", "0", "\"readme.txt\"");

    EXPECT_FALSE(compile());
    EXPECT_TRUE(errors().empty()) << errors()[0];

    // The package: every source in order, byte for byte, across volumes.
    const ArchiveContents package = ReadArchive(out + "/setup.%d", "");
    EXPECT_EQ(names(package), (std::vector<std::string>{"a.txt", "b.bin", "big.bin"}));
    EXPECT_EQ(package.entries[0].data, slurp(proj + "/files/a.txt"));
    EXPECT_EQ(package.entries[2].data, slurp(proj + "/files/big.bin"));
    EXPECT_GE(package.volumeSizes.size(), 3u);
    EXPECT_FALSE(package.enciphered);

    // The support archive: sorted by full path, bare names, enciphered.
    const ArchiveContents support = ReadArchive(out + "/setup%d.lib", kSupportPassword);
    EXPECT_TRUE(support.enciphered);
    EXPECT_EQ(names(support), (std::vector<std::string>{"setup.bin", "data.csf", "Readme.txt", "lang.wfl"}));
    EXPECT_EQ(support.entries[0].data, slurp(app + "/setup.bin"));

    // data.csf as the runtime gets it.
    const std::string csf = support.entries[1].data;
    EXPECT_EQ(csf.find("[Temporary]"), std::string::npos);
    EXPECT_EQ(csf.find("[AdditionalFiles]"), std::string::npos);
    EXPECT_NE(csf.find("Password=9C1185A5C5E9FC54612808977EE8F548B2258D31"), std::string::npos);
    EXPECT_NE(csf.find("[FileSizes]\r\n0=5003\r\n1=3000\r\n2=250000\r\n"), std::string::npos) << csf;
    EXPECT_NE(csf.find("[LanguageFiles]\r\n0=lang.wfl\r\n"), std::string::npos);

    // setup.exe is the loader stub; the additional file lies beside it.
    EXPECT_EQ(slurp(out + "/setup.exe"), slurp(app + "/setupldr.bin"));
    EXPECT_EQ(slurp(out + "/readme.txt"), "Read me.");
    EXPECT_TRUE(listFolder(runtime + "/brindlewharf").empty()); // Temp is gone
    EXPECT_EQ(listFolder(app).size(), 4u);                       // the program folder is only read

    // The callback's lines and the log.
    ASSERT_GE(g_lines.size(), 4u);
    EXPECT_EQ(g_lines.front().text, "Brindlewharf Setup Compiler 2.0");
    EXPECT_EQ(g_lines.back().text, std::string(63, '*'));
    EXPECT_EQ(g_lines.back().percent, 100);
    EXPECT_EQ(g_lines[g_lines.size() - 2].text.rfind("Compilation finished. Elapsed time: ", 0), 0u);
    std::string log;
    bool sawMinor = false;
    for (const Line &l : g_lines) {
        EXPECT_LE(l.percent, 100);
        if (l.kind == 2) {
            sawMinor = true;
            EXPECT_TRUE(l.text.empty());
        } else {
            log += l.text + "\r\n";
        }
    }
    EXPECT_TRUE(sawMinor);
    EXPECT_EQ(slurp(this->log), log);
}

TEST_F(PipelineTest, SelfExtractingSetupWithIcon)
{
    set("Temporary", "OutputType", "1");
    set("Temporary", "MainIcon", fixturePath("four.ico"));
    // The stand-in stub carries a "LOADER_SIZE"; a stub without one gets it added.
    for (const bool stubHasLoaderSize : {true, false}) {
        SCOPED_TRACE(stubHasLoaderSize ? "stub with LOADER_SIZE" : "stub without LOADER_SIZE");
        if (!stubHasLoaderSize) {
            auto update = BeginResourceUpdate(app + "/selfext.bin", false);
            ASSERT_TRUE(update);
            ASSERT_TRUE(
                UpdateResourceEntry(*update, ResourceId(kResTypeRcData), ResourceId("LOADER_SIZE"), 0, nullptr, 0));
            ASSERT_TRUE(EndResourceUpdate(std::move(update), false));
            for (const std::string &resource : wrestoolList(app + "/selfext.bin"))
                ASSERT_EQ(resource.find("LOADER_SIZE"), std::string::npos) << resource;
        }
        g_lines.clear();
        EXPECT_FALSE(compile());
        EXPECT_TRUE(errors().empty()) << errors()[0];
        EXPECT_EQ(outputFiles(), std::vector<std::string>{"setup.exe"});
    
        const std::string exe = slurp(out + "/setup.exe");
        const PeImage image({reinterpret_cast<const uint8_t *>(exe.data()), exe.size()});
        ASSERT_TRUE(image.valid());
        const auto tree = image.resourceTree();
        ASSERT_TRUE(tree);
        const ResourceNode *loader = PeImage::findResource(*tree, kResTypeRcData, "LOADER_SIZE");
        ASSERT_NE(loader, nullptr);
        const auto value = image.resourceData(*loader);
        ASSERT_TRUE(value && value->size() == 4);
        const uint32_t loaderSize = readLe32(value->data());
        ASSERT_LT(loaderSize, exe.size());
    
        // The loader part checked by an independent tool: the project's icon.
        const std::string loaderFile = dir.file("loader.exe");
        ASSERT_TRUE(writeFile(loaderFile, exe.substr(0, loaderSize)));
        EXPECT_EQ(iconImages(wrestoolExtract(loaderFile, "-t14 -n MAINICON", dir.file("x.ico"))),
                  iconImages(slurp(fixturePath("four.ico"))));
    
        // Behind the loader: the support archive, which holds the package last.
        const ArchiveContents support = ReadArchiveData(std::string_view(exe).substr(loaderSize), kSupportPassword);
        ASSERT_FALSE(support.entries.empty());
        EXPECT_EQ(support.entries.front().name, "setup.bin");
        EXPECT_EQ(support.entries.back().name, "setup.0");
        const ArchiveContents package = ReadArchiveData(support.entries.back().data, "");
        EXPECT_EQ(names(package), (std::vector<std::string>{"a.txt", "b.bin"}));
        EXPECT_EQ(package.entries[1].data, slurp(proj + "/files/b.bin"));
    }
}

TEST_F(PipelineTest, SelfExtractingSetupWithoutIconStillGetsItsLoaderSize)
{
    // The stub's own "LOADER_SIZE" (0 in the stand-in) must not survive
    // into a setup.exe whose size it does not give.
    set("Temporary", "OutputType", "1");
    EXPECT_FALSE(compile());
    EXPECT_TRUE(errors().empty()) << errors()[0];
    const std::string exe = slurp(out + "/setup.exe");
    const PeImage image({reinterpret_cast<const uint8_t *>(exe.data()), exe.size()});
    ASSERT_TRUE(image.valid());
    const auto tree = image.resourceTree();
    ASSERT_TRUE(tree);
    const ResourceNode *loader = PeImage::findResource(*tree, kResTypeRcData, "LOADER_SIZE");
    ASSERT_NE(loader, nullptr);
    const auto value = image.resourceData(*loader);
    ASSERT_TRUE(value && value->size() == 4);
    const uint32_t loaderSize = readLe32(value->data());
    ASSERT_GT(loaderSize, 0u);
    ASSERT_LT(loaderSize, exe.size());
    const ArchiveContents support = ReadArchiveData(std::string_view(exe).substr(loaderSize), kSupportPassword);
    ASSERT_FALSE(support.entries.empty());
    EXPECT_EQ(support.entries.back().name, "setup.0");
}

TEST_F(PipelineTest, PackageWithItsOwnNameAndPassword)
{
    set("Temporary", "OutputType", "2");
    set("Temporary", "PackageName", "update.pkg");
    set("General", "Password", "\"s3cret\"");
    set("General", "RequirePassword", "1");
    EXPECT_FALSE(compile());
    EXPECT_TRUE(errors().empty()) << errors()[0];
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"update.pkg"});

    // No "setup.bin" in a package; the package inside is enciphered.
    const ArchiveContents support = ReadArchiveData(slurp(out + "/update.pkg"), kSupportPassword);
    EXPECT_EQ(names(support), (std::vector<std::string>{"data.csf", "Readme.txt", "lang.wfl", "setup.0"}));
    const ArchiveContents package = ReadArchiveData(support.entries.back().data, "s3cret");
    EXPECT_TRUE(package.enciphered);
    EXPECT_EQ(package.digest, DigestString("s3cret"));
    EXPECT_EQ(package.entries[0].data, slurp(proj + "/files/a.txt"));
    const PasswordDigest digest = DigestString("s3cret");
    EXPECT_NE(support.entries[0].data.find("Password=" + BytesToHex(digest.data(), digest.size())), std::string::npos);
}

TEST_F(PipelineTest, ValidationReportsEverythingAndTouchesNothing)
{
    ASSERT_TRUE(createFolder(out));
    put("out/keep.txt", "mine");
    set("General", "DestDir", "");
    sections["General"].erase("ProgMenuFolder");
    set("SourceFiles", "2", "\"files\\gone.txt\"");
    sections.erase("InstTypes");
    order.erase(std::find(order.begin(), order.end(), "InstTypes"));
    EXPECT_FALSE(compile());
    EXPECT_EQ(errors(), (std::vector<std::string>{
                            "ERROR: You must specify an application folder!",
                            "ERROR: You must specify a program group folder!",
                            "ERROR: File " + proj + "/files/gone.txt does not exist!",
                            "ERROR: Your setup must contain at least one installation type!",
                        }));
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"keep.txt"});
    // The log is this compile's, so that it never shows an earlier success.
    EXPECT_EQ(slurp(log), sentText());
}

TEST_F(PipelineTest, AutorunWithoutIconStillWritesTheFile)
{
    set("Temporary", "CreateAutorun", "1");
    EXPECT_FALSE(compile());
    EXPECT_EQ(errors(), std::vector<std::string>{"ERROR: Could not copy !"});
    EXPECT_EQ(slurp(out + "/autorun.inf"), "[Autorun]\r\nOPEN=setup.exe\r\nICON=autorun.ico\r\n");
}

TEST_F(PipelineTest, BatchStep)
{
    const std::string marker = dir.file("batch-ran");
    put("post build.sh", "#!/bin/sh\ntouch '" + marker + "'\n");
    ::chmod((proj + "/post build.sh").c_str(), 0755);
    set("Temporary", "RunBatch", "post build.sh");
    EXPECT_FALSE(compile());
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(fileExists(marker));

    g_lines.clear();
    set("Temporary", "RunBatch", "missing.sh");
    EXPECT_FALSE(compile());
    EXPECT_EQ(errors(),
              std::vector<std::string>{"ERROR: Could not run batch file " + proj + "/missing.sh: No such file or directory!"});
}

TEST_F(PipelineTest, StopAtEachPointWhereTheCompileLooks)
{
    struct Case {
        const char *name;
        std::function<bool(const Line &)> stopAt;
        bool outputTouched;
    } cases[] = {
        {"banner", [](const Line &l) { return l.text == "Brindlewharf Setup Compiler 2.0"; }, false},
        {"copying", [](const Line &l) { return l.text == "Copying installation files..."; }, true},
        {"support copy", [](const Line &l) { return l.text.find("Readme.txt...") != std::string::npos; }, true},
        {"archive", [](const Line &l) { return l.text.rfind("Compressing", 0) == 0; }, true},
        // The first percentage of a large file: the rest of it is not read.
        {"inside a large file",
         [inBig = false](const Line &l) mutable {
             if (l.kind != 2)
                 inBig = l.text.find("big.bin") != std::string::npos;
             return inBig && l.percent > 0 && l.percent < 50;
         },
         true},
    };
    put("files/big.bin", randomBytes(2'000'000, 8));
    set("DestFiles", "2", "\"{app}\"");
    set("SourceFiles", "2", "\"files\\big.bin\"");
    for (const Case &c : cases) {
        g_lines.clear();
        ASSERT_TRUE(createFolder(out));
        put("out/old.txt", "old");
        for (int k = 0; k <= 7; ++k)
            put("out/setup." + std::to_string(k), "a volume of an earlier compile");
        // Like the editor's cancel button: once pressed, every answer is no.
        bool stopped = false;
        size_t minorAfterStop = 0;
        g_answer = [&](const Line &l) {
            minorAfterStop += stopped && l.kind == 2;
            stopped = stopped || c.stopAt(l);
            return !stopped;
        };
        EXPECT_TRUE(compile()) << c.name;
        EXPECT_EQ(minorAfterStop, 0u) << c.name;
        const auto e = errors();
        ASSERT_FALSE(e.empty()) << c.name;
        EXPECT_EQ(e.back(), "ERROR: Compilation terminated by user!") << c.name;
        EXPECT_EQ(e.size(), 1u) << c.name;
        EXPECT_TRUE(listFolder(runtime + "/brindlewharf").empty()) << c.name;
        EXPECT_EQ(slurp(log), sentText()) << c.name; // the log tells of this compile, stop and all
        // Only the compile's own files go; before the project is read the
        // output folder is not known yet.
        EXPECT_TRUE(fileExists(out + "/old.txt")) << c.name;
        EXPECT_EQ(fileExists(out + "/setup.7"), !c.outputTouched) << c.name;
        if (c.outputTouched) {
            EXPECT_EQ(outputFiles(), std::vector<std::string>{"old.txt"}) << c.name;
        }
    }
}

TEST_F(PipelineTest, StopDuringValidationDeletesNothing)
{
    // The output folder is the project's own folder, which validation
    // reports; a stop answered to that line must not touch it after all.
    set("Temporary", "OutputDir", ".");
    put("setup.exe", "the author's own file of that name");
    g_answer = [](const Line &l) { return l.kind != 1; };
    EXPECT_TRUE(compile());
    ASSERT_FALSE(errors().empty());
    EXPECT_NE(errors()[0].find("is the project's own folder"), std::string::npos) << errors()[0];
    EXPECT_TRUE(fileExists(proj + "/p.wfp"));
    EXPECT_TRUE(fileExists(proj + "/readme.txt"));
    EXPECT_EQ(slurp(proj + "/setup.exe"), "the author's own file of that name");
}

namespace {

// The author's files every compile case starts with: in the project folder
// and in the output folder, where the author keeps notes beside the setup.
// Beside them, names like the volumes' that no compile writes.
const std::map<std::string, std::string> kAuthorFiles = {
    {"notes.txt", "the author's notes"},
    {"out/notes.txt", "kept beside the setup"},
    {"out/sub/keep.txt", "in a folder of the author's"},
    {"out/setup.01", "a leading zero"},
    {"out/setup007.lib", "leading zeros"},
    {"out/setup.2024", "a year"},
    {"out/setup256.lib", "past the last volume an archive can have"},
};

// An answer that, at the first line starting with line, puts links named
// names into the output folder, each pointing at the author's notes, as a
// second writer of a shared folder could.
std::function<bool(const Line &)> linksAt(const std::string &line, const std::string &out,
                                          const std::string &target, std::vector<std::string> names)
{
    return [=, done = false](const Line &l) mutable {
        if (!done && l.text.rfind(line, 0) == 0) {
            done = true;
            for (const std::string &name : names) {
                deleteFile(out + "/" + name);
                EXPECT_EQ(::symlink(target.c_str(), (out + "/" + name).c_str()), 0) << name;
            }
        }
        return true;
    };
}

} // namespace

TEST_F(PipelineTest, CompileCases)
{
    std::optional<FolderHandle> otherCompile; // the lock of a compile running elsewhere
    struct Case {
        std::string name;
        std::function<void()> prepare;
        std::string error;      // a fragment of the one error line; empty: none
        bool validationProblem; // found before anything is written
        bool goesOn = false;    // a step that reports and goes on: the compile closes
        std::function<void()> check = {}; // what else must hold afterwards
        size_t left = 5;        // the files the clearing leaves, as its warning counts them
    };
    std::vector<Case> cases = {
        {"a good compile", [] {}, "", false},
        {"the output folder is the project's folder", [&] { set("Temporary", "OutputDir", "."); },
         "is the project's own folder", true},
        {"the output folder is the program folder", [&] { set("Temporary", "OutputDir", app); },
         "is the program folder", true},
        {"a patch source that does not exist",
         [&] { set("PatchedFiles", "0", "\"files\\old-a.txt\""); }, "the older version of", true},
        {"a compression level above 8", [&] { set("Temporary", "CompressionLevel", "9"); },
         "compression level 9 is not between 0 and 8", true},
        {"a package name with a folder",
         [&] {
             set("Temporary", "OutputType", "2");
             set("Temporary", "PackageName", "../escaped.lib");
         },
         "must be a bare file name", true},
        {"an empty WorkDir", [&] { set("Temporary", "WorkDir", ""); }, "WorkDir is empty", true},
        {"a WorkDir that does not exist, from a project saved on Windows",
         [&] { set("Temporary", "WorkDir", "C:\\Users\\author\\proj\\"); },
         "The folder C:\\Users\\author\\proj\\ that the project names for its relative paths (WorkDir) does not "
         "exist!",
         true},
        {"an output type of 3", [&] { set("Temporary", "OutputType", "3"); }, "The output type 3 is none of", true},
        {"an output type of -1", [&] { set("Temporary", "OutputType", "-1"); }, "The output type -1 is none of", true},
        {"the output folder inside the program folder", [&] { set("Temporary", "OutputDir", app + "/out"); },
         "lies inside the program folder", true},
        {"the output folder in use by another compile",
         [&] {
             ASSERT_TRUE(createFolder(out));
             ASSERT_TRUE(otherCompile.emplace().open(out) && otherCompile->lock());
         },
         "The output folder " + out + " is in use by another compile", true},
        {"a package file whose name is longer than an archive stores",
         [&] {
             put("files/" + std::string(61, 'n') + ".txt", "long");
             set("DestFiles", "2", "\"{app}\"");
             set("SourceFiles", "2", "\"files\\" + std::string(61, 'n') + ".txt\"");
         },
         "is longer than the 64 bytes a setup archive stores", true},
        {"two package files whose names differ only in case",
         [&] {
             put("files/i.txt", "1");
             put("files/I.TXT", "2");
             set("DestFiles", "2", "\"{app}\"");
             set("DestFiles", "3", "\"{app}\"");
             set("SourceFiles", "2", "\"files\\i.txt\"");
             set("SourceFiles", "3", "\"files\\I.TXT\"");
         },
         "differ only in letter case", true},
        {"a package named autorun.inf with autorun on",
         [&] {
             set("Temporary", "OutputType", "2");
             set("Temporary", "PackageName", "autorun.inf");
             set("Temporary", "CreateAutorun", "1");
             set("Temporary", "AutorunIcon", "readme.txt");
         },
         "The package name autorun.inf is the name of a file the compile writes", true},
        {"a main icon kept in the output folder as autorun.ico, with autorun on",
         [&] {
             put("out/autorun.ico", slurp(fixturePath("four.ico")));
             set("Temporary", "MainIcon", "out\\autorun.ico");
             set("Temporary", "CreateAutorun", "1");
             set("Temporary", "AutorunIcon", "readme.txt");
         },
         "holds " + out + "/autorun.ico, which the compile would delete!", true},
        {"with autorun off, the author's own autorun files stay",
         [&] {
             put("out/autorun.inf", "[autorun]\r\nopen=mine.exe\r\n");
             put("out/autorun.ico", slurp(fixturePath("four.ico")));
             set("Temporary", "MainIcon", "out\\autorun.ico");
         },
         "", false, false,
         [&] {
             EXPECT_EQ(slurp(out + "/autorun.inf"), "[autorun]\r\nopen=mine.exe\r\n");
             EXPECT_EQ(slurp(out + "/autorun.ico"), slurp(fixturePath("four.ico")));
         },
         7},
        {"a package leaves the author's setup.exe",
         [&] {
             set("Temporary", "OutputType", "2");
             put("out/setup.exe", "the author's");
         },
         "", false, false, [&] { EXPECT_EQ(slurp(out + "/setup.exe"), "the author's"); }, 6},
        {"the output folder swapped for a link while the setup is written",
         [&] {
             put("elsewhere/setup.0", "the author's, in another folder");
             g_answer = [&, done = false](const Line &l) mutable {
                 if (!done && l.text.rfind("Compressing", 0) == 0) {
                     done = true;
                     EXPECT_EQ(::rename(out.c_str(), (out + ".moved").c_str()), 0);
                     EXPECT_EQ(::symlink((proj + "/elsewhere").c_str(), out.c_str()), 0);
                 }
                 return true;
             };
         },
         "", false, false,
         [&] {
             // Everything went on into the folder that was opened.
             EXPECT_EQ(listFolder(proj + "/elsewhere").size(), 1u);
             EXPECT_EQ(slurp(proj + "/elsewhere/setup.0"), "the author's, in another folder");
             EXPECT_EQ(ReadArchive(out + ".moved/setup.%d", "").entries.size(), 2u);
             EXPECT_TRUE(fileExists(out + ".moved/setup.exe"));
             ASSERT_EQ(::unlink(out.c_str()), 0);
             ASSERT_EQ(::rename((out + ".moved").c_str(), out.c_str()), 0);
         }},
        {"the output folder is a link, named with a trailing separator", [&] {
             ASSERT_EQ(::rename(out.c_str(), (proj + "/real-out").c_str()), 0);
             ASSERT_EQ(::symlink((proj + "/real-out").c_str(), out.c_str()), 0);
             set("Temporary", "OutputDir", "out\\");
         },
         "The output folder " + out + "/ is a symbolic link", true,
         false, [&] {
             ASSERT_EQ(::unlink(out.c_str()), 0);
             ASSERT_EQ(::rename((proj + "/real-out").c_str(), out.c_str()), 0);
         }},
        {"an earlier support volume past a gap never joins the new setup",
         [&] {
             deleteFile(out + "/setup1.lib");
             for (int k = 8; k <= 20; ++k)
                 put("out/setup" + std::to_string(k) + ".lib", "earlier");
             set("Temporary", "MaxDiskSize", "20480");
             put("files/data.bin", randomBytes(40000, 7)); // a support archive of several disks
             set("DataFiles", "0", "\"files\\data.bin\"");
         },
         "", false, false,
         [&] {
             const ArchiveContents support = ReadArchive(out + "/setup%d.lib", kSupportPassword);
             ASSERT_GT(support.volumeSizes.size(), 1u);
             ASSERT_LT(support.volumeSizes.size(), 20u);
             for (size_t k = 0; k <= 20; ++k) {
                 const std::string volume = out + "/setup" + std::to_string(k) + ".lib";
                 EXPECT_EQ(fileExists(volume), k < support.volumeSizes.size()) << volume;
             }
             // The package's first volume fills the disk of the last support volume.
             const int64_t last = (support.volumeSizes.back() + 511) / 512 * 512;
             ASSERT_LT(last, 20480) << "the last support volume should leave room";
             EXPECT_EQ(ReadArchive(out + "/setup.%d", "").firstVolumeSize, 20480 - last);
         }},
        {"an archive that needs more than 256 volumes",
         [&] {
             put("files/big.bin", randomBytes(300000, 5));
             set("DestFiles", "2", "\"{app}\"");
             set("SourceFiles", "2", "\"files\\big.bin\"");
             set("Temporary", "MaxDiskSize", "1024");
             put("extra/setup.256", "the author's");
             set("AdditionalFiles", "0", "\"extra\\setup.256\"");
         },
         "a setup archive has at most 256", false, false,
         [&] {
             EXPECT_EQ(slurp(out + "/setup.256"), "the author's");
             EXPECT_FALSE(fileExists(out + "/setup.0"));
         }},
        {"a disk size too small for the package's entries alone",
         [&] {
             for (int k = 2; k <= 4; ++k) {
                 put("files/c" + std::to_string(k), "c");
                 set("DestFiles", std::to_string(k), "\"{app}\"");
                 set("SourceFiles", std::to_string(k), "\"files\\c" + std::to_string(k) + "\"");
             }
             set("Temporary", "MaxDiskSize", "2");
             set("Temporary", "ClusterSize", "0");
         },
         "The disk size 2 is too small: the package of 5 files needs at least 312 disks", true},
        {"a source that changes while it is compressed",
         [&] {
             put("files/big.bin", randomBytes(300000, 6));
             set("DestFiles", "2", "\"{app}\"");
             set("SourceFiles", "2", "\"files\\big.bin\"");
             g_answer = [&, compressing = false, done = false](const Line &l) mutable {
                 if (l.kind != 2)
                     compressing = l.text.find("big.bin") != std::string::npos;
                 else if (compressing && !done) {
                     done = true;
                     std::ofstream(proj + "/files/big.bin", std::ios::app) << "written meanwhile";
                 }
                 return true;
             };
         },
         "Error creating setup package. Message: File " + proj + "/files/big.bin changed while it was compiled!",
         false},
        {"a source that changed between the check and its compression",
         [&] {
             g_answer = [&, done = false](const Line &l) mutable {
                 if (!done && l.text == "Copying installation files...") {
                     done = true;
                     put("files/b.bin", randomBytes(3001, 1));
                 }
                 return true;
             };
         },
         "File " + proj + "/files/b.bin changed while it was compiled!", false,
         false, [&] { put("files/b.bin", randomBytes(3000, 1)); }},
        {"a drive-letter output folder from a project made on Windows",
         [&] { set("Temporary", "OutputDir", "C:\\Setup"); },
         "The output folder C:\\Setup is a Windows drive or network path", true},
        {"a network output folder from a project made on Windows",
         [&] { set("Temporary", "OutputDir", "\\\\server\\out"); },
         "The output folder \\\\server\\out is a Windows drive or network path", true},
        {"a package file over 2 GiB",
         [&] {
             put("files/huge.bin", "");
             ASSERT_EQ(::truncate((proj + "/files/huge.bin").c_str(), off_t{3} << 30), 0);
             set("DestFiles", "2", "\"{app}\"");
             set("SourceFiles", "2", "\"files\\huge.bin\"");
         },
         "File " + proj + "/files/huge.bin has 3221225472 bytes, more than the 2147483647 bytes", true,
         false, [&] { deleteFile(proj + "/files/huge.bin"); }},
        {"one file used three ways in the output folder",
         [&] {
             put("out/setup.3", "the author's");
             set("Temporary", "ReadmeFile", "out\\setup.3");
             set("Temporary", "BackImage", "out\\setup.3");
             set("DestFiles", "2", "\"{app}\"");
             set("SourceFiles", "2", "\"out\\setup.3\"");
         },
         "holds " + out + "/setup.3, which the compile would delete!", true},
        {"a key given twice in SourceFiles",
         [&] { set("SourceFiles", "1", "\"files\\b.bin\"\r\n1=\"files\\a.txt\""); },
         "The key 1 of SourceFiles is given twice (\"files\\b.bin\" and \"files\\a.txt\")", true},
        {"a key of SourceFiles without a file",
         [&] {
             set("DestFiles", "2", "\"{app}\"");
             set("SourceFiles", "2", "");
         },
         "The key 2 of SourceFiles names no file!", true},
        {"a stop asked for while the batch step runs",
         [&] {
             put("post.sh", "#!/bin/sh\nexit 0\n");
             ::chmod((proj + "/post.sh").c_str(), 0755);
             set("Temporary", "RunBatch", "post.sh");
             g_answer = [after = false](const Line &l) mutable {
                 after = after || l.text.rfind("Executing ", 0) == 0;
                 return !(after && l.kind == 2);
             };
         },
         "Compilation terminated by user!", false},
        {"an additional file that is a link in the output folder",
         [&] {
             ASSERT_TRUE(createFolder(out));
             ASSERT_EQ(::symlink((proj + "/notes.txt").c_str(), (out + "/linked.txt").c_str()), 0);
             set("AdditionalFiles", "0", "\"out\\linked.txt\"");
         },
         "holds " + out + "/linked.txt, which the compile would delete!", true},
        {"a package file that links to a file the compile deletes",
         [&] {
             ASSERT_EQ(::symlink((out + "/setup.exe").c_str(), (proj + "/files/old.exe").c_str()), 0);
             set("DestFiles", "2", "\"{app}\"");
             set("SourceFiles", "2", "\"files\\old.exe\"");
         },
         "holds " + out + "/setup.exe, which " + proj + "/files/old.exe links to and the compile would delete!", true},
        {"an additional file SETUP.EXE", [&] {
             put("extra/SETUP.EXE", "the author's");
             set("AdditionalFiles", "0", "\"extra\\SETUP.EXE\"");
         },
         "has the name of a file the compile writes (SETUP.EXE)", true},
        {"additional files i.txt and I.TXT",
         [&] {
             put("one/i.txt", "1");
             put("two/I.TXT", "2");
             set("AdditionalFiles", "0", "\"one\\i.txt\"");
             set("AdditionalFiles", "1", "\"two\\I.TXT\"");
         },
         "have names that differ only in letter case", true},
        {"an additional file that does not exist", [&] { set("AdditionalFiles", "0", "\"gone.txt\""); },
         "File " + proj + "/gone.txt does not exist!", true},
        {"a background picture that does not exist", [&] { set("Temporary", "BackImage", "gone.bmp"); },
         "File " + proj + "/gone.bmp does not exist!", true},
        {"a required password that is empty", [&] { set("General", "RequirePassword", "1"); },
         "The package password can't be used: Blowfish: Key must be between 1 and 56 bytes long!", true},
        {"a required password of 57 bytes",
         [&] {
             set("General", "RequirePassword", "1");
             set("General", "Password", std::string(57, 'p'));
         },
         "Key must be between 1 and 56 bytes long", true},
        {"two support files with one bare name",
         [&] {
             put("dlg/x.ddf", "1");
             put("un/x.ddf", "2");
             set("Dialogs", "0", "\"dlg\\x.ddf\"");
             set("UninstallDialogs", "0", "\"un\\x.ddf\"");
         },
         "would be stored as x.ddf", true},
        {"two support files whose names differ only in case",
         [&] {
             put("Data.ddf", "1");
             put("data.ddf", "2");
             set("DataFiles", "0", "\"Data.ddf\"");
             set("DataFiles", "1", "\"data.ddf\"");
         },
         "differ only in letter case", true},
        {"an additional file named like a volume",
         [&] {
             put("extra/setup1.lib", "the author's");
             set("AdditionalFiles", "0", "\"extra\\setup1.lib\"");
         },
         "has the name of a file the compile writes (setup1.lib)", true},
        {"two additional files of one name",
         [&] {
             put("one/info.txt", "1");
             put("two/info.txt", "2");
             set("AdditionalFiles", "0", "\"one\\info.txt\"");
             set("AdditionalFiles", "1", "\"two\\info.txt\"");
         },
         "have the same name info.txt", true},
        {"a disk size that is no whole number of clusters",
         [&] {
             set("Temporary", "MaxDiskSize", "100000");
             set("Temporary", "ClusterSize", "512");
         },
         "not a whole number of clusters", true},
        {"no loader stub", [&] { deleteFile(app + "/setupldr.bin"); }, "setupldr.bin does not exist", true},
        {"no self-extracting stub",
         [&] {
             set("Temporary", "OutputType", "1");
             deleteFile(app + "/selfext.bin");
         },
         "selfext.bin does not exist", true},
        {"no registration program",
         [&] {
             set("RegOCX", "0", "1");
             set("Pending", "0", "1");
             deleteFile(app + "/regserv.bin");
         },
         "regserv.bin does not exist", true},
        {"a read-only stub still gets the project's icon",
         [&] {
             set("Temporary", "OutputType", "1");
             set("Temporary", "MainIcon", fixturePath("four.ico"));
             ::chmod((app + "/selfext.bin").c_str(), 0444);
         },
         "", false},
        {"a self-extracting stub whose size can't be stored",
         [&] {
             set("Temporary", "OutputType", "1");
             writeFile(app + "/selfext.bin", "not an executable");
         },
         "Could not store the size of", false},
        {"a folder in the output folder where autorun.inf goes",
         [&] {
             set("Temporary", "CreateAutorun", "1");
             set("Temporary", "AutorunIcon", "readme.txt");
             createFolder(out + "/autorun.inf");
         },
         "holds a folder autorun.inf, where the compile writes a file of that name!", true},
        {"links put in the output folder while a disk set is written",
         [&] {
             set("Temporary", "CreateAutorun", "1");
             set("Temporary", "AutorunIcon", "readme.txt");
             set("Temporary", "MainIcon", fixturePath("four.ico"));
             set("AdditionalFiles", "0", "\"readme.txt\"");
             g_answer = linksAt("Copying installation files...", out, proj + "/notes.txt",
                                {"setup.exe", "setup.0", "setup0.lib", "autorun.inf", "autorun.ico", "readme.txt"});
         },
         "", false},
        {"a link put in place of a self-extracting setup.exe",
         [&] {
             set("Temporary", "OutputType", "1");
             set("Temporary", "MainIcon", fixturePath("four.ico"));
             g_answer = linksAt("Changing main icon...", out, proj + "/notes.txt", {"setup.exe"});
         },
         "", false},
        {"links put where a package and its volumes go",
         [&] {
             set("Temporary", "OutputType", "2");
             set("Temporary", "PackageName", "update.pkg");
             g_answer = linksAt("Copying installation files...", out, proj + "/notes.txt",
                                {"update.pkg", "setup.0", "setup0.lib"});
         },
         "", false, false, {}, 6}, // a package writes no setup.exe: the earlier one stays
        {"a stop answered to the first line of a copy",
         [&] {
             g_answer = [](const Line &l) {
                 return l.text.rfind("Copying ", 0) != 0 || l.text.find("readme") == std::string::npos;
             };
         },
         "Compilation terminated by user!", false},
        {"no place for Temp",
         [&] {
             // The runtime folder and the cache folder it falls back to.
             ::setenv("XDG_RUNTIME_DIR", (proj + "/notes.txt").c_str(), 1);
             ::setenv("XDG_CACHE_HOME", (proj + "/notes.txt").c_str(), 1);
         },
         "Could not create the folder " + proj + "/notes.txt/brindlewharf: " + proj + "/notes.txt is not a folder", true},
        {"an autorun icon that does not exist",
         [&] {
             set("Temporary", "CreateAutorun", "1");
             set("Temporary", "AutorunIcon", "missing.ico");
         },
         "File " + proj + "/missing.ico does not exist!", true},
        {"an icon file that is no icon",
         [&] { set("Temporary", "MainIcon", proj + "/readme.txt"); },
         "The main icon " + proj + "/readme.txt is no icon file", true},
        {"a batch program that does not exist", [&] { set("Temporary", "RunBatch", "missing.sh"); },
         "Could not run batch file " + proj + "/missing.sh: No such file or directory!", false, true},
        {"a stop answered to the line of the batch step",
         [&] {
             put("post.sh", "#!/bin/sh\necho overwritten > '" + proj + "/notes.txt'\n");
             ::chmod((proj + "/post.sh").c_str(), 0755);
             set("Temporary", "RunBatch", "post.sh");
             g_answer = [](const Line &l) { return l.text.rfind("Executing ", 0) != 0; };
         },
         "Compilation terminated by user!", false},
        {"a stop answered to the closing lines changes nothing",
         [&] { g_answer = [](const Line &l) { return l.text.rfind("Compilation finished", 0) != 0; }; }, "", false},
    };
    // Names a Windows machine can't create: as a package file, an
    // additional file and the package's own name, each refused naming the
    // file and the rule.
    const std::pair<std::string, std::string> windowsNames[] = {
        {"CON", "reserves"},       {"aux.txt", "reserves"},     {"nul.txt", "reserves"},
        {"COM1", "reserves"},      {"lpt9.dat", "reserves"},    {"x.", "ends in a dot or a space"},
        {"y ", "ends in a dot or a space"}, {"a<b.txt", "the character <"}, {"c?.txt", "the character ?"},
        {"tab\t.txt", "the control character 0x09"},
    };
    for (const auto &[name, rule] : windowsNames) {
        cases.push_back({"a package file " + name, [&, name] {
                             put("files/" + name, "x");
                             set("DestFiles", "2", "\"{app}\"");
                             set("SourceFiles", "2", "\"files\\" + name + "\"");
                         },
                         proj + "/files/" + name + " would be stored as " + name + ", which", true});
        cases.push_back({"an additional file " + name, [&, name] {
                             put("extra/" + name, "x");
                             set("AdditionalFiles", "0", "\"extra\\" + name + "\"");
                         },
                         "The additional file " + proj + "/extra/" + name + " would be copied as " + name + ", which",
                         true});
        cases.push_back({"the package name " + name, [&, name] {
                             set("Temporary", "OutputType", "2");
                             set("Temporary", "PackageName", name);
                         },
                         "The package name " + name + " ", true});
        for (size_t k = cases.size() - 3; k < cases.size(); ++k)
            cases[k].check = [&, k, rule = rule] {
                const auto e = errors();
                ASSERT_EQ(e.size(), 1u);
                EXPECT_NE(e[0].find(rule), std::string::npos) << cases[k].name << ": " << e[0];
            };
    }
    // Two names that are one on a Windows disk give one line, for the name
    // Windows can't create.
    cases.push_back({"package files readme.txt and readme.txt.", [&] {
                         put("files/readme.txt.", "x");
                         set("DestFiles", "2", "\"{app}\"");
                         set("DestFiles", "3", "\"{app}\"");
                         set("SourceFiles", "2", "\"readme.txt\"");
                         set("SourceFiles", "3", "\"files\\readme.txt.\"");
                     },
                     "would be stored as readme.txt., which ends in a dot or a space", true});

    const auto savedSections = sections;
    const auto savedOrder = order;
    const ScopedEnv savedCache("XDG_CACHE_HOME", std::getenv("XDG_CACHE_HOME"));
    const std::string cache = dir.file("cache-home");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        sections = savedSections;
        order = savedOrder;
        g_lines.clear();
        g_answer = nullptr;
        otherCompile.reset();
        deleteFile(proj + "/files/old.exe");
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
        removeTree(out);
        removeTree(app);
        ASSERT_TRUE(createFolder(app));
        for (const char *stub : {"setup.bin", "setupldr.bin", "selfext.bin", "regserv.bin"})
            ASSERT_TRUE(copyFile(programPath(stub), app + "/" + stub));
        // An earlier compile's log, which must never stand for this one.
        ForceDirs(extractFilePath(log));
        ASSERT_TRUE(writeFile(log, "Compilation finished. Elapsed time: 00:00:01 min\r\n"));
        for (const auto &[name, text] : kAuthorFiles)
            put(name, text);
        // What an earlier, larger compile left: it goes unless the compile
        // is refused before it writes anything; a volume past a gap as well.
        put("out/setup.exe", "earlier");
        for (int k = 0; k <= 9; ++k)
            put("out/setup." + std::to_string(k), "earlier");
        for (int k = 0; k <= 7; ++k)
            put("out/setup" + std::to_string(k) + ".lib", "earlier");
        put("out/setup.255", "earlier, past a gap");
        put("out/setup12.lib", "earlier, past a gap");
        c.prepare();

        EXPECT_FALSE(compile()); // the last answer is always "go on"
        const auto e = errors();
        if (c.error.empty()) {
            EXPECT_TRUE(e.empty()) << e.front();
        } else {
            // Every row is checked, so a failure goes on to the next one.
            EXPECT_EQ(e.size(), 1u) << (e.empty() ? std::string("no error line") : e.front() + "\n" + e.back());
            if (!e.empty()) {
                EXPECT_NE(e[0].find(c.error), std::string::npos) << e[0];
            }
        }
        bool finished = false, ended = false;
        for (const Line &l : g_lines) {
            finished = finished || l.text.rfind("Compilation finished", 0) == 0;
            ended = ended || l.text.rfind("Compilation ended with 1 error. ", 0) == 0;
        }
        EXPECT_EQ(finished, c.error.empty());
        EXPECT_EQ(ended, c.goesOn);
        // However it ended, the log is this compile's own.
        EXPECT_EQ(slurp(log), sentText());
        if (c.check)
            c.check();

        for (const auto &[name, text] : kAuthorFiles)
            EXPECT_EQ(slurp(proj + "/" + name), text) << name;
        EXPECT_TRUE(fileExists(proj + "/p.wfp"));
        EXPECT_FALSE(fileExists(proj + "/escaped.lib"));
        // No volume of the earlier compile is left, past a gap neither.
        const auto earlier = [&](const char *name) {
            return slurp(out + "/" + name).rfind("earlier", 0) == 0;
        };
        for (const char *name : {"setup.9", "setup7.lib", "setup.255", "setup12.lib"})
            EXPECT_EQ(earlier(name), c.validationProblem) << name;
        if (c.validationProblem) {
            EXPECT_EQ(slurp(out + "/setup.exe"), "earlier");
        }
        EXPECT_TRUE(listFolder(runtime + "/brindlewharf").empty()) << "Temp is left";

        // One warning line counts the author's files left in the output folder.
        size_t warnings = 0;
        for (const Line &l : g_lines)
            if (l.text.rfind("Warning: ", 0) == 0) {
                ++warnings;
                EXPECT_EQ(l.text, "Warning: " + std::to_string(c.left) +
                                      " files in the output folder not written by a compile were left alone.");
            }
        EXPECT_EQ(warnings, c.validationProblem ? 0u : 1u);
    }
    EXPECT_TRUE(fileExists(log));
}

TEST_F(PipelineTest, AStopAtAnyLineIsNeverASuccess)
{
    // One compile to count the lines, then one compile per line with a
    // single stop answered to that line and "go on" to every other.
    set("Temporary", "OutputType", "1");
    set("Temporary", "MainIcon", fixturePath("four.ico"));
    set("Temporary", "CreateAutorun", "1");
    set("Temporary", "AutorunIcon", "readme.txt");
    set("AdditionalFiles", "0", "\"notes.txt\"");
    put("notes.txt", "the author's notes");
    put("out/mine/keep.txt", "mine");
    put("out/mine.txt", "mine");
    ASSERT_FALSE(compile());
    ASSERT_TRUE(errors().empty()) << errors()[0];
    const size_t calls = g_lines.size();
    size_t closing = 0;
    while (closing < calls && g_lines[closing].text != std::string(63, '*'))
        ++closing;
    ASSERT_LT(closing, calls);

    for (size_t k = 0; k < calls; ++k) {
        SCOPED_TRACE("stop at call " + std::to_string(k));
        g_lines.clear();
        deleteFile(out + "/setup.exe");
        size_t call = 0;
        g_answer = [&](const Line &) { return call++ != k; };
        const bool stopped = compile();
        bool finished = false;
        for (const Line &l : g_lines)
            finished = finished || l.text.rfind("Compilation finished", 0) == 0;
        if (k < closing) {
            EXPECT_FALSE(finished);
            const auto e = errors();
            ASSERT_FALSE(e.empty());
            EXPECT_EQ(e.back(), "ERROR: Compilation terminated by user!");
            // The answer to the stop line itself was "go on", and the last
            // answer is the result.
            EXPECT_FALSE(stopped);
            EXPECT_FALSE(fileExists(out + "/setup.exe"));
        } else {
            EXPECT_TRUE(finished);
            EXPECT_FALSE(stopped);
            EXPECT_TRUE(errors().empty());
            EXPECT_TRUE(fileExists(out + "/setup.exe"));
        }
        EXPECT_EQ(slurp(proj + "/notes.txt"), "the author's notes");
        EXPECT_EQ(slurp(out + "/mine.txt"), "mine");
        EXPECT_EQ(slurp(out + "/mine/keep.txt"), "mine");
        EXPECT_TRUE(fileExists(proj + "/p.wfp"));
        EXPECT_TRUE(listFolder(runtime + "/brindlewharf").empty());
    }
}

TEST_F(PipelineTest, TwoProcessesCompilingAtOnceShareNoScratchFile)
{
    // Both compiles read the same project (the output folder differs) and
    // run at the same moment; the log ends up as one whole log of either.
    set("Temporary", "OutputDir", "out1");
    put("files/big.bin", randomBytes(400000, 3));
    set("SourceFiles", "2", "\"files\\big.bin\"");
    set("DestFiles", "2", "\"{app}\"");
    const auto logText = [] {
        std::string text;
        for (const Line &l : g_lines)
            if (l.kind != 2)
                text += l.text + "\r\n";
        return text;
    };
    ASSERT_FALSE(compile());
    sections["Temporary"]["OutputDir"] = "out2";
    std::string project2;
    for (const std::string &s : order) {
        project2 += "[" + s + "]\r\n";
        for (const auto &[k, v] : sections[s])
            project2 += k + "=" + v + "\r\n";
        project2 += "\r\n";
    }
    put("p2.wfp", project2);
    sections["Temporary"]["OutputDir"] = "out1";
    g_lines.clear();

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        g_lines.clear();
        const bool stopped = m_compile((proj + "/p2.wfp").c_str(), app.c_str(), record, true);
        const bool clean = !stopped && errors().empty() && writeFile(dir.file("child.log"), logText());
        ::_exit(clean ? 0 : 1);
    }
    EXPECT_FALSE(compile());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(errors().empty()) << errors()[0];
    EXPECT_EQ(ReadArchive(out + "1/setup.%d", "").entries.size(), 3u);
    EXPECT_EQ(ReadArchive(out + "2/setup.%d", "").entries.size(), 3u);
    const std::string saved = slurp(log);
    EXPECT_TRUE(saved == logText() || saved == slurp(dir.file("child.log")));
    EXPECT_TRUE(listFolder(runtime + "/brindlewharf").empty());
    EXPECT_EQ(listFolder(state + "/brindlewharf").size(), 1u); // no scratch copy of the log is left
}

TEST_F(PipelineTest, TheWritersScratchFilesLieInTheCompilesOwnTemp)
{
    // A shared temporary folder that can't be used: the archive writer and
    // the resource updater (icon, loader size) need none.
    const ScopedEnv tmp("TMPDIR", dir.file("no-such-folder"));
    set("Temporary", "OutputType", "1");
    set("Temporary", "MainIcon", fixturePath("four.ico"));
    put("files/big.bin", randomBytes(300000, 4));
    set("SourceFiles", "2", "\"files\\big.bin\"");
    set("DestFiles", "2", "\"{app}\"");
    // Where the archive's scratch files lie while it is written, relative
    // to the user's runtime folder.
    std::set<std::string> places;
    g_answer = [&](const Line &l) {
        if (l.kind != 2)
            return true;
        const std::filesystem::path root = runtime + "/brindlewharf";
        for (const auto &entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string name = entry.path().filename().string();
            if (name == "bzarc.tmp" || name == "bzout.tmp") {
                // Named "<prefix>-<pid>-XXXXXX": the prefixes tell whose.
                const auto prefix = [](const std::filesystem::path &folder) {
                    const std::string text = folder.filename().string();
                    return text.substr(0, text.find('-'));
                };
                const std::filesystem::path own = entry.path().parent_path();
                const std::string above = own.parent_path() == root ? "" : prefix(own.parent_path());
                places.insert(above + "/" + prefix(own) + "/" + name);
            }
        }
        return true;
    };
    EXPECT_FALSE(compile());
    EXPECT_TRUE(errors().empty()) << errors()[0];
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"setup.exe"});
    EXPECT_EQ(places, (std::set<std::string>{"compile/archive/bzarc.tmp", "compile/archive/bzout.tmp"}));
    EXPECT_TRUE(listFolder(runtime + "/brindlewharf").empty());
}

TEST_F(PipelineTest, ALogThatCantBeSavedIsAnErrorLineNamingItsPath)
{
    put("state-file", "a file where the state folder should be");
    ::setenv("XDG_STATE_HOME", (proj + "/state-file").c_str(), 1);
    EXPECT_FALSE(compile());
    EXPECT_EQ(errors(), std::vector<std::string>{"ERROR: The compile log was not saved. Could not create the folder " +
                                                 proj + "/state-file/brindlewharf: " + proj +
                                                 "/state-file is not a folder"});
    EXPECT_EQ(slurp(proj + "/state-file"), "a file where the state folder should be");
    EXPECT_TRUE(fileExists(out + "/setup.exe")); // the setup itself is whole
    // The log is saved before the closing lines, which then count its error.
    ASSERT_GE(g_lines.size(), 3u);
    EXPECT_EQ(g_lines[g_lines.size() - 2].text.rfind("Compilation ended with 1 error. Elapsed time: ", 0), 0u);
    for (const Line &l : g_lines)
        EXPECT_NE(l.text.rfind("Compilation finished", 0), 0u);
}

TEST_F(PipelineTest, ASecondCompileWhileOneRunsIsRefusedAndChangesNothing)
{
    const std::string project = proj + "/p.wfp";
    const std::function<void()> ways[] = {
        [&] { EXPECT_FALSE(m_compile(project.c_str(), app.c_str(), recordSecond, true)); },
        [&] {
            std::thread other([&] { EXPECT_FALSE(m_compile(project.c_str(), app.c_str(), recordSecond, true)); });
            other.join();
        },
    };
    for (const auto &secondCompile : ways) {
        g_lines.clear();
        g_secondLines.clear();
        // In the middle of the first compile, after it has cleared the output
        // folder and filled its Temp.
        g_answer = [&](const Line &l) {
            if (l.text.rfind("Compressing", 0) == 0 && g_secondLines.empty())
                secondCompile();
            return true;
        };
        EXPECT_FALSE(compile());
        ASSERT_EQ(g_secondLines.size(), 1u);
        EXPECT_EQ(g_secondLines[0].text,
                  "ERROR: A compile is already running in this process; the library runs one compile at a time!");
        EXPECT_EQ(g_secondLines[0].kind, 1);
        // The first compile went on undisturbed.
        EXPECT_TRUE(errors().empty()) << errors()[0];
        EXPECT_EQ(g_lines[g_lines.size() - 2].text.rfind("Compilation finished", 0), 0u);
        EXPECT_EQ(ReadArchive(out + "/setup.%d", "").entries.size(), 2u);
        EXPECT_EQ(slurp(log).find("already running"), std::string::npos);
    }
    // Once it has ended, the next compile runs.
    g_answer = nullptr;
    g_lines.clear();
    EXPECT_FALSE(compile());
    EXPECT_TRUE(errors().empty());
}

TEST(CompileOutputNameTest, OnlyTheNamesThisCompileWrites)
{
    RunContext &run = CurrentRun();
    struct Settings {
        int outputType;
        bool autorun;
    };
    // Names of every compile, whatever its settings: the volumes.
    const char *volumes[] = {"setup.0", "setup.12", "setup0.lib", "setup31.lib", "setup.255", "setup255.lib"};
    const char *never[] = {"Setup.exe",   "SETUP.0",   "setup.exe.bak", "setup.",       "setup.lib",
                           "setupX.lib",  "setup.0.txt", "setup.-1",    "setup.lib.lib", "Readme.txt",
                           "notes.txt",   "setup.01",  "setup007.lib",  "setup.2024",   "setup.256",
                           "setup256.lib", "setup.+1",  "Autorun.inf"};
    for (const Settings settings : {Settings{0, false}, Settings{1, true}, Settings{2, false}, Settings{2, true}}) {
        SCOPED_TRACE("type " + std::to_string(settings.outputType) + (settings.autorun ? ", autorun" : ""));
        run = RunContext{};
        run.OutputType = settings.outputType;
        run.CreateAutorun = settings.autorun;
        run.OutputNames = {"update.pkg", "readme.txt"};
        for (const char *name : volumes)
            EXPECT_TRUE(IsCompileOutputName(name)) << name;
        for (const char *name : never)
            EXPECT_FALSE(IsCompileOutputName(name)) << name;
        EXPECT_TRUE(IsCompileOutputName("update.pkg"));
        EXPECT_TRUE(IsCompileOutputName("readme.txt"));
        EXPECT_EQ(IsCompileOutputName("setup.exe"), settings.outputType != 2);
        EXPECT_EQ(IsCompileOutputName("autorun.inf"), settings.autorun);
        EXPECT_EQ(IsCompileOutputName("autorun.ico"), settings.autorun);
        // On a Windows disk letter case and trailing dots make no other name.
        EXPECT_TRUE(IsOwnOutputNameOnWindows("SETUP.0"));
        EXPECT_TRUE(IsOwnOutputNameOnWindows("Setup12.LIB."));
        EXPECT_FALSE(IsOwnOutputNameOnWindows("setup.256"));
        EXPECT_EQ(IsOwnOutputNameOnWindows("Setup.EXE"), settings.outputType != 2);
        EXPECT_EQ(IsOwnOutputNameOnWindows("AUTORUN.INF "), settings.autorun);
    }
    run = RunContext{};
}

TEST(ClearCompileOutputTest, EveryVolumeAndOnlyWhatTheSettingsWrite)
{
    ScratchFolder dir;
    RunContext &run = CurrentRun();
    run = RunContext{};
    run.OutputDir = dir.file("out");
    run.OutputNames = {"extra.txt"};
    ASSERT_TRUE(createFolder(run.OutputDir));
    ASSERT_TRUE(writeFile(dir.file("elsewhere"), "linked"));
    for (const char *name : {"setup.0", "setup.1", "setup.2", "setup.4", "setup.01", "setup0.lib", "setup1.lib",
                             "setup3.lib", "setup.255", "setup.256", "autorun.inf", "extra.txt", "notes.txt"})
        ASSERT_TRUE(writeFile(run.OutputDir + "/" + name, "x")) << name;
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), (run.OutputDir + "/setup.exe").c_str()), 0);
    // A package without autorun: the author's setup.exe and autorun.inf stay.
    run.OutputType = 2;
    run.Output = std::make_unique<FolderHandle>();
    ASSERT_TRUE(run.Output->open(run.OutputDir));
    ClearCompileOutput(false);
    std::vector<std::string> left;
    for (const FolderEntry &e : listFolder(run.OutputDir))
        left.push_back(e.name);
    EXPECT_EQ(left, (std::vector<std::string>{"autorun.inf", "notes.txt", "setup.01", "setup.256", "setup.exe"}));
    // A disk set with autorun writes both.
    run.OutputType = 0;
    run.CreateAutorun = true;
    ClearCompileOutput(false);
    left.clear();
    for (const FolderEntry &e : listFolder(run.OutputDir))
        left.push_back(e.name);
    EXPECT_EQ(left, (std::vector<std::string>{"notes.txt", "setup.01", "setup.256"}));
    EXPECT_EQ(slurp(dir.file("elsewhere")), "linked"); // the link went, not what it names
    run = RunContext{};
}

TEST_F(PipelineTest, APatchThatCantBeWrittenNamesItsFileAndTheReasonOnce)
{
    // A runtime folder with room for everything but the patch; private to
    // the user, as a runtime folder must be to be used.
    const std::string small = dir.file("small");
    ASSERT_TRUE(createFolder(small));
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=512k,mode=0700") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{small};
    ::setenv("XDG_RUNTIME_DIR", small.c_str(), 1);
    put("files/new.bin", randomBytes(1'000'000, 9));
    put("files/old.bin", randomBytes(1'000'000, 10));
    set("DestFiles", "2", "\"{app}\"");
    set("SourceFiles", "2", "\"files\\new.bin\"");
    set("PatchedFiles", "2", "\"files\\old.bin\"");
    EXPECT_FALSE(compile());
    const auto e = errors();
    ASSERT_EQ(e.size(), 1u) << (e.empty() ? std::string("no error line") : e.front());
    EXPECT_EQ(e[0].rfind("ERROR: Error creating setup package. Message: ", 0), 0u) << e[0];
    EXPECT_NE(e[0].find("/patch.tmp"), std::string::npos) << e[0];
    const std::string reason = "No space left on device";
    ASSERT_NE(e[0].find(reason), std::string::npos) << e[0];
    EXPECT_EQ(e[0].find(reason), e[0].rfind(reason)) << e[0];
    EXPECT_TRUE(listFolder(small + "/brindlewharf").empty());
}
