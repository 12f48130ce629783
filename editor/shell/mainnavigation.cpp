#include "mainnavigation.h"

#include "colors.h"
#include "imagelist.h"
#include "navbar.h"
#include "navbarheader.h"
#include "navbutton.h"
#include "pagetable.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QVBoxLayout>

#include <algorithm>

namespace wharf {
namespace {

constexpr int kBarWidth = 185;
constexpr int kButtonWidth = 108;
constexpr int kButtonHeight = 60;
constexpr int kButtonImageSize = 32;
constexpr int kCaptionImageSize = 16;
// Room kept free on each side of a button's caption.
constexpr int kCaptionMargin = 3;
// The caption image of header page is picture kFirstCaptionImage + page of
// the bar's list; the pictures before it are not used by the editor.
constexpr int kFirstCaptionImage = 5;

// The font the editor keeps for the bar's captions and buttons:
// "MS Sans Serif", height -11.
QFont storedBarFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

QImage iconImage(const QIcon &icon, int size)
{
    QImage image = icon.pixmap(QSize(kButtonImageSize, kButtonImageSize)).toImage();
    if (image.size() != QSize(size, size))
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

int widestCaption(const QFont &font, const QStringList &captions)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString &caption : captions)
        widest = std::max(widest, metrics.horizontalAdvance(caption));
    return widest;
}

} // namespace

QFont fittedButtonFont(const QFont &font, const QStringList &captions, int width)
{
    if (widestCaption(font, captions) <= width)
        return font;
    // A narrower face reads better than a smaller one, so the pixel size
    // only goes down when no stretch down to three quarters is enough
    // (or the face cannot be stretched at all).
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    QFont narrowed = font;
    for (int size = pixels; size >= 6; --size) {
        narrowed.setPixelSize(size);
        for (int stretch = 100; stretch >= 75; stretch -= 5) {
            narrowed.setStretch(stretch);
            if (widestCaption(narrowed, captions) <= width)
                return narrowed;
        }
    }
    return narrowed;
}

MainNavigation::MainNavigation(const QList<QIcon> &images, QWidget *parent) : QWidget(parent)
{
    setFixedWidth(kBarWidth);
    const auto &pages = editorPages();

    m_buttonImages = new TImageList(kButtonImageSize, kButtonImageSize, this);
    for (const QIcon &image : images)
        m_buttonImages->Add(iconImage(image, kButtonImageSize));
    // The caption bars show the picture of their page's first button, small.
    m_captionImages = new TImageList(kCaptionImageSize, kCaptionImageSize, this);
    QImage blank(kCaptionImageSize, kCaptionImageSize, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    for (int i = 0; i < kFirstCaptionImage; ++i)
        m_captionImages->Add(blank);
    for (int page = 0; page < kPageCount; ++page) {
        const int image = navButtonImageIndex(page, 0);
        m_captionImages->Add(image < images.size() ? iconImage(images.at(image), kCaptionImageSize) : blank);
    }

    m_bar = new TNavBar(this);
    m_bar->setObjectName(QStringLiteral("OB_Main"));
    m_bar->setBevelOuter(navbar::bvLowered);
    m_bar->setBorderWidth(1);
    m_bar->setButtonDown(true);
    m_bar->setColor(clBtnFace);
    m_bar->setCommonStyle(true);
    m_bar->setHeaderHeight(25);
    m_bar->setTabStop(true);
    m_bar->ReadAlignInfo(QStringLiteral("alLeft"));

    QStringList captions;
    for (const PageInfo &info : pages)
        for (const NavButtonInfo &nav : info.buttons)
            captions << QString::fromUtf8(nav.caption);
    const navbar::ColoredFont font{storedBarFont(), clWindowText};
    THeaderSettings &settings = m_bar->HeaderSettings();
    settings.setHeaderFont(font);
    settings.setHighlightFont(font);
    // The stored face is drawn with a wider substitute here; buttons draw
    // their caption on one line and clip it, so the display font is
    // narrowed until the longest caption fits.
    settings.setButtonFont(
        {fittedButtonFont(font.font, captions, kButtonWidth - 2 * kCaptionMargin), font.color});
    settings.setHeaderColor(clBtnFace);
    settings.setKeySupport(false);
    settings.setLargeWidth(60);
    settings.setLargeHeight(60);
    settings.setSmallHeight(20);
    m_bar->setImages(m_captionImages);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar);

    for (int page = 0; page < kPageCount; ++page) {
        const PageInfo &info = pages[static_cast<size_t>(page)];
        TNavBarHeader *header = m_bar->addHeader(QString::fromUtf8(info.headerCaption), kFirstCaptionImage + page);
        header->setObjectName(QString::fromLatin1(info.header));
        header->setColor(clGray);
        header->setFirstButtonTop(5);
        std::vector<TNavButton *> buttons;
        for (int b = 0; b < static_cast<int>(info.buttons.size()); ++b) {
            const NavButtonInfo &nav = info.buttons[static_cast<size_t>(b)];
            auto *button = new TNavButton(header);
            button->setObjectName(QString::fromLatin1(nav.objectName));
            button->setAutoSize(false);
            button->resize(kButtonWidth, kButtonHeight);
            button->setCaption(QString::fromUtf8(nav.caption));
            button->setLargeImages(m_buttonImages);
            button->setImageIndex(navButtonImageIndex(page, b));
            button->OnClick = [this, page, b](TNavButton *) { emit buttonClicked(page, b); };
            buttons.push_back(button);
        }
        m_headers.push_back(header);
        m_buttons.push_back(std::move(buttons));
    }
    m_bar->SetActiveHeader(m_headers.front());
    m_bar->OnChange = [this](TNavBar *, int oldIndex, int newIndex) { emit change(oldIndex, newIndex); };
}

int MainNavigation::headerCount() const { return static_cast<int>(m_headers.size()); }

int MainNavigation::ActiveHeader() const
{
    const auto found = std::find(m_headers.begin(), m_headers.end(), m_bar->ActiveHeader());
    return found == m_headers.end() ? -1 : static_cast<int>(found - m_headers.begin());
}

void MainNavigation::SetActiveHeader(int index)
{
    if (index < 0 || index >= headerCount())
        return;
    m_bar->SetActiveHeader(m_headers[static_cast<size_t>(index)]);
}

TNavBarHeader *MainNavigation::header(int page) const
{
    return page >= 0 && page < headerCount() ? m_headers[static_cast<size_t>(page)] : nullptr;
}

TNavButton *MainNavigation::button(int page, int index) const
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

void MainNavigation::setButtonVisible(int page, int index, bool visible)
{
    if (TNavButton *b = button(page, index))
        b->setVisible(visible);
}

bool MainNavigation::isButtonVisible(int page, int index) const
{
    const TNavButton *b = button(page, index);
    return b && !b->isHidden();
}

} // namespace wharf
