// The shape frame: region, outline, style lines and focus mark, walked over a shape's table.
#include "ShapeFrame.h"

#include "Surface.h"

#include <algorithm>
#include <limits>

namespace shape {

namespace {

QPoint at(const Pt& p, const FrameState& s)
{
    return {p.x.eval(s.w, s.h), p.y.eval(s.w, s.h)};
}

// The points of a path or polygon item, evaluated for this face; at most kMaxItemPoints.
struct Points {
    std::array<QPoint, kMaxItemPoints> v;
    std::size_t n = 0;
    std::span<const QPoint> span() const { return {v.data(), n}; }
};

Points evaluate(const Item& item, const FrameState& s)
{
    Points pts;
    pts.n = item.count;
    for (std::size_t i = 0; i < pts.n; ++i)
        pts.v[i] = at(item.p[i], s);
    return pts;
}

// Point buffers hold seven entries; a longer polygon keeps its first seven there.
void store(std::array<QPoint, 7>& buffer, const Points& pts)
{
    for (std::size_t i = 0; i < pts.n && i < buffer.size(); ++i)
        buffer[i] = pts.v[i];
}

ShapeRegion evaluateRegion(const Item* item, int w, int h)
{
    ShapeRegion r;
    if (!item)
        return r;
    FrameState s;
    s.w = w;
    s.h = h;
    const Points pts = evaluate(*item, s);
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

void drawItems(Items items, const FrameState& s, ShapeCanvas& c)
{
    for (const Item& item : items)
        drawItem(item, s, c);
}

void drawGroups(Look look, const FrameState& s, ShapeCanvas& c)
{
    for (const Group& group : look) {
        if (group.pen != kKeepPen)
            c.setPen(group.pen);
        drawItems(group.items, s, c);
    }
}

void drawGlow(const ShapeTable& t, const std::array<OleColor, 5>& pens, bool blue, const FrameState& s,
              ShapeCanvas& c)
{
    for (std::size_t i = 0; i < pens.size(); ++i) {
        c.setPen(pens[i]);
        drawItems(blue && !t.glow6Blue[i].empty() ? t.glow6Blue[i] : t.glow6[i], s, c);
    }
}

void style1(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    drawGroups(s.pressed ? t.pressed1 : t.raised1, s, c);
}

void style2(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    drawGroups(s.pressed ? t.pressed2 : t.raised2, s, c);
}

void style3(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    if (s.pressed)
        drawGroups(t.pressed2, s, c);
    else if (s.mouseOver)
        drawGroups(t.raised2, s, c);
}

void style4(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    if (s.enabled)
        drawGroups(t.style4, s, c);
}

void style6(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    if (s.pressed) {
        c.setPen(colour::kHighlight);
        drawItems(t.pressed6, s, c);
    } else if (s.mouseOver) {
        drawGlow(t, colour::kWarm, false, s, c);
    } else if (s.focusRect && s.hasFocus) {
        drawGlow(t, colour::kBlue, true, s, c);
    } else {
        return;
    }
    drawItems(t.after6, s, c);
}

void style7(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    if (s.pressed) {
        c.setPen(colour::kRingPressed);
        drawItems(t.ring7, s, c);
        return;
    }
    c.setPen(colour::kWhite);
    drawItems(t.ring7, s, c);
    if (s.focusRect && s.hasFocus) {
        c.setPen(colour::kRingFocus);
        drawItems(t.ring7, s, c);
    }
}

using StyleLines = void (*)(const ShapeTable&, const FrameState&, ShapeCanvas&);
// Indexed by EdgeLines.
constexpr StyleLines kStyleLines[] = {nullptr, style1, style2, style3, style4, style6, style7};

// Styles 4, 6 and 7 show the focus their own way.
bool showsFocusOutline(const FrameState& s)
{
    return s.focusLook == FocusLook::DottedOutline && s.focusRect && s.hasFocus;
}

using Renderer = void (*)(const FrameState&, ShapeCanvas&);
constexpr Renderer kRenderers[] = {
    DrawRectangle, DrawRoundedRectangle, DrawEllipse,   DrawDiamond,    DrawTriangleUp, DrawTriangleLeft,
    DrawTriangleRight, DrawTriangleDown, DrawArrowUp, DrawArrowLeft, DrawArrowRight, DrawArrowDown,
};

} // namespace

void ShapeCanvas::setPen(OleColor colour)
{
    pen = colour;
    if (const auto plain = translateColour(colour)) {
        surface.setPenColor(*plain);
        if (inks)
            inks->push_back(*plain & 0xFFFFFF);
    }
}

const ShapeRegion& RegionCache::get(const Item* item, int w, int h)
{
    constexpr std::size_t kKept = 4;
    const auto hit = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.item == item && e.w == w && e.h == h; });
    if (hit == entries_.end()) {
        if (entries_.size() == kKept)
            entries_.pop_back();
        entries_.insert(entries_.begin(), Entry{item, w, h, evaluateRegion(item, w, h)});
    } else if (hit != entries_.begin()) {
        std::rotate(entries_.begin(), hit, hit + 1);
    }
    return entries_.front().region;
}

