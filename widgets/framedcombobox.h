#pragma once
// TCustomFramedComboBox: the combo box the colour combo is built on. It can
// paint its own flat frame and a flat drop-down button over the style's
// look, searches its items by typed text (forgotten 1.5 s after the last
// key), completes typed text in the edit field of the drop-down style, and
// steps through the items with the mouse wheel.
//
// Qt's own keyboard search and the edit field's own completer are switched
// off; every key goes through the handling described at keyPressEvent.
// Events are Qt signals named after the class library's events, each with
// the sender first; OnClick and OnChange fire for the user's selections
// (list, arrow keys, wheel, typed search) and where documented below, never
// for plain setCurrentIndex calls.

#include "colors.h"
#include "framedraw.h"
#include "seams.h"

#include <QComboBox>
#include <QString>

class QTimer;

namespace wharf {

// The two styles: csDropDown has an edit field with the list below it,
// csDropDownList shows only the selected item.
enum class TComboBoxStyle { csDropDown, csDropDownList };

class TCustomFramedComboBox : public QComboBox {
    Q_OBJECT
public:
    // The search timer ("SearchTimer") forgets typed text after this long.
    static constexpr int kSearchInterval = 1500;

    // Starts in the csDropDown style with no frame of its own (FrameVisible
    // false), FrameStyle fsFlat, flat buttons, FrameColor clBtnShadow and
    // Color clWindow; maxVisibleItems 8 stands in for DropDownCount, also
    // for styles whose popups are menu-like. seams gives the beep and must
    // outlive the combo.
    explicit TCustomFramedComboBox(QWidget *parent = nullptr, const Seams &seams = standardSeams());
    ~TCustomFramedComboBox() override;

    TComboBoxStyle Style() const { return m_style; }
    // csDropDown makes the combo editable (no completer, no insertion of
    // typed texts); csDropDownList makes it list-only.
    void SetStyle(TComboBoxStyle style);

    // The search timer; its timeout handler is SearchTimerTimer.
    QTimer *SearchTimer;

    // Properties. Each setter stores a differing value and repaints.
    bool BeepOnInvalidKey() const { return m_beepOnInvalidKey; }
    void SetBeepOnInvalidKey(bool on) { m_beepOnInvalidKey = on; }
    TColor Color() const { return m_color; }
    // Fill of the frame's inner rings, the flat button and the items.
    void SetColor(TColor color);
    bool FlatButtons() const { return m_flatButtons; }
    virtual void SetFlatButtons(bool on);
    TColor FrameColor() const { return m_frameColor; }
    virtual void SetFrameColor(TColor color);
    bool FrameFlat() const { return m_frameFlat; }
    // Switching it on also shows the frame on all four sides in
    // FrameFlatStyle; while the combo is focused or under the mouse the
    // frame then takes FrameFocusStyle.
    virtual void SetFrameFlat(bool on);
    TFrameStyle FrameFlatStyle() const { return m_frameFlatStyle; }
    virtual void SetFrameFlatStyle(TFrameStyle style);
    TFrameStyle FrameFocusStyle() const { return m_frameFocusStyle; }
    virtual void SetFrameFocusStyle(TFrameStyle style);
    TSides FrameSides() const { return m_frameSides; }
    virtual void SetFrameSides(TSides sides);
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    virtual void SetFrameStyle(TFrameStyle style);
    bool FrameVisible() const { return m_frameVisible; }
    // Shows the own frame instead of the style's frame (the style's frame
    // is on exactly while this is off); the item list is rebuilt.
    virtual void SetFrameVisible(bool on);
    int DropDownWidth() const { return m_dropDownWidth; }
    // Minimum width of the open list; 0: as wide as the combo.
    virtual void SetDropDownWidth(int width);
    int MaxLength() const { return m_maxLength; }
    // Longest text the edit field takes; 0: no limit.
    void SetMaxLength(int length);

    // The edit field's selection (0 in the list-only style).
    virtual int GetSelLength() const;
    virtual void SetSelLength(int length);
    virtual int GetSelStart() const;
    virtual void SetSelStart(int start);

    // What has been typed and not yet forgotten.
    const QString &SearchText() const { return m_searchText; }
    bool DroppedDown() const { return m_droppedDown; }
    bool MouseOver() const { return m_mouseOver; }
    bool Focused() const { return m_focused; }

    // Forgets the typed text, unless a key is being handled just then.
    void SearchTimerTimer();

