#include "navbardemo.h"

#include "imagelist.h"
#include "navbar.h"
#include "navbarheader.h"
#include "navbutton.h"

#include <QHBoxLayout>
#include <QPainter>

namespace wharf::testing {
namespace {

// A picture of the given size: a coloured disc or square with a dark rim.
QImage picture(int size, int seed)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = QColor::fromHsv((seed * 47) % 360, 170, 230);
    painter.setPen(QPen(fill.darker(220), size / 16 + 1));
    painter.setBrush(fill);
    const QRectF box(size * 0.1, size * 0.1, size * 0.8, size * 0.8);
    if (seed % 2)
        painter.drawEllipse(box);
    else
        painter.drawRoundedRect(box, size * 0.15, size * 0.15);
    return image;
}

struct HeaderPlan {
    const char *name;
    const char *caption;
    std::vector<const char *> buttons;
};

const std::array<HeaderPlan, 10> kHeaders = {{
    {"H_General", "General information", {"Application information", "Layout", "Languages"}},
    {"H_Components", "Components", {"Add/Edit component"}},
    {"H_Dialogs", "Dialogs/Scripting", {"Dialogs", "Scripting"}},
    {"H_Files", "Files/Installation types", {"Files/Groups", "Installation types", "Additional files"}},
    {"H_Icons", "Icons", {"Add icon"}},
    {"H_Registry", "Registry entries", {"Add Registry key", "Add Registry value", "Import Registry file"}},
    {"H_Ini", "INI entries", {"Add INI entry"}},
    {"H_Uninstall", "Uninstaller/Autorun", {"Uninstaller", "Autorun"}},
    {"H_Extensions", "Extensions", {"Executable extensions", "DLL Extensions"}},
    {"H_Compile", "Compile", {"Compile now", "Execute setup"}},
}};

} // namespace

QFont editorBarFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

EditorNavBar::EditorNavBar(QWidget *parent)
{
    toolbarImages = new TImageList(16, 16, parent);
    for (int i = 0; i < 15; ++i)
        toolbarImages->Add(picture(16, i));
    listIcons = new TImageList(32, 32, parent);
    for (int i = 0; i < 20; ++i)
        listIcons->Add(picture(32, i + 3));

    bar = new TNavBar(parent);
    bar->setObjectName(QStringLiteral("OB_Main"));
    bar->resize(185, bar->height());
    bar->setBevelOuter(navbar::bvLowered);
    bar->setBorderWidth(1);
    bar->setButtonDown(true);
    bar->setColor(clBtnFace);
    bar->setCommonStyle(true);
    bar->setHeaderHeight(25);
    THeaderSettings &settings = bar->HeaderSettings();
    const navbar::ColoredFont font{editorBarFont(), clWindowText};
    settings.setHeaderFont(font);
    settings.setHighlightFont(font);
    settings.setButtonFont(font);
    settings.setHeaderColor(clBtnFace);
    settings.setKeySupport(false);
    settings.setLargeWidth(60);
    settings.setLargeHeight(60);
    settings.setSmallHeight(20);
    bar->setImages(toolbarImages);
    bar->ReadAlignInfo(QStringLiteral("alLeft"));

    int image = 0;
    for (size_t i = 0; i < kHeaders.size(); ++i) {
        TNavBarHeader *header = bar->addHeader(QString::fromLatin1(kHeaders[i].caption), static_cast<int>(i) + 5);
        header->setObjectName(QString::fromLatin1(kHeaders[i].name));
        header->setColor(clGray);
        header->setFirstButtonTop(5);
        headers[i] = header;
        for (const char *caption : kHeaders[i].buttons) {
            auto *button = new TNavButton(header);
            button->setAutoSize(false);
            button->resize(108, 60);
            button->setCaption(QString::fromLatin1(caption));
            button->setLargeImages(listIcons);
            button->setImageIndex(image++);
            buttons.push_back(button);
        }
    }
    bar->SetActiveHeader(headers[0]);
}

NavBarDemoWindow::NavBarDemoWindow() : navBar(this), page(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Navigation bar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    navBar.bar->setFixedWidth(185);
    layout->addWidget(navBar.bar);
    layout->addWidget(page, 1);
    page->setAlignment(Qt::AlignCenter);
    page->setText(QStringLiteral("Page 0"));
    navBar.bar->OnChange = [this](TNavBar *, int, int newIndex) {
        if (newIndex >= 0 && newIndex <= 9)
            page->setText(QStringLiteral("Page %1").arg(newIndex));
    };
    resize(520, 560);
}

} // namespace wharf::testing
