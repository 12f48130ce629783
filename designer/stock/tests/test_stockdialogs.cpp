// The stock wizard pages as the program folder holds them: each is what its
// source says, opens in the designer and saves back to the same bytes, and
// shows every control on the page. A picture of every page is kept in the
// build folder ("stock-pages") for review.

#include "codec.h"
#include "designer.h"
#include "designsurface.h"
#include "dialogfile.h"
#include "fakeseams.h"
#include "files.h"
#include "inistore.h"
#include "keylist.h"
#include "paths.h"
#include "stockcheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>

#include <cstdlib>
#include <cstring>
#include <map>
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

TDialogContents sourceContents(const std::string &page)
{
    return parseDialogText(toWindows1252(readFile(sourceOf(page)).value_or("")));
}

// What a Next script did, run the way the script help describes the
// commands the stock pages use.
struct NextOutcome {
    bool aborted = false;
    std::vector<std::string> pagesShown;   // ShowDialog
    std::vector<std::string> installTypes; // SetInstallType
};

// Runs the page's Next script with its controls as the page opens them;
// chosen overrides the selected item of a radio group or list box by name.
NextOutcome pressNext(const TDialogContents &page, const std::map<std::string, int> &chosen = {})
{
    std::map<std::string, std::string> vars;
    const auto substituted = [&vars](std::string text) {
        for (const auto &[name, value] : vars)
            for (size_t at; (at = text.find(name)) != std::string::npos;)
                text.replace(at, name.size(), value);
        return text;
    };
    const auto controlText = [&page, &chosen](const std::string &name) -> std::string {
        for (const TStringList &keys : page.controls) {
            if (keyListValue(keys, "Name") != name)
                continue;
            switch (keyListInteger(keys, "Type", ctEdit)) {
            case ctRadioGroup:
            case ctListBox: {
                const auto it = chosen.find(name);
                return std::to_string(it != chosen.end() ? it->second : keyListInteger(keys, "ItemIndex", -1));
            }
            case ctCheckBox: return std::to_string(keyListInteger(keys, "Checked", 0));
            case ctLabel: return keyListValue(keys, "Caption").value_or("");
            default: return keyListValue(keys, "Text").value_or("");
            }
        }
        ADD_FAILURE() << "no control " << name;
        return {};
    };
    const auto holds = [](const std::string &condition) {
        for (const char *op : {"<>", "=", "<", ">"}) {
            const size_t at = condition.find(op);
            if (at == std::string::npos)
                continue;
            const auto trimmed = [](std::string text) {
                text.erase(0, text.find_first_not_of(' '));
                text.erase(text.find_last_not_of(' ') + 1);
                return text;
            };
            const std::string a = trimmed(condition.substr(0, at)), b = trimmed(condition.substr(at + std::strlen(op)));
            // Numbers compare as numbers, other texts without regard to case.
            char *endA = nullptr, *endB = nullptr;
            const long na = std::strtol(a.c_str(), &endA, 10), nb = std::strtol(b.c_str(), &endB, 10);
            const bool numbers = !a.empty() && !b.empty() && *endA == 0 && *endB == 0;
            const int order = numbers ? (na < nb ? -1 : na > nb) : foldedText(a).compare(foldedText(b));
            const std::string o(op);
            return o == "<>" ? order != 0 : o == "=" ? order == 0 : o == "<" ? order < 0 : order > 0;
        }
        ADD_FAILURE() << "no comparison in " << condition;
        return false;
    };

    NextOutcome outcome;
    // Per open If: whether its lines run, and whether the lines around it do.
    std::vector<std::pair<bool, bool>> blocks;
    const auto running = [&blocks] { return blocks.empty() || blocks.back().first; };
    for (const std::string &line : page.page.nextScript) {
        if (line.rfind("//", 0) == 0)
            continue;
        const size_t open = line.find('('), close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos) {
            ADD_FAILURE() << "not a command: " << line;
            continue;
        }
        const std::string command = line.substr(0, open);
        std::vector<std::string> args;
        std::istringstream list(line.substr(open + 1, close - open - 1));
        for (std::string arg; std::getline(list, arg, ',');)
            args.push_back(arg.substr(std::min(arg.find_first_not_of(' '), arg.size())));
        if (command == "If") {
            const bool outer = running();
            blocks.emplace_back(outer && holds(substituted(args.at(0))), outer);
        } else if (command == "Else") {
            blocks.back().first = blocks.back().second && !blocks.back().first;
        } else if (command == "EndIf") {
            blocks.pop_back();
        } else if (!running()) {
            continue;
        } else if (command == "GetControlText") {
            vars[args.at(1)] = controlText(args.at(0));
        } else if (command == "SetVar") {
            vars[args.at(0)] = substituted(args.at(1));
        } else if (command == "MessageBox") {
            vars[args.at(3)] = "1";
        } else if (command == "ShowDialog") {
            outcome.pagesShown.push_back(args.at(0));
        } else if (command == "SetInstallType") {
            outcome.installTypes.push_back(substituted(args.at(0)));
        } else if (command == "Abort") {
            outcome.aborted = true;
            break;
        }
    }
    return outcome;
}

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

