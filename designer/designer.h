#pragma once
// The dialog designer as a whole: its windows, each created once at start
// and kept for the whole run, with the main window's commands wired to the
// clipboard, the property dialogs, the preferences and the test run.

#include "controlclipboard.h"
#include "ctlproperties.h"
#include "debugresults.h"
#include "dlgprops.h"
#include "drawobject.h"
#include "editclb.h"
#include "mainform.h"
#include "preferences.h"
#include "testrun.h"

namespace wharf {

class TDesigner {
public:
    // programFolder: the folder of "default.ctl", the help files and
    // "setup.bin"; ends with "/", and is only read. settingsFolder: where the
    // settings live (empty for the user's). seams must outlive the object.
    TDesigner(const Seams &seams, QString programFolder, QString settingsFolder = {},
              TSurfaceModel::Clock clock = {}, TTestRun::Runner runner = RunProgram);
    TDesigner(const TDesigner &) = delete;
    TDesigner &operator=(const TDesigner &) = delete;

    // Shows the main window and opens the first of the arguments (those
    // after the program's name), when there is one, as a dialog file.
    void start(const QStringList &arguments);

    Tfrm_DrawObject &drawObject() { return m_drawObject; }
    Tfrm_Main &main() { return m_main; }
    Tfrm_Preferences &preferences() { return m_preferences; }
    Tfrm_CtlProperties &ctlProperties() { return m_ctlProperties; }
    Tfrm_DlgProps &dlgProps() { return m_dlgProps; }
    Tfrm_EditCLB &editCLB() { return m_editCLB; }
    Tfrm_DebugResults &debugResults() { return m_debugResults; }
    TControlClipboard &clipboard() { return m_clipboard; }
    TTestRun &testRun() { return m_testRun; }

private:
    // Created in this order. The prototypes window comes first because the
    // main window renders through it; the main window's creation reads the
    // preferences. The control dialog keeps the item dialog, created after
    // it, for later use.
    Tfrm_DrawObject m_drawObject;
    Tfrm_Main m_main;
    Tfrm_Preferences m_preferences;
    Tfrm_CtlProperties m_ctlProperties;
    Tfrm_DlgProps m_dlgProps;
    Tfrm_EditCLB m_editCLB;
    Tfrm_DebugResults m_debugResults;
    TControlClipboard m_clipboard;
    TTestRun m_testRun;
};

} // namespace wharf
