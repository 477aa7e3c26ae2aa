// Degrees and radians, and the clamp that keeps a computed cosine a cosine.
#pragma once

namespace orvix {

// Radians per degree. Every conversion between degrees and radians uses this constant; it
// differs from pi/180 in the 15th significant digit, which is why cos(90 degrees) comes out
// as about 2.6e-14 rather than 0, and results are reproducible only with this very value.
inline constexpr double degree_factor = 0.017453292519943;

// Rounding can push a cosine a hair beyond 1; such a value becomes 1 or -1 with its own
// sign, anything within -1..1 (or NaN) is left exactly as it is.
constexpr double clamp_cosine(double value) {
    if (value > 1.0) return 1.0;
    if (value < -1.0) return -1.0;
    return value;
}

}  // namespace orvix
