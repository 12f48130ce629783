#pragma once
// TSystemForm, the dialog in which the author picks the target systems of
// the setup or of one entry, and EditTargetSystems, which shows it for a
// stored mask. The program creates one instance and keeps it.

#include "seams.h"
#include "targetsystems.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace wharf {

class TSystemForm : public QDialog {
    Q_OBJECT
public:
    // seams.modal shows the dialog; the seams must outlive the form.
    explicit TSystemForm(QWidget *parent = nullptr, const Seams &seams = standardSeams());

    QLabel *L_Caption;
    QListWidget *CLB_System; // the 22 systems, checkable, in list order
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    bool Checked(int index) const;
    void setChecked(int index, bool checked);

    // Shows the dialog modally through the seams; QDialog::Accepted on OK.
    int ShowModal();

protected:
    void showEvent(QShowEvent *event) override;

private:
    const Seams *m_seams;
};

// Shows Form with the entries of Value checked and returns the mask of the
// entries checked when the author confirms with OK; Value itself (even 0)
// when the dialog is cancelled.
int32_t EditTargetSystems(TSystemForm &Form, int32_t Value);

} // namespace wharf
