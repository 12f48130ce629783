#include "buttonedits.h"

#include "colors.h"
#include "drawutils.h"
#include "fileroutines.h"
#include "files.h"
#include "paths.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QUrl>

#include <algorithm>
#include <cstring>

namespace wharf {
namespace {

constexpr int kDefaultButtonWidth = 21;
constexpr int kDefaultButtonHeight = 17;
constexpr int kDefaultEditHeight = 21;
constexpr int kSystemBorderHeight = 1;

const QString kInvalidFileName = QStringLiteral("Ungültiger Dateiname - %1");

QImage pictureFrom(const char *const rows[], int height, std::initializer_list<std::pair<char, QRgb>> colours)
{
    const int width = static_cast<int>(std::strlen(rows[0]));
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            QRgb value = qRgb(255, 0, 255);
            for (const auto &[key, colour] : colours)
                if (rows[y][x] == key)
                    value = colour;
            image.setPixel(x, y, value);
        }
    return image;
}

QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files << url.toLocalFile();
    return files;
}

QStringList splitPatterns(const QString &patterns)
{
    QStringList out;
    for (const QString &part : patterns.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts))
        out << part;
    return out;
}

// A filter of "text|patterns|text|patterns" pairs as the desktop's dialog
// takes it: "text (patterns);;...". "*.*" means every file, so it becomes
// "*" (on this system "*.*" would skip names without a dot).
QString qtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString text = parts.at(i).trimmed();
        const QStringList patterns = splitPatterns(i + 1 < parts.size() ? parts.at(i + 1) : QStringLiteral("*"));
        QStringList qtPatterns;
        for (const QString &p : patterns)
            qtPatterns << (p == u"*.*" ? QStringLiteral("*") : p);
        if (qtPatterns.isEmpty())
            qtPatterns << QStringLiteral("*");
        const QString group = u'(' + qtPatterns.join(u' ') + u')';
        const qsizetype open = text.lastIndexOf(u'(');
        if (text.endsWith(u')') && open >= 0 &&
            splitPatterns(text.mid(open + 1, text.size() - open - 2)) == patterns)
            text = text.left(open) + group;
        else
            text = (text.isEmpty() ? QString() : text + u' ') + group;
        entries << text;
    }
    return entries.join(QStringLiteral(";;"));
}

QString folderPart(const QString &path) { return QString::fromStdString(extractFilePath(path.toStdString())); }

} // namespace

EButtonEditError::EButtonEditError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

QString StripFileNameArgs(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || fileExists(trimmed.toStdString()))
        return trimmed;
    if (trimmed.size() >= 2 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"')) {
        const QString inner = trimmed.mid(1, trimmed.size() - 2);
        if (!inner.contains(u'"'))
            return inner;
    }
    QString file;
    QString params;
    SplitFileAndParams(trimmed, file, params);
    if (!params.isEmpty() && !file.isEmpty() && fileExists(file.toStdString()))
        return file;
    return trimmed;
}

QString QuoteFileName(const QString &text)
{
    if (!text.contains(u' ') || text.startsWith(u'"'))
        return text;
    return u'"' + text + u'"';
}

const QImage &FolderGlyph()
{
    // K outline, Y yellow, W white, O dark yellow, anything else magenta.
    // The bottom-left pixel is background: the button takes that pixel's
    // colour as the transparent one.
    static const char *const rows[] = {
        "........KKK...",
        ".......K...K.K",
        "............KK",
        ".KKKK.....KKKK",
        "KWWWWK........",
        "KWYYYKKKKKKKK.",
        "KWYYYYYYYYYYK.",
        "KWYYKKKKKKKKKK",
        "KWYKOOOOOOOOOK",
        "KYKOOOOOOOOOK.",
        "KKOOOOOOOOOK..",
        ".KKKKKKKKKK...",
    };
    static const QImage folder =
        pictureFrom(rows, 12,
                    {{'K', qRgb(0, 0, 0)}, {'Y', qRgb(255, 255, 0)}, {'W', qRgb(255, 255, 255)},
                     {'O', qRgb(128, 128, 0)}});
    return folder;
}

