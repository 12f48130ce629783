#include "validate.h"

#include "filetools.h"
#include "files.h"
#include "paths.h"
#include "runcontext.h"

#include <filesystem>
#include <optional>

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

// Every file the compile reads while it clears the output and Temp folders:
// the project, what it packs, what it copies, the stubs and the batch step.
std::vector<std::string> filesTheCompileUses()
{
    const RunContext &run = CurrentRun();
    const TMemIniStore &project = *run.Project;
    std::vector<std::string> files = {run.ProjectFile};
    files.insert(files.end(), run.SupportFiles.begin(), run.SupportFiles.end());
    TStringList lines;
    for (const char *section : {"SourceFiles", "PatchedFiles", "AdditionalFiles"}) {
        project.ReadSectionValues(section, lines);
        for (const std::string &path : ResolveFileList(lines))
            if (path.find('{') == std::string::npos)
                files.push_back(path);
    }
    for (const char *key : {"BackImage", "WzrdImg", "LicenseFile", "ReadmeFile", "AutorunIcon", "RunBatch"})
        files.push_back(ExpandRelativePath(project.ReadString("Temporary", key, ""), run.WorkDir));
    for (const char *stub : {"setup.bin", "setupldr.bin", "selfext.bin", "regserv.bin"})
        files.push_back(joinPath(run.AppDir, stub));
    return files;
}

// Reports every file the compile would delete although it needs it: files
// directly in the output folder (its files are deleted) and files anywhere
// below the Temp folder (emptied with its subfolders).
void checkFoldersTheCompileClears()
{
    const RunContext &run = CurrentRun();
    const auto output = canonicalOf(run.OutputDir);
    const auto temp = canonicalOf(run.TempDir);
    if (output && temp) {
        const auto rel = output->lexically_relative(*temp);
        if (!rel.empty() && *rel.begin() != "..") {
            ReportProblem("The output folder " + run.OutputDir + " lies inside the compiler's Temp folder " +
                          run.TempDir + ", which is emptied during the compile!");
            return;
        }
    }
    for (const std::string &file : filesTheCompileUses()) {
        const auto path = canonicalOf(file);
        if (!path || path->empty())
            continue;
        if (output && path->parent_path() == *output) {
            ReportProblem("The output folder " + run.OutputDir + " holds " + file +
                          ", which the compile would delete!");
        } else if (temp) {
            const auto rel = path->lexically_relative(*temp);
            if (!rel.empty() && *rel.begin() != "..")
                ReportProblem("The file " + file + " lies inside the compiler's Temp folder " + run.TempDir +
                              ", which the compile empties!");
        }
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

    // The compile deletes the output folder's files; without a folder they
    // would land in (and be deleted from) whatever the root resolves to.
    if (project.ReadString("Temporary", "OutputDir", "").empty())
        ReportProblem("You must specify an output folder!");
    else
        checkFoldersTheCompileClears();

    return !run.ValidationFailed;
}

} // namespace wharf
