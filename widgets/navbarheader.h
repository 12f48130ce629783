#pragma once
// TNavBarHeader: one page of the navigation bar. A caption bar at the top
// (title and optional image from the bar's Images) and below it the button
// area, which holds TNavButton children stacked from the top, filled plainly,
// with a tiled bitmap or with a gradient. Two TScrollButtons appear when the
// buttons do not fit. The header opens itself (through its bar) on a click
// on its caption bar, on Enter, on its accelerator and when a button is
// dragged over it.
//
// Created on a bar (new TNavBarHeader(bar)), it joins the bar's headers last
// and is opened. Buttons are arranged after a resize, a settings change, a
// scroll and whenever a button is added, removed, moved or shown or hidden,
// never while painting.

#include "colors.h"
#include "headersettings.h"
#include "navbartypes.h"
#include "taborderlist.h"

#include <QAbstractButton>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace wharf {

class TNavBar;
class TNavButton;

// The header's arrow buttons (never take the focus, not in the tab order).
class TScrollButton : public QAbstractButton {
    Q_OBJECT
public:
    // asUp with the picture "ARROWUP", 16 x 16, hidden.
    explicit TScrollButton(QWidget *parent = nullptr);

    navbar::TArrowStyle ArrowStyle() const { return m_arrowStyle; }
    // Loads "ARROWUP" or "ARROWDOWN".
    void setArrowStyle(navbar::TArrowStyle value);
    const QImage &Glyph() const { return m_glyph; }

    // Flat: no frame until the pointer is over it.
    bool Flat() const { return m_flat; }
    void setFlat(bool value);

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    navbar::TArrowStyle m_arrowStyle = navbar::asUp;
    QImage m_glyph;
    bool m_flat = false;
    bool m_hover = false;
};

class TNavBarHeader : public QWidget {
    Q_OBJECT
    friend class TNavButton;
    friend class TNavBar;

public:
    // Colour clGray, AutoSort and CommonStyle on, FirstButtonTop 5, tab
    // stop, no image; settings made from the header's font.
    explicit TNavBarHeader(QWidget *parent = nullptr);
    ~TNavBarHeader() override;

    // Events, sender first.
    std::function<void(TNavBarHeader *Sender, bool &CanSort)> OnCanSort;
    std::function<void(TNavBarHeader *Sender)> OnChange;
    std::function<void(TNavBarHeader *Sender, bool &ScrollUpNeed, bool &ScrollDownNeed, bool &Automatic)>
        OnCheckScroll;
    std::function<void(TNavBarHeader *Sender)> OnScroll;
    std::function<void(TNavBarHeader *Sender)> OnSort;
    std::function<void(TNavBarHeader *Sender)> OnShow;
    std::function<void(TNavBarHeader *Sender)> OnHide;
    std::function<void(TNavBarHeader *Sender)> OnClick;
    std::function<void(TNavBarHeader *Sender)> OnDblClick;

    // Appends a new button with that caption and image to this header;
    // the header owns it.
    TNavButton *addButton(const QString &caption, int imageIndex = -1);

