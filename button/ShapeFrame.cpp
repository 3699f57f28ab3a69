// The shape frame: region, outline, style lines and focus mark, planned over a shape's table.
#include "ShapeFrame.h"

#include "Surface.h"

#include <algorithm>

namespace shape {

namespace {

QPoint at(const Pt& p, int w, int h)
{
    return {p.x.eval(w, h), p.y.eval(w, h)};
}

// The points of an item, evaluated for this face; at most kMaxItemPoints.
struct Points {
    std::array<QPoint, kMaxItemPoints> v;
    std::size_t n = 0;
    std::span<const QPoint> span() const { return {v.data(), n}; }
};

Points evaluate(const Item& item, int w, int h)
{
    Points pts;
    pts.n = item.count;
    for (std::size_t i = 0; i < pts.n; ++i)
        pts.v[i] = at(item.p[i], w, h);
    return pts;
}

// Point buffers hold seven entries; a longer polygon keeps its first seven there.
void store(std::array<QPoint, 7>& buffer, const Points& pts)
{
    for (std::size_t i = 0; i < pts.n && i < buffer.size(); ++i)
        buffer[i] = pts.v[i];
}

struct Planner {
    const ShapeTable& t;
    FramePlan plan;

    // A group without items still sets its pen: the face's dotting pass looks for the last one.
    void add(OleColor pen, Items items)
    {
        if (plan.count == plan.groups.size())
            throw std::logic_error("a frame of more groups than a plan holds");
        plan.groups[plan.count++] = {pen, items};
    }

    void addToned(Strokes strokes, const std::array<OleColor, 5>& pens)
    {
        for (const Stroke& stroke : strokes)
            add(pens[std::size_t(stroke.tone)], stroke.items);
    }

    void addEdges(const EdgeStroke& e)
    {
        switch (e.part) {
        case EdgePart::None: break;
        case EdgePart::BevelRaised: addToned(t.bevelRaised, e.pens); break;
        case EdgePart::BevelPressed: addToned(t.bevelPressed, e.pens); break;
        case EdgePart::FlatRaised: addToned(t.flatRaised, e.pens); break;
        case EdgePart::FlatPressed: addToned(t.flatPressed, e.pens); break;
        case EdgePart::Etched: addToned(t.etched, e.pens); break;
        case EdgePart::GlowPressed: add(e.pens[0], t.glowPressed); break;
        case EdgePart::Glow:
        case EdgePart::GlowFocus:
            for (std::size_t i = 0; i < t.glow.size(); ++i) {
                const bool own = e.part == EdgePart::GlowFocus && !t.glowFocus[i].empty();
                add(e.pens[i], own ? t.glowFocus[i] : t.glow[i]);
            }
            break;
        case EdgePart::Ring: add(e.pens[0], t.ring); break;
        }
    }
};

} // namespace

FramePlan planFrame(const ShapeTable& t, const FrameState& s)
{
    const StyleInfo& style = *s.style;
    Planner p{t, {}};
    p.add(kKeepPen, t.outline);
    if (s.styleColors != 0)
        p.add(kKeepPen, t.opaqueOnly);

    const bool focused = s.focusRect && s.hasFocus;
    const EdgeLines& edges = style.edges;
    if (s.enabled || !edges.whileEnabled)
        p.addEdges(edges.chosen(s.pressed, s.mouseOver, focused));
    if (!s.pressed && focused)
        p.addEdges(edges.focusRing);

    if (style.focus == FocusLook::DottedOutline && focused)
        p.add(style.focusPen, t.focus);
    return p.plan;
}

ShapeRegion evaluateRegion(const Item* item, int w, int h)
{
    ShapeRegion r;
    if (!item)
        return r;
    const Points pts = evaluate(*item, w, h);
    const auto& v = pts.v;
    switch (item->op) {
    case Op::RegionRoundRect: {
        const int corner = item->corner.eval(w, h);
        r.region = raster::Region::roundRect(v[0].x(), v[0].y(), v[1].x(), v[1].y(), corner, corner);
        break;
    }
    case Op::RegionEllipse:
        r.region = raster::Region::ellipse(v[0].x(), v[0].y(), v[1].x(), v[1].y());
        break;
    case Op::RegionPolygon:
        r.region = raster::Region::polygon(pts.span());
        r.points = pts.v;
        r.pointCount = pts.n;
        break;
    default:
        throw std::logic_error("a shape's region must be a region item");
    }
    r.mask = r.region.toQRegion();
    // A region without a pixel clears the mask like no region at all, and clips nothing either.
    if (r.mask.isEmpty())
        return r;
    r.inside.assign(std::size_t(w) * std::size_t(h), 0);
    for (const raster::Region::Rect& rect : r.region.rects()) {
        const int left = std::max(rect.left, 0), right = std::min(rect.right, w);
        for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, h); ++y)
            if (left < right)
                std::fill(r.inside.begin() + std::ptrdiff_t(y) * w + left,
                          r.inside.begin() + std::ptrdiff_t(y) * w + right, 0xFFFFFFFFu);
    }
    return r;
}

