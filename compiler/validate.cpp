#include "validate.h"

#include "codec.h"
#include "compilepaths.h"
#include "filetools.h"
#include "files.h"
#include "paths.h"
#include "pipeline.h"
#include "runcontext.h"

#include <filesystem>
#include <optional>
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
    for (const std::string &file : filesTheCompileUses()) {
        if (file.empty() || !IsCompileOutputName(extractFileName(file)))
            continue;
        const auto path = canonicalOf(file);
        if (path && path->parent_path() == *output)
            ReportProblem("The output folder " + run.OutputDir + " holds " + file +
                          ", which the compile would delete!");
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
    const std::string package =
        run.OutputType == 2 ? project.ReadString("Temporary", "PackageName", "setup.lib") : std::string();
    std::unordered_map<std::string, std::string> byName;
    for (const std::string &path : ResolveFileList(lines)) {
        const std::string name = extractFileName(path);
        if (IsFixedOutputName(name) || name == package) {
            ReportProblem("The additional file " + path + " has the name of a file the compile writes (" + name + ")!");
            continue;
        }
        const auto [at, fresh] = byName.try_emplace(name, path);
        if (!fresh && at->second != path)
            ReportProblem("The additional files " + at->second + " and " + path + " have the same name " + name + "!");
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
        const std::string path = joinPath(run.AppDir, stub);
        if (!fileExists(path))
            ReportProblem("File " + path + " does not exist!");
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

// The support archive stores every file under its bare name, and the setup
// unpacks them into one folder of a file system that ignores letter case.
void checkSupportNames(const TMemIniStore &project)
{
    const RunContext &run = CurrentRun();
    std::vector<std::pair<std::string, std::string>> stored; // name, where it comes from
    for (const std::string &path : run.SupportFiles)
        stored.emplace_back(extractFileName(path), path);
    const std::pair<const char *, const char *> named[] = {
        {"BackImage", "BackImg"}, {"WzrdImg", "WzrdImg"}, {"LicenseFile", "License"}, {"ReadmeFile", "Readme"}};
    for (const auto &[key, base] : named) {
        const std::string value = project.ReadString("Temporary", key, "");
        if (!value.empty())
            stored.emplace_back(base + extractFileExt(value), ExpandRelativePath(value, run.WorkDir));
    }
    stored.emplace_back("data.csf", "the installation settings");
    if (run.NeedsRegServer)
        stored.emplace_back("wregsvr.exe", joinPath(run.AppDir, "regserv.bin"));
    if (run.OutputType != 0)
        stored.emplace_back("setup.0", "the package");
    std::unordered_map<std::string, size_t> byFoldedName;
    for (size_t i = 0; i < stored.size(); ++i) {
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
    const TMemIniStore &project = *run.Project;

    // Relative paths of the project are taken against its folder; an empty
    // one would root them at the file system's root.
    if (run.WorkDir.empty()) {
        ReportProblem("The project names no folder for its relative paths (WorkDir is empty)!");
        return false;
    }

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
        if (!fileExists(path))
            ReportProblem("File " + path + " does not exist!");

    TStringList sources;
    project.ReadSectionValues("SourceFiles", sources);
    for (const std::string &value : ResolveFileList(sources)) {
        if (value.find('{') != std::string::npos)
            continue;
        const std::string path = ExpandRelativePath(value, run.WorkDir);
        if (!fileExists(path))
            ReportProblem("File " + path + " does not exist!");
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
    if (run.OutputType == 2 && !isBareFileName(project.ReadString("Temporary", "PackageName", "setup.lib")))
        ReportProblem("The package name " + project.ReadString("Temporary", "PackageName", "setup.lib") +
                      " must be a bare file name, without a folder!");
    checkSupportNames(project);
    checkAdditionalNames(project);

    return !run.ValidationFailed;
}

} // namespace wharf
