#include "projectreader.h"

#include "codec.h"
#include "compilepaths.h"
#include "paths.h"
#include "projectpaths.h"
#include "projectwriter.h"
#include "targetsystems.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace wharf {
namespace {

constexpr std::string_view kTemporary = "Temporary";
constexpr std::string_view kGeneral = "General";
constexpr size_t kFieldWidth = 255;
constexpr size_t kValueTypeWidth = 10;

constexpr std::string_view kInvalidFile =
    "The file %s seems to be invalid. Perhaps it was created with another version of Brindlewharf, or it "
    "is not a Brindlewharf script file. Do you want to try to open it anyway?";
constexpr std::string_view kImportOld =
    "This file was created with Brindlewharf 1.0. Brindlewharf will import it. Please note that in some "
    "special cases data may be lost!";
constexpr std::string_view kOldBuild =
    "This file was created with a Brindlewharf 2.0 release prior to 2.0.1.10. This release did not support "
    "Windows Server 2003. \n\nIf there are files, icons, Registry entries or INI entries in your setup that "
    "are not installed on all systems, you will have to update these entries manually and check the box for "
    "Windows Server 2003!";
constexpr std::string_view kOldLanguages =
    "Brindlewharf 1.0 language files are not compatible with those of version 2.0, as some strings are "
    "missing. Do you want to use them anyway?";

// The dialogs a 1.0 file names by flags, in showing order; an empty key is
// always shown.
struct OldDialog {
    std::string_view key;
    std::string_view file;
};
constexpr OldDialog kOldDialogs[] = {
    {"WelcomeDialog", "welcome.ddf"},
    {"LicenseDialog", "license agreement.ddf"},
    {"ReadmeDialog", "readme file.ddf"},
    {"SelDir", "select destination.ddf"},
    {"ProgGroup", "select program group.ddf"},
    {"GroupsDialog", "select installation type.ddf"},
    {"Custom", "custom setup.ddf"},
    {"RegisterDialog", "user information.ddf"},
    {"ConfigOverview", "overview.ddf"},
    {"", "installation progress.ddf"},
    {"CompletionDialog", "setup complete.ddf"},
};
constexpr std::string_view kOldUninstallDialogs[] = {
    "uninstaller.ddf", "installation progress.ddf", "uninstall finished.ddf"};

std::string replaceName(std::string_view text, std::string_view value)
{
    std::string out(text);
    const size_t at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, value);
    return out;
}

// "|k|" tokens of a group list moved up by shift; other text stays.
std::string shiftGroupList(std::string_view list, size_t shift)
{
    std::string out;
    size_t i = 0;
    while (i < list.size()) {
        if (list[i] == '|') {
            size_t end = i + 1;
            while (end < list.size() && list[end] >= '0' && list[end] <= '9')
                ++end;
            if (end > i + 1 && end < list.size() && list[end] == '|' && end - i - 1 <= 9) {
                const size_t k = std::stoul(std::string(list.substr(i + 1, end - i - 1)));
                out += "|" + std::to_string(k + shift) + "|";
                i = end + 1;
                continue;
            }
        }
        out += list[i++];
    }
    return out;
}

// The numbered keys "0", "1", ... of a section, taken in one pass over its
// lines as the store's look-ups would find them (the first copy of the
// section, the first line of a key, one pair of enclosing quotes removed).
// The reader asks for them in rising order, so a look-up moves a cursor
// instead of searching: a long list costs no hash look-up per entry.
class NumberedKeys {
public:
    NumberedKeys(const TMemIniStore &ini, std::string_view section)
    {
        TStringList lines;
        ini.ReadSectionValues(section, lines);
        m_entries.reserve(lines.size());
        for (std::string &line : lines) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos || eq == 0 || eq > 18)
                continue;
            // Only the plain decimal form is the key a number names.
            if (line[0] == '0' && eq != 1)
                continue;
            size_t key = 0;
            bool digits = true;
            for (size_t i = 0; i < eq && digits; ++i) {
                digits = line[i] >= '0' && line[i] <= '9';
                key = key * 10 + static_cast<size_t>(line[i] - '0');
            }
            if (!digits)
                continue;
            std::string value = line.substr(eq + 1);
            if (!value.empty() && value.front() == '"' && value.back() == '"')
                value = value.size() == 1 ? std::string() : value.substr(1, value.size() - 2);
            m_entries.push_back({key, std::move(value)});
        }
        // The first line of a key wins.
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const Entry &a, const Entry &b) { return a.key < b.key; });
        m_entries.erase(std::unique(m_entries.begin(), m_entries.end(),
                                    [](const Entry &a, const Entry &b) { return a.key == b.key; }),
                        m_entries.end());
    }

    const std::string *find(size_t key) const
    {
        if (m_cursor >= m_entries.size() || m_entries[m_cursor].key > key) {
            m_cursor = static_cast<size_t>(
                std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                 [](const Entry &e, size_t k) { return e.key < k; }) -
                m_entries.begin());
        } else {
            while (m_cursor < m_entries.size() && m_entries[m_cursor].key < key)
                ++m_cursor;
        }
        return m_cursor < m_entries.size() && m_entries[m_cursor].key == key ? &m_entries[m_cursor].value
                                                                             : nullptr;
    }

