// The rules every shape shares, checked once over the ten non-rectangular shapes: which styles draw
// lines in which state, where the focus shows, and the diamond's own extras.
#include "PaintTestUtil.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int kShapes[] = {
    Button::Ellipse,    Button::Diamond,      Button::TriangleUp, Button::TriangleLeft,  Button::TriangleRight,
    Button::TriangleDown, Button::ArrowUp,    Button::ArrowLeft,  Button::ArrowRight,    Button::ArrowDown,
};
constexpr int kSize = 40;
constexpr quint32 kBack = 0x123456;

struct Flags {
    bool pressed, over, focus;
};
constexpr Flags kRest{false, false, false}, kOver{false, true, false}, kPressed{true, false, false},
    kFocus{false, false, true};

// A button of the shape and style with the flags set and the given background pattern.
std::unique_ptr<Button> paint(int shape, int style, Flags f, int styleColors = 1)
{
    auto b = makeButton(shape, style, QSize(kSize, kSize));
    b->setButtonStyleColors(styleColors);
    b->setBackColor(kBack);
    b->setBackColorHover(kBack);
    b->setBackColorPressed(kBack);
    b->setStateFlags(f.pressed, f.over, f.focus);
    return b;
}

using Pixels = std::set<std::pair<int, int>>;

Pixels shownPixels(const Button& b)
{
    Pixels out;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (shown(b, x, y))
                out.insert({x, y});
    return out;
}

bool hasColour(const Button& b, ColorRef colour)
{
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (shown(b, x, y) && facePixel(b, x, y) == colour)
                return true;
    return false;
}

// Where the outline lies: a style-0 outline in its own colour on an opaque face (the diamond's top
// pixel included).
Pixels outlineOf(int shape)
{
    auto b = makeButton(shape, 0, QSize(kSize, kSize));
    b->setBackColor(kBack);
    b->setBorderColor(0x0000FF);
    Pixels out;
    for (const auto& [x, y] : shownPixels(*b))
        if (facePixel(*b, x, y) == 0x0000FF)
            out.insert({x, y});
    return out;
}

// Styles 0, 5 and 8 draw no lines of their own: on a transparent face only outline pixels show, and
// with the focus a dotted mark in grey and black besides.
TEST(ShapeRules, Styles058ShowOnlyTheOutlineAndTheDottedMark)
{
    for (const int shape : kShapes) {
        const Pixels outline = outlineOf(shape);
        for (const int style : {0, 5, 8}) {
            for (const Flags f : {kRest, kOver, kPressed}) {
                for (const bool focus : {false, true}) {
                    SCOPED_TRACE(testing::Message() << "shape " << shape << " style " << style << " pressed "
                                                    << f.pressed << " over " << f.over << " focus " << focus);
                    auto b = paint(shape, style, {f.pressed, f.over, focus}, 0);
                    bool grey = false, black = false;
                    for (const auto& [x, y] : shownPixels(*b)) {
                        if (outline.count({x, y}))
                            continue;
                        const ColorRef c = facePixel(*b, x, y);
                        ASSERT_TRUE(focus && (c == kFocusGrey || c == kBlack)) << x << "," << y << " " << c;
                        (c == kBlack ? black : grey) = true;
                    }
                    EXPECT_EQ(grey, focus);
                    EXPECT_EQ(black, focus);
                }
            }
        }
    }
}

// Style 3 at rest and style 4 disabled: the state's border colour on outline pixels, the plain
// background everywhere else.
TEST(ShapeRules, FlatStylesShowOnlyTheOutline)
{
    const ColorRef back = kBack;
    for (const int shape : kShapes) {
        const Pixels outline = outlineOf(shape);
        for (const int style : {3, 4}) {
            auto b = paint(shape, style, kRest);
            if (style == 4) {
                ASSERT_TRUE(hasColour(*b, kWhite)) << shape; // enabled, its highlight lines show
                b->setEnabled(false);
            }
            const ColorRef border = sysColour(b->BorderColor());
            for (const auto& [x, y] : shownPixels(*b)) {
                const ColorRef c = facePixel(*b, x, y);
                if (outline.count({x, y}))
                    ASSERT_TRUE(c == border || c == back) << shape << " style " << style << " at " << x << "," << y;
                else
                    ASSERT_EQ(c, back) << shape << " style " << style << " at " << x << "," << y;
            }
        }
    }
}

