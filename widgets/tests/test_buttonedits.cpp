#include "buttonedits.h"

#include "fakeseams.h"
#include "files.h"

#include <gtest/gtest.h>

#include <QDir>

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QStyle>
#include <QUrl>

namespace wharf {
namespace {

void pressKey(QWidget &widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
}

class FileEditTest : public ::testing::Test {
protected:
    FileEditTest() : m_edit(nullptr, m_fake.seams()) { m_edit.resize(160, 21); }

    QString scratchFile(const char *name)
    {
        const std::string path = m_folder.file(name);
        EXPECT_TRUE(writeFile(path, "x"));
        return QString::fromStdString(path);
    }
    QString folder() const { return QString::fromStdString(m_folder.path()) + u'/'; }

    ScratchFolder m_folder;
    testing::FakeSeams m_fake;
    TFilenameEdit m_edit;
};

TEST_F(FileEditTest, FileNamesComeBackWholeUnlessTheyCarryArguments)
{
    const QString existing = scratchFile("My Files a.txt");
    const QString program = scratchFile("setup tool.exe");
    struct Case {
        QString text;
        QString fileName;
    };
    const Case cases[] = {
        {existing, existing},                                     // an existing file with blanks
        {QStringLiteral("  ") + existing + u' ', existing},       // trimmed
        {u'"' + existing + u'"', existing},                       // quotes go
        {QStringLiteral("C:\\My Files\\a.txt"), QStringLiteral("C:\\My Files\\a.txt")}, // not yet there
        {QStringLiteral("\"C:\\My Files\\a.txt\""), QStringLiteral("C:\\My Files\\a.txt")},
        {QStringLiteral("{src}\\Read me.txt"), QStringLiteral("{src}\\Read me.txt")},
        {QStringLiteral("docs/new file.rtf"), QStringLiteral("docs/new file.rtf")},
        {u'"' + program + QStringLiteral("\" /s -x"), program}, // a program with its arguments
        {QStringLiteral("\"C:\\new dir\\a.exe\" /s"), QStringLiteral("\"C:\\new dir\\a.exe\" /s")},
        {QString(), QString()},
    };
    for (const Case &c : cases) {
        m_edit.setText(c.text);
        EXPECT_EQ(m_edit.GetFileName(), c.fileName) << c.text.toStdString();
    }
    EXPECT_EQ(m_edit.LongFileNameOf(), QString()); // the last text names no file
    m_edit.setText(existing);
    EXPECT_EQ(m_edit.LongFileNameOf(), QStringLiteral("My Files a.txt"));
    EXPECT_EQ(m_edit.ShortFileNameOf(), QStringLiteral("My Files a.txt"));

    for (const auto &[in, out] : {std::pair<const char *, const char *>{"a.txt", "a.txt"},
                                  {"C:\\My Files\\a.txt", "\"C:\\My Files\\a.txt\""},
                                  {"\"quoted already\"", "\"quoted already\""}, {"", ""}})
        EXPECT_EQ(QuoteFileName(QString::fromUtf8(in)), QString::fromUtf8(out));
}

TEST_F(FileEditTest, SetFileNameQuotesAndRejectsInvalidNames)
{
    int changes = 0;
    m_edit.OnChange = [&](TCustomButtonEdit *) { ++changes; };
    m_edit.SetFileName(QStringLiteral("C:\\My Files\\a.txt"));
    EXPECT_EQ(m_edit.text(), QStringLiteral("\"C:\\My Files\\a.txt\""));
    EXPECT_EQ(m_edit.FileName(), QStringLiteral("C:\\My Files\\a.txt"));
    EXPECT_EQ(changes, 1);

    // Windows-style paths keep that file system's rule.
    for (const char *bad : {"C:\\a[1].txt", "C:\\b]", "C:\\<c>", "x\\d>e", "\\\\srv\\f|g"}) {
        try {
            m_edit.SetFileName(QString::fromUtf8(bad));
            ADD_FAILURE() << bad << " was taken";
        } catch (const EButtonEditError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Ungültiger Dateiname - ") + QString::fromUtf8(bad));
        }
    }
    EXPECT_EQ(m_edit.text(), QStringLiteral("\"C:\\My Files\\a.txt\""));
    EXPECT_EQ(changes, 1);
    m_edit.SetFileName(QString());
    EXPECT_TRUE(m_edit.text().isEmpty());
    EXPECT_EQ(changes, 2);
    // Native names may hold them: only NUL is refused there.
    for (const char *good : {"/srv/a[1].txt", "b]", "<c>", "d>e", "f|g"}) {
        m_edit.SetFileName(QString::fromUtf8(good));
        EXPECT_EQ(m_edit.FileName(), QString::fromUtf8(good));
    }
    EXPECT_THROW(m_edit.SetFileName(QStringLiteral("a") + QChar(0) + QStringLiteral("b")), EButtonEditError);
}

TEST_F(FileEditTest, TheButtonSitsAtTheRightEnd)
{
    m_edit.show(); // resize events reach shown widgets only
    const int frame = m_edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &m_edit);
    const int h = m_edit.height();
    EXPECT_EQ(h, std::max(21, m_edit.MinimumEditHeight()));
    EXPECT_EQ(m_edit.GlyphKind(), TGlyphKind::gkDefault);
    EXPECT_EQ(m_edit.Glyph().size(), QSize(14, 12));
    EXPECT_EQ(m_edit.ButtonWidth(), 21); // 14 + 6 is less
    EXPECT_EQ(m_edit.ButtonHost()->geometry(), QRect(160 - 21 - frame, frame, 21, h - 2 * frame));
    EXPECT_EQ(m_edit.Button()->size(), m_edit.ButtonHost()->size());
    EXPECT_EQ(m_edit.textMargins().right(), 21 + 2);

