// Geometry of the ellipse and the diamond. Both are kept square by the painter; the tables still use
// W for every x and H for every y.
#include "ShapeFrame.h"

namespace shape {

constexpr raster::ColorRef kBlack = 0x000000;

// ---- Ellipse ------------------------------------------------------------------------------------

// The region call drops the box's last column and row, so (0, 0, W, H) covers what the outline
// drawn one pixel further in encloses.
constexpr Item kEllipseRegion = regionEllipse(0, 0, W, H);
constexpr Item kEllipseOutline[] = {ellipse(1, 1, W - 2, H - 2)};

// The upper-left half of the rim, counter-clockwise from the top-right to the bottom-left.
constexpr Item kEllipseUpperLeft[] = {arc(W - 2, H - 2, 1, 1, W - 2, 1, 1, H - 2)};
constexpr Item kEllipseUpperLeftInner[] = {arc(W - 3, H - 3, 2, 2, W - 3, 2, 2, H - 3)};
constexpr Item kEllipseRaisedShadow[] = {arc(1, 1, W - 3, H - 3, W / 3, H / 2, W - 3, 1)};
constexpr Item kEllipseEtchedShadow[] = {arc(W - 3, H - 3, 2, 2, W / 2, H - 3, W / 2, 3)};
constexpr Item kEllipseEtchedHighlight[] = {
    arc(W - 3, H - 3, 2, 2, W / 2, 2, W / 2, H - 2),
    arc(W - 2, H - 2, 1, 1, W / 2, H - 2, W / 2, 2),
};

constexpr Stroke kEllipseBevelPressed[] = {{Tone::Dark, kEllipseUpperLeft}, {Tone::Shade, kEllipseUpperLeftInner}};
constexpr Stroke kEllipseBevelRaised[] = {{Tone::Shade, kEllipseRaisedShadow}, {Tone::Light, kEllipseUpperLeft}};
constexpr Stroke kEllipseFlatPressed[] = {{Tone::Dark, kEllipseUpperLeft}};
constexpr Stroke kEllipseFlatRaised[] = {{Tone::Light, kEllipseUpperLeft}};
constexpr Stroke kEllipseEtched[] = {{Tone::Shade, kEllipseEtchedShadow}, {Tone::Light, kEllipseEtchedHighlight}};

constexpr Item kEllipseGlowPressed[] = {arc(W - 4, H - 4, 3, 3, W / 2, H - 2, W / 2, 3)};
constexpr Item kEllipseGlow1[] = {arc(2, 2, W - 3, H - 3, 2, H - 3, W - 3, H - 3)};
constexpr Item kEllipseGlow2[] = {arc(2, 2, W - 3, H - 4, 3, 3, W - 2, 4)};
constexpr Item kEllipseGlow3[] = {arc(3, 3, W - 4, H - 3, 2, 3, W - 2, 3)};
constexpr Item kEllipseGlow4[] = {arc(W - 3, H - 2, 2, 2, W - 3, 3, 3, 3)};
constexpr Item kEllipseGlow5[] = {arc(W - 3, H - 3, 3, 3, W - 3, 4, 4, 4)};

constexpr Item kEllipseRing[] = {ellipse(2, 2, W - 3, H - 3)};
constexpr Item kEllipseFocus[] = {ellipse(4, 4, W - 5, H - 5)};

constexpr ShapeTable kEllipse = {
    .region = &kEllipseRegion,
    .outline = kEllipseOutline,
    .bevelRaised = kEllipseBevelRaised,
    .bevelPressed = kEllipseBevelPressed,
    .flatRaised = kEllipseFlatRaised,
    .flatPressed = kEllipseFlatPressed,
    .etched = kEllipseEtched,
    .glowPressed = kEllipseGlowPressed,
    .glow = {kEllipseGlow1, kEllipseGlow2, kEllipseGlow3, kEllipseGlow4, kEllipseGlow5},
    .ring = kEllipseRing,
    .focus = kEllipseFocus,
};

// ---- Diamond ------------------------------------------------------------------------------------

constexpr Item kDiamondRegion = regionPolygon({{W, H / 2}, {W / 2, 0}, {0, H / 2}, {W / 2, H}});
constexpr Item kDiamondOutline[] = {path({{0, H / 2}, {W / 2, H - 1}, {W - 1, H / 2}, {W / 2, 0}, {0, H / 2}})};
// Under the top vertex the outline's two upper edges leave one pixel open; an opaque face closes it
// in the border colour (on a transparent one the background shows there either way).
constexpr Item kDiamondTopPixel[] = {path({{W / 2, 1}, {W / 2, 0}})};

// The two left edges: the lit or shaded half of styles 1 to 3.
constexpr Item kDiamondLeft[] = {path({{W / 2, 0}, {0, H / 2}, {W / 2, H - 1}})};
constexpr Item kDiamondLeftInner[] = {path({{W / 2, 1}, {1, H / 2}, {W / 2, H - 2}})};
constexpr Item kDiamondRightInner[] = {path({{W / 2, H - 2}, {W - 2, H / 2}, {W / 2, 1}})};
constexpr Item kDiamondEtchedShadow[] = {path({{W / 2, 1}, {W - 2, H / 2}, {W / 2, H - 2}})};
constexpr Item kDiamondEtchedHighlight[] = {
    path({{W / 2, 1}, {1, H / 2}, {W / 2, H - 2}}),
    path({{W / 2, 0}, {W - 1, H / 2}, {W / 2, H - 1}}),
};

constexpr Stroke kDiamondBevelPressed[] = {{Tone::Dark, kDiamondLeft}, {Tone::Shade, kDiamondLeftInner}};
constexpr Stroke kDiamondBevelRaised[] = {{Tone::Shade, kDiamondRightInner}, {Tone::Light, kDiamondLeft}};
constexpr Stroke kDiamondFlatPressed[] = {{Tone::Dark, kDiamondLeft}};
constexpr Stroke kDiamondFlatRaised[] = {{Tone::Light, kDiamondLeft}};
constexpr Stroke kDiamondEtched[] = {{Tone::Shade, kDiamondEtchedShadow}, {Tone::Light, kDiamondEtchedHighlight}};

// Every glow look (pressed, hovered, focused) ends with a dark dot under the top vertex.
constexpr Item kDiamondTip = pixel({W / 2, 1}, kBlack);
constexpr Item kDiamondGlowPressed[] = {path({{W / 2, H - 4}, {W - 4, H / 2}, {W / 2, 3}}), kDiamondTip};
constexpr Item kDiamondGlow1[] = {path({{W / 2, H - 2}, {W - 2, H / 2}})};
constexpr Item kDiamondGlow2[] = {
    path({{W / 2, H - 3}, {W - 3, H / 2}}),
    path({{1, H / 2}, {W / 2, H - 2}}),
    path({{W - 2, H / 2}, {W / 2, 1}}),
};
constexpr Item kDiamondGlow3[] = {path({{2, H / 2}, {W / 2, H - 3}}), path({{W - 3, H / 2}, {W / 2, 2}})};
constexpr Item kDiamondGlow4[] = {path({{W / 2, 1}, {1, H / 2}})};
constexpr Item kDiamondGlow5[] = {path({{W / 2, 2}, {2, H / 2}}), kDiamondTip};

constexpr Item kDiamondRing[] = {path({{1, H / 2}, {W / 2, H - 2}, {W - 2, H / 2}, {W / 2, 1}, {1, H / 2}})};
// The diamond dots its focus outline itself on every odd row; the painter's pass after it works on
// the pixels still grey.
constexpr Item kDiamondFocus[] = {
    polygon({{W - 6, H / 2}, {W / 2, 5}, {5, H / 2}, {W / 2, H - 6}}),
    blackenOddRows(2, W - 2, 1, H - 1),
};

constexpr ShapeTable kDiamond = {
    .region = &kDiamondRegion,
    .outline = kDiamondOutline,
    .opaqueOnly = kDiamondTopPixel,
    .bevelRaised = kDiamondBevelRaised,
    .bevelPressed = kDiamondBevelPressed,
    .flatRaised = kDiamondFlatRaised,
    .flatPressed = kDiamondFlatPressed,
    .etched = kDiamondEtched,
    .glowPressed = kDiamondGlowPressed,
    .glow = {kDiamondGlow1, kDiamondGlow2, kDiamondGlow3, kDiamondGlow4, kDiamondGlow5},
    .ring = kDiamondRing,
    .focus = kDiamondFocus,
};

} // namespace shape
