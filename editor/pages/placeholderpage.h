#pragma once
// TPlaceholderPage holds the place of a page that is not built yet: it has
// the page's tab control with its named tabs, so navigation and help
// contexts work, but the whole page is disabled and holds no controls.

#include "editorpage.h"

namespace wharf {

class TPlaceholderPage : public TEditorPage {
    Q_OBJECT
public:
    TPlaceholderPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    bool isBuilt() const override { return false; }
    QTabWidget *tabControl() const override { return m_tabs; }

protected:
    void loadFromDocument(const Project &) override {}

private:
    QTabWidget *m_tabs = nullptr;
};

} // namespace wharf
