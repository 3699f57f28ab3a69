#pragma once
// Colour values and coordinate rounding shared by every drawing call of the raster layer. Colours here
// are plain colours only: what a property's system colour stands for is for its owner to work out.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace raster {

/// A colour as the drawing calls take it: 0x00BBGGRR, red in the low byte (a top byte is ignored).
using ColorRef = std::uint32_t;

/// What getPixel answers for a point outside the surface.
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFF;

/// Coordinates beyond ±kMaxCoordinate are refused (nothing drawn), which keeps all line and edge
/// arithmetic inside 64 bits.
inline constexpr int kMaxCoordinate = 1 << 29;

/// Curves and region rows are limited to boxes of this many pixels a side; larger ones are refused
/// or clipped instead of walked pixel by pixel.
inline constexpr int kMaxExtent = 1 << 16;

/// The ColorRef of the given channels (each 0..255).
constexpr ColorRef rgb(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

/// v rounded to the nearest integer, an exact half to the even one; nullopt for NaN or outside int.
inline std::optional<int> tryRoundHalfEven(double v)
{
    constexpr double lo = double(std::numeric_limits<int>::min()) - 0.5;
    constexpr double hi = double(std::numeric_limits<int>::max()) + 0.5;
    if (!(v >= lo && v <= hi)) // also catches NaN
        return std::nullopt;
    const double f = std::floor(v);
    auto n = static_cast<std::int64_t>(f);
    const double frac = v - f; // exact for doubles in this range
    if (frac > 0.5 || (frac == 0.5 && (n & 1)))
        ++n;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(n);
}

/// v rounded to the nearest integer, ties to even (31/2 → 16, 33/2 → 16); saturates outside int, NaN → 0.
inline int roundHalfEven(double v)
{
    if (const auto n = tryRoundHalfEven(v))
        return *n;
    if (std::isnan(v))
        return 0;
    return v < 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
}

} // namespace raster
