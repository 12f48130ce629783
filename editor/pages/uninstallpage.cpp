#include "uninstallpage.h"

#include "buttonedits.h"
#include "dialogspage.h"
#include "editorwindows.h"
#include "inputwindow.h"
#include "pagefields.h"
#include "radiogroup.h"
#include "varform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace wharf {
namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QString kExpressionCaption = QStringLiteral("Uninstall files/folders");
const QString kExpressionPrompt = QStringLiteral("Name of files/folders to be deleted (wildcards allowed):");

} // namespace

TUninstallPage::TUninstallPage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Uninstall"));
    PC_UninstallPages = named(new QTabWidget(this), "PC_UninstallPages");
    PC_UninstallPages->addTab(buildUninstallTab(), QStringLiteral("Uninstaller"));
    PC_UninstallPages->addTab(buildAutorunTab(), QStringLiteral("Autorun"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PC_UninstallPages);
}

QWidget *TUninstallPage::buildUninstallTab()
{
    auto *tab = named(new QWidget, "TS_Uninstall");
    Ch_CreateUninst = named(new QCheckBox(QStringLiteral("Create uninstaller"), tab), "Ch_CreateUninst");
    Ch_CreateUninst->setChecked(true);
    Ch_UninstIcon = named(new QCheckBox(QStringLiteral("Create start menu icon"), tab), "Ch_UninstIcon");
    Ch_UninstIcon->setChecked(true);
    E_UninstIcon = named(new QLineEdit(QStringLiteral("Uninstaller"), tab), "E_UninstIcon");
    L_UninstIcon = named(new QLabel(QStringLiteral("Title:"), tab), "L_UninstIcon");
    L_UninstIcon->setBuddy(E_UninstIcon);
    Ch_AutomaticUninstFolder =
        named(new QCheckBox(QStringLiteral("Automatic uninstall folder"), tab), "Ch_AutomaticUninstFolder");
    Ch_AutomaticUninstFolder->setChecked(true);
    E_UninstFolder = named(new QLineEdit(QStringLiteral("{app}\\Uninstall"), tab), "E_UninstFolder");
    L_UninstFolder = named(new QLabel(QStringLiteral("Folder:"), tab), "L_UninstFolder");
    L_UninstFolder->setBuddy(E_UninstFolder);
    RG_ReportLevel = named(new TRadioGroup(QStringLiteral("Uninstall error report"),
                                           {QStringLiteral("Show error messages"), QStringLiteral("Create log file"),
                                            QStringLiteral("Silent")},
                                           1, tab),
                           "RG_ReportLevel");
    RG_ReportLevel->setItemIndex(0);
    LB_UninstExpressions = named(new QListWidget(tab), "LB_UninstExpressions");
    B_AddUninstExpr = named(new QPushButton(QStringLiteral("&Add"), tab), "B_AddUninstExpr");
    B_EditUninstExpr = named(new QPushButton(QStringLiteral("&Edit"), tab), "B_EditUninstExpr");
    B_DeleteUninstExpr = named(new QPushButton(QStringLiteral("&Delete"), tab), "B_DeleteUninstExpr");
    B_EditUninstExpr->setEnabled(false);
    B_DeleteUninstExpr->setEnabled(false);

    auto *grid = new QGridLayout(tab);
    grid->addWidget(Ch_CreateUninst, 0, 0, 1, 3);
    grid->addWidget(Ch_UninstIcon, 1, 0);
    grid->addWidget(L_UninstIcon, 1, 1);
    grid->addWidget(E_UninstIcon, 1, 2);
    grid->addWidget(Ch_AutomaticUninstFolder, 2, 0);
    grid->addWidget(L_UninstFolder, 2, 1);
    grid->addWidget(E_UninstFolder, 2, 2);
    grid->addWidget(RG_ReportLevel, 3, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("These files/folders will be deleted additionally at the uninstallation:"),
                               tab),
                    4, 0, 1, 3);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(B_AddUninstExpr);
    buttons->addWidget(B_EditUninstExpr);
    buttons->addWidget(B_DeleteUninstExpr);
    buttons->addStretch();
    auto *expressions = new QHBoxLayout;
    expressions->addWidget(LB_UninstExpressions, 1);
    expressions->addLayout(buttons);
    grid->addLayout(expressions, 5, 0, 1, 3);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);

    const auto check = [this](QCheckBox *box, bool GeneralSettings::*field, void (TUninstallPage::*handler)()) {
        connect(box, &QCheckBox::toggled, this, [this, field, handler](bool checked) {
            if (isLoading())
                return;
            document().General.*field = checked;
            (this->*handler)();
        });
    };
    check(Ch_CreateUninst, &GeneralSettings::Uninstaller, &TUninstallPage::Ch_CreateUninstClick);
    check(Ch_UninstIcon, &GeneralSettings::UninstIcon, &TUninstallPage::Ch_UninstIconClick);
    check(Ch_AutomaticUninstFolder, &GeneralSettings::AutomaticUninstDir,
          &TUninstallPage::Ch_AutomaticUninstFolderClick);
    const auto text = [this](QLineEdit *edit, std::string GeneralSettings::*field) {
        connect(edit, &QLineEdit::textChanged, this, [this, field](const QString &value) {
            if (isLoading())
                return;
            document().General.*field = ss(value);
            markModified();
        });
    };
    text(E_UninstIcon, &GeneralSettings::IconTitle);
    text(E_UninstFolder, &GeneralSettings::UninstallDir);
    RG_ReportLevel->OnClick = [this](TRadioGroup *sender) {
        if (isLoading())
            return;
        document().General.UninstReportLevel = sender->ItemIndex();
        markModified();
    };
    connect(B_AddUninstExpr, &QPushButton::clicked, this, &TUninstallPage::B_AddUninstExprClick);
    connect(B_EditUninstExpr, &QPushButton::clicked, this, &TUninstallPage::B_EditUninstExprClick);
    connect(LB_UninstExpressions, &QListWidget::itemDoubleClicked, this, &TUninstallPage::B_EditUninstExprClick);
    connect(B_DeleteUninstExpr, &QPushButton::clicked, this, &TUninstallPage::B_DeleteUninstExprClick);
    connect(LB_UninstExpressions, &QListWidget::currentRowChanged, this, &TUninstallPage::LB_UninstExpressionsClick);
    applyUninstallerEnabling();
    return tab;
}

