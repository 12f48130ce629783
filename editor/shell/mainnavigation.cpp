#include "mainnavigation.h"

#include "pagetable.h"

#include <cstdlib>

#include <QFontMetrics>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr int kBarWidth = 185;
constexpr int kButtonWidth = 108;
constexpr int kButtonHeight = 60;

// A caption too wide for the button goes on two lines, broken at the blank
// nearest its middle.
QString wrappedCaption(const QString &caption, const QFontMetrics &metrics)
{
    if (metrics.horizontalAdvance(caption) <= kButtonWidth - 8)
        return caption;
    qsizetype best = -1;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption.at(i) == u' ' && (best < 0 || std::abs(i - caption.size() / 2) < std::abs(best - caption.size() / 2)))
            best = i;
    if (best < 0)
        return caption;
    return caption.left(best) + u'\n' + caption.mid(best + 1);
}

} // namespace

MainNavigation::MainNavigation(const QList<QIcon> &images, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OB_Main"));
    setFixedWidth(kBarWidth);
    m_bar = new QToolBox(this);
    m_bar->setFrameShape(QFrame::Panel);
    m_bar->setFrameShadow(QFrame::Sunken);
    m_bar->setLineWidth(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar);

    const auto &pages = editorPages();
    for (int page = 0; page < kPageCount; ++page) {
        const PageInfo &info = pages[static_cast<size_t>(page)];
        auto *header = new QWidget(m_bar);
        header->setObjectName(QString::fromLatin1(info.header));
        auto *column = new QVBoxLayout(header);
        column->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        std::vector<QToolButton *> buttons;
        for (int b = 0; b < static_cast<int>(info.buttons.size()); ++b) {
            const NavButtonInfo &nav = info.buttons[static_cast<size_t>(b)];
            auto *button = new QToolButton(header);
            button->setObjectName(QString::fromLatin1(nav.objectName));
            button->setText(wrappedCaption(QString::fromUtf8(nav.caption), button->fontMetrics()));
            button->setToolTip(QString::fromUtf8(nav.caption));
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setAutoRaise(true);
            button->setFixedSize(kButtonWidth, kButtonHeight);
            button->setIconSize(QSize(32, 32));
            const int image = navButtonImageIndex(page, b);
            if (image < images.size())
                button->setIcon(images.at(image));
            connect(button, &QToolButton::clicked, this, [this, page, b] { emit buttonClicked(page, b); });
            column->addWidget(button);
            buttons.push_back(button);
        }
        m_bar->addItem(header, QString::fromUtf8(info.headerCaption));
        m_headers.push_back(header);
        m_buttons.push_back(std::move(buttons));
    }
    m_active = m_bar->currentIndex();
    connect(m_bar, &QToolBox::currentChanged, this, [this](int index) {
        const int old = m_active;
        m_active = index;
        if (old != index)
            emit change(old, index);
    });
}

int MainNavigation::headerCount() const { return static_cast<int>(m_headers.size()); }

int MainNavigation::ActiveHeader() const { return m_active; }

void MainNavigation::SetActiveHeader(int index)
{
    if (index < 0 || index >= headerCount())
        return;
    m_bar->setCurrentIndex(index);
}

QWidget *MainNavigation::header(int page) const
{
    return page >= 0 && page < headerCount() ? m_headers[static_cast<size_t>(page)] : nullptr;
}

QToolButton *MainNavigation::button(int page, int index) const
{
    if (page < 0 || page >= headerCount())
        return nullptr;
    const auto &buttons = m_buttons[static_cast<size_t>(page)];
    return index >= 0 && index < static_cast<int>(buttons.size()) ? buttons[static_cast<size_t>(index)] : nullptr;
}

int MainNavigation::buttonCount(int page) const
{
    return page >= 0 && page < headerCount() ? static_cast<int>(m_buttons[static_cast<size_t>(page)].size()) : 0;
}

void MainNavigation::setButtonEnabled(int page, int index, bool enabled)
{
    if (QToolButton *b = button(page, index))
        b->setEnabled(enabled);
}

void MainNavigation::setButtonVisible(int page, int index, bool visible)
{
    if (QToolButton *b = button(page, index))
        b->setVisible(visible);
}

bool MainNavigation::isButtonVisible(int page, int index) const
{
    const QToolButton *b = button(page, index);
    return b && !b->isHidden();
}

} // namespace wharf
