// Geometry of the rectangle and the rounded rectangle. The rectangle has no window region (it
// removes one left by another shape); the rounded one clips the window to a round-rect region.
#include "ShapeFrame.h"

namespace shape {

namespace {

using namespace colour;

// ---- Rectangle ---------------------------------------------------------------------------------

constexpr Item kRectOutline[] = {path({{0, 0}, {0, H - 1}, {W - 1, H - 1}, {W - 1, 0}, {0, 0}})};
// The top and left edges; pressed and raised looks of styles 1 to 3 share them.
constexpr Item kRectTopLeft[] = {path({{W - 1, 0}, {0, 0}, {0, H - 1}})};
constexpr Item kRectInnerTopLeft[] = {path({{W - 1, 1}, {1, 1}, {1, H - 1}})};
constexpr Item kRectInnerBottomRight[] = {path({{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}})};
constexpr Item kRect4Shadow[] = {path({{W - 2, 1}, {W - 2, H - 2}, {2, H - 2}})};
constexpr Item kRect4Highlight[] = {path({{W - 1, 1}, {1, 1}, {1, H - 1}, {W - 1, H - 1}, {W - 1, 1}})};

constexpr Group kRectPressed1[] = {{kDarkShadow, kRectTopLeft}, {kShadow, kRectInnerTopLeft}};
constexpr Group kRectRaised1[] = {{kShadow, kRectInnerBottomRight}, {kHighlight, kRectTopLeft}};
constexpr Group kRectPressed2[] = {{kDarkShadow, kRectTopLeft}};
constexpr Group kRectRaised2[] = {{kHighlight, kRectTopLeft}};
constexpr Group kRect4[] = {{kShadow, kRect4Shadow}, {kHighlight, kRect4Highlight}};

constexpr Item kRectPressed6[] = {path({{2, H - 3}, {W - 3, H - 3}, {W - 3, 2}})};
constexpr Item kRectGlow1[] = {path({{W - 2, H - 2}, {0, H - 2}})};
constexpr Item kRectGlow2[] = {path({{1, 1}, {1, H - 3}, {W - 2, H - 3}, {W - 2, 1}})};
constexpr Item kRectGlow3[] = {path({{2, 2}, {2, H - 3}}), path({{W - 3, H - 4}, {W - 3, 2}})};
constexpr Item kRectGlow4[] = {path({{1, 1}, {W - 1, 1}})};
constexpr Item kRectGlow5[] = {path({{2, 2}, {W - 2, 2}})};

constexpr Item kRectRing7[] = {path({{1, 1}, {1, H - 2}, {W - 2, H - 2}, {W - 2, 1}, {1, 1}})};
constexpr Item kRectFocus[] = {path({{4, 4}, {4, H - 5}, {W - 5, H - 5}, {W - 5, 4}, {4, 4}})};

constexpr ShapeTable kRectangle = {
    .region = nullptr,
    .outline = kRectOutline,
    .raised1 = kRectRaised1,
    .pressed1 = kRectPressed1,
    .raised2 = kRectRaised2,
    .pressed2 = kRectPressed2,
    .style4 = kRect4,
    .pressed6 = kRectPressed6,
    .glow6 = {kRectGlow1, kRectGlow2, kRectGlow3, kRectGlow4, kRectGlow5},
    .ring7 = kRectRing7,
    .focus = kRectFocus,
};

// ---- RoundedRectangle --------------------------------------------------------------------------

constexpr Item kRoundRegion = regionRoundRect(0, 0, W, H, 15);
constexpr Item kRoundOutline[] = {rounded(0, 0, W - 1, H - 1, 16)};

// Top edge, top-left corner, left edge and bottom-left corner: the lit or shaded half of styles 1 to 3.
constexpr Item kRoundPressed1Dark[] = {
    path({{10, 0}, {W - 8, 0}}),
    arc(17, 17, 0, 0, 10, 0, 0, 10),
    path({{0, 10}, {0, H - 10}}),
    arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H),
    arc(16, H - 16, 0, H - 2, -16, H - 16, 8, H),
};
constexpr Item kRoundPressed1Shadow[] = {
    path({{10, 1}, {W - 8, 1}}),
    arc(17, 17, 1, 1, 10, 1, 1, 10),
    path({{1, 10}, {1, H - 10}}),
    arc(17, H - 16, 1, H - 2, -16, H - 16, 9, H - 1),
};
constexpr Item kRoundRaised1Shadow[] = {rounded(0, 0, W - 2, H - 2, 15)};
constexpr Item kRoundRaised1Highlight[] = {
    path({{10, 0}, {W - 8, 0}}),
    arc(17, 17, 0, 0, 10, 0, 0, 10),
    path({{0, 10}, {0, H - 10}}),
    arc(17, H - 17, 0, H - 2, -16, H - 16, 9, H - 1),
    arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H - 1),
};
constexpr Item kRoundTopLeft2[] = {
    path({{10, 0}, {W - 8, 0}}),
    arc(17, 17, 0, 0, 10, 0, 0, 10),
    path({{0, 10}, {0, H - 10}}),
    arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H - 1),
};
constexpr Item kRound4Shadow[] = {rounded(0, 0, W - 2, H - 2, 16)};
constexpr Item kRound4Highlight[] = {rounded(1, 1, W - 1, H - 1, 16)};

