// Calculate Euler angles and the Euler rotations, run as the desktop program runs them,
// through the scripted services.
#include <gtest/gtest.h>

#include <cmath>

#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "axes/euler.h"
#include "axes_test_support.h"
#include "crystal/records.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::atoms_of;
using test::axis_lines;
using test::crlf;
using test::expect_same_atoms;
using test::read_data;
using test::read_file;

const std::string unit_axes = crlf("X 1 0 0\nY 0 1 0\nZ 0 0 1\n");

struct euler_run {
    action_result result;
    std::vector<std::string> messages;
    std::vector<std::string> dialogs;
    std::optional<euler_angles> shown;  // what the Euler Angles dialog was given
    std::optional<std::string> clipboard;
};

euler_run calculate(const std::string& text, std::vector<answer> answers = {},
                    std::function<dialog_result(int&)> inversion = {}) {
    scripted_services ui;
    ui.editor = text;
    ui.answers.assign(answers.begin(), answers.end());
    ui.clipboard = "left alone";
    ui.on_axis_inversion = std::move(inversion);
    euler_run run;
    ui.on_euler_angles = [&](const euler_angles& a) {
        run.shown = a;
        return dialog_result::ok;
    };
    document_state doc;
    run.result = test::run_command(cmd::calculate_euler_angles, ui, doc);
    run.messages = ui.message_texts();
    run.dialogs = ui.dialogs_shown;
    run.clipboard = ui.clipboard;
    for (const auto& m : ui.messages) EXPECT_EQ(m.caption, "Orvix") << m.text;
    EXPECT_TRUE(ui.answers.empty()) << "a scripted answer was not asked for";
    EXPECT_TRUE(ui.proposed_save_names.empty()) << "Calculate Euler angles asks for no result file";
    return run;
}

