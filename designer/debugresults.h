#pragma once
// `Tfrm_DebugResults`: after a test run, the values of the script
// variables that the setup runtime left in "Debug\debug.dat" (section
// "VarValues", one line name=value per variable), sorted by name without
// regard to case. Showing the window removes both scratch files of the run.

#include "seams.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace wharf {

class Tfrm_DebugResults : public QDialog {
    Q_OBJECT
public:
    // programFolder holds the folder "Debug"; ends with "/". seams show the
    // window and must outlive it.
    Tfrm_DebugResults(QString programFolder, const Seams &seams, QWidget *parent = nullptr);

    QTableWidget *SG_VarValues; // "Variable name", "Value"
    QPushButton *B_Close;

    // The scratch files of a test run.
    QString dialogScratchFile() const; // <program folder>Debug/dbg.tmp
    QString resultsFile() const;       // <program folder>Debug/debug.dat

    // Fills the grid (FormShow) and shows the window modally.
    int ShowModal();
    // Reads the results (a missing file gives none) into the grid, then
    // deletes the results file and the dialog's scratch file.
    void FormShow();

private:
    QString m_programFolder;
    const Seams &m_seams;
};

} // namespace wharf
