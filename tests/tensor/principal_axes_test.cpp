// The principal axes of symmetrised random tensors of known spectrum: the eigen-decomposition,
// the order of the components and a right-handed set of orthonormal axes. (Equal components,
// never exchanged, are the golden transcripts' degenerate and isotropic tensors.)
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>

#include "tensor/tensor.h"

namespace orvix {
namespace {

// T = Q diag(lambda) Q^T + A for random rotations Q (from random quaternions) and a random
// antisymmetric part A, which symmetrising drops. The tolerances follow from the float epsilon.
TEST(PrincipalAxes, RandomTensorsOfKnownSpectrum) {
    // clang-format off
    const std::array<double, 3> spectra[] = {
        {1, 2, 3}, {2, 2, 5}, {-3, -3, -3}, {1, 1 + 1e-6, 2}, {-5, 0.5, 3}, {-1, 1, 0}, {0, 0, 1},
        {0, 0, 0}, {1e-6, 1, 1e6}, {-2e-20, 3e-20, 7e-20}, {-2e20, 3e20, 7e20}, {-150.25, 20.5, 310.75}};
    // clang-format on
    const double tol = 8 * std::numeric_limits<float>::epsilon();
    std::mt19937 g(20240611u);
    std::normal_distribution<double> gauss;
    for (const auto& lambda : spectra) {
        SCOPED_TRACE(testing::Message() << lambda[0] << " " << lambda[1] << " " << lambda[2]);
        std::array<double, 3> up = lambda;  // ascending
        std::sort(up.begin(), up.end());
        const double norm =
            std::max({std::fabs(lambda[0]), std::fabs(lambda[1]), std::fabs(lambda[2])});
        for (int n = 0; n < 400 && !HasFailure(); ++n) {
            const double w = gauss(g), x = gauss(g), y = gauss(g), z = gauss(g);
            const double k = 2 / (w * w + x * x + y * y + z * z);  // the quaternion's rotation
            // clang-format off
            const double q[9] = {1 - k * (y * y + z * z), k * (x * y - w * z), k * (x * z + w * y),
                                 k * (x * y + w * z), 1 - k * (x * x + z * z), k * (y * z - w * x),
                                 k * (x * z - w * y), k * (y * z + w * x), 1 - k * (x * x + y * y)};
            // clang-format on
            std::array<double, 9> symmetric{};
            for (int p = 0; p < 9; ++p)
                for (int m = 0; m < 3; ++m)
                    symmetric[p] += q[p / 3 * 3 + m] * lambda[m] * q[p % 3 * 3 + m];
            tensor9 t;
            for (int p = 0; p < 9; ++p) {  // the diagonal and above; a_ji = -a_ij
                const double a = p % 3 > p / 3 ? norm * gauss(g) : 0;
                if (p % 3 < p / 3) continue;
                t[p] = static_cast<float>(symmetric[p] + a);
                t[p % 3 * 3 + p / 3] = static_cast<float>(symmetric[p] - a);
            }
            symmetrize_tensor(t);
            const sort_order order = n % 2 == 0 ? sort_order::descending : sort_order::ascending;
            vector d;
            matrix v;
            principal_axes(t, order, d, v);
            for (int c = 1; c <= 3; ++c) {
                EXPECT_NEAR(d[c], up[n % 2 == 1 ? c - 1 : 3 - c], 16 * tol * norm)
                    << "component " << c;
                for (int other = 1; other <= 3; ++other)
                    EXPECT_NEAR(
                        v[1][c] * v[1][other] + v[2][c] * v[2][other] + v[3][c] * v[3][other],
                        c == other ? 1.0 : 0.0, tol);
            }
            EXPECT_TRUE(order == sort_order::descending ? d[1] >= d[2] && d[2] >= d[3]
                                                        : d[1] <= d[2] && d[2] <= d[3]);
            // V D V^T gives the symmetric part back, and axis 1 x axis 2 is axis 3.
            for (int p = 0; p < 9; ++p) {
                double sum = 0;
                for (int c = 1; c <= 3; ++c)
                    sum += static_cast<double>(v[p / 3 + 1][c]) * d[c] * v[p % 3 + 1][c];
                EXPECT_NEAR(sum, symmetric[p], 16 * tol * norm) << "element " << p;
            }
            EXPECT_NEAR(v[1][3], v[2][1] * v[3][2] - v[3][1] * v[2][2], tol);
            EXPECT_NEAR(v[2][3], v[3][1] * v[1][2] - v[1][1] * v[3][2], tol);
            EXPECT_NEAR(v[3][3], v[1][1] * v[2][2] - v[2][1] * v[1][2], tol);
        }
    }
}

}  // namespace
}  // namespace orvix
