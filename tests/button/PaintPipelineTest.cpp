// The painting pipeline: size limits, border write-back, background patterns, toggle look, caption
// placement, effects and gradient, and the grey passes of the picture.
#include "PaintTestUtil.h"
#include "Units.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

int px(const Button& b, double twips)
{
    return units::twipsToPixels(twips, b.logicalDpiX());
}

TEST(PaintColours, TranslationResolvesSystemColoursAndRejectsUnknownOnes)
{
    using raster::rgb;
    const struct {
        OleColor in;
        std::optional<ColorRef> out;
    } cases[] = {
        {0x00000000, 0x00000000},         {0x00D98D59, 0x00D98D59},
        {0x80000001, rgb(0, 0, 0)},       {0x80000005, rgb(255, 255, 255)},
        {0x80000008, rgb(0, 0, 0)},       {0x8000000F, rgb(240, 240, 240)},
        {0x80000010, rgb(160, 160, 160)}, {0x80000014, rgb(255, 255, 255)},
        {0x80000015, rgb(105, 105, 105)}, {0x80000000, rgb(212, 208, 200)},
        {0x80000018, rgb(255, 255, 225)}, {0x8000001E, rgb(212, 208, 200)},
        {0x80001215, rgb(105, 105, 105)}, // only the low byte names the colour
        {0x8000001F, std::nullopt},       {0x800000FF, std::nullopt},
        {0x01000005, 0x01000005},         {0x02123456, 0x02123456}, // palette forms pass through
        {0x03000000, std::nullopt},       {0xFF000000, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translateColour(c.in), c.out) << std::hex << c.in;
    EXPECT_TRUE(isSystemColour(0x8000000F));
    EXPECT_FALSE(isSystemColour(0x01000005)); // a palette form holds its colour
}

struct SizeCase {
    int shape;
    double widthTwips, heightTwips;
    double wantWidthTwips, wantHeightTwips;
};

TEST(PaintSize, MinimumAndSquareShapes)
{
    const SizeCase cases[] = {
        {Button::Rectangle, 10, 10, 375, 375},
        {Button::RoundedRectangle, 1200, 10, 1200, 375},
        {Button::Ellipse, 1200, 500, 1200, 1200},
        {Button::ArrowDown, 500, 1200, 500, 500}, // the height follows the width, also downwards
        {99, 10, 900, 375, 375},                   // any other value is kept square too
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, 1, QSize(40, 40));
        b->setButtonShape(Button::Shape(c.shape));
        b->resize(px(*b, c.widthTwips), px(*b, c.heightTwips));
        b->PaintButton();
        EXPECT_EQ(b->size(), QSize(px(*b, c.wantWidthTwips), px(*b, c.wantHeightTwips))) << c.shape;
        EXPECT_EQ(b->face().size(), b->size());
    }
}

TEST(PaintSize, ShownButtonResizedBelowTheMinimumPaintsOnce)
{
    auto b = makeButton(Button::Rectangle, 1, QSize(40, 40));
    b->show();
    const int paints = b->paintCount();
    b->resize(5, 5);
    EXPECT_EQ(b->size(), QSize(px(*b, 375), px(*b, 375)));
    EXPECT_EQ(b->face().size(), b->size());
    EXPECT_GE(b->paintCount(), paints + 1);
}

// A face too large to draw is refused, not allocated.
TEST(PaintSize, HugeFaceIsRefused)
{
    auto b = makeButton(Button::Rectangle, 1, QSize(40, 40));
    b->resize(20000, 20000);
    b->PaintButton();
    EXPECT_TRUE(b->face().isNull());
    b->resize(73, 25);
    b->PaintButton();
    EXPECT_EQ(b->face().size(), QSize(73, 25));
}

struct BorderCase {
    int style;
    quint32 plain, hover, pressed;
};

