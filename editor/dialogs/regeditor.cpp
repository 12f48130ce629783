#include "regeditor.h"

#include "entryfields.h"
#include "dialogbuttons.h"
#include "projectcontroller.h"
#include "registrytree.h"
#include "varform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyleOption>
#include <QToolButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr int kMaxValueChars = 255;

QLabel *boldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QString hexCaption(uint32_t value)
{
    return QStringLiteral("Hex: ") + QString::fromStdString(dwordText(value));
}

// A pasted line break would otherwise reach the project file's lines.
QString singleLine(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The value box without items draws no arrow and gives its text box the
// arrow's room as well, so it looks and works as a plain edit box.
class PlainBoxStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        const auto *box = qobject_cast<const QComboBox *>(widget);
        if (control != CC_ComboBox || !box || box->count() > 0)
            return QProxyStyle::subControlRect(control, option, part, widget);
        if (part == SC_ComboBoxArrow)
            return {};
        if (part == SC_ComboBoxEditField) {
            const int frame = pixelMetric(PM_DefaultFrameWidth, option, widget);
            return option->rect.adjusted(frame + 2, frame, -frame - 2, -frame);
        }
        return QProxyStyle::subControlRect(control, option, part, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const auto *box = qobject_cast<const QComboBox *>(widget);
        if (control != CC_ComboBox || !box || box->count() > 0) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // The frame of a line edit, not a combo box's button face.
        QStyleOptionFrame frame;
        frame.QStyleOption::operator=(*option);
        frame.lineWidth = pixelMetric(PM_DefaultFrameWidth, option, widget);
        frame.midLineWidth = 0;
        frame.state |= State_Sunken;
        drawPrimitive(PE_PanelLineEdit, &frame, painter, widget);
    }
};

// The value box: a drop-down list for BOOL, a plain edit box (no arrow, no
// list) for the other types, which have no items.
class ValueBox : public QComboBox {
public:
    explicit ValueBox(QWidget *parent) : QComboBox(parent)
    {
        setStyle(&m_style);
        // A new or emptied list changes the text box's room.
        connect(model(), &QAbstractItemModel::rowsInserted, this, &ValueBox::itemsChanged);
        connect(model(), &QAbstractItemModel::rowsRemoved, this, &ValueBox::itemsChanged);
        connect(model(), &QAbstractItemModel::modelReset, this, &ValueBox::itemsChanged);
    }

    void showPopup() override
    {
        if (count() > 0)
            QComboBox::showPopup();
    }

private:
    void itemsChanged()
    {
        QResizeEvent resized(size(), size());
        QCoreApplication::sendEvent(this, &resized);
        update();
    }

    PlainBoxStyle m_style;
};

} // namespace

