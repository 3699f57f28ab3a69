#include "EllipseQuarter.h"

#include "Raster.h"

#include <cstdint>

namespace raster {

void ellipseQuarter(int width, int height, std::vector<QPoint>& out)
{
    out.clear();
    if (width < 1 || height < 1 || width > kMaxExtent || height > kMaxExtent)
        return;
    // Zingl's midpoint walk, the way the classic rasteriser does it: an error term decides per step
    // whether x moves in, y moves down, or both. a and b are the box's last column and row; with an
    // odd number of rows the centre falls between two rows, which p accounts for.
    const std::int64_t a = width - 1;
    const std::int64_t b = height - 1;
    const std::int64_t p = b % 2;
    const std::int64_t ka = 8 * a * a;
    const std::int64_t kb = 8 * b * b;
    std::int64_t u = 4 * b * b * (1 - a);
    std::int64_t v = 4 * a * a * (1 + p);
    std::int64_t e = u + v + a * a * p;
    int x = width - 1;
    int y = height / 2;
    // Every step moves x or y; the cap only guards against a walk that would never end.
    for (int steps = 0; x >= width / 2 && steps <= width + height; ++steps) {
        out.emplace_back(x, y);
        const std::int64_t t = 2 * e;
        if (t >= u) {
            --x;
            u += kb;
            e += u;
        }
        if (t <= v) {
            ++y;
            v += ka;
            e += v;
        }
    }
}

} // namespace raster
