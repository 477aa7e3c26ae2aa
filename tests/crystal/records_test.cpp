// Crystal data line records: recognition, reading with comment copying, written forms.
#include "crystal/records.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_file;

TEST(Records, LineKinds) {
    // line, comment, cell, Cartesian cell
    // clang-format off
    const std::tuple<const char*, bool, bool, bool> cases[] = {
        {"5.43 5.43 5.43 90 90 90", false, true, false}, {"1 1 1 90 90 90", false, true, true},
        {"1.000 7.5 3.2 90 120 60 words", false, true, true}, {"1.0000001 1 1 90 90 90", false, true, false},
        {"1 1 1 90.00001 90 90", false, true, false}, {"5 5 5 90 90 0", false, false, false},
        {"5 5 5 90 90 -1", false, false, false}, {"1 1 1 90 90", false, false, false},
        {"/ slash first", true, false, false}, {"/", true, false, false}, {"x*abc", true, false, false},
        {"C* 1 2 3", true, false, false}, {"*x 1 2 3", false, false, false}, {"", false, false, false},
    };
    // clang-format on
    for (const auto& [line, comment, cell, cartesian] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(is_comment_line(line), comment);
        EXPECT_EQ(is_cell_line(line), cell);
        EXPECT_EQ(is_cartesian_cell(line), cartesian);
    }
    for (const char* label : {"OR", "or", "Or", "oR"}) EXPECT_TRUE(is_origin_label(label)) << label;
    for (const char* label : {"OR1", "O", "ORR", "", "0R", "OX"})
        EXPECT_FALSE(is_origin_label(label)) << label;
}

TEST(Records, AtomLines) {
    // clang-format off
    const std::tuple<const char*, bool, const char*, float, float, float> cases[] = {
        {"Si1 0.125 0.125 0.125 occupancy", true, "Si1", 0.125f, 0.125f, 0.125f},
        {"  C1\t0.5 -1.25 1e1\r\n", true, "C1", 0.5f, -1.25f, 10.0f},
        {"5 5 5 90 90 0", true, "5", 5, 5, 90},
        {"A_label_of_twenty_five_chr 1 2 3", true, "A_label_of_twenty_five_chr", 1, 2, 3},
        {"Si1 0.125 0.125", false, "", 0, 0, 0}, {"C1 0.5,0.2 0.3", false, "", 0, 0, 0},
        {"", false, "", 0, 0, 0}, {"\r\n", false, "", 0, 0, 0},
    };
    // clang-format on
    for (const auto& [line, ok, label, x, y, z] : cases) {
        SCOPED_TRACE(line);
        atom_record atom;
        ASSERT_EQ(parse_atom_line(line, atom), ok);
        EXPECT_TRUE(!ok || (atom.label == label && atom.x == x && atom.y == y && atom.z == z));
    }
}

// Reading: the cell line is the first line only and leaves the position alone; comment
// lines are copied once, in file order, when asked; cell lines and junk are skipped. And the
// written forms, each line ending in CR LF.
TEST(Records, ReadingAndWriting) {
    test::scratch_dir dir;
    test::write_file(dir.file("in.cry"),
                     crlf("1 1 1 90 90 90 cubic\n/* before */\nC1 1 2 3\njunk\n"
                          " *second\n 1 1 1 90 90 90\nC2 4 5 6\n/* after */\n"));
    test::write_file(dir.file("commented.cry"),
                     crlf("/* first */\n5 5 5 90 90 90\n5 5 5 90 90 0\n"));
    for (bool copy : {true, false}) {
        SCOPED_TRACE(copy);
        auto in = exclusive_file::open_existing(dir.file("in.cry"), exclusive_file::access::read);
        auto out = exclusive_file::create(dir.file("out.cry"));
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
        EXPECT_EQ(
            read_file(dir.file("out.cry")),
            crlf(std::string(copy ? "/* before */\n" : "") + "1 1 1 90 90 90 cubic\nC1\n" +
                 (copy ? " *second\n" : "") + "C2         4.000000     5.000000     6.000000\n" +
                 (copy ? "/* after */\n" : "") + " 1.000  1.000  1.000 90.000 90.000 90.000\n"));
    }
    auto commented =
        exclusive_file::open_existing(dir.file("commented.cry"), exclusive_file::access::read);
    std::string cell;
    EXPECT_FALSE(read_cell_line(*commented, cell));
    atom_record atom;
    EXPECT_TRUE(read_atom_line(*commented, atom, true, nullptr));  // no result file: skipped
    EXPECT_EQ(atom.z, 90.0f);
}

}  // namespace
}  // namespace orvix
