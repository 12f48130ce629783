#pragma once
// TNavBar: the navigation bar down the editor's left side. It stacks its
// TNavBarHeader children and keeps at most one of them open
// (ActiveHeader): the collapsed headers above it show their caption bars
// from the top, those below it from the bottom, and the open one fills the
// room between; hidden headers take no room. The bar owns the shared look
// (HeaderSettings, used by all headers and buttons while CommonStyle is on),
// the caption images, the caption height, the hot header (the caption bar
// under the pointer) and paging with Page Up and Page Down, and asks
// OnCanChange before and tells OnChange about every change of the open
// header.
//
// Building one:
//     auto *bar = new TNavBar(window);
//     bar->OnChange = [](TNavBar *, int oldIndex, int newIndex) { ... };
//     TNavBarHeader *general = bar->addHeader("General information", 5);
//     TNavButton *info = general->addButton("Application information", 0);
//     info->OnClick = [](TNavButton *b) { ... b->GetButtonIndex() ... };
//     bar->SetActiveHeader(general);
// A header added to the bar is opened at once (OnCanChange and OnChange
// fire); removing one opens the header with index 0 (none when no header is
// left). While the bar is being destroyed no change is asked or reported,
// and ActiveHeader and HotHeader never point to a header being destroyed.

#include "colors.h"
#include "headersettings.h"
#include "imagelist.h"
#include "navbartypes.h"
#include "taborderlist.h"

#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace wharf {

class TNavBarHeader;

class TNavBar : public QWidget {
    Q_OBJECT
    friend class TNavBarHeader;

public:
    // 185 x 300, lowered outer bevel, border width 1, clBtnFace, caption
    // bars 22 high, ButtonDown and CommonStyle on, settings made from the
    // bar's font, aligned left.
    explicit TNavBar(QWidget *parent = nullptr);
    ~TNavBar() override;

    // Before a change of the open header: set CanChange false to refuse.
    std::function<void(TNavBar *Sender, TNavBarHeader *NewHeader, bool &CanChange)> OnCanChange;
    // A change of the open header, with the old and the new HeaderIndex
    // (-1 for none); fired while ActiveHeader is still the old one.
    std::function<void(TNavBar *Sender, int OldIndex, int NewIndex)> OnChange;

    // Appends a new header with that caption and image to the bar (which
    // owns it); the new header is opened.
    TNavBarHeader *addHeader(const QString &caption, int imageIndex = -1);

    TNavBarHeader *ActiveHeader() const { return m_activeHeader; }
    // Opens header unless it is already open.
    void SetActiveHeader(TNavBarHeader *header);
    // The change itself, also for the open header: asks OnCanChange, fires
    // OnChange, calls Change on every header, then opens header when it is
    // given and visible, else none; the hot header is cleared. A header of
    // another bar is ignored.
    void ChangeActiveHeader(TNavBarHeader *header);
    // The header whose caption bar is under the pointer.
    TNavBarHeader *HotHeader() const { return m_hotHeader; }
    void setHotHeader(TNavBarHeader *header);

    int HeaderCount() const;
    // The (last) header with HeaderIndex i; null for i outside
    // 0 .. HeaderCount() - 1.
    TNavBarHeader *HeaderByIndex(int i) const;
    // The hidden headers with an index below / above i.
    int HiddenBefore(int i) const;
    int HiddenAfter(int i) const;
    // The bounds of header i; empty for i outside 0 .. HeaderCount() - 1.
    QRect HeaderRect(int i) const;
    // Gives every header its HeaderRect.
    void RealignHeaders();
    // The nearest visible header with a lower / higher index; the header
    // itself when there is none (null for null).
    TNavBarHeader *PreviousHeader(TNavBarHeader *header) const;
    TNavBarHeader *NextHeader(TNavBarHeader *header) const;

    // The rectangle inside the border and the rectangle inside the frames
    // and the border ring (where the headers go).
    QRect ClientRect() const;
    QRect InnerRect() const;

    navbar::TAlign Align() const { return m_align; }
    void setAlign(navbar::TAlign value) { m_align = value; }
    // The stored value "AlignInfo": "alNone" ... "alClient"; reading sets
    // Align only for one of the six exact strings.
    QString AlignInfo() const;
    void ReadAlignInfo(const QString &value);

    // Not drawn.
    QString Caption() const { return m_caption; }
    void setCaption(const QString &value) { m_caption = value; }

    navbar::TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(navbar::TBevelCut value);
    navbar::TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(navbar::TBevelCut value);
    // At least 1.
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int value);
    navbar::TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(navbar::TBorderStyle value);
    // At least 0.
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int value);
    // Caption bars show a pressed look while pressed.
    bool ButtonDown() const { return m_buttonDown; }
    void setButtonDown(bool value);
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    // Headers and buttons use the bar's HeaderSettings.
    bool CommonStyle() const { return m_commonStyle; }
    void setCommonStyle(bool value);
    // With bsSingle: a sunken client edge instead of a plain border.
    bool Ctl3D() const { return m_ctl3D; }
    void setCtl3D(bool value);
    // Flat caption bars and scroll buttons.
    bool Flat() const { return m_flat; }
    void setFlat(bool value);
    int HeaderHeight() const { return m_headerHeight; }
    void setHeaderHeight(int value);
    THeaderSettings &HeaderSettings() { return *m_settings; }
    const THeaderSettings &HeaderSettings() const { return *m_settings; }
    // Caption-bar images (not owned; forgotten when destroyed).
    TImageList *Images() const { return m_images; }
    void setImages(TImageList *list);
    QMenu *PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *menu);
    // Kept; the bar itself never takes the focus.
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool value) { m_tabStop = value; }
    // Always "1.43".
    QString Version() const;

protected:
    void childEvent(QChildEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void settingsChanged();
    void imagesChanged();
    void layoutAll();
    void headerAdded(TNavBarHeader *header);
    void headerDestroying(TNavBarHeader *header);
    void headerVisibilityChanged();
    void updateContentsMargins();
    int borderSize() const;

    navbar::TBevelCut m_bevelInner = navbar::bvNone;
    navbar::TBevelCut m_bevelOuter = navbar::bvLowered;
    int m_bevelWidth = 1;
    QPointer<TNavBarHeader> m_activeHeader;
    QPointer<TNavBarHeader> m_hotHeader;
    navbar::TBorderStyle m_borderStyle = navbar::bsNone;
    bool m_commonStyle = true;
    bool m_flat = false;
    QPointer<TImageList> m_images;
    QMetaObject::Connection m_imagesLink;
    bool m_buttonDown = true;
    int m_headerHeight = 22;
    static constexpr int kVersion = 299;
    std::unique_ptr<THeaderSettings> m_settings;
    int m_borderWidth = 1;
    TColor m_color = clBtnFace;
    bool m_ctl3D = true;
    navbar::TAlign m_align = navbar::alLeft;
    QString m_caption = QStringLiteral("NavBar");
    QPointer<QMenu> m_popupMenu;
    bool m_tabStop = true;
    TabOrderList m_tabList;
    // The headers that joined, by identity only (never dereferenced): a
    // child being destroyed can no longer tell what it was.
    QList<const QObject *> m_knownHeaders;
    bool m_destroying = false;
};

} // namespace wharf
