// The ten non-rectangular shapes: window region, outline and point buffers against their geometry
// written out by hand for 30 × 30 and 31 × 31 faces, and the arrows' style lines against the region.
#include "PaintTestUtil.h"

#include "Region.h"
#include "ShapeCache.h"
#include "Surface.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using Points = std::vector<QPoint>;

struct Geometry {
    int shape;
    int size;
    Points region;  ///< polygon corners, in ShapePoints order; empty for the ellipse
    Points outline; ///< one path; empty for the ellipse
    Points focus;   ///< focus mark corners, in FocusMarkPoints order
};

// W/2 of 31 is 16, W/3 is 10 and W/1.5 is 21.
const Geometry kGeometry[] = {
    {Button::Ellipse, 30, {}, {}, {}},
    {Button::Ellipse, 31, {}, {}, {}},
    {Button::Diamond, 30, {{30, 15}, {15, 0}, {0, 15}, {15, 30}}, {{0, 15}, {15, 29}, {29, 15}, {15, 0}, {0, 15}},
     {{24, 15}, {15, 5}, {5, 15}, {15, 24}}},
    {Button::Diamond, 31, {{31, 16}, {16, 0}, {0, 16}, {16, 31}}, {{0, 16}, {16, 30}, {30, 16}, {16, 0}, {0, 16}},
     {{25, 16}, {16, 5}, {5, 16}, {16, 25}}},
    {Button::TriangleUp, 30, {{0, 30}, {15, 0}, {30, 30}}, {{15, 1}, {1, 29}, {28, 29}, {15, 1}},
     {{7, 25}, {15, 9}, {22, 25}}},
    {Button::TriangleUp, 31, {{0, 31}, {16, 0}, {31, 31}}, {{16, 1}, {1, 30}, {29, 30}, {16, 1}},
     {{7, 26}, {16, 9}, {23, 26}}},
    {Button::TriangleLeft, 30, {{0, 15}, {30, 0}, {30, 30}}, {{1, 15}, {29, 1}, {29, 29}, {1, 15}},
     {{9, 15}, {25, 7}, {25, 22}}},
    {Button::TriangleLeft, 31, {{0, 16}, {31, 0}, {31, 31}}, {{1, 16}, {30, 1}, {30, 30}, {1, 16}},
     {{9, 16}, {26, 7}, {26, 23}}},
    {Button::TriangleRight, 30, {{30, 15}, {0, 0}, {0, 30}}, {{28, 15}, {0, 1}, {0, 29}, {29, 15}},
     {{20, 15}, {4, 7}, {4, 22}}},
    {Button::TriangleRight, 31, {{31, 16}, {0, 0}, {0, 31}}, {{29, 16}, {0, 1}, {0, 30}, {30, 16}},
     {{21, 16}, {4, 7}, {4, 23}}},
    {Button::TriangleDown, 30, {{0, 1}, {15, 30}, {30, 1}}, {{15, 29}, {29, 1}, {1, 1}, {15, 29}},
     {{6, 4}, {15, 20}, {22, 4}}},
    {Button::TriangleDown, 31, {{0, 1}, {16, 31}, {31, 1}}, {{16, 30}, {30, 1}, {1, 1}, {16, 30}},
     {{6, 4}, {16, 21}, {23, 4}}},
    {Button::ArrowUp, 30, {{15, 0}, {0, 20}, {10, 20}, {10, 30}, {20, 30}, {20, 20}, {30, 20}},
     {{15, 1}, {1, 19}, {10, 19}, {10, 29}, {19, 29}, {19, 19}, {29, 19}, {15, 1}},
     {{15, 6}, {9, 15}, {14, 15}, {14, 25}, {15, 25}, {15, 15}, {20, 15}}},
    {Button::ArrowUp, 31, {{16, 0}, {0, 21}, {10, 21}, {10, 31}, {21, 31}, {21, 21}, {31, 21}},
     {{16, 1}, {1, 20}, {10, 20}, {10, 30}, {20, 30}, {20, 20}, {30, 20}, {16, 1}},
     {{16, 6}, {9, 16}, {14, 16}, {14, 26}, {16, 26}, {16, 16}, {21, 16}}},
    {Button::ArrowLeft, 30, {{0, 15}, {20, 0}, {20, 10}, {30, 10}, {30, 20}, {20, 20}, {20, 30}},
     {{29, 10}, {19, 10}, {19, 1}, {1, 15}, {19, 29}, {19, 19}, {29, 19}, {29, 10}},
     {{6, 15}, {15, 9}, {15, 14}, {25, 14}, {25, 15}, {15, 15}, {15, 20}}},
    {Button::ArrowLeft, 31, {{0, 16}, {21, 0}, {21, 10}, {31, 10}, {31, 21}, {21, 21}, {21, 31}},
     {{30, 10}, {20, 10}, {20, 1}, {1, 16}, {20, 30}, {20, 20}, {30, 20}, {30, 10}},
     {{6, 16}, {16, 9}, {16, 14}, {26, 14}, {26, 16}, {16, 16}, {16, 21}}},
    {Button::ArrowRight, 30, {{30, 15}, {10, 0}, {10, 10}, {0, 10}, {0, 20}, {10, 20}, {10, 30}},
     {{0, 19}, {0, 10}, {10, 10}, {10, 1}, {29, 15}, {10, 29}, {10, 19}, {0, 19}},
     {{23, 15}, {14, 9}, {14, 14}, {4, 14}, {4, 15}, {14, 15}, {14, 20}}},
    {Button::ArrowRight, 31, {{31, 16}, {10, 0}, {10, 10}, {0, 10}, {0, 21}, {10, 21}, {10, 31}},
     {{0, 20}, {0, 10}, {10, 10}, {10, 1}, {30, 16}, {10, 30}, {10, 20}, {0, 20}},
     {{24, 16}, {14, 9}, {14, 14}, {4, 14}, {4, 16}, {14, 16}, {14, 21}}},
    {Button::ArrowDown, 30, {{15, 30}, {0, 10}, {10, 10}, {10, 0}, {20, 0}, {20, 10}, {30, 10}},
     {{20, 0}, {10, 0}, {10, 10}, {1, 10}, {15, 29}, {29, 10}, {19, 10}, {19, 0}},
     {{15, 23}, {9, 14}, {14, 14}, {14, 4}, {15, 4}, {15, 14}, {20, 14}}},
    {Button::ArrowDown, 31, {{16, 31}, {0, 10}, {10, 10}, {10, 0}, {21, 0}, {21, 10}, {31, 10}},
     {{21, 0}, {10, 0}, {10, 10}, {1, 10}, {16, 30}, {30, 10}, {20, 10}, {20, 0}},
     {{16, 24}, {9, 14}, {14, 14}, {14, 4}, {16, 4}, {16, 14}, {21, 14}}},
};

