#pragma once
// The shape frame: every ButtonShape is drawn by the same four steps, walked over a table of
// geometry that the shape's family file provides as plain data.
//
//   1. region   the window region (ShapeCanvas::region, worked out once per shape and size and kept
//               in the canvas' RegionCache; a polygon region also gives ShapePoints); a shape without
//               one removes the region.
//   2. outline  drawn with the pen PaintButton has set (the state's border colour); then, unless
//               the background is transparent (ButtonStyleColors 0), the opaqueOnly items, same pen.
//   3. style    edge lines chosen by the style's EdgeLines (StyleInfo) and the state:
//                 Bevel (1)      pressed ? pressed1 : raised1
//                 Flat (2)       pressed ? pressed2 : raised2
//                 HoverFlat (3)  pressed ? pressed2 : mouse over ? raised2 : nothing
//                 Etched (4)     enabled ? style4 : nothing
//                 Glow (6)       pressed ? pressed6 in highlight : mouse over ? glow6 in warm 1..5
//                                : FocusRect and focus ? glow6Blue (or glow6 where empty) in blue 1..5
//                                : nothing; after any of these the after6 items
//                 Ring (7)       pressed ? ring7 in ring pressed : ring7 in white, then with FocusRect
//                                and focus ring7 again in ring focus
//                 None (0, 5, 8 and anything else): nothing
//   4. focus    for a style whose focus look is the dotted outline (all but 4, 6 and 7), with FocusRect
//               and the focus: the focus items in the focus-mark colour (a Polygon item here fills
//               FocusMarkPoints). The pen stays at that colour, which the face's dotting pass looks for.
//
// Data model. A coordinate is an Expr, written in a table as in the geometry text: a plain number,
// or an expression of W (for x) or H (for y) such as W - 1, H / 2, W / 1.5 - 1, W / 2 - 1,
// W + W / 3, -W / 6, H - 4.5. It is evaluated in floating point as size × num / den + off and
// rounded to the nearest integer, ties to even (31 / 2 → 16, 33 / 2 → 16).
// An Item is one drawing call:
//   path({p0, p1, ...})               MoveToEx p0, LineTo each following point (end pixels left out)
//   polygon({p0, ...})                Polygon: closed outline through up to 8 points
//   arc(l, t, r, b, xs, ys, xe, ye)   Arc: counter-clockwise from the ray to (xs, ys) to the ray to (xe, ye)
//   rounded(l, t, r, b, c)            RoundRect with corner width and height c
//   ellipse(l, t, r, b)               RoundRect with corner width r and corner height b
//   pixel(p, colour)                  SetPixel
//   blackenOddRows(x0, x1, y0, y1)    for x in x0..x1, y = y0, y0+2, .. up to y1: a pixel of the pen
//                                     colour turns black (the diamond's own focus dots)
// A Group is a pen colour (or kKeepPen) followed by items; a Look is a list of groups drawn in order.
// Regions are items too: regionRoundRect(l, t, r, b, c), regionEllipse(l, t, r, b) and
// regionPolygon({...}) (winding rule; its points go to ShapePoints).
//
// Adding a shape: write its ShapeTable as constexpr data in its family's file (designated
// initializers; the parts a shape lacks stay empty) and make its renderer (DrawEllipse, ...) one
// call: drawShapeTable(kEllipse, state, canvas). ShapesRectangle.cpp is the model. Only shapes with
// a polygon region or a polygon focus mark touch the point buffers.
#include "Colours.h"
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

enum class Axis : std::uint8_t { None, W, H };

/// A coordinate: size × num / den + off, size being W, H or 0 by axis (see the header comment).
struct Expr {
    Axis axis = Axis::None;
    double num = 0;
    double den = 1;
    double off = 0;

    constexpr Expr() = default;
    /// A plain number.
    constexpr Expr(double value) : off(value) {}
    constexpr Expr(Axis a, double n, double d, double o) : axis(a), num(n), den(d), off(o) {}