QImage DropDownGlyph()
{
    static const char *const rows[] = {
        ".........",
        ".KKKKKKK.",
        "..KKKKK..",
        "...KKK...",
        "....K....",
        ".........",
    };
    return pictureFrom(rows, 6, {{'K', qRgb(0, 0, 0)}});
}

QImage EllipsisGlyph(int buttonWidth)
{
    const int w = std::max(1, buttonWidth - 6);
    const int gap = std::clamp((w - 6) / 2, 1, 3);
    const int left = (w - 6 - 2 * gap) / 2;
    QImage image(w, 4, QImage::Format_Mono);
    image.setColor(0, qRgb(0, 0, 0));
    image.setColor(1, qRgb(255, 255, 255));
    image.fill(1);
    for (int dot : {left, left + gap + 2, left + 2 * gap + 4})
        for (int y = 1; y <= 2; ++y)
            for (int x = dot; x <= dot + 1; ++x)
                if (x >= 0 && x < w)
                    image.setPixel(x, y, 0);
    return image;
}

// --- TEditButton ---------------------------------------------------------

TEditButton::TEditButton(TCustomButtonEdit *edit, QWidget *host, const Seams &seams)
    : TGlyphSpeedButton(host, seams), m_edit(edit)
{
}

void TEditButton::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint point, bool doubleClick)
{
    if (button == Qt::LeftButton) {
        m_noAction = m_edit->m_popupVisible;
        if (m_noAction)
            m_edit->ClosePopup(true);
        else if ((m_edit->focusPolicy() & Qt::TabFocus) && m_edit->isEnabled() && m_edit->isVisible() &&
                 !m_edit->hasFocus())
            m_edit->setFocus(Qt::MouseFocusReason);
    }
    TGlyphSpeedButton::MouseDown(button, keys, point, doubleClick);
}

void TEditButton::Click()
{
    if (m_noAction) {
        m_noAction = false;
        return;
    }
    TGlyphSpeedButton::Click();
}

void TEditButton::paintEvent(QPaintEvent *event)
{
    TGlyphSpeedButton::paintEvent(event);
    if (PaintState() == TButtonPaintState::psDown)
        return;
    // The button's left edge blends into the edit.
    QPainter painter(this);
    const int h = height();
    painter.fillRect(QRect(0, 0, 1, std::max(0, h - 1)), toQColor(clBtnFace, palette()));
    painter.fillRect(QRect(1, 1, 1, std::max(0, h - 3)), toQColor(clBtnHighlight, palette()));
}

// --- TCustomButtonEdit ---------------------------------------------------

TCustomButtonEdit::TCustomButtonEdit(QWidget *parent, const Seams &seams) : QLineEdit(parent), m_seams(&seams)
{
    m_host = new QWidget(this);
    m_host->setObjectName(QStringLiteral("ButtonHost"));
    m_host->setCursor(Qt::ArrowCursor);
    m_host->resize(kDefaultButtonWidth, kDefaultButtonHeight);
    m_button = new TEditButton(this, m_host, seams);
    m_button->setObjectName(QStringLiteral("Button"));
    m_button->setGeometry(0, 0, kDefaultButtonWidth, kDefaultButtonHeight);
    m_button->OnClick = [this](TGlyphSpeedButton *) { HandleButtonClick(); };
    connect(this, &QLineEdit::textChanged, this, [this] { textWasChanged(); });
    setMinimumHeight(MinimumEditHeight());
    resize(width(), std::max(kDefaultEditHeight, MinimumEditHeight()));
    m_creating = false;
    PlaceButton();
}

TCustomButtonEdit::~TCustomButtonEdit() { m_button->OnClick = nullptr; }

int TCustomButtonEdit::frameWidth() const
{
    return hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
}

int TCustomButtonEdit::MinimumEditHeight() const
{
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    return std::min(systemHeight, fontMetrics().height()) + 4 * kSystemBorderHeight + 1;
}

void TCustomButtonEdit::applyReadOnly() { QLineEdit::setReadOnly(m_readOnly || !m_directInput); }

void TCustomButtonEdit::setReadOnly(bool value)
{
    m_readOnly = value;
    applyReadOnly();
}

void TCustomButtonEdit::setDirectInput(bool value)
{
    m_directInput = value;
    applyReadOnly();
}

