// The rectangle family on real faces: outlines, rings and glows by style and state, the dotted
// focus outline, and the window region. Probes are small pixel lists, never whole images.
#include "PaintTestUtil.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <set>

namespace {

enum class State { Normal, Hover, Pressed, Focus };

void setState(Button& b, State s, bool focus = false)
{
    b.setStateFlags(s == State::Pressed, s == State::Hover || s == State::Pressed, focus || s == State::Focus);
}

struct MainWindowCase {
    State state;
    ColorRef outline;
    ColorRef ring;
};

// The main window's buttons: rectangle, style 7, the stored colours.
TEST(RectangleStyle7, OutlineAndRingFollowTheState)
{
    const MainWindowCase cases[] = {
        {State::Normal, 0x8F8F8E, kWhite},
        {State::Hover, 0xB17F3C, kWhite},
        {State::Pressed, 0x5C411D, 0xCFB073},
        {State::Focus, 0x8F8F8E, 0xFECC04}, // the focus ring over the white one
    };
    for (const QSize size : {QSize(73, 25), QSize(97, 25)}) {
        for (const auto& c : cases) {
            auto b = makeButton(Button::Rectangle, 7, size);
            setState(*b, c.state);
            const int w = size.width(), h = size.height();
            const QPoint outline[] = {{0, 0},         {w / 2, 0},     {w - 1, 0}, {w - 1, h / 2},
                                      {w - 1, h - 1}, {w / 2, h - 1}, {0, h - 1}, {0, h / 2}};
            const QPoint ring[] = {{1, 1},         {w / 2, 1},     {w - 2, 1}, {w - 2, h / 2},
                                   {w - 2, h - 2}, {w / 2, h - 2}, {1, h - 2}, {1, h / 2}};
            for (const QPoint p : outline)
                EXPECT_EQ(facePixel(*b, p.x(), p.y()), c.outline) << int(c.state) << " outline " << p.x() << "," << p.y();
            for (const QPoint p : ring)
                EXPECT_EQ(facePixel(*b, p.x(), p.y()), c.ring) << int(c.state) << " ring " << p.x() << "," << p.y();
            // Style 7 shows focus in its ring only: no dotted outline anywhere.
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_TRUE(facePixel(*b, x, y) != kFocusGrey && facePixel(*b, x, y) != kBlack) << x << "," << y;
        }
    }
}

// The dotted focus outline 4 pixels in: black where x and y have the same parity, grey elsewhere.
ColorRef dotAt(int x, int y)
{
    return (x + y) % 2 == 0 ? kBlack : kFocusGrey;
}

struct PlainCase {
    int style;
    State state;
};

// Styles 0, 5 and 8 draw no edge lines: on a transparent background only the outline (where it
// differs from BackColor) and the dotted focus outline remain.
TEST(RectangleStyles058, ShowOnlyTheOutlineAndTheDottedFocus)
{
    constexpr quint32 back = 0x30A060;
    constexpr int w = 40, h = 30;
    const PlainCase cases[] = {
        {0, State::Normal}, {0, State::Hover}, {0, State::Pressed},
        {5, State::Normal}, {5, State::Hover}, {5, State::Pressed},
        {8, State::Normal}, {8, State::Hover}, {8, State::Pressed},
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, c.style, QSize(w, h));
        b->setButtonStyleColors(0);
        b->setBackColor(back);
        b->setBorderColor(0x102030);
        b->setBorderColorHover(0x203040);
        b->setBorderColorPressed(0x304050);
        setState(*b, c.state, true);
        const quint32 border = c.state == State::Pressed ? b->BorderColorPressed()
                               : c.state == State::Hover ? b->BorderColorHover() : b->BorderColor();
        const ColorRef borderPixel = sysColour(border);
        std::set<std::pair<int, int>> outline, focus;
        for (const QPoint p : boxPath(0, 0, w - 1, h - 1))
            outline.insert({p.x(), p.y()});
        for (const QPoint p : boxPath(4, 4, w - 5, h - 5))
            focus.insert({p.x(), p.y()});
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                SCOPED_TRACE(testing::Message()
                             << "style " << c.style << " state " << int(c.state) << " at " << x << "," << y);
                if (focus.count({x, y})) {
                    ASSERT_TRUE(shown(*b, x, y));
                    ASSERT_EQ(facePixel(*b, x, y), dotAt(x, y));
                } else if (outline.count({x, y}) && borderPixel != back) {
                    ASSERT_TRUE(shown(*b, x, y));
                    ASSERT_EQ(facePixel(*b, x, y), borderPixel);
                } else {
                    ASSERT_FALSE(shown(*b, x, y));
                }
            }
        }
    }
}

TEST(RectangleFocus, OutlineCornersOnA25By25Face)
{
    auto b = makeButton(Button::Rectangle, 0, QSize(25, 25));
    b->setButtonStyleColors(0);
    b->setBackColor(0x30A060);
    setState(*b, State::Focus);
    const std::pair<QPoint, ColorRef> dotted[] = {
        {{4, 4}, kBlack}, {{4, 20}, kBlack}, {{20, 20}, kBlack}, {{20, 4}, kBlack},
        {{4, 5}, kFocusGrey}, {{5, 4}, kFocusGrey}, {{19, 20}, kFocusGrey}, {{20, 19}, kFocusGrey},
    };
    for (const auto& [p, colour] : dotted) {
        EXPECT_TRUE(shown(*b, p.x(), p.y())) << p.x() << "," << p.y();
        EXPECT_EQ(facePixel(*b, p.x(), p.y()), colour) << p.x() << "," << p.y();
    }
    for (const QPoint p : {QPoint(3, 4), QPoint(21, 20), QPoint(20, 21), QPoint(5, 5), QPoint(19, 19)})
        EXPECT_FALSE(shown(*b, p.x(), p.y())) << p.x() << "," << p.y();

    b->setFocusRect(false);
    EXPECT_FALSE(shown(*b, 4, 4));
}

