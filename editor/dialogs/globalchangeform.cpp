#include "globalchangeform.h"

#include "dialogbuttons.h"
#include "seams.h"
#include "varform.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

Qt::CheckState checkStateOf(TriState state)
{
    switch (state) {
    case TriState::Checked: return Qt::Checked;
    case TriState::Mixed: return Qt::PartiallyChecked;
    case TriState::Unchecked: break;
    }
    return Qt::Unchecked;
}

TriState triStateOf(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked: return TriState::Checked;
    case Qt::PartiallyChecked: return TriState::Mixed;
    case Qt::Unchecked: break;
    }
    return TriState::Unchecked;
}

TGreyCheckBox *optionBox(QWidget *parent, const char *name, const char *caption)
{
    auto *box = new TGreyCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setTristate(true);
    return box;
}

} // namespace

void TGreyCheckBox::nextCheckState() { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }

TGlobalChangeForm::TGlobalChangeForm(QWidget *parent, const Seams &seams)
    : QDialog(parent), m_seams(seams)
{
    setObjectName(QStringLiteral("GlobalChangeForm"));
    setWindowTitle(QStringLiteral("Change properties of all files in this group"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

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
    auto *options = new QVBoxLayout(GB_Options);
    for (TGreyCheckBox *box : optionBoxes())
        options->addWidget(box);

    L_TargetSystems = new QLabel(QStringLiteral("Target systems:"), this);
    L_TargetSystems->setObjectName(QStringLiteral("L_TargetSystems"));
    CLB_System = new QListWidget(this);
    CLB_System->setObjectName(QStringLiteral("CLB_System"));
    for (std::string_view name : kTargetSystemNames) {
        auto *item =
            new QListWidgetItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), CLB_System);
        // Without the user tristate flag a click turns a grey entry checked.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    CLB_System->setMinimumWidth(240);
    L_TargetSystems->setBuddy(CLB_System);

    L_DestFldr = new QLabel(QStringLiteral("Destination folder:"), this);
    L_DestFldr->setObjectName(QStringLiteral("L_DestFldr"));
    E_DestFldr = new QLineEdit(this);
    E_DestFldr->setObjectName(QStringLiteral("E_DestFldr"));
    L_DestFldr->setBuddy(E_DestFldr);

    createOkCancelButtons(this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *systems = new QVBoxLayout;
    systems->addWidget(L_TargetSystems);
    systems->addWidget(CLB_System);
    auto *top = new QHBoxLayout;
    top->addWidget(GB_Options);
    top->addLayout(systems);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(L_DestFldr);
    layout->addWidget(E_DestFldr);
    layout->addLayout(buttons);

}

void TGlobalChangeForm::usePalette(TVarForm &palette)
{
    palette.registerDropTarget(E_DestFldr);
    palette.attachToDialog(this);
}

std::array<TGreyCheckBox *, 9> TGlobalChangeForm::optionBoxes() const
{
    return {Ch_CompareVersions, Ch_CompareTimeStamps, Ch_SharedFile, Ch_InUse,      Ch_RegServer,
            Ch_Overwrite,       Ch_Uninstall,         Ch_External,   Ch_InstallFont};
}

void TGlobalChangeForm::FormShow(const std::vector<FileEntry> &files)
{
    const GroupChange common = groupChangeFor(files);
    const auto boxes = optionBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setCheckState(checkStateOf(common.Options[i]));
    for (int i = 0; i < CLB_System->count() && i < kTargetSystemCount; ++i)
        CLB_System->item(i)->setCheckState(checkStateOf(common.Systems[static_cast<size_t>(i)]));
    E_DestFldr->setText(QString::fromStdString(common.DestinationFolder));
}

GroupChange TGlobalChangeForm::change() const
{
    GroupChange result;
    const auto boxes = optionBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        result.Options[i] = triStateOf(boxes[i]->checkState());
    for (int i = 0; i < kTargetSystemCount; ++i) {
        const QListWidgetItem *item = CLB_System->item(i);
        result.Systems[static_cast<size_t>(i)] = item ? triStateOf(item->checkState()) : TriState::Mixed;
    }
    QString folder = E_DestFldr->text();
    folder.remove(u'\r');
    folder.remove(u'\n');
    result.DestinationFolder = folder.trimmed().toStdString();
    return result;
}

int TGlobalChangeForm::ShowModal() { return m_seams.modal->exec(*this); }

} // namespace wharf
