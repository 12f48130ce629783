#include "projectwriter.h"

#include "codec.h"
#include "compilepaths.h"
#include "files.h"
#include "paths.h"
#include "projectpaths.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace wharf {
namespace {

constexpr std::string_view kTemporary = "Temporary";
constexpr std::string_view kGeneral = "General";

// Each CR LF, lone CR or lone LF of text becomes one blank.
std::string singleLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

bool hasEnclosingQuotes(std::string_view text)
{
    return !text.empty() && text.front() == '"' && text.back() == '"';
}

// A value written as it is: only a text the reader would unquote gets a pair.
std::string plainValue(std::string_view text)
{
    std::string value = singleLine(text);
    return hasEnclosingQuotes(value) ? "\"" + value + "\"" : value;
}

// A value of the file without one pair of enclosing quotes.
std::string unquoted(std::string_view value)
{
    return value.size() >= 2 && hasEnclosingQuotes(value) ? std::string(value.substr(1, value.size() - 2))
                                                          : std::string(value);
}

std::string quotedValue(std::string_view text)
{
    return "\"" + singleLine(text) + "\"";
}

// The lines of a list with every embedded line break split into lines.
std::vector<std::string> splitLines(const std::vector<std::string> &lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string &line : lines) {
        size_t start = 0;
        while (true) {
            const size_t end = line.find_first_of("\r\n", start);
            if (end == std::string::npos) {
                out.push_back(line.substr(start));
                break;
            }
            out.push_back(line.substr(start, end - start));
            start = end + ((line[end] == '\r' && end + 1 < line.size() && line[end + 1] == '\n') ? 2 : 1);
        }
    }
    return out;
}

std::string key(size_t index)
{
    return std::to_string(index);
}

// The document's values behind a path the compile resolves; false when the
// document holds none of them (they come from the file's lines as they
// stand). A file's source is here only for an external file: the others
// follow their Relative flag as they are written.
bool documentPaths(Project &project, const CompilePath &path, std::vector<std::string *> &values)
{
    using Settings = GeneralSettings;
    static constexpr std::pair<std::string_view, std::string Settings::*> kSettings[] = {
        {"BackImage", &Settings::BackImage},     {"WzrdImg", &Settings::WzrdImg},
        {"LicenseFile", &Settings::LicenseFile}, {"ReadmeFile", &Settings::ReadmeFile},
        {"AutorunIcon", &Settings::AutorunIcon}, {"MainIcon", &Settings::MainIcon},
        {"RunBatch", &Settings::RunBatch},       {"OutputDir", &Settings::OutputDir},
    };
    static constexpr std::pair<std::string_view, std::vector<std::string> Project::*> kLists[] = {
        {"AdditionalFiles", &Project::AdditionalFiles}, {"BillboardPics", &Project::BillboardPics},
        {"LanguageFiles", &Project::LanguageFiles},     {"DataFiles", &Project::DataFiles},
        {"Dialogs", &Project::Dialogs},                 {"UninstallDialogs", &Project::UninstallDialogs},
    };
    if (!path.isList()) {
        if (path.section != kTemporary)
            return false;
        for (const auto &[key, member] : kSettings)
            if (key == path.key) {
                values.push_back(&(project.General.*member));
                return true;
            }
        return false;
    }
    for (const auto &[section, member] : kLists)
        if (section == path.section) {
            for (std::string &value : project.*member)
                values.push_back(&value);
            return true;
        }
    const bool sources = path.section == "SourceFiles";
    if (sources || path.section == "PatchedFiles") {
        for (GroupEntry &group : project.Groups)
            for (FileEntry &file : group.Files)
                if (!sources)
                    values.push_back(&file.PatchedFile);
                else if (file.External)
                    values.push_back(&file.Source);
        return true;
    }
    if (path.section == "DllExtensions") {
        for (DllCall &call : project.DllCalls)
            values.push_back(&call.FileName);
        return true;
    }
    return false;
}