void ShapeCanvas::setPen(OleColor colour)
{
    pen = colour;
    if (const auto plain = translateColour(colour))
        surface.setPenColor(*plain);
}

bool isCurve(const Item& item, int w, int h)
{
    switch (item.op) {
    case Op::Arc:
    case Op::Ellipse:
        return true;
    case Op::RoundRect:
        // The surface draws a corner of two pixels or less as a plain rectangle.
        return item.corner.eval(w, h) > 2;
    default:
        return false;
    }
}

void drawItem(const Item& item, int w, int h, ShapeCanvas& c)
{
    raster::Surface& surface = c.surface;
    const Points pts = evaluate(item, w, h);
    const auto& v = pts.v;
    switch (item.op) {
    case Op::Path:
        if (pts.n == 0)
            break;
        surface.moveTo(v[0].x(), v[0].y());
        for (std::size_t i = 1; i < pts.n; ++i)
            surface.lineTo(v[i].x(), v[i].y());
        break;
    case Op::Polygon:
        store(c.focusMarkPoints, pts);
        surface.polygon(pts.span());
        break;
    case Op::Arc:
        surface.arc(v[0].x(), v[0].y(), v[1].x(), v[1].y(), v[2].x(), v[2].y(), v[3].x(), v[3].y());
        break;
    case Op::RoundRect: {
        const int corner = item.corner.eval(w, h);
        surface.roundRect(v[0].x(), v[0].y(), v[1].x(), v[1].y(), corner, corner);
        break;
    }
    case Op::Ellipse:
        surface.roundRect(v[0].x(), v[0].y(), v[1].x(), v[1].y(), v[1].x(), v[1].y());
        break;
    case Op::Pixel:
        surface.setPixel(v[0].x(), v[0].y(), item.color);
        break;
    case Op::BlackenOddRows: {
        if (isSystemColour(c.pen))
            break;
        for (int x = v[0].x(); x <= v[1].x(); ++x)
            for (int y = v[0].y(); y <= v[1].y(); y += 2)
                if (surface.getPixel(x, y) == c.pen)
                    surface.setPixel(x, y, 0x000000);
        break;
    }
    case Op::RegionRoundRect:
    case Op::RegionEllipse:
    case Op::RegionPolygon:
        break; // regions are the first step of the frame, worked out apart
    }
}

const ShapeTable* shapeTable(std::int32_t shape)
{
    static constexpr const ShapeTable* kShapes[] = {
        &kRectangle,     &kRoundedRectangle, &kEllipse,   &kDiamond,    &kTriangleUp,  &kTriangleLeft,
        &kTriangleRight, &kTriangleDown,     &kArrowUp,   &kArrowLeft,  &kArrowRight,  &kArrowDown,
    };
    return shape >= 0 && shape < std::int32_t(std::size(kShapes)) ? kShapes[shape] : nullptr;
}

} // namespace shape
