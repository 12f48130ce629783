#include "projectcontroller.h"

#include "codec.h"
#include "files.h"
#include "inistore.h"
#include "paths.h"
#include "projectpaths.h"
#include "projectreader.h"
#include "projectwriter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace wharf {
namespace {

constexpr std::string_view kScratchName = "wftemp.tmp";
constexpr std::string_view kTemplateName = "default.wfp";
constexpr std::string_view kModifiedText = "Modified";
constexpr std::string_view kSavingText = "Saving script file...";
constexpr std::string_view kReadingText = "Reading script file...";
constexpr std::string_view kSaveQuestion = "Do you want to save the current file?";

// The bytes of a project file as the store reads them: Windows-1252 text
// without the NUL or ^Z bytes that some Windows editors put at its end (no
// line of the project, which a save would carry along as one). A file that
// an editor saved as UTF-8 with a byte order mark loses the mark, and its
// UTF-8 text becomes the Windows-1252 text it stands for (a character that
// has none is refused: the file can't be saved as it is); when no UTF-8 text
// follows the mark, the rest is taken as it stands.
std::string projectFileBytes(std::string bytes, const std::string &fileName)
{
    size_t keep = bytes.size();
    while (keep > 0 && std::string_view("\0\x1A\r\n", 4).find(bytes[keep - 1]) != std::string_view::npos)
        --keep;
    if (bytes.find_first_of(std::string_view("\0\x1A", 2), keep) != std::string::npos)
        bytes.resize(keep);
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (!bytes.starts_with(kUtf8Mark))
        return bytes;
    bytes.erase(0, kUtf8Mark.size());
    if (!isValidUtf8(bytes))
        return bytes;
    try {
        return toWindows1252(bytes);
    } catch (const ECodecError &e) {
        throw EProjectFileError("The project file " + fileName +
                                " is UTF-8 text that a project file can't hold: " + e.what() + ".");
    }
}

// The bytes of a project file; a missing file reads as empty.
std::string readProjectBytes(const std::string &fileName)
{
    if (!fileExists(fileName))
        return {};
    errno = 0;
    std::optional<std::string> bytes = readFile(fileName);
    if (!bytes)
        throw EProjectFileError("Could not read the project file " + fileName +
                                (errno != 0 ? ": " + std::string(std::strerror(errno)) + "." : std::string(".")));
    return projectFileBytes(std::move(*bytes), fileName);
}

// The file a project path ends at: a symbolic link (or a chain of them)
// is followed to its target, taken against the link's folder where it is
// relative, so that the project's relative paths resolve where the file
// really lies. Anything else is returned as it is.
std::string followFileLinks(std::string path)
{
    constexpr int kMaxLinks = 40; // as the kernel allows
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        const std::string native = toNativePath(path);
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(native.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<size_t>(length) >= target.size())
            return path;
        target.resize(static_cast<size_t>(length));
        path = isAbsolutePath(target) ? target : joinPath(extractFilePath(native), target);
    }
    return path;
}

