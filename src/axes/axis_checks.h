// Axis systems given by direction cosines, and the checks every action runs on them before
// use: unit length (with an offer to normalise), right angles, right-handedness (with an
// offer to invert one axis). The checks talk to the user themselves and report only
// whether the calling action may go on.
#pragma once

#include <array>

#include "platform/services.h"

namespace orvix {

// Radians per degree. Every conversion between degrees and radians uses this constant; it
// differs from pi/180 in the 15th significant digit, which is why cos(90 degrees) comes out
// as about 2.6e-14 rather than 0, and results are reproducible only with this very value.
inline constexpr double degree_factor = 0.017453292519943;

// A direction or a position, in double precision.
struct vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Three rows of direction cosines: row 0 is the new x axis, row 1 the new y axis, row 2 the
// new z axis, each expressed in the reference frame. Element (i, j) is component j of row i.
struct axis_system {
    std::array<vec3, 3> row;
};

// Rounding can push a cosine a hair beyond 1; such a value becomes 1 or -1 with its own
// sign, anything within -1..1 (or NaN) is left exactly as it is.
double clamp_cosine(double value);

double dot(const vec3& u, const vec3& v);
double length(const vec3& v);
// (u.y v.z - u.z v.y, u.z v.x - u.x v.z, u.x v.y - u.y v.x)
vec3 cross(const vec3& u, const vec3& v);

// Makes v a unit vector in place (each component divided by the length, then clamped).
// A vector of length exactly 0 is left alone after the NULL-vector message; false then.
bool normalize_vector(vec3& v, services& ui);

// The angle between two directions in degrees, 0 to 180. Neither may be a NULL vector.
double angle_between(const vec3& u, const vec3& v);

// Normalises all three rows. A direction cosine that is not a finite number is refused first
// with "Wrong data format!" (no tolerance can be met by it). When a row's length differs from
// 1 by more than 0.001 the user is asked; Cancel leaves the rows unchanged. False on such a
// refusal, on Cancel or on a NULL vector (rows normalised before it stay normalised).
bool check_unit_vectors(services& ui, axis_system& axes);

// True when the pairs (x, y), (x, z), (y, z) are each within 0.2 degrees of a right angle;
// otherwise (an angle that is not a number included) the first failing pair is named to the
// user and the answer is false.
bool check_orthogonality(services& ui, const axis_system& axes);

// True when x cross y lies within 2 degrees of z, or when the user has chosen an axis to
// invert in the Axis Inversion dialog (that row is then negated); false on Cancel.
bool check_handedness(services& ui, axis_system& axes);

// The three checks in the order every caller needs them, stopping at the first failure.
bool check_axis_system(services& ui, axis_system& axes);

}  // namespace orvix
