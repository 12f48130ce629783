#include "framedcombobox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPolygon>
#include <QProxyStyle>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

namespace wharf {
namespace {

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: return true;
    default: return false;
    }
}

// The character a key press types, as the system's character message would
// carry it: none for keys pressed with Ctrl or Alt and for keys that type
// nothing or more than one character.
QChar typedCharacter(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    const QString text = event->text();
    return text.size() == 1 ? text.front() : QChar();
}

constexpr char16_t kBackspace = 8;
constexpr char16_t kEscape = 27;

// The default system beep.
constexpr unsigned kDefaultBeep = 0;

// Styles such as Fusion open a list that is not editable as a menu-like
// popup as tall as all its items; the list always drops down as a list
// here, so that the number of visible items holds.
class ListPopupStyle final : public QProxyStyle {
public:
    explicit ListPopupStyle(const QString &baseStyle) : QProxyStyle(baseStyle) {}

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TCustomFramedComboBox::TCustomFramedComboBox(QWidget *parent, const Seams &seams)
    : QComboBox(parent), SearchTimer(new QTimer(this)), m_seams(&seams)
{
    SearchTimer->setObjectName(QStringLiteral("SearchTimer"));
    SearchTimer->setInterval(kSearchInterval);
    connect(SearchTimer, &QTimer::timeout, this, &TCustomFramedComboBox::SearchTimerTimer);
    connect(this, &QComboBox::activated, this, &TCustomFramedComboBox::onActivated);
    auto *listStyle = new ListPopupStyle(style()->name());
    listStyle->setParent(this);
    setStyle(listStyle);
    setMaxVisibleItems(8);
    // Typing into the open list goes through the own search, and the list's
    // window closing by any route ends the drop-down.
    view()->installEventFilter(this);
    if (QWidget *container = view()->parentWidget())
        container->installEventFilter(this);
    SetStyle(TComboBoxStyle::csDropDown);
}

TCustomFramedComboBox::~TCustomFramedComboBox()
{
    // QComboBox still changes its state while it is torn down; none of that
    // may reach handlers of a half-destroyed object.
    disconnect(this, nullptr, this, nullptr);
}

void TCustomFramedComboBox::SetStyle(TComboBoxStyle style)
{
    m_style = style;
    if (style == TComboBoxStyle::csDropDownList) {
        setEditable(false);
        return;
    }
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    QLineEdit *edit = lineEdit();
    edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, &TCustomFramedComboBox::onUserEdit);
}

void TCustomFramedComboBox::SetColor(TColor color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    view()->viewport()->update();
}

void TCustomFramedComboBox::SetFlatButtons(bool on)
{
    if (m_flatButtons == on)
        return;
    m_flatButtons = on;
    update();
}

void TCustomFramedComboBox::SetFrameColor(TColor color)
{
    if (m_frameColor == color)
        return;
    m_frameColor = color;
    update();
}

void TCustomFramedComboBox::SetFrameFlat(bool on)
{
    if (m_frameFlat == on)
        return;
    m_frameFlat = on;
    if (on) {
        SetFrameVisible(true);
        m_frameSides = kAllSides;
        m_frameStyle = m_frameFlatStyle;
    }
    update();
}

void TCustomFramedComboBox::SetFrameFlatStyle(TFrameStyle style)
{
    if (m_frameFlatStyle == style)
        return;
    m_frameFlatStyle = style;
    update();
}

void TCustomFramedComboBox::SetFrameFocusStyle(TFrameStyle style)
{
    if (m_frameFocusStyle == style)
        return;
    m_frameFocusStyle = style;
    update();
}

void TCustomFramedComboBox::SetFrameSides(TSides sides)
{
    if (m_frameSides == sides)
        return;
    m_frameSides = sides;
    update();
}

void TCustomFramedComboBox::SetFrameStyle(TFrameStyle style)
{
    if (m_frameStyle == style)
        return;
    m_frameStyle = style;
    update();
}

void TCustomFramedComboBox::SetFrameVisible(bool on)
{
    if (m_frameVisible == on)
        return;
    m_frameVisible = on;
    // The own frame replaces the style's 3-D frame.
    setFrame(!on);
    RecreateWnd();
    update();
}

void TCustomFramedComboBox::SetDropDownWidth(int width)
{
    if (m_dropDownWidth == width)
        return;
    m_dropDownWidth = width;
    view()->setMinimumWidth(std::max(width, 0));
}

void TCustomFramedComboBox::SetMaxLength(int length)
{
    m_maxLength = length;
    if (QLineEdit *edit = lineEdit())
        edit->setMaxLength(length > 0 ? length : 32767);
}

