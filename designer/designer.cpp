#include "designer.h"

namespace wharf {

TDesigner::TDesigner(const Seams &seams, QString programFolder, QString settingsFolder, TSurfaceModel::Clock clock,
                     TTestRun::Runner runner)
    : m_main(m_drawObject, seams, programFolder, std::move(clock)),
      m_preferences(m_main, seams, std::move(settingsFolder)),
      m_ctlProperties(m_main, m_editCLB, seams),
      m_dlgProps(m_main, seams),
      m_editCLB(seams),
      m_debugResults(seams),
      m_clipboard(m_main, seams),
      m_testRun(m_main, m_debugResults, seams, std::move(runner))
{
    TDesignerCommands commands;
    commands.copy = [this] { m_clipboard.MI_CopyClick(); };
    commands.cut = [this] { m_clipboard.MI_CutClick(); };
    commands.paste = [this] { m_clipboard.MI_PasteClick(); };
    commands.canPaste = [this] { return m_clipboard.canPaste(); };
    commands.controlProperties = [this] { m_ctlProperties.Execute(); };
    commands.dialogProperties = [this] { m_dlgProps.ShowModal(); };
    commands.preferences = [this] { m_preferences.ShowModal(); };
    commands.testRun = [this] { m_testRun.MI_DebugClick(); };
    m_main.setCommands(std::move(commands));
}

void TDesigner::start(const QStringList &arguments)
{
    m_main.show();
    if (!arguments.isEmpty())
        m_main.LoadDialogFile(arguments.front());
}

} // namespace wharf
