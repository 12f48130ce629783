#pragma once
// TDumpForm, the window "File dependencies": lists the modules a file needs
// at run time as a check list (the scanned file first; modules the project
// already holds grey, modules found nowhere marked as not found) and adds
// the checked ones to the selected group, installed into the system folder.
// The program creates one instance at start-up and keeps it.

#include "dependencyhost.h"
#include "modulescanner.h"
#include "seams.h"
#include "settings.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace wharf {

class TDumpForm : public QDialog {
    Q_OBJECT
public:
    // FormCreate: loads the system modules from "sysdlls.dat" in
    // programFolder (a missing file gives an empty list). settings, when
    // given, holds the search path and keeps the author's changes to it;
    // without it the default folders are searched. seams must outlive the
    // form.
    TDumpForm(QWidget *parent, const Seams &seams, const QString &programFolder,
              std::unique_ptr<Settings> settings = nullptr);
    ~TDumpForm() override;

    QLabel *L_Caption;
    QLabel *L_Explanation;
    QListWidget *CLB_Dependencies;
    QPushButton *B_SearchPath;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    static constexpr int kHelpContext = 16;

    // The editor around the window; without one nothing counts as in the
    // project and confirming adds nothing.
    void setHost(DependencyHost *host) { m_host = host; }

    ModuleScanner &scanner() { return m_scanner; }

    // Empties the list (callers do this before a scan or a set of scans).
    void Clear();

    // ReadImports and ListImports on the list: see ModuleScanner.
    bool ReadImports(const std::string &path);

    // Lists path and every module it needs, transitively; checks every line
    // and greys those the file tree already holds (compared without regard
    // to case, relative captions also as made absolute against the
    // project's folder). A relative path is taken against the project's
    // folder.
    void ScanDependencies(const std::string &path);

    // Shows the window modally when some line is a module the project does
    // not hold. Returns the modal result, or QDialog::Rejected when the
    // window was not shown.
    int ShowDependenciesIfNew();

    // Shows the window modally through the seams.
    int ShowModal();

    // Adds every enabled, checked module found, in list order, through the
    // host's AddFileEntry with the destination "{sys}\" + its file name, and
    // closes the window. Does not mark the project modified: the callers do.
    void B_OKClick();

    // Lets the author change the search path; when confirmed, the path is
    // stored and the files scanned since the last Clear are scanned again.
    void B_SearchPathClick();

    // The text a line shows: the module's path, or its name marked as not
    // found.
    static QString lineText(const DependencyLine &line);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showLines();
    void itemChanged(QListWidgetItem *item);
    std::string absolutePath(const std::string &path) const;
    bool inProject(const std::string &path) const;

    const Seams *m_seams;
    std::unique_ptr<Settings> m_settings;
    DependencyHost *m_host = nullptr;
    ModuleScanner m_scanner;
    std::vector<std::string> m_scanned; // the files scanned since Clear
    bool m_showing = false;             // showLines is filling the list
};

} // namespace wharf
