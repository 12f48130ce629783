#pragma once
// TFilesPage, page 3 of the main window ("Files/Installation types"): the
// payload of the setup. Tab "Files/Groups" holds the file tree TV_Files
// (groups and their files, a view of the document through TFileTreeModel)
// with its pop-up menu, moves by dragging and files dropped from the file
// manager; "Installation types" the types and the groups each includes;
// "Additional files" the files copied beside the setup and the files added
// to the data archive. Every change is written into the document at once
// and marks the project modified; changes of the selection do not.
//
// New file entries take the defaults of "extens.ini" (the shell's
// ExtensionDefaults); the dependency window (TDumpForm) adds its modules
// through AddFileEntry.

#include "editorpage.h"
#include "filegroups.h"

#include <QStringList>

#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;

namespace wharf {

class ProjectDependencyHost;
class TDumpForm;
class TFileDropTarget;
class TFileTreeModel;
class TFileTreeView;

class TFilesPage : public TEditorPage {
    Q_OBJECT
public:
    TFilesPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);
    ~TFilesPage() override;

    QTabWidget *PC_FilePages;
    QWidget *TS_FilesGroups;
    QWidget *TS_InstTypes;
    QWidget *TS_AdditionalFiles;

    QLabel *L_FilesCaption;
    TFileTreeView *TV_Files;
    QPushButton *B_Explorer;
    QMenu *PM_FileTree;
    QAction *MI_NewGroup;
    QAction *MI_AddFile;
    QAction *MI_DeleteGroup;
    QAction *MI_GroupProperties;
    QAction *MI_Required;
    QAction *MI_GlobalChange;
    QAction *MI_Dump;
    TFileDropTarget *DT_DropFile;

    QLabel *L_InstTypes;
    QListWidget *LV_InstTypes;
    QPushButton *B_NewType;
    QPushButton *B_DeleteType;
    QLabel *L_InclGroups;
    QListWidget *LV_GroupsInType;
    QCheckBox *Ch_CustomSetup;

    QLabel *L_AdditionalFiles;
    QListWidget *LB_AdditionalFiles;
    QPushButton *B_AddFile;
    QPushButton *B_DeleteFile;
    QLabel *L_DataFiles;
    QListWidget *LB_DataFiles;
    QPushButton *B_AddDataFile;
    QPushButton *B_DeleteDataFile;

    TFileTreeModel *fileTree() const { return m_model; }

    QTabWidget *tabControl() const override { return PC_FilePages; }
    // Switching tabs selects the first installation type when none is
    // selected, and shows its groups.
    void tabChanged(int index) override;

    // The node selected in the tree; {-1, -1} for none.
    FileNode selectedNode() const;
    void selectNode(FileNode node);

    // The file tree and its pop-up menu.
    void MI_NewGroupClick();
    void MI_DeleteGroupClick();
    void MI_RequiredClick();
    // Shows the menu's items that apply to the selected node.
    void PM_FileTreePopup();
    void MI_AddFileClick();
    // Edits the selected file in TFileEditor (also the tree's double click).
    void MI_GroupPropertiesClick();
    // Changes every file of the selected group in TGlobalChangeForm.
    void MI_GlobalChangeClick();
    // Lists the modules the selected file needs (TDumpForm).
    void MI_DumpClick();
    // A press of a mouse button selects the node at point (viewport
    // coordinates).
    void TV_FilesMouseDown(QPoint point);
    // A finished label edit; true when the node takes text.
    bool TV_FilesEdited(FileNode node, const QString &text);
    // May the node from be dropped onto the node onto? Then the move.
    bool TV_FilesDragOver(FileNode from, FileNode onto);
    void TV_FilesDragDrop(FileNode from, FileNode onto);
    // A key of the pop-up menu pressed in the tree: the item runs when it
    // applies to the selected node.
    void TV_FilesMenuKey(QAction *item);

    // Files dragged from the file manager over the tree and dropped on it.
    void DT_DropFileDragOver(QPoint point);
    // Asks for the destination folder (TAddDDFileForm) and adds each path.
    void DT_DropFileDrop(const QStringList &paths);
    // Opens the home folder in the desktop's file manager, to drag from.
    void B_ExplorerClick();

    // Installation types.
    void B_NewTypeClick();
    void B_DeleteTypeClick();
    void LV_InstTypesClick();
    void LV_GroupsInTypeClick();
    // A finished edit of a type's name; true when the type takes text.
    bool LV_InstTypesEdited(int row, const QString &text);
    void Ch_CustomSetupClick();

    // Additional files and data files.
    void B_AddFileClick();
    void LB_AdditionalFilesClick();
    void B_DeleteFileClick();
    void B_AddDataFileClick();
    void LB_DataFilesClick();
    void B_DeleteDataFileClick();

    // Adds source as the last file of the selected node's group (the first
    // group when nothing is selected), installed to destination, with the
    // defaults of its extension; opens that group and selects the file.
    // Does not mark the project modified. Without any group, or when the
    // source or the destination holds a character a project file can't
    // store, nothing is added, the author is told, and the result is false.
    bool AddFileEntry(const std::string &source, const std::string &destination, bool relative);

    // Adds the file path (named name) installed into destinationFolder, or
    // every visible file of the folder path with destinations that mirror
    // its tree, offering the folders for the uninstall list and scanning
    // the files whose extension asks for it when checkDependencies is set.
    // False when there is no group to add to.
    bool AddFilesFromPath(const std::string &path, const std::string &name, bool checkDependencies, bool relative,
                          const std::string &destinationFolder);

protected:
    void loadFromDocument(const Project &project) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildFilesTab();
    QWidget *buildInstTypesTab();
    QWidget *buildAdditionalFilesTab();
    void fillInstallTypes();
    void fillFileList(QListWidget *list, const std::vector<std::string> &files);
    void followOutputType();
    void currentNodeChanged();
    void addToUninstallList(const std::string &folder);
    void uninstallListChanged();
    bool inUninstallList(const std::string &folder);
    bool askForUninstallList();
    // A root or the home folder: walking it is asked about first.
    static bool isWholeTree(const std::string &path);
    bool confirmWholeTree(const std::string &path);
    // The walk of a dropped or added folder; false when the author
    // cancelled it.
    bool collectWithProgress(const std::string &base, std::vector<std::string> &files,
                             std::vector<std::string> &folders);
    void noGroupError();
    // The message for a path (or a name, as noun says) a project file can't
    // hold: the text, its first such character, and that the file is not
    // added (adding) or the old text stays.
    static QString unstorableText(const std::string &path, bool adding, const QString &noun = QStringLiteral("path"));
    // One message naming the paths left out (the first few of many).
    void reportUnstorable(const std::vector<std::string> &paths);
    // The files chosen in the open dialog; those a project file can't hold
    // are named and left out.
    QStringList chooseFiles();
    TDumpForm *dumpForm();
    bool addFileRelative();
    // Whether the source name of "Add file" names a file or folder (a
    // relative name from the project's folder).
    bool sourceExists(const QString &name);

    TFileTreeModel *m_model;
    std::unique_ptr<ProjectDependencyHost> m_dependencyHost;
    bool m_filling = false; // the lists are being filled from the document
};

} // namespace wharf
