#include "glyphctrls.h"

#include "application.h"
#include "colors.h"
#include "drawutils.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace wharf {
namespace {

constexpr int kMarkRoom = 9;       // text room kept for the mark beside a caption
constexpr int kMarkGlyphRoom = 6;  // glyph room kept for the mark beside a glyph
constexpr int kMaxCaption = 255;

bool isHorizontal(TButtonLayout layout)
{
    return layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
}

QColor sys(TColor color, const QPalette &palette) { return toQColor(color, palette); }

// A copy of image in which every pixel of exactly the colour key is clear.
QImage masked(const QImage &image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    key &= 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return out;
}

// One-pixel frame: top and left edges in topLeft, bottom and right edges in
// bottomRight (which take the corners they share), as the system draws it.
void frame3D(QPainter &painter, QRect &rect, const QColor &topLeft, const QColor &bottomRight)
{
    const int l = rect.left();
    const int t = rect.top();
    const int w = rect.width();
    const int h = rect.height();
    if (w <= 0 || h <= 0)
        return;
    painter.fillRect(QRect(l, t, std::max(0, w - 1), 1), topLeft);
    painter.fillRect(QRect(l, t, 1, std::max(0, h - 1)), topLeft);
    painter.fillRect(QRect(l + w - 1, t, 1, h), bottomRight);
    painter.fillRect(QRect(l, t + h - 1, w, 1), bottomRight);
    rect.adjust(1, 1, -1, -1);
}

// Face and highlight in alternate pixels, as a latched button shows.
void fillChecked(QPainter &painter, const QRect &rect, const QPalette &palette)
{
    QImage pattern(8, 8, QImage::Format_RGB32);
    const QRgb face = sys(clBtnFace, palette).rgb();
    const QRgb highlight = sys(clBtnHighlight, palette).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.setPixel(x, y, (x + y) % 2 == 0 ? highlight : face);
    painter.save();
    painter.setBrushOrigin(0, 0);
    painter.fillRect(rect, QBrush(pattern));
    painter.restore();
}

QString applicationTitle()
{
    if (auto *app = qobject_cast<WharfApplication *>(QCoreApplication::instance()))
        return app->title();
    return QCoreApplication::applicationName();
}

} // namespace