private:
    struct Entry {
        size_t key;
        std::string value;
    };
    std::vector<Entry> m_entries;
    mutable size_t m_cursor = 0;
};

class Reader {
public:
    Reader(const TMemIniStore &ini, Project &project, const ProjectReadContext &context)
        : m_ini(ini), m_project(project), m_context(context)
    {
    }

    ProjectReadResult run()
    {
        m_result.EditorVersion = str(kTemporary, "EditorVersion", "xxxxx");
        m_result.SubVersion = str(kTemporary, "SubVersion", "Standard");
        m_result.BuildNo = m_ini.ReadInteger(kTemporary, "BuildNo", 0);
        m_old = m_result.EditorVersion == "1.0";
        const bool current = m_result.EditorVersion == "2.0" || m_result.EditorVersion == "2";
        m_rebase = m_context.append && !m_context.projectFolder.empty() &&
                   !editor::SameFolder(m_context.fileFolder, m_context.projectFolder);
        if (m_rebase)
            m_bareSeparator = relativePathSeparator(m_project);

        if (!m_context.append) {
            m_project = Project();
            if (!current && !m_old &&
                ask(MessageKind::Error, MessageButtons::YesNo, replaceName(kInvalidFile, m_context.fileName)) !=
                    MessageAnswer::Yes) {
                m_result.declined = true;
                return m_result;
            }
            if (m_old)
                ask(MessageKind::Warning, MessageButtons::Ok, std::string(kImportOld));
            if (m_result.BuildNo < 10)
                ask(MessageKind::Warning, MessageButtons::Ok, std::string(kOldBuild));
            readGeneral();
        }
        reportDuplicateSections();
        readList("BillboardPics", m_project.BillboardPics, 10, 2);
        progress(12);
        const size_t additionalBefore = m_project.AdditionalFiles.size();
        readList("AdditionalFiles", m_project.AdditionalFiles, 12, 5);
        progress(17);
        readLanguages();
        progress(20);
        const size_t groupsBefore = m_project.Groups.size();
        readGroups();
        progress(23);
        readFiles(groupsBefore, additionalBefore);
        progress(43);
        readInstallTypes(groupsBefore);
        progress(46);
        readShortcuts();
        progress(53);
        readRegistry();
        progress(73);
        readIniEntries();
        progress(83);
        readExternalPrograms();
        progress(88);
        readDllCalls();
        progress(93);
        readList("AdditionalUninst", m_project.UninstExpressions, 93, 5);
        progress(98);
        readList("DataFiles", m_project.DataFiles, 98, 2);
        progress(100);
        reportCutTexts();

        const int32_t system = m_project.General.System;
        // Anything the read had to change (and reports) needs a save too. The
        // stock pages of a "Standard" file are taken from this program folder
        // and a save names them so again: nothing to save.
        m_result.unchanged = m_result.EditorVersion == "2.0" &&
                             (m_result.SubVersion == "Professional" || m_result.SubVersion == "Standard") &&
                             !(system == 2048 && m_result.BuildNo != 12) &&
                             !(system == kAllTargetSystems && m_result.BuildNo != 14) &&
                             m_result.warnings.empty();
        return m_result;
    }

private:
    std::string str(std::string_view section, std::string_view key, std::string_view def) const
    {
        return m_ini.ReadString(section, key, def);
    }

    const NumberedKeys &numbered(std::string_view section) const
    {
        std::string folded = foldedText(section);
        auto found = m_numbered.find(folded);
        if (found == m_numbered.end())
            found = m_numbered.emplace(std::move(folded), NumberedKeys(m_ini, section)).first;
        return found->second;
    }

    bool present(std::string_view section, size_t n) const { return numbered(section).find(n) != nullptr; }

