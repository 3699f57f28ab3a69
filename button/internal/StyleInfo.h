#pragma once
// What each ButtonStyle means, in one table indexed by the style: the colour preset its setter loads,
// the border colours painting writes back, its gradient, its edge lines and how it shows the focus.
#include "ButtonProperties.h"
#include "Colours.h"

#include <cstdint>
#include <optional>

/// A border colour a style writes back: fixed, or one of the three back colours.
struct BorderSource {
    enum Kind : std::uint8_t { Fixed, Back, BackHover, BackPressed } kind = Fixed;
    OleColor value = 0;

    OleColor resolve(const ButtonProperties& p) const
    {
        switch (kind) {
        case Back: return p.backColor;
        case BackHover: return p.backColorHover;
        case BackPressed: return p.backColorPressed;
        default: return value;
        }
    }
};

/// The gradient a style lays over the background (never over a transparent one).
enum class StyleGradient : std::uint8_t {
    None,
    Shaded, ///< style 5: one vertical fill, darker at the bottom when hovered or pressed
    Soft,   ///< style 6: one vertical fill from BackColor at the bottom
    Glass,  ///< style 7: two fills, light to base down to the middle, then lighter again
    Gel,    ///< style 8: the same with white
};

/// When a disabled button takes its style's disabled colours.
enum class DisabledWhen : std::uint8_t {
    Never,
    NotPressed, ///< style 6, which knows no hover
    AtRest,     ///< styles 7 and 8: neither pressed nor hovered
};

/// The edge lines the shape frame draws for a style.
enum class EdgeLines : std::uint8_t {
    None,
    Bevel,     ///< 1: raised and pressed 3-D edges
    Flat,      ///< 2: one lit or shaded edge
    HoverFlat, ///< 3: as 2, but nothing at rest
    Etched,    ///< 4: an etched double line while enabled
    Glow,      ///< 6: warm glow when hovered, blue when focused, highlight when pressed
    Ring,      ///< 7: a ring inside the outline
};

/// How a style shows the focus.
enum class FocusLook : std::uint8_t {
    DottedOutline, ///< the shape's focus outline, dotted
    CaptionBox,    ///< 4: a frame around the caption
    InEdgeLines,   ///< 6 and 7: their edge lines change
};

struct StyleInfo {
    struct Preset {
        OleColor back, pressed, hover;
    };
    /// The back colours setting the style loads.
    std::optional<Preset> preset;
    /// The background pattern setting the style chooses, unless the background is transparent (0: keep).
    std::int32_t pattern = 0;
    /// Whether painting writes the border colours back into the properties.
    bool writesBorders = false;
    BorderSource border{}, borderHover{}, borderPressed{};
    StyleGradient gradient = StyleGradient::None;
    DisabledWhen disabledWhen = DisabledWhen::Never;
    /// The BorderColor a disabled button takes when disabledWhen holds.
    OleColor disabledBorder = 0;
    EdgeLines lines = EdgeLines::None;
    FocusLook focus = FocusLook::DottedOutline;
    /// A disabled caption is embossed (highlight one pixel down and right, shadow on top); else it is
    /// drawn once in shadow.
    bool embossedDisabledCaption = true;
    /// Hovering draws the picture a second time, one pixel up and left (5).
    bool pictureLiftsOnHover = false;
};

/// The entry of ButtonStyle style; values outside 1..8 share the entry of 0, which adds nothing.
const StyleInfo& styleInfo(std::int32_t style);
