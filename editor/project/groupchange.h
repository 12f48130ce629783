#pragma once
// The change of all files of one group at once: which options and target
// systems the files have in common (set on all, on none, or mixed), the
// destination folder they share, and how a chosen change is applied. An
// option or system left mixed keeps each file's own value. No widgets.

#include "records.h"

#include <array>
#include <string>
#include <vector>

namespace wharf {

enum class TriState { Unchecked, Mixed, Checked };

// The nine options of a file entry, in the order the dialogs show them.
enum FileOption {
    foCompareVersions,
    foCompareTimeStamps,
    foShared,
    foInUse,
    foRegServer,
    foOverwrite,
    foUninstall,
    foExternal,
    foInstallFont,
};
constexpr int kFileOptionCount = 9;

bool fileOption(const FileEntry &entry, FileOption option);
void setFileOption(FileEntry &entry, FileOption option, bool value);

struct GroupChange {
    std::array<TriState, kFileOptionCount> Options{};
    std::array<TriState, kTargetSystemCount> Systems{};
    // The new destination folder; empty keeps every destination.
    std::string DestinationFolder;
};

// What the files have in common: an option (system) is Checked when every
// file has it, Unchecked when none has it (and for an empty list), Mixed
// otherwise. DestinationFolder is the folder part the destinations all
// share, without its trailing separator (a root keeps it); empty when they
// differ or there are no files.
GroupChange groupChangeFor(const std::vector<FileEntry> &files);

// Applies change to every file: a new destination folder keeps each file's
// name (cut to 255 characters); Checked and Unchecked set or clear an
// option or system, Mixed leaves it. Masks are worked on as the 22 systems
// (0 counts as all); a mask whose systems do not change keeps its value.
void applyGroupChange(std::vector<FileEntry> &files, const GroupChange &change);

} // namespace wharf