// Repaints reuse what earlier paints worked out (regions, the pixels of curves): a button that went
// through other looks, colours and sizes must show what a fresh one in the final state shows.
TEST(PaintRepeat, ARepaintDrawsWhatAFreshButtonDraws)
{
    for (const int shape : {Button::RoundedRectangle, Button::Ellipse, Button::Diamond}) {
        for (const int style : {0, 1, 6}) {
            const QSize size = shape == Button::RoundedRectangle ? QSize(73, 25) : QSize(40, 40);
            const auto finish = [](Button& b) {
                b.setBackColor(0x123456);
                b.setBorderColor(0x0000FF);
                b.setStateFlags(false, false, true);
            };
            auto kept = makeButton(shape, style, size);
            kept->setStateFlags(false, false, true);
            kept->setStateFlags(true, true, false);
            kept->resize(size + QSize(3, 3));
            kept->resize(size);
            finish(*kept);
            auto fresh = makeButton(shape, style, size);
            finish(*fresh);
            EXPECT_EQ(kept->face(), fresh->face()) << shape << " style " << style;
        }
    }
}

TEST(PaintStyle, BorderColoursWrittenBackByStyles1To8)
{
    constexpr quint32 mine = 0x010203, back = 0x111111, backHover = 0x222222, backPressed = 0x333333;
    const BorderCase cases[] = {
        {0, mine, mine, mine},
        {1, 0x80000015, 0x80000015, 0x80000014},
        {2, 0x80000015, 0x80000015, 0x80000014},
        {3, back, 0x80000015, 0x80000014},
        {4, 0x80000010, 0x80000010, 0x80000010},
        {5, 0x8000000F, 0, 0},
        {6, 0, 0, 0},
        {7, 0x8F8F8E, 0xB17F3C, 0x5C411D},
        {8, back, backHover, backPressed},
        {9, mine, mine, mine},
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, c.style, QSize(40, 25));
        b->setBackColor(back);
        b->setBackColorHover(backHover);
        b->setBackColorPressed(backPressed);
        b->setBorderColor(mine);
        b->setBorderColorHover(mine);
        b->setBorderColorPressed(mine);
        EXPECT_EQ(b->BorderColor(), c.plain) << c.style;
        EXPECT_EQ(b->BorderColorHover(), c.hover) << c.style;
        EXPECT_EQ(b->BorderColorPressed(), c.pressed) << c.style;
    }
}

TEST(PaintStyle, DisabledBordersOfStyles6To8)
{
    const std::pair<int, quint32> cases[] = {{6, 0x8DABAB}, {7, 0xB5B2AD}, {8, 0xA4B6B7}};
    for (const auto& [style, border] : cases) {
        auto b = makeButton(Button::Rectangle, style, QSize(40, 25));
        b->setEnabled(false);
        EXPECT_EQ(b->BorderColor(), border) << style;
        EXPECT_EQ(facePixel(*b, 0, 10), border) << style;
    }
}

// With a transparent background no style gradient is drawn: only the outline and the ring show.
TEST(PaintBackground, TransparentBackgroundSuppressesStyleGradients)
{
    for (const int style : {5, 6, 7, 8}) {
        auto b = makeButton(Button::Rectangle, style, QSize(40, 25));
        b->setButtonStyleColors(0);
        b->setBackColor(0x30A060);
        b->setStateFlags(false, true, false);
        for (int y = 3; y < 22; ++y)
            for (int x = 3; x < 37; ++x)
                ASSERT_FALSE(shown(*b, x, y)) << style << " at " << x << "," << y;
    }
}

struct PatternCase {
    bool pressed, over;
    ColorRef middle; // the pixel at (36, 12) of a 73-pixel horizontal ramp
};