// The separators of a project's relative paths: a bare name moved to
// another folder is written with "/" in a project whose relative paths are
// mostly written with "/", else with "\\".
class SeparatorTally {
public:
    void add(std::string_view path)
    {
        if (path.empty() || isAbsolutePath(path) || path.find('{') != std::string_view::npos)
            return;
        const char style = editor::separatorStyle(path);
        if (style == '\\')
            ++m_back;
        else if (style == '/')
            ++m_forward;
    }
    void addDocument(Project &project)
    {
        for (const CompilePath &path : compileRelativePaths()) {
            std::vector<std::string *> values;
            documentPaths(project, path, values);
            for (const std::string *value : values)
                add(*value);
        }
        for (const GroupEntry &group : project.Groups)
            for (const FileEntry &file : group.Files)
                if (file.Relative && !file.External)
                    add(file.Source);
    }
    char separator() const { return m_forward > m_back ? '/' : '\\'; }

private:
    size_t m_back = 0;
    size_t m_forward = 0;
};

// Reports the write's progress: fixed marks and the shares of a step.
class Progress {
public:
    explicit Progress(const std::function<void(int)> &report) : m_report(report) {}

    void operator()(int percent) const
    {
        if (m_report)
            m_report(percent);
    }

    void step(int base, int span, size_t done, size_t count) const
    {
        if (count > 0)
            (*this)(base + static_cast<int>(std::lround(span * static_cast<double>(done) / count)));
    }

private:
    const std::function<void(int)> &m_report;
};

class Writer {
public:
    Writer(TMemIniStore &ini, Project &project, const ProjectWriteContext &context)
        : m_ini(ini), m_project(project), m_context(context), m_progress(context.progress)
    {
    }

    void run()
    {
        // Every copy goes: a stale second copy would otherwise be what a
        // later read finds once the first is rewritten.
        for (std::string_view section : projectSectionNames())
            while (m_ini.SectionExists(section))
                m_ini.EraseSection(section);
        m_rebase = !m_context.projectFolder.empty() && !editor::SameFolder(m_context.projectFolder, m_context.workDir);
        if (m_rebase)
            m_bareSeparator = projectSeparator();
        m_stockPages = onlyStockPages();
        rebaseBuildPaths();
        m_additionalFiles = m_project.AdditionalFiles;
        writeGeneral();
        writeDialogs("Dialogs", m_project.Dialogs);
        writeDialogs("UninstallDialogs", m_project.UninstallDialogs);
        WriteScriptLines(m_ini, "Scripts", m_project.InitScript, "InitScript");
        WriteScriptLines(m_ini, "Scripts", m_project.FinalScript, "FinalScript");
        WriteScriptLines(m_ini, "Scripts", m_project.InstallScript, "InstallFiles");
        m_progress(9);
        writeOutput();
        m_progress(10);
        writeList("BillboardPics", m_project.BillboardPics, 10, 2);
        m_progress(12);
        writeList("LanguageFiles", m_project.LanguageFiles, 12, 3);
        m_progress(15);
        writeFiles();
        m_progress(38);
        writeList("AdditionalFiles", m_additionalFiles, 38, 5);
        m_progress(43);
        writeInstallTypes();
        m_progress(46);
        writeShortcuts();
        m_progress(53);
        writeRegistry();
        m_progress(73);
        writeIniEntries();
        m_progress(83);
        writeExternalPrograms();
        m_progress(88);
        writeDllCalls();
        m_progress(93);
        writeList("AdditionalUninst", m_project.UninstExpressions, 93, 5);
        m_progress(98);
        writeList("DataFiles", m_project.DataFiles, 98, 2);
        m_progress(100);
    }

private:
    // A relative path of the build machine, made relative to the folder
    // written to when that is another one, so it keeps naming its file.
    void rebase(std::string &path) const
    {
        if (!m_rebase || path.empty() || isAbsolutePath(path) || path.find('{') != std::string::npos)
            return;
        path = editor::RebasePath(path, m_context.projectFolder, m_context.workDir, m_bareSeparator);
    }

