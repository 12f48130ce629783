#pragma once
// TRegEditor, the dialog "Edit Registry value": edits the type-specific text
// of the registry value selected on the registry page (the document's
// Selection.RegistryNode). A DWORD is shown as a decimal number with a spin
// button and its hexadecimal form; a BOOL offers "TRUE" and "FALSE". The
// program creates one instance and keeps it; it always edits the value
// selected at the moment it is shown.

#include "seams.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace wharf {

class ProjectController;
class TVarForm;
struct RegistryEntry;

class TRegEditor : public QDialog {
    Q_OBJECT
public:
    // controller's document holds the value; palette (may be null) lends
    // its variables to CB_Value. Both and the seams must outlive the dialog.
    TRegEditor(ProjectController &controller, TVarForm *palette, const Seams &seams = standardSeams(),
               QWidget *parent = nullptr);

    QLabel *L_ValueTypeCaption;
    QLabel *L_ValueType;
    QLabel *L_Hex;
    QLabel *L_ValueCaption;
    QComboBox *CB_Value;
    QWidget *SB_EditInt;  // the spin button: its up and down halves
    QToolButton *SB_EditIntUp;
    QToolButton *SB_EditIntDown;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    int helpContext() const { return 20; }

    // FormShow, then the dialog modally through the seams; QDialog::Accepted
    // when the author confirmed with OK (the value is stored then).
    int ShowModal();

    // Fills the controls from the selected value's record.
    void FormShow();
    // Stores the text as the record's value and marks the project modified.
    void B_OKClick();
    void SB_EditIntUpClick();
    void SB_EditIntDownClick();
    // The author edited the text: L_Hex follows it.
    void CB_ValueChange();
    // A key pressed in CB_Value: Enter stores the value and closes the
    // dialog with OK. True when the key was handled.
    bool CB_ValueKeyPress(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    RegistryEntry *selectedRecord() const;
    bool isDword() const;
    void stepBy(int delta);

    ProjectController &m_controller;
    const Seams &m_seams;
};

} // namespace wharf
