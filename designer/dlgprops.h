#pragma once
// `Tfrm_DlgProps`, the dialog that edits the page itself: its title, which
// of the wizard buttons are enabled and its four scripts. OK writes them
// into the document; Cancel changes nothing.

#include "seams.h"

#include <QDialog>
#include <QStringList>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace wharf {

class TScriptMemo;
class Tfrm_Main;

class Tfrm_DlgProps : public QDialog {
    Q_OBJECT
public:
    // main holds the dialog's page; seams show the dialog. Both must
    // outlive it.
    Tfrm_DlgProps(Tfrm_Main &main, const Seams &seams, QWidget *parent = nullptr);

    QLineEdit *E_DlgTitle;
    QCheckBox *Ch_NextEnabled, *Ch_BackEnabled, *Ch_CancelEnabled;
    QTabWidget *PC_Scripts;
    TScriptMemo *SM_InitScript, *SM_ShowScript, *SM_NextScript, *SM_BackScript;
    QPushButton *B_OK, *B_Cancel;

    // Fills the fields from the page and shows the dialog modally;
    // QDialog::Accepted when OK wrote them back.
    int ShowModal();
    void FormShow();
    // Writes what the author changed; a text a dialog file cannot store is
    // refused with a message and the dialog stays open.
    void B_OKClick();

private:
    Tfrm_Main &m_main;
    const Seams &m_seams;
    // The fields as the dialog was shown.
    std::array<QStringList, 4> m_shownScripts;
    QString m_shownTitle;
};

} // namespace wharf
