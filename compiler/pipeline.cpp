#include "pipeline.h"

#include "archive.h"
#include "compilemessages.h"
#include "filetools.h"
#include "files.h"
#include "inistore.h"
#include "paths.h"
#include "codec.h"
#include "resedit.h"
#include "runcontext.h"
#include "settingsfile.h"
#include "userdirs.h"
#include "validate.h"
#include "windowsnames.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unordered_set>

namespace wharf {
namespace {

// The fixed password of the support archive: its entries are always
// enciphered, so that only the setup runtime reads them. Passwords are
// text, so the seven key bytes are given as the text they stand for.
const std::string kSupportPassword = fromWindows1252(std::string("\x5A\x13\xC4\x08\x71\xE2\x3D", 7));

// The names the compile writes into the output folder.
constexpr const char *kSetupExe = "setup.exe";
constexpr const char *kPackagePattern = "setup.%d";
constexpr const char *kSupportPattern = "setup%d.lib";
constexpr const char *kAutorunInf = "autorun.inf";
constexpr const char *kAutorunIcon = "autorun.ico";

// Acts on a stop answered anywhere since the last look: reports it and
// tells the caller to end.
bool stopReported()
{
    RunContext &run = CurrentRun();
    if (!run.StopSeen)
        return false;
    LogError(std::string(kStopText));
    run.Terminated = true;
    return true;
}

// True when name is pattern with its "%d" replaced by a volume number as
// the compile writes it: decimal, without leading zeros, 0 to the last
// volume an archive can have.
bool matchesVolume(std::string_view name, std::string_view pattern)
{
    const size_t at = pattern.find("%d");
    const std::string_view head = pattern.substr(0, at), tail = pattern.substr(at + 2);
    if (name.size() <= head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail))
        return false;
    const std::string_view digits = name.substr(head.size(), name.size() - head.size() - tail.size());
    if (digits.size() > 3 || (digits.size() > 1 && digits.front() == '0') ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return std::stoi(std::string(digits)) <= kArchiveMaxVolume;
}

// Support files sort by full path without regard to case; paths that
// differ only in case are different files here and keep a fixed order.
bool supportOrder(const std::string &a, const std::string &b)
{
    const std::string fa = foldedText(a), fb = foldedText(b);
    return fa != fb ? fa < fb : a < b;
}

// Adds path to the sorted support list unless it is there already.
void addSupportFile(const std::string &path)
{
    auto &list = CurrentRun().SupportFiles;
    const auto at = std::lower_bound(list.begin(), list.end(), path, supportOrder);
    if (at == list.end() || *at != path)
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

// Where CopySupportFile puts a file: the compile's own Temp, or the output
// folder (through its handle).
enum class CopyInto { Temp, Output };

// Copies source to name in the folder with the log lines of the compile;
// false when the compile must end (a stop, or a failed copy). The copy is a
// new file: a link of that name is replaced, never written through.
bool CopySupportFile(const std::string &source, const std::string &name, CopyInto into, bool addToSupport)
{
    RunContext &run = CurrentRun();
    const FolderHandle &folder = into == CopyInto::Temp ? run.Temp->handle() : *run.Output;
    const std::string target = folder.pathOf(name);
    LogMessage("Copying " + source);
    LogMessage("   to " + target + "...");
    bool ok = true;
    // A stop answered to either line counts.
    if (stopReported()) {
        ok = false;
    } else if (source.empty()) {
        LogError("Could not copy !"); // no file is named
        ok = false;
    } else {
        errno = 0;
        const bool copied = folder.writeNewFile(name, {FilePiece{source}});
        if (!copied) {
            const int error = errno;
            LogError("Could not copy " + source + " to " + target + ": " + std::strerror(error) + "!");
            ok = false;
        }
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
        // Sent also while a large file is compressed: a stop answered here
        // ends the archive at once.
        LogMinorProgress(static_cast<uint16_t>(std::clamp(value, 0, 100)));
    } else if (value != 0) {
        const auto share = static_cast<uint32_t>(std::clamp(value, 0, 100));
        run.Percent = static_cast<uint16_t>(run.ProgressBase + roundHalfEven(share * run.ProgressSpan, 100));
    }
    return !run.StopSeen;
}

// The state each file had when validation checked it; none for the
// compile's own files in Temp.
std::vector<std::optional<FileState>> checkedStates(const std::vector<std::string> &files)
{
    const RunContext &run = CurrentRun();
    std::vector<std::optional<FileState>> states;
    states.reserve(files.size());
    for (const std::string &file : files) {
        const auto at = run.Checked.find(file);
        states.push_back(at == run.Checked.end() ? std::nullopt : std::optional<FileState>(at->second));
    }
    return states;
}

// Runs CreateArchive into folder; the volumes it wrote, or nullopt. A
// failure is reported as one error line, a stop as the stop line.
std::optional<std::vector<ArchiveVolume>>
buildArchive(const std::string &prefix, const FolderHandle &folder, const char *pattern,
             const std::vector<std::string> &files, const std::vector<std::string> &patchSources,
             const std::string &password, bool encipher, int level, int32_t volumeSize, int32_t firstVolumeSize)
{
    std::optional<std::vector<ArchiveVolume>> volumes;
    try {
        volumes = CreateArchive(folder, pattern, files, patchSources, ArchiveProgress, password, encipher, level,
                                volumeSize, firstVolumeSize, checkedStates(files));
    } catch (const std::exception &e) {
        LogError(prefix + e.what());
        return std::nullopt;
    }
    if (!volumes && !stopReported()) {
        // The writer stops only on a stop answer; say so should that change.
        LogError(prefix + "the archive was not written");
    }
    return volumes;
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
    int error = 0;
    auto update = BeginResourceUpdate(exe, false, &error);
    if (!update)
        return error == kErrorFileNotFound; // no resources, so no stored size either
    const auto stored = GetResourceEntry(*update, ResourceId(kResTypeRcData), ResourceId("LOADER_SIZE"), 0);
    EndResourceUpdate(std::move(update), true);
    if (!stored)
        return true;
    const int64_t size = fileSize(exe);
    return stored->size() == 4 && size == readLe32(reinterpret_cast<const uint8_t *>(stored->data()));
}

// Replaces "MAINICON" of setup.exe. False on any failure.
bool changeMainIcon(const std::string &exe, const std::string &icon)
{
    auto update = BeginResourceUpdate(exe, false);
    if (!update)
        return false;
    if (!LoadIconGroupFromFile(*update, ResourceId("MAINICON"), 0, icon)) {
        EndResourceUpdate(std::move(update), true);
        return false;
    }
    return EndResourceUpdate(std::move(update), false);
}

// Runs a step that reports through a Boolean and may raise; a raise counts
// as a failure.
template <class F>
bool succeeds(F &&step)
{
    try {
        return step();
    } catch (...) {
        return false;
    }
}

// The copied stub keeps the permissions of the program folder's file; the
// resource updates need to write it.
bool makeWritable(const std::string &path)
{
    std::error_code ec;
    std::filesystem::permissions(toNativePath(path), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ec);
    if (ec) {
        LogError("Could not make " + path + " writable: " + ec.message() + "!");
        return false;
    }
    return true;
}

// Makes this compile's own Temp folder.
bool createTemp()
{
    RunContext &run = CurrentRun();
    try {
        const std::string parent = userRuntimeFolder();
        createPrivateFolderPath(parent);
        run.Temp = std::make_unique<ScratchFolder>(parent, "compile");
    } catch (const std::runtime_error &e) {
        LogError(e.what());
        return false;
    }
    run.TempDir = run.Temp->path();
    return true;
}

// Takes the output folder for this compile: opened once, without following
// a link, and locked, so that a second compile into it, here or in another
// process, is refused until this one has ended, and a folder swapped for a
// link meanwhile is never followed.
bool holdOutputFolder()
{
    RunContext &run = CurrentRun();
    auto output = std::make_unique<FolderHandle>();
    errno = 0;
    if (!output->open(run.OutputDir)) {
        const int error = errno;
        if (error == ELOOP || (error == ENOTDIR && folderExists(run.OutputDir)))
            LogError("The output folder " + run.OutputDir + " is a symbolic link; a compile writes only into the "
                                                             "folder itself, so name the folder it leads to!");
        else
            LogError("Could not open the output folder " + run.OutputDir + ": " + std::strerror(error) + "!");
        return false;
    }
    errno = 0;
    if (!output->lock()) {
        const int error = errno;
        if (error == EWOULDBLOCK)
            LogError(OutputInUseText(run.OutputDir));
        else
            LogError("Could not lock the output folder " + run.OutputDir + ": " + std::strerror(error) + "!");
        return false;
    }
    run.Output = std::move(output);
    return true;
}

// Puts files made in Temp into the output folder under name, as a new file
// (pieces follow the first). False, with the error line, on failure.
bool placeInOutput(const std::string &name, const std::vector<FilePiece> &pieces)
{
    const FolderHandle &output = *CurrentRun().Output;
    errno = 0;
    if (output.writeNewFile(name, pieces))
        return true;
    const int error = errno;
    LogError("Could not write " + output.pathOf(name) + ": " + std::strerror(error) + "!");
    return false;
}

// The room a disk keeps beside a volume of size bytes, as the disk's
// clusters count it.
int64_t roomBeside(int64_t disk, int64_t size, int64_t cluster)
{
    return disk - RoundedToCluster(size, cluster);
}

// The three closing lines, as they read with errors error lines so far.
std::vector<std::string> closingLines(size_t errors, int64_t elapsedMs)
{
    const std::string stars(63, '*');
    // Steps that report a failure and go on (the autorun icon, the icon
    // change, the batch step, the log) leave a setup that is not what was
    // asked for.
    const std::string summary =
        errors == 0 ? "Compilation finished. Elapsed time: " + ElapsedTimeText(elapsedMs)
                    : "Compilation ended with " + std::to_string(errors) + (errors == 1 ? " error" : " errors") +
                          ". Elapsed time: " + ElapsedTimeText(elapsedMs);
    return {stars, summary, stars};
}

bool createOutputFolder()
{
    RunContext &run = CurrentRun();
    ForceDirs(run.OutputDir);
    if (folderExists(run.OutputDir))
        return true;
    std::error_code ec;
    std::filesystem::create_directories(toNativePath(run.OutputDir), ec);
    if (folderExists(run.OutputDir))
        return true;
    LogError("Could not create the output folder " + run.OutputDir + ": " +
             (ec ? ec.message() : std::string("it is not a folder")) + "!");
    return false;
}

// The names the compile gives files in the output folder besides its fixed
// ones, read from the project.
void collectOutputNames(const TMemIniStore &project)
{
    RunContext &run = CurrentRun();
    run.OutputNames.clear();
    if (run.OutputType == 2)
        run.OutputNames.insert(PackageName());
    TStringList lines;
    project.ReadSectionValues("AdditionalFiles", lines);
    for (const std::string &path : ResolveFileList(lines))
        run.OutputNames.insert(extractFileName(path));
}

} // namespace

bool IsVolumeName(std::string_view name)
{
    return matchesVolume(name, kPackagePattern) || matchesVolume(name, kSupportPattern);
}

bool IsCompileOutputName(std::string_view name)
{
    const RunContext &run = CurrentRun();
    if (IsVolumeName(name))
        return true;
    if (name == kSetupExe)
        return run.OutputType == 0 || run.OutputType == 1;
    if (name == kAutorunInf || name == kAutorunIcon)
        return run.CreateAutorun;
    return run.OutputNames.count(std::string(name)) > 0;
}

bool IsOwnOutputNameOnWindows(std::string_view name)
{
    const RunContext &run = CurrentRun();
    const std::string key = WindowsNameKey(name);
    if (IsVolumeName(key))
        return true;
    if (key == kSetupExe)
        return run.OutputType == 0 || run.OutputType == 1;
    if (key == kAutorunInf || key == kAutorunIcon)
        return run.CreateAutorun;
    return run.OutputType == 2 && run.Project && key == WindowsNameKey(PackageName());
}

std::string PackageName()
{
    return CurrentRun().Project->ReadString("Temporary", "PackageName", "setup.lib");
}

void ClearCompileOutput(bool announce)
{
    const RunContext &run = CurrentRun();
    if (!run.Output)
        return;
    // Every volume name goes, whatever the gaps between the numbers: a
    // volume left from an earlier compile must never join this one's.
    size_t left = 0;
    for (const FolderEntry &entry : run.Output->list()) {
        if (entry.isFolder || entry.name.front() == '.')
            continue;
        if (IsCompileOutputName(entry.name))
            run.Output->removeFile(entry.name);
        else
            ++left;
    }
    if (announce && left > 0)
        LogMessage("Warning: " + std::to_string(left) + (left == 1 ? " file" : " files") +
                   " in the output folder not written by a compile " + (left == 1 ? "was" : "were") +
                   " left alone.");
}

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
    run.StopSeen = false;
    run.LogLines.clear();
    run.Percent = 0;
    LogMessage("Brindlewharf Setup Compiler 2.0");
    if (stopReported())
        return;

