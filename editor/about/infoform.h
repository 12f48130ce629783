#pragma once
// TInfoForm, the about box "Info": the product's title picture, its version,
// the build of the running editor and the product's web address (when it
// has one); its button "&Version info..." opens the version window. The
// program creates one instance at start-up and keeps it.

#include "ownfiles.h"
#include "seams.h"

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;

namespace wharf {

class TInfoForm : public QDialog {
    Q_OBJECT
public:
    // FormCreate. executable: the editor's own program, whose file version
    // gives the build label (the build's version when the program has no
    // version resource). webSite: the address the link opens; without one
    // the link is hidden. seams: the modal loop and the document opener.
    TInfoForm(QWidget *parent = nullptr, const Seams &seams = standardSeams(), QString executable = {},
              QString webSite = QString::fromStdString(productWebSite()));

    QFrame *Bev_Logo;
    QLabel *I_Logo;
    QLabel *L_Version;
    QLabel *L_Build;
    QLabel *L_WebSite;
    QPushButton *B_OK;
    QPushButton *B_Versions;

    static constexpr int kHelpContext = 3;

    // The files the version window lists (OwnFileList of the shell), read
    // when it opens; must outlive the form.
    void setOwnFileList(const QStringList *ownFileList) { m_ownFileList = ownFileList; }

    // Shows the about box modally through the seams.
    int ShowModal();

    // The mouse moved over sender: the link is underlined while the mouse
    // is over it, and not once it is over the window or another control.
    void FormMouseMove(QObject *sender);
    // Opens the web address with the desktop's handler.
    void L_WebSiteClick();
    // Hides the about box, shows the version window modally, then closes
    // the about box.
    void B_VersionsClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    const Seams *m_seams;
    const QStringList *m_ownFileList = nullptr;
};

// The title picture of the about box (made in code, so it needs no file).
QPixmap titlePicture();

} // namespace wharf
