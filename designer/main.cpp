// wharfdraft: the dialog designer. The first argument, when given, is a
// dialog file that opens at once.

#include "application.h"
#include "designer.h"
#include "programfolder.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (const QString problem = wharf::missingDisplayProblem(argc, argv); !problem.isEmpty()) {
        std::fprintf(stderr, "wharfdraft: %s.\n", problem.toUtf8().constData());
        return 2;
    }
    wharf::WharfApplication app(argc, argv);
    app.setTitle(QStringLiteral("Dialog Designer"));
    wharf::TDesigner designer(wharf::standardSeams(), wharf::programFolder());
    designer.start(QCoreApplication::arguments().mid(1));
    return app.exec();
}
