#include "generalpage.h"

#include "colorcombo.h"
#include "editorwindows.h"
#include "gradientfill.h"
#include "pagefields.h"
#include "paths.h"
#include "previewform.h"
#include "programstart.h"
#include "projectcontroller.h"
#include "projectpaths.h"
#include "radiogroup.h"
#include "systemform.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QFileInfo>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

const QString kImageFilter = QStringLiteral("Image Files (*.bmp;*.wmf;*.emf)|*.bmp;*.wmf;*.emf");
constexpr int kMaxPasswordLength = 56;

QLabel *labelFor(const QString &caption, QWidget *buddy, QWidget *parent, const char *name = nullptr)
{
    auto *label = new QLabel(caption, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A path handed to a Windows program run through wine: wine shows the root
// of this file system as drive Z:.
QString windowsArgumentPath(const QString &path)
{
    if (!path.startsWith(u'/'))
        return path;
    QString windows = QStringLiteral("Z:") + path;
    windows.replace(u'/', u'\\');
    return windows;
}

// The font's colour in the font dialog: a colour box under the effects,
// where the author finds it beside underline and strikeout. Qt's own font
// dialog has none, and the setup draws the title and the copyright in it.
TColorComboBox *addFontColorChoice(QFontDialog &dialog, const Seams &seams, TColor color)
{
    QGroupBox *effects = nullptr;
    for (QGroupBox *group : dialog.findChildren<QGroupBox *>())
        if (group->findChild<QCheckBox *>() && qobject_cast<QBoxLayout *>(group->layout())) {
            effects = group;
            break;
        }
    QWidget *owner = effects ? static_cast<QWidget *>(effects) : &dialog;
    auto *combo = named(new TColorComboBox(owner, seams), "CB_FontColor");
    combo->SetShowSysColors(false);
    combo->SetShowDefaultColor(false);
    combo->SetSelectedColor(color);
    auto *label = labelFor(QStringLiteral("&Color:"), combo, owner);
    if (effects) {
        auto *box = static_cast<QBoxLayout *>(effects->layout());
        box->addWidget(label);
        box->addWidget(combo);
    } else if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
    }
    return combo;
}

} // namespace

DerivedAppFields deriveAppFields(const QString &name, const QString &version, const QString &company)
{
    DerivedAppFields fields;
    QString folder = QStringLiteral("{pro}");
    if (!company.isEmpty())
        folder += u'\\' + company;
    folder += u'\\' + name + u' ' + version;
    fields.appFolder = folder.trimmed();
    fields.progGroup = (company + u' ' + name + u' ' + version).trimmed();
    if (!name.isEmpty())
        fields.setupTitle = name + QStringLiteral(" Setup");
    return fields;
}

QString languageEditorPath(const QString &programFolder)
{
    const QString wanted = QStringLiteral("Wharfspeak.Exe");
    const QStringList present = QDir(programFolder).entryList(QDir::Files);
    for (const QString &name : present)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return programFolder + name;
    return programFolder + wanted;
}

TGeneralPage::TGeneralPage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_General"));
    PC_GenInfoTabs = named(new QTabWidget(this), "PC_GenInfoTabs");
    PC_GenInfoTabs->addTab(buildAppInfoTab(), QStringLiteral("Application information"));
    PC_GenInfoTabs->addTab(buildLayoutTab(), QStringLiteral("Layout"));
    PC_GenInfoTabs->addTab(buildLanguagesTab(), QStringLiteral("Languages"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PC_GenInfoTabs);
}

GeneralSettings &TGeneralPage::general() { return document().General; }

void TGeneralPage::bindText(QLineEdit *edit, void (*write)(GeneralSettings &, const std::string &))
{
    connect(edit, &QLineEdit::textChanged, this, [this, write](const QString &text) {
        if (isLoading())
            return;
        write(general(), ss(text));
        E_SetupTitleChange();
    });
}

