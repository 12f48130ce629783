#pragma once
// The project file reader: fills a Project from the sections the writer
// produces, gives every absent key its default, imports files of the 1.0
// layout and converts target-system masks of older builds.

#include "inistore.h"
#include "project.h"
#include "projectseams.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The lines of the counted line list name: count key name + "Count"
// (bounded by the lines the section holds; 0 or less gives no lines), line i
// from key name + "Line" + i (empty when missing).
std::vector<std::string> ReadScriptLines(const TCustomIniStore &ini, std::string_view section, std::string_view name);

// The font stored under name ("MS Sans Serif", 8, 0, 0 for absent keys).
ProjectFont ReadFont(const TCustomIniStore &ini, std::string_view section, std::string_view name);

struct ProjectReadContext {
    std::string fileName;       // the file read, for the messages
    std::string programFolder;  // with trailing separator: "Dialogs", "default.wfl"
    // Add the file's entries to the document instead of replacing it: the
    // general settings, dialog lists and scripts of the document stay.
    bool append = false;
    // Folder the file's relative paths are relative to, and the folder the
    // document's are relative to; when they differ (an appended project from
    // another folder), appended relative paths are rebased.
    std::string fileFolder;
    std::string projectFolder;
    ProjectPrompts *prompts = nullptr;  // the questions and messages of the read
    std::function<void(int)> progress;  // rising percentages; may be empty
};

struct ProjectReadResult {
    // The file was not recognised and the author declined to open it; the
    // document is unchanged.
    bool declined = false;
    std::string EditorVersion;
    std::string SubVersion;
    int32_t BuildNo = 0;
    // The file is of the current layout and nothing was converted: the read
    // leaves the project unmodified.
    bool unchanged = false;
    // Problems found in the file (entries that could not be placed), for one
    // message after the read.
    std::vector<std::string> warnings;
};

// Reads ini into project (emptied first unless context.append). Asks and
// tells through context.prompts: whether to open an unrecognised file, that
// a 1.0 file is imported or an old build's masks need a look, and whether to
// keep 1.0 language files.
ProjectReadResult readProjectSections(const TMemIniStore &ini, Project &project, const ProjectReadContext &context);

} // namespace wharf
