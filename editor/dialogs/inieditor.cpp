#include "inieditor.h"

#include "entryfields.h"
#include "projectcontroller.h"
#include "systemform.h"
#include "varform.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

IniEntry *selectedEntry(Project &project) { return entryAt(project.IniEntries, project.Selection.IniEntry); }

} // namespace

TINIEditor::TINIEditor(ProjectController &controller, const Seams &seams, TSystemForm *systemForm, TVarForm *palette,
                       QWidget *parent)
    : QDialog(parent), m_controller(controller), m_seams(seams), m_systemForm(systemForm)
{
    setObjectName(QStringLiteral("INIEditor"));
    setProperty("HelpContext", helpContext());
    setWindowTitle(QStringLiteral("Create/Edit INI entry"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(280);
        return e;
    };
    const auto check = [this](const char *name, const char *caption) {
        auto *c = new QCheckBox(QString::fromLatin1(caption), this);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    const auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    E_INIFile = edit("E_INIFile");
    E_INISection = edit("E_INISection");
    E_INIKey = edit("E_INIKey");
    E_INIValue = edit("E_INIValue");
    Ch_UninstINIKey = check("Ch_UninstINIKey", "Uninstall key");
    Ch_OverwriteINIKey = check("Ch_OverwriteINIKey", "Overwrite if exists");
    Ch_CreateINIKey = check("Ch_CreateINIKey", "Create key if doesn't exist");
    B_TargetSys = button("B_TargetSys", "Target &systems...");
    B_OK = button("B_OK", "OK");
    B_OK->setDefault(true);
    B_Cancel = button("B_Cancel", "&Cancel");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("INI file name:"), E_INIFile);
    form->addRow(QStringLiteral("Section name:"), E_INISection);
    form->addRow(QStringLiteral("Key name:"), E_INIKey);
    form->addRow(QStringLiteral("Value:"), E_INIValue);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_TargetSys);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Ch_UninstINIKey);
    layout->addWidget(Ch_OverwriteINIKey);
    layout->addWidget(Ch_CreateINIKey);
    layout->addLayout(buttons);

    connect(B_OK, &QPushButton::clicked, this, [this] {
        if (!refuseUnstorableText(m_seams, this, {E_INIFile, E_INISection, E_INIKey, E_INIValue}))
            return;
        B_OKClick();
        accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(B_TargetSys, &QPushButton::clicked, this, &TINIEditor::B_TargetSysClick);
    if (palette) {
        for (QLineEdit *box : {E_INIFile, E_INISection, E_INIKey, E_INIValue})
            palette->registerDropTarget(box);
        palette->attachToDialog(this);
    }
}

int TINIEditor::ShowModal()
{
    if (!selectedEntry(m_controller.document()))
        return QDialog::Rejected;
    FormShow();
    return m_seams.modal->exec(*this);
}

void TINIEditor::FormShow()
{
    const IniEntry *entry = selectedEntry(m_controller.document());
    if (!entry)
        return;
    E_INIFile->setText(QString::fromStdString(entry->FileName));
    E_INISection->setText(QString::fromStdString(entry->Section));
    E_INIKey->setText(QString::fromStdString(entry->KeyName));
    E_INIValue->setText(QString::fromStdString(entry->Value));
    Ch_UninstINIKey->setChecked(entry->Uninstall);
    Ch_OverwriteINIKey->setChecked(entry->Overwrite);
    Ch_CreateINIKey->setChecked(entry->Create);
    m_targetSystems = entry->TargetSystems;
}

void TINIEditor::B_OKClick()
{
    IniEntry *entry = selectedEntry(m_controller.document());
    if (!entry)
        return;
    entry->FileName = textOrEmptyMarker(E_INIFile);
    entry->Section = textOrEmptyMarker(E_INISection);
    entry->KeyName = textOrEmptyMarker(E_INIKey);
    entry->Value = textOrEmptyMarker(E_INIValue);
    entry->Uninstall = Ch_UninstINIKey->isChecked();
    entry->Overwrite = Ch_OverwriteINIKey->isChecked();
    entry->Create = Ch_CreateINIKey->isChecked();
    entry->TargetSystems = m_targetSystems;
    m_controller.SetModified(true);
}

void TINIEditor::B_TargetSysClick()
{
    if (m_systemForm)
        m_targetSystems = EditTargetSystems(*m_systemForm, m_targetSystems);
}

} // namespace wharf
