#include "filespage.h"

#include "addddfileform.h"
#include "addfileform.h"
#include "buttonedits.h"
#include "codec.h"
#include "dumpform.h"
#include "editorfixture.h"
#include "fileeditor.h"
#include "files.h"
#include "filetreemodel.h"
#include "filetreeview.h"
#include "globalchangeform.h"
#include "mainform.h"
#include "pagetable.h"
#include "paths.h"
#include "systemform.h"
#include "uninstallpage.h"
#include "varform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

namespace wharf {
namespace {

// The editor started on the template with our "extens.ini" in the program
// folder; the template has the group "Program files" and the type
// "Typical".
class TFilesPageTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(copyFile((testing::editorDataFolder() + QStringLiteral("extens.ini")).toStdString(),
                             programFolder + "extens.ini"));
        start();
        form().controller().startNewProject();
        ASSERT_NE(qobject_cast<TFilesPage *>(form().page(kFilesPage)), nullptr);
    }
    TMainForm &form() { return *windows.MainForm; }
    TFilesPage &page() { return *qobject_cast<TFilesPage *>(form().page(kFilesPage)); }
    Project &doc() { return form().controller().document(); }
    bool modified() { return form().controller().ProjectModified(); }
    void clearModified() { form().controller().SetModified(false); }

    // Adds groups until there are count, and selects group index.
    void groups(size_t count, int select)
    {
        while (doc().Groups.size() < count)
            page().MI_NewGroupClick();
        page().selectNode({select, -1});
    }

    QStringList captions(const QListWidget *list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    // A tree of files for folder drops: tree/top.txt, tree/bin/app.exe,
    // tree/bin/plugins/p.dll, tree/.git/config (hidden).
    std::string fixtureTree()
    {
        const std::string base = scratch.file("tree");
        for (const char *folder : {"tree", "tree/bin", "tree/bin/plugins", "tree/.git"})
            createFolder(scratch.file(folder));
        for (const char *file : {"tree/top.txt", "tree/bin/app.exe", "tree/bin/plugins/p.dll", "tree/.git/config"})
            writeFile(scratch.file(file), "x");
        return base;
    }
};

TEST_F(TFilesPageTest, ThePageShowsTheDocument)
{
    EXPECT_TRUE(page().isEnabled());
    ASSERT_EQ(page().PC_FilePages->count(), 3);
    EXPECT_EQ(page().PC_FilePages->objectName(), QStringLiteral("PC_FilePages"));
    EXPECT_EQ(page().fileTree()->rowCount(), 1);
    EXPECT_EQ(page().fileTree()->index(0, 0).data().toString(), QStringLiteral("Program files"));
    EXPECT_EQ(captions(page().LV_InstTypes), QStringList{QStringLiteral("Typical")});
    EXPECT_FALSE(page().B_DeleteType->isEnabled());

    // A tab switch selects the first type and shows its groups.
    page().PC_FilePages->setCurrentIndex(1);
    EXPECT_EQ(page().LV_InstTypes->currentRow(), 0);
    EXPECT_TRUE(page().B_DeleteType->isEnabled());
    ASSERT_EQ(page().LV_GroupsInType->count(), 1);
    EXPECT_EQ(page().LV_GroupsInType->item(0)->checkState(), Qt::Checked);
    EXPECT_FALSE(modified());
}

TEST_F(TFilesPageTest, NewGroupsAndTheirRenames)
{
    clearModified();
    page().MI_NewGroupClick();
    page().MI_NewGroupClick();
    ASSERT_EQ(doc().Groups.size(), 3u);
    // Numbered by the count of groups with the new one.
    EXPECT_EQ(doc().Groups[1].Name, "Group 2");
    EXPECT_EQ(doc().Groups[2].Name, "Group 3");
    EXPECT_EQ(page().selectedNode(), (FileNode{2, -1}));
    EXPECT_TRUE(modified());

    // Another group's name in another case is refused, the modified mark
    // stays as it was.
    clearModified();
    QAbstractItemModel *model = page().fileTree();
    EXPECT_FALSE(model->setData(model->index(2, 0), QStringLiteral("program FILES")));
    EXPECT_EQ(doc().Groups[2].Name, "Group 3");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("You cannot create two groups with the same name!"));
    EXPECT_FALSE(modified());
    // Confirming the name unchanged is silent.
    EXPECT_TRUE(model->setData(model->index(2, 0), QStringLiteral("Group 3")));
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_FALSE(modified());
    EXPECT_TRUE(model->setData(model->index(2, 0), QStringLiteral("Help\r\nfiles")));
    EXPECT_EQ(doc().Groups[2].Name, "Helpfiles");
    EXPECT_TRUE(modified());

    // After a delete the count gives the number again; a name of the count
    // that is taken gives the next free number, never a duplicate.
    page().selectNode({1, -1});
    page().MI_DeleteGroupClick();
    page().MI_NewGroupClick();
    EXPECT_EQ(doc().Groups.back().Name, "Group 3");
    EXPECT_TRUE(model->setData(model->index(1, 0), QStringLiteral("group 4")));
    page().MI_NewGroupClick();
    EXPECT_EQ(doc().Groups.back().Name, "Group 5");
}

