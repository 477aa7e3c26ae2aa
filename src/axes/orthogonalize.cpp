// Orders of axes, orthonormal axis sets and fractional-to-Cartesian matrices.
#include "axes/orthogonalize.h"

#include "platform/scan.h"

namespace orvix {

bool is_valid_order(const axis_order& order) {
    std::array<bool, 3> seen = {false, false, false};
    for (int axis : order.row) {
        if (axis < 0 || axis > 2 || seen[static_cast<std::size_t>(axis)]) return false;
        seen[static_cast<std::size_t>(axis)] = true;
    }
    return true;
}

bool parse_cell_constants(std::string_view line, cell_constants& cell) {
    float values[6];
    if (scan_floats(line, values, 6) != 6) return false;
    for (int i = 0; i < 3; ++i) {
        cell.length[static_cast<std::size_t>(i)] = values[i];
        cell.angle[static_cast<std::size_t>(i)] = values[i + 3];
    }
    return true;
}

cell_constants reorder_cell(const cell_constants& cell, const axis_order& order) {
    cell_constants out;
    for (int p = 0; p < 3; ++p) {
        const auto axis = static_cast<std::size_t>(old_axis_at(order, p));
        // The angle at new position p lies between the other two new axes; in a
        // permutation those are the two old axes other than `axis`, whose angle is the
        // one that carries `axis`'s own index (alpha is between b and c, and so on).
        out.length[static_cast<std::size_t>(p)] = cell.length[axis];
        out.angle[static_cast<std::size_t>(p)] = cell.angle[axis];
    }
    return out;
}

vec3 reorder_coordinates(const vec3& fractional, const axis_order& order) {
    const double f[3] = {fractional.x, fractional.y, fractional.z};
    return {f[old_axis_at(order, 0)], f[old_axis_at(order, 1)], f[old_axis_at(order, 2)]};
}

bool fractional_to_cartesian(const cell_constants& cell, matrix3& m) {
    const euler_angles angles{cell.angle[0], cell.angle[1], cell.angle[2]};
    matrix3 unit;
    if (!euler_matrix(angles, cell_matrix, unit)) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            unit[i][j] *= static_cast<double>(cell.length[static_cast<std::size_t>(j)]);
    m = unit;
    return true;
}

bool orthogonalize_axes(axis_system& axes) {
    const vec3& y = axes.row[1];
    const vec3& z = axes.row[2];
    vec3 w = cross(y, z);
    if (!normalize_vector(w)) return false;
    vec3 new_y = cross(z, w);
    if (!normalize_vector(new_y)) return false;
    vec3 new_x = cross(new_y, z);
    if (!normalize_vector(new_x)) return false;
    axes.row[0] = new_x;
    axes.row[1] = new_y;
    return true;
}

}  // namespace orvix
