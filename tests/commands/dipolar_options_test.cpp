// orvix-cli dipolar and orvix-cli nuclei: options become the dialog's answers, the report
// goes to standard output or -o, and bad values are usage errors.
#include <gtest/gtest.h>

#include "dipolar/dipolar_test_support.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::run_cli;

const std::string input = crlf(
    "1 1 1 90 90 90\n"
    "/ two neighbours\n"
    "H0 0 0 0\n"
    "H1 0 0 1.5\n"
    "H2 1.2 0.9 0\n");

// The option sets against the same computation on explicitly filled parameters.
TEST(DipolarCli, OptionsAnswerTheDialog) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::function<void(dipolar_parameters&)> expected;
    } cases[] = {
        {"defaults: single crystal, 1H-1H, abundance 100",
         {},
         [](dipolar_parameters& p) { p.abundance = 100; }},
        {"powder, coupled nucleus brings its abundance",
         {"--powder", "--observed", "1H", "--coupled", "13c"},
         [](dipolar_parameters& p) {
             p = test::parameters_for("1H", "13C");
             p.moment_type = 0;
         }},
        {"typed abundance wins",
         {"--powder", "--coupled", "13C", "--abundance", "50"},
         [](dipolar_parameters& p) {
             p = test::parameters_for("1H", "13C");
             p.moment_type = 0;
             p.abundance = 50;
         }},
        {"list numbers",
         {"--observed", "14", "--coupled=1", "--powder"},
         [](dipolar_parameters& p) {
             p = test::parameters_for("19F", "1H");
             p.abundance = 99.9885;
             p.moment_type = 0;
         }},
        {"rotation options",
         {"--single-crystal", "--alpha", "-45", "--beta", "30.5", "--gamma-start", "-10",
          "--gamma-increment", "2.5", "--gamma-end", "20", "--phase", "7", "--sense",
          "anticlockwise", "--cutoff", "1.6"},
         [](dipolar_parameters& p) {
             p.abundance = 100;
             p.alpha = -45;
             p.beta = 30.5;
             p.gamma_start = -10;
             p.gamma_increment = 2.5;
             p.gamma_end = 20;
             p.phase = 7;
             p.rotation_sense = 1;
             p.cutoff = 1.6;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p = test::parameters_for("1H", "1H");
        c.expected(p);
        const test::moment_run expected = test::run_moment(input, p);
        std::vector<std::string> args{"dipolar"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const test::cli_run run = run_cli(args, input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, expected.report);
        EXPECT_FALSE(run.out.empty());
    }
}

TEST(DipolarCli, WritesTheResultFileAndReportsFailures) {
    test::scratch_dir dir;
    test::write_file(dir.file("in.cry"), input);
    const test::cli_run ok =
        run_cli({"dipolar", "--powder", dir.file("in.cry"), "-o", dir.file("out.txt")});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "");
    EXPECT_NE(test::read_file(dir.file("out.txt")).find("Second moment:  "), std::string::npos);

    const test::cli_run bad_cell = run_cli({"dipolar"}, crlf("5 5 5 90 90 90\nH 0 0 0\n"));
    EXPECT_EQ(bad_cell.status, 1);
    // The error report's two messages make one line on standard error.
    EXPECT_EQ(bad_cell.err,
              "orvix-cli: Error in calculating dipolar second moments! "
              "The crystal axis system is not Cartesian!\n");

    const test::cli_run zero_step = run_cli({"dipolar", "--gamma-increment", "0"}, input);
    EXPECT_EQ(zero_step.status, 1);
    EXPECT_EQ(zero_step.out, "");
    EXPECT_EQ(zero_step.err,
              "orvix-cli: The rotation angle increment must be greater than zero!\n");
}

TEST(DipolarCli, BadValuesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--observed", "99X"}, {"--coupled", "0"},
        {"--coupled", "121"},  {"--abundance", "1,5"},
        {"--alpha", "ten"},    {"--cutoff", "2.5A"},
        {"--sense", "left"},   {"--powder", "--single-crystal"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0] + " " + c[1]);
        std::vector<std::string> args{"dipolar"};
        args.insert(args.end(), c.begin(), c.end());
        const test::cli_run run = run_cli(args, input);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
    }
}

TEST(DipolarCli, NucleiListsTheTable) {
    const test::cli_run run = run_cli({"nuclei"});
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = [&] {
        std::vector<std::string> out;
        std::size_t start = 0;
        for (std::size_t end; (end = run.out.find('\n', start)) != std::string::npos;
             start = end + 1)
            out.push_back(run.out.substr(start, end - start));
        return out;
    }();
    ASSERT_EQ(lines.size(), 121u);
    EXPECT_EQ(lines[0],
              "number\tnucleus\tspin\tgamma (10^7 rad s^-1 T^-1)\tabundance (%)\tQ (fm^2)");
    EXPECT_EQ(lines[1], "1\t1H\t0.5\t26.7522128\t99.9885\t0");
    EXPECT_EQ(lines[14], "14\t19F\t0.5\t25.18148\t100\t0");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "12\t15N\t0.5\t-2.71261804\t0.368\t0"),
              lines.end());
    // Pyykko 2018, as nuclei-SOURCES.md checks them.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "13\t17O\t2.5\t-3.62808\t0.038\t-2.558"),
              lines.end());
}

}  // namespace
}  // namespace orvix
