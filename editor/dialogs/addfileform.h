#pragma once
// TAddFileForm, "Add file": one file by name for the group of the file
// tree's selection, with the choice of a relative source path and of a
// check for the modules it needs. Created once at start; it keeps the
// states of its check boxes between uses, and they mirror those of
// TAddDDFileForm: a change of one sets the other.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace wharf {

struct Seams;
class TAddDDFileForm;
class TFilenameEdit;
class TVarForm;

class TAddFileForm : public QDialog {
    Q_OBJECT
public:
    // seams must outlive the form.
    TAddFileForm(QWidget *parent, const Seams &seams);

    // Lets the text box take variables from the palette, which stays usable
    // beside the dialog (once, when the palette exists).
    void usePalette(TVarForm &palette);

    QLabel *L_FileName;
    TFilenameEdit *FE_FileName;
    QCheckBox *Ch_RelativePath;
    QCheckBox *Ch_Dump;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    static constexpr int kHelpContext = 16;

    // Makes the check boxes of this form and of other mirror each other
    // (other must outlive this form or be unlinked by its destruction).
    void mirrorChecks(TAddDDFileForm &other);

    // Empties the file name (run before each showing).
    void FormShow();
    // FormShow, then the dialog modally through the seams; QDialog::Accepted
    // on OK.
    int ShowModal();
    // The file name as entered; empty when none was.
    QString fileName() const;

    void Ch_RelativePathClick();
    void Ch_DumpClick();

private:
    const Seams &m_seams;
    TAddDDFileForm *m_twin = nullptr;
};

} // namespace wharf
