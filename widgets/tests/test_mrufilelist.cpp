#include "mrufilelist.h"

#include "files.h"
#include "pathlabel.h"
#include "profile.h"
#include "settings.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMenu>

#include <memory>

namespace wharf {
namespace {

const QString kEditorKey = QStringLiteral("\\Software\\Kelvra\\Brindlewharf 2.0");

QStringList texts(const QMenu *menu)
{
    QStringList out;
    for (const QAction *action : menu->actions())
        out << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *name : list)
        out << QString::fromUtf8(name);
    return out;
}

TMRUMenuItem *numbered(const TMRUFileList &mru, int number)
{
    for (TMRUMenuItem *item : mru.menuItems())
        if (item->ItemNumber() == number)
            return item;
    return nullptr;
}

// The editor's File menu with the list set up as its main window sets it up.
class EditorMenuTest : public ::testing::Test {
protected:
    EditorMenuTest()
    {
        m_file.addAction(QStringLiteral("&New"));
        m_file.addAction(QStringLiteral("&Open"));
        m_append = m_file.addAction(QStringLiteral("&Append"));
        m_file.addAction(QStringLiteral("&Save"));
        m_mru.setSettingsFolder(QString::fromStdString(m_folder.path()));
        m_mru.setRemoveOnClick(false);
        m_mru.setUseSubmenu(true);
        m_mru.setInsertSeparator(false);
        m_mru.setSubmenuName(QStringLiteral("&Reopen"));
        m_mru.setAutoSaveName(kEditorKey);
        m_mru.setAutoSaveKey(QStringLiteral("MRU"));
        m_mru.setFileMenu(m_append);
        m_mru.setAutoSave(false);
    }

    ScratchFolder m_folder;
    QMenu m_file;
    QAction *m_append;
    TMRUFileList m_mru;
};

TEST(TMRUFileListTest, KeepsTheNewestNamesUpToTheMaximum)
{
    TMRUFileList mru;
    mru.setAutoSave(false);
    for (const char *name : {"/p/1.wfp", "/p/2.wfp", "/p/3.wfp", "/p/4.wfp", "/p/5.wfp", "/p/6.wfp"})
        mru.AddRecentFile(QString::fromUtf8(name));
    EXPECT_EQ(mru.Items(), names({"/p/6.wfp", "/p/5.wfp", "/p/4.wfp", "/p/3.wfp", "/p/2.wfp"}));

    mru.AddRecentFile(QStringLiteral("/p/4.wfp")); // the third moves up, nothing is lost
    EXPECT_EQ(mru.Items(), names({"/p/4.wfp", "/p/6.wfp", "/p/5.wfp", "/p/3.wfp", "/p/2.wfp"}));

    mru.AddRecentFile(QStringLiteral("/P/3.WFP")); // matched ignoring case, stored case kept
    EXPECT_EQ(mru.Items(), names({"/p/3.wfp", "/p/4.wfp", "/p/6.wfp", "/p/5.wfp", "/p/2.wfp"}));

    mru.setMaximum(2);
    EXPECT_EQ(mru.Items(), names({"/p/3.wfp", "/p/4.wfp"}));

    TMRUFileList bottom;
    bottom.setAutoSave(false);
    bottom.setAddToTop(false);
    bottom.setMaximum(2);
    for (const char *name : {"a", "b", "c"})
        bottom.AddRecentFile(QString::fromUtf8(name));
    EXPECT_EQ(bottom.Items(), names({"b", "c"}));
    bottom.AddRecentFile(QStringLiteral("B"));
    EXPECT_EQ(bottom.Items(), names({"c", "b"}));
}

TEST_F(EditorMenuTest, ShowsAReopenSubmenuBeforeAppend)
{
    EXPECT_EQ(texts(&m_file), names({"&New", "&Open", "&Append", "&Save"})); // empty: nothing at all
    m_mru.AddRecentFile(QStringLiteral("/w/a.wfp"));
    m_mru.AddRecentFile(QStringLiteral("/w/b.wfp"));
    EXPECT_EQ(texts(&m_file), names({"&New", "&Open", "&Reopen", "&Append", "&Save"}));
    QMenu *reopen = m_file.actions().at(2)->menu();
    ASSERT_NE(reopen, nullptr);
    EXPECT_EQ(texts(reopen), names({"&1 /w/b.wfp", "&2 /w/a.wfp", "-", "&Clear MRU List", "&Remove Obsolete"}));

    m_mru.setShowRemoveObsolete(false);
    m_mru.setSubmenuName(QStringLiteral("Recent"));
    QMenu *recent = m_file.actions().at(2)->menu();
    EXPECT_EQ(m_file.actions().at(2)->text(), QStringLiteral("Recent"));
    EXPECT_EQ(texts(recent), names({"&1 /w/b.wfp", "&2 /w/a.wfp", "-", "&Clear MRU List"}));

    m_file.actions().at(2)->menu()->actions().at(3)->trigger(); // clear
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_mru.Items().isEmpty());
    EXPECT_EQ(texts(&m_file), names({"&New", "&Open", "&Append", "&Save"}));
}

