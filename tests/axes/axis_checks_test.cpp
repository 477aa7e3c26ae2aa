// The axis-system checks: tolerances, the questions and messages they show, and the
// changes they make to the rows.
#include "axes/axis_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "actions/messages.h"
#include "axes/axis_questions.h"
#include "platform/scripted_services.h"

namespace orvix {
namespace {

constexpr double pi = std::numbers::pi;

axis_system rows(vec3 x, vec3 y, vec3 z) {
    return axis_system{{x, y, z}};
}

// Within the tolerance; a value that is not finite must be the very same (NaN for NaN).
void expect_near(double got, double want, double tolerance) {
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << got;
    } else if (std::isinf(want)) {
        EXPECT_EQ(got, want);
    } else {
        EXPECT_NEAR(got, want, tolerance);
    }
}

void expect_rows_near(const axis_system& got, const axis_system& want, double tolerance) {
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        expect_near(got.row[i].x, want.row[i].x, tolerance);
        expect_near(got.row[i].y, want.row[i].y, tolerance);
        expect_near(got.row[i].z, want.row[i].z, tolerance);
    }
}

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// A unit vector in the xy plane at `degrees` from x (exact pi, independent of the code).
vec3 in_xy_plane(double degrees) {
    return {std::cos(degrees * pi / 180.0), std::sin(degrees * pi / 180.0), 0.0};
}

TEST(NormalizeVector, divides_by_the_length_and_refuses_a_null_vector) {
    struct test_case {
        const char* name;
        vec3 v;
        bool ok;
        vec3 expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"3-4-0", {3, 4, 0}, true, {0.6, 0.8, 0}},
        {"negative", {0, -2, 0}, true, {0, -1, 0}},
        {"tiny but not zero", {0, 0, 1e-150}, true, {0, 0, 1}},
        // The length is taken as sqrt(x*x + y*y + z*z): a square below the smallest double
        // makes the length exactly 0.
        {"length underflowing to 0", {0, 0, 1e-300}, false, {0, 0, 1e-300}},
        {"null", {0, 0, 0}, false, {0, 0, 0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        vec3 v = c.v;
        EXPECT_EQ(normalize_or_tell(ui, v), c.ok);
        EXPECT_NEAR(v.x, c.expected.x, 1e-15);
        EXPECT_NEAR(v.y, c.expected.y, 1e-15);
        EXPECT_NEAR(v.z, c.expected.z, 1e-15);
        if (c.ok) {
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, msg::null_vector);
            EXPECT_EQ(ui.messages[0].caption, "Orvix");
            EXPECT_EQ(ui.messages[0].icon, message_icon::error);
            EXPECT_EQ(ui.messages[0].buttons, message_buttons::ok);
        }
    }
}

TEST(AngleBetween, uses_the_degree_factor_and_clamps_parallel_rows) {
    // The degree factor is a hair smaller than pi/180, so a right angle comes out a hair
    // above 90: the program's own numbers depend on this constant.
    const double right = angle_between({1, 0, 0}, {0, 1, 0});
    EXPECT_NE(right, 90.0);
    EXPECT_NEAR(right, 90.0 * (pi / 180.0) / degree_factor, 1e-12);
    EXPECT_NEAR(angle_between({1, 0, 0}, {-1, 0, 0}), 180.0, 1e-11);

    // Parallel rows whose cosine rounds to just above 1 must give exactly 0, not NaN.
    int beyond_one = 0;
    for (int i = 1; i < 200; ++i) {
        const vec3 v{0.1 * i, 0.37 + 0.01 * i, 1.0 / i};
        const double raw = dot(v, v) / length(v) / length(v);
        SCOPED_TRACE(i);
        if (raw > 1.0) {
            ++beyond_one;
            EXPECT_EQ(angle_between(v, v), 0.0);
        } else {
            EXPECT_LT(angle_between(v, v), 2e-6);  // 1 - 2.2e-16 is 1.2e-6 degrees
        }
    }
    EXPECT_GT(beyond_one, 0) << "no case exercised the clamp";
}