    // Mouse (or focus) entering (on) or leaving; ignored while the list is
    // open. Switches the flat frame's style and repaints.
    virtual void HotStateUpdate(bool mouse, bool on);
    // The system beep when BeepOnInvalidKey is on.
    virtual void InvalidKey();
    // Selects the first item beginning with text (ignoring case), makes
    // text the search text and fires OnClick and OnChange; without such an
    // item only InvalidKey, and the search text stays.
    virtual void SearchStep(const QString &text);
    // Drop-down style: selects the first item beginning with text, fires
    // OnClick, OnChange and OnMatch and selects the completed rest of the
    // edit text. False when no item begins with text.
    virtual bool Complete(const QString &text);
    // The index of the first item whose text begins with text, ignoring
    // case; -1 when there is none.
    virtual int FirstItemBeginningWith(const QString &text) const;
    // The list was closed; cancelled when no item was chosen from it.
    // Fires OnCloseUp.
    virtual void CloseUp(bool cancelled);

    void showPopup() override;
    void hidePopup() override;

signals:
    void OnChange(QObject *Sender);
    void OnClick(QObject *Sender);
    void OnCloseUp(QObject *Sender);
    void OnDropDown(QObject *Sender);
    // A typed text was completed to an item.
    void OnMatch(QObject *Sender);
    void OnMouseEnter(QObject *Sender);
    void OnMouseLeave(QObject *Sender);
    // The drop-down style was left with a text that is no item.
    void OnNotInList(QObject *Sender);
    // A typed character; a handler may replace it, or swallow it by setting
    // it to 0. Fires at most once per key.
    void OnKeyPress(QObject *Sender, QChar &Key);

protected:
    // List-only style: Backspace drops the last typed character (with none
    // left item 0 is selected), Escape selects item 0, a printable
    // character extends the search text and restarts the search timer;
    // navigation keys and Escape forget the search text. Drop-down style:
    // the search text follows the edit text and typing completes it.
    void keyPressEvent(QKeyEvent *event) override;
    // Closed list: up selects the previous item, down the next (OnClick,
    // OnChange); nothing happens at either end.
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Paints the own frame and flat button over what is already painted
    // (nothing unless FrameVisible).
    void PaintFrame(QPainter &painter);
    // The flat drop-down button: the style's scroll-bar width, inside the
    // two inner rings.
    QRect ButtonRect() const;
    int ScrollBarWidth() const;
    // Stands in for the class library's re-creation of the window: the
    // colour combo rebuilds its items here. Called after a change of
    // FrameVisible or the font.
    virtual void RecreateWnd() {}

    void Click();
    void Change();
    // Fires OnKeyPress for the character being handled (once per key) and
    // returns it as the handlers left it.
    QChar ReportKeyPress();
    // Selects index and keeps an open list's current row in step.
    void selectIndex(int index);

    const Seams &seams() const { return *m_seams; }

private:
    bool handleListChar(QChar ch);
    bool handleEditKeyDown(QKeyEvent *event);
    bool handleEditChar(QKeyEvent *event, QChar ch);
    void afterPaste();
    void reSelect();
    void setEditTextQuietly(const QString &text);
    void popupClosed();
    void finishCloseUp();
    void onActivated();
    void onUserEdit();

    const Seams *m_seams;
    TComboBoxStyle m_style = TComboBoxStyle::csDropDown;
    bool m_beepOnInvalidKey = true;
    bool m_flatButtons = true;
    TColor m_color = clWindow;
    TColor m_frameColor = clBtnShadow;
    bool m_frameFlat = false;
    TFrameStyle m_frameFlatStyle = TFrameStyle::fsStatus;
    TFrameStyle m_frameFocusStyle = TFrameStyle::fsLowered;
    TSides m_frameSides = kAllSides;
    TFrameStyle m_frameStyle = TFrameStyle::fsFlat;
    bool m_frameVisible = false;
    QString m_searchText;
    QChar m_currentKey;
    int m_dropDownWidth = 0;
    int m_maxLength = 0;
    bool m_typing = false;
    bool m_settingText = false;
    bool m_pasting = false;
    bool m_keyReported = false;
    bool m_focused = false;
    bool m_mouseOver = false;
    bool m_droppedDown = false;
    bool m_closePending = false;
    bool m_chosenWhileClosing = false;
};

} // namespace wharf
