#include "iconeditor.h"

#include "codec.h"
#include "dialogbuttons.h"
#include "entryfields.h"
#include "fileroutines.h"
#include "paths.h"
#include "projectcontroller.h"
#include "systemform.h"
#include "varform.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace wharf {
namespace {

constexpr size_t kFieldWidth = 255;
// Modifier codes by CB_HotKey item.
constexpr uint16_t kModifierCodes[] = {0, 4, 1, 2};

QString fromStd(const std::string &text) { return QString::fromStdString(text); }

// The key as one character in upper case; a letter whose upper case
// Windows-1252 cannot store stays as it is.
QString upperKey(const QString &character)
{
    if (character.size() != 1)
        return character;
    const QString upper(character.at(0).toUpper());
    return fitsWindows1252(upper.toStdString()) ? upper : character;
}

// The Windows-1252 code of a printable one-character key, in upper case.
std::optional<unsigned char> keyCode(const QString &character)
{
    if (character.size() != 1)
        return std::nullopt;
    const std::string utf8 = upperKey(character).toStdString();
    if (!fitsWindows1252(utf8))
        return std::nullopt;
    const std::string code = toWindows1252(utf8);
    if (code.size() != 1 || static_cast<unsigned char>(code[0]) < 0x20 || code[0] == 0x7F)
        return std::nullopt;
    return static_cast<unsigned char>(code[0]);
}

// E_Char takes nothing but a key the hot key can store.
class TKeyValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return input.isEmpty() || keyCode(input) ? Acceptable : Invalid;
    }
};

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

int HotKeyItemOf(uint16_t hotKey)
{
    switch (hotKey >> 8) {
    case 1:
        return hkShift;
    case 2:
        return hkCtrl;
    case 4:
        return hkAlt;
    default:
        return hkNone;
    }
}

QString HotKeyCharOf(uint16_t hotKey)
{
    const char code = static_cast<char>(hotKey & 0xFF);
    if (static_cast<unsigned char>(code) < 0x20 || code == 0x7F)
        return {};
    return QString::fromStdString(fromWindows1252(std::string_view(&code, 1)));
}

uint16_t EncodeHotKey(int item, const QString &character)
{
    if (item <= hkNone || item > hkCtrl)
        return 0;
    const std::optional<unsigned char> code = keyCode(character);
    return code ? static_cast<uint16_t>(kModifierCodes[item] * 256 + *code) : 0;
}

