#pragma once
// The project file writer: the sections a project file holds, in the order
// and with the encodings the compiler and the reader expect.
//
// List and entry texts are written in double quotes; general settings,
// script lines, font keys and a few plain sections are written as they are,
// except that a value which itself begins and ends with a double quote gets
// one more pair (the store's reader removes one). Line breaks never reach a
// line of the file: a script line holding them is written as several lines,
// and in any other value each line break becomes one blank. Per-entry flags
// and masks are written only where they differ from the reader's defaults.

#include "inistore.h"
#include "project.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The 64 sections every save rewrites, in the order a save writes them.
const std::vector<std::string_view> &projectSectionNames();

// Writes lines as the counted line list name: key name + "Count" and one key
// name + "Line" + i per line.
void WriteScriptLines(TCustomIniStore &ini, std::string_view section, const std::vector<std::string> &lines,
                      std::string_view name);

// Writes font as the four keys name + "Name", "Size", "Color", "Style".
void WriteFont(TCustomIniStore &ini, std::string_view section, const ProjectFont &font, std::string_view name);

struct ProjectWriteContext {
    // Folder of the file being written, with its trailing separator; written
    // as WorkDir and the base relative sources are rewritten against.
    std::string workDir;
    // Folder the document's relative sources are relative to now.
    std::string projectFolder;
    // Receives the rising percentages of the write; may be empty.
    std::function<void(int)> progress;
};

// Erases the 64 project sections of ini and writes them again from project;
// every other section of ini stays as it is, before the rewritten ones.
// Changes project as a save does: sources with Relative set become relative
// to context.workDir, every file's GroupIndex is refreshed, and one trailing
// separator is removed from General.OutputDir.
void writeProjectSections(TMemIniStore &ini, Project &project, const ProjectWriteContext &context);

} // namespace wharf
