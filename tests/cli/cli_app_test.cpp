// orvix-cli interrupted while it streams a result: the signal ends it as the signal would,
// and no temporary file is left behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::scratch_dir;
using test::write_file;

// Starts orvix-cli with standard input from a file, standard output into a pipe and its own
// temporary directory; answers its process and the pipe's reading end.
std::pair<pid_t, int> start_cli_into_pipe(const std::vector<std::string>& args,
                                          const std::string& input_path,
                                          const std::string& temporary_directory) {
    int ends[2];
    if (::pipe(ends) != 0) return {-1, -1};
    const pid_t child = test::start_cli(args, [&] {
        ::setenv("TMPDIR", temporary_directory.c_str(), 1);
        // Whatever runs the tests may ignore some of them; orvix-cli would keep that.
        for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            std::signal(signal_number, SIG_DFL);
        std::freopen(input_path.c_str(), "rb", stdin);
        std::freopen("/dev/null", "wb", stderr);
        ::dup2(ends[1], STDOUT_FILENO);
        ::close(ends[0]);
        ::close(ends[1]);
    });
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

}  // namespace
}  // namespace orvix
