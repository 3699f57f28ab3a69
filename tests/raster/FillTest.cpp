#include "Pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace raster;

namespace {

// Red channel of each pixel in row y (or column x when vertical), from..to-1.
std::vector<int> reds(const Surface& s, bool alongX, int fixed, int from, int to)
{
    std::vector<int> out;
    for (int i = from; i < to; ++i)
        out.push_back(int((alongX ? s.getPixel(i, fixed) : s.getPixel(fixed, i)) & 0xFF));
    return out;
}

GradientVertex red(int x, int y, int value)
{
    return gradientVertex(x, y, rgb(value, 0, 0));
}

} // namespace

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const struct {
        double in;
        int out;
    } cases[] = {{31 / 2.0, 16}, {33 / 2.0, 16}, {31 / 1.5, 21}, {31 / 3.0, 10}, {5.48, 5}, {0.5, 0}, {1.5, 2},
                 {2.5, 2},       {-0.5, 0},      {-2.5, -2},     {-3.5, -4},     {-1.2, -1}, {7.0, 7}, {-7.51, -8},
                 {2147483647.4, 2147483647},     {-2147483648.5, -2147483647 - 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
        EXPECT_EQ(tryRoundHalfEven(c.in), c.out) << c.in;
    }
    // What does not fit is reported by the checked form and saturates in the plain one.
    EXPECT_EQ(tryRoundHalfEven(2147483647.5), std::nullopt);
    EXPECT_EQ(tryRoundHalfEven(-3e9), std::nullopt);
    EXPECT_EQ(tryRoundHalfEven(std::nan("")), std::nullopt);
    EXPECT_EQ(roundHalfEven(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfEven(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
}

TEST(Pixels, StoredAsRgb32AndReadBackAsColorRefs)
{
    Surface s(4, 3);
    s.setPixel(1, 2, rgb(0x11, 0x22, 0x33));
    EXPECT_EQ(s.bits()[2 * 4 + 1], 0x00112233u);
    EXPECT_EQ(s.getPixel(1, 2), 0x00332211u);
    EXPECT_EQ(s.image().pixel(1, 2), 0xFF112233u);
    EXPECT_EQ(s.image().format(), QImage::Format_RGB32);

    for (const auto& [x, y] : {Pixel{-1, 0}, {4, 0}, {0, 3}, {0, -1}, {-2147483647 - 1, 2147483647}}) {
        s.setPixel(x, y, 0xFFFFFF); // harmless
        EXPECT_EQ(s.getPixel(x, y), kInvalidColor);
    }
    EXPECT_EQ(painted(s), (PixelSet{{1, 2}}));

    s.fill(0x80FF0000); // the top byte of a colour never reaches the buffer
    EXPECT_EQ(s.bits()[0], 0x000000FFu);

    s.setPenColor(0x80A0B0C0); // nor does a pen's
    EXPECT_EQ(s.penColor(), 0x00A0B0C0u);
}

TEST(Pixels, ResizeRefusesNonsenseAndClears)
{
    Surface s(3, 3);
    s.fill(0xFFFFFF);
    EXPECT_TRUE(s.resize(3, 3));
    EXPECT_EQ(s.getPixel(2, 2), 0u);
    EXPECT_FALSE(s.resize(-1, 5));
    EXPECT_EQ(s.width(), 0);
    EXPECT_TRUE(s.image().isNull());
    EXPECT_FALSE(s.resize(1 << 20, 1 << 20));
    s.moveTo(0, 0); // drawing on an empty surface does nothing
    s.lineTo(5, 5);
    s.gradientFill(red(0, 0, 0), red(5, 5, 255), GradientMode::Horizontal);
    s.textOut(0, 0, "x");
    EXPECT_EQ(s.getPixel(0, 0), kInvalidColor);
}

TEST(Gradient, TruncatedRampsFromTheUnclippedVertices)
{
    const std::vector<int> up = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229};
    const struct {
        const char* name;
        GradientVertex a, b;
        GradientMode mode;
        bool alongX;
        int fixed, from, to;
        std::vector<int> expected;
    } cases[] = {
        {"0 to 255 over 10 columns", red(0, 0, 0), red(10, 4, 255), GradientMode::Horizontal, true, 3, 0, 10, up},
        {"255 to 0 over 4", red(0, 0, 255), red(4, 1, 0), GradientMode::Horizontal, true, 0, 0, 4, {255, 191, 127, 63}},
        {"vertices swapped by x", red(10, 4, 255), red(0, 0, 0), GradientMode::Horizontal, true, 0, 0, 10, up},
        {"vertical", red(0, 0, 0), red(4, 10, 255), GradientMode::Vertical, false, 2, 0, 10, up},
        {"vertical, swapped by y", red(4, 10, 255), red(0, 0, 0), GradientMode::Vertical, false, 3, 0, 10, up},
        {"left vertex off the surface", red(-5, 0, 0), red(5, 2, 100), GradientMode::Horizontal, true, 1, 0, 5,
         {50, 60, 70, 80, 90}},
        {"far vertex beyond the surface", red(0, 0, 0), red(100, 2, 200), GradientMode::Horizontal, true, 0, 8, 12,
         {16, 18, 20, 22}},
        {"nothing right of the second vertex", red(0, 0, 0), red(10, 4, 255), GradientMode::Horizontal, true, 0, 9,
         12, {229, 0, 0}},
        {"nothing below the rectangle", red(0, 0, 0), red(10, 4, 255), GradientMode::Horizontal, false, 5, 3, 6,
         {127, 0, 0}},
        {"no width, nothing", red(3, 0, 0), red(3, 9, 255), GradientMode::Horizontal, true, 0, 0, 6, {0, 0, 0, 0, 0, 0}},
        {"no height, nothing", red(0, 2, 255), red(9, 2, 255), GradientMode::Horizontal, true, 2, 0, 3, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Surface s(12, 12);
        s.gradientFill(c.a, c.b, c.mode);
        EXPECT_EQ(reds(s, c.alongX, c.fixed, c.from, c.to), c.expected) << c.name;
    }
}

TEST(Gradient, ChannelsAreIndependentAndRowsShareOneColour)
{
    Surface s(73, 25);
    // A face-sized fill that starts above the surface and ends far below it, like the glossy styles do.
    s.gradientFill(gradientVertex(0, -4, rgb(10, 200, 255)), gradientVertex(73, 50, rgb(250, 0, 7)),
                   GradientMode::Vertical);
    for (int y = 0; y < 25; ++y) {
        const int pos = y + 4;
        const ColorRef expected = rgb((10 * (54 - pos) + 250 * pos) / 54, (200 * (54 - pos)) / 54,
                                      (255 * (54 - pos) + 7 * pos) / 54);
        for (int x : {0, 36, 72})
            ASSERT_EQ(s.getPixel(x, y), expected) << x << "," << y;
    }
    for (int i = 0; i < 73 * 25; ++i)
        ASSERT_EQ(s.bits()[i] >> 24, 0u);

    // 16-bit channels are used as given: 0x80FF → 128 at the start, not 129.
    s.gradientFill({0, 0, 0x80FF, 0, 0}, {2, 1, 0xFFFF, 0, 0}, GradientMode::Horizontal);
    EXPECT_EQ(s.getPixel(0, 0) & 0xFF, 128u);
    EXPECT_EQ(s.getPixel(1, 0) & 0xFF, (0x80FF + 0xFFFF) / 2 / 256);
}
