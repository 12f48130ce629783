#pragma once
// The editor as the tests start it: a scratch program folder holding the
// project template, settings in a scratch folder, fake seams, and the
// windows of the creation list. The batch compile's termination and its
// printed lines are recorded instead of ending the test.

#include "editorenvironment.h"
#include "editorwindows.h"
#include "fakeseams.h"
#include "files.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace wharf::testing {

// The folder of this source tree's editor data files ("default.wfp", ...).
QString editorDataFolder();

class EditorFixture {
public:
    EditorFixture();
    ~EditorFixture();

    // Creates the windows with these command-line arguments (the
    // environment can be changed before).
    void start(const QStringList &arguments = {});

    // Writes a project file of the current layout into the scratch folder
    // and returns its path. extra is added to [General].
    std::string writeProject(const std::string &name, const std::string &appName = "Sample");

    // What the compiles left in environment.runtimeFolder: nothing, when
    // each run took its private folder away.
    std::vector<std::string> runtimeLeftovers() const;

    ScratchFolder scratch;
    std::string programFolder; // with trailing "/"
    FakeSeams fake;
    EditorEnvironment environment;
    EditorWindows windows;
    std::vector<int> terminations;
    struct Printed {
        QString line;
        bool error;
    };
    std::vector<Printed> printed;
};

} // namespace wharf::testing
