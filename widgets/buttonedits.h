#pragma once
// Line edits with a small button at their right end (TCustomButtonEdit),
// and the file-name edit built on them (TFilenameEdit) that the editor uses
// for every path field: its button (or ClickKey, Alt+Down) opens an open or
// save dialog preset from the text and writes the chosen name back, quoted
// when it holds a blank. Callers read and write the path only through
// FileName (GetFileName / SetFileName).
//
// The button sits inside the edit's content rectangle; the text keeps clear
// of it. ReadOnly stops typing and the button; DirectInput false stops only
// typing. The edit never gets lower than the height its font needs.

#include "glyphctrls.h"
#include "seams.h"

#include <QFlags>
#include <QImage>
#include <QKeyCombination>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <stdexcept>

namespace wharf {

// Raised by SetFileName (and a drop) for an invalid file name; the message
// is "Ungültiger Dateiname - <name>".
class EButtonEditError : public std::runtime_error {
public:
    explicit EButtonEditError(const QString &message);
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

enum class TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };
enum class TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum class TFileEditStyle { fsEdit, fsComboBox };

// The file dialog options that mean something here: ask before replacing a
// file (save dialogs), hide the read-only box (always hidden), choose
// several files (open dialogs).
enum TOpenOption : uint32_t { ofOverwritePrompt = 0x1, ofHideReadOnly = 0x2, ofAllowMultiSelect = 0x4 };
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)

// The text of a path field as a file name. A text naming an existing file
// comes back whole; a fully quoted text loses its quotes; when the first
// command-line token names an existing file (and the whole text does not),
// that token (the rest being its arguments); any other text whole. The
// text is trimmed first.
QString StripFileNameArgs(const QString &text);

// The text unchanged when it has no blank or starts with a double quote;
// otherwise in double quotes.
QString QuoteFileName(const QString &text);

// The pictures of the button kinds: the folder (14 x 12, opening folder
// with an arc above it, on magenta), the combo arrow, and the ellipsis for a
// button of buttonWidth (a monochrome strip max(1, buttonWidth - 6) x 4 with
// three 2 x 2 dots). The folder picture is shared and lives until the
// program ends.
const QImage &FolderGlyph();
QImage DropDownGlyph();
QImage EllipsisGlyph(int buttonWidth);

class TCustomButtonEdit;

// The embedded button: a speed button that also closes an open popup and
// takes the focus to its edit when pressed.
class TEditButton : public TGlyphSpeedButton {
    Q_OBJECT
public:
    TEditButton(TCustomButtonEdit *edit, QWidget *host, const Seams &seams);

    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint point, bool doubleClick = false) override;
    void Click() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TCustomButtonEdit *m_edit;
    bool m_noAction = false;
};

class TCustomButtonEdit : public QLineEdit {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TCustomButtonEdit *sender)>;

    // 21 high, with a 21 x 17 button; seams run the dialogs of descendants.
    explicit TCustomButtonEdit(QWidget *parent = nullptr, const Seams &seams = standardSeams());
    ~TCustomButtonEdit() override;

    TEditButton *Button() const { return m_button; }
    QWidget *ButtonHost() const { return m_host; }

    // The key that presses the button [Alt+Down]; nothing while
    // ButtonWidth is 0.
    QKeyCombination ClickKey() const { return m_clickKey; }
    void setClickKey(QKeyCombination key) { m_clickKey = key; }
    // No typing and no button [false]. (Hides QLineEdit's setReadOnly.)
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool value);
    // Typing allowed [true]; the button works either way.
    bool DirectInput() const { return m_directInput; }
    void setDirectInput(bool value);
    // Select all text when entered other than by a click [true].
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool value) { m_autoSelect = value; }
    // The button's width [21]. 0 or 1 hides it; a width not below the
    // edit's client width is refused.
    int ButtonWidth() const;
    void setButtonWidth(int width);
    // Where the button's picture comes from [gkCustom; gkDefault for file
    // edits]: gkDefault widens the button to the picture's width + 6 when
    // that is more, gkDropDown makes it as wide as a scroll bar.
    TGlyphKind GlyphKind() const { return m_glyphKind; }
    void setGlyphKind(TGlyphKind kind);
    QImage Glyph() const { return m_button->Glyph(); }
    void setGlyph(const QImage &bitmap); // makes the kind gkCustom
    int NumGlyphs() const { return m_button->NumGlyphs(); }
    void setNumGlyphs(int value); // only gkCustom takes other counts than 1
    QString ButtonHint() const { return m_button->toolTip(); }
    void setButtonHint(const QString &hint) { m_button->setToolTip(hint); }

    // The height the edit never goes below: the smaller text height of the
    // system and the edit font, plus 5.
    int MinimumEditHeight() const;

    // The button was clicked or ClickKey pressed: DoButtonClick unless
    // ReadOnly.
    void HandleButtonClick();
    // Fires OnButtonClick, then closes an open popup (accepting its value)
    // or opens it.
    virtual void DoButtonClick();

    TNotifyEvent OnButtonClick;
    // Every change of the text, by the author or by code.
    TNotifyEvent OnChange;

    bool PopupVisible() const { return m_popupVisible; }