TEST(CalculateEulerAngles, message_and_dialog_sequences) {
    const std::string wrong = std::string(msg::wrong_data_format);
    const std::string question = std::string(msg::not_unit_vectors);
    const std::string null = std::string(msg::null_vector);
    struct test_case {
        const char* name;
        std::string text;
        std::vector<answer> answers;
        std::optional<int> inversion;  // the axis chosen; nothing is Cancel
        std::vector<std::string> messages;
        std::vector<std::string> dialogs;
        std::optional<euler_angles> angles;  // nothing: no angles, clipboard left alone
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"unit axes", unit_axes, {}, {}, {}, {"Euler Angles"}, euler_angles{0, 0, 0}},
        {"origin lines, comments and a cell line are passed over",
         crlf("5 5 5 90 90 90\n/ comment\nor 1 1 1\nX 0 1 0\n * note\nOR 2 2 2\nY -1 0 0\n"
              "OR 0 0 0\nZ 0 0 1\n"),
         {}, {}, {}, {"Euler Angles"}, euler_angles{0, 0, 90}},
        {"OR1 is an ordinary atom line", crlf("OR1 1 0 0\nY 0 1 0\nZ 0 0 1\nW 0 1 0\n"), {},
         {}, {}, {"Euler Angles"}, euler_angles{0, 0, 0}},
        {"two axis lines", crlf("X 1 0 0\nOR 0 0 0\nY 0 1 0\n"), {}, {}, {wrong}, {}, {}},
        {"no atom lines at all", crlf("/ nothing\n"), {}, {}, {wrong}, {}, {}},
        {"a direction cosine that is no number", crlf("X nan 0 0\nY 0 1 0\nZ 0 0 1\n"), {}, {},
         {wrong}, {}, {}},
        {"three decimals pass and are normalised first",
         crlf("X 0.707 0.707 0\nY -0.707 0.707 0\nZ 0 0 1\n"), {}, {}, {}, {"Euler Angles"},
         euler_angles{0, 0, 45}},
        {"not unit vectors, OK", crlf("X 2 0 0\nY 0 1 0\nZ 0 0 1\n"), {answer::ok}, {},
         {question}, {"Euler Angles"}, euler_angles{0, 0, 0}},
        {"not unit vectors, Cancel", crlf("X 2 0 0\nY 0 1 0\nZ 0 0 1\n"), {answer::cancel}, {},
         {question}, {}, {}},
        {"NULL vector after OK", crlf("X 1 0 0\nY 0 0 0\nZ 0 0 1\n"), {answer::ok}, {},
         {question, null}, {}, {}},
        {"not orthogonal", crlf("X 1 0 0\nY 0 1 0\nZ 0.6 0 0.8\n"), {answer::ok}, {},
         {"The unit vectors x and z are not orthogonal!  Check Data!"}, {}, {}},
        {"left-handed, Z inverted", crlf("X 1 0 0\nY 0 1 0\nZ 0 0 -1\n"), {}, 2, {},
         {"Axis Inversion", "Euler Angles"}, euler_angles{0, 0, 0}},
        {"left-handed, X inverted", crlf("X 0 1 0\nY 1 0 0\nZ 0 0 1\n"), {}, 0, {},
         {"Axis Inversion", "Euler Angles"}, euler_angles{0, 0, 270}},
        {"left-handed, Y inverted", crlf("X 0 1 0\nY 1 0 0\nZ 0 0 1\n"), {}, 1, {},
         {"Axis Inversion", "Euler Angles"}, euler_angles{0, 0, 90}},
        {"left-handed, Cancel", crlf("X 0 1 0\nY 1 0 0\nZ 0 0 1\n"), {}, {}, {},
         {"Axis Inversion"}, {}},
    };
    // clang-format on
    const test::private_temp_dir private_temp;
    const auto before = test::temporary_copies();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int offered = -1;
        auto inversion = [&](int& axis) {
            offered = axis;
            if (!c.inversion) return dialog_result::cancel;
            axis = *c.inversion;
            return dialog_result::ok;
        };
        const euler_run run = calculate(c.text, c.answers, inversion);
        EXPECT_EQ(run.messages, c.messages);
        EXPECT_EQ(run.dialogs, c.dialogs);
        if (!run.dialogs.empty() && run.dialogs[0] == "Axis Inversion") {
            EXPECT_EQ(offered, 2);
        }
        EXPECT_EQ(run.result, c.angles ? action_result::completed : action_result::failed);
        if (!c.angles) {
            EXPECT_FALSE(run.shown);
            EXPECT_EQ(run.clipboard, "left alone");
            continue;
        }
        ASSERT_TRUE(run.shown);
        EXPECT_NEAR(run.shown->alpha, c.angles->alpha, 1e-9);
        EXPECT_NEAR(run.shown->beta, c.angles->beta, 1e-9);
        EXPECT_NEAR(run.shown->gamma, c.angles->gamma, 1e-9);
        EXPECT_EQ(run.clipboard, euler_clipboard_text(*run.shown));
    }
    EXPECT_EQ(test::temporary_copies(), before) << "a temporary copy was left behind";
}

TEST(CalculateEulerAngles, clipboard_text_of_the_unit_axes) {
    const euler_run run = calculate(unit_axes);
    EXPECT_EQ(run.clipboard, "0.0000000000  0.0000000000  0.0000000000");
}

TEST(CalculateEulerAngles, inverted_axis_gives_the_angles_of_the_corrected_system) {
    // A left-handed system: the rows of 30 40 50 with row 1 reversed. Inverting Y restores
    // the system of 30 40 50.
    matrix3 m{};
    euler_matrix({30, 40, 50}, forwards_matrix, m);
    for (double& v : m[1]) v = -v;
    const euler_run run = calculate(axis_lines(m), {}, [](int& axis) {
        axis = 1;
        return dialog_result::ok;
    });
    ASSERT_TRUE(run.shown);
    EXPECT_NEAR(run.shown->alpha, 30, 1e-4);
    EXPECT_NEAR(run.shown->beta, 40, 1e-4);
    EXPECT_NEAR(run.shown->gamma, 50, 1e-4);
}