void TGeneralPage::bindFileName(TFilenameEdit *edit, std::string GeneralSettings::*field)
{
    edit->OnChange = [this, field](TCustomButtonEdit *sender) {
        if (isLoading())
            return;
        general().*field = ss(static_cast<TFilenameEdit *>(sender)->FileName());
        E_SetupTitleChange();
    };
}

void TGeneralPage::bindCheck(QCheckBox *box, bool GeneralSettings::*field, void (TGeneralPage::*then)())
{
    connect(box, &QCheckBox::toggled, this, [this, field, then](bool checked) {
        if (isLoading())
            return;
        general().*field = checked;
        if (then)
            (this->*then)();
        else
            E_SetupTitleChange();
    });
}

QWidget *TGeneralPage::buildAppInfoTab()
{
    auto *tab = named(new QWidget, "TS_AppInfo");
    E_AppName = named(new QLineEdit(tab), "E_AppName");
    E_VerInfo = named(new QLineEdit(tab), "E_VerInfo");
    E_DetailedVersion = named(new QLineEdit(tab), "E_DetailedVersion");
    E_Company = named(new QLineEdit(tab), "E_Company");
    E_AppFolder = named(new QLineEdit(QStringLiteral("{pro}\\"), tab), "E_AppFolder");
    E_ProgGroup = named(new QLineEdit(tab), "E_ProgGroup");
    Ch_AlwaysReboot = named(new QCheckBox(QStringLiteral("Always reboot"), tab), "Ch_AlwaysReboot");
    Ch_Encrypt = named(new QCheckBox(QStringLiteral("Password protection"), tab), "Ch_Encrypt");
    E_Password = named(new QLineEdit(tab), "E_Password");
    E_Password->setMaxLength(kMaxPasswordLength);
    E_Password->setEchoMode(QLineEdit::Password);
    L_Password = labelFor(QStringLiteral("Password:"), E_Password, tab, "L_Password");
    Ch_AdminWarning = named(new QCheckBox(QStringLiteral("Show administrator warning"), tab), "Ch_AdminWarning");
    Ch_InstallLog = named(new QCheckBox(QStringLiteral("Create install log"), tab), "Ch_InstallLog");
    E_InstallLog = named(new QLineEdit(tab), "E_InstallLog");
    E_InstallLog->setMaxLength(kMaxPasswordLength);
    L_InstallLog = labelFor(QStringLiteral("Log file name:"), E_InstallLog, tab, "L_InstallLog");
    Ch_64bitFolders = named(new QCheckBox(QStringLiteral("Use 64-bit folders/Registry branches on 64-bit systems"), tab),
                            "Ch_64bitFolders");
    B_TargetSys = named(new QPushButton(QStringLiteral("Target &systems..."), tab), "B_TargetSys");

    auto *grid = new QGridLayout(tab);
    int row = 0;
    const auto addRow = [&](const QString &caption, QWidget *field) {
        grid->addWidget(labelFor(caption, field, tab), row, 0);
        grid->addWidget(field, row++, 1, 1, 2);
    };
    addRow(QStringLiteral("Application name:"), E_AppName);
    addRow(QStringLiteral("Major version:"), E_VerInfo);
    addRow(QStringLiteral("Detailed version:"), E_DetailedVersion);
    addRow(QStringLiteral("Company name:"), E_Company);
    addRow(QStringLiteral("Application folder:"), E_AppFolder);
    addRow(QStringLiteral("Program group folder:"), E_ProgGroup);
    grid->addWidget(Ch_AlwaysReboot, row, 0);
    grid->addWidget(Ch_AdminWarning, row++, 1);
    grid->addWidget(Ch_Encrypt, row, 0);
    grid->addWidget(L_Password, row, 1);
    grid->addWidget(E_Password, row++, 2);
    grid->addWidget(Ch_InstallLog, row, 0);
    grid->addWidget(L_InstallLog, row, 1);
    grid->addWidget(E_InstallLog, row++, 2);
    grid->addWidget(Ch_64bitFolders, row++, 0, 1, 3);
    grid->addWidget(B_TargetSys, row++, 0);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(2, 1);

    // The four fields the derived ones are built from.
    const auto derived = [this](QLineEdit *edit, std::string GeneralSettings::*field) {
        connect(edit, &QLineEdit::textChanged, this, [this, field](const QString &text) {
            if (isLoading())
                return;
            general().*field = ss(text);
            E_AppNameChange();
        });
    };
    derived(E_AppName, &GeneralSettings::AppName);
    derived(E_VerInfo, &GeneralSettings::VerInfo);
    derived(E_DetailedVersion, &GeneralSettings::DetailedVersion);
    derived(E_Company, &GeneralSettings::Company);
    // Leaving the edit counts, changed or not (editingFinished would not).
    E_VerInfo->installEventFilter(this);
    bindText(E_AppFolder, [](GeneralSettings &g, const std::string &v) { g.DestDir = v; });
    bindText(E_ProgGroup, [](GeneralSettings &g, const std::string &v) { g.ProgMenuFolder = v; });
    bindText(E_Password, [](GeneralSettings &g, const std::string &v) { g.Password = v; });
    bindText(E_InstallLog, [](GeneralSettings &g, const std::string &v) { g.InstallLogFile = v; });
    bindCheck(Ch_AlwaysReboot, &GeneralSettings::AlwaysReboot);
    bindCheck(Ch_AdminWarning, &GeneralSettings::AdminWarning);
    bindCheck(Ch_64bitFolders, &GeneralSettings::Use64bitFolders);
    bindCheck(Ch_Encrypt, &GeneralSettings::RequirePassword, &TGeneralPage::Ch_EncryptClick);
    bindCheck(Ch_InstallLog, &GeneralSettings::InstallLog, &TGeneralPage::Ch_InstallLogClick);
    connect(B_TargetSys, &QPushButton::clicked, this, &TGeneralPage::B_TargetSysClick);
    updatePasswordEnabling();
    updateLogEnabling();
    return tab;
}

