#pragma once
// TGlyphSpeedButton: a tool button that draws a picture (glyph) and a
// caption, with pressed, disabled, latched ("exclusive") and, for flat
// buttons, inactive looks; latching groups among its siblings, auto-repeat
// while held, an attached drop-down menu with a small arrow mark, flat and
// transparent styles and word-wrapped captions. TButtonGlyph builds and
// caches the glyph's image for each look and lays out glyph, caption and
// mark. The layout (CalcButtonLayout), the looks' image transformations
// (GlyphImage, GrayedColor) and the frames (DrawButtonFrame) are free of
// widget state, so tests check them exactly.
//
// A glyph bitmap holds 1 to 5 images side by side, for the up, disabled,
// down, exclusive and inactive looks; looks without an image of their own
// are derived from the first one. The colour of its bottom-left pixel is
// transparent.

#include "seams.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QPainter;
class QTimer;

namespace wharf {

// The looks, in the order of the images in a glyph bitmap.
enum class TButtonPaintState { psUp = 0, psDisabled = 1, psDown = 2, psExclusive = 3, psInactive = 4 };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// Frame style: bsAutoDetect draws the new style, as every system does now.
enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TDropDownMenuPos { dmpBottom, dmpRight };

// Where CalcButtonLayout puts things, in the painter's coordinates.
struct ButtonLayout {
    QPoint glyphPos;
    QRect textBounds; // the caption's own size; empty without caption
    QString caption;  // as drawn (shortened unless word wrap is on)
    QPoint markPos;   // the drop-down mark's reference point (when drawn)
};

// Lays out a glyph of glyphSize (one image; 0 x 0 without glyph) and the
// caption in client. margin -1 centres; spacing -1 spreads the free room.
// alignment is one of Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter.
// Without word wrap each caption line is shortened to the room left with
// ShortenTextToWidth; "&" marks a mnemonic.
ButtonLayout CalcButtonLayout(const QRect &client, QSize glyphSize, const QString &caption,
                              const QFontMetrics &metrics, TButtonLayout layout, int margin, int spacing,
                              bool drawMark, bool wordWrap, Qt::Alignment alignment);

// A colour of the inactive look: unchanged when it is the transparent or
// the button-face colour, else grey of (77 R + 150 G + 29 B) / 256.
QRgb GrayedColor(QRgb color, QRgb transparent, QRgb face);

// The number of images a bitmap of that size holds: width / height when the
// width is a multiple of the height (1 when that exceeds 5 or is 0);
// otherwise current.
int DetectNumGlyphs(QSize size, int current);

// Draws the button frame for the state and style into rect and returns what
// is left inside it. A frame is a 1-pixel rectangle, top and left edges in
// one colour, bottom and right in another:
//   down, new,  flat:   window frame / highlight
//   down, new,  raised: window frame / highlight, shadow / face
//   down, old,  flat:   window frame / highlight
//   down, old,  raised: window frame / window frame, then a shadow line
//                       along the left and top edges inside it
//   up,   new,  flat:   highlight / shadow
//   up,   new,  raised: highlight / window frame, face / shadow
//   up,   old,  flat:   highlight / window frame
//   up,   old,  raised: window frame / window frame, highlight / shadow
// Each frame shrinks the rectangle by 1 on every side, and once more at the
// end. Colours come from palette (colors.h).
QRect DrawButtonFrame(QPainter &painter, QRect rect, bool down, bool newStyle, bool flat, const QPalette &palette);

// The glyph of a button: the source bitmap, the number of images in it and
// the cached image of each look.
class TButtonGlyph {
public:
    TButtonGlyph() = default;

    const QImage &Glyph() const { return m_bitmap; }
    // Copies the bitmap; the transparent colour becomes its bottom-left
    // pixel's and the number of images is detected (DetectNumGlyphs).
    void setGlyph(const QImage &bitmap);
    int NumGlyphs() const { return m_numGlyphs; }
    // 1 to 5; larger values are stored as 5, values below 1 are ignored.
    void setNumGlyphs(int value);
    QRgb TransparentColor() const { return m_transparentColor; } // [magenta]
    void setTransparentColor(QRgb color);