protected:
    // The picture of gkDefault; null here.
    virtual QImage DefaultGlyphBitmap() const { return {}; }

    // Popup hooks for descendants that give the edit a popup (setPopup).
    void setPopup(QWidget *popup) { m_popup = popup; }
    QWidget *Popup() const { return m_popup; }
    virtual void OpenPopup(bool disableEditing);
    virtual void ClosePopup(bool accept);
    virtual void PlacePopup(QPoint screenPoint);
    virtual void ConcealPopup();
    virtual bool CanAcceptPopupValue(QVariant &value);
    virtual void ApplyPopupValue(const QVariant &value);
    virtual void SendValueToPopup(const QVariant &value);
    virtual QVariant ReadValueFromPopup();
    virtual void PopupValueChanged() {}
    virtual bool GetReadOnly() const { return m_readOnly; }

    void PlaceButton();
    void ApplyEditRect();
    void RebuildGlyph();
    const Seams &seams() const { return *m_seams; }

    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

    bool m_creating = true; // widths are taken as they are while constructing
    int m_defaultNumGlyphs = 1;

private:
    friend class TEditButton;
    int frameWidth() const;
    void applyReadOnly();
    void textWasChanged();

    const Seams *m_seams;
    QWidget *m_host;
    TEditButton *m_button;
    QKeyCombination m_clickKey{Qt::AltModifier, Qt::Key_Down};
    bool m_readOnly = false;
    bool m_directInput = true;
    bool m_autoSelect = true;
    bool m_popupVisible = false;
    TGlyphKind m_glyphKind = TGlyphKind::gkCustom;
    QPointer<QWidget> m_popup;
};

// A button edit for paths: accepts files dropped from the file manager
// (AcceptFiles), fires events around its dialog and shows the folder
// picture by default.
class TFilePathEdit : public TCustomButtonEdit {
    Q_OBJECT
public:
    // (sender, name in and out, go on in and out).
    using TExecOpenDialogEvent = std::function<void(TFilePathEdit *sender, QString &name, bool &action)>;

    explicit TFilePathEdit(QWidget *parent = nullptr, const Seams &seams = standardSeams());

    // Accept files dropped from the file manager [false].
    bool AcceptFiles() const { return m_acceptFiles; }
    void setAcceptFiles(bool value) { m_acceptFiles = value; }

    // The long and the short form of the file's own name (without folder);
    // empty when the file is not found.
    virtual QString LongFileNameOf() const = 0;
    virtual QString ShortFileNameOf() const = 0;
    // Takes one chosen or dropped name.
    virtual void TakeFileName(const QString &name) = 0;
    // Forgets the names chosen in the dialog.
    virtual void ResetFileNames() {}

    // Handles dropped files: the first one (all with multi-select) goes
    // through TakeFileName, then OnDropFiles fires. Nothing for an empty
    // list. EButtonEditError leaves it for an invalid name.
    void DropFiles(const QStringList &names);

