#include "settings.h"

#include "files.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QFile>

namespace wharf {
namespace {

const QString kRoot = QStringLiteral("Software\\Kelvra\\Brindlewharf 2.0");

class SettingsTest : public ::testing::Test {
protected:
    ScratchFolder m_folder;
    QString config() const { return QString::fromStdString(m_folder.path()); }
    QString iniText() const
    {
        QFile file(config() + QStringLiteral("/Kelvra/Brindlewharf 2.0.ini"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

TEST_F(SettingsTest, MissingKeysOpenOnlyWhenCreated)
{
    Settings settings(config());
    EXPECT_FALSE(settings.openKeyReadOnly(kRoot));
    EXPECT_FALSE(settings.keyExists(kRoot));
    EXPECT_FALSE(settings.openKey(QStringLiteral("Kelvra"), true)); // not under "Software\<maker>\<product>"
    EXPECT_FALSE(settings.hasCurrentKey());
    EXPECT_THROW(settings.writeInteger(QStringLiteral("X"), 1), ERegistryException);

    ASSERT_TRUE(settings.openKey(kRoot, true));
    EXPECT_EQ(settings.currentPath(), kRoot);
    settings.writeBool(QStringLiteral("ShowWarning"), false);
    EXPECT_TRUE(settings.closeKey());
    EXPECT_TRUE(settings.keyExists(QStringLiteral("\\software\\Kelvra\\Brindlewharf 2.0")));
    EXPECT_FALSE(settings.keyExists(kRoot + QStringLiteral("\\Tools")));
    EXPECT_TRUE(QFile::exists(config() + QStringLiteral("/Kelvra/Brindlewharf 2.0.ini")));
}

TEST_F(SettingsTest, ValuesKeepTheirTypes)
{
    {
        Settings settings(config());
        ASSERT_TRUE(settings.openKey(kRoot + QStringLiteral("\\Dialog Designer"), true));
        settings.writeInteger(QStringLiteral("XGrid"), 7);
        settings.writeBool(QStringLiteral("SyntaxHighlight"), true);
        settings.writeString(QStringLiteral("Number"), QStringLiteral("12"));
        settings.writeString(QStringLiteral("Text"), QStringLiteral("Grüße; \"quoted\" = x\nline"));
    }
    // A fresh object reads the file again.
    Settings settings(config());
    ASSERT_TRUE(settings.openKeyReadOnly(kRoot + QStringLiteral("\\dialog designer")));
    EXPECT_EQ(settings.readInteger(QStringLiteral("XGrid")), 7);
    EXPECT_TRUE(settings.readBool(QStringLiteral("syntaxhighlight")));
    EXPECT_EQ(settings.readString(QStringLiteral("Number")), QStringLiteral("12"));
    EXPECT_EQ(settings.readString(QStringLiteral("Text")), QStringLiteral("Grüße; \"quoted\" = x\nline"));
    EXPECT_THROW(settings.readInteger(QStringLiteral("Number")), ERegistryException);
    EXPECT_THROW(settings.readString(QStringLiteral("XGrid")), ERegistryException);
    EXPECT_THROW(settings.readBool(QStringLiteral("Click")), ERegistryException); // missing
    EXPECT_EQ(settings.readString(QStringLiteral("Missing")), QString());
    EXPECT_TRUE(iniText().contains(QStringLiteral("XGrid=dword:7")));
}

TEST_F(SettingsTest, SubkeysValueNamesAndDeletion)
{
    Settings settings(config());
    ASSERT_TRUE(settings.openKey(QStringLiteral("\\") + kRoot, true));
    settings.writeInteger(QStringLiteral("VWLeft"), -20);
    ASSERT_TRUE(settings.openKey(QStringLiteral("Tools"), true)); // relative to the open key
    EXPECT_EQ(settings.currentPath(), kRoot + QStringLiteral("\\Tools"));
    settings.writeString(QStringLiteral("Edit/View \\ notes"), QStringLiteral("notepad.exe \"a b.txt\""));
    settings.writeString(QStringLiteral("100%"), QStringLiteral("x"));
    EXPECT_EQ(settings.getValueNames(), QStringList({QStringLiteral("100%"), QStringLiteral("Edit/View \\ notes")}));
    EXPECT_EQ(settings.readString(QStringLiteral("edit/view \\ NOTES")), QStringLiteral("notepad.exe \"a b.txt\""));
    EXPECT_TRUE(settings.deleteValue(QStringLiteral("100%")));
    EXPECT_FALSE(settings.valueExists(QStringLiteral("100%")));

    ASSERT_TRUE(settings.openKey(QStringLiteral("\\") + kRoot + QStringLiteral("\\MRU"), true));
    for (int i = 0; i < 5; ++i)
        settings.writeString(QStringLiteral("F%1").arg(i), QStringLiteral("/p/%1.wfp").arg(i));
    ASSERT_FALSE(settings.openKey(kRoot, false)); // relative: "...\MRU\Software\..."
    ASSERT_TRUE(settings.openKey(QStringLiteral("\\") + kRoot, false));
    EXPECT_EQ(settings.getKeyNames(), QStringList({QStringLiteral("MRU"), QStringLiteral("Tools")}));

    // Saving a shorter list: the subkey goes with all its values first.
    EXPECT_TRUE(settings.deleteKey(QStringLiteral("MRU")));
    EXPECT_FALSE(settings.keyExists(QStringLiteral("\\") + kRoot + QStringLiteral("\\MRU")));
    ASSERT_TRUE(settings.openKey(QStringLiteral("\\") + kRoot + QStringLiteral("\\MRU"), true));
    for (int i = 0; i < 3; ++i)
        settings.writeString(QStringLiteral("F%1").arg(i), QStringLiteral("/q/%1.wfp").arg(i));
    EXPECT_EQ(settings.getValueNames(), QStringList({QStringLiteral("F0"), QStringLiteral("F1"), QStringLiteral("F2")}));
    settings.closeKey();

    Settings reread(config());
    ASSERT_TRUE(reread.openKeyReadOnly(kRoot));
    EXPECT_EQ(reread.readInteger(QStringLiteral("VWLeft")), -20);
    EXPECT_TRUE(reread.openKeyReadOnly(QStringLiteral("Tools")));
    EXPECT_EQ(reread.getValueNames(), QStringList({QStringLiteral("Edit/View \\ notes")}));
    EXPECT_FALSE(reread.deleteKey(QStringLiteral("\\") + kRoot + QStringLiteral("\\Nothing")));
}

TEST(SettingsLocationTest, DefaultsToTheUsersConfigFolder)
{
    // The test main points XDG_CONFIG_HOME at a scratch folder.
    Settings settings;
    EXPECT_EQ(settings.configFolder(), qEnvironmentVariable("XDG_CONFIG_HOME"));
}

} // namespace
} // namespace wharf
