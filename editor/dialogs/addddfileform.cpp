#include "addddfileform.h"

#include "dialogbuttons.h"
#include "seams.h"
#include "varform.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {

TAddDDFileForm::TAddDDFileForm(QWidget *parent, const Seams &seams)
    : QDialog(parent), m_seams(seams)
{
    setObjectName(QStringLiteral("AddDDFileForm"));
    setWindowTitle(QStringLiteral("Add file(s)"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("HelpContext", kHelpContext);

    L_Caption = new QLabel(QStringLiteral("Copy this file/these files to the following folder:"), this);
    L_Caption->setObjectName(QStringLiteral("L_Caption"));
    E_Input = new QLineEdit(this);
    E_Input->setObjectName(QStringLiteral("E_Input"));
    E_Input->setMinimumWidth(320);
    L_Caption->setBuddy(E_Input);
    Ch_RelativePath = new QCheckBox(QStringLiteral("Use relative path(s)"), this);
    Ch_RelativePath->setObjectName(QStringLiteral("Ch_RelativePath"));
    Ch_Dump = new QCheckBox(QStringLiteral("Check file dependencies (executables/libraries only)"), this);
    Ch_Dump->setObjectName(QStringLiteral("Ch_Dump"));
    createOkCancelButtons(this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Caption);
    layout->addWidget(E_Input);
    layout->addWidget(Ch_RelativePath);
    layout->addWidget(Ch_Dump);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

}

void TAddDDFileForm::usePalette(TVarForm &palette)
{
    palette.registerDropTarget(E_Input);
    palette.attachToDialog(this);
}

int TAddDDFileForm::ShowModal() { return m_seams.modal->exec(*this); }

} // namespace wharf
