// Euler angles of axis systems, rotation and cell matrices, and the clipboard proposal.
#include "axes/euler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace orvix {
namespace {

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

// Textbook rotations about z and y, built without euler_matrix.
matrix3 rotation(char axis, double degrees) {
    const double c = std::cos(degrees * degree_factor), s = std::sin(degrees * degree_factor);
    if (axis == 'z') return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
    return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}

matrix3 matrix_of(const euler_angles& angles, int kind) {
    matrix3 m{};
    EXPECT_TRUE(euler_matrix(angles, kind, m));
    return m;
}

double circular_difference(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

// Over a grid that includes both poles: backwards is Rz(alpha) Ry(beta) Rz(gamma) and
// forwards its transpose; a position turned forwards and back is unchanged; the angles read
// from the forwards rows rebuild the matrix, and are the angles it was made with where they
// are unique. An arc cosine next to +-1 is only good to sqrt(2 eps) radians (1.2e-6 degrees).
TEST(Euler, round_trips_over_a_grid_of_angles) {
    const vec3 v{0.3, -1.7, 2.9};
    for (int beta = 0; beta <= 180; beta += 15)
        for (int alpha = 0; alpha < 360; alpha += 30)
            for (int gamma = 0; gamma < 360; gamma += 30) {
                SCOPED_TRACE(std::to_string(alpha) + " " + std::to_string(beta) + " " +
                             std::to_string(gamma));
                const euler_angles angles{double(alpha), double(beta), double(gamma)};
                const matrix3 f = matrix_of(angles, forwards_matrix);
                const matrix3 b = matrix_of(angles, backwards_matrix);
                const matrix3 textbook = product(product(rotation('z', alpha), rotation('y', beta)),
                                                 rotation('z', gamma));
                EXPECT_LT(max_difference(b, textbook), 1e-15);
                for (int i = 0; i < 3; ++i)
                    for (int j = 0; j < 3; ++j) EXPECT_EQ(b[i][j], f[j][i]);
                vec3 turned, back;
                apply_matrix(f, v, turned);
                apply_matrix(b, turned, back);
                EXPECT_NEAR(back.x, v.x, 1e-14);
                EXPECT_NEAR(back.y, v.y, 1e-14);
                EXPECT_NEAR(back.z, v.z, 1e-14);

                axis_system axes;
                for (std::size_t i = 0; i < 3; ++i) axes.row[i] = {f[i][0], f[i][1], f[i][2]};
                euler_angles got;
                axes_to_euler(axes, got);
                EXPECT_LT(max_difference(matrix_of(got, forwards_matrix), f), 5e-8);
                EXPECT_NEAR(got.beta, beta, 3e-6);
                if (beta == 0 || beta == 180) {
                    EXPECT_EQ(got.alpha, 0.0);
                } else {
                    EXPECT_LT(circular_difference(got.alpha, alpha), 3e-6);
                    EXPECT_LT(circular_difference(got.gamma, gamma), 3e-6);
                }
                EXPECT_TRUE(got.alpha >= 0 && got.alpha < 360 && got.gamma >= 0 &&
                            got.gamma < 360 + 1e-9);
            }
}

TEST(Euler, cell_matrix_has_the_cell_angles_between_its_columns) {
    const euler_angles cells[] = {{90, 90, 90}, {90, 90, 120}, {80, 95, 105}, {30, 40, 50}};
    for (const auto& cell : cells) {
        SCOPED_TRACE(std::to_string(cell.alpha) + " " + std::to_string(cell.beta) + " " +
                     std::to_string(cell.gamma));
        const matrix3 m = matrix_of(cell, cell_matrix);
        const vec3 a{m[0][0], m[1][0], m[2][0]}, b{m[0][1], m[1][1], m[2][1]},
            c{m[0][2], m[1][2], m[2][2]};
        EXPECT_NEAR(length(a), 1, 1e-14);
        EXPECT_NEAR(length(b), 1, 1e-14);
        EXPECT_NEAR(std::acos(dot(b, c)) / degree_factor, cell.alpha, 1e-9);
        EXPECT_NEAR(std::acos(dot(a, c)) / degree_factor, cell.beta, 1e-9);
        EXPECT_NEAR(std::acos(dot(a, b)) / degree_factor, cell.gamma, 1e-9);
        EXPECT_TRUE(c.x == 0 && c.y == 0 && c.z == 1 && b.x == 0);  // c along z, b in yz
        EXPECT_GT(dot(a, cross(b, c)), 0.0);
    }
    struct refusal {
        euler_angles angles;
        int kind;
        bool ok;
    };
    const refusal refusals[] = {
        {{10, 20, 30}, 0, false},
        {{10, 20, 30}, 4, false},
        {{0, 90, 90}, cell_matrix, false},
        {{90, 0, 90}, cell_matrix, false},
        {{90, 90, 0}, cell_matrix, true},
        {{10, 10, 90}, cell_matrix, false},
        {{std::nan(""), 90, 90}, cell_matrix, false},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(std::to_string(c.angles.alpha) + " kind " + std::to_string(c.kind));
        matrix3 m{};
        m[1][1] = 42;
        EXPECT_EQ(euler_matrix(c.angles, c.kind, m), c.ok);
        EXPECT_EQ(m[1][1] == 42, !c.ok);
    }
}

TEST(Euler, clipboard_proposal) {
    const std::string blanks(194, ' ');
    struct test_case {
        std::optional<std::string> text;
        euler_angles expected;
    };
    const test_case cases[] = {
        {std::nullopt, {0, 0, 0}},
        {"12.5 7 3 degrees", {12.5, 7, 3}},
        {"\t-1e1\t+2.5 3", {-10, 2.5, 3}},
        {"12.5, 7, 3", {0, 0, 0}},
        {"12.5 7", {0, 0, 0}},
        {"1.1 2 3", {double(1.1f), 2, 3}},
        {"1 2 3\r\nfoo", {1, 2, 3}},
        {"1 2\n3", {0, 0, 0}},
        {blanks + "1 2 3", {1, 2, 3}},  // 199 characters are read
        {blanks + " 1 2 3", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.value_or("(none)"));
        const euler_angles got = clipboard_euler_angles(c.text);
        EXPECT_EQ(got.alpha, c.expected.alpha);
        EXPECT_EQ(got.beta, c.expected.beta);
        EXPECT_EQ(got.gamma, c.expected.gamma);
    }
}

}  // namespace
}  // namespace orvix