    // The separator of the relative paths of the document and of the lines
    // the file keeps.
    char projectSeparator()
    {
        SeparatorTally tally;
        tally.addDocument(m_project);
        for (const CompilePath &path : compileRelativePaths()) {
            std::vector<std::string *> values;
            if (documentPaths(m_project, path, values))
                continue;
            TStringList lines;
            m_ini.ReadSectionValues(path.section, lines);
            for (const std::string &line : lines) {
                const size_t eq = line.find('=');
                if (eq != std::string::npos &&
                    (path.isList() || sameTextIgnoreCase(std::string_view(line).substr(0, eq), path.key)))
                    tally.add(unquoted(line.substr(eq + 1)));
            }
        }
        return tally.separator();
    }

    // Every file the compile resolves against the project's folder moves
    // along: in the document where it holds the value, else in the lines
    // that stay from the file before. A relative output folder is the
    // project's own and stays beside it.
    void rebaseBuildPaths()
    {
        if (!m_rebase)
            return;
        for (const CompilePath &path : compileRelativePaths()) {
            if (path.use == CompilePathUse::OutputFolder)
                continue;
            std::vector<std::string *> values;
            if (documentPaths(m_project, path, values)) {
                for (std::string *value : values)
                    rebase(*value);
            } else {
                rebaseKeptLines(path);
            }
        }
    }

    void rebaseKeptLines(const CompilePath &path)
    {
        TStringList lines;
        m_ini.ReadSectionValues(path.section, lines);
        for (const std::string &line : lines) {
            // A line without a key can't be written back in its place.
            const size_t eq = line.find('=');
            if (eq == std::string::npos || eq == 0 ||
                (!path.isList() && !sameTextIgnoreCase(std::string_view(line).substr(0, eq), path.key)))
                continue;
            std::string value = line.substr(eq + 1);
            const bool quoted = value.size() >= 2 && hasEnclosingQuotes(value);
            if (quoted)
                value = unquoted(value);
            const std::string before = value;
            rebase(value);
            if (value != before)
                m_ini.WriteString(path.section, line.substr(0, eq), quoted ? "\"" + value + "\"" : value);
        }
    }

    void text(std::string_view section, std::string_view name, std::string_view value)
    {
        m_ini.WriteString(section, name, plainValue(value));
    }

    void quoted(std::string_view section, std::string_view name, std::string_view value)
    {
        m_ini.WriteString(section, name, quotedValue(value));
    }

    // The numbered sections were erased at the start, and each entry number
    // is written once to each of them: their lines are appended without a
    // look-up, which keeps the save of a huge project linear in practice too.
    void textAt(std::string_view section, const std::string &n, std::string_view value)
    {
        m_ini.AppendNewKey(section, n, plainValue(value));
    }

    void quotedAt(std::string_view section, const std::string &n, std::string_view value)
    {
        m_ini.AppendNewKey(section, n, quotedValue(value));
    }

    void intAt(std::string_view section, const std::string &n, int32_t value)
    {
        m_ini.AppendNewKey(section, n, std::to_string(value));
    }

