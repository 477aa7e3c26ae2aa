// Crystal data line records: recognition, reading with comment copying, written forms.
#include "crystal/records.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_file;
using test::scratch_dir;
using test::write_file;

TEST(Records, LineKinds) {
    struct kind_case {
        const char* line;
        bool comment;
        bool cell;
        bool cartesian;
    } cases[] = {
        {"5.43 5.43 5.43 90 90 90", false, true, false},
        {"1 1 1 90 90 90", false, true, true},
        {"1.000 7.5 3.2 90 120 60", false, true, true},
        {"1.0000001 1 1 90 90 90", false, true, false},
        {"5 5 5 90 90 0", false, false, false},
        {"5 5 5 90 90 -1", false, false, false},
        {"1 1 1 90 90 90 trailing words", false, true, true},
        {"1 1 1 90 90", false, false, false},
        {"/ slash first", true, false, false},
        {"/", true, false, false},
        {"x*abc", true, false, false},
        {" *blank then asterisk", true, false, false},
        {"C* 1 2 3", true, false, false},
        {"*x 1 2 3", false, false, false},
        {"1 1 1 90.00001 90 90", false, true, false},
        {"", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(is_comment_line(c.line), c.comment);
        EXPECT_EQ(is_cell_line(c.line), c.cell);
        EXPECT_EQ(is_cartesian_cell(c.line), c.cartesian);
    }
}

TEST(Records, OriginLabels) {
    for (const char* label : {"OR", "or", "Or", "oR"}) EXPECT_TRUE(is_origin_label(label)) << label;
    for (const char* label : {"OR1", "O", "ORR", "", "0R"})
        EXPECT_FALSE(is_origin_label(label)) << label;
}

TEST(Records, AtomLines) {
    struct atom_case {
        const char* line;
        bool ok;
        const char* label;
        float x, y, z;
    } cases[] = {
        {"Si1 0.125 0.125 0.125 occupancy", true, "Si1", 0.125f, 0.125f, 0.125f},
        {"Si1 0.125 0.125", false, "", 0, 0, 0},
        {"or 0 0 0", true, "or", 0, 0, 0},
        {"  C1\t0.5 -1.25 1e1\r\n", true, "C1", 0.5f, -1.25f, 10.0f},
        {"5 5 5 90 90 0", true, "5", 5, 5, 90},
        {"C1 0.5,0.2 0.3", false, "", 0, 0, 0},
        {"A_label_of_twenty_five_chr 1 2 3", true, "A_label_of_twenty_five_chr", 1, 2, 3},
        {"", false, "", 0, 0, 0},
        {"\r\n", false, "", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        atom_record atom;
        ASSERT_EQ(parse_atom_line(c.line, atom), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(atom.label, c.label);
        EXPECT_EQ(atom.x, c.x);
        EXPECT_EQ(atom.y, c.y);
        EXPECT_EQ(atom.z, c.z);
    }
}

TEST(Records, WrittenForms) {
    EXPECT_EQ(format_atom_line("C1", 0.5f, -1.25f, 10.0f),
              "C1         0.500000    -1.250000    10.000000");
    EXPECT_EQ(format_atom_line("OR", 0, 0, 0), "OR         0.000000     0.000000     0.000000");
    EXPECT_EQ(format_atom_line("C1", 0.1f, 0, 0).substr(7, 12), "    0.100000");
    // A label longer than six characters widens its field; nothing is cut.
    EXPECT_EQ(format_atom_line("Label_of_many_characters", 1, 2, 3),
              "Label_of_many_characters     1.000000     2.000000     3.000000");
    scratch_dir dir;
    const std::string path = dir.file("out.cry");
    {
        auto file = exclusive_file::create(path);
        ASSERT_TRUE(file);
        write_cartesian_cell(*file);
        copy_cell_line(*file, "5 5 5 90 90 90\r\n");
        write_line(*file, "text");
        write_atom_line(*file, "C1", 0.5f, -1.25f, 10.0f);
        file->close();
    }
    EXPECT_EQ(read_file(path), crlf(" 1.000  1.000  1.000 90.000 90.000 90.000\n"
                                    "5 5 5 90 90 90\n"
                                    "text\n"
                                    "C1         0.500000    -1.250000    10.000000\n"));
}

class ReaderTest : public testing::Test {
  protected:
    std::optional<exclusive_file> open(const std::string& text) {
        path_ = dir_.file("in" + std::to_string(++count_) + ".cry");
        write_file(path_, text);
        return exclusive_file::open_existing(path_, exclusive_file::access::read);
    }
    scratch_dir dir_;
    std::string path_;
    int count_ = 0;
};

TEST_F(ReaderTest, CellLineIsTheFirstLineOnlyAndKeepsThePosition) {
    auto file = open(crlf("5.43 5.43 5.43 90 90 90 cubic\nSi1 0 0 0\nSi2 0.25 0.25 0.25\n"));
    ASSERT_TRUE(file);
    atom_record atom;
    ASSERT_TRUE(read_atom_line(*file, atom, false, nullptr));
    EXPECT_EQ(atom.label, "Si1");
    std::string cell;
    ASSERT_TRUE(read_cell_line(*file, cell));
    EXPECT_EQ(cell, "5.43 5.43 5.43 90 90 90 cubic\r\n");
    ASSERT_TRUE(read_atom_line(*file, atom, false, nullptr));
    EXPECT_EQ(atom.label, "Si2");
    EXPECT_FALSE(read_atom_line(*file, atom, false, nullptr));

    auto commented = open(crlf("/* first */\n5.43 5.43 5.43 90 90 90\n"));
    EXPECT_FALSE(read_cell_line(*commented, cell));
    auto empty = open("");
    EXPECT_FALSE(read_cell_line(*empty, cell));
    auto not_cell = open(crlf("5 5 5 90 90 0\n"));
    EXPECT_FALSE(read_cell_line(*not_cell, cell));
    ASSERT_TRUE(read_atom_line(*not_cell, atom, false, nullptr));
    EXPECT_EQ(atom.label, "5");
    EXPECT_EQ(atom.z, 90.0f);
}

TEST_F(ReaderTest, CommentsAreCopiedOnceInFileOrderWhenAsked) {
    const std::string text = crlf(
        "1 1 1 90 90 90\n/* before C1 */\nC1 1 2 3\njunk line\n *second\n 1 1 1 90 90 90\n"
        "C2 4 5 6\n/* after */\n");
    for (bool copy : {true, false}) {
        SCOPED_TRACE(copy ? "copy on" : "copy off");
        auto file = open(text);
        ASSERT_TRUE(file);
        const std::string out_path = dir_.file(copy ? "copied.txt" : "plain.txt");
        auto out = exclusive_file::create(out_path);
        std::vector<std::string> labels;
        atom_record atom;
        while (read_atom_line(*file, atom, copy, &*out)) {
            labels.push_back(atom.label);
            write_line(*out, atom.label);
        }
        out->close();
        EXPECT_EQ(labels, (std::vector<std::string>{"C1", "C2"}));
        EXPECT_EQ(
            read_file(out_path),
            copy ? crlf("/* before C1 */\nC1\n *second\nC2\n/* after */\n") : crlf("C1\nC2\n"));
    }
    auto file = open(text);
    atom_record atom;
    EXPECT_TRUE(read_atom_line(*file, atom, true, nullptr));  // no result file: only skipped
}

TEST_F(ReaderTest, AnOverlongCommentIsNeverReadAsAnAtom) {
    // The tail of a long comment line must not come back as a line of its own.
    const std::string comment = "/* " + std::string(300, '-') + " X9 1 2 3 */";
    auto file = open(crlf(comment + "\nC1 1 2 3\n"));
    const std::string out_path = dir_.file("out.txt");
    auto out = exclusive_file::create(out_path);
    atom_record atom;
    ASSERT_TRUE(read_atom_line(*file, atom, true, &*out));
    EXPECT_EQ(atom.label, "C1");
    EXPECT_FALSE(read_atom_line(*file, atom, true, &*out));
    out->close();
    EXPECT_EQ(read_file(out_path), comment + "\r\n");
}

TEST_F(ReaderTest, LineFeedOnlyFilesAreReadAsIfCrLf) {
    auto file = open("1 1 1 90 90 90\n/* c */\nC1 1 2 3");
    std::string cell;
    ASSERT_TRUE(read_cell_line(*file, cell));
    const std::string out_path = dir_.file("out.txt");
    auto out = exclusive_file::create(out_path);
    copy_cell_line(*out, cell);
    atom_record atom;
    ASSERT_TRUE(read_atom_line(*file, atom, true, &*out));
    EXPECT_EQ(atom.z, 3.0f);
    out->close();
    EXPECT_EQ(read_file(out_path), "1 1 1 90 90 90\r\n/* c */\r\n");
}

}  // namespace
}  // namespace orvix