QWidget *TGeneralPage::buildLayoutTab()
{
    const Seams &seams = context().seams();
    auto *tab = named(new QWidget, "TS_Layout");
    const auto fileEdit = [&](QWidget *parent, const char *name, const QString &filter, TFileDialogKind kind) {
        auto *edit = named(new TFilenameEdit(parent, seams), name);
        edit->setDialogKind(kind);
        edit->setFilter(filter);
        return edit;
    };
    FE_WizardImg = fileEdit(tab, "FE_WizardImg", kImageFilter, TFileDialogKind::dkOpenPicture);
    FE_MainIcon = fileEdit(tab, "FE_MainIcon", QStringLiteral("Icon files (*.ico)|*.ico"), TFileDialogKind::dkOpenPicture);
    Ch_ShowBackground = named(new QCheckBox(QStringLiteral("Show background window"), tab), "Ch_ShowBackground");

    GB_BackWindow = named(new QGroupBox(QStringLiteral("Background window"), tab), "GB_BackWindow");
    Bev_Gradient = named(new QFrame(GB_BackWindow), "Bev_Gradient");
    Bev_Gradient->setFrameShape(QFrame::Box);
    Bev_Gradient->setFrameShadow(QFrame::Sunken);
    G_PrevGrad = named(new TGradientFill(Bev_Gradient), "G_PrevGrad");
    G_PrevGrad->SetBeginColor(clBlue);
    G_PrevGrad->SetEndColor(clBlack);
    G_PrevGrad->setFixedSize(181, 121);
    auto *bevel = new QVBoxLayout(Bev_Gradient);
    bevel->setContentsMargins(2, 2, 2, 2);
    bevel->addWidget(G_PrevGrad);
    CE_StartColor = named(new TColorComboBox(GB_BackWindow, seams), "CE_StartColor");
    CE_EndColor = named(new TColorComboBox(GB_BackWindow, seams), "CE_EndColor");
    for (TColorComboBox *combo : {CE_StartColor, CE_EndColor})
        combo->SetShowSysColors(false);
    CE_StartColor->SetDefaultColor(clBlue);
    CE_StartColor->SetSelectedColor(clBlue);
    // The end colour has no default of its own: its "Default" entry would
    // be black under another name, so a stored black shows as "Black".
    CE_EndColor->SetShowDefaultColor(false);
    CE_EndColor->SetSelectedColor(clBlack);
    FE_BackImg = fileEdit(GB_BackWindow, "FE_BackImg", kImageFilter, TFileDialogKind::dkOpenPicture);
    RG_PicAlign = named(new TRadioGroup(QStringLiteral("Alignment"),
                                        {QStringLiteral("Center"), QStringLiteral("Whole screen"), QStringLiteral("Top-left")},
                                        3, GB_BackWindow),
                        "RG_PicAlign");
    RG_PicAlign->setItemIndex(0);
    Ch_Transparent = named(new QCheckBox(QStringLiteral("Transparent"), GB_BackWindow), "Ch_Transparent");
    E_SetupTitle = named(new QLineEdit(GB_BackWindow), "E_SetupTitle");
    B_TitleFont = named(new QToolButton(GB_BackWindow), "B_TitleFont");
    E_CopyRght = named(new QLineEdit(GB_BackWindow), "E_CopyRght");
    B_CopyrightFont = named(new QToolButton(GB_BackWindow), "B_CopyrightFont");
    for (QToolButton *button : {B_TitleFont, B_CopyrightFont}) {
        button->setText(QStringLiteral("..."));
        button->setToolTip(QStringLiteral("Font"));
    }
    B_Preview = named(new QPushButton(QStringLiteral("&Preview"), tab), "B_Preview");

    auto *group = new QGridLayout(GB_BackWindow);
    group->addWidget(new QLabel(QStringLiteral("Gradient:"), GB_BackWindow), 0, 0);
    group->addWidget(Bev_Gradient, 1, 0, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    group->addWidget(labelFor(QStringLiteral("Start color:"), CE_StartColor, GB_BackWindow), 0, 1);
    group->addWidget(CE_StartColor, 0, 2, 1, 2);
    group->addWidget(labelFor(QStringLiteral("End color:"), CE_EndColor, GB_BackWindow), 1, 1);
    group->addWidget(CE_EndColor, 1, 2, 1, 2);
    group->addWidget(labelFor(QStringLiteral("Background image:"), FE_BackImg, GB_BackWindow), 3, 0);
    group->addWidget(FE_BackImg, 3, 1, 1, 3);
    group->addWidget(RG_PicAlign, 4, 0, 1, 3);
    group->addWidget(Ch_Transparent, 4, 3);
    group->addWidget(labelFor(QStringLiteral("Setup title:"), E_SetupTitle, GB_BackWindow), 5, 0);
    group->addWidget(E_SetupTitle, 5, 1, 1, 2);
    group->addWidget(B_TitleFont, 5, 3, Qt::AlignLeft);
    group->addWidget(labelFor(QStringLiteral("Copyright information:"), E_CopyRght, GB_BackWindow), 6, 0);
    group->addWidget(E_CopyRght, 6, 1, 1, 2);
    group->addWidget(B_CopyrightFont, 6, 3, Qt::AlignLeft);
    group->setColumnStretch(2, 1);

    auto *grid = new QGridLayout(tab);
    grid->addWidget(labelFor(QStringLiteral("Wizard image:"), FE_WizardImg, tab), 0, 0);
    grid->addWidget(FE_WizardImg, 0, 1);
    grid->addWidget(labelFor(QStringLiteral("Setup main icon:"), FE_MainIcon, tab), 1, 0);
    grid->addWidget(FE_MainIcon, 1, 1);
    grid->addWidget(Ch_ShowBackground, 2, 0, 1, 2);
    grid->addWidget(GB_BackWindow, 3, 0, 1, 2);
    grid->addWidget(B_Preview, 4, 1, Qt::AlignRight);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);

    bindFileName(FE_WizardImg, &GeneralSettings::WzrdImg);
    bindFileName(FE_MainIcon, &GeneralSettings::MainIcon);
    bindFileName(FE_BackImg, &GeneralSettings::BackImage);
    bindCheck(Ch_ShowBackground, &GeneralSettings::UseGradient, &TGeneralPage::Ch_ShowBackgroundClick);
    bindCheck(Ch_Transparent, &GeneralSettings::Transparent);
    bindText(E_SetupTitle, [](GeneralSettings &g, const std::string &v) { g.Caption = v; });
    bindText(E_CopyRght, [](GeneralSettings &g, const std::string &v) { g.Copyright = v; });
    RG_PicAlign->OnClick = [this](TRadioGroup *sender) {
        if (isLoading())
            return;
        general().BackAlign = sender->ItemIndex();
        E_SetupTitleChange();
    };
    connect(CE_StartColor, &TColorComboBox::OnChange, this, &TGeneralPage::CE_StartColorChange);
    connect(CE_EndColor, &TColorComboBox::OnChange, this, &TGeneralPage::CE_StartColorChange);
    connect(B_TitleFont, &QToolButton::clicked, this, [this] { B_TitleFontClick(B_TitleFont); });
    connect(B_CopyrightFont, &QToolButton::clicked, this, [this] { B_TitleFontClick(B_CopyrightFont); });
    connect(B_Preview, &QPushButton::clicked, this, &TGeneralPage::B_PreviewClick);
    updateBackgroundEnabling();
    return tab;
}

