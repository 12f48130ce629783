// The stock wizard pages as the program folder holds them: each is what its
// source says, opens in the designer and saves back to the same bytes, and
// shows every control on the page. A picture of every page is kept in the
// build folder ("stock-pages") for review.

#include "codec.h"
#include "designer.h"
#include "designsurface.h"
#include "dialogfile.h"
#include "fakeseams.h"
#include "inistore.h"
#include "files.h"
#include "paths.h"
#include "stockcheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>

#include <set>
#include <sstream>

#include <string>
#include <vector>

namespace wharf {
namespace {

const std::vector<std::string> &stockPages()
{
    static const std::vector<std::string> pages{
        "welcome",           "license agreement",     "readme file",    "select destination",
        "select program group", "select installation type", "custom setup", "user information",
        "overview",          "installation progress", "setup complete", "uninstaller",
        "uninstall finished"};
    return pages;
}

std::string sourceOf(const std::string &page) { return joinPath(WHARF_STOCK_SOURCES, page + ".ini"); }
std::string builtOf(const std::string &page) { return joinPath(WHARF_STOCK_DIALOGS, page + ".ddf"); }

class StockDialogs : public ::testing::TestWithParam<std::string> {
protected:
    ScratchFolder dir;
    testing::FakeSeams fake;
};

TEST_P(StockDialogs, BuiltFileHoldsItsSourceAndSavesBackUnchanged)
{
    const std::optional<std::string> source = readFile(sourceOf(GetParam()));
    const std::optional<std::string> built = readFile(builtOf(GetParam()));
    ASSERT_TRUE(source && built);

    const TDialogContents expected = parseDialogText(toWindows1252(*source));
    EXPECT_TRUE(stockDialogProblems(expected, *source).empty());
    const TDecodedDialog decoded = decodeDialogFile(*built);
    ASSERT_EQ(decoded.passwordIndex, kPasswordProfessional);
    EXPECT_EQ(decoded.contents.page, expected.page);
    EXPECT_EQ(decoded.contents.controls, expected.controls);

    TDialogDocument document;
    ASSERT_EQ(document.LoadDialogFile(builtOf(GetParam())), TLoadResult::Loaded);
    const std::string saved = dir.file("saved.ddf");
    document.SaveDialogFile(saved);
    EXPECT_EQ(readFile(saved), built);
}

TEST_P(StockDialogs, RendersEveryControlOnThePage)
{
    TDesigner designer(fake.seams(), QStringLiteral(WHARF_PROGRAM_FOLDER "/"), QString::fromStdString(dir.path()));
    Tfrm_Main &main = designer.main();
    main.LoadDialogFile(QString::fromStdString(builtOf(GetParam())));
    EXPECT_TRUE(fake.messages.shown.empty());
    ASSERT_GT(main.document().controlCount(), 0u);
    EXPECT_EQ(main.windowTitle().toStdString(), main.document().caption());

    main.show();
    const QRect page = main.surface()->geometry();
    for (size_t i = 0; i < main.document().controlCount(); ++i) {
        const QLabel *picture = main.pictureOf(i);
        ASSERT_NE(picture, nullptr);
        EXPECT_TRUE(page.contains(picture->geometry()))
            << main.document().controlName(i) << " lies outside the page";
        EXPECT_FALSE(picture->pixmap().isNull()) << main.document().controlName(i);
    }
    main.CtlClick(-1); // no selection frame in the picture
    QDir().mkpath(QStringLiteral(WHARF_STOCK_PICTURES));
    const QString png = QStringLiteral(WHARF_STOCK_PICTURES "/%1.png").arg(QString::fromStdString(GetParam()));
    EXPECT_TRUE(main.grab().save(png, "PNG")) << png.toStdString();
}

// Every script line of a page calls a command of the shipped command list,
// and the commands that act on a control name one the page has.
TEST_P(StockDialogs, ScriptsCallListedCommandsOnTheirOwnControls)
{
    std::set<std::string> commands;
    const std::optional<std::string> list = readFile(WHARF_PROGRAM_FOLDER "/script.dat");
    ASSERT_TRUE(list);
    std::istringstream lines(*list);
    for (std::string line; std::getline(lines, line);) {
        const size_t blank = line.find(' '), paren = line.find('(');
        if (blank != std::string::npos && paren != std::string::npos && blank < paren)
            commands.insert(line.substr(blank + 1, paren - blank - 1));
    }
    ASSERT_FALSE(commands.empty());

    const std::optional<std::string> source = readFile(sourceOf(GetParam()));
    ASSERT_TRUE(source);
    const TDialogContents contents = parseDialogText(toWindows1252(*source));
    std::set<std::string> names;
    std::vector<std::string> script = contents.page.initScript;
    for (const TStringList *part : {&contents.page.showScript, &contents.page.backScript, &contents.page.nextScript})
        script.insert(script.end(), part->begin(), part->end());
    for (const TStringList &keys : contents.controls) {
        TMemIniStore ini("", true);
        std::string text;
        for (const std::string &line : keys)
            text += line + "\n";
        ini.LoadFromBytes(text);
        names.insert(ini.ReadString("Controls", "Name", ""));
        for (const char *event : {"ClickFunc", "ChangeFunc"}) {
            const TStringList lines = ReadScriptLines(ini, "Controls", event, keys.size());
            script.insert(script.end(), lines.begin(), lines.end());
        }
    }
    const std::set<std::string> onControls{"GetControlText", "SetControlText", "EnableControl", "ShowControl"};
    for (const std::string &line : script) {
        if (line.rfind("//", 0) == 0)
            continue;
        const size_t paren = line.find('(');
        ASSERT_NE(paren, std::string::npos) << line;
        const std::string command = line.substr(0, paren);
        EXPECT_TRUE(commands.count(command)) << "not a listed command: " << line;
        if (onControls.count(command)) {
            const std::string control = line.substr(paren + 1, line.find(',', paren) - paren - 1);
            EXPECT_TRUE(names.count(control)) << "no control " << control << " on the page: " << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, StockDialogs, ::testing::ValuesIn(stockPages()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             std::string name;
                             for (char c : info.param)
                                 name += c == ' ' ? '_' : c;
                             return name;
                         });

// The rules the build checks a page source against, each broken once.
TEST(StockDialogCheck, NamesTheRuleASourceBreaks)
{
    const std::string head = "[Dialog]\nDlgTitle=Page\nCtlCount=";
    const std::string edit = "Type=0\nWidth=100\nHeight=21\nTop=8\n";
    struct Case {
        const char *what;
        std::string text;
        std::string problem; // empty: the source is sound
    } cases[] = {
        {"sound", head + "1\n[Control0]\n" + edit + "Name=E_A\nLeft=8\n", ""},
        {"count", head + "2\n[Control0]\n" + edit + "Name=E_A\nLeft=8\n", "CtlCount is 2 but 1"},
        {"no name", head + "1\n[Control0]\n" + edit + "Left=8\n", "Control0 has no name"},
        {"repeated name", head + "2\n[Control0]\n" + edit + "Name=E_A\nLeft=8\n[Control1]\n" + edit + "Name=e_a\nLeft=8\n",
         "Control1 repeats the name e_a"},
        {"type", head + "1\n[Control0]\nType=11\nName=X\nLeft=8\nTop=8\nWidth=9\nHeight=9\n", "has no known type"},
        {"beyond the right edge", head + "1\n[Control0]\n" + edit + "Name=E_A\nLeft=225\n", "does not lie on the page"},
        {"beyond the bottom", head + "1\n[Control0]\nType=2\nName=L\nLeft=0\nTop=300\nWidth=9\nHeight=14\n",
         "does not lie on the page"},
        {"left of the page", head + "1\n[Control0]\n" + edit + "Name=E_A\nLeft=-1\n", "does not lie on the page"},
        {"no title", "[Dialog]\nCtlCount=0\n", "no title"},
    };
    for (const Case &c : cases) {
        const std::vector<std::string> problems = stockDialogProblems(parseDialogText(c.text), c.text);
        if (c.problem.empty()) {
            EXPECT_TRUE(problems.empty()) << c.what << ": " << (problems.empty() ? "" : problems.front());
        } else {
            ASSERT_EQ(problems.size(), 1u) << c.what;
            EXPECT_NE(problems.front().find(c.problem), std::string::npos) << c.what << ": " << problems.front();
        }
    }
}

} // namespace
} // namespace wharf