    // The size of one image; 0 x 0 without bitmap.
    QSize GlyphSize() const;

    // The image of the look, with transparent pixels cleared; built on first
    // use and cached. A null image without bitmap.
    //   up, down, exclusive: their own image, else the first (down uses the
    //     up image when there are fewer than 3);
    //   disabled: image 1, or the first one embossed (MakeDisabledGlyph)
    //     with the button face transparent;
    //   inactive: image 4, or the first one in grey (GrayedColor).
    QImage GlyphImage(TButtonPaintState look);
    // Drops the cached images (after a change of the system colours).
    void Invalidate();

    // Lays out and draws the glyph in the look, the caption and, with
    // drawMark, the drop-down mark. Returns the layout used.
    ButtonLayout Draw(QPainter &painter, const QRect &client, const QString &caption, TButtonLayout layout,
                      int margin, int spacing, bool drawMark, TButtonPaintState look, Qt::Alignment alignment,
                      bool wordWrap, const QPalette &palette);

    // Called after every change of the bitmap or the number of images.
    std::function<void()> OnChange;

private:
    void changed();

    QImage m_bitmap;
    std::array<QImage, 5> m_images;
    std::array<bool, 5> m_built{};
    QRgb m_transparentColor = qRgb(255, 0, 255);
    int m_numGlyphs = 1;
};

// Draws the 7 x 4 drop-down mark with its reference point at (x, y).
void DrawDropDownMark(QPainter &painter, int x, int y, bool disabled, const QPalette &palette);

class TGlyphSpeedButton : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TGlyphSpeedButton *sender)>;

    // 25 x 25 with the defaults given with each property. seams reports a
    // failure of a click run by the repeat timer; they must outlive the
    // button.
    explicit TGlyphSpeedButton(QWidget *parent = nullptr, const Seams &seams = standardSeams());
    ~TGlyphSpeedButton() override;

    // Properties (defaults in brackets).
    Qt::Alignment Alignment() const { return m_alignment; } // [Qt::AlignHCenter]
    void setAlignment(Qt::Alignment alignment);
    bool AllowAllUp() const { return m_allowAllUp; } // [false] a latched button may be released
    void setAllowAllUp(bool value);
    bool AllowTimer() const { return m_allowTimer; } // [false] auto-repeat while held
    void setAllowTimer(bool value);
    int GroupIndex() const { return m_groupIndex; } // [0] = not latching
    void setGroupIndex(int value);
    // [false] latched. Stays false without a group index; a down button
    // with AllowAllUp false is raised only by another member going down.
    bool Down() const { return m_down; }
    void setDown(bool value);
    QMenu *DropDownMenu() const { return m_menu; } // [none] opened on press; cleared when it goes
    void setDropDownMenu(QMenu *menu);
    TDropDownMenuPos MenuPosition() const { return m_menuPosition; } // [dmpBottom]
    void setMenuPosition(TDropDownMenuPos value) { m_menuPosition = value; }
    QString Caption() const { return m_caption; } // [empty] "&" marks the accelerator
    void setCaption(const QString &caption);
    bool Flat() const { return m_flat; } // [false] no frame unless the mouse is on it
    void setFlat(bool value);
    QImage Glyph() const { return m_glyph.Glyph(); } // [empty]
    void setGlyph(const QImage &bitmap);
    bool GrayedInactive() const { return m_grayedInactive; } // [true]
    void setGrayedInactive(bool value);
    int InitPause() const { return m_initPause; } // [500] ms before the first repeat
    void setInitPause(int ms) { m_initPause = static_cast<uint16_t>(ms); }
    TButtonLayout Layout() const { return m_layout; } // [blGlyphTop]
    void setLayout(TButtonLayout value);
    int Margin() const { return m_margin; } // [-1] centred; below -1 ignored
    void setMargin(int value);
    bool MarkDropDown() const { return m_markDropDown; } // [true]
    void setMarkDropDown(bool value);
    int ModalResult() const { return m_modalResult; } // [0] given to a dialog window on click
    void setModalResult(int value) { m_modalResult = value; }
    int NumGlyphs() const { return m_glyph.NumGlyphs(); } // [1]
    void setNumGlyphs(int value);
    int RepeatInterval() const { return m_repeatInterval; } // [100] ms between repeats
    void setRepeatInterval(int ms) { m_repeatInterval = static_cast<uint16_t>(ms); }
    int Spacing() const { return m_spacing; } // [1]; -1 spreads the free room
    void setSpacing(int value);
    TButtonStyle Style() const { return m_style; } // [bsAutoDetect]
    void setStyle(TButtonStyle value);
    bool Transparent() const { return m_transparent; } // [false] shows what lies under it
    void setTransparent(bool value);
    bool WordWrap() const { return m_glyphWordWrap; } // [false]
    void setWordWrap(bool value);
    // An action whose text, enabled state, checked state (as Down, with a
    // group index) and icon (as the glyph, while there is none) the button
    // follows; a click triggers it. [none]
    QAction *Action() const { return m_action; }
    void setAction(QAction *action);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // State, for the owner and tests.
    TButtonPaintState PaintState() const { return m_state; }
    bool MouseInside() const { return m_mouseInside; }
    bool Dragging() const { return m_dragging; }
    bool MenuTracking() const { return m_menuTracking; }
    QTimer *RepeatTimer() const { return m_repeatTimer; } // null until first needed
    TButtonGlyph &ButtonGlyph() { return m_glyph; }

    // Gives the dialog window it sits in ModalResult, then fires OnClick.
    virtual void Click();

    // The mouse handling, called by the Qt mouse events (tests call them
    // directly). point is in the button's coordinates.
    virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint point, bool doubleClick = false);
    void MouseMove(Qt::KeyboardModifiers keys, QPoint point);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint point);
    // The hot-tracking entry and exit.
    void MouseEnter();
    void MouseLeave();
    // The repeat timer's tick: a click while the button is held down. A
    // click that throws stops the timer and its message is shown.
    void RepeatTimerTimer();

    // Where the drop-down menu opens, in the button's coordinates.
    QPoint MenuPoint() const;

    // Paints the whole button onto painter (an image of the button's size).
    void PaintButton(QPainter &painter);

    QSize sizeHint() const override { return {25, 25}; }