ButtonLayout CalcButtonLayout(const QRect &client, QSize glyphSize, const QString &caption,
                              const QFontMetrics &metrics, TButtonLayout layout, int margin, int spacing,
                              bool drawMark, bool wordWrap, Qt::Alignment alignment)
{
    const int cw = client.width();
    const int ch = client.height();
    const bool horizontal = isHorizontal(layout);
    const bool noGlyph = glyphSize.width() <= 0 || glyphSize.height() <= 0;
    QSize g = noGlyph ? QSize(0, 0) : glyphSize;

    int tw = cw;
    int th = ch;
    if (horizontal) {
        tw = cw - g.width() - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0) - (drawMark ? kMarkRoom : 0);
    } else {
        th = ch - g.height() - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0);
    }
    tw = std::max(0, tw);
    th = std::max(0, th);

    ButtonLayout result;
    QString text = caption;
    if (!wordWrap) {
        QStringList lines = caption.split(u'\n');
        for (QString &line : lines) {
            if (line.endsWith(u'\r'))
                line.chop(1);
            line = ShortenTextToWidth(line, metrics, tw);
        }
        text = lines.join(u'\n');
    }
    while (text.endsWith(u' '))
        text.chop(1);
    text = text.left(kMaxCaption);
    result.caption = text;

    QSize t(0, 0);
    if (!text.isEmpty()) {
        const int flags = static_cast<int>(alignment | Qt::AlignHCenter | Qt::AlignVCenter) | Qt::TextShowMnemonic |
                          (wordWrap ? Qt::TextWordWrap : 0);
        const QRect measured = metrics.boundingRect(QRect(0, 0, tw, 0), flags, text);
        t = QSize(std::min(measured.width(), tw), std::min(measured.height(), th));
    }
    QSize ts = t; // the text's room in the layout
    if (drawMark) {
        if (noGlyph || layout == TButtonLayout::blGlyphLeft)
            ts.rwidth() += kMarkRoom;
        else if (g.width() > 0)
            g.rwidth() += kMarkGlyphRoom;
    }

    QPoint gp;
    QPoint tp;
    if (horizontal) {
        gp.setY(ch / 2 - g.height() / 2);
        tp.setY(ch / 2 - ts.height() / 2);
    } else {
        gp.setX(cw / 2 - g.width() / 2);
        tp.setX(cw / 2 - ts.width() / 2);
    }
    if (ts.width() == 0 || g.width() == 0)
        spacing = 0;

    const int extent = horizontal ? cw : ch;
    const int glyphExtent = horizontal ? g.width() : g.height();
    const int textExtent = horizontal ? ts.width() : ts.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (extent - (glyphExtent + textExtent)) / 3;
            spacing = margin;
        } else {
            margin = extent / 2 - (glyphExtent + textExtent + spacing) / 2;
        }
    } else if (spacing == -1) {
        const int room = extent - (margin + glyphExtent);
        spacing = room / 2 - textExtent / 2;
    }

    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        gp.setX(margin);
        tp.setX(gp.x() + g.width() + spacing);
        break;
    case TButtonLayout::blGlyphRight:
        gp.setX(cw - margin - g.width());
        tp.setX(gp.x() - spacing - ts.width());
        break;
    case TButtonLayout::blGlyphTop:
        gp.setY(margin);
        tp.setY(gp.y() + g.height() + spacing);
        break;
    case TButtonLayout::blGlyphBottom:
        gp.setY(ch - margin - g.height());
        tp.setY(gp.y() - spacing - ts.height());
        break;
    }
    gp += client.topLeft();
    tp += client.topLeft();
    result.glyphPos = gp;
    result.textBounds = QRect(tp, t);

    if (drawMark) {
        if (layout != TButtonLayout::blGlyphLeft && !noGlyph)
            result.markPos = QPoint(gp.x() + glyphSize.width() + 1, gp.y() + glyphSize.height() / 2);
        else if (!text.isEmpty())
            result.markPos = QPoint(tp.x() + t.width() + 3, tp.y() + t.height() / 2);
        else
            result.markPos = QPoint((client.left() + client.left() + cw - 7) / 2, tp.y());
    }
    return result;
}

QRgb GrayedColor(QRgb color, QRgb transparent, QRgb face)
{
    const QRgb rgb = color & 0xFFFFFF;
    if (rgb == (transparent & 0xFFFFFF) || rgb == (face & 0xFFFFFF))
        return color;
    const int v = (77 * qRed(color) + 150 * qGreen(color) + 29 * qBlue(color)) / 256;
    return qRgba(v, v, v, qAlpha(color));
}

int DetectNumGlyphs(QSize size, int current)
{
    if (size.height() <= 0 || size.width() % size.height() != 0)
        return current;
    const int count = size.width() / size.height();
    return (count > 5 || count < 1) ? 1 : count;
}

QRect DrawButtonFrame(QPainter &painter, QRect rect, bool down, bool newStyle, bool flat, const QPalette &palette)
{
    const QColor frame = sys(clWindowFrame, palette);
    const QColor highlight = sys(clBtnHighlight, palette);
    const QColor shadow = sys(clBtnShadow, palette);
    const QColor face = sys(clBtnFace, palette);
    if (down) {
        if (flat) {
            frame3D(painter, rect, frame, highlight);
        } else if (newStyle) {
            frame3D(painter, rect, frame, highlight);
            frame3D(painter, rect, shadow, face);
        } else {
            frame3D(painter, rect, frame, frame);
            if (rect.width() > 0 && rect.height() > 0) {
                painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), shadow);
                painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), shadow);
            }
        }
    } else if (newStyle) {
        if (flat) {
            frame3D(painter, rect, highlight, shadow);
        } else {
            frame3D(painter, rect, highlight, frame);
            frame3D(painter, rect, face, shadow);
        }
    } else if (flat) {
        frame3D(painter, rect, highlight, frame);
    } else {
        frame3D(painter, rect, frame, frame);
        frame3D(painter, rect, highlight, shadow);
    }
    return rect.adjusted(1, 1, -1, -1);
}