    std::string str(std::string_view section, size_t n, std::string_view def = {}) const
    {
        const std::string *value = numbered(section).find(n);
        return value ? *value : std::string(def);
    }

    int32_t integer(std::string_view section, size_t n, int32_t def) const
    {
        int32_t value = 0;
        const std::string *text = numbered(section).find(n);
        return text && parseIniInteger(*text, value) ? value : def;
    }

    bool boolean(std::string_view section, size_t n, bool def) const { return integer(section, n, def ? 1 : 0) != 0; }

    int32_t mask(std::string_view section, size_t n) const
    {
        return ConvertTargetSystems(integer(section, n, kAllTargetSystems), m_result.BuildNo);
    }

    // The number of entries of a list section: the lines it holds.
    size_t count(std::string_view section) const
    {
        TStringList lines;
        m_ini.ReadSectionValues(section, lines);
        return lines.size();
    }

    MessageAnswer ask(MessageKind kind, MessageButtons buttons, const std::string &text)
    {
        if (!m_context.prompts)
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
        return m_context.prompts->showMessage(kind, buttons, text);
    }

    void progress(int percent) const
    {
        if (m_context.progress)
            m_context.progress(percent);
    }

    void step(int base, int span, size_t done, size_t total) const
    {
        if (total > 0)
            progress(base + static_cast<int>(std::lround(span * static_cast<double>(done) / total)));
    }

    // An appended value of section that the compile takes relative to the
    // project's folder, made absolute so it keeps naming the same file.
    std::string rebased(std::string_view section, const std::string &path) const
    {
        const auto paths = compileRelativePaths();
        const bool isPath = std::any_of(paths.begin(), paths.end(), [&](const CompilePath &p) {
            return p.isList() && p.section == section;
        });
        return m_rebase && isPath ? editor::ExpandRelativePath(path, m_context.fileFolder) : path;
    }

    // An appended path relative to the appended file's folder, made relative
    // to the project's folder like the files' sources.
    std::string movedRelative(const std::string &path) const
    {
        if (!m_rebase || path.empty() || isAbsolutePath(path) || path.find('{') != std::string::npos)
            return path;
        return editor::RebasePath(path, m_context.fileFolder, m_context.projectFolder, m_bareSeparator);
    }

    // value cut to width characters; a cut is named in the read's warning
    // by the key it came from.
    std::string field(const std::string &value, size_t width, std::string_view section, size_t n)
    {
        std::string kept = cutText(value, width);
        if (kept.size() < value.size())
            m_cut.push_back("[" + std::string(section) + "] " + std::to_string(n));
        return kept;
    }

    void reportCutTexts()
    {
        if (m_cut.empty())
            return;
        constexpr size_t kNamed = 10;
        std::string list;
        for (size_t i = 0; i < m_cut.size() && i < kNamed; ++i)
            list += (list.empty() ? "" : ", ") + m_cut[i];
        if (m_cut.size() > kNamed)
            list += " and " + std::to_string(m_cut.size() - kNamed) + " more";
        m_result.warnings.push_back("Texts longer than a project holds (255 characters, 10 for a registry value "
                                    "type) were cut: " +
                                    list + ".");
    }

    std::string programPath(std::string_view folder, std::string_view name) const
    {
        return joinPath(joinPath(m_context.programFolder, folder), name);
    }

