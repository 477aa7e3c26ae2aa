// The streaming core against the plain algorithm it replaces: re-reading the input with
// read_atom_line for every operation or translation, and formatting every line with the C
// library. Both must give the same bytes.
#include "generate/positions.h"

#include <gtest/gtest.h>

#include "crystal/records.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix {
namespace {

// Everything the readers treat specially: comments at the start, between atoms and at the
// end, cell lines after the first, a six-number line with a zero (an atom line), lines that
// are neither, a long label, an origin line, negative zeros, no line end at the end.
const std::string tricky_input =
    test::crlf(
        "5.43 5.43 5.43 90 90 90\n/* first\nSi1 0.125 0.125 0.125 occupancy\n * second\n"
        "5 5 5 90 90 0\n7 7 7 90 90 90\nSi1 0.125 0.125\n\n*not a comment\n"
        "a_very_long_label_name -0 0.5 -0.0\noR 0 0 0\n/ third\n") +
    "N2 0.3333333 -0.6666667 1e-7\nx*abc\r\nCl 1.5 -2.5 3.75";

std::string written(const std::function<void(exclusive_file&)>& writer) {
    test::scratch_dir dir;
    {
        auto file = exclusive_file::create(dir.file("out.cry"));
        writer(*file);
        file->close();
    }
    return test::read_file(dir.file("out.cry"));
}

// The plain algorithm: for the atoms as they are, then for every other translation (or once,
// for an operation), rewind, read every atom line (copying comments when asked), place it,
// format it with the C library.
std::string reference(exclusive_file& input, int n, const symmetry_operation* operation,
                      bool with_comments) {
    std::vector<std::array<int, 3>> shifts = {{0, 0, 0}};
    for (int i = -n; i <= n; ++i)
        for (int j = -n; j <= n; ++j)
            for (int k = -n; k <= n; ++k)
                if (i != 0 || j != 0 || k != 0) shifts.push_back({k, j, i});
    return written([&](exclusive_file& out) {
        for (const auto& s : shifts) {
            input.rewind();
            atom_record atom;
            while (read_atom_line(input, atom, with_comments, &out)) {
                const float f[3] = {atom.x, atom.y, atom.z};
                float p[3] = {f[0], f[1], f[2]};  // unchanged first: -0 stays -0
                for (std::size_t k = 0; &s != &shifts[0] && k < 3; ++k) p[k] += float(s[k]);
                for (std::size_t row = 0; operation && row < 3; ++row)
                    p[row] = float(operation->factor[row] * double(f[operation->source[row]]) +
                                   operation->shift[row]);
                out.write(c_format("%-6s %12.6f %12.6f %12.6f\r\n", atom.label.c_str(),
                                   double(p[0]), double(p[1]), double(p[2])));
            }
        }
    });
}

TEST(Positions, images_and_blocks_equal_re_reading_the_input) {
    test::scratch_dir dir;
    test::write_file(dir.file("in.cry"), tricky_input);
    auto input = exclusive_file::open_existing(dir.file("in.cry"), exclusive_file::access::read);
    const atom_table with_comments = read_atom_table(*input, true);
    input->rewind();
    const atom_table table = read_atom_table(*input, false);
    EXPECT_EQ(table.size(), 6u);
    const auto all = [](std::uint64_t) { return true; };
    const symmetry_operation operations[] = {
        {1, 1, {1, 1, 1}, {0, 0, 0}, {0, 1, 2}},
        {1, 1, {-1, 1, -1}, {0, 0.5, 0.5}, {0, 1, 2}},
        {1, 1, {2.5, -1.0 / 3.0, 1e-3}, {0.1, -7.25, 1e6}, {1, 2, 0}},
    };
    for (const symmetry_operation& operation : operations) {
        for (bool comments : {false, true}) {
            SCOPED_TRACE(c_format("operation %g, comments %d", operation.factor[1], comments));
            const std::string streamed = written([&](exclusive_file& out) {
                line_writer writer(out, 4096);  // small, so that it flushes on the way
                write_operation_images(writer, comments ? with_comments : table, operation,
                                       comments, all);
                writer.flush();
            });
            EXPECT_EQ(streamed, reference(*input, 0, &operation, comments));
        }
    }
    for (int n : {-2, 0, 1, 2}) {
        SCOPED_TRACE(c_format("block %d", n));
        const std::string streamed = written([&](exclusive_file& out) {
            line_writer writer(out, 4096);
            EXPECT_EQ(write_block(writer, table, n, all), write_outcome::finished);
            writer.flush();
        });
        EXPECT_EQ(streamed, reference(*input, std::max(n, 0), nullptr, false));
    }
}

// A stop keeps whole lines, exactly as many as the last report counted.
TEST(Positions, stopping_keeps_the_lines_reported) {
    atom_table table;
    for (int i = 0; i < 10000; ++i) {
        append_label_field(table.label_fields, std::string("C").append(std::to_string(i)));
        table.label_ends.push_back(table.label_fields.size());
        table.coordinates.push_back({0.5f, 0.25f, static_cast<float>(i)});
    }
    for (bool block : {true, false}) {
        SCOPED_TRACE(block ? "block" : "images");
        std::vector<std::uint64_t> reports;
        const std::string text = written([&](exclusive_file& out) {
            line_writer writer(out);
            const progress_callback progress = [&](std::uint64_t done) {
                reports.push_back(done);
                return reports.size() < 2;
            };
            EXPECT_EQ(block ? write_block(writer, table, 3, progress)
                            : write_operation_images(writer, table, {}, true, progress),
                      write_outcome::stopped);
            writer.flush();
        });
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), reports[1]);
        EXPECT_TRUE(text.ends_with("\r\n"));
    }
}

// Counts of up to (2^32 - 1)^3 copies, saturating at the largest value, and their text.
TEST(Positions, line_counts_saturate) {
    const line_count most = ~line_count{0}, side = 4294967295u;
    EXPECT_TRUE(block_line_count(2, 1) == 54 && block_line_count(10, 20) == 689210);
    EXPECT_TRUE(block_line_count(3, 0) == 3 && block_line_count(3, -4) == 3 &&
                block_line_count(0, 5) == 0);
    EXPECT_TRUE(block_line_count(1, INT32_MAX) == side * side * side);
    EXPECT_TRUE(block_line_count(UINT64_MAX, INT32_MAX) == most);
    EXPECT_TRUE(positions_line_count(5, 2, 3) == 17 && positions_line_count(5, 2, 1) == 7 &&
                positions_line_count(5, 2, 0) == 5 && positions_line_count(5, 2, -3) == 5);
    EXPECT_TRUE(positions_line_count(2, 0, INT32_MAX) == line_count{2} * INT32_MAX);
    EXPECT_TRUE(add_lines(most - 1, 5) == most &&
                multiply_lines(line_count{1} << 100, line_count{1} << 30) == most &&
                multiply_lines(most / 2, 2) == most - 1);
    EXPECT_EQ(line_count_text(0), "0");
    EXPECT_EQ(line_count_text(side * side * side), "79228162458924105385300197375");
    EXPECT_EQ(line_count_text(most), "340282366920938463463374607431768211455");
}

}  // namespace
}  // namespace orvix