void DrawDropDownMark(QPainter &painter, int x, int y, bool disabled, const QPalette &palette)
{
    auto draw = [&painter](int px, int py, const QColor &colour) {
        painter.fillRect(QRect(px, py - 1, 7, 1), colour);
        painter.fillRect(QRect(px + 1, py, 5, 1), colour);
        painter.fillRect(QRect(px + 2, py + 1, 3, 1), colour);
        painter.fillRect(QRect(px + 3, py + 2, 1, 1), colour);
    };
    if (disabled) {
        draw(x + 1, y + 1, sys(clBtnHighlight, palette));
        draw(x, y, sys(clBtnShadow, palette));
    } else {
        draw(x, y, sys(clBtnText, palette));
    }
}

void TButtonGlyph::changed()
{
    if (OnChange)
        OnChange();
}

void TButtonGlyph::setGlyph(const QImage &bitmap)
{
    m_bitmap = bitmap.copy();
    Invalidate();
    if (m_bitmap.height() > 0) {
        m_transparentColor = m_bitmap.pixel(0, m_bitmap.height() - 1) | 0xFF000000u;
        m_numGlyphs = DetectNumGlyphs(m_bitmap.size(), m_numGlyphs);
    }
    changed();
}

void TButtonGlyph::setNumGlyphs(int value)
{
    if (value < 1)
        return;
    value = std::min(value, 5);
    if (value == m_numGlyphs)
        return;
    m_numGlyphs = value;
    Invalidate();
    changed();
}

void TButtonGlyph::setTransparentColor(QRgb color)
{
    color |= 0xFF000000u;
    if (color == m_transparentColor)
        return;
    m_transparentColor = color;
    Invalidate();
    changed();
}

QSize TButtonGlyph::GlyphSize() const
{
    if (m_bitmap.isNull() || m_bitmap.width() == 0 || m_bitmap.height() == 0)
        return {0, 0};
    return {m_bitmap.width() / m_numGlyphs, m_bitmap.height()};
}

void TButtonGlyph::Invalidate()
{
    m_images = {};
    m_built = {};
}

QImage TButtonGlyph::GlyphImage(TButtonPaintState look)
{
    if (look == TButtonPaintState::psDown && m_numGlyphs < 3)
        look = TButtonPaintState::psUp;
    const int index = static_cast<int>(look);
    if (m_built[index])
        return m_images[index];
    const QSize size = GlyphSize();
    if (size.isEmpty())
        return {};
    const int source = index < m_numGlyphs ? index : 0;
    // The embossed look needs the picture in its own format: a monochrome
    // bitmap marks its white pixels, any other its black ones.
    const QImage raw = m_bitmap.copy(source * size.width(), 0, size.width(), size.height());
    const QImage image = raw.convertToFormat(QImage::Format_ARGB32);
    const QRgb face = toQColor(clBtnFace).rgb();
    QImage result;
    switch (look) {
    case TButtonPaintState::psUp:
    case TButtonPaintState::psDown:
    case TButtonPaintState::psExclusive:
        result = masked(image, m_transparentColor);
        break;
    case TButtonPaintState::psDisabled:
        result = m_numGlyphs == 1 ? masked(MakeDisabledGlyph(raw), face) : masked(image, m_transparentColor);
        break;
    case TButtonPaintState::psInactive:
        if (m_numGlyphs < 5) {
            QImage grey = image;
            for (int y = 0; y < grey.height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
                for (int x = 0; x < grey.width(); ++x)
                    line[x] = GrayedColor(line[x], m_transparentColor, face);
            }
            result = masked(grey, m_transparentColor);
        } else {
            result = masked(image, m_transparentColor);
        }
        break;
    }
    m_images[index] = result;
    m_built[index] = true;
    return result;
}

