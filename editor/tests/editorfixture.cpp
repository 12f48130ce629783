#include "editorfixture.h"

#include "mainform.h"
#include "paths.h"

#include <QDir>

namespace wharf::testing {

QString editorDataFolder()
{
    return QStringLiteral(WHARF_EDITOR_DATA);
}

EditorFixture::EditorFixture()
{
    programFolder = scratch.file("program") + "/";
    QDir().mkpath(QString::fromStdString(programFolder));
    QDir().mkpath(QString::fromStdString(scratch.file("config")));
    QDir().mkpath(QString::fromStdString(scratch.file("runtime")));
    QDir().mkpath(QString::fromStdString(scratch.file("documents")));
    copyFile((editorDataFolder() + QStringLiteral("default.wfp")).toStdString(), programFolder + "default.wfp");
    environment.programFolder = QString::fromStdString(programFolder);
    environment.settingsFolder = QString::fromStdString(scratch.file("config"));
    environment.runtimeFolder = QString::fromStdString(scratch.file("runtime"));
    environment.documentsFolder = QString::fromStdString(scratch.file("documents"));
    environment.seams = &fake.seams();
    environment.terminate = [this](int status) { terminations.push_back(status); };
    environment.batchOutput = [this](const QString &line, bool error) { printed.push_back({line, error}); };
}

EditorFixture::~EditorFixture() = default;

void EditorFixture::start(const QStringList &arguments)
{
    environment.arguments = arguments;
    createEditorWindows(windows, environment);
}

std::vector<std::string> EditorFixture::runtimeLeftovers() const
{
    std::vector<std::string> names;
    for (const FolderEntry &entry : listFolder(environment.runtimeFolder.toStdString()))
        names.push_back(entry.name);
    return names;
}

std::string EditorFixture::writeProject(const std::string &name, const std::string &appName)
{
    const std::string path = scratch.file(name);
    writeFile(path, "[Temporary]\r\nEditorVersion=2.0\r\nSubVersion=Professional\r\nBuildNo=14\r\nOutputDir=out\r\n"
                    "\r\n[General]\r\nAppName=" + appName + "\r\nSystem=4194304\r\n\r\n");
    return path;
}

} // namespace wharf::testing