    void readGeneral()
    {
        GeneralSettings &g = m_project.General;
        g.AppName = str(kGeneral, "AppName", "");
        g.VerInfo = str(kGeneral, "VerInfo", "1.0");
        g.DetailedVersion = str(kGeneral, "DetailedVersion", g.VerInfo);
        g.Copyright = str(kGeneral, "Copyright", "");
        g.CopyrightFont = ReadFont(m_ini, kGeneral, "CopyrightFont");
        g.Company = str(kGeneral, "Company", "");
        progress(2);
        g.DestDir = str(kGeneral, "DestDir", "{pro}\\");
        g.ProgMenuFolder = str(kGeneral, "ProgMenuFolder", "");
        g.Caption = str(kGeneral, "Caption", "");
        g.CaptionFont = ReadFont(m_ini, kGeneral, "CaptionFont");
        g.UseGradient = m_ini.ReadBool(kGeneral, "UseGradient", false);
        g.AlwaysReboot = m_ini.ReadBool(kGeneral, "AlwaysReboot", false);
        g.RequirePassword = m_old ? m_ini.ReadBool("Dialogs", "PasswordDialog", false)
                                  : m_ini.ReadBool(kGeneral, "RequirePassword", false);
        g.InstallLog = m_ini.ReadBool(kGeneral, "InstallLog", false);
        g.InstallLogFile = str(kGeneral, "InstallLogFile", "");
        g.AdminWarning = m_ini.ReadBool(kGeneral, "AdminWarning", true);
        g.System = ConvertTargetSystems(m_ini.ReadInteger(kGeneral, "System", kAllTargetSystems), m_result.BuildNo);
        g.Use64bitFolders = m_ini.ReadBool(kGeneral, "Use64bitFolders", false);
        g.MainIcon = str(kTemporary, "MainIcon", "");
        g.BackImage = str(kTemporary, "BackImage", "");
        g.WzrdImg = str(kTemporary, "WzrdImg", "");
        progress(4);
        g.Transparent = m_ini.ReadBool(kGeneral, "Transparent", false);
        g.BackAlign = m_ini.ReadInteger(kGeneral, "BackAlign", 0);
        g.StartColor = m_ini.ReadInteger(kGeneral, "StartColor", 8388608);
        g.EndColor = m_ini.ReadInteger(kGeneral, "EndColor", 0);
        g.Uninstaller = m_old ? m_ini.ReadBool(kTemporary, "UseUninst", true)
                              : m_ini.ReadBool(kGeneral, "Uninstaller", true);
        g.AutomaticUninstDir = m_ini.ReadBool(kGeneral, "AutomaticUninstDir", true);
        g.UninstallDir = str(kGeneral, "UninstallDir", "{app}\\Uninstall");
        g.UninstIcon = m_ini.ReadBool(kGeneral, "UninstIcon", true);
        g.IconTitle = str(kGeneral, "IconTitle", "Uninstaller");
        g.UninstReportLevel = m_ini.ReadInteger(kGeneral, "UninstReportLevel", 0);
        g.CreateAutorun = m_ini.ReadBool(kTemporary, "CreateAutorun", false);
        g.AutorunIcon = str(kTemporary, "AutorunIcon", "");
        g.AutorunApplication = str(kTemporary, "AutorunApplication", "setup.exe");
        g.ArchiveMode = m_ini.ReadInteger(kTemporary, "ArchiveMode", 0);
        g.ReadmeFile = str(kTemporary, "ReadmeFile", "");
        g.LicenseFile = str(kTemporary, "LicenseFile", "");
        progress(5);
        g.Password = str(m_old ? kTemporary : kGeneral, "Password", "");
        readDialogs();
        m_project.InitScript = ReadScriptLines(m_ini, "Scripts", "InitScript");
        m_project.FinalScript = ReadScriptLines(m_ini, "Scripts", "FinalScript");
        m_project.InstallScript = ReadScriptLines(m_ini, "Scripts", "InstallFiles");
        progress(9);
        g.CustomSetup = m_old ? m_ini.ReadBool("Dialogs", "Custom", true)
                              : m_ini.ReadBool(kGeneral, "CustomSetup", false);
        g.OutputDir = str(kTemporary, "OutputDir", "");
        g.PackageName = str(kTemporary, "PackageName", "setup.zlb");
        g.RunBatch = str(kTemporary, "RunBatch", "");
        g.FloppySize = m_ini.ReadInteger(kTemporary, "FloppySize", 0);
        g.MaxDiskSize = m_ini.ReadInteger(kTemporary, "MaxDiskSize", 1457664);
        g.ClusterSize = m_ini.ReadInteger(kTemporary, "ClusterSize", 512);
        g.CompressionLevel = m_old ? 8 : m_ini.ReadInteger(kTemporary, "CompressionLevel", 0);
        g.OutputType = m_ini.ReadInteger(kTemporary, "OutputType", 0);
        if (m_old && (g.OutputType == 1 || g.OutputType == 2))
            g.OutputType = 3 - g.OutputType;
        g.BillboardLoop = m_ini.ReadBool(kGeneral, "BillboardLoop", true);
        g.BillboardDelay = m_ini.ReadInteger(kGeneral, "BillboardDelay", 1000);
        progress(10);
    }

