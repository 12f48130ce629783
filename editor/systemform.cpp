#include "systemform.h"

#include "dialogbuttons.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace wharf {

TSystemForm::TSystemForm(QWidget *parent, const Seams &seams) : QDialog(parent), m_seams(&seams)
{
    setObjectName(QStringLiteral("SystemForm"));
    setWindowTitle(QStringLiteral("Target systems"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    L_Caption = new QLabel(QStringLiteral("Install on the following systems:"), this);
    L_Caption->setObjectName(QStringLiteral("L_Caption"));
    QFont bold = L_Caption->font();
    bold.setBold(true);
    L_Caption->setFont(bold);

    CLB_System = new QListWidget(this);
    CLB_System->setObjectName(QStringLiteral("CLB_System"));
    for (std::string_view name : kTargetSystemNames) {
        auto *item = new QListWidgetItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), CLB_System);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // Tall enough to show every system without scrolling.
    CLB_System->setMinimumSize(260, CLB_System->sizeHintForRow(0) * CLB_System->count() + 2 * CLB_System->frameWidth() + 4);

    createOkCancelButtons(this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Caption);
    layout->addWidget(CLB_System);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TSystemForm::Checked(int index) const
{
    const QListWidgetItem *item = CLB_System->item(index);
    return item && item->checkState() == Qt::Checked;
}

void TSystemForm::setChecked(int index, bool checked)
{
    if (QListWidgetItem *item = CLB_System->item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int TSystemForm::ShowModal() { return m_seams->modal->exec(*this); }

void TSystemForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

int32_t EditTargetSystems(TSystemForm &Form, int32_t Value)
{
    const TargetSystemChecks checks = targetSystemChecks(Value);
    for (int i = 0; i < Form.CLB_System->count(); ++i)
        Form.setChecked(i, i < kTargetSystemCount && checks[static_cast<size_t>(i)]);
    if (Form.ShowModal() != QDialog::Accepted)
        return Value;
    TargetSystemChecks result{};
    for (int i = 0; i < kTargetSystemCount; ++i)
        result[static_cast<size_t>(i)] = Form.Checked(i);
    return targetSystemMask(result);
}

} // namespace wharf
