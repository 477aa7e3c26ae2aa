// orvix-cli euler-angles and rotate.
#include <gtest/gtest.h>

#include "actions/messages.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_data;
using test::read_file;
using test::run_cli;

TEST(CliEulerAngles, writes_the_clipboard_text_or_says_why_not) {
    const std::string question = std::string(msg::not_unit_vectors);
    const std::string left = std::string(msg::left_handed);
    struct test_case {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
        std::string err_contains;  // empty: nothing on standard error
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"unit axes", {"euler-angles"}, crlf("X 1 0 0\nY 0 1 0\nZ 0 0 1\n"), 0,
         "0.0000000000  0.0000000000  0.0000000000\r\n", ""},
        {"beta 0", {"euler-angles"}, crlf("X 0 1 0\nY -1 0 0\nZ 0 0 1\n"), 0,
         "0.0000000000  0.0000000000  90.0000000000\r\n", ""},
        {"unanswered normalisation question", {"euler-angles"}, crlf("X 2 0 0\nY 0 1 0\nZ 0 0 1\n"),
         1, "", question},
        // The answered question is still reported, as every message the desktop shows.
        {"--normalize answers it", {"euler-angles", "--normalize"},
         crlf("X 2 0 0\nY 0 1 0\nZ 0 0 1\n"), 0, "0.0000000000  0.0000000000  0.0000000000\r\n",
         question},
        {"left-handed without --invert", {"euler-angles"}, crlf("X 1 0 0\nY 0 1 0\nZ 0 0 -1\n"), 1,
         "", left},
        {"--invert z", {"euler-angles", "--invert", "z"}, crlf("X 1 0 0\nY 0 1 0\nZ 0 0 -1\n"), 0,
         "0.0000000000  0.0000000000  0.0000000000\r\n", ""},
        {"--invert X, either case", {"euler-angles", "--invert", "X"},
         crlf("X 0 1 0\nY 1 0 0\nZ 0 0 1\n"), 0, "0.0000000000  0.0000000000  270.0000000000\r\n",
         ""},
        {"too few axis lines", {"euler-angles"}, crlf("X 1 0 0\n"), 1, "",
         std::string(msg::wrong_data_format)},
        {"not orthogonal", {"euler-angles"}, crlf("X 1 0 0\nY 0 1 0\nZ 0.6 0 0.8\n"), 1, "",
         "The unit vectors x and z are not orthogonal!  Check Data!"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        if (c.err_contains.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_NE(run.err.find(c.err_contains), std::string::npos) << run.err;
        }
    }
}

TEST(CliEulerAngles, output_file_and_input_file) {
    test::scratch_dir dir;
    test::write_file(dir.file("axes.cry"), crlf("X 0 1 0\nY -1 0 0\nZ 0 0 1\n"));
    const auto run = run_cli({"euler-angles", dir.file("axes.cry"), "-o", dir.file("angles.txt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(read_file(dir.file("angles.txt")), "0.0000000000  0.0000000000  90.0000000000\r\n");
}

TEST(CliRotate, matches_the_desktop_result_files) {
    struct test_case {
        const char* name;
        std::vector<std::string> args;
        const char* expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"forwards", {"rotate", "--forwards", "--alpha", "90"}, "axes/forwards_90_0_0.cry"},
        {"backwards", {"rotate", "--backwards", "--alpha", "90.0"}, "axes/backwards_90_0_0.cry"},
        {"beta", {"rotate", "--forwards", "--beta=90", "--gamma", "0"}, "axes/forwards_0_90_0.cry"},
        {"angles default to 0", {"rotate", "--backwards"}, "axes/rotate_identity.cry"},
    };
    // clang-format on
    const std::string input = read_data("axes/rotate_input.cry");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, read_data(c.expected));
    }
}

TEST(CliRotate, refuses_bad_command_lines_with_usage) {
    const std::vector<std::vector<std::string>> bad = {
        {"rotate"},
        {"rotate", "--forwards", "--backwards"},
        {"rotate", "--forwards", "--alpha", "ninety"},
        {"rotate", "--forwards", "--beta", "1,5"},
        // Read as numbers, but no angle: every position would come out as NaN.
        {"rotate", "--forwards", "--alpha", "nan"},
        {"rotate", "--backwards", "--gamma", "-inf"},
        {"rotate", "--forwards", "--beta", "1e999"},
        {"euler-angles", "--invert", "w"},
        // An empty argument (a script's empty variable) once made the parser loop for ever.
        {"rotate", "a", "", "-x"},
        {"rotate", "--forwards", "in.cry", "", "-o", "out.cry"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto run = run_cli(args, crlf("C1 1 2 3\n"));
        // Usage errors, told apart from the status 1 of an action that failed.
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
    }
}

}  // namespace
}  // namespace orvix
