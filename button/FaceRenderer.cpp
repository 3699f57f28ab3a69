// The face renderer: the whole face drawn from scratch on an off-screen raster surface, in a fixed
// order of named pieces:
//   background, style gradient, picture, caption, border pen, shape (region, outline, style lines,
//   focus outline), focus dots, caption focus box, drop-down arrow, then the face as shown.
// Colours are chosen by small pure functions from the input; the drawing functions take ready-made
// colours. Pixel comparisons use the OLE colour as stored, so a system colour never matches a pixel.
//
// On a screen with more device pixels than logical ones, everything but the caption keeps its logical
// pixels as blocks (never smoothed), and the caption is drawn again at device resolution: the blocks
// under it come from the face before the caption, the blocks that later steps changed (outline, style
// lines, focus marks, drop-down) from the finished face. A ratio that is not whole gets blocks of
// ⌊ratio⌋ or ⌈ratio⌉ device pixels, so lines stay sharp and vary by a device pixel in width.
#include "FaceRenderer.h"

#include "Colours.h"
#include "StyleInfo.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace {

using raster::ColorRef;
using raster::GradientMode;
using shape::Expr;
using shape::H;
using shape::Pt;
using shape::W;

constexpr ColorRef kBlack = 0x000000;

// The state's colour of each group: pressed wins over hover.
OleColor backColour(const ButtonProperties& p, Look look)
{
    return ByLook<OleColor>{p.backColor, p.backColorHover, p.backColorPressed}[look];
}
OleColor borderColour(const ButtonProperties& p, Look look)
{
    return ByLook<OleColor>{p.borderColor, p.borderColorHover, p.borderColorPressed}[look];
}
OleColor textColour(const ButtonProperties& p, Look look)
{
    return ByLook<OleColor>{p.foreColor, p.foreColorHover, p.foreColorPressed}[look];
}

// ---- Background patterns ---------------------------------------------------------------------------

constexpr GradientMode kH = GradientMode::Horizontal;
constexpr GradientMode kV = GradientMode::Vertical;

// Background patterns of ButtonStyleColors 2..7; a is BackColor, b the second colour of the pair.
struct Pattern {
    Fill fills[2];
    int count;
};
const Pattern kPatterns[] = {
    {{{kH, {0, H}, {W, 0}}}, 1},                                    // 2: A left, B right
    {{{kV, {0, H}, {W, 0}}}, 1},                                    // 3: B top, A bottom
    {{{kV, {W, 0}, {0, H / 2}}, {kV, {0, H}, {W, H / 2}}}, 2},      // 4: A at the edges, B in the middle
    {{{kV, {0, H / 2}, {W, 0}}, {kV, {0, H / 2}, {W, H}}}, 2},      // 5: B at the edges, A in the middle
    {{{kH, {0, 0}, {W / 2, H}}, {kH, {W, H}, {W / 2, 0}}}, 2},      // 6: A at the sides, B in the centre
    {{{kH, {W / 2, 0}, {0, H}}, {kH, {W / 2, H}, {W, 0}}}, 2},      // 7: B at the sides, A in the centre
};

// The style gradient of styles 5 to 8: which fills and their two colours.
struct GradientChoice {
    std::span<const Fill> fills;
    OleColor a = 0, b = 0;
};

std::optional<GradientChoice> chooseStyleGradient(const StyleInfo& style, const FaceInput& in, Look look)
{
    const StyleGradient& g = style.gradient;
    if (g.down.empty())
        return std::nullopt;
    const shape::ShapeTable* table = shape::shapeTable(in.props.buttonShape);
    const bool across = table && table->gradientsAcross && !g.across.empty();
    const StyleGradient::Colours& colours = style.showsDisabled(in.enabled, look) ? g.disabled : g.colours[look];
    return GradientChoice{across ? g.across : g.down, colours.a.resolve(in.props), colours.b.resolve(in.props)};
}

// ---- Placement tables ----------------------------------------------------------------------------

