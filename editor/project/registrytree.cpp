#include "registrytree.h"

#include "codec.h"

#include <algorithm>
#include <cstdio>

namespace wharf {

RegistryTree::RegistryTree()
{
    for (size_t i = 0; i < m_roots.size(); ++i)
        m_roots[i].Name = std::string(kRegistryRootNames[i]);
}

RegistryRoot *RegistryTree::findRoot(std::string_view name)
{
    for (RegistryRoot &root : m_roots)
        if (sameTextIgnoreCase(root.Name, name))
            return &root;
    return nullptr;
}

const RegistryRoot *RegistryTree::findRoot(std::string_view name) const
{
    return const_cast<RegistryTree *>(this)->findRoot(name);
}

bool RegistryTree::hasEntries() const
{
    for (const RegistryRoot &root : m_roots)
        if (!root.Children.empty())
            return true;
    return false;
}

void RegistryTree::clear()
{
    for (RegistryRoot &root : m_roots)
        root.Children.clear();
}

RegistryEntry intermediateKeyRecord()
{
    RegistryEntry record;
    record.IsKey = true;
    record.Overwrite = false;  // a value's flag; keys carry it cleared
    return record;
}

namespace {

std::vector<std::string_view> pathComponents(std::string_view keyPath)
{
    std::vector<std::string_view> parts;
    if (keyPath == kEmpty)
        return parts;
    size_t start = 0;
    while (start <= keyPath.size()) {
        const size_t end = std::min(keyPath.find('\\', start), keyPath.size());
        if (end > start)
            parts.push_back(keyPath.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

bool AddRegistryEntry(RegistryTree &tree, std::string_view root, std::string_view keyPath,
                      const RegistryEntry &valueRecord, const RegistryEntry &keyRecord,
                      std::string_view valueName, ExistingKey existing)
{
    const bool addValue = !(valueName == kEmpty && valueRecord.Data == kEmpty);
    return addRegistryPath(tree, root, keyPath, keyRecord, addValue, valueRecord, valueName, existing);
}

namespace {

// Gives the last key of an added path its record, as existing says for a
// key that was there before.
void applyKeyRecord(RegistryEntry &entry, const RegistryEntry &keyRecord, ExistingKey use)
{
    if (use == ExistingKey::Replace) {
        entry = keyRecord;
    } else if (use == ExistingKey::KeepMask) {
        const int32_t mask = entry.TargetSystems;
        entry = keyRecord;
        entry.TargetSystems = mask;
    }
    entry.IsKey = true;
}

void addValueNode(std::vector<RegistryNode> &children, const RegistryEntry &valueRecord, std::string_view valueName)
{
    RegistryNode value;
    value.Text = std::string(valueName);
    value.Entry = valueRecord;
    value.Entry.IsKey = false;
    children.push_back(std::move(value));
}

} // namespace

bool addRegistryPath(RegistryTree &tree, std::string_view root, std::string_view keyPath,
                     const RegistryEntry &keyRecord, bool addValue, const RegistryEntry &valueRecord,
                     std::string_view valueName, ExistingKey existing)
{
    return RegistryInserter(tree).add(root, keyPath, keyRecord, addValue, valueRecord, valueName, existing);
}

RegistryInserter::Keys &RegistryInserter::keysOf(const std::string &parent, const std::vector<RegistryNode> &children)
{
    const auto [it, added] = m_keys.try_emplace(parent);
    if (added)
        for (size_t i = 0; i < children.size(); ++i)
            if (children[i].isKey())
                it->second[foldedText(children[i].Text)] = {i, false};  // the last of several wins
    return it->second;
}

bool RegistryInserter::add(std::string_view root, std::string_view keyPath, const RegistryEntry &keyRecord,
                           bool addValue, const RegistryEntry &valueRecord, std::string_view valueName,
                           ExistingKey existing)
{
    if (m_lastKey && root == m_lastRoot && keyPath == m_lastPath) {
        // The key is there already: found again, as the walk would find it.
        applyKeyRecord(m_lastKey->Entry, keyRecord,
                       existing == ExistingKey::Keep && m_lastCreated ? ExistingKey::Replace : existing);
        if (addValue)
            addValueNode(m_lastKey->Children, valueRecord, valueName);
        return true;
    }
    m_lastKey = nullptr;
    RegistryRoot *rootNode = m_tree.findRoot(root);
    if (!rootNode)
        return false;
    std::vector<RegistryNode> *children = &rootNode->Children;
    std::string path = foldedText(rootNode->Name);
    const std::vector<std::string_view> parts = pathComponents(keyPath);
    RegistryNode *current = nullptr;
    bool created = false;
    for (size_t i = 0; i < parts.size(); ++i) {
        Keys &keys = keysOf(path, *children);
        std::string name = foldedText(parts[i]);
        path += '\\';
        path += name;
        ExistingKey use = existing;
        if (const auto found = keys.find(name); found != keys.end()) {
            current = &(*children)[found->second.index];
            created = found->second.created;
            if (use == ExistingKey::Keep && created)
                use = ExistingKey::Replace;
        } else {
            RegistryNode key;
            key.Text = std::string(parts[i]);
            key.Entry = intermediateKeyRecord();
            keys.emplace(std::move(name), KeyPlace{children->size(), true});
            children->push_back(std::move(key));
            current = &children->back();
            created = true;
            use = ExistingKey::Replace;
        }
        if (i + 1 == parts.size())
            applyKeyRecord(current->Entry, keyRecord, use);
        children = &current->Children;
    }
    if (addValue)
        addValueNode(*children, valueRecord, valueName);
    if (current) {
        m_lastRoot = std::string(root);
        m_lastPath = std::string(keyPath);
        m_lastKey = current;
        m_lastCreated = created;
    }
    return true;
}

namespace {

// Follows path from its root: the children list that holds the node and the
// node's index in it; {nullptr, -1} when the path names no node below a root.
std::pair<std::vector<RegistryNode> *, int> locate(RegistryTree &tree, const RegistryPath &path)
{
    if (path.size() < 2 || path[0] < 0 || path[0] >= static_cast<int>(tree.roots().size()))
        return {nullptr, -1};
    std::vector<RegistryNode> *children = &tree.roots()[static_cast<size_t>(path[0])].Children;
    for (size_t i = 1; i < path.size(); ++i) {
        const int index = path[i];
        if (index < 0 || index >= static_cast<int>(children->size()))
            return {nullptr, -1};
        if (i + 1 == path.size())
            return {children, index};
        RegistryNode &node = (*children)[static_cast<size_t>(index)];
        if (!node.isKey())
            return {nullptr, -1};
        children = &node.Children;
    }
    return {nullptr, -1};
}

} // namespace

RegistryNode *findRegistryNode(RegistryTree &tree, const RegistryPath &path)
{
    const auto [children, index] = locate(tree, path);
    return children ? &(*children)[static_cast<size_t>(index)] : nullptr;
}

const RegistryNode *findRegistryNode(const RegistryTree &tree, const RegistryPath &path)
{
    return findRegistryNode(const_cast<RegistryTree &>(tree), path);
}

std::vector<RegistryNode> *registryChildren(RegistryTree &tree, const RegistryPath &path)
{
    if (path.size() == 1) {
        if (path[0] < 0 || path[0] >= static_cast<int>(tree.roots().size()))
            return nullptr;
        return &tree.roots()[static_cast<size_t>(path[0])].Children;
    }
    RegistryNode *node = findRegistryNode(tree, path);
    return node && node->isKey() ? &node->Children : nullptr;
}

bool removeRegistryNode(RegistryTree &tree, const RegistryPath &path)
{
    const auto [children, index] = locate(tree, path);
    if (!children)
        return false;
    children->erase(children->begin() + index);
    return true;
}

int findRegistrySibling(const std::vector<RegistryNode> &children, std::string_view name, bool isKey, int skip)
{
    for (size_t i = 0; i < children.size(); ++i)
        if (static_cast<int>(i) != skip && children[i].isKey() == isKey && sameTextIgnoreCase(children[i].Text, name))
            return static_cast<int>(i);
    return -1;
}

namespace {

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<uint64_t> parseDigits(std::string_view digits, unsigned base, uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (const char c : digits) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<uint32_t> parseDwordText(std::string_view text)
{
    text = trimBlanks(text);
    constexpr uint64_t kMax = 0xFFFFFFFFu;
    std::optional<uint64_t> value;
    if (text.starts_with('$'))
        value = parseDigits(text.substr(1), 16, kMax);
    else if (text.starts_with("0x") || text.starts_with("0X"))
        value = parseDigits(text.substr(2), 16, kMax);
    else if (text.starts_with('-')) {
        const std::optional<uint64_t> magnitude = parseDigits(text.substr(1), 10, 0x80000000u);
        if (magnitude)
            value = (0x100000000u - *magnitude) & kMax;
    } else {
        value = parseDigits(text.starts_with('+') ? text.substr(1) : text, 10, kMax);
    }
    if (!value)
        return std::nullopt;
    return static_cast<uint32_t>(*value);
}

uint32_t dwordValue(std::string_view text)
{
    return parseDwordText(text).value_or(0);
}

std::string dwordText(uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(value));
    return buffer;
}

} // namespace wharf
