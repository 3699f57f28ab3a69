#include "Pixels.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace raster;

namespace {

std::vector<Row> expand(std::initializer_list<std::tuple<int, int, int, int>> bands) // rows y0..y1: x0..x1
{
    std::vector<Row> out;
    for (const auto& [y0, y1, x0, x1] : bands)
        for (int y = y0; y <= y1; ++y)
            out.push_back({y, {{x0, x1}}});
    return out;
}

// Rows of a polygon with one span per row, from two edge functions: [ceil(left(y)), ceil(right(y))).
template <typename L, typename R>
std::vector<Row> convexRows(int y0, int y1, L left, R right)
{
    std::vector<Row> out;
    for (int y = y0; y <= y1; ++y) {
        const int l = int(std::ceil(left(y))), r = int(std::ceil(right(y)));
        if (l < r)
            out.push_back({y, {{l, r - 1}}});
    }
    return out;
}

} // namespace

// CreatePolygonRgn samples the pixels' top-left corners: the right edge and bottom row fall outside.
TEST(PolygonRegion, ShapesOnAThirtyPixelFace)
{
    const QPoint triangleUp[] = {{0, 30}, {15, 0}, {30, 30}};
    const QPoint triangleLeft[] = {{0, 15}, {30, 0}, {30, 30}};
    const QPoint triangleRight[] = {{30, 15}, {0, 0}, {0, 30}};
    const QPoint diamond[] = {{30, 15}, {15, 0}, {0, 15}, {15, 30}};
    const QPoint arrowUp[] = {{15, 0}, {0, 20}, {10, 20}, {10, 30}, {20, 30}, {20, 20}, {30, 20}};

    const auto up =
        convexRows(0, 31, [](double y) { return 15 - y / 2; }, [](double y) { return y < 30 ? 15 + y / 2 : 0; });
    ASSERT_EQ(up.size(), 29u);
    EXPECT_EQ(up[0], (Row{1, {{15, 15}}})); // the worked example's first rows and last row
    EXPECT_EQ(up[1], (Row{2, {{14, 15}}}));
    EXPECT_EQ(up[2], (Row{3, {{14, 16}}}));
    EXPECT_EQ(up[5], (Row{6, {{12, 17}}}));
    EXPECT_EQ(up[28], (Row{29, {{1, 29}}}));

    auto arrow = convexRows(0, 19, [](double y) { return 15 - 0.75 * y; }, [](double y) { return 15 + 0.75 * y; });
    const auto shaft = expand({{20, 29, 10, 19}});
    arrow.insert(arrow.end(), shaft.begin(), shaft.end());
    EXPECT_EQ(arrow[0], (Row{1, {{15, 15}}}));
    EXPECT_EQ(arrow[1], (Row{2, {{14, 16}}}));
    EXPECT_EQ(arrow[18], (Row{19, {{1, 29}}}));

    const struct {
        const char* name;
        std::span<const QPoint> points;
        std::vector<Row> rows;
    } cases[] = {
        {"triangle up", triangleUp, up},
        {"triangle left", triangleLeft,
         convexRows(0, 30, [](double y) { return y < 15 ? 30 - 2 * y : 2 * y - 30; }, [](double) { return 30; })},
        {"triangle right", triangleRight,
         convexRows(0, 30, [](double) { return 0; }, [](double y) { return y < 15 ? 2 * y : 60 - 2 * y; })},
        {"diamond", diamond,
         convexRows(0, 30, [](double y) { return y < 15 ? 15 - y : y - 15; },
                    [](double y) { return y < 15 ? 15 + y : 45 - y; })},
        {"arrow up", arrowUp, arrow},
    };
    for (const auto& c : cases) {
        const Region region = Region::polygon(c.points);
        EXPECT_EQ(rowsOf(region), c.rows) << c.name;
        // Reversed point order winds the other way round and covers the same pixels.
        std::vector<QPoint> reversed(c.points.rbegin(), c.points.rend());
        EXPECT_EQ(Region::polygon(reversed), region) << c.name;
    }
}

