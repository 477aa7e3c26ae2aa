// Calculate normal and Polar angles, run as the desktop program runs them.
#include <gtest/gtest.h>

#include "actions/action_runner.h"
#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "commands/command_table.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_file;

struct action_run {
    action_result result;
    std::string written;
    std::vector<std::string> messages;
};

action_run run(int command, const std::string& input) {
    test::scratch_dir dir;
    scripted_services ui;
    action_run r;
    r.result = test::run_on_text(command, ui, input, dir.file("out.cry"));
    r.written = read_file(dir.file("out.cry"));
    r.messages = ui.message_texts();
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.caption, "Orvix");
        EXPECT_EQ(m.icon, message_icon::error);
    }
    return r;
}

TEST(CalculateNormal, reports) {
    const std::string cell = "1 1 1 90 90 90\n";
    const std::string null = std::string(msg::null_vector);
    struct test_case {
        const char* name;
        std::string input;
        action_result result;
        std::string written;
        std::vector<std::string> messages;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"xy plane", cell + "A 0 0 0\nB 1 0 0\nC 0 1 0\n", action_result::completed,
         "normal vector:     0.000000     0.000000     1.000000\n"
         "normalized:        0.000000     0.000000     1.000000\n", {}},
        {"edges 2 and 3", cell + "A 0 0 0\nB 2 0 0\nC 0 3 0\n", action_result::completed,
         "normal vector:     0.000000     0.000000     6.000000\n"
         "normalized:        0.000000     0.000000     1.000000\n", {}},
        {"collinear atoms: first line, then the NULL-vector message",
         cell + "A 0 0 0\nB 1 1 1\nC 2 2 2\n", action_result::failed,
         "normal vector:     0.000000     0.000000     0.000000\n", {null}},
        {"origin lines count; comments before the third atom are copied, the rest not read",
         cell + "/ one\nOR 0 0 0\n/ two\nB 0 0 2\nC 0 2 0\n/ three\nD 5 5 5\n",
         action_result::completed,
         "/ one\n/ two\n"
         "normal vector:    -4.000000     0.000000     0.000000\n"
         "normalized:       -1.000000     0.000000     0.000000\n", {}},
        {"two atoms", cell + "A 0 0 0\nB 1 0 0\n", action_result::failed, "",
         {std::string(msg::wrong_data_format)}},
        {"no cell line: silent, empty result", "A 0 0 0\nB 1 0 0\nC 0 1 0\n",
         action_result::failed, "", {}},
        {"cell line not Cartesian: silent, empty result",
         "5 5 5 90 90 90\nA 0 0 0\nB 1 0 0\nC 0 1 0\n", action_result::failed, "", {}},
        {"a = 1, alpha = 90 is Cartesian whatever the rest",
         "1 7.5 3.2 90 120 60\nA 0 0 0\nB 1 0 0\nC 0 1 0\n", action_result::completed,
         "normal vector:     0.000000     0.000000     1.000000\n"
         "normalized:        0.000000     0.000000     1.000000\n", {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const action_run r = run(cmd::calculate_normal, crlf(c.input));
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.written, crlf(c.written));
        EXPECT_EQ(r.messages, c.messages);
    }
}

TEST(PolarAngles, result_files) {
    const std::string cell = "1 1 1 90 90 90\n";
    struct test_case {
        const char* name;
        std::string input;
        action_result result;
        std::string written;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"the examples, an origin line left out, comments in place",
         cell + "/ polar coordinates\nA 0 0 5\nB 1 1 0\nOR 3 3 3\nC 1 -1 0\nD -1 0 0\n"
         " * middle\nE 0 -1 0\nF 0 0 -2\nG 0 0 0\nor 1 2 3\n", action_result::completed,
         "/ polar coordinates\n"
         "A          0.000000     0.000000     5.000000\n"
         "B         45.000000    90.000000     1.414214\n"
         "C        -45.000000    90.000000     1.414214\n"
         "D        180.000000    90.000000     1.000000\n"
         " * middle\n"
         "E        -90.000000    90.000000     1.000000\n"
         "F         90.000000   180.000000     2.000000\n"
         "G          0.000000     0.000000     0.000000\n"},
        {"no atom lines: the comments only", cell + "/ nothing\n/ at all\n",
         action_result::completed, "/ nothing\n/ at all\n"},
        {"no cell line: silent, empty result", "/ c\nA 0 0 5\n", action_result::failed, ""},
        {"cell line not Cartesian: silent, empty result", "2 1 1 90 90 90\nA 0 0 5\n",
         action_result::failed, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const action_run r = run(cmd::polar_angles, crlf(c.input));
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.written, crlf(c.written));
        EXPECT_TRUE(r.messages.empty());
    }
}

// orvix-cli runs both with the mode that explains the silent end.
TEST(PolarAngles, explained_silent_end_mode) {
    for (int command : {cmd::polar_angles, cmd::calculate_normal}) {
        SCOPED_TRACE(command);
        test::scratch_dir dir;
        scripted_services ui;
        ui.editor = crlf("A 0 0 5\n");
        ui.save_choices.push_back(dir.file("out.cry"));
        document_state doc;
        EXPECT_EQ(run_action(find_command(command)->run, command, explain_silent_end, ui, doc),
                  action_result::failed);
        EXPECT_EQ(ui.message_texts(),
                  std::vector<std::string>{std::string(msg::no_cartesian_cell_line)});
        EXPECT_EQ(read_file(dir.file("out.cry")), "");
    }
}

}  // namespace
}  // namespace orvix