// A click selects; only a second click on the node already selected (or
// its key) edits its label, and a file's source can't be emptied.
TEST_F(TFilesPageTest, OnlyASecondClickOnTheSelectedNodeEditsIt)
{
    form().show();
    QCoreApplication::processEvents(); // the first showing opens the start project
    form().MI_Steps[kFilesPage]->trigger();
    page().AddFileEntry("/src/app.exe", "{app}\\app.exe", false);
    doc().Groups.emplace_back().Name = "Tools";
    page().load();
    QTreeView *tree = page().TV_Files;
    page().selectNode({-1, -1});
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(40); // how long a click waits for a second one
    // The label editor open on the tree, or null.
    const auto labelEditor = [&]() -> QLineEdit * {
        for (QLineEdit *editor : tree->viewport()->findChildren<QLineEdit *>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    };
    const auto editing = [&](int waitMs) { return QTest::qWaitFor([&] { return labelEditor() != nullptr; }, waitMs); };
    const auto click = [&](FileNode node) {
        const QModelIndex index = page().fileTree()->indexOf(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    };
    for (const FileNode node : {FileNode{0, 0}, FileNode{1, -1}}) {
        click(node);
        EXPECT_EQ(page().selectedNode(), node);
        EXPECT_FALSE(editing(200)) << node.Group << " " << node.File;
    }
    click({0, 0});
    EXPECT_FALSE(editing(200));
    click({0, 0});
    ASSERT_TRUE(editing(2000));
    QLineEdit *editor = labelEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("/src/app.exe"));

    // Delete and Enter: refused with a message, the old path stays.
    clearModified();
    editor->clear();
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view commits the edit from the event loop
    EXPECT_EQ(doc().Groups[0].Files[0].Source, "/src/app.exe");
    EXPECT_EQ(page().fileTree()->indexOf({0, 0}).data().toString(), QStringLiteral("/src/app.exe"));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("\"/src/app.exe\"")));
    EXPECT_FALSE(modified());
    // The edit key starts an edit too.
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    EXPECT_TRUE(editing(2000));
    QApplication::setDoubleClickInterval(interval);
}

// Texts a project file can't hold, and an empty source, never become a
// node's label: the old one stays, and the author is told why.
TEST_F(TFilesPageTest, LabelEditsThatCantBeSavedAreRefused)
{
    page().AddFileEntry("/src/app.exe", "{app}\\app.exe", false);
    const struct {
        FileNode node;
        QString typed;
        const char *says;
    } cases[] = {
        {{0, 0}, QString(), "needs a source path"},
        {{0, 0}, QStringLiteral("   "), "needs a source path"},
        {{0, 0}, QStringLiteral("/src/\u4e2d.exe"), "\u4e2d"},
        {{0, -1}, QStringLiteral("Files \u2603"), "\u2603"},
    };
    for (const auto &c : cases) {
        fake.messages.shown.clear();
        clearModified();
        const QModelIndex index = page().fileTree()->indexOf(c.node);
        const QString before = index.data().toString();
        EXPECT_FALSE(page().fileTree()->setData(index, c.typed)) << c.typed.toStdString();
        EXPECT_EQ(index.data().toString(), before);
        ASSERT_EQ(fake.messages.shown.size(), 1u) << c.typed.toStdString();
        EXPECT_TRUE(fake.messages.shown[0].text.contains(QString::fromUtf8(c.says)))
            << fake.messages.shown[0].text.toStdString();
        EXPECT_FALSE(modified());
    }
    EXPECT_EQ(doc().Groups[0].Name, "Program files");
    EXPECT_EQ(doc().Groups[0].Files[0].Source, "/src/app.exe");
}

