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

// The folder of the program folder that holds the stock wizard pages. A
// project file whose SubVersion is not "Professional" names its pages by
// their file names in it ("Dialogs\welcome.ddf"), and a read takes them from
// the program folder it runs from: a project whose pages are all stock pages
// is saved so, and stays portable between program folders.
inline constexpr std::string_view kStockPages = "Dialogs";

// True when path names a file right in the folder stockPagesFolder.
bool isStockPage(std::string_view path, std::string_view stockPagesFolder);

// The 64 sections every save rewrites, in the order a save writes them.
const std::vector<std::string_view> &projectSectionNames();

// Writes lines as the counted line list name: key name + "Count" and one key
// name + "Line" + i per line.
void WriteScriptLines(TCustomIniStore &ini, std::string_view section, const std::vector<std::string> &lines,
                      std::string_view name);

// Writes font as the four keys name + "Name", "Size", "Color", "Style".
void WriteFont(TCustomIniStore &ini, std::string_view section, const ProjectFont &font, std::string_view name);

// The separator the project's relative paths are written with, which a
// bare name moved to another folder takes: "/" when more of them are written
// with "/" than with "\\", else "\\" (also when none has one). Reads project
// only.
char relativePathSeparator(Project &project);

struct ProjectWriteContext {
    // Folder of the file being written, with its trailing separator; written
    // as WorkDir and the base relative sources are rewritten against.
    std::string workDir;
    // Folder the document's relative sources are relative to now.
    std::string projectFolder;
    // The program's folder of stock wizard pages ("Dialogs" in the program
    // folder). When every wizard page of the project lies there, the file
    // names them as stock pages (see kStockPages). Empty for a copy whose
    // paths the compiler takes as they stand.
    std::string stockPagesFolder;
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
