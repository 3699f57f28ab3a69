#include "StyleInfo.h"

namespace {

using shape::H;
using shape::W;

constexpr OleColor kFace = ButtonProperties::kButtonFace;
constexpr OleColor kDesktop = ButtonProperties::kDesktop;
constexpr OleColor kBlack = 0x000000;
constexpr OleColor kWhite = 0xFFFFFF;

// The 3-D edges of styles 1 to 4, by tone.
constexpr std::array<OleColor, 5> kTones = {kDarkShadow, kShadow, kHighlight};
// Style 6's five glow lines: warm while hovered, blue while focused.
constexpr std::array<OleColor, 5> kWarm = {0x109ADC, 0x31B2F0, 0x90D6F7, 0xCEF3FF, 0x8CDBFF};
constexpr std::array<OleColor, 5> kBlue = {0xD98D59, 0xE2A981, 0xF0D1B5, 0xF7D7BD, 0xFFE7CE};
// Style 7's ring: white, the pressed one, and the one laid over it for the focus.
constexpr OleColor kRingPressed = 0xCFB073;
constexpr OleColor kRingFocus = 0xFECC04;
// The shapes' focus outline, light grey until the face dots it; style 4's frame around the caption.
constexpr OleColor kFocusMark = 0xD1D1D1;
constexpr OleColor kCaptionFocusBox = 0xCC9999;

constexpr ColourSource kBack{ColourSource::Back};
constexpr ColourSource kBackHover{ColourSource::BackHover};
constexpr ColourSource kBackPressed{ColourSource::BackPressed};
constexpr ByLook<ColourSource> kBackByLook = {kBack, kBackHover, kBackPressed};

constexpr raster::GradientMode kH = raster::GradientMode::Horizontal;
constexpr raster::GradientMode kV = raster::GradientMode::Vertical;
// Styles 5 and 6: one fill, a at the bottom, b at the top.
constexpr Fill kOneFill[] = {{kV, {0, H}, {W, 0}}};
// Glass (7) and gel (8): two fills each, a the base colour, b the light one; the second overwrites
// the first from the middle on: light to base down to the middle, then lighter again.
constexpr Fill kGlassDown[] = {{kV, {0, H / 1.5}, {W, 0}}, {kV, {0, H / 2}, {W, H + 25}}};
constexpr Fill kGlassAcross[] = {{kH, {W / 1.5, 0}, {0, H}}, {kH, {W / 2, H}, {W + 25, 0}}};
constexpr Fill kGelDown[] = {{kV, {0, H}, {W, -H / 6}}, {kV, {0, H / 2}, {W, H + H / 3}}};
constexpr Fill kGelAcross[] = {{kH, {W, 0}, {-W / 6, H}}, {kH, {W / 2, H}, {W + W / 3, 0}}};

constexpr EdgeStroke kBevelRaised = {EdgePart::BevelRaised, kTones};
constexpr EdgeStroke kBevelPressed = {EdgePart::BevelPressed, kTones};
constexpr EdgeStroke kFlatRaised = {EdgePart::FlatRaised, kTones};
constexpr EdgeStroke kFlatPressed = {EdgePart::FlatPressed, kTones};
constexpr EdgeStroke kEtched = {EdgePart::Etched, kTones};
constexpr EdgeStroke kRing = {EdgePart::Ring, {kWhite}};

const std::array<StyleInfo, 9> kStyles = {{
    // 0 (and every value outside 1..8): the colours as the user chose them, nothing drawn of its own.
    {.focusPen = kFocusMark},
    // 1: classic 3-D bevel.
    {.preset = {{kFace, kFace, kFace}}, .writesBorders = true,
     .borders = {kDarkShadow, kDarkShadow, kHighlight},
     .edges = {.pressed = kBevelPressed, .hover = kBevelRaised, .focused = kBevelRaised, .rest = kBevelRaised},
     .focusPen = kFocusMark},
    // 2: flat with one lit edge.
    {.preset = {{kFace, kFace, kFace}}, .writesBorders = true,
     .borders = {kDarkShadow, kDarkShadow, kHighlight},
     .edges = {.pressed = kFlatPressed, .hover = kFlatRaised, .focused = kFlatRaised, .rest = kFlatRaised},
     .focusPen = kFocusMark},
    // 3: flat, edges only when hovered or pressed; the outline vanishes into the face at rest.
    {.preset = {{kFace, kFace, kFace}}, .writesBorders = true,
     .borders = {kBack, kDarkShadow, kHighlight},
     .edges = {.pressed = kFlatPressed, .hover = kFlatRaised},
     .focusPen = kFocusMark},
    // 4: etched, focus shown around the caption.
    {.preset = {{kFace, 0x999999, kFace}}, .pattern = 1, .writesBorders = true,
     .borders = {kShadow, kShadow, kShadow},
     .edges = {.pressed = kEtched, .hover = kEtched, .focused = kEtched, .rest = kEtched, .whileEnabled = true},
     .focus = FocusLook::CaptionBox, .focusPen = kCaptionFocusBox, .embossedDisabledCaption = false},
    // 5: shaded, darker at the bottom when hovered or pressed.
    {.preset = {{kFace, 0xAF8C80, 0xB6A59F}}, .writesBorders = true,
     .borders = {kFace, kBlack, kBlack},
     .gradient = {.down = kOneFill,
                  .colours = {{kBack, kBack}, {0xAC9891, kBackHover}, {0xA57F71, kBackPressed}}},
     .focusPen = kFocusMark, .pictureLiftsOnHover = true},
    // 6: soft glow.
    {.preset = {{0xD2DEDD, 0xFFFFFF, 0xFFFFFF}}, .pattern = 3, .writesBorders = true,
     .borders = {kBlack, kBlack, kBlack},
     .gradient = {.down = kOneFill,
                  .colours = {{kBack, kBackPressed}, {kBack, kBackPressed}, {kBack, 0xE0E6E6}},
                  .disabled = {0xDBE7E7, 0xDBE7E7}},
     .disabledWhen = DisabledWhen::NotPressed, .disabledBorder = 0x8DABAB,
     .edges = {.pressed = {EdgePart::GlowPressed, {kHighlight}}, .hover = {EdgePart::Glow, kWarm},
               .focused = {EdgePart::GlowFocus, kBlue}},
     .focus = FocusLook::InEdgeLines, .embossedDisabledCaption = false},
    // 7: glass, the main window's buttons.
    {.preset = {{0xD8D8D8, 0xEFCE92, 0xF7DBA5}}, .writesBorders = true,
     .borders = {0x8F8F8E, 0xB17F3C, 0x5C411D},
     .gradient = {.down = kGlassDown, .across = kGlassAcross,
                  .colours = {{kBack, 0xEFEFEF}, {kBackHover, 0xFEFCF7}, {kBackPressed, 0xF8ECD5}},
                  .disabled = {0xF0F0F0, 0xF4F4F4}},
     .disabledWhen = DisabledWhen::AtRest, .disabledBorder = 0xB5B2AD,
     .edges = {.pressed = {EdgePart::Ring, {kRingPressed}}, .hover = kRing, .focused = kRing, .rest = kRing,
               .focusRing = {EdgePart::Ring, {kRingFocus}}},
     .focus = FocusLook::InEdgeLines, .embossedDisabledCaption = false},
    // 8: gel over the desktop colour.
    {.preset = {{kDesktop, kDesktop, kDesktop}}, .writesBorders = true,
     .borders = kBackByLook,
     .gradient = {.down = kGelDown, .across = kGelAcross,
                  .colours = {{kBack, kWhite}, {kBackHover, kWhite}, {kBackPressed, kWhite}},
                  .disabled = {0xA4B6B7, kWhite}},
     .disabledWhen = DisabledWhen::AtRest, .disabledBorder = 0xA4B6B7,
     .focusPen = kFocusMark, .embossedDisabledCaption = false},
}};

} // namespace

const StyleInfo& styleInfo(std::int32_t style)
{
    return style >= 1 && style < std::int32_t(kStyles.size()) ? kStyles[std::size_t(style)] : kStyles[0];
}