TEST(TMRUFileListTest, AppendsToASubmenuWithEntriesAndFillsThePopupMenu)
{
    QMenu file;
    file.addAction(QStringLiteral("&Open"));
    file.addAction(QStringLiteral("E&xit"));
    QMenu popup;
    popup.addAction(QStringLiteral("Properties"));
    TMRUFileList mru;
    mru.setAutoSave(false);
    mru.setFileMenu(&file);
    mru.setPopupMenu(&popup);
    mru.setShowClearItem(false);
    mru.setShowRemoveObsolete(false);
    mru.AddRecentFile(QStringLiteral("/a.txt"));
    EXPECT_EQ(texts(&file), names({"&Open", "E&xit", "-", "&1 /a.txt"}));
    EXPECT_EQ(texts(&popup), names({"&1 /a.txt", "Properties"}));

    int created = 0;
    int destroyed = 0;
    mru.OnCreateMRUItem = [&](TMRUFileList *, TMRUMenuItem *) { ++created; };
    mru.OnDestroyMRUItem = [&](TMRUFileList *, TMRUMenuItem *) { ++destroyed; };
    mru.AddRecentFile(QStringLiteral("/b.txt")); // 3 old items go, 5 new ones come
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(created, 5);
    mru.setPopupMenu(nullptr);
    EXPECT_EQ(texts(&popup), names({"Properties"}));
    EXPECT_EQ(texts(&file), names({"&Open", "E&xit", "-", "&1 /b.txt", "&2 /a.txt"}));
    mru.OnCreateMRUItem = nullptr;
    mru.OnDestroyMRUItem = nullptr;
}

TEST(TMRUFileListTest, CaptionsCarryNumbersAndShowTheNameAsItIs)
{
    QMenu file;
    file.addAction(QStringLiteral("&Open"));
    TMRUFileList mru;
    mru.setAutoSave(false);
    mru.setMaximum(40);
    mru.setMaxCaptionWidth(0);
    mru.setShowClearItem(false);
    mru.setShowRemoveObsolete(false);
    mru.setInsertSeparator(false);
    mru.setFileMenu(&file);
    for (int i = 37; i >= 1; --i)
        mru.AddRecentFile(QStringLiteral("/f/%1.txt").arg(i));
    const QList<QAction *> items = file.actions().mid(1);
    ASSERT_EQ(items.size(), 37);
    EXPECT_EQ(items.at(0)->text(), QStringLiteral("&1 /f/1.txt"));
    EXPECT_EQ(items.at(9)->text(), QStringLiteral("&0 /f/10.txt"));
    EXPECT_EQ(items.at(10)->text(), QStringLiteral("&A /f/11.txt"));
    EXPECT_EQ(items.at(35)->text(), QStringLiteral("&Z /f/36.txt"));
    EXPECT_EQ(items.at(36)->text(), QStringLiteral("/f/37.txt"));
    EXPECT_EQ(numbered(mru, 11)->FullCaption(), QStringLiteral("&A /f/11.txt"));

    mru.setMaximum(1);
    mru.AddRecentFile(QStringLiteral("/Tom & Jerry/Notes.v2.txt"));
    EXPECT_EQ(file.actions().at(1)->text(), QStringLiteral("&1 /Tom && Jerry/Notes.v2.txt"));
    struct Case {
        TMRUDisplay display;
        const char *caption;
    };
    for (const Case &c : {Case{TMRUDisplay::mdFileNameExt, "Notes.v2.txt"},
                          Case{TMRUDisplay::mdFileNameOnly, "Notes.v2"},
                          Case{TMRUDisplay::mdCustom, "[&1 /Tom && Jerry/Notes.v2.txt]"}}) {
        mru.OnGetDisplayName = [](TMRUFileList *, const QString &, QString &display) {
            display = u'[' + display + u']';
        };
        mru.setMRUDisplay(c.display);
        EXPECT_EQ(file.actions().at(1)->text(), QString::fromUtf8(c.caption));
    }
}

TEST_F(EditorMenuTest, ShortensLongPathsToTheCaptionWidth)
{
    const QString path = QStringLiteral("C:\\Program Files\\Kelvra\\Projects\\Customer Setups\\2024\\"
                                        "Spring Release\\final.wfp");
    m_mru.AddRecentFile(path);
    const QAction *item = m_file.actions().at(2)->menu()->actions().at(0);
    const QFontMetrics metrics(QApplication::font("QMenu"));
    const QString shown = item->text().mid(3);
    EXPECT_EQ(shown, ShortenPath(path, metrics, 200));
    EXPECT_NE(shown, path);
    EXPECT_LE(metrics.horizontalAdvance(shown), 200);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("C:\\...\\")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("\\final.wfp")));
    EXPECT_EQ(numbered(m_mru, 1)->FullCaption(), QStringLiteral("&1 ") + path);
}

