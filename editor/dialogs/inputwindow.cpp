#include "inputwindow.h"

#include "dialogbuttons.h"
#include "seams.h"
#include "varform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {

TInputWindow::TInputWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("InputWindow"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    L_Caption = new QLabel(this);
    L_Caption->setObjectName(QStringLiteral("L_Caption"));
    L_Caption->setWordWrap(true);
    E_Input = new QLineEdit(this);
    E_Input->setObjectName(QStringLiteral("E_Input"));
    E_Input->setMinimumWidth(320);
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
    layout->addLayout(buttons);
    setFixedHeight(sizeHint().height());
}

bool QueryText(const Seams &seams, TVarForm *palette, QWidget *parent, const QString &caption,
               const QString &prompt, QString &value)
{
    TInputWindow window(parent);
    window.setWindowTitle(caption);
    window.L_Caption->setText(prompt);
    window.E_Input->setText(value);
    window.E_Input->selectAll();
    if (palette) {
        palette->registerDropTarget(window.E_Input);
        palette->attachToDialog(&window);
    }
    if (seams.modal->exec(window) != QDialog::Accepted)
        return false;
    value = window.E_Input->text();
    return true;
}

} // namespace wharf
