#pragma once
// `Tfrm_EditCLB`, the dialog that adds or edits one item of a check list
// box: its caption and whether it is checked and enabled. It works on the
// current row of the control dialog's item grid, whose cells hold the
// caption and the texts "Yes" or "No".

#include "seams.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace wharf {

inline constexpr const char *kYes = "Yes";
inline constexpr const char *kNo = "No";

class Tfrm_EditCLB : public QDialog {
    Q_OBJECT
public:
    // seams show the dialog; they must outlive it.
    explicit Tfrm_EditCLB(const Seams &seams, QWidget *parent = nullptr);

    QLineEdit *E_ItemCaption;
    QCheckBox *Ch_ItemChecked;
    QCheckBox *Ch_ItemEnabled;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    // Shows the dialog modally for the current row of grid (which must
    // have one); OK writes the fields back into the row. Returns
    // QDialog::Accepted on OK.
    int ShowModal(QTableWidget &grid);

    void FormShow();
    void B_OKClick();

private:
    const Seams &m_seams;
    QTableWidget *m_grid = nullptr;
};

} // namespace wharf
