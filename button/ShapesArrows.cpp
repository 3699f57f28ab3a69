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

namespace {

using namespace colour;

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
constexpr Item kUp4Shadow[] = {
    path({{W / 3, H - 2}, {W / 1.5 - 2, H - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 3}})};
constexpr Item kUp4Highlight[] = {
    path({{W / 2, 3}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 1}, {W / 1.5 - 1, H - 1},
          {W / 1.5 - 1, H / 1.5 - 1}, {W - 1, H / 1.5 - 1}, {W / 2, 1}})};

constexpr Group kUpPressed1[] = {{kDarkShadow, kUpLit}, {kShadow, kUpLitInner}};
constexpr Group kUpRaised1[] = {{kHighlight, kUpLit}, {kShadow, kUpShadedInner}};
constexpr Group kUpPressed2[] = {{kDarkShadow, kUpLit}};
constexpr Group kUpRaised2[] = {{kHighlight, kUpLit}};
constexpr Group kUp4[] = {{kShadow, kUp4Shadow}, {kHighlight, kUp4Highlight}};

constexpr Item kUpPressed6[] = {
    path({{W / 3 + 3, H - 3}, {W / 1.5 - 3, H - 3}, {W / 1.5 - 3, H / 1.5 - 3}, {W - 5, H / 1.5 - 3}, {W / 2, 4}})};
constexpr Item kUpGlow1[] = {path({{W / 1.5 - 2, H - 2}, {W / 3, H - 2}})};
constexpr Item kUpGlow2[] = {
    path({{W / 3 + 1, H - 3}, {W / 1.5 - 2, H - 3}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 3}})};
// Line 3 starts at H - 4.5 rounded half to even: H - 4 for an even height, H - 5 for an odd one.
constexpr Item kUpGlow3[] = {
    path({{W / 1.5 - 3, H - 4.5}, {W / 1.5 - 3, H / 1.5 - 3}, {W - 5, H / 1.5 - 3}, {W / 2, 5}})};
constexpr Item kUpGlow4[] = {path({{W / 2, 3}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 2}})};
constexpr Item kUpGlow5[] = {path({{W / 2, 5}, {5, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 3}})};

constexpr Item kUpRing7[] = {
    path({{W / 2, 2}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 2}, {W / 1.5 - 2, H - 2},
          {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 2}})};
constexpr Item kUpFocus[] = {
    polygon({{W / 2, 6}, {9, H / 1.5 - 5}, {W / 3 + 4, H / 1.5 - 5}, {W / 3 + 4, H - 5}, {W / 1.5 - 5, H - 5},
             {W / 1.5 - 5, H / 1.5 - 5}, {W - 10, H / 1.5 - 5}})};

