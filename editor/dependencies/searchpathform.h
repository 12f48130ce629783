#pragma once
// TSearchPathForm, the small dialog in which the author sets the folders
// the dependency scanner searches for modules that do not lie beside the
// scanned file: one folder per line, in search order. The search path is
// kept in the editor's settings as the value "DependencyPath" (folders
// separated by ";"); without that value the scanner uses the run-time
// folders of the Windows toolchains installed here.

#include "seams.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace wharf {

class Settings;

// The search path stored in settings under the editor's key, or the
// default folders when the value is missing or can't be read.
std::vector<std::string> readDependencySearchPath(Settings &settings);
// Stores folders as the search path; false when the settings can't be
// written.
bool writeDependencySearchPath(Settings &settings, const std::vector<std::string> &folders);

class TSearchPathForm : public QDialog {
    Q_OBJECT
public:
    explicit TSearchPathForm(QWidget *parent = nullptr, const Seams &seams = standardSeams());

    QLabel *L_Caption;
    QPlainTextEdit *M_Folders;
    QPushButton *B_AddFolder;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    void setFolders(const std::vector<std::string> &folders);
    // The folders as edited, one per non-empty line.
    std::vector<std::string> folders() const;

    // Picks a folder with the folder dialog and appends it as a line.
    void B_AddFolderClick();

    // Shows the dialog modally through the seams; QDialog::Accepted on OK.
    int ShowModal();

private:
    const Seams *m_seams;
};

} // namespace wharf
