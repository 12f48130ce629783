#include "compilerun.h"

#include "codec.h"
#include "compilemessages.h"
#include "files.h"
#include "inistore.h"
#include "paths.h"
#include "projectcontroller.h"
#include "projectpaths.h"
#include "stopsignals.h"
#include "userdirs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wharf {
namespace {

// The library's callback carries no context, so the run it reports to is
// kept here for the duration of the call.
struct ActiveRun {
    CompileListener *listener = nullptr;
    bool errorLine = false;
    bool outputInUse = false;
};
ActiveRun *g_activeRun = nullptr;

bool onCompileMessage(const char *text, uint16_t kind, uint16_t percent) noexcept
{
    ActiveRun *run = g_activeRun;
    if (!run || !run->listener)
        return true;
    if (kind == 1) {
        run->errorLine = true;
        if (text && IsOutputInUseLine(text))
            run->outputInUse = true;
    }
    // Nothing may unwind into the library: every step swallows what it
    // throws, and the answer is the go-on taken before the line is shown.
    try {
        run->listener->processMessages();
    } catch (...) {
    }
    bool goOn = true;
    try {
        goOn = run->listener->goOn();
    } catch (...) {
    }
    // A stop signal counts as the author's cancel.
    if (stopSignal() != 0)
        goOn = false;
    try {
        run->listener->compileMessage(QString::fromUtf8(text ? text : ""), kind, percent);
    } catch (...) {
    }
    return goOn;
}

// Ends the run however it ends.
class RunScope {
public:
    explicit RunScope(ActiveRun &run)
    {
        if (g_activeRun)
            throw std::logic_error("A compile is already running.");
        g_activeRun = &run;
    }
    ~RunScope() { g_activeRun = nullptr; }
    RunScope(const RunScope &) = delete;
    RunScope &operator=(const RunScope &) = delete;
};

// The system's reason for the last failed call, for a message.
std::string lastReason(int error)
{
    return error != 0 ? std::string(std::strerror(error)) : std::string("unknown reason");
}

// Runs a write of the store and makes sure a failure gives the system's
// reason once: added when the store's message lacks it.
template <typename Write> void withReason(Write write)
{
    errno = 0;
    try {
        write();
    } catch (const EFCreateError &e) {
        const int error = errno;
        const std::string reason = error != 0 ? std::strerror(error) : std::string();
        if (reason.empty() || std::string_view(e.what()).find(reason) != std::string_view::npos)
            throw;
        throw EFCreateError(std::string(e.what()) + ": " + reason);
    }
}

void writeScratchCopy(ProjectController &project, const std::string &scratch)
{
    if (!project.savedFileCompilesAsItStands()) {
        withReason([&] { project.SaveProject(scratch); });
        return;
    }
    // An unmodified project compiles as it was saved.
    errno = 0;
    if (!copyFile(project.ProjectFileName(), scratch)) {
        const int error = errno;
        throw std::runtime_error("Could not copy the project " + project.ProjectFileName() + " to " + scratch +
                                 ": " + lastReason(error));
    }
}

namespace fs = std::filesystem;

// The folder as the file system names it: absolute, without "." and ".."
// steps or a trailing separator, links followed as far as it exists.
fs::path realFolder(const std::string &path)
{
    std::error_code error;
    fs::path real = fs::weakly_canonical(fs::path(path), error);
    if (error)
        real = fs::path(path).lexically_normal();
    if (!real.has_filename() && real != real.root_path())
        real = real.parent_path();
    return real;
}

// True when folder is path or one of the folders above it.
bool holds(const fs::path &folder, const fs::path &path)
{
    auto f = folder.begin();
    auto p = path.begin();
    for (; f != folder.end(); ++f, ++p) {
        if (p == path.end() || *f != *p)
            return false;
    }
    return true;
}

// The root of a file system: "/" or a mount point, whose parent lies on
// another device (or is the folder itself).
bool isFileSystemRoot(const fs::path &folder)
{
    if (folder == folder.root_path())
        return true;
    struct stat self {}, parent {};
    if (::stat(folder.c_str(), &self) != 0 || !S_ISDIR(self.st_mode))
        return false;
    if (::stat((folder / "..").c_str(), &parent) != 0)
        return false;
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

// The first character of text that Windows-1252 can't hold; empty when it
// holds them all.
QString firstUnstorableCharacter(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        if (!fitsWindows1252(character.toStdString()))
            return character;
    }
    return {};
}

std::vector<fs::path> homeFolders()
{
    std::vector<fs::path> homes;
    if (const char *home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        homes.push_back(realFolder(home));
    if (const passwd *pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr && pw->pw_dir[0] == '/')
        homes.push_back(realFolder(pw->pw_dir));
    return homes;
}

} // namespace

QString compileWorkFolder(const ProjectController &project, const QString &programFolder)
{
    const std::string &folder = project.ProjectFolder();
    return QString::fromStdString(includeTrailingSeparator(folder.empty() ? programFolder.toStdString() : folder));
}

std::string compileLogPath()
{
    return joinPath(userStateFolder(), "wharfforge.log");
}

QString workFolderRefusal(const ProjectController &project, const QString &programFolder)
{
    const QString folder = compileWorkFolder(project, programFolder);
    const QString character = firstUnstorableCharacter(folder);
    if (character.isEmpty())
        return {};
    return QStringLiteral("The project can't be compiled from the folder \"%1\": its path holds \"%2\", which "
                          "Windows-1252 can't hold, and the compiler takes the project's folder from the project "
                          "file, which is Windows-1252 text. Save the project into a folder whose path has only "
                          "Windows-1252 characters.")
        .arg(folder, character);
}

QString outputFolderRefusal(const ProjectController &project, const QString &programFolder)
{
    const QString advice = QStringLiteral(" A compile clears its output folder, so the setup files need a folder of "
                                          "their own, such as \"output\" beside the project.");
    const std::string &text = project.document().General.OutputDir;
    if (text.empty())
        return QStringLiteral("No output folder is set.") + advice;
    const std::string work = compileWorkFolder(project, programFolder).toStdString();
    const std::string resolved = toNativePath(editor::ExpandRelativePath(text, work));
    // A path this system can't name (a drive path, say) is left to the
    // compiler, which reports it.
    if (resolved.empty() || resolved.front() != '/')
        return {};
    const fs::path folder = realFolder(resolved);
    const QString shown = QString::fromStdString(folder.string());

    if (folder == realFolder(work))
        return QStringLiteral("The output folder \"%1\" is the project's own folder.").arg(shown) + advice;
    if (isFileSystemRoot(folder))
        return QStringLiteral("The output folder \"%1\" is the root of a file system.").arg(shown) + advice;
    for (const fs::path &home : homeFolders()) {
        if (folder == home)
            return QStringLiteral("The output folder \"%1\" is the home folder.").arg(shown) + advice;
    }
    // The program folder is only read; a new project that was never saved
    // has it as its folder, so its output folder would lie there.
    if (const fs::path program = realFolder(programFolder.toStdString());
        !programFolder.isEmpty() && holds(program, folder)) {
        const QString where = folder == program
                                  ? QStringLiteral("The output folder \"%1\" is the program folder.")
                                  : QStringLiteral("The output folder \"%1\" lies in the program folder.");
        const bool unsaved = project.ProjectFolder().empty() || realFolder(work) == program;
        return where.arg(shown) +
               (unsaved ? QStringLiteral(" Save the project into a folder of its own first: its output folder is "
                                         "taken against the project's folder.")
                        : advice);
    }
    const std::string &file = project.ProjectFileName();
    if (!file.empty() && file.front() == '/' && fileExists(file) && holds(folder, realFolder(file)))
        return QStringLiteral("The output folder \"%1\" holds the project file \"%2\".")
                   .arg(shown, QString::fromStdString(file)) +
               advice;
    return {};
}

CompileOutcome runProjectCompile(ProjectController &project, const EditorEnvironment &environment,
                                 CompileListener &listener, const std::function<void()> &beforeCall)
{
    if (!environment.compileFile)
        throw std::runtime_error("The compiler library is not available.");
    if (const QString refusal = workFolderRefusal(project, environment.programFolder); !refusal.isEmpty())
        throw std::runtime_error(refusal.toStdString());
    if (const QString refusal = outputFolderRefusal(project, environment.programFolder); !refusal.isEmpty())
        throw std::runtime_error(refusal.toStdString());
    ActiveRun run{&listener};
    RunScope scope(run);

    // The scratch copy lies in a folder of this run alone: another compile,
    // of this user or another, never shares it, and the program folder is
    // only read.
    const std::string parent =
        environment.runtimeFolder.isEmpty() ? userRuntimeFolder() : environment.runtimeFolder.toStdString();
    const ScratchFolder folder(parent, "wharfwright");
    const std::string scratch = folder.file(kCompileScratchName);
    writeScratchCopy(project, scratch);
    withReason([&] {
        TMemIniStore ini(scratch);
        ini.WriteString("Temporary", "WorkDir", compileWorkFolder(project, environment.programFolder).toStdString());
        ini.UpdateFile();
    });
    if (beforeCall)
        beforeCall();

    const std::string appDir = excludeTrailingSeparator(environment.programFolder.toStdString());
    CompileOutcome outcome;
    outcome.stopped = environment.compileFile(scratch.c_str(), appDir.c_str(), &onCompileMessage, true);
    outcome.errorLine = run.errorLine;
    outcome.outputInUse = run.outputInUse;
    return outcome;
}

} // namespace wharf