TRegEditor::TRegEditor(ProjectController &controller, TVarForm *palette, const Seams &seams, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_seams(seams)
{
    setObjectName(QStringLiteral("RegEditor"));
    setProperty("HelpContext", helpContext());
    setWindowTitle(QStringLiteral("Edit Registry value"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    L_ValueTypeCaption = boldLabel(QStringLiteral("Value type:"), this);
    L_ValueType = new QLabel(this);
    L_ValueType->setObjectName(QStringLiteral("L_ValueType"));
    L_Hex = new QLabel(QStringLiteral("Hex:"), this);
    L_Hex->setObjectName(QStringLiteral("L_Hex"));
    L_Hex->hide();
    L_ValueCaption = boldLabel(QStringLiteral("Value:"), this);

    CB_Value = new ValueBox(this);
    CB_Value->setObjectName(QStringLiteral("CB_Value"));
    CB_Value->setEditable(true);
    CB_Value->setInsertPolicy(QComboBox::NoInsert);
    CB_Value->setMinimumWidth(280);
    CB_Value->lineEdit()->setMaxLength(kMaxValueChars);
    CB_Value->lineEdit()->installEventFilter(this);
    // Only the author's edits: setting the text from code must not step.
    connect(CB_Value->lineEdit(), &QLineEdit::textEdited, this, &TRegEditor::CB_ValueChange);
    connect(CB_Value, &QComboBox::textActivated, this, &TRegEditor::CB_ValueChange);

    SB_EditInt = new QWidget(this);
    SB_EditInt->setObjectName(QStringLiteral("SB_EditInt"));
    SB_EditIntUp = new QToolButton(SB_EditInt);
    SB_EditIntUp->setObjectName(QStringLiteral("SB_EditIntUp"));
    SB_EditIntUp->setArrowType(Qt::UpArrow);
    SB_EditIntUp->setAutoRepeat(true);
    SB_EditIntDown = new QToolButton(SB_EditInt);
    SB_EditIntDown->setObjectName(QStringLiteral("SB_EditIntDown"));
    SB_EditIntDown->setArrowType(Qt::DownArrow);
    SB_EditIntDown->setAutoRepeat(true);
    auto *spin = new QVBoxLayout(SB_EditInt);
    spin->setContentsMargins(0, 0, 0, 0);
    spin->setSpacing(0);
    spin->addWidget(SB_EditIntUp);
    spin->addWidget(SB_EditIntDown);
    const int half = CB_Value->sizeHint().height() / 2;
    SB_EditIntUp->setFixedSize(16, half);
    SB_EditIntDown->setFixedSize(16, half);
    connect(SB_EditIntUp, &QToolButton::clicked, this, &TRegEditor::SB_EditIntUpClick);
    connect(SB_EditIntDown, &QToolButton::clicked, this, &TRegEditor::SB_EditIntDownClick);

    createOkCancelButtons(this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, [this] {
        if (!refuseUnstorableText(m_seams, this, {CB_Value}))
            return;
        B_OKClick();
        accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(L_ValueTypeCaption, 0, 0);
    grid->addWidget(L_ValueType, 0, 1);
    grid->addWidget(L_Hex, 0, 2, Qt::AlignRight);
    grid->addWidget(L_ValueCaption, 1, 0);
    auto *valueRow = new QHBoxLayout;
    valueRow->setSpacing(0);
    valueRow->addWidget(CB_Value, 1);
    valueRow->addWidget(SB_EditInt);
    grid->addLayout(valueRow, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (palette) {
        palette->registerDropTarget(CB_Value);
        palette->attachToDialog(this);
    }
}

RegistryEntry *TRegEditor::selectedRecord() const
{
    Project &project = m_controller.document();
    RegistryNode *node = findRegistryNode(project.Registry, project.Selection.RegistryNode);
    return node && !node->isKey() ? &node->Entry : nullptr;
}

bool TRegEditor::isDword() const { return L_ValueType->text() == QLatin1String("DWORD"); }

int TRegEditor::ShowModal()
{
    FormShow();
    return m_seams.modal->exec(*this);
}

void TRegEditor::FormShow()
{
    const RegistryEntry *record = selectedRecord();
    const QString type = record ? QString::fromStdString(record->ValueType) : QString();
    L_ValueType->setText(type);
    const bool dword = isDword();
    SB_EditInt->setVisible(dword);
    L_Hex->setVisible(dword);
    CB_Value->clear();
    if (type == QLatin1String("BOOL"))
        CB_Value->addItems({QStringLiteral("TRUE"), QStringLiteral("FALSE")});
    const QString value = record ? QString::fromStdString(record->Data) : QString();
    if (dword) {
        const uint32_t number = dwordValue(value.toStdString());
        CB_Value->setEditText(QString::number(number));
        L_Hex->setText(hexCaption(number));
    } else {
        CB_Value->setEditText(value);
    }
    B_OK->setEnabled(record != nullptr);
    CB_Value->setFocus();
}

void TRegEditor::B_OKClick()
{
    RegistryEntry *record = selectedRecord();
    if (!record)
        return;
    QString text = singleLine(CB_Value->currentText());
    if (record->ValueType == "String" && text.isEmpty())
        text = QString::fromLatin1(kEmpty.data(), static_cast<qsizetype>(kEmpty.size()));
    if (record->ValueType == "DWORD")
        text = QString::fromStdString(dwordText(dwordValue(text.toStdString())));
    record->Data = cutText(text.toStdString(), kMaxValueChars);
    m_controller.SetModified(true);
}

void TRegEditor::stepBy(int delta)
{
    // Wraps within 32 bits, as the stored value does.
    const uint32_t number = dwordValue(CB_Value->currentText().toStdString()) + static_cast<uint32_t>(delta);
    CB_Value->setEditText(QString::number(number));
    L_Hex->setText(hexCaption(number));
}

void TRegEditor::SB_EditIntUpClick()
{
    if (isDword())
        stepBy(1);
}

void TRegEditor::SB_EditIntDownClick()
{
    if (isDword())
        stepBy(-1);
}

void TRegEditor::CB_ValueChange()
{
    if (isDword())
        L_Hex->setText(hexCaption(dwordValue(CB_Value->currentText().toStdString())));
}

bool TRegEditor::CB_ValueKeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (!refuseUnstorableText(m_seams, this, {CB_Value}))
        return true;
    B_OKClick();
    accept();
    return true;
}

bool TRegEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CB_Value->lineEdit() && event->type() == QEvent::KeyPress) {
        if (CB_ValueKeyPress(static_cast<QKeyEvent *>(event)->key()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace wharf