// Every way a file comes onto the page refuses a path a project file can't
// hold, naming it, and adds the others.
TEST_F(TFilesPageTest, PathsAProjectFileCantHoldAreNotAdded)
{
    const std::string odd = scratch.file("\xe4\xb8\xad.txt"); // a CJK letter
    const std::string plain = scratch.file("plain.txt");
    for (const std::string &file : {odd, plain})
        writeFile(file, "x");
    const std::string tree = fixtureTree();
    createFolder(tree + "/\xe2\x98\x83");
    for (const char *file : {"/\xe2\x98\x83/a.txt", "/b\xe2\x98\x83.txt"})
        writeFile(tree + file, "x");
    const QString oddText = QString::fromStdString(odd);
    const struct {
        const char *how;
        std::function<void()> add;
        std::vector<std::string> added;
        QStringList named; // in the one message
    } cases[] = {
        {"by a scan", [&] { EXPECT_FALSE(page().AddFileEntry(odd, "{app}\\x.txt", false)); }, {}, {oddText}},
        {"by a destination", [&] { EXPECT_FALSE(page().AddFileEntry(plain, "{app}\\\u00e4\u20ac\u4e2d.txt", false)); },
         {}, {QStringLiteral("{app}\\\u00e4\u20ac\u4e2d.txt")}},
        {"by the menu",
         [&] {
             fake.modal.handler = [&](QDialog &dialog) {
                 dynamic_cast<TAddFileForm &>(dialog).FE_FileName->setText(oddText);
                 return int(QDialog::Accepted);
             };
             page().MI_AddFileClick();
         },
         {},
         {oddText}},
        {"by a drop",
         [&] {
             fake.modal.handler = [](QDialog &) { return int(QDialog::Accepted); };
             page().DT_DropFileDrop({oddText, QString::fromStdString(plain)});
         },
         {plain},
         {oddText}},
        {"with a folder",
         [&] {
             fake.modal.handler = [](QDialog &) { return int(QDialog::Accepted); };
             fake.messages.answers = {QMessageBox::Yes}; // the sub folders to the uninstall list
             page().DT_DropFileDrop({QString::fromStdString(tree)});
         },
         {tree + "/top.txt", tree + "/bin/app.exe", tree + "/bin/plugins/p.dll"},
         {QStringLiteral("2 files"), QString::fromStdString(tree + "/b\xe2\x98\x83.txt"),
          QString::fromStdString(tree + "/\xe2\x98\x83/a.txt")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        doc().Groups[0].Files.clear();
        doc().UninstExpressions.clear();
        page().load();
        fake.messages.shown.clear();
        c.add();
        std::vector<std::string> added;
        for (const FileEntry &file : doc().Groups[0].Files)
            added.push_back(file.Source);
        std::sort(added.begin(), added.end());
        std::vector<std::string> expected = c.added;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(added, expected);
        std::vector<QString> errors;
        for (const auto &shown : fake.messages.shown)
            if (shown.type == MsgDlgType::Error)
                errors.push_back(shown.text);
        ASSERT_EQ(errors.size(), 1u);
        for (const QString &name : c.named)
            EXPECT_TRUE(errors[0].contains(name)) << errors[0].toStdString();
        for (const std::string &entry : doc().UninstExpressions)
            EXPECT_TRUE(fitsWindows1252(entry)) << entry;
    }
    fake.modal.handler = nullptr;

    // The lists of the "Additional files" tab likewise.
    fake.messages.shown.clear();
    fake.fileDialogs.results.push_back({true, {oddText, QString::fromStdString(plain)}, 0});
    page().B_AddFileClick();
    EXPECT_EQ(doc().AdditionalFiles, std::vector<std::string>{plain});
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(oddText));
}

TEST_F(TFilesPageTest, ThePopupShowsWhatAppliesToTheSelection)
{
    struct Expected {
        bool add, remove, properties, required, change, dump;
    };
    const auto check = [&](const Expected &e, int line) {
        page().PM_FileTreePopup();
        EXPECT_TRUE(page().MI_NewGroup->isVisible()) << line;
        EXPECT_EQ(page().MI_AddFile->isVisible(), e.add) << line;
        EXPECT_EQ(page().MI_DeleteGroup->isVisible(), e.remove) << line;
        EXPECT_EQ(page().MI_GroupProperties->isVisible(), e.properties) << line;
        EXPECT_EQ(page().MI_Required->isVisible(), e.required) << line;
        EXPECT_EQ(page().MI_GlobalChange->isVisible(), e.change) << line;
        EXPECT_EQ(page().MI_Dump->isVisible(), e.dump) << line;
    };
    page().selectNode({});
    check({false, false, false, false, false, false}, __LINE__);
    page().selectNode({0, -1});
    check({true, true, false, true, true, false}, __LINE__);
    EXPECT_FALSE(page().MI_Required->isChecked());
    ASSERT_TRUE(page().AddFileEntry("/src/a.exe", "{app}\\a.exe", false));
    page().selectNode({0, 0});
    check({true, true, true, false, false, true}, __LINE__);

    // Required flips the group's flag and the item shows it.
    page().selectNode({0, -1});
    page().MI_RequiredClick();
    EXPECT_TRUE(doc().Groups[0].Required);
    page().PM_FileTreePopup();
    EXPECT_TRUE(page().MI_Required->isChecked());
}

TEST_F(TFilesPageTest, TheTreeTakesThePopupKeysWhileFocused)
{
    page().selectNode({0, -1});
    // The tree claims the keys before the main menu's items can take them.
    QKeyEvent claim(QEvent::ShortcutOverride, Qt::Key_N, Qt::ControlModifier);
    claim.ignore();
    QCoreApplication::sendEvent(page().TV_Files, &claim);
    EXPECT_TRUE(claim.isAccepted());
    // Ctrl+N in the tree makes a group (the main menu's Ctrl+N would start
    // a new project); Ctrl+A opens the add-file dialog.
    QTest::keyClick(page().TV_Files, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(doc().Groups.size(), 2u);
    page().selectNode({0, -1});
    QTest::keyClick(page().TV_Files, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(fake.modal.shown.size(), 1u);
    EXPECT_EQ(fake.modal.shown[0], QStringLiteral("AddFileForm"));
    // Ctrl+R applies to groups only.
    ASSERT_TRUE(page().AddFileEntry("/src/a.exe", "{app}\\a.exe", false));
    page().selectNode({0, 0});
    QTest::keyClick(page().TV_Files, Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(doc().Groups[0].Required);
}

TEST_F(TFilesPageTest, MovesFollowTheDropRulesAndKeepTheTypes)
{
    groups(3, 0);
    page().AddFileEntry("/src/a1", "{app}\\a1", false);
    page().AddFileEntry("/src/a2", "{app}\\a2", false);
    page().selectNode({2, -1});
    page().AddFileEntry("/src/c1", "{app}\\c1", false);
    doc().InstallTypes[0].GroupsInType = "|0||2|";
    clearModified();

    TFileTreeModel &model = *page().fileTree();
    const auto drag = [&](FileNode node) { return std::unique_ptr<QMimeData>(model.mimeData({model.indexOf(node)})); };
    // A group can't be dropped on a file; a file may go anywhere.
    EXPECT_FALSE(model.canDropMimeData(drag({0, -1}).get(), Qt::MoveAction, -1, -1, model.indexOf({2, 0})));
    EXPECT_TRUE(model.canDropMimeData(drag({0, 1}).get(), Qt::MoveAction, -1, -1, model.indexOf({2, 0})));
    EXPECT_FALSE(model.canDropMimeData(drag({0, 1}).get(), Qt::MoveAction, 0, 0, model.indexOf({2, -1})));

    // A file onto a file of another group: before it, in that group.
    ASSERT_TRUE(model.dropMimeData(drag({0, 1}).get(), Qt::MoveAction, -1, -1, model.indexOf({2, 0})));
    EXPECT_EQ(doc().Groups[2].Files[0].Source, "/src/a2");
    EXPECT_EQ(page().selectedNode(), (FileNode{2, 0}));
    EXPECT_TRUE(modified());

    // The first group before the third: the type still names the same two.
    ASSERT_TRUE(model.dropMimeData(drag({0, -1}).get(), Qt::MoveAction, -1, -1, model.indexOf({2, -1})));
    EXPECT_EQ(doc().Groups[1].Name, "Program files");
    EXPECT_EQ(doc().InstallTypes[0].GroupsInType, "|1||2|");
    EXPECT_EQ(doc().Groups[1].Files[0].Source, "/src/a1");
    EXPECT_EQ(model.index(0, 0, model.index(1, 0)).data().toString(), QStringLiteral("/src/a1"));
    EXPECT_EQ(model.rowCount(model.index(2, 0)), 2);
}

TEST_F(TFilesPageTest, InstallationTypes)
{
    groups(4, 0);
    page().PC_FilePages->setCurrentIndex(1);
    clearModified();
    // The only type can't go.
    page().B_DeleteTypeClick();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Your setup must contain at least one installation type!"));
    EXPECT_EQ(doc().InstallTypes.size(), 1u);
    EXPECT_FALSE(modified());

    page().B_NewTypeClick();
    ASSERT_EQ(doc().InstallTypes.size(), 2u);
    EXPECT_EQ(doc().InstallTypes[1].Name, "Installation type 2");
    EXPECT_EQ(page().LV_InstTypes->currentRow(), 1);
    EXPECT_TRUE(modified());

    // Checking the second and fourth group stores 1 and 3, in that order.
    ASSERT_EQ(page().LV_GroupsInType->count(), 4);
    page().LV_GroupsInType->item(3)->setCheckState(Qt::Checked);
    page().LV_GroupsInType->item(1)->setCheckState(Qt::Checked);
    EXPECT_EQ(doc().InstallTypes[1].GroupsInType, "|1||3|");

    // Another type's name is refused and the old name comes back.
    page().LV_InstTypes->item(1)->setText(QStringLiteral("TYPICAL"));
    EXPECT_EQ(fake.messages.shown.back().text,
              QStringLiteral("You cannot create two installation types with the same name!"));
    EXPECT_EQ(doc().InstallTypes[1].Name, "Installation type 2");
    EXPECT_EQ(page().LV_InstTypes->item(1)->text(), QStringLiteral("Installation type 2"));
    page().LV_InstTypes->item(1)->setText(QStringLiteral("Full"));
    EXPECT_EQ(doc().InstallTypes[1].Name, "Full");

    // Deleting the second group renumbers the types' lists.
    page().selectNode({1, -1});
    page().MI_DeleteGroupClick();
    EXPECT_EQ(doc().InstallTypes[1].GroupsInType, "|2|");
    EXPECT_EQ(doc().InstallTypes[0].GroupsInType, "|0|");

    page().B_DeleteTypeClick();
    EXPECT_EQ(doc().InstallTypes.size(), 1u);
    EXPECT_FALSE(page().B_DeleteType->isEnabled());
    EXPECT_EQ(page().LV_GroupsInType->count(), 0);

    clearModified();
    page().Ch_CustomSetup->click();
    EXPECT_TRUE(doc().General.CustomSetup);
    EXPECT_TRUE(modified());
}

TEST_F(TFilesPageTest, DroppingARootOrTheHomeFolderAsksFirst)
{
    const std::string tree = fixtureTree();
    groups(1, 0);
    fake.modal.handler = [](QDialog &) { return int(QDialog::Accepted); };
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(tree));
    const size_t before = doc().Groups[0].Files.size();
    for (const std::string &path : {std::string("/"), tree, tree + "/"}) {
        fake.messages.shown.clear();
        fake.messages.answers = {QMessageBox::No};
        page().DT_DropFileDrop({QString::fromStdString(path)});
        ASSERT_EQ(fake.messages.shown.size(), 1u) << path;
        EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("home folder"))) << path;
        EXPECT_EQ(doc().Groups[0].Files.size(), before) << path;  // declined: nothing walked or added
    }
    // Yes walks it as any folder.
    fake.messages.shown.clear();
    fake.messages.answers = {QMessageBox::Yes, QMessageBox::No};
    page().DT_DropFileDrop({QString::fromStdString(tree)});
    EXPECT_EQ(doc().Groups[0].Files.size(), before + 3);
    qputenv("HOME", home);
}

TEST_F(TFilesPageTest, DroppingAFolderMirrorsItUnderTheDestination)
{
    const std::string tree = fixtureTree();
    groups(2, 1);
    fake.modal.handler = [](QDialog &dialog) {
        auto &form = dynamic_cast<TAddDDFileForm &>(dialog);
        EXPECT_EQ(form.E_Input->text(), QStringLiteral("{app}"));
        EXPECT_FALSE(form.Ch_RelativePath->isChecked());
        form.E_Input->setText(QStringLiteral("{app}\\Data"));
        return int(QDialog::Accepted);
    };
    fake.messages.answers = {QMessageBox::Yes};
    clearModified();

    // Through the drop target on the tree, as the file manager drops.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(tree))});
    QWidget *viewport = page().TV_Files->viewport();
    const QPoint at = page().TV_Files->visualRect(page().fileTree()->indexOf({1, -1})).center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    QCoreApplication::processEvents();

    ASSERT_EQ(fake.modal.shown.size(), 1u);
    const auto &files = doc().Groups[1].Files;
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].Source, tree + "/top.txt");
    EXPECT_EQ(files[0].Destination, "{app}\\Data\\top.txt");
    EXPECT_EQ(files[1].Destination, "{app}\\Data\\bin\\app.exe");
    EXPECT_EQ(files[2].Source, tree + "/bin/plugins/p.dll");
    EXPECT_EQ(files[2].Destination, "{app}\\Data\\bin\\plugins\\p.dll");
    EXPECT_FALSE(files[2].Relative);
    EXPECT_TRUE(files[2].Shared); // from extens.ini
    EXPECT_EQ(fake.messages.shown.at(0).text,
              QStringLiteral("Do you want to add the sub folder(s) to the uninstall list?"));
    EXPECT_EQ(doc().UninstExpressions,
              (std::vector<std::string>{"{app}\\Data\\bin\\plugins", "{app}\\Data\\bin", "{app}\\Data"}));
    EXPECT_TRUE(modified());
    // The uninstaller page lists them at once, so its edits work on the
    // entries the author sees.
    auto *uninstall = qobject_cast<TUninstallPage *>(form().page(kUninstallPage));
    ASSERT_NE(uninstall, nullptr);
    EXPECT_EQ(captions(uninstall->LB_UninstExpressions),
              (QStringList{QStringLiteral("{app}\\Data\\bin\\plugins"), QStringLiteral("{app}\\Data\\bin"),
                           QStringLiteral("{app}\\Data")}));
}

