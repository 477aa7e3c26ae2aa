// orvix-cli orthogonalize-axes, orthogonalize-coordinates, normal and polar.
#include <gtest/gtest.h>

#include "actions/messages.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_data;
using test::read_file;
using test::run_cli;

std::string data(const std::string& name) {
    return read_data("axes/" + name);
}

TEST(CliOrthogonalize, matches_the_desktop_result_files) {
    struct test_case {
        const char* name;
        std::vector<std::string> args;
        const char* input;
        const char* expected;
        const char* err = "";
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"coordinates, default order", {"orthogonalize-coordinates"}, "coords_hexagonal_input.cry",
         "coords_hexagonal.cry"},
        {"coordinates, --order bac", {"orthogonalize-coordinates", "--order", "bac"},
         "coords_bac_input.cry", "coords_bac.cry"},
        {"coordinates, cyclic order in capitals", {"orthogonalize-coordinates", "--order=CAB"},
         "coords_triclinic_input.cry", "coords_triclinic_cab.cry"},
        {"axes", {"orthogonalize-axes"}, "axes_near_unit_input.cry", "axes_near_unit.cry"},
        // The question --normalize answered is still reported on standard error.
        {"axes, --normalize", {"orthogonalize-axes", "--normalize", "--order", "abc"},
         "axes_tilted_input.cry", "axes_tilted.cry",
         "orvix-cli: The direction cosines are not unit vectors! Do you want to normalize them "
         "(OK) or to cancel?\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, data(c.input));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, data(c.expected));
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(CliOrthogonalize, failures) {
    struct test_case {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string err_contains;
        std::string out;  // what was written before the end
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"an order that leaves an axis out", {"orthogonalize-coordinates", "--order", "aac"},
         data("coords_cubic_input.cry"), 1, std::string(msg::axes_not_assigned), ""},
        {"the same for the axes", {"orthogonalize-axes", "--order", "bbb"},
         data("axes_near_unit_input.cry"), 1, std::string(msg::axes_not_assigned), ""},
        {"unanswered normalisation question", {"orthogonalize-axes"},
         data("axes_tilted_input.cry"), 1, std::string(msg::not_unit_vectors),
         crlf(" 1.000  1.000  1.000 90.000 90.000 90.000\n/ measured axes\n"
              "OR         0.500000     0.500000     0.500000\n")},
        {"no cell line", {"orthogonalize-coordinates"}, crlf("A 1 2 3\n"), 1,
         std::string(msg::no_crystal_axes), ""},
        {"two letters", {"orthogonalize-coordinates", "--order", "ab"}, "", 2, "--order", ""},
        {"a letter outside a, b, c", {"orthogonalize-axes", "--order", "abd"}, "", 2, "--order",
         ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_NE(run.err.find(c.err_contains), std::string::npos) << run.err;
    }
}

TEST(CliNormalAndPolar, results_and_the_explained_silent_end) {
    const std::string cartesian = crlf("1 1 1 90 90 90\nA 0 0 0\nB 2 0 0\nC 0 3 0\n");
    const std::string fractional = crlf("5 5 5 90 90 90\nA 0 0 0\nB 2 0 0\nC 0 3 0\n");
    const std::string explanation = "orvix-cli: " + std::string(msg::no_cartesian_cell_line) + "\n";
    struct test_case {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
        std::string err;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"normal", {"normal"}, cartesian, 0,
         crlf("normal vector:     0.000000     0.000000     6.000000\n"
              "normalized:        0.000000     0.000000     1.000000\n"), ""},
        {"polar", {"polar"}, cartesian, 0, crlf("A          0.000000     0.000000     0.000000\n"
                                                "B          0.000000    90.000000     2.000000\n"
                                                "C         90.000000    90.000000     3.000000\n"),
         ""},
        {"normal without a Cartesian cell", {"normal"}, fractional, 1, "", explanation},
        {"polar without a cell line", {"polar"}, crlf("A 0 0 1\n"), 1, "", explanation},
        {"collinear atoms", {"normal"}, crlf("1 1 1 90 90 90\nA 0 0 0\nB 1 1 1\nC 2 2 2\n"), 1,
         crlf("normal vector:     0.000000     0.000000     0.000000\n"),
         "orvix-cli: " + std::string(msg::null_vector) + "\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = run_cli(c.args, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }

    // With -o the (empty) result file is written as the desktop program leaves it.
    test::scratch_dir dir;
    test::write_file(dir.file("in.cry"), fractional);
    const auto run = run_cli({"polar", dir.file("in.cry"), "-o", dir.file("out.cry")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, explanation);
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.cry")));
    EXPECT_EQ(read_file(dir.file("out.cry")), "");
}

}  // namespace
}  // namespace orvix