// Where a caption (margin 5) or a picture (margin 4) of size cx × cy goes, by its alignment 0..4.
// The "/ H" and "/ W" rows divide by the whole face, which puts the item at the margin or one past it.
std::optional<QPoint> place(qint32 alignment, int margin, double w, double h, double cx, double cy)
{
    const auto r = [](double v) { return raster::roundHalfEven(v); };
    switch (alignment) {
    case 0: return QPoint(r((w - cx) / 2), r((h - cy) / h + margin));
    case 1: return QPoint(r((w - cx) / w + margin), r((h - cy) / 2));
    case 2: return QPoint(r((w - cx) / 2), r((h - cy) / 2));
    case 3: return QPoint(r(w - cx - 5), r((h - cy) / 2));
    case 4: return QPoint(r((w - cx) / 2), r(h - cy - 5));
    default: return std::nullopt;
    }
}

// The drop-down mark: two chevrons, each two pixels thick, from the origin (ax, ay).
constexpr QPoint kChevrons[4][3] = {
    {{6, 5}, {9, 8}, {13, 4}},
    {{7, 5}, {9, 7}, {12, 4}},
    {{6, 9}, {9, 12}, {13, 8}},
    {{7, 9}, {9, 11}, {12, 8}},
};

// ---- The caption ---------------------------------------------------------------------------------

// Writes the caption, its effect and its colour ramp on a surface whose pixels are scale × the face's
// (1 for the face itself, the device ratio for the sharp caption of a high-density screen).
struct CaptionPainter {
    raster::Surface& surface;
    const FaceInput& in;
    const StyleInfo& style;
    Look look;
    double scale = 1;
    /// The pen as last set, as given; starts black like a fresh surface's.
    OleColor pen = 0;

    int dev(double logical) const { return raster::roundHalfEven(logical * scale); }

    void setPen(OleColor colour)
    {
        pen = colour;
        if (const auto plain = translateColour(colour))
            surface.setPenColor(*plain);
    }

    void write(OleColor colour, int x, int y)
    {
        setPen(colour);
        surface.textOut(dev(x), dev(y), in.props.caption);
    }

    void draw(const CaptionRect& r)
    {
        const ButtonProperties& p = in.props;
        if (!in.enabled) {
            if (style.embossedDisabledCaption)
                write(kHighlight, r.x + 1, r.y + 1);
            write(kShadow, r.x, r.y);
        } else if (p.captionEffect >= 0 && p.captionEffect <= 3) {
            const OleColor main = textColour(p, look);
            // Pressed shifts everything one pixel down and right.
            const int d = look == Look::Pressed ? 1 : 0;
            const int x = r.x + d;
            const int y = r.y + d;
            switch (p.captionEffect) {
            case 1: write(p.effectColor, x - 1, y - 1); break; // raised
            case 2: write(p.effectColor, x + 1, y + 1); break; // sunken shadow
            case 3:                                            // outlined
                for (int i = -1; i <= 1; ++i)
                    for (int j = -1; j <= 1; ++j)
                        write(p.effectColor, x + i, y + j);
                break;
            default: break;
            }
            write(main, x, y);
        }
        gradient(r);
    }

    // Recolours the pixels of exactly the main text colour along a ramp over the whole face, so
    // anti-aliased edges keep their blends. Red and green round after adding the step, blue before.
    void gradient(const CaptionRect& r)
    {
        const ButtonProperties& p = in.props;
        if (p.captionStyle != 1 && p.captionStyle != 2)
            return;
        if (isSystemColour(pen))
            return;
        const ColorRef f = splitRgb(p.foreColor);
        const ColorRef sc = splitRgb(look == Look::Hover ? p.foreColorHover : p.foreColorPressed);
        const bool horizontal = p.captionStyle == 1;
        // Horizontal: F at the left edge to S at the right; vertical: S at the top to F at the bottom.
        const ColorRef from = horizontal ? f : sc;
        const ColorRef to = horizontal ? sc : f;
        const double span = (horizontal ? in.size.width() : in.size.height()) * scale;
        const auto channel = [](ColorRef c, int shift) { return double(c >> shift & 0xFF); };
        const auto clamp = [](int v) { return unsigned(std::clamp(v, 0, 255)); };
        // The caption's box, both ends included, in this surface's pixels.
        for (int k = dev(r.x); k < dev(r.x + r.cx + 1); ++k) {
            for (int l = dev(r.y); l < dev(r.y + r.cy + 1); ++l) {
                if (surface.getPixel(k, l) != pen)
                    continue;
                const double t = (horizontal ? k : l) / span;
                const auto mix = [&](int shift) {
                    return raster::roundHalfEven(channel(from, shift) + (channel(to, shift) - channel(from, shift)) * t);
                };
                const int blue =
                    int(channel(from, 16)) + raster::roundHalfEven((channel(to, 16) - channel(from, 16)) * t);
                surface.setPixel(k, l, raster::rgb(clamp(mix(0)), clamp(mix(8)), clamp(blue)));
            }
        }
    }
};

