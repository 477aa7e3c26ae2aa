// orvix-cli import's own wiring: options reach the importer, the format is recognised from
// the content or forced, the result goes to -o or standard output only after a successful
// import, messages go to standard error with the exit status.
#include <gtest/gtest.h>

#include "structure/import.h"
#include "structure/import_test_support.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::asymmetric_unit;
using test::block_named;
using test::forced;
using test::tensors_of;

using test::data_path;
using test::read_data;
using test::read_file;
using test::run_cli;
using test::scratch_dir;
using test::write_file;

TEST(ImportCli, OptionsReachTheImporter) {
    scratch_dir dir;
    // No extension: the content decides.
    const std::string cif = dir.file("p21c");
    write_file(cif, read_data("structure/p21c_symops.cif"));
    const std::string magres = data_path("structure/basic.magres");
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        import_options options;
    } cases[] = {
        {"recognised as CIF", {}, cif, import_options()},
        {"asymmetric unit, Cartesian",
         {"--asymmetric-unit", "--cartesian"},
         cif,
         asymmetric_unit(true)},
        {"block", {"--block", "second"}, data_path("structure/blocks.cif"), block_named("second")},
        {"recognised as magres, ms tensors",
         {"--tensors", "ms"},
         magres,
         tensors_of(magres_tensors::ms)},
        {"efg tensors, format given",
         {"--format", "magres", "--tensors", "efg"},
         magres,
         tensors_of(magres_tensors::efg, structure_format::magres)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"import"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(c.input);
        const auto run = run_cli(args);
        const import_result expected = import_structure(read_file(c.input), c.input, c.options);
        ASSERT_TRUE(expected.ok) << expected.error;
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, expected.text);
        EXPECT_EQ(run.err, "");
    }
}

TEST(ImportCli, ResultFileOnlyAfterASuccessfulImport) {
    scratch_dir dir;
    const std::string good = dir.file("nacl.cif");
    const std::string bad = dir.file("bad.cif");
    const std::string out = dir.file("out.cry");
    write_file(good, read_data("structure/nacl_hm.cif"));
    std::string unknown_group = read_data("structure/nacl_hm.cif");
    unknown_group.replace(unknown_group.find("F m -3 m"), 8, "F m 3 q");
    write_file(bad, unknown_group);

    auto run = run_cli({"import", good, "-o", out});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(read_file(out), import_structure(read_file(good), good, {}).text);

    write_file(out, "kept");
    run = run_cli({"import", bad, "-o", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "orvix-cli: " + bad + ":8: unknown space group 'F m 3 q'\n");
    EXPECT_EQ(read_file(out), "kept");

    // The content, not the name, decides, unless --format says otherwise.
    run = run_cli({"import", "--format", "magres", good, "-o", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(good + ":1: not a .magres file"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(out), "kept");

    // A result file that is the input is refused; the input stays as it was.
    const std::string before = read_file(good);
    run = run_cli({"import", good, "-o", good});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "orvix-cli: Error creating file! (" + good + ")\n");
    EXPECT_EQ(read_file(good), before);
}

TEST(ImportCli, StandardInputAndTheWarningOnStandardError) {
    const auto run = run_cli({"import", "-"}, read_data("structure/partial.cif"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              import_structure(read_data("structure/partial.cif"), "standard input", {}).text);
    EXPECT_EQ(run.err,
              "orvix-cli: standard input: 2 of the 3 sites are partly occupied; every site is "
              "kept\n");
}

}  // namespace
}  // namespace orvix