TEST_F(TFilesPageTest, TheFileEditorKeepsALongSourcePath)
{
    std::string source = "/src";
    while (source.size() < 300)
        source += "/a-rather-long-folder-name";
    source += "/app.exe";
    page().AddFileEntry(source, "{app}\\app.exe", false);
    page().selectNode({0, 0});
    fake.modal.handler = [](QDialog &) { return int(QDialog::Accepted); };
    page().MI_GroupPropertiesClick();
    EXPECT_EQ(doc().Groups[0].Files[0].Source, source);
}

TEST_F(TFilesPageTest, AFileAddedByNameTakesItsExtensionsDefaults)
{
    const std::string file = scratch.file("readme.txt");
    writeFile(file, "x");
    QString typed;
    fake.modal.handler = [&](QDialog &dialog) {
        auto &form = dynamic_cast<TAddFileForm &>(dialog);
        EXPECT_TRUE(form.fileName().isEmpty());
        form.FE_FileName->setText(typed);
        return int(QDialog::Accepted);
    };
    // An empty name adds nothing.
    page().MI_AddFileClick();
    EXPECT_TRUE(doc().Groups[0].Files.empty());

    typed = QString::fromStdString(file);
    page().MI_AddFileClick();
    ASSERT_EQ(doc().Groups[0].Files.size(), 1u);
    const FileEntry &entry = doc().Groups[0].Files[0];
    EXPECT_EQ(entry.Destination, "{app}\\Docs\\readme.txt");
    EXPECT_EQ(entry.Description, "readme.txt");
    EXPECT_TRUE(entry.CompareTimeStamps && entry.Overwrite && entry.Uninstall);
    EXPECT_EQ(entry.TargetSystems, kAllTargetSystems);

    // The two dialogs' boxes mirror each other.
    windows.AddFileForm->Ch_RelativePath->setChecked(true);
    EXPECT_TRUE(windows.AddDDFileForm->Ch_RelativePath->isChecked());
    windows.AddDDFileForm->Ch_Dump->setChecked(true);
    EXPECT_TRUE(windows.AddFileForm->Ch_Dump->isChecked());
}

