#pragma once
// TGeneralPage, page 0 of the main window ("General information"), shown
// at start. Three tabs of PC_GenInfoTabs:
//  - "Application information": name, versions and company, from which the
//    application folder, the program group and the setup title are derived
//    while the author types; password, install log, options and the target
//    systems of the whole setup;
//  - "Layout": wizard image, setup icon and the background window the setup
//    shows behind its wizard (gradient colours, picture, title and copyright
//    with their fonts), previewed full screen in TPreviewForm;
//  - "Languages": the language files, at least one, edited by the external
//    language editor.
// Every control writes its value into the document at once and marks the
// project modified, whether the author typed, pasted or picked the value.

#include "editorpage.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace wharf {

class TColorComboBox;
class TFilenameEdit;
class TGradientFill;
class TRadioGroup;

class TGeneralPage : public TEditorPage {
    Q_OBJECT
public:
    TGeneralPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QTabWidget *tabControl() const override { return PC_GenInfoTabs; }

    QTabWidget *PC_GenInfoTabs;

    // "Application information"
    QLineEdit *E_AppName;
    QLineEdit *E_VerInfo;
    QLineEdit *E_DetailedVersion;
    QLineEdit *E_Company;
    QLineEdit *E_AppFolder;
    QLineEdit *E_ProgGroup;
    QCheckBox *Ch_AlwaysReboot;
    QCheckBox *Ch_Encrypt;
    QLabel *L_Password;
    QLineEdit *E_Password;
    QCheckBox *Ch_AdminWarning;
    QCheckBox *Ch_InstallLog;
    QLabel *L_InstallLog;
    QLineEdit *E_InstallLog;
    QCheckBox *Ch_64bitFolders;
    QPushButton *B_TargetSys;

    // "Layout"
    TFilenameEdit *FE_WizardImg;
    TFilenameEdit *FE_MainIcon;
    QCheckBox *Ch_ShowBackground;
    QGroupBox *GB_BackWindow;
    QFrame *Bev_Gradient;
    TGradientFill *G_PrevGrad;
    TColorComboBox *CE_StartColor;
    TColorComboBox *CE_EndColor;
    TFilenameEdit *FE_BackImg;
    TRadioGroup *RG_PicAlign;
    QCheckBox *Ch_Transparent;
    QLineEdit *E_SetupTitle;
    QToolButton *B_TitleFont;
    QLineEdit *E_CopyRght;
    QToolButton *B_CopyrightFont;
    QPushButton *B_Preview;

    // "Languages"
    QListWidget *LB_Languages;
    QPushButton *B_AddLangFile;
    QPushButton *B_DeleteLangFile;
    QPushButton *B_EditLangFile;

    // Rebuilds the application folder, the program group and (with a name)
    // the setup title from name, major version and company.
    void E_AppNameChange();
    // Leaving "Major version:": an empty detailed version takes its text.
    void E_VerInfoExit();
    // Marks the project modified.
    void E_SetupTitleChange();
    void Ch_EncryptClick();
    void Ch_InstallLogClick();
    // Edits the setup's target systems; modified only when they changed.
    void B_TargetSysClick();
    void Ch_ShowBackgroundClick();
    void CE_StartColorChange();
    // The font dialog for the title font (Sender B_TitleFont) or the
    // copyright font (B_CopyrightFont).
    void B_TitleFontClick(QObject *Sender);
    void B_PreviewClick();
    void B_AddLangFileClick();
    // Refuses to delete the last language file.
    void B_DeleteLangFileClick();
    // Starts the language editor on the selected file; reports a failed
    // start.
    void B_EditLangFileClick();
    void LB_LanguagesClick();

protected:
    void loadFromDocument(const Project &project) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildAppInfoTab();
    QWidget *buildLayoutTab();
    QWidget *buildLanguagesTab();
    // Writes edit's text into the document through write on every change,
    // then marks the project modified.
    void bindText(QLineEdit *edit, void (*write)(GeneralSettings &, const std::string &));
    void bindFileName(TFilenameEdit *edit, std::string GeneralSettings::*field);
    void bindCheck(QCheckBox *box, bool GeneralSettings::*field, void (TGeneralPage::*then)() = nullptr);
    void updatePasswordEnabling();
    void updateLogEnabling();
    void updateBackgroundEnabling();
    void updateGradient();
    GeneralSettings &general();
};

// The fields derived from the application's name, major version and
// company: the application folder ("{pro}\Company\Name Version"), the
// program group ("Company Name Version") and the setup title ("Name Setup",
// empty when there is no name: the title then stays as it was).
struct DerivedAppFields {
    QString appFolder;
    QString progGroup;
    QString setupTitle;
};
DerivedAppFields deriveAppFields(const QString &name, const QString &version, const QString &company);

// The language editor's program in programFolder ("Wharfspeak.Exe", also
// found when its extension is written in another case).
QString languageEditorPath(const QString &programFolder);

} // namespace wharf
