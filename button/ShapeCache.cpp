#include "ShapeCache.h"

#include <algorithm>

namespace shape {

const ShapeRegion& ShapeCache::region(const Item* item, int w, int h)
{
    constexpr std::size_t kKept = 4;
    const auto hit = std::find_if(regions_.begin(), regions_.end(),
                                  [&](const Region& r) { return r.item == item && r.w == w && r.h == h; });
    if (hit == regions_.end()) {
        if (regions_.size() == kKept)
            regions_.pop_back();
        regions_.insert(regions_.begin(), Region{item, w, h, evaluateRegion(item, w, h)});
    } else if (hit != regions_.begin()) {
        std::rotate(regions_.begin(), hit, hit + 1);
    }
    return regions_.front().region;
}

void ShapeCache::draw(const FramePlan& plan, int w, int h, ShapeCanvas& canvas)
{
    for (const Group& group : plan.span()) {
        if (group.pen != kKeepPen)
            canvas.setPen(group.pen);
        for (const Item& item : group.items)
            draw(item, w, h, canvas);
    }
}

void ShapeCache::draw(const Item& item, int w, int h, ShapeCanvas& canvas)
{
    if (!isCurve(item, w, h)) {
        drawItem(item, w, h, canvas);
        return;
    }
    const raster::ColorRef pen = canvas.surface.penColor();
    for (const Pixel& p : curvePixels(item, w, h))
        canvas.surface.setPixel(p.x, p.y, pen);
}

// The pixels the curve writes, found by drawing it alone on a clear scratch surface of the same size
// (so that it is clipped the same way) in a pen that is not the clear colour.
const std::vector<ShapeCache::Pixel>& ShapeCache::curvePixels(const Item& item, int w, int h)
{
    if (w != curveW_ || h != curveH_) {
        curves_.clear();
        curveW_ = w;
        curveH_ = h;
    }
    const auto hit = std::find_if(curves_.begin(), curves_.end(), [&](const Curve& c) { return c.item == &item; });
    if (hit != curves_.end())
        return hit->pixels;

    Curve curve{&item, {}};
    // A resize leaves the surface clear; a surface too large for one is refused, and so is a face.
    if ((scratch_.width() != w || scratch_.height() != h) && !scratch_.resize(w, h))
        return curves_.emplace_back(std::move(curve)).pixels;
    std::array<QPoint, 7> unused{};
    ShapeCanvas sc{scratch_, unused};
    sc.setPen(0xFFFFFF);
    drawItem(item, w, h, sc);
    const std::uint32_t* bits = scratch_.bits();
    for (int y = 0; y < h; ++y, bits += w)
        for (int x = 0; x < w; ++x)
            if (bits[x] != 0)
                curve.pixels.push_back({x, y});
    // Clear again for the next curve.
    for (const Pixel& p : curve.pixels)
        scratch_.setPixel(p.x, p.y, 0);
    return curves_.emplace_back(std::move(curve)).pixels;
}

} // namespace shape
