#pragma once
// Window regions with the pixel sets of the classic region calls, kept as y-banded half-open
// rectangles so they convert straight into a QRegion for a widget mask.
#include <QPoint>
#include <QRegion>

#include <span>
#include <vector>

namespace raster {

/// A set of pixels, or "no region" (the window is not clipped at all).
class Region {
public:
    /// Half-open: left ≤ x < right, top ≤ y < bottom.
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool operator==(const Rect&) const = default;
    };

    /// No region: not clipped, contains every point; different from an empty region.
    Region() = default;
    /// Pixels left ≤ x < right, top ≤ y < bottom (corners in either order).
    static Region rect(int left, int top, int right, int bottom);
    /// Pixels whose top-left corner lies inside the polygon by the winding rule, left and top edges
    /// counting as inside (fewer than three points: empty).
    static Region polygon(std::span<const QPoint> points);
    /// The rounded rectangle of the classic round-rect region call: the box loses its last column and
    /// row first, and corners under 2 pixels give that shrunk rectangle.
    static Region roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    /// The round rect whose corner is the whole box (so it is one column and one row smaller too).
    static Region ellipse(int left, int top, int right, int bottom);

    /// True for "no region".
    bool isNone() const { return m_none; }
    /// True for a region that holds no pixel ("no region" is not empty).
    bool isEmpty() const { return !m_none && m_rects.empty(); }
    /// Whether pixel (x, y) is inside; always true for "no region".
    bool contains(int x, int y) const;
    /// The bands, top to bottom, each left to right; identical neighbouring rows share one band.
    const std::vector<Rect>& rects() const { return m_rects; }
    /// The same pixel set as a QRegion; an empty QRegion for "no region" (check isNone first).
    QRegion toQRegion() const;

    /// Same pixel set (or both "no region"); lets callers skip re-setting an unchanged mask.
    bool operator==(const Region&) const = default;

private:
    friend class RegionBuilder;
    bool m_none = true;
    std::vector<Rect> m_rects;
};

} // namespace raster
