#include "dialogdocument.h"

#include "codec.h"
#include "encdec.h"
#include "files.h"
#include "keylist.h"
#include "savetesting.h"
#include "scopedenv.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace wharf;

namespace {

TStringList edit(int left = 0, const std::string &name = "")
{
    TStringList keys = {"[Controls]", "Type=0", "Width=121", "Height=21", "Left=" + std::to_string(left), "Top=0"};
    if (!name.empty())
        keys.push_back("Name=" + name);
    return keys;
}

std::string writeEnciphered(const std::string &path, const std::string &plain, const std::string &password)
{
    std::istringstream in(plain);
    std::ostringstream out;
    EncryptStream(in, out, password);
    EXPECT_TRUE(writeFile(path, out.str()));
    return path;
}

std::string plainOf(const std::string &path)
{
    const std::string file = readFile(path).value_or("");
    std::istringstream in(file);
    std::ostringstream out;
    EXPECT_EQ(DecryptStream(in, out, {dialogPasswords()[0]}), 0);
    return out.str();
}

} // namespace

class DialogDocumentTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    TDialogDocument doc;
};

TEST_F(DialogDocumentTest, NewDialog)
{
    doc.addControl(edit());
    TDialogPage page;
    page.title = "T";
    page.initScript = {"x"};
    page.nextEnabled = false;
    doc.setPage(page);
    doc.setModified(true);
    doc.NewDialog();
    EXPECT_EQ(doc.controlCount(), 0u);
    EXPECT_EQ(doc.page(), TDialogPage{});
    EXPECT_EQ(doc.page().title, "Untitled dialog");
    EXPECT_EQ(doc.fileName(), "*.ddf");
    EXPECT_FALSE(doc.hasFileName());
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.nameCounter(ctEdit), 0);
    EXPECT_EQ(doc.caption(), "Brindlewharf Dialog Designer - Untitled dialog");
}

TEST_F(DialogDocumentTest, NamingCounters)
{
    EXPECT_EQ(doc.controlName(doc.addControl(edit())), "Edit1");
    EXPECT_EQ(doc.controlName(doc.addControl({"[Controls]", "Type=1"})), "Button1");
    EXPECT_EQ(doc.controlName(doc.addControl({"[Controls]", "Type=1", "Name="})), "Button2");
    // A free name stays; a used one (in any case) is replaced.
    EXPECT_EQ(doc.controlName(doc.addControl({"[Controls]", "Type=1", "Name=OK"})), "OK");
    EXPECT_EQ(doc.controlName(doc.addControl({"[Controls]", "Type=1", "Name=ok"})), "Button4");
    // A placed or pasted control keeps only a name of letters, digits and
    // underscores; a file's control keeps any name it holds.
    struct Case {
        const char *name;
        const char *given; // the name a placed or pasted control ends with
    };
    for (const Case c : {Case{"_2nd_Field", "_2nd_Field"}, Case{"My field, 2", "Label2"}, Case{"x-y", "Label3"},
                         Case{"\xC3\x84rger", "Label4"}, Case{"tab\there", "Label5"}}) {
        SCOPED_TRACE(c.name);
        TStringList keys{"[Controls]", "Type=2", std::string("Name=") + c.name};
        EXPECT_EQ(doc.controlName(doc.addControl(keys)), c.given);
        EXPECT_EQ(isControlName(c.name), std::string_view(c.name) == c.given);
        TDialogDocument loading;
        EXPECT_EQ(loading.controlName(loading.addControl(keys, TNameOrigin::File)), c.name);
    }
    // A type outside the table counts and is named as an edit box; its
    // stored type stays.
    const size_t odd = doc.addControl({"[Controls]", "Type=42"});
    EXPECT_EQ(doc.controlName(odd), "Edit2");
    EXPECT_EQ(doc.controlType(odd), ctEdit);
    EXPECT_EQ(keyListValue(doc.control(odd).keys, "Type"), "42");
    // The name is written into the key list, at the end when it was missing.
    EXPECT_EQ(doc.control(0).keys.back(), "Name=Edit1");
    EXPECT_EQ(doc.indexOfName("BUTTON1"), 1);
}

TEST_F(DialogDocumentTest, GeneratedNameThatIsTakenMovesOn)
{
    doc.addControl(edit(0, "Edit2"));  // counter 1, name kept
    doc.addControl(edit());            // counter 2 gives Edit2, taken
    EXPECT_EQ(doc.controlName(1), "Edit3");
    EXPECT_EQ(doc.controlName(doc.addControl(edit())), "Edit4");
}