    // 4: the project.
    run.Project = std::make_unique<TMemIniStore>(run.ProjectFile);
    const TMemIniStore &project = *run.Project;
    run.WorkDir = project.ReadString("Temporary", "WorkDir", run.AppDir);
    run.OutputType = project.ReadInteger("Temporary", "OutputType", 0);
    run.CreateAutorun = project.ReadBool("Temporary", "CreateAutorun", false);
    const int outputType = run.OutputType;

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
    run.SupportFiles = ResolveFileList(support);
    std::sort(run.SupportFiles.begin(), run.SupportFiles.end(), supportOrder);
    run.SupportFiles.erase(std::unique(run.SupportFiles.begin(), run.SupportFiles.end()), run.SupportFiles.end());
    if (outputType != 2)
        addSupportFile(joinPath(run.AppDir, "setup.bin"));
    collectOutputNames(project);

    // The program that registers controls after a reboot is needed when
    // some file entry has both flags.
    run.NeedsRegServer = false;
    project.ReadSection("DestFiles", lines);
    for (size_t n = 0; n < lines.size() && !run.NeedsRegServer; ++n) {
        const std::string key = std::to_string(n);
        run.NeedsRegServer = project.ReadBool("RegOCX", key, false) && project.ReadBool("Pending", key, false);
    }