    bool AutoSort() const { return m_autoSort; }
    void setAutoSort(bool value);
    // Tiled over the button area (plain back style) when at least 1 x 1.
    const QImage &Bitmap() const { return m_bitmap; }
    void setBitmap(const QImage &bitmap);
    navbar::TBitmapCopy BitmapCopy() const { return m_bitmapCopy; }
    void setBitmapCopy(navbar::TBitmapCopy value);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    // Buttons take this header's button font (unless the bar's common
    // style applies).
    bool CommonStyle() const { return m_commonStyle; }
    void setCommonStyle(bool value);
    int FirstButtonTop() const { return m_firstButtonTop; }
    void setFirstButtonTop(int value);
    TGradient &Gradient() { return *m_gradient; }
    const TGradient &Gradient() const { return *m_gradient; }
    // This header's own look, used when the bar's CommonStyle is off.
    THeaderSettings &HeaderSettings() { return *m_settings; }
    const THeaderSettings &HeaderSettings() const { return *m_settings; }
    // The look in effect: the bar's settings under its common style, else
    // the own.
    const THeaderSettings &EffectiveSettings() const;
    // Position among the bar's windowed children (tab order); -1 without
    // a bar. Setting it moves the header (out of range: last).
    int HeaderIndex() const { return GetHeaderIndex(); }
    int16_t GetHeaderIndex() const;
    void setHeaderIndex(int value);
    int ImageIndex() const { return m_imageIndex; }
    void setImageIndex(int value);
    QMenu *PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *menu);
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool value);

    TNavBar *OwnerBar() const;
    // The bar's HeaderHeight, 22 without a bar.
    int CaptionHeight() const;
    int ButtonCount() const;
    // The button whose ButtonIndex is i, counted as the header's children
    // come (a windowed child that is no button shifts i by one); null for
    // i outside 0 .. ButtonCount() - 1 or when none matches.
    TNavButton *ButtonByIndex(int i) const;
    // With AutoSort: OnSort, then the buttons are stacked (needs a bar);
    // then the scroll buttons are placed and shown as needed.
    void ArrangeButtons();
    // The change handler of the settings, gradient and bitmap (sender null
    // for the bitmap) and of the scroll buttons (sender the button: scroll
    // by one and arrange).
    void SettingsChanged(const QObject *Sender);
    // Fires OnChange; the bar calls it on every header when the open
    // header changes.
    virtual void Change();
    bool ScrollUpNeeded() const;
    bool ScrollDownNeeded() const;
    // The index of the first button placed (0 .. ButtonCount() - 1).
    int FirstVisibleButton() const { return m_firstVisibleButton; }
    TScrollButton *ScrollUpButton() const { return m_scrollUp; }
    TScrollButton *ScrollDownButton() const { return m_scrollDown; }

    // The caption bar and the button area in the header's coordinates.
    QRect CaptionRect() const;
    QRect ButtonArea() const;

    // A button dragged over the header: with a bar, opens the header and
    // moves the button into it; true when accepted.
    bool DragOver(QObject *source);

    bool CanFocus() const;
    bool OverCaption() const { return m_overCaption; }
    bool CaptionPressed() const { return m_captionPressed; }

protected:
    bool event(QEvent *event) override;
    void childEvent(QChildEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;

private:
    void sortButtons();
    void placeScrollButtons();
    void applySettings(const THeaderSettings &settings);
    void repaintWithButtons();
    void syncFocusPolicy();
    void updateMnemonic();
    void updateContentsMargins();
    void paintButtonArea(QPainter &painter, const QRect &area);
    void paintHeader(QPainter &painter);
    // Paints the header's own look under area (header coordinates) with
    // area's top-left corner at the painter's origin; used by transparent
    // buttons.
    void paintUnder(QPainter &painter, const QRect &area);
    void tileBitmap(QPainter &painter, const QRect &area);
    // Called by a button whose index, visibility or transparency changed.
    void buttonLayoutChanged();
    // A complete button joined the header.
    void buttonAdded(TNavButton *button);
    // Sizes the auto-sized buttons for the current width and arranges.
    void relayout();
    bool isHot() const;
    void openThis();

    bool m_commonStyle = true;
    QImage m_bitmap;
    int m_imageIndex = -1;
    navbar::TBitmapCopy m_bitmapCopy = navbar::bcSrcCopy;
    bool m_overCaption = false;
    bool m_captionPressed = false;
    std::unique_ptr<TGradient> m_gradient;
    std::unique_ptr<THeaderSettings> m_settings;
    int m_firstVisibleButton = 0;
    bool m_autoSort = true;
    TScrollButton *m_scrollUp = nullptr;
    TScrollButton *m_scrollDown = nullptr;
    int m_firstButtonTop = 5;
    QString m_caption;
    TColor m_color = clGray;
    bool m_tabStop = true;
    QPointer<QMenu> m_popupMenu;
    int m_mnemonicId = 0;
    TabOrderList m_tabList;
    bool m_destroying = false;
};

} // namespace wharf
