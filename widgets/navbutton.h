#pragma once
// TNavButton: the image-and-caption button of the navigation bar's
// headers. Large (image above, caption below) or small (image left,
// caption right); a raised edge while the pointer is over it, a sunken one
// while the left button is held. On a header it takes its caption font, its
// focusability and (with AutoSize) its size and style from the shared
// settings of the header or the bar. It can be driven by a QAction.
//
// Created on a header (new TNavButton(header)), it joins the header's
// buttons last; ButtonIndex moves it. Buttons with AutoSize off keep the
// size they are given.

#include "colors.h"
#include "imagelist.h"
#include "navbartypes.h"

#include <QAction>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

namespace wharf {

class TNavBarHeader;
class TNavBar;

class TNavButton : public QWidget {
    Q_OBJECT
    friend class TNavBarHeader;

public:
    // 60 x 60, large style, no image, transparent, auto-sized, tab stop.
    explicit TNavButton(QWidget *parent = nullptr);
    ~TNavButton() override;

    // Click and double-click, sender first.
    std::function<void(TNavButton *Sender)> OnClick;
    std::function<void(TNavButton *Sender)> OnDblClick;

    // The linked action (not owned; forgotten when it is destroyed).
    QAction *Action() const { return m_action; }
    void setAction(QAction *action);

    // With AutoSize the header's settings give size and style, and any
    // other resize is refused.
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);

    navbar::TButtonStyle ButtonStyle() const { return m_style; }
    void setButtonStyle(navbar::TButtonStyle value);

    // The position among the header's windowed children (the tab order);
    // -1 when the parent is not a header. Setting it moves the button
    // there (out of range: last) and the header arranges its buttons.
    int ButtonIndex() const { return GetButtonIndex(); }
    int16_t GetButtonIndex() const;
    void setButtonIndex(int value);

    // Drawn with its "&" accelerator; Alt+key (or the key while focused)
    // clicks a focusable button.
    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);

    // Background when not transparent. With ParentColor the header's
    // Color is used; setting Color turns ParentColor off.
    TColor Color() const;
    void setColor(TColor value);
    bool ParentColor() const { return m_parentColor; }
    void setParentColor(bool value);

    // The own font with its colour, used when no shared button font
    // applies. QWidget::setFont sets the face alone.
    navbar::ColoredFont Font() const { return {font(), m_fontColor}; }
    void setFont(const navbar::ColoredFont &value);
    using QWidget::setFont;

    // Image of LargeImages (large style) or SmallImages (small style);
    // below 0 none.
    int ImageIndex() const { return m_imageIndex; }
    void setImageIndex(int value);
    // Not owned; a destroyed list is forgotten, and a change of a list
    // repaints the button.
    TImageList *LargeImages() const { return m_largeImages; }
    void setLargeImages(TImageList *list);
    TImageList *SmallImages() const { return m_smallImages; }
    void setSmallImages(TImageList *list);

    // Shown on a right click (not owned).
    QMenu *PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *menu);

    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool value);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool value);

    // Help context, kept in step with the action's "HelpContext" property.
    int HelpContext() const { return m_helpContext; }
    void setHelpContext(int value) { m_helpContext = value; }

    navbar::TDragMode DragMode() const { return m_dragMode; }
    void setDragMode(navbar::TDragMode value) { m_dragMode = value; }
    // Starts dragging the button (a header it is dragged over opens and
    // takes it).
    void BeginDrag();

    // The header it sits on, and that header's bar; null otherwise.
    TNavBarHeader *ParentHeader() const;
    TNavBar *ParentBar() const;

    // Clicks: OnClick when assigned, else the action is triggered.
    void Click();

    // Whether the button may take the keyboard focus. On a header with a
    // bar: only with the effective KeySupport and while the header is open.
    bool CanFocus() const;

    // Pointer state as painted.
    bool MouseOver() const { return m_mouseOver; }
    bool Pressed() const { return m_pressed; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Applied by the header while it sizes its auto-sized buttons.
    void applySize(int width, int height);
    void syncFocusPolicy();
    void updateOpacity();
    void updateSizeLock();
    void updateMnemonic();
    void watchImages(QPointer<TImageList> &slot, std::array<QMetaObject::Connection, 2> &links, TImageList *list);
    // Assigned: the button takes every linked property; changed: only the
    // properties that still equal what the action had.
    void actionChanged(bool assigned);
    const navbar::ColoredFont &captionFont(navbar::ColoredFont &own) const;

    bool m_mouseOver = false;
    bool m_pressed = false;
    bool m_clickArmed = false;
    navbar::TButtonStyle m_style = navbar::bsLarge;
    QString m_caption;
    QPointer<TImageList> m_largeImages;
    QPointer<TImageList> m_smallImages;
    std::array<QMetaObject::Connection, 2> m_largeLinks;
    std::array<QMetaObject::Connection, 2> m_smallLinks;
    int m_imageIndex = -1;
    bool m_transparent = true;
    bool m_autoSize = true;
    bool m_tabStop = true;
    TColor m_color = clBtnFace;
    bool m_parentColor = true;
    TColor m_fontColor = clWindowText;
    int m_helpContext = 0;
    navbar::TDragMode m_dragMode = navbar::dmManual;
    QPoint m_pressPosition;
    QPointer<QMenu> m_popupMenu;
    int m_mnemonicId = 0;

    // The action and what its linked properties were when last seen, so a
    // change reaches only the properties that still follow it.
    struct ActionSnapshot {
        QString caption;
        bool enabled = true;
        int helpContext = 0;
        QString hint;
        int imageIndex = -1;
        bool visible = true;
    };
    QPointer<QAction> m_action;
    std::array<QMetaObject::Connection, 2> m_actionLinks;
    ActionSnapshot m_actionSeen;
};

} // namespace wharf
