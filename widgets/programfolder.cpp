#include "programfolder.h"

#include <QCoreApplication>

namespace wharf {

QString programFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace wharf