ButtonLayout TButtonGlyph::Draw(QPainter &painter, const QRect &client, const QString &caption,
                                TButtonLayout layout, int margin, int spacing, bool drawMark,
                                TButtonPaintState look, Qt::Alignment alignment, bool wordWrap,
                                const QPalette &palette)
{
    const ButtonLayout placed = CalcButtonLayout(client, GlyphSize(), caption, painter.fontMetrics(), layout,
                                                 margin, spacing, drawMark, wordWrap, alignment);
    const QImage image = GlyphImage(look);
    if (!image.isNull())
        painter.drawImage(placed.glyphPos, image);
    const bool disabled = look == TButtonPaintState::psDisabled;
    if (!placed.caption.isEmpty()) {
        const int flags = static_cast<int>(alignment | Qt::AlignVCenter) | Qt::TextShowMnemonic |
                          (wordWrap ? Qt::TextWordWrap : 0);
        painter.save();
        if (disabled) {
            painter.setPen(sys(clBtnHighlight, palette));
            painter.drawText(placed.textBounds.translated(1, 1), flags, placed.caption);
            painter.setPen(sys(clBtnShadow, palette));
        } else {
            painter.setPen(palette.color(QPalette::ButtonText));
        }
        painter.drawText(placed.textBounds, flags, placed.caption);
        painter.restore();
    }
    if (drawMark)
        DrawDropDownMark(painter, placed.markPos.x(), placed.markPos.y(), disabled, palette);
    return placed;
}

TGlyphSpeedButton::TGlyphSpeedButton(QWidget *parent, const Seams &seams) : QWidget(parent), m_seams(&seams)
{
    setGeometry(0, 0, 25, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_glyph.OnChange = [this] { update(); };
}

TGlyphSpeedButton::~TGlyphSpeedButton()
{
    m_glyph.OnChange = nullptr;
    if (m_action)
        disconnect(m_action, nullptr, this, nullptr);
}

void TGlyphSpeedButton::setAlignment(Qt::Alignment alignment)
{
    alignment &= Qt::AlignHorizontal_Mask;
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

void TGlyphSpeedButton::setAllowAllUp(bool value)
{
    if (value == m_allowAllUp)
        return;
    m_allowAllUp = value;
    groupNotify();
}

void TGlyphSpeedButton::setAllowTimer(bool value)
{
    m_allowTimer = value;
    if (!value && m_repeatTimer) {
        m_repeatTimer->stop();
        delete m_repeatTimer;
        m_repeatTimer = nullptr;
    }
}

void TGlyphSpeedButton::setGroupIndex(int value)
{
    if (value == m_groupIndex)
        return;
    m_groupIndex = value;
    groupNotify();
}

void TGlyphSpeedButton::setDown(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    if (value == m_down)
        return;
    if (m_down && !m_allowAllUp)
        return;
    m_down = value;
    m_state = value ? TButtonPaintState::psExclusive : TButtonPaintState::psUp;
    update();
    if (value)
        groupNotify();
}

void TGlyphSpeedButton::setDropDownMenu(QMenu *menu)
{
    if (menu == m_menu)
        return;
    m_menu = menu;
    if (m_markDropDown)
        update();
}

void TGlyphSpeedButton::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateShortcut();
    update();
}

void TGlyphSpeedButton::setFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    update();
}

void TGlyphSpeedButton::setGlyph(const QImage &bitmap)
{
    m_actionGlyph = false;
    m_glyph.setGlyph(bitmap);
}

void TGlyphSpeedButton::setGrayedInactive(bool value)
{
    if (value == m_grayedInactive)
        return;
    m_grayedInactive = value;
    update();
}

void TGlyphSpeedButton::setLayout(TButtonLayout value)
{
    if (value == m_layout)
        return;
    m_layout = value;
    update();
}

void TGlyphSpeedButton::setMargin(int value)
{
    if (value < -1 || value == m_margin)
        return;
    m_margin = value;
    update();
}

void TGlyphSpeedButton::setMarkDropDown(bool value)
{
    if (value == m_markDropDown)
        return;
    m_markDropDown = value;
    update();
}

void TGlyphSpeedButton::setNumGlyphs(int value) { m_glyph.setNumGlyphs(value); }

