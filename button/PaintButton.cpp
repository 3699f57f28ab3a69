// Button painting: the whole face is drawn from scratch on an off-screen raster surface, in a fixed
// order of named pieces, then handed to paintEvent as one image (no flicker):
//   size limits, hand cursor, toggle look, background, style colours and gradients, picture,
//   caption, border pen, shape (region, outline, style lines, focus outline), focus dots,
//   caption focus box, drop-down arrow, mask.
// Colours are chosen by small pure functions from a snapshot of the properties and flags; the
// drawing functions only take ready-made colours. Pixel comparisons use the OLE colour as stored,
// so a system-colour reference never matches a pixel.
#include "Button.h"

#include "ShapeFrame.h"
#include "Surface.h"
#include "Units.h"

#include <QCursor>

#include <algorithm>
#include <cmath>

namespace {

using raster::ColorRef;
using raster::GradientMode;
using raster::OleColor;
using shape::Expr;
using shape::H;
using shape::Pt;
using shape::W;

constexpr int kMinTwips = 375;

// Colours of the pipeline that are not properties.
constexpr OleColor kShadow = 0x80000010;
constexpr OleColor kHighlight = 0x80000014;
constexpr OleColor kCaptionFocusBox = 0xCC9999;
constexpr ColorRef kBlack = 0x000000;

enum class Look { Normal, Hover, Pressed };

// The fixed colour of an OLE colour for gradients (SplitRgb); an untranslatable value keeps its
// low three bytes.
ColorRef splitRgb(OleColor c)
{
    return raster::translateColor(c).value_or(c & 0xFFFFFF);
}

// ---- Snapshot -----------------------------------------------------------------------------------

struct Colours {
    OleColor back, backPressed, backHover;
    OleColor border, borderPressed, borderHover;
    OleColor fore, forePressed, foreHover, effect;
};

struct Snapshot {
    int w = 0, h = 0;
    qint32 shape = 0, style = 0, styleColors = 0;
    qint32 captionAlignment = 0, captionEffect = 0, captionStyle = 0, dropDown = 0, pictureAlignment = 0;
    Look look = Look::Normal;
    bool mouseOver = false, hasFocus = false, focusRect = false, enabled = true, pictureGray = false;
    Colours c{};