    /// The value for a face of w × h pixels, rounded half to even.
    int eval(int w, int h) const
    {
        const double size = axis == Axis::W ? w : axis == Axis::H ? h : 0;
        return raster::roundHalfEven(size * num / den + off);
    }
};

inline constexpr Expr W{Axis::W, 1, 1, 0};
inline constexpr Expr H{Axis::H, 1, 1, 0};

constexpr Expr operator+(Expr a, Expr b)
{
    if (a.axis != Axis::None && b.axis != Axis::None && a.axis != b.axis)
        throw std::logic_error("an expression mixes W and H");
    const Axis axis = a.axis != Axis::None ? a.axis : b.axis;
    return {axis, a.num * b.den + b.num * a.den, a.den * b.den, a.off + b.off};
}
constexpr Expr operator-(Expr a) { return {a.axis, -a.num, a.den, -a.off}; }
constexpr Expr operator-(Expr a, Expr b) { return a + -b; }
/// Only a bare size divides (W / 2, -W / 6); (W - 1) / 2 is not an expression of the tables.
constexpr Expr operator/(Expr a, double d)
{
    if (a.off != 0)
        throw std::logic_error("only W or H can be divided");
    return {a.axis, a.num, a.den * d, 0};
}

struct Pt {
    Expr x;
    Expr y;
};

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

/// The pen of a group that draws in the colour already set (the outline's state border colour).
inline constexpr OleColor kKeepPen = 0xFFFFFFFF;

/// A pen colour and the items drawn with it.
struct Group {
    OleColor pen = kKeepPen;
    Items items;
};
using Look = std::span<const Group>;

/// Colours of the style lines.
namespace colour {
inline constexpr OleColor kDarkShadow = 0x80000015;
inline constexpr OleColor kShadow = 0x80000010;
inline constexpr OleColor kHighlight = 0x80000014;
inline constexpr std::array<OleColor, 5> kWarm = {0x109ADC, 0x31B2F0, 0x90D6F7, 0xCEF3FF, 0x8CDBFF};
inline constexpr std::array<OleColor, 5> kBlue = {0xD98D59, 0xE2A981, 0xF0D1B5, 0xF7D7BD, 0xFFE7CE};
inline constexpr OleColor kRingPressed = 0xCFB073;
inline constexpr OleColor kWhite = 0xFFFFFF;
inline constexpr OleColor kRingFocus = 0xFECC04;
inline constexpr OleColor kFocusMark = 0xD1D1D1;
} // namespace colour

/// Everything one shape draws; empty spans draw nothing. See the header comment for the order.
struct ShapeTable {
    const Item* region = nullptr; ///< null: the shape removes any region
    Items outline{};
    Items opaqueOnly{};
    Look raised1{}, pressed1{};
    Look raised2{}, pressed2{};
    Look style4{};
    Items pressed6{};
    std::array<Items, 5> glow6{};
    std::array<Items, 5> glow6Blue{}; ///< empty entries draw the glow6 entry
    Items after6{};
    Items ring7{};
    Items focus{};
};

/// What the frame reads: the face size, the style's lines and focus look, and the state after the
/// toggle rule.
struct FrameState {
    int w = 0;
    int h = 0;
    EdgeLines lines = EdgeLines::None;
    FocusLook focusLook = FocusLook::DottedOutline;
    std::int32_t styleColors = 0;
    bool pressed = false;
    bool mouseOver = false;
    bool hasFocus = false;
    bool focusRect = false;
    bool enabled = true;
};

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

/// Regions are the same for every paint of one shape at one size, and working them out is a large part
/// of a paint: the last few are kept.
class RegionCache {
public:
    /// The region item (null: none) evaluated for a w × h face.
    const ShapeRegion& get(const Item* item, int w, int h);

private:
    struct Entry {
        const Item* item;
        int w, h;
        ShapeRegion region;
    };
    std::vector<Entry> entries_; // most recent first
};

