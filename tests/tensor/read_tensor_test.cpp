// Reading a tensor from crystal data text: the token rules of one line and whole inputs with
// comment lines, cell lines and numbers spread over lines (cases in tests/data/tensor_reading),
// and the refusal of numbers that are not finite.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "support/case_file.h"
#include "tensor/tensor.h"

namespace orvix {
namespace {

// The numbers of a blank-separated list ("inf", "nan" included), read without the locale.
std::vector<float> floats_of(const std::string& text) {
    std::vector<float> values;
    std::istringstream words(text);
    for (std::string word; words >> word;)
        std::from_chars(word.data(), word.data() + word.size(), values.emplace_back());
    return values;
}

TEST(ReadTensor, TokenRules) {
    for (const auto& c : test::read_cases("tensor_reading/tokens.tsv")) {
        SCOPED_TRACE(c.at(2));
        tensor_numbers numbers;
        bool nine = false;
        for (std::size_t k = 2; k < c.size(); ++k) nine = take_tensor_numbers(c[k], numbers);
        EXPECT_EQ(nine, c.at(1) == "1");
        const std::vector<float> want = floats_of(c[0]);  // NaN has one pattern on both sides
        ASSERT_EQ(numbers.count, static_cast<int>(want.size()));
        EXPECT_TRUE(want.empty() ||
                    std::memcmp(numbers.values.data(), want.data(), 4 * want.size()) == 0);
    }
}

TEST(ReadTensor, WholeInputs) {
    for (const auto& c : test::read_cases("tensor_reading/inputs.tsv")) {
        SCOPED_TRACE(c.at(0));
        test::scratch_dir dir;
        test::write_file(dir.file("in.cry"), c[0]);
        std::string rest, line;
        tensor9 got{};
        {
            auto in =
                exclusive_file::open_existing(dir.file("in.cry"), exclusive_file::access::read);
            auto out = exclusive_file::create(dir.file("out.cry"));
            EXPECT_EQ(read_tensor(*in, *out, got), c.at(1) == "1");
            while (read_text_line(line, *in)) rest += line;
        }
        // Without nine numbers the values are of no use.
        EXPECT_TRUE(c[1] != "1" ||
                    floats_of(c.at(2)) == std::vector<float>(got.begin(), got.end()));
        EXPECT_EQ(test::read_file(dir.file("out.cry")), c.at(3));
        EXPECT_EQ(rest, c.at(4));
    }
}

TEST(ReadTensor, RefusesInfinitiesAndNaNAnywhere) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(tensor_is_finite({1, 2, 3, 4, 5, 6, 7, 8, std::numeric_limits<float>::max()}));
    for (std::size_t position = 0; position < 9; ++position)
        for (float odd : {inf, -inf, std::numeric_limits<float>::quiet_NaN()}) {
            tensor9 t = {1, 2, 3, 4, 5, 6, 7, 8, 9};
            t[position] = odd;
            EXPECT_FALSE(tensor_is_finite(t)) << odd << " at " << position;
        }
}

}  // namespace
}  // namespace orvix
