#pragma once
// TAddDDFileForm, "Add file(s)": asks for the folder that files dropped
// from the file manager onto the file tree are installed to, whether their
// sources are kept relative to the project and whether they are checked
// for the modules they need. Created once at start; its two check boxes
// mirror those of the add-file dialog (TAddFileForm).

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wharf {

struct Seams;
class TVarForm;

class TAddDDFileForm : public QDialog {
    Q_OBJECT
public:
    // seams must outlive the form.
    TAddDDFileForm(QWidget *parent, const Seams &seams);

    // Lets the text box take variables from the palette, which stays usable
    // beside the dialog (once, when the palette exists).
    void usePalette(TVarForm &palette);

    QLabel *L_Caption;
    QLineEdit *E_Input;
    QCheckBox *Ch_RelativePath;
    QCheckBox *Ch_Dump;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    static constexpr int kHelpContext = 16;

    // Shows the dialog modally through the seams; QDialog::Accepted on OK.
    int ShowModal();

private:
    const Seams &m_seams;
};

} // namespace wharf
