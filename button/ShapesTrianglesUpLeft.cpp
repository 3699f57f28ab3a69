// Geometry of the triangles pointing up (base along the bottom) and left (right side vertical).
// Their region and focus mark are polygons, so they fill the first three entries of ShapePoints and
// FocusMarkPoints.
#include "ShapeFrame.h"

namespace shape {

namespace {

using namespace colour;

// ---- TriangleUp ---------------------------------------------------------------------------------

constexpr Item kUpRegion = regionPolygon({{0, H}, {W / 2, 0}, {W, H}});
constexpr Item kUpOutline[] = {path({{W / 2, 1}, {1, H - 1}, {W - 2, H - 1}, {W / 2, 1}})};

// The left edge is the lit (or, pressed, the shaded) side.
constexpr Item kUpLeftEdge[] = {path({{W / 2, 1}, {1, H - 1}})};
constexpr Item kUpLeftEdgeLit[] = {path({{W / 2, 2}, {1, H - 1}})};
constexpr Item kUpLeftInner[] = {path({{W / 2, 3}, {3, H - 3}})};
constexpr Item kUpBaseAndRight[] = {path({{1, H - 2}, {W - 3, H - 2}, {W / 2, 3}})};
constexpr Item kUp4Highlight[] = {
    path({{W / 2, 3}, {2, H - 1}}),
    path({{2, H - 1}, {W - 2, H - 1}, {W / 2, 1}}),
};

constexpr Group kUpPressed1[] = {{kDarkShadow, kUpLeftEdge}, {kShadow, kUpLeftInner}};
constexpr Group kUpRaised1[] = {{kShadow, kUpBaseAndRight}, {kHighlight, kUpLeftEdgeLit}};
constexpr Group kUpPressed2[] = {{kDarkShadow, kUpLeftEdge}};
constexpr Group kUpRaised2[] = {{kHighlight, kUpLeftEdgeLit}};
constexpr Group kUp4[] = {{kShadow, kUpBaseAndRight}, {kHighlight, kUp4Highlight}};

constexpr Item kUpPressed6[] = {path({{4, H - 3}, {W - 5, H - 3}, {W / 2, 5}})};
constexpr Item kUpGlow1[] = {path({{2, H - 2}, {W - 1, H - 2}})};
constexpr Item kUpGlow2[] = {path({{3, H - 3}, {W - 4, H - 3}, {W / 2, 3}})};
constexpr Item kUpGlow3[] = {path({{W - 5, H - 4}, {W / 2, 5}})};
constexpr Item kUpGlow4[] = {path({{W / 2, 3}, {3, H - 3}})};
constexpr Item kUpGlow5[] = {path({{W / 2, 4}, {3, H - 3}})};

constexpr Item kUpRing7[] = {path({{W / 2, 2}, {2, H - 2}, {W - 3, H - 2}, {W / 2, 2}})};
constexpr Item kUpFocus[] = {polygon({{7, H - 5}, {W / 2, 9}, {W - 8, H - 5}})};

constexpr ShapeTable kTriangleUp = {
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

// ---- TriangleLeft -------------------------------------------------------------------------------

constexpr Item kLeftRegion = regionPolygon({{0, H / 2}, {W, 0}, {W, H}});
constexpr Item kLeftOutline[] = {path({{1, H / 2}, {W - 1, 1}, {W - 1, H - 1}, {1, H / 2}})};

// The upper edge is the lit (or, pressed, the shaded) side.
constexpr Item kLeftUpperEdge[] = {path({{W - 1, 1}, {1, H / 2}})};
constexpr Item kLeftUpperInner[] = {path({{W - 3, 3}, {3, H / 2}})};
constexpr Item kLeftLowerAndBack[] = {path({{2, H / 2}, {W - 2, H - 3}, {W - 2, 1}})};
constexpr Item kLeft4Shadow[] = {path({{W - 2, 2}, {W - 2, H - 3}, {3, H / 2}})};
constexpr Item kLeft4Highlight[] = {path({{3, H / 2}, {W - 1, 2}, {W - 1, H - 1}, {1, H / 2}})};

constexpr Group kLeftPressed1[] = {{kDarkShadow, kLeftUpperEdge}, {kShadow, kLeftUpperInner}};
constexpr Group kLeftRaised1[] = {{kShadow, kLeftLowerAndBack}, {kHighlight, kLeftUpperEdge}};
constexpr Group kLeftPressed2[] = {{kDarkShadow, kLeftUpperEdge}};
constexpr Group kLeftRaised2[] = {{kHighlight, kLeftUpperEdge}};
constexpr Group kLeft4[] = {{kShadow, kLeft4Shadow}, {kHighlight, kLeft4Highlight}};

constexpr Item kLeftPressed6[] = {path({{W - 3, 5}, {W - 3, H - 5}, {5, H / 2}})};
constexpr Item kLeftGlow1[] = {path({{W - 2, 2}, {W - 2, H - 1}})};
constexpr Item kLeftGlow2[] = {path({{W - 3, 2}, {W - 3, H - 3}, {3, H / 2}})};
constexpr Item kLeftGlow3[] = {path({{W - 3, H - 4}, {5, H / 2}})};
constexpr Item kLeftGlow4[] = {path({{3, H / 2}, {W - 3, 3}})};
constexpr Item kLeftGlow5[] = {path({{4, H / 2}, {W - 4, 4}})};

constexpr Item kLeftRing7[] = {path({{2, H / 2}, {W - 2, 2}, {W - 2, H - 2}, {2, H / 2}})};
constexpr Item kLeftFocus[] = {polygon({{9, H / 2}, {W - 5, 7}, {W - 5, H - 8}})};

constexpr ShapeTable kTriangleLeft = {
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

} // namespace

void DrawTriangleUp(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kTriangleUp, state, canvas);
}

void DrawTriangleLeft(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kTriangleLeft, state, canvas);
}

} // namespace shape