TEST(PolygonRegion, WindingRuleAndDegenerateInput)
{
    // Twice round the same square: winding number 2 inside, so it is all in (alternate would be empty).
    const QPoint twice[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(Region::polygon(twice), Region::rect(0, 0, 10, 10));
    // An axis-aligned rectangle as points is exactly the rectangle region.
    const QPoint square[] = {{2, 3}, {8, 3}, {8, 9}, {2, 9}};
    EXPECT_EQ(Region::polygon(square), Region::rect(8, 9, 2, 3));

    const QPoint two[] = {{0, 0}, {9, 9}};
    const QPoint line[] = {{0, 0}, {5, 5}, {9, 9}};
    const QPoint huge[] = {{-2000000000, 0}, {2000000000, 5}, {0, 2000000000}};
    const QPoint tall[] = {{0, -500000000}, {10, -500000000}, {10, 500000000}, {0, 500000000}};
    for (std::span<const QPoint> points : {std::span<const QPoint>(two), std::span<const QPoint>(line),
                                           std::span<const QPoint>(huge), std::span<const QPoint>()}) {
        const Region r = Region::polygon(points);
        EXPECT_TRUE(r.isEmpty());
        EXPECT_FALSE(r.isNone());
    }
    // Rows beyond the working range are dropped, the visible part stays exact.
    const Region clipped = Region::polygon(tall);
    EXPECT_TRUE(clipped.contains(0, 0));
    EXPECT_TRUE(clipped.contains(9, -kMaxExtent));
    EXPECT_FALSE(clipped.contains(10, 0));
    EXPECT_EQ(clipped.rects().size(), 1u);
}

TEST(RoundRectRegion, LosesTheLastColumnAndRow)
{
    const struct {
        const char* name;
        Region region;
        std::vector<Row> rows;
    } cases[] = {
        {"73 x 25, corner 16", Region::roundRect(0, 0, 73, 25, 16, 16),
         expand({{0, 0, 5, 66}, {1, 1, 4, 67}, {2, 3, 2, 69}, {4, 4, 1, 70}, {5, 18, 0, 71}, {19, 19, 1, 70},
                 {20, 21, 2, 69}, {22, 22, 4, 67}, {23, 23, 5, 66}})},
        {"74 x 26, corner 16", Region::roundRect(0, 0, 74, 26, 16, 16),
         expand({{0, 0, 5, 67}, {1, 1, 4, 68}, {2, 3, 2, 70}, {4, 4, 1, 71}, {5, 19, 0, 72}, {20, 20, 1, 71},
                 {21, 22, 2, 70}, {23, 23, 4, 68}, {24, 24, 5, 67}})},
        {"ellipse 10", Region::ellipse(0, 0, 10, 10),
         expand({{0, 0, 3, 5}, {1, 2, 1, 7}, {3, 5, 0, 8}, {6, 7, 1, 7}, {8, 8, 3, 5}})},
        {"ellipse 11", Region::ellipse(0, 0, 11, 11),
         expand({{0, 0, 3, 6}, {1, 1, 2, 7}, {2, 2, 1, 8}, {3, 6, 0, 9}, {7, 7, 1, 8}, {8, 8, 2, 7}, {9, 9, 3, 6}})},
        {"ellipse 11, box reversed", Region::ellipse(11, 11, 0, 0),
         expand({{0, 0, 3, 6}, {1, 1, 2, 7}, {2, 2, 1, 8}, {3, 6, 0, 9}, {7, 7, 1, 8}, {8, 8, 2, 7}, {9, 9, 3, 6}})},
        {"no corners: the shrunk rectangle", Region::roundRect(0, 0, 10, 10, 0, 0), expand({{0, 8, 0, 8}})},
        {"corner 1: the shrunk rectangle", Region::roundRect(2, 2, 6, 5, 1, 9), expand({{2, 3, 2, 4}})},
        {"no width", Region::roundRect(4, 0, 4, 10, 3, 3), {}},
        {"one pixel wide", Region::roundRect(4, 0, 5, 10, 3, 3), {}},
        {"huge ellipse is refused", Region::ellipse(-2000000000, 0, 2000000000, 10), {}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.region.isNone()) << c.name;
        EXPECT_EQ(rowsOf(c.region), c.rows) << c.name;
    }
}

// A round-rect region one pixel larger than a RoundRect outline covers exactly that outline and its
// inside: the two walks agree.
TEST(RoundRectRegion, OnePixelLargerCoversTheOutlineAndItsInside)
{
    for (int w = 3; w <= 40; w += 3) {
        for (int h = 3; h <= 30; h += 4) {
            for (int c : {3, 5, 8, 15, 16, 40}) {
                Surface s;
                blank(s, 50, 40);
                s.roundRect(2, 1, 2 + w, 1 + h, c, c);
                std::vector<Row> outline;
                for (int y = 0; y < 40; ++y) {
                    int lo = 99, hi = -1;
                    for (int x = 0; x < 50; ++x)
                        if (s.getPixel(x, y)) {
                            lo = std::min(lo, x);
                            hi = std::max(hi, x);
                        }
                    if (hi >= 0)
                        outline.push_back({y, {{lo, hi}}});
                }
                EXPECT_EQ(rowsOf(Region::roundRect(2, 1, 3 + w, 2 + h, c, c), 0, 50), outline)
                    << w << " x " << h << " corner " << c;
            }
        }
    }
}

TEST(Region, NoneEmptyContainsAndEquality)
{
    const Region none;
    EXPECT_TRUE(none.isNone());
    EXPECT_FALSE(none.isEmpty());
    EXPECT_TRUE(none.contains(-100, 100000)); // no region clips nothing
    EXPECT_TRUE(none.toQRegion().isEmpty());

    const Region empty = Region::rect(3, 3, 3, 9);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.contains(3, 3));
    EXPECT_NE(none, empty);

    const Region r = Region::rect(5, 7, 1, 2); // corners in either order, half-open
    EXPECT_TRUE(r.contains(1, 2));
    EXPECT_TRUE(r.contains(4, 6));
    EXPECT_FALSE(r.contains(5, 6));
    EXPECT_FALSE(r.contains(4, 7));
    EXPECT_FALSE(r.contains(0, 2));

    EXPECT_EQ(Region::roundRect(0, 0, 73, 25, 16, 16), Region::roundRect(0, 0, 73, 25, 16, 16));
    EXPECT_NE(Region::roundRect(0, 0, 73, 25, 16, 16), Region::roundRect(0, 0, 73, 25, 15, 15));
    EXPECT_EQ(Region::ellipse(0, 0, 30, 30), Region::roundRect(30, 30, 0, 0, 30, 30));
}

