#include "modulescanner.h"

#include "codec.h"
#include "mapping.h"
#include "paths.h"
#include "peimage.h"

#include <algorithm>

namespace wharf {

bool ModuleScanner::holdsPath(const std::string &path) const
{
    return std::any_of(m_lines.begin(), m_lines.end(),
                       [&](const DependencyLine &line) { return line.found() && sameTextIgnoreCase(line.path, path); });
}

bool ModuleScanner::holdsMissing(const std::string &name) const
{
    return std::any_of(m_lines.begin(), m_lines.end(), [&](const DependencyLine &line) {
        return !line.found() && sameTextIgnoreCase(line.moduleName, name);
    });
}

bool ModuleScanner::ReadImports(const std::string &path)
{
    FileMapping mapping;
    if (!mapping.open(path, FileMapping::Mode::ReadOnly))
        return false;
    const PeImage image(mapping.bytes());
    if (!image.valid())
        return false;
    if (m_processMessages)
        m_processMessages();
    ListImports(path, image);
    return true;
}

void ModuleScanner::ListImports(const std::string &path, const PeImage &image)
{
    const std::string folder = extractFilePath(path);
    // importedModules stops where the table leaves the file or a name runs
    // off its section, so a damaged table lists what came before.
    for (const std::string &name : image.importedModules()) {
        if (m_systemModules.contains(name))
            continue;
        std::string candidate = findModuleInFolder(folder, name);
        if (candidate.empty())
            candidate = m_searchPath.find(name, image.machine());
        if (candidate.empty()) {
            if (!holdsMissing(name))
                m_lines.push_back({std::string(), name, false, true});
        } else if (!holdsPath(candidate)) {
            m_lines.push_back({std::move(candidate), name, false, true});
        }
    }
}

void ModuleScanner::ScanDependencies(const std::string &path,
                                         const std::function<bool(const std::string &)> &inProject)
{
    size_t first = m_lines.size();
    if (!holdsPath(path))
        m_lines.push_back({path, extractFileName(path), false, true});
    // Generation by generation: read the lines the last pass added until a
    // pass adds none. Every path is listed once, so this ends.
    while (first < m_lines.size()) {
        const size_t end = m_lines.size();
        for (size_t i = first; i < end; ++i)
            if (m_lines[i].found()) {
                const std::string modulePath = m_lines[i].path;
                ReadImports(modulePath);
            }
        first = end;
    }
    for (DependencyLine &line : m_lines) {
        line.checked = line.found();
        line.enabled = !line.found() || !inProject || !inProject(line.path);
    }
}

bool ModuleScanner::hasNewModules() const
{
    return std::any_of(m_lines.begin(), m_lines.end(), [](const DependencyLine &line) { return line.enabled; });
}

std::vector<DependencyLine> ModuleScanner::chosenLines() const
{
    std::vector<DependencyLine> chosen;
    for (const DependencyLine &line : m_lines)
        if (line.found() && line.enabled && line.checked)
            chosen.push_back(line);
    return chosen;
}

std::string systemDestination(const std::string &modulePath)
{
    return "{sys}\\" + extractFileName(modulePath);
}

} // namespace wharf
