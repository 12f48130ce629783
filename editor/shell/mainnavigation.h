#pragma once
// MainNavigation: the navigation bar `OB_Main` down the main window's left
// side in the editor's configuration: a TNavBar 185 wide with a lowered
// bevel, ten headers (one per page, header index = page index), one open at
// a time, each with its large buttons of 108 x 60 (twenty in all), built
// from the page table. The shell reaches the bar through this class, by page
// and button index.

#include <QFont>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <vector>

namespace wharf {

class TImageList;
class TNavBar;
class TNavBarHeader;
class TNavButton;

class MainNavigation : public QWidget {
    Q_OBJECT
public:
    // images: the toolbar image list, one 32 x 32 image per button in
    // page-table order (navButtonImageIndex); missing images leave a button
    // without one. The caption bars show them small.
    explicit MainNavigation(const QList<QIcon> &images, QWidget *parent = nullptr);

    // The bar itself (object name "OB_Main").
    TNavBar *bar() const { return m_bar; }

    int headerCount() const;
    // The open header, -1 when none.
    int ActiveHeader() const;
    // Opens header index; the change signal reports it when the open
    // header really changes. Out-of-range values do nothing.
    void SetActiveHeader(int index);

    // The header of a page (object name "H_General", ...); null when none.
    TNavBarHeader *header(int page) const;
    // A header's button (object name "OB_AppInfo", ...); null when none.
    TNavButton *button(int page, int index) const;
    int buttonCount(int page) const;

    void setButtonVisible(int page, int index, bool visible);
    bool isButtonVisible(int page, int index) const;

signals:
    // The open header changed from oldIndex to newIndex.
    void change(int oldIndex, int newIndex);
    // A button of header page was clicked: its ButtonIndex within the header.
    void buttonClicked(int page, int index);

private:
    TNavBar *m_bar;
    TImageList *m_captionImages;
    TImageList *m_buttonImages;
    std::vector<TNavBarHeader *> m_headers;
    std::vector<std::vector<TNavButton *>> m_buttons;
};

// The buttons' caption font: font itself when every caption fits on one
// line within width pixels, else the font narrowed (a smaller horizontal
// stretch, or where stretching does not narrow the face, a smaller pixel
// size) until they do. Only the display changes; the stored font stays.
QFont fittedButtonFont(const QFont &font, const QStringList &captions, int width);

} // namespace wharf