    m_edit.setButtonWidth(30);
    EXPECT_EQ(m_edit.ButtonHost()->geometry(), QRect(160 - 30 - frame, frame, 30, h - 2 * frame));
    m_edit.setButtonWidth(400); // not below the client width: refused
    EXPECT_EQ(m_edit.ButtonWidth(), 30);
    m_edit.setButtonWidth(1);
    EXPECT_TRUE(m_edit.ButtonHost()->isHidden());
    m_edit.setButtonWidth(0);
    EXPECT_TRUE(m_edit.ButtonHost()->isHidden());
    pressKey(m_edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(m_fake.fileDialogs.requests.empty()); // no button, no click key
    m_edit.setButtonWidth(21);
    EXPECT_FALSE(m_edit.ButtonHost()->isHidden());
    pressKey(m_edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(m_fake.fileDialogs.requests.size(), 1u);

    m_edit.resize(160, 4);
    EXPECT_EQ(m_edit.height(), m_edit.MinimumEditHeight());
    EXPECT_EQ(m_edit.ButtonHost()->height(), m_edit.MinimumEditHeight() - 2 * frame);

    m_edit.setGlyphKind(TGlyphKind::gkDropDown);
    EXPECT_EQ(m_edit.ButtonWidth(), m_edit.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &m_edit));
    m_edit.setGlyph(QImage(32, 16, QImage::Format_RGB32));
    EXPECT_EQ(m_edit.GlyphKind(), TGlyphKind::gkCustom);
    EXPECT_EQ(m_edit.NumGlyphs(), 2);
    EXPECT_FALSE(m_edit.grab().isNull());
}

TEST(ButtonGlyphsTest, PicturesAreDrawnToMeasure)
{
    const QImage folder = FolderGlyph();
    EXPECT_EQ(folder.size(), QSize(14, 12));
    // The button takes the bottom-left pixel as the transparent colour: it
    // must be the magenta background, not the outline.
    EXPECT_EQ(folder.pixel(0, 11), qRgb(255, 0, 255));
    EXPECT_EQ(folder.pixel(13, 11), qRgb(255, 0, 255));
    EXPECT_EQ(folder.pixel(0, 10), qRgb(0, 0, 0));
    {
        TFilenameEdit edit;
        EXPECT_EQ(edit.Button()->ButtonGlyph().TransparentColor(), qRgb(255, 0, 255));
        const QImage up = edit.Button()->ButtonGlyph().GlyphImage(TButtonPaintState::psUp);
        ASSERT_EQ(up.size(), QSize(14, 12));
        int outline = 0;
        for (int y = 0; y < up.height(); ++y)
            for (int x = 0; x < up.width(); ++x) {
                const QRgb pixel = up.pixel(x, y);
                EXPECT_FALSE(qAlpha(pixel) != 0 && (pixel & 0xFFFFFF) == 0xFF00FF) << x << "," << y;
                outline += qAlpha(pixel) != 0 && (pixel & 0xFFFFFF) == 0 ? 1 : 0;
            }
        EXPECT_GT(outline, 20); // the black outline shows
    }

    // Button 21: a strip 15 wide, dots 2 wide with gaps of 3, from x = 1.
    const QImage dots = EllipsisGlyph(21);
    ASSERT_EQ(dots.size(), QSize(15, 4));
    QString row;
    for (int x = 0; x < 15; ++x)
        row += dots.pixelIndex(x, 1) == 0 ? u'#' : u'.';
    EXPECT_EQ(row, QStringLiteral(".##...##...##.."));
    EXPECT_EQ(dots.pixelIndex(1, 0), 1);
    EXPECT_EQ(dots.pixelIndex(1, 2), 0);
    EXPECT_EQ(EllipsisGlyph(3).size(), QSize(1, 4));
    EXPECT_EQ(EllipsisGlyph(12).pixelIndex(0, 1), 0); // 6 wide: gap 1, dots from x = -1, 2 and 5
}

TEST_F(FileEditTest, ReadOnlyAndDirectInputGateTypingAndTheButton)
{
    m_edit.setReadOnly(true);
    EXPECT_TRUE(m_edit.isReadOnly());
    m_edit.HandleButtonClick();
    pressKey(m_edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(m_fake.fileDialogs.requests.empty());

    m_edit.setReadOnly(false);
    m_edit.setDirectInput(false);
    EXPECT_TRUE(m_edit.isReadOnly()); // no typing
    int buttonClicks = 0;
    m_edit.OnButtonClick = [&](TCustomButtonEdit *) { ++buttonClicks; };
    m_edit.Button()->Click();
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(m_fake.fileDialogs.requests.size(), 1u); // the button still works
    m_edit.setDirectInput(true);
    EXPECT_FALSE(m_edit.isReadOnly());
}

TEST_F(FileEditTest, TheDialogIsPresetFromTheText)
{
    const QString existing = scratchFile("old pic.bmp");
    m_edit.setDialogKind(TFileDialogKind::dkOpenPicture);
    m_edit.setFilter(QStringLiteral("Image Files (*.bmp;*.wmf;*.emf)|*.bmp;*.wmf;*.emf|All files (*.*)|*.*"));
    m_edit.setFilterIndex(2);
    m_edit.SetFileName(existing);

    m_edit.Button()->Click(); // cancelled
    ASSERT_EQ(m_fake.fileDialogs.requests.size(), 1u);
    const FileDialogRequest &request = m_fake.fileDialogs.requests[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(request.title, QStringLiteral("Browse"));
    EXPECT_EQ(request.initialDir, folder());
    EXPECT_EQ(request.fileName, existing);
    EXPECT_EQ(request.filter, QStringLiteral("Image Files (*.bmp *.wmf *.emf);;All files (*)"));
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(m_edit.text(), u'"' + existing + u'"'); // unchanged
    EXPECT_EQ(m_edit.InitialDir(), folder());

    m_fake.fileDialogs.results.push_back({true, {QStringLiteral("/pictures/new one.bmp")}, 0});
    m_edit.Button()->Click();
    EXPECT_EQ(m_edit.text(), QStringLiteral("\"/pictures/new one.bmp\""));
    EXPECT_EQ(m_edit.InitialDir(), QStringLiteral("/pictures/"));
    EXPECT_EQ(m_edit.FilterIndex(), 1);

    // A text that is no valid name leaves the preset as it was.
    m_edit.setText(QStringLiteral("C:\\<none>"));
    m_edit.Button()->Click();
    EXPECT_EQ(m_fake.fileDialogs.requests.back().fileName, QStringLiteral("/pictures/new one.bmp"));
}

// An empty field, or a relative name, gives the dialog no folder of its
// own: the file dialogs then start in the last folder used or the
// documents folder, never in the folder the program was started from.
TEST_F(FileEditTest, AnEmptyFieldOrARelativeNameAsksForNoFolder)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder());
    ASSERT_TRUE(QDir(folder()).mkpath(QStringLiteral("docs")));
    m_edit.Button()->Click();
    m_edit.setText(QStringLiteral("docs/readme.rtf"));
    m_edit.Button()->Click();
    QDir::setCurrent(previous);
    ASSERT_EQ(m_fake.fileDialogs.requests.size(), 2u);
    EXPECT_TRUE(m_fake.fileDialogs.requests[0].initialDir.isEmpty());
    EXPECT_TRUE(m_fake.fileDialogs.requests[1].initialDir.isEmpty());
    EXPECT_EQ(m_fake.fileDialogs.requests[1].fileName, QStringLiteral("docs/readme.rtf"));
}

TEST_F(FileEditTest, DialogEventsCanStopOrChangeTheChoice)
{
    m_edit.setDialogKind(TFileDialogKind::dkSave);
    m_edit.setDialogOptions(ofOverwritePrompt | ofHideReadOnly);
    m_edit.setDefaultExt(QStringLiteral("rtf"));
    m_edit.setDialogTitle(QStringLiteral("Licence file"));
    m_edit.setText(QStringLiteral("/docs/"));
    bool stop = true;
    m_edit.OnBeforeDialog = [&](TFilePathEdit *, QString &, bool &action) { action = !stop; };
    m_edit.Button()->Click();
    EXPECT_TRUE(m_fake.fileDialogs.requests.empty());

    stop = false;
    m_edit.OnAfterDialog = [](TFilePathEdit *, QString &name, bool &action) {
        if (action)
            name += QStringLiteral(".bak");
    };
    m_fake.fileDialogs.results.push_back({true, {QStringLiteral("/docs/licence.rtf")}, 0});
    m_edit.Button()->Click();
    ASSERT_EQ(m_fake.fileDialogs.requests.size(), 1u);
    const FileDialogRequest &request = m_fake.fileDialogs.requests[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Save);
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_EQ(request.defaultExt, QStringLiteral("rtf"));
    EXPECT_EQ(request.title, QStringLiteral("Licence file"));
    EXPECT_TRUE(request.fileName.isEmpty()); // a folder alone presets no name
    EXPECT_EQ(m_edit.text(), QStringLiteral("/docs/licence.rtf.bak"));
}

TEST_F(FileEditTest, TakesDroppedFiles)
{
    int drops = 0;
    m_edit.OnDropFiles = [&](TFilePathEdit *) { ++drops; };
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/zoë/Bild 1.bmp")),
                   QUrl::fromLocalFile(QStringLiteral("/b.bmp"))});
    // The toolkit delivers a drop only after an accepted enter.
    auto drag = [&] {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&m_edit, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&m_edit, &drop);
        return enter.isAccepted() && drop.isAccepted();
    };
    m_edit.setAcceptFiles(false);
    m_edit.setText(QStringLiteral("kept"));
    EXPECT_FALSE(drag()); // the line edit takes text, not files
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(m_edit.text(), QStringLiteral("kept"));

    m_edit.setAcceptFiles(true);
    EXPECT_TRUE(drag());
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(m_edit.text(), QStringLiteral("\"/home/zoë/Bild 1.bmp\""));
    // A legal native name drops in; one the edit refuses is reported, and
    // nothing leaves the event handler.
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/dl/setup[1].exe"))});
    EXPECT_TRUE(drag());
    EXPECT_EQ(m_edit.text(), QStringLiteral("/tmp/dl/setup[1].exe"));
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a") + QChar(0) + QStringLiteral("b"))});
    EXPECT_NO_THROW(drag());
    EXPECT_EQ(m_edit.text(), QStringLiteral("/tmp/dl/setup[1].exe"));
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/zoë/Bild 1.bmp")),
                   QUrl::fromLocalFile(QStringLiteral("/b.bmp"))});

    m_edit.setDialogOptions(ofAllowMultiSelect);
    m_edit.DropFiles({QStringLiteral("/c.bmp"), QStringLiteral("/d e.bmp")});
    EXPECT_EQ(m_edit.text(), QStringLiteral("/c.bmp"));
    EXPECT_EQ(m_edit.Dialog().Files, (QStringList{QStringLiteral("/c.bmp"), QStringLiteral("/d e.bmp")}));
    m_edit.DropFiles({QStringLiteral("/x|y")});
    EXPECT_EQ(m_edit.text(), QStringLiteral("/x|y"));
    EXPECT_THROW(m_edit.DropFiles({QStringLiteral("C:\\x|y")}), EButtonEditError);
    m_edit.setDialogOptions(ofHideReadOnly);
    EXPECT_TRUE(m_edit.Dialog().Files.isEmpty());
}