constexpr quint32 kBack = 0x123456;
constexpr quint32 kBorder = 0x0000FF;

// A style-0 button on an opaque plain face, so only the outline (and the focus mark) is drawn.
std::unique_ptr<Button> plainButton(int shape, int size, bool focus)
{
    auto b = makeButton(shape, 0, QSize(size, size));
    b->setBackColor(kBack);
    b->setBorderColor(kBorder);
    b->setStateFlags(false, false, focus);
    return b;
}

TEST(ShapeGeometry, RegionOutlineAndPointBuffersAt30And31)
{
    for (const Geometry& g : kGeometry) {
        SCOPED_TRACE(testing::Message() << "shape " << g.shape << " size " << g.size);
        const int n = g.size;
        auto b = plainButton(g.shape, n, true);
        ASSERT_EQ(b->width(), n);
        ASSERT_EQ(b->height(), n);

        const bool ellipse = g.region.empty();
        const raster::Region region = ellipse ? raster::Region::ellipse(0, 0, n, n) : raster::Region::polygon(g.region);
        raster::Surface reference(n, n);
        reference.setPenColor(kBorder);
        if (ellipse) {
            reference.roundRect(1, 1, n - 2, n - 2, n - 2, n - 2);
        } else {
            reference.moveTo(g.outline[0].x(), g.outline[0].y());
            for (std::size_t i = 1; i < g.outline.size(); ++i)
                reference.lineTo(g.outline[i].x(), g.outline[i].y());
        }
        if (g.shape == Button::Diamond) // the top pixel of an opaque face
            reference.setPixel(raster::roundHalfEven(n / 2.0), 1, kBorder);

        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                ASSERT_EQ(b->mask().contains(QPoint(x, y)), region.contains(x, y)) << x << "," << y;
                ASSERT_EQ(shown(*b, x, y), region.contains(x, y)) << x << "," << y;
                if (region.contains(x, y)) {
                    ASSERT_EQ(facePixel(*b, x, y) == kBorder, reference.getPixel(x, y) == kBorder) << x << "," << y;
                }
            }
        }
        for (std::size_t i = 0; i < g.region.size(); ++i)
            EXPECT_EQ(b->shapePoints()[i], g.region[i]) << "shape point " << i;
        for (std::size_t i = 0; i < g.focus.size(); ++i)
            EXPECT_EQ(b->focusMarkPoints()[i], g.focus[i]) << "focus mark point " << i;
    }
}

