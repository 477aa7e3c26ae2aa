// Orthogonalize > Axes and > Coordinates, Calculate normal and Polar angles, run as the
// desktop program runs them, through the scripted services.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <numbers>

#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "axes/orthogonalize.h"
#include "axes_test_support.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::atoms_of;
using test::crlf;
using test::read_data;
using test::read_file;

constexpr double pi = std::numbers::pi;

std::string data(const std::string& name) {
    return read_data("axes/" + name);
}

std::function<dialog_result(axis_order&)> choose(const char* letters) {
    return [letters](axis_order& order) {
        for (std::size_t p = 0; p < 3; ++p) order.row[p] = letters[p] - 'a';
        return dialog_result::ok;
    };
}

struct action_run {
    action_result result;
    std::string written;
    std::vector<shown_message> messages;
    std::vector<std::string> dialogs;
    std::vector<int> posted;
};

action_run run(int command, const std::string& input, const char* order = "abc",
               std::vector<answer> answers = {}) {
    test::scratch_dir dir;
    scripted_services ui;
    ui.on_order_of_axes = choose(order);
    ui.answers.assign(answers.begin(), answers.end());
    action_run r;
    r.result = test::run_on_text(command, ui, input, dir.file("out.cry"));
    r.written = read_file(dir.file("out.cry"));
    r.messages = ui.messages;
    r.dialogs = ui.dialogs_shown;
    r.posted = ui.posted_commands;
    return r;
}

std::vector<std::string> texts(const std::vector<shown_message>& messages) {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

TEST(OrthogonalizeCoordinates, golden_files) {
    struct test_case {
        const char* name;
        const char* input;
        const char* order;
        const char* expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"cubic cell of edge 10", "coords_cubic_input.cry", "abc", "coords_cubic.cry"},
        {"hexagonal cell 3 3 5 90 90 120", "coords_hexagonal_input.cry", "abc",
         "coords_hexagonal.cry"},
        {"order b a c", "coords_bac_input.cry", "bac", "coords_bac.cry"},
        {"triclinic abc", "coords_triclinic_input.cry", "abc", "coords_triclinic_abc.cry"},
        {"triclinic acb", "coords_triclinic_input.cry", "acb", "coords_triclinic_acb.cry"},
        {"triclinic bac", "coords_triclinic_input.cry", "bac", "coords_triclinic_bac.cry"},
        {"triclinic cba", "coords_triclinic_input.cry", "cba", "coords_triclinic_cba.cry"},
        {"triclinic bca (cyclic)", "coords_triclinic_input.cry", "bca", "coords_triclinic_bca.cry"},
        {"triclinic cab (cyclic)", "coords_triclinic_input.cry", "cab", "coords_triclinic_cab.cry"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const action_run r = run(cmd::orthogonalize_coordinates, data(c.input), c.order);
        EXPECT_EQ(r.result, action_result::completed);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.dialogs, std::vector<std::string>{"Order of Axes"});
        EXPECT_EQ(r.written, data(c.expected));
    }
}

