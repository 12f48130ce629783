// wharfdraft: the dialog designer. The first argument, when given, is a
// dialog file that opens at once.

#include "application.h"
#include "drawobject.h"
#include "mainform.h"
#include "programfolder.h"

int main(int argc, char **argv)
{
    wharf::WharfApplication app(argc, argv);
    app.setTitle(QStringLiteral("Dialog Designer"));
    wharf::Tfrm_DrawObject drawObject;
    wharf::Tfrm_Main mainWindow(drawObject, wharf::standardSeams(), wharf::programFolder());
    mainWindow.show();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        mainWindow.LoadDialogFile(arguments.at(1));
    return app.exec();
}
