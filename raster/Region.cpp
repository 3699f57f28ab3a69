#include "Region.h"

#include "EllipseQuarter.h"
#include "Raster.h"

#include <QRect>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace raster {

namespace {
using i64 = std::int64_t;

struct Span {
    i64 left;
    i64 right;
};

i64 ceilDiv(i64 a, i64 b) // b > 0
{
    const i64 q = a / b;
    return (a % b > 0) ? q + 1 : q;
}
} // namespace

// Collects rows of spans into canonical bands: spans sorted and merged, empty ones dropped, and a row
// whose spans equal the band just above it extends that band. Two equal pixel sets therefore always
// give equal rectangle lists.
class RegionBuilder {
public:
    RegionBuilder() { m_region.m_none = false; }

    void addBand(i64 top, i64 bottom, std::span<const Span> spans)
    {
        m_row.clear();
        for (const Span& s : spans) {
            if (s.left >= s.right)
                continue;
            if (!m_row.empty() && m_row.back().right >= s.left)
                m_row.back().right = std::max(m_row.back().right, s.right);
            else
                m_row.push_back(s);
        }
        if (top >= bottom || m_row.empty())
            return;
        auto& rects = m_region.m_rects;
        const std::size_t bandSize = rects.size() - m_bandStart;
        if (bandSize == m_row.size() && bandSize > 0 && rects.back().bottom == top
            && std::equal(m_row.begin(), m_row.end(), rects.begin() + std::ptrdiff_t(m_bandStart),
                          [](const Span& s, const Region::Rect& r) { return s.left == r.left && s.right == r.right; })) {
            for (std::size_t i = m_bandStart; i < rects.size(); ++i)
                rects[i].bottom = int(bottom);
            return;
        }
        m_bandStart = rects.size();
        for (const Span& s : m_row)
            rects.push_back({int(s.left), int(top), int(s.right), int(bottom)});
    }

    Region take() { return std::move(m_region); }

private:
    Region m_region;
    std::vector<Span> m_row;
    std::size_t m_bandStart = 0;
};

Region Region::rect(int left, int top, int right, int bottom)
{
    RegionBuilder builder;
    const Span span{std::min(left, right), std::max(left, right)};
    builder.addBand(std::min(top, bottom), std::max(top, bottom), {&span, 1});
    return builder.take();
}

