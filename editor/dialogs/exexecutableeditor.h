#pragma once
// TExExecutableEditor, "Executable extension properties": edits the
// selected external program of the project
// (document().Selection.ExternalProgram) in place. ShowModal loads it and
// shows the window; B_OKClick writes it back and marks the project
// modified. Created once and kept.

#include "seams.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace wharf {

class ProjectController;
class TSystemForm;
class TVarForm;

class TExExecutableEditor : public QDialog {
    Q_OBJECT
public:
    // controller, seams, systemForm and palette (the last two may be null)
    // must outlive the dialog.
    TExExecutableEditor(ProjectController &controller, const Seams &seams, TSystemForm *systemForm,
                        TVarForm *palette, QWidget *parent = nullptr);

    QComboBox *CB_ExFileName;  // editable; the project's destinations in quotes
    QComboBox *CB_WhenExecute; // "Installation", "Uninstallation"
    QCheckBox *Ch_Wait;
    QPushButton *B_TargetSys;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    int helpContext() const { return 24; }
    int32_t TargetSystemsTag() const { return m_targetSystems; }

    // Loads the selected program and shows the window modally through the
    // seams; Rejected at once when none is selected.
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
