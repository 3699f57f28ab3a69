// Geometry of the four block arrows. Each is a seven-corner outline: the head takes two thirds of
// the length, the shaft the middle third of the width. Region and focus mark fill all seven entries
// of ShapePoints and FocusMarkPoints.
//
// The style lines follow one scheme. The outline splits at the tip and at one corner of the shaft's
// end into two halves: the lit half lies left of a vertical arrow's axis or above a horizontal one
// (with the shaft's end when that faces up or left), the shaded half is the rest. Raised: highlight
// on the lit half, shadow one pixel inside the shaded half. Pressed: dark shadow on the lit half,
// shadow one pixel inside it. Glow: line 1 (darkest) one pixel inside the shaft's end, lines 2 and 3
// one and two pixels inside the shaded half, lines 4 and 5 one and two inside the lit half.
// ArrowUp's lines are the original set. ArrowLeft's are their mirror image across the diagonal and
// ArrowRight's the same mirror of ArrowDown's, so each pair matches pixel for pixel. Those three
// draw the raised shadow before the highlight: the shadow line starts on the outline at the split,
// and the highlight drawn after it gives that corner pixel back to the lit half.
#include "ShapeFrame.h"

namespace shape {

// ---- ArrowUp ------------------------------------------------------------------------------------

constexpr Item kUpRegion =
    regionPolygon({{W / 2, 0}, {0, H / 1.5}, {W / 3, H / 1.5}, {W / 3, H}, {W / 1.5, H}, {W / 1.5, H / 1.5},
                   {W, H / 1.5}});
constexpr Item kUpOutline[] = {
    path({{W / 2, 1}, {1, H / 1.5 - 1}, {W / 3, H / 1.5 - 1}, {W / 3, H - 1}, {W / 1.5 - 1, H - 1},
          {W / 1.5 - 1, H / 1.5 - 1}, {W - 1, H / 1.5 - 1}, {W / 2, 1}})};

// Halves: lit from the tip down the left head edge and shaft side; shaded from the shaft's end up
// the right side to the tip.
constexpr Item kUpLit[] = {path({{W / 2, 1}, {1, H / 1.5 - 1}, {W / 3, H / 1.5 - 1}, {W / 3, H - 1}})};
constexpr Item kUpLitInner[] = {
    path({{W / 2, 2}, {2, H / 1.5 - 1}}),
    path({{2, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 1}}),
};
constexpr Item kUpShadedInner[] = {
    path({{W / 3, H - 2}, {W / 1.5 - 2, H - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 2}})};
constexpr Item kUpEtchedShadow[] = {
    path({{W / 3, H - 2}, {W / 1.5 - 2, H - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 3}})};
constexpr Item kUpEtchedHighlight[] = {
    path({{W / 2, 3}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 1}, {W / 1.5 - 1, H - 1},
          {W / 1.5 - 1, H / 1.5 - 1}, {W - 1, H / 1.5 - 1}, {W / 2, 1}})};

constexpr Stroke kUpBevelPressed[] = {{Tone::Dark, kUpLit}, {Tone::Shade, kUpLitInner}};
constexpr Stroke kUpBevelRaised[] = {{Tone::Light, kUpLit}, {Tone::Shade, kUpShadedInner}};
constexpr Stroke kUpFlatPressed[] = {{Tone::Dark, kUpLit}};
constexpr Stroke kUpFlatRaised[] = {{Tone::Light, kUpLit}};
constexpr Stroke kUpEtched[] = {{Tone::Shade, kUpEtchedShadow}, {Tone::Light, kUpEtchedHighlight}};

constexpr Item kUpGlowPressed[] = {
    path({{W / 3 + 3, H - 3}, {W / 1.5 - 3, H - 3}, {W / 1.5 - 3, H / 1.5 - 3}, {W - 5, H / 1.5 - 3}, {W / 2, 4}})};
constexpr Item kUpGlow1[] = {path({{W / 1.5 - 2, H - 2}, {W / 3, H - 2}})};
constexpr Item kUpGlow2[] = {
    path({{W / 3 + 1, H - 3}, {W / 1.5 - 2, H - 3}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 3}})};
// Line 3 starts at H - 4.5 rounded half to even: H - 4 for an even height, H - 5 for an odd one.
constexpr Item kUpGlow3[] = {
    path({{W / 1.5 - 3, H - 4.5}, {W / 1.5 - 3, H / 1.5 - 3}, {W - 5, H / 1.5 - 3}, {W / 2, 5}})};
