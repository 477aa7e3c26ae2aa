// The nuclear data table's look-ups: numbering from 1, published values, labels and numbers.
#include "dipolar/nuclei.h"

#include <gtest/gtest.h>

#include "support/case_file.h"

namespace orvix {
namespace {

TEST(NucleiTable, look_ups_are_numbered_from_one) {
    const auto table = nuclei_table();
    const std::vector<std::string> labels = nucleus_list_labels();
    ASSERT_EQ(labels.size(), table.size());
    const int count = static_cast<int>(table.size());
    for (int number = -1; number <= count + 1; ++number) {
        SCOPED_TRACE(number);
        const bool listed = number >= 1 && number <= count;
        const nucleus& n = listed ? table[std::size_t(number - 1)] : nucleus{};
        EXPECT_EQ(listed ? labels[std::size_t(number - 1)] : "", n.label);
        EXPECT_EQ(nucleus_gamma(number), n.gamma);
        EXPECT_EQ(nucleus_spin(number), n.spin);
        EXPECT_EQ(nucleus_abundance(number), n.abundance);
    }
}

TEST(NucleiTable, finds_nuclei_by_label_or_number) {
    for (const auto& row : test::read_cases("dipolar/nuclei.tsv")) {
        SCOPED_TRACE(row[0]);
        const int number = std::stoi(row[1]);
        const auto position = find_nucleus_position(row[0]);
        ASSERT_EQ(position.has_value(), number != 0);
        if (number > 0) {
            EXPECT_EQ(*position + 1, number);
        }
        if (row.size() < 5) continue;
        EXPECT_EQ(nucleus_spin(*position + 1), test::number(row[2]));
        EXPECT_EQ(nucleus_gamma(*position + 1), test::number(row[3]));
        EXPECT_EQ(nucleus_abundance(*position + 1), test::number(row[4]));
    }
}

}  // namespace
}  // namespace orvix