    /// The Pressed, Hover or plain colour of a group by the state.
    OleColor byLook(OleColor plain, OleColor hover, OleColor pressed) const
    {
        return look == Look::Pressed ? pressed : look == Look::Hover ? hover : plain;
    }
    bool focusShown() const { return focusRect && hasFocus; }
    int eval(Expr e) const { return e.eval(w, h); }
};

// ---- Gradient fills as data ------------------------------------------------------------------------

// One two-vertex fill: vertex a takes the first colour of its pair, vertex b the second.
struct Fill {
    GradientMode mode;
    Pt a, b;
};
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

// Styles 5 and 6: one vertical fill, a at the bottom, b at the top.
const Fill kStyleFill = {kV, {0, H}, {W, 0}};
// Glass (style 7) and gel (style 8): two fills each, a the base colour, b the light one. The tall
// shapes (triangles up and down, arrows up and down) run them across instead of down.
const Fill kGlassDown[2] = {{kV, {0, H / 1.5}, {W, 0}}, {kV, {0, H / 2}, {W, H + 25}}};
const Fill kGlassAcross[2] = {{kH, {W / 1.5, 0}, {0, H}}, {kH, {W / 2, H}, {W + 25, 0}}};
const Fill kGelDown[2] = {{kV, {0, H}, {W, -H / 6}}, {kV, {0, H / 2}, {W, H + H / 3}}};
const Fill kGelAcross[2] = {{kH, {W, 0}, {-W / 6, H}}, {kH, {W / 2, H}, {W + W / 3, 0}}};

bool fillsAcross(qint32 shape)
{
    return shape == Button::TriangleUp || shape == Button::TriangleDown || shape == Button::ArrowUp
           || shape == Button::ArrowDown;
}

// ---- Style colours -------------------------------------------------------------------------------

// A border colour a style writes back: fixed, or one of the back colours.
struct BorderSource {
    enum Kind { Fixed, Back, BackHover, BackPressed } kind;
    OleColor value = 0;
    OleColor resolve(const Colours& c) const
    {
        switch (kind) {
        case Back: return c.back;
        case BackHover: return c.backHover;
        case BackPressed: return c.backPressed;
        default: return value;
        }
    }
};
struct StyleBorders {
    BorderSource plain, hover, pressed;
};
constexpr BorderSource fixed(OleColor c) { return {BorderSource::Fixed, c}; }
// Indexed by ButtonStyle 1..8.
const StyleBorders kStyleBorders[] = {
    {fixed(0x80000015), fixed(0x80000015), fixed(0x80000014)},
    {fixed(0x80000015), fixed(0x80000015), fixed(0x80000014)},
    {{BorderSource::Back}, fixed(0x80000015), fixed(0x80000014)},
    {fixed(0x80000010), fixed(0x80000010), fixed(0x80000010)},
    {fixed(0x8000000F), fixed(0x00000000), fixed(0x00000000)},
    {fixed(0x00000000), fixed(0x00000000), fixed(0x00000000)},
    {fixed(0x008F8F8E), fixed(0x00B17F3C), fixed(0x005C411D)},
    {{BorderSource::Back}, {BorderSource::BackHover}, {BorderSource::BackPressed}},
};

// The style gradient of styles 5 to 8: which fills, their two colours, and a disabled border.
struct StyleGradient {
    std::span<const Fill> fills;
    OleColor a = 0, b = 0;
    std::optional<OleColor> disabledBorder;
};

std::optional<StyleGradient> chooseStyleGradient(const Snapshot& s)
{
    const Colours& c = s.c;
    const bool pressed = s.look == Look::Pressed;
    // Styles 7 and 8 look disabled only at rest; style 6 knows no hover, so whenever not pressed.
    const bool restingDisabled = !s.enabled && s.look == Look::Normal;
    const bool across = fillsAcross(s.shape);
    switch (s.style) {
    case 5:
        return StyleGradient{{&kStyleFill, 1}, s.byLook(c.back, 0xAC9891, 0xA57F71),
                             s.byLook(c.back, c.backHover, c.backPressed), {}};
    case 6:
        if (!s.enabled && !pressed)
            return StyleGradient{{&kStyleFill, 1}, 0xDBE7E7, 0xDBE7E7, 0x8DABAB};
        return StyleGradient{{&kStyleFill, 1}, c.back, pressed ? 0xE0E6E6 : c.backPressed, {}};
    case 7: {
        const std::span<const Fill> glass(across ? kGlassAcross : kGlassDown);
        if (restingDisabled)
            return StyleGradient{glass, 0xF0F0F0, 0xF4F4F4, 0xB5B2AD};
        return StyleGradient{glass, s.byLook(c.back, c.backHover, c.backPressed),
                             s.byLook(0xEFEFEF, 0xFEFCF7, 0xF8ECD5), {}};
    }
    case 8: {
        const std::span<const Fill> gel(across ? kGelAcross : kGelDown);
        if (restingDisabled)
            return StyleGradient{gel, 0xA4B6B7, 0xFFFFFF, 0xA4B6B7};
        return StyleGradient{gel, s.byLook(c.back, c.backHover, c.backPressed), 0xFFFFFF, {}};
    }
    default:
        return std::nullopt;
    }
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

} // namespace

// The surface is kept between paints, and so is its font: setting a font drops the surface's
// shaped text, which is most of what a repaint costs.
struct ButtonPaintCache {
    raster::Surface surface;
    std::optional<QFont> font;
};

// Paints one face of one button; lives for one PaintButton call.
class ButtonPainter {
public:
    explicit ButtonPainter(Button& button, ButtonPaintCache& cache)
        : b(button), cache(cache), surface(cache.surface),
          canvas{surface, 0, {}, button.shapePoints_, button.focusMarkPoints_}
    {
    }