// The horizontal pattern runs from BackColor to the pressed colour at rest, to the hover colour
// under the mouse: floor(255 · 36 / 73) = 125 in the second colour's channel.
TEST(PaintBackground, RestingPatternRunsTowardsThePressedColour)
{
    const PatternCase cases[] = {
        {false, false, raster::rgb(125, 0, 0)},
        {false, true, raster::rgb(0, 125, 0)},
        {true, true, raster::rgb(125, 0, 0)},
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, 0, QSize(73, 25));
        b->setButtonStyleColors(2);
        b->setBackColor(0x000000);
        b->setBackColorPressed(0x0000FF);
        b->setBackColorHover(0x00FF00);
        b->setStateFlags(c.pressed, c.over, false);
        EXPECT_EQ(facePixel(*b, 36, 12), c.middle) << c.pressed << c.over;
    }
}

TEST(PaintToggle, ValueTrueLooksPressedWithTheMouseAway)
{
    auto b = makeButton(Button::Rectangle, 0, QSize(40, 25));
    b->setBorderColor(0x111111);
    b->setBorderColorPressed(0x0000FF);
    b->setButtonType(Button::Toggle);
    b->setValue(true);
    b->setStateFlags(false, false, false);
    EXPECT_TRUE(b->pressedFlag());
    EXPECT_EQ(facePixel(*b, 0, 10), 0x0000FFu);

    b->setValue(false);
    b->setStateFlags(false, false, false);
    EXPECT_EQ(facePixel(*b, 0, 10), 0x111111u);
}

// How many pixels of the face have exactly this colour.
int count(const Button& b, ColorRef colour)
{
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += facePixel(b, x, y) == colour;
    return n;
}

TEST(PaintCaption, EffectsAboveThreeDrawNoCaption)
{
    for (const int effect : {0, 1, 2, 3, 4, 7, -1}) {
        auto b = makeButton(Button::Rectangle, 0, QSize(73, 25));
        b->setForeColor(0x0000FF);
        b->setEffectColor(0x00FF00);
        b->setCaption(QStringLiteral("Join"));
        b->setCaptionEffect(effect);
        const bool drawn = effect >= 0 && effect <= 3;
        EXPECT_EQ(count(*b, 0x0000FF) > 0, drawn) << effect;
        EXPECT_EQ(count(*b, 0x00FF00) > 0, drawn && effect > 0) << effect;
    }
}

struct PlacementCase {
    int pixelSize;
    int wantY;
};

// CaptionAlignment 0 puts the caption at (H − cy) / H + 5: 5.48 for a caption 13 high in a face
// 25 high, which rounds to 5; a short caption lands at 6.
TEST(PaintCaption, TopAlignmentRoundsToTheNearest)
{
    for (const int pixelSize : {11, 6}) {
        auto b = makeButton(Button::Rectangle, 0, QSize(73, 25));
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(pixelSize);
        b->setFont(font);
        b->setCaption(QStringLiteral("Connect"));
        b->setCaptionAlignment(0);
        const int cy = b->captionRect().cy;
        ASSERT_GT(cy, 0);
        ASSERT_LT(cy, 25);
        EXPECT_EQ(b->captionRect().y, 25 - cy < 12.5 ? 5 : 6) << "cy " << cy;
        EXPECT_EQ(b->captionRect().x, raster::roundHalfEven((73 - b->captionRect().cx) / 2.0));
    }
    // 13 is the height of Tahoma 8.25 pt at 96 dpi, the case in the design.
    auto b = makeButton(Button::Rectangle, 0, QSize(73, 25));
    b->setCaption(QStringLiteral("Connect"));
    b->setCaptionAlignment(0);
    if (b->captionRect().cy == 13) {
        EXPECT_EQ(b->captionRect().y, 5);
    }
}

TEST(PaintCaption, OtherAlignmentKeepsTheLastPlacement)
{
    auto b = makeButton(Button::Rectangle, 0, QSize(73, 25));
    b->setCaption(QStringLiteral("Join"));
    const Button::CaptionRect before = b->captionRect();
    b->setCaptionAlignment(9);
    b->setCaption(QStringLiteral("Join the room"));
    EXPECT_EQ(b->captionRect().x, before.x);
    EXPECT_EQ(b->captionRect().cx, before.cx);
}

