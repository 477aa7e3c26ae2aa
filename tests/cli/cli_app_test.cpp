// orvix-cli's mechanism: input from a file or standard input, result to a file or standard
// output, messages on standard error, exit status.
#include "cli/cli_app.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "commands/command_table.h"
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
         {std::vector<std::string>{"echo-atoms"}, std::vector<std::string>{"echo-atoms", "-"},
          std::vector<std::string>{"echo-atoms", "-o", "-"}}) {
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, c.input);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_EQ(read_file(dir.file("in.cry")), sample);
}

TEST(Cli, EveryActionRefusesItsInputAsResultAndSaysWhy) {
    // Options that take each action as far as its result file.
    const std::map<std::string, std::vector<std::string>, std::less<>> needed = {
        {"rotate", {"--forwards"}},
        {"generate-positions", {"--op", "x,y,z"}},
        {"cluster", {"--site", "X"}}};
    const std::string axes = crlf("1 1 1 90 90 90\nX 1 0 0\nY 0 1 0\nZ 0 0 1\n");
    scratch_dir dir;
    const std::string input = dir.file("in.cry");
    write_file(input, axes);
    std::set<std::string_view> names;
    for (const command_row& row : command_table())
        if (row.run != nullptr && !row.cli_name.empty()) names.insert(row.cli_name);
    for (const std::string_view name : names) {
        SCOPED_TRACE(name);
        std::vector<std::string> args{std::string(name), input, "-o", input};
        if (const auto more = needed.find(name); more != needed.end())
            args.insert(args.begin() + 1, more->second.begin(), more->second.end());
        const auto run = run_cli(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("orvix-cli: Error creating file! (" + input +
                               ": Device or resource busy)\n"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(read_file(input), axes);
    }
}

// Starts orvix-cli with standard input from a file, standard output into a pipe and its own
// temporary directory; answers its process and the pipe's reading end.
std::pair<pid_t, int> start_cli_into_pipe(const std::vector<std::string>& args,
                                          const std::string& input_path,
                                          const std::string& temporary_directory) {
    int ends[2];
    if (::pipe(ends) != 0) return {-1, -1};
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("TMPDIR", temporary_directory.c_str(), 1);
        // Whatever runs the tests may ignore some of them; orvix-cli would keep that.
        for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            std::signal(signal_number, SIG_DFL);
        std::freopen(input_path.c_str(), "rb", stdin);
        std::freopen("/dev/null", "wb", stderr);
        ::dup2(ends[1], STDOUT_FILENO);
        ::close(ends[0]);
        ::close(ends[1]);
        std::string program = ORVIX_CLI_PATH;
        std::vector<std::string> copies(args);
        std::vector<char*> argv{program.data()};
        for (auto& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        std::_Exit(127);
    }
    ::close(ends[1]);
    return {child, ends[0]};
}

TEST(Cli, AnInterruptedRunStreamsAndLeavesNoTemporaryFile) {
    // n = 20 over one atom: megabytes of result, read only as far as its first bytes, so
    // the run is still writing when it is interrupted (SIGPIPE: the reader goes away).
    scratch_dir dir;
    const std::string input = dir.file("in.cry");
    write_file(input, crlf("5 5 5 90 90 90\nC1 0.1 0.2 0.3\n"));
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        SCOPED_TRACE(signal_number);
        const std::string temporary = dir.file("tmp" + std::to_string(signal_number));
        std::filesystem::create_directory(temporary);
        const auto [child, out] =
            start_cli_into_pipe({"generate-block", "-n", "20"}, input, temporary);
        ASSERT_GT(child, 0);
        char first[64];
        EXPECT_EQ(::read(out, first, sizeof first), static_cast<ssize_t>(sizeof first));
        EXPECT_EQ(std::string(first, 14), "5 5 5 90 90 90");
        if (signal_number == SIGPIPE) {
            ::close(out);
        } else {
            ::kill(child, signal_number);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (signal_number != SIGPIPE) ::close(out);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
        EXPECT_TRUE(std::filesystem::is_empty(temporary));
    }
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
