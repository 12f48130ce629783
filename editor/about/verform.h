#pragma once
// TVerForm, the window "Version information": names the running operating
// system and lists every file of the system's own file list with its
// description and file version. Created each time the about box asks for
// it.

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;
class QTableWidget;

namespace wharf {

class TVerForm : public QDialog {
    Q_OBJECT
public:
    // ownFileList: full paths of the system's own files, in the order they
    // are listed (OwnFileList of the editor shell).
    explicit TVerForm(QWidget *parent = nullptr, QStringList ownFileList = {});

    QFrame *Bev_Top;
    QLabel *L_WinVer;
    QTableWidget *SG_Versions;
    QPushButton *B_OK;

    // Rebuilds the file table: one row per file (file name in lower case,
    // description, version); one empty row for an empty list. Runs each
    // time the window is shown.
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QStringList m_ownFileList;
};

} // namespace wharf
