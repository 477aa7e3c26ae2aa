// Euler angles of axis systems, rotation and cell matrices, and the clipboard proposal.
#include "axes/euler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace orvix {
namespace {

// The largest difference of two matrices, the second given as a product of rotations about
// z ('z'), y ('y') by the angles given, built here from their textbook forms.
double difference(const matrix3& m, const std::string& axes, const std::vector<double>& degrees) {
    matrix3 p = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (std::size_t r = 0; r < axes.size(); ++r) {
        const double c = std::cos(degrees[r] * degree_factor),
                     s = std::sin(degrees[r] * degree_factor);
        const matrix3 f = axes[r] == 'z' ? matrix3{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}}
                                         : matrix3{{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
        matrix3 q{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) q[i][j] += p[i][k] * f[k][j];
        p = q;
    }
    double worst = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) worst = std::max(worst, std::fabs(m[i][j] - p[i][j]));
    return worst;
}

// Over a grid that includes both poles: backwards is Rz(alpha) Ry(beta) Rz(gamma), forwards
// (the rows of the new axes) undoes it; the angles read from the forwards rows, in their
// ranges, rebuild the matrix. An arc cosine next to +-1 is good to sqrt(2 eps) radians.
TEST(Euler, round_trips_over_a_grid_of_angles) {
    const vec3 v{0.3, -1.7, 2.9};
    for (int beta = 0; beta <= 180; beta += 15)
        for (int alpha = 0; alpha < 360; alpha += 30)
            for (int gamma = 0; gamma < 360; gamma += 30) {
                SCOPED_TRACE(std::to_string(alpha) + " " + std::to_string(beta) + " " +
                             std::to_string(gamma));
                matrix3 f{}, b{};
                ASSERT_TRUE(
                    euler_matrix({double(alpha), double(beta), double(gamma)}, forwards_matrix, f));
                ASSERT_TRUE(euler_matrix({double(alpha), double(beta), double(gamma)},
                                         backwards_matrix, b));
                EXPECT_LT(difference(b, "zyz", {double(alpha), double(beta), double(gamma)}),
                          1e-15);
                vec3 turned, back;
                apply_matrix(f, v, turned);
                apply_matrix(b, turned, back);
                EXPECT_LT(
                    std::fabs(back.x - v.x) + std::fabs(back.y - v.y) + std::fabs(back.z - v.z),
                    1e-14);

                axis_system axes;
                for (std::size_t i = 0; i < 3; ++i) axes.row[i] = {f[i][0], f[i][1], f[i][2]};
                euler_angles got;
                axes_to_euler(axes, got);
                EXPECT_LT(difference(b, "zyz", {got.alpha, got.beta, got.gamma}), 5e-8);
                EXPECT_NEAR(got.beta, beta, 3e-6);
                EXPECT_TRUE(got.alpha >= 0 && got.alpha <= 360 && got.gamma >= 0 &&
                            got.gamma <= 360);
                EXPECT_TRUE(got.alpha == 0 || (beta != 0 && beta != 180));
            }
}

// Unknown kinds and cells that cannot close are refused, the matrix untouched. (The cell
// matrix itself is checked through the fractional-to-Cartesian matrix built on it.)
TEST(Euler, refusals) {
    const std::pair<euler_angles, int> refused[] = {
        {{10, 20, 30}, 0},           {{10, 20, 30}, 4},
        {{0, 90, 90}, cell_matrix},  {{90, 0, 90}, cell_matrix},
        {{10, 10, 90}, cell_matrix}, {{std::nan(""), 90, 90}, cell_matrix}};
    for (const auto& [angles, kind] : refused) {
        matrix3 m{};
        m[1][1] = 42;
        EXPECT_FALSE(euler_matrix(angles, kind, m))
            << angles.alpha << " " << angles.beta << " " << kind;
        EXPECT_EQ(m[1][1], 42);
    }
}

TEST(Euler, clipboard_proposal) {
    const std::string blanks(194, ' ');
    const std::pair<std::optional<std::string>, euler_angles> cases[] = {
        {std::nullopt, {0, 0, 0}},         {"12.5 7 3 degrees", {12.5, 7, 3}},
        {"\t-1e1\t+2.5 3", {-10, 2.5, 3}}, {"12.5, 7, 3", {0, 0, 0}},
        {"1.1 2 3", {double(1.1f), 2, 3}}, {"1 2 3\r\nfoo", {1, 2, 3}},
        {blanks + "1 2 3", {1, 2, 3}},  // 199 characters are read, not 200
        {blanks + " 1 2 3", {0, 0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        const euler_angles got = clipboard_euler_angles(text);
        EXPECT_TRUE(got.alpha == expected.alpha && got.beta == expected.beta &&
                    got.gamma == expected.gamma)
            << text.value_or("(none)");
    }
}

}  // namespace
}  // namespace orvix
