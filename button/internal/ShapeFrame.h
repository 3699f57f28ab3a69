#pragma once
// The shape frame: every ButtonShape is drawn by the same four steps, walked over a table of
// geometry that the shape's family file provides as plain data.
//
//   1. region   the window region (worked out once per shape and size by the renderer's ShapeCache;
//               a polygon region also gives ShapePoints); a shape without one removes the region.
//   2. outline  drawn with the pen PaintButton has set (the state's border colour); then, unless
//               the background is transparent (ButtonStyleColors 0), the opaqueOnly items, same pen.
//   3. style    the edge lines the style's EdgeLines (StyleInfo) choose for the state: a column of
//               this table (bevelRaised, glow, ring, ...) with the style's pens, then, where the style
//               has one, its focus ring.
//   4. focus    for a style whose focus look is the dotted outline (all but 4, 6 and 7), with FocusRect
//               and the focus: the focus items in the style's focus pen (a Polygon item here fills
//               FocusMarkPoints). The pen stays at that colour, which the face's dotting pass looks for.
//
// planFrame() works out the groups of steps 2 to 4 (a pen and the items drawn with it) without
// drawing anything; drawItem() draws one item.
//
// Data model. A coordinate is an Expr (Expr.h), written as in the geometry text.
// An Item is one drawing call:
//   path({p0, p1, ...})               MoveToEx p0, LineTo each following point (end pixels left out)
//   polygon({p0, ...})                Polygon: closed outline through up to 8 points
//   arc(l, t, r, b, xs, ys, xe, ye)   Arc: counter-clockwise from the ray to (xs, ys) to the ray to (xe, ye)
//   rounded(l, t, r, b, c)            RoundRect with corner width and height c
//   ellipse(l, t, r, b)               RoundRect with corner width r and corner height b
//   pixel(p, colour)                  SetPixel
//   blackenOddRows(x0, x1, y0, y1)    for x in x0..x1, y = y0, y0+2, .. up to y1: a pixel of the pen
//                                     colour turns black (the diamond's own focus dots)
// The 3-D edge columns (bevel, flat, etched) are lists of Strokes: a Tone and the items drawn in it,
// in order. The other columns are items drawn in the one pen the style gives them (the glow: five
// lists, one per pen).
// Regions are items too: regionRoundRect(l, t, r, b, c), regionEllipse(l, t, r, b) and
// regionPolygon({...}) (winding rule; its points go to ShapePoints).
//
// Adding a shape: write its ShapeTable as constexpr data in its family's file (designated
// initializers; the parts a shape lacks stay empty), declare it below and add it to shapeTable()'s
// list. ShapesRectangle.cpp is the model. Only shapes with a polygon region or a polygon focus mark
// touch the point buffers.
#include "Colours.h"
#include "Expr.h"
#include "Raster.h"
#include "Region.h"
#include "StyleInfo.h"
#include "Surface.h"

#include <QPoint>
#include <QRegion>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

