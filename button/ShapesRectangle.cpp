// Geometry of the rectangle and the rounded rectangle. The rectangle has no window region (it
// removes one left by another shape); the rounded one clips the window to a round-rect region.
#include "ShapeFrame.h"

namespace shape {

// ---- Rectangle ---------------------------------------------------------------------------------

constexpr Item kRectOutline[] = {path({{0, 0}, {0, H - 1}, {W - 1, H - 1}, {W - 1, 0}, {0, 0}})};
// The top and left edges; pressed and raised looks of styles 1 to 3 share them.
constexpr Item kRectTopLeft[] = {path({{W - 1, 0}, {0, 0}, {0, H - 1}})};
constexpr Item kRectInnerTopLeft[] = {path({{W - 1, 1}, {1, 1}, {1, H - 1}})};
constexpr Item kRectInnerBottomRight[] = {path({{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}})};
constexpr Item kRectEtchedShadow[] = {path({{W - 2, 1}, {W - 2, H - 2}, {2, H - 2}})};
constexpr Item kRectEtchedHighlight[] = {path({{W - 1, 1}, {1, 1}, {1, H - 1}, {W - 1, H - 1}, {W - 1, 1}})};

constexpr Stroke kRectBevelPressed[] = {{Tone::Dark, kRectTopLeft}, {Tone::Shade, kRectInnerTopLeft}};
constexpr Stroke kRectBevelRaised[] = {{Tone::Shade, kRectInnerBottomRight}, {Tone::Light, kRectTopLeft}};
constexpr Stroke kRectFlatPressed[] = {{Tone::Dark, kRectTopLeft}};
constexpr Stroke kRectFlatRaised[] = {{Tone::Light, kRectTopLeft}};
constexpr Stroke kRectEtched[] = {{Tone::Shade, kRectEtchedShadow}, {Tone::Light, kRectEtchedHighlight}};

constexpr Item kRectGlowPressed[] = {path({{2, H - 3}, {W - 3, H - 3}, {W - 3, 2}})};
constexpr Item kRectGlow1[] = {path({{W - 2, H - 2}, {0, H - 2}})};
constexpr Item kRectGlow2[] = {path({{1, 1}, {1, H - 3}, {W - 2, H - 3}, {W - 2, 1}})};
constexpr Item kRectGlow3[] = {path({{2, 2}, {2, H - 3}}), path({{W - 3, H - 4}, {W - 3, 2}})};
constexpr Item kRectGlow4[] = {path({{1, 1}, {W - 1, 1}})};
constexpr Item kRectGlow5[] = {path({{2, 2}, {W - 2, 2}})};

constexpr Item kRectRing[] = {path({{1, 1}, {1, H - 2}, {W - 2, H - 2}, {W - 2, 1}, {1, 1}})};
constexpr Item kRectFocus[] = {path({{4, 4}, {4, H - 5}, {W - 5, H - 5}, {W - 5, 4}, {4, 4}})};

constexpr ShapeTable kRectangle = {
    .region = nullptr,
    .outline = kRectOutline,
    .bevelRaised = kRectBevelRaised,
    .bevelPressed = kRectBevelPressed,
    .flatRaised = kRectFlatRaised,
    .flatPressed = kRectFlatPressed,
    .etched = kRectEtched,
    .glowPressed = kRectGlowPressed,
    .glow = {kRectGlow1, kRectGlow2, kRectGlow3, kRectGlow4, kRectGlow5},
    .ring = kRectRing,
    .focus = kRectFocus,
    .square = false,
};

// ---- RoundedRectangle --------------------------------------------------------------------------

constexpr Item kRoundRegion = regionRoundRect(0, 0, W, H, 15);
constexpr Item kRoundOutline[] = {rounded(0, 0, W - 1, H - 1, 16)};

// Top edge, top-left corner, left edge and bottom-left corner: the lit or shaded half of styles 1 to 3.
constexpr Item kRoundBevelPressedDark[] = {
    path({{10, 0}, {W - 8, 0}}),
    arc(17, 17, 0, 0, 10, 0, 0, 10),
    path({{0, 10}, {0, H - 10}}),
    arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H),
    arc(16, H - 16, 0, H - 2, -16, H - 16, 8, H),
};
constexpr Item kRoundBevelPressedShade[] = {
    path({{10, 1}, {W - 8, 1}}),
    arc(17, 17, 1, 1, 10, 1, 1, 10),
    path({{1, 10}, {1, H - 10}}),
    arc(17, H - 16, 1, H - 2, -16, H - 16, 9, H - 1),
};
constexpr Item kRoundBevelRaisedShade[] = {rounded(0, 0, W - 2, H - 2, 15)};
constexpr Item kRoundBevelRaisedLight[] = {
    path({{10, 0}, {W - 8, 0}}),
    arc(17, 17, 0, 0, 10, 0, 0, 10),
    path({{0, 10}, {0, H - 10}}),
    arc(17, H - 17, 0, H - 2, -16, H - 16, 9, H - 1),
    arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H - 1),
};
constexpr Item kRoundTopLeftFlat[] = {
    path({{10, 0}, {W - 8, 0}}),
    arc(17, 17, 0, 0, 10, 0, 0, 10),
    path({{0, 10}, {0, H - 10}}),
    arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H - 1),
};
constexpr Item kRoundEtchedShadow[] = {rounded(0, 0, W - 2, H - 2, 16)};
constexpr Item kRoundEtchedHighlight[] = {rounded(1, 1, W - 1, H - 1, 16)};

