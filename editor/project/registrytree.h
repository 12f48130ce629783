#pragma once
// The registry entries of a project: six fixed roots, keys below them at any
// depth, values as leaves of a root or a key. Children keep their order,
// which is the order the project file is written in.

#include "records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// What adding a path does to its last key when that key was there before.
enum class ExistingKey {
    Replace,   // the key takes the key record
    KeepMask,  // the key takes the record's flags but keeps its target systems
    Keep,      // the key stays as it was: only new keys get the record
};

// Adds the keys of keyPath ("\\"-separated; empty or "{emp}" for none) that
// are missing below the root named root, reusing an existing key of the same
// name (without regard to case; the last one when several match; values of
// that name are not keys), gives the last key of the path keyRecord's
// contents (as existing says when it was there before), and adds a value
// named valueName with valueRecord's contents below that key (below the root
// when there is no path) unless valueName and valueRecord.Data are both
// "{emp}". Empty path components are skipped. Returns false, and changes
// nothing, when root is none of the six roots.
bool AddRegistryEntry(RegistryTree &tree, std::string_view root, std::string_view keyPath,
                      const RegistryEntry &valueRecord, const RegistryEntry &keyRecord,
                      std::string_view valueName, ExistingKey existing = ExistingKey::Replace);

// As AddRegistryEntry, but the caller says whether a value is added, so a
// value named "{emp}" with the data "{emp}" can be added too.
bool addRegistryPath(RegistryTree &tree, std::string_view root, std::string_view keyPath,
                     const RegistryEntry &keyRecord, bool addValue, const RegistryEntry &valueRecord,
                     std::string_view valueName, ExistingKey existing = ExistingKey::Replace);

// Adds many paths to one tree, as addRegistryPath does, with each parent's
// keys looked up by name in constant time: a whole read or import is linear
// in its entries. For ExistingKey::Keep, "was there before" means before the
// inserter was made, so keys an import creates take the record of any later
// section that names them. Nothing else may change the tree while the
// inserter lives.
class RegistryInserter {
public:
    explicit RegistryInserter(RegistryTree &tree) : m_tree(tree) {}

    bool add(std::string_view root, std::string_view keyPath, const RegistryEntry &keyRecord, bool addValue,
             const RegistryEntry &valueRecord, std::string_view valueName,
             ExistingKey existing = ExistingKey::Replace);

private:
    struct KeyPlace {
        size_t index;  // among the parent's children
        bool created;  // made by this inserter
    };
    using Keys = std::unordered_map<std::string, KeyPlace>;

    // The keys of the parent with that folded path, by folded name.
    Keys &keysOf(const std::string &parent, const std::vector<RegistryNode> &children);

    RegistryTree &m_tree;
    std::unordered_map<std::string, Keys> m_keys;
    // The path of the last add and the key it ended at: the values of one
    // section name the same path one after the other, and nothing can move
    // that key in between.
    std::string m_lastRoot;
    std::string m_lastPath;
    RegistryNode *m_lastKey = nullptr;
    bool m_lastCreated = false;
};

// A place in the tree: the root's index (0 to 5), then the child indexes
// down to the node. Empty for none.
using RegistryPath = std::vector<int>;

// The key or value at path; null for a root, an empty path or a path that
// names no node.
RegistryNode *findRegistryNode(RegistryTree &tree, const RegistryPath &path);
const RegistryNode *findRegistryNode(const RegistryTree &tree, const RegistryPath &path);

// The children of the root or key at path; null when path is empty, names a
// value or names no node.
std::vector<RegistryNode> *registryChildren(RegistryTree &tree, const RegistryPath &path);

// Removes the key or value at path with everything below it. False, and
// nothing removed, for a root or a path that names no node.
bool removeRegistryNode(RegistryTree &tree, const RegistryPath &path);

// The index of the first of children, other than the one at index skip,
// that is a key (isKey) or a value (!isKey) named name without regard to
// case; -1 when there is none. Names are unique only within their kind: a
// key and a value of one parent may share a name.
int findRegistrySibling(const std::vector<RegistryNode> &children, std::string_view name, bool isKey,
                        int skip = -1);

// The number in a DWORD value's text: "$" and up to eight hexadecimal
// digits, "0x" and hexadecimal digits, or a decimal number from
// -2147483648 (negative numbers give their two's complement) to 4294967295.
// Blanks around the number are allowed. nullopt for anything else.
std::optional<uint32_t> parseDwordText(std::string_view text);

// As parseDwordText, with 0 for text that is no number.
uint32_t dwordValue(std::string_view text);

// The stored form of a DWORD value: "$" and eight upper-case hexadecimal
// digits ("$0000001F").
std::string dwordText(uint32_t value);

} // namespace wharf