int TCustomFramedComboBox::GetSelLength() const
{
    const QLineEdit *edit = lineEdit();
    return edit ? static_cast<int>(edit->selectionLength()) : 0;
}

void TCustomFramedComboBox::SetSelLength(int length)
{
    if (QLineEdit *edit = lineEdit())
        edit->setSelection(GetSelStart(), length);
}

int TCustomFramedComboBox::GetSelStart() const
{
    const QLineEdit *edit = lineEdit();
    if (!edit)
        return 0;
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void TCustomFramedComboBox::SetSelStart(int start)
{
    if (QLineEdit *edit = lineEdit())
        edit->setCursorPosition(start);
}

void TCustomFramedComboBox::SearchTimerTimer()
{
    if (m_typing)
        return;
    m_searchText.clear();
    SearchTimer->stop();
}

void TCustomFramedComboBox::HotStateUpdate(bool mouse, bool on)
{
    if (m_droppedDown)
        return;
    if (mouse) {
        m_mouseOver = on;
    } else {
        m_focused = on;
        if (!on)
            m_mouseOver = false;
    }
    if (m_frameFlat) {
        m_frameStyle = (m_focused || m_mouseOver) ? m_frameFocusStyle : m_frameFlatStyle;
        repaint();
    } else if (m_flatButtons) {
        const int scrollBar = ScrollBarWidth();
        update(QRect(width() - scrollBar - 2, 0, scrollBar + 2, height()));
    }
    if (mouse) {
        if (on)
            emit OnMouseEnter(this);
        else
            emit OnMouseLeave(this);
    }
}

void TCustomFramedComboBox::InvalidKey()
{
    if (m_beepOnInvalidKey)
        m_seams->beep->beep(kDefaultBeep);
}

void TCustomFramedComboBox::SearchStep(const QString &text)
{
    const int index = FirstItemBeginningWith(text);
    if (index < 0) {
        InvalidKey();
        return;
    }
    selectIndex(index);
    m_searchText = text;
    Click();
    Change();
    ReportKeyPress();
}

bool TCustomFramedComboBox::Complete(const QString &text)
{
    const int index = FirstItemBeginningWith(text);
    if (index < 0)
        return false;
    m_settingText = true;
    selectIndex(index);
    m_settingText = false;
    Click();
    Change();
    ReportKeyPress();
    if (QLineEdit *edit = lineEdit()) {
        const int start = static_cast<int>(text.size());
        edit->setSelection(start, static_cast<int>(itemText(index).size()) - start);
    }
    emit OnMatch(this);
    return true;
}

int TCustomFramedComboBox::FirstItemBeginningWith(const QString &text) const
{
    for (int i = 0; i < count(); ++i)
        if (itemText(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    return -1;
}

void TCustomFramedComboBox::CloseUp(bool) { emit OnCloseUp(this); }

void TCustomFramedComboBox::showPopup()
{
    emit OnDropDown(this);
    // Set first: the list takes the focus while it opens.
    m_droppedDown = true;
    QComboBox::showPopup();
    // Qt opens no list for a combo without items.
    const QWidget *container = view()->parentWidget();
    if (container && !container->isVisible())
        m_droppedDown = false;
}

void TCustomFramedComboBox::hidePopup()
{
    QComboBox::hidePopup();
    popupClosed();
}

void TCustomFramedComboBox::popupClosed()
{
    if (!m_droppedDown)
        return;
    m_droppedDown = false;
    // Qt hides the list before it reports the chosen item, so whether the
    // drop-down was cancelled is only known once this event is handled.
    m_closePending = true;
    m_chosenWhileClosing = false;
    QMetaObject::invokeMethod(this, [this] { finishCloseUp(); }, Qt::QueuedConnection);
}

void TCustomFramedComboBox::finishCloseUp()
{
    if (!m_closePending)
        return;
    m_closePending = false;
    CloseUp(!m_chosenWhileClosing);
}

void TCustomFramedComboBox::onActivated()
{
    if (m_closePending)
        m_chosenWhileClosing = true;
    Click();
    Change();
}

void TCustomFramedComboBox::onUserEdit()
{
    if (m_settingText)
        return;
    Change();
    if (!m_pasting)
        reSelect();
}

void TCustomFramedComboBox::Click() { emit OnClick(this); }

void TCustomFramedComboBox::Change() { emit OnChange(this); }

QChar TCustomFramedComboBox::ReportKeyPress()
{
    if (!m_keyReported) {
        m_keyReported = true;
        emit OnKeyPress(this, m_currentKey);
    }
    return m_currentKey;
}

void TCustomFramedComboBox::selectIndex(int index)
{
    setCurrentIndex(index);
    if (m_droppedDown && index >= 0)
        view()->setCurrentIndex(model()->index(index, modelColumn(), rootModelIndex()));
}

void TCustomFramedComboBox::setEditTextQuietly(const QString &text)
{
    m_settingText = true;
    setEditText(text);
    m_settingText = false;
}

bool TCustomFramedComboBox::handleListChar(QChar ch)
{
    if (ch == kBackspace) {
        if (m_searchText.isEmpty()) {
            InvalidKey();
            return true;
        }
        const QString shorter = m_searchText.chopped(1);
        if (shorter.isEmpty()) {
            selectIndex(0);
            Click();
            Change();
            m_searchText.clear();
            ReportKeyPress();
        } else {
            SearchStep(shorter);
        }
        return true;
    }
    if (ch == kEscape) {
        selectIndex(0);
        Click();
        Change();
        return true;
    }
    if (!ch.isPrint())
        return false;
    m_typing = true;
    SearchStep(m_searchText + ch);
    SearchTimer->start();
    m_typing = false;
    return true;
}

bool TCustomFramedComboBox::handleEditKeyDown(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    QLineEdit *edit = lineEdit();
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down: m_searchText.clear(); return false;
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right: m_searchText = edit->text(); return false;
    default: break;
    }
    const bool paste = (key == Qt::Key_Insert && modifiers == Qt::ShiftModifier) ||
                       (modifiers == Qt::ControlModifier && (key == Qt::Key_V || key == Qt::Key_X));
    if (paste) {
        m_pasting = true;
        QComboBox::keyPressEvent(event);
        m_pasting = false;
        afterPaste();
        return true;
    }
    if (key == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        QString text = edit->text();
        text.remove(GetSelStart(), std::max(GetSelLength(), 1));
        m_searchText = text;
    }
    return false;
}

void TCustomFramedComboBox::afterPaste()
{
    m_searchText = lineEdit()->text();
    Complete(m_searchText);
}

bool TCustomFramedComboBox::handleEditChar(QKeyEvent *event, QChar ch)
{
    QLineEdit *edit = lineEdit();
    if (ch == kBackspace) {
        if (m_searchText.isEmpty()) {
            InvalidKey();
            return false;
        }
        const int caret = GetSelStart();
        const int selected = GetSelLength();
        if (caret < m_searchText.size()) {
            if (selected > 0)
                m_searchText.remove(caret, selected);
            else if (caret > 0)
                m_searchText.remove(caret - 1, 1);
        } else {
            m_searchText.chop(1);
        }
        Change();
        if (m_searchText.isEmpty()) {
            selectIndex(-1);
            setEditTextQuietly({});
            Click();
            Change();
            ReportKeyPress();
            return true;
        }
        return Complete(m_searchText);
    }
    if (ch == kEscape) {
        selectIndex(-1);
        setEditTextQuietly({});
        m_searchText.clear();
        Click();
        Change();
        ReportKeyPress();
        return true;
    }
    if (!ch.isPrint())
        return false;

    const QChar key = ReportKeyPress();
    if (!key.isPrint())
        return true; // a key-press handler swallowed it
    if (m_maxLength > 0 && edit->text().size() >= m_maxLength && GetSelLength() == 0) {
        m_seams->beep->beep(kDefaultBeep);
        return true;
    }
    const QString before = m_searchText;
    const int caret = GetSelStart();
    const int at = std::min<int>(caret, static_cast<int>(before.size()));
    QString typed = before;
    typed.remove(at, GetSelLength());
    typed.insert(at, key);
    m_searchText = typed;
    if (Complete(typed))
        return true;
    // No item fits: drop the completed tail and let the character reach the
    // edit field as typed.
    m_searchText = before;
    setEditTextQuietly(before);
    edit->setCursorPosition(at);
    edit->deselect();
    if (key == ch)
        return false;
    edit->insert(QString(key));
    event->accept();
    return true;
}

void TCustomFramedComboBox::reSelect()
{
    if (m_style != TComboBoxStyle::csDropDown)
        return;
    QLineEdit *edit = lineEdit();
    m_searchText = edit->text();
    const int index = FirstItemBeginningWith(m_searchText);
    if (index < 0)
        return;
    m_settingText = true;
    selectIndex(index);
    m_settingText = false;
    const int start = static_cast<int>(m_searchText.size());
    edit->setSelection(start, static_cast<int>(itemText(index).size()) - start);
}

void TCustomFramedComboBox::keyPressEvent(QKeyEvent *event)
{
    m_keyReported = false;
    const QChar ch = typedCharacter(event);
    m_currentKey = ch;
    if (m_style == TComboBoxStyle::csDropDownList) {
        if (isNavigationKey(event->key()) || event->key() == Qt::Key_Escape)
            m_searchText.clear();
        if (!ch.isNull() && handleListChar(ch)) {
            event->accept();
            return;
        }
        // Qt would search the items by any other text itself.
        if (!event->text().isEmpty()) {
            event->ignore();
            return;
        }
        QComboBox::keyPressEvent(event);
        return;
    }
    if (handleEditKeyDown(event))
        return;
    if (!ch.isNull() && handleEditChar(event, ch)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TCustomFramedComboBox::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || m_droppedDown) {
        QComboBox::wheelEvent(event);
        return;
    }
    event->accept();
    const int index = currentIndex();
    if (delta > 0) {
        if (index <= 0) {
            setCurrentIndex(0);
            return;
        }
        selectIndex(index - 1);
    } else {
        if (index >= count() - 1)
            return;
        selectIndex(index + 1);
    }
    Click();
    Change();
}

void TCustomFramedComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        HotStateUpdate(false, true);
}

void TCustomFramedComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    // The open list takes the focus for a while; that is no leaving.
    if (event->reason() == Qt::PopupFocusReason || m_droppedDown)
        return;
    m_searchText.clear();
    if (m_style == TComboBoxStyle::csDropDown && !lineEdit()->text().isEmpty()) {
        const int index = findText(lineEdit()->text(), Qt::MatchFixedString);
        if (index >= 0) {
            m_settingText = true;
            setCurrentIndex(index);
            m_settingText = false;
        } else {
            emit OnNotInList(this);
        }
    }
    HotStateUpdate(false, false);
}

