#pragma once
// What a button keeps between paints of its shape: the window region for a shape and size, and the
// pixels each curve writes at a size. Both are the same at every paint of one shape and size, and
// working them out is most of what a paint would otherwise cost: a region is rasterised and turned
// into a mask, a curve is walked and drawn as a chain of one-pixel lines. A curve writes the same
// pixels whatever its pen and whatever is under it, so from its second paint at a size on, in any
// look, its kept pixels are written in the look's pen instead.
#include "ShapeFrame.h"

#include <cstdint>
#include <vector>

namespace shape {

class ShapeCache {
public:
    /// The region item (null: none) evaluated for a w × h face; the last few are kept.
    const ShapeRegion& region(const Item* item, int w, int h);
    /// Draws the groups of a frame on a w × h face, each in its pen: a curve from its kept pixels
    /// (worked out the first time at this size), anything else directly.
    void draw(const FramePlan& plan, int w, int h, ShapeCanvas& canvas);

private:
    void draw(const Item& item, int w, int h, ShapeCanvas& canvas);
    struct Region {
        const Item* item;
        int w, h;
        ShapeRegion region;
    };
    struct Pixel {
        int x, y;
    };
    struct Curve {
        const Item* item;
        int paints = 0;
        bool kept = false;
        std::vector<Pixel> pixels;
    };
    /// The entry of the curve item at this size, added when new.
    Curve& curveAt(const Item& item, int w, int h);
    bool keep(Curve& curve, int w, int h);

    std::vector<Region> regions_; // most recent first
    // The curves drawn at the size of the last paint, and where they are worked out.
    int curveW_ = -1, curveH_ = -1;
    std::vector<Curve> curves_;
    raster::Surface scratch_;
};

} // namespace shape