    void readDialogs()
    {
        if (m_old) {
            for (const OldDialog &d : kOldDialogs)
                if (d.key.empty() || m_ini.ReadBool("Dialogs", d.key, true))
                    m_project.Dialogs.push_back(programPath(kStockPages, d.file));
            for (std::string_view file : kOldUninstallDialogs)
                m_project.UninstallDialogs.push_back(programPath(kStockPages, file));
            progress(9);
            return;
        }
        // Dialogs of other editions are looked for in the program's own
        // "Dialogs" folder, by file name.
        const bool own = m_result.SubVersion == "Professional";
        const auto read = [&](std::string_view section, std::vector<std::string> &list, int base, int span) {
            const size_t n = count(section);
            for (size_t i = 0; i < n; ++i) {
                const std::string value = str(section, i);
                list.push_back(own ? value : programPath(kStockPages, extractFileName(value)));
                step(base, span, i + 1, n);
            }
        };
        read("Dialogs", m_project.Dialogs, 5, 3);
        read("UninstallDialogs", m_project.UninstallDialogs, 8, 1);
    }

    // Only the first copy of a section is read, and a save writes only that
    // one: each section the file holds more than once is named once.
    void reportDuplicateSections()
    {
        std::unordered_set<std::string> own;
        for (std::string_view name : projectSectionNames())
            own.insert(foldedText(name));
        TStringList sections;
        m_ini.ReadSections(sections);
        std::unordered_map<std::string, int> seen;
        std::vector<std::string> twice;
        for (const std::string &name : sections) {
            std::string folded = foldedText(name);
            if (own.count(folded) > 0 && ++seen[folded] == 2)
                twice.push_back("[" + name + "]");
        }
        if (twice.empty())
            return;
        std::string list;
        for (const std::string &name : twice)
            list += (list.empty() ? "" : ", ") + name;
        m_result.warnings.push_back("Sections found more than once, of which only the first copy was read: " +
                                    list + ".");
    }

    void readList(std::string_view section, std::vector<std::string> &list, int base, int span)
    {
        const size_t n = count(section);
        for (size_t i = 0; i < n; ++i) {
            list.push_back(rebased(section, str(section, i)));
            step(base, span, i + 1, n);
        }
    }

    void readLanguages()
    {
        std::vector<std::string> &languages = m_project.LanguageFiles;
        std::unordered_set<std::string> have;
        for (const std::string &path : languages)
            have.insert(foldedText(path));
        const auto add = [&](const std::string &path) {
            if (have.insert(foldedText(path)).second)
                languages.push_back(path);
        };
        if (m_old &&
            ask(MessageKind::Warning, MessageButtons::YesNo, std::string(kOldLanguages)) != MessageAnswer::Yes) {
            add(joinPath(m_context.programFolder, "default.wfl"));
            return;
        }
        const size_t n = count("LanguageFiles");
        for (size_t i = 0; i < n; ++i) {
            add(rebased("LanguageFiles", str("LanguageFiles", i)));
            step(17, 3, i + 1, n);
        }
    }

    void readGroups()
    {
        const size_t n = count("Groups");
        std::unordered_set<std::string> names;
        for (const GroupEntry &group : m_project.Groups)
            names.insert(foldedText(group.Name));
        std::string renamed;
        for (size_t i = 0; i < n; ++i) {
            const std::string name = str("Groups", i);
            std::string candidate = name;
            for (int suffix = 2; names.count(foldedText(candidate)) > 0; ++suffix)
                candidate = name + std::to_string(suffix);
            names.insert(foldedText(candidate));
            if (candidate != name)
                renamed += (renamed.empty() ? "\"" : ", \"") + name + "\" became \"" + candidate + "\"";
            GroupEntry group;
            group.Name = candidate;
            group.Required = boolean("GroupRequired", i, false);
            m_project.Groups.push_back(std::move(group));
            step(20, 3, i + 1, n);
        }
        if (!renamed.empty())
            m_result.warnings.push_back("Groups of the same name were renamed: " + renamed + ".");
    }