TEST(Region, ConvertsToTheSameQRegionPixels)
{
    const QPoint arrowUp[] = {{15, 0}, {0, 20}, {10, 20}, {10, 30}, {20, 30}, {20, 20}, {30, 20}};
    const QPoint bowtie[] = {{0, 0}, {20, 20}, {20, 0}, {0, 20}};
    const Region regions[] = {Region::polygon(arrowUp), Region::polygon(bowtie), Region::roundRect(0, 0, 73, 25, 15, 15),
                              Region::ellipse(3, 2, 40, 31), Region::rect(0, 0, 9, 9)};
    for (const Region& region : regions) {
        const QRegion q = region.toQRegion();
        EXPECT_EQ(q.rectCount(), int(region.rects().size()));
        int count = 0;
        for (int y = -2; y < 80; ++y)
            for (int x = -2; x < 80; ++x) {
                ASSERT_EQ(q.contains(QPoint(x, y)), region.contains(x, y)) << x << "," << y;
                count += region.contains(x, y);
            }
        EXPECT_GT(count, 0);
        // Bands are y-sorted and identical neighbouring rows are merged.
        for (std::size_t i = 1; i < region.rects().size(); ++i) {
            const auto& a = region.rects()[i - 1];
            const auto& b = region.rects()[i];
            EXPECT_TRUE(a.top < b.top ? a.bottom <= b.top : (a.top == b.top && a.bottom == b.bottom && a.right < b.left));
        }
    }
}