int TCustomButtonEdit::ButtonWidth() const { return m_button->width(); }

void TCustomButtonEdit::setButtonWidth(int width)
{
    width = std::max(0, width);
    if (width == ButtonWidth())
        return;
    m_host->setVisible(width > 1);
    if (!m_creating && width >= this->width() - 2 * frameWidth())
        return;
    m_button->resize(width, m_button->height());
    PlaceButton();
    RebuildGlyph();
}

void TCustomButtonEdit::setGlyphKind(TGlyphKind kind)
{
    if (kind == m_glyphKind)
        return;
    m_glyphKind = kind;
    RebuildGlyph();
    if (kind == TGlyphKind::gkDefault)
        setButtonWidth(std::max(m_button->Glyph().width() / std::max(1, NumGlyphs()) + 6, ButtonWidth()));
    else if (kind == TGlyphKind::gkDropDown)
        setButtonWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
}

void TCustomButtonEdit::setGlyph(const QImage &bitmap)
{
    m_button->setGlyph(bitmap);
    setGlyphKind(TGlyphKind::gkCustom);
}

void TCustomButtonEdit::setNumGlyphs(int value)
{
    switch (m_glyphKind) {
    case TGlyphKind::gkDropDown:
    case TGlyphKind::gkEllipsis: m_button->setNumGlyphs(1); break;
    case TGlyphKind::gkDefault: m_button->setNumGlyphs(m_defaultNumGlyphs); break;
    case TGlyphKind::gkCustom: m_button->setNumGlyphs(value); break;
    }
}

void TCustomButtonEdit::RebuildGlyph()
{
    switch (m_glyphKind) {
    case TGlyphKind::gkDefault:
        m_button->setGlyph(DefaultGlyphBitmap());
        m_button->setNumGlyphs(m_defaultNumGlyphs);
        break;
    case TGlyphKind::gkDropDown:
        m_button->setGlyph(DropDownGlyph());
        m_button->setNumGlyphs(1);
        break;
    case TGlyphKind::gkEllipsis:
        m_button->setGlyph(EllipsisGlyph(ButtonWidth()));
        m_button->setNumGlyphs(1);
        break;
    case TGlyphKind::gkCustom:
        break;
    }
}

void TCustomButtonEdit::PlaceButton()
{
    const int f = frameWidth();
    const int b = ButtonWidth();
    const int h = std::max(0, height() - 2 * f);
    m_host->setGeometry(width() - b - f, f, b, h);
    m_button->setGeometry(0, 0, b, h);
    ApplyEditRect();
}

void TCustomButtonEdit::ApplyEditRect() { setTextMargins(0, 0, m_host->width() + 2, 0); }

void TCustomButtonEdit::HandleButtonClick()
{
    if (!GetReadOnly())
        DoButtonClick();
}

void TCustomButtonEdit::DoButtonClick()
{
    if (OnButtonClick)
        OnButtonClick(this);
    if (m_popup) {
        if (m_popupVisible)
            ClosePopup(true);
        else
            OpenPopup(false);
    }
}

void TCustomButtonEdit::textWasChanged()
{
    if (m_popupVisible)
        PopupValueChanged();
    else if (OnChange)
        OnChange(this);
}

void TCustomButtonEdit::OpenPopup(bool disableEditing)
{
    if (!m_popup || m_popupVisible || m_readOnly)
        return;
    const QSize size = m_popup->sizeHint().expandedTo(m_popup->size());
    const QPoint below = mapToGlobal(QPoint(0, height()));
    const QPoint rightEdge = mapToGlobal(QPoint(width(), height()));
    int x = isRightToLeft() ? below.x() : rightEdge.x() - size.width();
    int y = below.y();
    if (const QScreen *shown = screen()) {
        const QRect area = shown->availableGeometry();
        if (y + size.height() > area.bottom() + 1)
            y = mapToGlobal(QPoint(0, 0)).y() - size.height();
        x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    }
    SendValueToPopup(text().isEmpty() ? QVariant() : QVariant(text()));
    setFocus();
    PlacePopup(QPoint(x, y));
    m_popupVisible = true;
    if (disableEditing)
        QLineEdit::setReadOnly(true);
}

