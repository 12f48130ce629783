#pragma once
// MainNavigation: the navigation bar `OB_Main` down the main window's left
// side in the editor's configuration: ten headers (one per page, header
// index = page index), one open at a time, each with its large buttons
// (twenty in all), built from the page table.
//
// The component set's navigation bar TNavBar is not in this tree yet. Until
// it is, the headers and buttons are drawn by a QToolBox with tool buttons
// in its place; everything the shell needs of the bar goes through this
// class, so TNavBar replaces the stand-in here and nowhere else.

#include <QIcon>
#include <QList>
#include <QWidget>

#include <vector>

class QToolBox;
class QToolButton;

namespace wharf {

class MainNavigation : public QWidget {
    Q_OBJECT
public:
    // images: the toolbar image list, one image per button in page-table
    // order (navButtonImageIndex); missing images leave a button without one.
    explicit MainNavigation(const QList<QIcon> &images, QWidget *parent = nullptr);

    int headerCount() const;
    // The open header, -1 when none.
    int ActiveHeader() const;
    // Opens header index; the change signal reports it when the open
    // header really changes. Out-of-range values do nothing.
    void SetActiveHeader(int index);

    // The header widget of a page (object name "H_General", ...).
    QWidget *header(int page) const;
    // A header's button (object name "OB_AppInfo", ...); null when none.
    QToolButton *button(int page, int index) const;
    int buttonCount(int page) const;

    void setButtonEnabled(int page, int index, bool enabled);
    void setButtonVisible(int page, int index, bool visible);
    bool isButtonVisible(int page, int index) const;

signals:
    // The open header changed from oldIndex to newIndex.
    void change(int oldIndex, int newIndex);
    // A button of header page was clicked: its ButtonIndex within the header.
    void buttonClicked(int page, int index);

private:
    QToolBox *m_bar;
    std::vector<QWidget *> m_headers;
    std::vector<std::vector<QToolButton *>> m_buttons;
    int m_active = -1;
};

} // namespace wharf
