#include "designercommandline.h"

#include "displaycheck.h"
#include "qtprinters.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

TEST(DesignerCommandLine, OpensOneDialogFileAndRefusesAnythingElse)
{
    using enum DesignerStart;
    struct Case {
        QStringList arguments;
        DesignerStart start;
        QString dialogFile;
    };
    const Case cases[] = {
        {{}, Window, {}},
        {{"a.ddf"}, Window, "a.ddf"},
        {{"/home/a/My Dialogs/a.ddf"}, Window, "/home/a/My Dialogs/a.ddf"},
        // Qt's own options are no concern of the designer's.
        {{"-platform", "offscreen", "a.ddf"}, Window, "a.ddf"},
        {{"a.ddf", "-style=fusion", "--reverse"}, Window, "a.ddf"},
        {{"--help"}, Help, {}},
        {{"-h"}, Help, {}},
        {{"a.ddf", "--help"}, Help, {}},
        {{"--version"}, Version, {}},
        {{"a.ddf", "b.ddf", "--version"}, Version, {}},
        {{"--hlep"}, Malformed, {}},
        {{"-x", "a.ddf"}, Malformed, {}},
        {{"a.ddf", "b.ddf"}, Malformed, {}},
        {{""}, Malformed, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const DesignerCommandLine line = parseDesignerCommandLine(withoutQtOptions(c.arguments));
        EXPECT_EQ(line.start, c.start);
        EXPECT_EQ(line.start == Malformed, !line.problem.isEmpty()) << line.problem.toStdString();
        EXPECT_EQ(line.dialogFile, c.dialogFile);
    }
}

TEST(DesignerCommandLine, HelpNamesTheHelpFileAndTheUsageLineEveryForm)
{
    EXPECT_TRUE(designerHelpText(QStringLiteral("/opt/bw/")).contains(QStringLiteral("Help: /opt/bw/Wharfdraft.html")));
    EXPECT_TRUE(designerHelpText(QStringLiteral("/opt/bw/")).startsWith(QStringLiteral("Usage: wharfdraft [DIALOG.ddf]\n")));
    for (const char *form : {"[DIALOG.ddf]", "--help", "--version"})
        EXPECT_TRUE(designerUsageLine().contains(QLatin1String(form))) << form;
    EXPECT_TRUE(designerVersionText().startsWith(QStringLiteral("wharfdraft (Brindlewharf Professional) 2.0")));
}

} // namespace
} // namespace wharf
