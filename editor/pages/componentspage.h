#pragma once
// TComponentsPage, page 1 of the main window ("Components"): the component
// plug-ins of the program folder's "Components" with the button that lets
// one add itself to the project (the controls and their work are
// ComponentsPanel's, components/componentspanel.h). The navigation button
// "Add/Edit component" is shown exactly while the button is enabled.

#include "componentspanel.h"
#include "editorpage.h"

namespace wharf {

class TComponentsPage : public TEditorPage {
    Q_OBJECT
public:
    TComponentsPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    ComponentsPanel *panel() const { return m_panel; }

    // The scan of start-up (the main window's FormCreate runs it once the
    // own file list exists): lists the plug-ins and appends their paths to
    // the shell's OwnFileList.
    void Scan();

    // Button 0 of the header, "Add/Edit component".
    void navigationButtonClicked(int buttonIndex) override;

protected:
    void loadFromDocument(const Project &) override {}

private:
    ComponentsPanel *m_panel;
};

} // namespace wharf
