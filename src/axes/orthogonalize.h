// Orthogonalisation: an order of axes (which old axis a, b, c takes the new positions X, Y,
// Z), the orthonormal axis set built from three measured directions, and the matrix that
// turns fractional coordinates of a unit cell into Cartesian ones.
#pragma once

#include <array>
#include <string_view>

#include "axes/euler.h"
#include "platform/dialog_records.h"

namespace orvix {

// True when each old axis is chosen exactly once.
bool is_valid_order(const axis_order& order);

// The old axis (0 = a, 1 = b, 2 = c) at new position p (0 = X, 1 = Y, 2 = Z) of a valid
// order: the one chosen in that position's row, for the cyclic orders as for the others.
inline int old_axis_at(const axis_order& order, int position) {
    return order.row[static_cast<std::size_t>(position)];
}

// Cell constants as read from a cell line, in single precision: lengths a, b, c and the
// angles alpha (between b and c), beta (a and c), gamma (a and b) in degrees.
struct cell_constants {
    std::array<float, 3> length = {1.0f, 1.0f, 1.0f};
    std::array<float, 3> angle = {90.0f, 90.0f, 90.0f};
};

// The six numbers at the start of a cell line; false when there are fewer.
bool parse_cell_constants(std::string_view line, cell_constants& cell);

// The cell as seen in the new order: lengths of the old axes at X, Y, Z, and the angles
// between the axes at (Y, Z), (X, Z), (X, Y).
cell_constants reorder_cell(const cell_constants& cell, const axis_order& order);

// Fractional coordinates (x along a, y along b, z along c) placed at the positions of their
// old axes.
vec3 reorder_coordinates(const vec3& fractional, const axis_order& order);

// The matrix that turns fractional coordinates of the (reordered) cell into Cartesian ones
// in the unit of the cell lengths: c along z, b in the yz plane. False when the cell angles
// cannot close a cell.
bool fractional_to_cartesian(const cell_constants& cell, matrix3& m);

// Replaces the rows X, Y, Z (already unit vectors) by an exact orthonormal right-handed set:
// Z keeps its direction, Y becomes its part perpendicular to Z, X is recomputed from the
// two; the input X plays no part. False when Y is parallel to Z (a NULL vector); the rows
// are then unchanged.
bool orthogonalize_axes(axis_system& axes);

}  // namespace orvix
