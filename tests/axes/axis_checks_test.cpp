// The axis-system checks: what each finds, and what the whole check leaves of the rows for
// each answer of the user (cases in tests/data/axes).
#include "axes/axis_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "axes/axis_questions.h"
#include "platform/scripted_services.h"
#include "support/case_file.h"

namespace orvix {
namespace {

axis_system rows_of(const std::string& field) {
    const std::vector<double> v = test::numbers_of(field);
    EXPECT_EQ(v.size(), 9u);
    return {{vec3{v[0], v[1], v[2]}, vec3{v[3], v[4], v[5]}, vec3{v[6], v[7], v[8]}}};
}

TEST(AxisChecks, each_failure_kind) {
    for (const auto& row : test::read_cases("axes/axis_checks.tsv")) {
        SCOPED_TRACE(row[0]);
        const axis_system axes = rows_of(row[1]);
        std::istringstream expected(row[2]);
        bool finite, deviates, right_handed;
        std::string oblique;
        expected >> finite >> deviates >> oblique >> right_handed;
        std::replace(oblique.begin(), oblique.end(), '_', ' ');
        EXPECT_EQ(is_finite(axes), finite);
        EXPECT_EQ(deviates_from_unit_length(axes), deviates);
        EXPECT_EQ(std::string(first_oblique_pair(axes) ? first_oblique_pair(axes) : "-"), oblique);
        EXPECT_EQ(is_right_handed(axes), right_handed);
    }
}

// Unit length (one question), right angles, handedness (Z proposed for inversion).
TEST(AxisChecks, what_the_check_leaves_for_each_answer) {
    for (const auto& row : test::read_cases("axes/axis_answers.tsv")) {
        SCOPED_TRACE(row[0]);
        std::istringstream script(row[2]);
        std::string normalise;
        int invert;
        bool ok;
        script >> normalise >> invert >> ok;
        scripted_services ui;
        ui.answers.push_back(normalise == "ok" ? answer::ok : answer::cancel);
        ui.on_axis_inversion = [&](int& axis) {
            EXPECT_EQ(axis, 2);
            axis = invert;
            return invert < 0 ? dialog_result::cancel : dialog_result::ok;
        };
        axis_system axes = rows_of(row[1]);
        EXPECT_EQ(check_axis_system(ui, axes), ok);
        const axis_system expected = rows_of(row[3]);
        for (std::size_t i = 0; i < 3; ++i)
            for (const auto member : {&vec3::x, &vec3::y, &vec3::z}) {
                const double got = axes.row[i].*member, want = expected.row[i].*member;
                EXPECT_TRUE(std::isnan(want) ? std::isnan(got) : std::fabs(got - want) <= 1e-15)
                    << "row " << i << ": " << got << " for " << want;
            }
    }
}

// The length is sqrt(x*x + y*y + z*z): below about 1e-154 its square underflows to 0 and the
// vector counts as NULL. A cosine rounded beyond 1 must give an angle of 0, not NaN. Only
// rows 0 to 2 can be inverted.
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
    axis_system axes{{vec3{1, 0, 0}, vec3{0, 1, 0}, vec3{0, 0, 1}}};
    EXPECT_FALSE(invert_axis(axes, 3) || invert_axis(axes, -1));
    EXPECT_TRUE(invert_axis(axes, 1) && axes.row[1].y == -1 && axes.row[0].x == 1);
}

}  // namespace
}  // namespace orvix