void TCustomFramedComboBox::enterEvent(QEnterEvent *event)
{
    QComboBox::enterEvent(event);
    HotStateUpdate(true, true);
}

void TCustomFramedComboBox::leaveEvent(QEvent *event)
{
    QComboBox::leaveEvent(event);
    HotStateUpdate(true, false);
}

void TCustomFramedComboBox::paintEvent(QPaintEvent *event)
{
    QComboBox::paintEvent(event);
    if (!m_frameVisible)
        return;
    QPainter painter(this);
    PaintFrame(painter);
}

void TCustomFramedComboBox::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    if (m_frameVisible)
        update();
}

void TCustomFramedComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        RecreateWnd();
}

bool TCustomFramedComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress && m_style == TComboBoxStyle::csDropDownList) {
        auto *key = static_cast<QKeyEvent *>(event);
        m_keyReported = false;
        m_currentKey = typedCharacter(key);
        if (isNavigationKey(key->key()))
            m_searchText.clear();
        if (m_currentKey == kBackspace || m_currentKey.isPrint()) {
            handleListChar(m_currentKey);
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return false; // the list closes as usual
        default: return !key->text().isEmpty(); // no search of the list's own
        }
    }
    if (watched == view()->parentWidget() && event->type() == QEvent::Hide)
        popupClosed();
    if (lineEdit() && watched == lineEdit() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        m_searchText = lineEdit()->text();
    return QComboBox::eventFilter(watched, event);
}