TEST_F(TFilesPageTest, AnAddedFileIsShownSelectedInItsOpenGroup)
{
    groups(2, 1);
    QTreeView *tree = page().findChild<QTreeView *>(QStringLiteral("TV_Files"));
    ASSERT_NE(tree, nullptr);
    const QModelIndex group = page().fileTree()->index(1, 0);
    ASSERT_FALSE(tree->isExpanded(group));
    for (const char *source : {"/src/a.exe", "/src/b.exe"}) {
        ASSERT_TRUE(page().AddFileEntry(source, "{app}\\x.exe", false));
        EXPECT_TRUE(tree->isExpanded(group)) << source;
        EXPECT_EQ(tree->currentIndex().data().toString(), QString::fromLatin1(source));
    }
    // Both went into the group first selected.
    EXPECT_EQ(doc().Groups[1].Files.size(), 2u);
    EXPECT_TRUE(doc().Groups[0].Files.empty());

    // A loaded project shows its files at once.
    page().load();
    EXPECT_TRUE(tree->isExpanded(page().fileTree()->index(0, 0)));
    EXPECT_TRUE(tree->isExpanded(page().fileTree()->index(1, 0)));
}

TEST_F(TFilesPageTest, AddingAMissingFileAsksToKeepOrCorrectIt)
{
    const std::string existing = scratch.file("there.txt");
    writeFile(existing, "x");
    const QString missing = QString::fromStdString(scratch.file("made-later.txt"));
    struct Case {
        const char *name;
        std::vector<QString> typed;                       // one name for each showing of the dialog
        std::deque<QMessageBox::StandardButton> answers; // to "does not exist"
        std::vector<std::string> added;
        size_t warnings;
    };
    const std::vector<Case> cases{
        {"kept", {missing}, {QMessageBox::Yes}, {missing.toStdString()}, 1},
        {"corrected", {missing, QString::fromStdString(existing)}, {QMessageBox::No}, {existing}, 1},
        {"corrected, then cancelled", {missing, QString()}, {QMessageBox::No}, {}, 1},
        {"existing", {QString::fromStdString(existing)}, {}, {existing}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        doc().Groups[0].Files.clear();
        page().load();
        fake.messages.shown.clear();
        fake.messages.answers = c.answers;
        size_t showing = 0;
        fake.modal.handler = [&](QDialog &dialog) {
            auto &form = dynamic_cast<TAddFileForm &>(dialog);
            if (showing > 0) { // shown again: the name to correct is still there
                EXPECT_EQ(form.fileName(), c.typed[showing - 1]);
            }
            const QString typed = c.typed.at(showing++);
            if (typed.isEmpty())
                return int(QDialog::Rejected);
            form.FE_FileName->setText(typed);
            return int(QDialog::Accepted);
        };
        page().MI_AddFileClick();
        EXPECT_EQ(showing, c.typed.size());
        ASSERT_EQ(fake.messages.shown.size(), c.warnings);
        if (c.warnings > 0) {
            EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Warning);
            EXPECT_TRUE(fake.messages.shown[0].text.contains(missing));
        }
        std::vector<std::string> added;
        for (const FileEntry &file : doc().Groups[0].Files)
            added.push_back(file.Source);
        EXPECT_EQ(added, c.added);
    }
    fake.modal.handler = nullptr;
}

