#include "mainform.h"

#include "designsurface.h"
#include "drawobject.h"
#include "helpkey.h"
#include "helpservice.h"
#include "paletteicons.h"
#include "paths.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>

#include <chrono>
#include <unordered_set>

namespace wharf {
namespace {

constexpr const char *kPaletteNames[kControlTypeCount] = {
    "B_Edit", "B_Button", "B_Label", "B_CheckBox", "B_ComboBox", "B_RadioGroup",
    "B_RichEdit", "B_ListBox", "B_ChkListBox", "B_ProgressBar", "B_Image",
};

constexpr const char *kFileFilter = "Dialog Designer files (*.ddf)";

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

Qt::CursorShape cursorShape(TCursorKind kind)
{
    switch (kind) {
    case TCursorKind::Cross: return Qt::CrossCursor;
    case TCursorKind::SizeNWSE: return Qt::SizeFDiagCursor;
    case TCursorKind::SizeWE: return Qt::SizeHorCursor;
    case TCursorKind::SizeNESW: return Qt::SizeBDiagCursor;
    case TCursorKind::SizeNS: return Qt::SizeVerCursor;
    case TCursorKind::Default: break;
    }
    return Qt::ArrowCursor;
}

TSurfaceModel::Clock steadyClock()
{
    const auto start = std::chrono::steady_clock::now();
    return [start] {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    };
}

void placeShape(QWidget *shape, const std::optional<TRect> &r, bool restacked)
{
    if (!r || r->width <= 0 || r->height <= 0) {
        shape->hide();
        return;
    }
    const QRect geometry(r->left, r->top, r->width, r->height);
    if (shape->isVisible() && shape->geometry() == geometry && !restacked)
        return;
    shape->setGeometry(geometry);
    shape->show();
    shape->raise();
}

} // namespace

Tfrm_Main::Tfrm_Main(Tfrm_DrawObject &drawObject, const Seams &seams, QString programFolder,
                     TSurfaceModel::Clock clock, QWidget *parent)
    : QMainWindow(parent), m_drawObject(drawObject), m_seams(seams), m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frm_Main"));
    m_model = std::make_unique<TSurfaceModel>(m_document, (m_programFolder + QStringLiteral("default.ctl")).toStdString(),
                                              clock ? std::move(clock) : steadyClock());
    m_model->onPropertiesRequested = [this](size_t) {
        sync();
        if (m_commands.controlProperties)
            m_commands.controlProperties();
    };
    m_help = std::make_unique<HelpService>(m_programFolder, m_seams);
    m_helpKey = std::make_unique<TDialogHelpKey>(*m_help, QStringLiteral("Wharfdraft.hlp"), nullptr);
    qApp->installEventFilter(m_helpKey.get());
    buildWindow();
    buildMenus();
    PaintGrid();
    NewDialog();
}

Tfrm_Main::~Tfrm_Main() = default;

