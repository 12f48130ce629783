#include "modulesearch.h"

#include "codec.h"
#include "files.h"
#include "mapping.h"
#include "paths.h"
#include "peimage.h"

#include <algorithm>

namespace wharf {
namespace {

bool acceptableName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) { return isPathSeparator(c) || c == '\0'; });
}

// The machine field of the image at path; nullopt when it is no image.
std::optional<uint16_t> machineOf(const std::string &path)
{
    FileMapping mapping;
    if (!mapping.open(path, FileMapping::Mode::ReadOnly))
        return std::nullopt;
    const PeImage image(mapping.bytes());
    if (!image.valid())
        return std::nullopt;
    return image.machine();
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string findModuleInFolder(std::string_view folder, std::string_view name)
{
    if (!acceptableName(name) || folder.empty())
        return {};
    const std::string exact = joinPath(folder, name);
    if (fileExists(exact))
        return exact;
    for (const FolderEntry &entry : listFolder(folder))
        if (!entry.isFolder && sameTextIgnoreCase(entry.name, name)) {
            const std::string path = joinPath(folder, entry.name);
            if (fileExists(path))
                return path;
        }
    return {};
}

std::string ModuleSearchPath::find(std::string_view name, uint16_t machine) const
{
    for (const std::string &folder : m_folders) {
        std::string path = findModuleInFolder(folder, name);
        if (path.empty())
            continue;
        if (machine == 0 || machineOf(path) == machine)
            return path;
    }
    return {};
}

std::vector<std::string> ModuleSearchPath::parse(std::string_view text)
{
    std::vector<std::string> folders;
    while (!text.empty()) {
        const size_t end = text.find_first_of(";\n");
        const std::string_view folder = trimmed(text.substr(0, end));
        if (!folder.empty())
            folders.emplace_back(folder);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return folders;
}

std::string ModuleSearchPath::format(const std::vector<std::string> &folders)
{
    std::string text;
    for (const std::string &folder : folders) {
        if (!text.empty())
            text += ';';
        text += folder;
    }
    return text;
}

std::vector<std::string> ModuleSearchPath::defaultFolders()
{
    std::vector<std::string> folders;
    for (const char *triplet : {"i686-w64-mingw32", "x86_64-w64-mingw32"}) {
        for (const char *sub : {"bin", "lib"}) {
            const std::string folder = std::string("/usr/") + triplet + "/" + sub;
            if (folderExists(folder))
                folders.push_back(folder);
        }
        // The compiler's own run-time libraries, one folder per version and
        // thread model.
        const std::string gcc = std::string("/usr/lib/gcc/") + triplet;
        for (const FolderEntry &entry : listFolder(gcc))
            if (entry.isFolder)
                folders.push_back(gcc + "/" + entry.name);
    }
    return folders;
}

} // namespace wharf