void TGlyphSpeedButton::setSpacing(int value)
{
    if (value == m_spacing)
        return;
    m_spacing = value;
    update();
}

void TGlyphSpeedButton::setStyle(TButtonStyle value)
{
    if (value == m_style)
        return;
    m_style = value;
    update();
}

void TGlyphSpeedButton::setTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    update();
}

void TGlyphSpeedButton::setWordWrap(bool value)
{
    if (value == m_glyphWordWrap)
        return;
    m_glyphWordWrap = value;
    update();
}

void TGlyphSpeedButton::setAction(QAction *action)
{
    if (action == m_action)
        return;
    if (m_action)
        disconnect(m_action, nullptr, this, nullptr);
    m_action = action;
    if (action) {
        connect(action, &QAction::changed, this, &TGlyphSpeedButton::actionChanged);
        actionChanged();
    }
}

void TGlyphSpeedButton::actionChanged()
{
    if (!m_action)
        return;
    setCaption(m_action->text());
    setEnabled(m_action->isEnabled());
    if (m_groupIndex != 0 && m_action->isCheckable())
        setDown(m_action->isChecked());
    if ((m_glyph.Glyph().isNull() || m_actionGlyph) && !m_action->icon().isNull()) {
        const QList<QSize> sizes = m_action->icon().availableSizes();
        const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
        QImage image(size, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 255));
        {
            QPainter painter(&image);
            m_action->icon().paint(&painter, QRect(QPoint(0, 0), size));
        }
        m_glyph.setGlyph(image);
        m_glyph.setTransparentColor(qRgb(255, 0, 255));
        m_actionGlyph = true;
    }
}

void TGlyphSpeedButton::updateShortcut()
{
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
    if (!mnemonic.isEmpty())
        m_shortcutId = grabShortcut(mnemonic);
}

void TGlyphSpeedButton::Click()
{
    if (auto *dialog = qobject_cast<QDialog *>(window())) {
        if (m_modalResult != 0)
            dialog->done(m_modalResult);
        else
            dialog->setResult(0);
    }
    if (OnClick)
        OnClick(this);
    else if (m_action)
        m_action->trigger();
}

bool TGlyphSpeedButton::pointInside(QPoint point) const
{
    return point.x() >= 0 && point.x() < width() && point.y() >= 0 && point.y() <= height();
}

QPoint TGlyphSpeedButton::MenuPoint() const
{
    if (!m_menu)
        return {0, 0};
    if (m_menuPosition == TDropDownMenuPos::dmpBottom)
        return {-1, height()};
    return {width(), -1};
}

void TGlyphSpeedButton::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint point, bool doubleClick)
{
    if (m_menuTracking)
        return;
    // A click on the button that closed its menu is not a new press, or the
    // menu would open again at once.
    if (m_menuJustClosed && button == Qt::LeftButton && pointInside(point))
        return;
    if (!m_mouseInside && isEnabled()) {
        m_mouseInside = true;
        update();
    }
    if (button == Qt::LeftButton && isEnabled()) {
        if (!m_down) {
            m_state = TButtonPaintState::psDown;
            update();
        }
        m_dragging = true;
        if (m_menu) {
            // The release step runs once the menu has closed (menuClosed).
            m_menuTracking = true;
            m_menuPressPoint = point;
            connect(m_menu, &QMenu::aboutToHide, this, &TGlyphSpeedButton::menuClosed, Qt::UniqueConnection);
            if (QWidget *grabber = QWidget::mouseGrabber())
                grabber->releaseMouse();
            m_menu->popup(mapToGlobal(MenuPoint()));
        }
        if (m_allowTimer) {
            if (!m_repeatTimer) {
                m_repeatTimer = new QTimer(this);
                m_repeatTimer->setObjectName(QStringLiteral("RepeatTimer"));
                connect(m_repeatTimer, &QTimer::timeout, this, &TGlyphSpeedButton::RepeatTimerTimer);
            }
            m_repeatTimer->setInterval(m_initPause);
            m_repeatTimer->start();
        }
    } else if (button == Qt::RightButton) {
        evaluateMouseInside();
    }
    if (doubleClick && m_down && OnDblClick)
        OnDblClick(this);
}