constexpr Group kRoundPressed1[] = {{kDarkShadow, kRoundPressed1Dark}, {kShadow, kRoundPressed1Shadow}};
constexpr Group kRoundRaised1[] = {{kShadow, kRoundRaised1Shadow}, {kHighlight, kRoundRaised1Highlight}};
constexpr Group kRoundPressed2[] = {{kDarkShadow, kRoundTopLeft2}};
constexpr Group kRoundRaised2[] = {{kHighlight, kRoundTopLeft2}};
constexpr Group kRound4[] = {{kShadow, kRound4Shadow}, {kHighlight, kRound4Highlight}};

constexpr Item kRoundPressed6[] = {
    arc(W - 17, H - 17, W - 3, H - 3, W - 10, H - 3, W - 2, H - 10),
    path({{W - 9, H - 4}, {8, H - 4}}),
    path({{W - 4, 4}, {W - 4, H - 9}}),
};
constexpr Item kRoundGlow1[] = {
    arc(16, H - 17, 1, H - 2, -17, H, 8, H - 1),
    path({{W - 8, H - 3}, {8, H - 3}}),
    arc(W - 17, H - 17, W - 2, H - 2, W - 10, H - 2, W - 1, H - 10),
};
// Warm and blue differ only in where the bottom-left arc ends.
constexpr Item kRoundGlow2Warm[] = {
    arc(17, H - 18, 1, H - 3, -18, H, 10, H - 1),
    path({{1, 6}, {1, H - 8}}),
    path({{W - 8, H - 4}, {8, H - 4}}),
    arc(W - 17, H - 17, W - 3, H - 3, W - 10, H - 2, W - 1, H - 10),
    path({{W - 3, 6}, {W - 3, H - 8}}),
};
constexpr Item kRoundGlow2Blue[] = {
    arc(17, H - 18, 1, H - 3, -18, H, 10, H),
    path({{1, 6}, {1, H - 8}}),
    path({{W - 8, H - 4}, {8, H - 4}}),
    arc(W - 17, H - 17, W - 3, H - 3, W - 10, H - 2, W - 1, H - 10),
    path({{W - 3, 6}, {W - 3, H - 8}}),
};
constexpr Item kRoundGlow3[] = {
    path({{2, 7}, {2, H - 7}}),
    path({{W - 4, 7}, {W - 4, H - 7}}),
    arc(17, 17, 1, 1, 8, 0, 0, 8),
    arc(W - 17, 17, W - 2, 1, W - 1, 8, W - 12, 1),
    arc(W - 17, 17, W - 3, 2, W - 1, 8, W - 12, 1),
    arc(17, 17, 2, 2, 8, 0, 0, 8),
};
constexpr Item kRoundGlow4[] = {path({{10, 1}, {W - 7, 1}})};
constexpr Item kRoundGlow5[] = {path({{10, 2}, {W - 8, 2}})};

constexpr Item kRoundRing7[] = {rounded(1, 1, W - 2, H - 2, 14)};
constexpr Item kRoundFocus[] = {rounded(4, 4, W - 5, H - 5, 15)};

constexpr ShapeTable kRoundedRectangle = {
    .region = &kRoundRegion,
    .outline = kRoundOutline,
    .raised1 = kRoundRaised1,
    .pressed1 = kRoundPressed1,
    .raised2 = kRoundRaised2,
    .pressed2 = kRoundPressed2,
    .style4 = kRound4,
    .pressed6 = kRoundPressed6,
    .glow6 = {kRoundGlow1, kRoundGlow2Warm, kRoundGlow3, kRoundGlow4, kRoundGlow5},
    .glow6Blue = {Items(), kRoundGlow2Blue, Items(), Items(), Items()},
    .ring7 = kRoundRing7,
    .focus = kRoundFocus,
};

} // namespace

void DrawRectangle(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kRectangle, state, canvas);
}

void DrawRoundedRectangle(const FrameState& state, ShapeCanvas& canvas)
{
    drawShapeTable(kRoundedRectangle, state, canvas);
}

} // namespace shape