void Tfrm_Main::buildWindow()
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    auto *client = new QWidget(this);
    client->setFixedSize(508, 413);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    CB_Controls = new QComboBox(client);
    CB_Controls->setObjectName(QStringLiteral("CB_Controls"));
    CB_Controls->setGeometry(8, 14, 153, 22);
    connect(CB_Controls, &QComboBox::activated, this, &Tfrm_Main::CB_ControlsChange);

    for (int t = 0; t < kControlTypeCount; ++t) {
        auto *button = new QToolButton(client);
        button->setObjectName(QLatin1String(kPaletteNames[t]));
        button->setGeometry(169 + t * 30, 10, 30, 30);
        button->setAutoRaise(true);
        button->setCheckable(true);
        button->setIcon(paletteIcon(t));
        button->setIconSize(QSize(22, 22));
        button->setToolTip(qs(controlTypeInfo(t).hint));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, t] { B_EditClick(t); });
        m_palette[static_cast<size_t>(t)] = button;
    }

    auto *logo = new QFrame(client);
    logo->setObjectName(QStringLiteral("P_Logo"));
    logo->setGeometry(8, 50, 153, 313);
    logo->setStyleSheet(QStringLiteral(
        "#P_Logo { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #000080, stop:1 #1084d0); }"));

    NB_Dialogs = new QStackedWidget(client);
    NB_Dialogs->setObjectName(QStringLiteral("NB_Dialogs"));
    NB_Dialogs->setGeometry(169, 50, 324, 313);
    m_page = new QWidget;
    m_page->setObjectName(QStringLiteral("Page0"));
    QPalette white = m_page->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_page->setPalette(white);
    m_page->setAutoFillBackground(true);
    NB_Dialogs->addWidget(m_page);

    ClientShape = new TDesignSurface(m_page);
    ClientShape->setGeometry(kSurfaceRect.left, kSurfaceRect.top, kSurfaceRect.width, kSurfaceRect.height);
    FrameShape = new TShape(Qt::black, m_page);
    FrameShape->setObjectName(QStringLiteral("FrameShape"));
    ResizeShape = new TShape(Qt::red, m_page);
    ResizeShape->setObjectName(QStringLiteral("ResizeShape"));

    ClientShape->onPress = [this](TMouseButton b, QPoint p) {
        m_model->mousePress(b, p.x(), p.y());
        sync();
    };
    ClientShape->onMove = [this](bool left, QPoint p) {
        m_model->mouseMove(left, p.x(), p.y());
        sync();
    };
    ClientShape->onRelease = [this](TMouseButton b, QPoint p) {
        m_model->mouseRelease(b, p.x(), p.y());
        sync();
    };
    ClientShape->onDoubleClick = [this](QPoint p) {
        m_model->mouseDoubleClick(p.x(), p.y());
        sync();
    };
    ClientShape->onLeave = [this] {
        m_model->mouseLeave();
        sync();
    };
    ClientShape->onContextMenu = [this](QPoint local, QPoint global) {
        const long hit = m_model->controlAt(local.x(), local.y());
        if (hit < 0 || m_model->placing())
            return;
        m_model->CtlClick(hit);
        sync();
        PM_Pop->popup(global);
    };
    ClientShape->hintAt = [this](QPoint p) {
        const long hit = m_model->controlAt(p.x(), p.y());
        return hit < 0 ? QString() : qs(m_document.controlName(static_cast<size_t>(hit)));
    };

    auto *bevel = new QFrame(client);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 370, 492, 2);
    const auto wizardButton = [client](const char *name, const char *caption, int left) {
        auto *b = new QPushButton(QString::fromUtf8(caption), client);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(left, 380, 75, 25);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    B_Back = wizardButton("B_Back", "< &Back", 256);
    B_Next = wizardButton("B_Next", "&Next >", 331);
    B_Cancel = wizardButton("B_Cancel", "&Cancel", 418);
}

QAction *Tfrm_Main::addItem(QMenu *menu, const QString &text, const QKeySequence &shortcut,
                            std::function<void()> handler, const char *name)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

