#include "commandline.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

struct CommandLineCase {
    QStringList arguments;
    QString project;
    bool batch;
};

TEST(EditorCommandLine, CompilesOnlyWithExactlyTwoArgumentsAndTheSwitch)
{
    const CommandLineCase cases[] = {
        {{}, {}, false},
        {{"a.wfp"}, "a.wfp", false},
        {{"a.wfp", "-c"}, "a.wfp", true},
        {{"a.wfp", "-C"}, "a.wfp", true},
        {{"a.wfp", "/c"}, "a.wfp", true},
        {{"a.wfp", "/C"}, "a.wfp", true},
        {{"a.wfp", "-x"}, "a.wfp", false},
        {{"a.wfp", "-compile"}, "a.wfp", false},
        {{"a.wfp", "-c", "more"}, "a.wfp", false},
        {{"-c"}, "-c", false},
    };
    for (const CommandLineCase &c : cases) {
        const EditorCommandLine line = parseEditorCommandLine(c.arguments);
        EXPECT_EQ(line.project, c.project) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.batchCompile, c.batch) << c.arguments.join(' ').toStdString();
    }
}

} // namespace
} // namespace wharf