TEST_F(EditorMenuTest, ClickingReportsTheNameAndMayRemoveIt)
{
    QStringList clicked;
    m_mru.OnMRUItemClick = [&](TMRUFileList *, const QString &name) { clicked << name; };
    m_mru.AddRecentFile(QStringLiteral("/w/a.wfp"));
    m_mru.AddRecentFile(QStringLiteral("/w/b.wfp"));
    m_file.actions().at(2)->menu()->actions().at(1)->trigger();
    EXPECT_EQ(clicked, names({"/w/a.wfp"}));
    EXPECT_EQ(m_mru.Items(), names({"/w/b.wfp", "/w/a.wfp"}));

    // Removing on click rebuilds the menu from inside the clicked item's
    // own click; the item outlives the click.
    m_mru.setRemoveOnClick(true);
    QPointer<QAction> item = m_file.actions().at(2)->menu()->actions().at(0);
    item->trigger();
    EXPECT_EQ(clicked, names({"/w/a.wfp", "/w/b.wfp"}));
    EXPECT_EQ(m_mru.Items(), names({"/w/a.wfp"}));
    EXPECT_FALSE(item.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(item.isNull());
    EXPECT_EQ(texts(m_file.actions().at(2)->menu()).value(0), QStringLiteral("&1 /w/a.wfp"));
}

TEST_F(EditorMenuTest, RemoveObsoleteKeepsTheExistingFilesInOrder)
{
    const std::string kept1 = m_folder.file("kept1.wfp");
    const std::string kept2 = m_folder.file("kept2.wfp");
    ASSERT_TRUE(writeFile(kept1, "x"));
    ASSERT_TRUE(writeFile(kept2, "x"));
    for (const std::string &name : {kept2, m_folder.file("gone1.wfp"), kept1, m_folder.file("gone2.wfp")})
        m_mru.AddRecentFile(QString::fromStdString(name));
    m_mru.RemoveObsolete();
    EXPECT_EQ(m_mru.Items(), QStringList({QString::fromStdString(kept1), QString::fromStdString(kept2)}));
    EXPECT_EQ(m_file.actions().at(2)->menu()->actions().size(), 5);

    m_mru.OnRemoveObsolete = [](TMRUFileList *, const QString &name, bool &remove) {
        remove = name.contains(QStringLiteral("kept2"));
    };
    m_mru.RemoveObsolete();
    EXPECT_EQ(m_mru.Items(), QStringList({QString::fromStdString(kept1)}));
}

TEST_F(EditorMenuTest, SavesExactlyOneValuePerName)
{
    Settings settings(QString::fromStdString(m_folder.path()));
    ASSERT_TRUE(settings.openKey(kEditorKey + QStringLiteral("\\MRU"), true));
    for (int i = 0; i < 5; ++i)
        settings.writeString(QStringLiteral("F%1").arg(i), QStringLiteral("/old/%1.wfp").arg(i));
    ASSERT_TRUE(settings.closeKey());

    for (const char *name : {"/w/a.wfp", "/w/b.wfp", "/w/c.wfp"})
        m_mru.AddRecentFile(QString::fromUtf8(name));
    m_mru.Save();
    ASSERT_TRUE(settings.openKeyReadOnly(kEditorKey + QStringLiteral("\\MRU")));
    EXPECT_EQ(settings.getValueNames(), names({"F0", "F1", "F2"}));
    EXPECT_EQ(settings.readString(QStringLiteral("F0")), QStringLiteral("/w/c.wfp"));
    EXPECT_EQ(settings.readString(QStringLiteral("F2")), QStringLiteral("/w/a.wfp"));
    settings.closeKey();

    TMRUFileList loaded;
    loaded.setSettingsFolder(QString::fromStdString(m_folder.path()));
    loaded.setAutoSaveName(QStringLiteral("Software\\Kelvra\\Brindlewharf 2.0")); // "\" put in front
    EXPECT_EQ(loaded.AutoSaveName(), kEditorKey);
    loaded.setAutoSaveKey(QStringLiteral("MRU"));
    loaded.Loaded();
    EXPECT_EQ(loaded.Items(), names({"/w/c.wfp", "/w/b.wfp", "/w/a.wfp"}));
    loaded.setAutoSave(false);
}

TEST_F(EditorMenuTest, LoadingSkipsEmptyValuesAndKeepsTheWrittenOrder)
{
    Settings settings(QString::fromStdString(m_folder.path()));
    ASSERT_TRUE(settings.openKey(kEditorKey + QStringLiteral("\\MRU"), true));
    for (int i = 0; i < 12; ++i)
        settings.writeString(QStringLiteral("F%1").arg(i), i == 1 ? QString() : QStringLiteral("/n/%1").arg(i));
    settings.writeInteger(QStringLiteral("F12"), 7);
    ASSERT_TRUE(settings.closeKey());

    m_mru.setMaximum(12);
    EXPECT_TRUE(m_mru.Load());
    EXPECT_EQ(m_mru.Items(), names({"/n/0", "/n/2", "/n/3", "/n/4", "/n/5", "/n/6", "/n/7", "/n/8", "/n/9",
                                    "/n/10", "/n/11"}));
    m_mru.setMaximum(5);
    EXPECT_TRUE(m_mru.Load());
    EXPECT_EQ(m_mru.Items(), names({"/n/0", "/n/2", "/n/3", "/n/4", "/n/5"}));

    m_mru.setAutoSaveKey(QStringLiteral("Missing"));
    EXPECT_TRUE(m_mru.Load());
    EXPECT_TRUE(m_mru.Items().isEmpty());
    m_mru.setAutoSaveKey(QString());
    EXPECT_FALSE(m_mru.Load());
}

TEST(TMRUFileListTest, KeepsTheListInAnIniFile)
{
    ScratchFolder folder;
    const std::string ini = folder.file("tool.ini");
    ASSERT_TRUE(writeFile(ini, "[Other]\r\nKeep=1\r\n[Recent]\r\nF0=/stale\r\nF7=/stale2\r\n"));
    {
        TMRUFileList mru;
        mru.setUseRegistry(false);
        mru.setAutoSaveName(QString::fromStdString(ini));
        mru.setAutoSaveKey(QStringLiteral("Recent"));
        mru.Loaded();
        EXPECT_EQ(mru.Items(), names({"/stale", "/stale2"}));
        mru.Clear();
        mru.AddRecentFile(QStringLiteral("/home/zoë/Größe.wfp"));
        mru.AddRecentFile(QStringLiteral("/b"));
    } // saved on destruction
    EXPECT_EQ(profileKeys(ini, "Recent"), (std::vector<std::string>{"F0", "F1"}));
    EXPECT_EQ(profileReadString(ini, "Recent", "F1").value_or(""), "/home/zoë/Größe.wfp");
    EXPECT_EQ(profileReadString(ini, "Other", "Keep").value_or(""), "1");
}

TEST(TMRUFileListTest, EveryChangeIsStoredAndMergedWithWhatAnotherProgramStored)
{
    // Two running editors over one settings folder, each loaded before the
    // other changed anything.
    ScratchFolder folder;
    const auto editor = [&folder] {
        auto mru = std::make_unique<TMRUFileList>();
        mru->setSettingsFolder(QString::fromStdString(folder.path()));
        mru->setAutoSaveName(kEditorKey);
        mru->setAutoSaveKey(QStringLiteral("MRU"));
        mru->Loaded();
        return mru;
    };
    const auto stored = [&folder] {
        TMRUFileList reader;
        reader.setSettingsFolder(QString::fromStdString(folder.path()));
        reader.setAutoSaveName(kEditorKey);
        reader.setAutoSaveKey(QStringLiteral("MRU"));
        reader.setAutoSave(false);
        reader.Load();
        return reader.Items();
    };
    auto first = editor();
    auto second = editor();
    first->AddRecentFile(QStringLiteral("/a.wfp"));
    EXPECT_EQ(stored(), names({"/a.wfp"}));  // stored at once, not at the end
    second->AddRecentFile(QStringLiteral("/b.wfp"));
    EXPECT_EQ(stored(), names({"/b.wfp", "/a.wfp"}));
    first->AddRecentFile(QStringLiteral("/c.wfp"));
    EXPECT_EQ(first->Items(), names({"/c.wfp", "/b.wfp", "/a.wfp"}));
    // Closing an editor stores nothing more: the other's names stay.
    first.reset();
    second.reset();
    EXPECT_EQ(stored(), names({"/c.wfp", "/b.wfp", "/a.wfp"}));
}

TEST(TMRUFileListTest, AFailedSaveOnDestructionDoesNotThrow)
{
    ScratchFolder folder;
    auto mru = std::make_unique<TMRUFileList>();
    mru->setSettingsFolder(QString::fromStdString(folder.path()));
    mru->AddRecentFile(QStringLiteral("/a"));
    EXPECT_THROW(mru->Save(), ERegistryException); // "\Software\My Application" has no place here
    EXPECT_NO_THROW(mru.reset());
}

} // namespace
} // namespace wharf