    void writeGeneral()
    {
        GeneralSettings &g = m_project.General;
        text(kTemporary, "WorkDir", m_context.workDir);
        text(kTemporary, "EditorVersion", "2.0");
        text(kTemporary, "SubVersion", m_stockPages ? "Standard" : "Professional");
        text(kTemporary, "BuildNo", "14");
        text(kGeneral, "AppName", g.AppName);
        text(kGeneral, "Caption", g.Caption);
        WriteFont(m_ini, kGeneral, g.CaptionFont, "CaptionFont");
        text(kGeneral, "VerInfo", g.VerInfo);
        text(kGeneral, "DetailedVersion", g.DetailedVersion);
        text(kGeneral, "Copyright", g.Copyright);
        WriteFont(m_ini, kGeneral, g.CopyrightFont, "CopyrightFont");
        m_ini.WriteBool(kGeneral, "UseGradient", g.UseGradient);
        m_progress(2);
        text(kGeneral, "Company", g.Company);
        text(kGeneral, "DestDir", g.DestDir);
        text(kGeneral, "ProgMenuFolder", g.ProgMenuFolder);
        m_ini.WriteBool(kGeneral, "AlwaysReboot", g.AlwaysReboot);
        m_ini.WriteBool(kGeneral, "RequirePassword", g.RequirePassword);
        text(kGeneral, "Password", g.Password);
        m_ini.WriteBool(kGeneral, "InstallLog", g.InstallLog);
        text(kGeneral, "InstallLogFile", g.InstallLogFile);
        m_ini.WriteBool(kGeneral, "AdminWarning", g.AdminWarning);
        m_ini.WriteInteger(kGeneral, "System", g.System);
        m_ini.WriteBool(kGeneral, "Use64bitFolders", g.Use64bitFolders);
        text(kTemporary, "MainIcon", g.MainIcon);
        text(kTemporary, "BackImage", g.BackImage);
        text(kTemporary, "WzrdImg", g.WzrdImg);
        m_ini.WriteBool(kGeneral, "Transparent", g.Transparent);
        m_progress(4);
        m_ini.WriteInteger(kGeneral, "BackAlign", g.BackAlign);
        m_ini.WriteInteger(kGeneral, "StartColor", g.StartColor);
        m_ini.WriteInteger(kGeneral, "EndColor", g.EndColor);
        m_ini.WriteBool(kGeneral, "Uninstaller", g.Uninstaller);
        m_ini.WriteBool(kGeneral, "AutomaticUninstDir", g.AutomaticUninstDir);
        text(kGeneral, "UninstallDir", g.UninstallDir);
        m_ini.WriteBool(kGeneral, "UninstIcon", g.UninstIcon);
        text(kGeneral, "IconTitle", g.IconTitle);
        m_ini.WriteInteger(kGeneral, "UninstReportLevel", g.UninstReportLevel);
        m_ini.WriteBool(kTemporary, "CreateAutorun", g.CreateAutorun);
        text(kTemporary, "AutorunIcon", g.AutorunIcon);
        text(kTemporary, "AutorunApplication", g.AutorunApplication);
        m_ini.WriteBool(kGeneral, "CustomSetup", g.CustomSetup);
        m_ini.WriteInteger(kTemporary, "ArchiveMode", g.ArchiveMode);
        text(kTemporary, "ReadmeFile", g.ReadmeFile);
        text(kTemporary, "LicenseFile", g.LicenseFile);
        m_progress(5);
    }

    void writeOutput()
    {
        GeneralSettings &g = m_project.General;
        // One trailing separator goes, in the document too; a lone separator
        // (the root) stays, since an empty output folder means the project's.
        if (g.OutputDir.size() > 1 && isPathSeparator(g.OutputDir.back()))
            g.OutputDir.pop_back();
        text(kTemporary, "OutputDir", g.OutputDir);
        text(kTemporary, "PackageName", g.PackageName);
        text(kTemporary, "RunBatch", g.RunBatch);
        m_ini.WriteInteger(kTemporary, "FloppySize", g.FloppySize);
        m_ini.WriteInteger(kTemporary, "MaxDiskSize", g.MaxDiskSize);
        m_ini.WriteInteger(kTemporary, "ClusterSize", g.ClusterSize);
        m_ini.WriteInteger(kTemporary, "CompressionLevel", g.CompressionLevel);
        m_ini.WriteInteger(kTemporary, "OutputType", g.OutputType);
        m_ini.WriteBool(kGeneral, "BillboardLoop", g.BillboardLoop);
        m_ini.WriteInteger(kGeneral, "BillboardDelay", g.BillboardDelay);
    }

