// Geometry of the triangles pointing right (left side vertical) and down (top side level). Their
// region and focus mark are polygons, so they fill the first three entries of ShapePoints and
// FocusMarkPoints.
#include "ShapeFrame.h"

namespace shape {

// ---- TriangleRight ------------------------------------------------------------------------------

constexpr Item kRightRegion = regionPolygon({{W, H / 2}, {0, 0}, {0, H}});
constexpr Item kRightOutline[] = {path({{W - 2, H / 2}, {0, 1}, {0, H - 1}, {W - 1, H / 2}})};

// The upper edge and the back are the lit (or, pressed, the shaded) side.
constexpr Item kRightUpperAndBack[] = {path({{W - 2, H / 2}, {0, 1}, {0, H - 1}})};
constexpr Item kRightUpperAndBackLit[] = {path({{W - 3, H / 2}, {0, 1}, {0, H - 1}})};
constexpr Item kRightUpperAndBackInner[] = {path({{W - 5, H / 2}, {1, 2}, {1, H - 2}})};
constexpr Item kRightLowerInner[] = {path({{1, H - 3}, {W - 3, H / 2}})};
constexpr Item kRightEtchedHighlight[] = {path({{W - 5, H / 2}, {1, 3}, {1, H - 2}, {W - 1, H / 2}})};

constexpr Stroke kRightBevelPressed[] = {{Tone::Dark, kRightUpperAndBack}, {Tone::Shade, kRightUpperAndBackInner}};
constexpr Stroke kRightBevelRaised[] = {{Tone::Shade, kRightLowerInner}, {Tone::Light, kRightUpperAndBackLit}};
constexpr Stroke kRightFlatPressed[] = {{Tone::Dark, kRightUpperAndBack}};
constexpr Stroke kRightFlatRaised[] = {{Tone::Light, kRightUpperAndBackLit}};
constexpr Stroke kRightEtched[] = {{Tone::Shade, kRightLowerInner}, {Tone::Light, kRightEtchedHighlight}};

constexpr Item kRightGlowPressed[] = {path({{2, 4}, {2, H - 5}, {W - 6, H / 2}})};
constexpr Item kRightGlow1[] = {path({{1, 2}, {1, H - 1}})};
constexpr Item kRightGlow2[] = {path({{2, 2}, {2, H - 3}, {W - 4, H / 2}})};
constexpr Item kRightGlow3[] = {path({{3, H - 5}, {W - 5, H / 2}})};
constexpr Item kRightGlow4[] = {path({{W - 4, H / 2}, {4, 4}})};
constexpr Item kRightGlow5[] = {path({{W - 5, H / 2}, {5, 5}})};

constexpr Item kRightRing[] = {path({{W - 3, H / 2}, {1, 2}, {1, H - 2}, {W - 2, H / 2}})};
constexpr Item kRightFocus[] = {polygon({{W - 10, H / 2}, {4, 7}, {4, H - 8}})};

constexpr ShapeTable kTriangleRight = {
    .region = &kRightRegion,
    .outline = kRightOutline,
    .bevelRaised = kRightBevelRaised,
    .bevelPressed = kRightBevelPressed,
    .flatRaised = kRightFlatRaised,
    .flatPressed = kRightFlatPressed,
    .etched = kRightEtched,
    .glowPressed = kRightGlowPressed,
    .glow = {kRightGlow1, kRightGlow2, kRightGlow3, kRightGlow4, kRightGlow5},
    .ring = kRightRing,
    .focus = kRightFocus,
};

// ---- TriangleDown -------------------------------------------------------------------------------

// The region starts at row 1: the top pixel row stays outside the window.
constexpr Item kDownRegion = regionPolygon({{0, 1}, {W / 2, H}, {W, 1}});
constexpr Item kDownOutline[] = {path({{W / 2, H - 1}, {W - 1, 1}, {1, 1}, {W / 2, H - 1}})};

// The left edge and the top are the lit (or, pressed, the shaded) side.
constexpr Item kDownLeftAndTop[] = {path({{W / 2, H - 1}, {1, 1}, {W - 1, 1}})};
constexpr Item kDownLeftAndTopLit[] = {path({{W / 2, H - 2}, {1, 1}, {W - 1, 1}})};
constexpr Item kDownLeftAndTopInner[] = {path({{W / 2, H - 4}, {2, 2}, {W - 3, 2}})};
constexpr Item kDownRightInner[] = {path({{W - 2, 1}, {W / 2, H - 3}})};
constexpr Item kDownEtchedShadow[] = {path({{W - 3, 2}, {W / 2, H - 3}})};
constexpr Item kDownEtchedHighlight[] = {
    path({{W - 2, 2}, {2, 2}, {W / 2, H - 4}}),
    path({{W / 2, H - 1}, {W - 1, 1}}),
};

constexpr Stroke kDownBevelPressed[] = {{Tone::Dark, kDownLeftAndTop}, {Tone::Shade, kDownLeftAndTopInner}};
constexpr Stroke kDownBevelRaised[] = {{Tone::Shade, kDownRightInner}, {Tone::Light, kDownLeftAndTopLit}};
constexpr Stroke kDownFlatPressed[] = {{Tone::Dark, kDownLeftAndTop}};
constexpr Stroke kDownFlatRaised[] = {{Tone::Light, kDownLeftAndTopLit}};
constexpr Stroke kDownEtched[] = {{Tone::Shade, kDownEtchedShadow}, {Tone::Light, kDownEtchedHighlight}};

constexpr Item kDownGlowPressed[] = {path({{4, 3}, {W - 5, 3}, {W / 2, H - 5}})};
constexpr Item kDownGlow1[] = {path({{2, 2}, {W - 2, 2}})};
constexpr Item kDownGlow2[] = {path({{3, 3}, {W - 3, 3}, {W / 2, H - 3}})};
constexpr Item kDownGlow3[] = {path({{W - 5, 4}, {W / 2, H - 4}})};
constexpr Item kDownGlow4[] = {path({{W / 2, H - 4}, {3, 3}})};
constexpr Item kDownGlow5[] = {path({{W / 2, H - 5}, {4, 4}})};

constexpr Item kDownRing[] = {path({{W / 2, H - 2}, {W - 2, 2}, {2, 2}, {W / 2, H - 2}})};
constexpr Item kDownFocus[] = {polygon({{6, 4}, {W / 2, H - 10}, {W - 8, 4}})};

constexpr ShapeTable kTriangleDown = {
    .region = &kDownRegion,
    .outline = kDownOutline,
    .bevelRaised = kDownBevelRaised,
    .bevelPressed = kDownBevelPressed,
    .flatRaised = kDownFlatRaised,
    .flatPressed = kDownFlatPressed,
    .etched = kDownEtched,
    .glowPressed = kDownGlowPressed,
    .glow = {kDownGlow1, kDownGlow2, kDownGlow3, kDownGlow4, kDownGlow5},
    .ring = kDownRing,
    .focus = kDownFocus,
    .gradientsAcross = true,
};

} // namespace shape
