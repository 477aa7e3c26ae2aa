// Reading symmetry operations: the cases in tests/data/generate/symmetry_cases.tsv.
#include "generate/symmetry_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/test_support.h"

namespace orvix {
namespace {

std::vector<double> numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<double> values;
    for (std::string word; in >> word;) values.push_back(std::stod(word));
    return values;
}

TEST(SymmetryText, cases_from_the_data_file) {
    std::istringstream file(test::read_data("generate/symmetry_cases.tsv"));
    int cases = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
        SCOPED_TRACE(line);
        ASSERT_GE(f.size(), 3u);
        ++cases;
        std::string error;
        symmetry_term term;
        term.factor = 7;
        symmetry_operation operation;
        operation.position_count = 4;
        const symmetry_operation before = operation;
        if (f[0] == "term") {
            ASSERT_TRUE(parse_symmetry_term(f[1], term, error)) << error;
            EXPECT_EQ(term.factor, std::stod(f[2]));
            EXPECT_EQ(term.shift, std::stod(f[3]));
            EXPECT_EQ(term.source, f[4][0] - 'x');
        } else if (f[0] == "operation") {
            ASSERT_TRUE(parse_symmetry_operation(f[1], operation, error)) << error;
            const std::vector<double> factor = numbers(f[2]), shift = numbers(f[3]);
            for (std::size_t row = 0; row < 3; ++row) {
                EXPECT_EQ(operation.factor[row], factor[row]);
                EXPECT_EQ(operation.shift[row], shift[row]);
                EXPECT_EQ(operation.source[row], f[4][row] - 'x');
            }
            EXPECT_EQ(operation.position_count, 4) << "the count is not the parser's";
        } else {
            const bool refused = f[0] == "refused term"
                                     ? !parse_symmetry_term(f[1], term, error)
                                     : !parse_symmetry_operation(f[1], operation, error);
            EXPECT_TRUE(refused);
            for (std::size_t i = 2; i < f.size(); ++i)
                EXPECT_NE(error.find(f[i]), std::string::npos) << error;
            // A refusal leaves the record alone.
            EXPECT_EQ(term.factor, 7);
            EXPECT_EQ(operation.factor, before.factor);
            EXPECT_EQ(operation.shift, before.shift);
            EXPECT_EQ(operation.source, before.source);
        }
    }
    EXPECT_GT(cases, 50);
}

}  // namespace
}  // namespace orvix
