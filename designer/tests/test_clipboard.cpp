#include "clipboardformat.h"
#include "controlclipboard.h"

#include "codec.h"
#include "designerfixture.h"
#include "files.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>

using namespace wharf;
using wharf::testing::DesignerFixture;

namespace {


TEST(ClipboardFormatTest, EncodesTheWholeKeyListAndReadsItBack)
{
    TStringList keys{"[Controls]", "Type=2", "Name=Label1", "Caption=Caf\xc3\xa9"};
    for (int i = 0; i < 40; ++i)
        keys.push_back("Extra" + std::to_string(i) + "=" + std::string(10, 'x'));
    const std::string bytes = encodeControlClipboard(keys);
    EXPECT_GT(bytes.size(), 259u);
    EXPECT_EQ(bytes.substr(0, 12), "[Controls]\r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\r\n\0", 3));
    EXPECT_NE(bytes.find("Caption=Caf\xe9\r\n"), std::string::npos); // Windows-1252
    EXPECT_EQ(decodeControlClipboard(bytes), keys);
    // A key list without its header gets one.
    EXPECT_EQ(decodeControlClipboard(encodeControlClipboard({"Type=1"})), (TStringList{"[Controls]", "Type=1"}));
    EXPECT_THROW(encodeControlClipboard({"[Controls]", "Caption=\xe4\xb8\xad"}), ECodecError);
}

// What Copy accepts, Paste takes back unchanged; what Paste would refuse,
// Copy refuses.
TEST(ClipboardFormatTest, CopyAndPasteAgree)
{
    const TStringList travel[] = {
        {"[Controls]", "Name=A", "[odd"},
        {"[Controls]", "Name=A", "[", "]", "[x] ", "x]"},
        {"[Controls]", "Name=A", "", ";note", "no key", ""},
        {"[Controls]", "Name=A", "[x=y]z"},
    };
    for (const TStringList &keys : travel) {
        SCOPED_TRACE(keys[2]);
        EXPECT_EQ(decodeControlClipboard(encodeControlClipboard(keys)), keys);
    }
    // The clipboard fixtures (also the fuzzer's seeds) paste and copy back
    // byte for byte.
    for (const char *name : {"checklist.clip", "edit.clip"}) {
        const std::string bytes = readFile(std::string(WHARF_DESIGNER_TESTDATA) + "/" + name).value_or("");
        const auto keys = decodeControlClipboard(bytes);
        ASSERT_TRUE(keys) << name;
        EXPECT_EQ(encodeControlClipboard(*keys), bytes) << name;
    }
    const TStringList refused[] = {
        {"[Controls]", "Name=A", "[Dialog]"},
        {"[Controls]", "Name=A", "[]"},
        {"[Controls]", "Name=A", "a\nb"},
        {"[Controls]", "Name=A", "a\rb"},
        {"[Controls]", ";no key"},
        {"[Controls]", "Name=A", std::string(kMaxControlClipboardBytes, 'x')},
    };
    for (const TStringList &keys : refused) {
        SCOPED_TRACE(keys.back().substr(0, 20));
        EXPECT_THROW(encodeControlClipboard(keys), EControlClipboardError);
    }
}

TEST(ClipboardFormatTest, RefusesWhatIsNoKeyList)
{
    const std::string cases[] = {
        "",
        "hello",
        "[Controls]\r\n",
        "[Controls]\r\n\r\n;only a comment\r\n",
        "[Other]\r\nType=1\r\n",
        "[controls]\r\nType=1\r\n",
        "[Controls]\r\nType=1\r\n[Dialog]\r\nCtlCount=9\r\n",
        "[Controls]\r\nType=1\r\n[Controls]\r\nType=2\r\n",
        std::string("\0[Controls]\r\nType=1\r\n", 21),
        "[Controls]\r\nType=1\r\n" + std::string(kMaxControlClipboardBytes, 'x'),
    };
    for (const std::string &c : cases)
        EXPECT_EQ(decodeControlClipboard(c), std::nullopt) << c.substr(0, 60);

    // Lines may end in LF only; the text ends at the first zero byte; a lone
    // CR in a line becomes a blank.
    EXPECT_EQ(decodeControlClipboard(std::string("[Controls]\nType=1\nCaption=a\rb\n\0[Dialog]\n", 40)),
              (TStringList{"[Controls]", "Type=1", "Caption=a b"}));
}

