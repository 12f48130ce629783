#include "groupchange.h"

#include "paths.h"

namespace wharf {
namespace {

constexpr size_t kMaxText = 255;

TriState stateOf(size_t count, size_t total)
{
    if (count == 0)
        return TriState::Unchecked;
    return count == total ? TriState::Checked : TriState::Mixed;
}

} // namespace

bool fileOption(const FileEntry &entry, FileOption option)
{
    switch (option) {
    case foCompareVersions: return entry.CompareVersions;
    case foCompareTimeStamps: return entry.CompareTimeStamps;
    case foShared: return entry.Shared;
    case foInUse: return entry.Pending;
    case foRegServer: return entry.RegOCX;
    case foOverwrite: return entry.Overwrite;
    case foUninstall: return entry.Uninstall;
    case foExternal: return entry.External;
    case foInstallFont: return entry.InstallFont;
    }
    return false;
}

void setFileOption(FileEntry &entry, FileOption option, bool value)
{
    switch (option) {
    case foCompareVersions: entry.CompareVersions = value; break;
    case foCompareTimeStamps: entry.CompareTimeStamps = value; break;
    case foShared: entry.Shared = value; break;
    case foInUse: entry.Pending = value; break;
    case foRegServer: entry.RegOCX = value; break;
    case foOverwrite: entry.Overwrite = value; break;
    case foUninstall: entry.Uninstall = value; break;
    case foExternal: entry.External = value; break;
    case foInstallFont: entry.InstallFont = value; break;
    }
}

GroupChange groupChangeFor(const std::vector<FileEntry> &files)
{
    GroupChange change;
    std::array<size_t, kFileOptionCount> options{};
    std::array<size_t, kTargetSystemCount> systems{};
    for (const FileEntry &file : files) {
        for (int o = 0; o < kFileOptionCount; ++o)
            options[static_cast<size_t>(o)] += fileOption(file, static_cast<FileOption>(o)) ? 1 : 0;
        const TargetSystemChecks checks = targetSystemChecks(file.TargetSystems);
        for (size_t s = 0; s < systems.size(); ++s)
            systems[s] += checks[s] ? 1 : 0;
    }
    for (size_t o = 0; o < options.size(); ++o)
        change.Options[o] = stateOf(options[o], files.size());
    for (size_t s = 0; s < systems.size(); ++s)
        change.Systems[s] = stateOf(systems[s], files.size());
    if (!files.empty()) {
        const std::string folder = extractFilePath(files.front().Destination);
        bool shared = true;
        for (const FileEntry &file : files)
            shared = shared && extractFilePath(file.Destination) == folder;
        if (shared)
            change.DestinationFolder = excludeTrailingSeparator(folder);
    }
    return change;
}

void applyGroupChange(std::vector<FileEntry> &files, const GroupChange &change)
{
    std::string folder = excludeTrailingSeparator(change.DestinationFolder);
    if (!folder.empty() && !isPathSeparator(folder.back()))
        folder += '\\';
    for (FileEntry &file : files) {
        if (!folder.empty())
            file.Destination = cutText(folder + extractFileName(file.Destination), kMaxText);
        for (int o = 0; o < kFileOptionCount; ++o) {
            const TriState state = change.Options[static_cast<size_t>(o)];
            if (state != TriState::Mixed)
                setFileOption(file, static_cast<FileOption>(o), state == TriState::Checked);
        }
        const TargetSystemChecks old = targetSystemChecks(file.TargetSystems);
        TargetSystemChecks checks = old;
        for (size_t s = 0; s < checks.size(); ++s)
            if (change.Systems[s] != TriState::Mixed)
                checks[s] = change.Systems[s] == TriState::Checked;
        if (checks != old)
            file.TargetSystems = targetSystemMask(checks);
    }
}

} // namespace wharf
