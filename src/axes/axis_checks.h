// Axis systems given by direction cosines, and the checks every action runs on them before
// use: finite numbers, unit length, right angles, right-handedness. The checks only tell what
// they found; the actions ask the user what to do about it (axes/axis_questions.h).
#pragma once

#include <array>

#include "numeric/angles.h"

namespace orvix {

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

double dot(const vec3& u, const vec3& v);
double length(const vec3& v);
// (u.y v.z - u.z v.y, u.z v.x - u.x v.z, u.x v.y - u.y v.x)
vec3 cross(const vec3& u, const vec3& v);

// Makes v a unit vector in place (each component divided by the length, then clamped).
// A vector of length exactly 0 (a NULL vector) is left alone; false then.
bool normalize_vector(vec3& v);

// The angle between two directions in degrees, 0 to 180. Neither may be a NULL vector.
double angle_between(const vec3& u, const vec3& v);

// Whether every direction cosine is a finite number (no tolerance can be met by another).
bool is_finite(const axis_system& axes);

// Whether a row's length differs from 1 by more than 0.001.
bool deviates_from_unit_length(const axis_system& axes);

// The first pair of axes, in the order (x, y), (x, z), (y, z), that is not within 0.2
// degrees of a right angle (an angle that is not a number included), as "x and y", "x and
// z" or "y and z"; null when every pair is.
const char* first_oblique_pair(const axis_system& axes);

// Whether x cross y lies within 2 degrees of z.
bool is_right_handed(const axis_system& axes);

// Negates one row (0 x, 1 y, 2 z); false for any other index.
bool invert_axis(axis_system& axes, int axis);

}  // namespace orvix
