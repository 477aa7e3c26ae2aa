// The streaming core against the plain algorithm it replaces: re-reading the input with
// read_atom_line for every operation or translation, and formatting every line with the C
// library. Both must give the same bytes.
#include "generate/positions.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "crystal/records.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;

// An input with everything the readers treat specially: comments at the start, between
// atoms and at the end, a cell line that is not the first line, a six-number line with a
// zero (an atom line), lines that are neither, an LF-only line, a long label, origin
// lines, negative zeros, and a last line without a line end.
const std::string tricky_input = crlf(
                                     "5.43 5.43 5.43 90 90 90\n"
                                     "/* first comment\n"
                                     "Si1 0.125 0.125 0.125 occupancy\n"
                                     " * second comment\n"
                                     "5 5 5 90 90 0\n"
                                     "7 7 7 90 90 90\n"
                                     "Si1 0.125 0.125\n"
                                     "\n"
                                     "*not a comment\n"
                                     "a_very_long_label_name -0 0.5 -0.0\n"
                                     "oR 0 0 0\n"
                                     "/ third comment\n") +
                                 "N2 0.3333333 -0.6666667 1e-7\n" + "x*abc\r\n" +
                                 "Cl 1.5 -2.5 3.75";

std::string write_to_string(const std::function<void(exclusive_file&)>& writer) {
    test::scratch_dir dir;
    const std::string path = dir.file("out.cry");
    {
        auto file = exclusive_file::create(path);
        EXPECT_TRUE(file);
        writer(*file);
        file->close();
    }
    return test::read_file(path);
}

std::string c_atom_line(const std::string& label, float x, float y, float z) {
    return c_format("%-6s %12.6f %12.6f %12.6f\r\n", label.c_str(), static_cast<double>(x),
                    static_cast<double>(y), static_cast<double>(z));
}

// The images of one operation as the plain algorithm writes them: rewind, read every atom
// line (copying comments when asked), apply, format with the C library.
std::string reference_images(exclusive_file& input, const symmetry_operation& operation,
                             bool with_comments) {
    return write_to_string([&](exclusive_file& out) {
        input.rewind();
        atom_record atom;
        while (read_atom_line(input, atom, with_comments, &out)) {
            const std::array<float, 3> old = {atom.x, atom.y, atom.z};
            std::array<float, 3> image{};
            for (std::size_t row = 0; row < 3; ++row)
                image[row] = static_cast<float>(
                    operation.factor[row] * static_cast<double>(old[operation.source[row]]) +
                    operation.shift[row]);
            out.write(c_atom_line(atom.label, image[0], image[1], image[2]));
        }
    });
}

// The block as the plain algorithm writes it: the atoms, then a fresh pass over the input
// for every translation.
std::string reference_block(exclusive_file& input, int n) {
    return write_to_string([&](exclusive_file& out) {
        atom_record atom;
        input.rewind();
        while (read_atom_line(input, atom, false, nullptr))
            out.write(c_atom_line(atom.label, atom.x, atom.y, atom.z));
        for (int i = -n; i <= n; ++i)
            for (int j = -n; j <= n; ++j)
                for (int k = -n; k <= n; ++k) {
                    if (i == 0 && j == 0 && k == 0) continue;
                    input.rewind();
                    while (read_atom_line(input, atom, false, nullptr))
                        out.write(c_atom_line(atom.label, atom.x + k, atom.y + j, atom.z + i));
                }
    });
}

class InputFileTest : public testing::Test {
  protected:
    void SetUp() override {
        path_ = dir_.file("input.cry");
        test::write_file(path_, tricky_input);
        auto file = exclusive_file::open_existing(path_, exclusive_file::access::read_write);
        ASSERT_TRUE(file);
        input_.emplace(std::move(*file));
    }
    exclusive_file& input() { return *input_; }

    test::scratch_dir dir_;
    std::string path_;
    std::optional<exclusive_file> input_;
};

