// Orders of axes, reordered cells, fractional-to-Cartesian matrices, orthonormal axis sets
// and polar coordinates.
#include "axes/orthogonalize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <set>

#include "axes/polar.h"

namespace orvix {
namespace {

TEST(Orthogonalize, only_permutations_are_orders) {
    for (int x = -1; x <= 3; ++x)
        for (int y = -1; y <= 3; ++y)
            for (int z = -1; z <= 3; ++z)
                EXPECT_EQ(is_valid_order({{x, y, z}}),
                          std::set<int>({x, y, z}) == std::set<int>({0, 1, 2}))
                    << x << y << z;
}

// For every order: each new position takes its old axis's length, coordinate, and the angle
// between the two old axes now at the other two positions; the Cartesian axes of the
// reordered cell have its lengths and angles, c along z, b in the yz plane, right-handed.
TEST(Orthogonalize, every_order_of_a_triclinic_cell) {
    const cell_constants cell{{3, 4, 5}, {70, 80, 100}};
    const double f[3] = {0.1, 0.2, 0.3};
    for (const char* letters : {"abc", "acb", "bac", "bca", "cab", "cba"}) {
        SCOPED_TRACE(letters);
        const axis_order order{{letters[0] - 'a', letters[1] - 'a', letters[2] - 'a'}};
        const cell_constants got = reorder_cell(cell, order);
        const vec3 moved = reorder_coordinates({f[0], f[1], f[2]}, order);
        const double moved_at[3] = {moved.x, moved.y, moved.z};
        for (std::size_t p = 0; p < 3; ++p) {
            const auto at = [&](std::size_t q) { return std::size_t(letters[q % 3] - 'a'); };
            EXPECT_EQ(got.length[p], cell.length[at(p)]);
            EXPECT_EQ(got.angle[p], cell.angle[3 - at(p + 1) - at(p + 2)]);
            EXPECT_EQ(moved_at[p], f[at(p)]);
        }
        matrix3 m{};
        ASSERT_TRUE(fractional_to_cartesian(got, m));
        const vec3 a{m[0][0], m[1][0], m[2][0]}, b{m[0][1], m[1][1], m[2][1]},
            c{m[0][2], m[1][2], m[2][2]};
        const auto angle = [](const vec3& u, const vec3& v) {
            return std::acos(dot(u, v) / length(u) / length(v)) * 180.0 / std::numbers::pi;
        };
        EXPECT_NEAR(length(a), got.length[0], 1e-12);
        EXPECT_NEAR(length(b), got.length[1], 1e-12);
        EXPECT_NEAR(length(c), got.length[2], 1e-12);
        EXPECT_NEAR(angle(b, c), got.angle[0], 1e-9);
        EXPECT_NEAR(angle(a, c), got.angle[1], 1e-9);
        EXPECT_NEAR(angle(a, b), got.angle[2], 1e-9);
        EXPECT_TRUE(c.x == 0 && c.y == 0 && b.x == 0 && a.x > 0);
    }
    matrix3 m{};
    EXPECT_FALSE(fractional_to_cartesian({{1, 1, 1}, {10, 10, 90}}, m));
}

// Z keeps its direction, Y becomes its part perpendicular to Z (on the old Y's side), X
// follows: orthonormal and right-handed whatever the input X.
TEST(Orthogonalize, axes_become_orthonormal_keeping_z) {
    std::uniform_real_distribution<double> component(-1, 1);
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        axis_system axes;
        for (vec3& r : axes.row) {
            r = {component(random), component(random), component(random)};
            ASSERT_TRUE(normalize_vector(r));
        }
        const axis_system before = axes;
        ASSERT_TRUE(orthogonalize_axes(axes));
        const vec3 &x = axes.row[0], &y = axes.row[1], &z = axes.row[2];
        EXPECT_TRUE(z.x == before.row[2].x && z.y == before.row[2].y && z.z == before.row[2].z);
        const double off = std::fabs(length(x) - 1) + std::fabs(length(y) - 1) +
                           std::fabs(dot(x, y)) + std::fabs(dot(y, z)) +
                           std::fabs(dot(cross(x, y), z) - 1) +
                           std::fabs(dot(before.row[1], cross(y, z)));
        EXPECT_LT(off, 1e-14) << trial;
        EXPECT_GT(dot(before.row[1], y), 0) << trial;
    }
    axis_system parallel{{vec3{1, 0, 0}, vec3{0, 0, 1}, vec3{0, 0, 1}}};
    EXPECT_FALSE(orthogonalize_axes(parallel));
    EXPECT_TRUE(parallel.row[0].x == 1 && parallel.row[1].z == 1);
}

// Against atan2 over the sphere; single precision throughout, so within a few float steps.
// On the z axis the azimuth comes from the tiny sine of the rounded angle (90 at the south
// pole); the origin is all zeros.
TEST(Polar, coordinates_agree_with_atan2) {
    for (int t = 5; t < 180; t += 10)
        for (int f = -175; f <= 180; f += 15) {
            const double th = t * std::numbers::pi / 180, ph = f * std::numbers::pi / 180;
            const auto x = float(2.5 * std::sin(th) * std::cos(ph)),
                       y = float(2.5 * std::sin(th) * std::sin(ph));
            const polar_position p = polar_coordinates(x, y, float(2.5 * std::cos(th)));
            EXPECT_NEAR(p.r, 2.5, 1e-6);
            EXPECT_NEAR(p.theta, t, 2e-4) << t << " " << f;
            EXPECT_NEAR(p.phi, std::atan2(double(y), double(x)) * 180 / std::numbers::pi, 5e-3)
                << t << " " << f;
        }
    const polar_position south = polar_coordinates(0, 0, -2), origin = polar_coordinates(0, 0, 0);
    EXPECT_TRUE(south.phi == 90 && south.theta == 180 && south.r == 2);
    EXPECT_TRUE(origin.phi == 0 && origin.theta == 0 && origin.r == 0);
}

}  // namespace
}  // namespace orvix
