#include "projectcontroller.h"

#include "codec.h"
#include "files.h"
#include "inistore.h"
#include "paths.h"
#include "projectwriter.h"

#include <algorithm>

namespace wharf {
namespace {

constexpr std::string_view kScratchName = "wftemp.tmp";
constexpr std::string_view kTemplateName = "default.wfp";
constexpr std::string_view kModifiedText = "Modified";
constexpr std::string_view kSavingText = "Saving script file...";
constexpr std::string_view kSaveQuestion = "Do you want to save the current file?";

} // namespace

bool isScratchCopy(std::string_view fileName)
{
    return sameTextIgnoreCase(extractFileName(fileName), kScratchName);
}

// Ends a read or a write in every case: the busy window goes (when it was
// shown) and the progress display returns to "OK".
class ProjectController::WorkGuard {
public:
    explicit WorkGuard(ProjectController &owner) : m_owner(owner) {}
    ~WorkGuard()
    {
        if (m_busy)
            m_owner.m_progress.hideBusy();
        m_owner.ShowProgress(0);
    }
    WorkGuard(const WorkGuard &) = delete;
    WorkGuard &operator=(const WorkGuard &) = delete;

    void showBusy(BusyKind kind, std::string_view caption)
    {
        m_owner.m_progress.showBusy(kind, std::string(caption));
        m_busy = true;
    }

private:
    ProjectController &m_owner;
    bool m_busy = false;
};

ProjectController::ProjectController(std::string programFolder, ProjectPrompts &prompts,
                                     ProgressDisplay &progress, RecentFileList &recentFiles,
                                     ProjectStateListener *listener)
    : m_prompts(prompts), m_progress(progress), m_recentFiles(recentFiles), m_listener(listener),
      m_programFolder(includeTrailingSeparator(programFolder)), m_title(m_baseCaption)
{
}

std::string ProjectController::templatePath() const
{
    return joinPath(m_programFolder, kTemplateName);
}

void ProjectController::setBaseCaption(std::string caption)
{
    const bool plain = m_title == m_baseCaption;
    m_baseCaption = std::move(caption);
    if (plain) {
        m_title = m_baseCaption;
        if (m_listener)
            m_listener->titleChanged(m_title);
    }
}

void ProjectController::setTitleFor(const std::string &fileName)
{
    m_title = m_baseCaption + " - " + fileName;
    if (m_listener)
        m_listener->titleChanged(m_title);
}

void ProjectController::SetModified(bool value)
{
    m_modified = value;
    if (m_listener)
        m_listener->modifiedChanged(value, value ? std::string(kModifiedText) : std::string());
}

void ProjectController::ShowProgress(int percent)
{
    percent = std::clamp(percent, 0, 100);
    m_progress.showProgress(percent, percent == 0 ? std::string("OK") : std::to_string(percent) + "%");
}

bool ProjectController::QuerySaveChanges()
{
    if (!m_modified)
        return true;
    switch (m_prompts.showMessage(MessageKind::Warning, MessageButtons::YesNoCancel, std::string(kSaveQuestion))) {
    case MessageAnswer::Yes:
        try {
            return SaveProject(m_projectFileName);
        } catch (const std::exception &e) {
            m_prompts.showMessage(MessageKind::Error, MessageButtons::Ok, e.what());
            return false;
        }
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

bool ProjectController::SaveProject(const std::string &requested)
{
    WorkGuard guard(*this);
    ShowProgress(0);
    m_progress.processMessages();

    std::string fileName = requested;
    if (sameTextIgnoreCase(fileName, templatePath()) || extractFileName(fileName) == kNoProjectFile) {
        std::optional<std::string> chosen = m_prompts.chooseProjectToSave();
        if (!chosen)
            return false;
        fileName = std::move(*chosen);
    }
    const bool scratch = isScratchCopy(fileName);
    if (!scratch)
        guard.showBusy(BusyKind::Writing, kSavingText);
    const std::string savedFileName = scratch ? m_projectFileName : fileName;

    // A scratch copy left by an earlier run must not lend its sections to
    // this one.
    if (scratch)
        deleteFile(fileName);
    // The sections the editor does not write come from the project's own
    // file, or from the chosen file when the project has none yet.
    TMemIniStore ini(fileName);
    if (m_projectFileName != kNoProjectFile)
        if (const std::optional<std::string> previous = readFile(m_projectFileName))
            ini.LoadFromBytes(*previous);

    // The save rewrites sources and group indexes; the document takes them
    // only once the file is safely written.
    Project written = m_project;
    ProjectWriteContext context;
    context.workDir = extractFilePath(savedFileName);
    context.projectFolder = m_projectFolder;
    context.progress = [this](int percent) { ShowProgress(percent); };
    writeProjectSections(ini, written, context);
    ini.UpdateFile();

    m_project = std::move(written);
    if (!scratch) {
        m_projectFileName = fileName;
        if (!sameTextIgnoreCase(fileName, templatePath()))
            m_recentFiles.AddRecentFile(fileName);
        setTitleFor(fileName);
        m_projectFolder = extractFilePath(fileName);
        SetModified(false);
    }
    if (m_listener)
        m_listener->documentReplaced();
    return true;
}

void ProjectController::save()
{
    SaveProject(m_projectFileName);
}

void ProjectController::saveAs()
{
    SaveProject(std::string(kNoProjectFile));
}

bool ProjectController::canClose()
{
    return QuerySaveChanges();
}

} // namespace wharf