void TCustomButtonEdit::ClosePopup(bool accept)
{
    if (!m_popup || !m_popupVisible)
        return;
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QVariant value = ReadValueFromPopup();
    ConcealPopup();
    setFocus();
    applyReadOnly();
    update();
    if (accept && CanAcceptPopupValue(value) && !m_readOnly) {
        ApplyPopupValue(value);
        if (hasFocus())
            selectAll();
    }
    m_popupVisible = false;
}

void TCustomButtonEdit::PlacePopup(QPoint screenPoint)
{
    m_popup->setAttribute(Qt::WA_ShowWithoutActivating);
    m_popup->move(screenPoint);
    m_popup->show();
}

void TCustomButtonEdit::ConcealPopup() { m_popup->hide(); }

bool TCustomButtonEdit::CanAcceptPopupValue(QVariant &) { return true; }

void TCustomButtonEdit::ApplyPopupValue(const QVariant &value)
{
    const QString newText = value.toString();
    if (newText == text())
        return;
    const bool wasVisible = m_popupVisible;
    m_popupVisible = false; // the change is the author's choice, not a preview
    setText(newText);
    setModified(true);
    m_popupVisible = wasVisible;
}

void TCustomButtonEdit::SendValueToPopup(const QVariant &) {}

QVariant TCustomButtonEdit::ReadValueFromPopup() { return {}; }

void TCustomButtonEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) && m_popupVisible) {
        ClosePopup(key != Qt::Key_Escape);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    const Qt::KeyboardModifiers keys = event->modifiers() & ~Qt::KeypadModifier;
    if (key == m_clickKey.key() && keys == m_clickKey.keyboardModifiers() && ButtonWidth() > 0) {
        HandleButtonClick();
        event->accept();
    }
}

void TCustomButtonEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason)
        return;
    if (m_autoSelect && m_directInput)
        selectAll();
    else if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        deselect();
}

void TCustomButtonEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    ClosePopup(false);
}

void TCustomButtonEdit::mousePressEvent(QMouseEvent *event)
{
    if (m_popup && event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (!hasFocus())
            return;
        ClosePopup(false);
    }
    QLineEdit::mousePressEvent(event);
}

void TCustomButtonEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    if (!m_creating && height() < MinimumEditHeight()) {
        resize(width(), MinimumEditHeight()); // the resize that follows places the button
        return;
    }
    PlaceButton();
}

void TCustomButtonEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        setMinimumHeight(MinimumEditHeight());
        ApplyEditRect();
    } else if (event->type() == QEvent::StyleChange) {
        PlaceButton();
    }
}

// --- TFilePathEdit -------------------------------------------------------

TFilePathEdit::TFilePathEdit(QWidget *parent, const Seams &seams) : TCustomButtonEdit(parent, seams)
{
    m_creating = true;
    setGlyphKind(TGlyphKind::gkDefault);
    m_creating = false;
    PlaceButton();
}

void TFilePathEdit::NotifyBeforeDialog(QString &name, bool &action)
{
    if (OnBeforeDialog)
        OnBeforeDialog(this, name, action);
}

void TFilePathEdit::NotifyAfterDialog(QString &name, bool &action)
{
    if (OnAfterDialog)
        OnAfterDialog(this, name, action);
}

void TFilePathEdit::DropFiles(const QStringList &names)
{
    if (names.isEmpty())
        return;
    ResetFileNames();
    for (const QString &name : names) {
        TakeFileName(name);
        if (!m_multiSelect)
            break;
    }
    if (OnDropFiles)
        OnDropFiles(this);
}

void TFilePathEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_acceptFiles && !localFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    TCustomButtonEdit::dragEnterEvent(event);
}

void TFilePathEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_acceptFiles && !localFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    TCustomButtonEdit::dragMoveEvent(event);
}

