#pragma once
// The integer ellipse walk that every curved shape (round rect, ellipse, arc) is built from.
#include <QPoint>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace raster {

/// Replaces out with the lower-right quarter of the ellipse inscribed in a width × height box, in
/// box-local coordinates, from the middle of the right side to the middle of the bottom side
/// (successive points are 8-neighbours). Sizes outside 1..kMaxExtent give no points.
void ellipseQuarter(int width, int height, std::vector<QPoint>& out);

/// A box given by two corners in either order, as left ≤ right and top ≤ bottom (in 64 bits, so
/// sizes computed from it cannot overflow).
struct Box {
    std::int64_t l, t, r, b;
};
inline Box normalisedBox(int left, int top, int right, int bottom)
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

} // namespace raster