// The names in use follow every change of the list: a removed or renamed
// control's name is free again, a new name is taken, New forgets them all.
TEST_F(DialogDocumentTest, NamesInUseFollowTheControls)
{
    doc.addControl(edit(0, "A"));
    doc.addControl(edit(0, "B"));
    doc.addControl(edit(0, "C"));
    doc.setControlKeys(1, edit(0, "Renamed"));
    doc.removeControl(2);
    doc.bringToFront(0);
    EXPECT_TRUE(doc.nameInUse("renamed"));
    EXPECT_FALSE(doc.nameInUse("B"));
    EXPECT_EQ(doc.controlName(doc.addControl(edit(0, "B"))), "B");
    EXPECT_EQ(doc.controlName(doc.addControl(edit(0, "C"))), "C");
    EXPECT_EQ(doc.indexOfName("a"), 1);
    EXPECT_NE(doc.controlName(doc.addControl(edit(0, "RENAMED"))), "RENAMED");
    doc.NewDialog();
    EXPECT_FALSE(doc.nameInUse("A"));
    EXPECT_EQ(doc.indexOfName("A"), -1);
}

TEST_F(DialogDocumentTest, SaveAndLoad)
{
    doc.addControl(edit(15));
    TDialogPage page;
    page.title = "Größe";
    page.showScript = {"a", "", "  b"};
    page.cancelEnabled = false;
    doc.setPage(page);
    doc.setModified(true);

    const std::string path = dir.file("page.ddf");
    doc.SaveDialogFile(path);
    EXPECT_EQ(doc.fileName(), path);
    EXPECT_FALSE(doc.modified());

    TDialogDocument other;
    ASSERT_EQ(other.LoadDialogFile(path), TLoadResult::Loaded);
    EXPECT_EQ(other.page(), page);
    EXPECT_EQ(other.fileName(), path);
    EXPECT_FALSE(other.modified());
    ASSERT_EQ(other.controlCount(), 1u);
    EXPECT_EQ(other.control(0).keys, doc.control(0).keys);
    // Loaded controls count: two edit boxes make the next one Edit3.
    other.addControl(edit(1));
    EXPECT_EQ(other.controlName(other.addControl(edit(2))), "Edit3");
}

TEST_F(DialogDocumentTest, ScratchSaveKeepsNameAndFlag)
{
    doc.setModified(true);
    // A dialog file name that merely contains the scratch name is a normal save.
    const std::string named = dir.file("mydbg.tmp.ddf");
    doc.SaveDialogFile(named);
    EXPECT_EQ(doc.fileName(), named);
    EXPECT_FALSE(doc.modified());

    doc.setModified(true);
    doc.SaveDialogFile(dir.file("dbg.tmp"), TSaveMode::Scratch);
    EXPECT_EQ(doc.fileName(), named);
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(fileExists(dir.file("dbg.tmp")));
}

