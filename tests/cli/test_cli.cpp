// orvix-cli's mechanism: input from a file or standard input, result to a file or standard
// output, messages on standard error, exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_app.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_file;
using test::run_cli;
using test::scratch_dir;
using test::write_file;

const std::string sample = crlf("1 1 1 90 90 90\n/* note */\nC1 0.5 -1.25 10\n");
const std::string sample_result =
    crlf("1 1 1 90 90 90\n/* note */\nC1         0.500000    -1.250000    10.000000\n");

TEST(Cli, StandardInputToStandardOutput) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"echo-atoms"}, std::vector<std::string>{"echo-atoms", "-"}}) {
        const auto run = run_cli(args, sample);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, sample_result);
        EXPECT_EQ(run.err, "");
    }
}

TEST(Cli, InputFileToOutputFile) {
    scratch_dir dir;
    write_file(dir.file("in.cry"), sample);
    const auto run = run_cli({"echo-atoms", dir.file("in.cry"), "-o", dir.file("out.cry")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(read_file(dir.file("out.cry")), sample_result);
    EXPECT_EQ(read_file(dir.file("in.cry")), sample);
}

TEST(Cli, ErrorsGoToStandardErrorWithStatusOne) {
    scratch_dir dir;
    write_file(dir.file("in.cry"), sample);
    struct {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        std::string err;
    } cases[] = {
        {"missing input file",
         {"echo-atoms", dir.file("missing.cry")},
         "",
         "orvix-cli: Could not read file! (missing.cry)\n"
         "orvix-cli: could not get name of input file\n"},
        {"empty standard input",
         {"echo-atoms"},
         "",
         "orvix-cli: could not get name of input file\n"},
        {"full disk",
         {"echo-atoms", dir.file("in.cry"), "-o", "/dev/full"},
         "",
         "orvix-cli: Error writing file! Disk full? (/dev/full)\n"},
        {"result is the input",
         {"echo-atoms", dir.file("in.cry"), "-o", dir.file("in.cry")},
         "",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, c.input);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_EQ(read_file(dir.file("in.cry")), sample);
}

TEST(Cli, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"no-such-action"},
          std::vector<std::string>{"echo-atoms", "--no-such-option"},
          std::vector<std::string>{"echo-atoms", "a", "b"}}) {
        const auto run = run_cli(args, sample);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("orvix-cli"), std::string::npos);
    }
}

TEST(Cli, HelpAndVersion) {
    const auto version = run_cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("orvix-cli ", 0), 0u);
    const auto help = run_cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: orvix-cli"), std::string::npos);
    const auto action_help = run_cli({"echo-atoms", "--help"});
    EXPECT_EQ(action_help.status, 0);
    EXPECT_NE(action_help.out.find("--output"), std::string::npos);
}

TEST(Cli, LeavesNoTemporaryFilesBehind) {
    const auto before = test::temporary_copies();
    run_cli({"echo-atoms"}, sample);
    run_cli({"echo-atoms", "-o", "/dev/full"}, sample);
    EXPECT_EQ(test::temporary_copies(), before);
}

}  // namespace
}  // namespace orvix

namespace orvix {
namespace {

TEST(CliConfigure, OnlyTheGivenSubcommandsStepsRun) {
    CLI::App app;
    cli_invocation invocation;
    std::vector<std::string> ran;
    invocation.configure.push_back([&ran](cli_services&) { ran.push_back("global"); });
    add_action_subcommand(app, invocation, "first", "", 1);
    invocation.configure.push_back([&ran](cli_services&) { ran.push_back("first"); });
    add_action_subcommand(app, invocation, "second", "", 2);
    invocation.configure.push_back([&ran](cli_services&) { ran.push_back("second"); });
    const char* argv[] = {"orvix-cli", "second"};
    app.parse(2, const_cast<char**>(argv));
    cli_services ui;
    invocation.configure.run(ui);
    EXPECT_EQ(ran, (std::vector<std::string>{"global", "second"}));
    EXPECT_EQ(invocation.command, 2);
}

}  // namespace
}  // namespace orvix
