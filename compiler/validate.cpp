#include "validate.h"

#include "archive.h"
#include "codec.h"
#include "compilepaths.h"
#include "encdec.h"
#include "filetools.h"
#include "files.h"
#include "paths.h"
#include "pipeline.h"
#include "resedit.h"
#include "runcontext.h"
#include "windowsnames.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <set>
#include <sys/stat.h>
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

// Why path can't be read as a file, as the end of a sentence that names
// it ("does not exist", "is a named pipe (FIFO), not a file"); nullopt
// when it can.
std::optional<std::string> fileProblem(const std::string &path)
{
    const std::string native = toNativePath(path);
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ENOENT && ::lstat(native.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            std::string target(PATH_MAX, '\0');
            const ssize_t n = ::readlink(native.c_str(), target.data(), target.size());
            target.resize(n > 0 ? static_cast<size_t>(n) : 0);
            return "is a link to " + target + ", which does not exist";
        }
        if (error == ENOENT || error == ENOTDIR)
            return std::string("does not exist");
        if (error == ELOOP)
            return std::string("is a link that leads round in a loop");
        return std::string("can't be reached: ") + std::strerror(error);
    }
    if (S_ISDIR(st.st_mode))
        return std::string("is a folder, not a file");
    if (S_ISFIFO(st.st_mode))
        return std::string("is a named pipe (FIFO), not a file");
    if (S_ISSOCK(st.st_mode))
        return std::string("is a socket, not a file");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return std::string("is a device, not a file");
    if (!S_ISREG(st.st_mode))
        return std::string("is not a regular file");
    if (::access(native.c_str(), R_OK) != 0) {
        const int error = errno;
        return std::string("can't be read: ") + std::strerror(error);
    }
    return std::nullopt;
}

// A file a later step reads: reported when it is missing or can't be read.
// True when it can.
bool checkReadable(const std::string &path)
{
    if (const auto problem = fileProblem(path)) {
        ReportProblem("File " + path + " " + *problem + "!");
        return false;
    }
    return true;
}

// A file an archive stores: readable, small enough for an entry, and noted
// as it is now, which is what the installation settings will say of it.
void checkArchivedFile(const std::string &path)
{
    if (!checkReadable(path))
        return;
    const auto state = FileStateOf(path);
    if (!state)
        return;
    if (state->size > std::numeric_limits<int32_t>::max()) {
        ReportProblem("File " + path + " has " + std::to_string(state->size) +
                      " bytes, more than the 2147483647 bytes a setup archive stores of one file!");
        return;
    }
    CurrentRun().Checked.emplace(path, *state);
}

// The clearing deletes the entries of the output folder by name, so a file
// is lost when the entry it is named by (a link there goes itself) or, for a
// link, the file it ends at lies in the output folder under a name the
// compile writes.
// A file used several ways is reported once: reported holds the files
// reported so far.
void checkNotCleared(const std::string &file, const std::filesystem::path &output, std::set<std::string> &reported)
{
    if (file.empty() || !reported.insert(file).second)
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
    if (target && target->parent_path() == output && IsCompileOutputName(target->filename().string()) &&
        reported.insert(target->string()).second)
        ReportProblem("The output folder " + CurrentRun().OutputDir + " holds " + target->string() + ", which " + file +
                      " links to and the compile would delete!");
}

