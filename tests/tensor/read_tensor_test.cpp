// Reading a tensor from crystal data text: the token rules of one line, and whole inputs
// with comment lines, cell lines and numbers spread over lines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "tensor/tensor.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_file;
using test::scratch_dir;
using test::write_file;

constexpr float inf = std::numeric_limits<float>::infinity();

// Compares floats bit for bit in meaning: NaN equals NaN, infinities by sign.
void expect_same_values(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        if (std::isnan(expected[k]))
            EXPECT_TRUE(std::isnan(actual[k])) << "value " << k;
        else
            EXPECT_EQ(actual[k], expected[k]) << "value " << k;
    }
}

TEST(TakeTensorNumbers, TokenRules) {
    struct {
        const char* name;
        std::vector<std::string> lines;
        std::vector<float> values;
        bool nine;
    } cases[] = {
        {"three per line", {"1 2 3", "4 5 6", "7 8 9"}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, true},
        {"spread unevenly", {"1 2", "3 4 5 6 7", "8 9"}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, true},
        {"parentheses, commas, semicolons", {"(1.0, 2.0; 3.0)"}, {1, 2, 3}, false},
        {"letters behind a number", {"2H 3ppm"}, {2, 3}, false},
        {"a label gives nothing", {"T11 T22 xx"}, {}, false},
        {"a tab does not separate", {"1.0\t2.0\t3.0"}, {1}, false},
        {"a tab after a delimiter is leading white space", {"1,\t2"}, {1, 2}, false},
        {"a decimal comma splits a number", {"1,5"}, {1, 5}, false},
        {"signs, exponents, bare fractions",
         {"-1.5e2 +3E-1 .25 7."},
         {-150, 0.3f, 0.25f, 7},
         false},
        {"a sign or point alone gives nothing", {"- + . e5"}, {}, false},
        {"the line end is no number", {"7\r\n", " \r\n"}, {7}, false},
        {"everything after the ninth is ignored",
         {"1 2 3 4 5 6 7 8 9 10 11"},
         {1, 2, 3, 4, 5, 6, 7, 8, 9},
         true},
        {"single precision", {"0.1 16777217"}, {0.1f, 16777216.0f}, false},
        {"beyond single precision", {"1e39 -1e39 1e-50"}, {inf, -inf, 0}, false},
        {"inf and nan read as numbers", {"inf NaN -Infinity"}, {inf, NAN, -inf}, false},
        // The "%f" rules read any word beginning with inf or nan as a number, so free text
        // belongs in comment lines.
        {"a word beginning with inf", {"infrared"}, {inf}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tensor_numbers numbers;
        bool nine = false;
        for (const auto& line : c.lines) nine = take_tensor_numbers(line, numbers);
        EXPECT_EQ(nine, c.nine);
        expect_same_values(
            std::vector<float>(numbers.values.begin(), numbers.values.begin() + numbers.count),
            c.values);
    }
}

struct read_outcome {
    bool nine = false;
    tensor9 values{};
    std::string copied;     // what reached the result file
    std::string remaining;  // the input after the read position
};

read_outcome read_from(const std::string& input_text) {
    scratch_dir dir;
    write_file(dir.file("in.cry"), input_text);
    read_outcome outcome;
    {
        auto input =
            exclusive_file::open_existing(dir.file("in.cry"), exclusive_file::access::read);
        auto out = exclusive_file::create(dir.file("out.cry"));
        if (!input || !out) throw std::runtime_error("cannot open the scratch files");
        outcome.nine = read_tensor(*input, *out, outcome.values);
        std::string line;
        while (read_text_line(line, *input)) outcome.remaining += line;
        out->close();
    }
    outcome.copied = read_file(dir.file("out.cry"));
    return outcome;
}

TEST(ReadTensor, WholeInputs) {
    const tensor9 one_to_nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    struct {
        const char* name;
        std::string input;
        bool nine;
        tensor9 values;
        std::string copied;
        std::string remaining;
    } cases[] = {
        {"comment lines before, between and after the rows",
         crlf("/* a */\n1 2 3\n/* b */\n4 5 6\nx* c\n7 8 9\n/* d */\n10 11\n"), true, one_to_nine,
         crlf("/* a */\n/* b */\nx* c\n"), crlf("/* d */\n10 11\n")},
        {"numbers in comment lines do not count",
         crlf("/* 9 8 7 */\n * 6 5 4\n1,2,3,4,5,6,7,8,9\n"), true, one_to_nine,
         crlf("/* 9 8 7 */\n * 6 5 4\n"), ""},
        {"nine positive numbers on one line are a cell line",
         crlf("1 2 3 4 5 6 7 8 9\n"),
         false,
         {},
         "",
         ""},
        {"the same nine separated by commas", crlf("1,2,3,4,5,6,7,8,9\nrest\n"), true, one_to_nine,
         "", crlf("rest\n")},
        {"one of the first six not positive",
         crlf("1 2 3 4 5 0 7 8 9\n"),
         true,
         {1, 2, 3, 4, 5, 0, 7, 8, 9},
         "",
         ""},
        {"a cell line, then atom lines give their coordinates",
         crlf("5 5 5 90 90 90\nA 1 2 3\nB 4 5 6\nC 7 8 9\n"), true, one_to_nine, "", ""},
        {"the ninth number ends the reading mid-line",
         crlf("1,2,3,4,5,6,7,8\n9 10 /* x */\n/* y */\n"), true, one_to_nine, "",
         crlf("/* y */\n")},
        {"too few numbers",
         crlf("/* only */\n1 2 3\n/* comments */\n"),
         false,
         {},
         crlf("/* only */\n/* comments */\n"),
         ""},
        {"empty input", "", false, {}, "", ""},
        {"line feeds alone come back as CR LF", "/* lf */\n1,2,3,4,5,6,7,8,9\n", true, one_to_nine,
         crlf("/* lf */\n"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const read_outcome outcome = read_from(c.input);
        EXPECT_EQ(outcome.nine, c.nine);
        if (c.nine) {
            EXPECT_EQ(outcome.values, c.values);
        }
        EXPECT_EQ(outcome.copied, c.copied);
        EXPECT_EQ(outcome.remaining, c.remaining);
    }
}

// A line is read whole whatever its length: nine numbers written out to many digits on one
// long line are the same tensor as the same numbers on three short lines.
TEST(ReadTensor, LongLinesAreReadWhole) {
    const std::string row1 = "-120.500000000000 30.2000000000000 10.0000000000000";
    const std::string row2 = "28.0000000000000 -45.0000000000000 5.50000000000000";
    const std::string row3 = "9.00000000000000 6.00000000000000 80.0000000000000";
    const std::string long_line = row1 + " " + row2 + " " + row3;
    ASSERT_GT(long_line.size(), 79u);
    const read_outcome one_line = read_from(crlf(long_line + "\n/* after */\n"));
    const read_outcome three_lines =
        read_from(crlf(row1 + "\n" + row2 + "\n" + row3 + "\n/* after */\n"));
    ASSERT_TRUE(one_line.nine);
    ASSERT_TRUE(three_lines.nine);
    EXPECT_EQ(one_line.values, three_lines.values);
    EXPECT_EQ(one_line.values[0], -120.5f);
    EXPECT_EQ(one_line.values[8], 80.0f);
    EXPECT_EQ(one_line.remaining, crlf("/* after */\n"));
}

TEST(TensorIsFinite, RejectsInfinitiesAndNaN) {
    struct {
        const char* name;
        float odd_one;
        bool finite;
    } cases[] = {
        {"largest float", std::numeric_limits<float>::max(), true},
        {"smallest subnormal", std::numeric_limits<float>::denorm_min(), true},
        {"infinity", inf, false},
        {"minus infinity", -inf, false},
        {"NaN", std::numeric_limits<float>::quiet_NaN(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::size_t position = 0; position < 9; ++position) {
            tensor9 t = {1, 2, 3, 4, 5, 6, 7, 8, 9};
            t[position] = c.odd_one;
            EXPECT_EQ(tensor_is_finite(t), c.finite) << "position " << position;
        }
    }
}

}  // namespace
}  // namespace orvix
