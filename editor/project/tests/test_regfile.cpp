#include "regfile.h"

#include "codec.h"
#include "sampleproject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wharf;

namespace {

// The tree as lines: "ROOT\Key\" for a key, "ROOT\Key\Name = Type Data" for
// a value, in tree order.
void render(const std::vector<RegistryNode> &nodes, const std::string &prefix, std::vector<std::string> &out)
{
    for (const RegistryNode &node : nodes) {
        if (node.isKey()) {
            out.push_back(prefix + node.Text + "\\");
            render(node.Children, prefix + node.Text + "\\", out);
        } else {
            out.push_back(prefix + node.Text + " = " + node.Entry.ValueType + " " + node.Entry.Data);
        }
    }
}

std::vector<std::string> render(const RegistryTree &tree)
{
    std::vector<std::string> out;
    for (const RegistryRoot &root : tree.roots())
        render(root.Children, root.Name + "\\", out);
    return out;
}

struct ImportCase {
    const char *label;
    std::string text;
    std::vector<std::string> tree;
    int skipped = 0;
    bool unsupported = false;
    std::vector<std::string> unsavable = {};
    bool registryFile = true;
};

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

std::string swapped(std::string bytes)
{
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

} // namespace

TEST(RegFileTest, ImportCases)
{
    const std::vector<ImportCase> cases = {
        {"default value, doubled backslashes and a DWORD",
         kHeader + "[HKEY_CURRENT_USER\\Software\\A]\r\n@=\"x\"\r\n\"Name\"=\"C:\\\\Path\\\\\"\r\n"
                   "\"N\"=dword:0000001f\r\n",
         {"HKEY_CURRENT_USER\\Software\\", "HKEY_CURRENT_USER\\Software\\A\\",
          "HKEY_CURRENT_USER\\Software\\A\\{emp} = String x",
          "HKEY_CURRENT_USER\\Software\\A\\Name = String C:\\Path\\",
          "HKEY_CURRENT_USER\\Software\\A\\N = DWORD $0000001F"}},
        {"binary data adds the key only and is reported",
         kHeader + "[HKEY_CURRENT_USER\\Software\\A]\r\n\"Bin\"=hex:01,02,03\r\n\"E\"=hex(2):25,00,\\\r\n  00,00\r\n",
         {"HKEY_CURRENT_USER\\Software\\", "HKEY_CURRENT_USER\\Software\\A\\"},
         0, true},
        {"escapes are undone once: a UNC path keeps its two leading backslashes",
         kHeader + "[HKEY_LOCAL_MACHINE\\K]\r\n\"Share\"=\"\\\\\\\\server\\\\share\"\r\n"
                   "\"Quote\"=\"say \\\"hi\\\"\"\r\n",
         {"HKEY_LOCAL_MACHINE\\K\\", "HKEY_LOCAL_MACHINE\\K\\Share = String \\\\server\\share",
          "HKEY_LOCAL_MACHINE\\K\\Quote = String say \"hi\""}},
        {"strings that begin like other types stay strings",
         kHeader + "[HKEY_LOCAL_MACHINE\\K]\r\n\"A\"=\"hex:01\"\r\n\"B\"=\"dword:00000001\"\r\n",
         {"HKEY_LOCAL_MACHINE\\K\\", "HKEY_LOCAL_MACHINE\\K\\A = String hex:01",
          "HKEY_LOCAL_MACHINE\\K\\B = String dword:00000001"}},
        {"quoted names may hold \"=\" and escapes; empty data is {emp}",
         kHeader + "[HKEY_LOCAL_MACHINE\\K]\r\n\"a=b\"=\"1\"\r\n\"q\\\"\\\\\"=\"\"\r\n",
         {"HKEY_LOCAL_MACHINE\\K\\", "HKEY_LOCAL_MACHINE\\K\\a=b = String 1",
          "HKEY_LOCAL_MACHINE\\K\\q\"\\ = String {emp}"}},
        {"continued lines are joined before they are judged; lines without \"=\" are no values",
         kHeader + "[HKEY_LOCAL_MACHINE\\K]\r\n\"Long\"=hex(7):41,00,\\\r\n  42,00,\\\r\n  00,00\r\n"
                   "\"After\"=\"ok\"\r\nstray text\r\n\"NoEquals\"\r\n",
         {"HKEY_LOCAL_MACHINE\\K\\", "HKEY_LOCAL_MACHINE\\K\\After = String ok"},
         2, true},
        {"deletions and unknown roots are counted, never attached to the last key",
         kHeader + "[HKEY_LOCAL_MACHINE\\K]\r\n\"Gone\"=-\r\n\"Kept\"=\"1\"\r\n"
                   "[-HKEY_LOCAL_MACHINE\\K\\Old]\r\n\"X\"=\"lost\"\r\n"
                   "[HKEY_NOWHERE\\A]\r\n\"Y\"=\"lost\"\r\n",
         {"HKEY_LOCAL_MACHINE\\K\\", "HKEY_LOCAL_MACHINE\\K\\Kept = String 1"},
         3},
        {"a bare root section is the root itself; empty components make no keys",
         kHeader + "[HKEY_CURRENT_USER]\r\n\"Top\"=\"t\"\r\n[HKEY_CURRENT_USER\\A\\\\B\\]\r\n"
                   "[hkey_classes_root\\.ext]\r\n@=\"ExtFile\"\r\n",
         {"HKEY_CLASSES_ROOT\\.ext\\", "HKEY_CLASSES_ROOT\\.ext\\{emp} = String ExtFile",
          "HKEY_CURRENT_USER\\Top = String t", "HKEY_CURRENT_USER\\A\\", "HKEY_CURRENT_USER\\A\\B\\"}},
        {"a path descends through keys only, never into a value of the same name",
         kHeader + "[HKEY_USERS\\A]\r\n\"B\"=\"v\"\r\n[HKEY_USERS\\A\\B]\r\n\"C\"=dword:1\r\n",
         {"HKEY_USERS\\A\\", "HKEY_USERS\\A\\B = String v", "HKEY_USERS\\A\\B\\",
          "HKEY_USERS\\A\\B\\C = DWORD $00000001"}},
        {"malformed DWORDs and unterminated strings are counted; comments and the header are ignored",
         "REGEDIT4\n\"Before\"=\"section\"\n[HKEY_USERS\\A]\n; a comment\n\"D\"=dword:123456789\n"
         "\"E\"=dword:xyz\n\"S\"=\"open\n",
         {"HKEY_USERS\\A\\"},
         3},
        {"8-bit text is Windows-1252",
         "REGEDIT4\r\n\r\n[HKEY_USERS\\Gr\xfc\xdf""e]\r\n\"Caf\xe9\"=\"\x80 5\"\r\n",
         {"HKEY_USERS\\Gr\xc3\xbc\xc3\x9f""e\\", "HKEY_USERS\\Gr\xc3\xbc\xc3\x9f""e\\Caf\xc3\xa9 = String \xe2\x82\xac 5"}},
        {"UTF-16 little-endian with a byte order mark",
         "\xff\xfe" + toUtf16Le(kHeader + "[HKEY_CURRENT_CONFIG\\\xc3\xa5]\r\n\"N\"=dword:ffffffff\r\n"
                                          "\"S\"=\"\xc3\xa9t\xc3\xa9\"\r\n"),
         {"HKEY_CURRENT_CONFIG\\\xc3\xa5\\", "HKEY_CURRENT_CONFIG\\\xc3\xa5\\N = DWORD $FFFFFFFF",
          "HKEY_CURRENT_CONFIG\\\xc3\xa5\\S = String \xc3\xa9t\xc3\xa9"}},
        {"UTF-16 big-endian with a byte order mark",
         "\xfe\xff" + swapped(toUtf16Le(kHeader + "[HKEY_USERS\\Caf\xc3\xa9]\r\n\"\xe2\x82\xac\"=\"1\"\r\n")),
         {"HKEY_USERS\\Caf\xc3\xa9\\", "HKEY_USERS\\Caf\xc3\xa9\\\xe2\x82\xac = String 1"}},
        {"UTF-8 with a byte order mark",
         "\xef\xbb\xbf" + kHeader + "[HKEY_USERS\\Caf\xc3\xa9]\r\n\"N\"=\"\xc3\xbc\"\r\n",
         {"HKEY_USERS\\Caf\xc3\xa9\\", "HKEY_USERS\\Caf\xc3\xa9\\N = String \xc3\xbc"}},
        {"valid UTF-8 without a byte order mark",
         "REGEDIT4\r\n[HKEY_USERS\\Gr\xc3\xbc\xc3\x9f""e]\r\n\"N\"=\"\xe2\x82\xac\"\r\n",
         {"HKEY_USERS\\Gr\xc3\xbc\xc3\x9f""e\\", "HKEY_USERS\\Gr\xc3\xbc\xc3\x9f""e\\N = String \xe2\x82\xac"}},
        {"text Windows-1252 can't hold leaves its key or value out (named, not counted)",
         "\xff\xfe" + toUtf16Le(kHeader + "[HKEY_CURRENT_CONFIG\\\xe6\x97\xa5]\r\n\"N\"=dword:1\r\n"
                                          "[HKEY_CURRENT_CONFIG\\K]\r\n\"\xe6\x97\xa5\"=\"1\"\r\n"
                                          "\"D\"=\"\xe6\x97\xa5\"\r\n\"Kept\"=\"ok\"\r\n"),
         {"HKEY_CURRENT_CONFIG\\K\\", "HKEY_CURRENT_CONFIG\\K\\Kept = String ok"},
         0, false,
         {"HKEY_CURRENT_CONFIG\\\xe6\x97\xa5", "HKEY_CURRENT_CONFIG\\K\\\xe6\x97\xa5", "HKEY_CURRENT_CONFIG\\K\\D"}},
        {"a header with text after its \"]\" is skipped with its values, and counted",
         kHeader + "[HKEY_USERS\\A]\r\n\"a\"=\"1\"\r\n[HKEY_USERS\\B] junk\r\n\"b\"=\"2\"\r\n[HKEY_USERS\\C\r\n"
                   "\"c\"=\"3\"\r\n[HKEY_USERS\\D]\r\n\"d\"=\"4\"\r\n",
         {"HKEY_USERS\\A\\", "HKEY_USERS\\A\\a = String 1", "HKEY_USERS\\D\\", "HKEY_USERS\\D\\d = String 4"},
         2},
        {"an empty default value and a value named {emp} are values too",
         kHeader + "[HKEY_USERS\\A]\r\n@=\"\"\r\n\"{emp}\"=\"x\"\r\n",
         {"HKEY_USERS\\A\\", "HKEY_USERS\\A\\{emp} = String {emp}", "HKEY_USERS\\A\\{emp} = String x"}},
        {"no sections at all", "not a registry file", {}, 0, false, {}, false},
        {"only sections of no registry root", "[Settings]\r\nName=1\r\n", {}, 1, false, {}, false},
        {"only deletions of keys", wharf::testing::fixture("export-deletions.reg"), {}, 2},
    };
    for (const ImportCase &c : cases) {
        const RegFile file = parseRegFile(c.text);
        RegistryTree tree;
        importRegFile(tree, file);
        EXPECT_EQ(render(tree), c.tree) << c.label;
        EXPECT_EQ(file.SkippedEntries, c.skipped) << c.label;
        EXPECT_EQ(file.SkippedLines.size(), static_cast<size_t>(c.skipped)) << c.label;
        EXPECT_EQ(file.Unsupported, c.unsupported) << c.label;
        EXPECT_EQ(file.Unsavable, c.unsavable) << c.label;
        EXPECT_EQ(isRegistryFile(file), c.registryFile) << c.label;
    }
}

TEST(RegFileTest, EveryLineLeftOutIsNamedByItsNumberAndText)
{
    const RegFile file = parseRegFile(kHeader + "[HKEY_USERS\\A]\r\n\"Name\"=\"C:\\Path\"x\"\r\n\"Ok\"=\"1\"\r\n"
                                                "\"Long\"=\"" + std::string(100, 'y') + "\" and more\r\n"
                                                "\"Wide\"=hex:01,\\\r\n  02,\\\r\n  03 x\r\n"
                                                "[-HKEY_USERS\\A\\Old]\r\n\"In\"=\"deleted\"\r\n");
    const size_t first = std::count(kHeader.begin(), kHeader.end(), '\n') + 2;  // "Name", after the section
    EXPECT_EQ(file.SkippedLines,
              (std::vector<std::string>{
                  "line " + std::to_string(first) + ": \"Name\"=\"C:\\Path\"x\"",
                  "line " + std::to_string(first + 2) + ": \"Long\"=\"" + std::string(100, 'y').substr(0, 72) + "...",
                  "line " + std::to_string(first + 6) + ": [-HKEY_USERS\\A\\Old]",
              }));
    EXPECT_EQ(file.SkippedEntries, 3);
    EXPECT_TRUE(file.Unsupported);  // the continued binary value, judged whole
}

TEST(RegFileTest, ImportedEntriesCarryTheImportRecordsAndAreNotMergedTwice)
{
    // "Software" is named by a section of its own too: an existing key is
    // merged into, never given the import's record.
    const RegFile file = parseRegFile(kHeader + "[HKEY_CURRENT_USER\\Software]\r\n"
                                                "[HKEY_CURRENT_USER\\Software\\A]\r\n\"V\"=\"1\"\r\n"
                                                "\"Long\"=\"" + std::string(300, 'x') + "\"\r\n");
    RegistryTree tree;
    // The intermediate key "Software" existed with its own record: it keeps it.
    RegistryEntry existing = intermediateKeyRecord();
    existing.Uninstall = true;
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_CURRENT_USER", "Software", RegistryEntry(), existing, kEmpty));
    importRegFile(tree, file);
    importRegFile(tree, file);

    const RegistryNode &software = tree.roots()[1].Children.at(0);
    EXPECT_EQ(software.Entry, existing);
    ASSERT_EQ(software.Children.size(), 1u);
    const RegistryNode &key = software.Children[0];
    EXPECT_TRUE(key.Entry.IsKey);
    EXPECT_TRUE(key.Entry.Create);
    EXPECT_FALSE(key.Entry.Uninstall);
    EXPECT_EQ(key.Entry.TargetSystems, 0);
    ASSERT_EQ(key.Children.size(), 4u);  // twice "V" and "Long": names are not checked
    const RegistryEntry &value = key.Children[0].Entry;
    EXPECT_FALSE(value.IsKey);
    EXPECT_TRUE(value.Create);
    EXPECT_TRUE(value.Overwrite);
    EXPECT_FALSE(value.Uninstall);
    EXPECT_EQ(value.TargetSystems, 0);
    EXPECT_EQ(key.Children[1].Entry.Data.size(), 255u);
    EXPECT_EQ(file.Cut, std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\A\\Long"});
}

TEST(RegFileTest, ProgressCountsEverySectionAndRoundsHalvesToEven)
{
    const RegFile file = parseRegFile("[HKEY_USERS\\A]\n[-HKEY_USERS\\B]\n[HKEY_USERS\\C]\n[HKEY_USERS\\D]\n");
    std::vector<int> steps;
    RegistryTree tree;
    importRegFile(tree, file, [&](int percent) { steps.push_back(percent); });
    EXPECT_EQ(steps, (std::vector<int>{25, 50, 75, 100}));

    EXPECT_EQ(importPercent(1, 8), 12);  // 12.5
    EXPECT_EQ(importPercent(3, 8), 38);  // 37.5
    EXPECT_EQ(importPercent(1, 3), 33);
    EXPECT_EQ(importPercent(2, 3), 67);
    EXPECT_EQ(importPercent(0, 0), 0);
}

TEST(RegFileTest, FixturesInEveryEncodingImportAlike)
{
    // The same export written as UTF-16 and as UTF-8 with a byte order mark.
    RegistryTree wide;
    RegistryTree narrow;
    const RegFile utf16 = parseRegFile(wharf::testing::fixture("export-utf16le.reg"));
    const RegFile utf8 = parseRegFile(wharf::testing::fixture("export-utf8.reg"));
    importRegFile(wide, utf16);
    importRegFile(narrow, utf8);
    EXPECT_TRUE(wide == narrow);
    EXPECT_EQ(render(wide).size(), 9u);  // two keys of HKCR, seven entries of HKCU
    EXPECT_EQ(utf16.SkippedEntries, 2);  // the deletion section and the deleted value
    EXPECT_TRUE(utf16.Unsupported);

    // The 8-bit file: its broken header is left out with its values, and the
    // section before keeps only its own.
    const RegFile old = parseRegFile(wharf::testing::fixture("export-regedit4.reg"));
    RegistryTree tree;
    importRegFile(tree, old);
    EXPECT_EQ(render(tree), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\",
                                                      "HKEY_LOCAL_MACHINE\\Software\\Gr\xc3\xbc\xc3\x9f" "e\\",
                                                      "HKEY_LOCAL_MACHINE\\Software\\Gr\xc3\xbc\xc3\x9f" "e\\Euro = String "
                                                      "\xe2\x82\xac 5"}));
    EXPECT_EQ(old.SkippedEntries, 1);
}