TIconEditor::TIconEditor(ProjectController &controller, const Seams &seams, TSystemForm *systemForm,
                         TVarForm *palette, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_seams(seams), m_systemForm(systemForm)
{
    setObjectName(QStringLiteral("IconEditor"));
    setProperty("HelpContext", helpContext());
    setWindowTitle(QStringLiteral("Icon properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    E_Location = edit("E_Location");
    E_Location->setText(QStringLiteral("{prg}"));
    E_Parameters = edit("E_Parameters");
    CB_IconTarget = new QComboBox(this);
    CB_IconTarget->setObjectName(QStringLiteral("CB_IconTarget"));
    CB_IconTarget->setEditable(true);
    CB_IconTarget->setInsertPolicy(QComboBox::NoInsert);
    E_WorkDir = edit("E_WorkDir");
    CB_ShowMode = new QComboBox(this);
    CB_ShowMode->setObjectName(QStringLiteral("CB_ShowMode"));
    CB_ShowMode->addItems({QStringLiteral("Normal"), QStringLiteral("Maximized"), QStringLiteral("Minimized")});
    CB_HotKey = new QComboBox(this);
    CB_HotKey->setObjectName(QStringLiteral("CB_HotKey"));
    CB_HotKey->addItems({QStringLiteral("(None)"), QStringLiteral("ALT"), QStringLiteral("SHIFT"), QStringLiteral("CTRL")});
    L_Plus = new QLabel(QStringLiteral("+"), this);
    L_Plus->setObjectName(QStringLiteral("L_Plus"));
    E_Char = edit("E_Char");
    E_Char->setMaxLength(1);
    E_Char->setValidator(new TKeyValidator(E_Char));
    E_Char->setFixedWidth(32);
    E_IconLocation = edit("E_IconLocation");
    SE_IconIndex = new QSpinBox(this);
    SE_IconIndex->setObjectName(QStringLiteral("SE_IconIndex"));
    // The index is stored in 16 bits.
    SE_IconIndex->setRange(0, 65535);
    E_IconTitle = edit("E_IconTitle");
    Bev_Icon = new QFrame(this);
    Bev_Icon->setObjectName(QStringLiteral("Bev_Icon"));
    Bev_Icon->setFrameShape(QFrame::Box);
    Bev_Icon->setFrameShadow(QFrame::Sunken);
    Bev_Icon->setMinimumSize(44, 44);
    I_Icon = new QLabel(Bev_Icon);
    I_Icon->setObjectName(QStringLiteral("I_Icon"));
    I_Icon->setAttribute(Qt::WA_TranslucentBackground);
    I_Icon->setAlignment(Qt::AlignCenter);
    auto *iconLayout = new QVBoxLayout(Bev_Icon);
    iconLayout->setContentsMargins(4, 4, 4, 4);
    iconLayout->addWidget(I_Icon);
    B_TargetSys = new QPushButton(QStringLiteral("Target &systems..."), this);
    B_TargetSys->setObjectName(QStringLiteral("B_TargetSys"));
    createOkCancelButtons(this, B_OK, B_Cancel);

    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString &caption, QWidget *field, QLayout *fieldLayout = nullptr) {
        grid->addWidget(label(caption, field, this), row, 0);
        if (fieldLayout)
            grid->addLayout(fieldLayout, row, 1);
        else
            grid->addWidget(field, row, 1);
        ++row;
    };
    addRow(QStringLiteral("Location:"), E_Location);
    addRow(QStringLiteral("Parameters:"), E_Parameters);
    addRow(QStringLiteral("Target:"), CB_IconTarget);
    addRow(QStringLiteral("Working dir.:"), E_WorkDir);
    addRow(QStringLiteral("Show mode:"), CB_ShowMode);
    auto *hotKeyLayout = new QHBoxLayout;
    hotKeyLayout->addWidget(CB_HotKey);
    hotKeyLayout->addWidget(L_Plus);
    hotKeyLayout->addWidget(E_Char);
    hotKeyLayout->addStretch();
    addRow(QStringLiteral("Hot key:"), CB_HotKey, hotKeyLayout);
    auto *iconRow = new QHBoxLayout;
    iconRow->addWidget(E_IconLocation, 1);
    iconRow->addWidget(label(QStringLiteral("Icon index:"), SE_IconIndex, this));
    iconRow->addWidget(SE_IconIndex);
    addRow(QStringLiteral("Icon location:"), E_IconLocation, iconRow);
    addRow(QStringLiteral("Title:"), E_IconTitle);
    grid->setColumnMinimumWidth(1, 300);

    auto *side = new QVBoxLayout;
    side->addWidget(Bev_Icon, 0, Qt::AlignHCenter);
    side->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addLayout(side);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_TargetSys);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(B_OK, &QPushButton::clicked, this, [this] {
        // A modifier means nothing without the key it goes with.
        if (CB_HotKey->currentIndex() > 0 && E_Char->text().trimmed().isEmpty()) {
            E_Char->setFocus();
            showError(m_seams, this, QStringLiteral("Please enter the key of the hot key, or choose \"(None)\"."));
            return;
        }
        if (!refuseUnstorableText(m_seams, this, {E_IconTitle, E_Location, E_Parameters, CB_IconTarget, E_WorkDir, E_IconLocation, E_Char}))
            return;
        B_OKClick();
        accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(B_TargetSys, &QPushButton::clicked, this, &TIconEditor::B_TargetSysClick);
    connect(CB_HotKey, &QComboBox::currentIndexChanged, this, &TIconEditor::CB_HotKeyChange);
    // Only the author's typing or picking fills the other boxes, never a load.
    connect(CB_IconTarget->lineEdit(), &QLineEdit::textEdited, this, &TIconEditor::CB_IconTargetChange);
    connect(CB_IconTarget, &QComboBox::textActivated, this, &TIconEditor::CB_IconTargetChange);
    connect(E_Char, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (const QString upper = upperKey(text); upper != text)
            E_Char->setText(upper);
    });
    connect(E_IconLocation, &QLineEdit::textChanged, this, &TIconEditor::SE_IconIndexChange);
    connect(SE_IconIndex, &QSpinBox::valueChanged, this, &TIconEditor::SE_IconIndexChange);

    if (palette) {
        for (QLineEdit *box : {E_Location, E_Parameters, E_WorkDir, E_IconLocation, E_IconTitle})
            palette->registerDropTarget(box);
        palette->registerDropTarget(CB_IconTarget);
        palette->attachToDialog(this);
    }
    CB_HotKeyChange();
}

int TIconEditor::ShowModal()
{
    const Project &project = m_controller.document();
    if (!entryAt(project.Shortcuts, project.Selection.Shortcut))
        return QDialog::Rejected;
    FormShow();
    return m_seams.modal->exec(*this);
}

QImage TIconEditor::GetEntryIcon(const QString &IconLocation, uint16_t Index) const
{
    return wharf::GetEntryIcon(m_controller.document(), m_controller.ProjectFolder(), IconLocation.toStdString(),
                               Index);
}

void TIconEditor::FormShow()
{
    const Project &project = m_controller.document();
    CB_IconTarget->clear();
    CB_IconTarget->addItems(projectDestinations(project));
    const ShortcutEntry *selected = entryAt(project.Shortcuts, project.Selection.Shortcut);
    if (!selected)
        return;
    const ShortcutEntry &entry = *selected;
    E_Location->setText(fromStd(entry.Path));
    E_Parameters->setText(fromStd(entry.Params));
    CB_IconTarget->setCurrentIndex(-1);
    CB_IconTarget->setEditText(fromStd(entry.Target));
    E_WorkDir->setText(fromStd(entry.WorkDir));
    E_IconTitle->setText(fromStd(entry.Title));
    CB_ShowMode->setCurrentIndex(entry.ShowMode <= 2 ? entry.ShowMode : 0);
    CB_HotKey->setCurrentIndex(HotKeyItemOf(entry.HotKey));
    E_Char->setText(upperKey(HotKeyCharOf(entry.HotKey)));
    CB_HotKeyChange();
    E_IconLocation->setText(fromStd(entry.Location));
    SE_IconIndex->setValue(entry.IconIndex);
    SE_IconIndexChange();
    m_targetSystems = entry.TargetSystems;
}

void TIconEditor::B_OKClick()
{
    Project &project = m_controller.document();
    ShortcutEntry *selected = entryAt(project.Shortcuts, project.Selection.Shortcut);
    if (!selected)
        return;
    ShortcutEntry &entry = *selected;
    entry.Path = cutText(textOrEmptyMarker(E_Location), kFieldWidth);
    entry.Params = cutText(textOrEmptyMarker(E_Parameters), kFieldWidth);
    entry.Target = cutText(textOrEmptyMarker(CB_IconTarget), kFieldWidth);
    entry.Title = textOrEmptyMarker(E_IconTitle);
    entry.Location = cutText(textOrEmptyMarker(E_IconLocation), kFieldWidth);
    entry.WorkDir = cutText(E_WorkDir->text().toStdString(), kFieldWidth);
    entry.ShowMode = static_cast<uint16_t>(std::max(0, CB_ShowMode->currentIndex()));
    entry.HotKey = EncodeHotKey(CB_HotKey->currentIndex(), E_Char->text());
    entry.IconIndex = static_cast<uint16_t>(SE_IconIndex->value());
    entry.TargetSystems = m_targetSystems;
    m_controller.SetModified(true);
}

void TIconEditor::B_TargetSysClick()
{
    if (m_systemForm)
        m_targetSystems = EditTargetSystems(*m_systemForm, m_targetSystems);
}

void TIconEditor::CB_HotKeyChange()
{
    const bool withKey = CB_HotKey->currentIndex() > hkNone;
    E_Char->setEnabled(withKey);
    L_Plus->setEnabled(withKey);
}

void TIconEditor::CB_IconTargetChange()
{
    const std::string target = CB_IconTarget->currentText().toStdString();
    E_IconTitle->setText(fromStd(extractFileName(target)));
    E_IconLocation->setText(fromStd(target));
    E_WorkDir->setText(fromStd(StripTrailingBackslash(extractFilePath(target))));
    SE_IconIndexChange();
}

void TIconEditor::SE_IconIndexChange()
{
    m_preview = GetEntryIcon(E_IconLocation->text(), static_cast<uint16_t>(SE_IconIndex->value()));
    I_Icon->setPixmap(m_preview.isNull() ? QPixmap() : QPixmap::fromImage(m_preview));
}

} // namespace wharf
