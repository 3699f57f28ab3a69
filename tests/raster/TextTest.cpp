#include "Pixels.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

using namespace raster;

namespace {
QFont testFont()
{
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    return font;
}
} // namespace

TEST(Text, ExtentIsTheAdvanceAndTheFullCellHeight)
{
    Surface s(10, 10);
    s.setFont(testFont());
    const QSize one = s.textExtent("W");
    const QSize two = s.textExtent("WWW");
    EXPECT_GT(one.width(), 0);
    EXPECT_EQ(two.width(), 3 * one.width());
    EXPECT_EQ(two.height(), one.height());
    const QFontMetrics fm(testFont());
    EXPECT_EQ(one.height(), fm.ascent() + fm.descent());
    EXPECT_EQ(s.textExtent("").width(), 0);
    EXPECT_EQ(s.textExtent("").height(), one.height());
    // Measuring needs no surface.
    Surface none;
    none.setFont(testFont());
    EXPECT_EQ(none.textExtent("WWW"), two);
}

// Transparent background: only glyph pixels change, in the pen colour or blends towards it, inside
// the cell that starts at the given top-left point.
TEST(Text, DrawsGlyphsOnlyInsideTheCellInThePenColour)
{
    const ColorRef face = rgb(240, 240, 240);
    Surface s(80, 30);
    s.setFont(testFont());
    s.fill(face);
    s.setPenColor(0x000000);
    const QSize extent = s.textExtent("Join");
    s.moveTo(1, 1);
    s.textOut(10, 6, "Join");
    EXPECT_EQ(s.position(), QPoint(1, 1));

    int changed = 0, solid = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const ColorRef p = s.getPixel(x, y);
            if (p == face)
                continue;
            ++changed;
            solid += p == 0;
            EXPECT_GE(x, 10 - 2);
            EXPECT_LE(x, 10 + extent.width() + 1);
            EXPECT_GE(y, 6);
            EXPECT_LT(y, 6 + extent.height());
        }
    EXPECT_GT(changed, 20);
    EXPECT_GT(solid, 0);
    for (int i = 0; i < 80 * 30; ++i)
        ASSERT_EQ(s.bits()[i] >> 24, 0u);

    // Drawing partly or wholly off the surface is clipped, never a fault; empty text draws nothing.
    Surface t(20, 8);
    t.setFont(testFont());
    t.setPenColor(0xFFFFFF);
    t.textOut(-200, -5, "clipped text");
    t.textOut(2147483600, 2147483600, "far away");
    t.textOut(0, 0, "");
    const PixelSet none = painted(t);
    t.textOut(-3, -4, "Wg");
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(painted(t).empty());
}

// The glyphs are Qt's own: the same pixels as QPainter::drawText with the baseline at y + ascent,
// also when the same text is drawn again (the shaped glyphs are reused) or after a change of font.
TEST(Text, MatchesQtTextWithTheBaselineAtTheAscent)
{
    const auto reference = [](const QFont& font, QPoint at, const QString& text, QRgb colour) {
        QImage image(60, 24, QImage::Format_RGB32);
        image.fill(qRgb(200, 210, 220));
        QPainter p(&image);
        QFont f = font;
        f.setStyleStrategy(QFont::NoSubpixelAntialias);
        p.setFont(f);
        p.setPen(QColor::fromRgb(colour));
        p.drawText(at + QPoint(0, QFontMetrics(f, &image).ascent()), text);
        return image;
    };
    Surface s(60, 24);
    QFont big("DejaVu Sans");
    big.setPixelSize(15);
    for (const QFont& font : {testFont(), big, testFont()}) {
        s.setFont(font);
        const std::tuple<int, int, QString> calls[] = {{3, 4, "Leave"}, {3, 4, "Leave"}, {-2, 9, "Tj;"}};
        for (const auto& [x, y, text] : calls) {
            s.fill(rgb(200, 210, 220));
            s.setPenColor(rgb(0x40, 0x20, 0x10));
            s.textOut(x, y, text);
            const QImage expected = reference(font, {x, y}, text, qRgb(0x40, 0x20, 0x10));
            for (int j = 0; j < 24; ++j)
                for (int i = 0; i < 60; ++i)
                    ASSERT_EQ(s.image().pixel(i, j), expected.pixel(i, j)) << text.toStdString() << " at " << i << "," << j;
        }
    }
}

TEST(Text, ImagesAreDrawnAtTheirNaturalSize)
{
    QImage picture(2, 3, QImage::Format_ARGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(1, 2, qRgba(0, 0, 0, 0)); // transparent: the face shows through
    Surface s(6, 6);
    s.fill(rgb(9, 9, 9));
    s.drawImage(3, 2, picture);
    EXPECT_EQ(s.getPixel(3, 2), rgb(1, 2, 3));
    EXPECT_EQ(s.getPixel(4, 4), rgb(9, 9, 9));
    EXPECT_EQ(s.getPixel(5, 2), rgb(9, 9, 9));
    EXPECT_EQ(s.bits()[2 * 6 + 3] >> 24, 0u);
}