constexpr Stroke kRoundBevelPressed[] = {{Tone::Dark, kRoundBevelPressedDark}, {Tone::Shade, kRoundBevelPressedShade}};
constexpr Stroke kRoundBevelRaised[] = {{Tone::Shade, kRoundBevelRaisedShade}, {Tone::Light, kRoundBevelRaisedLight}};
constexpr Stroke kRoundFlatPressed[] = {{Tone::Dark, kRoundTopLeftFlat}};
constexpr Stroke kRoundFlatRaised[] = {{Tone::Light, kRoundTopLeftFlat}};
constexpr Stroke kRoundEtched[] = {{Tone::Shade, kRoundEtchedShadow}, {Tone::Light, kRoundEtchedHighlight}};

constexpr Item kRoundGlowPressed[] = {
    arc(W - 17, H - 17, W - 3, H - 3, W - 10, H - 3, W - 2, H - 10),
    path({{W - 9, H - 4}, {8, H - 4}}),
    path({{W - 4, 4}, {W - 4, H - 9}}),
};
constexpr Item kRoundGlow1[] = {
    arc(16, H - 17, 1, H - 2, -17, H, 8, H - 1),
    path({{W - 8, H - 3}, {8, H - 3}}),
    arc(W - 17, H - 17, W - 2, H - 2, W - 10, H - 2, W - 1, H - 10),
};
// Hovered and focused differ only in where the bottom-left arc ends.
constexpr Item kRoundGlow2[] = {
    arc(17, H - 18, 1, H - 3, -18, H, 10, H - 1),
    path({{1, 6}, {1, H - 8}}),
    path({{W - 8, H - 4}, {8, H - 4}}),
    arc(W - 17, H - 17, W - 3, H - 3, W - 10, H - 2, W - 1, H - 10),
    path({{W - 3, 6}, {W - 3, H - 8}}),
};
constexpr Item kRoundGlow2Focus[] = {
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

constexpr Item kRoundRing[] = {rounded(1, 1, W - 2, H - 2, 14)};
constexpr Item kRoundFocus[] = {rounded(4, 4, W - 5, H - 5, 15)};

constexpr ShapeTable kRoundedRectangle = {
    .region = &kRoundRegion,
    .outline = kRoundOutline,
    .bevelRaised = kRoundBevelRaised,
    .bevelPressed = kRoundBevelPressed,
    .flatRaised = kRoundFlatRaised,
    .flatPressed = kRoundFlatPressed,
    .etched = kRoundEtched,
    .glowPressed = kRoundGlowPressed,
    .glow = {kRoundGlow1, kRoundGlow2, kRoundGlow3, kRoundGlow4, kRoundGlow5},
    .glowFocus = {Items(), kRoundGlow2Focus, Items(), Items(), Items()},
    .ring = kRoundRing,
    .focus = kRoundFocus,
    .square = false,
};

} // namespace shape