TEST(ShapeRules, Style6PressedWinsOverTheMouseAndTheMouseOverTheFocus)
{
    constexpr ColorRef warm1 = 0x109ADC, warm2 = 0x31B2F0, blue1 = 0xD98D59, blue2 = 0xE2A981;
    for (const int shape : kShapes) {
        SCOPED_TRACE(testing::Message() << "shape " << shape);
        const auto all = paint(shape, 6, {true, true, true});
        const auto pressed = paint(shape, 6, kPressed);
        EXPECT_EQ(all->face(), pressed->face());
        EXPECT_TRUE(hasColour(*pressed, kWhite));

        const auto overAndFocus = paint(shape, 6, {false, true, true});
        const auto over = paint(shape, 6, kOver);
        EXPECT_EQ(overAndFocus->face(), over->face());
        EXPECT_TRUE(hasColour(*over, warm1) || hasColour(*over, warm2));
        EXPECT_FALSE(hasColour(*over, blue1) || hasColour(*over, blue2));

        const auto focus = paint(shape, 6, kFocus);
        EXPECT_TRUE(hasColour(*focus, blue1) || hasColour(*focus, blue2));
        EXPECT_FALSE(hasColour(*focus, warm1) || hasColour(*focus, warm2));
        EXPECT_NE(focus->face(), paint(shape, 6, kRest)->face());
    }
}

TEST(ShapeRules, Style7PressedDrawsNoFocusRing)
{
    constexpr ColorRef ringFocus = 0xFECC04, ringPressed = 0xCFB073;
    for (const int shape : kShapes) {
        SCOPED_TRACE(testing::Message() << "shape " << shape);
        const auto pressedFocus = paint(shape, 7, {true, false, true});
        EXPECT_EQ(pressedFocus->face(), paint(shape, 7, kPressed)->face());
        EXPECT_TRUE(hasColour(*pressedFocus, ringPressed));
        EXPECT_FALSE(hasColour(*pressedFocus, ringFocus));
        EXPECT_TRUE(hasColour(*paint(shape, 7, kFocus), ringFocus));
        EXPECT_FALSE(hasColour(*paint(shape, 7, kRest), ringFocus));
    }
}

TEST(ShapeRules, FocusRectFalseHidesEveryFocusLook)
{
    for (const int shape : kShapes) {
        for (int style = 0; style <= 8; ++style) {
            for (const Flags f : {kRest, kOver, kPressed}) {
                auto focused = paint(shape, style, {f.pressed, f.over, true});
                focused->setFocusRect(false);
                auto plain = paint(shape, style, f);
                plain->setFocusRect(false);
                ASSERT_EQ(focused->face(), plain->face())
                    << "shape " << shape << " style " << style << " pressed " << f.pressed << " over " << f.over;
            }
        }
    }
}

// The pixel under the top vertex: the border colour on an opaque face, the background on a
// transparent one, and black after any style-6 lines.
TEST(ShapeRules, DiamondTopPixel)
{
    for (const int n : {30, 31, 40}) {
        const int mid = raster::roundHalfEven(n / 2.0);
        auto b = makeButton(Button::Diamond, 0, QSize(n, n));
        b->setBackColor(kBack);
        b->setBorderColor(0x0000FF);
        b->setButtonStyleColors(1);
        EXPECT_EQ(facePixel(*b, mid, 1), 0x0000FFu) << n;
        b->setButtonStyleColors(0);
        EXPECT_FALSE(shown(*b, mid, 1)) << n;

        // Transparent, so that only the tip can put anything there.
        b->setButtonStyle(6);
        b->setBackColor(kBack);
        const std::pair<Flags, bool> looks[] = {{kPressed, true}, {kOver, true}, {kFocus, true}, {kRest, false}};
        for (const auto& [f, tip] : looks) {
            b->setStateFlags(f.pressed, f.over, f.focus);
            EXPECT_EQ(shown(*b, mid, 1), tip) << n << " pressed " << f.pressed << " over " << f.over;
            if (tip) {
                EXPECT_EQ(facePixel(*b, mid, 1), kBlack) << n;
            }
        }
    }
}

// The diamond blackens its grey focus outline on every odd row itself; the painter's dotting then
// blackens the grey pixels whose x and y are both even or both odd.
TEST(ShapeRules, DiamondDotsItsFocusOutline)
{
    for (const int n : {30, 31, 40, 41}) {
        auto b = makeButton(Button::Diamond, 0, QSize(n, n));
        b->setButtonStyleColors(0);
        b->setBackColor(kBack);
        b->setBorderColor(0x0000FF);
        b->setStateFlags(false, false, true);
        int marks = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const ColorRef c = facePixel(*b, x, y);
                if (!shown(*b, x, y) || (c != kBlack && c != kFocusGrey))
                    continue;
                ++marks;
                const bool black = y % 2 == 1 || x % 2 == 0;
                EXPECT_EQ(c, black ? kBlack : kFocusGrey) << n << ": " << x << "," << y;
            }
        }
        EXPECT_GT(marks, 2 * (n - 12)) << n;
    }
}

} // namespace
