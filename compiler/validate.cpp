#include "validate.h"

#include "archive.h"
#include "codec.h"
#include "compilepaths.h"
#include "encdec.h"
#include "filetools.h"
#include "files.h"
#include "paths.h"
#include "pipeline.h"
#include "runcontext.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace wharf {
namespace {

constexpr const char *kMissing = "***";

bool sectionKeyMissing(const TMemIniStore &project, const char *section)
{
    return project.ReadString(section, "0", kMissing) == kMissing;
}

std::optional<std::filesystem::path> canonicalOf(const std::string &path)
{
    if (path.empty())
        return std::nullopt;
    std::error_code ec;
    auto p = std::filesystem::weakly_canonical(std::filesystem::path(toNativePath(path)), ec);
    if (ec)
        return std::nullopt;
    return p;
}

// Every file the compile reads: the project, what it packs, what it
// copies, the stubs and the batch step.
std::vector<std::string> filesTheCompileUses()
{
    const RunContext &run = CurrentRun();
    const TMemIniStore &project = *run.Project;
    std::vector<std::string> files = {run.ProjectFile};
    files.insert(files.end(), run.SupportFiles.begin(), run.SupportFiles.end());
    TStringList lines;
    for (const CompilePath &path : compileRelativePaths()) {
        if (path.use != CompilePathUse::InputFile)
            continue;
        if (!path.isList()) {
            files.push_back(ExpandRelativePath(project.ReadString(path.section, path.key, ""), run.WorkDir));
            continue;
        }
        project.ReadSectionValues(path.section, lines);
        for (const std::string &file : ResolveFileList(lines))
            if (file.find('{') == std::string::npos)
                files.push_back(file);
    }
    return files;
}

bool sameFolder(const std::optional<std::filesystem::path> &a, const std::string &b)
{
    const auto other = canonicalOf(b);
    return a && other && *a == *other;
}

// True when path lies somewhere below folder (both canonical).
bool liesBelow(const std::filesystem::path &path, const std::filesystem::path &folder)
{
    const std::filesystem::path rest = path.lexically_relative(folder);
    return !rest.empty() && rest != "." && *rest.begin() != "..";
}

// A file a later step reads: reported when it is missing or can't be read.
void checkReadable(const std::string &path)
{
    if (!fileExists(path)) {
        ReportProblem("File " + path + " does not exist!");
        return;
    }
    if (::access(toNativePath(path).c_str(), R_OK) != 0) {
        const int error = errno;
        ReportProblem("File " + path + " can't be read: " + std::strerror(error) + "!");
    }
}

// The clearing deletes the entries of the output folder by name, so a file
// is lost when the entry it is named by (a link there goes itself) or, for a
// link, the file it ends at lies in the output folder under a name the
// compile writes.
void checkNotCleared(const std::string &file, const std::filesystem::path &output)
{
    if (file.empty())
        return;
    const std::filesystem::path named(toNativePath(file));
    std::error_code ec;
    const auto folder = std::filesystem::weakly_canonical(named.parent_path(), ec);
    if (!ec && folder == output && IsCompileOutputName(named.filename().string())) {
        ReportProblem("The output folder " + CurrentRun().OutputDir + " holds " + file +
                      ", which the compile would delete!");
        return;
    }
    const auto target = canonicalOf(file);
    if (target && target->parent_path() == output && IsCompileOutputName(target->filename().string()))
        ReportProblem("The output folder " + CurrentRun().OutputDir + " holds " + target->string() + ", which " + file +
                      " links to and the compile would delete!");
}

// The output folder gets the compile's own files and loses those of an
// earlier compile: it must not be a folder of the author's or the program's,
// and must not hold a file the compile needs under a name it writes.
void checkOutputFolder()
{
    const RunContext &run = CurrentRun();
    const auto output = canonicalOf(run.OutputDir);
    if (sameFolder(output, run.WorkDir)) {
        ReportProblem("The output folder " + run.OutputDir +
                      " is the project's own folder; choose a folder of its own for the setup!");
        return;
    }
    if (sameFolder(output, run.AppDir)) {
        ReportProblem("The output folder " + run.OutputDir +
                      " is the program folder, which a compile never writes; choose another folder!");
        return;
    }
    if (!output)
        return;
    if (const auto app = canonicalOf(run.AppDir); app && liesBelow(*output, *app)) {
        ReportProblem("The output folder " + run.OutputDir +
                      " lies inside the program folder, which a compile never writes; choose another folder!");
        return;
    }
    for (const std::string &file : filesTheCompileUses())
        checkNotCleared(file, *output);
    for (const FolderEntry &entry : listFolder(run.OutputDir))
        if (entry.isFolder && IsCompileOutputName(entry.name))
            ReportProblem("The output folder " + run.OutputDir + " holds a folder " + entry.name +
                          ", where the compile writes a file of that name!");
}

// The files that steps after the clearing copy or read: each is checked
// before anything is deleted.
void checkLaterFiles(const TMemIniStore &project)
{
    const RunContext &run = CurrentRun();
    for (const WizardFile &file : kWizardFiles) {
        const std::string value = project.ReadString("Temporary", file.key, "");
        if (!value.empty())
            checkReadable(ExpandRelativePath(value, run.WorkDir));
    }
    TStringList lines;
    project.ReadSectionValues("AdditionalFiles", lines);
    for (const std::string &path : ResolveFileList(lines)) {
        if (path.empty())
            ReportProblem("A line of AdditionalFiles names no file!");
        else
            checkReadable(path);
    }
    const std::string autorunIcon = project.ReadString("Temporary", "AutorunIcon", "");
    if (project.ReadBool("Temporary", "CreateAutorun", false) && !autorunIcon.empty())
        checkReadable(ExpandRelativePath(autorunIcon, run.WorkDir));
    const std::string mainIcon = project.ReadString("Temporary", "MainIcon", "");
    if ((run.OutputType == 0 || run.OutputType == 1) && !mainIcon.empty())
        checkReadable(ExpandRelativePath(mainIcon, run.WorkDir));
}

// The package password's digest goes into every setup, and a package that
// requires it is enciphered under it: both must work before anything is
// written.
void checkPassword(const TMemIniStore &project)
{
    const std::string password = project.ReadString("General", "Password", "");
    try {
        DigestString(password);
        if (project.ReadBool("General", "RequirePassword", false))
            (void)CipherContext::forPassword(password);
    } catch (const EBlowfishError &e) {
        ReportProblem(std::string("The package password can't be used: ") + e.what() + "!");
    }
}

// The additional files are copied beside the setup under their bare names:
// two of one name, or one named like a file the compile writes there, would
// overwrite each other.
void checkAdditionalNames(const TMemIniStore &project)
{
    const RunContext &run = CurrentRun();
    TStringList lines;
    project.ReadSectionValues("AdditionalFiles", lines);
    const std::string package = run.OutputType == 2 ? PackageName() : std::string();
    // The setup media ignore letter case: names are compared folded.
    std::unordered_map<std::string, std::string> byName;
    for (const std::string &path : ResolveFileList(lines)) {
        const std::string name = extractFileName(path);
        if (name.empty())
            continue;
        const std::string folded = foldedText(name);
        if (IsFixedOutputName(folded) || (!package.empty() && folded == foldedText(package))) {
            ReportProblem("The additional file " + path + " has the name of a file the compile writes (" + name + ")!");
            continue;
        }
        const auto [at, fresh] = byName.try_emplace(folded, path);
        if (fresh || at->second == path)
            continue;
        if (extractFileName(at->second) == name)
            ReportProblem("The additional files " + at->second + " and " + path + " have the same name " + name + "!");
        else
            ReportProblem("The additional files " + at->second + " and " + path +
                          " have names that differ only in letter case; the setup media can't keep both!");
    }
}

// A bare file name: no folder part, no drive, not "." or "..".
bool isBareFileName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

void checkStubs()
{
    const RunContext &run = CurrentRun();
    std::vector<const char *> stubs;
    if (run.OutputType == 0)
        stubs.push_back("setupldr.bin");
    else if (run.OutputType == 1)
        stubs.push_back("selfext.bin");
    if (run.NeedsRegServer)
        stubs.push_back("regserv.bin");
    for (const char *stub : stubs) {
        checkReadable(joinPath(run.AppDir, stub));
    }
}

void checkPatchSources(const TMemIniStore &project)
{
    const RunContext &run = CurrentRun();
    TStringList sources;
    project.ReadSectionValues("SourceFiles", sources);
    const auto paths = ResolveFileList(sources);
    for (size_t n = 0; n < paths.size(); ++n) {
        if (paths[n].find('{') != std::string::npos)
            continue;
        const std::string patched = project.ReadString("PatchedFiles", std::to_string(n), "");
        if (patched.empty())
            continue;
        const std::string path = ExpandRelativePath(patched, run.WorkDir);
        if (!fileExists(path))
            ReportProblem("File " + path + ", the older version of " + paths[n] + ", does not exist!");
    }
}

void checkNumbers(const TMemIniStore &project)
{
    const RunContext &run = CurrentRun();
    const int level = project.ReadInteger("Temporary", "CompressionLevel", 8);
    if (level < 0 || level > 8)
        ReportProblem("The compression level " + std::to_string(level) + " is not between 0 and 8!");
    if (run.OutputType != 0)
        return;
    const int32_t disk = project.ReadInteger("Temporary", "MaxDiskSize", 1457664);
    const int32_t cluster = project.ReadInteger("Temporary", "ClusterSize", 512);
    if (disk <= 0)
        ReportProblem("The disk size " + std::to_string(disk) + " is not above 0!");
    if (cluster < 0)
        ReportProblem("The cluster size " + std::to_string(cluster) + " is below 0!");
    else if (disk > 0 && cluster > 0 && disk % cluster != 0)
        ReportProblem("The disk size " + std::to_string(disk) + " is not a whole number of clusters of " +
                      std::to_string(cluster) + " bytes!");
}

// An archive stores a file under its bare name as Windows-1252 bytes cut to
// kArchiveNameSize: a longer name would be stored as another name than the
// one the installation settings give the setup.
void checkStoredName(const std::string &name, const std::string &source)
{
    if (!fitsWindows1252(name))
        ReportProblem("The name of " + source +
                      " can't be stored in a setup archive: it has characters outside Windows-1252!");
    else if (toWindows1252(name).size() > kArchiveNameSize)
        ReportProblem("The name " + name + " of " + source + " is longer than the " +
                      std::to_string(kArchiveNameSize) + " bytes a setup archive stores!");
}

// The names of one archive, each with where it comes from: the setup
// unpacks them into one folder of a file system that ignores letter case.
void checkStoredNames(const std::vector<std::pair<std::string, std::string>> &stored)
{
    std::unordered_map<std::string, size_t> byFoldedName;
    for (size_t i = 0; i < stored.size(); ++i) {
        checkStoredName(stored[i].first, stored[i].second);
        const auto [at, fresh] = byFoldedName.try_emplace(foldedText(stored[i].first), i);
        if (fresh)
            continue;
        const auto &first = stored[at->second];
        if (first.first == stored[i].first)
            ReportProblem("Both " + first.second + " and " + stored[i].second + " would be stored as " +
                          stored[i].first + " in the setup!");
        else
            ReportProblem("The names " + first.first + " (" + first.second + ") and " + stored[i].first + " (" +
                          stored[i].second + ") differ only in letter case; the setup can't keep both!");
    }
}

void checkSupportNames(const TMemIniStore &project)
{
    const RunContext &run = CurrentRun();
    std::vector<std::pair<std::string, std::string>> stored; // name, where it comes from
    for (const std::string &path : run.SupportFiles)
        stored.emplace_back(extractFileName(path), path);
    for (const WizardFile &file : kWizardFiles) {
        const std::string value = project.ReadString("Temporary", file.key, "");
        if (!value.empty())
            stored.emplace_back(file.base + extractFileExt(value), ExpandRelativePath(value, run.WorkDir));
    }
    stored.emplace_back("data.csf", "the installation settings");
    if (run.NeedsRegServer)
        stored.emplace_back("wregsvr.exe", joinPath(run.AppDir, "regserv.bin"));
    if (run.OutputType != 0)
        stored.emplace_back("setup.0", "the package");
    checkStoredNames(stored);
}

// The package's files, as the pipeline packs them: sources without "{",
// each under its bare name. A file listed twice is stored twice alike.
void checkPackageNames(const TMemIniStore &project)
{
    TStringList lines;
    project.ReadSectionValues("SourceFiles", lines);
    std::vector<std::pair<std::string, std::string>> stored;
    for (const std::string &path : ResolveFileList(lines)) {
        if (path.find('{') != std::string::npos)
            continue;
        const bool listed = std::any_of(stored.begin(), stored.end(), [&](const auto &s) { return s.second == path; });
        if (!listed)
            stored.emplace_back(extractFileName(path), path);
    }
    checkStoredNames(stored);
}

} // namespace