constexpr ShapeTable kArrowUp = {
    .region = &kUpRegion,
    .outline = kUpOutline,
    .raised1 = kUpRaised1,
    .pressed1 = kUpPressed1,
    .raised2 = kUpRaised2,
    .pressed2 = kUpPressed2,
    .style4 = kUp4,
    .pressed6 = kUpPressed6,
    .glow6 = {kUpGlow1, kUpGlow2, kUpGlow3, kUpGlow4, kUpGlow5},
    .ring7 = kUpRing7,
    .focus = kUpFocus,
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
constexpr Item kLeft4Shadow[] = {
    path({{W - 2, H / 3}, {W - 2, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3}, {3, H / 2}})};
constexpr Item kLeft4Highlight[] = {
    path({{3, H / 2}, {W / 1.5 - 2, 3}, {W / 1.5 - 2, H / 3 + 1}, {W - 1, H / 3 + 1}, {W - 1, H / 1.5 - 1},
          {W / 1.5 - 1, H / 1.5 - 1}, {W / 1.5 - 1, H - 1}, {1, H / 2}})};

constexpr Group kLeftPressed1[] = {{kDarkShadow, kLeftLit}, {kShadow, kLeftLitInner}};
constexpr Group kLeftRaised1[] = {{kShadow, kLeftShadedInner}, {kHighlight, kLeftLit}};
constexpr Group kLeftPressed2[] = {{kDarkShadow, kLeftLit}};
constexpr Group kLeftRaised2[] = {{kHighlight, kLeftLit}};
constexpr Group kLeft4[] = {{kShadow, kLeft4Shadow}, {kHighlight, kLeft4Highlight}};

constexpr Item kLeftPressed6[] = {
    path({{W - 3, H / 3 + 3}, {W - 3, H / 1.5 - 3}, {W / 1.5 - 3, H / 1.5 - 3}, {W / 1.5 - 3, H - 5}, {4, H / 2}})};
constexpr Item kLeftGlow1[] = {path({{W - 2, H / 1.5 - 2}, {W - 2, H / 3}})};
constexpr Item kLeftGlow2[] = {
    path({{W - 3, H / 3 + 1}, {W - 3, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3}, {3, H / 2}})};
constexpr Item kLeftGlow3[] = {
    path({{W - 4, H / 1.5 - 3}, {W / 1.5 - 3, H / 1.5 - 3}, {W / 1.5 - 3, H - 5}, {5, H / 2}})};
constexpr Item kLeftGlow4[] = {path({{3, H / 2}, {W / 1.5 - 2, 3}, {W / 1.5 - 2, H / 3 + 1}, {W - 2, H / 3 + 1}})};
constexpr Item kLeftGlow5[] = {path({{5, H / 2}, {W / 1.5 - 3, 5}, {W / 1.5 - 3, H / 3 + 2}, {W - 3, H / 3 + 2}})};

constexpr Item kLeftRing7[] = {
    path({{W - 3, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 3}, {2, H / 2}, {W / 1.5 - 2, H - 3},
          {W / 1.5 - 2, H / 1.5 - 2}, {W - 2, H / 1.5 - 2}, {W - 2, H / 3}})};
constexpr Item kLeftFocus[] = {
    polygon({{6, H / 2}, {W / 1.5 - 5, 9}, {W / 1.5 - 5, H / 3 + 4}, {W - 5, H / 3 + 4}, {W - 5, H / 1.5 - 5},
             {W / 1.5 - 5, H / 1.5 - 5}, {W / 1.5 - 5, H - 10}})};

constexpr ShapeTable kArrowLeft = {
    .region = &kLeftRegion,
    .outline = kLeftOutline,
    .raised1 = kLeftRaised1,
    .pressed1 = kLeftPressed1,
    .raised2 = kLeftRaised2,
    .pressed2 = kLeftPressed2,
    .style4 = kLeft4,
    .pressed6 = kLeftPressed6,
    .glow6 = {kLeftGlow1, kLeftGlow2, kLeftGlow3, kLeftGlow4, kLeftGlow5},
    .ring7 = kLeftRing7,
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
constexpr Item kRight4Shadow[] = {
    path({{0, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 3}, {W - 3, H / 2}})};
constexpr Item kRight4Highlight[] = {
    path({{W - 3, H / 2}, {W / 3 + 1, 3}, {W / 3 + 1, H / 3 + 1}, {1, H / 3 + 1}, {1, H / 1.5 - 1},
          {W / 3, H / 1.5 - 1}, {W / 3, H - 1}, {W - 1, H / 2}})};

constexpr Group kRightPressed1[] = {{kDarkShadow, kRightLit}, {kShadow, kRightLitInner}};
constexpr Group kRightRaised1[] = {{kShadow, kRightShadedInner}, {kHighlight, kRightLit}};
constexpr Group kRightPressed2[] = {{kDarkShadow, kRightLit}};
constexpr Group kRightRaised2[] = {{kHighlight, kRightLit}};
constexpr Group kRight4[] = {{kShadow, kRight4Shadow}, {kHighlight, kRight4Highlight}};

constexpr Item kRightPressed6[] = {
    path({{2, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 5}, {W - 4, H / 2}})};
constexpr Item kRightGlow1[] = {path({{1, H / 1.5 - 2}, {1, H / 3}})};
constexpr Item kRightGlow2[] = {path({{2, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 3}, {W - 3, H / 2}})};
constexpr Item kRightGlow3[] = {path({{3, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 5}, {W - 5, H / 2}})};
constexpr Item kRightGlow4[] = {path({{W - 3, H / 2}, {W / 3 + 1, 3}, {W / 3 + 1, H / 3 + 1}, {1, H / 3 + 1}})};
constexpr Item kRightGlow5[] = {
    path({{W - 5, H / 2}, {W / 3 + 2, 5}, {W / 3 + 2, H / 3 + 2}, {2, H / 3 + 2}, {2, H / 1.5 - 2}})};

// The ring turns one pixel above the tip's axis.
constexpr Item kRightRing7[] = {
    path({{1, H / 1.5 - 2}, {1, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 3}, {W - 2, H / 2 - 1},
          {W / 3 + 1, H - 3}, {W / 3 + 1, H / 1.5 - 2}, {1, H / 1.5 - 2}})};
constexpr Item kRightFocus[] = {
    polygon({{W - 7, H / 2}, {W / 3 + 4, 9}, {W / 3 + 4, H / 3 + 4}, {4, H / 3 + 4}, {4, H / 1.5 - 5},
             {W / 3 + 4, H / 1.5 - 5}, {W / 3 + 4, H - 10}})};

constexpr ShapeTable kArrowRight = {
    .region = &kRightRegion,
    .outline = kRightOutline,
    .raised1 = kRightRaised1,
    .pressed1 = kRightPressed1,
    .raised2 = kRightRaised2,
    .pressed2 = kRightPressed2,
    .style4 = kRight4,
    .pressed6 = kRightPressed6,
    .glow6 = {kRightGlow1, kRightGlow2, kRightGlow3, kRightGlow4, kRightGlow5},
    .ring7 = kRightRing7,
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
constexpr Item kDown4Shadow[] = {
    path({{W / 1.5 - 2, 0}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 3}})};
constexpr Item kDown4Highlight[] = {
    path({{W / 2, H - 3}, {3, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 1}, {W / 1.5 - 1, 1},
          {W / 1.5 - 1, H / 3}, {W - 1, H / 3}, {W / 2, H - 1}})};

constexpr Group kDownPressed1[] = {{kDarkShadow, kDownLit}, {kShadow, kDownLitInner}};
constexpr Group kDownRaised1[] = {{kShadow, kDownShadedInner}, {kHighlight, kDownLit}};
constexpr Group kDownPressed2[] = {{kDarkShadow, kDownLit}};
constexpr Group kDownRaised2[] = {{kHighlight, kDownLit}};
constexpr Group kDown4[] = {{kShadow, kDown4Shadow}, {kHighlight, kDown4Highlight}};

constexpr Item kDownPressed6[] = {
    path({{W / 1.5 - 3, 2}, {W / 1.5 - 3, H / 3 + 2}, {W - 5, H / 3 + 2}, {W / 2, H - 4}})};
constexpr Item kDownGlow1[] = {path({{W / 1.5 - 2, 1}, {W / 3, 1}})};
constexpr Item kDownGlow2[] = {path({{W / 1.5 - 2, 2}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 3}})};
constexpr Item kDownGlow3[] = {path({{W / 1.5 - 3, 3}, {W / 1.5 - 3, H / 3 + 2}, {W - 5, H / 3 + 2}, {W / 2, H - 5}})};
constexpr Item kDownGlow4[] = {path({{W / 2, H - 3}, {3, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 1}})};
constexpr Item kDownGlow5[] = {
    path({{W / 2, H - 5}, {5, H / 3 + 2}, {W / 3 + 2, H / 3 + 2}, {W / 3 + 2, 2}, {W / 1.5 - 2, 2}})};

// The ring turns one pixel left of the tip's axis.
constexpr Item kDownRing7[] = {
    path({{W / 1.5, 1}, {W / 3 + 1, 1}, {W / 3 + 1, H / 3 + 1}, {3, H / 3 + 1}, {W / 2 - 1, H - 2},
          {W - 3, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 1}})};
constexpr Item kDownFocus[] = {
    polygon({{W / 2, H - 7}, {9, H / 3 + 4}, {W / 3 + 4, H / 3 + 4}, {W / 3 + 4, 4}, {W / 1.5 - 5, 4},
             {W / 1.5 - 5, H / 3 + 4}, {W - 10, H / 3 + 4}})};

constexpr ShapeTable kArrowDown = {
    .region = &kDownRegion,
    .outline = kDownOutline,
    .raised1 = kDownRaised1,
    .pressed1 = kDownPressed1,
    .raised2 = kDownRaised2,
    .pressed2 = kDownPressed2,
    .style4 = kDown4,
    .pressed6 = kDownPressed6,
    .glow6 = {kDownGlow1, kDownGlow2, kDownGlow3, kDownGlow4, kDownGlow5},
    .ring7 = kDownRing7,
    .focus = kDownFocus,
};

} // namespace

void DrawArrowUp(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kArrowUp, state, canvas);
}

void DrawArrowLeft(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kArrowLeft, state, canvas);
}

void DrawArrowRight(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kArrowRight, state, canvas);
}

void DrawArrowDown(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kArrowDown, state, canvas);
}

} // namespace shape
