#include "exdlleditor.h"

#include "entryfields.h"
#include "buttonedits.h"
#include "dialogbuttons.h"
#include "paths.h"
#include "projectcontroller.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdint>

namespace wharf {
namespace {

DllCall *selectedCall(Project &project) { return entryAt(project.DllCalls, project.Selection.DllCall); }

} // namespace

int32_t SignedDialogIndex(bool uninstallation, int item)
{
    if (item < 0)
        return 0;
    return uninstallation ? -(item + 1) : item + 1;
}

void SplitDialogIndex(int32_t index, bool &uninstallation, int &item)
{
    uninstallation = index < 0;
    // The smallest integer has no positive counterpart; it names no dialog.
    const int64_t k = index < 0 ? -static_cast<int64_t>(index) : index;
    item = k == 0 || k > INT32_MAX ? -1 : static_cast<int>(k - 1);
}

TExDllEditor::TExDllEditor(ProjectController &controller, const Seams &seams, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_seams(seams)
{
    setObjectName(QStringLiteral("ExDllEditor"));
    setProperty("HelpContext", helpContext());
    setWindowTitle(QStringLiteral("DLL extension properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    FE_FileName = new TFilenameEdit(this, seams);
    FE_FileName->setObjectName(QStringLiteral("FE_FileName"));
    FE_FileName->setFilter(QStringLiteral("Dynamic Link Libraries (*.dll)|*.dll"));
    FE_FileName->setMinimumWidth(320);
    E_FuncName = new QLineEdit(this);
    E_FuncName->setObjectName(QStringLiteral("E_FuncName"));
    RG_WhenExecute = new QGroupBox(QStringLiteral("Execute at..."), this);
    RG_WhenExecute->setObjectName(QStringLiteral("RG_WhenExecute"));
    RG_WhenExecuteItems = new QButtonGroup(RG_WhenExecute);
    auto *groupLayout = new QVBoxLayout(RG_WhenExecute);
    const QString items[] = {QStringLiteral("Installation"), QStringLiteral("Uninstallation")};
    for (int i = 0; i < 2; ++i) {
        auto *radio = new QRadioButton(items[i], RG_WhenExecute);
        radio->setObjectName(QStringLiteral("RG_WhenExecute_%1").arg(i));
        RG_WhenExecuteItems->addButton(radio, i);
        groupLayout->addWidget(radio);
    }
    setWhenExecuteIndex(0);
    CB_DlgCombo = new QComboBox(this);
    CB_DlgCombo->setObjectName(QStringLiteral("CB_DlgCombo"));
    createOkCancelButtons(this, B_OK, B_Cancel);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("File name:"), FE_FileName);
    form->addRow(QStringLiteral("Function name:"), E_FuncName);
    auto *after = new QFormLayout;
    after->addRow(QStringLiteral("Execute after:"), CB_DlgCombo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(RG_WhenExecute);
    layout->addLayout(after);
    layout->addLayout(buttons);

    connect(B_OK, &QPushButton::clicked, this, [this] {
        if (!refuseUnstorableText(m_seams, this, {FE_FileName, E_FuncName}))
            return;
        B_OKClick();
        accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Only a change of the list refills the dialogs: clicking the item that
    // is already chosen keeps the chosen dialog.
    connect(RG_WhenExecuteItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RG_WhenExecuteClick();
    });
}

int TExDllEditor::WhenExecuteIndex() const { return RG_WhenExecuteItems->checkedId(); }

void TExDllEditor::setWhenExecuteIndex(int index)
{
    if (QAbstractButton *button = RG_WhenExecuteItems->button(index))
        button->setChecked(true);
}

int TExDllEditor::ShowModal()
{
    if (!selectedCall(m_controller.document()))
        return QDialog::Rejected;
    FormShow();
    return m_seams.modal->exec(*this);
}

void TExDllEditor::FormShow()
{
    const DllCall *call = selectedCall(m_controller.document());
    if (!call)
        return;
    FE_FileName->SetFileName(QString::fromStdString(call->FileName));
    E_FuncName->setText(QString::fromStdString(call->FunctionName));
    bool uninstallation = false;
    int item = -1;
    SplitDialogIndex(call->ExecuteAfter, uninstallation, item);
    setWhenExecuteIndex(uninstallation ? 1 : 0);
    RG_WhenExecuteClick();
    CB_DlgCombo->setCurrentIndex(item < CB_DlgCombo->count() ? item : -1);
}

void TExDllEditor::RG_WhenExecuteClick()
{
    const Project &project = m_controller.document();
    const std::vector<std::string> &dialogs = WhenExecuteIndex() == 1 ? project.UninstallDialogs : project.Dialogs;
    CB_DlgCombo->clear();
    for (const std::string &dialog : dialogs)
        CB_DlgCombo->addItem(QString::fromStdString(extractFileName(dialog)));
    CB_DlgCombo->setCurrentIndex(CB_DlgCombo->count() > 0 ? 0 : -1);
}

void TExDllEditor::B_OKClick()
{
    DllCall *call = selectedCall(m_controller.document());
    if (!call)
        return;
    call->FileName = FE_FileName->FileName().toStdString();
    call->FunctionName = E_FuncName->text().toStdString();
    call->ExecuteAfter = SignedDialogIndex(WhenExecuteIndex() == 1, CB_DlgCombo->currentIndex());
    m_controller.SetModified(true);
}

} // namespace wharf
