#include "editorsettings.h"

#include "files.h"
#include "qtprinters.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

// Records what the read applied, in order.
class RecordingTarget : public EditorSettingsTarget {
public:
    QStringList calls;
    void applyShowVariables(bool shown) override { calls << QStringLiteral("ShowVariables=%1").arg(shown); }
    void setPaletteLeft(int left) override { calls << QStringLiteral("Left=%1").arg(left); }
    void setPaletteTop(int top) override { calls << QStringLiteral("Top=%1").arg(top); }
    void setShowCompileWarning(bool show) override { calls << QStringLiteral("ShowWarning=%1").arg(show); }
    void addTool(const QString &caption, const QString &commandLine) override
    {
        calls << QStringLiteral("Tool %1=%2").arg(caption, commandLine);
    }
    void setHighlightSyntax(bool on) override { calls << QStringLiteral("Highlight=%1").arg(on); }
};

class EditorSettingsTest : public ::testing::Test {
protected:
    ScratchFolder m_scratch;
    Settings m_settings{QString::fromStdString(m_scratch.path())};
    RecordingTarget m_target;

    // Writes the editor's values; a negative position leaves that value out.
    void writeEditorValues(bool withShowVariables, int left, int top)
    {
        ASSERT_TRUE(m_settings.openKey(kEditorSettingsKey, true));
        if (withShowVariables)
            m_settings.writeBool(QStringLiteral("ShowVariables"), true);
        if (left >= 0)
            m_settings.writeInteger(QStringLiteral("VWLeft"), left);
        if (top >= 0)
            m_settings.writeInteger(QStringLiteral("VWTop"), top);
        m_settings.closeKey();
    }
};

TEST_F(EditorSettingsTest, NoKeyLeavesEveryDefault)
{
    readEditorSettings(m_settings, m_target);
    EXPECT_TRUE(m_target.calls.isEmpty());
}

TEST_F(EditorSettingsTest, ReadsEveryValueInOrder)
{
    writeEditorValues(true, 10, 20);
    ASSERT_TRUE(m_settings.openKey(kEditorSettingsKey, false));
    m_settings.writeBool(QStringLiteral("ShowWarning"), false);
    ASSERT_TRUE(m_settings.openKey(QStringLiteral("Tools"), true));
    m_settings.writeString(QStringLiteral("Editor"), QStringLiteral("notepad.exe readme.txt"));
    m_settings.writeString(QStringLiteral("Blank"), QString());
    ASSERT_TRUE(m_settings.openKey(kDesignerSettingsKey, true));
    m_settings.writeBool(QStringLiteral("SyntaxHighlight"), false);
    m_settings.closeKey();

    readEditorSettings(m_settings, m_target);
    EXPECT_EQ(m_target.calls, (QStringList{"ShowVariables=1", "Left=10", "Top=20", "ShowWarning=0", "Tool Blank=",
                                           "Tool Editor=notepad.exe readme.txt", "Highlight=0"}));
    EXPECT_FALSE(m_settings.hasCurrentKey());
}

TEST_F(EditorSettingsTest, MissingOptionalValuesTakeTheirDefaults)
{
    writeEditorValues(true, 1, 2);
    readEditorSettings(m_settings, m_target);
    // No ShowWarning: the warning is on; no designer key: highlighting on.
    EXPECT_EQ(m_target.calls, (QStringList{"ShowVariables=1", "Left=1", "Top=2", "ShowWarning=1", "Highlight=1"}));
}

TEST_F(EditorSettingsTest, StopsAtTheFirstMissingValue)
{
    writeEditorValues(false, 10, 20);
    readEditorSettings(m_settings, m_target);
    EXPECT_TRUE(m_target.calls.isEmpty());

    m_target.calls.clear();
    writeEditorValues(true, -1, 20);
    ASSERT_TRUE(m_settings.openKey(kEditorSettingsKey, false));
    m_settings.deleteValue(QStringLiteral("VWLeft"));
    m_settings.closeKey();
    readEditorSettings(m_settings, m_target);
    EXPECT_EQ(m_target.calls, QStringList{"ShowVariables=1"});
    EXPECT_FALSE(m_settings.hasCurrentKey());
}

TEST_F(EditorSettingsTest, AToolOfTheWrongTypeEndsTheReading)
{
    writeEditorValues(true, 1, 2);
    ASSERT_TRUE(m_settings.openKey(kEditorSettingsKey + QStringLiteral("\\Tools"), true));
    m_settings.writeInteger(QStringLiteral("A number"), 5);
    m_settings.writeString(QStringLiteral("B tool"), QStringLiteral("b.exe"));
    m_settings.closeKey();
    readEditorSettings(m_settings, m_target);
    EXPECT_EQ(m_target.calls, (QStringList{"ShowVariables=1", "Left=1", "Top=2", "ShowWarning=1"}));
}

TEST_F(EditorSettingsTest, CloseWritesTheValuesItReadsBack)
{
    writeEditorSettings(m_settings, EditorSettingsOnClose{true, 33, 44, false});
    readEditorSettings(m_settings, m_target);
    EXPECT_EQ(m_target.calls, (QStringList{"ShowVariables=1", "Left=33", "Top=44", "ShowWarning=0", "Highlight=1"}));
}

TEST_F(EditorSettingsTest, AnUnwritableFolderIsIgnored)
{
    const std::string blocked = m_scratch.file("blocked");
    writeFile(blocked, "a file where the folder would be");
    Settings settings(QString::fromStdString(blocked));
    writeEditorSettings(settings, EditorSettingsOnClose{});
    EXPECT_FALSE(settings.hasCurrentKey());
}

} // namespace
} // namespace wharf
