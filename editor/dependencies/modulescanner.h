#pragma once
// The dependency scanner without its window: reads the import table of an
// executable or library, finds each imported module beside the importing
// file or along the search path, reads that module's imports in turn, and so
// on until no new module turns up. System modules ("sysdlls.dat") are never
// listed. The result is the list the window TDumpForm shows, one line per
// module, the scanned file first.

#include "modulesearch.h"
#include "systemmodules.h"

#include <functional>
#include <string>
#include <vector>

namespace wharf {

class PeImage;

struct DependencyLine {
    // Full path of the module; empty when it was found neither beside the
    // importing file nor along the search path.
    std::string path;
    // The module's name as the importing file gives it (for a scanned file,
    // its file name).
    std::string moduleName;
    bool checked = false;
    // False (grey) for a module the project already holds.
    bool enabled = true;

    bool found() const { return !path.empty(); }
};

class ModuleScanner {
public:
    ModuleScanner() = default;
    ModuleScanner(SystemModules systemModules, ModuleSearchPath searchPath)
        : m_systemModules(std::move(systemModules)), m_searchPath(std::move(searchPath))
    {
    }

    void setSystemModules(SystemModules modules) { m_systemModules = std::move(modules); }
    const SystemModules &systemModules() const { return m_systemModules; }
    void setSearchPath(ModuleSearchPath searchPath) { m_searchPath = std::move(searchPath); }
    const ModuleSearchPath &searchPath() const { return m_searchPath; }
    // Called once for every file whose imports are read, so that a window
    // stays responsive during a long scan.
    void setProcessMessages(std::function<void()> processMessages) { m_processMessages = std::move(processMessages); }

    std::vector<DependencyLine> &lines() { return m_lines; }
    const std::vector<DependencyLine> &lines() const { return m_lines; }
    // Callers clear the list before a scan; several scans may be collected.
    void clear() { m_lines.clear(); }

    // Maps the file and, when it is a portable-executable image, lists its
    // imports (ListImports). False, with nothing listed, when the file can't
    // be read or is no image.
    bool ReadImports(const std::string &path);

    // Appends the modules image (the mapped file at path) imports that are
    // neither listed yet (paths compared without regard to case) nor system
    // modules. A module found nowhere is listed once by its name, without a
    // path. A damaged import table ends the walk; what was listed stays.
    void ListImports(const std::string &path, const PeImage &image);

    // Appends path (unless the list already holds it) and every module it
    // needs, transitively, then checks every line and disables those for
    // which inProject(path) is true. Lines without a path are never checked.
    void ScanDependencies(const std::string &path, const std::function<bool(const std::string &)> &inProject);

    // True when some line is enabled: a module that the project does not
    // hold yet, or one that was not found.
    bool hasNewModules() const;

    // The lines that are found, enabled and checked, in list order: what
    // confirming the window adds to the project.
    std::vector<DependencyLine> chosenLines() const;

private:
    bool holdsPath(const std::string &path) const;
    bool holdsMissing(const std::string &name) const;

    SystemModules m_systemModules;
    ModuleSearchPath m_searchPath;
    std::function<void()> m_processMessages;
    std::vector<DependencyLine> m_lines;
};

// The destination of a module added by the scanner: the system folder
// followed by the module's file name ("{sys}\wfalpha.dll").
std::string systemDestination(const std::string &modulePath);

} // namespace wharf