// Next pressed on a page as it opens, out of habit, neither ends the setup
// nor passes an installation type that is none.
TEST_P(StockDialogs, NextAsThePageOpensIsSafe)
{
    const NextOutcome next = pressNext(sourceContents(GetParam()));
    EXPECT_FALSE(next.aborted);
    for (const std::string &type : next.installTypes)
        EXPECT_GE(std::stoi(type), 0) << type;
}

// The pages whose Next depends on a choice, each choice once.
TEST(StockDialogChoices, NextFollowsTheChoiceMade)
{
    struct Case {
        const char *page;
        std::map<std::string, int> chosen;
        bool aborted;
        std::vector<std::string> pagesShown, installTypes;
    } cases[] = {
        // No choice yet: asked again on the same page.
        {"license agreement", {}, false, {"license agreement"}, {}},
        {"license agreement", {{"RG_Accept", 0}}, false, {}, {}},
        {"license agreement", {{"RG_Accept", 1}}, true, {}, {}},
        // No choice: the first type.
        {"select installation type", {}, false, {}, {"0"}},
        {"select installation type", {{"LB_InstTypes", 2}}, false, {}, {"2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.page) + " " + (c.chosen.empty() ? "none" : std::to_string(c.chosen.begin()->second)));
        const NextOutcome next = pressNext(sourceContents(c.page), c.chosen);
        EXPECT_EQ(next.aborted, c.aborted);
        EXPECT_EQ(next.pagesShown, c.pagesShown);
        EXPECT_EQ(next.installTypes, c.installTypes);
    }
    // The page the licence page shows again is itself.
    EXPECT_TRUE(fileExists(builtOf("license agreement")));
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
    const std::string edit = "Type=0\nWidth=100\nHeight=21\nTop=10\n";
    struct Case {
        const char *what;
        std::string text;
        std::string problem; // empty: the source is sound
    } cases[] = {
        {"sound", head + "1\n[Control0]\n" + edit + "Name=E_A\nLeft=10\n", ""},
        {"count", head + "2\n[Control0]\n" + edit + "Name=E_A\nLeft=10\n", "CtlCount is 2 but 1"},
        {"no name", head + "1\n[Control0]\n" + edit + "Left=10\n", "Control0 has no name"},
        {"repeated name", head + "2\n[Control0]\n" + edit + "Name=E_A\nLeft=10\n[Control1]\n" + edit + "Name=e_a\nLeft=10\n",
         "Control1 repeats the name e_a"},
        {"name scripts can't address", head + "1\n[Control0]\n" + edit + "Name=E A\nLeft=10\n",
         "more than letters, digits and underscores"},
        {"off the grid", head + "1\n[Control0]\n" + edit + "Name=E_A\nLeft=8\n", "lies off the 5 x 5 grid"},
        {"top off the grid", head + "1\n[Control0]\nType=2\nName=L\nLeft=10\nTop=32\nWidth=9\nHeight=14\n",
         "at 10,32 lies off"},
        {"type", head + "1\n[Control0]\nType=11\nName=X\nLeft=10\nTop=10\nWidth=9\nHeight=9\n", "has no known type"},
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
