// orvix-cli generate-positions and generate-block: the same bytes as the desktop actions,
// usage errors with exit status 2, the large-result question, and a streaming run whose
// peak memory is measured.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "crystal/records.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::data_path;
using test::read_data;
using test::read_file;
using test::run_cli;

TEST(GenerateCli, results_equal_the_golden_files) {
    struct cli_case {
        const char* name;
        std::vector<std::string> args;  // the input file is added at the end
        const char* input;
        const char* golden;
    };
    const std::vector<cli_case> cases = {
        {"two operations",
         {"generate-positions", "--op", "x,y,z", "--op=-x,y+1/2,-z+1/2"},
         "positions_input.cry",
         "positions_two.cry"},
        {"an operation beginning with a minus sign as a separate argument",
         {"generate-positions", "--op", "x, y, z", "--op", "-x, 1/2+y, 1/2-z"},
         "positions_input.cry",
         "positions_two.cry"},
        {"block with the default n = 1", {"generate-block"}, "block_input.cry", "block_n1.cry"},
        {"block n = -1", {"generate-block", "-n", "-1"}, "block_input.cry", "block_n0.cry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto args = c.args;
        args.push_back(data_path(std::string("generate/") + c.input));
        const auto run = run_cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, read_data(std::string("generate/") + c.golden));
        EXPECT_EQ(run.err, "");
    }
}