    void readFiles(size_t groupsBefore, size_t additionalBefore)
    {
        const size_t n = count("SourceFiles");
        std::vector<bool> used(m_project.AdditionalFiles.size(), false);
        ExternalFiles externals = externalFiles(n, additionalBefore);
        size_t misplaced = 0;
        for (size_t f = 0; f < n; ++f) {
            FileEntry file;
            file.Source = str("SourceFiles", f);
            file.Destination = field(str("DestFiles", f), kFieldWidth, "DestFiles", f);
            file.PatchedFile = movedRelative(field(str("PatchedFiles", f), kFieldWidth, "PatchedFiles", f));
            file.Description =
                field(str("FileDescriptions", f, extractFileName(file.Source)), kFieldWidth, "FileDescriptions", f);
            file.CompareVersions = boolean("CompareVersions", f, false);
            file.CompareTimeStamps = boolean("CompareTimeStamps", f, m_result.BuildNo < 12);
            file.Shared = boolean("FileShared", f, false);
            file.RegOCX = boolean("RegOCX", f, false);
            file.Pending = boolean("Pending", f, false);
            file.Overwrite = boolean("FileOverwrite", f, true);
            file.Uninstall = boolean("FileUninstall", f, true);
            file.External = false;
            const bool variable = file.Source.find('{') != std::string::npos;
            file.Relative = !variable && !isAbsolutePath(file.Source);
            if (variable && file.Source.find("{src}") != std::string::npos)
                attachExternal(file, used, externals);
            if (m_old) {
                const std::string text = str("InstallOnSystem", f, "ALL");
                file.TargetSystems = text == "ALL" ? kAllTargetSystems : text == "WINNT" ? 4194241 : 63;
            } else {
                file.TargetSystems = mask("InstallOnSystem", f);
            }
            file.InstallFont = boolean("InstallFont", f, false);
            if (file.Relative)
                file.Source = movedRelative(file.Source);

            // A group index that names no group of the file puts the file into
            // the last group there is (a new one when there is none).
            int64_t group = static_cast<int64_t>(integer("FileInGroups", f, 0)) + static_cast<int64_t>(groupsBefore);
            if (group < 0 || group >= static_cast<int64_t>(m_project.Groups.size())) {
                ++misplaced;
                if (m_project.Groups.empty()) {
                    GroupEntry fallback;
                    fallback.Name = "Group 1";
                    m_project.Groups.push_back(std::move(fallback));
                }
                group = static_cast<int64_t>(m_project.Groups.size()) - 1;
            }
            file.GroupIndex = static_cast<uint16_t>(group);
            m_project.Groups[static_cast<size_t>(group)].Files.push_back(std::move(file));
            step(23, 20, f + 1, n);
        }
        // Paths that now belong to external files leave the list.
        std::vector<std::string> kept;
        for (size_t i = 0; i < m_project.AdditionalFiles.size(); ++i)
            if (!used[i])
                kept.push_back(std::move(m_project.AdditionalFiles[i]));
        m_project.AdditionalFiles = std::move(kept);
        if (misplaced > 0)
            m_result.warnings.push_back(std::to_string(misplaced) +
                                        " file(s) named a group that does not exist and were put into the group \"" +
                                        m_project.Groups.back().Name + "\".");
    }

    // The additional files of this read by folded file name, and how many
    // "{src}" files of each name remain to be placed.
    struct ExternalFiles {
        struct Name {
            std::vector<size_t> candidates;  // indexes into the additional files
            size_t files = 0;                // "{src}" files of that name
            size_t placed = 0;
        };
        std::unordered_map<std::string, Name> names;
    };

    static bool isExternalSource(const std::string &source)
    {
        return source.find("{src}") != std::string::npos;
    }

    ExternalFiles externalFiles(size_t n, size_t additionalBefore) const
    {
        ExternalFiles externals;
        for (size_t f = 0; f < n; ++f) {
            const std::string source = str("SourceFiles", f);
            if (isExternalSource(source)) {
                const std::string name = extractFileName(source);
                if (!name.empty())
                    ++externals.names[foldedText(name)].files;
            }
        }
        // A path with a variable is never one of a "{src}" file: a save
        // writes such a file's source as it stands.
        for (size_t i = additionalBefore; i < m_project.AdditionalFiles.size(); ++i) {
            if (m_project.AdditionalFiles[i].find('{') != std::string::npos)
                continue;
            const auto found = externals.names.find(foldedText(extractFileName(m_project.AdditionalFiles[i])));
            if (found != externals.names.end())
                found->second.candidates.push_back(i);
        }
        return externals;
    }

    // A "{src}" file lies beside the setup: its full path is an additional
    // file of this read with the same file name. A save lists those paths
    // after the plain additional files, in file order, so the files of one
    // name take the last additional files of that name (the first ones when
    // there are fewer than files).
    static void attachExternalAt(FileEntry &file, std::vector<bool> &used, std::vector<std::string> &additional,
                                 ExternalFiles::Name &name)
    {
        const size_t j = name.placed++;
        const size_t k = name.files;
        const size_t c = name.candidates.size();
        size_t pick;
        if (k <= c)
            pick = name.candidates[c - k + j];
        else if (j < c)
            pick = name.candidates[j];
        else
            return;
        if (used[pick])
            return;
        file.Source = additional[pick];
        file.External = true;
        used[pick] = true;
    }

