// Geometry of the triangles pointing right (left side vertical) and down (top side level). Their
// region and focus mark are polygons, so they fill the first three entries of ShapePoints and
// FocusMarkPoints.
#include "ShapeFrame.h"

namespace shape {

namespace {

using namespace colour;

// ---- TriangleRight ------------------------------------------------------------------------------

constexpr Item kRightRegion = regionPolygon({{W, H / 2}, {0, 0}, {0, H}});
constexpr Item kRightOutline[] = {path({{W - 2, H / 2}, {0, 1}, {0, H - 1}, {W - 1, H / 2}})};

// The upper edge and the back are the lit (or, pressed, the shaded) side.
constexpr Item kRightUpperAndBack[] = {path({{W - 2, H / 2}, {0, 1}, {0, H - 1}})};
constexpr Item kRightUpperAndBackLit[] = {path({{W - 3, H / 2}, {0, 1}, {0, H - 1}})};
constexpr Item kRightUpperAndBackInner[] = {path({{W - 5, H / 2}, {1, 2}, {1, H - 2}})};
constexpr Item kRightLowerInner[] = {path({{1, H - 3}, {W - 3, H / 2}})};
constexpr Item kRight4Highlight[] = {path({{W - 5, H / 2}, {1, 3}, {1, H - 2}, {W - 1, H / 2}})};

constexpr Group kRightPressed1[] = {{kDarkShadow, kRightUpperAndBack}, {kShadow, kRightUpperAndBackInner}};
constexpr Group kRightRaised1[] = {{kShadow, kRightLowerInner}, {kHighlight, kRightUpperAndBackLit}};
constexpr Group kRightPressed2[] = {{kDarkShadow, kRightUpperAndBack}};
constexpr Group kRightRaised2[] = {{kHighlight, kRightUpperAndBackLit}};
constexpr Group kRight4[] = {{kShadow, kRightLowerInner}, {kHighlight, kRight4Highlight}};

constexpr Item kRightPressed6[] = {path({{2, 4}, {2, H - 5}, {W - 6, H / 2}})};
constexpr Item kRightGlow1[] = {path({{1, 2}, {1, H - 1}})};
constexpr Item kRightGlow2[] = {path({{2, 2}, {2, H - 3}, {W - 4, H / 2}})};
constexpr Item kRightGlow3[] = {path({{3, H - 5}, {W - 5, H / 2}})};
constexpr Item kRightGlow4[] = {path({{W - 4, H / 2}, {4, 4}})};
constexpr Item kRightGlow5[] = {path({{W - 5, H / 2}, {5, 5}})};

constexpr Item kRightRing7[] = {path({{W - 3, H / 2}, {1, 2}, {1, H - 2}, {W - 2, H / 2}})};
constexpr Item kRightFocus[] = {polygon({{W - 10, H / 2}, {4, 7}, {4, H - 8}})};

constexpr ShapeTable kTriangleRight = {
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

// ---- TriangleDown -------------------------------------------------------------------------------

// The region starts at row 1: the top pixel row stays outside the window.
constexpr Item kDownRegion = regionPolygon({{0, 1}, {W / 2, H}, {W, 1}});
constexpr Item kDownOutline[] = {path({{W / 2, H - 1}, {W - 1, 1}, {1, 1}, {W / 2, H - 1}})};

// The left edge and the top are the lit (or, pressed, the shaded) side.
constexpr Item kDownLeftAndTop[] = {path({{W / 2, H - 1}, {1, 1}, {W - 1, 1}})};
constexpr Item kDownLeftAndTopLit[] = {path({{W / 2, H - 2}, {1, 1}, {W - 1, 1}})};
constexpr Item kDownLeftAndTopInner[] = {path({{W / 2, H - 4}, {2, 2}, {W - 3, 2}})};
constexpr Item kDownRightInner[] = {path({{W - 2, 1}, {W / 2, H - 3}})};
constexpr Item kDown4Shadow[] = {path({{W - 3, 2}, {W / 2, H - 3}})};
constexpr Item kDown4Highlight[] = {
    path({{W - 2, 2}, {2, 2}, {W / 2, H - 4}}),
    path({{W / 2, H - 1}, {W - 1, 1}}),
};

constexpr Group kDownPressed1[] = {{kDarkShadow, kDownLeftAndTop}, {kShadow, kDownLeftAndTopInner}};
constexpr Group kDownRaised1[] = {{kShadow, kDownRightInner}, {kHighlight, kDownLeftAndTopLit}};
constexpr Group kDownPressed2[] = {{kDarkShadow, kDownLeftAndTop}};
constexpr Group kDownRaised2[] = {{kHighlight, kDownLeftAndTopLit}};
constexpr Group kDown4[] = {{kShadow, kDown4Shadow}, {kHighlight, kDown4Highlight}};

constexpr Item kDownPressed6[] = {path({{4, 3}, {W - 5, 3}, {W / 2, H - 5}})};
constexpr Item kDownGlow1[] = {path({{2, 2}, {W - 2, 2}})};
constexpr Item kDownGlow2[] = {path({{3, 3}, {W - 3, 3}, {W / 2, H - 3}})};
constexpr Item kDownGlow3[] = {path({{W - 5, 4}, {W / 2, H - 4}})};
constexpr Item kDownGlow4[] = {path({{W / 2, H - 4}, {3, 3}})};
constexpr Item kDownGlow5[] = {path({{W / 2, H - 5}, {4, 4}})};

constexpr Item kDownRing7[] = {path({{W / 2, H - 2}, {W - 2, 2}, {2, 2}, {W / 2, H - 2}})};
constexpr Item kDownFocus[] = {polygon({{6, 4}, {W / 2, H - 10}, {W - 8, 4}})};

constexpr ShapeTable kTriangleDown = {
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

void DrawTriangleRight(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kTriangleRight, state, canvas);
}

void DrawTriangleDown(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kTriangleDown, state, canvas);
}

} // namespace shape
