// The main of every GUI test executable: runs the tests inside the
// programs' application object on Qt's offscreen platform, with the user's
// configuration and runtime folders moved into a private scratch folder so
// that no test reads or writes the real settings.

#include "application.h"
#include "files.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    wharf::ScratchFolder scratch;
    const std::string config = scratch.file("config");
    const std::string runtime = scratch.file("runtime");
    QDir().mkpath(QString::fromStdString(config));
    QDir().mkpath(QString::fromStdString(runtime));
    QFile::setPermissions(QString::fromStdString(runtime), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));

    ::testing::InitGoogleTest(&argc, argv);
    wharf::WharfApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