void drawItem(const Item& item, const FrameState& s, ShapeCanvas& c)
{
    raster::Surface& surface = c.surface;
    const Points pts = evaluate(item, s);
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
        c.drewCurves = true;
        surface.arc(v[0].x(), v[0].y(), v[1].x(), v[1].y(), v[2].x(), v[2].y(), v[3].x(), v[3].y());
        break;
    case Op::RoundRect: {
        const int corner = item.corner.eval(s.w, s.h);
        c.drewCurves = c.drewCurves || corner > 2;
        surface.roundRect(v[0].x(), v[0].y(), v[1].x(), v[1].y(), corner, corner);
        break;
    }
    case Op::Ellipse:
        c.drewCurves = true;
        surface.roundRect(v[0].x(), v[0].y(), v[1].x(), v[1].y(), v[1].x(), v[1].y());
        break;
    case Op::Pixel:
        if (c.inks)
            c.inks->push_back(item.color & 0xFFFFFF);
        surface.setPixel(v[0].x(), v[0].y(), item.color);
        break;
    case Op::BlackenOddRows: {
        if (isSystemColour(c.pen))
            break;
        c.readPixels = true;
        for (int x = v[0].x(); x <= v[1].x(); ++x)
            for (int y = v[0].y(); y <= v[1].y(); y += 2)
                if (surface.getPixel(x, y) == c.pen)
                    surface.setPixel(x, y, 0x000000);
        break;
    }
    case Op::RegionRoundRect:
    case Op::RegionEllipse:
    case Op::RegionPolygon:
        break; // regions are the first step of the frame, through the canvas' cache
    }
}

void drawShapeTable(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    c.region = &c.regions.get(t.region, s.w, s.h);
    if (c.frames)
        c.frames->draw(t, s, c);
    else
        drawFrame(t, s, c);
}

void drawFrame(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    drawItems(t.outline, s, c);
    if (s.styleColors != 0)
        drawItems(t.opaqueOnly, s, c);

    if (const StyleLines lines = kStyleLines[std::size_t(s.lines)])
        lines(t, s, c);

    if (showsFocusOutline(s)) {
        c.setPen(colour::kFocusMark);
        drawItems(t.focus, s, c);
    }
}

bool FrameCache::Key::operator==(const Key& o) const
{
    const FrameState& a = state;
    const FrameState& b = o.state;
    return table == o.table && pen == o.pen && surfacePen == o.surfacePen && a.w == b.w && a.h == b.h
           && a.lines == b.lines && a.focusLook == b.focusLook && (a.styleColors != 0) == (b.styleColors != 0)
           && a.pressed == b.pressed && a.mouseOver == b.mouseOver && a.hasFocus == b.hasFocus
           && a.focusRect == b.focusRect && a.enabled == b.enabled;
}

FrameCache::Entry FrameCache::record(const Key& key, const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    Entry e;
    e.key = key;
    constexpr QPoint kUnset(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
    std::array<QPoint, 7> points;
    std::vector<raster::ColorRef> inks;
    // The background must be a colour the frame does not draw in; the frame draws the same inks
    // whatever the background, so one more try finds one for certain.
    raster::ColorRef background = 0xFE01FD;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (scratch_.width() != s.w || scratch_.height() != s.h)
            scratch_.resize(s.w, s.h);
        scratch_.fill(background);
        scratch_.setPenColor(key.surfacePen);
        points.fill(kUnset);
        inks.assign(1, key.surfacePen & 0xFFFFFF);
        ShapeCanvas sc{scratch_, c.regions, points};
        sc.pen = key.pen;
        sc.inks = &inks;
        drawFrame(t, s, sc);
        e.pen = sc.pen;
        e.surfacePen = scratch_.penColor();
        // Only curves are worth replaying; straight lines draw faster than their pixels replay.
        e.replay = !sc.readPixels && sc.drewCurves;
        if (!e.replay)
            return e;
        if (std::find(inks.begin(), inks.end(), background) == inks.end())
            break;
        background = 0;
        while (std::find(inks.begin(), inks.end(), background) != inks.end())
            ++background;
    }
    const std::uint32_t untouched = storedPixel(background);
    const std::uint32_t* pixels = scratch_.bits();
    e.writes.reserve(std::size_t(4) * std::size_t(s.w + s.h));
    // A frame is a few lines: most pixels are untouched, and skipped eight at a time.
    constexpr int kRun = 8;
    for (int y = 0; y < s.h; ++y, pixels += s.w) {
        const auto keep = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                if (pixels[x] != untouched)
                    e.writes.push_back({x, y, storedPixel(pixels[x])});
        };
        int run = 0;
        for (; run + kRun <= s.w; run += kRun) {
            std::uint32_t touched = 0;
            for (int k = 0; k < kRun; ++k)
                touched |= pixels[run + k] ^ untouched;
            if (touched)
                keep(run, run + kRun);
        }
        keep(run, s.w);
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        if (points[i] != kUnset)
            e.focusMarkPoints[i] = points[i];
    return e;
}

void FrameCache::draw(const ShapeTable& t, const FrameState& s, ShapeCanvas& c)
{
    constexpr std::size_t kKept = 8;
    const Key key{&t, s, c.pen, c.surface.penColor()};
    auto hit = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
    if (hit == entries_.end()) {
        if (entries_.size() == kKept)
            entries_.pop_back();
        entries_.insert(entries_.begin(), record(key, t, s, c));
        hit = entries_.begin();
    } else if (hit != entries_.begin()) {
        std::rotate(entries_.begin(), hit, hit + 1);
        hit = entries_.begin();
    }
    const Entry& e = *hit;
    if (!e.replay) {
        drawFrame(t, s, c);
        return;
    }
    for (const Write& w : e.writes)
        c.surface.setPixel(w.x, w.y, w.colour);
    for (std::size_t i = 0; i < e.focusMarkPoints.size(); ++i)
        if (e.focusMarkPoints[i])
            c.focusMarkPoints[i] = *e.focusMarkPoints[i];
    c.pen = e.pen;
    c.surface.setPenColor(e.surfacePen);
}

bool drawShape(std::int32_t shape, const FrameState& s, ShapeCanvas& c)
{
    if (shape < 0 || shape >= std::int32_t(std::size(kRenderers)))
        return false;
    kRenderers[shape](s, c);
    return true;
}

} // namespace shape