// 33 / 2 is 16.5, which goes to the even 16 like 31 / 2 = 15.5.
TEST(ShapeGeometry, HalvesOfOddSizesGoToTheEvenNeighbour)
{
    auto right = makeButton(Button::TriangleRight, 0, QSize(33, 33));
    EXPECT_EQ(right->shapePoints()[0], QPoint(33, 16));
    auto down = makeButton(Button::TriangleDown, 0, QSize(33, 33));
    EXPECT_EQ(down->shapePoints()[1], QPoint(16, 33));
    auto diamond = makeButton(Button::Diamond, 0, QSize(33, 33));
    EXPECT_EQ(diamond->shapePoints()[1], QPoint(16, 0));
    EXPECT_EQ(diamond->shapePoints()[2], QPoint(0, 16));
}

TEST(ShapeGeometry, TriangleDownLeavesTheTopRowOutside)
{
    for (const int n : {25, 30, 31, 64}) {
        auto b = plainButton(Button::TriangleDown, n, false);
        for (int x = 0; x < n; ++x) {
            EXPECT_FALSE(b->mask().contains(QPoint(x, 0))) << n << ": " << x;
            EXPECT_FALSE(shown(*b, x, 0)) << n << ": " << x;
        }
        EXPECT_TRUE(shown(*b, n / 2, 1)) << n;
        EXPECT_EQ(facePixel(*b, n / 2, 1), kBorder) << n;
    }
}

// The shaft's end is level at every height: the outline along it, and the style-6 lines above it.
TEST(ShapeGeometry, ArrowUpShaftEndIsLevelForEveryHeight)
{
    const auto r = [](double v) { return raster::roundHalfEven(v); };
    for (int n = 25; n <= 90; ++n) {
        auto b = makeButton(Button::ArrowUp, 6, QSize(n, n));
        b->setStateFlags(false, true, false);
        const int left = r(n / 3.0), right = r(n / 1.5);
        const ColorRef border = sysColour(b->BorderColorHover());
        for (int x = left; x < right; ++x)
            ASSERT_EQ(facePixel(*b, x, n - 1), border) << n << ": outline at " << x;
        for (int x = left + 1; x <= right - 2; ++x)
            ASSERT_EQ(facePixel(*b, x, n - 2), 0x109ADCu) << n << ": glow line 1 at " << x;
        for (int x = left + 2; x <= right - 3; ++x)
            ASSERT_EQ(facePixel(*b, x, n - 3), 0x31B2F0u) << n << ": glow line 2 at " << x;

        b->setStateFlags(true, false, false);
        for (int x = left + 3; x <= right - 4; ++x)
            ASSERT_EQ(facePixel(*b, x, n - 3), sysColour(0x80000014)) << n << ": pressed line at " << x;
        // Line 3 starts at H - 4.5 rounded half to even: one row higher on odd heights.
        b->setStateFlags(false, true, false);
        const int lineThree = right - 3;
        EXPECT_EQ(facePixel(*b, lineThree, n % 2 ? n - 5 : n - 4), 0x90D6F7u) << n;
        if (n % 2) {
            EXPECT_NE(facePixel(*b, lineThree, n - 4), 0x90D6F7u) << n;
        }
    }
}

