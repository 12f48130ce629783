#pragma once
// What the about box and the version window tell about the system's own
// files: the description and file version of a file from its Windows version
// resource, or, for the programs and libraries this build makes for Linux
// (which carry none), from the build; the build label; and the name of the
// running operating system. No widgets.

#include <string>
#include <string_view>

namespace wharf {

struct FileVersionText {
    std::string description;
    std::string version;

    bool operator==(const FileVersionText &) const = default;
};

// The file's description and file version: from its version resource when
// it has one; for an existing file that is one of the programs or libraries
// this build makes (by its file name: "wharfwright", "wharfdraft",
// "libwharfforge.so"), its description and the build's version; empty
// otherwise (also for a missing file).
FileVersionText ownFileVersion(std::string_view path);

// The version of the build, as the editor's own executable would carry it
// ("2.0.1.14").
std::string buildFileVersion();

// The product's web address the build was given; empty for none.
std::string productWebSite();

// The build label of the about box: fileVersion without everything up to
// and including its first ".", then again up to and including the next ".",
// in "(Build " and ")". "2.0.1.14" gives "(Build 1.14)"; text without a "."
// stays whole.
std::string buildLabel(std::string_view fileVersion);

// The line that names the running system: the pretty name from the text of
// an os-release file (PRETTY_NAME, else NAME, else "Linux") and
// " (Kernel " + kernelRelease + ")".
std::string operatingSystemLine(std::string_view osReleaseText, std::string_view kernelRelease);

// The same for this machine ("/etc/os-release", else "/usr/lib/os-release",
// and the kernel's release).
std::string operatingSystemLine();

} // namespace wharf
