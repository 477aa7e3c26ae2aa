// Euler angles of axis systems, rotation and cell matrices, and the clipboard hand-off.
#include "axes/euler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "axes/axes_actions.h"

namespace orvix {
namespace {

constexpr double pi = std::numbers::pi;

axis_system rows_of(const matrix3& m) {
    axis_system axes;
    for (std::size_t i = 0; i < 3; ++i) axes.row[i] = {m[i][0], m[i][1], m[i][2]};
    return axes;
}

matrix3 forwards(double alpha, double beta, double gamma) {
    matrix3 m{};
    EXPECT_TRUE(euler_matrix({alpha, beta, gamma}, forwards_matrix, m));
    return m;
}

double max_difference(const matrix3& a, const matrix3& b) {
    double worst = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) worst = std::max(worst, std::fabs(a[i][j] - b[i][j]));
    return worst;
}

matrix3 product(const matrix3& a, const matrix3& b) {
    matrix3 m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
    return m;
}

// Rotations built independently of euler_matrix, from their textbook definitions.
matrix3 rz(double degrees) {
    const double c = std::cos(degrees * degree_factor), s = std::sin(degrees * degree_factor);
    return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}
matrix3 ry(double degrees) {
    const double c = std::cos(degrees * degree_factor), s = std::sin(degrees * degree_factor);
    return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}

// The difference of two angles on the circle, in degrees (0 and 360 are the same).
double circular_difference(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

TEST(AxesToEuler, named_axis_systems) {
    struct test_case {
        const char* name;
        axis_system axes;
        euler_angles expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"reference frame", {{vec3{1, 0, 0}, vec3{0, 1, 0}, vec3{0, 0, 1}}}, {0, 0, 0}},
        {"turned 90 about z: beta 0 puts the turn in gamma",
         {{vec3{0, 1, 0}, vec3{-1, 0, 0}, vec3{0, 0, 1}}}, {0, 0, 90}},
        {"30 40 50", rows_of(forwards(30, 40, 50)), {30, 40, 50}},
        {"300 100 200 (R21 and R12 negative)", rows_of(forwards(300, 100, 200)), {300, 100, 200}},
        {"z turned over: beta 180", {{vec3{1, 0, 0}, vec3{0, -1, 0}, vec3{0, 0, -1}}},
         {0, 180, 180}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        euler_angles got;
        axes_to_euler(c.axes, got);
        EXPECT_NEAR(got.alpha, c.expected.alpha, 1e-9);
        EXPECT_NEAR(got.beta, c.expected.beta, 1e-9);
        EXPECT_NEAR(got.gamma, c.expected.gamma, 1e-9);
    }
}

// Regression: for beta = 180 the angles found must give the axes back. The literal rule
// gamma = arccos(R00) returned 150 for an axis system made with gamma = 30.
TEST(AxesToEuler, beta_180_reproduces_the_axes) {
    euler_angles got;
    axes_to_euler(rows_of(forwards(0, 180, 30)), got);
    EXPECT_EQ(got.alpha, 0.0);
    EXPECT_NEAR(got.beta, 180.0, 1e-9);
    EXPECT_NEAR(got.gamma, 30.0, 1e-9);
    // Only gamma - alpha is defined there.
    axes_to_euler(rows_of(forwards(40, 180, 100)), got);
    EXPECT_NEAR(got.gamma, 60.0, 1e-9);
    axes_to_euler(rows_of(forwards(100, 180, 40)), got);
    EXPECT_NEAR(got.gamma, 300.0, 1e-9);
}

TEST(AxesToEuler, round_trips_over_a_grid_of_angles) {
    int checked = 0;
    for (int beta = 0; beta <= 180; beta += 15) {
        for (int alpha = 0; alpha <= 360; alpha += 30) {
            for (int gamma = 0; gamma <= 360; gamma += 30) {
                SCOPED_TRACE(std::to_string(alpha) + " " + std::to_string(beta) + " " +
                             std::to_string(gamma));
                const matrix3 m = forwards(alpha, beta, gamma);
                euler_angles got;
                axes_to_euler(rows_of(m), got);
                EXPECT_GE(got.beta, 0.0);
                EXPECT_LE(got.beta, 180.0 + 1e-9);
                EXPECT_GE(got.alpha, 0.0);
                EXPECT_LT(got.alpha, 360.0 + 1e-9);
                EXPECT_GE(got.gamma, 0.0);
                EXPECT_LT(got.gamma, 360.0 + 1e-9);
                // The angles found describe the same axis system, and, where the angles
                // are unique, are the angles it was made with. An arc cosine of a value
                // next to -1 or 1 is only good to about sqrt(2 eps) = 2.1e-8 radians
                // (1.2e-6 degrees), which sets the tolerances.
                EXPECT_LT(max_difference(forwards(got.alpha, got.beta, got.gamma), m), 5e-8);
                EXPECT_NEAR(got.beta, beta, 3e-6);
                if (beta != 0 && beta != 180) {
                    EXPECT_LT(circular_difference(got.alpha, alpha), 3e-6);
                    EXPECT_LT(circular_difference(got.gamma, gamma), 3e-6);
                } else {
                    EXPECT_EQ(got.alpha, 0.0);
                }
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 13 * 13 * 13);
}

TEST(EulerMatrix, forwards_and_backwards_are_rotations_and_inverse) {
    const euler_angles samples[] = {{0, 0, 0},  {30, 40, 50},     {300, 100, 200},
                                    {90, 0, 0}, {12.5, 170, 355}, {-20, 45, 720}};
    for (const auto& a : samples) {
        SCOPED_TRACE(std::to_string(a.alpha) + " " + std::to_string(a.beta) + " " +
                     std::to_string(a.gamma));
        matrix3 f{}, b{};
        ASSERT_TRUE(euler_matrix(a, forwards_matrix, f));
        ASSERT_TRUE(euler_matrix(a, backwards_matrix, b));
        // Backwards is Rz(alpha) Ry(beta) Rz(gamma), built here from its factors.
        EXPECT_LT(max_difference(b, product(product(rz(a.alpha), ry(a.beta)), rz(a.gamma))), 1e-15);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_EQ(b[i][j], f[j][i]);
        const matrix3 identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
        EXPECT_LT(max_difference(product(f, b), identity), 1e-15);
        // Right-handed: row 0 cross row 1 is row 2.
        const vec3 n = cross(vec3{f[0][0], f[0][1], f[0][2]}, vec3{f[1][0], f[1][1], f[1][2]});
        EXPECT_NEAR(n.x, f[2][0], 1e-15);
        EXPECT_NEAR(n.y, f[2][1], 1e-15);
        EXPECT_NEAR(n.z, f[2][2], 1e-15);
    }
}

TEST(EulerMatrix, turns_positions_as_the_convention_says) {
    struct test_case {
        const char* name;
        euler_angles angles;
        int kind;
        vec3 expected;  // the image of (1, 2, 3)
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"forwards 90 0 0: (y, -x, z)", {90, 0, 0}, forwards_matrix, {2, -1, 3}},
        {"backwards 90 0 0: (-y, x, z)", {90, 0, 0}, backwards_matrix, {-2, 1, 3}},
        {"forwards 0 90 0: (-z, y, x)", {0, 90, 0}, forwards_matrix, {-3, 2, 1}},
        {"forwards 0 0 90: (y, -x, z)", {0, 0, 90}, forwards_matrix, {2, -1, 3}},
        {"backwards 0 90 0: (z, y, -x)", {0, 90, 0}, backwards_matrix, {3, 2, -1}},
        {"forwards 0 0 0", {0, 0, 0}, forwards_matrix, {1, 2, 3}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        matrix3 m{};
        ASSERT_TRUE(euler_matrix(c.angles, c.kind, m));
        vec3 out;
        apply_matrix(m, {1, 2, 3}, out);
        EXPECT_NEAR(out.x, c.expected.x, 1e-12);
        EXPECT_NEAR(out.y, c.expected.y, 1e-12);
        EXPECT_NEAR(out.z, c.expected.z, 1e-12);
    }
    // The degree factor is not exactly pi/180: cos 90 degrees is about 2.6e-14, not 0.
    matrix3 m{};
    euler_matrix({90, 0, 0}, forwards_matrix, m);
    EXPECT_NEAR(m[0][0], 2.6e-14, 0.1e-14);
}

TEST(EulerMatrix, cell_matrix_has_the_cell_angles_between_its_columns) {
    const euler_angles cells[] = {{90, 90, 90}, {90, 90, 120},   {80, 95, 105},
                                  {60, 60, 60}, {110, 100, 120}, {30, 40, 50}};
    for (const auto& cell : cells) {
        SCOPED_TRACE(std::to_string(cell.alpha) + " " + std::to_string(cell.beta) + " " +
                     std::to_string(cell.gamma));
        matrix3 m{};
        ASSERT_TRUE(euler_matrix(cell, cell_matrix, m));
        const vec3 a{m[0][0], m[1][0], m[2][0]}, b{m[0][1], m[1][1], m[2][1]},
            c{m[0][2], m[1][2], m[2][2]};
        EXPECT_NEAR(length(a), 1, 1e-14);
        EXPECT_NEAR(length(b), 1, 1e-14);
        EXPECT_NEAR(length(c), 1, 1e-14);
        EXPECT_NEAR(std::acos(dot(b, c)) / degree_factor, cell.alpha, 1e-9);
        EXPECT_NEAR(std::acos(dot(a, c)) / degree_factor, cell.beta, 1e-9);
        EXPECT_NEAR(std::acos(dot(a, b)) / degree_factor, cell.gamma, 1e-9);
        // c along z, b in the yz plane, a right-handed set.
        EXPECT_EQ(c.x, 0.0);
        EXPECT_EQ(c.y, 0.0);
        EXPECT_EQ(b.x, 0.0);
        EXPECT_GT(dot(a, cross(b, c)), 0.0);
    }
    matrix3 m{};
    ASSERT_TRUE(euler_matrix({90, 90, 90}, cell_matrix, m));
    const matrix3 identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    EXPECT_LT(max_difference(m, identity), 1e-13);
}

TEST(EulerMatrix, refuses_unknown_kinds_and_impossible_cells) {
    struct test_case {
        const char* name;
        euler_angles angles;
        int kind;
        bool ok;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"kind 0", {10, 20, 30}, 0, false},
        {"kind 4", {10, 20, 30}, 4, false},
        {"kind -1", {10, 20, 30}, -1, false},
        {"cell with first angle 0", {0, 90, 90}, cell_matrix, false},
        {"cell with second angle 0", {90, 0, 90}, cell_matrix, false},
        {"cell with third angle 0 closes (flat)", {90, 90, 0}, cell_matrix, true},
        // sin(180 degrees) with the degree factor is about 5.3e-14, not 0.
        {"cell with an angle of 180", {180, 90, 90}, cell_matrix, true},
        {"cell angles that cannot close", {10, 10, 90}, cell_matrix, false},
        {"cell angles summing past 360", {150, 150, 150}, cell_matrix, false},
        {"cell with a NaN angle", {std::nan(""), 90, 90}, cell_matrix, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        matrix3 m{};
        m[1][1] = 42;  // untouched on refusal
        EXPECT_EQ(euler_matrix(c.angles, c.kind, m), c.ok);
        if (!c.ok) {
            EXPECT_EQ(m[1][1], 42);
        } else {
            for (const auto& row : m)
                for (double v : row) EXPECT_TRUE(std::isfinite(v));
        }
    }
}

TEST(EulerClipboard, text_and_proposal) {
    EXPECT_EQ(euler_clipboard_text({30, 40, 50}), "30.0000000000  40.0000000000  50.0000000000");
    EXPECT_EQ(euler_clipboard_text({0, 0, 0}), "0.0000000000  0.0000000000  0.0000000000");

    struct test_case {
        const char* name;
        std::optional<std::string> text;
        euler_angles expected;
    };
    const std::string blanks194(194, ' ');
    // clang-format off
    const std::vector<test_case> cases = {
        {"no text", std::nullopt, {0, 0, 0}},
        {"empty", std::string(), {0, 0, 0}},
        {"what Calculate Euler angles writes", "30.0000000000  40.0000000000  50.0000000000",
         {30, 40, 50}},
        {"numbers then a word", "12.5 7 3 degrees", {12.5, 7, 3}},
        {"commas", "12.5, 7, 3", {0, 0, 0}},
        {"two numbers", "12.5 7", {0, 0, 0}},
        {"tabs and a sign", "\t-1e1\t+2.5 3", {-10, 2.5, 3}},
        {"single precision on the way", "123.4567890123  1.1  2.2",
         {static_cast<double>(123.4567890123f), static_cast<double>(1.1f),
          static_cast<double>(2.2f)}},
        {"first line only", "1 2 3\r\nfoo", {1, 2, 3}},
        {"numbers split across lines", "1 2\r\n3", {0, 0, 0}},
        {"LF alone ends the line", "1 2\n3", {0, 0, 0}},
        {"199 characters are read", blanks194 + "1 2 3", {1, 2, 3}},
        {"the 200th character is not", blanks194 + " 1 2 3", {0, 0, 0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const euler_angles got = clipboard_euler_angles(c.text);
        EXPECT_EQ(got.alpha, c.expected.alpha);
        EXPECT_EQ(got.beta, c.expected.beta);
        EXPECT_EQ(got.gamma, c.expected.gamma);
    }
}

}  // namespace
}  // namespace orvix
