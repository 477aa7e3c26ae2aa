// Euler angles of an axis system, rotation and cell matrices.
#include "axes/euler.h"

#include <cmath>

#include "platform/c_format.h"
#include "platform/scan.h"

namespace orvix {

namespace {

// The pasted text is read back from a single-line field with room for 199 characters.
constexpr std::size_t clipboard_field_size = 199;

}  // namespace

void axes_to_euler(const axis_system& axes, euler_angles& angles) {
    const vec3& x = axes.row[0];
    const vec3& y = axes.row[1];
    const vec3& z = axes.row[2];
    const double beta = std::acos(clamp_cosine(z.z));
    double alpha = 0.0;
    double gamma = 0.0;
    if (std::fabs(z.z) != 1.0) {
        const double s = std::sin(beta);
        alpha = std::acos(clamp_cosine(z.x / s));
        if (z.y < 0.0) alpha = full_turn - alpha;
        gamma = std::acos(clamp_cosine(-x.z / s));
        if (y.z < 0.0) gamma = full_turn - gamma;
    } else if (z.z > 0.0) {
        // beta = 0: the matrix depends on alpha + gamma only, R00 = cos, R01 = sin of it.
        gamma = std::acos(clamp_cosine(x.x));
        if (x.y < 0.0) gamma = full_turn - gamma;
    } else {
        // beta = 180: the matrix depends on gamma - alpha only, with R00 = -cos and R01 = sin
        // of it. Taking arccos(R00) here, as for beta = 0, would give 180 - gamma, angles
        // that do not reproduce the axes.
        gamma = std::acos(clamp_cosine(-x.x));
        if (x.y < 0.0) gamma = full_turn - gamma;
    }
    angles.alpha = alpha / degree_factor;
    angles.beta = beta / degree_factor;
    angles.gamma = gamma / degree_factor;
}

bool euler_matrix(const euler_angles& angles, int kind, matrix3& m) {
    if (kind != forwards_matrix && kind != backwards_matrix && kind != cell_matrix) return false;
    const double a = angles.alpha * degree_factor;
    const double b = angles.beta * degree_factor;
    const double g = angles.gamma * degree_factor;
    const double sa = std::sin(a), ca = std::cos(a);
    const double sb = std::sin(b), cb = std::cos(b);
    const double sg = std::sin(g), cg = std::cos(g);

    if (kind == cell_matrix) {
        const double sines = sa * sb;
        if (sines == 0.0) return false;
        const double t = (ca * cb - cg) / sines;
        const double rest = 1.0 - t * t;
        // Negative (or NaN) when no triangle of directions has these angles, e.g. 90, 90,
        // 10 is fine but 10, 10, 90 is not: a square root of it would be NaN coordinates.
        if (!(rest >= 0.0)) return false;
        m = {{{sb * std::sqrt(rest), 0.0, 0.0}, {-sb * t, sa, 0.0}, {cb, ca, 1.0}}};
        return true;
    }

    const matrix3 forwards = {{
        {ca * cb * cg - sa * sg, sa * cb * cg + ca * sg, -sb * cg},
        {-ca * cb * sg - sa * cg, ca * cg - sa * cb * sg, sb * sg},
        {ca * sb, sa * sb, cb},
    }};
    if (kind == forwards_matrix) {
        m = forwards;
    } else {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) m[i][j] = forwards[j][i];
    }
    return true;
}

void apply_matrix(const matrix3& m, const vec3& v, vec3& out) {
    out.x = m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z;
    out.y = m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z;
    out.z = m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z;
}

euler_angles clipboard_euler_angles(const std::optional<std::string>& text) {
    euler_angles angles;
    if (!text) return angles;
    std::string_view line(*text);
    // A single-line field keeps only what stands before the first line break.
    const std::size_t line_end = line.find_first_of("\r\n");
    if (line_end != std::string_view::npos) line = line.substr(0, line_end);
    if (line.size() > clipboard_field_size) line = line.substr(0, clipboard_field_size);
    float values[3];
    if (scan_floats(line, values, 3) != 3) return angles;
    angles.alpha = values[0];
    angles.beta = values[1];
    angles.gamma = values[2];
    return angles;
}

}  // namespace orvix
