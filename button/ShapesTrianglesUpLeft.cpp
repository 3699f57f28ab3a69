// Geometry of the triangles pointing up (base along the bottom) and left (right side vertical).
// Their region and focus mark are polygons, so they fill the first three entries of ShapePoints and
// FocusMarkPoints.
#include "ShapeFrame.h"

namespace shape {

// ---- TriangleUp ---------------------------------------------------------------------------------

constexpr Item kUpRegion = regionPolygon({{0, H}, {W / 2, 0}, {W, H}});
constexpr Item kUpOutline[] = {path({{W / 2, 1}, {1, H - 1}, {W - 2, H - 1}, {W / 2, 1}})};

// The left edge is the lit (or, pressed, the shaded) side.
constexpr Item kUpLeftEdge[] = {path({{W / 2, 1}, {1, H - 1}})};
constexpr Item kUpLeftEdgeLit[] = {path({{W / 2, 2}, {1, H - 1}})};
constexpr Item kUpLeftInner[] = {path({{W / 2, 3}, {3, H - 3}})};
constexpr Item kUpBaseAndRight[] = {path({{1, H - 2}, {W - 3, H - 2}, {W / 2, 3}})};
constexpr Item kUpEtchedHighlight[] = {
    path({{W / 2, 3}, {2, H - 1}}),
    path({{2, H - 1}, {W - 2, H - 1}, {W / 2, 1}}),
};

constexpr Stroke kUpBevelPressed[] = {{Tone::Dark, kUpLeftEdge}, {Tone::Shade, kUpLeftInner}};
constexpr Stroke kUpBevelRaised[] = {{Tone::Shade, kUpBaseAndRight}, {Tone::Light, kUpLeftEdgeLit}};
constexpr Stroke kUpFlatPressed[] = {{Tone::Dark, kUpLeftEdge}};
constexpr Stroke kUpFlatRaised[] = {{Tone::Light, kUpLeftEdgeLit}};
constexpr Stroke kUpEtched[] = {{Tone::Shade, kUpBaseAndRight}, {Tone::Light, kUpEtchedHighlight}};

constexpr Item kUpGlowPressed[] = {path({{4, H - 3}, {W - 5, H - 3}, {W / 2, 5}})};
constexpr Item kUpGlow1[] = {path({{2, H - 2}, {W - 1, H - 2}})};
constexpr Item kUpGlow2[] = {path({{3, H - 3}, {W - 4, H - 3}, {W / 2, 3}})};
constexpr Item kUpGlow3[] = {path({{W - 5, H - 4}, {W / 2, 5}})};
constexpr Item kUpGlow4[] = {path({{W / 2, 3}, {3, H - 3}})};
constexpr Item kUpGlow5[] = {path({{W / 2, 4}, {3, H - 3}})};

constexpr Item kUpRing[] = {path({{W / 2, 2}, {2, H - 2}, {W - 3, H - 2}, {W / 2, 2}})};
constexpr Item kUpFocus[] = {polygon({{7, H - 5}, {W / 2, 9}, {W - 8, H - 5}})};

constexpr ShapeTable kTriangleUp = {
    .region = &kUpRegion,
    .outline = kUpOutline,
    .bevelRaised = kUpBevelRaised,
    .bevelPressed = kUpBevelPressed,
    .flatRaised = kUpFlatRaised,
    .flatPressed = kUpFlatPressed,
    .etched = kUpEtched,
    .glowPressed = kUpGlowPressed,
    .glow = {kUpGlow1, kUpGlow2, kUpGlow3, kUpGlow4, kUpGlow5},
    .ring = kUpRing,
    .focus = kUpFocus,
    .gradientsAcross = true,
};

// ---- TriangleLeft -------------------------------------------------------------------------------

constexpr Item kLeftRegion = regionPolygon({{0, H / 2}, {W, 0}, {W, H}});
constexpr Item kLeftOutline[] = {path({{1, H / 2}, {W - 1, 1}, {W - 1, H - 1}, {1, H / 2}})};

// The upper edge is the lit (or, pressed, the shaded) side.
constexpr Item kLeftUpperEdge[] = {path({{W - 1, 1}, {1, H / 2}})};
constexpr Item kLeftUpperInner[] = {path({{W - 3, 3}, {3, H / 2}})};
constexpr Item kLeftLowerAndBack[] = {path({{2, H / 2}, {W - 2, H - 3}, {W - 2, 1}})};
constexpr Item kLeftEtchedShadow[] = {path({{W - 2, 2}, {W - 2, H - 3}, {3, H / 2}})};
constexpr Item kLeftEtchedHighlight[] = {path({{3, H / 2}, {W - 1, 2}, {W - 1, H - 1}, {1, H / 2}})};

constexpr Stroke kLeftBevelPressed[] = {{Tone::Dark, kLeftUpperEdge}, {Tone::Shade, kLeftUpperInner}};
constexpr Stroke kLeftBevelRaised[] = {{Tone::Shade, kLeftLowerAndBack}, {Tone::Light, kLeftUpperEdge}};
constexpr Stroke kLeftFlatPressed[] = {{Tone::Dark, kLeftUpperEdge}};
constexpr Stroke kLeftFlatRaised[] = {{Tone::Light, kLeftUpperEdge}};
constexpr Stroke kLeftEtched[] = {{Tone::Shade, kLeftEtchedShadow}, {Tone::Light, kLeftEtchedHighlight}};

constexpr Item kLeftGlowPressed[] = {path({{W - 3, 5}, {W - 3, H - 5}, {5, H / 2}})};
constexpr Item kLeftGlow1[] = {path({{W - 2, 2}, {W - 2, H - 1}})};
constexpr Item kLeftGlow2[] = {path({{W - 3, 2}, {W - 3, H - 3}, {3, H / 2}})};
constexpr Item kLeftGlow3[] = {path({{W - 3, H - 4}, {5, H / 2}})};
constexpr Item kLeftGlow4[] = {path({{3, H / 2}, {W - 3, 3}})};
constexpr Item kLeftGlow5[] = {path({{4, H / 2}, {W - 4, 4}})};

constexpr Item kLeftRing[] = {path({{2, H / 2}, {W - 2, 2}, {W - 2, H - 2}, {2, H / 2}})};
constexpr Item kLeftFocus[] = {polygon({{9, H / 2}, {W - 5, 7}, {W - 5, H - 8}})};

constexpr ShapeTable kTriangleLeft = {
    .region = &kLeftRegion,
    .outline = kLeftOutline,
    .bevelRaised = kLeftBevelRaised,
    .bevelPressed = kLeftBevelPressed,
    .flatRaised = kLeftFlatRaised,
    .flatPressed = kLeftFlatPressed,
    .etched = kLeftEtched,
    .glowPressed = kLeftGlowPressed,
    .glow = {kLeftGlow1, kLeftGlow2, kLeftGlow3, kLeftGlow4, kLeftGlow5},
    .ring = kLeftRing,
    .focus = kLeftFocus,
};

} // namespace shape
