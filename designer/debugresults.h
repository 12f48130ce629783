#pragma once
// `Tfrm_DebugResults`: after a test run, the values of the script
// variables that the setup runtime left in "debug.dat" of the run's folder
// (section "VarValues", one line name=value per variable), sorted by name
// without regard to case. Showing the window removes both scratch files of
// the run.

#include "seams.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace wharf {

class Tfrm_DebugResults : public QDialog {
    Q_OBJECT
public:
    // seams show the window and must outlive it.
    explicit Tfrm_DebugResults(const Seams &seams, QWidget *parent = nullptr);

    QTableWidget *SG_VarValues; // "Variable name", "Value"
    QPushButton *B_Close;

    // The private folder of the current test run, without a trailing "/";
    // empty outside a run (the test run sets it).
    void setDebugFolder(QString folder) { m_debugFolder = std::move(folder); }
    const QString &debugFolder() const { return m_debugFolder; }

    // The scratch files of a test run; empty without a debug folder.
    QString dialogScratchFile() const; // <debug folder>/dbg.tmp
    QString resultsFile() const;       // <debug folder>/debug.dat

    // Fills the grid (FormShow) and shows the window modally.
    int ShowModal();
    // Reads the results (a missing file gives none) into the grid, then
    // deletes the results file and the dialog's scratch file.
    void FormShow();

private:
    QString m_debugFolder;
    const Seams &m_seams;
};

} // namespace wharf