// Distances and angles between the atoms of the Cartesian result equal those the cell
// metric gives for the fractional input, for every order of axes; and the axis placed at Z
// lies along z, the one placed at Y in the yz plane.
TEST(OrthogonalizeCoordinates, keeps_the_geometry_for_every_order) {
    const std::string input = data("coords_triclinic_input.cry");
    cell_constants cell;
    ASSERT_TRUE(parse_cell_constants(input, cell));
    // The metric tensor from the cell constants, with the exact pi.
    double g[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const double cosine =
                i == j ? 1.0 : std::cos(cell.angle[static_cast<std::size_t>(3 - i - j)] * pi / 180);
            g[i][j] = cell.length[static_cast<std::size_t>(i)] *
                      cell.length[static_cast<std::size_t>(j)] * cosine;
        }
    const std::vector<atom_record> fractional = atoms_of(input);
    ASSERT_EQ(fractional.size(), 7u);
    const auto metric_dot = [&](const atom_record& p, const atom_record& q, const atom_record& o) {
        const double u[3] = {p.x - o.x, p.y - o.y, p.z - o.z};
        const double v[3] = {q.x - o.x, q.y - o.y, q.z - o.z};
        double sum = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) sum += u[i] * g[i][j] * v[j];
        return sum;
    };
    const auto cartesian_dot = [](const atom_record& p, const atom_record& q,
                                  const atom_record& o) {
        return double(p.x - o.x) * (q.x - o.x) + double(p.y - o.y) * (q.y - o.y) +
               double(p.z - o.z) * (q.z - o.z);
    };

    for (const char* order : {"abc", "acb", "bac", "cba", "bca", "cab"}) {
        SCOPED_TRACE(order);
        const action_run r = run(cmd::orthogonalize_coordinates, input, order);
        const std::vector<atom_record> cartesian = atoms_of(r.written);
        ASSERT_EQ(cartesian.size(), fractional.size());
        const std::size_t n = fractional.size();
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_EQ(cartesian[i].label, fractional[i].label);
            for (std::size_t j = 0; j < n; ++j) {
                const double d_metric =
                    std::sqrt(metric_dot(fractional[i], fractional[i], fractional[j]));
                const double d_cartesian =
                    std::sqrt(cartesian_dot(cartesian[i], cartesian[i], cartesian[j]));
                EXPECT_NEAR(d_cartesian, d_metric, 4e-6) << i << "-" << j;
                for (std::size_t k = 0; k < n; ++k) {
                    if (k == i || k == j || i == j) continue;
                    const double a_metric = std::acos(
                        metric_dot(fractional[j], fractional[k], fractional[i]) /
                        std::sqrt(metric_dot(fractional[j], fractional[j], fractional[i]) *
                                  metric_dot(fractional[k], fractional[k], fractional[i])));
                    const double a_cartesian = std::acos(
                        cartesian_dot(cartesian[j], cartesian[k], cartesian[i]) /
                        std::sqrt(cartesian_dot(cartesian[j], cartesian[j], cartesian[i]) *
                                  cartesian_dot(cartesian[k], cartesian[k], cartesian[i])));
                    EXPECT_NEAR(a_cartesian * 180 / pi, a_metric * 180 / pi, 1e-4)
                        << j << "-" << i << "-" << k;
                }
            }
        }
        // The last three atoms are one unit along a, b and c.
        const atom_record* axis[3] = {&cartesian[4], &cartesian[5], &cartesian[6]};
        const atom_record& at_z = *axis[order[2] - 'a'];
        const atom_record& at_y = *axis[order[1] - 'a'];
        EXPECT_EQ(at_z.x, 0.0f);
        EXPECT_EQ(at_z.y, 0.0f);
        EXPECT_NEAR(at_z.z, cell.length[static_cast<std::size_t>(order[2] - 'a')], 1e-6);
        EXPECT_EQ(at_y.x, 0.0f);
    }
}

TEST(OrthogonalizeAxes, golden_files) {
    struct test_case {
        const char* name;
        const char* input;
        std::vector<answer> answers;
        std::vector<std::string> messages;
        const char* expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"length 1.00005 asks nothing", "axes_near_unit_input.cry", {}, {}, "axes_near_unit.cry"},
        {"a row of length 1.005: question, then X replaced; origin line first, comment kept",
         "axes_tilted_input.cry", {answer::ok}, {std::string(msg::not_unit_vectors)},
         "axes_tilted.cry"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const action_run r = run(cmd::orthogonalize_axes, data(c.input), "abc", c.answers);
        EXPECT_EQ(r.result, action_result::completed);
        EXPECT_EQ(texts(r.messages), c.messages);
        EXPECT_EQ(r.written, data(c.expected));
    }
}

