#include "settingsfile.h"

#include "encdec.h"
#include "filetools.h"
#include "files.h"
#include "paths.h"
#include "runcontext.h"

#include <unordered_map>

namespace wharf {
namespace {

// Key n of the section := bare file name of the project's line n.
void writeBareNames(TMemIniStore &data, const TMemIniStore &project, const char *section)
{
    TStringList lines;
    project.ReadSectionValues(section, lines);
    const auto paths = ResolveFileList(lines);
    for (size_t n = 0; n < paths.size(); ++n)
        data.WriteString(section, std::to_string(n), extractFileName(paths[n]));
}

// The additional files by file name, the first of each name: the keys are
// read from 0 up to the first empty or missing one.
std::unordered_map<std::string, std::string> additionalFilesByName(const TMemIniStore &project)
{
    std::unordered_map<std::string, std::string> byName;
    for (int i = 0;; ++i) {
        std::string value = project.ReadString("AdditionalFiles", std::to_string(i), "");
        if (value.empty())
            return byName;
        byName.try_emplace(extractFileName(value), std::move(value));
    }
}

void writeFileFacts(TMemIniStore &data, const TMemIniStore &project)
{
    const std::string &workDir = CurrentRun().WorkDir;
    TStringList destFiles;
    project.ReadSectionValues("DestFiles", destFiles);
    const auto additional = additionalFilesByName(project);
    for (size_t n = 0; n < destFiles.size(); ++n) {
        const std::string key = std::to_string(n);
        const std::string source = project.ReadString("SourceFiles", key, "");
        // The facts are read from the files the compile packs, so relative
        // paths are taken against the project's folder like everywhere else.
        if (source.find('{') != std::string::npos) {
            if (source.find("{src}") == std::string::npos)
                continue;
            const auto extra = additional.find(extractFileName(source));
            if (extra != additional.end())
                data.WriteInteger("FileAttributes", key, fileAttributes(ExpandRelativePath(extra->second, workDir)));
            continue;
        }
        const std::string path = ExpandRelativePath(source, workDir);
        data.WriteInteger("FileAttributes", key, fileAttributes(path));
        data.WriteString("SourceFiles", key, "{emp}");
        const std::string patched = project.ReadString("PatchedFiles", key, "");
        if (!patched.empty()) {
            const std::string patchPath = ExpandRelativePath(patched, workDir);
            if (fileExists(patchPath))
                data.WriteInteger("PatchedFileDates", key, fileDosDateTime(patchPath));
        }
        // The size validation found: the archive writer stores exactly
        // that many bytes or reports the file as changed.
        const auto &checked = CurrentRun().Checked;
        const auto state = checked.find(path);
        data.WriteString("FileSizes", key,
                         std::to_string(state != checked.end() ? state->second.size : fileSize(path)));
    }
}

} // namespace

std::unique_ptr<TMemIniStore> PrepareSettingsFile(const std::string &path)
{
    const TMemIniStore &project = *CurrentRun().Project;
    auto data = std::make_unique<TMemIniStore>(path);
    for (const char *section : {"Temporary", "AdditionalFiles", "DataFiles", "PatchedFiles"})
        data->EraseSection(section);
    const PasswordDigest digest = DigestString(project.ReadString("General", "Password", ""));
    data->WriteString("General", "Password", BytesToHex(digest.data(), digest.size()));
    writeBareNames(*data, project, "BillboardPics");
    writeBareNames(*data, project, "ScriptingExtensions");
    writeFileFacts(*data, project);
    for (const char *section : {"LanguageFiles", "Dialogs", "UninstallDialogs", "DllExtensions"})
        writeBareNames(*data, project, section);
    return data;
}

} // namespace wharf
