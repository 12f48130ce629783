#pragma once
// TScriptMemo: the editor for setup scripts that both programs embed. A
// plain-text edit (M_Script) with comment colouring, a hidden list of the
// script commands read from "script.dat" in the program folder (opened and
// searched with Ctrl+L, inserted with RETURN or a double-click), keyword
// help from "ddscript.hlp" (Ctrl+H) and a context menu for the clipboard.
//
// Module state, one per program and shared by all frames: HighlightSyntax
// (the owner program sets it from its settings), SuppressHighlight,
// TargetEdit (the edit the list or help was last opened from) and
// CommandSearchText (what was typed into the open list).
//
// Links against wharf_widgets only, so the dialog designer can use it
// without the rest of the editor.

#include "helpservice.h"
#include "seams.h"

#include <QFrame>
#include <QStringList>

class QAction;
class QListWidget;
class QMenu;
class QPlainTextEdit;

namespace wharf {

class ScriptHighlighter;

class TScriptMemo : public QFrame {
    Q_OBJECT
public:
    // The program folder is programFolder() until set; seams show messages
    // and open help and must outlive the frame.
    explicit TScriptMemo(QWidget *parent = nullptr, const Seams &seams = standardSeams());
    ~TScriptMemo() override;

    QPlainTextEdit *M_Script;
    QListWidget *LB_Commands;
    QMenu *PM_SMemo;
    QAction *MI_Copy;
    QAction *MI_Cut;
    QAction *MI_Paste;
    QAction *N2;
    QAction *MI_Refresh;

    // The script's lines (none for an empty script).
    QStringList Lines() const;
    void setLines(const QStringList &lines);

    // Where "script.dat" and the help file are looked up; ends with "/".
    const QString &programFolder() const { return m_programFolder; }
    void setProgramFolder(const QString &folder);

    static bool HighlightSyntax();
    static void setHighlightSyntax(bool on);
    static bool SuppressHighlight();
    static QString CommandSearchText();
    static QPlainTextEdit *TargetEdit();
    // A missing "script.dat" is reported once per program; after this the
    // next failed load reports it again.
    static void forgetCommandFileReport();

    // Recolours the whole text, unless HighlightSyntax is off or the
    // command list or help is in use (owners call it after loading lines).
    void M_ScriptChange(QObject *Sender);
    // Loads the command list when it is empty.
    void M_ScriptEnter(QObject *Sender);
    // Ctrl+L opens the command list at the command named by the word before
    // the caret, Ctrl+H shows help on the whole word the caret is in. True
    // when it used the key.
    bool M_ScriptKeyDown(QObject *Sender, int Key, Qt::KeyboardModifiers Shift);
    // Inserts the selected command with empty parameter places.
    void LB_CommandsDblClick(QObject *Sender);
    void LB_CommandsExit(QObject *Sender);
    // RETURN inserts, ESC closes. True when it used the key.
    bool LB_CommandsKeyDown(QObject *Sender, int Key);
    // Typed text searches the list by command name.
    void LB_CommandsKeyPress(QObject *Sender, QChar Key);
    void PM_SMemoPopup(QObject *Sender);
    void MI_CopyClick(QObject *Sender);
    void MI_CutClick(QObject *Sender);
    void MI_PasteClick(QObject *Sender);
    void MI_RefreshClick(QObject *Sender);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool loadCommands();
    // Sizes the command list to whole rows.
    void fitCommandRows();
    // Selects the word before the caret (wholeWord: the whole word the
    // caret stands in or at) and returns it; a selection is kept as it is.
    QString selectWordAtCaret(bool wholeWord);

    const Seams *m_seams;
    QString m_programFolder;
    HelpService m_help;
    ScriptHighlighter *m_highlighter;
    bool m_closingList = false;
};

} // namespace wharf