    std::function<void(TFilePathEdit *sender)> OnDropFiles;
    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;

protected:
    QImage DefaultGlyphBitmap() const override { return FolderGlyph(); }
    virtual void NotifyBeforeDialog(QString &name, bool &action);
    virtual void NotifyAfterDialog(QString &name, bool &action);

    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    bool m_multiSelect = false;

private:
    bool m_acceptFiles = false;
};

// The settings of the file dialog a TFilenameEdit runs (what the class
// library keeps in its dialog object). Filter is "text|patterns|..." with
// patterns separated by ";", FilterIndex counts from 1.
struct TFileDialogSettings {
    TFileDialogKind kind = TFileDialogKind::dkOpen;
    QString DefaultExt;
    TFileEditStyle FileEditStyle = TFileEditStyle::fsEdit;
    QString FileName;
    QString Filter = QStringLiteral("All files (*.*)|*.*");
    int FilterIndex = 1;
    QString InitialDir;
    QStringList HistoryList;
    QStringList Files;
    TOpenOptions Options = ofHideReadOnly;
    QString Title = QStringLiteral("Browse");
};

class TFilenameEdit : public TFilePathEdit {
    Q_OBJECT
public:
    // seams.fileDialogs runs the dialog; the seams must outlive the edit.
    explicit TFilenameEdit(QWidget *parent = nullptr, const Seams &seams = standardSeams());

    // The path in the edit: StripFileNameArgs of the text.
    QString GetFileName() const;
    // Puts value into the edit, quoted when it holds a blank, and forgets
    // the dialog's file list; empty empties the edit. Throws
    // EButtonEditError, changing nothing, when the name is not valid
    // (IsValidFileName of StripFileNameArgs of the value).
    void SetFileName(const QString &value);
    QString FileName() const { return GetFileName(); }
    void setFileName(const QString &value) { SetFileName(value); }

    QString LongFileNameOf() const override;
    QString ShortFileNameOf() const override;
    void TakeFileName(const QString &name) override;
    void ResetFileNames() override;

    // The dialog: its button runs it preset from the text; on OK the chosen
    // name (quoted when it holds a blank) becomes the text.
    void DoButtonClick() override;

    TFileDialogKind DialogKind() const { return m_dialog.kind; } // [dkOpen]
    void setDialogKind(TFileDialogKind kind);
    QString DefaultExt() const { return m_dialog.DefaultExt; }
    void setDefaultExt(const QString &ext) { m_dialog.DefaultExt = ext; }
    TFileEditStyle FileEditStyle() const { return m_dialog.FileEditStyle; }
    void setFileEditStyle(TFileEditStyle style) { m_dialog.FileEditStyle = style; }
    QString Filter() const { return m_dialog.Filter; } // ["All files (*.*)|*.*"]
    void setFilter(const QString &filter) { m_dialog.Filter = filter; }
    int FilterIndex() const { return m_dialog.FilterIndex; } // [1]
    void setFilterIndex(int index) { m_dialog.FilterIndex = index; }
    QString InitialDir() const { return m_dialog.InitialDir; }
    void setInitialDir(const QString &folder) { m_dialog.InitialDir = folder; }
    QStringList HistoryList() const { return m_dialog.HistoryList; }
    void setHistoryList(const QStringList &list) { m_dialog.HistoryList = list; }
    TOpenOptions DialogOptions() const { return m_dialog.Options; } // [ofHideReadOnly]
    void setDialogOptions(TOpenOptions options);
    QString DialogTitle() const { return m_dialog.Title; } // ["Browse"]
    void setDialogTitle(const QString &title) { m_dialog.Title = title; }
    // The dialog's settings, with the files chosen (or dropped) last.
    const TFileDialogSettings &Dialog() const { return m_dialog; }

private:
    void RebuildDialog(TFileDialogKind kind);

    TFileDialogSettings m_dialog;
};

} // namespace wharf

Q_DECLARE_OPERATORS_FOR_FLAGS(wharf::TOpenOptions)
