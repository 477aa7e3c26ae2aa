// Plane normals and polar coordinates.
#include "axes/polar.h"

#include <cmath>

#include "numeric/angles.h"

namespace orvix {

namespace {

// A cosine beyond 1 in magnitude (through rounding) becomes its sign; exact in single
// precision.
float clamp_by_sign(float cosine) {
    return static_cast<float>(clamp_cosine(static_cast<double>(cosine)));
}

}  // namespace

vec3 plane_normal(const vec3& p0, const vec3& p1, const vec3& p2) {
    const vec3 d1{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const vec3 d2{p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
    return cross(d1, d2);
}

polar_position polar_coordinates(float x, float y, float z) {
    const double dx = x, dy = y, dz = z;
    polar_position out;
    const auto r2 = static_cast<float>(dx * dx + dy * dy + dz * dz);
    const auto r = static_cast<float>(std::sqrt(static_cast<double>(r2)));
    out.r = r;
    if (!(r > 0.0f)) return out;

    const float cz = clamp_by_sign(static_cast<float>(dz / r));
    const auto theta_radians = static_cast<float>(std::acos(static_cast<double>(cz)));
    const auto theta = static_cast<float>(theta_radians / degree_factor);
    out.theta = theta;
    // The sine of the angle in degrees, converted back: at 180 degrees this is about
    // 5.3e-14, not 0, and the azimuth is then taken from cx = 0.
    const auto s = static_cast<float>(std::sin(theta * degree_factor));
    if (s == 0.0f) return out;

    const float cx = clamp_by_sign(static_cast<float>(dx / (static_cast<double>(r) * s)));
    auto phi = static_cast<float>(std::acos(static_cast<double>(cx)) / degree_factor);
    if (y < 0.0f) phi = -phi;
    out.phi = phi;
    return out;
}

}  // namespace orvix