TEST_F(TFilesPageTest, WithoutAGroupNothingIsAdded)
{
    page().selectNode({0, -1});
    page().MI_DeleteGroupClick();
    ASSERT_TRUE(doc().Groups.empty());
    EXPECT_FALSE(page().AddFileEntry("/src/a.exe", "{app}\\a.exe", false));
    EXPECT_FALSE(page().AddFilesFromPath(fixtureTree(), "tree", false, false, "{app}"));
    EXPECT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_TRUE(doc().Groups.empty());
}

TEST_F(TFilesPageTest, TheFileEditorEditsTheSelectedFile)
{
    page().AddFileEntry("/src/first.exe", "{app}\\first.exe", false);
    page().AddFileEntry("/src/second.exe", "{app}\\second.exe", false);
    page().AddFileEntry("{src}\\beside.dat", "{app}\\beside.dat", false);
    doc().General.Uninstaller = false;
    page().selectNode({0, 1});
    clearModified();
    fake.modal.handler = [&](QDialog &dialog) {
        auto &editor = dynamic_cast<TFileEditor &>(dialog);
        EXPECT_EQ(editor.FE_SourcePath->FileName(), QStringLiteral("/src/second.exe"));
        EXPECT_EQ(editor.L_TempFileName->text(), QStringLiteral("{tmp}\\1.tmp"));
        EXPECT_FALSE(editor.Ch_Uninstall->isEnabled());
        EXPECT_FALSE(editor.FE_PatchedFile->isEnabled()); // complete files only
        editor.E_DestPath->setText(QStringLiteral("{sys}\\second.exe"));
        editor.E_Description->setText(QStringLiteral("The second"));
        editor.Ch_SharedFile->setChecked(true);
        editor.FE_SourcePath->setText(QStringLiteral("/src/renamed.exe"));
        return int(QDialog::Accepted);
    };
    page().MI_GroupPropertiesClick();
    const FileEntry &edited = doc().Groups[0].Files[1];
    EXPECT_EQ(edited.Source, "/src/renamed.exe");
    EXPECT_EQ(edited.Destination, "{sys}\\second.exe");
    EXPECT_EQ(edited.Description, "The second");
    EXPECT_TRUE(edited.Shared);
    EXPECT_EQ(page().fileTree()->indexOf({0, 1}).data().toString(), QStringLiteral("/src/renamed.exe"));
    EXPECT_TRUE(modified());

    // Cancel leaves the entry alone, also a target-system choice made.
    const FileEntry before = edited;
    clearModified();
    fake.modal.handler = [&](QDialog &dialog) {
        if (auto *systems = dynamic_cast<TSystemForm *>(&dialog)) {
            systems->setChecked(0, false);
            return int(QDialog::Accepted);
        }
        auto &editor = dynamic_cast<TFileEditor &>(dialog);
        editor.B_TargetSys->click();
        EXPECT_NE(editor.targetSystems(), kAllTargetSystems);
        editor.E_DestPath->setText(QStringLiteral("lost"));
        return int(QDialog::Rejected);
    };
    page().MI_GroupPropertiesClick();
    EXPECT_EQ(doc().Groups[0].Files[1], before);
    EXPECT_FALSE(modified());

    // A source with a variable is always external and can't be patched.
    doc().General.ArchiveMode = 1;
    page().selectNode({0, 2});
    fake.modal.handler = [&](QDialog &dialog) {
        auto &editor = dynamic_cast<TFileEditor &>(dialog);
        EXPECT_TRUE(editor.Ch_External->isChecked());
        EXPECT_FALSE(editor.Ch_External->isEnabled());
        EXPECT_FALSE(editor.FE_PatchedFile->isEnabled());
        EXPECT_TRUE(editor.L_TempFileName->isHidden());
        return int(QDialog::Accepted);
    };
    page().MI_GroupPropertiesClick();
    EXPECT_TRUE(doc().Groups[0].Files[2].External);

    // With partial updates a patched file can be named; then the file
    // can't be external.
    page().selectNode({0, 0});
    fake.modal.handler = [&](QDialog &dialog) {
        auto &editor = dynamic_cast<TFileEditor &>(dialog);
        EXPECT_TRUE(editor.FE_PatchedFile->isEnabled());
        editor.Ch_External->setChecked(true);
        editor.FE_PatchedFile->setText(QStringLiteral("/old/first.exe"));
        EXPECT_FALSE(editor.Ch_External->isEnabled());
        EXPECT_FALSE(editor.Ch_External->isChecked());
        return int(QDialog::Accepted);
    };
    page().MI_GroupPropertiesClick();
    EXPECT_EQ(doc().Groups[0].Files[0].PatchedFile, "/old/first.exe");
    EXPECT_FALSE(doc().Groups[0].Files[0].External);
}

