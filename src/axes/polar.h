// Plane normals and spherical polar coordinates of atom positions.
#pragma once

#include "axes/axis_checks.h"

namespace orvix {

// The normal of the plane through three points, (p1 - p0) x (p2 - p0), not normalised.
vec3 plane_normal(const vec3& p0, const vec3& p1, const vec3& p2);

// A position in spherical polar coordinates: phi, the azimuth from +x towards +y, -180 to
// 180 degrees; theta, the polar angle from +z, 0 to 180 degrees; r, the distance from the
// origin of the frame.
struct polar_position {
    float phi = 0.0f;
    float theta = 0.0f;
    float r = 0.0f;
};

// Polar coordinates of (x, y, z), worked in single precision: every intermediate quantity
// is rounded to float where it is formed, so that printed results are reproducible to the
// last digit. The origin gives 0, 0, 0; a point on the z axis gets the azimuth its tiny
// computed sine leads to (0 at the north pole, 90 at the south pole).
polar_position polar_coordinates(float x, float y, float z);

}  // namespace orvix
