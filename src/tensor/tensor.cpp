// Reading, symmetrising and ordering a second-rank tensor, and the right-handed axis step.
//
// The arithmetic follows the rule of the eigen-solver: every quantity the method names (the
// mean of a pair, a vector's length, a normalised component, a cross-product component) is
// rounded to float where it is formed, and what lies in between is carried in double.
// Contraction into fused multiply-adds is switched off for this library for the same reason.
#include "tensor/tensor.h"

#include <cmath>
#include <string>
#include <utility>

#include "crystal/records.h"
#include "numeric/angles.h"
#include "numeric/jacobi.h"
#include "platform/scan.h"

namespace orvix {

namespace {

// The characters that separate the numbers of a tensor line. A tab is not among them: text
// such as "1.0<tab>2.0" is one token and gives only its first number.
constexpr std::string_view tensor_delimiters = " ,;()";

// Two principal axes count as orthogonal, and an axis as pointing along another, within
// this many degrees.
constexpr double axis_tolerance = 2.0;

void normalise(vector& u) {
    const double x = u[1];
    const double y = u[2];
    const double z = u[3];
    const float length = static_cast<float>(std::sqrt(x * x + y * y + z * z));
    if (length == 0.0f) return;  // a zero vector stays as it is
    for (int k = 1; k <= 3; ++k) u[k] = u[k] / length;
}

void copy_column(const matrix& v, int column, vector& u) {
    for (int row = 1; row <= 3; ++row) u[row] = v[row][column];
}

void store_column(matrix& v, int column, const vector& u) {
    for (int row = 1; row <= 3; ++row) v[row][column] = u[row];
}

// An angle that is NaN (a zero vector) is never within the tolerance.
bool near_right_angle(double angle) {
    return std::fabs(angle - 90.0) <= axis_tolerance;
}

}  // namespace

bool take_tensor_numbers(std::string_view line, tensor_numbers& numbers) {
    if (numbers.count >= 9) return true;
    std::size_t start = line.find_first_not_of(tensor_delimiters);
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(tensor_delimiters, start);
        std::string_view token = line.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        float value = 0.0f;
        if (scan_float(token, value)) {
            numbers.values[static_cast<std::size_t>(numbers.count)] = value;
            // Whatever follows the ninth number on its line is ignored.
            if (++numbers.count == 9) return true;
        }
        if (end == std::string_view::npos) break;
        start = line.find_first_not_of(tensor_delimiters, end);
    }
    return false;
}

bool read_tensor(exclusive_file& input, exclusive_file& out, tensor9& values) {
    tensor_numbers numbers;
    std::string line;
    while (read_text_line(line, input)) {
        if (is_comment_line(line)) {
            out.write(line);
            continue;
        }
        // Six positive numbers at the start of a line make it a cell line, even when more
        // numbers follow: nine positive numbers separated by blanks are skipped whole.
        if (is_cell_line(line)) continue;
        if (take_tensor_numbers(line, numbers)) {
            values = numbers.values;
            return true;
        }
    }
    values = numbers.values;
    return false;
}

bool tensor_is_finite(const tensor9& values) {
    for (float v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

void symmetrize_tensor(tensor9& m) {
    static constexpr std::pair<int, int> pairs[] = {{0, 1}, {0, 2}, {1, 2}};
    for (const auto& [i, j] : pairs) {
        float& upper = m[static_cast<std::size_t>(3 * i + j)];
        float& lower = m[static_cast<std::size_t>(3 * j + i)];
        // The sum is taken in double, so two large elements of equal sign cannot overflow
        // on the way to a mean that single precision holds.
        const float mean =
            static_cast<float>((static_cast<double>(upper) + static_cast<double>(lower)) * 0.5);
        upper = mean;
        lower = mean;
    }
}

void sort_principal_axes(vector& d, matrix& v, sort_order order) {
    for (int i = 1; i <= 2; ++i) {
        for (int j = i + 1; j <= 3; ++j) {
            // Strict comparisons: equal components are never exchanged.
            const bool out_of_order = order == sort_order::descending ? d[i] < d[j] : d[i] > d[j];
            if (!out_of_order) continue;
            std::swap(d[i], d[j]);
            for (int row = 1; row <= 3; ++row) std::swap(v[row][i], v[row][j]);
        }
    }
}

void make_right_handed(matrix& v) {
    vector p;
    vector q;
    vector r;
    vector n;
    copy_column(v, 1, p);
    copy_column(v, 2, q);
    copy_column(v, 3, r);
    normalise(p);
    normalise(q);
    normalise(r);

    // Axes that are not orthogonal have no handedness to fix; they are reported as found.
    if (!near_right_angle(vector_angle(p, q)) || !near_right_angle(vector_angle(p, r)) ||
        !near_right_angle(vector_angle(q, r)))
        return;

    n[1] = static_cast<float>(static_cast<double>(p[2]) * q[3] - static_cast<double>(p[3]) * q[2]);
    n[2] = static_cast<float>(static_cast<double>(p[3]) * q[1] - static_cast<double>(p[1]) * q[3]);
    n[3] = static_cast<float>(static_cast<double>(p[1]) * q[2] - static_cast<double>(p[2]) * q[1]);

    // The eigen-solver builds its axes from rotations only, so they start right-handed; the
    // sort makes them left-handed exactly when it exchanged columns an odd number of times.
    if (vector_angle(n, r) > axis_tolerance)
        for (int k = 1; k <= 3; ++k) r[k] = -r[k];

    store_column(v, 1, p);
    store_column(v, 2, q);
    store_column(v, 3, r);
}

void principal_axes(const tensor9& symmetrized, sort_order order, vector& d, matrix& v) {
    {
        // The eigen-solver overwrites the upper triangle of what it is given.
        tensor9 scratch = symmetrized;
        matrix_view view = convert_matrix(scratch.data());
        int rotations = 0;
        jacobi(view, d, v, rotations);
    }
    sort_principal_axes(d, v, order);
    make_right_handed(v);
}

double vector_angle(const vector& a, const vector& b) {
    const double a1 = a[1], a2 = a[2], a3 = a[3];
    const double b1 = b[1], b2 = b[2], b3 = b[3];
    const double length_a = std::sqrt(a1 * a1 + a2 * a2 + a3 * a3);
    const double length_b = std::sqrt(b1 * b1 + b2 * b2 + b3 * b3);
    double cosine = (a1 * b1 + a2 * b2 + a3 * b3) / (length_a * length_b);
    // Rounding can push the cosine of (anti)parallel vectors just past 1 in magnitude.
    return std::acos(clamp_cosine(cosine)) / degree_factor;
}

}  // namespace orvix