class FrameCache;

/// Where the frame draws, and what it leaves behind.
struct ShapeCanvas {
    raster::Surface& surface;
    RegionCache& regions;
    std::array<QPoint, 7>& focusMarkPoints;
    /// Where the frame's pixels may be kept and replayed; null: always draw.
    FrameCache* frames = nullptr;
    /// The pen as last set, as given (a system colour stays one, so it matches no pixel).
    OleColor pen = 0;
    /// The region the shape chose; null until a renderer runs.
    const ShapeRegion* region = nullptr;
    /// An item read pixels (its result depends on what is under it), or drew a curve.
    bool readPixels = false;
    bool drewCurves = false;
    /// When set, every colour the frame draws in is added here.
    std::vector<raster::ColorRef>* inks = nullptr;

    /// Sets the pen of the following lines; an untranslatable colour leaves the surface's pen as it was.
    void setPen(OleColor colour);
};

/// Outline, style lines and focus outline write the same pixels whatever is under them, for one
/// shape, size, look and pen. Curves cost far more to rasterise than to replay, so for the looks that
/// draw them the written pixels are kept (found by drawing the frame over a colour it does not draw
/// in) and later paints in the same look replay them. Looks whose items read pixels are always drawn.
class FrameCache {
public:
    /// Steps 2 to 4 of the frame, replayed where they can be.
    void draw(const ShapeTable& table, const FrameState& state, ShapeCanvas& canvas);

private:
    struct Key {
        const ShapeTable* table;
        FrameState state;
        OleColor pen;
        raster::ColorRef surfacePen;
        bool operator==(const Key& o) const;
    };
    struct Write {
        int x, y;
        raster::ColorRef colour;
    };
    struct Entry {
        Key key;
        bool replay = false;
        std::vector<Write> writes;
        std::array<std::optional<QPoint>, 7> focusMarkPoints;
        OleColor pen = 0;
        raster::ColorRef surfacePen = 0;
    };
    Entry record(const Key& key, const ShapeTable& table, const FrameState& state, ShapeCanvas& canvas);

    std::vector<Entry> entries_; // most recent first
    raster::Surface scratch_;
};

/// Steps 2 to 4 of the frame (outline, style lines, focus outline), drawn.
void drawFrame(const ShapeTable& table, const FrameState& state, ShapeCanvas& canvas);

/// Walks the four steps of the frame over one shape's table.
void drawShapeTable(const ShapeTable& table, const FrameState& state, ShapeCanvas& canvas);

/// Draws one item in the current pen; used by the frame and the face renderer.
void drawItem(const Item& item, const FrameState& state, ShapeCanvas& canvas);

/// Calls the renderer of ButtonShape shape; false (nothing drawn, region untouched) outside 0..11.
bool drawShape(std::int32_t shape, const FrameState& state, ShapeCanvas& canvas);

// One renderer per ButtonShape, in its order.
void DrawRectangle(const FrameState& state, ShapeCanvas& canvas);
void DrawRoundedRectangle(const FrameState& state, ShapeCanvas& canvas);
void DrawEllipse(const FrameState& state, ShapeCanvas& canvas);
void DrawDiamond(const FrameState& state, ShapeCanvas& canvas);
void DrawTriangleUp(const FrameState& state, ShapeCanvas& canvas);
void DrawTriangleLeft(const FrameState& state, ShapeCanvas& canvas);
void DrawTriangleRight(const FrameState& state, ShapeCanvas& canvas);
void DrawTriangleDown(const FrameState& state, ShapeCanvas& canvas);
void DrawArrowUp(const FrameState& state, ShapeCanvas& canvas);
void DrawArrowLeft(const FrameState& state, ShapeCanvas& canvas);
void DrawArrowRight(const FrameState& state, ShapeCanvas& canvas);
void DrawArrowDown(const FrameState& state, ShapeCanvas& canvas);

} // namespace shape
