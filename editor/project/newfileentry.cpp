#include "newfileentry.h"

#include "inistore.h"
#include "paths.h"

namespace wharf {
namespace {

constexpr size_t kMaxText = 255;
constexpr std::string_view kAppFolder = "{app}\\";

} // namespace

FileEntry makeFileEntry(const TCustomIniStore *defaults, std::string_view source, std::string_view destination,
                        bool relative, int groupIndex)
{
    const std::string section = extractFileExt(source);
    const auto flag = [&](std::string_view key, bool def) {
        return defaults ? defaults->ReadBool(section, key, def) : def;
    };
    FileEntry entry;
    entry.Source = std::string(source);
    entry.Destination = cutText(destination, kMaxText);
    entry.Description = cutText(extractFileName(source), kMaxText);
    entry.GroupIndex = static_cast<uint16_t>(groupIndex < 0 ? 0 : groupIndex);
    entry.External = false;
    entry.Relative = relative;
    if (extractFilePath(destination) == kAppFolder) {
        std::string folder = defaults ? defaults->ReadString(section, "Destination", "{app}") : "{app}";
        folder = excludeTrailingSeparator(folder.empty() ? std::string("{app}") : folder);
        if (!isPathSeparator(folder.back()))
            folder += '\\';
        entry.Destination = cutText(folder + extractFileName(destination), kMaxText);
    }
    entry.CompareVersions = flag("CompareVersions", false);
    entry.CompareTimeStamps = flag("CompareTimeStamps", true);
    entry.Shared = flag("Shared", false);
    entry.RegOCX = flag("RegServer", false);
    entry.Overwrite = flag("Overwrite", true);
    entry.Uninstall = flag("Uninstall", true);
    entry.Pending = flag("InUse", false);
    entry.TargetSystems = defaults ? defaults->ReadInteger(section, "System", kAllTargetSystems) : kAllTargetSystems;
    entry.InstallFont = flag("InstallFont", false);
    return entry;
}

bool extensionChecksDependencies(const TCustomIniStore *defaults, std::string_view source)
{
    return defaults && defaults->ReadBool(extractFileExt(source), "CheckDependencies", false);
}

} // namespace wharf
