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
    Curve* curve = isCurve(item, w, h) ? &curveAt(item, w, h) : nullptr;
    // A curve drawn once at a size may not come again (a button's first paint draws many): its pixels
    // are worked out when it comes a second time.
    if (!curve || curve->paints++ == 0 || !(curve->kept || keep(*curve, w, h))) {
        drawItem(item, w, h, canvas);
        return;
    }
    const raster::ColorRef pen = canvas.surface.penColor();
    for (const Pixel& p : curve->pixels)
        canvas.surface.setPixel(p.x, p.y, pen);
}

ShapeCache::Curve& ShapeCache::curveAt(const Item& item, int w, int h)
{
    if (w != curveW_ || h != curveH_) {
        curves_.clear();
        curveW_ = w;
        curveH_ = h;
    }
    const auto hit = std::find_if(curves_.begin(), curves_.end(), [&](const Curve& c) { return c.item == &item; });
    return hit != curves_.end() ? *hit : curves_.emplace_back(Curve{&item, 0, false, {}});
}

// The pixels the curve writes, found by drawing it alone on a clear scratch surface of the same size
// (so that it is clipped the same way) in a pen that is not the clear colour; false when no scratch
// surface of the size can be had.
bool ShapeCache::keep(Curve& curve, int w, int h)
{
    // A resize leaves the surface clear.
    if ((scratch_.width() != w || scratch_.height() != h) && !scratch_.resize(w, h))
        return false;
    std::array<QPoint, 7> unused{};
    ShapeCanvas sc{scratch_, unused};
    sc.setPen(0xFFFFFF);
    drawItem(*curve.item, w, h, sc);
    // A curve is a thin line: most pixels are clear, and skipped eight at a time.
    constexpr int kRun = 8;
    const std::uint32_t* row = scratch_.bits();
    for (int y = 0; y < h; ++y, row += w) {
        const auto collect = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                if (row[x] != 0)
                    curve.pixels.push_back({x, y});
        };
        int x = 0;
        for (; x + kRun <= w; x += kRun) {
            std::uint32_t any = 0;
            for (int k = 0; k < kRun; ++k)
                any |= row[x + k];
            if (any)
                collect(x, x + kRun);
        }
        collect(x, w);
    }
    // Clear again for the next curve.
    for (const Pixel& p : curve.pixels)
        scratch_.setPixel(p.x, p.y, 0);
    curve.kept = true;
    return true;
}

} // namespace shape
