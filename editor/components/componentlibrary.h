#pragma once
// One component plug-in, loaded from its file for as long as the object
// lives, and the scan of the folder "Components". The editor reaches the
// plug-ins' four functions (wharfcomponent.h) only through here; every
// length a plug-in returns is bounded by the buffer the editor gave it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

class ComponentLibrary {
public:
    ComponentLibrary() = default;
    // Loads the plug-in at path; loaded() tells whether that worked and
    // error() why it did not.
    explicit ComponentLibrary(const std::string &path);
    ~ComponentLibrary();
    ComponentLibrary(const ComponentLibrary &) = delete;
    ComponentLibrary &operator=(const ComponentLibrary &) = delete;

    bool loaded() const { return m_handle != nullptr; }
    const std::string &error() const { return m_error; }

    // The texts of GetName and GetInfo, cut to the length returned (at most
    // the 255 bytes of the buffer) and at the first zero byte; nullopt when
    // the plug-in has no such function.
    std::optional<std::string> name() const;
    std::optional<std::string> info() const;

    // A copy of the bytes of GetIcon; nullopt when the plug-in has no
    // GetIcon, returns no bytes, or returns more than the largest icon read.
    std::optional<std::vector<uint8_t>> icon() const;

    bool hasAddComponent() const;
    // Calls AddComponent with projectFile; true when the plug-in reported a
    // change. False without AddComponent.
    bool addComponent(const std::string &projectFile) const;

private:
    void *symbol(const char *name) const;
    std::optional<std::string> text(const char *function) const;

    void *m_handle = nullptr;
    std::string m_error;
};

// What the scan found for one file of the folder "Components".
struct ComponentEntry {
    std::string fileName; // without folder
    std::string fullPath;
    bool loaded = false;
    std::string loadError;          // when not loaded
    std::string name;               // the caption of the item
    std::string info;               // the tip of the item
    std::vector<uint8_t> iconBytes; // empty: the stand-in icon
};

// The caption of a component whose plug-in has no GetName.
inline constexpr std::string_view kNoDescription = "(No description available)";

// Every file of folder whose name ends in ".wfc" (any case), sorted by file
// name, each loaded once for its icon, name and info text and unloaded
// again. A file that does not load is listed under its file name, marked as
// not loaded, with the reason as its info. Empty when the folder is missing.
std::vector<ComponentEntry> scanComponents(const std::string &folder);

// The caption of an entry that failed to load.
std::string notLoadedCaption(std::string_view fileName);

} // namespace wharf