protected:
    // Lays out and draws glyph, caption and mark into rect.
    virtual void PaintGlyph(QPainter &painter, const QRect &rect, bool drawMark, TButtonPaintState look);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

    const Seams &seams() const { return *m_seams; }

private:
    bool pointInside(QPoint point) const;
    bool newStyle() const { return m_style != TButtonStyle::bsWin31; }
    void releaseStep(QPoint point);
    void evaluateMouseInside();
    void groupNotify();
    void receiveGroupNotify(int groupIndex, TGlyphSpeedButton *sender);
    void raiseWithoutBroadcast();
    void prebuildLook();
    void updateShortcut();
    void actionChanged();
    void menuClosed();

    const Seams *m_seams;
    int m_groupIndex = 0;
    TButtonStyle m_style = TButtonStyle::bsAutoDetect;
    TButtonGlyph m_glyph;
    bool m_down = false;
    bool m_dragging = false;
    bool m_flat = false;
    bool m_mouseInside = false;
    bool m_allowAllUp = false;
    TButtonLayout m_layout = TButtonLayout::blGlyphTop;
    int m_spacing = 1;
    int m_margin = -1;
    int m_modalResult = 0;
    bool m_transparent = false;
    bool m_markDropDown = true;
    QPointer<QMenu> m_menu;
    TDropDownMenuPos m_menuPosition = TDropDownMenuPos::dmpBottom;
    bool m_grayedInactive = true;
    bool m_menuTracking = false;
    bool m_menuJustClosed = false;
    QTimer *m_repeatTimer = nullptr;
    bool m_allowTimer = false;
    uint16_t m_initPause = 500;
    uint16_t m_repeatInterval = 100;
    TButtonPaintState m_state = TButtonPaintState::psUp;
    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
    bool m_glyphWordWrap = false;
    int m_shortcutId = 0;
    QPoint m_menuPressPoint;
    QPointer<QAction> m_action;
    bool m_actionGlyph = false; // the glyph came from the action's icon
};

} // namespace wharf
