#include "mainform.h"

#include "designsurface.h"
#include "drawobject.h"
#include "encdec.h"
#include "fakeseams.h"
#include "files.h"
#include "keylist.h"
#include "profile.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include <sstream>

using namespace wharf;

namespace {

constexpr const char *kDefaultCtl = "[Edit]\nType=0\nWidth=121\nHeight=21\n"
                                    "[Button]\nType=1\nWidth=75\nHeight=25\nCaption=Button\n";

void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

std::string keyOf(const TStringList &keys, const char *key)
{
    return keyListValue(keys, key).value_or("<missing>");
}

} // namespace

class MainFormTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    wharf::testing::FakeSeams fake;
    uint32_t now = 5000;
    Tfrm_DrawObject drawObject;
    std::unique_ptr<Tfrm_Main> form;

    void SetUp() override
    {
        ASSERT_TRUE(writeFile(dir.file("default.ctl"), kDefaultCtl));
        form = std::make_unique<Tfrm_Main>(drawObject, fake.seams(), QString::fromStdString(dir.path()) + "/",
                                           [this] { return now; });
        form->show();
    }

    QWidget *surface() { return form->surface(); }
    template <typename T> T *find(const char *name) { return form->findChild<T *>(QLatin1String(name)); }
    QComboBox *controlList() { return find<QComboBox>("CB_Controls"); }

    void press(QPoint p) { mouse(surface(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void moveTo(QPoint p, bool held) { mouse(surface(), QEvent::MouseMove, p, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton); }
    void release(QPoint p) { mouse(surface(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }

    void placeEdit(QPoint p)
    {
        find<QToolButton>("B_Edit")->click();
        press(p);
        release(p);
    }
};

TEST_F(MainFormTest, StartsWithAnUntitledDialog)
{
    EXPECT_EQ(form->windowTitle(), "Brindlewharf Dialog Designer - Untitled dialog");
    EXPECT_EQ(controlList()->count(), 0);
    EXPECT_FALSE(find<QAction>("MI_Save")->isEnabled());
    EXPECT_FALSE(find<QAction>("MI_Delete")->isEnabled());
    EXPECT_FALSE(find<QWidget>("FrameShape")->isVisible());
    for (const char *b : {"B_Back", "B_Next", "B_Cancel"})
        EXPECT_TRUE(find<QPushButton>(b)->isEnabled()) << b;
    EXPECT_EQ(find<QWidget>("NB_Dialogs")->geometry(), QRect(169, 50, 324, 313));
    EXPECT_EQ(find<QToolButton>("B_ChkListBox")->toolTip(), "CheckListBox");
}

TEST_F(MainFormTest, GridPixels)
{
    const auto black = [this](int x, int y) {
        return form->surface()->picture().toImage().pixelColor(x, y) == QColor(Qt::black);
    };
    EXPECT_TRUE(black(0, 0));
    EXPECT_TRUE(black(5, 0));
    EXPECT_TRUE(black(320, 310));
    EXPECT_FALSE(black(1, 0));
    EXPECT_FALSE(black(7, 4));
    form->setGridPrefs({7, 4, true});
    EXPECT_TRUE(black(5, 0)); // not repainted until asked
    form->PaintGrid();
    EXPECT_FALSE(black(5, 0));
    EXPECT_TRUE(black(7, 4));
    EXPECT_TRUE(black(322, 312));
}

TEST_F(MainFormTest, PlacingBySyntheticEvents)
{
    auto *button = find<QToolButton>("B_Edit");
    button->click();
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(form->cursorClip().active());
    EXPECT_EQ(surface()->cursor().shape(), Qt::CrossCursor);
    press({17, 23});
    release({17, 23});
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(form->cursorClip().active());

    QLabel *picture = find<QLabel>("CC_Edit1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture, form->pictureOf(0));
    EXPECT_EQ(picture->geometry(), QRect(15, 20, 121, 21));
    EXPECT_EQ(picture->pixmap().size(), QSize(121, 21));
    EXPECT_EQ(picture->toolTip(), "Edit1");
    EXPECT_EQ(controlList()->itemText(0), "Edit1");
    EXPECT_EQ(controlList()->currentIndex(), 0);
    EXPECT_EQ(find<QWidget>("FrameShape")->geometry(), QRect(14, 19, 123, 23));
    EXPECT_TRUE(find<QWidget>("FrameShape")->isVisible());
    EXPECT_TRUE(find<QAction>("MI_Save")->isEnabled());
    EXPECT_TRUE(find<QAction>("MI_Delete")->isEnabled());
}

TEST_F(MainFormTest, MovingAndResizingBySyntheticEvents)
{
    placeEdit({20, 20});
    // A press inside drags; the outline follows the snapped point.
    press({30, 25});
    moveTo({93, 77}, true);
    EXPECT_TRUE(find<QWidget>("ResizeShape")->isVisible());
    EXPECT_EQ(find<QWidget>("ResizeShape")->geometry(), QRect(80, 70, 121, 21));
    now += 300;
    release({93, 77});
    EXPECT_FALSE(find<QWidget>("ResizeShape")->isVisible());
    EXPECT_EQ(keyOf(form->document().control(0).keys, "Left"), "80");
    EXPECT_EQ(form->pictureOf(0)->geometry().topLeft(), QPoint(80, 70));

    // Hovering the right edge, then pulling it out by 39 pixels.
    moveTo({198, 80}, false);
    EXPECT_EQ(surface()->cursor().shape(), Qt::SizeHorCursor);
    press({198, 80});
    moveTo({237, 80}, true);
    now += 300;
    release({237, 80});
    EXPECT_EQ(keyOf(form->document().control(0).keys, "Width"), "157");
    EXPECT_EQ(form->pictureOf(0)->pixmap().size(), QSize(157, 21));
}

TEST_F(MainFormTest, ControlListPopupAndFront)
{
    placeEdit({0, 0});
    placeEdit({10, 10});
    placeEdit({20, 20});
    controlList()->activated(0);
    EXPECT_EQ(form->selectedControl(), 0);
    find<QAction>("PI_BringToFront")->trigger();
    EXPECT_EQ(controlList()->itemText(2), "Edit1");
    EXPECT_EQ(form->selectedControl(), 2);
    // The raised picture is the top one among its siblings.
    const QObjectList &children = form->pictureOf(2)->parentWidget()->children();
    const auto top = std::find_if(children.rbegin(), children.rend(), [](QObject *o) {
        return o->objectName().startsWith("CC_");
    });
    EXPECT_EQ(*top, form->pictureOf(2));

    find<QAction>("PI_Delete")->trigger();
    EXPECT_EQ(controlList()->count(), 2);
    EXPECT_EQ(find<QLabel>("CC_Edit1"), nullptr);
    EXPECT_FALSE(find<QWidget>("FrameShape")->isVisible());
    EXPECT_FALSE(find<QAction>("PI_Delete")->isEnabled());
}

TEST_F(MainFormTest, SaveQuestion)
{
    using B = QMessageBox;
    struct Case {
        const char *what;
        bool modified, titled;
        std::vector<B::StandardButton> answers;
        std::vector<FileDialogResult> dialogs;
        bool expected, saved;
    };
    const std::string target = dir.file("asked.ddf");
    const std::string broken = dir.file("missing-folder/x.ddf");
    const Case cases[] = {
        {"not modified", false, false, {}, {}, true, false},
        {"No", true, false, {B::No}, {}, true, false},
        {"Cancel", true, false, {B::Cancel}, {}, false, false},
        {"Yes with a file name", true, true, {B::Yes}, {}, true, true},
        {"Yes, save dialog cancelled", true, false, {B::Yes}, {FileDialogResult{}}, false, false},
        {"Yes, saved as", true, false, {B::Yes}, {FileDialogResult{true, {QString::fromStdString(target)}, 0}}, true, true},
        {"Yes, save failed", true, false, {B::Yes}, {FileDialogResult{true, {QString::fromStdString(broken)}, 0}}, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        form->NewDialog();
        deleteFile(target);
        if (c.titled)
            form->SaveDialogFile(QString::fromStdString(target));
        deleteFile(target);
        form->SetModified(c.modified);
        fake.messages.shown.clear();
        fake.messages.answers.assign(c.answers.begin(), c.answers.end());
        fake.fileDialogs.results.assign(c.dialogs.begin(), c.dialogs.end());
        EXPECT_EQ(form->QuerySaveChanges(), c.expected);
        EXPECT_EQ(fileExists(target), c.saved);
        if (c.modified) {
            ASSERT_FALSE(fake.messages.shown.empty());
            EXPECT_EQ(fake.messages.shown[0].text, "Do you want to save the current file?");
            EXPECT_EQ(fake.messages.shown[0].buttons, B::Yes | B::No | B::Cancel);
        } else {
            EXPECT_TRUE(fake.messages.shown.empty());
        }
    }
}

TEST_F(MainFormTest, CloseAsksFirst)
{
    form->SetModified(true);
    fake.messages.answers = {QMessageBox::Cancel};
    QCloseEvent refused;
    QCoreApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    fake.messages.answers = {QMessageBox::No};
    QCloseEvent allowed;
    QCoreApplication::sendEvent(form.get(), &allowed);
    EXPECT_TRUE(allowed.isAccepted());
}

TEST_F(MainFormTest, LoadMessagesAndAnUnreadableFileKeepsNoName)
{
    const QString missing = QString::fromStdString(dir.file("gone.ddf"));
    form->LoadDialogFile(missing);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_EQ(fake.messages.shown[0].text, "The dialog file " + missing + " does not exist!");

    std::istringstream plain("[Dialog]\r\nDlgTitle=Std\r\n");
    std::ostringstream standard;
    EncryptStream(plain, standard, dialogPasswords()[1]);
    ASSERT_TRUE(writeFile(dir.file("std.ddf"), standard.str()));
    form->LoadDialogFile(QString::fromStdString(dir.file("std.ddf")));
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].type, MsgDlgType::Warning);
    EXPECT_EQ(form->windowTitle(), "Brindlewharf Dialog Designer - Std");

    const std::string foreign = dir.file("foreign.ddf");
    ASSERT_TRUE(writeFile(foreign, std::string(40, 'x')));
    form->LoadDialogFile(QString::fromStdString(foreign));
    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_TRUE(fake.messages.shown[2].text.startsWith("Cannot open this dialog."));
    // Save asks for a name rather than overwriting the file it could not read.
    form->SetModified(true);
    EXPECT_FALSE(form->MI_SaveClick());
    ASSERT_EQ(fake.fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fake.fileDialogs.requests[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(fake.fileDialogs.requests[0].defaultExt, "ddf");
    EXPECT_EQ(readFile(foreign).value(), std::string(40, 'x'));
}

TEST_F(MainFormTest, OpenThroughTheMenu)
{
    placeEdit({40, 40});
    const std::string path = dir.file("open.ddf");
    form->SaveDialogFile(QString::fromStdString(path));
    form->NewDialog();
    fake.fileDialogs.results = {FileDialogResult{true, {QString::fromStdString(path)}, 0}};
    find<QAction>("MI_Open")->trigger();
    EXPECT_EQ(controlList()->count(), 1);
    ASSERT_NE(find<QLabel>("CC_Edit1"), nullptr);
    EXPECT_EQ(find<QLabel>("CC_Edit1")->geometry().topLeft(), QPoint(40, 40));
    EXPECT_EQ(form->document().fileName(), path);
    // The next edit box continues the loaded counter.
    placeEdit({100, 100});
    EXPECT_EQ(controlList()->itemText(1), "Edit2");
}

// Open and Save As start in the folder of the dialog's file; an untitled
// dialog leaves the start to the file dialogs (the last folder used, else
// the documents folder), never the folder the program was started from.
TEST_F(MainFormTest, OpenAndSaveAsStartInTheFolderOfTheDialogsFile)
{
    find<QAction>("MI_Open")->trigger();
    form->MI_SaveAsClick();
    ASSERT_EQ(fake.fileDialogs.requests.size(), 2u);
    EXPECT_TRUE(fake.fileDialogs.requests[0].initialDir.isEmpty());
    EXPECT_TRUE(fake.fileDialogs.requests[1].initialDir.isEmpty());

    ASSERT_TRUE(createFolder(dir.file("dialogs")));
    const std::string path = dir.file("dialogs/mine.ddf");
    form->SaveDialogFile(QString::fromStdString(path));
    form->MI_SaveAsClick();
    find<QAction>("MI_Open")->trigger();
    ASSERT_EQ(fake.fileDialogs.requests.size(), 4u);
    for (size_t i : {2u, 3u}) {
        EXPECT_EQ(fake.fileDialogs.requests[i].initialDir, QString::fromStdString(dir.file("dialogs") + "/"));
        EXPECT_EQ(fake.fileDialogs.requests[i].fileName, QString::fromStdString(path));
    }
}

TEST_F(MainFormTest, LaterCommandsPlugIn)
{
    EXPECT_FALSE(find<QAction>("MI_DlgProperties")->isEnabled());
    int properties = 0, dialog = 0;
    TDesignerCommands commands;
    commands.controlProperties = [&] { ++properties; };
    commands.dialogProperties = [&] { ++dialog; };
    form->setCommands(commands);
    EXPECT_TRUE(find<QAction>("MI_DlgProperties")->isEnabled());
    find<QAction>("MI_DlgProperties")->trigger();
    EXPECT_EQ(dialog, 1);
    placeEdit({40, 40});
    mouse(surface(), QEvent::MouseButtonDblClick, {45, 45}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(properties, 1);
}

TEST(ShippedDefaultsTest, EveryTypeHasTypeWidthAndHeight)
{
    const std::string file = std::string(WHARF_PROGRAM_FOLDER) + "/default.ctl";
    ASSERT_TRUE(fileExists(file));
    for (int t = 0; t < kControlTypeCount; ++t) {
        const std::string section(controlTypeInfo(t).ctlSection);
        EXPECT_EQ(profileReadString(file, section, "Type"), std::to_string(t)) << section;
        EXPECT_GT(std::stoi(profileReadString(file, section, "Width").value_or("0")), 0) << section;
        EXPECT_GT(std::stoi(profileReadString(file, section, "Height").value_or("0")), 0) << section;
    }
}
