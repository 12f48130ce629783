#include "pathlabel.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QVBoxLayout>

namespace wharf {
namespace {

class ShortenPathTest : public ::testing::Test {
protected:
    QFontMetrics m_metrics{QFont(QStringLiteral("DejaVu Sans"), 9)};

    // Each stage is what a maximum of exactly its own width gives.
    void expectStages(const QStringList &stages)
    {
        for (const QString &stage : stages)
            EXPECT_EQ(ShortenPath(stages.front(), m_metrics, m_metrics.horizontalAdvance(stage)), stage);
        EXPECT_EQ(ShortenPath(stages.front(), m_metrics, 0), stages.back());
    }
};

TEST_F(ShortenPathTest, CutsFolderByFolderDownToTheName)
{
    expectStages({QStringLiteral("C:\\Alpha\\Bravo\\Charlie\\name.ext"),
                  QStringLiteral("C:\\...\\Bravo\\Charlie\\name.ext"), QStringLiteral("C:\\...\\Charlie\\name.ext"), QStringLiteral("C:\\...\\name.ext"),
                  QStringLiteral("...\\name.ext"), QStringLiteral("name.ext")});
}

TEST_F(ShortenPathTest, NativePathsUseTheirOwnSeparator)
{
    expectStages({QStringLiteral("/home/alice/documents/setup.wfp"), QStringLiteral("/.../alice/documents/setup.wfp"),
                  QStringLiteral("/.../documents/setup.wfp"), QStringLiteral("/.../setup.wfp"),
                  QStringLiteral(".../setup.wfp"), QStringLiteral("setup.wfp")});
}

TEST_F(ShortenPathTest, FoldersBeginningWithADotAreCutWhole)
{
    expectStages({QStringLiteral("/.config/application/x.ini"), QStringLiteral("/.../application/x.ini"),
                  QStringLiteral("/.../x.ini"), QStringLiteral(".../x.ini"), QStringLiteral("x.ini")});
    expectStages({QStringLiteral("C:\\...data\\x.ini"), QStringLiteral("C:\\...\\x.ini"),
                  QStringLiteral("...\\x.ini"), QStringLiteral("x.ini")});
}

TEST_F(ShortenPathTest, NamesAndFittingPathsStayWhole)
{
    EXPECT_EQ(ShortenPath(QStringLiteral("name.ext"), m_metrics, 0), QStringLiteral("name.ext"));
    const QString path = QStringLiteral("C:\\A\\name.ext");
    EXPECT_EQ(ShortenPath(path, m_metrics, m_metrics.horizontalAdvance(path)), path);
    EXPECT_EQ(ShortenPath(QStringLiteral("C:name.ext"), m_metrics, 0), QStringLiteral("name.ext"));
    EXPECT_EQ(ShortenPath(QString(), m_metrics, 0), QString());
}

TEST(TNewPathLabelTest, ShowsDriveMarkerAndTrailingFoldersThatFit)
{
    TNewPathLabel label;
    label.resize(311, 11);
    const QString path =
        QStringLiteral("C:\\Program Files\\Vendor\\Product\\Version 2\\Resources\\Images\\Large\\background.bmp");
    label.setText(path);
    const QString shown = label.displayText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("C:\\...\\"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("\\Large\\background.bmp"))) << shown.toStdString();
    EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(shown), 311);
    EXPECT_TRUE(path.endsWith(shown.mid(6)));
    label.setText(QStringLiteral("a&b"));
    EXPECT_EQ(label.displayText(), QStringLiteral("a&b"));
}

TEST(TNewPathLabelTest, TheCaptionNeverSizesTheLabel)
{
    // In a window laid out around it, a long path is shortened to the room
    // the window gives; it neither widens the window nor keeps it from
    // being narrowed.
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *label = new TNewPathLabel(&window);
    layout->addWidget(label);
    const QString path = QStringLiteral("/home/ann/projects/a rather long folder name/another long folder/"
                                        "and one more level/setup pictures/background.bmp");
    label->setText(path);
    const QFontMetrics metrics(label->font());
    ASSERT_GT(metrics.horizontalAdvance(path), 400);
    EXPECT_LT(window.sizeHint().width(), 200);
    EXPECT_LT(window.minimumSizeHint().width(), 200);
    window.resize(300, 40);
    layout->activate();
    EXPECT_LE(label->width(), 300);
    EXPECT_TRUE(label->displayText().endsWith(QStringLiteral("/background.bmp")));
    EXPECT_LE(metrics.horizontalAdvance(label->displayText()), label->width());
    // One line high, whatever the caption.
    EXPECT_EQ(label->sizeHint().height(), label->minimumSizeHint().height());
    EXPECT_GE(label->sizeHint().height(), metrics.height());
}

// The bounding box of the pixels of one colour.
QRect boxOf(const QImage &image, QColor colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(TNewPathLabelTest, DisabledLabelIsEmbossed)
{
    TNewPathLabel label;
    QFont font(QStringLiteral("DejaVu Sans"), 12);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    QPalette palette = label.palette();
    const QColor face(200, 200, 200), light(0, 255, 0), dark(0, 0, 255), text(255, 0, 0);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::Light, light);
        palette.setColor(group, QPalette::Dark, dark);
        palette.setColor(group, QPalette::WindowText, text);
    }
    label.setPalette(palette);
    label.setText(QStringLiteral("C:\\x\\file.txt"));
    label.resize(200, 24);

    const QImage enabled = label.grab().toImage();
    EXPECT_FALSE(boxOf(enabled, text).isEmpty());
    EXPECT_TRUE(boxOf(enabled, light).isEmpty());
    EXPECT_EQ(QColor(enabled.pixel(199, 23)), face); // filled with Color

    label.setEnabled(false);
    const QImage disabled = label.grab().toImage();
    const QRect shadowBox = boxOf(disabled, dark);
    const QRect highlightBox = boxOf(disabled, light);
    ASSERT_FALSE(shadowBox.isEmpty());
    ASSERT_FALSE(highlightBox.isEmpty());
    EXPECT_EQ(highlightBox.bottomRight(), shadowBox.bottomRight() + QPoint(1, 1));
    EXPECT_TRUE(boxOf(disabled, text).isEmpty());
}

} // namespace
} // namespace wharf