void TFilePathEdit::dropEvent(QDropEvent *event)
{
    const QStringList files = m_acceptFiles ? localFiles(event->mimeData()) : QStringList();
    if (files.isEmpty()) {
        TCustomButtonEdit::dropEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // No exception may leave an event handler: a name the edit refuses is
    // reported and the text stays.
    try {
        DropFiles(files);
    } catch (const EButtonEditError &e) {
        showError(seams(), this, e.message());
    }
}

// --- TFilenameEdit -------------------------------------------------------

TFilenameEdit::TFilenameEdit(QWidget *parent, const Seams &seams) : TFilePathEdit(parent, seams)
{
    RebuildDialog(TFileDialogKind::dkOpen);
}

void TFilenameEdit::RebuildDialog(TFileDialogKind kind)
{
    // One settings object serves every kind of dialog, so the settings carry
    // over to the new kind as they are.
    m_dialog.kind = kind;
}

void TFilenameEdit::setDialogKind(TFileDialogKind kind)
{
    if (kind != m_dialog.kind)
        RebuildDialog(kind);
}

void TFilenameEdit::setDialogOptions(TOpenOptions options)
{
    if (options == m_dialog.Options)
        return;
    m_dialog.Options = options;
    m_multiSelect = options.testFlag(ofAllowMultiSelect);
    if (!m_multiSelect)
        ResetFileNames();
}

QString TFilenameEdit::GetFileName() const { return StripFileNameArgs(text()); }

void TFilenameEdit::SetFileName(const QString &value)
{
    if (!value.isEmpty() && !IsValidFileName(StripFileNameArgs(value).toStdString()))
        throw EButtonEditError(kInvalidFileName.arg(value));
    setText(value.isEmpty() ? QString() : QuoteFileName(value));
    ResetFileNames();
}

QString TFilenameEdit::LongFileNameOf() const
{
    return QString::fromStdString(ExpandToLongFileName(GetFileName().toStdString()));
}

QString TFilenameEdit::ShortFileNameOf() const
{
    return QString::fromStdString(ContractToShortFileName(GetFileName().toStdString()));
}

void TFilenameEdit::TakeFileName(const QString &name)
{
    if (!m_multiSelect) {
        SetFileName(name);
        return;
    }
    if (m_dialog.Files.isEmpty())
        SetFileName(name);
    m_dialog.Files << name;
}

void TFilenameEdit::ResetFileNames() { m_dialog.Files.clear(); }

void TFilenameEdit::DoButtonClick()
{
    TFilePathEdit::DoButtonClick();
    QString temp = StripFileNameArgs(text());
    bool action = true;
    NotifyBeforeDialog(temp, action);
    if (!action)
        return;

    // Preset the dialog from the text; a text that does not make a preset
    // opens the dialog with what was set before.
    if (IsValidFileName(temp.toStdString())) {
        const std::string path = temp.toStdString();
        const std::string folder = extractFilePath(path);
        // A relative name says nothing of where it lies: it is not looked
        // up against the folder the program was started from.
        if (isAbsolutePath(path) && FolderExists(folder))
            m_dialog.InitialDir = QString::fromStdString(folder);
        const std::string name = extractFileName(path);
        if (name.empty() || !IsValidFileName(name))
            temp.clear();
        m_dialog.FileName = temp;
    }

    FileDialogRequest request;
    const bool saving = m_dialog.kind == TFileDialogKind::dkSave || m_dialog.kind == TFileDialogKind::dkSavePicture;
    using Kind = FileDialogRequest::Kind;
    request.kind = saving ? Kind::Save : (m_multiSelect ? Kind::OpenMany : Kind::Open);
    request.title = m_dialog.Title;
    request.initialDir = m_dialog.InitialDir;
    request.fileName = m_dialog.FileName;
    request.filter = qtFileFilter(m_dialog.Filter);
    request.filterIndex = std::max(0, m_dialog.FilterIndex - 1);
    request.defaultExt = m_dialog.DefaultExt;
    request.overwritePrompt = m_dialog.Options.testFlag(ofOverwritePrompt);
    const FileDialogResult result = seams().fileDialogs->run(this, request);
    action = result.accepted;
    if (action) {
        m_dialog.FileName = result.files.value(0);
        m_dialog.Files = result.files;
        m_dialog.FilterIndex = result.filterIndex + 1;
        temp = m_dialog.FileName;
    }
    if (focusPolicy() != Qt::NoFocus && isEnabled() && isVisible())
        setFocus();
    NotifyAfterDialog(temp, action);
    if (action) {
        setText(QuoteFileName(temp));
        m_dialog.InitialDir = folderPart(m_dialog.FileName);
    }
}

} // namespace wharf
