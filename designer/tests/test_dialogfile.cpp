#include "dialogfile.h"

#include "codec.h"
#include "encdec.h"
#include "files.h"
#include "keylist.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using namespace wharf;

namespace {

std::string fixture(const std::string &name)
{
    const auto bytes = readFile(std::string(WHARF_DESIGNER_TESTDATA) + "/" + name);
    EXPECT_TRUE(bytes) << name;
    return bytes.value_or("");
}

std::string encipher(const std::string &plain, const std::string &password)
{
    std::istringstream in(plain);
    std::ostringstream out;
    EncryptStream(in, out, password);
    return out.str();
}

TDialogContents fullDialog()
{
    TDialogContents c;
    c.page.title = "Zusätzliche Optionen";
    c.page.initScript = {"// set up", "  x = \"a=b\""};
    c.page.nextScript = {""};
    c.page.backEnabled = false;
    c.controls.push_back({"[Controls]", "Type=1", "Name=B_Go", "MyOwnKey= kept as is ", "Caption=&Go",
                          "FontName=Arial", "FontSize=10", "FontColor=-2147483640", "FontStyle=5",
                          "ClickFuncCount=1", "ClickFuncLine0=Exit()"});
    c.controls.push_back({"[Controls]", "Type=8", "Name=Choice", "ItemsCount=2", "ItemsLine0=Äpfel",
                          "ItemsLine1=Birnen", "Items1Checked=1"});
    return c;
}

} // namespace

// The passwords are fixed bytes; their digests decide which files open.
TEST(DialogFileTest, PasswordBytes)
{
    ASSERT_EQ(dialogPasswords().size(), 2u);
    EXPECT_EQ(toWindows1252(dialogPasswords()[0]), std::string("\x7E\x05\xC3\x91\x2A\xD4"));
    EXPECT_EQ(toWindows1252(dialogPasswords()[1]), std::string("\xB1\x68\x0F\x3D\xE7\x52\x9C"));
}

// The ".ddf" fixtures were enciphered apart from this code base (see
// cipher/tests/known_answers.py), so these checks pin the digest, the key
// schedule of the short password, the fixed initialisation vector, the chain
// and the plain tail.
TEST(DialogFileTest, GoldenTextsUnderTheEncipheredHeader)
{
    TDialogContents oneEdit;
    oneEdit.controls.push_back(
        {"[Controls]", "Type=0", "Width=121", "Height=21", "Left=15", "Top=20", "Name=Edit1"});
    // RIPEMD-160 of password 0's six bytes.
    const std::string header = "\xDA\xD4\x2A\xCF\xFA\xA9\x94\xAA\x2C\x5E\xF6\x30\x38\x20\x75\x2C\x9F\xC6\xD7\x5F";
    for (const auto &[name, contents] : {std::pair{"one_edit", oneEdit}, std::pair{"full_dialog", fullDialog()}}) {
        const std::string golden = fixture(std::string(name) + ".txt");
        const std::string enciphered = fixture(std::string(name) + ".ddf");
        EXPECT_EQ(toWindows1252(dialogPlainText(contents)), golden) << name;
        const std::string file = encodeDialogFile(contents);
        EXPECT_EQ(file.substr(0, 20), header) << name;
        EXPECT_EQ(file, enciphered) << name;
        const TDecodedDialog decoded = decodeDialogFile(enciphered);
        EXPECT_EQ(decoded.passwordIndex, 0) << name;
        EXPECT_EQ(decoded.contents.controls, contents.controls) << name;
    }
}

TEST(DialogFileTest, GoldenFileReadsBackAndWritesTheSameBytes)
{
    const std::string golden = fixture("full_dialog.txt");
    const TDecodedDialog decoded = decodeDialogFile(encipher(golden, dialogPasswords()[0]));
    ASSERT_EQ(decoded.passwordIndex, 0);
    const TDialogContents expected = fullDialog();
    EXPECT_EQ(decoded.contents.page, expected.page);
    EXPECT_EQ(decoded.contents.controls, expected.controls);
    EXPECT_EQ(toWindows1252(dialogPlainText(decoded.contents)), golden);
}

TEST(DialogFileTest, PasswordCases)
{
    const std::string plain = fixture("one_edit.txt");
    struct Case {
        const char *what;
        std::string file;
        int index;
    } cases[] = {
        {"professional", encipher(plain, dialogPasswords()[0]), 0},
        {"standard edition", encipher(plain, dialogPasswords()[1]), 1},
        {"foreign password", encipher(plain, "secret"), -1},
        {"shorter than a digest", plain.substr(0, 19), -1},
        {"empty file", "", -1},
    };
    for (const Case &c : cases) {
        const TDecodedDialog d = decodeDialogFile(c.file);
        EXPECT_EQ(d.passwordIndex, c.index) << c.what;
        EXPECT_EQ(d.contents.controls.size(), c.index < 0 ? 0u : 1u) << c.what;
    }
}

