#pragma once
// TINIEditor, "Create/Edit INI entry": edits the selected INI entry of the
// project (document().Selection.IniEntry) in place. ShowModal loads the
// entry and shows the window; B_OKClick writes it back ("{emp}" for an
// empty text) and marks the project modified. Created once and kept.

#include "seams.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace wharf {

class ProjectController;
class TSystemForm;
class TVarForm;

class TINIEditor : public QDialog {
    Q_OBJECT
public:
    // controller, seams, systemForm and palette (the last two may be null)
    // must outlive the dialog.
    TINIEditor(ProjectController &controller, const Seams &seams, TSystemForm *systemForm, TVarForm *palette,
               QWidget *parent = nullptr);

    QLineEdit *E_INIFile;
    QLineEdit *E_INISection;
    QLineEdit *E_INIKey;
    QLineEdit *E_INIValue;
    QCheckBox *Ch_UninstINIKey;
    QCheckBox *Ch_OverwriteINIKey;
    QCheckBox *Ch_CreateINIKey;
    QPushButton *B_TargetSys;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    int helpContext() const { return 21; }
    int32_t TargetSystemsTag() const { return m_targetSystems; }

    // Loads the selected entry and shows the window modally through the
    // seams; Rejected at once when no entry is selected.
    int ShowModal();

    void FormShow();
    void B_OKClick();
    void B_TargetSysClick();

private:
    ProjectController &m_controller;
    const Seams &m_seams;
    TSystemForm *m_systemForm;
    int32_t m_targetSystems = 0;
};

} // namespace wharf
