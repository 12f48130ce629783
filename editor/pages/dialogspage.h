#pragma once
// TDialogsPage, page 2 of the main window ("Dialogs/Scripting"). Tab
// "Dialogs": the ordered lists of wizard dialog files shown during the
// installation and during the uninstallation (added, deleted, moved, and
// edited by starting the dialog designer on the file), the readme and
// licence files and the billboard pictures (TBillboardEditor). Tab
// "Scripting": the three global scripts.
//
// DLL calls name their dialog by its position in these lists; moving or
// deleting a dialog renumbers them in the document (dialoglists.h), and a
// call whose dialog was deleted is reported to the author.

#include "dialoglists.h"
#include "editorpage.h"

#include <optional>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace wharf {

class TFilenameEdit;
class TScriptMemo;

class TDialogsPage : public TEditorPage {
    Q_OBJECT
public:
    TDialogsPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QTabWidget *tabControl() const override { return PC_Dialogs; }

    QTabWidget *PC_Dialogs;

    QListWidget *LB_Dialogs;
    QPushButton *B_AddDialog;
    QPushButton *B_EditDialog;
    QPushButton *B_DeleteDialog;
    QToolButton *B_MoveUp1;
    QToolButton *B_MoveDown1;
    QLabel *L_UninstDlgCaption;
    QListWidget *LB_UninstDialogs;
    QPushButton *B_AddUninstDialog;
    QPushButton *B_EditUninstDialog;
    QPushButton *B_DeleteUninstDialog;
    QToolButton *B_MoveUp2;
    QToolButton *B_MoveDown2;
    TFilenameEdit *FE_ReadmeFile;
    TFilenameEdit *FE_LicenseFile;
    QPushButton *B_BillConfig;

    TScriptMemo *SM_InitScript;
    TScriptMemo *SM_FinalScript;
    TScriptMemo *SM_InstallScript;

    void B_AddDialogClick();
    void B_AddUninstDialogClick();
    // Start the dialog designer on the selected dialog of the list; nothing
    // without a selection, a message when it can't be started.
    void B_EditDialogClick();
    void B_EditUninstDialogClick();
    void B_DeleteDialogClick();
    void B_DeleteUninstDialogClick();
    void LB_DialogsClick();
    void LB_UninstDialogsClick();
    void B_MoveUp1Click();
    void B_MoveUp2Click();
    void B_MoveDown1Click();
    void B_MoveDown2Click();
    void B_BillConfigClick();
    // A script frame's text changed: colouring, the document's lines,
    // modified.
    void SM_InitScriptM_ScriptChange(TScriptMemo *frame);

    // The uninstallation dialogs follow "Create uninstaller" of the
    // uninstaller page: the list and all its buttons are enabled exactly
    // when it is checked (edit and delete then also without a selection).
    void UninstallerChanged();

protected:
    void loadFromDocument(const Project &project) override;

private:
    struct ListControls {
        DialogList list;
        QListWidget *box;
        QPushButton *edit;
        QPushButton *remove;
    };
    ListControls controls(DialogList list) const;
    QWidget *buildDialogsTab();
    QWidget *buildScriptingTab();
    void addDialogs(DialogList list);
    // Starts the designer on the selected dialog; a page of the program
    // folder is first copied beside the project (copyStockPage).
    void editDialog(DialogList list);
    // Whether path lies in the program folder (a page shipped with the
    // program, shared by every project).
    bool isStockPage(const std::string &path);
    // Offers to copy the stock page at row of list into the project's
    // folder; on Yes copies it under a free name and points the entry at
    // the copy. Returns the copy's path; nothing when the author declined,
    // the project has no folder of its own yet, or the copy failed (each
    // said in a message).
    std::optional<std::string> copyStockPage(DialogList list, int row, const std::string &page);
    void deleteDialog(DialogList list);
    void moveDialog(DialogList list, int step);
    void listClicked(DialogList list);
    void reportOrphanedCalls(const std::string &dialog, const std::vector<size_t> &calls);
    // Lets the page that shows the DLL calls show them anew when a move or
    // delete renumbered them.
    void refreshCallsIfChanged(const std::vector<DllCall> &before);

    bool m_colouring = false;
};

} // namespace wharf