QWidget *TGeneralPage::buildLanguagesTab()
{
    auto *tab = named(new QWidget, "TS_LangFiles");
    LB_Languages = named(new QListWidget(tab), "LB_Languages");
    B_AddLangFile = named(new QPushButton(QStringLiteral("&Add"), tab), "B_AddLangFile");
    B_DeleteLangFile = named(new QPushButton(QStringLiteral("&Delete"), tab), "B_DeleteLangFile");
    B_EditLangFile = named(new QPushButton(QStringLiteral("&Edit language file"), tab), "B_EditLangFile");
    B_DeleteLangFile->setEnabled(false);
    B_EditLangFile->setEnabled(false);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(B_AddLangFile);
    buttons->addWidget(B_DeleteLangFile);
    buttons->addWidget(B_EditLangFile);
    buttons->addStretch();
    auto *row = new QHBoxLayout(tab);
    row->addWidget(LB_Languages, 1);
    row->addLayout(buttons);

    connect(B_AddLangFile, &QPushButton::clicked, this, &TGeneralPage::B_AddLangFileClick);
    connect(B_DeleteLangFile, &QPushButton::clicked, this, &TGeneralPage::B_DeleteLangFileClick);
    connect(B_EditLangFile, &QPushButton::clicked, this, &TGeneralPage::B_EditLangFileClick);
    connect(LB_Languages, &QListWidget::currentRowChanged, this, &TGeneralPage::LB_LanguagesClick);
    return tab;
}

