// Euler angles and rotation matrices.
//
// Convention (the same everywhere in the program): the new frame arises from the reference
// frame by a rotation through alpha about z, then through beta about the new y, then
// through gamma about the newest z. The forwards matrix (kind 1) has the new axes as its
// rows, so that multiplied with a position in the reference frame it gives the position in
// the new frame; the backwards matrix (kind 2) is its transpose and undoes it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "axes/axis_checks.h"
#include "platform/dialog_records.h"

namespace orvix {

// Nine doubles, row-major: m[i][j] is row i, column j.
using matrix3 = std::array<std::array<double, 3>, 3>;

// A full turn in radians as the program counts it: 360 times the degree factor.
inline constexpr double full_turn = 360.0 * degree_factor;

// Matrix kinds of euler_matrix.
inline constexpr int forwards_matrix = 1;
inline constexpr int backwards_matrix = 2;
inline constexpr int cell_matrix = 3;

// The Euler angles (degrees) of a right-handed orthonormal axis system: beta 0..180, alpha
// and gamma 0..360. For beta 0 or 180 only one rotation about z is defined; alpha is then 0
// and gamma carries the whole turn, chosen so that the angles give the axes back.
void axes_to_euler(const axis_system& axes, euler_angles& angles);

// Fills m for the three angles in degrees:
//   kind 1, forwards; kind 2, backwards (the transpose);
//   kind 3, the cell matrix for the cell angles (alpha, beta, gamma): its columns are unit
//   vectors along a, b and c with c along z and b in the yz plane; scaled by the cell
//   lengths it turns fractional into Cartesian coordinates.
// False, with m untouched, for any other kind, and for kind 3 when sin(alpha) sin(beta) is
// exactly 0 or when the three angles cannot close a cell (the a axis would need an
// imaginary x component).
bool euler_matrix(const euler_angles& angles, int kind, matrix3& m);

// out = m v.
void apply_matrix(const matrix3& m, const vec3& v, vec3& out);

// The angles the Euler Rotations dialog proposes for a clipboard text: the first three
// numbers of its first line (at most 199 characters of it), read as single-precision "%f"
// numbers separated by white space; 0, 0, 0 when there is no text or fewer than three
// numbers stand at its start.
euler_angles clipboard_euler_angles(const std::optional<std::string>& text);

}  // namespace orvix