TEST(DialogFileTest, WriterRules)
{
    TDialogContents c;
    // An empty script writes its count alone; no controls, no sections.
    const std::string empty = dialogPlainText(c);
    EXPECT_NE(empty.find("InitScriptCount=0\r\nShowScriptCount=0\r\n"), std::string::npos);
    EXPECT_NE(empty.find("CtlCount=0\r\n\r\n"), std::string::npos);
    EXPECT_EQ(empty.find("[Control"), std::string::npos);
    EXPECT_EQ(empty.substr(empty.size() - 4), "\r\n\r\n");

    // Sections are numbered per control, so a stray "[Controls]" line inside
    // a key list can't shift the numbers of the controls behind it; a key
    // list that ends with an empty line is written as it stands.
    c.controls.push_back({"[Controls]", "Name=A", "[Controls]", "Stray=1", ""});
    c.controls.push_back({"[Controls]", "Name=B"});
    const std::string text = dialogPlainText(c);
    EXPECT_NE(text.find("[Control0]\r\nName=A\r\n[Controls]\r\nStray=1\r\n\r\n[Control1]\r\nName=B\r\n"),
              std::string::npos)
        << text;
    const TDialogContents back = parseDialogText(toWindows1252(text));
    ASSERT_EQ(back.controls.size(), 2u);
    EXPECT_EQ(back.controls[1], (TStringList{"[Controls]", "Name=B"}));

    // A line break inside a value can't start a line (or a section) of its own.
    c.page.title = "two\r\n[Control0]";
    c.page.initScript = {"a\nb"};
    const std::string broken = dialogPlainText(c);
    EXPECT_NE(broken.find("DlgTitle=two  [Control0]\r\n"), std::string::npos);
    EXPECT_NE(broken.find("InitScriptLine0=a b\r\n"), std::string::npos);

    // Text Windows-1252 can't hold is refused, not stored garbled.
    c.page.title = "Snowman \u2603";
    EXPECT_THROW(encodeDialogFile(c), EDialogFileError);
}

