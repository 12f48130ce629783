#pragma once
// The registry entries of a project: six fixed roots, keys below them at any
// depth, values as leaves of a root or a key. Children keep their order,
// which is the order the project file is written in.

#include "records.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The six roots in their fixed order.
inline constexpr std::array<std::string_view, 6> kRegistryRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
    "HKEY_USERS",        "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

// A key or a value below a root. Text is the key name or the value name
// ("{emp}" for a key's default value); Entry.IsKey tells which. Values have
// no children.
struct RegistryNode {
    std::string Text;
    RegistryEntry Entry;
    std::vector<RegistryNode> Children;

    bool isKey() const { return Entry.IsKey; }
    bool operator==(const RegistryNode &) const = default;
};

// A root: its fixed name and what lies below it. Roots have no record.
struct RegistryRoot {
    std::string Name;
    std::vector<RegistryNode> Children;

    bool operator==(const RegistryRoot &) const = default;
};

class RegistryTree {
public:
    RegistryTree();

    std::array<RegistryRoot, 6> &roots() { return m_roots; }
    const std::array<RegistryRoot, 6> &roots() const { return m_roots; }

    // The root named name among the six, compared without regard to case;
    // nullptr for any other name.
    RegistryRoot *findRoot(std::string_view name);
    const RegistryRoot *findRoot(std::string_view name) const;

    // True when some root holds a key or a value.
    bool hasEntries() const;

    // Removes everything below the roots.
    void clear();

    bool operator==(const RegistryTree &) const = default;

private:
    std::array<RegistryRoot, 6> m_roots;
};

// The key record of a key made on the way to a deeper key.
RegistryEntry intermediateKeyRecord();

// Adds the keys of keyPath ("\\"-separated; empty or "{emp}" for none) that
// are missing below the root named root, reusing an existing key of the same
// name (without regard to case; the last one when several match; values of
// that name are not keys), gives the last key of the path keyRecord's
// contents, and adds a value named valueName with valueRecord's contents
// below that key (below the root when there is no path) unless valueName and
// valueRecord.Data are both "{emp}". Empty path components are skipped.
// Returns false, and changes nothing, when root is none of the six roots.
bool AddRegistryEntry(RegistryTree &tree, std::string_view root, std::string_view keyPath,
                      const RegistryEntry &valueRecord, const RegistryEntry &keyRecord,
                      std::string_view valueName);

// As AddRegistryEntry, but the caller says whether a value is added, so a
// value named "{emp}" with the data "{emp}" can be added too.
bool addRegistryPath(RegistryTree &tree, std::string_view root, std::string_view keyPath,
                     const RegistryEntry &keyRecord, bool addValue, const RegistryEntry &valueRecord,
                     std::string_view valueName);

} // namespace wharf