// The output folder gets the compile's own files and loses those of an
// earlier compile: it must not be a folder of the author's or the program's,
// and must not hold a file the compile needs under a name it writes.
void checkOutputFolder()
{
    const RunContext &run = CurrentRun();
    // A project made on Windows names a drive or a network share, which is
    // no folder here: taken as a path it would land under the current
    // folder or at the root.
    if (hasDriveLetter(run.OutputDir) || run.OutputDir.starts_with("\\\\")) {
        ReportProblem("The output folder " + run.OutputDir +
                      " is a Windows drive or network path, which this system can't write to; choose a folder "
                      "here!");
        return;
    }
    // The compile writes only into the folder itself, never through a link.
    std::string folder = toNativePath(run.OutputDir);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back(); // a trailing separator would follow the link
    if (struct stat st {}; ::lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        ReportProblem("The output folder " + run.OutputDir + " is a symbolic link; a compile writes only into the "
                                                             "folder itself, so name the folder it leads to!");
        return;
    }
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
    std::set<std::string> reported;
    for (const std::string &file : filesTheCompileUses())
        checkNotCleared(file, *output, reported);
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
    if ((run.OutputType == 0 || run.OutputType == 1) && !mainIcon.empty()) {
        // Read as the icon step reads it, so that a file it can't use is
        // found before the earlier setup is deleted.
        const std::string path = ExpandRelativePath(mainIcon, run.WorkDir);
        if (checkReadable(path)) {
            const auto data = readFile(path);
            if (data && IconFileImageCount(*data) == 0)
                ReportProblem("The main icon " + path + " is no icon file (.ico) with an image a setup can show!");
        }
    }
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
// a name Windows can't create, two that are one name there, or one named
// like a file the compile writes there would not all arrive.
void checkAdditionalNames(const TMemIniStore &project)
{
    TStringList lines;
    project.ReadSectionValues("AdditionalFiles", lines);
    std::unordered_map<std::string, std::string> byName; // by WindowsNameKey
    for (const std::string &path : ResolveFileList(lines)) {
        const std::string name = extractFileName(path);
        if (name.empty())
            continue;
        if (const auto problem = WindowsNameProblem(name)) {
            ReportProblem("The additional file " + path + " would be copied as " + name + ", which " + *problem +
                          "!");
            continue;
        }
        if (IsOwnOutputNameOnWindows(name)) {
            ReportProblem("The additional file " + path + " has the name of a file the compile writes (" + name + ")!");
            continue;
        }
        const auto [at, fresh] = byName.try_emplace(WindowsNameKey(name), path);
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
        if (const auto problem = fileProblem(path))
            ReportProblem("File " + path + ", the older version of " + paths[n] + ", " + *problem + "!");
    }
}

// The package's files are matched to their entries in the other file
// sections by their keys 0, 1, 2...: a key given twice packs a file that no
// entry describes, and a key without a value names no file.
void checkSourceKeys(const TMemIniStore &project)
{
    TStringList lines;
    project.ReadSectionValues("SourceFiles", lines);
    std::unordered_map<std::string, std::string> byKey; // folded key, first value
    for (const std::string &line : lines) {
        const size_t eq = line.find('=');
        const std::string key = line.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        const auto [at, fresh] = byKey.try_emplace(foldedText(key), value);
        if (!fresh)
            ReportProblem("The key " + key + " of SourceFiles is given twice (" + at->second + " and " + value +
                          "); each file of the package needs a number of its own!");
        else if (ResolveFileList({line}).front().empty())
            ReportProblem("The key " + key + " of SourceFiles names no file!");
    }
}

// The volume number of an archive entry is one byte. Compressed sizes are
// known only once the files are compressed, but the entry table and the
// shortest stream of every file are a floor under an archive's size: a disk
// size too small for even that is found before anything is deleted.
void checkVolumeCount(const TMemIniStore &project, size_t supportCount, size_t packageCount)
{
    const RunContext &run = CurrentRun();
    const int32_t disk = project.ReadInteger("Temporary", "MaxDiskSize", 1457664);
    const int32_t cluster = project.ReadInteger("Temporary", "ClusterSize", 512);
    if (run.OutputType != 0 || disk <= 0 || cluster < 0)
        return;
    const auto floorSize = [](size_t files) {
        return kArchiveHeaderSize + (kArchiveEntrySize + kArchiveMinStreamSize) * static_cast<int64_t>(files);
    };
    // The package's first volume is at most a whole disk.
    const struct {
        const char *what;
        size_t files;
    } archives[] = {{"support archive", supportCount}, {"package", packageCount}};
    for (const auto &archive : archives) {
        const size_t volumes = VolumeSizes(floorSize(archive.files), disk, disk).size();
        if (static_cast<int64_t>(volumes) > kArchiveMaxVolume + 1)
            ReportProblem("The disk size " + std::to_string(disk) + " is too small: the " + archive.what +
                          " of " + std::to_string(archive.files) + " files needs at least " +
                          std::to_string(volumes) + " disks, and a setup has at most " +
                          std::to_string(kArchiveMaxVolume + 1) + "!");
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
// kArchiveNameSize, and the setup creates it under that name on a Windows
// disk. True when the name can be stored and created as it is.
bool checkStoredName(const std::string &name, const std::string &source)
{
    if (!fitsWindows1252(name)) {
        ReportProblem("The name of " + source +
                      " can't be stored in a setup archive: it has characters outside Windows-1252!");
        return false;
    }
    if (toWindows1252(name).size() > kArchiveNameSize) {
        ReportProblem("The name " + name + " of " + source + " is longer than the " +
                      std::to_string(kArchiveNameSize) + " bytes a setup archive stores!");
        return false;
    }
    if (const auto problem = WindowsNameProblem(name)) {
        ReportProblem(source + " would be stored as " + name + ", which " + *problem + "!");
        return false;
    }
    return true;
}

// The names of one archive, each with where it comes from: the setup
// unpacks them into one folder of a Windows disk, where names that differ
// only in letter case are one file.
void checkStoredNames(const std::vector<std::pair<std::string, std::string>> &stored)
{
    std::unordered_map<std::string, size_t> byFoldedName;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (!checkStoredName(stored[i].first, stored[i].second))
            continue;
        const auto [at, fresh] = byFoldedName.try_emplace(WindowsNameKey(stored[i].first), i);
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
        if (path.empty() || path.find('{') != std::string::npos)
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

    // What the archives read from the author's folders is noted as it is
    // now: the installation settings describe these states.
    run.Checked.clear();
    for (const std::string &path : run.SupportFiles)
        checkArchivedFile(path);

    checkSourceKeys(project);
    TStringList sources;
    project.ReadSectionValues("SourceFiles", sources);
    size_t packageCount = 0;
    for (const std::string &value : ResolveFileList(sources)) {
        if (value.empty() || value.find('{') != std::string::npos)
            continue;
        ++packageCount;
        checkArchivedFile(value);
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
    size_t supportCount = run.SupportFiles.size() + 1 + (run.NeedsRegServer ? 1 : 0); // with data.csf
    for (const WizardFile &file : kWizardFiles)
        supportCount += project.ReadString("Temporary", file.key, "").empty() ? 0 : 1;
    checkVolumeCount(project, supportCount, packageCount);
    if (run.OutputType == 2) {
        const std::string package = PackageName();
        const std::string key = WindowsNameKey(package);
        if (!isBareFileName(package))
            ReportProblem("The package name " + package + " must be a bare file name, without a folder!");
        else if (const auto problem = WindowsNameProblem(package))
            ReportProblem("The package name " + package + " " + *problem + "!");
        else if (IsVolumeName(key) || (run.CreateAutorun && (key == "autorun.inf" || key == "autorun.ico")))
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
