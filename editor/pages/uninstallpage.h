#pragma once
// TUninstallPage, page 7 of the main window ("Uninstaller/Autorun"). Tab
// "Uninstaller": whether the setup creates an uninstaller, its start menu
// icon, its folder, how it reports errors and the extra files and folders
// it deletes (wildcards allowed, "{emp}" for an empty one). Tab "Autorun":
// the CD autostart file. Unchecking "Create uninstaller" also disables the
// uninstallation dialogs of the dialogs page.

#include "editorpage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace wharf {

class TFilenameEdit;
class TRadioGroup;

class TUninstallPage : public TEditorPage {
    Q_OBJECT
public:
    TUninstallPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QTabWidget *tabControl() const override { return PC_UninstallPages; }

    QTabWidget *PC_UninstallPages;

    QCheckBox *Ch_CreateUninst;
    QCheckBox *Ch_UninstIcon;
    QLabel *L_UninstIcon;
    QLineEdit *E_UninstIcon;
    QCheckBox *Ch_AutomaticUninstFolder;
    QLabel *L_UninstFolder;
    QLineEdit *E_UninstFolder;
    TRadioGroup *RG_ReportLevel;
    QListWidget *LB_UninstExpressions;
    QPushButton *B_AddUninstExpr;
    QPushButton *B_EditUninstExpr;
    QPushButton *B_DeleteUninstExpr;

    QCheckBox *Ch_Autorun;
    QLabel *L_IconFile;
    TFilenameEdit *FE_AutorunIcon;
    QLabel *L_CallApp;
    QLineEdit *E_CallApp;

    void Ch_CreateUninstClick();
    void Ch_UninstIconClick();
    void Ch_AutomaticUninstFolderClick();
    void Ch_AutorunClick();
    void B_AddUninstExprClick();
    void B_EditUninstExprClick();
    void B_DeleteUninstExprClick();
    void LB_UninstExpressionsClick();

protected:
    void loadFromDocument(const Project &project) override;

private:
    QWidget *buildUninstallTab();
    QWidget *buildAutorunTab();
    void applyUninstallerEnabling();
    void applyAutorunEnabling();
    // Asks for an expression (QueryText); an empty answer becomes "{emp}".
    bool queryExpression(QString &value);
};

} // namespace wharf