void TGeneralPage::loadFromDocument(const Project &project)
{
    const GeneralSettings &g = project.General;
    E_AppName->setText(qs(g.AppName));
    E_VerInfo->setText(qs(g.VerInfo));
    E_DetailedVersion->setText(qs(g.DetailedVersion));
    E_Company->setText(qs(g.Company));
    E_AppFolder->setText(qs(g.DestDir));
    E_ProgGroup->setText(qs(g.ProgMenuFolder));
    Ch_AlwaysReboot->setChecked(g.AlwaysReboot);
    Ch_Encrypt->setChecked(g.RequirePassword);
    E_Password->setText(qs(g.Password));
    Ch_AdminWarning->setChecked(g.AdminWarning);
    Ch_InstallLog->setChecked(g.InstallLog);
    E_InstallLog->setText(qs(g.InstallLogFile));
    Ch_64bitFolders->setChecked(g.Use64bitFolders);

    showFileName(FE_WizardImg, g.WzrdImg);
    showFileName(FE_MainIcon, g.MainIcon);
    Ch_ShowBackground->setChecked(g.UseGradient);
    CE_StartColor->SetSelectedColor(g.StartColor);
    CE_EndColor->SetSelectedColor(g.EndColor);
    showFileName(FE_BackImg, g.BackImage);
    RG_PicAlign->setItemIndex(g.BackAlign);
    Ch_Transparent->setChecked(g.Transparent);
    E_SetupTitle->setText(qs(g.Caption));
    E_CopyRght->setText(qs(g.Copyright));
    B_TitleFont->setToolTip(QStringLiteral("Font: %1, %2 pt").arg(qs(g.CaptionFont.Name)).arg(g.CaptionFont.Size));
    B_CopyrightFont->setToolTip(
        QStringLiteral("Font: %1, %2 pt").arg(qs(g.CopyrightFont.Name)).arg(g.CopyrightFont.Size));

    fillList(LB_Languages, project.LanguageFiles, LB_Languages->currentRow());

    updatePasswordEnabling();
    updateLogEnabling();
    updateBackgroundEnabling();
    updateGradient();
    LB_LanguagesClick();
}

