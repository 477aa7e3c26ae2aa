// Symmetrising, ordering, the right-handed step and the angle between axes, one by one, and
// the principal axes of a tensor whose frame is known.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "tensor/tensor.h"

namespace orvix {
namespace {

using column3 = std::array<float, 3>;
using columns3 = std::array<column3, 3>;  // columns3[k] is column k + 1

void load(matrix& v, const columns3& c) {
    for (int k = 1; k <= 3; ++k)
        for (int row = 1; row <= 3; ++row) v[row][k] = c[k - 1][row - 1];
}

columns3 columns_of(const matrix& v) {
    columns3 c{};
    for (int k = 1; k <= 3; ++k)
        for (int row = 1; row <= 3; ++row) c[k - 1][row - 1] = v[row][k];
    return c;
}

TEST(SymmetrizeTensor, MeansOfOffDiagonalPairs) {
    const float big = 3.0e38f;
    // clang-format off
    const std::tuple<const char*, tensor9, tensor9> cases[] = {
        {"antisymmetric part dropped", {1, 4, -6, -4, 2, 8, 6, -8, 3}, {1, 0, 0, 0, 2, 0, 0, 0, 3}},
        {"one mean per pair", {0, 1, 2, 3, 0, 5, 6, 7, 0}, {0, 2, 4, 2, 0, 6, 4, 6, 0}},
        // 1 and 1 + 2^-23 have a mean that single precision cannot hold: it rounds to even.
        {"rounded once to single precision", {0, 1, 0, 1.00000012f, 0, 0, 0, 0, 0}, {0, 1, 0, 1, 0, 0, 0, 0, 0}},
        // Their sum overflows single precision, their mean does not.
        {"large elements of equal sign", {0, big, 0, big, 0, 0, 0, 0, 0}, {0, big, 0, big, 0, 0, 0, 0, 0}},
    };
    // clang-format on
    for (const auto& [name, in, out] : cases) {
        tensor9 m = in;
        symmetrize_tensor(m);
        EXPECT_EQ(m, out) << name;
    }
}

TEST(SortPrincipalAxes, ColumnsFollowTheirComponents) {
    // d, the order, d sorted, the original columns now at 1, 2, 3
    const auto down = sort_order::descending, up = sort_order::ascending;
    // clang-format off
    const std::tuple<column3, sort_order, column3, std::array<int, 3>> cases[] = {
        {{3, 2, 1}, down, {3, 2, 1}, {1, 2, 3}}, {{1, 2, 3}, down, {3, 2, 1}, {3, 2, 1}},
        {{3, 2, 1}, up, {1, 2, 3}, {3, 2, 1}}, {{3, -2, 7}, up, {-2, 3, 7}, {2, 1, 3}},
        // Equal values are never exchanged: they keep the order the eigen-solver gave.
        {{0, 2, 2}, down, {2, 2, 0}, {2, 3, 1}}, {{0, 2, 2}, up, {0, 2, 2}, {1, 2, 3}},
        {{5, 5, 1}, up, {1, 5, 5}, {3, 2, 1}}, {{4, 4, 4}, down, {4, 4, 4}, {1, 2, 3}},
    };
    // clang-format on
    for (const auto& [d, order, sorted, from] : cases) {
        SCOPED_TRACE(testing::Message() << d[0] << " " << d[1] << " " << d[2]);
        vector dv;
        matrix v;
        columns3 tagged;  // column k holds (10k + 1, 10k + 2, 10k + 3)
        for (int k = 0; k < 9; ++k)
            tagged[k / 3][k % 3] = static_cast<float>(10 * (k / 3 + 1) + k % 3 + 1);
        for (int k = 1; k <= 3; ++k) dv[k] = d[k - 1];
        load(v, tagged);
        sort_principal_axes(dv, v, order);
        EXPECT_EQ((column3{dv[1], dv[2], dv[3]}), sorted);
        const columns3 after = columns_of(v);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(after[k], tagged[from[k] - 1]) << "column " << k + 1;
    }
}

TEST(MakeRightHanded, NormalisesAndFixesTheThirdAxis) {
    const float deg = 0.017453292519943f;
    const float c15 = std::cos(1.5f * deg), s15 = std::sin(1.5f * deg);
    const float c25 = std::cos(2.5f * deg), s25 = std::sin(2.5f * deg);
    const float z = -0.0f;  // negating an axis negates its zeros: written as -0.000000
    // clang-format off
    const std::tuple<const char*, columns3, columns3> cases[] = {
        {"right-handed unit axes stay", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        {"left-handed: the third axis is negated", {{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}}, {{{0, 0, 1}, {0, 1, 0}, {-1, z, z}}}},
        {"axes of any length are normalised", {{{2, 0, 0}, {0, 0.5f, 0}, {0, 0, -4}}}, {{{1, 0, 0}, {0, 1, 0}, {z, z, 1}}}},
        {"within 2 degrees of a right angle", {{{1, 0, 0}, {s15, c15, 0}, {0, 0, -1}}}, {{{1, 0, 0}, {s15, c15, 0}, {z, z, 1}}}},
        // Axes that fail the check are left exactly as they were, not even normalised.
        {"2.5 degrees from a right angle", {{{2, 0, 0}, {s25, c25, 0}, {0, 0, -3}}}, {{{2, 0, 0}, {s25, c25, 0}, {0, 0, -3}}}},
        {"a zero axis", {{{2, 0, 0}, {0, 0, 0}, {0, 0, -3}}}, {{{2, 0, 0}, {0, 0, 0}, {0, 0, -3}}}},
    };
    // clang-format on
    for (const auto& [name, in, out] : cases) {
        SCOPED_TRACE(name);
        matrix v;
        load(v, in);
        make_right_handed(v);
        const columns3 after = columns_of(v);
        for (int k = 0; k < 9; ++k)
            EXPECT_TRUE(after[k / 3][k % 3] == out[k / 3][k % 3] &&
                        std::signbit(after[k / 3][k % 3]) == std::signbit(out[k / 3][k % 3]))
                << "column " << k / 3 + 1 << " row " << k % 3 + 1;
    }
}

TEST(VectorAngle, DegreesBetweenVectors) {
    // clang-format off
    const std::tuple<column3, column3, double> cases[] = {
        {{0, 0, 2}, {0, 0, 5}, 0}, {{1, 0, 0}, {-3, 0, 0}, 180}, {{1, 0, 0}, {0, 7, 0}, 90},
        {{1, 1, 0}, {1, 0, 0}, 45}, {{1, 0, 0}, {-0.5f, 0.866025403784f, 0}, 120},
        // Antiparallel, with a cosine that rounding in double pushes past -1.
        {{-0.591095507f, -0.113094211f, 0.756234884f}, {2.2378397f, 0.428165525f, -2.86304402f}, 180},
    };
    // clang-format on
    for (const auto& [a, b, degrees] : cases) {
        vector u, w;
        for (int k = 1; k <= 3; ++k) u[k] = a[k - 1], w[k] = b[k - 1];
        EXPECT_NEAR(vector_angle(u, w), degrees, 1e-5) << degrees;
    }
    vector zero, x;
    x[1] = 1;
    EXPECT_TRUE(std::isnan(vector_angle(zero, x)));
}

// A diagonal tensor: the axes move with their values, and the exchanges of the ascending
// order leave them left-handed, so the third is negated.
TEST(PrincipalAxes, OrderedRightHandedFrameOfAKnownTensor) {
    const tensor9 t = {2, 0, 0, 0, 1, 0, 0, 0, 3};
    const std::tuple<sort_order, column3, columns3> cases[] = {
        {sort_order::descending, {3, 2, 1}, {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}}},
        {sort_order::ascending, {1, 2, 3}, {{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}}}};
    for (const auto& [order, values, axes] : cases) {
        vector d;
        matrix v;
        principal_axes(t, order, d, v);
        EXPECT_EQ((column3{d[1], d[2], d[3]}), values);
        EXPECT_EQ(columns_of(v), axes);
    }
}

}  // namespace
}  // namespace orvix
