#include "pipeline.h"

#include "archive.h"
#include "filetools.h"
#include "files.h"
#include "inistore.h"
#include "paths.h"
#include "codec.h"
#include "resedit.h"
#include "runcontext.h"
#include "settingsfile.h"
#include "validate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace wharf {
namespace {

// The fixed password of the support archive: its entries are always
// enciphered, so that only the setup runtime reads them. Passwords are
// text, so the seven key bytes are given as the text they stand for.
const std::string kSupportPassword = fromWindows1252(std::string("\x5A\x13\xC4\x08\x71\xE2\x3D", 7));

constexpr const char *kTerminated = "Compilation terminated by user!";

// Reports the stop and tells the caller to end when one is pending.
bool stopReported()
{
    if (!CurrentRun().StopRequested)
        return false;
    LogError(kTerminated);
    return true;
}

bool lessIgnoringCase(const std::string &a, const std::string &b)
{
    return foldedText(a) < foldedText(b);
}

// Adds path to the sorted support list unless it is there already.
void addSupportFile(const std::string &path)
{
    auto &list = CurrentRun().SupportFiles;
    const auto at = std::lower_bound(list.begin(), list.end(), path, lessIgnoringCase);
    if (at == list.end() || !sameTextIgnoreCase(*at, path))
        list.insert(at, path);
}

std::string supportKey(const char *section, const char *key, const char *def = "")
{
    return CurrentRun().Project->ReadString(section, key, def);
}

std::string resolved(const std::string &path)
{
    return ExpandRelativePath(path, CurrentRun().WorkDir);
}

// Copies source to folder/name with the log lines of the compile; see the
// header of CompileProject for what a false result means.
bool CopySupportFile(const std::string &source, const std::string &name, const std::string &folder,
                     bool addToSupport)
{
    ForceDirs(folder);
    const std::string target = joinPath(folder, name);
    LogMessage("Copying " + source);
    LogMessage("   to " + target + "...");
    bool ok = true;
    if (CurrentRun().StopRequested) {
        LogError(kTerminated);
        ok = false;
    } else if (!copyFile(source, target)) {
        LogError("Could not copy " + extractFileName(source) + "!");
        ok = false;
    }
    if (addToSupport)
        addSupportFile(target);
    return ok;
}

uint16_t roundHalfEven(uint32_t numerator, uint32_t denominator)
{
    uint32_t q = numerator / denominator;
    const uint32_t r2 = (numerator % denominator) * 2;
    if (r2 > denominator || (r2 == denominator && (q & 1)))
        ++q;
    return static_cast<uint16_t>(q);
}

bool ArchiveProgress(int kind, int value, const std::string &fileName)
{
    RunContext &run = CurrentRun();
    if (kind == 0) {
        LogMessage("Compressing " + fileName + "...");
    } else if (kind == 2) {
        LogMinorProgress(static_cast<uint16_t>(std::clamp(value, 0, 100)));
    } else if (value != 0) {
        const auto share = static_cast<uint32_t>(std::clamp(value, 0, 100));
        run.Percent = static_cast<uint16_t>(run.ProgressBase + roundHalfEven(share * run.ProgressSpan, 100));
    }
    return !run.StopRequested;
}

// Runs CreateArchive and reports what it raises as one error line.
void buildArchive(const std::string &prefix, const std::string &pattern, const std::vector<std::string> &files,
                  const std::vector<std::string> &patchSources, const std::string &password, bool encipher,
                  int level, int32_t volumeSize, int32_t firstVolumeSize)
{
    try {
        CreateArchive(pattern, files, patchSources, ArchiveProgress, password, encipher, level, volumeSize,
                      firstVolumeSize);
    } catch (const std::exception &e) {
        LogError(prefix + e.what());
    }
}

// Stores the size of exe as its "LOADER_SIZE". The stored value must equal
// the size of the file it is stored in; a first write can change that size,
// so write until the two agree. False on any failure.
bool storeLoaderSize(const std::string &exe)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int64_t size = fileSize(exe);
        if (size < 0 || size > 0xFFFFFFFFll)
            return false;
        const uint32_t value = static_cast<uint32_t>(size);
        const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
        auto update = BeginResourceUpdate(exe, false);
        if (!update)
            return false;
        if (!UpdateResourceEntry(*update, ResourceId(kResTypeRcData), ResourceId("LOADER_SIZE"), 0, bytes, 4)) {
            EndResourceUpdate(std::move(update), true);
            return false;
        }
        if (!EndResourceUpdate(std::move(update), false))
            return false;
        if (fileSize(exe) == size)
            return true;
    }
    return false;
}

