// orvix-cli diagonalise: the order flags, input, exit status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::data_path;
using test::read_data;
using test::read_file;
using test::run_cli;

TEST(DiagonaliseCli, OrdersInputsAndStatus) {
    const std::string sample = data_path("tensor/sample.cry");
    const std::string descending = read_data("tensor/sample.descending.cry");
    const std::string ascending = read_data("tensor/sample.ascending.cry");
    struct {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"descending is the default", {"diagonalise", sample}, "", 0, descending, ""},
        {"--descending", {"diagonalise", "--descending", sample}, "", 0, descending, ""},
        {"--ascending", {"diagonalise", "--ascending", sample}, "", 0, ascending, ""},
        {"standard input", {"diagonalise", "--ascending"}, read_file(sample), 0, ascending, ""},
        {"'-' reads standard input", {"diagonalise", "-"}, read_file(sample), 0, descending, ""},
        {"fewer than nine numbers",
         {"diagonalise"},
         crlf("/* c */\n1 2 3\n"),
         0,
         crlf("/* c */\n"),
         ""},
        {"a NaN element",
         {"diagonalise"},
         crlf("/* c */\n1 2 3 4 nan 6 7 8 9\n"),
         1,
         crlf("/* c */\n"),
         "orvix-cli: Wrong data format!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(DiagonaliseCli, UsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"diagonalise", "--ascending", "--descending"},
          std::vector<std::string>{"diagonalise", "--sideways"}}) {
        SCOPED_TRACE(args.back());
        EXPECT_EQ(run_cli(args, crlf("1 2 3\n")).status, 2);
    }
}

}  // namespace
}  // namespace orvix