TEST_F(InputFileTest, one_pass_finds_what_read_atom_line_finds) {
    const atom_table table = read_atom_table(input(), true);
    input().rewind();
    atom_record atom;
    std::size_t index = 0;
    while (read_atom_line(input(), atom, false, nullptr)) {
        SCOPED_TRACE(atom.label);
        ASSERT_LT(index, table.size());
        std::string field;
        append_label_field(field, atom.label);
        EXPECT_EQ(table.label_field(index), field);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(table.coordinates[index][0]),
                  std::bit_cast<std::uint32_t>(atom.x));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(table.coordinates[index][1]),
                  std::bit_cast<std::uint32_t>(atom.y));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(table.coordinates[index][2]),
                  std::bit_cast<std::uint32_t>(atom.z));
        ++index;
    }
    EXPECT_EQ(index, table.size());
    EXPECT_EQ(table.size(), 6u);  // Si1, the "5" line, the long label, oR, N2, Cl
    EXPECT_EQ(table.comment_places.size(), 4u);

    // Without comments: the same atoms, and no comment kept.
    input().rewind();
    const atom_table without = read_atom_table(input(), false);
    EXPECT_EQ(without.label_fields, table.label_fields);
    EXPECT_EQ(without.coordinates, table.coordinates);
    EXPECT_TRUE(without.comments.empty());
    EXPECT_TRUE(without.comment_places.empty());
}

TEST_F(InputFileTest, images_equal_re_reading_for_every_operation) {
    struct operation_case {
        const char* name;
        std::array<double, 3> factor;
        std::array<double, 3> shift;
        std::array<std::uint8_t, 3> source;
    };
    const std::vector<operation_case> cases = {
        {"identity", {1, 1, 1}, {0, 0, 0}, {0, 1, 2}},
        {"screw and glide", {-1, 1, -1}, {0, 0.5, 0.5}, {0, 1, 2}},
        {"permutation", {1, 1, 1}, {0, 0, 0}, {2, 0, 1}},
        {"scaling and odd shifts", {2.5, -1.0 / 3.0, 1e-3}, {0.1, -7.25, 1e6}, {1, 2, 0}},
    };
    input().rewind();
    const atom_table table = read_atom_table(input(), true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        symmetry_operation operation;
        operation.factor = c.factor;
        operation.shift = c.shift;
        operation.source = c.source;
        for (bool with_comments : {false, true}) {
            const std::string streamed = write_to_string([&](exclusive_file& out) {
                line_writer writer(out, 4096);  // small, so that it flushes on the way
                EXPECT_EQ(write_operation_images(writer, table, operation, with_comments,
                                                 [](std::uint64_t) { return true; }),
                          write_outcome::finished);
                writer.flush();
            });
            EXPECT_EQ(streamed, reference_images(input(), operation, with_comments));
        }
    }
}

TEST_F(InputFileTest, block_equals_re_reading_for_every_translation) {
    input().rewind();
    const atom_table table = read_atom_table(input(), false);
    for (int n : {-2, 0, 1, 2}) {
        SCOPED_TRACE(n);
        const std::string streamed = write_to_string([&](exclusive_file& out) {
            line_writer writer(out, 4096);
            EXPECT_EQ(write_block(writer, table, n, [](std::uint64_t) { return true; }),
                      write_outcome::finished);
            writer.flush();
        });
        EXPECT_EQ(streamed, reference_block(input(), n));
    }
}

