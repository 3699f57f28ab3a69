#pragma once
// Colours as the button's properties hold them, and their translation to the plain colours the pixel
// layer draws with.
#include "Raster.h"

#include <cstdint>
#include <optional>

/// A colour as a property stores it: a plain colour 0x00BBGGRR, or 0x800000nn naming system colour nn.
using OleColor = std::uint32_t;

/// The system colours of the classic 3-D edges, by their classic names.
inline constexpr OleColor kShadow = 0x80000010;     ///< system colour 16, the shaded side
inline constexpr OleColor kHighlight = 0x80000014;  ///< system colour 20, the lit side
inline constexpr OleColor kDarkShadow = 0x80000015; ///< system colour 21, the outer shaded side

/// Whether c names a system colour (0x800000nn) instead of holding one. Pixels are compared with a
/// colour as it is stored, so a system colour never matches one: the passes that look for pixels of
/// the pen's colour skip their work then.
constexpr bool isSystemColour(OleColor c)
{
    return c >> 24 == 0x80;
}

/// The plain colour c stands for, as the classic OleTranslateColor gives it without a palette: plain
/// colours (and the two palette forms, top byte 1 or 2) as they are, 0x800000nn the system colour nn
/// (only the low byte counts); nullopt for a system index above 30 or an unknown top byte.
std::optional<raster::ColorRef> translateColour(OleColor c);

/// The plain colour of c for gradients and colour ramps (SplitRgb): an untranslatable value keeps its
/// low three bytes.
inline raster::ColorRef splitRgb(OleColor c)
{
    return translateColour(c).value_or(c & 0xFFFFFF);
}

/// A colour as the pixel surface stores it (0x00RRGGBB, red and blue the other way round), and back:
/// the swap is its own inverse.
constexpr std::uint32_t storedPixel(raster::ColorRef c)
{
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}
