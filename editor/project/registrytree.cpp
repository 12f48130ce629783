#include "registrytree.h"

#include "codec.h"

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

} // namespace wharf
