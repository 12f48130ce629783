#include "drawutils.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace wharf {
namespace {

TEST(ShortenTextToWidthTest, CutsFromTheEndDownToThreeDots)
{
    const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans"), 10));
    const QString text = QStringLiteral("Compile the whole project: WWWW");
    EXPECT_EQ(ShortenTextToWidth(text, metrics, metrics.horizontalAdvance(text)), text);
    EXPECT_EQ(ShortenTextToWidth(text, metrics, 0), QStringLiteral("..."));

    // The first cut already drops two characters.
    const QString firstCut = text.left(text.size() - 2) + QStringLiteral("...");
    EXPECT_EQ(ShortenTextToWidth(text, metrics, metrics.horizontalAdvance(firstCut)), firstCut);

    const int half = metrics.horizontalAdvance(text) / 2;
    const QString shortened = ShortenTextToWidth(text, metrics, half);
    EXPECT_LE(metrics.horizontalAdvance(shortened), half);
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(text.startsWith(shortened.chopped(3)));
}

TEST(CommandLineTokenTest, SplitsLikeTheSystemsCommandLine)
{
    const QString line = QStringLiteral("  \"\"  \"C:\\Program Files\\x.exe\" -a  b\"c d\"e  ");
    EXPECT_EQ(CountCommandLineTokens(line), 3);
    EXPECT_EQ(CommandLineToken(line, 0), QStringLiteral("C:\\Program Files\\x.exe"));
    EXPECT_EQ(CommandLineToken(line, 1), QStringLiteral("-a"));
    EXPECT_EQ(CommandLineToken(line, 2), QStringLiteral("bc de"));
    EXPECT_EQ(CommandLineToken(line, 3), QString());
    EXPECT_EQ(CountCommandLineTokens(QString()), 0);
    EXPECT_EQ(CountCommandLineTokens(QStringLiteral("\t\n ")), 0);

    // An unterminated quote runs to the end; long tokens are kept whole.
    EXPECT_EQ(CommandLineToken(QStringLiteral("\"open end"), 0), QStringLiteral("open end"));
    const QString longName(400, u'x');
    EXPECT_EQ(CommandLineToken(longName, 0), longName);
}

TEST(CommandLineTokenTest, SplitFileAndParamsQuotesTokensWithBlanks)
{
    QString file = QStringLiteral("old"), params = QStringLiteral("old");
    SplitFileAndParams(QStringLiteral("\"/opt/my tool/run\" one \"two words\" three"), file, params);
    EXPECT_EQ(file, QStringLiteral("/opt/my tool/run"));
    EXPECT_EQ(params, QStringLiteral("one \"two words\" three"));

    SplitFileAndParams(QString(), file, params);
    EXPECT_TRUE(file.isEmpty());
    EXPECT_TRUE(params.isEmpty());
}

TEST(MakeDisabledBitmapTest, EmbossesThePixelsOfTheOutlineColour)
{
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    glyph.setPixel(1, 1, qRgb(0, 0, 0));
    glyph.setPixel(3, 3, qRgb(0, 0, 0));
    glyph.setPixel(2, 1, qRgb(1, 0, 0)); // nearly black is not marked

    const QColor face(200, 200, 200), shadow(100, 100, 100), light(255, 255, 0);
    const QImage result = MakeDisabledBitmap(glyph, Qt::black, face, true, shadow, light);
    ASSERT_EQ(result.size(), glyph.size());
    EXPECT_EQ(QColor(result.pixel(1, 1)), shadow);
    EXPECT_EQ(QColor(result.pixel(2, 2)), light); // highlight one right and down
    EXPECT_EQ(QColor(result.pixel(3, 3)), shadow); // shadow over the shifted highlight
    EXPECT_EQ(QColor(result.pixel(2, 1)), face);
    EXPECT_EQ(QColor(result.pixel(0, 0)), face);

    const QImage flat = MakeDisabledBitmap(glyph, Qt::black, face, false, shadow, light);
    EXPECT_EQ(QColor(flat.pixel(2, 2)), face);

    // In a monochrome bitmap the white pixels are the outline.
    QImage mono(3, 3, QImage::Format_Mono);
    mono.fill(0);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.setPixel(0, 0, 1);
    const QImage fromMono = MakeDisabledBitmap(mono, Qt::black, face, true, shadow, light);
    EXPECT_EQ(QColor(fromMono.pixel(0, 0)), shadow);
    EXPECT_EQ(QColor(fromMono.pixel(1, 1)), light);
    EXPECT_EQ(QColor(fromMono.pixel(2, 2)), face);
}

class ColouredBox : public QWidget {
public:
    ColouredBox(QWidget *parent, QColor colour) : QWidget(parent), m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

TEST(CopyParentBackgroundTest, PaintsParentAndEarlierSiblingsOnly)
{
    ColouredBox parent(nullptr, Qt::red);
    parent.resize(100, 100);
    auto *before = new ColouredBox(&parent, Qt::blue);
    before->setGeometry(0, 0, 30, 100);
    auto *control = new QWidget(&parent);
    control->setGeometry(20, 10, 40, 40);
    auto *after = new ColouredBox(&parent, Qt::green);
    after->setGeometry(50, 0, 50, 100);

    QImage image(control->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CopyParentBackground(control, painter);
    }
    EXPECT_EQ(QColor(image.pixel(5, 20)), QColor(Qt::blue)); // x 25 lies under the earlier sibling
    EXPECT_EQ(QColor(image.pixel(15, 20)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(35, 20)), QColor(Qt::red)); // the later sibling is not painted

    QImage untouched(10, 10, QImage::Format_RGB32);
    untouched.fill(Qt::white);
    QPainter painter(&untouched);
    QWidget orphan;
    CopyParentBackground(&orphan, painter);
    CopyParentBackground(nullptr, painter);
    painter.end();
    EXPECT_EQ(QColor(untouched.pixel(5, 5)), QColor(Qt::white));
}

} // namespace
} // namespace wharf