// The path of a project file as the project keeps it (its folder, title and
// recent entry): without "." and ".." folders or doubled separators, so the
// paths saved relative to its folder resolve wherever they are read, and
// every spelling of one file gives one path. Where a linked folder makes the
// shorter spelling name another place, the folder's real path is taken.
std::string plainProjectPath(const std::string &path)
{
    const std::string plain = normalizePath(path);
    const std::string folder = extractFilePath(path);
    if (plain == path || !folderExists(folder) || sameFile(extractFilePath(plain), folder))
        return plain;
    const std::optional<std::string> real = canonicalPath(folder);
    return real ? joinPath(*real, extractFileName(path)) : path;
}

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

    void hideBusy()
    {
        if (m_busy)
            m_owner.m_progress.hideBusy();
        m_busy = false;
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

std::string ProjectController::stockPagesFolder() const
{
    return joinPath(m_programFolder, kStockPages);
}

bool ProjectController::savedFileCompilesAsItStands() const
{
    if (m_modified)
        return false;
    const std::string stock = stockPagesFolder();
    const auto isStock = [&](const std::string &page) { return isStockPage(page, stock); };
    return std::none_of(m_project.Dialogs.begin(), m_project.Dialogs.end(), isStock) &&
           std::none_of(m_project.UninstallDialogs.begin(), m_project.UninstallDialogs.end(), isStock);
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

std::function<void(int)> ProjectController::progressReporter()
{
    // Only a new percentage is shown, and the window then handles its
    // pending events: a long read, write or import of a huge project keeps
    // it painted without a repaint for every entry.
    return [this, last = -1](int percent) mutable {
        if (percent == last)
            return;
        last = percent;
        ShowProgress(percent);
        m_progress.processMessages();
    };
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
        fileName = plainProjectPath(followFileLinks(*chosen));
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
        if (std::optional<std::string> previous = readFile(m_projectFileName))
            ini.LoadFromBytes(projectFileBytes(std::move(*previous), m_projectFileName));

    // The save rewrites sources and group indexes; the document takes them
    // only once the file is safely written.
    Project written = m_project;
    ProjectWriteContext context;
    context.workDir = extractFilePath(savedFileName);
    context.projectFolder = m_projectFolder;
    // The compile's copy names every page by its path, as the compiler
    // takes it.
    if (!scratch)
        context.stockPagesFolder = stockPagesFolder();
    context.progress = progressReporter();
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
        if (m_listener)
            m_listener->projectSaved(fileName);
    }
    if (m_listener)
        m_listener->documentReplaced();
    return true;
}

bool ProjectController::LoadProject(const std::string &requested)
{
    WorkGuard guard(*this);
    struct AppendModeEnd {
        bool &mode;
        ~AppendModeEnd() { mode = false; }
    } appendModeEnd{m_appendMode};

    std::string fileName = plainProjectPath(editor::ExpandRelativePath(requested, m_programFolder));
    // The template stays the template, whatever its file is.
    const bool isTemplate = sameTextIgnoreCase(fileName, templatePath());
    if (!isTemplate)
        fileName = plainProjectPath(followFileLinks(fileName));
    ShowProgress(0);
    m_progress.processMessages();
    const bool scratch = isScratchCopy(fileName);
    if (isTemplate && !fileExists(fileName) && !m_appendMode) {
        guard.hideBusy();
        startEmptyProject();
        return false;
    }
    if (!scratch)
        guard.showBusy(BusyKind::Reading, kReadingText);

    TMemIniStore ini("");
    ini.LoadFromBytes(readProjectBytes(fileName));
    // A save of the file that was cut off is told after the read, whatever
    // the read made of what it left.
    const std::optional<std::string> unfinished = scratch ? std::nullopt : unfinishedSaveNotice(fileName);
    const std::string fileFolder = extractFilePath(fileName);
    const bool keepFolder = scratch || (m_appendMode && !m_projectFolder.empty());

    Project next;
    if (m_appendMode)
        next = m_project;
    ProjectReadContext context;
    context.fileName = fileName;
    context.programFolder = m_programFolder;
    context.append = m_appendMode;
    context.fileFolder = fileFolder;
    context.projectFolder = keepFolder ? m_projectFolder : fileFolder;
    context.prompts = &m_prompts;
    context.progress = progressReporter();
    const ProjectReadResult result = readProjectSections(ini, next, context);

    if (result.declined) {
        // Nothing of that file stays: a new project replaces it, or, when it
        // was the template itself, an empty one.
        guard.hideBusy();
        SetModified(false);
        if (isTemplate)
            startEmptyProject();
        else
            startNewProject();
        if (unfinished)
            m_prompts.showMessage(MessageKind::Warning, MessageButtons::Ok, *unfinished);
        return false;
    }

    next.clampSelections();
    // The template names the stock pages and the language file by paths
    // relative to the program folder it lies in; a project started from it
    // keeps naming those files wherever it is saved later.
    if (isTemplate && !m_appendMode)
        for (std::vector<std::string> *list : {&next.Dialogs, &next.UninstallDialogs, &next.LanguageFiles})
            for (std::string &path : *list)
                path = editor::ExpandRelativePath(path, m_programFolder);
    m_project = std::move(next);
    if (!keepFolder)
        m_projectFolder = fileFolder;
    if (!scratch && !m_appendMode) {
        m_projectFileName = fileName;
        setTitleFor(fileName);
    }
    if (!scratch && !isTemplate)
        m_recentFiles.AddRecentFile(fileName);
    SetModified(!result.unchanged);
    if (m_listener)
        m_listener->documentReplaced();
    guard.hideBusy();
    if (!result.warnings.empty()) {
        std::string text = "The file " + fileName + " holds entries that could not be read as they stand:";
        for (const std::string &warning : result.warnings)
            text += "\n" + warning;
        m_prompts.showMessage(MessageKind::Warning, MessageButtons::Ok, text);
    }
    if (unfinished)
        m_prompts.showMessage(MessageKind::Warning, MessageButtons::Ok, *unfinished);
    return true;
}

void ProjectController::startEmptyProject()
{
    const std::string path = templatePath();
    m_project = Project();
    m_projectFileName = path;
    m_projectFolder = m_programFolder;
    setTitleFor(path);
    SetModified(false);
    if (m_listener)
        m_listener->documentReplaced();
    if (!fileExists(path))
        m_prompts.showMessage(MessageKind::Error, MessageButtons::Ok,
                              "The project template " + path + " does not exist. An empty project was started.");
}

void ProjectController::startNewProject()
{
    LoadProject(templatePath());
}

void ProjectController::newProject()
{
    if (QuerySaveChanges())
        startNewProject();
}

void ProjectController::openProject()
{
    if (!QuerySaveChanges())
        return;
    if (const std::optional<std::string> chosen = m_prompts.chooseProjectToOpen())
        LoadProject(*chosen);
}

void ProjectController::openRecentFile(const std::string &fileName)
{
    if (QuerySaveChanges())
        LoadProject(fileName);
}

void ProjectController::appendProject()
{
    const std::optional<std::string> chosen = m_prompts.chooseProjectToOpen();
    if (!chosen)
        return;
    m_appendMode = true;
    LoadProject(*chosen);
    SetModified(true);
}

bool ProjectController::openCommandLineProject(const std::string &fileName)
{
    const std::string path = isAbsolutePath(fileName) ? fileName : joinPath(currentFolder(), fileName);
    if (folderExists(path))
        throw EProjectFileError("The project file " + path + " is a folder: give the project file (*.wfp) in it.");
    if (!fileExists(path))
        throw EProjectFileError("The project file " + path + " does not exist.");
    return LoadProject(path);
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
