#include "componentlibrary.h"

#include "wharfcomponent.h"

#include "codec.h"
#include "files.h"
#include "paths.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>

namespace wharf {

ComponentLibrary::ComponentLibrary(const std::string &path)
{
    ::dlerror();
    m_handle = ::dlopen(toNativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        const char *reason = ::dlerror();
        m_error = reason ? reason : "the library could not be loaded";
    }
}

ComponentLibrary::~ComponentLibrary()
{
    if (m_handle != nullptr)
        ::dlclose(m_handle);
}

void *ComponentLibrary::symbol(const char *name) const
{
    return m_handle ? ::dlsym(m_handle, name) : nullptr;
}

std::optional<std::string> ComponentLibrary::text(const char *function) const
{
    const auto get = reinterpret_cast<WfcGetName>(symbol(function));
    if (get == nullptr)
        return std::nullopt;
    // One byte more than the plug-in is told, so that a plug-in that writes
    // its terminating zero behind the text does no harm.
    std::array<char, WFC_TEXT_BUFFER_SIZE + 1> buffer{};
    const int32_t written = get(buffer.data(), WFC_TEXT_BUFFER_SIZE);
    const size_t length = static_cast<size_t>(std::clamp<int32_t>(written, 0, WFC_TEXT_BUFFER_SIZE));
    const auto end = std::find(buffer.begin(), buffer.begin() + length, '\0');
    return std::string(buffer.begin(), end);
}

std::optional<std::string> ComponentLibrary::name() const { return text("GetName"); }

std::optional<std::string> ComponentLibrary::info() const { return text("GetInfo"); }

std::optional<std::vector<uint8_t>> ComponentLibrary::icon() const
{
    const auto get = reinterpret_cast<WfcGetIcon>(symbol("GetIcon"));
    if (get == nullptr)
        return std::nullopt;
    uint32_t size = 0;
    const unsigned char *bytes = get(&size);
    if (bytes == nullptr || size == 0 || size > WFC_MAX_ICON_SIZE)
        return std::nullopt;
    return std::vector<uint8_t>(bytes, bytes + size);
}

bool ComponentLibrary::hasAddComponent() const { return symbol("AddComponent") != nullptr; }

bool ComponentLibrary::addComponent(const std::string &projectFile) const
{
    const auto add = reinterpret_cast<WfcAddComponent>(symbol("AddComponent"));
    if (add == nullptr)
        return false;
    int32_t changed = 0;
    add(toNativePath(projectFile).c_str(), &changed);
    return changed != 0;
}

std::string notLoadedCaption(std::string_view fileName)
{
    return std::string(fileName) + " (could not be loaded)";
}

std::vector<ComponentEntry> scanComponents(const std::string &folder)
{
    std::vector<ComponentEntry> entries;
    // listFolder sorts by name, which is the order the list shows.
    for (const FolderEntry &file : listFolder(folder)) {
        if (file.isFolder || !sameTextIgnoreCase(extractFileExt(file.name), ".wfc"))
            continue;
        ComponentEntry entry;
        entry.fileName = file.name;
        entry.fullPath = joinPath(folder, file.name);
        if (folderExists(entry.fullPath))
            continue; // a link to a folder
        const ComponentLibrary library(entry.fullPath);
        entry.loaded = library.loaded();
        if (entry.loaded) {
            entry.name = library.name().value_or(std::string(kNoDescription));
            entry.info = library.info().value_or(std::string());
            entry.iconBytes = library.icon().value_or(std::vector<uint8_t>());
        } else {
            entry.loadError = library.error();
            entry.name = notLoadedCaption(file.name);
            entry.info = "The component library could not be loaded: " + entry.loadError;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace wharf