int TCustomFramedComboBox::ScrollBarWidth() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

QRect TCustomFramedComboBox::ButtonRect() const
{
    const int left = width() - ScrollBarWidth() - 2;
    return QRect(left, 2, width() - 2 - left, height() - 4);
}

void TCustomFramedComboBox::PaintFrame(QPainter &painter)
{
    if (!m_frameVisible)
        return;
    const QPalette &colours = palette();
    const QRect client = rect();
    DrawFrameRings(painter, client, m_color, m_color, kAllSides, 2, colours);
    if (m_flatButtons && !m_focused && !m_mouseOver) {
        const QRect button = ButtonRect();
        if (button.isValid())
            painter.fillRect(button, toQColor(m_color, colours));
        const int cx = button.left() + ScrollBarWidth() / 2 - 1;
        const int cy = 2 + height() / 2;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygon({QPoint(cx, cy), QPoint(cx - 5, cy - 5), QPoint(cx + 5, cy - 5)}));
        painter.restore();
    }
    if (m_frameStyle == TFrameStyle::fsFlat)
        PaintFrameSides(painter, client, m_frameColor, m_frameColor, m_frameSides, colours);
    else
        PaintComboFrame(painter, client, m_frameStyle, m_frameSides, colours);
}

} // namespace wharf
