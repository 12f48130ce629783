#pragma once
// TExDllEditor, "DLL extension properties": edits the selected DLL call of
// the project (document().Selection.DllCall) in place. The signed dialog
// index of the call is shown as the choice between installation and
// uninstallation (RG_WhenExecute) and a dialog of that list (CB_DlgCombo);
// B_OKClick stores k for the k-th installation dialog, -k for the k-th
// uninstallation dialog, 0 without a dialog. Created once and kept; it has
// no variables palette.

#include "seams.h"

#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace wharf {

class ProjectController;
class TFilenameEdit;

// The signed dialog index for item k - 1 of a dialog list (-1 for none):
// k for the installation list, -k for the uninstallation list, 0 for none.
int32_t SignedDialogIndex(bool uninstallation, int item);
// The list and the item (-1 for none) a signed dialog index names.
void SplitDialogIndex(int32_t index, bool &uninstallation, int &item);

class TExDllEditor : public QDialog {
    Q_OBJECT
public:
    // controller and seams (which run the file dialog) must outlive it.
    TExDllEditor(ProjectController &controller, const Seams &seams, QWidget *parent = nullptr);

    TFilenameEdit *FE_FileName;
    QLineEdit *E_FuncName;
    QGroupBox *RG_WhenExecute;        // "Installation" (item 0), "Uninstallation" (item 1)
    QButtonGroup *RG_WhenExecuteItems; // its buttons, with their item as id
    QComboBox *CB_DlgCombo;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    int helpContext() const { return 25; }

    // The selected item of RG_WhenExecute.
    int WhenExecuteIndex() const;
    void setWhenExecuteIndex(int index);

    // Loads the selected call and shows the window modally through the
    // seams; Rejected at once when none is selected. Throws
    // EButtonEditError (nothing shown, the call unchanged) when the stored
    // file name is not a valid one.
    int ShowModal();

    void FormShow();
    void B_OKClick();
    void RG_WhenExecuteClick();

private:
    ProjectController &m_controller;
    const Seams &m_seams;
};

} // namespace wharf
