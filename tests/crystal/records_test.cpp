// Crystal data line records: recognition, reading with comment copying, written forms.
#include "crystal/records.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "support/case_file.h"

namespace orvix {
namespace {

using namespace test;

// Cases in tests/data/crystal/lines.tsv.
TEST(Records, LineKindsAndAtomLines) {
    const auto cases = read_cases("crystal/lines.tsv");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at(0));
        EXPECT_EQ(is_comment_line(c[0]), c.at(1) == "1");
        EXPECT_EQ(is_cell_line(c[0]), c.at(2) == "1");
        EXPECT_EQ(is_cartesian_cell(c[0]), c.at(3) == "1");
        atom_record atom;
        ASSERT_EQ(parse_atom_line(c[0], atom), c.at(4) != "-");
        if (c[4] == "-") continue;
        std::istringstream xyz(c.at(5));
        float x, y, z;
        xyz >> x >> y >> z;
        EXPECT_EQ(atom.label, c[4]);
        EXPECT_EQ((std::array{atom.x, atom.y, atom.z}), (std::array{x, y, z}));
    }
    for (const char* label : {"OR", "or", "Or", "oR"}) EXPECT_TRUE(is_origin_label(label)) << label;
    for (const char* label : {"OR1", "", "0R", "OX"}) EXPECT_FALSE(is_origin_label(label)) << label;
}

// Reading: the cell line is the first line only and leaves the position alone; comment
// lines are copied once, in file order, when asked; cell lines and junk are skipped. And the
// written forms, each line ending in CR LF.
TEST(Records, ReadingAndWriting) {
    scratch_dir dir;
    const std::string in_path = dir.file("in.cry"), out_path = dir.file("out.cry");
    write_file(in_path, crlf("1 1 1 90 90 90 cubic\n/* before */\nC1 1 2 3\njunk\n *second\n"
                             " 1 1 1 90 90 90\nC2 4 5 6\n/* after */\n"));
    // clang-format off
    const std::pair<bool, std::string> cases[] = {
        {true, "/* before */\n1 1 1 90 90 90 cubic\nC1\n *second\nC2         4.000000     5.000000     6.000000\n"
               "/* after */\n 1.000  1.000  1.000 90.000 90.000 90.000\n"},
        {false, "1 1 1 90 90 90 cubic\nC1\nC2         4.000000     5.000000     6.000000\n"
                " 1.000  1.000  1.000 90.000 90.000 90.000\n"}};
    // clang-format on
    for (const auto& [copy, expected] : cases) {
        auto in = exclusive_file::open_existing(in_path, exclusive_file::access::read);
        auto out = exclusive_file::create(out_path);
        std::string cell;
        atom_record atom;
        ASSERT_TRUE(read_atom_line(*in, atom, copy, &*out));
        ASSERT_TRUE(read_cell_line(*in, cell));
        copy_cell_line(*out, cell);
        write_line(*out, atom.label);
        while (read_atom_line(*in, atom, copy, &*out))
            write_atom_line(*out, atom.label, atom.x, atom.y, atom.z);
        write_cartesian_cell(*out);
        out->close();
        EXPECT_EQ(read_file(out_path), crlf(expected)) << copy;
    }
    // No cell line behind a comment line.
    write_file(in_path, crlf("/* first */\n5 5 5 90 90 90\n"));
    auto in = exclusive_file::open_existing(in_path, exclusive_file::access::read);
    std::string cell;
    EXPECT_FALSE(read_cell_line(*in, cell));
}

}  // namespace
}  // namespace orvix