    // True when the project has wizard pages and every one is a stock page.
    bool onlyStockPages() const
    {
        if (m_context.stockPagesFolder.empty() || (m_project.Dialogs.empty() && m_project.UninstallDialogs.empty()))
            return false;
        const auto stock = [&](const std::string &path) { return isStockPage(path, m_context.stockPagesFolder); };
        return std::all_of(m_project.Dialogs.begin(), m_project.Dialogs.end(), stock) &&
               std::all_of(m_project.UninstallDialogs.begin(), m_project.UninstallDialogs.end(), stock);
    }

    void writeDialogs(std::string_view section, const std::vector<std::string> &pages)
    {
        if (!m_stockPages) {
            writeList(section, pages, 5, 4);
            return;
        }
        std::vector<std::string> names;
        names.reserve(pages.size());
        for (const std::string &page : pages)
            names.push_back(std::string(kStockPages) + "\\" + extractFileName(page));
        writeList(section, names, 5, 4);
    }

    void writeList(std::string_view section, const std::vector<std::string> &items, int base, int span)
    {
        for (size_t n = 0; n < items.size(); ++n) {
            quotedAt(section, key(n), items[n]);
            m_progress.step(base, span, n + 1, items.size());
        }
    }

    void writeFiles()
    {
        const size_t total = m_project.fileCount();
        size_t f = 0;
        for (size_t g = 0; g < m_project.Groups.size(); ++g) {
            GroupEntry &group = m_project.Groups[g];
            quotedAt("Groups", key(g), group.Name);
            if (group.Required)
                intAt("GroupRequired", key(g), 1);
            for (FileEntry &file : group.Files) {
                writeFile(file, static_cast<uint16_t>(g), f);
                ++f;
                m_progress.step(15, 23, f, total);
            }
        }
    }

    void writeFile(FileEntry &file, uint16_t groupIndex, size_t f)
    {
        const std::string n = key(f);
        std::string source;
        if (!file.External || file.Source.find('{') != std::string::npos) {
            if (file.Relative) {
                file.Source =
                    editor::RebasePath(file.Source, m_context.projectFolder, m_context.workDir, m_bareSeparator);
                // A source that can't be relative to the new folder (another
                // drive) is absolute now, as a read of the file will say.
                file.Relative = !isAbsolutePath(file.Source);
            }
            source = file.Source;
        } else {
            m_additionalFiles.push_back(file.Source);
            source = "{src}\\" + extractFileName(file.Source);
        }
        quotedAt("SourceFiles", n, source);
        file.GroupIndex = groupIndex;
        quotedAt("DestFiles", n, file.Destination);
        if (!file.PatchedFile.empty())
            quotedAt("PatchedFiles", n, file.PatchedFile);
        // Left out only when both the reader (file name of the source) and
        // the setup (file name of the destination) would give it back.
        if (file.Description != extractFileName(file.Destination) || file.Description != extractFileName(source))
            quotedAt("FileDescriptions", n, file.Description);
        if (file.GroupIndex != 0)
            intAt("FileInGroups", n, file.GroupIndex);
        if (file.CompareVersions)
            intAt("CompareVersions", n, 1);
        if (file.CompareTimeStamps)
            intAt("CompareTimeStamps", n, 1);
        if (file.Shared)
            intAt("FileShared", n, 1);
        if (file.RegOCX)
            intAt("RegOCX", n, 1);
        if (file.Pending)
            intAt("Pending", n, 1);
        if (!file.Overwrite)
            intAt("FileOverwrite", n, 0);
        if (!file.Uninstall)
            intAt("FileUninstall", n, 0);
        if (file.TargetSystems != kAllTargetSystems)
            intAt("InstallOnSystem", n, file.TargetSystems);
        if (file.InstallFont)
            intAt("InstallFont", n, 1);
    }