TEST(ClipboardFormatTest, PastePlaceIsFreeAndInside)
{
    const TRect surface{0, 0, 324, 313};
    struct Case {
        const char *what;
        TRect wanted;
        std::vector<TRect> placed;
        TRect expected;
    };
    const Case cases[] = {
        {"free as asked", {10, 20, 100, 21}, {{200, 200, 50, 50}}, {10, 20, 100, 21}},
        {"below the control it was copied from", {10, 20, 100, 21}, {{10, 20, 100, 21}}, {10, 41, 100, 21}},
        {"below two stacked controls", {10, 20, 100, 21}, {{10, 20, 100, 21}, {50, 41, 30, 10}}, {10, 51, 100, 21}},
        {"pulled inside from beyond the edges", {400, 500, 100, 21}, {}, {224, 292, 100, 21}},
        {"pulled inside from left and top", {-30, -5, 100, 21}, {}, {0, 0, 100, 21}},
        {"above when the column is taken below", {10, 200, 100, 21}, {{0, 150, 324, 163}}, {10, 0, 100, 21}},
        {"elsewhere when the column is taken", {0, 0, 100, 100}, {{0, 0, 150, 313}}, {150, 0, 100, 100}},
        {"no room: as asked, inside", {5, 5, 100, 100}, {{0, 0, 324, 313}}, {5, 5, 100, 100}},
        {"larger than the surface", {40, 40, 400, 400}, {}, {0, 0, 400, 400}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pastePlace(c.wanted, surface, c.placed), c.expected) << c.what;
}

class ControlClipboardTest : public DesignerFixture {
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        QApplication::clipboard()->clear();
    }
    TControlClipboard &clipboard() { return designer->clipboard(); }
    void putOnClipboard(const QString &format, const QByteArray &bytes)
    {
        auto *data = new QMimeData;
        data->setData(format, bytes);
        QApplication::clipboard()->setMimeData(data);
    }
    bool pasteOffered()
    {
        main().MI_EditClick();
        return main().findChild<QAction *>("MI_Paste")->isEnabled();
    }
};

TEST_F(ControlClipboardTest, CopyThenPasteGivesASecondControlBelow)
{
    const size_t first = addControl({"Type=0", "Name=Edit1", "Left=10", "Top=20", "Width=121", "Height=21"});
    EXPECT_FALSE(pasteOffered());
    EXPECT_TRUE(clipboard().MI_CopyClick());
    EXPECT_TRUE(clipboard().canPaste());
    EXPECT_TRUE(pasteOffered());
    main().SetModified(false);

    main().findChild<QAction *>("MI_Paste")->trigger();
    ASSERT_EQ(main().document().controlCount(), 2u);
    EXPECT_EQ(main().document().controlName(1), "Edit2");
    EXPECT_EQ(keyOf(1, "Left"), "10");
    EXPECT_EQ(keyOf(1, "Top"), "41");
    // Shown where its keys say.
    EXPECT_EQ(main().pictureOf(1)->geometry(), QRect(10, 41, 121, 21));
    EXPECT_EQ(main().selectedControl(), 1);
    EXPECT_TRUE(main().document().modified());
    EXPECT_EQ(keyOf(first, "Name"), "Edit1");
}

TEST_F(ControlClipboardTest, CutThenPasteKeepsTheNameAndTheWholeList)
{
    TStringList lines{"Type=2", "Name=Caption", "Left=300", "Top=300", "Width=80", "Height=13"};
    for (int i = 0; i < 30; ++i)
        lines.push_back("Unknown" + std::to_string(i) + "=value");
    addControl(lines);
    designer->main().findChild<QAction *>("MI_Cut")->trigger();
    EXPECT_EQ(main().document().controlCount(), 0u);
    clipboard().MI_PasteClick();
    ASSERT_EQ(main().document().controlCount(), 1u);
    EXPECT_EQ(main().document().controlName(0), "Caption");
    EXPECT_EQ(keyOf(0, "Unknown29"), "value");
    // Beyond the surface's corner it comes back inside, and its keys say so.
    EXPECT_EQ(keyOf(0, "Left"), "244");
    EXPECT_EQ(keyOf(0, "Top"), "300");
}

TEST_F(ControlClipboardTest, ALineStartingWithABracketCopiesAndPastes)
{
    addControl({"Type=0", "Name=Edit1", "[odd", "Left=10"});
    ASSERT_TRUE(clipboard().MI_CopyClick());
    clipboard().MI_PasteClick();
    ASSERT_EQ(main().document().controlCount(), 2u);
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(keysOf(1)[3], "[odd");
}

TEST_F(ControlClipboardTest, FailedCopyKeepsTheControlAndTheClipboard)
{
    putOnClipboard(TControlClipboard::mimeType(), "[Controls]\r\nType=1\r\n");
    addControl({"Type=1", "Name=Button1", "Caption=\xe4\xb8\xad"});
    clipboard().MI_CutClick();
    EXPECT_EQ(main().document().controlCount(), 1u);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_EQ(QApplication::clipboard()->mimeData()->data(TControlClipboard::mimeType()), "[Controls]\r\nType=1\r\n");
}

TEST_F(ControlClipboardTest, ForeignDataIsRefused)
{
    QApplication::clipboard()->setText("[Controls]\r\nType=1\r\n");
    EXPECT_FALSE(clipboard().canPaste());
    EXPECT_FALSE(pasteOffered());
    clipboard().MI_PasteClick();
    EXPECT_EQ(main().document().controlCount(), 0u);

    putOnClipboard(TControlClipboard::mimeType(), QByteArray("[Dialog]\r\nCtlCount=1\r\n"));
    EXPECT_TRUE(clipboard().canPaste());
    clipboard().MI_PasteClick();
    EXPECT_EQ(main().document().controlCount(), 0u);
    EXPECT_FALSE(main().document().modified());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "The clipboard holds no control that can be pasted.");
}

} // namespace
