#pragma once
// `Tfrm_Main`, the dialog designer's main window: a mock-up of one wizard
// page whose white dialog area is the design surface, the palette of eleven
// control types, the control list `CB_Controls`, the menus and the file
// commands. The state lives in a TDialogDocument and a TSurfaceModel; the
// window feeds them events and shows what they hold.

#include "cursorclip.h"
#include "dialogdocument.h"
#include "seams.h"
#include "surfacemodel.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace wharf {

class HelpService;
class TDialogHelpKey;
class TDesignSurface;
class TShape;
class Tfrm_DrawObject;

inline constexpr std::string_view kMsgSaveChanges = "Do you want to save the current file?";

// Commands that the rest of the designer supplies: the clipboard, the
// property dialogs, the preferences and the test run. A menu item whose
// command is not set stays disabled.
struct TDesignerCommands {
    std::function<void()> copy, cut, paste;
    std::function<bool()> canPaste; // the clipboard offers the control format
    std::function<void()> controlProperties; // for the selected control
    std::function<void()> dialogProperties;
    std::function<void()> preferences;
    std::function<void()> testRun;
};

class Tfrm_Main : public QMainWindow {
    Q_OBJECT
public:
    // drawObject renders the placed controls; seams show messages and file
    // dialogs; programFolder holds "default.ctl" and the help files; clock
    // gives milliseconds (a steady clock when empty). drawObject and seams
    // must outlive the window.
    Tfrm_Main(Tfrm_DrawObject &drawObject, const Seams &seams, QString programFolder,
              TSurfaceModel::Clock clock = {}, QWidget *parent = nullptr);
    ~Tfrm_Main() override;

    // The three file operations, with their messages. SaveDialogFile throws
    // EDialogFileError when the file can't be written; LoadDialogFile shows
    // that error itself.
    void SaveDialogFile(const QString &path, TSaveMode mode = TSaveMode::Document);
    void LoadDialogFile(const QString &path);
    void NewDialog();

    // True when the current dialog may be dropped: not modified, or the
    // author said No, or said Yes and the save succeeded.
    bool QuerySaveChanges();
    void SetModified(bool value);

    // Renders a control from its key list (a new one when existing is
    // empty) and selects it; returns its index.
    size_t BuildControl(TStringList keys, std::optional<size_t> existing = std::nullopt);
    // Selects a control (-1: none).
    void CtlClick(long index);
    // Repaints the grid from the live preferences.
    void PaintGrid();

    // The live preferences (the preferences window sets them); the grid is
    // repainted only by PaintGrid.
    void setGridPrefs(const TGridPrefs &prefs);
    void setCommands(TDesignerCommands commands);

    TDialogDocument &document() { return m_document; }
    TSurfaceModel &surfaceModel() { return *m_model; }
    long selectedControl() const { return m_model->selected(); }
    // The picture of a placed control, or nullptr.
    QLabel *pictureOf(size_t index) const;
    TDesignSurface *surface() const { return ClientShape; }
    const TCursorClip &cursorClip() const { return m_clip; }
    const QString &programFolder() const { return m_programFolder; }

    // Menu and control handlers.
    void MI_NewClick();
    void MI_OpenClick();
    bool MI_SaveClick();   // true when the dialog was saved
    bool MI_SaveAsClick(); // true when the dialog was saved
    void MI_DeleteClick();
    void MI_BringToFrontClick();
    void MI_EditClick();   // the Edit menu opens: enables its items
    void MI_InfoClick();
    void B_EditClick(int type);
    void CB_ControlsChange(int index);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The folder of the dialog's file, where its file dialogs start; empty
    // for an untitled dialog.
    QString documentFolder() const;
    void buildWindow();
    void buildMenus();
    QAction *addItem(QMenu *menu, const QString &text, const QKeySequence &shortcut,
                     std::function<void()> handler, const char *name);
    // Shows what the document and the surface model hold.
    void sync();
    // True when the pictures were stacked anew.
    bool syncPictures();
    void syncControlList();
    void showError(const QString &text);
    bool trySave(const QString &path);

    Tfrm_DrawObject &m_drawObject;
    const Seams &m_seams;
    QString m_programFolder;
    TDialogDocument m_document;
    std::unique_ptr<TSurfaceModel> m_model;
    std::unique_ptr<HelpService> m_help;
    // F1 in any of the designer's windows opens the designer's help there.
    std::unique_ptr<TDialogHelpKey> m_helpKey;
    TDesignerCommands m_commands;
    TCursorClip m_clip;
    bool m_centred = false;

    struct Picture {
        QLabel *label = nullptr;
        uint64_t revision = 0;
    };
    std::unordered_map<uint64_t, Picture> m_pictures;
    std::vector<uint64_t> m_stacking; // ids, bottom-most first

    QStackedWidget *NB_Dialogs = nullptr;
    QWidget *m_page = nullptr;
    TDesignSurface *ClientShape = nullptr;
    TShape *FrameShape = nullptr;
    TShape *ResizeShape = nullptr;
    QPushButton *B_Back = nullptr;
    QPushButton *B_Next = nullptr;
    QPushButton *B_Cancel = nullptr;
    std::array<QToolButton *, kControlTypeCount> m_palette{};
    QComboBox *CB_Controls = nullptr;
    QMenu *PM_Pop = nullptr;
    QMenu *m_editMenu = nullptr;
    QAction *MI_Save = nullptr;
    QAction *MI_Debug = nullptr;
    QAction *MI_Copy = nullptr;
    QAction *MI_Cut = nullptr;
    QAction *MI_Paste = nullptr;
    QAction *MI_Delete = nullptr;
    QAction *MI_BringToFront = nullptr;
    QAction *MI_Properties = nullptr;
    QAction *MI_DlgProperties = nullptr;
    QAction *MI_Preferences = nullptr;
    QAction *PI_Delete = nullptr;
    QAction *PI_BringToFront = nullptr;
    QAction *PI_Properties = nullptr;
};

} // namespace wharf
