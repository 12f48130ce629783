#include "exexecutableeditor.h"

#include "dialogbuttons.h"
#include "entryfields.h"
#include "projectcontroller.h"
#include "systemform.h"
#include "varform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

ExternalProgram *selectedProgram(Project &project) { return entryAt(project.ExternalPrograms, project.Selection.ExternalProgram); }

} // namespace

TExExecutableEditor::TExExecutableEditor(ProjectController &controller, const Seams &seams,
                                         TSystemForm *systemForm, TVarForm *palette, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_seams(seams), m_systemForm(systemForm)
{
    setObjectName(QStringLiteral("ExExecutableEditor"));
    setProperty("HelpContext", helpContext());
    setWindowTitle(QStringLiteral("Executable extension properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    CB_ExFileName = new QComboBox(this);
    CB_ExFileName->setObjectName(QStringLiteral("CB_ExFileName"));
    CB_ExFileName->setEditable(true);
    CB_ExFileName->setInsertPolicy(QComboBox::NoInsert);
    CB_ExFileName->setMinimumWidth(320);
    CB_WhenExecute = new QComboBox(this);
    CB_WhenExecute->setObjectName(QStringLiteral("CB_WhenExecute"));
    CB_WhenExecute->addItems({QStringLiteral("Installation"), QStringLiteral("Uninstallation")});
    Ch_Wait = new QCheckBox(QStringLiteral("Wait for application"), this);
    Ch_Wait->setObjectName(QStringLiteral("Ch_Wait"));
    B_TargetSys = new QPushButton(QStringLiteral("Target &systems..."), this);
    B_TargetSys->setObjectName(QStringLiteral("B_TargetSys"));
    createOkCancelButtons(this, B_OK, B_Cancel);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("File name:"), CB_ExFileName);
    form->addRow(QStringLiteral("Execute at:"), CB_WhenExecute);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_TargetSys);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Ch_Wait);
    layout->addLayout(buttons);

    connect(B_OK, &QPushButton::clicked, this, [this] {
        if (!refuseUnstorableText(m_seams, this, {CB_ExFileName}))
            return;
        B_OKClick();
        accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(B_TargetSys, &QPushButton::clicked, this, &TExExecutableEditor::B_TargetSysClick);
    if (palette) {
        palette->registerDropTarget(CB_ExFileName);
        palette->attachToDialog(this);
    }
}

int TExExecutableEditor::ShowModal()
{
    if (!selectedProgram(m_controller.document()))
        return QDialog::Rejected;
    FormShow();
    return m_seams.modal->exec(*this);
}

void TExExecutableEditor::FormShow()
{
    Project &project = m_controller.document();
    CB_ExFileName->clear();
    for (const QString &destination : projectDestinations(project))
        CB_ExFileName->addItem(u'"' + destination + u'"');
    const ExternalProgram *program = selectedProgram(project);
    if (!program)
        return;
    CB_ExFileName->setCurrentIndex(-1);
    CB_ExFileName->setEditText(QString::fromStdString(program->Command));
    CB_WhenExecute->setCurrentIndex(program->Uninstallation ? 1 : 0);
    Ch_Wait->setChecked(program->Wait);
    m_targetSystems = program->TargetSystems;
}

void TExExecutableEditor::B_OKClick()
{
    ExternalProgram *program = selectedProgram(m_controller.document());
    if (!program)
        return;
    program->Command = textOrEmptyMarker(CB_ExFileName);
    program->Uninstallation = CB_WhenExecute->currentIndex() == 1;
    program->Wait = Ch_Wait->isChecked();
    program->TargetSystems = m_targetSystems;
    m_controller.SetModified(true);
}

void TExExecutableEditor::B_TargetSysClick()
{
    if (m_systemForm)
        m_targetSystems = EditTargetSystems(*m_systemForm, m_targetSystems);
}

} // namespace wharf
