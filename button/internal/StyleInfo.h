#pragma once
// What each ButtonStyle means, in one table indexed by the style: the colour preset its setter loads,
// the border colours painting writes back, its gradient and their colours, its edge lines with their
// pens, and how it shows the focus. Every colour a style draws with is in this table (the shapes only
// say where their lines run, and which of them take the 3-D edge's dark, shade or light tone).
#include "ButtonProperties.h"
#include "Colours.h"
#include "Expr.h"
#include "Surface.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

/// Which colour of a group (back, border, text) is in force: pressed wins over hover.
enum class Look : std::uint8_t { Normal, Hover, Pressed };

constexpr Look lookOf(bool pressed, bool mouseOver)
{
    return pressed ? Look::Pressed : mouseOver ? Look::Hover : Look::Normal;
}

/// One value per look.
template <typename T>
struct ByLook {
    T normal{}, hover{}, pressed{};

    constexpr const T& operator[](Look look) const
    {
        return look == Look::Pressed ? pressed : look == Look::Hover ? hover : normal;
    }
};

/// A colour of the table: fixed, or one of the three back colours of the properties.
struct ColourSource {
    enum Kind : std::uint8_t { Fixed, Back, BackHover, BackPressed } kind = Fixed;
    OleColor value = 0;

    constexpr ColourSource() = default;
    constexpr ColourSource(OleColor fixed) : value(fixed) {}
    constexpr ColourSource(Kind k) : kind(k) {}

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

/// One two-vertex gradient fill: vertex a takes the first colour of its pair, vertex b the second.
struct Fill {
    raster::GradientMode mode;
    shape::Pt a, b;
};

/// The gradient a style lays over the background (never over a transparent one).
struct StyleGradient {
    struct Colours {
        ColourSource a, b;
    };
    /// The fills, running down the face; empty: the style lays no gradient.
    std::span<const Fill> down{};
    /// The fills for the shapes whose table runs gradients across; empty: the same as down.
    std::span<const Fill> across{};
    ByLook<Colours> colours{};
    /// The colours while the style shows itself disabled (see DisabledWhen).
    Colours disabled{};
};

/// When a disabled button takes its style's disabled colours.
enum class DisabledWhen : std::uint8_t {
    Never,
    NotPressed, ///< style 6, which knows no hover
    AtRest,     ///< styles 7 and 8: neither pressed nor hovered
};

/// The three tones of a classic 3-D edge line; a shape's table gives each of its edge lines one, the
/// style its colour.
enum class Tone : std::uint8_t { Dark, Shade, Light };

/// A column of the shape table: the edge lines of one look.
enum class EdgePart : std::uint8_t {
    None,
    BevelRaised,  ///< raised 3-D edges (toned)
    BevelPressed, ///< pressed 3-D edges (toned)
    FlatRaised,   ///< the one lit edge of a flat button (toned)
    FlatPressed,  ///< the one shaded edge of a flat button, pressed (toned)
    Etched,       ///< an etched double line (toned)
    GlowPressed,  ///< one line inside the outline (pen 0)
    Glow,         ///< five glow lines (pens 0 to 4)
    GlowFocus,    ///< the same five lines where the shape draws them differently for the focus
    Ring,         ///< a ring inside the outline (pen 0)
};

/// One column of edge lines and its pens: for toned columns indexed by Tone, for the glow the pens
/// of lines 1 to 5, else pen 0.
struct EdgeStroke {
    EdgePart part = EdgePart::None;
    std::array<OleColor, 5> pens{};
};

/// The edge lines a style draws, by state: pressed wins over hover, hover over focus (FocusRect and
/// the focus), and focus over rest.
struct EdgeLines {
    EdgeStroke pressed{}, hover{}, focused{}, rest{};
    /// Drawn after those unless pressed, with FocusRect and the focus (style 7's focus ring).
    EdgeStroke focusRing{};
    /// Nothing is drawn while the button is disabled (style 4).
    bool whileEnabled = false;

    const EdgeStroke& chosen(bool pressed, bool mouseOver, bool focused) const
    {
        return pressed ? this->pressed : mouseOver ? hover : focused ? this->focused : rest;
    }
};

/// How a style shows the focus.
enum class FocusLook : std::uint8_t {
    DottedOutline, ///< the shape's focus outline in the focus pen, then dotted
    CaptionBox,    ///< 4: a frame around the caption in the focus pen
    InEdgeLines,   ///< 6 and 7: their edge lines change
};

struct StyleInfo {
    struct Preset {
        OleColor back, pressed, hover;
    };
    /// The back colours setting the style loads.
    std::optional<Preset> preset{};
    /// The background pattern setting the style chooses, unless the background is transparent (0: keep).
    std::int32_t pattern = 0;
    /// Whether painting writes the border colours back into the properties.
    bool writesBorders = false;
    ByLook<ColourSource> borders{};
    StyleGradient gradient{};
    DisabledWhen disabledWhen = DisabledWhen::Never;
    /// The BorderColor a disabled button takes when disabledWhen holds.
    OleColor disabledBorder = 0;
    EdgeLines edges{};
    FocusLook focus = FocusLook::DottedOutline;
    /// The colour of the focus outline or the caption box.
    OleColor focusPen = 0;
    /// A disabled caption is embossed (highlight one pixel down and right, shadow on top); else it is
    /// drawn once in shadow.
    bool embossedDisabledCaption = true;
    /// Hovering draws the picture a second time, one pixel up and left (5).
    bool pictureLiftsOnHover = false;

    /// Whether a button in this look shows the style's disabled colours.
    bool showsDisabled(bool enabled, Look look) const
    {
        return !enabled
               && ((disabledWhen == DisabledWhen::NotPressed && look != Look::Pressed)
                   || (disabledWhen == DisabledWhen::AtRest && look == Look::Normal));
    }
};

/// The entry of ButtonStyle style; values outside 1..8 share the entry of 0, which adds nothing.
const StyleInfo& styleInfo(std::int32_t style);