    void writeInstallTypes()
    {
        const auto &types = m_project.InstallTypes;
        for (size_t n = 0; n < types.size(); ++n) {
            quotedAt("InstTypes", key(n), types[n].Name);
            textAt("GroupsInType", key(n), types[n].GroupsInType);
            m_progress.step(43, 3, n + 1, types.size());
        }
    }

    void writeShortcuts()
    {
        const auto &shortcuts = m_project.Shortcuts;
        for (size_t i = 0; i < shortcuts.size(); ++i) {
            const ShortcutEntry &s = shortcuts[i];
            const std::string n = key(i);
            quotedAt("IconTitles", n, s.Title);
            if (s.Path != "{prg}")
                quotedAt("IconPaths", n, s.Path);
            if (!s.Params.empty())
                quotedAt("IconParams", n, s.Params);
            quotedAt("IconTargets", n, s.Target);
            quotedAt("IconWorkDirs", n, s.WorkDir);
            quotedAt("IconLocations", n, s.Location);
            if (s.ShowMode != 0)
                intAt("IconShowModes", n, s.ShowMode);
            if (s.IconIndex != 0)
                intAt("IconIndexes", n, s.IconIndex);
            if (s.HotKey != 0)
                intAt("IconHotKeys", n, s.HotKey);
            if (s.TargetSystems != kAllTargetSystems)
                intAt("IconTargetOS", n, s.TargetSystems);
            m_progress.step(46, 7, i + 1, shortcuts.size());
        }
    }

    // The value keys of one registry value, up to CreateRegValues.
    void writeRegistryValue(const std::string &n, const RegistryNode &value)
    {
        const RegistryEntry &e = value.Entry;
        quotedAt("RegValueNames", n, value.Text);
        if (e.ValueType != "String")
            textAt("RegValueTypes", n, e.ValueType);
        if (!e.Data.empty())
            quotedAt("RegValues", n, e.Data);
        if (e.Uninstall)
            intAt("UninstRegValues", n, 1);
        if (!e.Overwrite)
            intAt("OverwriteRegValues", n, 0);
        if (!e.Create)
            intAt("CreateRegValues", n, 0);
    }

    void writeTargetSystems(const std::string &n, int32_t mask)
    {
        if (mask != kAllTargetSystems)
            intAt("RegTargetOS", n, mask);
    }

    void writeKeyEntries(const RegistryRoot &root, const RegistryNode &keyNode, const std::string &keyPath)
    {
        bool hasSubkey = false;
        bool hasValue = false;
        for (const RegistryNode &child : keyNode.Children)
            (child.isKey() ? hasSubkey : hasValue) = true;
        const RegistryEntry &k = keyNode.Entry;
        const bool flagged = !k.Create || k.Uninstall || k.TargetSystems != kAllTargetSystems;
        // A plain key above other keys needs no entry: its subkeys carry it.
        // A key whose values carry it writes an entry of its own only for a
        // mask of its own, which no value entry holds.
        if (hasValue ? k.TargetSystems != kAllTargetSystems : !(hasSubkey && !flagged)) {
            const std::string n = key(m_registryIndex++);
            intAt("OverwriteRegValues", n, 0);
            intAt("CreateRegValues", n, 0);
            if (!k.Create)
                intAt("CreateRegKeys", n, 0);
            if (k.Uninstall)
                intAt("UninstRegKeys", n, 1);
            writeTargetSystems(n, k.TargetSystems);
            quotedAt("RegKeyNames", n, keyPath);
            textAt("RootKeys", n, root.Name);
        }
        // Values and subkeys in the order the key holds them, so a read
        // gives the same order back.
        for (const RegistryNode &child : keyNode.Children) {
            if (child.isKey()) {
                writeKeyEntries(root, child, keyPath + "\\" + child.Text);
                continue;
            }
            const std::string n = key(m_registryIndex++);
            writeRegistryValue(n, child);
            writeTargetSystems(n, child.Entry.TargetSystems);
            if (!k.Create)
                intAt("CreateRegKeys", n, 0);
            if (k.Uninstall)
                intAt("UninstRegKeys", n, 1);
            quotedAt("RegKeyNames", n, keyPath);
            textAt("RootKeys", n, root.Name);
        }
        m_progress.step(53, 20, ++m_registryNodesDone, m_registryNodes);
    }