// The vertical gradient recolours only pixels of exactly the main colour; anti-aliased edges stay.
TEST(PaintCaption, GradientTouchesOnlyThePlainTextColour)
{
    const auto make = [](int captionStyle) {
        auto b = makeButton(Button::Rectangle, 0, QSize(73, 25));
        b->setBackColor(0xFFFFFF);
        b->setForeColor(0x000000);
        b->setForeColorPressed(0xFF0000);
        b->setCaption(QStringLiteral("Connect"));
        b->setCaptionStyle(captionStyle);
        return b;
    };
    const auto plain = make(0);
    const auto ramp = make(2);
    const Button::CaptionRect r = plain->captionRect();
    int recoloured = 0;
    for (int y = 1; y < 24; ++y) {
        for (int x = 1; x < 72; ++x) {
            const ColorRef before = facePixel(*plain, x, y);
            const ColorRef after = facePixel(*ramp, x, y);
            if (before != 0x000000 || x > r.x + r.cx || y > r.y + r.cy) {
                ASSERT_EQ(after, before) << x << "," << y;
                continue;
            }
            // S (blue) at the top edge to F (black) at the bottom: blue = 255 − round(255 · y / 25).
            ASSERT_EQ(after, raster::rgb(0, 0, 255 - raster::roundHalfEven(255.0 * y / 25))) << x << "," << y;
            ++recoloured;
        }
    }
    EXPECT_GT(recoloured, 0);
}

QPixmap solidPicture(QColor colour, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return QPixmap::fromImage(image);
}

struct GreyCase {
    bool enabled;
    bool pictureGray;
    ColorRef want;
};

// A disabled picture is greyed by (pixel / 65536) rounded, which is the blue channel, one up
// when green and red are more than half of 65536; PictureGray at rest greys by the red channel.
TEST(PaintPicture, GreyPasses)
{
    // rgb(10, 200, 100) is 0x64C80A; 0x64C80A / 65536 = 100.78 → 101.
    const GreyCase cases[] = {
        {false, false, raster::rgb(101, 101, 101)},
        {true, true, raster::rgb(10, 10, 10)},
        {true, false, raster::rgb(10, 200, 100)},
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, 0, QSize(40, 40));
        b->setBackColor(0x30A060);
        b->setPictureGray(c.pictureGray);
        b->setPicture(solidPicture(QColor(10, 200, 100), 8));
        b->setEnabled(c.enabled);
        const Button::PictureRect r = b->pictureRect();
        EXPECT_EQ(r.x, 16);
        EXPECT_EQ(r.w, 8);
        EXPECT_EQ(facePixel(*b, r.x + 3, r.y + 3), c.want) << c.enabled << c.pictureGray;
        // The pass reaches one column past the picture but leaves BackColor alone.
        EXPECT_EQ(facePixel(*b, r.x + r.w, r.y + 3), 0x30A060u);
    }
}

TEST(PaintDropDown, ChevronsAtTheChosenSide)
{
    for (const int side : {1, 2}) {
        auto b = makeButton(Button::Rectangle, 0, QSize(73, 25));
        b->setBackColor(0xFFFFFF);
        b->setDropDown(side);
        const int ax = side == 1 ? 2 : 73 - 21;
        const int ay = raster::roundHalfEven(25 / 2.0 - 8); // 12.5 − 8 = 4.5 → 4
        EXPECT_EQ(facePixel(*b, ax + 6, ay + 5), kBlack) << side;
        EXPECT_EQ(facePixel(*b, ax + 9, ay + 8), kBlack) << side;
        EXPECT_EQ(facePixel(*b, ax + 13, ay + 4), 0xFFFFFFu) << side; // the end pixel is left out
    }
}

} // namespace
