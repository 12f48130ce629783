#pragma once
// The project document of the editor: everything a project file holds, as
// plain records in the orders the file is written in. The pages of the
// editor are views of one Project; the controller (projectcontroller.h)
// reads it from and writes it to project files.
//
// A default-constructed Project is what reading a project file without any
// key gives: every setting at the reader's default and no entries.

#include "records.h"
#include "registrytree.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The settings of [General] and [Temporary], named after their keys.
struct GeneralSettings {
    std::string AppName;
    std::string Caption;  // setup title
    ProjectFont CaptionFont;
    std::string VerInfo = "1.0";
    std::string DetailedVersion = "1.0";
    std::string Copyright;
    ProjectFont CopyrightFont;
    bool UseGradient = false;  // show the background window
    std::string Company;
    std::string DestDir = "{pro}\\";  // application folder
    std::string ProgMenuFolder;
    bool AlwaysReboot = false;
    bool RequirePassword = false;
    std::string Password;  // as typed, at most 56 characters in the edit
    bool InstallLog = false;
    std::string InstallLogFile;  // at most 56 characters in the edit
    bool AdminWarning = true;
    int32_t System = kAllTargetSystems;  // target systems of the whole setup
    bool Use64bitFolders = false;
    std::string MainIcon;
    std::string BackImage;
    std::string WzrdImg;
    bool Transparent = false;
    int32_t BackAlign = 0;  // 0 centre, 1 whole screen, 2 top-left
    int32_t StartColor = 8388608;
    int32_t EndColor = 0;
    bool Uninstaller = true;
    bool AutomaticUninstDir = true;
    std::string UninstallDir = "{app}\\Uninstall";
    bool UninstIcon = true;
    std::string IconTitle = "Uninstaller";
    int32_t UninstReportLevel = 0;  // 0 messages, 1 log file, 2 silent
    bool CreateAutorun = false;
    std::string AutorunIcon;
    std::string AutorunApplication = "setup.exe";
    bool CustomSetup = false;
    int32_t ArchiveMode = 0;  // 0 complete files, 1 partial updates
    std::string ReadmeFile;
    std::string LicenseFile;
    std::string OutputDir;
    std::string PackageName = "setup.zlb";
    std::string RunBatch;
    int32_t FloppySize = 0;  // 0 "1.44 MB", 1 "650 MB", 2 "Other"
    int32_t MaxDiskSize = 1457664;
    int32_t ClusterSize = 512;
    int32_t CompressionLevel = 0;  // 0 to 8
    int32_t OutputType = 0;  // 0 disk-spanning, 1 self-extracting, 2 package
    bool BillboardLoop = true;
    int32_t BillboardDelay = 1000;  // milliseconds

    bool operator==(const GeneralSettings &) const = default;
};

// Where the views stand: the entries the entry dialogs and the page buttons
// act on. An index is -1 when nothing is selected. The document keeps them
// only as the views set them; clampSelections() drops those that no longer
// name an entry.
struct ProjectSelection {
    int Group = -1;            // selected node of the file tree: a group ...
    int File = -1;             // ... or, with File >= 0, a file of that group
    int InstallType = -1;
    int Shortcut = -1;
    std::vector<int> RegistryNode;  // root index, then child indexes; empty = none
    int IniEntry = -1;
    int ExternalProgram = -1;
    int DllCall = -1;

    bool operator==(const ProjectSelection &) const = default;
};

struct Project {
    GeneralSettings General;

    // Dialog file paths in showing order.
    std::vector<std::string> Dialogs;
    std::vector<std::string> UninstallDialogs;
    std::vector<std::string> LanguageFiles;
    std::vector<std::string> AdditionalFiles;  // copied beside the setup
    std::vector<std::string> DataFiles;        // added to the data archive
    std::vector<std::string> UninstExpressions;  // "{emp}" for an empty one
    std::vector<std::string> BillboardPics;

    // The scripts "InitScript", "FinalScript" and "InstallFiles", by line.
    std::vector<std::string> InitScript;
    std::vector<std::string> FinalScript;
    std::vector<std::string> InstallScript;

    std::vector<GroupEntry> Groups;
    std::vector<InstallTypeEntry> InstallTypes;
    std::vector<ShortcutEntry> Shortcuts;
    RegistryTree Registry;
    std::vector<IniEntry> IniEntries;
    std::vector<ExternalProgram> ExternalPrograms;
    std::vector<DllCall> DllCalls;

    ProjectSelection Selection;

    // Number of files over all groups.
    size_t fileCount() const;

    // Index of the group named name (exact comparison), or -1.
    int findGroup(std::string_view name) const;

    // Resets every selection that names no existing entry.
    void clampSelections();

    bool operator==(const Project &) const = default;
};

// The entry of list at index; null when index names none (-1 or out of
// range), as a selection may.
template <typename T>
T *entryAt(std::vector<T> &list, int index)
{
    return index >= 0 && index < static_cast<int>(list.size()) ? &list[static_cast<size_t>(index)] : nullptr;
}

template <typename T>
const T *entryAt(const std::vector<T> &list, int index)
{
    return index >= 0 && index < static_cast<int>(list.size()) ? &list[static_cast<size_t>(index)] : nullptr;
}

// The file a shortcut's icon comes from: the source, made absolute against
// projectFolder, of the last file whose Destination equals iconLocation
// exactly; empty when that source does not exist here; nullopt when no file
// of the project matches.
std::optional<std::string> entryIconSource(const Project &project, std::string_view projectFolder,
                                           std::string_view iconLocation);

} // namespace wharf