TEST_F(DialogDocumentTest, AFullDiskOrACutOffSaveLeavesADialogThatOpens)
{
    using namespace wharf::testing;
    const ScopedEnv state("XDG_STATE_HOME", dir.file("state"));
    SmallFileSystem disk(dir.file("disk"), "size=256k");
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason();
    const std::string path = disk.folder() + "/page.ddf";
    doc.addControl(edit(0, "First"));
    doc.SaveDialogFile(path);
    const std::string before = readFile(path).value();
    for (int i = 1; i < 3000; ++i)
        doc.addControl(edit(i));

    // A full disk: the save is refused, named, and the file still opens.
    disk.fillSpace();
    try {
        doc.SaveDialogFile(path);
        ADD_FAILURE() << "saved on a full disk";
    } catch (const EDialogFileError &e) {
        EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(readFile(path).value() == before);
    ASSERT_TRUE(deleteFile(disk.folder() + "/filler"));

    // A save written in place (the file has a second name) and killed in
    // its write: opening the file says so and names the copy, which opens
    // as the dialog was.
    ASSERT_EQ(::link(path.c_str(), (disk.folder() + "/twin.ddf").c_str()), 0);
    const std::string bytes = encodeDialogFile(doc.contents());
    const ChildOutcome killed = runInChild([&] {
        ReplaceHooks hooks;
        hooks.beforeWrite = [](ReplaceWay, std::size_t written) {
            if (written > 0)
                ::raise(SIGKILL);
        };
        return replaceFile(path, bytes, hooks).reason;
    });
    ASSERT_EQ(killed.signal, SIGKILL) << killed.output;
    TDialogDocument opened;
    opened.LoadDialogFile(path);
    const std::optional<std::string> copy = unfinishedSaveCopy(path);
    ASSERT_TRUE(copy);
    EXPECT_EQ(opened.unfinishedSaveMessage(), unfinishedSaveNotice(path).value_or(""));
    EXPECT_NE(opened.unfinishedSaveMessage().find(*copy), std::string::npos);
    TDialogDocument kept;
    EXPECT_EQ(kept.LoadDialogFile(*copy), TLoadResult::Loaded);
    EXPECT_EQ(kept.controlCount(), 1u);
    EXPECT_EQ(kept.controlName(0), "First");
    EXPECT_TRUE(kept.unfinishedSaveMessage().empty());
}

TEST_F(DialogDocumentTest, FailedSaveChangesNothing)
{
    const std::string path = dir.file("keep.ddf");
    doc.addControl(edit());
    doc.SaveDialogFile(path);
    const std::string before = readFile(path).value();

    TDialogPage page;
    page.title = "No \u2603 here";
    doc.setPage(page);
    doc.setModified(true);
    EXPECT_THROW(doc.SaveDialogFile(path), EDialogFileError);
    EXPECT_EQ(readFile(path).value(), before);
    EXPECT_TRUE(doc.modified());

    const std::string nowhere = dir.file("no/such/folder/x.ddf");
    page.title = "fine";
    doc.setPage(page);
    EXPECT_THROW(doc.SaveDialogFile(nowhere), EDialogFileError);
    EXPECT_EQ(doc.fileName(), path);
    EXPECT_TRUE(doc.modified());
    // Nothing is left beside the file.
    EXPECT_EQ(listFolder(dir.path()).size(), 1u);
}

TEST_F(DialogDocumentTest, LoadResults)
{
    const std::string plain = "[Dialog]\r\nDlgTitle=Old\r\nCtlCount=1\r\n\r\n[Control0]\r\nType=2\r\n";
    const std::string standard = writeEnciphered(dir.file("std.ddf"), plain, dialogPasswords()[1]);
    const std::string foreign = writeEnciphered(dir.file("foreign.ddf"), plain, "other");

    doc.addControl(edit());
    doc.setModified(true);
    const std::string missing = dir.file("missing.ddf");
    EXPECT_EQ(doc.LoadDialogFile(missing), TLoadResult::Missing);
    EXPECT_EQ(doc.controlCount(), 1u);  // nothing changed
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(loadResultMessage(TLoadResult::Missing, missing), "The dialog file " + missing + " does not exist!");
    // A folder is there but is no file, and is not reported as missing.
    const std::string folder = dir.file("folder.ddf");
    ASSERT_TRUE(createFolder(folder));
    EXPECT_EQ(doc.LoadDialogFile(folder), TLoadResult::NotAFile);
    EXPECT_EQ(doc.controlCount(), 1u);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(loadResultMessage(TLoadResult::NotAFile, folder),
              folder + " is not a file, so it cannot be opened as a dialog!");

    // A file no password opens leaves an empty dialog that has no file, so
    // Save can't overwrite the file that was not understood.
    EXPECT_EQ(doc.LoadDialogFile(foreign), TLoadResult::NoPassword);
    EXPECT_EQ(doc.controlCount(), 0u);
    EXPECT_EQ(doc.fileName(), "*.ddf");
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(loadResultMessage(TLoadResult::NoPassword, foreign).substr(0, 31), "Cannot open this dialog. Maybe ");

    // A Standard dialog opens and is written back under password 0.
    EXPECT_EQ(doc.LoadDialogFile(standard), TLoadResult::StandardEdition);
    EXPECT_EQ(doc.page().title, "Old");
    ASSERT_EQ(doc.controlCount(), 1u);
    EXPECT_EQ(doc.controlName(0), "Label1");
    doc.SaveDialogFile(standard);
    EXPECT_NE(plainOf(standard).find("[Control0]\r\nType=2\r\nName=Label1\r\n"), std::string::npos);
    EXPECT_EQ(doc.LoadDialogFile(standard), TLoadResult::Loaded);
    EXPECT_EQ(loadResultMessage(TLoadResult::Loaded, standard), "");

    // Control sections that CtlCount names but the file lacks come in as
    // controls of defaults, named as when placed.
    // A name the file holds stays as it is, also one the designer would not
    // give.
    const std::string short2 = writeEnciphered(
        dir.file("short.ddf"), "[Dialog]\r\nCtlCount=3\r\n\r\n[Control0]\r\nType=0\r\nName=My field, 2\r\n",
        dialogPasswords()[0]);
    EXPECT_EQ(doc.LoadDialogFile(short2), TLoadResult::Loaded);
    ASSERT_EQ(doc.controlCount(), 3u);
    EXPECT_EQ(doc.control(0).keys, (TStringList{"[Controls]", "Type=0", "Name=My field, 2"}));
    EXPECT_EQ(doc.control(2).keys, (TStringList{"[Controls]", "Name=Edit3"}));
}

TEST_F(DialogDocumentTest, BringToFrontSavesTheStacking)
{
    for (int i = 1; i <= 4; ++i)
        doc.addControl(edit(i, "C" + std::to_string(i)));
    const uint64_t id = doc.control(1).id;
    EXPECT_EQ(doc.bringToFront(1), 3u);
    EXPECT_EQ(doc.indexOfId(id), 3);
    const std::string path = dir.file("z.ddf");
    doc.SaveDialogFile(path);
    TDialogDocument back;
    ASSERT_EQ(back.LoadDialogFile(path), TLoadResult::Loaded);
    std::vector<std::string> order;
    for (size_t i = 0; i < back.controlCount(); ++i)
        order.push_back(back.controlName(i));
    EXPECT_EQ(order, (std::vector<std::string>{"C1", "C3", "C4", "C2"}));

    back.removeControl(0);
    EXPECT_EQ(back.controlName(0), "C3");
    EXPECT_EQ(back.indexOfId(12345), -1);
}