// For every order: the axis placed at Z keeps its direction, the result is orthonormal and
// right-handed, and the labels follow their axes to the new positions.
TEST(OrthogonalizeAxes, every_order) {
    const std::string input =
        crlf("A 0.9 0.1 0.05\nB 0.15 0.98 -0.1\n/ between\nOR 0 0 0\nC -0.02 0.12 0.99\n");
    const std::vector<atom_record> old = atoms_of(input);
    for (const char* order : {"abc", "acb", "bac", "cba", "bca", "cab"}) {
        SCOPED_TRACE(order);
        const action_run r = run(cmd::orthogonalize_axes, input, order, {answer::ok});
        EXPECT_EQ(r.result, action_result::completed);
        ASSERT_EQ(r.written.find("/ between\r\nOR "), 0u) << r.written;
        const std::vector<atom_record> got = atoms_of(r.written);
        ASSERT_EQ(got.size(), 4u);  // the origin line, then X', Y', Z
        vec3 axes[3];
        const atom_record* by_axis[3] = {&old[0], &old[1], &old[3]};  // old[2] is OR
        for (std::size_t p = 0; p < 3; ++p) {
            const atom_record& from = *by_axis[order[p] - 'a'];
            EXPECT_EQ(got[p + 1].label, from.label);
            axes[p] = {got[p + 1].x, got[p + 1].y, got[p + 1].z};
            if (p == 2) {
                const vec3 z{from.x, from.y, from.z};
                EXPECT_NEAR(angle_between(axes[2], z), 0.0, 1e-4);
            }
        }
        for (int p = 0; p < 3; ++p) EXPECT_NEAR(length(axes[p]), 1.0, 2e-6);
        EXPECT_NEAR(dot(axes[0], axes[1]), 0.0, 2e-6);
        EXPECT_NEAR(dot(axes[0], axes[2]), 0.0, 2e-6);
        EXPECT_NEAR(dot(axes[1], axes[2]), 0.0, 2e-6);
        EXPECT_NEAR(dot(cross(axes[0], axes[1]), axes[2]), 1.0, 4e-6) << "right-handed";
    }
}

// An invalid order is refused and the command posted again; the desktop runs it once the
// present command has returned, and the dialog comes back on the default order.
TEST(Orthogonalize, invalid_order_reposts_the_command) {
    for (int command : {cmd::orthogonalize_axes, cmd::orthogonalize_coordinates}) {
        for (const char* invalid : {"aac", "bbb", "acc"}) {
            SCOPED_TRACE(std::to_string(command) + " " + invalid);
            test::scratch_dir dir;
            scripted_services ui;
            std::vector<std::array<int, 3>> offered;
            int calls = 0;
            ui.on_order_of_axes = [&](axis_order& order) {
                offered.push_back(order.row);
                if (calls++ == 0) return choose(invalid)(order);
                return dialog_result::ok;  // the default order this time
            };
            ui.editor = data(command == cmd::orthogonalize_axes ? "axes_near_unit_input.cry"
                                                                : "coords_cubic_input.cry");
            document_state doc;
            EXPECT_EQ(test::run_command(command, ui, doc), action_result::failed);
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, msg::axes_not_assigned);
            EXPECT_EQ(ui.messages[0].caption, "Orvix");
            EXPECT_EQ(ui.messages[0].icon, message_icon::error);
            EXPECT_TRUE(ui.proposed_save_names.empty()) << "nothing asked after the message";
            ASSERT_EQ(ui.posted_commands, std::vector<int>{command});

            // The queued command runs.
            ui.posted_commands.clear();
            ui.save_choices.push_back(dir.file("out.cry"));
            EXPECT_EQ(test::run_command(command, ui, doc), action_result::completed);
            EXPECT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(offered.size(), 2u);
            EXPECT_EQ(offered[1], (std::array<int, 3>{0, 1, 2}));
            EXPECT_TRUE(ui.posted_commands.empty());
            EXPECT_EQ(ui.dialogs_shown,
                      (std::vector<std::string>{"Order of Axes", "Order of Axes"}));
        }
    }
}

