#pragma once
// Coordinates of the button's tables, written as in the geometry text: a plain number, or an
// expression of W (for x) or H (for y) such as W - 1, H / 2, W / 1.5 - 1, W + W / 3, -W / 6, H - 4.5.
// One is evaluated in floating point as size × num / den + off and rounded to the nearest integer,
// ties to even (31 / 2 → 16, 33 / 2 → 16).
#include "Raster.h"

#include <cstdint>
#include <stdexcept>

namespace shape {

enum class Axis : std::uint8_t { None, W, H };

/// A coordinate: size × num / den + off, size being W, H or 0 by axis.
struct Expr {
    Axis axis = Axis::None;
    double num = 0;
    double den = 1;
    double off = 0;

    constexpr Expr() = default;
    /// A plain number.
    constexpr Expr(double value) : off(value) {}
    constexpr Expr(Axis a, double n, double d, double o) : axis(a), num(n), den(d), off(o) {}

    /// The value for a face of w × h pixels, rounded half to even.
    int eval(int w, int h) const
    {
        const double size = axis == Axis::W ? w : axis == Axis::H ? h : 0;
        return raster::roundHalfEven(size * num / den + off);
    }
};

inline constexpr Expr W{Axis::W, 1, 1, 0};
inline constexpr Expr H{Axis::H, 1, 1, 0};

constexpr Expr operator+(Expr a, Expr b)
{
    if (a.axis != Axis::None && b.axis != Axis::None && a.axis != b.axis)
        throw std::logic_error("an expression mixes W and H");
    const Axis axis = a.axis != Axis::None ? a.axis : b.axis;
    return {axis, a.num * b.den + b.num * a.den, a.den * b.den, a.off + b.off};
}
constexpr Expr operator-(Expr a) { return {a.axis, -a.num, a.den, -a.off}; }
constexpr Expr operator-(Expr a, Expr b) { return a + -b; }
/// Only a bare size divides (W / 2, -W / 6); (W - 1) / 2 is not an expression of the tables.
constexpr Expr operator/(Expr a, double d)
{
    if (a.off != 0)
        throw std::logic_error("only W or H can be divided");
    return {a.axis, a.num, a.den * d, 0};
}

struct Pt {
    Expr x;
    Expr y;
};

} // namespace shape