void ReportProblem(const std::string &text)
{
    CurrentRun().ValidationFailed = true;
    LogError(text);
}

bool ValidateProject()
{
    RunContext &run = CurrentRun();
    run.ValidationFailed = false;
    if (!fileExists(run.ProjectFile)) {
        ReportProblem("Data file does not exist");
        return false;
    }
    // An unreadable project would read as an empty one and give a list of
    // misleading problems.
    errno = 0;
    if (!readFile(run.ProjectFile)) {
        const int error = errno;
        ReportProblem("Cannot read the project file " + run.ProjectFile + ": " + std::strerror(error) + "!");
        return false;
    }
    const TMemIniStore &project = *run.Project;

    // Relative paths of the project are taken against its folder; an empty
    // one would root them at the file system's root, and a folder that is not
    // there would name files the author never chose.
    if (run.WorkDir.empty()) {
        ReportProblem("The project names no folder for its relative paths (WorkDir is empty)!");
        return false;
    }
    if (!folderExists(run.WorkDir)) {
        ReportProblem("The folder " + run.WorkDir +
                      " that the project names for its relative paths (WorkDir) does not exist!");
        return false;
    }
    if (run.OutputType < 0 || run.OutputType > 2)
        ReportProblem("The output type " + std::to_string(run.OutputType) +
                      " is none of 0 (disk set), 1 (self-extracting setup) and 2 (package)!");

    const std::string destDir = project.ReadString("General", "DestDir", "");
    if (destDir.empty() || destDir == "{pro}\\")
        ReportProblem("You must specify an application folder!");
    if (project.ReadString("General", "ProgMenuFolder", "").empty())
        ReportProblem("You must specify a program group folder!");
    if (project.ReadBool("Dialogs", "ReadmeDialog", false) && project.ReadString("Temporary", "ReadmeFile", "").empty())
        ReportProblem("If you want to show the Readme dialog, you must specify a readme file!");
    if (project.ReadBool("Dialogs", "LicenseDialog", false) &&
        project.ReadString("Temporary", "LicenseFile", "").empty())
        ReportProblem("If you want to show the License dialog, you must specify a license file!");
    if (project.ReadBool("Dialogs", "Billboard", false) && sectionKeyMissing(project, "BillboardPics"))
        ReportProblem("If you want to show the billboard, you must specify a billboard picture!");

    for (const std::string &path : run.SupportFiles)
        checkReadable(path);

    TStringList sources;
    project.ReadSectionValues("SourceFiles", sources);
    for (const std::string &value : ResolveFileList(sources)) {
        if (value.find('{') != std::string::npos)
            continue;
        checkReadable(ExpandRelativePath(value, run.WorkDir));
    }

    if (sectionKeyMissing(project, "LanguageFiles"))
        ReportProblem("You must include at least one language file!");
    if (run.InstTypesList.empty())
        ReportProblem("Your setup must contain at least one installation type!");

    // The compile clears the output folder of its own files; without a
    // folder they would land in whatever the root resolves to.
    if (project.ReadString("Temporary", "OutputDir", "").empty())
        ReportProblem("You must specify an output folder!");
    else
        checkOutputFolder();

    checkStubs();
    checkPatchSources(project);
    checkNumbers(project);
    if (run.OutputType == 2) {
        const std::string package = PackageName();
        if (!isBareFileName(package))
            ReportProblem("The package name " + package + " must be a bare file name, without a folder!");
        else if (IsFixedOutputName(foldedText(package)))
            ReportProblem("The package name " + package + " is the name of a file the compile writes!");
    }
    checkLaterFiles(project);
    checkPassword(project);
    checkSupportNames(project);
    checkPackageNames(project);
    checkAdditionalNames(project);

    return !run.ValidationFailed;
}

} // namespace wharf