    // 7-8: validation before anything is touched.
    const auto started = std::chrono::steady_clock::now();
    if (!ValidateProject())
        return;

    // 9-10: this compile's own Temp and an output folder without the files
    // of an earlier compile.
    if (!createTemp() || !createOutputFolder() || !holdOutputFolder())
        return;
    run.OutputTouched = true;
    ClearCompileOutput(true);
    LogMessage("Copying installation files...");
    if (stopReported())
        return;

    // 11: pictures and texts of the wizard.
    for (const WizardFile &file : kWizardFiles) {
        const std::string value = supportKey("Temporary", file.key);
        if (!value.empty() && !CopySupportFile(resolved(value), file.base + extractFileExt(value), CopyInto::Temp, true))
            return;
    }

    // 12: the program that registers controls after a reboot.
    run.Percent = 2;
    if (run.NeedsRegServer &&
        !CopySupportFile(joinPath(run.AppDir, "regserv.bin"), "wregsvr.exe", CopyInto::Temp, true))
        return;

    // 13: the installation settings file.
    run.Percent = 7;
    if (!CopySupportFile(run.ProjectFile, "data.csf", CopyInto::Temp, true))
        return;
    auto settings = PrepareSettingsFile(joinPath(run.TempDir, "data.csf"));

    // 14-15: the files beside the setup.
    const int64_t cluster = project.ReadInteger("Temporary", "ClusterSize", 512);
    int64_t additionalSize = 0;
    project.ReadSectionValues("AdditionalFiles", lines);
    for (const std::string &path : ResolveFileList(lines)) {
        if (!CopySupportFile(path, extractFileName(path), CopyInto::Output, false))
            return;
        additionalSize += FileSizeRounded(path, cluster);
    }
    try {
        settings->UpdateFile();
    } catch (const std::exception &e) {
        LogError(e.what());
        return;
    }
    settings.reset();

