#pragma once
// Small helpers that turn surfaces and regions into plain lists, so failures print what differs.
#include "Region.h"
#include "Surface.h"

#include <set>
#include <utility>
#include <vector>

using Pixel = std::pair<int, int>; // (x, y)
using PixelSet = std::set<Pixel>;

/// Every pixel of the surface that is not black.
inline PixelSet painted(const raster::Surface& s)
{
    PixelSet out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.getPixel(x, y) != 0)
                out.insert({x, y});
    return out;
}

/// A black w × h surface with a white pen.
inline void blank(raster::Surface& s, int w, int h)
{
    s.resize(w, h);
    s.fill(0);
    s.setPenColor(0xFFFFFF);
}

/// One row of a region: y and its inclusive x ranges.
struct Row {
    int y;
    std::vector<std::pair<int, int>> ranges;
    bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& r, std::ostream* os)
{
    *os << "row " << r.y << ":";
    for (const auto& [l, h] : r.ranges)
        *os << " " << l << "-" << h;
}

/// The non-empty rows of the region inside [lo, hi)², read back through contains().
inline std::vector<Row> rowsOf(const raster::Region& region, int lo = -5, int hi = 120)
{
    std::vector<Row> rows;
    for (int y = lo; y < hi; ++y) {
        Row row{y, {}};
        for (int x = lo; x < hi; ++x) {
            if (!region.contains(x, y))
                continue;
            if (!row.ranges.empty() && row.ranges.back().second == x - 1)
                row.ranges.back().second = x;
            else
                row.ranges.push_back({x, x});
        }
        if (!row.ranges.empty())
            rows.push_back(row);
    }
    return rows;
}