// The read rules of the plain text, one case per rule.
TEST(DialogFileTest, ReadRules)
{
    struct Case {
        const char *rule;
        std::string text;
        std::function<void(const TDialogContents &)> check;
    };
    const Case cases[] = {
        {"defaults when keys are missing", "[Dialog]\r\n",
         [](const TDialogContents &c) {
             EXPECT_EQ(c.page.title, "");
             EXPECT_TRUE(c.page.nextEnabled && c.page.backEnabled && c.page.cancelEnabled);
             EXPECT_TRUE(c.page.initScript.empty());
             EXPECT_TRUE(c.controls.empty());
         }},
        {"names in any case, the first occurrence wins",
         "[DIALOG]\ndlgtitle=first\nDlgTitle=second\nnextbuttonenabled=0\n",
         [](const TDialogContents &c) {
             EXPECT_EQ(c.page.title, "first");
             EXPECT_FALSE(c.page.nextEnabled);
         }},
        {"text is the rest of the line after the first =, blanks and quotes kept",
         "[Dialog]\nDlgTitle= \"a=b\" \n",
         [](const TDialogContents &c) { EXPECT_EQ(c.page.title, " \"a=b\" "); }},
        {"booleans: any integer but 0 is true, no integer gives the default",
         "[Dialog]\nNextButtonEnabled=2\nBackButtonEnabled=yes\nCancelButtonEnabled=0x0\n",
         [](const TDialogContents &c) {
             EXPECT_TRUE(c.page.nextEnabled);
             EXPECT_TRUE(c.page.backEnabled);
             EXPECT_FALSE(c.page.cancelEnabled);
         }},
        {"comments, empty lines and lines before the first section are skipped",
         "DlgTitle=outside\n;DlgTitle=comment\n\n[Dialog]\n;DlgTitle=comment\n\nDlgTitle=inside\n",
         [](const TDialogContents &c) { EXPECT_EQ(c.page.title, "inside"); }},
        {"a missing line key is an empty line",
         "[Dialog]\nInitScriptCount=3\nInitScriptLine0=a\nInitScriptLine2=c\n",
         [](const TDialogContents &c) { EXPECT_EQ(c.page.initScript, (TStringList{"a", "", "c"})); }},
        {"lines missing at the end are empty lines",
         "[Dialog]\r\nShowScriptCount=3\r\nShowScriptLine0=a\r\n",
         [](const TDialogContents &c) { EXPECT_EQ(c.page.showScript, (TStringList{"a", "", ""})); }},
        {"a count beyond the lines of the text is cut to them (CR LF, CR and LF each end one)",
         "[Dialog]\r\nShowScriptCount=2000000000\rShowScriptLine0=a\nShowScriptLine1=b\r\n",
         [](const TDialogContents &c) { EXPECT_EQ(c.page.showScript, (TStringList{"a", "b", "", "", ""})); }},
        {"line keys beyond the count don't count",
         "[Dialog]\nBackScriptCount=1\nBackScriptLine0=a\nBackScriptLine1=b\n",
         [](const TDialogContents &c) { EXPECT_EQ(c.page.backScript, (TStringList{"a"})); }},
        {"a negative or broken count gives no lines",
         "[Dialog]\nNextScriptCount=-4\nNextScriptLine0=a\nInitScriptCount=x\nInitScriptLine0=a\n",
         [](const TDialogContents &c) {
             EXPECT_TRUE(c.page.nextScript.empty());
             EXPECT_TRUE(c.page.initScript.empty());
         }},
        {"a missing control section in the middle gives a control of defaults",
         "[Dialog]\nCtlCount=3\n[Control0]\nName=A\n[control2]\nName=C\n",
         [](const TDialogContents &c) {
             ASSERT_EQ(c.controls.size(), 3u);
             EXPECT_EQ(c.controls[1], (TStringList{"[Controls]"}));
             EXPECT_EQ(c.controls[2], (TStringList{"[Controls]", "Name=C"}));
         }},
        {"a missing control section at the end gives a control of defaults",
         "[Dialog]\nCtlCount=2\n[Control0]\nName=A\n",
         [](const TDialogContents &c) {
             ASSERT_EQ(c.controls.size(), 2u);
             EXPECT_EQ(c.controls[1], (TStringList{"[Controls]"}));
         }},
        {"CtlCount beyond the lines of the text is cut to them",
         "[Dialog]\nCtlCount=1000000000\n[Control0]\nName=A\n[Control01]\nName=B\n",
         [](const TDialogContents &c) {
             ASSERT_EQ(c.controls.size(), 7u);
             EXPECT_EQ(c.controls[0], (TStringList{"[Controls]", "Name=A"}));
             EXPECT_EQ(c.controls[1], (TStringList{"[Controls]"}));
         }},
        {"sections beyond CtlCount are not read",
         "[Dialog]\nCtlCount=1\n[Control0]\nName=A\n[Control1]\nName=B\n",
         [](const TDialogContents &c) { EXPECT_EQ(c.controls.size(), 1u); }},
        {"a control's lines are kept as read, unknown and repeated keys included",
         "[Dialog]\nCtlCount=1\n[Control0]\nName=A\nWhatever\nName=B\n;note\n\nZ=1\n",
         [](const TDialogContents &c) {
             ASSERT_EQ(c.controls.size(), 1u);
             EXPECT_EQ(c.controls[0], (TStringList{"[Controls]", "Name=A", "Whatever", "Name=B", "Z=1"}));
             EXPECT_EQ(keyListValue(c.controls[0], "name"), "A");
         }},
        {"the text is Windows-1252", "[Dialog]\nDlgTitle=\x80 \xfc\n",
         [](const TDialogContents &c) { EXPECT_EQ(c.page.title, "€ ü"); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rule);
        c.check(parseDialogText(c.text));
    }
}

TEST(DialogFileTest, ScriptLinesAndFontCodecs)
{
    TMemIniStore ini("", true);
    WriteScriptLines(ini, "S", {}, "Items");
    WriteScriptLines(ini, "S", {"x", "", "y=z"}, "Text");
    TFontSpec font;
    font.name = "Courier New";
    font.size = 12;
    font.color = -16777201;
    font.style = 1 | 8; // bold, strike-out
    WriteFont(ini, "S", font, "Font");
    TStringList lines;
    ini.ReadSectionValues("S", lines);
    EXPECT_EQ(lines, (TStringList{"ItemsCount=0", "TextCount=3", "TextLine0=x", "TextLine1=", "TextLine2=y=z",
                                  "FontName=Courier New", "FontSize=12", "FontColor=-16777201", "FontStyle=9"}));
    EXPECT_EQ(ReadScriptLines(ini, "S", "Text", 100), (TStringList{"x", "", "y=z"}));
    EXPECT_EQ(ReadScriptLines(ini, "S", "Text", 2), (TStringList{"x", ""}));
    EXPECT_EQ(ReadFont(ini, "S", "Font"), font);
    EXPECT_EQ(ReadFont(ini, "S", "Other"), TFontSpec{});
    EXPECT_EQ(TFontSpec{}.name, "MS Sans Serif");
    EXPECT_EQ(TFontSpec{}.size, 8);
}

TEST(DialogFileTest, ControlTypes)
{
    const char *words[] = {"Edit", "Button", "Label", "CheckBox", "ComboBox", "RadioGroup",
                           "RichEdit", "ListBox", "ChkListBox", "ProgressBar", "Image"};
    const char *sections[] = {"Edit", "Button", "Label", "Checkbox", "Combobox", "Radiogroup",
                              "RichEdit", "Listbox", "ChkListBox", "ProgressBar", "Image"};
    for (int t = 0; t < kControlTypeCount; ++t) {
        EXPECT_EQ(controlTypeInfo(t).typeWord, words[t]);
        EXPECT_EQ(controlTypeInfo(t).ctlSection, sections[t]);
    }
    for (const int32_t outside : {-1, 11, 2147483647})
        EXPECT_EQ(effectiveControlType(outside), ctEdit) << outside;
}