constexpr Item kUpGlow4[] = {path({{W / 2, 3}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 2}})};
constexpr Item kUpGlow5[] = {path({{W / 2, 5}, {5, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 3}})};

constexpr Item kUpRing[] = {
    path({{W / 2, 2}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 2}, {W / 1.5 - 2, H - 2},
          {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 2}})};
constexpr Item kUpFocus[] = {
    polygon({{W / 2, 6}, {9, H / 1.5 - 5}, {W / 3 + 4, H / 1.5 - 5}, {W / 3 + 4, H - 5}, {W / 1.5 - 5, H - 5},
             {W / 1.5 - 5, H / 1.5 - 5}, {W - 10, H / 1.5 - 5}})};

constexpr ShapeTable kArrowUp = {
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

// ---- ArrowLeft ----------------------------------------------------------------------------------

constexpr Item kLeftRegion =
    regionPolygon({{0, H / 2}, {W / 1.5, 0}, {W / 1.5, H / 3}, {W, H / 3}, {W, H / 1.5}, {W / 1.5, H / 1.5},
                   {W / 1.5, H}});
constexpr Item kLeftOutline[] = {
    path({{W - 1, H / 3}, {W / 1.5 - 1, H / 3}, {W / 1.5 - 1, 1}, {1, H / 2}, {W / 1.5 - 1, H - 1},
          {W / 1.5 - 1, H / 1.5 - 1}, {W - 1, H / 1.5 - 1}, {W - 1, H / 3}})};

// Halves: lit from the shaft's end along the upper side to the tip; shaded from the tip along the
// lower side and back over the shaft's end.
constexpr Item kLeftLit[] = {path({{1, H / 2}, {W / 1.5 - 1, 1}, {W / 1.5 - 1, H / 3}, {W - 1, H / 3}})};
constexpr Item kLeftLitInner[] = {
    path({{2, H / 2}, {W / 1.5 - 1, 2}}),
    path({{W / 1.5 - 2, 2}, {W / 1.5 - 2, H / 3 + 1}, {W - 1, H / 3 + 1}}),
};
constexpr Item kLeftShadedInner[] = {
    path({{W - 2, H / 3}, {W - 2, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3}, {2, H / 2}})};
constexpr Item kLeftEtchedShadow[] = {
    path({{W - 2, H / 3}, {W - 2, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3}, {3, H / 2}})};
constexpr Item kLeftEtchedHighlight[] = {
    path({{3, H / 2}, {W / 1.5 - 2, 3}, {W / 1.5 - 2, H / 3 + 1}, {W - 1, H / 3 + 1}, {W - 1, H / 1.5 - 1},
          {W / 1.5 - 1, H / 1.5 - 1}, {W / 1.5 - 1, H - 1}, {1, H / 2}})};

constexpr Stroke kLeftBevelPressed[] = {{Tone::Dark, kLeftLit}, {Tone::Shade, kLeftLitInner}};
constexpr Stroke kLeftBevelRaised[] = {{Tone::Shade, kLeftShadedInner}, {Tone::Light, kLeftLit}};
constexpr Stroke kLeftFlatPressed[] = {{Tone::Dark, kLeftLit}};
constexpr Stroke kLeftFlatRaised[] = {{Tone::Light, kLeftLit}};
constexpr Stroke kLeftEtched[] = {{Tone::Shade, kLeftEtchedShadow}, {Tone::Light, kLeftEtchedHighlight}};

constexpr Item kLeftGlowPressed[] = {
    path({{W - 3, H / 3 + 3}, {W - 3, H / 1.5 - 3}, {W / 1.5 - 3, H / 1.5 - 3}, {W / 1.5 - 3, H - 5}, {4, H / 2}})};
constexpr Item kLeftGlow1[] = {path({{W - 2, H / 1.5 - 2}, {W - 2, H / 3}})};
constexpr Item kLeftGlow2[] = {
    path({{W - 3, H / 3 + 1}, {W - 3, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3}, {3, H / 2}})};
constexpr Item kLeftGlow3[] = {
    path({{W - 4, H / 1.5 - 3}, {W / 1.5 - 3, H / 1.5 - 3}, {W / 1.5 - 3, H - 5}, {5, H / 2}})};
constexpr Item kLeftGlow4[] = {path({{3, H / 2}, {W / 1.5 - 2, 3}, {W / 1.5 - 2, H / 3 + 1}, {W - 2, H / 3 + 1}})};
constexpr Item kLeftGlow5[] = {path({{5, H / 2}, {W / 1.5 - 3, 5}, {W / 1.5 - 3, H / 3 + 2}, {W - 3, H / 3 + 2}})};

constexpr Item kLeftRing[] = {
    path({{W - 3, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 3}, {2, H / 2}, {W / 1.5 - 2, H - 3},
          {W / 1.5 - 2, H / 1.5 - 2}, {W - 2, H / 1.5 - 2}, {W - 2, H / 3}})};
constexpr Item kLeftFocus[] = {
    polygon({{6, H / 2}, {W / 1.5 - 5, 9}, {W / 1.5 - 5, H / 3 + 4}, {W - 5, H / 3 + 4}, {W - 5, H / 1.5 - 5},
             {W / 1.5 - 5, H / 1.5 - 5}, {W / 1.5 - 5, H - 10}})};

constexpr ShapeTable kArrowLeft = {
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

// ---- ArrowRight ---------------------------------------------------------------------------------

constexpr Item kRightRegion =
    regionPolygon({{W, H / 2}, {W / 3, 0}, {W / 3, H / 3}, {0, H / 3}, {0, H / 1.5}, {W / 3, H / 1.5}, {W / 3, H}});
constexpr Item kRightOutline[] = {
    path({{0, H / 1.5 - 1}, {0, H / 3}, {W / 3, H / 3}, {W / 3, 1}, {W - 1, H / 2}, {W / 3, H - 1},
          {W / 3, H / 1.5 - 1}, {0, H / 1.5 - 1}})};

// Halves: lit from the tip along the upper side and over the shaft's end (it faces left); shaded
// from there along the lower side back to the tip.
constexpr Item kRightLit[] = {path({{W - 1, H / 2}, {W / 3, 1}, {W / 3, H / 3}, {0, H / 3}, {0, H / 1.5 - 1}})};
constexpr Item kRightLitInner[] = {
    path({{W - 2, H / 2}, {W / 3, 2}}),
    path({{W / 3 + 1, 2}, {W / 3 + 1, H / 3 + 1}, {1, H / 3 + 1}, {1, H / 1.5 - 1}}),
};
constexpr Item kRightShadedInner[] = {
    path({{0, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 3}, {W - 2, H / 2}})};
constexpr Item kRightEtchedShadow[] = {
    path({{0, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 3}, {W - 3, H / 2}})};
constexpr Item kRightEtchedHighlight[] = {
    path({{W - 3, H / 2}, {W / 3 + 1, 3}, {W / 3 + 1, H / 3 + 1}, {1, H / 3 + 1}, {1, H / 1.5 - 1},
          {W / 3, H / 1.5 - 1}, {W / 3, H - 1}, {W - 1, H / 2}})};

constexpr Stroke kRightBevelPressed[] = {{Tone::Dark, kRightLit}, {Tone::Shade, kRightLitInner}};
constexpr Stroke kRightBevelRaised[] = {{Tone::Shade, kRightShadedInner}, {Tone::Light, kRightLit}};
constexpr Stroke kRightFlatPressed[] = {{Tone::Dark, kRightLit}};
constexpr Stroke kRightFlatRaised[] = {{Tone::Light, kRightLit}};
constexpr Stroke kRightEtched[] = {{Tone::Shade, kRightEtchedShadow}, {Tone::Light, kRightEtchedHighlight}};

constexpr Item kRightGlowPressed[] = {
    path({{2, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 5}, {W - 4, H / 2}})};
constexpr Item kRightGlow1[] = {path({{1, H / 1.5 - 2}, {1, H / 3}})};
constexpr Item kRightGlow2[] = {path({{2, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 3}, {W - 3, H / 2}})};
constexpr Item kRightGlow3[] = {path({{3, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 5}, {W - 5, H / 2}})};
constexpr Item kRightGlow4[] = {path({{W - 3, H / 2}, {W / 3 + 1, 3}, {W / 3 + 1, H / 3 + 1}, {1, H / 3 + 1}})};
constexpr Item kRightGlow5[] = {
    path({{W - 5, H / 2}, {W / 3 + 2, 5}, {W / 3 + 2, H / 3 + 2}, {2, H / 3 + 2}, {2, H / 1.5 - 2}})};

// The ring turns one pixel above the tip's axis.
constexpr Item kRightRing[] = {
    path({{1, H / 1.5 - 2}, {1, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 3}, {W - 2, H / 2 - 1},
          {W / 3 + 1, H - 3}, {W / 3 + 1, H / 1.5 - 2}, {1, H / 1.5 - 2}})};
constexpr Item kRightFocus[] = {
    polygon({{W - 7, H / 2}, {W / 3 + 4, 9}, {W / 3 + 4, H / 3 + 4}, {4, H / 3 + 4}, {4, H / 1.5 - 5},
             {W / 3 + 4, H / 1.5 - 5}, {W / 3 + 4, H - 10}})};

constexpr ShapeTable kArrowRight = {
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

// ---- ArrowDown ----------------------------------------------------------------------------------

constexpr Item kDownRegion =
    regionPolygon({{W / 2, H}, {0, H / 3}, {W / 3, H / 3}, {W / 3, 0}, {W / 1.5, 0}, {W / 1.5, H / 3}, {W, H / 3}});
// Starts one pixel right of the shaft (outside the region) and ends one pixel left of its start.
constexpr Item kDownOutline[] = {
    path({{W / 1.5, 0}, {W / 3, 0}, {W / 3, H / 3}, {1, H / 3}, {W / 2, H - 1}, {W - 1, H / 3}, {W / 1.5 - 1, H / 3},
          {W / 1.5 - 1, 0}})};

// Halves: lit from the tip up the left side and over the shaft's end (it faces up); shaded from
// there down the right side to the tip.
constexpr Item kDownLit[] = {path({{W / 2, H - 1}, {1, H / 3}, {W / 3, H / 3}, {W / 3, 0}, {W / 1.5 - 1, 0}})};
constexpr Item kDownLitInner[] = {
    path({{W / 2, H - 2}, {2, H / 3}}),
    path({{2, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 1}, {W / 1.5 - 1, 1}}),
};
constexpr Item kDownShadedInner[] = {
    path({{W / 1.5 - 2, 0}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 2}})};
constexpr Item kDownEtchedShadow[] = {
    path({{W / 1.5 - 2, 0}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 3}})};
constexpr Item kDownEtchedHighlight[] = {
    path({{W / 2, H - 3}, {3, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 1}, {W / 1.5 - 1, 1},
          {W / 1.5 - 1, H / 3}, {W - 1, H / 3}, {W / 2, H - 1}})};

constexpr Stroke kDownBevelPressed[] = {{Tone::Dark, kDownLit}, {Tone::Shade, kDownLitInner}};
constexpr Stroke kDownBevelRaised[] = {{Tone::Shade, kDownShadedInner}, {Tone::Light, kDownLit}};
constexpr Stroke kDownFlatPressed[] = {{Tone::Dark, kDownLit}};
constexpr Stroke kDownFlatRaised[] = {{Tone::Light, kDownLit}};
constexpr Stroke kDownEtched[] = {{Tone::Shade, kDownEtchedShadow}, {Tone::Light, kDownEtchedHighlight}};

constexpr Item kDownGlowPressed[] = {
    path({{W / 1.5 - 3, 2}, {W / 1.5 - 3, H / 3 + 2}, {W - 5, H / 3 + 2}, {W / 2, H - 4}})};
constexpr Item kDownGlow1[] = {path({{W / 1.5 - 2, 1}, {W / 3, 1}})};
constexpr Item kDownGlow2[] = {path({{W / 1.5 - 2, 2}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 3}})};
constexpr Item kDownGlow3[] = {path({{W / 1.5 - 3, 3}, {W / 1.5 - 3, H / 3 + 2}, {W - 5, H / 3 + 2}, {W / 2, H - 5}})};
constexpr Item kDownGlow4[] = {path({{W / 2, H - 3}, {3, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 1}})};
constexpr Item kDownGlow5[] = {
    path({{W / 2, H - 5}, {5, H / 3 + 2}, {W / 3 + 2, H / 3 + 2}, {W / 3 + 2, 2}, {W / 1.5 - 2, 2}})};

// The ring turns one pixel left of the tip's axis.
constexpr Item kDownRing[] = {
    path({{W / 1.5, 1}, {W / 3 + 1, 1}, {W / 3 + 1, H / 3 + 1}, {3, H / 3 + 1}, {W / 2 - 1, H - 2},
          {W - 3, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 1}})};
constexpr Item kDownFocus[] = {
    polygon({{W / 2, H - 7}, {9, H / 3 + 4}, {W / 3 + 4, H / 3 + 4}, {W / 3 + 4, 4}, {W / 1.5 - 5, 4},
             {W / 1.5 - 5, H / 3 + 4}, {W - 10, H / 3 + 4}})};

constexpr ShapeTable kArrowDown = {
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
