// Axis-system checks and the two vector routines they rest on.
#include "axes/axis_checks.h"

#include <cmath>

namespace orvix {

namespace {

// A row may deviate this much from unit length without a question.
constexpr double unit_length_tolerance = 0.001;
// Degrees a pair of axes may deviate from a right angle.
constexpr double right_angle = 90.0;
constexpr double right_angle_tolerance = 0.2;
// Degrees x cross y may deviate from z in a right-handed system.
constexpr double handedness_tolerance = 2.0;

}  // namespace

double dot(const vec3& u, const vec3& v) {
    return u.x * v.x + u.y * v.y + u.z * v.z;
}

double length(const vec3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

vec3 cross(const vec3& u, const vec3& v) {
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

bool normalize_vector(vec3& v) {
    const double l = length(v);
    if (l == 0.0) return false;
    v.x = clamp_cosine(v.x / l);
    v.y = clamp_cosine(v.y / l);
    v.z = clamp_cosine(v.z / l);
    return true;
}

double angle_between(const vec3& u, const vec3& v) {
    // Divided by each length in turn, not by their product: the same rounding every time.
    const double cosine = dot(u, v) / length(u) / length(v);
    return std::acos(clamp_cosine(cosine)) / degree_factor;
}

bool is_finite(const axis_system& axes) {
    for (const vec3& r : axes.row)
        if (!(std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.z))) return false;
    return true;
}

bool deviates_from_unit_length(const axis_system& axes) {
    for (const vec3& r : axes.row)
        if (std::fabs(length(r) - 1.0) > unit_length_tolerance) return true;
    return false;
}

const char* first_oblique_pair(const axis_system& axes) {
    struct pair {
        int first, second;
        const char* name;
    };
    static constexpr pair pairs[] = {{0, 1, "x and y"}, {0, 2, "x and z"}, {1, 2, "y and z"}};
    for (const pair& p : pairs) {
        const double angle = angle_between(axes.row[p.first], axes.row[p.second]);
        if (!(std::fabs(angle - right_angle) <= right_angle_tolerance)) return p.name;
    }
    return nullptr;
}

bool is_right_handed(const axis_system& axes) {
    const vec3 normal = cross(axes.row[0], axes.row[1]);
    return angle_between(normal, axes.row[2]) <= handedness_tolerance;
}

bool invert_axis(axis_system& axes, int axis) {
    if (axis < 0 || axis > 2) return false;
    vec3& r = axes.row[static_cast<std::size_t>(axis)];
    r = {-r.x, -r.y, -r.z};
    return true;
}

}  // namespace orvix
