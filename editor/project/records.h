#pragma once
// The entry records of a project: one plain struct per kind of entry, with
// the field names, widths and defaults the project file and the entry
// dialogs use. Fields are public; the document (project.h) owns the records
// and keeps their order.
//
// Text fields marked "at most N characters" are cut to N characters by the
// project reader (cutText); the records themselves do not enforce it.

#include "targetsystems.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The empty marker: an empty text, or a registry default value.
inline constexpr std::string_view kEmpty = "{emp}";

// The text cut to at most maxChars characters (UTF-8 code points).
std::string cutText(std::string_view text, size_t maxChars);

// A font as the project file stores it: face, size in points, colour as an
// integer and the style bits (1 bold, 2 italic, 4 underline, 8 strike-out).
struct ProjectFont {
    std::string Name = "MS Sans Serif";
    int32_t Size = 8;
    int32_t Color = 0;
    int32_t Style = 0;

    bool operator==(const ProjectFont &) const = default;
};

// One file of a group. Source is the node text: the source path, absolute,
// relative to the project's folder, or beginning with a path variable. The
// defaults are those of a file read without any per-file key.
struct FileEntry {
    std::string Source;
    std::string Destination;  // at most 255 characters
    std::string PatchedFile;  // at most 255; empty = no patch
    std::string Description;  // at most 255
    // Index of the file's group among the groups, from 0. Refreshed by every
    // save; the reader sets it to the group the file was put into.
    uint16_t GroupIndex = 0;
    bool CompareVersions = false;
    bool CompareTimeStamps = false;
    bool Shared = false;
    bool RegOCX = false;
    bool Pending = false;
    bool Overwrite = true;
    bool Uninstall = true;
    // Not packed: lies beside the setup; saved as "{src}\" + its file name,
    // with Source listed among the additional files.
    bool External = false;
    // Source stays relative to the project's folder; every save rewrites it
    // relative to the folder of the file being written.
    bool Relative = true;
    bool InstallFont = false;
    int32_t TargetSystems = kAllTargetSystems;

    bool operator==(const FileEntry &) const = default;
};

// A group of files: its name (the node text, unique among the groups), the
// group's one flag and its files in order.
struct GroupEntry {
    std::string Name;
    bool Required = false;  // always installed
    std::vector<FileEntry> Files;

    bool operator==(const GroupEntry &) const = default;
};

// An installation type: its name (unique) and the groups it installs, each
// as "|" + index + "|" ("|0||2|" for the groups 0 and 2).
struct InstallTypeEntry {
    std::string Name;
    std::string GroupsInType;  // at most 255 characters

    bool operator==(const InstallTypeEntry &) const = default;
};

// A shortcut. Title is the item caption. The defaults are those of a new
// shortcut; the reader fills every field explicitly.
struct ShortcutEntry {
    std::string Title;
    std::string Path = "{prg}";  // folder the shortcut is created in
    std::string Params;
    std::string Target;    // the file the shortcut starts
    std::string Location;  // the file that holds its icon, in destination terms
    std::string WorkDir = "{app}";
    uint16_t ShowMode = 0;  // 0 normal, 1 maximised, 2 minimised
    uint16_t HotKey = 0;    // modifier code * 256 + character code
    uint16_t IconIndex = 0;
    int32_t TargetSystems = kAllTargetSystems;

    bool operator==(const ShortcutEntry &) const = default;
};

// The record of a registry key or value. For a key only IsKey, Uninstall,
// Create and TargetSystems count (keys made by the tree or the reader carry
// Overwrite cleared).
struct RegistryEntry {
    bool IsKey = false;
    std::string ValueType = "String";  // at most 10 characters: "String", "DWORD", "BOOL"
    std::string Data = std::string(kEmpty);  // at most 255 characters; "{emp}" for empty
    bool Uninstall = false;
    bool Create = true;
    bool Overwrite = true;
    int32_t TargetSystems = kAllTargetSystems;

    bool operator==(const RegistryEntry &) const = default;
};

// One INI entry the setup writes. The defaults are those of a new entry.
struct IniEntry {
    std::string FileName;
    std::string Section;
    std::string KeyName;
    std::string Value;
    bool Uninstall = false;  // remove the key at uninstallation
    bool Overwrite = true;   // overwrite an existing value
    bool Create = true;      // create the key when missing
    int32_t TargetSystems = kAllTargetSystems;

    bool operator==(const IniEntry &) const = default;
};

// One program the setup starts. The defaults are those of a new entry.
struct ExternalProgram {
    std::string Command;          // program path, may be quoted
    bool Uninstallation = false;  // runs at uninstallation, else at installation
    bool Wait = false;            // wait until the program ends
    int32_t TargetSystems = kAllTargetSystems;

    bool operator==(const ExternalProgram &) const = default;
};

// One DLL function the setup calls. ExecuteAfter is the signed dialog index:
// k after the k-th installation dialog, -k after the k-th uninstallation
// dialog, 0 for none.
struct DllCall {
    std::string FileName;
    std::string FunctionName = "DoStep";
    int32_t ExecuteAfter = 1;

    bool operator==(const DllCall &) const = default;
};

} // namespace wharf
