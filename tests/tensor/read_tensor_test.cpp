// Reading a tensor from crystal data text: the token rules of one line, and whole inputs with
// comment lines, cell lines and numbers spread over lines.
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
constexpr float inf = std::numeric_limits<float>::infinity();

TEST(TakeTensorNumbers, TokenRules) {
    // the lines, the numbers taken (NaN stands for NaN), whether nine are held
    // clang-format off
    const std::tuple<const char*, std::vector<std::string>, std::vector<float>, bool> cases[] = {
        {"spread unevenly", {"1 2", "3 4 5 6 7", "8 9"}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, true},
        {"parentheses, commas, semicolons", {"(1.0, 2.0; 3.0)"}, {1, 2, 3}, false},
        {"letters behind a number", {"2H 3ppm"}, {2, 3}, false},
        {"a label gives nothing", {"T11 T22 xx"}, {}, false},
        {"a tab does not separate", {"1.0\t2.0\t3.0"}, {1}, false},
        {"a tab after a delimiter is leading white space", {"1,\t2"}, {1, 2}, false},
        {"signs, exponents, bare fractions", {"-1.5e2 +3E-1 .25 7."}, {-150, 0.3f, 0.25f, 7}, false},
        {"a sign or point alone gives nothing", {"- + . e5"}, {}, false},
        {"the line end is no number", {"7\r\n", " \r\n"}, {7}, false},
        {"everything after the ninth is ignored", {"1 2 3 4 5 6 7 8 9 10 11"}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, true},
        {"single precision", {"0.1 16777217"}, {0.1f, 16777216.0f}, false},
        {"beyond single precision", {"1e39 -1e39 1e-50"}, {inf, -inf, 0}, false},
        // "%f" reads any word beginning with inf or nan: free text belongs in comment lines.
        {"inf, nan and a word beginning with inf", {"inf NaN -Infinity infrared"}, {inf, NAN, -inf, inf}, false},
    };
    // clang-format on
    for (const auto& [name, lines, values, nine] : cases) {
        SCOPED_TRACE(name);
        tensor_numbers numbers;
        bool held = false;
        for (const auto& line : lines) held = take_tensor_numbers(line, numbers);
        EXPECT_EQ(held, nine);
        ASSERT_EQ(numbers.count, static_cast<int>(values.size()));
        for (std::size_t k = 0; k < values.size(); ++k)
            EXPECT_TRUE(numbers.values[k] == values[k] ||
                        (std::isnan(values[k]) && std::isnan(numbers.values[k])));
    }
}

TEST(ReadTensor, WholeInputs) {
    const tensor9 one_to_nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    // the input, nine read, the values, the comment lines copied, the input left after it
    // clang-format off
    const std::tuple<const char*, std::string, bool, tensor9, std::string, std::string> cases[] = {
        {"comment lines before, between and after the rows",
         crlf("/* a */\n1 2 3\n/* b */\n4 5 6\nx* c\n7 8 9\n/* d */\n10 11\n"), true, one_to_nine,
         crlf("/* a */\n/* b */\nx* c\n"), crlf("/* d */\n10 11\n")},
        {"numbers in comment lines do not count", crlf("/* 9 8 7 */\n * 6 5 4\n1,2,3,4,5,6,7,8,9\n"), true,
         one_to_nine, crlf("/* 9 8 7 */\n * 6 5 4\n"), ""},
        {"nine positive numbers on one line are a cell line", crlf("1 2 3 4 5 6 7 8 9\n"), false, {}, "", ""},
        {"one of the first six not positive", crlf("1 2 3 4 5 0 7 8 9\nrest\n"), true,
         {1, 2, 3, 4, 5, 0, 7, 8, 9}, "", crlf("rest\n")},
        {"a cell line, then atom lines give their coordinates",
         crlf("5 5 5 90 90 90\nA 1 2 3\nB 4 5 6\nC 7 8 9\n"), true, one_to_nine, "", ""},
        {"the ninth number ends the reading mid-line", crlf("1,2,3,4,5,6,7,8\n9 10 /* x */\n/* y */\n"), true,
         one_to_nine, "", crlf("/* y */\n")},
        {"too few numbers", crlf("/* only */\n1 2 3\n/* comments */\n"), false, {},
         crlf("/* only */\n/* comments */\n"), ""},
    };
    // clang-format on
    for (const auto& [name, input, nine, values, copied, remaining] : cases) {
        SCOPED_TRACE(name);
        test::scratch_dir dir;
        test::write_file(dir.file("in.cry"), input);
        std::string rest, line;
        tensor9 got{};
        {
            auto in =
                exclusive_file::open_existing(dir.file("in.cry"), exclusive_file::access::read);
            auto out = exclusive_file::create(dir.file("out.cry"));
            ASSERT_TRUE(in && out);
            EXPECT_EQ(read_tensor(*in, *out, got), nine);
            while (read_text_line(line, *in)) rest += line;
        }
        EXPECT_TRUE(!nine || got == values);
        EXPECT_EQ(test::read_file(dir.file("out.cry")), copied);
        EXPECT_EQ(rest, remaining);
    }
}

TEST(TensorIsFinite, RejectsInfinitiesAndNaNAnywhere) {
    const std::pair<float, bool> cases[] = {
        {std::numeric_limits<float>::max(), true}, {inf, false}, {-inf, false}, {NAN, false}};
    for (const auto& [odd, finite] : cases) {
        for (std::size_t position = 0; position < 9; ++position) {
            tensor9 t = {1, 2, 3, 4, 5, 6, 7, 8, 9};
            t[position] = odd;
            EXPECT_EQ(tensor_is_finite(t), finite) << odd << " at " << position;
        }
    }
}

}  // namespace
}  // namespace orvix