// The golden rotation files: a cell line first, comments in place, an origin line turned,
// a line that is neither atom nor comment dropped.
TEST(EulerRotations, golden_result_files) {
    struct test_case {
        const char* name;
        int command;
        euler_angles angles;
        const char* expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"forwards 90 0 0", cmd::euler_forwards, {90, 0, 0}, "axes/forwards_90_0_0.cry"},
        {"backwards 90 0 0", cmd::euler_backwards, {90, 0, 0}, "axes/backwards_90_0_0.cry"},
        {"forwards 0 90 0", cmd::euler_forwards, {0, 90, 0}, "axes/forwards_0_90_0.cry"},
        {"forwards 0 0 0", cmd::euler_forwards, {0, 0, 0}, "axes/rotate_identity.cry"},
        {"backwards 0 0 0", cmd::euler_backwards, {0, 0, 0}, "axes/rotate_identity.cry"},
    };
    // clang-format on
    const std::string input = read_data("axes/rotate_input.cry");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        scripted_services ui;
        ui.on_euler_rotations = [&](euler_angles& a) {
            a = c.angles;
            return dialog_result::ok;
        };
        EXPECT_EQ(test::run_on_text(c.command, ui, input, dir.file("out.cry")),
                  action_result::completed);
        EXPECT_EQ(read_file(dir.file("out.cry")), read_data(c.expected));
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(ui.dialogs_shown, std::vector<std::string>{"Euler Rotations"});
    }
}

TEST(EulerRotations, forwards_then_backwards_gives_the_positions_back) {
    const std::string input = crlf("C1 1.25 -2.5 3.75\nO2 -0.125 0.5 9\nH3 7 8 -9.5\nOR 0 0 0\n");
    const euler_angles angles[] = {{30, 40, 50}, {300, 100, 200}, {12.345, 178.9, 0.5}};
    for (const auto& a : angles) {
        SCOPED_TRACE(std::to_string(a.alpha));
        test::scratch_dir dir;
        scripted_services ui;
        ui.on_euler_rotations = [&](euler_angles& record) {
            record = a;
            return dialog_result::ok;
        };
        ASSERT_EQ(test::run_on_text(cmd::euler_forwards, ui, input, dir.file("f.cry")),
                  action_result::completed);
        ASSERT_EQ(test::run_on_text(cmd::euler_backwards, ui, read_file(dir.file("f.cry")),
                                    dir.file("b.cry")),
                  action_result::completed);
        // Printed with 6 decimals twice: equal within a few units of the last digit.
        expect_same_atoms(atoms_of(read_file(dir.file("b.cry"))), atoms_of(input), 3e-6);
    }
}