TEST(Orthogonalize, cancelled_order_dialog_does_nothing) {
    for (int command : {cmd::orthogonalize_axes, cmd::orthogonalize_coordinates}) {
        SCOPED_TRACE(command);
        scripted_services ui;  // no handler: Cancel
        ui.editor = data("coords_cubic_input.cry");
        document_state doc;
        EXPECT_EQ(test::run_command(command, ui, doc), action_result::cancelled);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(ui.proposed_save_names.empty());
        EXPECT_TRUE(ui.posted_commands.empty());
    }
}

TEST(Orthogonalize, failure_messages) {
    const std::string cubic = data("coords_cubic_input.cry");
    enum class setup { editor, empty_editor_cancelled, save_cancelled, save_uncreatable, fifo };
    struct expected_message {
        std::string text;
        std::string caption;
    };
    struct test_case {
        const char* name;
        int command;
        std::string input;
        setup how;
        std::vector<answer> answers;
        std::vector<expected_message> messages;
        std::string written;  // what the result file holds afterwards
    };
    const std::string orvix = "Orvix";
    const std::string cart = crlf(" 1.000  1.000  1.000 90.000 90.000 90.000\n");
    // clang-format off
    const std::vector<test_case> cases = {
        {"coordinates: no action input", cmd::orthogonalize_coordinates, "",
         setup::empty_editor_cancelled, {},
         {{std::string(msg::no_input_name), ""}, {std::string(msg::no_data_handle), ""}}, ""},
        {"coordinates: save dialog cancelled", cmd::orthogonalize_coordinates, cubic,
         setup::save_cancelled, {}, {{std::string(msg::no_output_file), ""}}, ""},
        {"coordinates: result file not creatable", cmd::orthogonalize_coordinates, cubic,
         setup::save_uncreatable, {}, {{std::string(msg::no_output_file), ""}}, ""},
        {"coordinates: result file not reopened", cmd::orthogonalize_coordinates, cubic,
         setup::fifo, {}, {{std::string(msg::no_open_output), ""}}, ""},
        {"coordinates: no cell line", cmd::orthogonalize_coordinates,
         crlf("/ cell line below the comment does not count\n10 10 10 90 90 90\nA 1 2 3\n"),
         setup::editor, {}, {{std::string(msg::no_crystal_axes), orvix}}, ""},
        {"coordinates: a cell angle of 0 is no cell line", cmd::orthogonalize_coordinates,
         crlf("10 10 10 90 90 0\nA 1 2 3\n"), setup::editor, {},
         {{std::string(msg::no_crystal_axes), orvix}}, ""},
        {"coordinates: cell angles that cannot close", cmd::orthogonalize_coordinates,
         crlf("3 4 5 10 10 90\n/ kept out\nA 0.1 0.2 0.3\n"), setup::editor, {},
         {{std::string(msg::cell_cannot_close), orvix}}, cart},
        // "nan" or "inf" in a result is refused; the lines before it stay.
        {"coordinates: a coordinate that is no number", cmd::orthogonalize_coordinates,
         crlf("10 10 10 90 90 90\nA 0.1 0.2 0.3\nB 0.1 nan 0.3\nC 0 0 0\n"), setup::editor, {},
         {{std::string(msg::wrong_data_format), orvix}},
         cart + crlf("A          1.000000     2.000000     3.000000\n")},
        {"coordinates: a position beyond single precision", cmd::orthogonalize_coordinates,
         crlf("10 10 10 90 90 90\nB 0 0 1e38\n"), setup::editor, {},
         {{std::string(msg::wrong_data_format), orvix}}, cart},
        {"axes: no action input", cmd::orthogonalize_axes, "", setup::empty_editor_cancelled, {},
         {{std::string(msg::no_input_name), ""}}, ""},
        {"axes: save dialog cancelled", cmd::orthogonalize_axes,
         data("axes_near_unit_input.cry"), setup::save_cancelled, {}, {}, ""},
        {"axes: cell line not Cartesian", cmd::orthogonalize_axes,
         crlf("5 5 5 90 90 90\nX 1 0 0\nY 0 1 0\nZ 0 0 1\n"), setup::editor, {},
         {{std::string(msg::not_cartesian), orvix}}, ""},
        {"axes: fewer than three axis lines", cmd::orthogonalize_axes,
         crlf("1 1 1 90 90 90\nOR 0 0 0\nX 1 0 0\n/ c\nY 0 1 0\n"), setup::editor, {},
         {{std::string(msg::wrong_data_format), orvix}},
         cart + crlf("OR         0.000000     0.000000     0.000000\n/ c\n")},
        {"axes: a direction cosine that is no number", cmd::orthogonalize_axes,
         crlf("X 1 0 0\nY 0 1 0\nZ 0 0 nan\n"), setup::editor, {},
         {{std::string(msg::wrong_data_format), orvix}}, ""},
        {"axes: an origin line beyond single precision", cmd::orthogonalize_axes,
         crlf("OR 0 1e39 0\nX 1 0 0\nY 0 1 0\nZ 0 0 1\n"), setup::editor, {},
         {{std::string(msg::wrong_data_format), orvix}}, ""},
        {"axes: unit-length question refused", cmd::orthogonalize_axes,
         crlf("X 2 0 0\nY 0 1 0\nZ 0 0 1\n"), setup::editor, {answer::cancel},
         {{std::string(msg::not_unit_vectors), orvix}}, ""},
        {"axes: NULL vector", cmd::orthogonalize_axes, crlf("X 1 0 0\nY 0 0 0\nZ 0 0 1\n"),
         setup::editor, {answer::ok},
         {{std::string(msg::not_unit_vectors), orvix}, {std::string(msg::null_vector), orvix}}, ""},
        {"axes: Y parallel to Z", cmd::orthogonalize_axes, crlf("X 1 0 0\nY 0 0 1\nZ 0 0 1\n"),
         setup::editor, {}, {{std::string(msg::null_vector), orvix}}, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        scripted_services ui;
        ui.on_order_of_axes = choose("abc");
        ui.answers.assign(c.answers.begin(), c.answers.end());
        ui.editor = c.input;
        std::string result_path = dir.file("out.cry");
        switch (c.how) {
            case setup::editor:
                ui.save_choices.push_back(result_path);
                break;
            case setup::empty_editor_cancelled:
            case setup::save_cancelled:
                break;
            case setup::save_uncreatable:
                ui.save_choices.push_back(dir.file("no/such/folder/out.cry"));
                break;
            case setup::fifo:
                // Created, but a pipe cannot be positioned at its end when opened again.
                ASSERT_EQ(::mkfifo(result_path.c_str(), 0600), 0);
                ui.save_choices.push_back(result_path);
                break;
        }
        document_state doc;
        EXPECT_NE(test::run_command(c.command, ui, doc), action_result::completed);
        ASSERT_EQ(ui.messages.size(), c.messages.size())
            << ::testing::PrintToString(ui.message_texts());
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(ui.messages[i].text, c.messages[i].text);
            EXPECT_EQ(ui.messages[i].caption, c.messages[i].caption);
            EXPECT_EQ(ui.messages[i].icon, c.messages[i].text == msg::not_unit_vectors
                                               ? message_icon::question
                                               : message_icon::error);
        }
        if (c.how == setup::editor) {
            EXPECT_EQ(read_file(result_path), c.written);
        }
    }
}

TEST(OrthogonalizeCoordinates, turns_origin_lines_like_atoms) {
    const action_run r =
        run(cmd::orthogonalize_coordinates, crlf("2 4 8 90 90 90\nOR 0.5 0.5 0.5\n"));
    EXPECT_EQ(r.written, crlf(" 1.000  1.000  1.000 90.000 90.000 90.000\n"
                              "OR         1.000000     2.000000     4.000000\n"));
}

}  // namespace
}  // namespace orvix
