// The report writers: what they write reads back as crystal data and as numbers.
#include "tensor/tensor_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "crystal/records.h"
#include "platform/scan.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::read_file;
using test::scratch_dir;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Every number in a line, read with the "%f" rules, skipping what is not a number.
std::vector<double> numbers_in(std::string_view line) {
    std::vector<double> numbers;
    while (!line.empty()) {
        double value = 0;
        if (scan_double(line, value))
            numbers.push_back(value);
        else
            line.remove_prefix(1);
    }
    return numbers;
}

TEST(TensorReport, FrameIsCrystalDataWithTheAxesAsAtoms) {
    matrix v;
    const float columns[3][3] = {{0.6f, 0.8f, 0}, {-0.8f, 0.6f, 0}, {0, 0, 1}};
    for (int k = 1; k <= 3; ++k)
        for (int row = 1; row <= 3; ++row) v[row][k] = columns[k - 1][row - 1];
    scratch_dir dir;
    {
        auto out = exclusive_file::create(dir.file("frame.cry"));
        write_tensor_frame(*out, v);
        out->close();
    }
    auto in = exclusive_file::open_existing(dir.file("frame.cry"), exclusive_file::access::read);
    std::string cell;
    ASSERT_TRUE(read_cell_line(*in, cell));
    EXPECT_TRUE(is_cartesian_cell(cell));
    EXPECT_EQ(numbers_in(cell), (std::vector<double>{1, 1, 1, 90, 90, 90}));
    atom_record atom;
    ASSERT_TRUE(read_atom_line(*in, atom, false, nullptr));
    EXPECT_TRUE(is_origin_label(atom.label));
    EXPECT_EQ((std::vector<float>{atom.x, atom.y, atom.z}), (std::vector<float>{0, 0, 0}));
    const char* labels[] = {"T11", "T22", "T33"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(labels[k]);
        ASSERT_TRUE(read_atom_line(*in, atom, false, nullptr));
        EXPECT_EQ(atom.label, labels[k]);
        EXPECT_EQ((std::vector<float>{atom.x, atom.y, atom.z}),
                  (std::vector<float>{columns[k][0], columns[k][1], columns[k][2]}));
    }
    EXPECT_FALSE(read_atom_line(*in, atom, false, nullptr));
}

// Numbers too wide for their fields widen the line; none is cut, and every line but the
// atom lines is a comment line.
TEST(TensorReport, WideNumbersWidenTheirLines) {
    const tensor9 tensor = {1.5e12f, -123456789.0f, 0.00004f,  -0.00006f, 42,
                            -7.25f,  3.0e-7f,       99999.99f, -1.0e20f};
    matrix v;
    vector d;
    const float components[] = {-2.5e15f, 123.456789f, -0.0000004f};
    for (int k = 1; k <= 3; ++k) {
        d[k] = components[k - 1];
        v[k][k] = 1;
    }
    scratch_dir dir;
    {
        auto out = exclusive_file::create(dir.file("report.cry"));
        write_starting_matrix(*out, tensor);
        write_symmetrized_tensor(*out, tensor);
        write_principal_components(*out, v, d);
        out->close();
    }
    const auto lines = lines_of(read_file(dir.file("report.cry")));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "");
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(is_comment_line(lines[i])) << lines[i];
    struct {
        const char* name;
        std::size_t first_line;
        int decimals;
    } blocks[] = {{"starting matrix", 3, 4}, {"symmetrized tensor", 7, 4}};
    for (const auto& b : blocks) {
        SCOPED_TRACE(b.name);
        for (std::size_t row = 0; row < 3; ++row) {
            const auto numbers = numbers_in(lines[b.first_line + row]);
            ASSERT_EQ(numbers.size(), 3u) << lines[b.first_line + row];
            for (std::size_t col = 0; col < 3; ++col)
                EXPECT_NEAR(numbers[col], tensor[3 * row + col],
                            0.5e-4 * (1 + 1e-7 * std::fabs(numbers[col])));
        }
    }
    for (int k = 1; k <= 3; ++k) {
        const auto numbers = numbers_in(lines[12 + static_cast<std::size_t>(k)]);
        ASSERT_EQ(numbers.size(), 4u);
        EXPECT_NEAR(numbers[0], d[k], 0.5e-6 * (1 + 1e-7 * std::fabs(numbers[0])));
        for (int row = 1; row <= 3; ++row)
            EXPECT_EQ(numbers[static_cast<std::size_t>(row)], v[row][k]);
    }
}

}  // namespace
}  // namespace orvix
