#include "commandline.h"

#include "displaycheck.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

struct CommandLineCase {
    QStringList arguments;
    EditorStart start;
    QString project;
};

TEST(EditorCommandLine, CompilesOnlyWithExactlyTwoArgumentsAndTheSwitch)
{
    using enum EditorStart;
    const CommandLineCase cases[] = {
        {{}, Window, {}},
        {{"a.wfp"}, Window, "a.wfp"},
        {{"a.wfp", "-c"}, BatchCompile, "a.wfp"},
        {{"a.wfp", "-C"}, BatchCompile, "a.wfp"},
        {{"a.wfp", "/c"}, BatchCompile, "a.wfp"},
        {{"a.wfp", "/C"}, BatchCompile, "a.wfp"},
        {{"a.wfp", "-x"}, Window, "a.wfp"},
        {{"a.wfp", "-compile"}, Window, "a.wfp"},
        {{"a.wfp", "b.wfp", "c.wfp"}, Window, "a.wfp"},
        // A switch that can't compile must not leave a window waiting.
        {{"-c"}, Malformed, {}},
        {{"/C"}, Malformed, {}},
        {{"", "-c"}, Malformed, {}},
        {{"-c", "-c"}, Malformed, {}},
        {{"-c", "a.wfp"}, Malformed, {}},
        {{"a.wfp", "-c", "more"}, Malformed, {}},
        {{"--help"}, Help, {}},
        {{"a.wfp", "-h"}, Help, {}},
        {{"--version"}, Version, {}},
        {{"a.wfp", "-c", "--version"}, Version, {}},
    };
    for (const CommandLineCase &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const EditorCommandLine line = parseEditorCommandLine(c.arguments);
        EXPECT_EQ(line.start, c.start);
        EXPECT_EQ(line.start == Malformed, !line.problem.isEmpty()) << line.problem.toStdString();
        if (c.start == Window || c.start == BatchCompile) {
            EXPECT_EQ(line.project, c.project);
        }
    }
}

TEST(EditorCommandLine, QtsOwnOptionsAreNoArgumentsOfTheEditor)
{
    // The program parses what Qt leaves, as the main window does later.
    const EditorCommandLine line =
        parseEditorCommandLine(withoutQtOptions({"-platform", "offscreen", "./a.wfp", "-style=fusion", "-c"}));
    EXPECT_EQ(line.start, EditorStart::BatchCompile);
    EXPECT_EQ(line.project, QStringLiteral("./a.wfp"));
    EXPECT_EQ(parseEditorCommandLine(withoutQtOptions({"--reverse", "a.wfp"})).project, QStringLiteral("a.wfp"));
}

} // namespace
} // namespace wharf