    /// Steps 2 to 16; false when the size limits caused a nested paint that already did it all.
    bool paint();

private:
    bool applySizeLimits();
    void applyHandCursor();
    Snapshot snapshot() const;
    void fill(const Fill& f, OleColor a, OleColor b);
    void drawBackground();
    void applyStyle();
    void drawPicture();
    void greyPass(int x, int y, int w, int h, bool fromBlue);
    void drawCaption();
    void captionGradient();
    void drawShape();
    void drawFocusDots();
    void drawCaptionFocusBox();
    void drawDropDown();
    void publish();

    Button& b;
    ButtonPaintCache& cache;
    raster::Surface& surface;
    shape::ShapeCanvas canvas;
    Snapshot s;
};

bool ButtonPainter::applySizeLimits()
{
    const double dpiX = b.logicalDpiX();
    const double dpiY = b.logicalDpiY();
    int widthTwips = std::max(units::pixelsToTwips(b.width(), dpiX), kMinTwips);
    int heightTwips = std::max(units::pixelsToTwips(b.height(), dpiY), kMinTwips);
    if (b.buttonShape_ != Button::Rectangle && b.buttonShape_ != Button::RoundedRectangle)
        heightTwips = widthTwips;
    const QSize wanted(units::twipsToPixels(widthTwips, dpiX), units::twipsToPixels(heightTwips, dpiY));
    if (wanted == b.size())
        return true;
    // A shown widget repaints from its resize event at once; a hidden one takes the size now and
    // gets its resize event when shown.
    const int paints = b.paintCount_;
    b.resize(wanted);
    return b.paintCount_ == paints;
}

void ButtonPainter::applyHandCursor()
{
    if (!b.handPointer_)
        return;
    const bool hover = b.mouseOver_.value_or(false);
    if ((b.pressed_ && b.hasFocus_) || (!b.pressed_ && hover) || (!b.pressed_ && !hover && b.hasFocus_))
        b.setCursor(Qt::PointingHandCursor);
}

Snapshot ButtonPainter::snapshot() const
{
    Snapshot t;
    t.w = b.width();
    t.h = b.height();
    t.shape = b.buttonShape_;
    t.style = b.buttonStyle_;
    t.styleColors = b.buttonStyleColors_;
    t.captionAlignment = b.captionAlignment_;
    t.captionEffect = b.captionEffect_;
    t.captionStyle = b.captionStyle_;
    t.dropDown = b.dropDown_;
    t.pictureAlignment = b.pictureAlignment_;
    t.mouseOver = b.mouseOver_.value_or(false);
    t.look = b.pressed_ ? Look::Pressed : t.mouseOver ? Look::Hover : Look::Normal;
    t.hasFocus = b.hasFocus_;
    t.focusRect = b.focusRect_;
    t.enabled = b.isEnabled();
    t.pictureGray = b.pictureGray_;
    t.c = {b.backColor_, b.backColorPressed_, b.backColorHover_, b.borderColor_, b.borderColorPressed_,
           b.borderColorHover_, b.foreColor_, b.foreColorPressed_, b.foreColorHover_, b.effectColor_};
    return t;
}

void ButtonPainter::fill(const Fill& f, OleColor a, OleColor bColour)
{
    surface.gradientFill(raster::gradientVertex(s.eval(f.a.x), s.eval(f.a.y), splitRgb(a)),
                         raster::gradientVertex(s.eval(f.b.x), s.eval(f.b.y), splitRgb(bColour)), f.mode);
}

// Background pattern by ButtonStyleColors. The second colour of the pair is BackColorPressed at
// rest too: the patterns run from BackColor towards the pressed colour.
void ButtonPainter::drawBackground()
{
    const qint32 pattern = s.styleColors;
    if (pattern < 0 || pattern > 7)
        return;
    b.backStyleTransparent_ = pattern == 0;
    if (pattern == 0)
        return;
    if (pattern == 1) {
        surface.fill(splitRgb(s.byLook(s.c.back, s.c.backHover, s.c.backPressed)));
        return;
    }
    const OleColor second = s.look == Look::Hover ? s.c.backHover : s.c.backPressed;
    const Pattern& p = kPatterns[pattern - 2];
    for (int i = 0; i < p.count; ++i)
        fill(p.fills[i], s.c.back, second);
}

// Styles 1 to 8 write their border colours back into the properties, then styles 5 to 8 lay their
// gradient over the background (not on a transparent one).
void ButtonPainter::applyStyle()
{
    if (s.style < 1 || s.style > 8)
        return;
    const StyleBorders& borders = kStyleBorders[s.style - 1];
    s.c.border = b.borderColor_ = borders.plain.resolve(s.c);
    s.c.borderHover = b.borderColorHover_ = borders.hover.resolve(s.c);
    s.c.borderPressed = b.borderColorPressed_ = borders.pressed.resolve(s.c);
    const auto gradient = chooseStyleGradient(s);
    if (!gradient)
        return;
    if (gradient->disabledBorder)
        s.c.border = b.borderColor_ = *gradient->disabledBorder;
    if (s.styleColors == 0)
        return;
    for (const Fill& f : gradient->fills)
        fill(f, gradient->a, gradient->b);
}

void ButtonPainter::drawPicture()
{
    if (b.picture_.isNull())
        return;
    Button::PictureRect& r = b.pictureRect_;
    r.w = b.picture_.width();
    r.h = b.picture_.height();
    if (const auto at = place(s.pictureAlignment, 4, s.w, s.h, r.w, r.h)) {
        r.x = at->x();
        r.y = at->y();
    }
    const QImage image = b.picture_.toImage();
    if (!s.enabled) {
        surface.drawImage(r.x, r.y, image);
        greyPass(r.x, r.y, r.w, r.h, true);
    } else if (s.look == Look::Pressed) {
        surface.drawImage(r.x + 1, r.y + 1, image);
    } else if (s.look == Look::Hover) {
        surface.drawImage(r.x, r.y, image);
        if (s.style == 5)
            surface.drawImage(r.x - 1, r.y - 1, image);
    } else {
        surface.drawImage(r.x, r.y, image);
        if (s.pictureGray)
            greyPass(r.x, r.y, r.w, r.h, false);
    }
}

// Greys the picture's box and one column and row beyond it, skipping pixels of BackColor: by the
// red channel, or (disabled) by the pixel value / 65536 rounded, which is the blue channel nudged
// up when green and red make more than half of it.
void ButtonPainter::greyPass(int x, int y, int w, int h, bool fromBlue)
{
    for (int i = x; i <= x + w; ++i) {
        for (int j = y; j <= y + h; ++j) {
            const ColorRef pixel = surface.getPixel(i, j);
            if (pixel == raster::kInvalidColor || pixel == s.c.back)
                continue;
            const unsigned grey = fromBlue ? unsigned(raster::roundHalfEven(pixel / 65536.0)) & 0xFF : pixel & 0xFF;
            surface.setPixel(i, j, raster::rgb(grey, grey, grey));
        }
    }
}

void ButtonPainter::drawCaption()
{
    Button::CaptionRect& r = b.captionRect_;
    if (s.captionAlignment >= 0 && s.captionAlignment <= 4) {
        const QSize extent = surface.textExtent(b.caption_);
        r.cx = extent.width();
        r.cy = extent.height();
        const QPoint at = *place(s.captionAlignment, 5, s.w, s.h, r.cx, r.cy);
        r.x = at.x();
        r.y = at.y();
    }
    const QString& text = b.caption_;
    const auto write = [&](OleColor colour, int x, int y) {
        canvas.setPen(colour);
        surface.textOut(x, y, text);
    };
    if (!s.enabled) {
        if (s.style != 4 && s.style != 6 && s.style != 7 && s.style != 8)
            write(kHighlight, r.x + 1, r.y + 1);
        write(kShadow, r.x, r.y);
    } else if (s.captionEffect >= 0 && s.captionEffect <= 3) {
        const OleColor main = s.byLook(s.c.fore, s.c.foreHover, s.c.forePressed);
        const OleColor effect = s.c.effect;
        // Pressed shifts everything one pixel down and right.
        const int d = s.look == Look::Pressed ? 1 : 0;
        const int x = r.x + d;
        const int y = r.y + d;
        switch (s.captionEffect) {
        case 1: write(effect, x - 1, y - 1); break;          // raised
        case 2: write(effect, x + 1, y + 1); break;          // sunken shadow
        case 3:                                              // outlined
            for (int i = -1; i <= 1; ++i)
                for (int j = -1; j <= 1; ++j)
                    write(effect, x + i, y + j);
            break;
        default: break;
        }
        write(main, x, y);
    }
    captionGradient();
}

// Recolours the pixels of exactly the main text colour along a ramp over the whole face, so
// anti-aliased edges keep their blends. Red and green round after adding the step, blue before.
void ButtonPainter::captionGradient()
{
    if (s.captionStyle != 1 && s.captionStyle != 2)
        return;
    if (canvas.pen & 0xFF000000u) // a system-colour reference matches no pixel
        return;
    const Button::CaptionRect& r = b.captionRect_;
    const ColorRef f = splitRgb(s.c.fore);
    const ColorRef sc = splitRgb(s.look == Look::Hover ? s.c.foreHover : s.c.forePressed);
    const bool horizontal = s.captionStyle == 1;
    // Horizontal: F at the left edge to S at the right; vertical: S at the top to F at the bottom.
    const ColorRef from = horizontal ? f : sc;
    const ColorRef to = horizontal ? sc : f;
    const double span = horizontal ? s.w : s.h;
    const auto channel = [](ColorRef c, int shift) { return double(c >> shift & 0xFF); };
    const auto clamp = [](int v) { return unsigned(std::clamp(v, 0, 255)); };
    for (int k = r.x; k <= r.x + r.cx; ++k) {
        for (int l = r.y; l <= r.y + r.cy; ++l) {
            if (surface.getPixel(k, l) != canvas.pen)
                continue;
            const double t = (horizontal ? k : l) / span;
            const auto mix = [&](int shift) {
                return raster::roundHalfEven(channel(from, shift) + (channel(to, shift) - channel(from, shift)) * t);
            };
            const int blue = int(channel(from, 16)) + raster::roundHalfEven((channel(to, 16) - channel(from, 16)) * t);
            surface.setPixel(k, l, raster::rgb(clamp(mix(0)), clamp(mix(8)), clamp(blue)));
        }
    }
}

void ButtonPainter::drawShape()
{
    canvas.setPen(s.byLook(s.c.border, s.c.borderHover, s.c.borderPressed));
    shape::FrameState frame;
    frame.w = s.w;
    frame.h = s.h;
    frame.style = s.style;
    frame.styleColors = s.styleColors;
    frame.pressed = s.look == Look::Pressed;
    frame.mouseOver = s.mouseOver;
    frame.hasFocus = s.hasFocus;
    frame.focusRect = s.focusRect;
    frame.enabled = s.enabled;
    // A shape outside the list draws nothing and leaves the region as it was.
    if (shape::drawShape(s.shape, frame, canvas))
        b.applyShapeRegion(canvas.region.isNone() ? QRegion() : canvas.region.toQRegion());
}

// The focus outline the shape drew in the focus-mark colour becomes a dotted line: every pixel of
// the pen colour on the lattice of same-parity points turns black.
void ButtonPainter::drawFocusDots()
{
    if (s.style == 4 || s.style == 6 || s.style == 7 || !s.focusShown())
        return;
    if (canvas.pen & 0xFF000000u)
        return;
    const auto lattice = [&](int first, int lastX, int lastY) {
        for (int i = first; i <= lastX; i += 2)
            for (int j = first; j <= lastY; j += 2)
                if (surface.getPixel(i, j) == canvas.pen)
                    surface.setPixel(i, j, kBlack);
    };
    lattice(3, s.w - 3, s.h - 3);
    lattice(2, s.w - 2, s.h - 2);
}

// Style 4 shows the focus as a frame around the caption instead.
void ButtonPainter::drawCaptionFocusBox()
{
    if (b.caption_.isEmpty() || s.style != 4 || !s.focusShown())
        return;
    const Button::CaptionRect& r = b.captionRect_;
    canvas.setPen(kCaptionFocusBox);
    surface.roundRect(r.x - 3, r.y - 2, r.x + r.cx + 2, r.y + r.cy + 2, 0, 0);
}

void ButtonPainter::drawDropDown()
{
    if (s.dropDown != 1 && s.dropDown != 2)
        return;
    const QPoint origin(s.dropDown == 1 ? 2 : s.w - 21, s.eval(H / 2 - 8));
    canvas.setPen(kBlack);
    for (const auto& chevron : kChevrons) {
        surface.moveTo(origin.x() + chevron[0].x(), origin.y() + chevron[0].y());
        for (int i = 1; i < 3; ++i)
            surface.lineTo(origin.x() + chevron[i].x(), origin.y() + chevron[i].y());
    }
}

// The face as the screen shows it: pixels of the mask colour (BackColor) vanish when the background
// is transparent, and so does everything outside the window region.
void ButtonPainter::publish()
{
    QImage& face = b.face_;
    if (face.size() != QSize(s.w, s.h) || face.format() != QImage::Format_ARGB32_Premultiplied)
        face = QImage(s.w, s.h, QImage::Format_ARGB32_Premultiplied);
    if (face.isNull())
        return;
    const bool transparent = b.backStyleTransparent_;
    const bool clipped = !b.shapeRegion_.isEmpty();
    const std::uint32_t* src = surface.bits();
    const ColorRef mask = splitRgb(s.c.back);
    // The surface stores 0x00RRGGBB; the mask colour in that order.
    const std::uint32_t maskPixel = (mask & 0xFF) << 16 | (mask & 0xFF00) | (mask >> 16 & 0xFF);
    for (int y = 0; y < s.h; ++y) {
        auto* dst = reinterpret_cast<std::uint32_t*>(face.scanLine(y));
        const std::uint32_t* row = src + std::size_t(y) * s.w;
        if (transparent) {
            for (int x = 0; x < s.w; ++x)
                dst[x] = row[x] == maskPixel ? 0 : row[x] | 0xFF000000u;
        } else {
            for (int x = 0; x < s.w; ++x)
                dst[x] = row[x] | 0xFF000000u;
        }
    }
    if (clipped) {
        QRegion outside = QRegion(0, 0, s.w, s.h) - b.shapeRegion_;
        for (const QRect& r : outside)
            for (int y = r.top(); y <= r.bottom(); ++y)
                std::fill_n(reinterpret_cast<std::uint32_t*>(face.scanLine(y)) + r.left(), r.width(), 0u);
    }
    // Only a fully opaque face may skip the parent's background behind it.
    b.setAttribute(Qt::WA_OpaquePaintEvent, !transparent && !clipped);
}

bool ButtonPainter::paint()
{
    if (!applySizeLimits())
        return false;
    applyHandCursor();
    b.syncToggleLook();
    s = snapshot();
    // A face too large for any screen is refused rather than allocated; nothing is shown then.
    if (!surface.resize(s.w, s.h)) {
        b.face_ = QImage();
        return true;
    }
    if (cache.font != b.font()) {
        cache.font = b.font();
        surface.setFont(*cache.font);
    }
    surface.fill(splitRgb(s.c.back));
    drawBackground();
    applyStyle();
    drawPicture();
    drawCaption();
    drawShape();
    drawFocusDots();
    drawCaptionFocusBox();
    drawDropDown();
    publish();
    return true;
}

void Button::PaintButton()
{
    if (!paintCache_)
        paintCache_ = std::make_shared<ButtonPaintCache>();
    if (!ButtonPainter(*this, *paintCache_).paint())
        return;
    ++paintCount_;
    update();
}

void Button::setStateFlags(bool pressed, std::optional<bool> mouseOver, bool hasFocus)
{
    pressed_ = pressed;
    mouseOver_ = mouseOver;
    hasFocus_ = hasFocus;
    PaintButton();
}