QFont scaledFont(QFont font, double scale)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, raster::roundHalfEven(font.pixelSize() * scale)));
    else
        font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

// A surface's pixels as an image of their own.
QImage snapshot(const raster::Surface& surface)
{
    return surface.image().copy();
}

} // namespace

// One face of one input; lives for one renderFace call.
struct FacePass {
    FacePass(FaceRenderer& renderer, const FaceInput& in, FaceOutput& out)
        : r(renderer), in(in), out(out), surface(renderer.surface_), style(styleInfo(in.props.buttonStyle)),
          look(lookOf(in.pressed, in.mouseOver)), w(in.size.width()), h(in.size.height()),
          canvas{surface, out.focusMarkPoints}
    {
    }

    void run();

    int eval(Expr e) const { return e.eval(w, h); }
    void fill(const Fill& f, OleColor a, OleColor b);
    void drawBackground();
    void drawStyleGradient();
    void drawPicture();
    void greyPass(int x, int y, int pw, int ph, bool fromBlue);
    void placeCaption();
    void drawShape();
    void drawFocusDots();
    void drawCaptionFocusBox();
    void drawDropDown();
    const std::uint32_t* insideMask(std::vector<std::uint32_t>& scratch) const;
    void publish();
    void publishDevice(const QImage& beforeCaption, const QImage& afterCaption);

    FaceRenderer& r;
    const FaceInput& in;
    FaceOutput& out;
    raster::Surface& surface;
    const StyleInfo& style;
    Look look;
    int w, h;
    shape::ShapeCanvas canvas;
    // The region of the shape drawn; null when ButtonShape names no shape.
    const shape::ShapeRegion* region = nullptr;
};

void FacePass::fill(const Fill& f, OleColor a, OleColor b)
{
    surface.gradientFill(raster::gradientVertex(eval(f.a.x), eval(f.a.y), splitRgb(a)),
                         raster::gradientVertex(eval(f.b.x), eval(f.b.y), splitRgb(b)), f.mode);
}

// Background pattern by ButtonStyleColors. The second colour of the pair is BackColorPressed at
// rest too: the patterns run from BackColor towards the pressed colour.
void FacePass::drawBackground()
{
    const ButtonProperties& p = in.props;
    const qint32 pattern = p.buttonStyleColors;
    if (pattern >= 0 && pattern <= 7)
        out.backTransparent = pattern == 0;
    // A style gradient covers every pixel (each of its fills runs from one edge of the face to the
    // other across, and together they span it along), so nothing under it would show.
    if (pattern != 0 && chooseStyleGradient(style, in, look) && w > 0 && h > 0)
        return;
    // The face starts in BackColor; a solid fill covers it all anyway.
    if (pattern != 1)
        surface.fill(splitRgb(p.backColor));
    if (pattern < 1 || pattern > 7)
        return;
    if (pattern == 1) {
        surface.fill(splitRgb(backColour(p, look)));
        return;
    }
    const OleColor second = look == Look::Hover ? p.backColorHover : p.backColorPressed;
    const Pattern& pat = kPatterns[pattern - 2];
    for (int i = 0; i < pat.count; ++i)
        fill(pat.fills[i], p.backColor, second);
}