// A position that would be written as "nan" or "inf" ends the action; the lines before it
// stay in the result.
TEST(EulerRotations, refuses_a_position_that_is_no_finite_number) {
    struct test_case {
        const char* name;
        std::string input;
        euler_angles angles;
        std::string written;
    };
    const std::string cell = crlf("1 1 1 90 90 90\n");
    const std::string first = crlf("/ c\nA          1.000000     2.000000     3.000000\n");
    // clang-format off
    const std::vector<test_case> cases = {
        {"not a number", cell + crlf("/ c\nA 1 2 3\nB 0 nan 0\nC 1 1 1\n"), {0, 0, 0},
         cell + first},
        {"beyond single precision as read", cell + crlf("/ c\nA 1 2 3\nB 0 0 -1e39\n"),
         {0, 0, 0}, cell + first},
        {"turned beyond single precision", crlf("B 3e38 3e38 0\nC 1 1 1\n"), {45, 0, 0}, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        scripted_services ui;
        ui.on_euler_rotations = [&](euler_angles& a) {
            a = c.angles;
            return dialog_result::ok;
        };
        EXPECT_EQ(test::run_on_text(cmd::euler_forwards, ui, c.input, dir.file("out.cry")),
                  action_result::failed);
        EXPECT_EQ(ui.message_texts(),
                  std::vector<std::string>{std::string(msg::wrong_data_format)});
        EXPECT_EQ(read_file(dir.file("out.cry")), c.written);
    }
}

TEST(EulerRotations, dialog_proposes_the_clipboard_numbers) {
    struct test_case {
        const char* name;
        std::optional<std::string> clipboard;
        euler_angles proposed;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"numbers then a word", "12.5 7 3 degrees", {12.5, 7, 3}},
        {"numbers with commas", "12.5, 7, 3", {0, 0, 0}},
        {"no text on the clipboard", std::nullopt, {0, 0, 0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        scripted_services ui;
        ui.clipboard = c.clipboard;
        std::optional<euler_angles> proposed;
        ui.on_euler_rotations = [&](euler_angles& a) {
            proposed = a;
            return dialog_result::ok;
        };
        test::run_on_text(cmd::euler_forwards, ui, unit_axes, dir.file("out.cry"));
        ASSERT_TRUE(proposed);
        EXPECT_EQ(proposed->alpha, c.proposed.alpha);
        EXPECT_EQ(proposed->beta, c.proposed.beta);
        EXPECT_EQ(proposed->gamma, c.proposed.gamma);
        EXPECT_EQ(ui.clipboard, c.clipboard) << "the clipboard is only read";
    }
}

TEST(EulerRotations, cancel_leaves_an_empty_result_file) {
    test::scratch_dir dir;
    scripted_services ui;  // no handler: the dialog answers Cancel
    const test::private_temp_dir private_temp;
    const auto before = test::temporary_copies();
    EXPECT_EQ(test::run_on_text(cmd::euler_forwards, ui, unit_axes, dir.file("out.cry")),
              action_result::cancelled);
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.cry")));
    EXPECT_EQ(read_file(dir.file("out.cry")), "");
    EXPECT_EQ(test::temporary_copies(), before);
}

// Measure an axis system, then apply it: Calculate Euler angles leaves the angles on the
// clipboard, the Euler Rotations dialog proposes them, and turning the axis lines
// themselves forwards gives the reference axes.
TEST(EulerRotations, clipboard_hand_off_from_calculate_euler_angles) {
    matrix3 m{};
    euler_matrix({123.4567890123, 40, 210}, forwards_matrix, m);
    const std::string axes = axis_lines(m);

    scripted_services ui;  // shared by both commands, like the desktop's one clipboard
    euler_angles measured;
    ui.on_euler_angles = [&](const euler_angles& a) {
        measured = a;
        return dialog_result::ok;
    };
    document_state doc;
    ui.editor = axes;
    ASSERT_EQ(test::run_command(cmd::calculate_euler_angles, ui, doc), action_result::completed);
    ASSERT_TRUE(ui.clipboard);

    std::optional<euler_angles> proposed;
    ui.on_euler_rotations = [&](euler_angles& a) {
        proposed = a;
        return dialog_result::ok;
    };
    test::scratch_dir dir;
    ui.save_choices.push_back(dir.file("turned.cry"));
    ASSERT_EQ(test::run_command(cmd::euler_forwards, ui, doc), action_result::completed);
    ASSERT_TRUE(proposed);
    // Through the clipboard the angles pass single precision.
    EXPECT_EQ(proposed->alpha, static_cast<double>(static_cast<float>(measured.alpha)));
    EXPECT_EQ(proposed->beta, static_cast<double>(static_cast<float>(measured.beta)));
    EXPECT_EQ(proposed->gamma, static_cast<double>(static_cast<float>(measured.gamma)));
    EXPECT_NEAR(proposed->alpha, 123.4567890123, 1e-5);

    const std::vector<atom_record> reference = {{"X", 1, 0, 0}, {"Y", 0, 1, 0}, {"Z", 0, 0, 1}};
    expect_same_atoms(atoms_of(read_file(dir.file("turned.cry"))), reference, 2e-6);
}

}  // namespace
}  // namespace orvix