// True unless exe carries a "LOADER_SIZE" that differs from its own size.
bool loaderSizeAgrees(const std::string &exe)
{
    auto update = BeginResourceUpdate(exe, false);
    if (!update)
        return true; // no resources, so no stored size either
    const auto stored = GetResourceEntry(*update, ResourceId(kResTypeRcData), ResourceId("LOADER_SIZE"), 0);
    EndResourceUpdate(std::move(update), true);
    if (!stored)
        return true;
    const int64_t size = fileSize(exe);
    return stored->size() == 4 && size == readLe32(reinterpret_cast<const uint8_t *>(stored->data()));
}

// Replaces "MAINICON" of setup.exe and, for a self-extracting setup, stores
// its own size as "LOADER_SIZE". False on any failure.
bool changeMainIcon(const std::string &exe, const std::string &icon, bool selfExtracting)
{
    {
        auto update = BeginResourceUpdate(exe, false);
        if (!update)
            return false;
        if (!LoadIconGroupFromFile(*update, ResourceId("MAINICON"), 0, icon)) {
            EndResourceUpdate(std::move(update), true);
            return false;
        }
        if (!EndResourceUpdate(std::move(update), false))
            return false;
    }
    return !selfExtracting || storeLoaderSize(exe);
}

} // namespace

std::string ElapsedTimeText(int64_t ms)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2lld:%.2lld:%.2lld min", static_cast<long long>(ms / 60000),
                  static_cast<long long>((ms / 1000) % 60), static_cast<long long>((ms % 1000) / 10));
    return buf;
}