void Tfrm_Main::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    addItem(file, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { MI_NewClick(); }, "MI_New");
    addItem(file, QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), [this] { MI_OpenClick(); }, "MI_Open");
    MI_Save = addItem(file, QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { MI_SaveClick(); },
                      "MI_Save");
    addItem(file, QStringLiteral("Save &as..."), {}, [this] { MI_SaveAsClick(); }, "MI_SaveAs");
    file->addSeparator();
    MI_Debug = addItem(file, QStringLiteral("&Test && Debug"), QKeySequence(Qt::CTRL | Qt::Key_T),
                       [this] { if (m_commands.testRun) m_commands.testRun(); }, "MI_Debug");
    file->addSeparator();
    addItem(file, QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X), [this] { close(); },
            "MI_Exit");

    m_editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    connect(m_editMenu, &QMenu::aboutToShow, this, &Tfrm_Main::MI_EditClick);
    MI_Copy = addItem(m_editMenu, QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
                      [this] { if (m_commands.copy && selectedControl() >= 0) m_commands.copy(); }, "MI_Copy");
    MI_Cut = addItem(m_editMenu, QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X),
                     [this] { if (m_commands.cut && selectedControl() >= 0) m_commands.cut(); }, "MI_Cut");
    MI_Paste = addItem(m_editMenu, QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), [this] {
        if (m_commands.paste && m_commands.canPaste && m_commands.canPaste())
            m_commands.paste();
    }, "MI_Paste");
    m_editMenu->addSeparator();
    MI_Delete = addItem(m_editMenu, QStringLiteral("&Delete"), {}, [this] { MI_DeleteClick(); }, "MI_Delete");
    MI_BringToFront = addItem(m_editMenu, QStringLiteral("&Bring to front"), {}, [this] { MI_BringToFrontClick(); },
                              "MI_BringToFront");
    const auto properties = [this] {
        if (m_commands.controlProperties && selectedControl() >= 0)
            m_commands.controlProperties();
    };
    MI_Properties = addItem(m_editMenu, QStringLiteral("P&roperties..."), {}, properties, "MI_Properties");
    m_editMenu->addSeparator();
    MI_DlgProperties = addItem(m_editMenu, QStringLiteral("D&ialog properties..."), QKeySequence(Qt::CTRL | Qt::Key_D),
                               [this] { if (m_commands.dialogProperties) m_commands.dialogProperties(); },
                               "MI_DlgProperties");
    MI_Preferences = addItem(m_editMenu, QStringLiteral("P&references"), {},
                             [this] { if (m_commands.preferences) m_commands.preferences(); }, "MI_Preferences");

    QMenu *help = menuBar()->addMenu(QStringLiteral("&?"));
    addItem(help, QStringLiteral("&Help"), QKeySequence(Qt::CTRL | Qt::Key_F1),
            [this] { m_help->showContents(this, QStringLiteral("Wharfdraft.hlp")); }, "MI_Help");
    addItem(help, QStringLiteral("Help on &scripting language"), QKeySequence(Qt::SHIFT | Qt::Key_F1),
            [this] { m_help->showContents(this, QStringLiteral("ddscript.hlp")); }, "MI_ScriptHelp");
    help->addSeparator();
    addItem(help, QStringLiteral("&Info"), QKeySequence(Qt::CTRL | Qt::Key_I), [this] { MI_InfoClick(); }, "MI_Info");

    PM_Pop = new QMenu(this);
    PM_Pop->setObjectName(QStringLiteral("PM_Pop"));
    PI_Delete = addItem(PM_Pop, QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete), [this] { MI_DeleteClick(); },
                        "PI_Delete");
    PI_BringToFront = addItem(PM_Pop, QStringLiteral("&Bring to front"), {}, [this] { MI_BringToFrontClick(); },
                              "PI_BringToFront");
    PI_Properties = addItem(PM_Pop, QStringLiteral("&Properties"), QKeySequence(Qt::CTRL | Qt::Key_P), properties,
                            "PI_Properties");
    // The popup's shortcuts work while the popup is closed.
    addActions(PM_Pop->actions());
}

// ---------------------------------------------------------------------------
// Showing the state

void Tfrm_Main::sync()
{
    const bool restacked = syncPictures();
    placeShape(FrameShape, m_model->frameShape(), restacked);
    placeShape(ResizeShape, m_model->resizeShape(), restacked);
    syncControlList();
    ClientShape->setCursor(cursorShape(m_model->cursor()));
    if (m_model->cursorConfined())
        m_clip.clip(QRect(NB_Dialogs->mapToGlobal(QPoint(0, 0)), NB_Dialogs->size()));
    else
        m_clip.release();
    for (int t = 0; t < kControlTypeCount; ++t)
        m_palette[static_cast<size_t>(t)]->setChecked(m_model->paletteDown(t));
    MI_Save->setEnabled(m_document.modified());
    setWindowTitle(qs(m_document.caption()));
    const TDialogPage &page = m_document.page();
    B_Back->setEnabled(page.backEnabled);
    B_Next->setEnabled(page.nextEnabled);
    B_Cancel->setEnabled(page.cancelEnabled);

    const bool selected = selectedControl() >= 0;
    MI_Copy->setEnabled(selected && m_commands.copy);
    MI_Cut->setEnabled(selected && m_commands.cut);
    MI_Paste->setEnabled(bool(m_commands.paste));
    MI_Delete->setEnabled(selected);
    MI_BringToFront->setEnabled(selected);
    MI_Properties->setEnabled(selected && m_commands.controlProperties);
    MI_DlgProperties->setEnabled(bool(m_commands.dialogProperties));
    MI_Preferences->setEnabled(bool(m_commands.preferences));
    MI_Debug->setEnabled(bool(m_commands.testRun));
    PI_Delete->setEnabled(selected);
    PI_BringToFront->setEnabled(selected);
    PI_Properties->setEnabled(selected && m_commands.controlProperties);
}