TEST(GenerateCli, usage_errors_exit_with_2_and_name_the_fault) {
    struct usage_case {
        const char* name;
        std::vector<std::string> args;
        const char* in_message;
    };
    const std::vector<usage_case> cases = {
        {"two coordinates in one term", {"generate-positions", "--op", "x-y,y,z"}, "\"x-y\""},
        {"no coordinate", {"generate-positions", "--op", "x,y,1/2"}, "\"1/2\""},
        {"two terms", {"generate-positions", "--op", "x,y"}, "three terms"},
        {"a bad second operation",
         {"generate-positions", "--op", "x,y,z", "--op", "x,2y,z"},
         "\"2y\""},
        {"no operation", {"generate-positions"}, "--op"},
        {"n beyond 32 bits", {"generate-block", "-n", "2147483648"}, "-n"},
        {"n not a number", {"generate-block", "-n", "two"}, "-n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto args = c.args;
        args.push_back(data_path("generate/positions_input.cry"));
        const auto run = run_cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.in_message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(GenerateCli, the_large_result_question_is_answered_ok_unless_refused) {
    // n = 232 over one atom: 465^3 + 1 = 100,544,626 lines. Refused, the question is printed
    // and nothing is written; answered OK (the default), writing starts, and /dev/full
    // shows it did.
    const std::string input = crlf("5 5 5 90 90 90\nC1 0.1 0.2 0.3\n");
    // Both runs write to /dev/full, so that a fault here can never fill a disk.
    const auto refused =
        run_cli({"generate-block", "-n", "232", "--refuse-large", "-o", "/dev/full"}, input);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.find("Error writing"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("The result will have 100544626 lines. Do you want to go on?"),
              std::string::npos)
        << refused.err;

    const auto accepted = run_cli({"generate-block", "-n", "232", "-o", "/dev/full"}, input);
    EXPECT_EQ(accepted.status, 1);
    EXPECT_EQ(accepted.err,
              "orvix-cli: The result will have 100544626 lines. Do you want to go on?\n"
              "orvix-cli: Error writing file! Disk full? (/dev/full)\n");
}

TEST(GenerateCli, cluster_answers_its_dialog_from_site_and_radius) {
    // Within 2.7 Angstrom of Cl1 lie Na1 and its copy across the cell edge, 2.65 away;
    // within 10 Angstrom of Na2 lie 90 atoms (counted with a short script).
    const std::string input = crlf("5.3 5.3 5.3 90 90 90\nNa1 0 0 0\nCl1 0.5 0 0\nNa2 0 0 0.5\n");
    struct cluster_cli_case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::size_t lines;       // of the output
        const char* in_output;   // a line the output holds
        const char* in_message;  // what standard error holds
    };
    const std::vector<cluster_cli_case> cases = {
        {"site and radius",
         {"cluster", "--site", "Cl1", "--radius", "2.7"},
         0,
         5,
         "Cl1        2.650000",
         ""},
        {"the radius defaults to 10",
         {"cluster", "--site", "Na2"},
         0,
         3 + 90,
         "/* cluster around Na2: radius 10 Angstrom, 90 neighbours */",
         ""},
        {"a label not in the data",
         {"cluster", "--site", "K1"},
         1,
         0,
         "",
         "There is no atom labelled K1"},
        {"no --site", {"cluster", "--radius", "3"}, 2, 0, "", "--site"},
        {"a radius that is no number",
         {"cluster", "--site", "Na1", "--radius", "ten"},
         2,
         0,
         "",
         "--radius"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, input);
        EXPECT_EQ(run.status, c.status) << run.err;
        std::size_t lines = 0;
        for (char ch : run.out) lines += ch == '\n';
        EXPECT_EQ(lines, c.lines);
        EXPECT_NE(run.out.find(c.in_output), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(c.in_message), std::string::npos) << run.err;
    }
}

// Runs orvix-cli with the arguments and answers its exit status and peak resident memory
// in kilobytes.
struct measured_run {
    int status = -1;
    long max_rss_kb = 0;
};

measured_run run_measured(const std::vector<std::string>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "rb", stdin);
        std::vector<std::string> copies(args);
        std::string program = ORVIX_CLI_PATH;
        std::vector<char*> argv{program.data()};
        for (auto& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

TEST(GenerateCli, a_block_streams_with_flat_memory) {
    // n = 20 over ten atoms: 41^3 * 10 = 689,210 atom lines after the cell line. Peak memory
    // must not grow with n: compared with n = 1 over the same atoms.
    test::scratch_dir dir;
    std::string input = crlf("10.5 11.2 12.9 90 100.5 90\n");
    for (int i = 0; i < 10; ++i)
        input += crlf(std::string("C").append(std::to_string(i)) + " 0." + std::to_string(i) +
                      "5 -0.3" + std::to_string(i) + " 0.7" + std::to_string(i) + "\n");
    const std::string in = dir.file("ten.cry");
    test::write_file(in, input);

    const std::string small_out = dir.file("n1.cry");
    const std::string large_out = dir.file("n20.cry");
    const measured_run small = run_measured({"generate-block", "-n", "1", in, "-o", small_out});
    const measured_run large = run_measured({"generate-block", "-n", "20", in, "-o", large_out});
    ASSERT_EQ(small.status, 0);
    ASSERT_EQ(large.status, 0);

    const std::string text = read_file(large_out);
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 1u + 689210u);
    // Every atom line has the same width here, so the size is exact.
    EXPECT_EQ(text.size(), (input.find("\r\n") + 2) + 689210u * 47u);
    EXPECT_TRUE(
        text.ends_with(format_atom_line("C9", 0.95f + 20, -0.39f + 20, 0.79f + 20) + "\r\n"));

    std::printf(
        "[ memory   ] peak resident memory of orvix-cli generate-block: n = 1: %ld KB, "
        "n = 20 (689,210 lines, %zu bytes): %ld KB\n",
        small.max_rss_kb, text.size(), large.max_rss_kb);
    testing::Test::RecordProperty("max_rss_kb_n1", std::to_string(small.max_rss_kb));
    testing::Test::RecordProperty("max_rss_kb_n20", std::to_string(large.max_rss_kb));
    // The output is 32 MB; a program that held it would grow by that much.
    EXPECT_LT(large.max_rss_kb - small.max_rss_kb, 2048);
}

}  // namespace
}  // namespace orvix
