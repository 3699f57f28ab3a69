#pragma once
// The integer ellipse walk that every curved shape (round rect, ellipse, arc) is built from.
#include <QPoint>

#include <vector>

namespace raster {

/// Replaces out with the lower-right quarter of the ellipse inscribed in a width × height box, in
/// box-local coordinates, from the middle of the right side to the middle of the bottom side
/// (successive points are 8-neighbours). Sizes outside 1..kMaxExtent give no points.
void ellipseQuarter(int width, int height, std::vector<QPoint>& out);

} // namespace raster