QWidget *TUninstallPage::buildAutorunTab()
{
    auto *tab = named(new QWidget, "TS_Autorun");
    Ch_Autorun = named(new QCheckBox(QStringLiteral("Create Autorun.inf"), tab), "Ch_Autorun");
    FE_AutorunIcon = named(new TFilenameEdit(tab, context().seams()), "FE_AutorunIcon");
    FE_AutorunIcon->setFilter(QStringLiteral("Icons (*.ico)|*.ico"));
    L_IconFile = named(new QLabel(QStringLiteral("Icon file:"), tab), "L_IconFile");
    L_IconFile->setBuddy(FE_AutorunIcon);
    E_CallApp = named(new QLineEdit(QStringLiteral("setup.exe"), tab), "E_CallApp");
    L_CallApp = named(new QLabel(QStringLiteral("Call application:"), tab), "L_CallApp");
    L_CallApp->setBuddy(E_CallApp);

    auto *grid = new QGridLayout(tab);
    grid->addWidget(Ch_Autorun, 0, 0, 1, 2);
    grid->addWidget(L_IconFile, 1, 0);
    grid->addWidget(FE_AutorunIcon, 1, 1);
    grid->addWidget(L_CallApp, 2, 0);
    grid->addWidget(E_CallApp, 2, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);

    connect(Ch_Autorun, &QCheckBox::toggled, this, [this](bool checked) {
        if (isLoading())
            return;
        document().General.CreateAutorun = checked;
        Ch_AutorunClick();
    });
    FE_AutorunIcon->OnChange = [this](TCustomButtonEdit *) {
        if (isLoading())
            return;
        document().General.AutorunIcon = ss(FE_AutorunIcon->FileName());
        markModified();
    };
    connect(E_CallApp, &QLineEdit::textChanged, this, [this](const QString &value) {
        if (isLoading())
            return;
        document().General.AutorunApplication = ss(value);
        markModified();
    });
    applyAutorunEnabling();
    return tab;
}

