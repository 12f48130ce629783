#include "editclb.h"

#include "fieldtext.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace wharf {
namespace {

QString cell(const QTableWidget &grid, int row, int column)
{
    const QTableWidgetItem *item = grid.item(row, column);
    return item ? item->text() : QString();
}

void setCell(QTableWidget &grid, int row, int column, const QString &text)
{
    if (QTableWidgetItem *item = grid.item(row, column))
        item->setText(text);
    else
        grid.setItem(row, column, new QTableWidgetItem(text));
}

QString yesNo(bool value)
{
    return QLatin1String(value ? kYes : kNo);
}

} // namespace

Tfrm_EditCLB::Tfrm_EditCLB(const Seams &seams, QWidget *parent) : QDialog(parent), m_seams(seams)
{
    setObjectName(QStringLiteral("frm_EditCLB"));
    setWindowTitle(QStringLiteral("Add/Edit CheckListBox item"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    E_ItemCaption = new QLineEdit(this);
    E_ItemCaption->setObjectName(QStringLiteral("E_ItemCaption"));
    E_ItemCaption->setMinimumWidth(240);
    Ch_ItemChecked = new QCheckBox(QStringLiteral("Checked"), this);
    Ch_ItemChecked->setObjectName(QStringLiteral("Ch_ItemChecked"));
    Ch_ItemEnabled = new QCheckBox(QStringLiteral("Enabled"), this);
    Ch_ItemEnabled->setObjectName(QStringLiteral("Ch_ItemEnabled"));
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    B_Cancel->setObjectName(QStringLiteral("B_Cancel"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Item caption:"), E_ItemCaption);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Ch_ItemChecked);
    layout->addWidget(Ch_ItemEnabled);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(B_OK, &QPushButton::clicked, this, &Tfrm_EditCLB::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int Tfrm_EditCLB::ShowModal(QTableWidget &grid)
{
    m_grid = &grid;
    FormShow();
    const int result = m_seams.modal->exec(*this);
    m_grid = nullptr;
    return result;
}

void Tfrm_EditCLB::FormShow()
{
    const int row = m_grid->currentRow();
    showFieldText(*E_ItemCaption, cell(*m_grid, row, 0));
    Ch_ItemChecked->setChecked(cell(*m_grid, row, 1) == QLatin1String(kYes));
    Ch_ItemEnabled->setChecked(cell(*m_grid, row, 2) == QLatin1String(kYes));
    E_ItemCaption->setFocus();
    E_ItemCaption->selectAll();
}

void Tfrm_EditCLB::B_OKClick()
{
    if (m_grid) {
        const int row = m_grid->currentRow();
        setCell(*m_grid, row, 0, singleLineText(E_ItemCaption->text()));
        setCell(*m_grid, row, 1, yesNo(Ch_ItemChecked->isChecked()));
        setCell(*m_grid, row, 2, yesNo(Ch_ItemEnabled->isChecked()));
    }
    accept();
}

} // namespace wharf