TEST_F(TFilesPageTest, PaletteEntriesDropIntoTheFileEditor)
{
    TVarForm &palette = *windows.VarForm;
    int row = -1;
    for (int i = 0; i < palette.LB_Variables->count(); ++i)
        if (palette.LB_Variables->item(i)->text() == QStringLiteral("{pro64} - Program folder (64-bit)"))
            row = i;
    ASSERT_GE(row, 0);
    std::unique_ptr<QMimeData> data(palette.LB_Variables->createDragData(row));
    QLineEdit *box = windows.FileEditor->E_DestPath;
    box->setText(QStringLiteral("\\a.exe"));
    box->setCursorPosition(0);
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(box->text(), QStringLiteral("{pro64}\\a.exe"));
}

TEST_F(TFilesPageTest, TheGroupChangeShowsMixedOptionsAndLeavesThemAlone)
{
    page().AddFileEntry("/src/a.dll", "{app}\\bin\\a.dll", false); // shared by extens.ini
    page().AddFileEntry("/src/b.exe", "{app}\\bin\\b.exe", false);
    page().selectNode({0, -1});
    clearModified();
    fake.modal.handler = [&](QDialog &dialog) {
        auto &form = dynamic_cast<TGlobalChangeForm &>(dialog);
        EXPECT_EQ(form.Ch_SharedFile->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(form.Ch_Overwrite->checkState(), Qt::Checked);
        EXPECT_EQ(form.Ch_InstallFont->checkState(), Qt::Unchecked);
        EXPECT_EQ(form.CLB_System->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(form.E_DestFldr->text(), QStringLiteral("{app}\\bin"));
        // A click on grey gives checked, then unchecked.
        form.Ch_InUse->click();
        EXPECT_NE(form.Ch_InUse->checkState(), Qt::PartiallyChecked);
        form.Ch_InUse->setCheckState(Qt::PartiallyChecked);
        form.Ch_InUse->click();
        EXPECT_EQ(form.Ch_InUse->checkState(), Qt::Checked);
        form.E_DestFldr->setText(QStringLiteral("{app}\\lib\\"));
        return int(QDialog::Accepted);
    };
    page().MI_GlobalChangeClick();
    const auto &files = doc().Groups[0].Files;
    EXPECT_TRUE(files[0].Shared);  // grey left alone
    EXPECT_FALSE(files[1].Shared);
    EXPECT_TRUE(files[0].Pending && files[1].Pending);
    EXPECT_EQ(files[1].Destination, "{app}\\lib\\b.exe");
    EXPECT_TRUE(modified());
}

TEST_F(TFilesPageTest, AdditionalAndDataFiles)
{
    fake.fileDialogs.results.push_back({true, {QStringLiteral("/x/readme.txt"), QStringLiteral("/x/license.txt")}, 0});
    page().B_AddFileClick();
    EXPECT_EQ(doc().AdditionalFiles, (std::vector<std::string>{"/x/readme.txt", "/x/license.txt"}));
    ASSERT_EQ(fake.fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fake.fileDialogs.requests[0].kind, FileDialogRequest::Kind::OpenMany);
    EXPECT_FALSE(page().B_DeleteFile->isEnabled());
    page().LB_AdditionalFiles->setCurrentRow(0);
    EXPECT_TRUE(page().B_DeleteFile->isEnabled());
    page().B_DeleteFileClick();
    EXPECT_EQ(doc().AdditionalFiles, (std::vector<std::string>{"/x/license.txt"}));
    EXPECT_FALSE(page().B_DeleteFile->isEnabled());

    fake.fileDialogs.results.push_back({true, {QStringLiteral("/x/data.bin")}, 0});
    page().B_AddDataFileClick();
    page().LB_DataFiles->setCurrentRow(0);
    page().B_DeleteDataFileClick();
    EXPECT_TRUE(doc().DataFiles.empty());

    // A package has no additional files.
    doc().General.OutputType = 2;
    page().load();
    EXPECT_FALSE(page().LB_AdditionalFiles->isEnabled());
    EXPECT_FALSE(page().B_AddFile->isEnabled());
    EXPECT_FALSE(page().B_DeleteFile->isEnabled());
    EXPECT_TRUE(page().B_AddDataFile->isEnabled());
}

TEST_F(TFilesPageTest, TheFileManagerButtonAndTheDependencyWindow)
{
    page().B_ExplorerClick();
    ASSERT_EQ(fake.processes.documents.size(), 1u);
    EXPECT_EQ(fake.processes.documents[0], QDir::homePath());
    EXPECT_TRUE(fake.messages.shown.empty());

    // No file manager: the click says so, and why.
    fake.processes.succeed = false;
    page().B_ExplorerClick();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    const QStringList lines = fake.messages.shown[0].text.split(u'\n');
    ASSERT_EQ(lines.size(), 4) << fake.messages.shown[0].text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Could not execute the file manager!"));
    EXPECT_EQ(lines[2], QDir::homePath());
    EXPECT_TRUE(lines[3].contains(QStringLiteral("xdg-open"))) << lines[3].toStdString();
    fake.processes.succeed = true;

    const std::string library = scratch.file("tool.dll");
    writeFile(library, "not an image");
    page().AddFileEntry(library, "{app}\\tool.dll", false);
    page().selectNode({0, 0});
    page().MI_DumpClick();
    ASSERT_EQ(fake.modal.shown.size(), 1u);
    EXPECT_EQ(fake.modal.shown[0], QStringLiteral("DumpForm"));
    ASSERT_EQ(windows.DumpForm->CLB_Dependencies->count(), 1);

    // Adding a library whose extension asks for a scan lists it; as it is
    // in the project then, the window does not appear.
    page().AddFilesFromPath(library, "tool.dll", true, false, "{app}");
    EXPECT_EQ(fake.modal.shown.size(), 1u);
    EXPECT_EQ(windows.DumpForm->CLB_Dependencies->count(), 1);
}

} // namespace
} // namespace wharf