TEST(CheckUnitVectors, asks_once_and_normalises) {
    struct test_case {
        const char* name;
        axis_system axes;
        std::vector<answer> answers;
        bool ok;
        std::vector<std::string> messages;
        axis_system expected;
    };
    const auto& question = msg::not_unit_vectors;
    const auto& null = msg::null_vector;
    const auto& wrong = msg::wrong_data_format;
    const double l = std::sqrt(1.01);
    // clang-format off
    const std::vector<test_case> cases = {
        {"unit rows pass silently and stay exactly", rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1}), {},
         true, {}, rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"length 1.0008 passes without a question but is divided",
         rows({1.0008, 0, 0}, {0, 1, 0}, {0, 0, 1}), {}, true, {},
         rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"length 1.0012 is asked about", rows({1, 0, 0}, {0, 1.0012, 0}, {0, 0, 1}), {answer::ok},
         true, {std::string(question)}, rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"length 0.9988 is asked about", rows({1, 0, 0}, {0, 1, 0}, {0, 0, 0.9988}), {answer::ok},
         true, {std::string(question)}, rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"several deviating rows give one question", rows({2, 0, 0}, {0, 3, 0}, {0, 0, 4}),
         {answer::ok}, true, {std::string(question)}, rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"cancel leaves the rows unchanged", rows({1, 0, 0}, {0.1, 1, 0}, {0, 0, 1}),
         {answer::cancel}, false, {std::string(question)}, rows({1, 0, 0}, {0.1, 1, 0}, {0, 0, 1})},
        {"OK normalises a row of length 1.005", rows({1, 0, 0}, {0.1, 1, 0}, {0, 0, 1}),
         {answer::ok}, true, {std::string(question)},
         rows({1, 0, 0}, {0.1 / std::sqrt(1.01), 1 / l, 0}, {0, 0, 1})},
        {"NULL row: question first, NULL message after OK", rows({1, 0, 0}, {0, 0, 0}, {0, 0, 1}),
         {answer::ok}, false, {std::string(question), std::string(null)},
         rows({1, 0, 0}, {0, 0, 0}, {0, 0, 1})},
        {"rows before a NULL row stay normalised, rows after it unchanged",
         rows({2, 0, 0}, {0, 0, 0}, {0, 0, 3}), {answer::ok}, false,
         {std::string(question), std::string(null)}, rows({1, 0, 0}, {0, 0, 0}, {0, 0, 3})},
        // No length of such a row differs from 1 by more than the tolerance, and no division
        // can make it a unit vector: refused before anything else, every row left as it is.
        {"NaN is refused", rows({nan, 0, 0}, {0, 1, 0}, {0, 0, 1}), {}, false, {std::string(wrong)},
         rows({nan, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"infinity is refused before a question", rows({2, 0, 0}, {0, 1, 0}, {0, 0, -inf}), {},
         false, {std::string(wrong)}, rows({2, 0, 0}, {0, 1, 0}, {0, 0, -inf})},
        {"NaN in y of the second row", rows({1, 0, 0}, {0, nan, 0}, {0, 0, 1}), {}, false,
         {std::string(wrong)}, rows({1, 0, 0}, {0, nan, 0}, {0, 0, 1})},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        ui.answers.assign(c.answers.begin(), c.answers.end());
        axis_system axes = c.axes;
        EXPECT_EQ(check_unit_vectors(ui, axes), c.ok);
        EXPECT_EQ(ui.message_texts(), c.messages);
        expect_rows_near(axes, c.expected, 1e-15);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.caption, "Orvix");
            if (m.text == question) {
                EXPECT_EQ(m.icon, message_icon::question);
                EXPECT_EQ(m.buttons, message_buttons::ok_cancel);
            } else {
                EXPECT_EQ(m.icon, message_icon::error);
                EXPECT_EQ(m.buttons, message_buttons::ok);
            }
        }
        EXPECT_TRUE(ui.answers.empty()) << "a scripted answer was not asked for";
    }
}

