#pragma once
// The open project and its file state: the document, the current project
// file, its folder, the modified mark, and the file commands of the editor
// (save, save as, the question before unsaved changes are dropped). The
// window reaches it through the seams of projectseams.h, so everything here
// runs without a window.

#include "project.h"
#include "projectseams.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace wharf {

// Raised when a project file exists but can't be read, or when the file
// named on the command line does not exist.
class EProjectFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The name a project has before it has a file: saving it asks for a name.
inline constexpr std::string_view kNoProjectFile = "*.wfp";

// True when the file-name part of fileName is "wftemp.tmp" (any case): the
// scratch copy made for a compile or a plug-in, which leaves the project's
// file name, folder, modified mark, title and recent files alone.
bool isScratchCopy(std::string_view fileName);

class ProjectController {
public:
    // programFolder: the folder of the running program (a trailing separator
    // is added when missing); the template "default.wfp" lies there.
    ProjectController(std::string programFolder, ProjectPrompts &prompts, ProgressDisplay &progress,
                      RecentFileList &recentFiles, ProjectStateListener *listener = nullptr);

    Project &document() { return m_project; }
    const Project &document() const { return m_project; }

    // Full path of the current project file; "*.wfp" before the project has
    // one, the template's path after a new project was started.
    const std::string &ProjectFileName() const { return m_projectFileName; }
    // Folder (with trailing separator) of the project file last read or
    // saved; relative sources are relative to it. Empty at start.
    const std::string &ProjectFolder() const { return m_projectFolder; }
    bool ProjectModified() const { return m_modified; }
    // True only while an append reads its file.
    bool AppendMode() const { return m_appendMode; }

    const std::string &programFolder() const { return m_programFolder; }
    // The project template "default.wfp" in the program folder.
    std::string templatePath() const;
    // The folder of the stock wizard pages, "Dialogs" in the program folder.
    std::string stockPagesFolder() const;

    // Whether a compile may take a copy of the project's file as it stands:
    // the project is unmodified and names no stock pages (its file names
    // them by the program folder's "Dialogs" folder, which a compile does not
    // look in). Otherwise the compile's copy is written with SaveProject.
    bool savedFileCompilesAsItStands() const;

    // The main window's caption before any file ("Brindlewharf
    // Professional"), and the title built from it after a read or a save.
    const std::string &baseCaption() const { return m_baseCaption; }
    void setBaseCaption(std::string caption);
    const std::string &title() const { return m_title; }

    // The one routine that sets the modified mark; tells the listener.
    void SetModified(bool value);

    // The progress display of a project read or write (0 to 100; 0 shows
    // "OK").
    void ShowProgress(int percent);
    // A progress callback for a long step: shows each new percentage and
    // then lets the window handle its events.
    std::function<void(int)> progressReporter();

    // Asks "Do you want to save the current file?" when the project is
    // modified. True to go on: at once when unmodified, after No, and after
    // Yes only when the save really happened. A cancelled save dialog or a
    // failed write (whose message is shown) gives false.
    bool QuerySaveChanges();

    // Writes the project to fileName. The template's path or a name whose
    // file part is "*.wfp" asks for a file first. The file keeps the
    // sections the editor does not write, taken from the project's current
    // file (or, when that can't be read, from the chosen file itself), and is
    // replaced in one step. Afterwards, unless fileName is the scratch copy:
    // the project's file, folder and title are the new file's, the file is
    // added to the recent files (unless it is the template) and the
    // modified mark is cleared. Returns false when the author cancelled the
    // file dialog. Throws EFCreateError when the file can't be written; then
    // the old file, the document and the project state stay as they were.
    bool SaveProject(const std::string &fileName);

    // Reads fileName (relative names are taken against the program folder)
    // as the project, or in append mode adds its entries to the open one. The
    // file is read into a fresh document that replaces the open one only
    // when the read succeeded. A missing file reads as empty and is
    // therefore asked about as unrecognised; declining starts a new project
    // from the template. Afterwards the project's file and title are the
    // file's (not in append mode), it is added to the recent files (not the
    // template), and the modified mark is cleared for a file of the current
    // layout whose masks needed no conversion, set otherwise. The scratch
    // copy "wftemp.tmp" changes neither the project's file, folder, title
    // nor the recent files, and shows no busy window. Throws
    // EProjectFileError, naming the reason, when the file exists but can't
    // be read; the open project then stays as it was. A link is followed to
    // the file it names, whose folder the project's relative paths are taken
    // against. Returns true when fileName is now the open project (or was
    // appended), false when it was declined or was a missing template.
    bool LoadProject(const std::string &fileName);

    // File commands. newProject, openProject and openRecentFile ask the save
    // question first and do nothing when it says stop; appendProject asks
    // nothing and marks the project modified after the read.
    void newProject();
    void openProject();
    void openRecentFile(const std::string &fileName);
    void appendProject();
    void save();
    void saveAs();
    // Whether the window may close (the save question).
    bool canClose();

    // Starts a new project from the template without the save question (at
    // start-up). A missing template gives an empty project and one message.
    void startNewProject();

    // Opens the project named on the command line (relative to the current
    // folder; any spelling of the path, a link included). Throws
    // EProjectFileError, without any question, when the file does not exist
    // or is a folder. Returns whether the file was opened (LoadProject).
    bool openCommandLineProject(const std::string &fileName);

private:
    class WorkGuard;

    void setTitleFor(const std::string &fileName);
    void startEmptyProject();

    ProjectPrompts &m_prompts;
    ProgressDisplay &m_progress;
    RecentFileList &m_recentFiles;
    ProjectStateListener *m_listener;

    std::string m_programFolder;
    std::string m_baseCaption = "Brindlewharf Professional";
    std::string m_title;

    Project m_project;
    std::string m_projectFileName{kNoProjectFile};
    std::string m_projectFolder;
    bool m_modified = false;
    bool m_appendMode = false;
};

} // namespace wharf