bool Tfrm_Main::syncPictures()
{
    std::unordered_set<uint64_t> live;
    live.reserve(m_document.controlCount());
    for (size_t i = 0; i < m_document.controlCount(); ++i)
        live.insert(m_document.control(i).id);
    for (auto it = m_pictures.begin(); it != m_pictures.end();) {
        if (!live.count(it->first)) {
            delete it->second.label;
            it = m_pictures.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<uint64_t> stacking;
    for (size_t i = 0; i < m_document.controlCount(); ++i) {
        const TDialogControl &control = m_document.control(i);
        Picture &picture = m_pictures[control.id];
        if (!picture.label) {
            picture.label = new QLabel(m_page);
            picture.label->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        const TRect b = m_model->controlBounds(i);
        if (const uint64_t revision = m_model->controlRevision(i); revision != picture.revision) {
            picture.label->setPixmap(m_drawObject.renderControl(control.keys, b.width, b.height));
            picture.revision = revision;
            const QString name = qs(m_document.controlName(i));
            picture.label->setObjectName(QStringLiteral("CC_") + name);
            picture.label->setToolTip(name);
        }
        picture.label->setGeometry(b.left, b.top, b.width, b.height);
        picture.label->show();
        stacking.push_back(control.id);
    }
    if (stacking == m_stacking)
        return false;
    // Later controls lie above earlier ones.
    for (const uint64_t id : stacking)
        m_pictures[id].label->raise();
    m_stacking = std::move(stacking);
    return true;
}

void Tfrm_Main::syncControlList()
{
    QStringList names;
    for (size_t i = 0; i < m_document.controlCount(); ++i)
        names << qs(m_document.controlName(i));
    bool same = names.size() == CB_Controls->count();
    for (qsizetype i = 0; same && i < names.size(); ++i)
        same = CB_Controls->itemText(static_cast<int>(i)) == names[i];
    if (!same) {
        CB_Controls->clear();
        CB_Controls->addItems(names);
    }
    CB_Controls->setCurrentIndex(static_cast<int>(selectedControl()));
}

QLabel *Tfrm_Main::pictureOf(size_t index) const
{
    if (index >= m_document.controlCount())
        return nullptr;
    const auto it = m_pictures.find(m_document.control(index).id);
    return it == m_pictures.end() ? nullptr : it->second.label;
}

// ---------------------------------------------------------------------------
// Document

void Tfrm_Main::SaveDialogFile(const QString &path, TSaveMode mode)
{
    m_document.SaveDialogFile(path.toStdString(), mode);
    sync();
}

void Tfrm_Main::LoadDialogFile(const QString &path)
{
    TLoadResult result;
    try {
        result = m_document.LoadDialogFile(path.toStdString());
    } catch (const EDialogFileError &e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    if (result != TLoadResult::Missing && result != TLoadResult::NotAFile) {
        m_model->resetFromDocument();
        sync();
    }
    const QString message = qs(loadResultMessage(result, path.toStdString()));
    if (result == TLoadResult::StandardEdition)
        m_seams.messages->messageDlg(this, MsgDlgType::Warning, message, QMessageBox::Ok, QMessageBox::Ok);
    else if (!message.isEmpty())
        showError(message);
    if (const std::string &unfinished = m_document.unfinishedSaveMessage(); !unfinished.empty())
        m_seams.messages->messageDlg(this, MsgDlgType::Warning, qs(unfinished), QMessageBox::Ok, QMessageBox::Ok);
}

void Tfrm_Main::NewDialog()
{
    m_document.NewDialog();
    m_model->resetFromDocument();
    sync();
}

bool Tfrm_Main::QuerySaveChanges()
{
    if (!m_document.modified())
        return true;
    switch (askYesNoCancel(m_seams, this, qs(kMsgSaveChanges))) {
    case QMessageBox::Yes:
        return MI_SaveClick();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void Tfrm_Main::SetModified(bool value)
{
    m_document.setModified(value);
    sync();
}

size_t Tfrm_Main::BuildControl(TStringList keys, std::optional<size_t> existing)
{
    const size_t index = m_model->BuildControl(std::move(keys), existing);
    sync();
    return index;
}

void Tfrm_Main::CtlClick(long index)
{
    m_model->CtlClick(index);
    sync();
}

void Tfrm_Main::PaintGrid()
{
    const TGridPrefs &prefs = m_model->gridPrefs();
    ClientShape->paintGrid(prefs.xGrid, prefs.yGrid);
}

void Tfrm_Main::setGridPrefs(const TGridPrefs &prefs)
{
    m_model->setGridPrefs(prefs);
}

void Tfrm_Main::setCommands(TDesignerCommands commands)
{
    m_commands = std::move(commands);
    sync();
}

void Tfrm_Main::showError(const QString &text)
{
    wharf::showError(m_seams, this, text);
}

bool Tfrm_Main::trySave(const QString &path)
{
    try {
        SaveDialogFile(path);
        return true;
    } catch (const std::exception &e) {
        showError(QString::fromUtf8(e.what()));
        return false;
    }
}

// ---------------------------------------------------------------------------
// Menu and control handlers

void Tfrm_Main::MI_NewClick()
{
    if (QuerySaveChanges())
        NewDialog();
}

void Tfrm_Main::MI_OpenClick()
{
    if (!QuerySaveChanges())
        return;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.initialDir = documentFolder();
    request.fileName = m_document.hasFileName() ? qs(m_document.fileName()) : QString();
    request.filter = QLatin1String(kFileFilter);
    request.defaultExt = qs(kDialogFileExt);
    const FileDialogResult result = m_seams.fileDialogs->run(this, request);
    if (result.accepted && !result.files.isEmpty())
        LoadDialogFile(result.files.front());
}

bool Tfrm_Main::MI_SaveClick()
{
    if (m_document.hasFileName())
        return trySave(qs(m_document.fileName()));
    return MI_SaveAsClick();
}

bool Tfrm_Main::MI_SaveAsClick()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.initialDir = documentFolder();
    request.fileName = m_document.hasFileName() ? qs(m_document.fileName()) : QString();
    request.filter = QLatin1String(kFileFilter);
    request.defaultExt = qs(kDialogFileExt);
    request.overwritePrompt = true;
    const FileDialogResult result = m_seams.fileDialogs->run(this, request);
    if (!result.accepted || result.files.isEmpty())
        return false;
    return trySave(result.files.front());
}

QString Tfrm_Main::documentFolder() const
{
    if (!m_document.hasFileName())
        return {};
    return QString::fromStdString(extractFilePath(toNativePath(m_document.fileName())));
}

void Tfrm_Main::MI_DeleteClick()
{
    m_model->deleteSelected();
    sync();
}

void Tfrm_Main::MI_BringToFrontClick()
{
    m_model->bringSelectedToFront();
    sync();
}

void Tfrm_Main::MI_EditClick()
{
    sync();
    MI_Paste->setEnabled(m_commands.paste && m_commands.canPaste && m_commands.canPaste());
}

void Tfrm_Main::MI_InfoClick()
{
    showInformation(m_seams, this, QStringLiteral("Brindlewharf Professional\nVersion 2.0\n\nDialog Designer"));
}

void Tfrm_Main::B_EditClick(int type)
{
    m_model->paletteClick(type);
    sync();
}

void Tfrm_Main::CB_ControlsChange(int index)
{
    m_model->CtlClick(index);
    sync();
}

void Tfrm_Main::closeEvent(QCloseEvent *event)
{
    if (QuerySaveChanges()) {
        m_clip.release();
        event->accept();
    } else {
        event->ignore();
    }
}

void Tfrm_Main::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (QScreen *screen = this->screen(); screen && !m_centred) {
        m_centred = true;
        move(screen->availableGeometry().center() - rect().center());
    }
}

} // namespace wharf