// Style 3 is flat at rest and shows its 3-D edge only under the mouse or pressed; style 4 draws
// its edges only while enabled.
struct EdgeCase {
    int style;
    State state;
    bool enabled;
    ColorRef topLeft; // the pixel (5, 0) on the top edge
};

TEST(RectangleEdges, FlatStylesShowOnlyTheOutline)
{
    const ColorRef face = sysColour(0x8000000F);
    const ColorRef shadow = sysColour(0x80000010);
    const EdgeCase cases[] = {
        {3, State::Normal, true, face},  // outline in BackColor: nothing to see
        {3, State::Hover, true, kWhite}, {3, State::Pressed, true, sysColour(0x80000015)},
        {4, State::Normal, false, shadow},
        {4, State::Normal, true, shadow},
    };
    constexpr int w = 40, h = 25;
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, c.style, QSize(w, h));
        b->setEnabled(c.enabled);
        setState(*b, c.state);
        EXPECT_EQ(facePixel(*b, 5, 0), c.topLeft) << c.style << " " << int(c.state);
        if (c.state != State::Normal || (c.style == 4 && c.enabled))
            continue;
        // At rest (style 3) or disabled (style 4): the outline on a plain face, nothing else.
        const ColorRef outline = sysColour(b->BorderColor());
        std::set<std::pair<int, int>> onOutline;
        for (const QPoint p : boxPath(0, 0, w - 1, h - 1))
            onOutline.insert({p.x(), p.y()});
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(facePixel(*b, x, y), onOutline.count({x, y}) ? outline : face) << c.style << " " << x << "," << y;
    }
    auto enabled4 = makeButton(Button::Rectangle, 4, QSize(w, h));
    EXPECT_EQ(facePixel(*enabled4, 1, 1), kWhite);
    EXPECT_EQ(facePixel(*enabled4, w - 2, 5), shadow);
}

struct GlowCase {
    bool pressed;
    bool over;
    bool focus;
    ColorRef pressedLine; // (10, H-3)
    ColorRef glowLine;    // (10, H-2)
};

// Style 6: pressed wins over the mouse, the mouse over the focus.
TEST(RectangleStyle6, PressedOverHoverOverFocus)
{
    constexpr int w = 60, h = 25;
    constexpr ColorRef warm1 = 0x109ADC, blue1 = 0xD98D59;
    const GlowCase cases[] = {
        {true, true, true, kWhite, 0},
        {false, true, true, 0, warm1},
        {false, false, true, 0, blue1},
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, 6, QSize(w, h));
        b->setStateFlags(c.pressed, c.over, c.focus);
        const ColorRef line = facePixel(*b, 10, h - 3);
        const ColorRef glow = facePixel(*b, 10, h - 2);
        if (c.pressedLine) {
            EXPECT_EQ(line, c.pressedLine);
        }
        if (c.glowLine) {
            EXPECT_EQ(glow, c.glowLine);
        } else {
            EXPECT_TRUE(glow != warm1 && glow != blue1);
        }
    }
    auto resting = makeButton(Button::Rectangle, 6, QSize(w, h));
    resting->setStateFlags(false, false, false);
    EXPECT_TRUE(facePixel(*resting, 10, h - 2) != warm1 && facePixel(*resting, 10, h - 2) != blue1);
}

TEST(ShapeRegion, BackToRectangleRemovesTheMask)
{
    auto b = makeButton(Button::RoundedRectangle, 1, QSize(73, 25));
    EXPECT_FALSE(b->shapeRegion().isEmpty());
    EXPECT_FALSE(b->mask().isEmpty());
    EXPECT_FALSE(shown(*b, 0, 0));
    EXPECT_TRUE(shown(*b, 36, 12));
    // The region loses the outline's last column and row.
    EXPECT_FALSE(shown(*b, 72, 12));
    EXPECT_TRUE(shown(*b, 71, 12));

    b->setButtonShape(Button::Rectangle);
    EXPECT_TRUE(b->shapeRegion().isEmpty());
    EXPECT_TRUE(b->mask().isEmpty());
    EXPECT_TRUE(shown(*b, 0, 0));
    EXPECT_TRUE(shown(*b, 72, 24));
}

TEST(ShapeRegion, ShapeOutsideTheListKeepsTheRegionAndDrawsNoOutline)
{
    auto b = makeButton(Button::RoundedRectangle, 0, QSize(60, 60));
    const QRegion rounded = b->shapeRegion();
    b->setBorderColor(0x0000FF);
    b->setButtonShape(Button::Shape(12));
    EXPECT_EQ(b->shapeRegion(), rounded);
    EXPECT_EQ(facePixel(*b, 30, 0), sysColour(0x8000000F));
}

} // namespace