// Styles 5 to 8 lay their gradient over the background (not on a transparent one).
void FacePass::drawStyleGradient()
{
    if (in.props.buttonStyleColors == 0)
        return;
    if (const auto gradient = chooseStyleGradient(style, in, look))
        for (const Fill& f : gradient->fills)
            fill(f, gradient->a, gradient->b);
}

void FacePass::drawPicture()
{
    const ButtonProperties& p = in.props;
    if (p.picture.isNull())
        return;
    PictureRect& pr = out.pictureRect;
    pr.w = p.picture.width();
    pr.h = p.picture.height();
    if (const auto at = place(p.pictureAlignment, 4, w, h, pr.w, pr.h)) {
        pr.x = at->x();
        pr.y = at->y();
    }
    const QImage image = p.picture.toImage();
    if (!in.enabled) {
        surface.drawImage(pr.x, pr.y, image);
        greyPass(pr.x, pr.y, pr.w, pr.h, true);
    } else if (look == Look::Pressed) {
        surface.drawImage(pr.x + 1, pr.y + 1, image);
    } else if (look == Look::Hover) {
        surface.drawImage(pr.x, pr.y, image);
        if (style.pictureLiftsOnHover)
            surface.drawImage(pr.x - 1, pr.y - 1, image);
    } else {
        surface.drawImage(pr.x, pr.y, image);
        if (p.pictureGray)
            greyPass(pr.x, pr.y, pr.w, pr.h, false);
    }
}

// Greys the picture's box and one column and row beyond it, skipping pixels of BackColor: by the
// red channel, or (disabled) by the pixel value / 65536 rounded, which is the blue channel nudged
// up when green and red make more than half of it.
void FacePass::greyPass(int x, int y, int pw, int ph, bool fromBlue)
{
    for (int i = x; i <= x + pw; ++i) {
        for (int j = y; j <= y + ph; ++j) {
            const ColorRef pixel = surface.getPixel(i, j);
            if (pixel == raster::kInvalidColor || pixel == in.props.backColor)
                continue;
            const unsigned grey = fromBlue ? unsigned(raster::roundHalfEven(pixel / 65536.0)) & 0xFF : pixel & 0xFF;
            surface.setPixel(i, j, raster::rgb(grey, grey, grey));
        }
    }
}

void FacePass::placeCaption()
{
    const ButtonProperties& p = in.props;
    CaptionRect& cr = out.captionRect;
    if (p.captionAlignment < 0 || p.captionAlignment > 4)
        return;
    // Measuring goes through the font engine each time; the extent only changes with text or font.
    if (!r.extent_ || r.extentText_ != p.caption) {
        r.extent_ = surface.textExtent(p.caption);
        r.extentText_ = p.caption;
    }
    const QSize extent = *r.extent_;
    cr.cx = extent.width();
    cr.cy = extent.height();
    const QPoint at = *place(p.captionAlignment, 5, w, h, cr.cx, cr.cy);
    cr.x = at.x();
    cr.y = at.y();
}

void FacePass::drawShape()
{
    const ButtonProperties& p = in.props;
    canvas.setPen(borderColour(p, look));
    // A shape outside the list draws nothing and leaves the region as it was.
    const shape::ShapeTable* table = shape::shapeTable(p.buttonShape);
    if (!table)
        return;
    shape::FrameState frame;
    frame.style = &style;
    frame.styleColors = p.buttonStyleColors;
    frame.pressed = look == Look::Pressed;
    frame.mouseOver = in.mouseOver;
    frame.hasFocus = in.hasFocus;
    frame.focusRect = p.focusRect;
    frame.enabled = in.enabled;
    region = &r.shapes_.region(table->region, w, h);
    r.shapes_.draw(shape::planFrame(*table, frame), w, h, canvas);
    out.region = region->mask;
    for (std::size_t i = 0; i < region->pointCount && i < out.shapePoints.size(); ++i)
        out.shapePoints[i] = region->points[i];
}

