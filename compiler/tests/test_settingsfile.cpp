#include "settingsfile.h"

#include "files.h"
#include "runcontext.h"

#include <gtest/gtest.h>

using namespace wharf;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    ScratchFolder dir;

    std::string edit(const std::string &projectText)
    {
        const std::string project = dir.file("p.wfp");
        const std::string data = dir.file("data.csf");
        EXPECT_TRUE(writeFile(project, projectText));
        EXPECT_TRUE(copyFile(project, data));
        RunContext &run = CurrentRun();
        run = RunContext{};
        run.WorkDir = dir.path() + "/";
        run.Project = std::make_unique<TMemIniStore>(project);
        auto store = PrepareSettingsFile(data);
        store->UpdateFile();
        run.Project.reset();
        return readFile(data).value_or("");
    }
};

} // namespace

TEST_F(SettingsFileTest, ReducesTheProjectForTheRuntime)
{
    ASSERT_TRUE(writeFile(dir.file("a.txt"), "12345"));
    ASSERT_TRUE(writeFile(dir.file("old.txt"), "1"));
    const std::string out = edit("; comment\r\n"
                                 "[Temporary]\r\nOutputDir=out\r\n"
                                 "[General]\r\nAppName=\"My App\"\r\nPassword=\"abc\"\r\n"
                                 "[Dialogs]\r\n0=\"C:\\d\\a.ddf\"\r\n5=\"C:\\d\\b.ddf\"\r\n"
                                 "[DestFiles]\r\n0=\"{app}\"\r\n1=\"{app}\"\r\n2=\"{app}\"\r\n3=\"{app}\"\r\n"
                                 "[SourceFiles]\r\n0=\"a.txt\"\r\n1=\"{src}\\setup.ini\"\r\n2=\"{sys}\\x.dll\"\r\n3=\"gone.txt\"\r\n"
                                 "[PatchedFiles]\r\n0=\"old.txt\"\r\n3=\"nothere.txt\"\r\n"
                                 "[AdditionalFiles]\r\n0=\"other\\readme.txt\"\r\n1=\"setup.ini\"\r\n"
                                 "[DataFiles]\r\n0=x\r\n");
    // The attributes of a.txt and setup.ini (missing here: -1).
    const std::string date = std::to_string(fileDosDateTime(dir.file("old.txt")));
    EXPECT_EQ(out, "[General]\r\nAppName=\"My App\"\r\nPassword=8EB208F7E05D987A9B044A8E98C6B087F15A0BFC\r\n\r\n"
                   "[Dialogs]\r\n0=a.ddf\r\n5=\"C:\\d\\b.ddf\"\r\n1=b.ddf\r\n\r\n"
                   "[DestFiles]\r\n0=\"{app}\"\r\n1=\"{app}\"\r\n2=\"{app}\"\r\n3=\"{app}\"\r\n\r\n"
                   "[SourceFiles]\r\n0={emp}\r\n1=\"{src}\\setup.ini\"\r\n2=\"{sys}\\x.dll\"\r\n3={emp}\r\n\r\n"
                   "[FileAttributes]\r\n0=32\r\n1=-1\r\n3=-1\r\n\r\n"
                   "[PatchedFileDates]\r\n0=" + date + "\r\n\r\n"
                   "[FileSizes]\r\n0=5\r\n3=-1\r\n\r\n");
}

TEST_F(SettingsFileTest, EmptyPasswordStillGivesADigest)
{
    const std::string out = edit("[General]\r\nPassword=\r\n");
    EXPECT_EQ(out, "[General]\r\nPassword=9C1185A5C5E9FC54612808977EE8F548B2258D31\r\n\r\n");
}

TEST_F(SettingsFileTest, AdditionalFileAttributesForSrcSources)
{
    ASSERT_TRUE(createFolder(dir.file("x")));
    ASSERT_TRUE(writeFile(dir.file("x/setup.ini"), "i"));
    const std::string out = edit("[DestFiles]\r\n0=\"{app}\"\r\n"
                                 "[SourceFiles]\r\n0=\"{src}\\setup.ini\"\r\n"
                                 "[AdditionalFiles]\r\n0=\"x\\Setup.ini\"\r\n1=\"x\\setup.ini\"\r\n");
    EXPECT_NE(out.find("[FileAttributes]\r\n0=32\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("0=\"{src}\\setup.ini\""), std::string::npos);
}
