#pragma once
// TCopyForm: the small window "Copying files" shown while files of the
// output folder are copied elsewhere, with the copy animation, the file
// being copied and its progress; and CopyFileWithProgress, the copy that
// drives it. Created for each copy command and freed afterwards.

#include <QDialog>

class QProgressBar;

namespace wharf {

class TAnimate;
class TNewPathLabel;

class TCopyForm : public QDialog {
    Q_OBJECT
public:
    explicit TCopyForm(QWidget *parent = nullptr);

    TAnimate *Ani_CopyFiles;
    TNewPathLabel *L_FilePath;
    QProgressBar *PB_CopyProgress;

    // Copies source to destination (native or Windows-style paths) in
    // blocks, showing the source and the progress. True when every byte
    // was read and written; on any failure (a missing source, a target
    // that can't be created or is the source itself, a read or write
    // error) false, and a target that was begun is removed. An empty
    // source gives an empty target.
    bool CopyFileWithProgress(const QString &source, const QString &destination);

    // The animation runs while the window is shown.
    void FormShow();
    void FormHide();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};

} // namespace wharf
