#include "registrytree.h"

#include "codec.h"

#include <algorithm>

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
                      std::string_view valueName)
{
    const bool addValue = !(valueName == kEmpty && valueRecord.Data == kEmpty);
    return addRegistryPath(tree, root, keyPath, keyRecord, addValue, valueRecord, valueName);
}

bool addRegistryPath(RegistryTree &tree, std::string_view root, std::string_view keyPath,
                     const RegistryEntry &keyRecord, bool addValue, const RegistryEntry &valueRecord,
                     std::string_view valueName)
{
    RegistryRoot *rootNode = tree.findRoot(root);
    if (!rootNode)
        return false;
    std::vector<RegistryNode> *children = &rootNode->Children;
    const std::vector<std::string_view> parts = pathComponents(keyPath);
    for (size_t i = 0; i < parts.size(); ++i) {
        RegistryNode *current = nullptr;
        for (RegistryNode &child : *children)
            if (child.isKey() && sameTextIgnoreCase(child.Text, parts[i]))
                current = &child;
        if (!current) {
            RegistryNode key;
            key.Text = std::string(parts[i]);
            key.Entry = intermediateKeyRecord();
            children->push_back(std::move(key));
            current = &children->back();
        }
        if (i + 1 == parts.size()) {
            current->Entry = keyRecord;
            current->Entry.IsKey = true;
        }
        children = &current->Children;
    }
    if (addValue) {
        RegistryNode value;
        value.Text = std::string(valueName);
        value.Entry = valueRecord;
        value.Entry.IsKey = false;
        children->push_back(std::move(value));
    }
    return true;
}

} // namespace wharf