// Style-line pixels drawn straight through the frame: a pen the colour of the background hides the
// outline, so whatever changes belongs to the style lines. Style 0 with a visible pen gives the outline.
struct Drawn {
    std::vector<raster::ColorRef> pixels;
    raster::Region region;
};

Drawn drawLines(int shape, int n, int style, bool pressed, bool over, bool focus, raster::ColorRef pen = 0)
{
    raster::Surface surface(n, n);
    shape::ShapeCache cache;
    std::array<QPoint, 7> focusPoints{};
    shape::ShapeCanvas canvas{surface, focusPoints};
    canvas.setPen(pen);
    shape::FrameState state;
    state.style = &styleInfo(style);
    state.styleColors = 1;
    state.pressed = pressed;
    state.mouseOver = over;
    state.hasFocus = focus;
    state.focusRect = true;
    const shape::ShapeTable& table = *shape::shapeTable(shape);
    cache.draw(shape::planFrame(table, state), n, n, canvas);
    Drawn d{std::vector<raster::ColorRef>(std::size_t(n) * n), cache.region(table.region, n, n).region};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            d.pixels[std::size_t(y) * n + x] = surface.getPixel(x, y);
    return d;
}

struct Look {
    int style;
    bool pressed, over, focus;
};
const Look kLooks[] = {
    {1, false, false, false}, {1, true, false, false}, {2, false, false, false}, {2, true, false, false},
    {3, false, true, false},  {4, false, false, false}, {6, true, false, false}, {6, false, true, false},
    {6, false, false, true},  {7, false, false, true},  {7, true, false, false},
};

// The left, right and down arrows' lines were derived from the up arrow's; none may leave the region
// except where they retrace the outline (whose slanted edges, as given, can cross a pixel outside).
TEST(ShapeGeometry, ArrowStyleLinesStayInsideTheRegion)
{
    for (const int shape : {Button::ArrowUp, Button::ArrowLeft, Button::ArrowRight, Button::ArrowDown}) {
        for (int n = 25; n <= 80; ++n) {
            const Drawn outline = drawLines(shape, n, 0, false, false, false, 0x0000FF);
            for (const Look& look : kLooks) {
                if (look.style == 7 && shape != Button::ArrowUp)
                    continue; // the rings of these three are given as they are, and touch the edge
                const Drawn d = drawLines(shape, n, look.style, look.pressed, look.over, look.focus);
                for (int y = 0; y < n; ++y) {
                    for (int x = 0; x < n; ++x) {
                        if (d.pixels[std::size_t(y) * n + x] == 0 || outline.pixels[std::size_t(y) * n + x] != 0)
                            continue;
                        ASSERT_TRUE(d.region.contains(x, y))
                            << "shape " << shape << " size " << n << " style " << look.style << " pressed "
                            << look.pressed << " over " << look.over << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

// ArrowLeft mirrors ArrowUp across the diagonal, and ArrowRight mirrors ArrowDown: the same pixels
// take a style line. (ArrowUp's glow line 3 starts half a pixel lower on odd sizes, which the
// derived arrows do not copy, so only even sizes compare for style 6.)
TEST(ShapeGeometry, SideArrowsMirrorTheUprightOnes)
{
    const std::pair<int, int> pairs[] = {{Button::ArrowUp, Button::ArrowLeft}, {Button::ArrowDown, Button::ArrowRight}};
    for (const auto& [upright, side] : pairs) {
        for (int n = 25; n <= 64; ++n) {
            for (const Look& look : kLooks) {
                if (look.style == 7 || (look.style == 6 && !look.pressed && n % 2 && upright == Button::ArrowUp))
                    continue;
                const Drawn a = drawLines(upright, n, look.style, look.pressed, look.over, look.focus);
                const Drawn b = drawLines(side, n, look.style, look.pressed, look.over, look.focus);
                for (int y = 0; y < n; ++y)
                    for (int x = 0; x < n; ++x)
                        ASSERT_EQ(a.pixels[std::size_t(y) * n + x] != 0, b.pixels[std::size_t(x) * n + y] != 0)
                            << "shapes " << upright << "/" << side << " size " << n << " style " << look.style
                            << " pressed " << look.pressed << " at " << x << "," << y;
            }
        }
    }
}

} // namespace