TEST(CheckOrthogonality, names_the_first_failing_pair) {
    struct test_case {
        const char* name;
        axis_system axes;
        std::string failing_pair;  // empty when all pass
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"unit axes", rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1}), ""},
        {"x, y at 90.15 degrees pass", rows({1, 0, 0}, in_xy_plane(90.15), {0, 0, 1}), ""},
        {"x, y at 89.85 degrees pass", rows({1, 0, 0}, in_xy_plane(89.85), {0, 0, 1}), ""},
        {"x, y at 90.25 degrees fail", rows({1, 0, 0}, in_xy_plane(90.25), {0, 0, 1}), "x and y"},
        {"x, y at 89.75 degrees fail", rows({1, 0, 0}, in_xy_plane(89.75), {0, 0, 1}), "x and y"},
        {"x, z fail although y, z pass", rows({1, 0, 0}, {0, 1, 0}, {0.6, 0, 0.8}), "x and z"},
        {"x, y and x, z fail: only x and y", rows({1, 0, 0}, {0.6, 0.8, 0}, {0.6, 0, 0.8}),
         "x and y"},
        {"only y, z fail", rows({1, 0, 0}, {0, 1, 0}, {0, 0.6, 0.8}), "y and z"},
        {"y equal to z", rows({1, 0, 0}, {0, 0, 1}, {0, 0, 1}), "y and z"},
        {"an angle that is no number", rows({1, 0, 0}, {0, 1, 0}, {nan, 0, 1}), "x and z"},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (answer a : {answer::ok, answer::cancel}) {
            SCOPED_TRACE(std::string(c.name) + (a == answer::ok ? " / OK" : " / Cancel"));
            scripted_services ui;
            ui.answers.push_back(a);
            EXPECT_EQ(check_orthogonality(ui, c.axes), c.failing_pair.empty());
            if (c.failing_pair.empty()) {
                EXPECT_TRUE(ui.messages.empty());
                continue;
            }
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text,
                      "The unit vectors " + c.failing_pair + " are not orthogonal!  Check Data!");
            EXPECT_EQ(ui.messages[0].caption, "Orvix");
            EXPECT_EQ(ui.messages[0].icon, message_icon::question);
            EXPECT_EQ(ui.messages[0].buttons, message_buttons::ok_cancel);
        }
    }
}

TEST(CheckHandedness, offers_axis_inversion_with_z_proposed) {
    struct test_case {
        const char* name;
        axis_system axes;
        int offered;                // -1: no dialog
        std::optional<int> chosen;  // nothing: Cancel
        bool ok;
        axis_system expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"right-handed: no dialog", rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1}), -1, {}, true,
         rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"right-handed, tilted 1.5 degrees: no dialog",
         rows({1, 0, 0}, {0, 1, 0}, {0, std::sin(1.5 * pi / 180), std::cos(1.5 * pi / 180)}), -1,
         {}, true,
         rows({1, 0, 0}, {0, 1, 0}, {0, std::sin(1.5 * pi / 180), std::cos(1.5 * pi / 180)})},
        {"z reversed, OK on the proposal", rows({1, 0, 0}, {0, 1, 0}, {0, 0, -1}), 2, 2, true,
         rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1})},
        {"x and y exchanged, X inverted", rows({0, 1, 0}, {1, 0, 0}, {0, 0, 1}), 2, 0, true,
         rows({0, -1, 0}, {1, 0, 0}, {0, 0, 1})},
        {"x and y exchanged, Y inverted", rows({0, 1, 0}, {1, 0, 0}, {0, 0, 1}), 2, 1, true,
         rows({0, 1, 0}, {-1, 0, 0}, {0, 0, 1})},
        {"cancel", rows({0, 1, 0}, {1, 0, 0}, {0, 0, 1}), 2, {}, false,
         rows({0, 1, 0}, {1, 0, 0}, {0, 0, 1})},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        int offered = -1;
        ui.on_axis_inversion = [&](int& axis) {
            offered = axis;
            if (!c.chosen) return dialog_result::cancel;
            axis = *c.chosen;
            return dialog_result::ok;
        };
        axis_system axes = c.axes;
        EXPECT_EQ(check_handedness(ui, axes), c.ok);
        EXPECT_EQ(offered, c.offered);
        EXPECT_TRUE(ui.messages.empty());
        expect_rows_near(axes, c.expected, 0.0);
        if (c.ok) {
            // After an inversion the system is right-handed: no second dialog.
            scripted_services again;
            EXPECT_TRUE(check_handedness(again, axes));
            EXPECT_TRUE(again.dialogs_shown.empty());
        }
    }
}

}  // namespace
}  // namespace orvix
