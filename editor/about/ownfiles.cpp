#include "ownfiles.h"

#include "buildinfo.h"
#include "codec.h"
#include "files.h"
#include "paths.h"
#include "versioninfo.h"

#include <sys/utsname.h>

#include <array>
#include <optional>

namespace wharf {
namespace {

struct NativeFile {
    std::string_view name;
    std::string_view description;
};

// The programs and libraries of this system that are built for Linux.
constexpr std::array kNativeFiles{
    NativeFile{"wharfwright", "Brindlewharf setup project editor"},
    NativeFile{"wharfdraft", "Brindlewharf dialog designer"},
    NativeFile{"libwharfforge.so", "Brindlewharf setup compiler"},
};

// The value of key in os-release text: the rest of the line after "KEY=",
// without its enclosing quotes and with backslash escapes resolved.
std::optional<std::string> osReleaseValue(std::string_view text, std::string_view key)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=')
            continue;
        std::string_view value = line.substr(key.size() + 1);
        char quote = 0;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            quote = value.front();
            value = value.substr(1, value.size() - 2);
        }
        std::string out;
        for (size_t i = 0; i < value.size(); ++i) {
            if (quote == '"' && value[i] == '\\' && i + 1 < value.size())
                ++i;
            out += value[i];
        }
        return out;
    }
    return std::nullopt;
}

} // namespace

std::string buildFileVersion() { return kBuildFileVersion; }

std::string productWebSite() { return kProductWebSite; }

FileVersionText ownFileVersion(std::string_view path)
{
    const TVersionInfo info(path);
    if (info.Valid())
        return {info.FileDescriptionValue(), info.FileVersionValue()};
    if (!fileExists(path))
        return {};
    const std::string name = asciiLower(extractFileName(path));
    for (const NativeFile &file : kNativeFiles)
        if (name == file.name)
            return {std::string(file.description), buildFileVersion()};
    return {};
}

std::string buildLabel(std::string_view fileVersion)
{
    std::string rest(fileVersion);
    for (int i = 0; i < 2; ++i) {
        const size_t dot = rest.find('.');
        if (dot != std::string::npos)
            rest.erase(0, dot + 1);
    }
    return "(Build " + rest + ")";
}

std::string operatingSystemLine(std::string_view osReleaseText, std::string_view kernelRelease)
{
    std::string name = osReleaseValue(osReleaseText, "PRETTY_NAME").value_or("");
    if (name.empty())
        name = osReleaseValue(osReleaseText, "NAME").value_or("");
    if (name.empty())
        name = "Linux";
    return name + " (Kernel " + std::string(kernelRelease) + ")";
}

std::string operatingSystemLine()
{
    std::optional<std::string> text = readFile("/etc/os-release");
    if (!text)
        text = readFile("/usr/lib/os-release");
    struct utsname system {};
    const std::string release = ::uname(&system) == 0 ? system.release : "";
    return operatingSystemLine(text.value_or(""), release);
}

} // namespace wharf
