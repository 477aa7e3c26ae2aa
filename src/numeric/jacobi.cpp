// The cyclic Jacobi eigen-solver.
//
// Results must agree bit for bit with earlier runs of the program, so the arithmetic follows
// one fixed rule: every quantity the method names (S and its partial sums, the threshold, g,
// h, theta, t, 1 + t^2, its square root, c, s, tau, e, and every stored element) is rounded to
// float where it is formed, and everything in between is carried in double. The float
// variables below do the rounding; the casts to double keep the unnamed sub-expressions
// (theta^2, t^2, 1 + c, the terms of a rotation) from being rounded early. Contraction into
// fused multiply-adds is switched off for this library in its CMakeLists for the same reason.
#include "numeric/jacobi.h"

#include <cmath>

#include "numeric/numeric_error.h"

namespace orvix {

namespace {

constexpr int max_sweeps = 50;

// The new pair (x, y) of a rotation by (s, tau), each element rounded once when stored.
inline void rotate(float& x, float& y, float s, float tau) {
    const double old_x = x;
    const double old_y = y;
    x = static_cast<float>(old_x - s * (old_y + old_x * tau));
    y = static_cast<float>(old_y + s * (old_x - old_y * tau));
}

template <class Matrix>
void jacobi_impl(Matrix& a, vector& d, matrix& v, int& rotations) {
    vector b;  // d at the start of the sweep
    vector z;  // corrections to d during the sweep, kept apart so b is updated in one step

    for (int k = 1; k <= 3; ++k) {
        for (int j = 1; j <= 3; ++j) v[k][j] = 0.0f;
        v[k][k] = 1.0f;
    }
    for (int k = 1; k <= 3; ++k) {
        d[k] = a[k][k];
        b[k] = a[k][k];
        z[k] = 0.0f;
    }
    rotations = 0;

    for (int sweep = 1; sweep <= max_sweeps; ++sweep) {
        float sum = 0.0f;
        for (int p = 1; p <= 2; ++p)
            for (int q = p + 1; q <= 3; ++q) sum = sum + std::fabs(a[p][q]);
        // Exact zero, not a tolerance: the negligible-element rule below is what brings the
        // last off-diagonal elements to zero.
        if (sum == 0.0f) return;

        // The first sweeps rotate only the large elements, which saves rotations whose
        // effect would soon be undone; 9 is the number of elements of the matrix.
        const float threshold = sweep < 4 ? static_cast<float>((sum * 0.2) / 9.0) : 0.0f;

        for (int p = 1; p <= 2; ++p) {
            for (int q = p + 1; q <= 3; ++q) {
                const float apq = a[p][q];
                const float g = static_cast<float>(100.0 * std::fabs(apq));

                // After four sweeps an element too small to change either diagonal element
                // is simply dropped.
                const float dp_plus_g = std::fabs(d[p]) + g;
                const float dq_plus_g = std::fabs(d[q]) + g;
                if (sweep > 4 && dp_plus_g == std::fabs(d[p]) && dq_plus_g == std::fabs(d[q])) {
                    a[p][q] = 0.0f;
                    continue;
                }
                if (!(std::fabs(apq) > threshold)) continue;

                const float h = d[q] - d[p];
                float t;
                const float h_plus_g = std::fabs(h) + g;
                if (h_plus_g == std::fabs(h)) {
                    // theta is so large that t is 1/(2 theta) to within rounding; a/h is the
                    // form earlier results were computed with, and the two can differ in the
                    // last bit.
                    t = apq / h;
                } else {
                    const float theta = static_cast<float>(0.5 * h / apq);
                    const double th = theta;
                    t = static_cast<float>(1.0 / (std::fabs(th) + std::sqrt(1.0 + th * th)));
                    if (theta < 0.0f) t = -t;
                }
                const float one_plus_t2 = static_cast<float>(1.0 + static_cast<double>(t) * t);
                const float root = std::sqrt(one_plus_t2);
                const float c = static_cast<float>(1.0 / root);
                const float s = t * c;
                const float tau = static_cast<float>(s / (1.0 + c));
                const float e = t * apq;

                z[p] = z[p] - e;
                z[q] = z[q] + e;
                d[p] = d[p] - e;
                d[q] = d[q] + e;
                a[p][q] = 0.0f;

                // Only the upper triangle is kept up to date; the lower one is never touched.
                for (int j = 1; j <= p - 1; ++j) rotate(a[j][p], a[j][q], s, tau);
                for (int j = p + 1; j <= q - 1; ++j) rotate(a[p][j], a[j][q], s, tau);
                for (int j = q + 1; j <= 3; ++j) rotate(a[p][j], a[q][j], s, tau);
                for (int j = 1; j <= 3; ++j) rotate(v[j][p], v[j][q], s, tau);
                ++rotations;
            }
        }

        // Restarting d from the accumulated corrections limits the rounding error that the
        // running updates of d collect during a sweep.
        for (int k = 1; k <= 3; ++k) {
            b[k] = b[k] + z[k];
            d[k] = b[k];
            z[k] = 0.0f;
        }
    }
    numeric_error("Too many iterations in routine jacobi");
}

}  // namespace

void jacobi(matrix& a, vector& d, matrix& v, int& rotations) {
    jacobi_impl(a, d, v, rotations);
}

void jacobi(matrix_view& a, vector& d, matrix& v, int& rotations) {
    jacobi_impl(a, d, v, rotations);
}

}  // namespace orvix
