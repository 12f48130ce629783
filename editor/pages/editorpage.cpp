#include "editorpage.h"

#include "projectcontroller.h"

#include <QTabWidget>

namespace wharf {

TEditorPage::TEditorPage(PageContext &context, int pageIndex, QWidget *parent)
    : QWidget(parent), m_context(context), m_pageIndex(pageIndex)
{
}

void TEditorPage::load()
{
    struct LoadScope {
        int &depth;
        explicit LoadScope(int &d) : depth(d) { ++depth; }
        ~LoadScope() { --depth; }
    } scope(m_loading);
    loadFromDocument(m_context.controller().document());
}

void TEditorPage::navigationButtonClicked(int buttonIndex)
{
    if (QTabWidget *tabs = tabControl(); tabs && buttonIndex >= 0 && buttonIndex < tabs->count())
        tabs->setCurrentIndex(buttonIndex);
}

void TEditorPage::tabChanged(int) {}

Project &TEditorPage::document() { return m_context.controller().document(); }

void TEditorPage::markModified()
{
    if (!isLoading())
        m_context.controller().SetModified(true);
}

} // namespace wharf