// The focus outline the shape drew in the focus-mark colour becomes a dotted line: every pixel of
// the pen colour on the lattice of same-parity points turns black.
void FacePass::drawFocusDots()
{
    if (style.focus != FocusLook::DottedOutline || !(in.props.focusRect && in.hasFocus))
        return;
    // A pen with a top byte (a system or palette colour) matches no pixel.
    if (canvas.pen > 0xFFFFFF)
        return;
    const std::uint32_t wanted = storedPixel(canvas.pen);
    const std::uint32_t* pixels = surface.bits();
    // The lattice lies inside the face; each point is looked at once, so the order does not matter.
    const auto lattice = [&](int first, int lastX, int lastY) {
        for (int j = first; j <= lastY; j += 2)
            for (int i = first; i <= lastX; i += 2)
                if ((pixels[std::size_t(j) * w + i] & 0xFFFFFF) == wanted)
                    surface.setPixel(i, j, kBlack);
    };
    lattice(3, w - 3, h - 3);
    lattice(2, w - 2, h - 2);
}

// Style 4 shows the focus as a frame around the caption instead.
void FacePass::drawCaptionFocusBox()
{
    if (in.props.caption.isEmpty() || style.focus != FocusLook::CaptionBox || !(in.props.focusRect && in.hasFocus))
        return;
    const CaptionRect& cr = out.captionRect;
    canvas.setPen(style.focusPen);
    surface.roundRect(cr.x - 3, cr.y - 2, cr.x + cr.cx + 2, cr.y + cr.cy + 2, 0, 0);
}

void FacePass::drawDropDown()
{
    const qint32 dropDown = in.props.dropDown;
    if (dropDown != 1 && dropDown != 2)
        return;
    const QPoint origin(dropDown == 1 ? 2 : w - 21, eval(H / 2 - 8));
    canvas.setPen(kBlack);
    for (const auto& chevron : kChevrons) {
        surface.moveTo(origin.x() + chevron[0].x(), origin.y() + chevron[0].y());
        for (int i = 1; i < 3; ++i)
            surface.lineTo(origin.x() + chevron[i].x(), origin.y() + chevron[i].y());
    }
}

// Per pixel, all ones where the window region shows the face; null when nothing is clipped.
const std::uint32_t* FacePass::insideMask(std::vector<std::uint32_t>& scratch) const
{
    if (region)
        return region->inside.empty() ? nullptr : region->inside.data();
    // No shape drew this time: the mask in force still clips.
    if (in.mask.isEmpty())
        return nullptr;
    scratch.assign(std::size_t(w) * std::size_t(h), 0);
    for (const QRect& rect : in.mask) {
        const QRect clipped = rect & QRect(0, 0, w, h);
        for (int y = clipped.top(); y <= clipped.bottom(); ++y)
            std::fill_n(scratch.begin() + std::ptrdiff_t(y) * w + clipped.left(), clipped.width(), 0xFFFFFFFFu);
    }
    return scratch.data();
}

// The face as the screen shows it: pixels of the mask colour (BackColor) vanish when the background
// is transparent, and so does everything outside the window region.
void FacePass::publish()
{
    QImage& face = r.face_;
    if (face.size() != QSize(w, h) || face.format() != QImage::Format_ARGB32_Premultiplied
        || face.devicePixelRatio() != 1)
        face = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    if (face.isNull()) {
        out.face = QImage();
        return;
    }
    std::vector<std::uint32_t> scratch;
    const std::uint32_t* inside = insideMask(scratch);
    const bool transparent = out.backTransparent;
    const std::uint32_t maskPixel = storedPixel(splitRgb(in.props.backColor));
    // The face buffer's rows are exactly w pixels long (32-bit pixels need no padding), so the whole
    // face is one run.
    const std::size_t n = std::size_t(w) * std::size_t(h);
    const std::uint32_t* __restrict src = surface.bits();
    auto* __restrict dst = reinterpret_cast<std::uint32_t*>(face.bits());
    constexpr std::uint32_t kOpaque = 0xFF000000u;
    if (transparent && inside) {
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = src[i] == maskPixel ? 0 : (src[i] | kOpaque) & inside[i];
    } else if (transparent) {
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = src[i] == maskPixel ? 0 : src[i] | kOpaque;
    } else if (inside) {
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = (src[i] | kOpaque) & inside[i];
    } else {
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = src[i] | kOpaque;
    }
    out.opaque = !transparent && !inside;
    out.face = face;
}

