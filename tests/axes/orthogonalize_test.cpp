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

constexpr double pi = std::numbers::pi;

TEST(Orthogonalize, only_permutations_are_orders) {
    for (int x = -1; x <= 3; ++x)
        for (int y = -1; y <= 3; ++y)
            for (int z = -1; z <= 3; ++z) {
                axis_order order;
                order.row = {x, y, z};
                EXPECT_EQ(is_valid_order(order),
                          std::set<int>({x, y, z}) == std::set<int>({0, 1, 2}))
                    << x << y << z;
            }
}

// For every order: each new position takes its old axis's length, coordinate, and the angle
// between the two old axes now standing at the other two positions; and the reordered cell
// still closes, with its Cartesian axes at the cell's lengths and angles, c along z, b in
// the yz plane, right-handed.
TEST(Orthogonalize, every_order_of_a_triclinic_cell) {
    cell_constants cell;
    cell.length = {3, 4, 5};
    cell.angle = {70, 80, 100};
    const vec3 f{0.1, 0.2, 0.3};
    const double fs[3] = {0.1, 0.2, 0.3};
    const char* orders[] = {"abc", "acb", "bac", "bca", "cab", "cba"};
    for (const char* letters : orders) {
        SCOPED_TRACE(letters);
        axis_order order;
        for (std::size_t p = 0; p < 3; ++p) order.row[p] = letters[p] - 'a';
        const cell_constants got = reorder_cell(cell, order);
        const vec3 moved = reorder_coordinates(f, order);
        const double moved_at[3] = {moved.x, moved.y, moved.z};
        for (std::size_t p = 0; p < 3; ++p) {
            const auto old = static_cast<std::size_t>(letters[p] - 'a');
            const auto i = static_cast<std::size_t>(letters[(p + 1) % 3] - 'a');
            const auto j = static_cast<std::size_t>(letters[(p + 2) % 3] - 'a');
            EXPECT_EQ(got.length[p], cell.length[old]);
            EXPECT_EQ(got.angle[p], cell.angle[3 - i - j]);
            EXPECT_EQ(moved_at[p], fs[old]);
        }
        matrix3 m{};
        ASSERT_TRUE(fractional_to_cartesian(got, m));
        const vec3 axis[3] = {
            {m[0][0], m[1][0], m[2][0]}, {m[0][1], m[1][1], m[2][1]}, {m[0][2], m[1][2], m[2][2]}};
        const auto angle = [](const vec3& u, const vec3& v) {
            return std::acos(dot(u, v) / length(u) / length(v)) * 180.0 / pi;
        };
        for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(length(axis[k]), got.length[k], 1e-12);
        EXPECT_NEAR(angle(axis[1], axis[2]), got.angle[0], 1e-9);
        EXPECT_NEAR(angle(axis[0], axis[2]), got.angle[1], 1e-9);
        EXPECT_NEAR(angle(axis[0], axis[1]), got.angle[2], 1e-9);
        EXPECT_TRUE(axis[2].x == 0 && axis[2].y == 0 && axis[1].x == 0);
        EXPECT_GT(dot(axis[0], cross(axis[1], axis[2])), 0.0);
    }
    matrix3 m{};
    cell.angle = {10, 10, 90};
    EXPECT_FALSE(fractional_to_cartesian(cell, m));
}

// Z keeps its direction, Y becomes its part perpendicular to Z, X follows from the two:
// orthonormal and right-handed whatever the input X.
TEST(Orthogonalize, axes_become_orthonormal_keeping_z) {
    std::uniform_real_distribution<double> component(-1, 1);
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(trial);
        axis_system axes;
        for (vec3& r : axes.row) {
            r = {component(random), component(random), component(random)};
            ASSERT_TRUE(normalize_vector(r));
        }
        const axis_system before = axes;
        ASSERT_TRUE(orthogonalize_axes(axes));
        const vec3 &x = axes.row[0], &y = axes.row[1], &z = axes.row[2];
        EXPECT_EQ(z.x, before.row[2].x);
        EXPECT_EQ(z.z, before.row[2].z);
        for (const vec3& r : axes.row) EXPECT_NEAR(length(r), 1, 1e-14);
        EXPECT_NEAR(dot(x, y), 0, 1e-14);
        EXPECT_NEAR(dot(y, z), 0, 1e-14);
        EXPECT_NEAR(dot(x, z), 0, 1e-14);
        EXPECT_NEAR(dot(cross(x, y), z), 1, 1e-14);
        // Y stays in the plane of the old Y and Z, on the old Y's side.
        EXPECT_NEAR(dot(before.row[1], cross(y, z)), 0, 1e-14);
        EXPECT_GT(dot(before.row[1], y), 0);
    }
    axis_system parallel{{vec3{1, 0, 0}, vec3{0, 0, 1}, vec3{0, 0, 1}}};
    EXPECT_FALSE(orthogonalize_axes(parallel));
    EXPECT_EQ(parallel.row[0].x, 1.0);
    EXPECT_EQ(parallel.row[1].z, 1.0);
}

// Against atan2 over the sphere; single precision throughout, so within a few float steps.
// On the z axis the azimuth comes from the tiny sine of the rounded angle.
TEST(Polar, coordinates_agree_with_atan2) {
    for (int t = 5; t < 180; t += 10)
        for (int f = -175; f <= 180; f += 15) {
            SCOPED_TRACE(std::to_string(t) + " " + std::to_string(f));
            const double th = t * pi / 180, ph = f * pi / 180, r = 2.5;
            const auto x = static_cast<float>(r * std::sin(th) * std::cos(ph));
            const auto y = static_cast<float>(r * std::sin(th) * std::sin(ph));
            const polar_position p = polar_coordinates(x, y, static_cast<float>(r * std::cos(th)));
            EXPECT_NEAR(p.r, r, 1e-6);
            EXPECT_NEAR(p.theta, t, 2e-4);
            EXPECT_NEAR(p.phi, std::atan2(double(y), double(x)) * 180 / pi, 5e-3);
        }
    const polar_position south = polar_coordinates(0, 0, -2);
    EXPECT_TRUE(south.phi == 90.0f && south.theta == 180.0f && south.r == 2.0f);
    const polar_position origin = polar_coordinates(0, 0, 0);
    EXPECT_TRUE(origin.phi == 0.0f && origin.theta == 0.0f && origin.r == 0.0f);
    const vec3 n = plane_normal({1, 1, 1}, {1, 2, 1}, {2, 1, 1});
    EXPECT_TRUE(n.x == 0 && n.y == 0 && n.z == -1);
}

}  // namespace
}  // namespace orvix
