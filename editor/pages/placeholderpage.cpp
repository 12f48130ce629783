#include "placeholderpage.h"

#include "pagetable.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace wharf {
namespace {

QLabel *notAvailableLabel(QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("This page is not available yet."), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TPlaceholderPage::TPlaceholderPage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent)
{
    const PageInfo &info = editorPages().at(static_cast<size_t>(pageIndex));
    setObjectName(QStringLiteral("Page_") + QString::fromLatin1(info.header).mid(2));
    auto *layout = new QVBoxLayout(this);
    if (info.tabControl) {
        m_tabs = new QTabWidget(this);
        m_tabs->setObjectName(QString::fromLatin1(info.tabControl));
        for (const PageTab &tab : info.tabs) {
            auto *sheet = new QWidget(m_tabs);
            sheet->setObjectName(QString::fromLatin1(tab.objectName));
            auto *sheetLayout = new QVBoxLayout(sheet);
            sheetLayout->addWidget(notAvailableLabel(sheet));
            m_tabs->addTab(sheet, QString::fromUtf8(tab.caption));
        }
        layout->addWidget(m_tabs);
    } else {
        layout->addWidget(notAvailableLabel(this));
    }
    setEnabled(false);
}

} // namespace wharf
