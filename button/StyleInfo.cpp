#include "StyleInfo.h"

#include <array>

namespace {

constexpr OleColor kFace = ButtonProperties::kButtonFace;
constexpr OleColor kDarkShadow = 0x80000015;
constexpr OleColor kShadow = 0x80000010;
constexpr OleColor kHighlight = 0x80000014;

constexpr BorderSource fixed(OleColor c)
{
    return {BorderSource::Fixed, c};
}
constexpr BorderSource kBack{BorderSource::Back};

const std::array<StyleInfo, 9> kStyles = {{
    // 0 (and every value outside 1..8): the colours as the user chose them, nothing drawn of its own.
    {},
    // 1: classic 3-D bevel.
    {.preset = {{kFace, kFace, kFace}}, .writesBorders = true,
     .border = fixed(kDarkShadow), .borderHover = fixed(kDarkShadow), .borderPressed = fixed(kHighlight),
     .lines = EdgeLines::Bevel},
    // 2: flat with one lit edge.
    {.preset = {{kFace, kFace, kFace}}, .writesBorders = true,
     .border = fixed(kDarkShadow), .borderHover = fixed(kDarkShadow), .borderPressed = fixed(kHighlight),
     .lines = EdgeLines::Flat},
    // 3: flat, edges only when hovered or pressed; the outline vanishes into the face at rest.
    {.preset = {{kFace, kFace, kFace}}, .writesBorders = true,
     .border = kBack, .borderHover = fixed(kDarkShadow), .borderPressed = fixed(kHighlight),
     .lines = EdgeLines::HoverFlat},
    // 4: etched, focus shown around the caption.
    {.preset = {{kFace, 0x999999, kFace}}, .pattern = 1, .writesBorders = true,
     .border = fixed(kShadow), .borderHover = fixed(kShadow), .borderPressed = fixed(kShadow),
     .lines = EdgeLines::Etched, .focus = FocusLook::CaptionBox, .embossedDisabledCaption = false},
    // 5: shaded.
    {.preset = {{kFace, 0xAF8C80, 0xB6A59F}}, .writesBorders = true,
     .border = fixed(kFace), .borderHover = fixed(0x000000), .borderPressed = fixed(0x000000),
     .gradient = StyleGradient::Shaded, .pictureLiftsOnHover = true},
    // 6: soft glow.
    {.preset = {{0xD2DEDD, 0xFFFFFF, 0xFFFFFF}}, .pattern = 3, .writesBorders = true,
     .border = fixed(0x000000), .borderHover = fixed(0x000000), .borderPressed = fixed(0x000000),
     .gradient = StyleGradient::Soft, .disabledWhen = DisabledWhen::NotPressed, .disabledBorder = 0x8DABAB,
     .lines = EdgeLines::Glow, .focus = FocusLook::InEdgeLines, .embossedDisabledCaption = false},
    // 7: glass, the main window's buttons.
    {.preset = {{0xD8D8D8, 0xEFCE92, 0xF7DBA5}}, .writesBorders = true,
     .border = fixed(0x8F8F8E), .borderHover = fixed(0xB17F3C), .borderPressed = fixed(0x5C411D),
     .gradient = StyleGradient::Glass, .disabledWhen = DisabledWhen::AtRest, .disabledBorder = 0xB5B2AD,
     .lines = EdgeLines::Ring, .focus = FocusLook::InEdgeLines, .embossedDisabledCaption = false},
    // 8: gel over the desktop colour.
    {.preset = {{ButtonProperties::kDesktop, ButtonProperties::kDesktop, ButtonProperties::kDesktop}},
     .writesBorders = true,
     .border = kBack, .borderHover = {BorderSource::BackHover}, .borderPressed = {BorderSource::BackPressed},
     .gradient = StyleGradient::Gel, .disabledWhen = DisabledWhen::AtRest, .disabledBorder = 0xA4B6B7,
     .embossedDisabledCaption = false},
}};

} // namespace

const StyleInfo& styleInfo(std::int32_t style)
{
    return style >= 1 && style < std::int32_t(kStyles.size()) ? kStyles[std::size_t(style)] : kStyles[0];
}