// A button edit whose popup is a label showing the edit's value.
class PopupEdit : public TCustomButtonEdit {
public:
    PopupEdit() : m_label(new QLabel) { setPopup(m_label.get()); }
    QLabel *label() const { return m_label.get(); }

protected:
    void SendValueToPopup(const QVariant &value) override { m_label->setText(value.toString()); }
    QVariant ReadValueFromPopup() override { return m_label->text(); }

private:
    std::unique_ptr<QLabel> m_label;
};

TEST(TCustomButtonEditTest, TheButtonOpensAndClosesAPopup)
{
    PopupEdit edit;
    edit.resize(120, 21);
    edit.setText(QStringLiteral("first"));
    edit.HandleButtonClick();
    EXPECT_TRUE(edit.PopupVisible());
    EXPECT_EQ(edit.label()->text(), QStringLiteral("first"));
    edit.label()->setText(QStringLiteral("chosen"));
    pressKey(edit, Qt::Key_Escape); // closes without taking the value
    EXPECT_FALSE(edit.PopupVisible());
    EXPECT_EQ(edit.text(), QStringLiteral("first"));

    edit.HandleButtonClick();
    edit.label()->setText(QStringLiteral("chosen"));
    pressKey(edit, Qt::Key_Return);
    EXPECT_FALSE(edit.PopupVisible());
    EXPECT_EQ(edit.text(), QStringLiteral("chosen"));
    EXPECT_TRUE(edit.isModified());
}

} // namespace
} // namespace wharf