namespace shape {

enum class Op : std::uint8_t {
    Path, Polygon, Arc, RoundRect, Ellipse, Pixel, BlackenOddRows,
    RegionRoundRect, RegionEllipse, RegionPolygon
};

inline constexpr std::size_t kMaxItemPoints = 8;

/// One drawing call (or region) of a shape's table; build it with the functions below.
struct Item {
    Op op = Op::Path;
    std::uint8_t count = 0;
    std::array<Pt, kMaxItemPoints> p{};
    Expr corner;
    raster::ColorRef color = 0;
};

constexpr Item pointsItem(Op op, std::initializer_list<Pt> points)
{
    if (points.size() > kMaxItemPoints)
        throw std::logic_error("too many points in one item");
    Item item;
    item.op = op;
    item.count = std::uint8_t(points.size());
    std::size_t i = 0;
    for (const Pt& pt : points)
        item.p[i++] = pt;
    return item;
}
constexpr Item path(std::initializer_list<Pt> points) { return pointsItem(Op::Path, points); }
constexpr Item polygon(std::initializer_list<Pt> points) { return pointsItem(Op::Polygon, points); }
constexpr Item arc(Expr l, Expr t, Expr r, Expr b, Expr xs, Expr ys, Expr xe, Expr ye)
{
    return pointsItem(Op::Arc, {{l, t}, {r, b}, {xs, ys}, {xe, ye}});
}
constexpr Item rounded(Expr l, Expr t, Expr r, Expr b, Expr c)
{
    Item item = pointsItem(Op::RoundRect, {{l, t}, {r, b}});
    item.corner = c;
    return item;
}
constexpr Item ellipse(Expr l, Expr t, Expr r, Expr b) { return pointsItem(Op::Ellipse, {{l, t}, {r, b}}); }
constexpr Item pixel(Pt at, raster::ColorRef color)
{
    Item item = pointsItem(Op::Pixel, {at});
    item.color = color;
    return item;
}
constexpr Item blackenOddRows(Expr x0, Expr x1, Expr y0, Expr y1)
{
    return pointsItem(Op::BlackenOddRows, {{x0, y0}, {x1, y1}});
}
constexpr Item regionRoundRect(Expr l, Expr t, Expr r, Expr b, Expr c)
{
    Item item = pointsItem(Op::RegionRoundRect, {{l, t}, {r, b}});
    item.corner = c;
    return item;
}
constexpr Item regionEllipse(Expr l, Expr t, Expr r, Expr b) { return pointsItem(Op::RegionEllipse, {{l, t}, {r, b}}); }
constexpr Item regionPolygon(std::initializer_list<Pt> points) { return pointsItem(Op::RegionPolygon, points); }

using Items = std::span<const Item>;

/// Items of a 3-D edge column and the tone they are drawn in.
struct Stroke {
    Tone tone;
    Items items;
};
using Strokes = std::span<const Stroke>;

/// Everything one shape draws, and what the face needs to know about it; empty spans draw nothing.
/// See the header comment for the order.
struct ShapeTable {
    const Item* region = nullptr; ///< null: the shape removes any region
    Items outline{};
    Items opaqueOnly{};
    Strokes bevelRaised{}, bevelPressed{};
    Strokes flatRaised{}, flatPressed{};
    Strokes etched{};
    Items glowPressed{};
    std::array<Items, 5> glow{};
    std::array<Items, 5> glowFocus{}; ///< empty entries draw the glow entry
    Items ring{};
    Items focus{};
    /// The face is kept square (the height follows the width).
    bool square = true;
    /// The glass and gel gradients run across the face instead of down it (the tall shapes).
    bool gradientsAcross = false;
};

/// The table of ButtonShape shape; null outside 0..11 (such a value draws nothing and keeps the region).
const ShapeTable* shapeTable(std::int32_t shape);

// The tables, in ButtonShape order.
extern const ShapeTable kRectangle, kRoundedRectangle, kEllipse, kDiamond, kTriangleUp, kTriangleLeft,
    kTriangleRight, kTriangleDown, kArrowUp, kArrowLeft, kArrowRight, kArrowDown;

/// What the frame's plan depends on: the style, and the state after the toggle rule.
struct FrameState {
    const StyleInfo* style = &styleInfo(0);
    std::int32_t styleColors = 0;
    bool pressed = false;
    bool mouseOver = false;
    bool hasFocus = false;
    bool focusRect = false;
    bool enabled = true;
};

/// The pen of a group that draws in the colour already set (the outline's state border colour).
inline constexpr OleColor kKeepPen = 0xFFFFFFFF;

/// A pen colour (or kKeepPen) and the items drawn with it.
struct Group {
    OleColor pen = kKeepPen;
    Items items;
};

/// Steps 2 to 4 of the frame for one state: the groups, in drawing order.
struct FramePlan {
    std::array<Group, 16> groups{};
    std::size_t count = 0;

    std::span<const Group> span() const { return {groups.data(), count}; }
};

/// The groups the frame draws for this table and state, without drawing them.
FramePlan planFrame(const ShapeTable& table, const FrameState& state);

/// A shape's window region for one face size.
struct ShapeRegion {
    /// isNone(): the shape sets no region (the window is not clipped).
    raster::Region region;
    /// The same pixels as a widget mask; empty for no region.
    QRegion mask;
    /// A polygon region's corners, for ShapePoints (count 0 for the other regions).
    std::array<QPoint, kMaxItemPoints> points{};
    std::size_t pointCount = 0;
    /// Per pixel of the face, row by row: all ones inside the region, zero outside; empty for none.
    std::vector<std::uint32_t> inside;
};

/// The region item (null: none) evaluated for a w × h face.
ShapeRegion evaluateRegion(const Item* item, int w, int h);

/// Where the frame draws.
struct ShapeCanvas {
    raster::Surface& surface;
    std::array<QPoint, 7>& focusMarkPoints;
    /// The pen as last set, as given (a system colour stays one, so it matches no pixel).
    OleColor pen = 0;

    /// Sets the pen of the following lines; an untranslatable colour leaves the surface's pen as it was.
    void setPen(OleColor colour);
};

/// Whether the item, on a w × h face, is a curve: it writes the same pixels in whatever pen and over
/// whatever is under it, and costs far more to rasterise than those pixels do to write.
bool isCurve(const Item& item, int w, int h);

/// Draws one item in the canvas' pen on a w × h face.
void drawItem(const Item& item, int w, int h, ShapeCanvas& canvas);

} // namespace shape
