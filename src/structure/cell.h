// Unit-cell geometry for imported structures: cell constants from lattice vectors, and the
// matrix that turns fractional coordinates into Cartesian ones in the frame Orthogonalize >
// Coordinates uses by default (c along z, b in the yz plane).
#pragma once

#include <array>

namespace orvix {

using vec3d = std::array<double, 3>;
using mat3d = std::array<vec3d, 3>;  // rows

// Lengths a, b, c (Angstrom) and angles alpha (between b and c), beta (a, c), gamma (a, b)
// in degrees.
struct cell_parameters {
    vec3d length = {1.0, 1.0, 1.0};
    vec3d angle = {90.0, 90.0, 90.0};
};

// The fractional-to-Cartesian matrix (columns are the cell edges a, b, c). False when a
// length is not positive or the angles cannot close a cell.
bool orthogonal_cell_matrix(const cell_parameters& cell, mat3d& m);

// The cell constants of three lattice vectors given as rows.
cell_parameters cell_from_lattice(const mat3d& rows);

vec3d multiply(const mat3d& m, const vec3d& v);
mat3d multiply(const mat3d& a, const mat3d& b);
mat3d transpose(const mat3d& m);
double determinant(const mat3d& m);

// The inverse; false for a singular matrix.
bool invert(const mat3d& m, mat3d& inverse);

}  // namespace orvix
