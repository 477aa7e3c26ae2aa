// The axis-system checks: what each finds, and what the whole check leaves of the rows for
// each answer of the user.
#include "axes/axis_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "axes/axis_questions.h"
#include "platform/scripted_services.h"

namespace orvix {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

axis_system rows(vec3 x, vec3 y, vec3 z) {
    return axis_system{{x, y, z}};
}

// A unit vector at `degrees` from x towards `towards` (exact pi, independent of the code).
vec3 tilted(double degrees, vec3 towards = {0, 1, 0}) {
    const double c = std::cos(degrees * std::numbers::pi / 180),
                 s = std::sin(degrees * std::numbers::pi / 180);
    return {c + s * towards.x, s * towards.y, s * towards.z};
}

TEST(AxisChecks, each_failure_kind) {
    struct test_case {
        const char* name;
        axis_system axes;
        bool finite, deviates;
        const char* oblique;  // first failing pair, or null
        bool right_handed;
    };
    const vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    // clang-format off
    const test_case cases[] = {
        {"unit axes", rows(x, y, z), true, false, nullptr, true},
        {"length 1.0008 passes", rows({1.0008, 0, 0}, y, z), true, false, nullptr, true},
        {"length 1.0012 deviates", rows(x, {0, 1.0012, 0}, z), true, true, nullptr, true},
        {"length 0.9988 deviates", rows(x, y, {0, 0, 0.9988}), true, true, nullptr, true},
        {"NaN", rows(x, {0, nan, 0}, z), false, false, "x and y", false},
        {"infinity", rows(x, y, {0, 0, -inf}), false, true, "x and z", false},
        {"x, y at 90.15 degrees pass", rows(x, tilted(90.15), z), true, false, nullptr, true},
        {"x, y at 89.75 degrees fail", rows(x, tilted(89.75), z), true, false, "x and y", true},
        {"x, y at 90.25 degrees fail", rows(x, tilted(90.25), z), true, false, "x and y", true},
        {"x, z only", rows(x, y, tilted(36.87, {0, 0, 1})), true, false, "x and z", false},
        {"y, z only", rows(x, y, {0, 0.6, 0.8}), true, false, "y and z", false},
        {"z reversed", rows(x, y, {0, 0, -1}), true, false, nullptr, false},
        {"z tilted 1.9 degrees", rows(x, y, {0, std::sin(0.0332), std::cos(0.0332)}), true, false,
         "y and z", true},
        {"z tilted 2.1 degrees", rows(x, y, {0, std::sin(0.0367), std::cos(0.0367)}), true, false,
         "y and z", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(is_finite(c.axes), c.finite);
        EXPECT_EQ(deviates_from_unit_length(c.axes), c.deviates);
        const char* oblique = first_oblique_pair(c.axes);
        EXPECT_EQ(std::string(oblique ? oblique : ""), std::string(c.oblique ? c.oblique : ""));
        EXPECT_EQ(is_right_handed(c.axes), c.right_handed);
    }
}

// The whole check: unit length (one question), right angles, handedness (the axis to invert).
TEST(AxisChecks, what_the_check_leaves_for_each_answer) {
    struct test_case {
        const char* name;
        axis_system axes;
        answer normalise;  // the answer to the unit-length question, if asked
        int invert;        // the axis chosen for inversion; -1 cancels
        bool ok;
        axis_system expected;
    };
    const vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    const double l = std::sqrt(1.01);
    // clang-format off
    const test_case cases[] = {
        {"unit rows stay", rows(x, y, z), answer::cancel, -1, true, rows(x, y, z)},
        {"1.0008 is divided without a question", rows({1.0008, 0, 0}, y, z), answer::cancel, -1,
         true, rows(x, y, z)},
        {"cancel leaves the rows", rows(x, {2, 0.1, 0}, z), answer::cancel, -1, false,
         rows(x, {2, 0.1, 0}, z)},
        {"OK normalises, then the angle fails", rows(x, {1, 0.1, 0}, z), answer::ok, -1, false,
         rows(x, {1 / l, 0.1 / l, 0}, z)},
        {"rows after a NULL row stay", rows({2, 0, 0}, {0, 0, 0}, {0, 0, 3}), answer::ok, -1,
         false, rows(x, {0, 0, 0}, {0, 0, 3})},
        {"NaN refused before a question", rows({nan, 0, 0}, {0, 2, 0}, z), answer::ok, -1, false,
         rows({nan, 0, 0}, {0, 2, 0}, z)},
        {"z reversed, Z inverted", rows(x, y, {0, 0, -1}), answer::ok, 2, true, rows(x, y, z)},
        {"x and y exchanged, X inverted", rows(y, x, z), answer::ok, 0, true,
         rows({0, -1, 0}, x, z)},
        {"x and y exchanged, Y inverted", rows(y, x, z), answer::ok, 1, true,
         rows(y, {-1, 0, 0}, z)},
        {"inversion cancelled", rows(y, x, z), answer::ok, -1, false, rows(y, x, z)},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        ui.answers.push_back(c.normalise);
        int proposed = -1;
        ui.on_axis_inversion = [&](int& axis) {
            proposed = axis;
            axis = c.invert;
            return c.invert < 0 ? dialog_result::cancel : dialog_result::ok;
        };
        axis_system axes = c.axes;
        EXPECT_EQ(check_axis_system(ui, axes), c.ok);
        if (c.invert >= 0) {
            EXPECT_EQ(proposed, 2) << "Z is proposed";
        }
        for (std::size_t i = 0; i < 3; ++i) {
            const vec3 &got = axes.row[i], &want = c.expected.row[i];
            EXPECT_TRUE(std::isnan(want.x) ? std::isnan(got.x) : std::fabs(got.x - want.x) < 1e-15);
            EXPECT_NEAR(got.y, want.y, 1e-15);
            EXPECT_NEAR(got.z, want.z, 1e-15);
        }
    }
}

// The length is sqrt(x*x + y*y + z*z): below about 1e-154 its square underflows to 0 and the
// vector counts as NULL. A cosine rounded beyond 1 must give an angle of 0, not NaN.
TEST(AxisChecks, vector_routines_at_their_limits) {
    vec3 tiny{0, 0, 1e-150}, underflow{0, 0, 1e-300};
    EXPECT_TRUE(normalize_vector(tiny));
    EXPECT_EQ(tiny.z, 1.0);
    EXPECT_FALSE(normalize_vector(underflow));
    EXPECT_EQ(underflow.z, 1e-300);
    int beyond_one = 0;
    for (int i = 1; i < 200; ++i) {
        const vec3 v{0.1 * i, 0.37 + 0.01 * i, 1.0 / i};
        if (dot(v, v) / length(v) / length(v) > 1.0) {
            ++beyond_one;
            EXPECT_EQ(angle_between(v, v), 0.0) << i;
        }
    }
    EXPECT_GT(beyond_one, 0);
    EXPECT_NEAR(angle_between({1, 0, 0}, {-1, 0, 0}), 180.0, 1e-11);
}

}  // namespace
}  // namespace orvix
