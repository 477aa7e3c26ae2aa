// Unit-cell geometry.
#include "structure/cell.h"

#include <algorithm>
#include <cmath>

namespace orvix {

namespace {

// Degrees to radians, the factor the whole program converts with.
constexpr double degree = 0.017453292519943;

double length_of(const vec3d& v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

double angle_between(const vec3d& p, const vec3d& q) {
    const double cosine = (p[0] * q[0] + p[1] * q[1] + p[2] * q[2]) / (length_of(p) * length_of(q));
    return std::acos(std::clamp(cosine, -1.0, 1.0)) / degree;
}

}  // namespace

bool orthogonal_cell_matrix(const cell_parameters& cell, mat3d& m) {
    for (double l : cell.length)
        if (!(l > 0.0) || !std::isfinite(l)) return false;
    const double ca = std::cos(cell.angle[0] * degree), sa = std::sin(cell.angle[0] * degree);
    const double cb = std::cos(cell.angle[1] * degree), sb = std::sin(cell.angle[1] * degree);
    const double cg = std::cos(cell.angle[2] * degree);
    const double sines = sa * sb;
    if (!(sines > 0.0)) return false;
    // t is cos(gamma*), gamma* the angle between a* and b* of the reciprocal cell. The columns
    // are then a = |a| (sin beta sqrt(1 - t^2), -sin beta t, cos beta), b = |b| (0, sin alpha,
    // cos alpha), c = |c| (0, 0, 1): the form Orthogonalize > Coordinates uses.
    const double t = (ca * cb - cg) / sines;
    const double rest = 1.0 - t * t;
    if (!(rest > 0.0)) return false;
    const double a = cell.length[0], b = cell.length[1], c = cell.length[2];
    m = {{{a * sb * std::sqrt(rest), 0.0, 0.0}, {-a * sb * t, b * sa, 0.0}, {a * cb, b * ca, c}}};
    return true;
}

cell_parameters cell_from_lattice(const mat3d& rows) {
    cell_parameters cell;
    for (int i = 0; i < 3; ++i)
        cell.length[static_cast<std::size_t>(i)] = length_of(rows[static_cast<std::size_t>(i)]);
    cell.angle = {angle_between(rows[1], rows[2]), angle_between(rows[0], rows[2]),
                  angle_between(rows[0], rows[1])};
    return cell;
}

vec3d multiply(const mat3d& m, const vec3d& v) {
    vec3d out{};
    for (std::size_t i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return out;
}

mat3d multiply(const mat3d& a, const mat3d& b) {
    mat3d out{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return out;
}

mat3d transpose(const mat3d& m) {
    mat3d out{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) out[i][j] = m[j][i];
    return out;
}

double determinant(const mat3d& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

bool invert(const mat3d& m, mat3d& inverse) {
    const double det = determinant(m);
    if (det == 0.0 || !std::isfinite(det)) return false;
    // The adjugate over the determinant.
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) {
            const std::size_t r1 = (j + 1) % 3, r2 = (j + 2) % 3;
            const std::size_t c1 = (i + 1) % 3, c2 = (i + 2) % 3;
            inverse[i][j] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    return true;
}

}  // namespace orvix
