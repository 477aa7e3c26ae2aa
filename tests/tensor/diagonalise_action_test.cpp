// The Diagonalise action end to end: golden reports for both orders, inputs that give no
// report, and inputs that are refused.
#include "tensor/diagonalise_action.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "actions/messages.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::data_path;
using test::read_data;
using test::read_file;
using test::run_on_text;
using test::scratch_dir;

struct ordering {
    const char* suffix;
    int command;
};
const ordering orderings[] = {{"descending", cmd::diagonalise_descending},
                              {"ascending", cmd::diagonalise_ascending}};

// Inputs under tests/data/tensor/NAME.cry, with their reports NAME.descending.cry and
// NAME.ascending.cry checked by hand against the eigen-decomposition.
const char* const golden_inputs[] = {
    "sample",      // the reference example, with a comment line before and after the rows
    "diagonal",    // no comment lines: the report begins with the cell line
    "degenerate",  // two equal components keep the eigen-solver's order
    "isotropic",   // three equal components
    "commented",   // a cell line, comment lines before, between and after, labels, extra numbers
    "atoms",       // a cell line and three atom lines whose coordinates are the tensor
    "one_line",    // all nine numbers on one line, in parentheses
    "mixed",       // negative components and an antisymmetric part
    "known",       // the eigen-solver's reference matrix
    "few",         // eight numbers: the report is the comment lines alone
};

TEST(DiagonaliseTensor, GoldenReports) {
    for (const char* name : golden_inputs) {
        for (const auto& o : orderings) {
            SCOPED_TRACE(std::string(name) + "." + o.suffix);
            scratch_dir dir;
            scripted_services ui;
            const auto result =
                run_on_text(o.command, ui, read_data(std::string("tensor/") + name + ".cry"),
                            dir.file("result.cry"));
            EXPECT_EQ(result, action_result::completed);
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(read_file(dir.file("result.cry")),
                      read_data(std::string("tensor/") + name + "." + o.suffix + ".cry"));
        }
    }
}

// An empty editor: the input file is chosen in the open dialog and left as it was.
TEST(DiagonaliseTensor, ReadsAChosenFile) {
    scratch_dir dir;
    const std::string input = dir.file("sample.cry");
    std::filesystem::copy_file(data_path("tensor/sample.cry"), input);
    scripted_services ui;
    ui.open_choices.push_back(input);
    const auto result = run_on_text(cmd::diagonalise_ascending, ui, "", dir.file("result.cry"));
    EXPECT_EQ(result, action_result::completed);
    EXPECT_EQ(read_file(dir.file("result.cry")), read_data("tensor/sample.ascending.cry"));
    EXPECT_EQ(read_file(input), read_data("tensor/sample.cry"));
}

// A line is read whole whatever its length: a tensor on one line of over 79 characters gives
// the report of the same numbers on three lines.
TEST(DiagonaliseTensor, LongLineGivesTheSameReport) {
    const std::string rows[] = {"-120.50000000000000  30.20000000000000  10.00000000000000",
                                "  28.00000000000000 -45.00000000000000   5.50000000000000",
                                "   9.00000000000000   6.00000000000000  80.00000000000000"};
    const std::string long_line = rows[0] + " " + rows[1] + " " + rows[2];
    ASSERT_GT(long_line.size(), 79u);
    scratch_dir dir;
    scripted_services ui;
    run_on_text(cmd::diagonalise_descending, ui,
                crlf("/* with an antisymmetric part */\n" + long_line + "\n"),
                dir.file("long.cry"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(read_file(dir.file("long.cry")), read_data("tensor/mixed.descending.cry"));
}

TEST(DiagonaliseTensor, NoNumbersNoReport) {
    struct {
        const char* name;
        std::string input;
        std::string report;
    } cases[] = {
        {"a blank line", crlf("\n"), ""},
        {"comment lines only", crlf("/* a */\n * b\n"), crlf("/* a */\n * b\n")},
        {"a cell line and two atoms", crlf("1 1 1 90 90 90\nA 1 2 3\nB 4 5 6\n/* c */\n"),
         crlf("/* c */\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        scripted_services ui;
        EXPECT_EQ(run_on_text(cmd::diagonalise_descending, ui, c.input, dir.file("r.cry")),
                  action_result::completed);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(read_file(dir.file("r.cry")), c.report);
    }
}

// Elements that are not finite numbers, or whose principal components single precision
// cannot hold, are refused before anything of the report is written; the result keeps the
// comment lines copied so far.
TEST(DiagonaliseTensor, RefusesElementsThatAreNotFinite) {
    struct {
        const char* name;
        std::string input;
    } cases[] = {
        {"inf", crlf("/* before */\n1 0 0\n0 inf 0\n0 0 1\n/* after */\n")},
        {"nan", crlf("/* before */\n1 0 0\n0 1 0\n0 0 nan\n/* after */\n")},
        {"beyond single precision", crlf("/* before */\n1e39 0 0\n0 1 0\n0 0 1\n/* after */\n")},
        {"below single precision", crlf("/* before */\n1 0 0\n0 1 0\n0 0 -1e39\n/* after */\n")},
        {"a word read as infinity", crlf("/* before */\n1 0 0 0 1 0\ninfrared 0 1\n/* after */\n")},
        {"a component beyond single precision",
         crlf("/* before */\n3e38 3e38 0\n3e38 3e38 0\n0 0 1\n/* after */\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& o : orderings) {
            SCOPED_TRACE(o.suffix);
            scratch_dir dir;
            scripted_services ui;
            EXPECT_EQ(run_on_text(o.command, ui, c.input, dir.file("r.cry")),
                      action_result::failed);
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, msg::wrong_data_format);
            EXPECT_EQ(ui.messages[0].caption, msg::program_name);
            EXPECT_EQ(ui.messages[0].icon, message_icon::error);
            EXPECT_EQ(read_file(dir.file("r.cry")), crlf("/* before */\n"));
        }
    }
}

TEST(DiagonaliseTensor, CancelledSaveDialogWritesNothing) {
    scratch_dir dir;
    scripted_services ui;
    ui.editor = read_data("tensor/sample.cry");
    document_state doc;
    EXPECT_EQ(test::run_command(cmd::diagonalise_descending, ui, doc), action_result::cancelled);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace orvix