void TGeneralPage::E_AppNameChange()
{
    if (isLoading())
        return;
    const DerivedAppFields fields = deriveAppFields(E_AppName->text(), E_VerInfo->text(), E_Company->text());
    // Each edit's own change handler writes its field into the document.
    E_AppFolder->setText(fields.appFolder);
    E_ProgGroup->setText(fields.progGroup);
    if (!fields.setupTitle.isEmpty())
        E_SetupTitle->setText(fields.setupTitle);
    markModified();
}

void TGeneralPage::E_VerInfoExit()
{
    if (E_DetailedVersion->text().isEmpty())
        E_DetailedVersion->setText(E_VerInfo->text());
}

void TGeneralPage::E_SetupTitleChange() { markModified(); }

bool TGeneralPage::eventFilter(QObject *watched, QEvent *event)
{
    // A context menu of the edit or another window taking the activation
    // leaves the focus where it is: the author has not left the edit.
    if (watched == E_VerInfo && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            E_VerInfoExit();
    }
    return TEditorPage::eventFilter(watched, event);
}

void TGeneralPage::updatePasswordEnabling()
{
    L_Password->setEnabled(Ch_Encrypt->isChecked());
    E_Password->setEnabled(L_Password->isEnabled());
}

void TGeneralPage::updateLogEnabling()
{
    L_InstallLog->setEnabled(Ch_InstallLog->isChecked());
    E_InstallLog->setEnabled(L_InstallLog->isEnabled());
}

void TGeneralPage::updateBackgroundEnabling()
{
    const bool on = Ch_ShowBackground->isChecked();
    // Disabling the group disables every control inside it.
    GB_BackWindow->setEnabled(on);
    B_Preview->setEnabled(on);
}

void TGeneralPage::updateGradient()
{
    G_PrevGrad->SetBeginColor(CE_StartColor->SelectedColor());
    G_PrevGrad->SetEndColor(CE_EndColor->SelectedColor());
}

void TGeneralPage::Ch_EncryptClick()
{
    updatePasswordEnabling();
    markModified();
}

void TGeneralPage::Ch_InstallLogClick()
{
    updateLogEnabling();
    markModified();
}

void TGeneralPage::B_TargetSysClick()
{
    TSystemForm *form = context().windows().SystemForm.get();
    if (!form)
        return;
    const int32_t systems = EditTargetSystems(*form, general().System);
    if (systems != general().System) {
        general().System = systems;
        markModified();
    }
}

