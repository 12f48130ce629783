#include "addfileform.h"

#include "addddfileform.h"
#include "buttonedits.h"
#include "dialogbuttons.h"
#include "seams.h"
#include "varform.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {

TAddFileForm::TAddFileForm(QWidget *parent, const Seams &seams)
    : QDialog(parent), m_seams(seams)
{
    setObjectName(QStringLiteral("AddFileForm"));
    setWindowTitle(QStringLiteral("Add file"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("HelpContext", kHelpContext);

    L_FileName = new QLabel(QStringLiteral("File name:"), this);
    L_FileName->setObjectName(QStringLiteral("L_FileName"));
    FE_FileName = new TFilenameEdit(this, seams);
    FE_FileName->setObjectName(QStringLiteral("FE_FileName"));
    FE_FileName->setMinimumWidth(320);
    L_FileName->setBuddy(FE_FileName);
    Ch_RelativePath = new QCheckBox(QStringLiteral("Use relative source path"), this);
    Ch_RelativePath->setObjectName(QStringLiteral("Ch_RelativePath"));
    Ch_Dump = new QCheckBox(QStringLiteral("Check file dependencies (executables/libraries only)"), this);
    Ch_Dump->setObjectName(QStringLiteral("Ch_Dump"));
    createOkCancelButtons(this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Ch_RelativePath, &QCheckBox::toggled, this, [this] { Ch_RelativePathClick(); });
    connect(Ch_Dump, &QCheckBox::toggled, this, [this] { Ch_DumpClick(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_FileName);
    layout->addWidget(FE_FileName);
    layout->addWidget(Ch_RelativePath);
    layout->addWidget(Ch_Dump);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setFocusProxy(FE_FileName);

}

void TAddFileForm::usePalette(TVarForm &palette)
{
    palette.registerDropTarget(FE_FileName);
    palette.attachToDialog(this);
}

void TAddFileForm::mirrorChecks(TAddDDFileForm &other)
{
    m_twin = &other;
    connect(&other, &QObject::destroyed, this, [this] { m_twin = nullptr; });
    // The other form's boxes set these; setChecked with an unchanged state
    // emits nothing, so the two never echo each other forever.
    connect(other.Ch_RelativePath, &QCheckBox::toggled, Ch_RelativePath, &QCheckBox::setChecked);
    connect(other.Ch_Dump, &QCheckBox::toggled, Ch_Dump, &QCheckBox::setChecked);
    Ch_RelativePathClick();
    Ch_DumpClick();
}

void TAddFileForm::FormShow() { FE_FileName->clear(); }

int TAddFileForm::ShowModal()
{
    FormShow();
    FE_FileName->setFocus(Qt::OtherFocusReason);
    return m_seams.modal->exec(*this);
}

QString TAddFileForm::fileName() const
{
    QString name = FE_FileName->GetFileName();
    name.remove(u'\r');
    name.remove(u'\n');
    return name.trimmed();
}

void TAddFileForm::Ch_RelativePathClick()
{
    if (m_twin)
        m_twin->Ch_RelativePath->setChecked(Ch_RelativePath->isChecked());
}

void TAddFileForm::Ch_DumpClick()
{
    if (m_twin)
        m_twin->Ch_Dump->setChecked(Ch_Dump->isChecked());
}

} // namespace wharf
