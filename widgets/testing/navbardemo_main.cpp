// Shows the editor's navigation bar in a window; with "--grab file.png" it
// saves the window's picture instead (works on the offscreen platform).

#include "application.h"
#include "navbardemo.h"

#include <QStringList>

int main(int argc, char **argv)
{
    wharf::WharfApplication app(argc, argv);
    wharf::testing::NavBarDemoWindow window;
    const QStringList arguments = app.arguments();
    const qsizetype grab = arguments.indexOf(QStringLiteral("--grab"));
    if (grab > 0 && grab + 1 < arguments.size())
        return window.grab().save(arguments.at(grab + 1)) ? 0 : 1;
    window.show();
    return app.exec();
}