// CreatePolygonRgn, winding rule. Each row y is sampled along the pixels' top edges: a non-horizontal
// edge takes part in rows ytop ≤ y < ybottom, its exact crossing is rounded up, and the crossings are
// walked left to right with +1 for edges running down and −1 for edges running up; pixels from where
// the count leaves 0 up to where it returns to 0 are inside. So a pixel is in when its top-left corner
// is inside, left and top boundaries included, right and bottom excluded. Rows beyond ±kMaxExtent are
// left out to keep the work bounded.
Region Region::polygon(std::span<const QPoint> points)
{
    RegionBuilder builder;
    if (points.size() < 3)
        return builder.take();
    i64 top = points[0].y(), bottom = top;
    for (const QPoint& p : points) {
        if (std::abs(i64(p.x())) > kMaxCoordinate || std::abs(i64(p.y())) > kMaxCoordinate)
            return builder.take();
        top = std::min<i64>(top, p.y());
        bottom = std::max<i64>(bottom, p.y());
    }
    top = std::max<i64>(top, -kMaxExtent);
    bottom = std::min<i64>(bottom, kMaxExtent);

    struct Crossing {
        i64 x;
        int dir;
    };
    std::vector<Crossing> crossings;
    crossings.reserve(points.size());
    std::vector<Span> spans;
    for (i64 y = top; y < bottom; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPoint& a = points[i];
            const QPoint& b = points[(i + 1) % points.size()];
            if (a.y() == b.y() || y < std::min(a.y(), b.y()) || y >= std::max(a.y(), b.y()))
                continue;
            const i64 dy = i64(b.y()) - a.y();
            const i64 num = (y - a.y()) * (i64(b.x()) - a.x());
            const i64 x = a.x() + (dy > 0 ? ceilDiv(num, dy) : ceilDiv(-num, -dy));
            crossings.push_back({x, dy > 0 ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        spans.clear();
        int winding = 0;
        for (const Crossing& c : crossings) {
            const int before = winding;
            winding += c.dir;
            if (before == 0)
                spans.push_back({c.x, c.x});
            else if (winding == 0)
                spans.back().right = c.x;
        }
        builder.addBand(y, y + 1, spans);
    }
    return builder.take();
}

// CreateRoundRectRgn. The box is normalised and then loses its right column and bottom row (the classic
// call covers "the interior only at right and bottom"), and the corner ellipse is clamped to what is
// left. Corners under 2 pixels give that shrunk rectangle. Otherwise the ellipse walk, counting
// inwards from the sides, gives one span per corner row for the lower half; the upper half mirrors it,
// and the middle row stretches over the straight part between the corners.
Region Region::roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    auto [l, t, r, b] = normalisedBox(left, top, right, bottom);
    RegionBuilder builder;
    // A box with no width or height has no interior; the literal shrink would turn it inside out.
    if (l == r || t == b)
        return builder.take();
    --r;
    --b;
    const i64 cw = std::min(r - l, std::abs(i64(cornerWidth)));
    const i64 ch = std::min(b - t, std::abs(i64(cornerHeight)));
    if (cw < 2 || ch < 2) {
        const Span span{l, r};
        builder.addBand(t, b, {&span, 1});
        return builder.take();
    }
    if (cw > kMaxExtent || ch > kMaxExtent)
        return builder.take();

    // The same midpoint walk as the outlines, with x counted from the side inwards.
    const i64 a = cw - 1;
    const i64 bb = ch - 1;
    const i64 p = bb % 2;
    const i64 ka = 8 * a * a;
    const i64 kb = 8 * bb * bb;
    i64 u = 4 * bb * bb * (1 - a);
    i64 v = 4 * a * a * (1 + p);
    i64 e = u + v + a * a * p;
    const i64 middle = ch / 2;
    std::vector<Span> spans(std::size_t(ch), Span{0, 0}); // rows the walk never reaches stay empty
    i64 x = 0;
    i64 y = middle;
    spans[std::size_t(y)] = {l, r};
    for (i64 steps = 0; x <= cw / 2 && steps <= cw + ch; ++steps) {
        const i64 twice = 2 * e;
        if (twice >= u) {
            ++x;
            u += kb;
            e += u;
        }
        if (twice <= v) {
            ++y;
            v += ka;
            e += v;
            if (y >= ch)
                break;
            spans[std::size_t(y)] = {l + x, r - x};
        }
    }
    for (i64 i = 0; i < middle; ++i)
        spans[std::size_t(i)] = spans[std::size_t(bb - i)];

    for (i64 i = 0; i < middle; ++i)
        builder.addBand(t + i, t + i + 1, {&spans[std::size_t(i)], 1});
    builder.addBand(t + middle, b - ch + middle + 1, {&spans[std::size_t(middle)], 1});
    for (i64 i = middle + 1; i < ch; ++i)
        builder.addBand(b - ch + i, b - ch + i + 1, {&spans[std::size_t(i)], 1});
    return builder.take();
}

Region Region::ellipse(int left, int top, int right, int bottom)
{
    const i64 w = std::abs(i64(right) - left);
    const i64 h = std::abs(i64(bottom) - top);
    return roundRect(left, top, right, bottom, int(std::min<i64>(w, kMaxExtent + 1)),
                     int(std::min<i64>(h, kMaxExtent + 1)));
}

bool Region::contains(int x, int y) const
{
    if (m_none)
        return true;
    auto it = std::partition_point(m_rects.begin(), m_rects.end(), [y](const Rect& r) { return r.bottom <= y; });
    for (; it != m_rects.end() && it->top <= y; ++it) {
        if (x < it->left)
            return false;
        if (x < it->right)
            return true;
    }
    return false;
}

QRegion Region::toQRegion() const
{
    std::vector<QRect> rects;
    rects.reserve(m_rects.size());
    for (const Rect& r : m_rects)
        rects.emplace_back(r.left, r.top, r.right - r.left, r.bottom - r.top);
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

} // namespace raster
