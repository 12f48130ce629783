#include "fileeditor.h"

#include "buttonedits.h"
#include "dialogbuttons.h"
#include "entryfields.h"
#include "groupchange.h"
#include "layouttaborder.h"
#include "seams.h"
#include "systemform.h"
#include "varform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr size_t kMaxText = 255;

QCheckBox *optionBox(QWidget *parent, const char *name, const char *caption)
{
    auto *box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A field's text as the project keeps it: one line.
std::string lineText(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text.toStdString();
}

// A single-line field's text as the project keeps it: no line breaks, at
// most 255 characters.
std::string fieldText(const QString &text) { return cutText(lineText(text), kMaxText); }

// Puts a stored path into a file-name edit; a name the edit refuses as a
// file name is shown as it is rather than lost.
void setPath(TFilenameEdit *edit, const std::string &path)
{
    const QString value = QString::fromStdString(path);
    try {
        edit->SetFileName(value);
    } catch (const EButtonEditError &) {
        edit->setText(value);
    }
}

} // namespace

TFileEditor::TFileEditor(QWidget *parent, const Seams &seams, TVarForm *palette, TSystemForm *systems)
    : QDialog(parent), m_seams(seams), m_systems(systems)
{
    setObjectName(QStringLiteral("FileEditor"));
    setWindowTitle(QStringLiteral("File properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("HelpContext", kHelpContext);

    const auto label = [this](const char *name, const char *caption) {
        auto *l = new QLabel(QString::fromUtf8(caption), this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    L_SourcePath = label("L_SourcePath", "Source path:");
    FE_SourcePath = new TFilenameEdit(this, seams);
    FE_SourcePath->setObjectName(QStringLiteral("FE_SourcePath"));
    L_DestPath = label("L_DestPath", "Destination path:");
    E_DestPath = new QLineEdit(this);
    E_DestPath->setObjectName(QStringLiteral("E_DestPath"));
    L_Description = label("L_Description", "Description");
    E_Description = new QLineEdit(this);
    E_Description->setObjectName(QStringLiteral("E_Description"));
    L_PatchedFile = label("L_PatchedFile", "Patched file:");
    L_PatchedFile->setEnabled(false);
    FE_PatchedFile = new TFilenameEdit(this, seams);
    FE_PatchedFile->setObjectName(QStringLiteral("FE_PatchedFile"));
    FE_PatchedFile->setEnabled(false);
    L_TempFile = label("L_TempFile", "Temporary file name:");
    L_TempFileName = label("L_TempFileName", "");
    L_TempFileName->setTextFormat(Qt::PlainText);

    GB_Options = new QGroupBox(QStringLiteral("Options"), this);
    GB_Options->setObjectName(QStringLiteral("GB_Options"));
    Ch_CompareVersions = optionBox(GB_Options, "Ch_CompareVersions", "Compare versions");
    Ch_CompareTimeStamps = optionBox(GB_Options, "Ch_CompareTimeStamps", "Compare time stamps");
    Ch_SharedFile = optionBox(GB_Options, "Ch_SharedFile", "Shared");
    Ch_InUse = optionBox(GB_Options, "Ch_InUse", "In-use file");
    Ch_RegServer = optionBox(GB_Options, "Ch_RegServer", "Register COM server/TLB");
    Ch_Overwrite = optionBox(GB_Options, "Ch_Overwrite", "Overwrite");
    Ch_Uninstall = optionBox(GB_Options, "Ch_Uninstall", "Uninstall");
    Ch_External = optionBox(GB_Options, "Ch_External", "External file");
    Ch_InstallFont = optionBox(GB_Options, "Ch_InstallFont", "Install font");
    auto *options = new QGridLayout(GB_Options);
    const auto boxes = optionBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        options->addWidget(boxes[i], static_cast<int>(i % 5), static_cast<int>(i / 5));

    B_TargetSys = new QPushButton(QStringLiteral("Target &systems..."), this);
    B_TargetSys->setObjectName(QStringLiteral("B_TargetSys"));
    createOkCancelButtons(this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, [this] {
        if (refuseUnstorableText(m_seams, this, {FE_SourcePath, E_DestPath, FE_PatchedFile, E_Description}))
            accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(B_TargetSys, &QPushButton::clicked, this, [this] { B_TargetSysClick(); });
    connect(FE_PatchedFile, &QLineEdit::textChanged, this, [this] { FE_PatchedFileChange(); });

    auto *fields = new QGridLayout;
    fields->addWidget(L_SourcePath, 0, 0);
    fields->addWidget(FE_SourcePath, 0, 1);
    fields->addWidget(L_DestPath, 1, 0);
    fields->addWidget(E_DestPath, 1, 1);
    fields->addWidget(L_Description, 2, 0);
    fields->addWidget(E_Description, 2, 1);
    fields->addWidget(L_PatchedFile, 3, 0);
    fields->addWidget(FE_PatchedFile, 3, 1);
    fields->addWidget(L_TempFile, 4, 0);
    fields->addWidget(L_TempFileName, 4, 1);
    fields->setColumnMinimumWidth(1, 320);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_TargetSys);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(GB_Options);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrderFromLayout(*this);

    if (palette) {
        palette->registerDropTarget(E_DestPath);
        palette->registerDropTarget(E_Description);
        palette->attachToDialog(this);
    }
}

std::array<QCheckBox *, 9> TFileEditor::optionBoxes() const
{
    return {Ch_CompareVersions, Ch_CompareTimeStamps, Ch_SharedFile, Ch_InUse,      Ch_RegServer,
            Ch_Overwrite,       Ch_Uninstall,         Ch_External,   Ch_InstallFont};
}

void TFileEditor::loadEntry(const FileEntry &entry, const FileEditorContext &context)
{
    m_context = context;
    m_source = entry.Source;
    FE_PatchedFile->setEnabled(context.partialUpdates);
    L_PatchedFile->setEnabled(context.partialUpdates);
    setPath(FE_SourcePath, entry.Source);
    setPath(FE_PatchedFile, entry.PatchedFile);
    E_DestPath->setText(QString::fromStdString(entry.Destination));
    E_Description->setText(QString::fromStdString(entry.Description));
    const auto boxes = optionBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(fileOption(entry, static_cast<FileOption>(i)));
    m_targetSystems = entry.TargetSystems;
    FormShow();
}

void TFileEditor::storeEntry(FileEntry &entry) const
{
    // The source path has no length limit of its own: a long one is kept.
    entry.Source = lineText(FE_SourcePath->GetFileName());
    entry.PatchedFile = fieldText(FE_PatchedFile->GetFileName());
    entry.Destination = fieldText(E_DestPath->text());
    entry.Description = fieldText(E_Description->text());
    const auto boxes = optionBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        setFileOption(entry, static_cast<FileOption>(i), boxes[i]->isChecked());
    entry.TargetSystems = m_targetSystems;
}

int TFileEditor::ShowModal() { return m_seams.modal->exec(*this); }

void TFileEditor::FormShow()
{
    Ch_Uninstall->setEnabled(m_context.uninstaller);
    const bool variable = m_source.find('{') != std::string::npos;
    L_TempFile->setVisible(!variable);
    L_TempFileName->setVisible(!variable);
    if (variable) {
        // The runtime resolves such a source: it can only lie beside the
        // setup, and nothing can be patched against it.
        Ch_External->setChecked(true);
        Ch_External->setEnabled(false);
        FE_PatchedFile->setEnabled(false);
        L_PatchedFile->setEnabled(false);
        m_externalAllowed = false;
        return;
    }
    m_externalAllowed = true;
    Ch_External->setEnabled(true);
    L_TempFileName->setText(QStringLiteral("{tmp}\\%1.tmp").arg(m_context.fileOrdinal));
    FE_PatchedFileChange();
}

void TFileEditor::B_TargetSysClick()
{
    if (m_systems)
        m_targetSystems = EditTargetSystems(*m_systems, m_targetSystems);
}

void TFileEditor::FE_PatchedFileChange()
{
    const bool patched = !FE_PatchedFile->GetFileName().isEmpty();
    Ch_External->setEnabled(m_externalAllowed && !patched);
    if (!Ch_External->isEnabled() && patched)
        Ch_External->setChecked(false);
}

} // namespace wharf