void TGlyphSpeedButton::menuClosed()
{
    if (m_menu)
        disconnect(m_menu, &QMenu::aboutToHide, this, &TGlyphSpeedButton::menuClosed);
    releaseStep(m_menuPressPoint);
    m_menuTracking = false;
    m_menuJustClosed = true;
    QTimer::singleShot(0, this, [this] { m_menuJustClosed = false; });
}

void TGlyphSpeedButton::MouseMove(Qt::KeyboardModifiers, QPoint point)
{
    if (!m_dragging)
        return;
    TButtonPaintState state = m_down ? TButtonPaintState::psExclusive : TButtonPaintState::psUp;
    if (pointInside(point))
        state = m_down ? TButtonPaintState::psExclusive : TButtonPaintState::psDown;
    if (state != m_state) {
        m_state = state;
        update();
    }
}

void TGlyphSpeedButton::releaseStep(QPoint point)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    const bool inside = pointInside(point);
    if (m_groupIndex == 0) {
        m_state = TButtonPaintState::psUp;
        m_mouseInside = false;
    } else if (inside) {
        setDown(!m_down);
    } else {
        m_state = m_down ? TButtonPaintState::psExclusive : TButtonPaintState::psUp;
    }
    update();
    if (inside && !m_menuTracking)
        Click();
    evaluateMouseInside();
}

void TGlyphSpeedButton::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint point)
{
    if (m_menuTracking)
        return; // the menu has the mouse; its closing ends the press
    if (button == Qt::LeftButton)
        releaseStep(point);
    else if (button == Qt::RightButton)
        evaluateMouseInside();
    if (m_repeatTimer)
        m_repeatTimer->stop();
}

void TGlyphSpeedButton::RepeatTimerTimer()
{
    if (!m_repeatTimer)
        return;
    m_repeatTimer->setInterval(m_repeatInterval);
    // The menu opened by the press has the mouse until it closes (the press
    // then ends there), so the held button does not repeat meanwhile.
    if (m_state != TButtonPaintState::psDown || !m_dragging || m_menuTracking)
        return;
    // An exception must not leave the timer's event: stop repeating and
    // tell the author.
    try {
        Click();
    } catch (const std::exception &e) {
        m_repeatTimer->stop();
        m_seams->messages->showMessage(window(), applicationTitle(), QString::fromUtf8(e.what()));
    } catch (...) {
        m_repeatTimer->stop();
        m_seams->messages->showMessage(window(), applicationTitle(), QStringLiteral("Unknown error"));
    }
}

void TGlyphSpeedButton::evaluateMouseInside()
{
    const bool inside = isEnabled() && QApplication::widgetAt(QCursor::pos()) == this && ActiveWindowInThisThread();
    if (inside == m_mouseInside)
        return;
    m_mouseInside = inside;
    if (m_flat)
        update();
    if (inside)
        DoMouseEnter();
    else
        DoMouseLeave();
}

void TGlyphSpeedButton::MouseEnter()
{
    if (m_mouseInside || !isEnabled() || !ActiveWindowInThisThread())
        return;
    m_mouseInside = true;
    if (m_flat)
        update();
    DoMouseEnter();
}

void TGlyphSpeedButton::MouseLeave()
{
    if (!m_mouseInside || !isEnabled() || m_dragging)
        return;
    m_mouseInside = false;
    if (m_flat)
        update();
    DoMouseLeave();
}

void TGlyphSpeedButton::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TGlyphSpeedButton::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TGlyphSpeedButton::groupNotify()
{
    if (m_groupIndex == 0 || !parentWidget())
        return;
    for (QObject *child : parentWidget()->children())
        if (auto *button = qobject_cast<TGlyphSpeedButton *>(child))
            button->receiveGroupNotify(m_groupIndex, this);
}

void TGlyphSpeedButton::receiveGroupNotify(int groupIndex, TGlyphSpeedButton *sender)
{
    if (sender == this || groupIndex != m_groupIndex)
        return;
    if (sender->m_down && m_down)
        raiseWithoutBroadcast();
    m_allowAllUp = sender->m_allowAllUp;
}

