// Orders of axes, reordered cells, fractional-to-Cartesian matrices, orthonormal axis sets,
// plane normals and polar coordinates.
#include "axes/orthogonalize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "actions/messages.h"
#include "axes/polar.h"
#include "platform/c_format.h"
#include "platform/scripted_services.h"

namespace orvix {
namespace {

constexpr double pi = std::numbers::pi;

axis_order order_of(const char* letters) {
    axis_order order;
    for (std::size_t p = 0; p < 3; ++p) order.row[p] = letters[p] - 'a';
    return order;
}

TEST(IsValidOrder, only_permutations_pass) {
    int valid = 0;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y)
            for (int z = 0; z < 3; ++z) {
                SCOPED_TRACE(std::to_string(x) + std::to_string(y) + std::to_string(z));
                axis_order order;
                order.row = {x, y, z};
                const bool permutation = x != y && y != z && x != z;
                EXPECT_EQ(is_valid_order(order), permutation);
                valid += permutation;
            }
    EXPECT_EQ(valid, 6);
    axis_order outside;
    outside.row = {0, 1, 3};
    EXPECT_FALSE(is_valid_order(outside));
    outside.row = {-1, 1, 2};
    EXPECT_FALSE(is_valid_order(outside));
}

TEST(ReorderCell, follows_the_assignment_table) {
    // Distinct values so that every position is traceable: a, b, c = 3, 4, 5 and alpha,
    // beta, gamma = 70, 80, 100.
    cell_constants cell;
    cell.length = {3, 4, 5};
    cell.angle = {70, 80, 100};
    struct test_case {
        const char* order;
        std::array<float, 3> length;
        std::array<float, 3> angle;
    };
    const std::vector<test_case> cases = {
        {"abc", {3, 4, 5}, {70, 80, 100}},
        {"acb", {3, 5, 4}, {70, 100, 80}},
        {"bac", {4, 3, 5}, {80, 70, 100}},
        {"cba", {5, 4, 3}, {100, 80, 70}},
        // The cyclic orders: each row's own choice stands at its position.
        {"bca", {4, 5, 3}, {80, 100, 70}},
        {"cab", {5, 3, 4}, {100, 70, 80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        const cell_constants got = reorder_cell(cell, order_of(c.order));
        EXPECT_EQ(got.length, c.length);
        EXPECT_EQ(got.angle, c.angle);
        // Each angle of the new cell is the old angle between the two old axes now standing
        // at the other two positions.
        const axis_order order = order_of(c.order);
        for (int p = 0; p < 3; ++p) {
            const int i = order.row[static_cast<std::size_t>((p + 1) % 3)];
            const int j = order.row[static_cast<std::size_t>((p + 2) % 3)];
            EXPECT_EQ(got.angle[static_cast<std::size_t>(p)],
                      cell.angle[static_cast<std::size_t>(3 - i - j)]);
        }
    }
}

TEST(ReorderCoordinates, places_each_coordinate_at_its_axis) {
    const vec3 f{0.1, 0.2, 0.3};
    struct test_case {
        const char* order;
        vec3 expected;
    };
    const std::vector<test_case> cases = {
        {"abc", {0.1, 0.2, 0.3}}, {"acb", {0.1, 0.3, 0.2}}, {"bac", {0.2, 0.1, 0.3}},
        {"cba", {0.3, 0.2, 0.1}}, {"bca", {0.2, 0.3, 0.1}}, {"cab", {0.3, 0.1, 0.2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        const vec3 got = reorder_coordinates(f, order_of(c.order));
        EXPECT_EQ(got.x, c.expected.x);
        EXPECT_EQ(got.y, c.expected.y);
        EXPECT_EQ(got.z, c.expected.z);
    }
}

TEST(FractionalToCartesian, reproduces_the_cell_metric) {
    struct test_case {
        const char* name;
        cell_constants cell;
        bool ok;
    };
    const std::vector<test_case> cases = {
        {"cubic", {{10, 10, 10}, {90, 90, 90}}, true},
        {"hexagonal", {{3, 3, 5}, {90, 90, 120}}, true},
        {"monoclinic", {{5.2f, 6.1f, 7.4f}, {90, 103.5f, 90}}, true},
        {"triclinic", {{5.1f, 6.2f, 7.3f}, {80, 95, 105}}, true},
        {"angles that cannot close", {{1, 1, 1}, {10, 10, 90}}, false},
        {"angles summing past 360", {{1, 1, 1}, {150, 150, 150}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        matrix3 m{};
        ASSERT_EQ(fractional_to_cartesian(c.cell, m), c.ok);
        if (!c.ok) continue;
        const vec3 axis[3] = {
            {m[0][0], m[1][0], m[2][0]}, {m[0][1], m[1][1], m[2][1]}, {m[0][2], m[1][2], m[2][2]}};
        for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(length(axis[i]), c.cell.length[i], 1e-12);
        // Angles with the exact pi: the degree factor costs only ~1e-12 degrees here.
        const auto angle = [](const vec3& u, const vec3& v) {
            return std::acos(dot(u, v) / length(u) / length(v)) * 180.0 / pi;
        };
        EXPECT_NEAR(angle(axis[1], axis[2]), c.cell.angle[0], 1e-9);
        EXPECT_NEAR(angle(axis[0], axis[2]), c.cell.angle[1], 1e-9);
        EXPECT_NEAR(angle(axis[0], axis[1]), c.cell.angle[2], 1e-9);
        EXPECT_EQ(axis[2].x, 0.0);
        EXPECT_EQ(axis[2].y, 0.0);
        EXPECT_EQ(axis[1].x, 0.0);
        EXPECT_GT(dot(axis[0], cross(axis[1], axis[2])), 0.0) << "right-handed";
    }
}

TEST(OrthogonalizeAxes, keeps_z_and_rebuilds_y_and_x) {
    struct test_case {
        const char* name;
        axis_system axes;  // unit rows
        bool ok;
        axis_system expected;
    };
    const double l = std::sqrt(1.01);
    const double s = std::sqrt(0.5);
    const std::vector<test_case> cases = {
        {"already orthonormal",
         {{vec3{1, 0, 0}, vec3{0, 1, 0}, vec3{0, 0, 1}}},
         true,
         {{vec3{1, 0, 0}, vec3{0, 1, 0}, vec3{0, 0, 1}}}},
        {"y tilted towards x",
         {{vec3{1, 0, 0}, vec3{0.1 / l, 1 / l, 0}, vec3{0, 0, 1}}},
         true,
         {{vec3{1 / l, -0.1 / l, 0}, vec3{0.1 / l, 1 / l, 0}, vec3{0, 0, 1}}}},
        {"y tilted towards z: its part perpendicular to z remains",
         {{vec3{1, 0, 0}, vec3{0, s, s}, vec3{0, 0, 1}}},
         true,
         {{vec3{1, 0, 0}, vec3{0, 1, 0}, vec3{0, 0, 1}}}},
        {"the input x plays no part",
         {{vec3{0, 0, 1}, vec3{0, 1, 0}, vec3{0, 0, 1}}},
         true,
         {{vec3{1, 0, 0}, vec3{0, 1, 0}, vec3{0, 0, 1}}}},
        {"y parallel to z",
         {{vec3{1, 0, 0}, vec3{0, 0, 1}, vec3{0, 0, 1}}},
         false,
         {{vec3{1, 0, 0}, vec3{0, 0, 1}, vec3{0, 0, 1}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        axis_system axes = c.axes;
        EXPECT_EQ(orthogonalize_axes(axes), c.ok);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(axes.row[i].x, c.expected.row[i].x, 1e-15);
            EXPECT_NEAR(axes.row[i].y, c.expected.row[i].y, 1e-15);
            EXPECT_NEAR(axes.row[i].z, c.expected.row[i].z, 1e-15);
        }
    }
}

TEST(PlaneNormal, is_the_cross_product_of_the_two_edges) {
    struct test_case {
        const char* name;
        vec3 p0, p1, p2;
        vec3 expected;
    };
    const std::vector<test_case> cases = {
        {"xy plane", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"scaled edges", {0, 0, 0}, {2, 0, 0}, {0, 3, 0}, {0, 0, 6}},
        {"collinear", {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, 0}},
        {"shifted origin, reversed order", {1, 1, 1}, {1, 2, 1}, {2, 1, 1}, {0, 0, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const vec3 n = plane_normal(c.p0, c.p1, c.p2);
        EXPECT_EQ(n.x, c.expected.x);
        EXPECT_EQ(n.y, c.expected.y);
        EXPECT_EQ(n.z, c.expected.z);
    }
}

TEST(PolarCoordinates, printed_as_the_examples_give_them) {
    struct test_case {
        const char* name;
        float x, y, z;
        const char* printed;  // phi, theta, r with "%12.6f"
    };
    const std::vector<test_case> cases = {
        {"on +z", 0, 0, 5, "    0.000000     0.000000     5.000000"},
        {"diagonal", 1, 1, 0, "   45.000000    90.000000     1.414214"},
        {"negative y", 1, -1, 0, "  -45.000000    90.000000     1.414214"},
        {"on -x", -1, 0, 0, "  180.000000    90.000000     1.000000"},
        {"on -y", 0, -1, 0, "  -90.000000    90.000000     1.000000"},
        // sin(180 degrees) with the degree factor is 5.3e-14, not 0: cx = 0 gives phi 90.
        {"on -z", 0, 0, -2, "   90.000000   180.000000     2.000000"},
        {"origin", 0, 0, 0, "    0.000000     0.000000     0.000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const polar_position p = polar_coordinates(c.x, c.y, c.z);
        EXPECT_EQ(c_format("%12.6f %12.6f %12.6f", static_cast<double>(p.phi),
                           static_cast<double>(p.theta), static_cast<double>(p.r)),
                  c.printed);
    }
    // (1, 2, 3): r 3.741657, phi about 63.43495, theta about 36.69923.
    const polar_position p = polar_coordinates(1, 2, 3);
    EXPECT_EQ(c_format("%.6f", static_cast<double>(p.r)), "3.741657");
    EXPECT_EQ(c_format("%.5f", static_cast<double>(p.phi)), "63.43495");
    EXPECT_EQ(c_format("%.5f", static_cast<double>(p.theta)), "36.69923");
}

TEST(PolarCoordinates, agree_with_atan2_over_the_sphere) {
    // Single precision throughout: within a few float steps of the double-precision angles.
    for (int t = 5; t < 180; t += 10) {
        for (int f = -175; f <= 180; f += 15) {
            SCOPED_TRACE(std::to_string(t) + " " + std::to_string(f));
            const double th = t * pi / 180, ph = f * pi / 180, r = 2.5;
            const auto x = static_cast<float>(r * std::sin(th) * std::cos(ph));
            const auto y = static_cast<float>(r * std::sin(th) * std::sin(ph));
            const auto z = static_cast<float>(r * std::cos(th));
            const polar_position p = polar_coordinates(x, y, z);
            const double exact_phi = std::atan2(double(y), double(x)) * 180 / pi;
            EXPECT_NEAR(p.r, r, 1e-6);
            EXPECT_NEAR(p.theta, t, 2e-4);
            // Near the poles the azimuth rests on a small sine taken of the rounded theta:
            // at theta 175 a few thousandths of a degree.
            EXPECT_NEAR(p.phi, exact_phi, 5e-3);
        }
    }
}

}  // namespace
}  // namespace orvix
