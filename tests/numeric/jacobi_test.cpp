// The Jacobi eigen-solver: reference results to the bit, the rounding of one rotation against
// an independent model. (The eigen-decomposition of random matrices of known spectrum is
// checked through the principal axes built on it.)
#include "numeric/jacobi.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <tuple>

namespace {

using namespace orvix;

using flat9 = std::array<float, 9>;  // row-major

struct solution {
    std::array<float, 3> d;
    flat9 v;  // row-major
    int rotations = -1;
};

// Solves through a one-based matrix (the view that the tensor code uses is checked through
// the principal axes). The upper triangle must come back zero, the rest as it was.
solution solve(const flat9& rows) {
    matrix a, v;
    vector d;
    solution s;
    for (int p = 0; p < 9; ++p) a[p / 3 + 1][p % 3 + 1] = rows[p];
    jacobi(a, d, v, s.rotations);
    for (int p = 0; p < 9; ++p) {
        const float after = a[p / 3 + 1][p % 3 + 1];
        EXPECT_TRUE(p % 3 > p / 3 ? after == 0.0f : std::memcmp(&after, &rows[p], 4) == 0) << p;
        s.v[p] = v[p / 3 + 1][p % 3 + 1];
        if (p < 3) s.d[p] = d[p + 1];
    }
    return s;
}

// Reference values known to eight significant digits; the float literal is the float of that
// text. A nan in v stands for "no reference known"; below the diagonal of the first matrix
// stands garbage, which must not be read.
TEST(Jacobi, ReferenceResults) {
    const float u = std::numeric_limits<float>::quiet_NaN();
    // name, the rows, the rotations, d, v
    // clang-format off
    const std::tuple<const char*, flat9, int, std::array<float, 3>, flat9> cases[] = {
        {"distinct eigenvalues, negligible-element rule", {10, 2, 3, -50, 20, 4, 1e6f, u, 30}, 9,
         {9.3599539f, 18.679838f, 31.960209f}, {u, u, u, u, u, u, u, u, u}},
        {"equal diagonal: theta 0, t 1", {1, 1, 0, 1, 1, 0, 0, 0, 2}, 1, {0, 2, 2},
         {0.70710677f, 0.70710677f, 0, -0.70710677f, 0.70710677f, 0, 0, 0, 1}},
    };
    // clang-format on
    for (const auto& [name, rows, rotations, d, v] : cases) {
        SCOPED_TRACE(name);
        const solution s = solve(rows);
        EXPECT_EQ(s.rotations, rotations);
        EXPECT_EQ(s.d, d);
        for (int p = 0; p < 9; ++p) EXPECT_TRUE(std::isnan(v[p]) || s.v[p] == v[p]) << p;
    }
}

// One off-diagonal element a12: one rotation, whose formulas are worked out here rounding to
// float exactly at the named quantities and carrying the rest in long double. A differing bit
// means a quantity rounded where it should not be, or not where it should.
TEST(Jacobi, SingleRotationRoundsAtTheNamedQuantities) {
    using wide = long double;
    std::mt19937 engine(424242u);
    auto unit = [&engine] { return static_cast<double>(engine() >> 8) / 16777216.0; };
    for (int n = 0; n < 20002 && !HasFailure(); ++n) {
        // Two chosen cases (theta 0, the a/h branch), then random ones over
        // many orders of magnitude of theta.
        float a11 = 1, a12 = 1, a22 = 1;
        if (n == 1) a12 = 0x1.b7ce02p-34f, a22 = 2;  // 1/(2 theta) would be the next float
        if (n > 1) {
            a11 = static_cast<float>(20 * unit() - 10);
            a22 = static_cast<float>(20 * unit() - 10);
            a12 = static_cast<float>((unit() < 0.5 ? -1 : 1) * std::pow(10.0, 6 * unit() - 5));
        }
        const float h = a22 - a11;
        const float g = static_cast<float>(100.0L * std::fabs(static_cast<wide>(a12)));
        float t;
        if (static_cast<float>(std::fabs(h) + g) == std::fabs(h)) {
            t = static_cast<float>(static_cast<wide>(a12) / h);
        } else {
            const float theta = static_cast<float>(0.5L * h / a12);
            const wide th = theta;
            t = static_cast<float>(1.0L / (std::fabs(th) + std::sqrt(1.0L + th * th)));
            if (theta < 0) t = -t;
        }
        const float one_plus_t2 = static_cast<float>(1.0L + wide{t} * t);
        const float root = static_cast<float>(std::sqrt(wide{one_plus_t2}));
        const float c = static_cast<float>(1.0L / root);
        const float s = static_cast<float>(wide{t} * c);
        const float tau = static_cast<float>(s / (1.0L + c));
        const float e = static_cast<float>(wide{t} * a12);
        const float diagonal = static_cast<float>(1.0L - wide{s} * tau);
        // d1, d2, v11, v12, v21, v22; v starts as the identity.
        // clang-format off
        const float want[6] = {static_cast<float>(a11 - wide{e}), static_cast<float>(a22 + wide{e}), diagonal, s, -s, diagonal};
        const solution got = solve({a11, a12, 0, a12, a22, 0, 0, 0, 5});
        const float have[6] = {got.d[0], got.d[1], got.v[0], got.v[1], got.v[3], got.v[4]};
        // clang-format on
        EXPECT_TRUE(got.rotations == 1 && std::memcmp(&have, &want, sizeof have) == 0)
            << "a11 " << a11 << ", a12 " << a12 << ", a22 " << a22 << ": v12 " << have[3] << " for "
            << want[3];
    }
}

}  // namespace
