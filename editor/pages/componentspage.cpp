#include "componentspage.h"

#include "pagetable.h"
#include "shellstate.h"

#include <QVBoxLayout>

namespace wharf {

TComponentsPage::TComponentsPage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Components"));
    m_panel = new ComponentsPanel(this, context.controller(), context.seams());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);
    connect(m_panel, &ComponentsPanel::addComponentEnabled, this, [this, pageIndex](bool enabled) {
        this->context().setNavigationButtonVisible(pageIndex, 0, enabled);
    });
    context.setNavigationButtonVisible(pageIndex, 0, false);
}

void TComponentsPage::Scan()
{
    m_panel->Scan(context().environment().programFolder, &context().shell().OwnFileList);
}

void TComponentsPage::navigationButtonClicked(int buttonIndex)
{
    if (buttonIndex == 0)
        m_panel->B_AddCompClick();
}

} // namespace wharf
