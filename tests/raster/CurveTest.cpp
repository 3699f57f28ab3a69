#include "EllipseQuarter.h"
#include "Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace raster;

namespace {

std::vector<Pixel> quarter(int w, int h)
{
    std::vector<QPoint> points;
    ellipseQuarter(w, h, points);
    std::vector<Pixel> out;
    for (const QPoint& p : points)
        out.push_back({p.x(), p.y()});
    return out;
}

PixelSet rows(std::initializer_list<std::pair<int, std::vector<int>>> list)
{
    PixelSet out;
    for (const auto& [y, xs] : list)
        for (int x : xs)
            out.insert({x, y});
    return out;
}

PixelSet span(int y, int from, int to)
{
    PixelSet out;
    for (int x = from; x <= to; ++x)
        out.insert({x, y});
    return out;
}

PixelSet operator+(PixelSet a, const PixelSet& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

} // namespace

TEST(EllipseQuarter, MatchesTheReferenceWalks)
{
    const struct {
        int w, h;
        std::vector<Pixel> points;
    } cases[] = {
        {4, 4, {{3, 2}, {2, 3}}},
        {5, 5, {{4, 2}, {4, 3}, {3, 4}, {2, 4}}},
        {6, 6, {{5, 3}, {4, 4}, {3, 5}}},
        {8, 8, {{7, 4}, {7, 5}, {6, 6}, {5, 7}, {4, 7}}},
        {10, 10, {{9, 5}, {9, 6}, {8, 7}, {7, 8}, {6, 9}, {5, 9}}},
        {16, 16,
         {{15, 8}, {15, 9}, {15, 10}, {14, 11}, {13, 12}, {13, 13}, {12, 13}, {11, 14}, {10, 15}, {9, 15}, {8, 15}}},
        {16, 8, {{15, 4}, {14, 5}, {13, 6}, {12, 6}, {11, 7}, {10, 7}, {9, 7}, {8, 7}}},
        {0, 8, {}},
        {8, -3, {}},
        {kMaxExtent + 1, 8, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quarter(c.w, c.h), c.points) << c.w << " x " << c.h;
}

TEST(RoundRect, ButtonSizedOutlineWithSixteenPixelCorners)
{
    Surface s;
    blank(s, 80, 30);
    s.roundRect(0, 0, 73, 25, 16, 16);
    PixelSet expected = {
        {5, 0}, {4, 1}, {3, 2}, {2, 2}, {2, 3}, {1, 4}, {0, 5},                 // top-left
        {67, 0}, {68, 1}, {69, 2}, {70, 2}, {70, 3}, {71, 4}, {72, 5},          // top-right
        {0, 19}, {1, 20}, {2, 21}, {2, 22}, {3, 22}, {4, 23}, {5, 24},          // bottom-left
        {72, 19}, {71, 20}, {70, 21}, {70, 22}, {69, 22}, {68, 23}, {67, 24}};  // bottom-right
    expected = expected + span(0, 5, 67) + span(24, 5, 67);
    for (int y = 5; y <= 19; ++y)
        expected = expected + PixelSet{{0, y}, {72, y}};
    EXPECT_EQ(expected.size(), 176u);
    EXPECT_EQ(painted(s), expected);

    blank(s, 80, 30); // corners in the other order, negative corner sizes: the same outline
    s.roundRect(73, 25, 0, 0, -16, -16);
    EXPECT_EQ(painted(s), expected);
}

TEST(RoundRect, EllipsesSmallCornersAndRectangles)
{
    const PixelSet ellipse10 = rows({{0, {3, 4, 5, 6}}, {1, {2, 7}}, {2, {1, 8}}, {3, {0, 9}}, {4, {0, 9}},
                                     {5, {0, 9}}, {6, {0, 9}}, {7, {1, 8}}, {8, {2, 7}}, {9, {3, 4, 5, 6}}});
    PixelSet clipped = span(0, 1, 10) + span(7, 1, 10); // rectangle minus its corner pixels
    for (int y = 1; y <= 6; ++y)
        clipped = clipped + PixelSet{{0, y}, {11, y}};
    PixelSet rectangle = clipped + PixelSet{{0, 0}, {11, 0}, {0, 7}, {11, 7}};

    const struct {
        const char* name;
        std::function<void(Surface&)> draw;
        PixelSet expected;
    } cases[] = {
        {"Ellipse", [](Surface& s) { s.ellipse(0, 0, 10, 10); }, ellipse10},
        {"RoundRect as large as the box", [](Surface& s) { s.roundRect(0, 0, 10, 10, 10, 10); }, ellipse10},
        {"RoundRect larger than the box", [](Surface& s) { s.roundRect(0, 0, 10, 10, 50, 90); }, ellipse10},
        {"Ellipse, box reversed", [](Surface& s) { s.ellipse(10, 10, 0, 0); }, ellipse10},
        {"corner 5", [](Surface& s) { s.roundRect(0, 0, 12, 8, 5, 5); }, clipped},
        {"corner 3", [](Surface& s) { s.roundRect(0, 0, 12, 8, 3, 3); }, clipped},
        {"corner 2 is a rectangle", [](Surface& s) { s.roundRect(0, 0, 12, 8, 2, 9); }, rectangle},
        {"corner 0 is a rectangle", [](Surface& s) { s.roundRect(0, 0, 12, 8, 0, 0); }, rectangle},
        {"empty box", [](Surface& s) { s.roundRect(3, 3, 3, 9, 4, 4); }, {}},
        {"one column", [](Surface& s) { s.roundRect(2, 1, 3, 4, 0, 0); }, PixelSet{{2, 1}, {2, 2}, {2, 3}}},
        {"huge ellipse is refused", [](Surface& s) { s.ellipse(-2000000000, 0, 2000000000, 10); }, {}},
    };
    for (const auto& c : cases) {
        Surface s;
        blank(s, 14, 12);
        s.moveTo(13, 11);
        c.draw(s);
        EXPECT_EQ(painted(s), c.expected) << c.name;
        EXPECT_EQ(s.position(), QPoint(13, 11)) << c.name;
    }
}

// Box (0, 0, 10, 10), centre (5, 5), counter-clockwise; the last generated pixel stays unpainted.
TEST(Arc, RunsCounterClockwiseFromStartRayToEndRay)
{
    PixelSet full = rows({{0, {3, 4, 5, 6}}, {1, {2, 7}}, {2, {1, 8}}, {3, {0, 9}}, {4, {0, 9}}, {5, {0}},
                          {6, {0, 9}}, {7, {1, 8}}, {8, {2, 7}}, {9, {3, 4, 5, 6}}});
    const struct {
        int box[4];
        QPoint start, end;
        PixelSet expected;
    } cases[] = {
        {{0, 0, 10, 10}, {10, 5}, {0, 5},
         {{9, 4}, {9, 3}, {8, 2}, {7, 1}, {6, 0}, {5, 0}, {4, 0}, {3, 0}, {2, 1}, {1, 2}}},
        {{0, 0, 10, 10}, {0, 5}, {10, 5},
         {{0, 4}, {0, 5}, {0, 6}, {1, 7}, {2, 8}, {3, 9}, {4, 9}, {5, 9}, {6, 9}, {7, 8}, {8, 7}, {9, 6}}},
        {{0, 0, 10, 10}, {5, 0}, {0, 5}, {{5, 0}, {4, 0}, {3, 0}, {2, 1}, {1, 2}}},
        {{0, 0, 10, 10}, {10, 5}, {10, 5}, full},
        {{10, 10, 0, 0}, {10, 5}, {10, 5}, full},
        {{0, 0, 10, 10}, {5, 5}, {5, 5}, full}, // rays of length 0 point to 3 o'clock
        {{0, 0, 10, 10}, {500, 5}, {-70, 5},     // only the directions of the rays count
         {{9, 4}, {9, 3}, {8, 2}, {7, 1}, {6, 0}, {5, 0}, {4, 0}, {3, 0}, {2, 1}, {1, 2}}},
        {{0, 0, 0, 10}, {10, 5}, {0, 5}, {}},
    };
    for (const auto& c : cases) {
        Surface s;
        blank(s, 12, 12);
        s.moveTo(11, 11);
        s.arc(c.box[0], c.box[1], c.box[2], c.box[3], c.start.x(), c.start.y(), c.end.x(), c.end.y());
        EXPECT_EQ(painted(s), c.expected) << "start (" << c.start.x() << "," << c.start.y() << ") end ("
                                          << c.end.x() << "," << c.end.y() << ")";
        EXPECT_EQ(s.position(), QPoint(11, 11));
    }
}

// An arc never leaves the ellipse outline of its box, whatever its rays.
TEST(Arc, StaysOnTheEllipseOutline)
{
    for (const auto& [w, h] : {std::pair{17, 17}, {31, 12}, {9, 25}, {33, 33}}) {
        Surface outline;
        blank(outline, 40, 40);
        outline.ellipse(2, 3, 2 + w, 3 + h);
        const PixelSet ring = painted(outline);
        for (const QPoint& start : {QPoint(0, 0), QPoint(40, 7), QPoint(-3, 30), QPoint(20, 39)}) {
            for (const QPoint& end : {QPoint(39, 39), QPoint(1, 20), QPoint(18, -5)}) {
                Surface s;
                blank(s, 40, 40);
                s.arc(2, 3, 2 + w, 3 + h, start.x(), start.y(), end.x(), end.y());
                const PixelSet arc = painted(s);
                EXPECT_FALSE(arc.empty());
                EXPECT_TRUE(std::includes(ring.begin(), ring.end(), arc.begin(), arc.end())) << w << " x " << h;
            }
        }
    }
}
