#include "warningform.h"

#include "shellstate.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace wharf {

TWarningForm::TWarningForm(ShellState &shell, QWidget *parent) : QDialog(parent), m_shell(shell)
{
    setObjectName(QStringLiteral("WarningForm"));
    setWindowTitle(QStringLiteral("Warning"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    I_Logo = new QLabel(this);
    I_Logo->setObjectName(QStringLiteral("I_Logo"));
    I_Logo->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    L_Text = new QLabel(QStringLiteral("The output directory will be cleared. \n"
                                       "Sub folders will not be deleted.\n"
                                       "Continue? "),
                        this);
    L_Text->setObjectName(QStringLiteral("L_Text"));
    Ch_ShowAgain = new QCheckBox(QStringLiteral("Show this message again"), this);
    Ch_ShowAgain->setObjectName(QStringLiteral("Ch_ShowAgain"));
    Ch_ShowAgain->setChecked(true);
    B_Yes = new QPushButton(QStringLiteral("&Yes"), this);
    B_Yes->setObjectName(QStringLiteral("B_Yes"));
    B_Yes->setDefault(true);
    B_No = new QPushButton(QStringLiteral("&No"), this);
    B_No->setObjectName(QStringLiteral("B_No"));
    connect(B_Yes, &QPushButton::clicked, this, [this] { done(ResultYes); });
    connect(B_No, &QPushButton::clicked, this, [this] { done(ResultNo); });

    auto *top = new QHBoxLayout;
    top->addWidget(I_Logo, 0, Qt::AlignTop);
    top->addWidget(L_Text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_Yes);
    buttons->addWidget(B_No);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Ch_ShowAgain);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TWarningForm::FormClose() { m_shell.ShowCompileWarning = Ch_ShowAgain->isChecked(); }

void TWarningForm::done(int result)
{
    // Escape and the close box end as No.
    FormClose();
    QDialog::done(result == ResultYes ? ResultYes : ResultNo);
}

} // namespace wharf