// The face at the device's resolution: logical pixels as blocks, the caption drawn sharp, and what
// the steps after the caption drew back on top of it.
void FacePass::publishDevice(const QImage& beforeCaption, const QImage& afterCaption)
{
    const double ratio = in.ratio;
    const QSize device(int(std::ceil(w * ratio - 1e-9)), int(std::ceil(h * ratio - 1e-9)));
    raster::Surface sharp;
    if (!sharp.resize(device.width(), device.height())) {
        out.face = QImage();
        return;
    }
    const auto logical = [&](int d, int limit) { return std::min(int(d / ratio), limit - 1); };
    sharp.drawImage(0, 0, beforeCaption.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    sharp.setFont(scaledFont(in.font, ratio));
    CaptionPainter caption{sharp, in, style, look, ratio};
    caption.draw(out.captionRect);

    std::vector<std::uint32_t> scratch;
    const std::uint32_t* inside = insideMask(scratch);
    const std::uint32_t maskPixel = storedPixel(splitRgb(in.props.backColor));
    const std::uint32_t* final = surface.bits();
    QImage face(device, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < device.height(); ++y) {
        const int ly = logical(y, h);
        auto* dst = reinterpret_cast<std::uint32_t*>(face.scanLine(y));
        const std::uint32_t* sharpRow = sharp.bits() + std::size_t(y) * device.width();
        const auto* captionRow = reinterpret_cast<const std::uint32_t*>(afterCaption.constScanLine(ly));
        for (int x = 0; x < device.width(); ++x) {
            const int lx = logical(x, w);
            const std::size_t at = std::size_t(ly) * w + lx;
            std::uint32_t pixel = (final[at] & 0xFFFFFF) != (captionRow[lx] & 0xFFFFFF) ? final[at] : sharpRow[x];
            pixel &= 0xFFFFFF;
            const bool hidden = (inside && !inside[at]) || (out.backTransparent && pixel == maskPixel);
            dst[x] = hidden ? 0 : pixel | 0xFF000000u;
        }
    }
    face.setDevicePixelRatio(ratio);
    out.face = face;
    out.opaque = !out.backTransparent && !inside;
}

void FacePass::run()
{
    out.captionRect = in.captionRect;
    out.pictureRect = in.pictureRect;
    out.backTransparent = in.backTransparent;
    out.shapePoints = in.shapePoints;
    out.focusMarkPoints = in.focusMarkPoints;
    // A face too large for any screen is refused rather than allocated; nothing is shown then.
    if ((surface.width() != w || surface.height() != h) && !surface.resize(w, h)) {
        r.font_.reset();
        return;
    }
    if (r.font_ != in.font) {
        r.font_ = in.font;
        r.extent_.reset();
        surface.setFont(in.font);
    }
    drawBackground();
    drawStyleGradient();
    drawPicture();
    placeCaption();
    const bool sharpCaption = in.ratio != 1;
    QImage beforeCaption, afterCaption;
    if (sharpCaption)
        beforeCaption = snapshot(surface);
    CaptionPainter caption{surface, in, style, look};
    caption.draw(out.captionRect);
    canvas.pen = caption.pen;
    if (sharpCaption)
        afterCaption = snapshot(surface);
    drawShape();
    drawFocusDots();
    drawCaptionFocusBox();
    drawDropDown();
    if (sharpCaption)
        publishDevice(beforeCaption, afterCaption);
    else
        publish();
}

FaceOutput FaceRenderer::renderFace(const FaceInput& in)
{
    FaceOutput out;
    FacePass(*this, in, out).run();
    return out;
}

FaceOutput renderFace(const FaceInput& in)
{
    FaceRenderer renderer;
    return renderer.renderFace(in);
}
