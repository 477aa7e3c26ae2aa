// Reading symmetry operations: the cases in tests/data/generate/symmetry_cases.tsv.
#include "generate/symmetry_text.h"

#include <gtest/gtest.h>

#include "support/case_file.h"

namespace orvix {
namespace {

TEST(SymmetryText, cases_from_the_data_file) {
    const auto rows = test::read_cases("generate/symmetry_cases.tsv");
    EXPECT_GT(rows.size(), 50u);
    for (const auto& f : rows) {
        SCOPED_TRACE(f[0] + ": " + f[1]);
        std::string error;
        symmetry_term term;
        term.factor = 7;
        symmetry_operation operation, before;
        operation.position_count = before.position_count = 4;
        if (f[0] == "term") {
            ASSERT_TRUE(parse_symmetry_term(f[1], term, error)) << error;
            EXPECT_EQ(term.factor, test::number(f[2]));
            EXPECT_EQ(term.shift, test::number(f[3]));
            EXPECT_EQ(term.source, f[4][0] - 'x');
        } else if (f[0] == "operation") {
            ASSERT_TRUE(parse_symmetry_operation(f[1], operation, error)) << error;
            const std::vector<double> factor = test::numbers_of(f[2]),
                                      shift = test::numbers_of(f[3]);
            for (std::size_t row = 0; row < 3; ++row) {
                before.factor[row] = factor[row];
                before.shift[row] = shift[row];
                before.source[row] = static_cast<std::uint8_t>(f[4][row] - 'x');
            }
        } else {
            EXPECT_FALSE(f[0] == "refused term" ? parse_symmetry_term(f[1], term, error)
                                                : parse_symmetry_operation(f[1], operation, error));
            for (std::size_t i = 2; i < f.size(); ++i)
                EXPECT_NE(error.find(f[i]), std::string::npos) << error;
            EXPECT_EQ(term.factor, 7) << "a refusal leaves the record alone";
        }
        // An operation fills the three rows and nothing else; a refusal leaves it alone.
        EXPECT_EQ(operation.factor, before.factor);
        EXPECT_EQ(operation.shift, before.shift);
        EXPECT_EQ(operation.source, before.source);
        EXPECT_EQ(operation.position_count, 4);
    }
}

}  // namespace
}  // namespace orvix