    void writeRootValue(const RegistryRoot &root, const RegistryNode &node)
    {
        const std::string n = key(m_registryIndex++);
        writeRegistryValue(n, node);
        textAt("RootKeys", n, root.Name);
        writeTargetSystems(n, node.Entry.TargetSystems);
        m_ini.AppendNewKey("RegKeyNames", n, kEmpty);
        intAt("CreateRegKeys", n, 0);
    }

    static size_t countNodes(const std::vector<RegistryNode> &nodes)
    {
        size_t count = 0;
        for (const RegistryNode &node : nodes)
            if (node.isKey())
                count += 1 + countNodes(node.Children);
        return count;
    }

    void writeRegistry()
    {
        const RegistryTree &tree = m_project.Registry;
        if (!tree.hasEntries())
            return;
        m_registryIndex = 0;
        m_registryNodesDone = 0;
        m_registryNodes = 0;
        for (const RegistryRoot &root : tree.roots())
            m_registryNodes += countNodes(root.Children);
        // Values right below a root, up to its first key, come first, with
        // the empty key path; the rest of each root follows in its order.
        std::array<size_t, 6> leading{};
        for (size_t r = 0; r < tree.roots().size(); ++r) {
            const RegistryRoot &root = tree.roots()[r];
            while (leading[r] < root.Children.size() && !root.Children[leading[r]].isKey())
                writeRootValue(root, root.Children[leading[r]++]);
        }
        for (size_t r = 0; r < tree.roots().size(); ++r) {
            const RegistryRoot &root = tree.roots()[r];
            for (size_t i = leading[r]; i < root.Children.size(); ++i) {
                const RegistryNode &node = root.Children[i];
                if (node.isKey())
                    writeKeyEntries(root, node, node.Text);
                else
                    writeRootValue(root, node);
            }
        }
    }

    void writeIniEntries()
    {
        const auto &entries = m_project.IniEntries;
        for (size_t i = 0; i < entries.size(); ++i) {
            const IniEntry &e = entries[i];
            const std::string n = key(i);
            quotedAt("IniFileNames", n, e.FileName);
            quotedAt("IniSections", n, e.Section);
            quotedAt("IniKeyNames", n, e.KeyName);
            if (!e.Value.empty())
                quotedAt("IniValues", n, e.Value);
            if (e.Uninstall)
                intAt("UninstIniKeys", n, 1);
            if (!e.Overwrite)
                intAt("OverwriteIniValues", n, 0);
            if (!e.Create)
                intAt("CreateIniKeys", n, 0);
            if (e.TargetSystems != kAllTargetSystems)
                intAt("IniTargetOS", n, e.TargetSystems);
            m_progress.step(73, 10, i + 1, entries.size());
        }
    }

    void writeExternalPrograms()
    {
        const auto &programs = m_project.ExternalPrograms;
        for (size_t i = 0; i < programs.size(); ++i) {
            const ExternalProgram &p = programs[i];
            const std::string n = key(i);
            quotedAt("Extensions", n, p.Command);
            if (p.Uninstallation)
                intAt("WhenExecute", n, 1);
            if (!p.Wait)
                intAt("WaitForExtensions", n, 0);
            intAt("ExtTargetOS", n, p.TargetSystems);
            m_progress.step(83, 5, i + 1, programs.size());
        }
    }

