#include "Pixels.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <random>

using namespace raster;

namespace {

struct LineCase {
    QPoint from, to;
    std::vector<Pixel> pixels;
};

PixelSet line(QPoint from, QPoint to, int w = 24, int h = 24)
{
    Surface s;
    blank(s, w, h);
    s.moveTo(from.x(), from.y());
    s.lineTo(to.x(), to.y());
    return painted(s);
}

} // namespace

// The end point is never painted; halves go up on x-major lines, left on y-major ones, in every octant.
TEST(Line, PaintsTheNearestPixelsAndLeavesTheEndOut)
{
    const LineCase cases[] = {
        {{0, 0}, {5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {{5, 2}, {0, 0}, {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {{0, 0}, {4, 4}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {{4, 4}, {0, 0}, {{4, 4}, {3, 3}, {2, 2}, {1, 1}}},
        {{0, 0}, {6, 3}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {{6, 3}, {0, 0}, {{6, 3}, {5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {{0, 0}, {2, 5}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
        {{0, 0}, {5, 0}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {{5, 0}, {0, 0}, {{5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}}},
        {{3, 0}, {3, 4}, {{3, 0}, {3, 1}, {3, 2}, {3, 3}}},
        {{3, 4}, {3, 0}, {{3, 4}, {3, 3}, {3, 2}, {3, 1}}},
        // Every octant from (10, 10), with slopes of exactly one half so each one meets ties.
        {{10, 10}, {16, 13}, {{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 12}, {15, 12}}},
        {{10, 10}, {13, 16}, {{10, 10}, {10, 11}, {11, 12}, {11, 13}, {12, 14}, {12, 15}}},
        {{10, 10}, {7, 16}, {{10, 10}, {9, 11}, {9, 12}, {8, 13}, {8, 14}, {7, 15}}},
        {{10, 10}, {4, 13}, {{10, 10}, {9, 10}, {8, 11}, {7, 11}, {6, 12}, {5, 12}}},
        {{10, 10}, {4, 7}, {{10, 10}, {9, 9}, {8, 9}, {7, 8}, {6, 8}, {5, 7}}},
        {{10, 10}, {7, 4}, {{10, 10}, {9, 9}, {9, 8}, {8, 7}, {8, 6}, {7, 5}}},
        {{10, 10}, {13, 4}, {{10, 10}, {10, 9}, {11, 8}, {11, 7}, {12, 6}, {12, 5}}},
        {{10, 10}, {16, 7}, {{10, 10}, {11, 9}, {12, 9}, {13, 8}, {14, 8}, {15, 7}}},
        {{2, 2}, {2, 2}, {}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.from.x() << "," << c.from.y() << ") -> (" << c.to.x() << ","
                                        << c.to.y() << ")");
        EXPECT_EQ(line(c.from, c.to), PixelSet(c.pixels.begin(), c.pixels.end()));
    }
}

TEST(Line, LineToMovesTheCurrentPositionAndChainsPaintEveryVertexButTheLast)
{
    Surface s;
    blank(s, 10, 10);
    s.moveTo(1, 1);
    EXPECT_EQ(s.position(), QPoint(1, 1));
    s.lineTo(4, 1);
    s.lineTo(4, 4);
    s.lineTo(1, 4);
    EXPECT_EQ(s.position(), QPoint(1, 4));
    EXPECT_EQ(painted(s), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}, {4, 4}, {3, 4}, {2, 4}}));
}

// Reversing a line changes only which end is left out; clipping removes pixels but never moves them.
TEST(Line, ReversedAndClippedLinesKeepTheirPixels)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coord(-12, 40);
    for (int i = 0; i < 2000; ++i) {
        const QPoint a(coord(rng), coord(rng)), b(coord(rng), coord(rng));
        SCOPED_TRACE(testing::Message() << "(" << a.x() << "," << a.y() << ") -> (" << b.x() << "," << b.y() << ")");
        // The reference: the same line on a surface large enough to hold it all, shifted by 20.
        const PixelSet whole = line(a + QPoint(20, 20), b + QPoint(20, 20), 80, 80);
        const int n = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        ASSERT_EQ(int(whole.size()), n);
        PixelSet clipped;
        for (const auto& [x, y] : whole)
            if (x >= 20 && x < 44 && y >= 20 && y < 44)
                clipped.insert({x - 20, y - 20});
        EXPECT_EQ(line(a, b), clipped);
        PixelSet forward = whole, backward = line(b + QPoint(20, 20), a + QPoint(20, 20), 80, 80);
        forward.erase({a.x() + 20, a.y() + 20});
        backward.erase({b.x() + 20, b.y() + 20});
        EXPECT_EQ(forward, backward);
    }
}

TEST(Line, FarAwayEndsAreClippedOrRefusedWithoutHanging)
{
    Surface s;
    blank(s, 8, 4);
    s.moveTo(-500000000, 2);
    s.lineTo(500000000, 2); // long but in range: the visible part of the row
    EXPECT_EQ(painted(s), (PixelSet{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}}));
    blank(s, 8, 4);
    s.moveTo(-2147483647 - 1, 1);
    s.lineTo(2147483647, 3); // beyond the coordinate range: refused, yet the position moves
    EXPECT_TRUE(painted(s).empty());
    EXPECT_EQ(s.position(), QPoint(2147483647, 3));
}

// Polygon (0,30), (15,0), (30,30): the closed chain paints every vertex and the whole bottom row.
TEST(Polygon, TriangleOutline)
{
    Surface s;
    blank(s, 32, 32);
    const QPoint triangle[] = {{0, 30}, {15, 0}, {30, 30}};
    s.moveTo(7, 7);
    s.polygon(triangle);
    EXPECT_EQ(s.position(), QPoint(7, 7));
    PixelSet expected = {{15, 0}, {14, 1}, {15, 1}, {14, 2}, {16, 2}, {13, 3}, {16, 3}, {13, 4}, {17, 4},
                         {1, 28}, {29, 28}, {0, 29}, {29, 29}};
    for (int x = 0; x <= 30; ++x)
        expected.insert({x, 30});
    for (int y = 1; y < 30; ++y) { // the left edge rounds halves left, so does the right one
        expected.insert({(30 - y) / 2, y});
        expected.insert({15 + y / 2, y});
    }
    EXPECT_EQ(painted(s), expected);
}

TEST(Polygon, TooFewPointsPaintNothingAndARepeatedFirstPointChangesNothing)
{
    Surface s;
    blank(s, 12, 12);
    const QPoint one[] = {{3, 3}};
    s.polygon(one);
    s.polygon({});
    EXPECT_TRUE(painted(s).empty());

    const QPoint two[] = {{1, 1}, {5, 1}};
    s.polygon(two);
    EXPECT_EQ(painted(s), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}));

    const QPoint open[] = {{1, 2}, {9, 4}, {2, 10}};
    const QPoint closed[] = {{1, 2}, {9, 4}, {2, 10}, {1, 2}};
    blank(s, 12, 12);
    s.polygon(open);
    const PixelSet once = painted(s);
    blank(s, 12, 12);
    s.polygon(closed);
    EXPECT_EQ(painted(s), once);
}