    void attachExternal(FileEntry &file, std::vector<bool> &used, ExternalFiles &externals)
    {
        const std::string name = extractFileName(file.Source);
        if (name.empty())
            return;
        const auto found = externals.names.find(foldedText(name));
        if (found != externals.names.end())
            attachExternalAt(file, used, m_project.AdditionalFiles, found->second);
    }

    void readInstallTypes(size_t groupsBefore)
    {
        const size_t n = count("InstTypes");
        std::unordered_set<std::string> names;
        for (const InstallTypeEntry &type : m_project.InstallTypes)
            names.insert(foldedText(type.Name));
        for (size_t i = 0; i < n; ++i) {
            const std::string name = str("InstTypes", i);
            if (names.insert(foldedText(name)).second) {
                std::string groups = str("GroupsInType", i);
                // The appended groups stand behind the open project's.
                if (groupsBefore > 0)
                    groups = shiftGroupList(groups, groupsBefore);
                m_project.InstallTypes.push_back({name, field(groups, kFieldWidth, "GroupsInType", i)});
            }
            step(43, 3, i + 1, n);
        }
    }

    void readShortcuts()
    {
        const size_t n = count("IconTitles");
        for (size_t i = 0; i < n; ++i) {
            ShortcutEntry s;
            s.Title = str("IconTitles", i);
            s.Path = field(str("IconPaths", i, "{prg}"), kFieldWidth, "IconPaths", i);
            s.Params = field(str("IconParams", i), kFieldWidth, "IconParams", i);
            s.Target = field(str("IconTargets", i), kFieldWidth, "IconTargets", i);
            const std::string targetFolder = excludeTrailingSeparator(extractFilePath(s.Target));
            s.WorkDir = field(str("IconWorkDirs", i, targetFolder), kFieldWidth, "IconWorkDirs", i);
            s.Location = field(str("IconLocations", i, s.Target), kFieldWidth, "IconLocations", i);
            s.ShowMode = static_cast<uint16_t>(integer("IconShowModes", i, 0));
            s.IconIndex = static_cast<uint16_t>(integer("IconIndexes", i, 0));
            s.HotKey = static_cast<uint16_t>(integer("IconHotKeys", i, 0));
            s.TargetSystems = mask("IconTargetOS", i);
            m_project.Shortcuts.push_back(std::move(s));
            step(46, 7, i + 1, n);
        }
    }

    void readRegistry()
    {
        const size_t n = count("RootKeys");
        std::vector<std::string> unknownRoots;
        RegistryInserter inserter(m_project.Registry);
        for (size_t r = 0; r < n; ++r) {
            RegistryEntry key;
            key.IsKey = true;
            key.Uninstall = boolean("UninstRegKeys", r, false);
            key.Create = boolean("CreateRegKeys", r, true);
            key.Overwrite = false;
            RegistryEntry value;
            value.Data = field(str("RegValues", r, kEmpty), kFieldWidth, "RegValues", r);
            // Empty data is the empty marker, which a save leaves out.
            if (value.Data.empty())
                value.Data = std::string(kEmpty);
            value.ValueType = field(str("RegValueTypes", r, "String"), kValueTypeWidth, "RegValueTypes", r);
            value.Uninstall = boolean("UninstRegValues", r, false);
            value.Overwrite = boolean("OverwriteRegValues", r, true);
            value.Create = boolean("CreateRegValues", r, true);
            value.TargetSystems = mask("RegTargetOS", r);
            const std::string name = str("RegValueNames", r, kEmpty);
            const std::string path = str("RegKeyNames", r);
            const std::string root = str("RootKeys", r, "HKEY_CURRENT_USER");
            // An entry names a value when it has a value name at all; the
            // default value with empty data is still a value. Without one
            // the entry is its key's own, and so is its mask; a value's entry
            // leaves the mask its key has.
            const bool hasValue = present("RegValueNames", r) || name != kEmpty || value.Data != kEmpty;
            if (!hasValue)
                key.TargetSystems = value.TargetSystems;
            if (!inserter.add(root, path, key, hasValue, value, name,
                              hasValue ? ExistingKey::KeepMask : ExistingKey::Replace))
                if (std::find(unknownRoots.begin(), unknownRoots.end(), root) == unknownRoots.end())
                    unknownRoots.push_back(root);
            step(53, 20, r + 1, n);
        }
        if (!unknownRoots.empty()) {
            std::string list;
            for (const std::string &root : unknownRoots)
                list += (list.empty() ? "" : ", ") + ("\"" + root + "\"");
            m_result.warnings.push_back("Registry entries under unknown root keys were skipped: " + list + ".");
        }
    }