    void writeDllCalls()
    {
        const auto &calls = m_project.DllCalls;
        for (size_t i = 0; i < calls.size(); ++i) {
            const DllCall &c = calls[i];
            const std::string n = key(i);
            quotedAt("DllExtensions", n, c.FileName);
            quotedAt("DllFuncNames", n, c.FunctionName);
            intAt("DllWhenExecute", n, c.ExecuteAfter);
            m_progress.step(88, 5, i + 1, calls.size());
        }
    }

    TMemIniStore &m_ini;
    Project &m_project;
    const ProjectWriteContext &m_context;
    Progress m_progress;
    bool m_rebase = false;
    bool m_stockPages = false;
    char m_bareSeparator = '\\';
    std::vector<std::string> m_additionalFiles;
    size_t m_registryIndex = 0;
    size_t m_registryNodes = 0;
    size_t m_registryNodesDone = 0;
};

} // namespace

const std::vector<std::string_view> &projectSectionNames()
{
    static const std::vector<std::string_view> names = {
        "Temporary", "General", "Dialogs", "UninstallDialogs", "Scripts", "BillboardPics", "LanguageFiles",
        // the sixteen file sections
        "Groups", "GroupRequired", "SourceFiles", "DestFiles", "FileDescriptions", "FileInGroups",
        "CompareVersions", "CompareTimeStamps", "FileShared", "RegOCX", "Pending", "FileOverwrite",
        "FileUninstall", "InstallOnSystem", "PatchedFiles", "InstallFont",
        "AdditionalFiles", "InstTypes", "GroupsInType",
        // shortcuts
        "IconTitles", "IconPaths", "IconParams", "IconTargets", "IconWorkDirs", "IconLocations",
        "IconShowModes", "IconIndexes", "IconHotKeys", "IconTargetOS",
        // registry
        "RegValueNames", "RegValueTypes", "RegValues", "UninstRegValues", "OverwriteRegValues",
        "CreateRegValues", "RootKeys", "RegKeyNames", "CreateRegKeys", "UninstRegKeys", "RegTargetOS",
        // INI entries
        "IniFileNames", "IniSections", "IniKeyNames", "IniValues", "UninstIniKeys", "OverwriteIniValues",
        "CreateIniKeys", "IniTargetOS",
        // external programs and DLL calls
        "Extensions", "WhenExecute", "WaitForExtensions", "ExtTargetOS",
        "DllExtensions", "DllFuncNames", "DllWhenExecute",
        "AdditionalUninst", "DataFiles",
    };
    return names;
}

void WriteScriptLines(TCustomIniStore &ini, std::string_view section, const std::vector<std::string> &lines,
                      std::string_view name)
{
    const std::vector<std::string> split = splitLines(lines);
    const std::string prefix(name);
    ini.WriteInteger(section, prefix + "Count", static_cast<int32_t>(split.size()));
    for (size_t i = 0; i < split.size(); ++i)
        ini.WriteString(section, prefix + "Line" + std::to_string(i), plainValue(split[i]));
}

void WriteFont(TCustomIniStore &ini, std::string_view section, const ProjectFont &font, std::string_view name)
{
    const std::string prefix(name);
    ini.WriteString(section, prefix + "Name", plainValue(font.Name));
    ini.WriteInteger(section, prefix + "Size", font.Size);
    ini.WriteInteger(section, prefix + "Color", font.Color);
    ini.WriteInteger(section, prefix + "Style", font.Style);
}

bool isStockPage(std::string_view path, std::string_view stockPagesFolder)
{
    if (stockPagesFolder.empty() || !isAbsolutePath(path) || extractFileName(path).empty())
        return false;
    const std::string folder = extractFilePath(path);
    return editor::SameFolder(folder, stockPagesFolder) ||
           (folderExists(folder) && sameFile(folder, stockPagesFolder));
}

char relativePathSeparator(Project &project)
{
    SeparatorTally tally;
    tally.addDocument(project);
    return tally.separator();
}

void writeProjectSections(TMemIniStore &ini, Project &project, const ProjectWriteContext &context)
{
    Writer(ini, project, context).run();
}

} // namespace wharf