void TGlyphSpeedButton::raiseWithoutBroadcast()
{
    m_down = false;
    m_state = TButtonPaintState::psUp;
    update();
}

void TGlyphSpeedButton::prebuildLook()
{
    if (!isEnabled())
        m_glyph.GlyphImage(TButtonPaintState::psDisabled);
    else if (m_flat)
        m_glyph.GlyphImage(TButtonPaintState::psInactive);
    else
        m_glyph.GlyphImage(TButtonPaintState::psUp);
}

void TGlyphSpeedButton::PaintButton(QPainter &painter)
{
    if (!isEnabled()) {
        m_state = TButtonPaintState::psDisabled;
        m_dragging = false;
    } else if (m_state == TButtonPaintState::psDisabled) {
        m_state = (m_down && m_groupIndex != 0) ? TButtonPaintState::psExclusive : TButtonPaintState::psUp;
    }
    TButtonPaintState look = m_state;
    if (m_flat && !m_mouseInside)
        look = TButtonPaintState::psInactive;

    const QPalette &pal = palette();
    painter.setFont(font());
    painter.fillRect(rect(), sys(clBtnFace, pal));
    if (m_transparent)
        CopyParentBackground(this, painter);

    QRect paintRect = rect();
    const bool pressed = m_state == TButtonPaintState::psDown || m_state == TButtonPaintState::psExclusive;
    if (look != TButtonPaintState::psInactive || m_state == TButtonPaintState::psExclusive)
        paintRect = DrawButtonFrame(painter, paintRect, pressed, newStyle(), m_flat, pal);
    else if (m_flat)
        paintRect.adjust(2, 2, -2, -2);

    if (m_state == TButtonPaintState::psExclusive && !m_transparent &&
        (!m_flat || look == TButtonPaintState::psInactive))
        fillChecked(painter, paintRect.adjusted(-1, -1, 1, 1), pal);
    if (pressed)
        paintRect.translate(1, 1);

    TButtonPaintState glyphLook = m_state;
    if (m_state == TButtonPaintState::psDisabled)
        glyphLook = TButtonPaintState::psDisabled;
    else if (m_grayedInactive)
        glyphLook = look;
    PaintGlyph(painter, paintRect, m_markDropDown && m_menu, glyphLook);
}

void TGlyphSpeedButton::PaintGlyph(QPainter &painter, const QRect &rect, bool drawMark, TButtonPaintState look)
{
    Qt::Alignment alignment = m_alignment;
    if (isRightToLeft()) {
        if (alignment & Qt::AlignLeft)
            alignment = Qt::AlignRight;
        else if (alignment & Qt::AlignRight)
            alignment = Qt::AlignLeft;
    }
    m_glyph.Draw(painter, rect, m_caption, m_layout, m_margin, m_spacing, drawMark, look, alignment,
                 m_glyphWordWrap, palette());
}

void TGlyphSpeedButton::paintEvent(QPaintEvent *)
{
    QImage buffer(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&buffer);
        PaintButton(painter);
    }
    QPainter(this).drawImage(0, 0, buffer);
}

bool TGlyphSpeedButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            if (isEnabled())
                Click();
            return true;
        }
    }
    return QWidget::event(event);
}

void TGlyphSpeedButton::mousePressEvent(QMouseEvent *event)
{
    MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TGlyphSpeedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    MouseDown(event->button(), event->modifiers(), event->position().toPoint(), true);
}

void TGlyphSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    MouseMove(event->modifiers(), event->position().toPoint());
}

void TGlyphSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    MouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TGlyphSpeedButton::enterEvent(QEnterEvent *) { MouseEnter(); }

void TGlyphSpeedButton::leaveEvent(QEvent *) { MouseLeave(); }

void TGlyphSpeedButton::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        prebuildLook();
        evaluateMouseInside();
        update();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        m_glyph.Invalidate();
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TGlyphSpeedButton::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    evaluateMouseInside();
}

} // namespace wharf
