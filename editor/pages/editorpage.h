#pragma once
// TEditorPage: the base of every page in the main window's page book. A
// page is a view of the project document: loadFromDocument fills its
// controls whenever the document was replaced (a read, a new project, a
// save), and its change handlers write the new value into the document and
// call markModified(). While a load runs, markModified() does nothing, so
// filling the controls never marks the project changed.
//
// A page with tabs returns its tab control from tabControl(); the main
// window then follows the tabs' help contexts, and the header buttons of
// the navigation bar select the tabs (navigationButtonClicked).

#include "pagecontext.h"
#include "project.h"

#include <QWidget>

class QTabWidget;

namespace wharf {

class TEditorPage : public QWidget {
    Q_OBJECT
public:
    TEditorPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    int pageIndex() const { return m_pageIndex; }

    // The page's tab control; null for a page without tabs.
    virtual QTabWidget *tabControl() const { return nullptr; }

    // Fills the controls from the document without marking it modified.
    void load();

    // A button of the page's navigation header was clicked. The default
    // selects the tab of that index, when the page has tabs.
    virtual void navigationButtonClicked(int buttonIndex);

    // The active tab changed to index (by the author, a header button or
    // the code); runs after the main window updated the help context.
    virtual void tabChanged(int index);

    bool isLoading() const { return m_loading > 0; }

protected:
    virtual void loadFromDocument(const Project &project) = 0;

    PageContext &context() { return m_context; }
    Project &document();
    // Marks the project modified, unless a load is running.
    void markModified();

private:
    PageContext &m_context;
    int m_pageIndex;
    int m_loading = 0;
};

} // namespace wharf