void TGeneralPage::Ch_ShowBackgroundClick()
{
    updateBackgroundEnabling();
    markModified();
}

void TGeneralPage::CE_StartColorChange()
{
    updateGradient();
    if (isLoading())
        return;
    general().StartColor = CE_StartColor->SelectedColor();
    general().EndColor = CE_EndColor->SelectedColor();
    markModified();
}

void TGeneralPage::B_TitleFontClick(QObject *Sender)
{
    ProjectFont &font = Sender == B_CopyrightFont ? general().CopyrightFont : general().CaptionFont;
    QFontDialog dialog(toQFont(font), context().mainWindow());
    dialog.setObjectName(QStringLiteral("FontDlg"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // The dialog shows a stored Windows face by the face this machine draws
    // it with; unless the author chose another face, the stored name stays.
    const QString shownFace = dialog.currentFont().family();
    TColorComboBox *color = addFontColorChoice(dialog, context().seams(), font.Color);
    if (context().seams().modal->exec(dialog) == QDialog::Accepted) {
        const std::string storedName = font.Name;
        takeFont(font, dialog.currentFont());
        font.Color = color->SelectedColor();
        if (dialog.currentFont().family() == shownFace)
            font.Name = storedName;
        if (auto *button = qobject_cast<QToolButton *>(Sender))
            button->setToolTip(QStringLiteral("Font: %1, %2 pt").arg(qs(font.Name)).arg(font.Size));
    }
    markModified();
}

void TGeneralPage::B_PreviewClick()
{
    if (TPreviewForm *preview = context().windows().PreviewForm.get())
        preview->ShowModal();
}

void TGeneralPage::B_AddLangFileClick()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::OpenMany;
    request.title = QStringLiteral("Open");
    request.filter = QStringLiteral("Brindlewharf language files (*.wfl)");
    request.defaultExt = QStringLiteral("wfl");
    request.fileName = QStringLiteral("*.wfl");
    request.initialDir = qs(context().controller().ProjectFolder());
    const FileDialogResult result = context().seams().fileDialogs->run(context().mainWindow(), request);
    if (!result.accepted || result.files.isEmpty())
        return;
    for (const QString &file : result.files) {
        const QString full = QFileInfo(file).absoluteFilePath();
        document().LanguageFiles.push_back(ss(full));
        LB_Languages->addItem(full);
    }
    markModified();
}

void TGeneralPage::B_DeleteLangFileClick()
{
    std::vector<std::string> &files = document().LanguageFiles;
    if (files.size() < 2) {
        showError(context().seams(), context().mainWindow(), QStringLiteral("You must include at least one language file!"));
        return;
    }
    const int row = LB_Languages->currentRow();
    if (row < 0 || row >= static_cast<int>(files.size()))
        return;
    files.erase(files.begin() + row);
    delete LB_Languages->takeItem(row);
    LB_Languages->setCurrentRow(-1);
    LB_LanguagesClick();
    markModified();
}

void TGeneralPage::B_EditLangFileClick()
{
    const int row = LB_Languages->currentRow();
    if (row < 0 || row >= static_cast<int>(document().LanguageFiles.size()))
        return;
    const std::string file = toNativePath(
        editor::ExpandRelativePath(document().LanguageFiles[static_cast<size_t>(row)], context().controller().ProjectFolder()));
    const QString program = languageEditorPath(context().environment().programFolder);
    const QString argument = isWindowsProgram(program) ? windowsArgumentPath(qs(file)) : qs(file);
    StartProgramOrExplain(context().seams(), context().mainWindow(), context().environment().winePath,
                          QStringLiteral("Language Editor"), program, {argument});
}

void TGeneralPage::LB_LanguagesClick()
{
    B_DeleteLangFile->setEnabled(LB_Languages->currentRow() >= 0);
    B_EditLangFile->setEnabled(B_DeleteLangFile->isEnabled());
}

} // namespace wharf