TEST(Positions, stopping_keeps_whole_lines_written_so_far) {
    atom_table table;
    for (int i = 0; i < 10000; ++i) {
        append_label_field(table.label_fields, std::string("C").append(std::to_string(i)));
        table.label_ends.push_back(table.label_fields.size());
        table.coordinates.push_back({0.5f, 0.25f, static_cast<float>(i)});
    }
    struct stop_case {
        const char* name;
        std::function<write_outcome(line_writer&, const progress_callback&)> write;
    };
    symmetry_operation identity;
    const std::vector<stop_case> cases = {
        {"block",
         [&](line_writer& w, const progress_callback& p) { return write_block(w, table, 3, p); }},
        {"images",
         [&](line_writer& w, const progress_callback& p) {
             return write_operation_images(w, table, identity, true, p);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint64_t> reports;
        const std::string text = write_to_string([&](exclusive_file& out) {
            line_writer writer(out);
            const auto outcome = c.write(writer, [&](std::uint64_t done) {
                reports.push_back(done);
                return reports.size() < 2;
            });
            EXPECT_EQ(outcome, write_outcome::stopped);
            writer.flush();
        });
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_LT(reports[0], reports[1]);
        std::size_t lines = 0;
        for (char ch : text) lines += ch == '\n';
        EXPECT_EQ(lines, reports[1]) << "the lines reported are the lines in the file";
        EXPECT_TRUE(text.ends_with("\r\n"));
    }
}

TEST(Positions, line_counts) {
    struct count_case {
        const char* name;
        line_count got;
        line_count expected;
    };
    const line_count side = 4294967295u;  // 2 * (2^31 - 1) + 1
    const std::vector<count_case> cases = {
        {"n = 1 over two atoms", block_line_count(2, 1), 54},
        {"n = 20 over ten atoms", block_line_count(10, 20), 689210},
        {"n = 10 over 1000 atoms", block_line_count(1000, 10), 9261000},
        {"n = 0", block_line_count(3, 0), 3},
        {"negative n", block_line_count(3, -4), 3},
        {"no atoms", block_line_count(0, 5), 0},
        {"largest n", block_line_count(1, INT32_MAX), side * side * side},
        {"saturates", block_line_count(UINT64_MAX, INT32_MAX), ~line_count{0}},
        {"three operations with two comments", positions_line_count(5, 2, 3), 17},
        {"one operation", positions_line_count(5, 2, 1), 7},
        {"count left at zero runs one operation without comments", positions_line_count(5, 2, 0),
         5},
        {"negative count", positions_line_count(5, 2, -3), 5},
        {"largest count", positions_line_count(2, 0, INT32_MAX), line_count{2} * INT32_MAX},
        {"saturating sum", add_lines(~line_count{0} - 1, 5), ~line_count{0}},
        {"saturating product", multiply_lines(line_count{1} << 100, line_count{1} << 30),
         ~line_count{0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.got == c.expected)
            << line_count_text(c.got) << " != " << line_count_text(c.expected);
    }
}

TEST(Positions, line_count_text) {
    struct text_case {
        line_count value;
        const char* text;
    };
    const line_count side = 4294967295u;
    const std::vector<text_case> cases = {
        {0, "0"},
        {7, "7"},
        {100000001, "100000001"},
        {line_count{UINT64_MAX} + 1, "18446744073709551616"},
        {side * side * side, "79228162458924105385300197375"},
        {~line_count{0}, "340282366920938463463374607431768211455"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(line_count_text(c.value), c.text);
    }
}

TEST(Positions, translation_sums_in_single_precision) {
    struct translation_case {
        const char* name;
        float coordinate;
        std::int64_t cells;
        float expected;
    };
    const std::vector<translation_case> cases = {
        {"quarter moved down", 0.25f, -1, -0.75f},
        {"negative zero plus nothing is positive zero", -0.0f, 0, 0.0f},
        {"0.1 plus one rounds in float", 0.1f, 1, 1.1f},
        {"beyond 2^24 the cell count itself rounds", 0.0f, 16777217, 16777216.0f},
        {"small part lost next to a large shift", 0.25f, 16777216, 16777216.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const float got = translate_coordinate(c.coordinate, c.cells);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(c.expected));
    }
}

TEST(Positions, reset_gives_the_identity_and_keeps_the_count) {
    symmetry_operation operation;
    operation.position_count = 5;
    operation.factor = {2, 3, 4};
    operation.shift = {0.5, 0.5, 0.5};
    operation.source = {2, 2, 2};
    reset_symmetry_operation(operation, 4);
    const symmetry_operation identity;
    EXPECT_EQ(operation.factor, identity.factor);
    EXPECT_EQ(operation.shift, identity.shift);
    EXPECT_EQ(operation.source, identity.source);
    EXPECT_EQ(operation.current_position, 4);
    EXPECT_EQ(operation.position_count, 5);
}

}  // namespace
}  // namespace orvix
