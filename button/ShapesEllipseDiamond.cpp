// Geometry of the ellipse and the diamond. Both are kept square by the painter; the tables still use
// W for every x and H for every y.
#include "ShapeFrame.h"

namespace shape {

namespace {

using namespace colour;

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
constexpr Item kEllipse4Shadow[] = {arc(W - 3, H - 3, 2, 2, W / 2, H - 3, W / 2, 3)};
constexpr Item kEllipse4Highlight[] = {
    arc(W - 3, H - 3, 2, 2, W / 2, 2, W / 2, H - 2),
    arc(W - 2, H - 2, 1, 1, W / 2, H - 2, W / 2, 2),
};

constexpr Group kEllipsePressed1[] = {{kDarkShadow, kEllipseUpperLeft}, {kShadow, kEllipseUpperLeftInner}};
constexpr Group kEllipseRaised1[] = {{kShadow, kEllipseRaisedShadow}, {kHighlight, kEllipseUpperLeft}};
constexpr Group kEllipsePressed2[] = {{kDarkShadow, kEllipseUpperLeft}};
constexpr Group kEllipseRaised2[] = {{kHighlight, kEllipseUpperLeft}};
constexpr Group kEllipse4[] = {{kShadow, kEllipse4Shadow}, {kHighlight, kEllipse4Highlight}};

constexpr Item kEllipsePressed6[] = {arc(W - 4, H - 4, 3, 3, W / 2, H - 2, W / 2, 3)};
constexpr Item kEllipseGlow1[] = {arc(2, 2, W - 3, H - 3, 2, H - 3, W - 3, H - 3)};
constexpr Item kEllipseGlow2[] = {arc(2, 2, W - 3, H - 4, 3, 3, W - 2, 4)};
constexpr Item kEllipseGlow3[] = {arc(3, 3, W - 4, H - 3, 2, 3, W - 2, 3)};
constexpr Item kEllipseGlow4[] = {arc(W - 3, H - 2, 2, 2, W - 3, 3, 3, 3)};
constexpr Item kEllipseGlow5[] = {arc(W - 3, H - 3, 3, 3, W - 3, 4, 4, 4)};

constexpr Item kEllipseRing7[] = {ellipse(2, 2, W - 3, H - 3)};
constexpr Item kEllipseFocus[] = {ellipse(4, 4, W - 5, H - 5)};

constexpr ShapeTable kEllipse = {
    .region = &kEllipseRegion,
    .outline = kEllipseOutline,
    .raised1 = kEllipseRaised1,
    .pressed1 = kEllipsePressed1,
    .raised2 = kEllipseRaised2,
    .pressed2 = kEllipsePressed2,
    .style4 = kEllipse4,
    .pressed6 = kEllipsePressed6,
    .glow6 = {kEllipseGlow1, kEllipseGlow2, kEllipseGlow3, kEllipseGlow4, kEllipseGlow5},
    .ring7 = kEllipseRing7,
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
constexpr Item kDiamond4Shadow[] = {path({{W / 2, 1}, {W - 2, H / 2}, {W / 2, H - 2}})};
constexpr Item kDiamond4Highlight[] = {
    path({{W / 2, 1}, {1, H / 2}, {W / 2, H - 2}}),
    path({{W / 2, 0}, {W - 1, H / 2}, {W / 2, H - 1}}),
};

constexpr Group kDiamondPressed1[] = {{kDarkShadow, kDiamondLeft}, {kShadow, kDiamondLeftInner}};
constexpr Group kDiamondRaised1[] = {{kShadow, kDiamondRightInner}, {kHighlight, kDiamondLeft}};
constexpr Group kDiamondPressed2[] = {{kDarkShadow, kDiamondLeft}};
constexpr Group kDiamondRaised2[] = {{kHighlight, kDiamondLeft}};
constexpr Group kDiamond4[] = {{kShadow, kDiamond4Shadow}, {kHighlight, kDiamond4Highlight}};

constexpr Item kDiamondPressed6[] = {path({{W / 2, H - 4}, {W - 4, H / 2}, {W / 2, 3}})};
constexpr Item kDiamondGlow1[] = {path({{W / 2, H - 2}, {W - 2, H / 2}})};
constexpr Item kDiamondGlow2[] = {
    path({{W / 2, H - 3}, {W - 3, H / 2}}),
    path({{1, H / 2}, {W / 2, H - 2}}),
    path({{W - 2, H / 2}, {W / 2, 1}}),
};
constexpr Item kDiamondGlow3[] = {path({{2, H / 2}, {W / 2, H - 3}}), path({{W - 3, H / 2}, {W / 2, 2}})};
constexpr Item kDiamondGlow4[] = {path({{W / 2, 1}, {1, H / 2}})};
constexpr Item kDiamondGlow5[] = {path({{W / 2, 2}, {2, H / 2}})};
// Every style-6 look ends with a dark dot under the top vertex.
constexpr Item kDiamondTip[] = {pixel({W / 2, 1}, kBlack)};

constexpr Item kDiamondRing7[] = {path({{1, H / 2}, {W / 2, H - 2}, {W - 2, H / 2}, {W / 2, 1}, {1, H / 2}})};
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
    .raised1 = kDiamondRaised1,
    .pressed1 = kDiamondPressed1,
    .raised2 = kDiamondRaised2,
    .pressed2 = kDiamondPressed2,
    .style4 = kDiamond4,
    .pressed6 = kDiamondPressed6,
    .glow6 = {kDiamondGlow1, kDiamondGlow2, kDiamondGlow3, kDiamondGlow4, kDiamondGlow5},
    .after6 = kDiamondTip,
    .ring7 = kDiamondRing7,
    .focus = kDiamondFocus,
};

} // namespace

void DrawEllipse(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kEllipse, state, canvas);
}

void DrawDiamond(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kDiamond, state, canvas);
}

} // namespace shape