void TUninstallPage::loadFromDocument(const Project &project)
{
    const GeneralSettings &g = project.General;
    Ch_CreateUninst->setChecked(g.Uninstaller);
    Ch_UninstIcon->setChecked(g.UninstIcon);
    E_UninstIcon->setText(qs(g.IconTitle));
    Ch_AutomaticUninstFolder->setChecked(g.AutomaticUninstDir);
    E_UninstFolder->setText(qs(g.UninstallDir));
    RG_ReportLevel->setItemIndex(g.UninstReportLevel);
    fillList(LB_UninstExpressions, project.UninstExpressions, LB_UninstExpressions->currentRow());
    Ch_Autorun->setChecked(g.CreateAutorun);
    showFileName(FE_AutorunIcon, g.AutorunIcon);
    E_CallApp->setText(qs(g.AutorunApplication));
    applyUninstallerEnabling();
    applyAutorunEnabling();
    LB_UninstExpressionsClick();
}

void TUninstallPage::applyUninstallerEnabling()
{
    const bool on = Ch_CreateUninst->isChecked();
    Ch_UninstIcon->setEnabled(on);
    L_UninstIcon->setEnabled(Ch_UninstIcon->isChecked() && on);
    E_UninstIcon->setEnabled(L_UninstIcon->isEnabled());
    Ch_AutomaticUninstFolder->setEnabled(on);
    L_UninstFolder->setEnabled(!Ch_AutomaticUninstFolder->isChecked() && on);
    E_UninstFolder->setEnabled(L_UninstFolder->isEnabled());
}

void TUninstallPage::applyAutorunEnabling()
{
    const bool on = Ch_Autorun->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{L_IconFile, FE_AutorunIcon, L_CallApp, E_CallApp})
        w->setEnabled(on);
}

void TUninstallPage::Ch_CreateUninstClick()
{
    applyUninstallerEnabling();
    // The uninstallation dialogs live on the dialogs page, a sibling in the
    // page book.
    if (QWidget *book = parentWidget())
        if (auto *dialogs = book->findChild<TDialogsPage *>(QString(), Qt::FindDirectChildrenOnly))
            dialogs->UninstallerChanged();
    markModified();
}

void TUninstallPage::Ch_UninstIconClick()
{
    L_UninstIcon->setEnabled(Ch_UninstIcon->isChecked());
    E_UninstIcon->setEnabled(L_UninstIcon->isEnabled());
    markModified();
}

void TUninstallPage::Ch_AutomaticUninstFolderClick()
{
    L_UninstFolder->setEnabled(!Ch_AutomaticUninstFolder->isChecked());
    E_UninstFolder->setEnabled(L_UninstFolder->isEnabled());
    markModified();
}

void TUninstallPage::Ch_AutorunClick()
{
    applyAutorunEnabling();
    markModified();
}

bool TUninstallPage::queryExpression(QString &value)
{
    if (!QueryText(context().seams(), context().windows().VarForm.get(), context().mainWindow(), kExpressionCaption,
                   kExpressionPrompt, value))
        return false;
    if (value.isEmpty())
        value = QString::fromLatin1(kEmpty.data(), static_cast<qsizetype>(kEmpty.size()));
    return true;
}

void TUninstallPage::B_AddUninstExprClick()
{
    QString value;
    if (!queryExpression(value))
        return;
    document().UninstExpressions.push_back(ss(value));
    LB_UninstExpressions->addItem(value);
    markModified();
}

void TUninstallPage::B_EditUninstExprClick()
{
    const int row = LB_UninstExpressions->currentRow();
    std::vector<std::string> &expressions = document().UninstExpressions;
    if (row < 0 || row >= static_cast<int>(expressions.size()))
        return;
    QString value = qs(expressions[static_cast<size_t>(row)]);
    if (!queryExpression(value))
        return;
    expressions[static_cast<size_t>(row)] = ss(value);
    LB_UninstExpressions->item(row)->setText(value);
    markModified();
}

void TUninstallPage::B_DeleteUninstExprClick()
{
    const int row = LB_UninstExpressions->currentRow();
    std::vector<std::string> &expressions = document().UninstExpressions;
    if (row < 0 || row >= static_cast<int>(expressions.size()))
        return;
    expressions.erase(expressions.begin() + row);
    delete LB_UninstExpressions->takeItem(row);
    LB_UninstExpressions->setCurrentRow(-1);
    LB_UninstExpressionsClick();
    markModified();
}

void TUninstallPage::LB_UninstExpressionsClick()
{
    const bool selected = LB_UninstExpressions->currentRow() >= 0;
    B_EditUninstExpr->setEnabled(selected);
    B_DeleteUninstExpr->setEnabled(selected);
}

} // namespace wharf