void CompileProject()
{
    RunContext &run = CurrentRun();
    // 1-3: a fresh log and the banner.
    run.StopRequested = false;
    run.LogLines.clear();
    run.Percent = 0;
    LogMessage("Brindlewharf Setup Compiler 2.0");
    if (stopReported())
        return;

    // 4: the project.
    run.Project = std::make_unique<TMemIniStore>(run.ProjectFile);
    const TMemIniStore &project = *run.Project;
    run.WorkDir = project.ReadString("Temporary", "WorkDir", run.AppDir);
    // A project saved on another machine (a Windows drive path, say) is
    // compiled against its own folder.
    if (!folderExists(run.WorkDir) && project.ReadString("Temporary", "WorkDir", "").size() > 0)
        run.WorkDir = extractFilePath(run.ProjectFile);
    const int outputType = project.ReadInteger("Temporary", "OutputType", 0);

    // 5-6: the support files and the output folder.
    TStringList lines;
    TStringList support;
    const auto addLines = [&](const char *section) {
        project.ReadSectionValues(section, lines);
        support.insert(support.end(), lines.begin(), lines.end());
    };
    addLines("DllExtensions");
    addLines("BillboardPics");
    addLines("LanguageFiles");
    project.ReadSectionValues("InstTypes", run.InstTypesList);
    addLines("DataFiles");
    addLines("Dialogs");
    if (project.ReadBool("General", "Uninstaller", true))
        addLines("UninstallDialogs");
    addLines("ScriptingExtensions");
    run.OutputDir = resolved(project.ReadString("Temporary", "OutputDir", ""));
    run.SupportFiles.clear();
    for (const std::string &path : ResolveFileList(support))
        addSupportFile(path);
    if (outputType != 2)
        addSupportFile(joinPath(run.AppDir, "setup.bin"));

    // 7-8: validation before anything is touched.
    const auto started = std::chrono::steady_clock::now();
    if (!ValidateProject())
        return;

    // 9-10: clean folders.
    ForceDirs(run.OutputDir);
    ClearDirectory(run.TempDir, true, false);
    ClearDirectory(run.OutputDir, false, false);
    LogMessage("Copying installation files...");
    if (stopReported())
        return;

    // 11: pictures and texts of the wizard.
    const std::pair<const char *, const char *> named[] = {
        {"BackImage", "BackImg"}, {"WzrdImg", "WzrdImg"}, {"LicenseFile", "License"}, {"ReadmeFile", "Readme"}};
    for (const auto &[key, base] : named) {
        const std::string value = supportKey("Temporary", key);
        if (!value.empty() && !CopySupportFile(resolved(value), base + extractFileExt(value), run.TempDir, true))
            return;
    }

    // 12: the program that registers controls after a reboot.
    run.Percent = 2;
    TStringList destFiles;
    project.ReadSectionValues("DestFiles", destFiles);
    for (size_t n = 0; n < destFiles.size(); ++n) {
        const std::string key = std::to_string(n);
        if (project.ReadBool("RegOCX", key, false) && project.ReadBool("Pending", key, false)) {
            if (!CopySupportFile(joinPath(run.AppDir, "regserv.bin"), "wregsvr.exe", run.TempDir, true))
                return;
            break;
        }
    }

    // 13: the installation settings file.
    run.Percent = 7;
    if (!CopySupportFile(run.ProjectFile, "data.csf", run.TempDir, true))
        return;
    auto settings = PrepareSettingsFile(joinPath(run.TempDir, "data.csf"));

    // 14-15: the files beside the setup.
    ClearDirectory(run.OutputDir, false, false);
    const int64_t cluster = project.ReadInteger("Temporary", "ClusterSize", 512);
    int64_t additionalSize = 0;
    project.ReadSectionValues("AdditionalFiles", lines);
    for (const std::string &path : ResolveFileList(lines)) {
        if (!CopySupportFile(path, extractFileName(path), run.OutputDir, false))
            return;
        additionalSize += FileSizeRounded(path, cluster);
    }
    settings->UpdateFile();
    settings.reset();

    // 16-18: the support archive of a disk set.
    const int level = project.ReadInteger("Temporary", "CompressionLevel", 8);
    const std::string supportPattern = joinPath(run.OutputDir, "setup%d.lib");
    const std::vector<std::string> supportList = run.SupportFiles;
    const int32_t maxDisk = project.ReadInteger("Temporary", "MaxDiskSize", 1457664);
    int64_t supportRoom = maxDisk;
    if (outputType == 0) {
        supportRoom = maxDisk - FileSizeRounded(joinPath(run.AppDir, "setupldr.bin"), cluster) - additionalSize;
        // The archive writer takes no first volume of 0 bytes.
        if (supportRoom <= 0)
            supportRoom = maxDisk;
        run.ProgressSpan = 10;
        run.ProgressBase = run.Percent;
        buildArchive("Error creating data archive. Message: ", supportPattern, supportList, {},
                     kSupportPassword, true, level, maxDisk, static_cast<int32_t>(supportRoom));
    }
    if (stopReported())
        return;

    // 19: the package's files; sources with "{" are fetched by the runtime.
    run.Percent = 15;
    project.ReadSectionValues("SourceFiles", lines);
    const auto sources = ResolveFileList(lines);
    run.SupportFiles.clear();
    run.PatchSources.clear();
    for (size_t n = 0; n < sources.size(); ++n) {
        if (sources[n].find('{') != std::string::npos)
            continue;
        run.SupportFiles.push_back(sources[n]);
        run.PatchSources.push_back(resolved(project.ReadString("PatchedFiles", std::to_string(n), "")));
    }

    // 20: the package's volumes.
    int32_t volumeSize = -1;
    int64_t firstVolume = -1;
    if (outputType == 0) {
        volumeSize = maxDisk;
        int p = 0;
        while (fileExists(VolumeFileName(supportPattern, p + 1)))
            ++p;
        if (p == 0)
            firstVolume = supportRoom - FileSizeRounded(VolumeFileName(supportPattern, 0), cluster);
        else
            firstVolume = maxDisk - FileSizeRounded(VolumeFileName(supportPattern, p), cluster);
        if (firstVolume == 0)
            firstVolume = maxDisk;
    }

    // 21: the package.
    run.ProgressSpan = outputType == 0 ? 80 : 70;
    run.ProgressBase = run.Percent;
    const std::string packagePattern = joinPath(run.OutputDir, "setup.%d");
    buildArchive("Error creating setup package. Message: ", packagePattern, run.SupportFiles, run.PatchSources,
                 project.ReadString("General", "Password", ""), project.ReadBool("General", "RequirePassword", false),
                 level, volumeSize, static_cast<int32_t>(std::clamp<int64_t>(firstVolume, INT32_MIN, INT32_MAX)));

    // 22: one support volume that holds the package.
    if (outputType == 1 || outputType == 2) {
        run.Percent = 85;
        run.ProgressSpan = 10;
        run.ProgressBase = 85;
        std::vector<std::string> list = supportList;
        list.push_back(VolumeFileName(packagePattern, 0));
        buildArchive("Error creating setup package. Message: ", supportPattern, list, {}, kSupportPassword,
                     true, level, -1, -1);
        deleteFile(VolumeFileName(packagePattern, 0));
    }

    // 23: autorun.
    run.Percent = 95;
    if (project.ReadBool("Temporary", "CreateAutorun", false)) {
        CopySupportFile(resolved(supportKey("Temporary", "AutorunIcon")), "autorun.ico", run.OutputDir, false);
        TProfileIniFile autorun(joinPath(run.OutputDir, "autorun.inf"));
        autorun.WriteString("Autorun", "OPEN", supportKey("Temporary", "AutorunApplication", "setup.exe"));
        autorun.WriteString("Autorun", "ICON", "autorun.ico");
    }

    // 24-25: setup.exe from its stub, with the project's icon.
    const std::string setupExe = joinPath(run.OutputDir, "setup.exe");
    if (outputType == 0 || outputType == 1) {
        const char *stub = outputType == 0 ? "setupldr.bin" : "selfext.bin";
        if (!CopySupportFile(joinPath(run.AppDir, stub), "setup.exe", run.OutputDir, false))
            return;
        const std::string icon = supportKey("Temporary", "MainIcon");
        if (!icon.empty()) {
            LogMessage("Changing main icon...");
            bool ok = false;
            try {
                ok = changeMainIcon(setupExe, resolved(icon), outputType == 1);
            } catch (...) {
                ok = false;
            }
            if (!ok)
                LogError("Error changing main icon!");
        } else if (outputType == 1) {
            // Without an icon the stub's own "LOADER_SIZE" stays; when it does
            // not give the size of this setup.exe, the runtime would look for
            // the appended archive in the wrong place.
            bool ok = false;
            try {
                ok = loaderSizeAgrees(setupExe) || storeLoaderSize(setupExe);
            } catch (...) {
                ok = false;
            }
            if (!ok)
                LogError("Error changing main icon!");
        }
    }

    // 26: the final form.
    const std::string supportVolume = VolumeFileName(supportPattern, 0);
    if (outputType == 1) {
        appendFile(setupExe, supportVolume);
        deleteFile(supportVolume);
    } else if (outputType == 2) {
        const std::string package = joinPath(run.OutputDir, supportKey("Temporary", "PackageName", "setup.lib"));
        if (!renameFile(supportVolume, package))
            LogError("Could not rename setup archive!");
    }

    // 27-28: clean up and the author's batch step.
    ClearDirectory(run.TempDir, true, false);
    const std::string batch = resolved(supportKey("Temporary", "RunBatch"));
    if (!batch.empty()) {
        LogMessage("Executing " + batch + "...");
        if (!RunAndWait(batch))
            LogError("Could not run batch file " + batch + "!");
    }

    // 29-30: the closing lines and the log.
    run.Percent = 100;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    const std::string stars(63, '*');
    LogMessage(stars);
    LogMessage("Compilation finished. Elapsed time: " + ElapsedTimeText(elapsed));
    LogMessage(stars);
    if (run.WriteLog)
        SaveLog();
    run.Project.reset();
}

} // namespace wharf