    // The one-volume archives of a self-extracting setup and a package are
    // made in Temp; the output folder only gets the finished file.
    const FolderHandle &temp = run.Temp->handle();

    // 16-18: the support archive of a disk set.
    const int level = project.ReadInteger("Temporary", "CompressionLevel", 8);
    const std::vector<std::string> supportList = run.SupportFiles;
    const int32_t maxDisk = project.ReadInteger("Temporary", "MaxDiskSize", 1457664);
    int64_t supportRoom = maxDisk;
    std::vector<ArchiveVolume> supportVolumes;
    if (outputType == 0) {
        supportRoom = maxDisk - FileSizeRounded(joinPath(run.AppDir, "setupldr.bin"), cluster) - additionalSize;
        // The archive writer takes no first volume of 0 bytes.
        if (supportRoom <= 0)
            supportRoom = maxDisk;
        run.ProgressSpan = 10;
        run.ProgressBase = run.Percent;
        auto written = buildArchive("Error creating data archive. Message: ", *run.Output, kSupportPattern,
                                    supportList, {}, kSupportPassword, true, level, maxDisk,
                                    static_cast<int32_t>(supportRoom));
        if (!written)
            return;
        supportVolumes = std::move(*written);
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

    // 20: the package's volumes. On a disk set the package begins beside the
    // last support volume, as the writer wrote it.
    int32_t volumeSize = -1;
    int64_t firstVolume = -1;
    if (outputType == 0) {
        volumeSize = maxDisk;
        if (supportVolumes.size() == 1)
            firstVolume = roomBeside(supportRoom, supportVolumes.front().size, cluster);
        else
            firstVolume = roomBeside(maxDisk, supportVolumes.back().size, cluster);
        if (firstVolume <= 0)
            firstVolume = maxDisk; // the last support volume is full: the package starts a disk of its own
    }

    // 21: the package.
    run.ProgressSpan = outputType == 0 ? 80 : 70;
    run.ProgressBase = run.Percent;
    if (!buildArchive("Error creating setup package. Message: ", outputType == 0 ? *run.Output : temp,
                      kPackagePattern, run.SupportFiles, run.PatchSources,
                      project.ReadString("General", "Password", ""),
                      project.ReadBool("General", "RequirePassword", false), level, volumeSize,
                      static_cast<int32_t>(std::clamp<int64_t>(firstVolume, INT32_MIN, INT32_MAX))))
        return;

    // 22: one support volume that holds the package.
    const std::string supportVolume = joinPath(run.TempDir, VolumeFileName(kSupportPattern, 0));
    if (outputType == 1 || outputType == 2) {
        run.Percent = 85;
        run.ProgressSpan = 10;
        run.ProgressBase = 85;
        std::vector<std::string> list = supportList;
        const std::string package = joinPath(run.TempDir, VolumeFileName(kPackagePattern, 0));
        list.push_back(package);
        if (!buildArchive("Error creating setup package. Message: ", temp, kSupportPattern, list, {},
                          kSupportPassword, true, level, -1, -1))
            return;
        deleteFile(package);
    }
    if (stopReported())
        return;

    // 23: autorun.
    run.Percent = 95;
    if (run.CreateAutorun) {
        if (!CopySupportFile(resolved(supportKey("Temporary", "AutorunIcon")), kAutorunIcon, CopyInto::Output,
                             false) &&
            run.Terminated)
            return;
        // Made in Temp, where nobody else writes, then put in place whole.
        const std::string autorunInf = joinPath(run.TempDir, kAutorunInf);
        try {
            TProfileIniFile autorun(autorunInf);
            autorun.WriteString("Autorun", "OPEN", supportKey("Temporary", "AutorunApplication", kSetupExe));
            autorun.WriteString("Autorun", "ICON", kAutorunIcon);
        } catch (const std::exception &e) {
            LogError(e.what());
            return;
        }
        if (!placeInOutput(kAutorunInf, {FilePiece{autorunInf}}))
            return;
    }

    // 24-25: setup.exe from its stub, with the project's icon. Its
    // resources are changed in Temp, where nobody else writes; the output
    // folder only gets the finished file.
    const std::string stubCopy = joinPath(run.TempDir, kSetupExe);
    if (outputType == 0 || outputType == 1) {
        const char *stub = outputType == 0 ? "setupldr.bin" : "selfext.bin";
        if (!CopySupportFile(joinPath(run.AppDir, stub), kSetupExe, CopyInto::Temp, false) || !makeWritable(stubCopy))
            return;
        const std::string icon = supportKey("Temporary", "MainIcon");
        if (!icon.empty()) {
            LogMessage("Changing main icon...");
            if (!succeeds([&] { return changeMainIcon(stubCopy, resolved(icon)); }))
                LogError("Error changing main icon!");
        }
        // The runtime finds the appended archive behind "LOADER_SIZE" bytes:
        // a changed icon changes that size, and a stub's own value does not
        // give the size of this setup.exe.
        if (outputType == 1 && !succeeds([&] {
                return (icon.empty() && loaderSizeAgrees(stubCopy)) || storeLoaderSize(stubCopy);
            })) {
            LogError("Could not store the size of " + stubCopy + " in its LOADER_SIZE resource!");
            return;
        }
        if (stopReported())
            return;
        if (outputType == 0 && !placeInOutput(kSetupExe, {FilePiece{stubCopy}}))
            return;
    }

    // 26: the final form.
    if (outputType == 1) {
        if (!placeInOutput(kSetupExe, {FilePiece{stubCopy}, FilePiece{supportVolume}}))
            return;
    } else if (outputType == 2) {
        if (!placeInOutput(PackageName(), {FilePiece{supportVolume}}))
            return;
    }

    // 27-28: clean up and the author's batch step.
    run.Temp.reset();
    const std::string batch = resolved(supportKey("Temporary", "RunBatch"));
    if (!batch.empty()) {
        LogMessage("Executing " + batch + "...");
        if (stopReported())
            return;
        if (errno = 0; !RunAndWait(batch)) {
            const int error = errno;
            LogError("Could not run batch file " + batch + ": " + std::strerror(error) + "!");
        }
        // The batch step may run long without a line: a stop that came
        // meanwhile is asked for now, before anything says "finished".
        AskToGoOn();
    }
    if (stopReported())
        return;

    // 29-30: the closing lines and the log. From here on the setup is
    // finished: an answer can no longer undo it.
    run.Closing = true;
    run.Percent = 100;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    // The log is saved before the closing lines are sent, with the lines as
    // they will read, so that a log that can't be saved is an error the
    // closing lines count.
    if (run.WriteLog) {
        const auto closing = closingLines(run.ErrorCount, elapsed);
        run.LogLines.insert(run.LogLines.end(), closing.begin(), closing.end());
        SaveLog();
        run.WriteLog = false; // saved, or its failure is one of the errors counted
    }
    for (const std::string &line : closingLines(run.ErrorCount, elapsed))
        LogMessage(line);
    run.Project.reset();
}

} // namespace wharf
