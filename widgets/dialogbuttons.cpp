#include "dialogbuttons.h"

#include <QDialog>
#include <QPushButton>

namespace wharf {

void createOkCancelButtons(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel)
{
    ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("B_Cancel"));
}

} // namespace wharf