    void readIniEntries()
    {
        const size_t n = count("IniFileNames");
        for (size_t i = 0; i < n; ++i) {
            IniEntry e;
            e.FileName = str("IniFileNames", i);
            e.Section = str("IniSections", i);
            e.KeyName = str("IniKeyNames", i);
            e.Value = str("IniValues", i);
            e.Uninstall = boolean("UninstIniKeys", i, false);
            e.Overwrite = boolean("OverwriteIniValues", i, true);
            e.Create = boolean("CreateIniKeys", i, true);
            e.TargetSystems = mask("IniTargetOS", i);
            m_project.IniEntries.push_back(std::move(e));
            step(73, 10, i + 1, n);
        }
    }

    void readExternalPrograms()
    {
        const size_t n = count("Extensions");
        for (size_t i = 0; i < n; ++i) {
            ExternalProgram p;
            p.Command = str("Extensions", i);
            p.Uninstallation = boolean("WhenExecute", i, false);
            p.Wait = boolean("WaitForExtensions", i, true);
            p.TargetSystems = mask("ExtTargetOS", i);
            m_project.ExternalPrograms.push_back(std::move(p));
            step(83, 5, i + 1, n);
        }
    }

    void readDllCalls()
    {
        const size_t n = count("DllExtensions");
        for (size_t i = 0; i < n; ++i) {
            DllCall c;
            c.FileName = rebased("DllExtensions", str("DllExtensions", i));
            c.FunctionName = str("DllFuncNames", i);
            int32_t when = 0;
            const bool number = parseIniInteger(str("DllWhenExecute", i, "1"), when);
            // 1.0 counted the dialogs from 0.
            c.ExecuteAfter = m_old ? (number ? when : 0) + 1 : (number ? when : 0);
            m_project.DllCalls.push_back(std::move(c));
            step(88, 5, i + 1, n);
        }
    }

    const TMemIniStore &m_ini;
    Project &m_project;
    const ProjectReadContext &m_context;
    ProjectReadResult m_result;
    bool m_old = false;
    bool m_rebase = false;
    char m_bareSeparator = '\\';
    std::vector<std::string> m_cut;  // the keys whose texts were cut
    mutable std::unordered_map<std::string, NumberedKeys> m_numbered;
};

} // namespace

std::vector<std::string> ReadScriptLines(const TCustomIniStore &ini, std::string_view section, std::string_view name)
{
    const std::string prefix(name);
    TStringList held;
    ini.ReadSection(section, held);
    // The count is the file's word; the line keys the section holds bound
    // it: no more lines than up to the last one present.
    const std::string linePrefix = foldedText(prefix + "Line");
    int64_t present = 0;
    for (const std::string &key : held) {
        const std::string folded = foldedText(key);
        if (folded.size() <= linePrefix.size() || folded.size() > linePrefix.size() + 9 ||
            folded.compare(0, linePrefix.size(), linePrefix) != 0)
            continue;
        int64_t index = 0;
        bool digits = true;
        for (size_t i = linePrefix.size(); i < folded.size() && digits; ++i) {
            digits = folded[i] >= '0' && folded[i] <= '9';
            index = index * 10 + (folded[i] - '0');
        }
        if (digits && std::to_string(index) == folded.substr(linePrefix.size()))
            present = std::max(present, index + 1);
    }
    const int64_t count = std::min<int64_t>(ini.ReadInteger(section, prefix + "Count", 0), present);
    std::vector<std::string> lines;
    for (int64_t i = 0; i < count; ++i)
        lines.push_back(ini.ReadString(section, prefix + "Line" + std::to_string(i), ""));
    return lines;
}

ProjectFont ReadFont(const TCustomIniStore &ini, std::string_view section, std::string_view name)
{
    const std::string prefix(name);
    ProjectFont font;
    font.Name = ini.ReadString(section, prefix + "Name", font.Name);
    font.Size = ini.ReadInteger(section, prefix + "Size", font.Size);
    font.Color = ini.ReadInteger(section, prefix + "Color", font.Color);
    font.Style = ini.ReadInteger(section, prefix + "Style", font.Style);
    return font;
}

ProjectReadResult readProjectSections(const TMemIniStore &ini, Project &project, const ProjectReadContext &context)
{
    return Reader(ini, project, context).run();
}

} // namespace wharf
